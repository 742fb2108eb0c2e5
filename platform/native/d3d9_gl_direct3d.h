#pragma once
// The native Direct3D object: devices on OpenGL (D3D9_GL_Device) in the SDL window of the device
// window. Until a device has been made it cannot know the GL's sample limit, so it offers up to
// 16 samples and CreateDevice fails with D3DERR_NOTAVAILABLE when the GL then allows fewer.
#include "common/d3d9/d3d9_direct3d_base.h"

class D3D9_GL_Direct3D : public D3D9_Direct3D_Base {
protected:
    UINT MaxSamples() override;
    const char* AdapterDescription() const override;
    const char* SampleLimitOwner() const override;
    void DesktopSize(UINT* width, UINT* height) override;
    HRESULT MakeDevice(const D3DDEVICE_CREATION_PARAMETERS& creation, const D3DPRESENT_PARAMETERS& present,
                       UINT samples, IDirect3DDevice9** device) override;
};
