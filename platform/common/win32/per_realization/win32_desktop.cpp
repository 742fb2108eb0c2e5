// The desktop, system metrics, icons, stock brushes and window longs (winuser_desktop.h), the
// same in both realizations.
#include <windows.h>

#include "common/win32/win32_monitors.h"
#include "common/win32/win32_window_table.h"

namespace {

// Fixed handles outside the range of window, cursor and device-context handles.
const UINT_PTR desktop_handle = 0x10000;
const UINT_PTR first_stock_object = 0x50000;
const UINT_PTR first_icon = 0x60000;

LONG_PTR window_long(HWND hWnd, int index, const LONG_PTR* new_value) {
    Win32_Window* w = win32_window_table().Find(hWnd);
    if (!w) return 0;
    switch (index) {
    case GWLP_USERDATA: {
        LONG_PTR old = w->user_data;
        if (new_value) w->user_data = *new_value;
        return old;
    }
    case GWLP_WNDPROC: {
        LONG_PTR old = reinterpret_cast<LONG_PTR>(w->proc);
        if (new_value && *new_value) w->proc = reinterpret_cast<WNDPROC>(*new_value);
        return old;
    }
    case GWL_STYLE: return new_value ? 0 : static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return new_value ? 0 : static_cast<LONG_PTR>(w->ex_style);
    case GWLP_HINSTANCE: return new_value ? 0 : reinterpret_cast<LONG_PTR>(GetModuleHandleA(nullptr));
    default: return 0;
    }
}

}  // namespace

extern "C" {

HWND WINAPI GetDesktopWindow(void) { return reinterpret_cast<HWND>(desktop_handle); }

int WINAPI GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        HDC screen = GetDC(nullptr);
        int size = GetDeviceCaps(screen, nIndex == SM_CXSCREEN ? HORZRES : VERTRES);
        ReleaseDC(nullptr, screen);
        return size;
    }
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CMONITORS: return win32_monitor_count();
    default: return 0;
    }
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    UINT_PTR id = reinterpret_cast<UINT_PTR>(lpIconName);
    if (hInstance || !IS_INTRESOURCE(lpIconName) || id < 32512 || id > 32518) return nullptr;
    return reinterpret_cast<HICON>(first_icon + id);
}

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
    // Only integer resources name an icon here, and those need no conversion.
    return IS_INTRESOURCE(lpIconName) ? LoadIconA(hInstance, reinterpret_cast<LPCSTR>(lpIconName)) : nullptr;
}

HGDIOBJ WINAPI GetStockObject(int i) {
    if (i < WHITE_BRUSH || i > NULL_BRUSH) return nullptr;
    return reinterpret_cast<HGDIOBJ>(first_stock_object + static_cast<UINT_PTR>(i));
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) { return ho ? TRUE : FALSE; }

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) { return window_long(hWnd, nIndex, nullptr); }
LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) { return window_long(hWnd, nIndex, nullptr); }
LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    return window_long(hWnd, nIndex, &dwNewLong);
}
LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    return window_long(hWnd, nIndex, &dwNewLong);
}

}  // extern "C"
