#pragma once
// The Unicode (W) side of the window functions, TCHAR, and the generic names that UNICODE turns
// into A or W names as the SDK does (CreateWindowEx is CreateWindowExW when UNICODE is defined,
// CreateWindowExA otherwise). Included by <windows.h>; do not include it on its own.
//
// Every W function converts its text once and goes on as its A function: names and titles to the
// ANSI code page (1251; a character it lacks becomes '?'), file names to UTF-8, the encoding of
// file names on Linux. Integer resources (MAKEINTRESOURCEW) pass as they are. Apart from the
// text, a W function promises what its A function promises (see winuser_subset.h).
// Messages pass between procedures as they are: a window whose class was registered with
// RegisterClassExW receives CREATESTRUCTW in WM_NCCREATE and WM_CREATE, and DefWindowProcW reads
// WM_SETTEXT's text as WCHAR.

// ---- TCHAR ----------------------------------------------------------------------------------
#ifdef UNICODE
typedef WCHAR TCHAR;
#define __TEXT(s) L##s
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#else
typedef char TCHAR;
#define __TEXT(s) s
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#endif
#define TEXT(s) __TEXT(s)
typedef TCHAR* LPTSTR;
typedef const TCHAR* LPCTSTR;
typedef TCHAR* PTSTR;
typedef const TCHAR* PCTSTR;

// ---- Structures -----------------------------------------------------------------------------
typedef struct tagWNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXW, *PWNDCLASSEXW, *LPWNDCLASSEXW;

typedef struct tagCREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTW, *LPCREATESTRUCTW;

// ---- Functions ------------------------------------------------------------------------------
#ifdef __cplusplus
extern "C" {
#endif

// The Unicode entry point. A program defines WinMain or wWinMain; main() calls WinMain when the
// program has it and wWinMain otherwise, with the command line as WCHAR text.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* lpwcx);
BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance);
HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam);
BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString);
BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg);
BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
LRESULT WINAPI DispatchMessageW(const MSG* lpMsg);
LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
HCURSOR WINAPI LoadCursorFromFileW(LPCWSTR lpFileName);
HCURSOR WINAPI LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName);
int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
VOID WINAPI OutputDebugStringW(LPCWSTR lpOutputString);

#ifdef __cplusplus
}
#endif

// CreateWindow is CreateWindowEx without extended styles.
#define CreateWindowA(c, t, s, x, y, w, h, p, m, i, l) CreateWindowExA(0L, c, t, s, x, y, w, h, p, m, i, l)
#define CreateWindowW(c, t, s, x, y, w, h, p, m, i, l) CreateWindowExW(0L, c, t, s, x, y, w, h, p, m, i, l)

// ---- Generic names --------------------------------------------------------------------------
#ifdef UNICODE
typedef WNDCLASSEXW WNDCLASSEX;
typedef PWNDCLASSEXW PWNDCLASSEX;
typedef LPWNDCLASSEXW LPWNDCLASSEX;
typedef CREATESTRUCTW CREATESTRUCT;
typedef LPCREATESTRUCTW LPCREATESTRUCT;
#define RegisterClassEx RegisterClassExW
#define UnregisterClass UnregisterClassW
#define CreateWindowEx CreateWindowExW
#define CreateWindow CreateWindowW
#define SetWindowText SetWindowTextW
#define PeekMessage PeekMessageW
#define GetMessage GetMessageW
#define DispatchMessage DispatchMessageW
#define SendMessage SendMessageW
#define DefWindowProc DefWindowProcW
#define PostMessage PostMessageW
#define GetModuleHandle GetModuleHandleW
#define LoadCursorFromFile LoadCursorFromFileW
#define LoadCursor LoadCursorW
#define MessageBox MessageBoxW
#define OutputDebugString OutputDebugStringW
#define lstrlen lstrlenW
#define lstrcpy lstrcpyW
#define lstrcat lstrcatW
#define lstrcmp lstrcmpW
#define lstrcmpi lstrcmpiW
#else
typedef WNDCLASSEXA WNDCLASSEX;
typedef PWNDCLASSEXA PWNDCLASSEX;
typedef LPWNDCLASSEXA LPWNDCLASSEX;
typedef CREATESTRUCTA CREATESTRUCT;
typedef LPCREATESTRUCTA LPCREATESTRUCT;
#define RegisterClassEx RegisterClassExA
#define UnregisterClass UnregisterClassA
#define CreateWindowEx CreateWindowExA
#define CreateWindow CreateWindowA
#define SetWindowText SetWindowTextA
#define PeekMessage PeekMessageA
#define GetMessage GetMessageA
#define DispatchMessage DispatchMessageA
#define SendMessage SendMessageA
#define DefWindowProc DefWindowProcA
#define PostMessage PostMessageA
#define GetModuleHandle GetModuleHandleA
#define LoadCursorFromFile LoadCursorFromFileA
#define LoadCursor LoadCursorA
#define MessageBox MessageBoxA
#define OutputDebugString OutputDebugStringA
#define lstrlen lstrlenA
#define lstrcpy lstrcpyA
#define lstrcat lstrcatA
#define lstrcmp lstrcmpA
#define lstrcmpi lstrcmpiA
#endif
