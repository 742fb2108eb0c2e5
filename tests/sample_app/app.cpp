// A small Windows program: one window, a Direct3D 9 device, a cleared frame with one
// pre-transformed quad, presented for a few seconds. It knows nothing of Orvex; it is built from
// the installed platform with `g++ app.cpp $(pkg-config --cflags --libs orvex-platform)`.
#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>
#include <d3dx9.h>

namespace {

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

bool running = true;

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        running = false;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.lpszClassName = "SampleApp";
    if (!RegisterClassExA(&wc))
        return 1;
    HWND window = CreateWindowExA(0, "SampleApp", "Orvex sample", WS_OVERLAPPEDWINDOW, 0, 0, 416, 339, NULL, NULL,
                                  instance, NULL);
    if (!window)
        return 2;
    ShowWindow(window, show);

    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d)
        return 3;
    D3DPRESENT_PARAMETERS pp = {};
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = NULL;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                                 &device)))
        return 4;

    // The quad's corners, placed with D3DX's vector maths to show that D3DX links too.
    D3DXVECTOR3 corner(100.0f, 80.0f, 0.5f), size(200.0f, 120.0f, 0.0f), far_corner;
    D3DXVec3Add(&far_corner, &corner, &size);
    const D3DCOLOR orange = D3DCOLOR_XRGB(255, 192, 0);
    const Vertex quad[4] = {{corner.x, corner.y, 0.5f, 1.0f, orange}, {far_corner.x, corner.y, 0.5f, 1.0f, orange},
                            {corner.x, far_corner.y, 0.5f, 1.0f, orange},
                            {far_corner.x, far_corner.y, 0.5f, 1.0f, orange}};

    const DWORD start = timeGetTime();
    MSG msg;
    while (running && timeGetTime() - start < 4000) {
        if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(32, 64, 96), 1.0f, 0);
        if (SUCCEEDED(device->BeginScene())) {
            device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
            device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
            device->EndScene();
        }
        device->Present(NULL, NULL, NULL, NULL);
        Sleep(10);
    }
    device->Release();
    d3d->Release();
    return 0;
}
