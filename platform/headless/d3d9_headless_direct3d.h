#pragma once
// The headless Direct3D object: one adapter with a 1920 x 1080 desktop, multisampling up to
// d3d9_failures().max_samples, devices that record (D3D9_Headless_Device).
#include "common/d3d9/d3d9_direct3d_base.h"

class D3D9_Headless_Direct3D : public D3D9_Direct3D_Base {
public:
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                           DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pPresentationParameters,
                                           IDirect3DDevice9** ppReturnedDeviceInterface) override;

protected:
    UINT MaxSamples() override;
    const char* AdapterDescription() const override;
    void DesktopSize(UINT* width, UINT* height) override;
    HRESULT MakeDevice(const D3DDEVICE_CREATION_PARAMETERS& creation, const D3DPRESENT_PARAMETERS& present,
                       UINT samples, IDirect3DDevice9** device) override;
};
