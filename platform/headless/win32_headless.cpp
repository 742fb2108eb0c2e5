// The headless Win32: windows are records, input and time come from the test (headless_win32.h).
#include <stdio.h>
#include <strings.h>

#include <map>

#include <mmsystem.h>

#include "call_log.h"
#include "common/win32/cur_file.h"
#include "headless_win32.h"
#include "common/win32/win32_message_queue.h"
#include "common/win32/win32_monitors.h"
#include "common/win32/win32_window_table.h"

namespace orvex_headless {
namespace {

struct Loaded_Cursor {
    int width, height, hot_x, hot_y;
};

struct Headless_State {
    DWORD clock = 0;
    SYSTEMTIME system_time{};
    POINT cursor{0, 0};
    int dpi = 96;
    int desktop_width = 1920;
    int desktop_height = 1080;
    int monitors = 1;
    HWND focus = nullptr;
    Peek_Hook hook;
    unsigned peek_calls = 0;
    unsigned empty_peeks = 0;
    unsigned peek_limit = 1000000;
    bool limit_reached = false;
    std::vector<Class_Record> classes;
    std::vector<Window_Record> windows;
    std::vector<Message_Box_Record> boxes;
    std::vector<Cursor_Load_Record> cursor_loads;
    std::vector<HCURSOR> cursors_set;
    std::map<UINT_PTR, Loaded_Cursor> cursors;
    UINT_PTR next_cursor = 0x20010;
    HCURSOR current_cursor = nullptr;
    int cursor_display_count = 0;

    Headless_State() {
        system_time.wYear = 2000;
        system_time.wMonth = 1;
        system_time.wDayOfWeek = 6;
        system_time.wDay = 1;
    }
};

Headless_State& state() {
    static Headless_State s;
    return s;
}

Window_Record* record_of(HWND hwnd) {
    for (auto it = state().windows.rbegin(); it != state().windows.rend(); ++it)
        if (it->handle == hwnd && !it->destroyed) return &*it;
    return nullptr;
}

class Headless_Backend : public Win32_Window_Backend {
public:
    bool Open(Win32_Window& w) override {
        Window_Record r{};
        r.handle = w.handle;
        r.class_name = w.class_name;
        r.title = w.title;
        r.style = w.style;
        r.ex_style = w.ex_style;
        r.x = w.outer.left;
        r.y = w.outer.top;
        r.outer_width = w.outer.right - w.outer.left;
        r.outer_height = w.outer.bottom - w.outer.top;
        r.client_width = w.client_width;
        r.client_height = w.client_height;
        state().windows.push_back(r);
        return true;
    }
    void Close(Win32_Window& w) override {
        if (Window_Record* r = record_of(w.handle)) r->destroyed = true, r->shown = false;
        if (state().focus == w.handle) state().focus = nullptr;
    }
    void Show(Win32_Window& w, bool visible) override {
        Window_Record* r = record_of(w.handle);
        if (!r) return;
        r->shown = visible;
        record_call("ShowWindow(" + w.class_name + (visible ? ", shown)" : ", hidden)"));
        if (visible) r->ever_shown = true, state().focus = w.handle;
        else if (state().focus == w.handle) state().focus = nullptr;
    }
    void Retitle(Win32_Window& w) override {
        if (Window_Record* r = record_of(w.handle)) r->title = w.title;
    }
};

LPARAM client_point_of(HWND hwnd) {
    POINT p = state().cursor;
    ScreenToClient(hwnd, &p);
    return MAKELPARAM(p.x, p.y);
}

void queue_input(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int side_vk = 0) {
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = state().clock;
    m.pt = state().cursor;
    win32_message_queue().PushInput(m, side_vk);
}

int generic_of(int vk) {
    switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return vk;
    }
}

}  // namespace
}  // namespace orvex_headless

Win32_Window_Backend& win32_window_backend() {
    static orvex_headless::Headless_Backend b;
    return b;
}

namespace orvex_headless {

void reset_win32() {
    win32_window_table().Reset();
    win32_message_queue().Reset();
    state() = Headless_State();
}

void set_time(DWORD ms) { state().clock = ms; }
void advance_time(DWORD ms) { state().clock += ms; }
DWORD current_time() { return state().clock; }
void set_system_time(const SYSTEMTIME& utc) { state().system_time = utc; }

void set_key_state(int vk, bool down) { win32_message_queue().Keyboard().Set(vk, down); }

void press_key(int vk, bool repeat) {
    int generic = generic_of(vk);
    LPARAM lp = 1 | (repeat ? (1 << 30) : 0);
    queue_input(focus_window(), WM_KEYDOWN, static_cast<WPARAM>(generic), lp, generic != vk ? vk : 0);
}

void release_key(int vk) {
    int generic = generic_of(vk);
    LPARAM lp = static_cast<LPARAM>(1 | (1u << 30) | (1u << 31));
    queue_input(focus_window(), WM_KEYUP, static_cast<WPARAM>(generic), lp, generic != vk ? vk : 0);
}

void set_cursor_pos(int x, int y) { state().cursor = {x, y}; }

void press_left_button(int screen_x, int screen_y) {
    set_cursor_pos(screen_x, screen_y);
    HWND hwnd = focus_window();
    queue_input(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, client_point_of(hwnd));
}

void release_left_button(int screen_x, int screen_y) {
    set_cursor_pos(screen_x, screen_y);
    HWND hwnd = focus_window();
    queue_input(hwnd, WM_LBUTTONUP, 0, client_point_of(hwnd));
}

HWND focus_window() {
    if (state().focus && IsWindow(state().focus)) return state().focus;
    for (auto it = state().windows.rbegin(); it != state().windows.rend(); ++it)
        if (!it->destroyed) return it->handle;
    return nullptr;
}

bool post_input(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !IsWindow(hwnd)) return false;
    queue_input(hwnd, message, wParam, lParam);
    return true;
}

bool close_focus_window() {
    HWND hwnd = focus_window();
    return hwnd && post_input(hwnd, WM_CLOSE);
}

void set_peek_hook(Peek_Hook hook) { state().hook = std::move(hook); }
void set_peek_limit(unsigned calls) { state().peek_limit = calls; }
bool peek_limit_reached() { return state().limit_reached; }
void set_dpi(int dpi) { state().dpi = dpi; }
void set_monitor_count(int count) { state().monitors = count; }
void set_desktop_size(int width, int height) {
    state().desktop_width = width;
    state().desktop_height = height;
}

const std::vector<Class_Record>& class_records() { return state().classes; }
const std::vector<Window_Record>& window_records() { return state().windows; }
const std::vector<Message_Box_Record>& message_boxes() { return state().boxes; }
const std::vector<Cursor_Load_Record>& cursor_loads() { return state().cursor_loads; }
const std::vector<HCURSOR>& cursors_set() { return state().cursors_set; }

bool cursor_info(HCURSOR cursor, int* width, int* height, int* hot_x, int* hot_y) {
    auto it = state().cursors.find(reinterpret_cast<UINT_PTR>(cursor));
    if (it == state().cursors.end()) return false;
    if (width) *width = it->second.width;
    if (height) *height = it->second.height;
    if (hot_x) *hot_x = it->second.hot_x;
    if (hot_y) *hot_y = it->second.hot_y;
    return true;
}

// Called by RegisterClassExA / UnregisterClassA below.
static void note_class(const WNDCLASSEXA* wc) {
    Class_Record r{};
    r.name = wc->lpszClassName;
    r.style = wc->style;
    r.proc = wc->lpfnWndProc;
    r.instance = wc->hInstance;
    r.has_icon = wc->hIcon != nullptr;
    r.has_small_icon = wc->hIconSm != nullptr;
    r.has_cursor = wc->hCursor != nullptr;
    r.has_background = wc->hbrBackground != nullptr;
    r.has_menu = wc->lpszMenuName != nullptr;
    r.registered = true;
    state().classes.push_back(r);
}

static void note_unregistered(LPCSTR name) {
    for (auto it = state().classes.rbegin(); it != state().classes.rend(); ++it)
        if (it->registered && strcasecmp(it->name.c_str(), name) == 0) {
            it->registered = false;
            return;
        }
}

}  // namespace orvex_headless

using namespace orvex_headless;

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx) {
    ATOM atom = win32_window_table().RegisterClass(lpwcx);
    if (atom) note_class(lpwcx);
    return atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    BOOL ok = win32_window_table().UnregisterClass(lpClassName);
    if (ok) note_unregistered(lpClassName);
    return ok;
}


BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    Headless_State& s = state();
    ++s.peek_calls;
    if (s.hook) s.hook(Peek_Info{s.peek_calls, s.empty_peeks});
    if (s.peek_calls >= s.peek_limit && !s.limit_reached) {
        s.limit_reached = true;
        fprintf(stderr, "headless Win32: %u PeekMessageA calls without an end; posting WM_QUIT\n", s.peek_calls);
        win32_message_queue().PostQuit(0);
    }
    BOOL got = win32_message_queue().Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg, nullptr,
                                          s.clock, s.cursor);
    if (!got) ++s.empty_peeks;
    return got;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) return -1;
    if (hWnd && !IsWindow(hWnd)) return -1;
    // Nothing arrives on its own here: waiting means asking again, so the hook and the limit run.
    while (!PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) {
        if (hWnd && !IsWindow(hWnd)) return -1;
        // Past the limit the posted WM_QUIT may not pass the filters: give up rather than hang.
        if (state().limit_reached) return -1;
    }
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

HCURSOR WINAPI LoadCursorFromFileA(LPCSTR lpFileName) {
    Headless_State& s = state();
    Cur_Image image;
    HCURSOR cursor = nullptr;
    if (cur_file_load(lpFileName, &image, nullptr)) {
        cursor = reinterpret_cast<HCURSOR>(s.next_cursor);
        s.next_cursor += 0x10;
        s.cursors[reinterpret_cast<UINT_PTR>(cursor)] = {image.width, image.height, image.hot_x, image.hot_y};
    }
    s.cursor_loads.push_back({lpFileName ? lpFileName : "", cursor});
    return cursor;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (hInstance || !IS_INTRESOURCE(lpCursorName)) return nullptr;
    Headless_State& s = state();
    UINT_PTR id = 0x30000 + reinterpret_cast<UINT_PTR>(lpCursorName);
    s.cursors[id] = {32, 32, 0, 0};
    return reinterpret_cast<HCURSOR>(id);
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
    Headless_State& s = state();
    HCURSOR previous = s.current_cursor;
    s.current_cursor = hCursor;
    s.cursors_set.push_back(hCursor);
    return previous;
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) {
    return state().cursors.erase(reinterpret_cast<UINT_PTR>(hCursor)) ? TRUE : FALSE;
}

int WINAPI ShowCursor(BOOL bShow) {
    int& count = state().cursor_display_count;
    return bShow ? ++count : --count;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    *lpPoint = state().cursor;
    return TRUE;
}

SHORT WINAPI GetAsyncKeyState(int vKey) {
    return win32_message_queue().Keyboard().IsDown(vKey) ? static_cast<SHORT>(0x8000) : 0;
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    state().boxes.push_back({hWnd, lpCaption ? lpCaption : "Error", lpText ? lpText : "", uType});
    UINT buttons = uType & 0xF;
    if (buttons == MB_ABORTRETRYIGNORE) return IDABORT;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) return IDYES;
    if (buttons == MB_RETRYCANCEL) return IDRETRY;
    return IDOK;
}



int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (!hdc) return 0;
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return state().dpi;
    case HORZRES: return state().desktop_width;
    case VERTRES: return state().desktop_height;
    case BITSPIXEL: return 32;
    default: return 0;
    }
}

VOID WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
    if (lpSystemTime) *lpSystemTime = state().system_time;
}

VOID WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) { GetSystemTime(lpSystemTime); }

DWORD WINAPI GetTickCount(void) { return state().clock; }

VOID WINAPI Sleep(DWORD dwMilliseconds) { state().clock += dwMilliseconds; }

DWORD WINAPI timeGetTime(void) { return state().clock; }

}  // extern "C"

int win32_monitor_count() { return state().monitors; }
