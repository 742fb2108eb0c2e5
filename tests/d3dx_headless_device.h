#pragma once
// A headless window and device for the D3DX tests that go through a device.
#include <d3d9.h>

#include <gtest/gtest.h>

#include "call_log.h"
#include "headless_d3d9.h"
#include "headless_win32.h"

class D3dxOnDevice : public ::testing::Test {
protected:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    void SetUp() override
    {
        orvex_headless::reset_win32();
        orvex_headless::reset_d3d9();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = window_proc;
        wc.lpszClassName = "D3dxTest";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, "D3dxTest", "d3dx", WS_OVERLAPPEDWINDOW, 0, 0, 656, 519, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS pp{};
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                    &pp, &device),
                  D3D_OK);
        orvex_headless::clear_call_log();
    }

    void TearDown() override
    {
        if (device) device->Release();
        if (d3d) d3d->Release();
        orvex_headless::reset_d3d9();
        orvex_headless::reset_win32();
    }

    // How many call-log lines start with prefix.
    static int logged(const std::string& prefix)
    {
        int n = 0;
        for (const std::string& line : orvex_headless::call_log())
            if (line.compare(0, prefix.size(), prefix) == 0) ++n;
        return n;
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};
