#include "common/win32/win32_message_queue.h"

#include "common/win32/win32_window_table.h"

void Win32_Message_Queue::Reset() {
    posted.clear();
    input.clear();
    quit_posted = quit_taken = false;
    quit_code = 0;
    keyboard.Reset();
}

void Win32_Message_Queue::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32_Queued_Message q{};
    q.msg.hwnd = hwnd;
    q.msg.message = message;
    q.msg.wParam = wParam;
    q.msg.lParam = lParam;
    posted.push_back(q);
}

void Win32_Message_Queue::PushInput(const MSG& msg, int side_vk) { input.push_back({msg, side_vk}); }

void Win32_Message_Queue::PostQuit(int exit_code) {
    // A second PostQuitMessage before the first WM_QUIT was retrieved only changes the code.
    if (!quit_posted || quit_taken) {
        quit_posted = true;
        quit_taken = false;
    }
    quit_code = exit_code;
}

bool Win32_Message_Queue::Matches(const MSG& msg, HWND hwnd, UINT filter_min, UINT filter_max) {
    if (hwnd && msg.hwnd != hwnd) return false;
    if (filter_min == 0 && filter_max == 0) return true;
    return msg.message >= filter_min && msg.message <= filter_max;
}

bool Win32_Message_Queue::TakeFrom(std::deque<Win32_Queued_Message>& line, MSG* out, HWND hwnd,
                                   UINT filter_min, UINT filter_max, bool remove, bool is_input) {
    for (auto it = line.begin(); it != line.end(); ++it) {
        if (!Matches(it->msg, hwnd, filter_min, filter_max)) continue;
        Win32_Queued_Message q = *it;
        if (remove) {
            line.erase(it);
            if (is_input) keyboard.Apply(q.msg.message, q.msg.wParam, q.side_vk);
        }
        *out = q.msg;
        return true;
    }
    return false;
}

BOOL Win32_Message_Queue::Peek(MSG* out, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove,
                               const Input_Pump& pump, DWORD time, POINT cursor) {
    if (!out) return FALSE;
    bool take = (remove & PM_REMOVE) != 0;
    MSG found{};
    bool have = TakeFrom(posted, &found, hwnd, filter_min, filter_max, take, false);
    if (!have) have = TakeFrom(input, &found, hwnd, filter_min, filter_max, take, true);
    while (!have && pump && pump()) have = TakeFrom(input, &found, hwnd, filter_min, filter_max, take, true);
    if (!have && QuitPending() && !hwnd &&
        ((filter_min == 0 && filter_max == 0) || (WM_QUIT >= filter_min && WM_QUIT <= filter_max))) {
        found = MSG{};
        found.message = WM_QUIT;
        found.wParam = static_cast<WPARAM>(quit_code);
        if (take) quit_taken = true;
        have = true;
    }
    // WM_PAINT is not a message in the queue but a state of the window: it comes when nothing
    // else waits, stays until the window is validated, and is never given twice for one region.
    if (!have && ((filter_min == 0 && filter_max == 0) || (WM_PAINT >= filter_min && WM_PAINT <= filter_max))) {
        if (HWND dirty = win32_window_table().NextToPaint(hwnd)) {
            found = MSG{};
            found.hwnd = dirty;
            found.message = WM_PAINT;
            have = true;
        }
    }
    if (!have) return FALSE;
    if (found.time == 0) found.time = time;
    if (found.pt.x == 0 && found.pt.y == 0) found.pt = cursor;
    *out = found;
    return TRUE;
}

void Win32_Message_Queue::DropWindow(HWND hwnd) {
    for (auto* line : {&posted, &input}) {
        for (auto it = line->begin(); it != line->end();) {
            if (it->msg.hwnd == hwnd) it = line->erase(it);
            else ++it;
        }
    }
}

Win32_Message_Queue& win32_message_queue() {
    static Win32_Message_Queue queue;
    return queue;
}
