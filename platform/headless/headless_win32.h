#pragma once
// The test-control side of the headless Win32: what a test sets (clock, system time, keyboard,
// cursor, dpi, desktop size), what it posts (input and messages), what it reads back (classes,
// windows, message boxes, cursors) and the hook that lets it script a whole WinMain run.
//
// Everything starts as after reset_win32(): clock 0, system time 2000-01-01 00:00:00.000 UTC
// (a Saturday), no keys down, cursor at (0, 0), 96 dpi, a 1920 x 1080 desktop on one monitor,
// no classes, no windows, empty queue, no hook. Call reset_win32() between tests.
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace orvex_headless {

void reset_win32();

// ---- Time -----------------------------------------------------------------------------------
// timeGetTime and GetTickCount answer this clock; it wraps at 2^32 like the real one. Sleep(n)
// advances it by n.
void set_time(DWORD ms);
void advance_time(DWORD ms);
DWORD current_time();
// GetSystemTime and GetLocalTime answer this (the headless machine lives in UTC).
void set_system_time(const SYSTEMTIME& utc);

// ---- Keyboard and mouse ---------------------------------------------------------------------
// Sets a key's state at once, as seen by GetKeyboardState, GetKeyState and GetAsyncKeyState.
// A side-specific code (VK_LSHIFT, ...) also updates its generic code (VK_SHIFT, ...).
void set_key_state(int vk, bool down);
// Queues WM_KEYDOWN / WM_KEYUP for the focus window as a real key would: the keyboard state
// changes when the message is retrieved. repeat = an auto-repeat key-down (bit 30 set). For a
// shift, control or alt key pass the side-specific code; the message carries the generic one.
void press_key(int vk, bool repeat = false);
void release_key(int vk);
// The cursor in screen coordinates (GetCursorPos).
void set_cursor_pos(int x, int y);
// Queues WM_LBUTTONDOWN / WM_LBUTTONUP for the focus window at the cursor (client coordinates
// in lParam); the cursor moves to (screen_x, screen_y) first.
void press_left_button(int screen_x, int screen_y);
void release_left_button(int screen_x, int screen_y);
// The window input goes to: the last window shown, else the newest window; NULL when none.
HWND focus_window();

// ---- Messages -------------------------------------------------------------------------------
// Queues a message as input (after posted messages, before WM_QUIT), e.g. WM_CLOSE as the close
// button would send it. Returns false for an invalid non-null window.
bool post_input(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Asks the focus window to close, as its close button would.
bool close_focus_window();

// Runs at the start of every PeekMessageA, before the queue is read. call = 1 for the first
// PeekMessageA since reset; frames = how many earlier PeekMessageA calls found no message (the
// frames a WinMain loop has drawn so far). A hook may post, press keys, advance the clock.
struct Peek_Info {
    unsigned call;
    unsigned frames;
};
using Peek_Hook = std::function<void(const Peek_Info&)>;
void set_peek_hook(Peek_Hook hook);
// A loop that never ends would hang the test: after this many PeekMessageA calls (default
// 1 000 000) the headless Win32 reports it on standard error and posts WM_QUIT itself; a
// GetMessageA whose filters keep WM_QUIT out returns -1 from then on.
void set_peek_limit(unsigned calls);
bool peek_limit_reached();

// ---- Display --------------------------------------------------------------------------------
void set_dpi(int dpi);  // GetDeviceCaps(LOGPIXELSX / LOGPIXELSY)
void set_desktop_size(int width, int height);  // GetDeviceCaps(HORZRES / VERTRES)
// GetSystemMetrics(SM_CMONITORS); 0 stands for a machine without a display.
void set_monitor_count(int count);

// ---- Records --------------------------------------------------------------------------------
struct Class_Record {
    std::string name;
    UINT style;
    WNDPROC proc;
    HINSTANCE instance;
    bool has_icon, has_small_icon, has_cursor, has_background, has_menu;
    bool registered;  // false once unregistered
};
struct Window_Record {
    HWND handle;
    std::string class_name;
    std::string title;
    DWORD style;
    DWORD ex_style;
    int x, y;                         // outer position
    int outer_width, outer_height;    // as created, frame included
    int client_width, client_height;  // what the back buffer gets
    bool shown;                       // visible now
    bool ever_shown;
    bool destroyed;
};
struct Message_Box_Record {
    HWND owner;
    std::string caption;
    std::string text;
    UINT flags;
};
// In the order they happened, destroyed windows and unregistered classes included.
const std::vector<Class_Record>& class_records();
const std::vector<Window_Record>& window_records();
const std::vector<Message_Box_Record>& message_boxes();
// LoadCursorFromFileA: the file names asked for and what each gave (NULL when it failed).
struct Cursor_Load_Record {
    std::string file;
    HCURSOR cursor;
};
const std::vector<Cursor_Load_Record>& cursor_loads();
// Every SetCursor argument, oldest first.
const std::vector<HCURSOR>& cursors_set();
// The size of a loaded cursor's image and its hot spot; false for an unknown handle.
bool cursor_info(HCURSOR cursor, int* width, int* height, int* hot_x, int* hot_y);

}  // namespace orvex_headless
