// The CPU cost of the engine's frame and of the default level's objects in it on the headless
// platform, beside an empty frame in the same run, and of loading objects: the default level's and a thousand objects
// that share one mesh file. The headless device and effects record every call; the record is
// cleared outside the timed part.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "call_log.h"
#include "console/console.h"
#include "core/render_manager.h"
#include "headless_win32.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"

namespace {

const char kLevel[] = "POLYGON01";

struct Level {
    IDirect3DDevice9* device = nullptr;
    Console* console = nullptr;
    Orvex_Camera_Manager* cameras = nullptr;
    Orvex_Light_Manager* lights = nullptr;
    Orvex_Effect_Manager* effects = nullptr;
    Orvex_Object_Manager* objects = nullptr;
    Orvex_Render_Manager* render = nullptr;
    D3DXMATRIX baseWorld;
    bool ready = false;

    Level()
    {
        namespace fs = std::filesystem;
        fs::path folder = fs::temp_directory_path() / ("orvex_frame_objects_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
        if (chdir(folder.c_str()) != 0) return;
        orvex_headless::set_time(100000);

        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "frame_objects";
        RegisterClassExA(&windowClass);
        HWND window = CreateWindowExA(0, "frame_objects", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800,
                                      600, NULL, NULL, NULL, NULL);
        IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
        if (!direct3D || FAILED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                       D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                                       &parameters, &device)))
            return;
        direct3D->Release();

        D3DXMatrixIdentity(&baseWorld);
        console = new Console(&device);
        cameras = new Orvex_Camera_Manager(console);
        effects = new Orvex_Effect_Manager(device, console, cameras);
        lights = new Orvex_Light_Manager(console);
        objects = new Orvex_Object_Manager(&baseWorld, &device, console, effects, lights);
        render = new Orvex_Render_Manager(device, cameras, objects, console, lights);
        render->Initialize();
        lights->LoadLevel(kLevel);
        objects->LoadLevel(kLevel);
        cameras->LoadLevel(kLevel);
        effects->LoadLevel(kLevel);
        ready = objects->objectCount > 0 && lights->lightCount > 0 && effects->effectList;
    }
};

Level& TheLevel()
{
    static Level level;
    return level;
}

void ClearRecord(benchmark::State& state)
{
    state.PauseTiming();
    orvex_headless::clear_call_log();
    state.ResumeTiming();
}

void BM_EmptyFrame(benchmark::State& state)
{
    Level& level = TheLevel();
    if (!level.ready) return state.SkipWithError("the default level did not load");
    for (auto _ : state) {
        level.device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF6482AA, 1.0f, 0);
        level.device->BeginScene();
        level.device->EndScene();
        level.device->Present(NULL, NULL, NULL, NULL);
        ClearRecord(state);
    }
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMicrosecond);

// Every visible object of the default level for every light, inside a cleared and presented
// frame: the objects' share of the engine's frame.
void BM_FrameWithDefaultLevelObjects(benchmark::State& state)
{
    Level& level = TheLevel();
    if (!level.ready) return state.SkipWithError("the default level did not load");
    for (auto _ : state) {
        level.device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF6482AA, 1.0f, 0);
        level.device->BeginScene();
        level.objects->DrawObjects();
        level.device->EndScene();
        level.device->Present(NULL, NULL, NULL, NULL);
        ClearRecord(state);
    }
    state.counters["objects"] = level.objects->objectCount;
    state.counters["lights"] = level.lights->lightCount;
}
BENCHMARK(BM_FrameWithDefaultLevelObjects)->Unit(benchmark::kMicrosecond);

// The engine's whole frame: overlay text, the objects, the camera, the console, present.
void BM_DrawFrameWithDefaultLevel(benchmark::State& state)
{
    Level& level = TheLevel();
    if (!level.ready) return state.SkipWithError("the default level did not load");
    for (auto _ : state) {
        level.render->DrawFrame(60.0f);
        ClearRecord(state);
    }
}
BENCHMARK(BM_DrawFrameWithDefaultLevel)->Unit(benchmark::kMicrosecond);

void BM_LoadDefaultLevelObjects(benchmark::State& state)
{
    Level& level = TheLevel();
    if (!level.ready) return state.SkipWithError("the default level did not load");
    for (auto _ : state) {
        Orvex_Object_Manager objects(&level.baseWorld, &level.device, level.console, level.effects,
                                     level.lights);
        objects.LoadLevel(kLevel);
        ClearRecord(state);
    }
}
BENCHMARK(BM_LoadDefaultLevelObjects)->Unit(benchmark::kMillisecond);

// Objects that name the same mesh file each load their own copy of it and of its textures.
void BM_LoadObjectsSharingOneMesh(benchmark::State& state)
{
    Level& level = TheLevel();
    if (!level.ready) return state.SkipWithError("the default level did not load");
    const int count = (int)state.range(0);
    const std::string name = "SHARED_" + std::to_string(count);
    {
        std::ofstream out(name);
        out << "_OBJECTS_ {\n";
        for (int i = 0; i < count; ++i)
            out << " o" << i << " { _OBJECT_TYPE_ { _OBJECT_SIMPLE_ } _OBJECT_PATH_ { objects\\sphere.obj }"
                << " _POSITION_ { " << i << " 0 0 } }\n";
        out << "}\n";
    }
    for (auto _ : state) {
        Orvex_Object_Manager objects(&level.baseWorld, &level.device, level.console, level.effects,
                                     level.lights);
        objects.LoadLevel(name.c_str());
        ClearRecord(state);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_LoadObjectsSharingOneMesh)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
