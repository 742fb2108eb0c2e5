#include "common/win32/win32_window_table.h"

#include <strings.h>

#include <algorithm>

#include "common/win32/win32_frame.h"
#include "common/win32/win32_message_queue.h"
#include "common/text/win32_text.h"

void Win32_Window::MoveClientTo(int x, int y) {
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    outer.left = x + frame.left;
    outer.top = y + frame.top;
    outer.right = outer.left + width;
    outer.bottom = outer.top + height;
}

void Win32_Window::Invalidate(const RECT* rect, bool erase) {
    if (!visible) return;
    RECT r = rect ? *rect : RECT{0, 0, client_width, client_height};
    r = {std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, client_width),
         std::min<LONG>(r.bottom, client_height)};
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (update.right <= update.left || update.bottom <= update.top) {
        update = r;
    } else {
        update = {std::min(update.left, r.left), std::min(update.top, r.top), std::max(update.right, r.right),
                  std::max(update.bottom, r.bottom)};
    }
    erase_pending = erase_pending || erase;
}

void Win32_Window_Table::Reset() {
    for (auto& entry : windows) entry.second->backend->Close(*entry.second);
    windows.clear();
    classes.clear();
}

const Win32_Window_Table::Class_Record* Win32_Window_Table::FindClass(LPCSTR name) const {
    if (!name || IS_INTRESOURCE(name)) return nullptr;
    for (const Class_Record& c : classes)
        if (strcasecmp(c.name.c_str(), name) == 0) return &c;
    return nullptr;
}

void Win32_Window_Table::MarkUnicode(LPCSTR name) {
    for (Class_Record& c : classes)
        if (name && !IS_INTRESOURCE(name) && strcasecmp(c.name.c_str(), name) == 0) c.unicode = true;
}

ATOM Win32_Window_Table::RegisterClass(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc || !wc->lpszClassName ||
        IS_INTRESOURCE(wc->lpszClassName) || wc->lpszClassName[0] == '\0' ||
        FindClass(wc->lpszClassName))
        return 0;
    Class_Record record{wc->lpszClassName, *wc, next_atom++, false};
    record.wc.lpszClassName = nullptr;  // the caller's string need not outlive the call
    record.wc.lpszMenuName = nullptr;
    classes.push_back(record);
    return record.atom;
}

BOOL Win32_Window_Table::UnregisterClass(LPCSTR name) {
    const Class_Record* c = FindClass(name);
    if (!c) return FALSE;
    for (auto& entry : windows)
        if (strcasecmp(entry.second->class_name.c_str(), c->name.c_str()) == 0) return FALSE;
    classes.erase(classes.begin() + (c - classes.data()));
    return TRUE;
}

HWND Win32_Window_Table::Create(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x,
                                int y, int width, int height, LPVOID create_param,
                                Win32_Window_Backend* backend) {
    const Class_Record* c = FindClass(class_name);
    if (!c || !backend) return nullptr;
    auto window = std::make_unique<Win32_Window>();
    window->handle = reinterpret_cast<HWND>(next_handle);
    next_handle += 0x10;
    window->class_name = c->name;
    window->proc = c->wc.lpfnWndProc;
    window->unicode = c->unicode;
    window->title = title ? title : "";
    window->style = style;
    window->ex_style = ex_style;
    window->frame = win32_frame_of_style(style);
    if (x == CW_USEDEFAULT) x = y = 0;
    // Screen coordinates are 16-bit in X11 (and in practice in Windows); keeping positions in
    // that range keeps every rectangle sum below overflow.
    x = std::clamp(x, -32768, 32767);
    y = std::clamp(y, -32768, 32767);
    if (width == CW_USEDEFAULT) width = 640, height = 480;
    SIZE client = win32_client_size_for_outer(style, width, height, max_client_side);
    window->client_width = client.cx;
    window->client_height = client.cy;
    window->outer = {x, y, x + client.cx + window->frame.right - window->frame.left,
                     y + client.cy + window->frame.bottom - window->frame.top};
    window->backend = backend;
    HWND hwnd = window->handle;
    Win32_Window* raw = window.get();
    windows[reinterpret_cast<UINT_PTR>(hwnd)] = std::move(window);
    if (!backend->Open(*raw)) {
        windows.erase(reinterpret_cast<UINT_PTR>(hwnd));
        return nullptr;
    }

    CREATESTRUCTA cs{};
    cs.lpCreateParams = create_param;
    cs.hInstance = GetModuleHandleA(nullptr);
    cs.cy = raw->outer.bottom - raw->outer.top;
    cs.cx = raw->outer.right - raw->outer.left;
    cs.y = raw->outer.top;
    cs.x = raw->outer.left;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = title;
    cs.lpszClass = class_name;
    // A Unicode window reads CREATESTRUCTW, the same layout with WCHAR strings.
    std::wstring wide_title, wide_class;
    if (raw->unicode) {
        wide_title = win32_text::wide_from_ansi(raw->title.data(), raw->title.size());
        cs.lpszName = title ? reinterpret_cast<LPCSTR>(wide_title.c_str()) : nullptr;
        if (!IS_INTRESOURCE(class_name)) {
            wide_class = win32_text::wide_from_ansi(class_name, strlen(class_name));
            cs.lpszClass = reinterpret_cast<LPCSTR>(wide_class.c_str());
        }
    }
    cs.dwExStyle = ex_style;
    LPARAM lp = reinterpret_cast<LPARAM>(&cs);
    if (!Send(hwnd, WM_NCCREATE, 0, lp) || Send(hwnd, WM_CREATE, 0, lp) == -1) {
        Destroy(hwnd);
        return nullptr;
    }
    if (!Find(hwnd)) return nullptr;  // the procedure destroyed it during creation
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL Win32_Window_Table::Destroy(HWND hwnd) {
    Win32_Window* w = Find(hwnd);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    w->destroying = true;
    if (w->visible) {
        w->visible = false;
        w->backend->Show(*w, false);
    }
    Send(hwnd, WM_DESTROY, 0, 0);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    w = Find(hwnd);
    if (!w) return TRUE;
    w->backend->Close(*w);
    windows.erase(reinterpret_cast<UINT_PTR>(hwnd));
    win32_message_queue().DropWindow(hwnd);
    return TRUE;
}

Win32_Window* Win32_Window_Table::Find(HWND hwnd) {
    auto it = windows.find(reinterpret_cast<UINT_PTR>(hwnd));
    return it == windows.end() ? nullptr : it->second.get();
}

std::vector<HWND> Win32_Window_Table::Handles() const {
    std::vector<HWND> out;
    for (auto& entry : windows) out.push_back(entry.second->handle);
    return out;
}

LRESULT Win32_Window_Table::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32_Window* w = Find(hwnd);
    if (!w || !w->proc) return 0;
    WNDPROC proc = w->proc;  // the record may go away while the procedure runs
    return proc(hwnd, message, wParam, lParam);
}

HWND Win32_Window_Table::NextToPaint(HWND filter) const {
    for (auto& entry : windows)
        if ((!filter || entry.second->handle == filter) && entry.second->NeedsPaint()) return entry.second->handle;
    return nullptr;
}

Win32_Window_Table& win32_window_table() {
    static Win32_Window_Table table;
    return table;
}
