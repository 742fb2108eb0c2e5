#include "core/win_main.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "console/input_line.h"
#include "console/time_line.h"
#include "core/command_line.h"
#include "core/ini_reader.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "core/screenshot.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/objects/object_manager.h"

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

// Every file of a drop opens as a model in front of the active camera.
void OpenDroppedFiles(HDROP drop)
{
    UINT count = DragQueryFileA(drop, 0xFFFFFFFFu, NULL, 0);
    for (UINT i = 0; i < count && engine.objectManager; ++i) {
        std::vector<char> name(DragQueryFileA(drop, i, NULL, 0) + 1);
        DragQueryFileA(drop, i, name.data(), (UINT)name.size());
        engine.objectManager->LoadModel(name.data());
    }
    DragFinish(drop);
}

// The window's client area is the picture: the outer size is what AdjustWindowRect makes of it.
void UsePictureSize(const CommandLine& options)
{
    if (options.width <= 0)
        return;
    RECT outer = {0, 0, options.width, options.height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    screenWidth = outer.right - outer.left;
    screenHeight = outer.bottom - outer.top;
}

// Draws the frames of --screenshot without showing the window, saving the last one. The exit
// code: 0 when the picture was written.
int TakePicture(const CommandLine& options)
{
    DWORD frameCount = 0;
    int fps = 0;
    fpsTimer.Start();
    MSG message;
    ZeroMemory(&message, sizeof message);
    for (int frame = 1; frame <= options.frames; ++frame) {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (message.message == WM_QUIT)
            break;
        if (frame == options.frames)
            engine.renderManager->captureFile = options.screenshot;
        DrawOneFrame(frameCount, fps);
    }
    // A window closed before the last frame ends the run without a picture.
    if (message.message == WM_QUIT || !engine.renderManager->captureFile.empty() ||
        FAILED(engine.renderManager->captureResult)) {
        fprintf(stderr, "orvex: the picture could not be written to %s\n", options.screenshot.c_str());
        return 1;
    }
    printf("orvex: wrote %s\n", options.screenshot.c_str());
    return 0;
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
        // One picture a press: the key's auto-repeat (bit 30, the key was down already) takes none.
        if (wParam == VK_F12 && !(lParam & (1 << 30)) && engine.renderManager)
            engine.renderManager->captureFile = NextScreenshotName();
        if (engine.console)
            engine.console->HandleKeyDown(wParam);
        break;
    case WM_MOUSEWHEEL:
        SendWheelToConsole(wParam, lParam);
        break;
    case WM_DROPFILES:
        OpenDroppedFiles((HDROP)wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    CommandLine options;
    std::string error;
    if (!ParseCommandLine(commandLine, &options, &error)) {
        fprintf(stderr, "orvex: %s\n\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        printf("%s\n", kTitle);
        return 0;
    }
    const bool picture = !options.screenshot.empty();
    if (!picture && GetSystemMetrics(SM_CMONITORS) == 0) {
        fputs(kNoDisplayHint, stderr);
        return 2;
    }

    screenWidth = 640;
    screenHeight = 480;

    DynamicRow settings = LoadSettings("ini.txt");
    ReadWindowSize(settings);
    UsePictureSize(options);

    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

    windowHandle = CreateWindowExA(WS_EX_ACCEPTFILES, kClassName, kTitle, WS_OVERLAPPEDWINDOW, 0, 0,
                                   screenWidth, screenHeight, NULL, NULL, instance, NULL);

    engine.ReadRenderSettings(&settings);
    int exitCode = 0;
    if (FAILED(engine.InitDevice(windowHandle))) {
        if (picture) {
            fprintf(stderr, "orvex: no Direct3D device could be made, so there is no picture\n");
            exitCode = 1;
        }
    } else if (picture) {
        engine.Initialize(options.models);
        exitCode = TakePicture(options);
    } else {
        engine.Initialize(options.models);

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
    return exitCode;
}
