#pragma once
// A device of the native platform on a plain window, drawn off screen (SDL's "offscreen" driver,
// Mesa's software rasteriser), its presented frames read back pixel by pixel.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <d3d9.h>

#include <ostream>
#include <vector>

#include "device_test_support.h"
#include "native/gl_device.h"

namespace orvex_test {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

class NativeDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "offscreen", 1); }

    // The window (656 x 519 outside is a 640 x 480 client area, unless a test's constructor
    // says otherwise) and the Direct3D object; Create makes the device.
    void SetUp() override
    {
        window = CreateTestWindow("NativeDeviceTest", windowWidth, windowHeight);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }

    void TearDown() override
    {
        PinLoadedLibraries();
        if (device) device->Release();
        if (d3d) d3d->Release();
        if (window) DestroyWindow(window);
    }

    HRESULT Create(D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE, IDirect3DDevice9** out = nullptr)
    {
        D3DPRESENT_PARAMETERS pp = WindowedParameters(samples);
        const HRESULT hr = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                             D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, out ? out : &device);
        // The GL driver is loaded now: a test that destroys its window must not unload it before
        // the leak check has read the driver's allocations.
        PinLoadedLibraries();
        return hr;
    }

    void BeginScene(D3DCOLOR clear)
    {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
        ASSERT_EQ(device->BeginScene(), D3D_OK);
    }

    // Ends the scene, presents it and reads the frame back into pixels.
    void Show()
    {
        device->EndScene();
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        ASSERT_TRUE(GL_Device::Of(device)->ReadPresentedFrame(&pixels, &width, &height));
    }

    Rgb At(int x, int y) const
    {
        const unsigned char* p = &pixels[(size_t(y) * width + size_t(x)) * 4];
        return Rgb{p[0], p[1], p[2]};
    }

    int windowWidth = 656, windowHeight = 519;
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    std::vector<unsigned char> pixels;
    UINT width = 0, height = 0;
};

}  // namespace orvex_test
