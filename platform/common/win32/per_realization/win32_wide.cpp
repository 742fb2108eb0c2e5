// CreateWindowExA with the realization's backend, and the W functions of <windows.h>: each
// converts its text once (win32_text.h) and goes on as its A function.
#include <windows.h>

#include "common/text/win32_text.h"
#include "common/win32/win32_window_table.h"

extern "C" {

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND, HMENU, HINSTANCE, LPVOID lpParam) {
    return win32_window_table().Create(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight,
                                       lpParam, &win32_window_backend());
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) { return GetModuleHandleA(Win32_Narrow(lpModuleName)); }

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* lpwcx) {
    if (!lpwcx || lpwcx->cbSize != sizeof(WNDCLASSEXW)) return 0;
    Win32_Narrow name(lpwcx->lpszClassName), menu(lpwcx->lpszMenuName);
    WNDCLASSEXA narrow{sizeof(WNDCLASSEXA), lpwcx->style, lpwcx->lpfnWndProc, lpwcx->cbClsExtra,
                       lpwcx->cbWndExtra, lpwcx->hInstance, lpwcx->hIcon, lpwcx->hCursor,
                       lpwcx->hbrBackground, menu, name, lpwcx->hIconSm};
    ATOM atom = RegisterClassExA(&narrow);
    if (atom) win32_window_table().MarkUnicode(name);
    return atom;
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
    return UnregisterClassA(Win32_Narrow(lpClassName), hInstance);
}

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
    return CreateWindowExA(dwExStyle, Win32_Narrow(lpClassName), Win32_Narrow(lpWindowName), dwStyle, X, Y, nWidth,
                           nHeight, hWndParent, hMenu, hInstance, lpParam);
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) { return SetWindowTextA(hWnd, Win32_Narrow(lpString)); }

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    return PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    return GetMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) { return DispatchMessageA(lpMsg); }

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (Msg == WM_SETTEXT) return SetWindowTextW(hWnd, reinterpret_cast<LPCWSTR>(lParam));
    return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(hWnd, Msg, wParam, lParam);
}

HCURSOR WINAPI LoadCursorFromFileW(LPCWSTR lpFileName) {
    return LoadCursorFromFileA(Win32_Narrow(lpFileName, Win32_Narrow_Kind::Path));
}

HCURSOR WINAPI LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName) {
    return LoadCursorA(hInstance, Win32_Narrow(lpCursorName));
}

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    return MessageBoxA(hWnd, Win32_Narrow(lpText), Win32_Narrow(lpCaption), uType);
}

VOID WINAPI OutputDebugStringW(LPCWSTR lpOutputString) { OutputDebugStringA(Win32_Narrow(lpOutputString)); }

}  // extern "C"
