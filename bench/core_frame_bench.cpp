// The CPU cost of one frame on the headless platform with the default level loaded: the
// engine set up as WinMain sets it up, in a copy of data/, then DrawFrame and the command step.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <windows.h>

#include "call_log.h"
#include "console/time_line.h"
#include "core/ini_reader.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "headless_win32.h"
#include "scene/cameras/camera_manager.h"

namespace {

bool SetUpEngine()
{
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("orvex_frame_bench_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
    if (chdir(folder.c_str()) != 0)
        return false;

    DynamicRow settings = LoadSettings("ini.txt");
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "Orvex";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "Orvex", "|Orvex|0.0.4|June 1|", WS_OVERLAPPEDWINDOW, 0, 0,
                                  800, 600, NULL, NULL, NULL, NULL);
    engine.ReadRenderSettings(&settings);
    if (FAILED(engine.InitDevice(window)))
        return false;
    engine.Initialize();
    return true;
}

void BM_HeadlessFrameWithDefaultLevel(benchmark::State& state)
{
    static const bool ready = SetUpEngine();
    if (!ready) {
        state.SkipWithError("the engine could not be set up on data/");
        return;
    }
    for (auto _ : state) {
        engine.renderManager->DrawFrame(60.0f);
        engine.timeLine->ProcessCommands();
        engine.cameraManager->HandleKeyboard(1.0f);
        // The headless record grows with every call; emptying it is counted with the frame.
        orvex_headless::clear_call_log();
    }
}
BENCHMARK(BM_HeadlessFrameWithDefaultLevel)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
