#pragma once
// The process entry, the window and the main loop, with the process-wide state they share.
#include <windows.h>

#include "core/timer.h"

extern HWND windowHandle;
extern int screenWidth;
extern int screenHeight;
extern bool leftButtonDown;
extern Timer fpsTimer;
extern Timer frameTimer;

// The window procedure of the class "Orvex": WM_DESTROY saves the log and posts the quit
// message; left-button presses and releases go to the console with the cursor's client
// position; a release and every key-down move the console's key timers 100 000 ms ahead, and
// key-downs and wheel turns also go to the console. F12 (not its auto-repeat) has the next frame
// saved under NextScreenshotName(); WM_DROPFILES opens every dropped file as a model in front of
// the active camera and frees the drop.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
