#pragma once
// A headless window and device for the device tests and the D3DX tests that go through one; pp
// holds the present parameters as CreateDevice filled them in.
#include <d3d9.h>

#include <gtest/gtest.h>

#include "call_log.h"
#include "headless_d3d9.h"
#include "headless_win32.h"
#include "device_test_support.h"

class D3dxOnDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        orvex_headless::reset_win32();
        orvex_headless::reset_d3d9();
        window = orvex_test::CreateTestWindow("D3dxTest");
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        pp = orvex_test::WindowedParameters();
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
    D3DPRESENT_PARAMETERS pp{};
};
