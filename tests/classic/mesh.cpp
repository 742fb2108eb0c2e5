// A mesh from a .x file drawn subset by subset with its own materials and textures, the way
// D3DXLoadMeshFromX hands them back in D3DXMATERIAL records.
#include <Windows.h>
#include <d3dx9.h>
#include <strsafe.h>

LPDIRECT3D9 g_pD3D = NULL;
LPDIRECT3DDEVICE9 g_pDevice = NULL;
LPD3DXMESH g_pMesh = NULL;
D3DMATERIAL9* g_pMaterials = NULL;
LPDIRECT3DTEXTURE9* g_pTextures = NULL;
DWORD g_dwNumMaterials = 0L;

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
    g_pDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_pDevice->SetRenderState(D3DRS_AMBIENT, 0xffffffff);
    return S_OK;
}

HRESULT InitGeometry()
{
    LPD3DXBUFFER pD3DXMtrlBuffer;
    if (FAILED(D3DXLoadMeshFromX(L"pair.x", D3DXMESH_SYSTEMMEM, g_pDevice, NULL, &pD3DXMtrlBuffer, NULL,
                                 &g_dwNumMaterials, &g_pMesh)))
    {
        MessageBox(NULL, L"Could not find pair.x", L"Classic mesh", MB_OK);
        return E_FAIL;
    }
    D3DXMATERIAL* d3dxMaterials = (D3DXMATERIAL*)pD3DXMtrlBuffer->GetBufferPointer();
    g_pMaterials = new D3DMATERIAL9[g_dwNumMaterials];
    g_pTextures = new LPDIRECT3DTEXTURE9[g_dwNumMaterials];
    for (DWORD i = 0; i < g_dwNumMaterials; i++)
    {
        g_pMaterials[i] = d3dxMaterials[i].MatD3D;
        g_pMaterials[i].Ambient = g_pMaterials[i].Diffuse;
        g_pTextures[i] = NULL;
        if (d3dxMaterials[i].pTextureFilename != NULL && lstrlenA(d3dxMaterials[i].pTextureFilename) > 0)
        {
            if (FAILED(D3DXCreateTextureFromFileA(g_pDevice, d3dxMaterials[i].pTextureFilename, &g_pTextures[i])))
            {
                CHAR strTexture[MAX_PATH];
                StringCchCopyA(strTexture, MAX_PATH, "..\\");
                StringCchCatA(strTexture, MAX_PATH, d3dxMaterials[i].pTextureFilename);
                if (FAILED(D3DXCreateTextureFromFileA(g_pDevice, strTexture, &g_pTextures[i])))
                    MessageBox(NULL, L"Could not find a texture", L"Classic mesh", MB_OK);
            }
        }
    }
    pD3DXMtrlBuffer->Release();
    return S_OK;
}

VOID Render()
{
    g_pDevice->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    if (SUCCEEDED(g_pDevice->BeginScene()))
    {
        D3DXMATRIXA16 matWorld, matView, matProj;
        D3DXMatrixIdentity(&matWorld);
        g_pDevice->SetTransform(D3DTS_WORLD, &matWorld);
        D3DXVECTOR3 vEyePt(0.0f, 0.0f, -5.0f), vLookatPt(0.0f, 0.0f, 0.0f), vUpVec(0.0f, 1.0f, 0.0f);
        D3DXMatrixLookAtLH(&matView, &vEyePt, &vLookatPt, &vUpVec);
        g_pDevice->SetTransform(D3DTS_VIEW, &matView);
        D3DXMatrixPerspectiveFovLH(&matProj, D3DX_PI / 4, 1.0f, 1.0f, 100.0f);
        g_pDevice->SetTransform(D3DTS_PROJECTION, &matProj);
        for (DWORD i = 0; i < g_dwNumMaterials; i++)
        {
            g_pDevice->SetMaterial(&g_pMaterials[i]);
            g_pDevice->SetTexture(0, g_pTextures[i]);
            g_pMesh->DrawSubset(i);
        }
        g_pDevice->EndScene();
    }
    g_pDevice->Present(NULL, NULL, NULL, NULL);
}

VOID Cleanup()
{
    for (DWORD i = 0; g_pTextures && i < g_dwNumMaterials; i++)
        if (g_pTextures[i]) g_pTextures[i]->Release();
    delete[] g_pTextures;
    delete[] g_pMaterials;
    if (g_pMesh) g_pMesh->Release();
    if (g_pDevice) g_pDevice->Release();
    if (g_pD3D) g_pD3D->Release();
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
                      L"ClassicMesh", NULL };
    RegisterClassEx(&wc);
    HWND hWnd = CreateWindow(L"ClassicMesh", L"Classic mesh", WS_OVERLAPPEDWINDOW, 100, 100, 316, 339,
                             NULL, NULL, hInst, NULL);
    if (SUCCEEDED(InitD3D(hWnd)) && SUCCEEDED(InitGeometry()))
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
    Cleanup();
    UnregisterClass(L"ClassicMesh", hInst);
    return 0;
}
