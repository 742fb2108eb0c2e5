// Two triangles of pre-transformed, coloured vertices from a vertex buffer, drawn every time the
// message loop is idle.
#include <Windows.h>
#include <d3d9.h>

struct CUSTOMVERTEX { FLOAT x, y, z, rhw; DWORD color; };
#define D3DFVF_CUSTOMVERTEX (D3DFVF_XYZRHW | D3DFVF_DIFFUSE)

LPDIRECT3D9 g_pD3D = NULL;
LPDIRECT3DDEVICE9 g_pDevice = NULL;
LPDIRECT3DVERTEXBUFFER9 g_pVB = NULL;

HRESULT InitD3D(HWND hWnd)
{
    if (NULL == (g_pD3D = Direct3DCreate9(D3D_SDK_VERSION)))
        return E_FAIL;
    D3DPRESENT_PARAMETERS d3dpp;
    ZeroMemory(&d3dpp, sizeof(d3dpp));
    d3dpp.Windowed = TRUE;
    d3dpp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    d3dpp.BackBufferFormat = D3DFMT_UNKNOWN;
    return g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                &d3dpp, &g_pDevice);
}

HRESULT InitVB()
{
    const DWORD red = D3DCOLOR_XRGB(255, 0, 0), green = D3DCOLOR_XRGB(0, 255, 0);
    CUSTOMVERTEX vertices[] = {
        { 20.0f, 20.0f, 0.5f, 1.0f, red }, { 140.0f, 20.0f, 0.5f, 1.0f, red }, { 20.0f, 280.0f, 0.5f, 1.0f, red },
        { 160.0f, 20.0f, 0.5f, 1.0f, green }, { 280.0f, 280.0f, 0.5f, 1.0f, green }, { 160.0f, 280.0f, 0.5f, 1.0f, green },
    };
    if (FAILED(g_pDevice->CreateVertexBuffer(sizeof(vertices), 0, D3DFVF_CUSTOMVERTEX, D3DPOOL_DEFAULT, &g_pVB, NULL)))
        return E_FAIL;
    VOID* pVertices;
    if (FAILED(g_pVB->Lock(0, sizeof(vertices), (void**)&pVertices, 0)))
        return E_FAIL;
    memcpy(pVertices, vertices, sizeof(vertices));
    g_pVB->Unlock();
    return S_OK;
}

VOID Render()
{
    g_pDevice->Clear(0, NULL, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    if (SUCCEEDED(g_pDevice->BeginScene()))
    {
        g_pDevice->SetStreamSource(0, g_pVB, 0, sizeof(CUSTOMVERTEX));
        g_pDevice->SetFVF(D3DFVF_CUSTOMVERTEX);
        g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
        g_pDevice->EndScene();
    }
    g_pDevice->Present(NULL, NULL, NULL, NULL);
}

LRESULT WINAPI MsgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
    {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(hWnd, msg, wParam, lParam);
}

INT WINAPI wWinMain(HINSTANCE hInst, HINSTANCE, LPWSTR, INT)
{
    WNDCLASSEX wc = { sizeof(WNDCLASSEX), CS_CLASSDC, MsgProc, 0L, 0L, hInst, NULL, NULL, NULL, NULL,
                      TEXT("ClassicVertices"), NULL };
    RegisterClassEx(&wc);
    HWND hWnd = CreateWindow(TEXT("ClassicVertices"), TEXT("Classic vertices"), WS_OVERLAPPEDWINDOW, 100, 100,
                             316, 339, NULL, NULL, hInst, NULL);
    if (SUCCEEDED(InitD3D(hWnd)) && SUCCEEDED(InitVB()))
    {
        ShowWindow(hWnd, SW_SHOWDEFAULT);
        UpdateWindow(hWnd);
        MSG msg;
        ZeroMemory(&msg, sizeof(msg));
        while (msg.message != WM_QUIT)
        {
            if (PeekMessage(&msg, NULL, 0U, 0U, PM_REMOVE))
            {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
            else
                Render();
        }
    }
    if (g_pVB) g_pVB->Release();
    if (g_pDevice) g_pDevice->Release();
    if (g_pD3D) g_pD3D->Release();
    UnregisterClass(TEXT("ClassicVertices"), hInst);
    return 0;
}
