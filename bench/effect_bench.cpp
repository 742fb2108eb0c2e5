// D3DX effects off screen (SDL's "offscreen" driver, Mesa's software rasteriser):
//   BM_CreateDefaultEffect  D3DXCreateEffectFromFileA on data/fx/vor_Phong.fx, then Release
//   BM_EffectFrames         10 000 frames of one object lit by two lights through vor_Phong and
//                           vor_Phong_alpha, as the engine draws it; each frame ends with glFinish.
//                           Counters: the mean frame time of the first and of the last 1 000
//                           frames, and C++ allocations made inside the effect calls per frame.
#include <benchmark/benchmark.h>

#include <d3d9.h>
#include <d3dx9.h>
#include <epoxy/gl.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<long> g_allocations{0};
std::atomic<bool> g_counting{false};

}  // namespace

void* operator new(size_t size) {
    if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void* operator new[](size_t size) { return operator new(size); }
// Out of line so that GCC, seeing operator new's pointer reach free, does not warn of a mismatch.
[[gnu::noinline]] static void release(void* p) noexcept { std::free(p); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }

namespace {

const std::string kEffect = std::string(ORVEX_SOURCE_DIR) + "/data/fx/vor_Phong.fx";

struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
};

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct Fixture {
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;

    Fixture() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.lpszClassName = "EffectBench";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, "EffectBench", "fx", WS_OVERLAPPEDWINDOW, 0, 0, 656, 519, nullptr, nullptr, nullptr,
                                 nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        if (d3d) d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device);
    }
    ~Fixture() {
        if (device) device->Release();
        if (d3d) d3d->Release();
        DestroyWindow(window);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_CreateDefaultEffect(benchmark::State& state) {
    IDirect3DDevice9* device = fixture().device;
    if (!device) {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state) {
        ID3DXEffect* effect = nullptr;
        if (FAILED(D3DXCreateEffectFromFileA(device, kEffect.c_str(), nullptr, nullptr, 0, nullptr, &effect, nullptr))) {
            state.SkipWithError("vor_Phong.fx did not compile");
            return;
        }
        effect->Release();
    }
}
BENCHMARK(BM_CreateDefaultEffect)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_EffectFrames(benchmark::State& state) {
    IDirect3DDevice9* device = fixture().device;
    ID3DXEffect* effect = nullptr;
    if (!device || FAILED(D3DXCreateEffectFromFileA(device, kEffect.c_str(), nullptr, nullptr, 0, nullptr, &effect, nullptr))) {
        state.SkipWithError("no device or effect");
        return;
    }
    std::vector<Vertex> sphere;
    std::vector<WORD> indices;
    const int slices = 24, stacks = 16;
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j) {
            float t = D3DX_PI * i / stacks, p = 2 * D3DX_PI * j / slices;
            float x = std::sin(t) * std::cos(p), y = std::cos(t), z = std::sin(t) * std::sin(p);
            sphere.push_back({x, y, z, x, y, z, float(j) / slices, float(i) / stacks});
        }
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            WORD a = WORD(i * (slices + 1) + j), b = WORD(a + slices + 1);
            indices.insert(indices.end(), {a, WORD(a + 1), b, WORD(a + 1), WORD(b + 1), b});
        }
    D3DXMATRIX world, view, projection, wvp;
    const D3DXVECTOR3 eye(0, 0, -4), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 3, 640.0f / 480.0f, 0.5f, 50.0f);
    const D3DXVECTOR4 lights[2][2] = {{D3DXVECTOR4(-4, 2, -4, 1), D3DXVECTOR4(1, 0.9f, 0.8f, 1)},
                                      {D3DXVECTOR4(4, -1, -3, 1), D3DXVECTOR4(0.2f, 0.3f, 1, 1)}};
    const D3DXVECTOR4 view_pos(0, 0, -4, 1);

    std::vector<double> frame_us;
    frame_us.reserve(10000);
    long allocations = 0;
    int frame = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        D3DXMatrixRotationY(&world, 0.001f * frame++);
        D3DXMatrixMultiply(&wvp, &world, &view);
        D3DXMatrixMultiply(&wvp, &wvp, &projection);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        for (int l = 0; l < 2; ++l) {
            g_counting = true;
            effect->SetVector("View_Pos", &view_pos);
            effect->SetMatrix("mat_World_View_Proj", &wvp);
            effect->SetMatrix("matWorld", &world);
            effect->SetVector("LightPos", &lights[l][0]);
            effect->SetVector("LightColor", &lights[l][1]);
            effect->SetFloat("LightFalloff", 1000.0f);
            effect->SetFloat("LightSpecular", 8.5f);
            effect->SetFloat("LightSpecular_Itens", 0.19f);
            effect->SetFloat("LightAmbient", 0.005f);
            effect->SetFloat("Attenuation", 0.8f);
            effect->SetTechnique(l == 0 ? "vor_Phong" : "vor_Phong_alpha");
            UINT passes = 0;
            effect->Begin(&passes, 0);
            for (UINT p = 0; p < passes; ++p) {
                effect->BeginPass(p);
                g_counting = false;
                device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
                device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, UINT(sphere.size()), UINT(indices.size() / 3),
                                               indices.data(), D3DFMT_INDEX16, sphere.data(), sizeof(Vertex));
                g_counting = true;
                effect->EndPass();
            }
            effect->End();
            g_counting = false;
        }
        device->EndScene();
        glFinish();
        frame_us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    allocations = g_allocations.load();
    effect->Release();
    const size_t n = frame_us.size(), chunk = n >= 2000 ? 1000 : n / 2;
    double first = 0, last = 0;
    for (size_t i = 0; i < chunk; ++i) {
        first += frame_us[i];
        last += frame_us[n - 1 - i];
    }
    if (chunk) {
        state.counters["first_1000_frames_us"] = first / chunk;
        state.counters["last_1000_frames_us"] = last / chunk;
    }
    state.counters["effect_allocations_per_frame"] = n ? double(allocations) / double(n) : 0.0;
}
BENCHMARK(BM_EffectFrames)->Unit(benchmark::kMicrosecond)->Iterations(10000);

}  // namespace

BENCHMARK_MAIN();
