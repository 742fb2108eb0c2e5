#pragma once
// Window classes and windows, messages, keyboard and virtual keys, cursor, message box, device
// contexts and dpi, system time: the part of user32/gdi32/kernel32 the engine calls.
// Included by <windows.h>; do not include it on its own.
//
// Two realizations stand behind these declarations: platform/native (SDL2) for the viewer and
// platform/headless for tests (driven through headless_win32.h). Both promise what the Windows
// documentation promises for each function, as far as an engine can observe it. Handles are
// opaque: a destroyed window's handle is simply no longer valid, and every function given an
// invalid handle fails the way Win32 does (FALSE / 0 / NULL) instead of crashing.

// ---- Resources ------------------------------------------------------------------------------
// An integer resource id in a string's place (MAKEINTRESOURCE follows UNICODE, winuser_wide.h).
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)

// ---- Window messages ------------------------------------------------------------------------
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_SETCURSOR 0x0020
#define WM_GETMINMAXINFO 0x0024
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0109
#define WM_TIMER 0x0113
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WM_DROPFILES 0x0233
#define WM_MOUSELAST 0x020A
#define WM_USER 0x0400
#define WM_APP 0x8000

// wParam of mouse messages: the buttons and modifier keys down.
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#define WHEEL_DELTA 120
#define GET_WHEEL_DELTA_WPARAM(wp) ((short)HIWORD(wp))

// ---- Virtual-key codes ----------------------------------------------------------------------
// Letters and digits are their upper-case ASCII codes ('A'..'Z' 0x41..0x5A, '0'..'9' 0x30..0x39).
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SELECT 0x29
#define VK_PRINT 0x2A
#define VK_EXECUTE 0x2B
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_SLEEP 0x5F
#define VK_NUMPAD0 0x60
#define VK_NUMPAD1 0x61
#define VK_NUMPAD2 0x62
#define VK_NUMPAD3 0x63
#define VK_NUMPAD4 0x64
#define VK_NUMPAD5 0x65
#define VK_NUMPAD6 0x66
#define VK_NUMPAD7 0x67
#define VK_NUMPAD8 0x68
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA       // ;:
#define VK_OEM_PLUS 0xBB    // =+
#define VK_OEM_COMMA 0xBC   // ,<
#define VK_OEM_MINUS 0xBD   // -_
#define VK_OEM_PERIOD 0xBE  // .>
#define VK_OEM_2 0xBF       // /?
#define VK_OEM_3 0xC0       // `~ (the key left of 1)
#define VK_OEM_4 0xDB       // [{
#define VK_OEM_5 0xDC       // \|
#define VK_OEM_6 0xDD       // ]}
#define VK_OEM_7 0xDE       // '"
#define VK_OEM_102 0xE2

// ---- Window class and window styles ---------------------------------------------------------
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_ACCEPTFILES 0x00000010L
#define WS_EX_APPWINDOW 0x00040000L
#define CW_USEDEFAULT ((int)0x80000000)

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// PeekMessage options.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// ---- Message box ----------------------------------------------------------------------------
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// ---- Cursors and icons ----------------------------------------------------------------------
#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDI_APPLICATION MAKEINTRESOURCE(32512)

// ---- Device capabilities (GetDeviceCaps indices) --------------------------------------------
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// ---- Structures -----------------------------------------------------------------------------
typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA, *PWNDCLASSEXA, *LPWNDCLASSEXA;

// lParam of WM_NCCREATE and WM_CREATE.
typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;  // 0 = Sunday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME, *PSYSTEMTIME, *LPSYSTEMTIME;

// ---- Functions ------------------------------------------------------------------------------
#ifdef __cplusplus
extern "C" {
#endif

// The program's entry point, defined by the program; platform/native's main() calls it with
// (GetModuleHandleA(NULL), NULL, the command line after the program name, SW_SHOWDEFAULT).
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

// Module: NULL names the program itself and gives the same non-null handle on every call; any
// other name gives NULL (there are no other modules).
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);

// Window classes: a registry of name -> class. RegisterClassExA fails (returns 0) for a null
// structure, a cbSize other than sizeof(WNDCLASSEXA), no procedure, no name, or a name already
// registered; UnregisterClassA fails for an unknown name or while windows of the class exist.
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx);
BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);

// Windows. CreateWindowExA takes the outer size (frame and caption included); the client area
// is that size less the WS_OVERLAPPEDWINDOW frame at 96 dpi, 16 x 39, never less than 1 x 1.
// The window is hidden until ShowWindow unless WS_VISIBLE is given. The class's procedure
// receives WM_NCCREATE and WM_CREATE during creation (returning -1 from WM_CREATE or FALSE from
// WM_NCCREATE fails creation). DestroyWindow sends WM_DESTROY, then WM_NCDESTROY, and
// invalidates the handle. ShowWindow returns whether the window was visible before.
HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam);
BOOL WINAPI DestroyWindow(HWND hWnd);
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
BOOL WINAPI UpdateWindow(HWND hWnd);
BOOL WINAPI IsWindow(HWND hWnd);
BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
// Client rectangle: left = top = 0, right/bottom = client width/height.
BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
// Window rectangle in screen coordinates, frame included.
BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
// Grows a client rectangle to the window rectangle of that style (no menu): for
// WS_OVERLAPPEDWINDOW at 96 dpi left -8, top -31, right +8, bottom +8.
BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu);

// Messages. PeekMessageA never waits: it gives at most one message: posted messages first (in
// posting order), then one input or window event, then WM_QUIT once PostQuitMessage was called
// and nothing else waits (given once), then WM_PAINT for a window that needs painting. Filters:
// hWnd NULL = any window; wMsgFilterMin = wMsgFilterMax = 0 = any message. Without PM_REMOVE the
// message stays. Key messages update the keyboard state as they are retrieved with PM_REMOVE.
// GetMessageA waits for a message and returns 0 for WM_QUIT, -1 on a bad window, else nonzero.
BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg);
BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
// For WM_KEYDOWN (WM_SYSKEYDOWN) of a key that types a character with the keys held now, posts
// WM_CHAR (WM_SYSCHAR) with that character and the key message's lParam, so it is retrieved
// next. US keyboard layout; no dead keys. Returns TRUE for the four key messages, else FALSE.
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
// Calls the window procedure of the message's window and returns its result; 0 when the
// message has no (valid) window.
LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);
// Calls the window procedure directly, as a sent message.
LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Default processing: WM_CLOSE destroys, WM_PAINT validates, WM_SETTEXT retitles; else 0.
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
VOID WINAPI PostQuitMessage(int nExitCode);
// hWnd may be NULL (a thread message); fails for an invalid non-null window.
BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Cursor. LoadCursorFromFileA reads a .cur file (an icon container with hot spots, BMP or PNG
// images); a missing, truncated or inconsistent file gives NULL. LoadCursorA knows the system
// cursors (IDC_*) when hInstance is NULL. SetCursor(NULL) hides the cursor over the window and
// returns the previous cursor. Cursor positions are screen coordinates.
HCURSOR WINAPI LoadCursorFromFileA(LPCSTR lpFileName);
HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HCURSOR WINAPI SetCursor(HCURSOR hCursor);
BOOL WINAPI DestroyCursor(HCURSOR hCursor);
int WINAPI ShowCursor(BOOL bShow);
BOOL WINAPI GetCursorPos(LPPOINT lpPoint);
BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint);
BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint);

// Keyboard. GetKeyboardState fills 256 bytes, 0x80 set for keys down as of the key messages
// retrieved so far (VK_SHIFT, VK_LSHIFT and VK_RSHIFT included; 0x01 is the toggle bit).
// GetKeyState reads the same state as a SHORT (negative = down). GetAsyncKeyState reads the
// keyboard as it is now (0x8000 = down).
BOOL WINAPI GetKeyboardState(PBYTE lpKeyState);
SHORT WINAPI GetKeyState(int nVirtKey);
SHORT WINAPI GetAsyncKeyState(int vKey);

// Message box: returns the id of the button pressed (IDOK for MB_OK). Both realizations write
// "caption: text" to standard error first. platform/native then shows the box and waits, as
// Windows does, when there is a display (x11 or wayland): it is a window titled with the
// caption, and Return presses its first button, Escape its last. Without a display (no X
// server, SDL's offscreen or dummy driver) it returns the first button's id at once.
// platform/headless records the box and returns at once.
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);


// Device contexts, only as far as asking for dpi: GetDC(NULL) is the screen's context.
HDC WINAPI GetDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);
// LOGPIXELSX/LOGPIXELSY: the display's dpi, 96 when unknown; HORZRES/VERTRES: desktop size.
int WINAPI GetDeviceCaps(HDC hdc, int index);
// nNumber * nNumerator / nDenominator with a 64-bit intermediate, rounded half away from zero;
// -1 when nDenominator is 0 or the result does not fit in an int.
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);

// Time. GetSystemTime is UTC, GetLocalTime the local time zone. GetTickCount counts
// milliseconds since start-up and wraps at 2^32 like timeGetTime.
VOID WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime);
VOID WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime);
DWORD WINAPI GetTickCount(void);
VOID WINAPI Sleep(DWORD dwMilliseconds);
VOID WINAPI OutputDebugStringA(LPCSTR lpOutputString);

#ifdef __cplusplus
}
#endif
