// 1000 short lines a frame, as a console full of log lines would draw them:
//   BM_LayOutThousandLines   the glyph lookups and layout alone (no device), glyphs cached;
//   BM_DrawThousandLines     a whole frame on the native device off screen: clear, 1000
//                            DrawTextA calls, present, and a read-back so the GPU work counts.
#include <benchmark/benchmark.h>

#include <d3dx9.h>

#include "common/text/font_layout.h"
#include "gl_device.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> make_lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i) {
        char line[64];
        snprintf(line, sizeof line, "[%02d:%02d] obj_mngr object %d shown", i / 60 % 24, i % 60, i);
        lines.push_back(line);
    }
    return lines;
}

void BM_LayOutThousandLines(benchmark::State& state) {
    Glyph_Request request;
    request.face_name = "Courier ";
    request.height = 14;
    request.width = 6;
    request.weight = 200;
    std::unique_ptr<Glyph_Face> face = Glyph_Face::open(request);
    if (!face) {
        state.SkipWithError("no face");
        return;
    }
    Glyph_Cache cache(std::move(face));
    Font_Layout layout;
    const std::vector<std::string> lines = make_lines();
    for (auto _ : state) {
        for (size_t i = 0; i < lines.size(); ++i) {
            RECT r = {12, static_cast<LONG>(i % 60) * 10, 0, 0};
            benchmark::DoNotOptimize(layout.lay_out(cache, lines[i].c_str(), -1, r, DT_NOCLIP));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_LayOutThousandLines)->Unit(benchmark::kMicrosecond);

LRESULT CALLBACK bench_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void BM_DrawThousandLines(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = bench_proc;
    wc.lpszClassName = "TextDrawBench";
    RegisterClassExA(&wc);
    HWND window = CreateWindowExA(0, "TextDrawBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 816, 639, nullptr, nullptr,
                                  nullptr, nullptr);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS pp{};
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ID3DXFont* font = nullptr;
    if (!window || !d3d ||
        FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                                 &device)) ||
        FAILED(D3DXCreateFontA(device, 14, 6, 200, 0, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, DEFAULT_QUALITY, 0,
                               "Courier ", &font))) {
        state.SkipWithError("no device or font off screen");
    } else {
        const std::vector<std::string> lines = make_lines();
        std::vector<unsigned char> pixels;
        UINT width = 0, height = 0;
        for (auto _ : state) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
            device->BeginScene();
            for (size_t i = 0; i < lines.size(); ++i) {
                RECT r = {12, static_cast<LONG>(i % 60) * 10, 0, 0};
                font->DrawTextA(nullptr, lines[i].c_str(), -1, &r, DT_NOCLIP, 0xFF91919B);
            }
            device->EndScene();
            device->Present(nullptr, nullptr, nullptr, nullptr);
            GL_Device::Of(device)->ReadPresentedFrame(&pixels, &width, &height);
        }
        state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
    }
    if (font) font->Release();
    if (device) device->Release();
    if (d3d) d3d->Release();
    if (window) DestroyWindow(window);
}
BENCHMARK(BM_DrawThousandLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
