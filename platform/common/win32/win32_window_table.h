#pragma once
// win32/: the user side of Win32 both realizations share: window table, message queue, keyboard,
// window frames, user functions, paint, drop and .cur cursors; per_realization/ holds the W and
// desktop functions built into each realization. Used by native/ and headless/.
//
// The window classes and windows of the process, shared by both realizations. A class is a name
// (compared without regard to ASCII case, as Win32 does) with its window procedure; a window is
// a record with its class, title, style, outer rectangle in screen coordinates and client size.
// What a window is on screen belongs to the realization, reached through Win32_Window_Backend.
// Handles are never reused, so a stale handle is simply not found.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

struct Win32_Window;

// The realization's side of a window. Open makes it real (false fails the creation); Close
// releases it; Show makes it visible or hidden; Retitle applies a new title.
class Win32_Window_Backend {
public:
    virtual ~Win32_Window_Backend() = default;
    virtual bool Open(Win32_Window& window) = 0;
    virtual void Close(Win32_Window& window) = 0;
    virtual void Show(Win32_Window& window, bool visible) = 0;
    virtual void Retitle(Win32_Window& window) = 0;
};

struct Win32_Window {
    HWND handle = nullptr;
    std::string class_name;
    WNDPROC proc = nullptr;
    std::string title;  // code page 1251, as the program gave it
    DWORD style = 0;
    DWORD ex_style = 0;
    RECT outer{};       // screen coordinates, frame included
    RECT frame{};       // AdjustWindowRect's frame for the style: left/top negative
    int client_width = 1;
    int client_height = 1;
    bool visible = false;
    bool destroying = false;
    bool unicode = false;  // its class came from RegisterClassExW
    RECT update{};         // the update region's bounding rectangle, empty when valid
    bool erase_pending = false;
    LONG_PTR user_data = 0;  // GWLP_USERDATA
    Win32_Window_Backend* backend = nullptr;
    void* native = nullptr;  // the realization's own object

    POINT ClientOrigin() const { return {outer.left - frame.left, outer.top - frame.top}; }
    bool NeedsPaint() const { return visible && update.right > update.left && update.bottom > update.top; }
    // Adds a rectangle (null = the whole client area), clipped to the client area, to the update
    // region; a hidden window has nothing to paint.
    void Invalidate(const RECT* rect, bool erase);
    // Moves the window so that its client area starts at (x, y) on the screen.
    void MoveClientTo(int x, int y);
};

class Win32_Window_Table {
public:
    // The largest client side a window can have: wider or taller requests are clamped to it.
    static constexpr int max_client_side = 16384;

    // Forgets every window (closing the backend side, sending nothing) and every class.
    void Reset();

    ATOM RegisterClass(const WNDCLASSEXA* wc);
    // Marks a class as registered through RegisterClassExW: its windows get WCHAR text in the
    // CREATESTRUCT of WM_NCCREATE and WM_CREATE.
    void MarkUnicode(LPCSTR name);
    BOOL UnregisterClass(LPCSTR name);
    bool ClassExists(LPCSTR name) const { return FindClass(name) != nullptr; }

    // Creates the record, opens it through the backend and sends WM_NCCREATE and WM_CREATE.
    // Returns NULL when the class is unknown, the backend fails or the procedure refuses.
    HWND Create(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                int width, int height, LPVOID create_param, Win32_Window_Backend* backend);
    // Sends WM_DESTROY and WM_NCDESTROY, closes the backend's side and forgets the window.
    BOOL Destroy(HWND hwnd);

    Win32_Window* Find(HWND hwnd);
    std::vector<HWND> Handles() const;
    LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The first visible window that matches the filter (NULL = any) and needs painting.
    HWND NextToPaint(HWND filter) const;

private:
    struct Class_Record {
        std::string name;
        WNDCLASSEXA wc;
        ATOM atom;
        bool unicode;
    };
    const Class_Record* FindClass(LPCSTR name) const;

    std::vector<Class_Record> classes;
    std::map<UINT_PTR, std::unique_ptr<Win32_Window>> windows;
    UINT_PTR next_handle = 0x10010;
    ATOM next_atom = 0xC001;
};

// Both realizations share one table and one queue; the functions of <windows.h> reach them here.
Win32_Window_Table& win32_window_table();
// The realization's window backend, defined once by platform/native and once by
// platform/headless: CreateWindowExA and CreateWindowExW make their windows with it.
Win32_Window_Backend& win32_window_backend();
