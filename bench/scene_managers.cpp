// One frame's work of the camera, light and effect managers in a level of 10 cameras, 8 lights
// and 8 effects, on the headless platform: the active camera's transforms, the keyboard and
// mouse steps, and for every light and every one of 8 objects (one effect each) the effect
// look-up and the light's values. The headless effects record every call; the record is
// cleared each frame and its cost is part of the figure.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "call_log.h"
#include "console/console.h"
#include "headless_win32.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light_manager.h"

namespace {

const char* kEffect =
    "float4x4 mat_World_View_Proj;\n"
    "float4 View_Pos;\n"
    "float4 LightPos; float4 LightColor; float LightFalloff; float LightSpecular;\n"
    "float LightSpecular_Itens; float LightAmbient; float Attenuation;\n"
    "float4 vs_main(float4 p : POSITION) : POSITION { return mul(p, mat_World_View_Proj); }\n"
    "float4 ps_main() : COLOR {\n"
    "    return View_Pos * LightColor * (LightFalloff + LightSpecular + LightSpecular_Itens +\n"
    "                                   LightAmbient + Attenuation) + LightPos;\n"
    "}\n"
    "technique vor_Phong { pass P0 {\n"
    "    VertexShader = compile vs_2_0 vs_main(); PixelShader = compile ps_2_0 ps_main(); } }\n";

struct Scene {
    std::filesystem::path folder;
    IDirect3DDevice9* device = nullptr;
    Console* console = nullptr;
    Orvex_Camera_Manager* cameras = nullptr;
    Orvex_Light_Manager* lights = nullptr;
    Orvex_Effect_Manager* effects = nullptr;
    Orvex_string names[8];

    Scene() {
        orvex_headless::reset_win32();
        orvex_headless::set_time(100000);
        folder = std::filesystem::temp_directory_path() / "orvex_scene_bench";
        std::filesystem::create_directories(folder);
        std::ofstream((folder / "phong.fx").string()) << kEffect;
        std::string level = "_CAMERAS_ {";
        for (int i = 0; i < 10; ++i) level += " cam" + std::to_string(i);
        level += " }\n_LIGHTS_ {";
        for (int i = 0; i < 8; ++i) level += " lamp" + std::to_string(i);
        level += " }\n_EFFECTS_ {";
        for (int i = 0; i < 8; ++i) level += " fx" + std::to_string(i);
        level += " }\n";
        for (int i = 0; i < 10; ++i)
            level += "cam" + std::to_string(i) + " { _POSITION_ { " + std::to_string(i * 10) +
                     " 50 -200 } _LOOK_ { 0 0 0 } }\n";
        for (int i = 0; i < 8; ++i)
            level += "lamp" + std::to_string(i) + " { _POSITION_ { " + std::to_string(i * 40) +
                     " 100 0 } _COLOR_ { 1 0.5 0.25 } }\n";
        for (int i = 0; i < 8; ++i)
            level += "fx" + std::to_string(i) + " { _FILE_FX_ { \"" + (folder / "phong.fx").string() +
                     "\" } _FILE_ { none } }\n";
        const std::string levelPath = (folder / "LEVEL").string();
        std::ofstream(levelPath) << level;

        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "scene_bench";
        RegisterClassExA(&windowClass);
        HWND window = CreateWindowExA(0, "scene_bench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 656,
                                      519, nullptr, nullptr, nullptr, nullptr);
        IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                               D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
        direct3D->Release();

        console = new Console(&device);
        cameras = new Orvex_Camera_Manager(console);
        effects = new Orvex_Effect_Manager(device, console, cameras);
        lights = new Orvex_Light_Manager(console);
        lights->LoadLevel(levelPath.c_str());
        cameras->LoadLevel(levelPath.c_str());
        effects->LoadLevel(levelPath.c_str());
        for (int i = 0; i < 8; ++i) {
            names[i] = "fx";
            names[i] += i;
        }
        if (effects->effectCount != 8 || !effects->effectList)
            std::fprintf(stderr, "the benchmark's effects did not compile\n");
        orvex_headless::set_key_state('W', true);
        orvex_headless::set_key_state('A', true);
    }
    ~Scene() {
        delete effects;
        delete lights;
        delete cameras;
        delete console;
        if (device) device->Release();
        std::filesystem::remove_all(folder);
    }
};

void BM_CameraFrame(benchmark::State& state) {
    Scene scene;
    int x = 0;
    for (auto _ : state) {
        orvex_headless::advance_time(16);
        orvex_headless::set_cursor_pos(x++ % 400, 200);
        scene.cameras->activeCamera->camera->Apply(&scene.device);
        scene.cameras->HandleKeyboard(16.0f);
        scene.cameras->HandleMouse(nullptr, true);
        orvex_headless::clear_call_log();
    }
}
BENCHMARK(BM_CameraFrame);

void BM_ManagersFrame(benchmark::State& state) {
    Scene scene;
    int x = 0;
    D3DXMATRIX view, projection;
    for (auto _ : state) {
        orvex_headless::advance_time(16);
        orvex_headless::set_cursor_pos(x++ % 400, 200);
        scene.cameras->activeCamera->camera->Apply(&scene.device);
        for (int light = 1; light <= 8; ++light) {
            for (const Orvex_string& name : scene.names) {
                ID3DXEffect* effect = scene.effects->FindEffect(name, &view, &projection);
                scene.lights->ApplyLight(effect, light);
            }
        }
        scene.cameras->HandleKeyboard(16.0f);
        scene.cameras->HandleMouse(nullptr, true);
        orvex_headless::clear_call_log();
    }
}
BENCHMARK(BM_ManagersFrame);

}  // namespace

BENCHMARK_MAIN();
