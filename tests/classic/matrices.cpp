// A hexagon turning about the view axis: world, view and projection matrices from D3DX, the
// angle from the clock, the corners from sinf and cosf.
#include <Windows.h>
#include <mmsystem.h>
#include <d3dx9.h>

struct CUSTOMVERTEX { FLOAT x, y, z; DWORD color; };
#define D3DFVF_CUSTOMVERTEX (D3DFVF_XYZ | D3DFVF_DIFFUSE)

LPDIRECT3D9 g_pD3D = NULL;
LPDIRECT3DDEVICE9 g_pDevice = NULL;
CUSTOMVERTEX g_Fan[8];

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
    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    g_Fan[0].x = g_Fan[0].y = g_Fan[0].z = 0.0f;
    g_Fan[0].color = D3DCOLOR_XRGB(255, 255, 0);
    for (int i = 1; i < 8; i++)
    {
        FLOAT angle = (i - 1) * D3DX_PI / 3.0f;
        g_Fan[i].x = cosf(angle);
        g_Fan[i].y = sinf(angle);
        g_Fan[i].z = 0.0f;
        g_Fan[i].color = D3DCOLOR_XRGB(255, 255, 0);
    }
    return S_OK;
}

VOID SetupMatrices()
{
    D3DXMATRIXA16 matWorld;
    D3DXMatrixRotationZ(&matWorld, (timeGetTime() % 2000) * (2.0f * D3DX_PI) / 2000.0f);
    g_pDevice->SetTransform(D3DTS_WORLD, &matWorld);
    D3DXVECTOR3 vEyePt(0.0f, 0.0f, -5.0f), vLookatPt(0.0f, 0.0f, 0.0f), vUpVec(0.0f, 1.0f, 0.0f);
    D3DXMATRIXA16 matView;
    D3DXMatrixLookAtLH(&matView, &vEyePt, &vLookatPt, &vUpVec);
    g_pDevice->SetTransform(D3DTS_VIEW, &matView);
    D3DXMATRIXA16 matProj;
    D3DXMatrixPerspectiveFovLH(&matProj, D3DX_PI / 4, 1.0f, 1.0f, 100.0f);
    g_pDevice->SetTransform(D3DTS_PROJECTION, &matProj);
}

VOID Render()
{
    g_pDevice->Clear(0, NULL, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 96), 1.0f, 0);
    if (SUCCEEDED(g_pDevice->BeginScene()))
    {
        SetupMatrices();
        g_pDevice->SetFVF(D3DFVF_CUSTOMVERTEX);
        g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 6, g_Fan, sizeof(CUSTOMVERTEX));
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
                      L"ClassicMatrices", NULL };
    RegisterClassEx(&wc);
    HWND hWnd = CreateWindow(L"ClassicMatrices", L"Classic matrices", WS_OVERLAPPEDWINDOW, 100, 100, 316, 339,
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
    if (g_pDevice) g_pDevice->Release();
    if (g_pD3D) g_pD3D->Release();
    UnregisterClass(L"ClassicMatrices", hInst);
    return 0;
}
