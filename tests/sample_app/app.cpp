// A small Windows program: one window, a Direct3D 9 device, every D3DX entry point called once,
// a cleared frame with one pre-transformed quad, presented for a few seconds. It knows nothing of
// Orvex; it is built from the installed platform with
// `g++ app.cpp $(pkg-config --cflags --libs orvex-platform)`.
#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <stdio.h>

#include <initializer_list>

namespace {

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

bool running = true;

// Calls every D3DX entry point the platform has, so that linking it proves the .pc file names
// every library they reach. Answers how many calls did not answer as documented.
int d3dx_entry_points(IDirect3DDevice9* device)
{
    static const char mesh[] = "xof 0303txt 0032\nMesh M { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;; }\n";
    static const char effect[] = "float4x4 M; float4 VS(float4 p : POSITION) : POSITION { return mul(p, M); }\n"
                                 "float4 PS() : COLOR { return float4(1, 0, 0, 1); }\n"
                                 "technique T { pass P { VertexShader = compile vs_2_0 VS(); "
                                 "PixelShader = compile ps_2_0 PS(); } }\n";
    const HRESULT bad = D3DXERR_INVALIDDATA, null_arg = D3DERR_INVALIDCALL;
    ID3DXBuffer* buffer = NULL;
    ID3DXMesh* loaded = NULL;
    ID3DXEffect* fx = NULL;
    ID3DXFont* font = NULL;
    IDirect3DTexture9* texture = NULL;
    const struct { const char* name; HRESULT got, want; } calls[] = {
        {"D3DXCreateBuffer", D3DXCreateBuffer(16, &buffer), D3D_OK},
        {"D3DXCreateTextureFromFileA", D3DXCreateTextureFromFileA(device, "missing.bmp", &texture), bad},
        {"D3DXCreateTextureFromFileW", D3DXCreateTextureFromFileW(device, L"missing.bmp", &texture), bad},
        {"D3DXCreateTextureFromFileInMemory", D3DXCreateTextureFromFileInMemory(device, "BM", 2, &texture), bad},
        {"D3DXLoadMeshFromXA", D3DXLoadMeshFromXA("missing.x", 0, device, NULL, NULL, NULL, NULL, &loaded), bad},
        {"D3DXLoadMeshFromXW", D3DXLoadMeshFromXW(L"missing.x", 0, device, NULL, NULL, NULL, NULL, &loaded), bad},
        {"D3DXLoadMeshFromXInMemory",
         D3DXLoadMeshFromXInMemory(mesh, sizeof mesh - 1, D3DXMESH_MANAGED, device, NULL, NULL, NULL, NULL, &loaded),
         D3D_OK},
        {"D3DXCreateEffect", D3DXCreateEffect(device, effect, sizeof effect - 1, NULL, NULL, 0, NULL, &fx, NULL), D3D_OK},
        {"D3DXCreateEffectFromFileA",
         D3DXCreateEffectFromFileA(device, "missing.fx", NULL, NULL, 0, NULL, &fx, NULL), bad},
        {"D3DXCreateEffectFromFileW",
         D3DXCreateEffectFromFileW(device, L"missing.fx", NULL, NULL, 0, NULL, &fx, NULL), bad},
        {"D3DXCreateFontA", D3DXCreateFontA(device, 16, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Sans", &font),
         D3D_OK},
        {"D3DXCreateFontW", D3DXCreateFontW(NULL, 16, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, 0, 0, 0, L"Sans", &font),
         null_arg},
        {"D3DXCreateFontIndirectA", D3DXCreateFontIndirectA(device, NULL, &font), null_arg},
        {"D3DXCreateFontIndirectW", D3DXCreateFontIndirectW(device, NULL, &font), null_arg},
    };
    int wrong = 0;
    for (const auto& call : calls)
        if (call.got != call.want) {
            fprintf(stderr, "%s answered 0x%08X\n", call.name, (unsigned)call.got);
            ++wrong;
        }
    for (IUnknown* made : {(IUnknown*)buffer, (IUnknown*)loaded, (IUnknown*)fx, (IUnknown*)font})
        if (made) made->Release();

    // The maths: a matrix made of every kind there is, times its inverse, is the identity.
    D3DXMATRIX m, step, inverse;
    D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0), axis(1, 1, 0), v(1, 2, 3), w, sum;
    D3DXVECTOR4 v4(1, 2, 3, 1), w4;
    D3DXMatrixRotationYawPitchRoll(&m, 0.1f, 0.2f, 0.3f);
    D3DXMatrixMultiply(&m, &m, D3DXMatrixRotationX(&step, 0.4f));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixRotationY(&step, 0.5f));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixRotationZ(&step, 0.6f));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixRotationAxis(&step, &axis, 0.7f));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixScaling(&step, 2, 3, 4));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixTranslation(&step, 1, 2, 3));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixLookAtLH(&step, &eye, &at, &up));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixTranspose(&step, D3DXMatrixPerspectiveFovLH(&step, 1.0f, 1.0f, 1, 10)));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixOrthoLH(&step, 4, 4, 1, 10));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixOrthoOffCenterLH(&step, -1, 3, -2, 2, 1, 10));
    float det = D3DXMatrixDeterminant(&m);
    D3DXMatrixMultiply(&step, &m, D3DXMatrixInverse(&inverse, NULL, &m));
    D3DXMatrixIdentity(&inverse);
    for (int i = 0; i < 16; ++i) wrong += fabsf(step.m[i / 4][i % 4] - inverse.m[i / 4][i % 4]) > 1e-3f;
    if (det == 0 || D3DXMatrixIsIdentity(&m)) ++wrong;
    // Each vector function once; the sums are only there to use every result.
    D3DXVec3Add(&sum, &v, D3DXVec3Subtract(&w, &v, D3DXVec3Scale(&w, &v, 0.5f)));
    D3DXVec3Add(&sum, &sum, D3DXVec3Cross(&w, &v, &axis));
    D3DXVec3Add(&sum, &sum, D3DXVec3Lerp(&w, &v, &axis, 0.5f));
    D3DXVec3Add(&sum, &sum, D3DXVec3Maximize(&w, &v, &axis));
    D3DXVec3Add(&sum, &sum, D3DXVec3Minimize(&w, &v, &axis));
    D3DXVec3Add(&sum, &sum, D3DXVec3Normalize(&w, &v));
    D3DXVec3Add(&sum, &sum, D3DXVec3TransformCoord(&w, &v, &m));
    D3DXVec3Add(&sum, &sum, D3DXVec3TransformNormal(&w, &v, &m));
    D3DXVec3Transform(&w4, &v, &m);
    D3DXVec4Transform(&w4, D3DXVec4Normalize(&w4, &w4), &m);
    float total = D3DXVec3Dot(&sum, &v) + D3DXVec3Length(&sum) + D3DXVec3LengthSq(&sum) + D3DXVec4Dot(&w4, &v4) +
                  D3DXVec4Length(&w4);
    if (!isfinite(total)) ++wrong;
    return wrong;
}

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

    if (int wrong = d3dx_entry_points(device)) {
        fprintf(stderr, "%d D3DX calls did not answer as documented\n", wrong);
        return 5;
    }

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
