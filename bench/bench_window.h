#pragma once
// The window a frame benchmark draws in: class "Orvex", outer size chosen so that the client
// area (the back buffer) is clientWidth x clientHeight. NULL when it cannot be made.
#include <windows.h>

inline HWND CreateBenchWindow(int clientWidth, int clientHeight, const char* title)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "Orvex";
    RegisterClassExA(&windowClass);
    RECT outer = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, "Orvex", title, WS_OVERLAPPEDWINDOW, 0, 0, outer.right - outer.left,
                           outer.bottom - outer.top, NULL, NULL, NULL, NULL);
}
