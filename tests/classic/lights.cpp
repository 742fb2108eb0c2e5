// Fixed-function lighting: a directional light and a material. Two squares with normals facing
// opposite ways: the one facing the light shines in the material's colour, the other gets the
// ambient light only.
#include <Windows.h>
#include <d3dx9.h>

struct CUSTOMVERTEX { D3DXVECTOR3 position; D3DXVECTOR3 normal; };
#define D3DFVF_CUSTOMVERTEX (D3DFVF_XYZ | D3DFVF_NORMAL)

LPDIRECT3D9 g_pD3D = NULL;
LPDIRECT3DDEVICE9 g_pDevice = NULL;
CUSTOMVERTEX g_Squares[8];

HRESULT InitD3D(HWND hWnd)
{
    if (NULL == (g_pD3D = Direct3DCreate9(D3D_SDK_VERSION)))
        return E_FAIL;
    D3DPRESENT_PARAMETERS d3dpp;
    ZeroMemory(&d3dpp, sizeof(d3dpp));
    d3dpp.Windowed = TRUE;
    d3dpp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    d3dpp.BackBufferFormat = D3DFMT_UNKNOWN;
    d3dpp.EnableAutoDepthStencil = TRUE;
    d3dpp.AutoDepthStencilFormat = D3DFMT_D16;
    if (FAILED(g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                    &d3dpp, &g_pDevice)))
        return E_FAIL;
    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_pDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    for (DWORD i = 0; i < 8; i++)
    {
        FLOAT left = i < 4 ? -2.0f : 0.2f;
        g_Squares[i].position = D3DXVECTOR3(left + ((i % 4) & 1 ? 1.8f : 0.0f), (i % 4) < 2 ? 1.0f : -1.0f, 0.0f);
        g_Squares[i].normal = D3DXVECTOR3(0.0f, 0.0f, i < 4 ? -1.0f : 1.0f);
    }
    return S_OK;
}

VOID SetupLightsAndMatrices()
{
    D3DMATERIAL9 mtrl;
    ZeroMemory(&mtrl, sizeof(mtrl));
    mtrl.Diffuse.r = mtrl.Ambient.r = 1.0f;
    mtrl.Diffuse.g = mtrl.Ambient.g = 1.0f;
    mtrl.Diffuse.b = mtrl.Ambient.b = 0.0f;
    mtrl.Diffuse.a = mtrl.Ambient.a = 1.0f;
    g_pDevice->SetMaterial(&mtrl);

    D3DXVECTOR3 vecDir(0.0f, 0.0f, 2.0f);
    D3DLIGHT9 light;
    ZeroMemory(&light, sizeof(light));
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse.r = light.Diffuse.g = light.Diffuse.b = 1.0f;
    D3DXVec3Normalize((D3DXVECTOR3*)&light.Direction, &vecDir);
    light.Range = 1000.0f;
    g_pDevice->SetLight(0, &light);
    g_pDevice->LightEnable(0, TRUE);
    g_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
    g_pDevice->SetRenderState(D3DRS_AMBIENT, 0x00404040);

    D3DXMATRIXA16 matWorld, matView, matProj;
    D3DXMatrixIdentity(&matWorld);
    g_pDevice->SetTransform(D3DTS_WORLD, &matWorld);
    D3DXVECTOR3 vEyePt(0.0f, 0.0f, -5.0f), vLookatPt(0.0f, 0.0f, 0.0f), vUpVec(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&matView, &vEyePt, &vLookatPt, &vUpVec);
    g_pDevice->SetTransform(D3DTS_VIEW, &matView);
    D3DXMatrixPerspectiveFovLH(&matProj, D3DX_PI / 4, 1.0f, 1.0f, 100.0f);
    g_pDevice->SetTransform(D3DTS_PROJECTION, &matProj);
}

VOID Render()
{
    g_pDevice->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0);
    if (SUCCEEDED(g_pDevice->BeginScene()))
    {
        SetupLightsAndMatrices();
        g_pDevice->SetFVF(D3DFVF_CUSTOMVERTEX);
        g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, &g_Squares[0], sizeof(CUSTOMVERTEX));
        g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, &g_Squares[4], sizeof(CUSTOMVERTEX));
        g_pDevice->EndScene();
    }
    g_pDevice->Present(NULL, NULL, NULL, NULL);
}

LRESULT WINAPI MsgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            DestroyWindow(hWnd);
        return 0;
    }
    return DefWindowProc(hWnd, msg, wParam, lParam);
}

INT WINAPI wWinMain(HINSTANCE hInst, HINSTANCE, LPWSTR, INT)
{
    WNDCLASSEX wc = { sizeof(WNDCLASSEX), CS_CLASSDC, MsgProc, 0L, 0L, hInst, NULL, NULL, NULL, NULL,
                      L"ClassicLights", NULL };
    RegisterClassEx(&wc);
    HWND hWnd = CreateWindow(L"ClassicLights", L"Classic lights", WS_OVERLAPPEDWINDOW, 100, 100, 316, 339,
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
    UnregisterClass(L"ClassicLights", hInst);
    return 0;
}
