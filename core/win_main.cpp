#include "core/win_main.h"

#include <mmsystem.h>

#include "console/console.h"
#include "console/input_line.h"
#include "console/time_line.h"
#include "core/ini_reader.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"

HWND windowHandle;
int screenWidth;
int screenHeight;
bool leftButtonDown;
Timer fpsTimer;
Timer frameTimer;

namespace {

const char kClassName[] = "Orvex";
const char kTitle[] = "|Orvex|0.0.4|June 1|";

// How far a key press moves the console's key timers ahead: far enough that their next reading
// wraps to a value near 2^32 and passes every minimum-delay test at once.
const DWORD kKeyTimerPush = 100000;

void ReadWindowSize(DynamicRow& settings)
{
    int values[2];
    int count = ReadSettingValues(settings, "SCREEN", values, 2);
    if (count >= 2) {
        screenWidth = values[0];
        screenHeight = values[1];
    } else if (count == 1) {
        screenWidth = values[0];
        screenHeight = 100;
    } else {
        screenWidth = 640;
        screenHeight = 480;
    }
}

void SendMouseToConsole(short event)
{
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(windowHandle, &cursor);
    if (engine.console)
        engine.console->HandleMouse(event, cursor.x, cursor.y);
}

// The wheel message carries the cursor in screen coordinates.
void SendWheelToConsole(WPARAM wParam, LPARAM lParam)
{
    POINT cursor = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ScreenToClient(windowHandle, &cursor);
    if (engine.console)
        engine.console->HandleWheel(GET_WHEEL_DELTA_WPARAM(wParam), cursor.x, cursor.y);
}

void PushKeyTimers()
{
    Console* console = engine.console;
    if (!console)
        return;
    console->toggleTimer.referenceTime += kKeyTimerPush;
    console->spareTimer.referenceTime += kKeyTimerPush;
    console->inputLine->keyTimer.referenceTime += kKeyTimerPush;
}

void DrawOneFrame(DWORD& frameCount, int& fps)
{
    frameTimer.Start();
    frameCount += 1;
    engine.effectManager->ReloadChangedEffects();
    engine.renderManager->DrawFrame((float)fps);
    engine.timeLine->ProcessCommands();
    float dt = (float)frameTimer.Elapsed();
    engine.cameraManager->HandleKeyboard(dt);
    engine.cameraManager->HandleMouse(windowHandle, leftButtonDown);

    if (fpsTimer.Elapsed() > 1000) {
        fps = (int)(frameCount / (fpsTimer.Elapsed() / 1000));
        fpsTimer.Start();
        frameCount = 0;
    }
}

}  // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        engine.Shutdown();
        PostQuitMessage(0);
        return 0;
    case WM_LBUTTONDOWN:
        leftButtonDown = true;
        SendMouseToConsole(1);
        break;
    case WM_LBUTTONUP:
        leftButtonDown = false;
        SendMouseToConsole(2);
        PushKeyTimers();
        break;
    case WM_KEYDOWN:
        PushKeyTimers();
        if (engine.console)
            engine.console->HandleKeyDown(wParam);
        break;
    case WM_MOUSEWHEEL:
        SendWheelToConsole(wParam, lParam);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    screenWidth = 640;
    screenHeight = 480;

    DynamicRow settings = LoadSettings("ini.txt");
    ReadWindowSize(settings);

    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

    windowHandle = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, 0, 0, screenWidth,
                                   screenHeight, NULL, NULL, instance, NULL);

    engine.ReadRenderSettings(&settings);
    if (SUCCEEDED(engine.InitDevice(windowHandle))) {
        engine.Initialize();

        fpsTimer.Start();
        int fps = 0;
        DWORD frameCount = 0;
        ShowWindow(windowHandle, SW_SHOWDEFAULT);
        UpdateWindow(windowHandle);
        HCURSOR cursor = LoadCursorFromFileA("mouse.cur");

        MSG message;
        ZeroMemory(&message, sizeof message);
        do {
            SetCursor(cursor);
            if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            } else {
                DrawOneFrame(frameCount, fps);
            }
        } while (message.message != WM_QUIT);
    }

    UnregisterClassA(kClassName, instance);
    return 0;
}
