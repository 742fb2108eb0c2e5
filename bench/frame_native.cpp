// Frames per second of the engine on the native platform (SDL2 + OpenGL on Mesa's llvmpipe)
// under an Xvfb of its own, at client sizes 640 x 480 and 800 x 600: the default level's whole
// frame (DrawFrame: clear, overlay, every object for every light, camera, console, present)
// beside an empty frame (clear and present) on the same device in the same run. Under Xvfb each
// present copies the picture to the X server, so a frame is finished when it returns.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "console/console.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"
#include "bench_window.h"
#include "xvfb_server.h"

namespace {

const char kLevel[] = "POLYGON01";

// The engine's managers on a device of one size, set up as the engine sets them up.
struct Viewer {
    IDirect3DDevice9* device = nullptr;
    Orvex_Render_Manager* render = nullptr;
    Orvex_Object_Manager* objects = nullptr;
    D3DXMATRIX baseWorld;

    Viewer(int width, int height)
    {
        HWND window = CreateBenchWindow(width, height, "|Orvex|0.0.4|June 1|");
        if (!window) return;
        engine.ReadRenderSettings(NULL);
        if (FAILED(engine.InitDevice(window))) return;
        device = engine.device;
        ShowWindow(window, SW_SHOW);

        D3DXMatrixIdentity(&baseWorld);
        Console* console = new Console(&device);
        Orvex_Camera_Manager* cameras = new Orvex_Camera_Manager(console);
        Orvex_Effect_Manager* effects = new Orvex_Effect_Manager(device, console, cameras);
        Orvex_Light_Manager* lights = new Orvex_Light_Manager(console);
        objects = new Orvex_Object_Manager(&baseWorld, &device, console, effects, lights);
        render = new Orvex_Render_Manager(device, cameras, objects, console, lights);
        render->Initialize();
        lights->LoadLevel(kLevel);
        objects->LoadLevel(kLevel);
        cameras->LoadLevel(kLevel);
        effects->LoadLevel(kLevel);
        if (objects->objectCount == 0 || !effects->effectList) device = nullptr;
    }
};

Viewer& ViewerOf(int width, int height)
{
    static std::map<std::pair<int, int>, Viewer*> viewers;
    Viewer*& viewer = viewers[{width, height}];
    if (!viewer) viewer = new Viewer(width, height);
    return *viewer;
}

void Report(benchmark::State& state)
{
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_NativeEmptyFrame(benchmark::State& state)
{
    Viewer& viewer = ViewerOf((int)state.range(0), (int)state.range(1));
    if (!viewer.device) return state.SkipWithError("no native device with the default level");
    for (auto _ : state) {
        viewer.device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF6482AA, 1.0f, 0);
        viewer.device->BeginScene();
        viewer.device->EndScene();
        viewer.device->Present(NULL, NULL, NULL, NULL);
    }
    Report(state);
}

void BM_NativeDefaultLevelFrame(benchmark::State& state)
{
    Viewer& viewer = ViewerOf((int)state.range(0), (int)state.range(1));
    if (!viewer.device) return state.SkipWithError("no native device with the default level");
    for (auto _ : state) viewer.render->DrawFrame(60.0f);
    Report(state);
    state.counters["objects"] = viewer.objects->objectCount;
}

BENCHMARK(BM_NativeEmptyFrame)->Args({640, 480})->Args({800, 600})->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NativeDefaultLevelFrame)->Args({640, 480})->Args({800, 600})->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    Xvfb_Server xvfb;
    if (xvfb.display().empty()) return 1;
    setenv("DISPLAY", xvfb.display().c_str(), 1);

    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("orvex_frame_native_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
    if (chdir(folder.c_str()) != 0) return 1;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(folder);
    return 0;
}
