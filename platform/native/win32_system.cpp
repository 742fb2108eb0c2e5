// The message box, dpi, clocks and sleeping of the native platform.
#include <SDL.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <string>

#include <mmsystem.h>

#include "common/text/cp1251.h"
#include "common/win32/win32_monitors.h"
#include "common/win32/win32_window_table.h"
#include "win32_window.h"

namespace {

// Whether a message box can be shown to someone: a real display, not an off-screen driver.
bool display_present() {
    if (!win32_video_start()) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (strcmp(driver, "x11") == 0 || strcmp(driver, "wayland") == 0);
}

// The wall clock now, in UTC or in the local time zone.
void read_clock(bool utc, LPSYSTEMTIME out) {
    if (!out) return;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm t;
    if (utc) gmtime_r(&now.tv_sec, &t);
    else localtime_r(&now.tv_sec, &t);
    out->wYear = static_cast<WORD>(t.tm_year + 1900);
    out->wMonth = static_cast<WORD>(t.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(t.tm_wday);
    out->wDay = static_cast<WORD>(t.tm_mday);
    out->wHour = static_cast<WORD>(t.tm_hour);
    out->wMinute = static_cast<WORD>(t.tm_min);
    out->wSecond = static_cast<WORD>(t.tm_sec > 59 ? 59 : t.tm_sec);  // no leap second in SYSTEMTIME
    out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

}  // namespace

extern "C" {

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    std::string caption = cp1251::to_utf8(lpCaption ? lpCaption : "Error");
    std::string text = cp1251::to_utf8(lpText ? lpText : "");
    fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    fflush(stderr);

    struct Choice {
        int id;
        const char* label;
    };
    Choice choices[3];
    int count = 0;
    switch (uType & 0xF) {
    case MB_OKCANCEL: choices[0] = {IDOK, "OK"}, choices[1] = {IDCANCEL, "Cancel"}, count = 2; break;
    case MB_ABORTRETRYIGNORE:
        choices[0] = {IDABORT, "Abort"}, choices[1] = {IDRETRY, "Retry"}, choices[2] = {IDIGNORE, "Ignore"}, count = 3;
        break;
    case MB_YESNOCANCEL:
        choices[0] = {IDYES, "Yes"}, choices[1] = {IDNO, "No"}, choices[2] = {IDCANCEL, "Cancel"}, count = 3;
        break;
    case MB_YESNO: choices[0] = {IDYES, "Yes"}, choices[1] = {IDNO, "No"}, count = 2; break;
    case MB_RETRYCANCEL: choices[0] = {IDRETRY, "Retry"}, choices[1] = {IDCANCEL, "Cancel"}, count = 2; break;
    default: choices[0] = {IDOK, "OK"}, count = 1; break;
    }
    // Without a display nobody could answer: the first button is taken, as a user pressing Enter.
    if (!display_present()) return choices[0].id;

    SDL_MessageBoxButtonData buttons[3];
    for (int i = 0; i < count; ++i) {
        buttons[i].flags = 0;
        if (i == 0) buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (i == count - 1) buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        buttons[i].buttonid = choices[i].id;
        buttons[i].text = choices[i].label;
    }
    SDL_MessageBoxData data{};
    UINT icon = uType & 0xF0;
    data.flags = icon == MB_ICONHAND ? SDL_MESSAGEBOX_ERROR
               : icon == MB_ICONEXCLAMATION ? SDL_MESSAGEBOX_WARNING
               : SDL_MESSAGEBOX_INFORMATION;
    data.window = win32_sdl_window(hWnd);
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = count;
    data.buttons = buttons;
    int pressed = choices[0].id;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) return choices[0].id;
    return pressed;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (!hdc) return 0;
    bool video = win32_video_start();
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: {
        float hdpi = 0, vdpi = 0;
        if (!video || SDL_GetDisplayDPI(0, nullptr, &hdpi, &vdpi) != 0) return 96;
        float dpi = index == LOGPIXELSX ? hdpi : vdpi;
        return dpi >= 1 && dpi < 10000 ? static_cast<int>(dpi + 0.5f) : 96;
    }
    case HORZRES:
    case VERTRES: {
        SDL_DisplayMode mode;
        if (!video || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
        return index == HORZRES ? mode.w : mode.h;
    }
    case BITSPIXEL: return 32;
    default: return 0;
    }
}

VOID WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) { read_clock(true, lpSystemTime); }

VOID WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) { read_clock(false, lpSystemTime); }

DWORD WINAPI timeGetTime(void) {
    // Milliseconds of the monotonic clock (time since boot, as Windows counts), kept to 32 bits.
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    unsigned long long ms = static_cast<unsigned long long>(now.tv_sec) * 1000ull +
                            static_cast<unsigned long long>(now.tv_nsec) / 1000000ull;
    return static_cast<DWORD>(ms);
}

DWORD WINAPI GetTickCount(void) { return timeGetTime(); }

VOID WINAPI Sleep(DWORD dwMilliseconds) {
    struct timespec t;
    t.tv_sec = dwMilliseconds / 1000;
    t.tv_nsec = static_cast<long>(dwMilliseconds % 1000) * 1000000L;
    while (nanosleep(&t, &t) != 0) {
    }
}

}  // extern "C"

int win32_monitor_count() {
    if (!win32_video_start()) return 0;
    // SDL's stand-ins for a missing display report a monitor of their own; it is not one.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0) return 0;
    int displays = SDL_GetNumVideoDisplays();
    return displays > 0 ? displays : 0;
}
