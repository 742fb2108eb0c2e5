// The native message loop: SDL events become Win32 input messages, one at a time, as
// PeekMessageA and GetMessageA ask for them.
#include <SDL.h>

#include <mmsystem.h>

#include "common/win32/win32_drop.h"
#include "common/win32/win32_message_queue.h"
#include "common/win32/win32_window_table.h"
#include "win32_keymap.h"
#include "win32_window.h"

namespace {

WPARAM mouse_key_flags() {
    Win32_Keyboard_State& k = win32_message_queue().Keyboard();
    WPARAM flags = 0;
    if (k.IsDown(VK_LBUTTON)) flags |= MK_LBUTTON;
    if (k.IsDown(VK_RBUTTON)) flags |= MK_RBUTTON;
    if (k.IsDown(VK_MBUTTON)) flags |= MK_MBUTTON;
    if (k.IsDown(VK_SHIFT)) flags |= MK_SHIFT;
    if (k.IsDown(VK_CONTROL)) flags |= MK_CONTROL;
    return flags;
}

POINT cursor_now() {
    POINT p{0, 0};
    GetCursorPos(&p);
    return p;
}

void push(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int side_vk = 0) {
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = timeGetTime();
    m.pt = cursor_now();
    win32_message_queue().PushInput(m, side_vk);
}

bool translate_key(const SDL_KeyboardEvent& e) {
    HWND hwnd = win32_window_of_sdl_id(e.windowID);
    if (!hwnd) return false;
    Win32_Key key = win32_key_of_scancode(e.keysym.scancode);
    if (!key.vk) return false;
    bool down = e.type == SDL_KEYDOWN;
    // Alt, F10 and anything typed while alt is held are system keys in Windows.
    bool alt_held = win32_message_queue().Keyboard().IsDown(VK_MENU);
    bool system = key.vk == VK_MENU || key.vk == VK_F10 || (alt_held && !(SDL_GetModState() & KMOD_CTRL));
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lp = win32_key_lparam(key, down, down && e.repeat != 0);
    if (system && alt_held) lp |= 1 << 29;  // the context code: alt is down
    push(hwnd, message, key.vk, lp, key.side_vk);
    return true;
}

bool translate_button(const SDL_MouseButtonEvent& e) {
    HWND hwnd = win32_window_of_sdl_id(e.windowID);
    if (!hwnd) return false;
    bool down = e.type == SDL_MOUSEBUTTONDOWN;
    UINT message;
    WPARAM own;
    switch (e.button) {
    case SDL_BUTTON_LEFT: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP, own = MK_LBUTTON; break;
    case SDL_BUTTON_RIGHT: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP, own = MK_RBUTTON; break;
    case SDL_BUTTON_MIDDLE: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP, own = MK_MBUTTON; break;
    default: return false;
    }
    // wParam tells the buttons down after this event.
    WPARAM flags = down ? (mouse_key_flags() | own) : (mouse_key_flags() & ~own);
    win32_note_cursor(hwnd, e.x, e.y);
    push(hwnd, message, flags, MAKELPARAM(e.x, e.y));
    return true;
}

bool translate_window_event(const SDL_WindowEvent& e) {
    HWND hwnd = win32_window_of_sdl_id(e.windowID);
    Win32_Window* w = win32_window_table().Find(hwnd);
    if (!w) return false;
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        push(hwnd, WM_CLOSE, 0, 0);
        return true;
    case SDL_WINDOWEVENT_MOVED:
        w->MoveClientTo(e.data1, e.data2);
        return false;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
        // What the display lost of the window is the window's to draw again: WM_PAINT.
        w->Invalidate(nullptr, true);
        return false;
    default:
        return false;
    }
}

// The files of the drop SDL is delivering (between SDL_DROPBEGIN and SDL_DROPCOMPLETE).
std::vector<std::string>& dropping() {
    static std::vector<std::string> files;
    return files;
}
bool drop_open = false;

// Posts WM_DROPFILES to the window when it accepts files; true when it did.
bool post_drop(Uint32 window_id) {
    std::vector<std::string> files;
    files.swap(dropping());
    HWND hwnd = win32_window_of_sdl_id(window_id);
    Win32_Window* w = win32_window_table().Find(hwnd);
    if (!w && win32_window_table().Handles().size() == 1) {
        // SDL's X11 driver may leave the window id 0; a single window is then the target.
        hwnd = win32_window_table().Handles().front();
        w = win32_window_table().Find(hwnd);
    }
    if (!w || files.empty() || !(w->ex_style & WS_EX_ACCEPTFILES)) return false;
    win32_message_queue().Post(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(win32_make_drop(files)), 0);
    return true;
}

bool translate_drop(const SDL_DropEvent& e) {
    switch (e.type) {
    case SDL_DROPBEGIN:
        dropping().clear();
        drop_open = true;
        return false;
    case SDL_DROPFILE:
        dropping().push_back(e.file ? e.file : "");
        SDL_free(e.file);
        return drop_open ? false : post_drop(e.windowID);
    case SDL_DROPCOMPLETE:
        drop_open = false;
        return post_drop(e.windowID);
    default:
        if (e.file) SDL_free(e.file);
        return false;
    }
}

// One SDL event that Windows would deliver becomes one queued input message. False when SDL has
// nothing more that a Windows program would see.
bool pump_one() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (translate_key(e.key)) return true;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (translate_button(e.button)) return true;
            break;
        case SDL_MOUSEMOTION:
            if (HWND hwnd = win32_window_of_sdl_id(e.motion.windowID)) {
                win32_note_cursor(hwnd, e.motion.x, e.motion.y);
                push(hwnd, WM_MOUSEMOVE, mouse_key_flags(), MAKELPARAM(e.motion.x, e.motion.y));
                return true;
            }
            break;
        case SDL_MOUSEWHEEL:
            if (HWND hwnd = win32_window_of_sdl_id(e.wheel.windowID)) {
                POINT p = cursor_now();
                WPARAM wp = mouse_key_flags() | (static_cast<WPARAM>(static_cast<WORD>(e.wheel.y * WHEEL_DELTA)) << 16);
                push(hwnd, WM_MOUSEWHEEL, wp, MAKELPARAM(p.x, p.y));
                return true;
            }
            break;
        case SDL_DROPBEGIN:
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
        case SDL_DROPCOMPLETE:
            if (translate_drop(e.drop)) return true;
            break;
        case SDL_WINDOWEVENT:
            if (translate_window_event(e.window)) return true;
            break;
        case SDL_QUIT: {
            // A request to end the program (a signal, the session ending): every window is
            // asked to close, as Windows does at log-off.
            bool any = false;
            for (HWND hwnd : win32_window_table().Handles()) {
                push(hwnd, WM_CLOSE, 0, 0);
                any = true;
            }
            if (any) return true;
            break;
        }
        default:
            break;
        }
    }
    return false;
}

}  // namespace

extern "C" {

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    return win32_message_queue().Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg, pump_one,
                                      timeGetTime(), cursor_now());
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) return -1;
    for (;;) {
        if (hWnd && !IsWindow(hWnd)) return -1;
        if (PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE))
            return lpMsg->message == WM_QUIT ? FALSE : TRUE;
        if (!SDL_WasInit(SDL_INIT_VIDEO) || !SDL_WaitEventTimeout(nullptr, 10)) SDL_Delay(1);
    }
}

}  // extern "C"
