// The console's share of a frame while it is shown, as the log grows: the log view finds its
// lines through an index, so the time per frame must stay the same from 100 lines to 10,000,000
// (within a fifth; read the time per frame against the argument, lines in the log).
#include <benchmark/benchmark.h>

#include <windows.h>
#include <d3d9.h>

#include "call_log.h"
#include "console/console.h"
#include "console/input_line.h"
#include "headless_d3d9.h"

namespace {

IDirect3DDevice9* MakeDevice()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "console_frame_bench";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "console_frame_bench", "bench", WS_OVERLAPPEDWINDOW, 0, 0,
                                  640, 480, NULL, NULL, NULL, NULL);
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    IDirect3DDevice9* device = nullptr;
    direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                           D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
    direct3D->Release();
    return device;
}

// One shown console drawn once per iteration over a log of state.range(0) lines, categories
// mixed as a level's loading mixes them.
void BM_ShownConsoleDrawAsTheLogGrows(benchmark::State& state)
{
    static IDirect3DDevice9* device = MakeDevice();
    Console console(&device);
    for (int64_t i = 1; i < state.range(0); ++i)
        console.AddMessage("[+] Camera:  cam_overview", (int)(i % 4));
    console.visible = true;
    device->BeginScene();
    // The viewer draws the console from its first line on, so its index has kept up with the
    // log; the first draw here catches up with the lines added above.
    console.Draw();
    orvex_headless::clear_call_log();
    orvex_headless::reset_d3d9();
    for (auto _ : state) {
        console.Draw();
        state.PauseTiming();
        orvex_headless::clear_call_log();
        orvex_headless::reset_d3d9();
        state.ResumeTiming();
    }
    device->EndScene();
    state.counters["lines"] = (double)state.range(0);
}
BENCHMARK(BM_ShownConsoleDrawAsTheLogGrows)
    ->Arg(100)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMicrosecond);

// Typing: one accepted key per frame into a line that fills and is sent.
void BM_TypingAKeyPerFrame(benchmark::State& state)
{
    static IDirect3DDevice9* device = MakeDevice();
    Console console(&device);
    DynamicRow queue;
    queue.fresh();
    queue.AddToId(0, true, "TIME_LINE");
    console.inputLine->commandQueue = &queue;
    BYTE letter[256] = {};
    letter['A'] = 0x80;
    BYTE enter[256] = {};
    enter[VK_RETURN] = 0x80;
    int typed = 0;
    for (auto _ : state) {
        console.inputLine->keyTimer.referenceTime += 100000;
        console.inputLine->HandleKeys(++typed % 50 ? letter : enter);
        if (typed % 5000 == 0) {
            state.PauseTiming();
            queue.fresh();
            queue.AddToId(0, true, "TIME_LINE");
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TypingAKeyPerFrame);

}  // namespace

BENCHMARK_MAIN();
