// A window that Direct3D paints only when Windows asks it to: showing the window makes it
// invalid, WM_PAINT clears the back buffer and presents it, and BeginPaint / EndPaint validate
// the window so the request is not repeated.
#include <Windows.h>
#include <d3d9.h>

LPDIRECT3D9 g_pD3D = NULL;
LPDIRECT3DDEVICE9 g_pDevice = NULL;

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

LRESULT WINAPI MsgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
    {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        g_pDevice->Clear(0, NULL, D3DCLEAR_TARGET, D3DCOLOR_XRGB(40, 120, 200), 1.0f, 0);
        g_pDevice->Present(NULL, NULL, NULL, NULL);
        EndPaint(hWnd, &ps);
        return 0;
    }
    }
    return DefWindowProc(hWnd, msg, wParam, lParam);
}

INT WINAPI wWinMain(HINSTANCE hInst, HINSTANCE, LPWSTR, INT)
{
    WNDCLASSEX wc = { sizeof(WNDCLASSEX), CS_CLASSDC, MsgProc, 0L, 0L, GetModuleHandle(NULL),
                      NULL, NULL, NULL, NULL, L"ClassicPaint", NULL };
    RegisterClassEx(&wc);
    HWND hWnd = CreateWindow(L"ClassicPaint", L"Classic paint", WS_OVERLAPPEDWINDOW, 100, 100, 316, 339,
                             NULL, NULL, wc.hInstance, NULL);
    if (SUCCEEDED(InitD3D(hWnd)))
    {
        ShowWindow(hWnd, SW_SHOWDEFAULT);
        MSG msg;
        while (GetMessage(&msg, NULL, 0, 0))
        {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    else
    {
        MessageBox(NULL, L"Could not create the Direct3D device", L"Classic paint", MB_OK);
    }
    if (g_pDevice) g_pDevice->Release();
    if (g_pD3D) g_pD3D->Release();
    UnregisterClass(L"ClassicPaint", wc.hInstance);
    UNREFERENCED_PARAMETER(hInst);
    return 0;
}
