#include "d3d9_gl_direct3d.h"

#include "d3d9_gl_device.h"
#include "win32_window.h"

UINT D3D9_GL_Direct3D::MaxSamples()
{
    const UINT known = D3D9_GL_Device::KnownMaxSamples();
    return known ? known : 16;
}

const char* D3D9_GL_Direct3D::AdapterDescription() const { return "Orvex Direct3D 9 on OpenGL"; }

const char* D3D9_GL_Direct3D::SampleLimitOwner() const { return "GL's"; }

void D3D9_GL_Direct3D::DesktopSize(UINT* width, UINT* height)
{
    SDL_DisplayMode mode{};
    if (win32_video_start() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        *width = UINT(mode.w);
        *height = UINT(mode.h);
        return;
    }
    *width = 1920;
    *height = 1080;
}

HRESULT D3D9_GL_Direct3D::MakeDevice(const D3DDEVICE_CREATION_PARAMETERS& creation,
                                     const D3DPRESENT_PARAMETERS& present, UINT samples, IDirect3DDevice9** device)
{
    SDL_Window* window = win32_sdl_window(present.hDeviceWindow);
    if (!window)
        return Refuse(D3DERR_NOTAVAILABLE, "the device window has no SDL window");
    HRESULT hr = D3DERR_NOTAVAILABLE;
    *device = D3D9_GL_Device::Make(this, creation, present, samples, window, &hr);
    // The GL's sample limit is known only once a context exists: the first device learns it here.
    const UINT limit = D3D9_GL_Device::KnownMaxSamples();
    if (!*device && limit != 0 && samples > limit)
        return RefuseSamples(present.MultiSampleType, present.MultiSampleQuality, limit);
    return hr;
}

extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion)
{
    if (SDKVersion != D3D_SDK_VERSION)
        return nullptr;
    return new D3D9_GL_Direct3D();
}
