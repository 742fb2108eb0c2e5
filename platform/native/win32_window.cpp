// Window classes and windows of the native platform: each window is one SDL window.
#include "win32_window.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>

#include "common/text/cp1251.h"
#include "common/win32/win32_window_table.h"

namespace {

// SDL falls back to its off-screen driver when the display it was given cannot be reached (a
// server that is gone or resetting): the program would run with nothing on the screen.
void warn_if_display_unreachable() {
    const char* asked = getenv("SDL_VIDEODRIVER");
    const char* driver = SDL_GetCurrentVideoDriver();
    if ((asked && *asked) || !driver || (strcmp(driver, "offscreen") != 0 && strcmp(driver, "dummy") != 0)) return;
    const char* display = getenv("DISPLAY");
    if (!display || !*display) display = getenv("WAYLAND_DISPLAY");
    if (display && *display)
        fprintf(stderr, "The display \"%s\" cannot be reached: windows are drawn off screen, not shown.\n",
                display);
}

std::map<Uint32, HWND>& windows_by_sdl_id() {
    static std::map<Uint32, HWND> ids;
    return ids;
}

class SDL_Window_Backend : public Win32_Window_Backend {
public:
    bool Open(Win32_Window& w) override {
        if (!win32_video_start()) return false;
        std::string title = cp1251::to_utf8(w.title.c_str());
        POINT origin = w.ClientOrigin();
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
        SDL_Window* sdl = SDL_CreateWindow(title.c_str(), origin.x, origin.y, w.client_width,
                                           w.client_height, flags);
        if (!sdl) {
            // A driver without OpenGL can still show a window; the device will fail on it.
            sdl = SDL_CreateWindow(title.c_str(), origin.x, origin.y, w.client_width,
                                   w.client_height, SDL_WINDOW_HIDDEN);
        }
        if (!sdl) {
            fprintf(stderr, "CreateWindowExA: SDL_CreateWindow failed: %s\n", SDL_GetError());
            return false;
        }
        w.native = sdl;
        windows_by_sdl_id()[SDL_GetWindowID(sdl)] = w.handle;
        return true;
    }
    void Close(Win32_Window& w) override {
        auto* sdl = static_cast<SDL_Window*>(w.native);
        if (!sdl) return;
        windows_by_sdl_id().erase(SDL_GetWindowID(sdl));
        SDL_DestroyWindow(sdl);
        w.native = nullptr;
    }
    void Show(Win32_Window& w, bool visible) override {
        auto* sdl = static_cast<SDL_Window*>(w.native);
        if (!sdl) return;
        if (visible) {
            SDL_ShowWindow(sdl);
            SDL_RaiseWindow(sdl);
        } else {
            SDL_HideWindow(sdl);
        }
    }
    void Retitle(Win32_Window& w) override {
        if (auto* sdl = static_cast<SDL_Window*>(w.native))
            SDL_SetWindowTitle(sdl, cp1251::to_utf8(w.title.c_str()).c_str());
    }
};

}  // namespace

Win32_Window_Backend& win32_window_backend() {
    static SDL_Window_Backend b;
    return b;
}

bool win32_video_start() {
    static int state = 0;  // 0 not tried, 1 running, -1 failed
    if (state == 0) {
        // A click that brings a window to the front is a click on it in Windows; SDL would
        // drop one that comes within a few milliseconds of gaining the focus.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        // Closing the last window is the program's business (WM_CLOSE); only a real request to
        // end the process (a signal) should arrive as SDL_QUIT.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) {
            state = 1;
            warn_if_display_unreachable();
        } else {
            fprintf(stderr, "SDL video could not start: %s\n", SDL_GetError());
            state = -1;
        }
    }
    return state == 1;
}

SDL_Window* win32_sdl_window(HWND hwnd) {
    Win32_Window* w = win32_window_table().Find(hwnd);
    return w ? static_cast<SDL_Window*>(w->native) : nullptr;
}

bool win32_client_size(HWND hwnd, int* width, int* height) {
    Win32_Window* w = win32_window_table().Find(hwnd);
    if (!w) return false;
    if (width) *width = w->client_width;
    if (height) *height = w->client_height;
    return true;
}

HWND win32_window_of_sdl_id(Uint32 window_id) {
    auto it = windows_by_sdl_id().find(window_id);
    return it == windows_by_sdl_id().end() ? nullptr : it->second;
}

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx) { return win32_window_table().RegisterClass(lpwcx); }

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    return win32_window_table().UnregisterClass(lpClassName);
}


}  // extern "C"
