// A small Win32 program for the native platform's tests, run in a real X server. It is built
// with the viewer's own main(), so its WinMain receives the command line:
//   "window W H"   registers a class, creates a W x H window, shows it and pumps messages,
//                  printing one line per message of interest, until WM_QUIT;
//   "msgbox"       shows a message box and prints what it returned.
// Lines go to standard output, flushed at once, so the test can follow the run.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <windows.h>

static HWND g_window;

static void key_line(const char* what, const MSG& msg) {
    BYTE keys[256];
    GetKeyboardState(keys);
    printf("%s vk=0x%02X repeat=%d up=%d shift=%d lshift=%d rshift=%d\n", what,
           static_cast<unsigned>(msg.wParam), static_cast<int>((msg.lParam >> 30) & 1),
           static_cast<int>((msg.lParam >> 31) & 1),
           keys[VK_SHIFT] >> 7, keys[VK_LSHIFT] >> 7, keys[VK_RSHIFT] >> 7);
    fflush(stdout);
}

static LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        printf("WM_CLOSE\n");
        fflush(stdout);
    }
    if (msg == WM_DESTROY) {
        printf("WM_DESTROY\n");
        fflush(stdout);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

static int run_window(int width, int height) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_CLASSDC;
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Probe";
    if (!RegisterClassExA(&wc)) return 2;
    g_window = CreateWindowExA(0, "Probe", "|Probe|\xCF\xF0\xEE\xE1\xE0|", WS_OVERLAPPEDWINDOW, 0, 0,
                               width, height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!g_window) {
        printf("no window\n");
        return 3;
    }
    ShowWindow(g_window, SW_SHOWDEFAULT);
    UpdateWindow(g_window);
    RECT client{};
    GetClientRect(g_window, &client);
    HDC dc = GetDC(nullptr);
    printf("shown client=%ldx%ld dpi=%d\n", static_cast<long>(client.right), static_cast<long>(client.bottom),
           GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    fflush(stdout);

    MSG msg{};
    do {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_KEYDOWN) key_line("KEYDOWN", msg);
            if (msg.message == WM_KEYUP) key_line("KEYUP", msg);
            if (msg.message == WM_MOUSEMOVE) {
                // The cursor as a program reads it between messages, as the viewer does per frame.
                POINT p{};
                GetCursorPos(&p);
                ScreenToClient(g_window, &p);
                printf("MOUSEMOVE x=%d y=%d held=%d cursor=%ld,%ld\n", GET_X_LPARAM(msg.lParam),
                       GET_Y_LPARAM(msg.lParam), (msg.wParam & MK_LBUTTON) ? 1 : 0, static_cast<long>(p.x),
                       static_cast<long>(p.y));
                fflush(stdout);
            }
            if (msg.message == WM_LBUTTONDOWN) {
                POINT p{};
                GetCursorPos(&p);
                ScreenToClient(g_window, &p);
                printf("LBUTTONDOWN x=%d y=%d cursor=%ld,%ld\n", GET_X_LPARAM(msg.lParam),
                       GET_Y_LPARAM(msg.lParam), static_cast<long>(p.x), static_cast<long>(p.y));
                fflush(stdout);
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            Sleep(1);
        }
    } while (msg.message != WM_QUIT);
    UnregisterClassA("Probe", wc.hInstance);
    printf("quit code=%d\n", static_cast<int>(msg.wParam));
    fflush(stdout);
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int show) {
    if (show != SW_SHOWDEFAULT) return 4;
    int width = 0, height = 0;
    if (sscanf(cmd, "window %d %d", &width, &height) == 2) return run_window(width, height);
    if (strcmp(cmd, "msgbox") == 0) {
        int pressed = MessageBoxA(nullptr, "| File loading failed! |ini.txt | ", "\xCE\xF8\xE8\xE1\xEA\xE0",
                                  MB_OK | MB_ICONEXCLAMATION);
        printf("pressed=%d\n", pressed);
        fflush(stdout);
        return 0;
    }
    return 5;
}

