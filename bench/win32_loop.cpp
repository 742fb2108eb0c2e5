// What the platform costs a frame when no message waits: SetCursor, an empty PeekMessageA, the
// cursor position in client coordinates and the keyboard state, as the main loop, the camera
// manager and the console ask for them. Runs on whatever display SDL finds (DISPLAY for X11;
// SDL_VIDEODRIVER=dummy for none).
#include <benchmark/benchmark.h>

#include <windows.h>

namespace {

LRESULT CALLBACK Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

HWND make_window() {
    static HWND hwnd = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = Plain;
        wc.lpszClassName = "Bench";
        RegisterClassExA(&wc);
        HWND w = CreateWindowExA(0, "Bench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                 nullptr, nullptr, nullptr);
        ShowWindow(w, SW_SHOWDEFAULT);
        return w;
    }();
    return hwnd;
}

void IdleLoopPass(benchmark::State& state) {
    HWND hwnd = make_window();
    if (!hwnd) {
        state.SkipWithError("no window");
        return;
    }
    MSG msg{};
    BYTE keys[256];
    for (auto _ : state) {
        SetCursor(nullptr);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd, &p);
        GetKeyboardState(keys);
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(keys[0]);
    }
}
BENCHMARK(IdleLoopPass);

void EmptyPeek(benchmark::State& state) {
    make_window();
    MSG msg{};
    for (auto _ : state) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}
BENCHMARK(EmptyPeek);

}  // namespace

BENCHMARK_MAIN();
