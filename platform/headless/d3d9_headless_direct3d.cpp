#include "d3d9_headless_direct3d.h"

#include "call_log.h"
#include "d3d9_headless_device.h"
#include "d3d9_log_format.h"
#include "headless_d3d9.h"

using namespace orvex_headless;

namespace orvex_headless {
void d3d9_device_made(IDirect3DDevice9* device);
}

HRESULT D3D9_Headless_Direct3D::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                             DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pp,
                                             IDirect3DDevice9** ppReturnedDeviceInterface)
{
    std::string line = "CreateDevice(" + std::to_string(Adapter) + ", " +
                       (DeviceType == D3DDEVTYPE_HAL ? std::string("HAL") : std::to_string(DeviceType)) + ", " +
                       d3d9_behaviour(BehaviorFlags) + ", ";
    if (pp)
        line += "{" + std::to_string(pp->BackBufferWidth) + "x" + std::to_string(pp->BackBufferHeight) + " " +
                d3d9_format(pp->BackBufferFormat) + ", MultiSample " + std::to_string(pp->MultiSampleType) + "/" +
                std::to_string(pp->MultiSampleQuality) + ", " +
                (pp->SwapEffect == D3DSWAPEFFECT_DISCARD ? std::string("DISCARD") : std::to_string(pp->SwapEffect)) +
                ", Windowed " + std::to_string(pp->Windowed) + ", DepthStencil " +
                std::to_string(pp->EnableAutoDepthStencil) + " " + d3d9_format(pp->AutoDepthStencilFormat) +
                ", Interval " + d3d9_hex(pp->PresentationInterval) + "})";
    else
        line += "NULL)";
    HRESULT hr = d3d9_failures().create_device;
    if (SUCCEEDED(hr))
        hr = D3D9_Direct3D_Base::CreateDevice(Adapter, DeviceType, hFocusWindow, BehaviorFlags, pp,
                                              ppReturnedDeviceInterface);
    else if (ppReturnedDeviceInterface)
        *ppReturnedDeviceInterface = nullptr;
    record_call(FAILED(hr) ? line + " -> " + d3d9_result(hr) : line);
    if (SUCCEEDED(hr))
        d3d9_device_made(*ppReturnedDeviceInterface);
    return hr;
}

UINT D3D9_Headless_Direct3D::MaxSamples() { return d3d9_failures().max_samples; }

const char* D3D9_Headless_Direct3D::AdapterDescription() const { return "Orvex headless adapter"; }

void D3D9_Headless_Direct3D::DesktopSize(UINT* width, UINT* height)
{
    *width = 1920;
    *height = 1080;
}

HRESULT D3D9_Headless_Direct3D::MakeDevice(const D3DDEVICE_CREATION_PARAMETERS& creation,
                                           const D3DPRESENT_PARAMETERS& present, UINT,
                                           IDirect3DDevice9** device)
{
    *device = new D3D9_Headless_Device(this, creation, present);
    return D3D_OK;
}

extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion)
{
    record_call("Direct3DCreate9(" + std::to_string(SDKVersion) + ")");
    if (SDKVersion != D3D_SDK_VERSION)
        return nullptr;
    return new D3D9_Headless_Direct3D();
}
