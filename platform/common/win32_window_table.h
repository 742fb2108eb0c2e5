#pragma once
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
    Win32_Window_Backend* backend = nullptr;
    void* native = nullptr;  // the realization's own object

    POINT ClientOrigin() const { return {outer.left - frame.left, outer.top - frame.top}; }
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

private:
    struct Class_Record {
        std::string name;
        WNDCLASSEXA wc;
        ATOM atom;
    };
    const Class_Record* FindClass(LPCSTR name) const;

    std::vector<Class_Record> classes;
    std::map<UINT_PTR, std::unique_ptr<Win32_Window>> windows;
    UINT_PTR next_handle = 0x10010;
    ATOM next_atom = 0xC001;
};

// Both realizations share one table and one queue; the functions of <windows.h> reach them here.
Win32_Window_Table& win32_window_table();
