// Cursors, the cursor position and the keyboard as it is now, on SDL.
#include <SDL.h>

#include <map>

#include "common/win32/cur_file.h"
#include "win32_keymap.h"
#include "win32_window.h"

namespace {

struct Cursor_Registry {
    std::map<UINT_PTR, SDL_Cursor*> cursors;
    UINT_PTR next = 0x20010;
    HCURSOR current = nullptr;
    bool applied = false;  // whether `current` has been given to SDL yet
    // The pointer as an event last saw it, and as the desktop query last answered.
    POINT seen{0, 0};
    bool seen_is_newer = false;
    POINT queried{0, 0};
    bool queried_once = false;

    HCURSOR Add(SDL_Cursor* cursor) {
        HCURSOR handle = reinterpret_cast<HCURSOR>(next);
        next += 0x10;
        cursors[reinterpret_cast<UINT_PTR>(handle)] = cursor;
        return handle;
    }
    SDL_Cursor* Find(HCURSOR handle) {
        auto it = cursors.find(reinterpret_cast<UINT_PTR>(handle));
        return it == cursors.end() ? nullptr : it->second;
    }
};

Cursor_Registry& registry() {
    static Cursor_Registry r;
    return r;
}

}  // namespace

void win32_note_cursor(HWND hwnd, int client_x, int client_y) {
    POINT p{client_x, client_y};
    if (!ClientToScreen(hwnd, &p)) return;
    Cursor_Registry& r = registry();
    r.seen = p;
    r.seen_is_newer = true;
}

extern "C" {

HCURSOR WINAPI LoadCursorFromFileA(LPCSTR lpFileName) {
    Cur_Image image;
    if (!cur_file_load(lpFileName, &image, nullptr) || !win32_video_start()) return nullptr;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(image.rgba.data(), image.width, image.height,
                                                              32, image.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return nullptr;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, image.hot_x, image.hot_y);
    SDL_FreeSurface(surface);
    return cursor ? registry().Add(cursor) : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (hInstance || !IS_INTRESOURCE(lpCursorName) || !win32_video_start()) return nullptr;
    SDL_SystemCursor id;
    switch (reinterpret_cast<UINT_PTR>(lpCursorName)) {
    case 32512: id = SDL_SYSTEM_CURSOR_ARROW; break;
    case 32513: id = SDL_SYSTEM_CURSOR_IBEAM; break;
    case 32514: id = SDL_SYSTEM_CURSOR_WAIT; break;
    case 32515: id = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
    case 32649: id = SDL_SYSTEM_CURSOR_HAND; break;
    default: return nullptr;
    }
    SDL_Cursor* cursor = SDL_CreateSystemCursor(id);
    return cursor ? registry().Add(cursor) : nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
    Cursor_Registry& r = registry();
    HCURSOR previous = r.current;
    SDL_Cursor* cursor = r.Find(hCursor);
    if (hCursor && !cursor) return previous;  // not a cursor: nothing changes
    // The program sets its cursor on every pass of its loop; only a change reaches SDL.
    if (r.applied && hCursor == previous) return previous;
    r.current = hCursor;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return previous;
    r.applied = true;
    if (cursor) {
        SDL_SetCursor(cursor);
        SDL_ShowCursor(SDL_ENABLE);
    } else {
        SDL_ShowCursor(SDL_DISABLE);
    }
    return previous;
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) {
    Cursor_Registry& r = registry();
    SDL_Cursor* cursor = r.Find(hCursor);
    if (!cursor || hCursor == r.current) return FALSE;
    r.cursors.erase(reinterpret_cast<UINT_PTR>(hCursor));
    SDL_FreeCursor(cursor);
    return TRUE;
}

int WINAPI ShowCursor(BOOL bShow) {
    static int display_count = 0;
    display_count += bShow ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(display_count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return display_count;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    Cursor_Registry& r = registry();
    int x = 0, y = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_GetGlobalMouseState(&x, &y);
    if (!r.queried_once || x != r.queried.x || y != r.queried.y) {
        r.queried = {x, y};
        r.queried_once = true;
        r.seen_is_newer = false;
    }
    *lpPoint = r.seen_is_newer ? r.seen : r.queried;
    return TRUE;
}

SHORT WINAPI GetAsyncKeyState(int vKey) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
    bool down = false;
    Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
    switch (vKey) {
    case VK_LBUTTON: down = buttons & SDL_BUTTON_LMASK; break;
    case VK_RBUTTON: down = buttons & SDL_BUTTON_RMASK; break;
    case VK_MBUTTON: down = buttons & SDL_BUTTON_MMASK; break;
    default:
        SDL_PumpEvents();
        down = win32_vk_held(vKey, SDL_GetKeyboardState(nullptr));
        break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}

}  // extern "C"
