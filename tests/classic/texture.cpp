// A textured square: the texture comes from a bitmap file beside the program (or one folder up),
// and the first texture stage shows it as it is.
#include <Windows.h>
#include <d3dx9.h>

struct CUSTOMVERTEX { FLOAT x, y, z, rhw; FLOAT tu, tv; };
#define D3DFVF_CUSTOMVERTEX (D3DFVF_XYZRHW | D3DFVF_TEX1)

LPDIRECT3D9 g_pD3D = NULL;
LPDIRECT3DDEVICE9 g_pDevice = NULL;
LPDIRECT3DTEXTURE9 g_pTexture = NULL;

HRESULT InitD3D(HWND hWnd)
{
    if (NULL == (g_pD3D = Direct3DCreate9(D3D_SDK_VERSION)))
        return E_FAIL;
    D3DPRESENT_PARAMETERS d3dpp;
    ZeroMemory(&d3dpp, sizeof(d3dpp));
    d3dpp.Windowed = TRUE;
    d3dpp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    d3dpp.BackBufferFormat = D3DFMT_UNKNOWN;
    if (FAILED(g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                    &d3dpp, &g_pDevice)))
        return E_FAIL;
    if (FAILED(D3DXCreateTextureFromFile(g_pDevice, L"quadrants.bmp", &g_pTexture)) &&
        FAILED(D3DXCreateTextureFromFile(g_pDevice, L"..\\quadrants.bmp", &g_pTexture)))
    {
        MessageBox(NULL, L"Could not find quadrants.bmp", L"Classic texture", MB_OK);
        return E_FAIL;
    }
    return S_OK;
}

VOID Render()
{
    static const CUSTOMVERTEX quad[] = {
        { 50.0f, 50.0f, 0.5f, 1.0f, 0.0f, 0.0f }, { 250.0f, 50.0f, 0.5f, 1.0f, 1.0f, 0.0f },
        { 50.0f, 250.0f, 0.5f, 1.0f, 0.0f, 1.0f }, { 250.0f, 250.0f, 0.5f, 1.0f, 1.0f, 1.0f },
    };
    g_pDevice->Clear(0, NULL, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    if (SUCCEEDED(g_pDevice->BeginScene()))
    {
        g_pDevice->SetTexture(0, g_pTexture);
        g_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        g_pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        g_pDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        g_pDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        g_pDevice->SetFVF(D3DFVF_CUSTOMVERTEX);
        g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(CUSTOMVERTEX));
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
                      L"ClassicTexture", NULL };
    RegisterClassEx(&wc);
    HWND hWnd = CreateWindow(L"ClassicTexture", L"Classic texture", WS_OVERLAPPEDWINDOW, 100, 100, 316, 339,
                             NULL, NULL, hInst, NULL);
    if (SUCCEEDED(InitD3D(hWnd)))
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
    if (g_pTexture) g_pTexture->Release();
    if (g_pDevice) g_pDevice->Release();
    if (g_pD3D) g_pD3D->Release();
    UnregisterClass(L"ClassicTexture", hInst);
    return 0;
}
