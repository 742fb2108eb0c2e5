// Update regions and WM_PAINT (winuser_paint.h), the same in both realizations: the queue reads
// the regions kept here when it has nothing else to give.
#include <windows.h>

#include "common/win32/win32_window_table.h"

extern "C" {

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    if (!hWnd) {
        for (HWND each : win32_window_table().Handles()) win32_window_table().Find(each)->Invalidate(nullptr, bErase);
        return TRUE;
    }
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w) return FALSE;
    w->Invalidate(lpRect, bErase != FALSE);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w) return FALSE;
    const RECT& u = w->update;
    if (!lpRect || (lpRect->left <= u.left && lpRect->top <= u.top && lpRect->right >= u.right &&
                    lpRect->bottom >= u.bottom)) {
        w->update = RECT{};
        w->erase_pending = false;
    }
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w) return FALSE;
    if (lpRect) *lpRect = w->NeedsPaint() ? w->update : RECT{};
    return w->NeedsPaint() ? TRUE : FALSE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w || !lpPaint) return nullptr;
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = GetDC(hWnd);
    lpPaint->rcPaint = w->NeedsPaint() ? w->update : RECT{};
    bool erase = w->erase_pending;
    w->update = RECT{};
    w->erase_pending = false;
    if (erase) lpPaint->fErase = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(lpPaint->hdc), 0) == 0;
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT*) { return IsWindow(hWnd); }

BOOL WINAPI UpdateWindow(HWND hWnd) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w) return FALSE;
    if (w->NeedsPaint()) win32_window_table().Send(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

}  // extern "C"
