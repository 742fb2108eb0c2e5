#pragma once
// The desktop, system metrics, class icons and brushes, and the values a window keeps for its
// program: what window classes and start-up code of classic programs reach for besides the
// windows themselves. Included by <windows.h>; do not include it on its own.

typedef void* HGDIOBJ;

// GetSystemMetrics indices.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CMONITORS 80

// GetStockObject indices, and the system colours a class background may name as (colour + 1).
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define COLOR_WINDOW 5
#define COLOR_WINDOWTEXT 8
#define COLOR_BTNFACE 15

#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)
#define IDI_WINLOGO MAKEINTRESOURCE(32517)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

// GetWindowLongPtr / SetWindowLongPtr indices.
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)

#ifdef __cplusplus
extern "C" {
#endif

// The desktop's handle: accepted as the parent of a top-level window (which is what it is
// anyway). Its size is GetSystemMetrics(SM_CXSCREEN / SM_CYSCREEN).
HWND WINAPI GetDesktopWindow(void);
// SM_CXSCREEN / SM_CYSCREEN: the desktop size (GetDeviceCaps' HORZRES / VERTRES); SM_CXCURSOR /
// SM_CYCURSOR 32; SM_CMONITORS the number of display monitors, 0 when the program runs without
// a display (platform/native on SDL's offscreen or dummy driver; platform/headless has one);
// 0 for any other index.
int WINAPI GetSystemMetrics(int nIndex);
// The system icons (IDI_*) with hInstance NULL: handles a class may hold. Windows here have no
// icon to show, so no other icon is found (NULL).
HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
// The stock brushes (WHITE_BRUSH .. NULL_BRUSH), handles a class may hold; NULL for other indices.
// Nothing is drawn with them: the program's device draws the whole client area.
HGDIOBJ WINAPI GetStockObject(int i);
// Stock objects are never deleted; TRUE for them, FALSE for NULL.
BOOL WINAPI DeleteObject(HGDIOBJ ho);
// GWLP_USERDATA: a value the program keeps with the window (0 at creation). GWLP_WNDPROC: the
// window procedure; setting it subclasses the window. GWL_STYLE / GWL_EXSTYLE: the styles
// (read only here: setting them answers 0 and changes nothing). GWLP_HINSTANCE: the program.
// Any other index, or an invalid window, answers 0. The Set functions answer the old value.
LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex);
LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex);
LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);

#ifdef __cplusplus
}
#endif

#ifdef UNICODE
#define LoadIcon LoadIconW
#define GetWindowLongPtr GetWindowLongPtrW
#define SetWindowLongPtr SetWindowLongPtrW
#else
#define LoadIcon LoadIconA
#define GetWindowLongPtr GetWindowLongPtrA
#define SetWindowLongPtr SetWindowLongPtrA
#endif
