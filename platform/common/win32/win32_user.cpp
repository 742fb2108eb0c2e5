// The functions of <windows.h> and <mmsystem.h> that behave the same in both realizations:
// window records, dispatch, the default procedure, posting, keyboard state, frame
// metrics and arithmetic. What needs a screen, a clock or input lives in each realization.
#include <stdio.h>

#include <climits>
#include <cmath>

#include <mmsystem.h>

#include "common/win32/win32_frame.h"
#include "common/win32/win32_message_queue.h"
#include "common/win32/win32_window_table.h"

extern "C" {

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    // The program is the only module; Windows loads programs at this address by default.
    return lpModuleName ? nullptr : reinterpret_cast<HMODULE>(0x400000);
}

BOOL WINAPI DestroyWindow(HWND hWnd) { return win32_window_table().Destroy(hWnd); }

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w) return FALSE;
    BOOL was_visible = w->visible ? TRUE : FALSE;
    bool visible = nCmdShow != SW_HIDE;
    if (visible != w->visible && !w->destroying) {
        w->visible = visible;
        w->backend->Show(*w, visible);
        if (visible) w->Invalidate(nullptr, true);
        win32_window_table().Send(hWnd, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
    }
    return was_visible;
}

BOOL WINAPI IsWindow(HWND hWnd) { return win32_window_table().Find(hWnd) ? TRUE : FALSE; }

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w) return FALSE;
    w->title = lpString ? lpString : "";
    w->backend->Retitle(*w);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w || !lpRect) return FALSE;
    *lpRect = {0, 0, w->client_width, w->client_height};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w || !lpRect) return FALSE;
    *lpRect = w->outer;
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL) {
    if (!lpRect) return FALSE;
    RECT f = win32_frame_of_style(dwStyle);
    lpRect->left += f.left;
    lpRect->top += f.top;
    lpRect->right += f.right;
    lpRect->bottom += f.bottom;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w || !lpPoint) return FALSE;
    POINT origin = w->ClientOrigin();
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w || !lpPoint) return FALSE;
    POINT origin = w->ClientOrigin();
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg) return FALSE;
    UINT m = lpMsg->message;
    if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
        Win32_Message_Queue& queue = win32_message_queue();
        int character = queue.Keyboard().CharacterOf(static_cast<int>(lpMsg->wParam & 0xFF));
        if (character)
            queue.Post(lpMsg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(character),
                       lpMsg->lParam);
    }
    return (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP) ? TRUE : FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg || !lpMsg->hwnd) return 0;
    return win32_window_table().Send(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return win32_window_table().Send(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SETTEXT:
        return SetWindowTextA(hWnd, reinterpret_cast<LPCSTR>(lParam));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (BeginPaint(hWnd, &ps)) EndPaint(hWnd, &ps);
        return 0;
    }
    default:
        (void)wParam;
        return 0;
    }
}

VOID WINAPI PostQuitMessage(int nExitCode) { win32_message_queue().PostQuit(nExitCode); }

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !IsWindow(hWnd)) return FALSE;
    win32_message_queue().Post(hWnd, Msg, wParam, lParam);
    return TRUE;
}

BOOL WINAPI GetKeyboardState(PBYTE lpKeyState) {
    if (!lpKeyState) return FALSE;
    memcpy(lpKeyState, win32_message_queue().Keyboard().Bytes(), 256);
    return TRUE;
}

SHORT WINAPI GetKeyState(int nVirtKey) {
    if (nVirtKey < 0 || nVirtKey > 255) return 0;
    BYTE b = win32_message_queue().Keyboard().Bytes()[nVirtKey];
    return static_cast<SHORT>(((b & 0x80) ? 0x8000 : 0) | (b & 0x01));
}

// A device context is only ever asked for its dpi: a handle that names the screen or a window.
HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd && !IsWindow(hWnd)) return nullptr;
    return reinterpret_cast<HDC>(hWnd ? reinterpret_cast<UINT_PTR>(hWnd) + 1 : 0x1001);
}

int WINAPI ReleaseDC(HWND, HDC hDC) { return hDC ? 1 : 0; }

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    long long product = static_cast<long long>(nNumber) * nNumerator;
    long long d = nDenominator;
    // Round half away from zero: add half the divisor in the direction of the result's sign.
    bool negative = (product < 0) != (d < 0);
    long long mag_p = product < 0 ? -product : product;
    long long mag_d = d < 0 ? -d : d;
    long long q = (mag_p + mag_d / 2) / mag_d;
    long long result = negative ? -q : q;
    if (result > INT_MAX || result < INT_MIN) return -1;
    return static_cast<int>(result);
}

VOID WINAPI OutputDebugStringA(LPCSTR lpOutputString) {
    if (lpOutputString) fputs(lpOutputString, stderr);
}

MMRESULT WINAPI timeBeginPeriod(UINT uPeriod) {
    return (uPeriod >= 1 && uPeriod <= 1000) ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

MMRESULT WINAPI timeEndPeriod(UINT uPeriod) { return timeBeginPeriod(uPeriod); }

}  // extern "C"
