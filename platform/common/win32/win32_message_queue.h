#pragma once
// The thread's message queue behind PeekMessageA and GetMessageA, shared by both realizations.
// Two lines wait in it: posted messages (PostMessageA) and input messages (keys, mouse, close
// requests translated from the realization's events). A retrieval takes the oldest matching
// posted message, else the oldest matching input message, else WM_QUIT once PostQuitMessage was
// called (given once), else WM_PAINT for a window that needs painting (winuser_paint.h). Input
// messages update the keyboard state when they are removed.
#include <deque>
#include <functional>

#include <windows.h>

#include "common/win32/win32_keyboard.h"

struct Win32_Queued_Message {
    MSG msg;
    int side_vk;  // the side-specific code of a shift/control/alt key message, else 0
};

class Win32_Message_Queue {
public:
    // Asked for one more input message when none matches; returns false when nothing came.
    using Input_Pump = std::function<bool()>;

    void Reset();
    void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void PushInput(const MSG& msg, int side_vk = 0);
    void PostQuit(int exit_code);

    // One retrieval as PeekMessageA does it. time and cursor stamp messages that carry none.
    BOOL Peek(MSG* out, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove,
              const Input_Pump& pump, DWORD time, POINT cursor);

    // Forgets every message for a window that no longer exists.
    void DropWindow(HWND hwnd);

    bool QuitPending() const { return quit_posted && !quit_taken; }
    size_t Waiting() const { return posted.size() + input.size(); }
    Win32_Keyboard_State& Keyboard() { return keyboard; }

private:
    static bool Matches(const MSG& msg, HWND hwnd, UINT filter_min, UINT filter_max);
    bool TakeFrom(std::deque<Win32_Queued_Message>& line, MSG* out, HWND hwnd, UINT filter_min,
                  UINT filter_max, bool remove, bool is_input);

    std::deque<Win32_Queued_Message> posted;
    std::deque<Win32_Queued_Message> input;
    bool quit_posted = false;
    bool quit_taken = false;
    int quit_code = 0;
    Win32_Keyboard_State keyboard;
};

// The one queue of the process (the program has one thread).
Win32_Message_Queue& win32_message_queue();
