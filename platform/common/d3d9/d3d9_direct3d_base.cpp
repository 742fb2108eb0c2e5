#include "common/d3d9/d3d9_direct3d_base.h"

#include "common/d3d9/d3d9_resource.h"
#include "common/d3d9/d3d9_texture.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

bool depth_format(D3DFORMAT format)
{
    return format == D3DFMT_D24S8 || format == D3DFMT_D24X8 || format == D3DFMT_D16 || format == D3DFMT_D32;
}

bool back_buffer_format(D3DFORMAT format)
{
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
}

}  // namespace

HRESULT D3D9_Direct3D_Base::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IDirect3D9 && !d3d9_is_iunknown(riid))
        return E_NOINTERFACE;
    *ppvObject = static_cast<IDirect3D9*>(this);
    AddRef();
    return S_OK;
}

ULONG D3D9_Direct3D_Base::AddRef() { return ++refs; }

ULONG D3D9_Direct3D_Base::Release()
{
    if (refs == 0)
        return 0;
    const ULONG left = --refs;
    if (left == 0)
        delete this;
    return left;
}

UINT D3D9_Direct3D_Base::GetAdapterCount() { return 1; }

HRESULT D3D9_Direct3D_Base::GetAdapterIdentifier(UINT Adapter, DWORD, D3DADAPTER_IDENTIFIER9* pIdentifier)
{
    if (Adapter != D3DADAPTER_DEFAULT || !pIdentifier)
        return D3DERR_INVALIDCALL;
    std::memset(pIdentifier, 0, sizeof *pIdentifier);
    std::snprintf(pIdentifier->Driver, sizeof pIdentifier->Driver, "orvex-platform");
    std::snprintf(pIdentifier->Description, sizeof pIdentifier->Description, "%s", AdapterDescription());
    std::snprintf(pIdentifier->DeviceName, sizeof pIdentifier->DeviceName, "\\\\.\\DISPLAY1");
    return D3D_OK;
}

HRESULT D3D9_Direct3D_Base::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode)
{
    if (Adapter != D3DADAPTER_DEFAULT || !pMode)
        return D3DERR_INVALIDCALL;
    DesktopSize(&pMode->Width, &pMode->Height);
    pMode->RefreshRate = 60;
    pMode->Format = D3DFMT_X8R8G8B8;
    return D3D_OK;
}

HRESULT D3D9_Direct3D_Base::CheckDeviceType(UINT Adapter, D3DDEVTYPE DevType, D3DFORMAT AdapterFormat,
                                            D3DFORMAT BackBufferFormat, BOOL)
{
    if (Adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    if (DevType != D3DDEVTYPE_HAL || AdapterFormat != D3DFMT_X8R8G8B8 ||
        !(back_buffer_format(BackBufferFormat) || BackBufferFormat == D3DFMT_UNKNOWN))
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT D3D9_Direct3D_Base::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT, DWORD Usage,
                                              D3DRESOURCETYPE RType, D3DFORMAT CheckFormat)
{
    if (Adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    if (DeviceType != D3DDEVTYPE_HAL)
        return D3DERR_NOTAVAILABLE;
    if (Usage & D3DUSAGE_DEPTHSTENCIL)
        return depth_format(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (Usage & D3DUSAGE_RENDERTARGET)
        return RType == D3DRTYPE_SURFACE && back_buffer_format(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (RType == D3DRTYPE_TEXTURE)
        return D3D9_Texture::FormatSupported(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (RType == D3DRTYPE_VERTEXBUFFER || RType == D3DRTYPE_INDEXBUFFER)
        return D3D_OK;
    return D3DERR_NOTAVAILABLE;
}

UINT D3D9_Direct3D_Base::SamplesFor(D3DMULTISAMPLE_TYPE type, DWORD quality)
{
    const UINT max = MaxSamples();
    if (type == D3DMULTISAMPLE_NONE)
        return quality == 0 ? 1 : 0;
    if (type == D3DMULTISAMPLE_NONMASKABLE) {
        if (quality >= 4)
            return 0;
        const UINT samples = 2u << quality;
        return samples <= max ? samples : 0;
    }
    if (type < D3DMULTISAMPLE_2_SAMPLES || type > D3DMULTISAMPLE_16_SAMPLES || quality != 0)
        return 0;
    return UINT(type) <= max ? UINT(type) : 0;
}

HRESULT D3D9_Direct3D_Base::CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT,
                                                       BOOL, D3DMULTISAMPLE_TYPE MultiSampleType,
                                                       DWORD* pQualityLevels)
{
    if (Adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    if (pQualityLevels)
        *pQualityLevels = 0;
    if (DeviceType != D3DDEVTYPE_HAL || SamplesFor(MultiSampleType, 0) == 0)
        return D3DERR_NOTAVAILABLE;
    DWORD levels = 1;
    if (MultiSampleType == D3DMULTISAMPLE_NONMASKABLE)
        while (levels < 4 && SamplesFor(MultiSampleType, levels) != 0)
            ++levels;
    if (pQualityLevels)
        *pQualityLevels = levels;
    return D3D_OK;
}

HRESULT D3D9_Direct3D_Base::CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT,
                                                   D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat)
{
    if (Adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    if (DeviceType != D3DDEVTYPE_HAL || !back_buffer_format(RenderTargetFormat) || !depth_format(DepthStencilFormat))
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT D3D9_Direct3D_Base::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps)
{
    if (Adapter != D3DADAPTER_DEFAULT || !pCaps)
        return D3DERR_INVALIDCALL;
    if (DeviceType != D3DDEVTYPE_HAL)
        return D3DERR_NOTAVAILABLE;
    D3DCAPS9& c = *pCaps;
    std::memset(&c, 0, sizeof c);
    c.DeviceType = D3DDEVTYPE_HAL;
    c.AdapterOrdinal = 0;
    c.Caps2 = D3DCAPS2_DYNAMICTEXTURES;
    c.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    c.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_DRAWPRIMITIVES2EX |
                D3DDEVCAPS_TEXTUREVIDEOMEMORY;
    c.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                          D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP | D3DPMISCCAPS_SEPARATEALPHABLEND;
    c.RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_ANISOTROPY | D3DPRASTERCAPS_SCISSORTEST |
                   D3DPRASTERCAPS_MIPMAPLODBIAS | D3DPRASTERCAPS_DEPTHBIAS | D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS |
                   D3DPRASTERCAPS_MULTISAMPLE_TOGGLE;
    c.ZCmpCaps = c.AlphaCmpCaps = 0xFF;
    c.SrcBlendCaps = c.DestBlendCaps = 0x1FFF;
    c.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    c.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MINFANISOTROPIC |
                          D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT |
                          D3DPTFILTERCAPS_MAGFLINEAR | D3DPTFILTERCAPS_MAGFANISOTROPIC;
    c.TextureAddressCaps = 0x1F;
    c.MaxTextureWidth = c.MaxTextureHeight = 8192;
    c.MaxTextureRepeat = 8192;
    c.MaxTextureAspectRatio = 8192;
    c.MaxAnisotropy = 16;
    c.MaxVertexW = 1e10f;
    c.GuardBandLeft = c.GuardBandTop = -32768.0f;
    c.GuardBandRight = c.GuardBandBottom = 32768.0f;
    c.FVFCaps = 8;
    c.TextureOpCaps = 0x03FFFFFF;
    c.MaxTextureBlendStages = 8;
    c.MaxSimultaneousTextures = 8;
    c.MaxActiveLights = 8;
    c.MaxUserClipPlanes = 0;
    c.MaxPointSize = 64.0f;
    c.MaxPrimitiveCount = 0x00FFFFFF;
    c.MaxVertexIndex = 0x00FFFFFF;
    c.MaxStreams = 16;
    c.MaxStreamStride = 255;
    c.VertexShaderVersion = D3DVS_VERSION(3, 0);
    c.MaxVertexShaderConst = 256;
    c.PixelShaderVersion = D3DPS_VERSION(3, 0);
    c.PixelShader1xMaxValue = 65504.0f;
    c.NumberOfAdaptersInGroup = 1;
    c.NumSimultaneousRTs = 1;
    c.MaxVShaderInstructionsExecuted = 65535;
    c.MaxPShaderInstructionsExecuted = 65535;
    c.MaxVertexShader30InstructionSlots = 32768;
    c.MaxPixelShader30InstructionSlots = 32768;
    return D3D_OK;
}

HRESULT D3D9_Direct3D_Base::Refuse(HRESULT result, const char* why, ...)
{
    std::va_list arguments;
    va_start(arguments, why);
    std::fputs("CreateDevice: ", stderr);
    std::vfprintf(stderr, why, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
    return result;
}

HRESULT D3D9_Direct3D_Base::RefuseSamples(D3DMULTISAMPLE_TYPE type, DWORD quality, UINT limit)
{
    const bool counted = type >= D3DMULTISAMPLE_2_SAMPLES && type <= D3DMULTISAMPLE_16_SAMPLES && quality == 0;
    if (counted && UINT(type) > limit)
        return Refuse(D3DERR_NOTAVAILABLE, "multisample type %d is above this %s limit of %u", int(type),
                      SampleLimitOwner(), limit);
    if (type == D3DMULTISAMPLE_NONMASKABLE && quality < 4 && (2u << quality) > limit)
        return Refuse(D3DERR_NOTAVAILABLE, "multisample quality %lu (%u samples) is above this %s limit of %u",
                      (unsigned long)quality, 2u << quality, SampleLimitOwner(), limit);
    return Refuse(D3DERR_NOTAVAILABLE, "multisample type %d with quality %lu is not offered", int(type),
                  (unsigned long)quality);
}

const char* D3D9_Direct3D_Base::SampleLimitOwner() const { return "adapter's"; }

HRESULT D3D9_Direct3D_Base::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                         DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pPresentationParameters,
                                         IDirect3DDevice9** ppReturnedDeviceInterface)
{
    if (!ppReturnedDeviceInterface)
        return Refuse(D3DERR_INVALIDCALL, "no place for the device");
    *ppReturnedDeviceInterface = nullptr;
    if (Adapter != D3DADAPTER_DEFAULT)
        return Refuse(D3DERR_INVALIDCALL, "adapter %u does not exist; there is only adapter 0", Adapter);
    if (!pPresentationParameters)
        return Refuse(D3DERR_INVALIDCALL, "no present parameters");
    if (DeviceType != D3DDEVTYPE_HAL)
        return Refuse(D3DERR_NOTAVAILABLE, "device type %d is not offered; only the HAL device is", int(DeviceType));
    const DWORD processing = BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                              D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
        processing != D3DCREATE_MIXED_VERTEXPROCESSING)
        return Refuse(D3DERR_INVALIDCALL, "behaviour 0x%lx names no single kind of vertex processing",
                      (unsigned long)BehaviorFlags);

    D3DPRESENT_PARAMETERS pp = *pPresentationParameters;
    HWND window = pp.hDeviceWindow ? pp.hDeviceWindow : hFocusWindow;
    if (!window || !IsWindow(window))
        return Refuse(D3DERR_INVALIDCALL, "no device window");
    if (pp.SwapEffect < D3DSWAPEFFECT_DISCARD || pp.SwapEffect > D3DSWAPEFFECT_COPY)
        return Refuse(D3DERR_INVALIDCALL, "swap effect %d is not one of 1 to 3", int(pp.SwapEffect));
    if (pp.BackBufferCount > 3)
        return Refuse(D3DERR_INVALIDCALL, "%u back buffers asked for, 3 at most", pp.BackBufferCount);
    if (pp.EnableAutoDepthStencil && !depth_format(pp.AutoDepthStencilFormat))
        return Refuse(D3DERR_INVALIDCALL, "depth format %d is not offered", int(pp.AutoDepthStencilFormat));
    if (pp.BackBufferFormat == D3DFMT_UNKNOWN)
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    if (!back_buffer_format(pp.BackBufferFormat))
        return Refuse(D3DERR_NOTAVAILABLE, "back-buffer format %d is not offered", int(pp.BackBufferFormat));
    if (pp.BackBufferWidth == 0 || pp.BackBufferHeight == 0) {
        RECT client{};
        GetClientRect(window, &client);
        if (pp.BackBufferWidth == 0)
            pp.BackBufferWidth = UINT(client.right > client.left ? client.right - client.left : 1);
        if (pp.BackBufferHeight == 0)
            pp.BackBufferHeight = UINT(client.bottom > client.top ? client.bottom - client.top : 1);
    }
    if (pp.BackBufferWidth > 16384 || pp.BackBufferHeight > 16384)
        return Refuse(D3DERR_INVALIDCALL, "a back buffer of %u x %u is above the limit of 16384",
                      pp.BackBufferWidth, pp.BackBufferHeight);
    if (pp.BackBufferCount == 0)
        pp.BackBufferCount = 1;
    const UINT samples = SamplesFor(pp.MultiSampleType, pp.MultiSampleQuality);
    if (samples == 0)
        return RefuseSamples(pp.MultiSampleType, pp.MultiSampleQuality, MaxSamples());
    if (samples > 1 && pp.SwapEffect != D3DSWAPEFFECT_DISCARD)
        return Refuse(D3DERR_INVALIDCALL, "multisampling needs the discard swap effect");
    pp.hDeviceWindow = window;

    D3DDEVICE_CREATION_PARAMETERS creation{Adapter, DeviceType, hFocusWindow, BehaviorFlags};
    const HRESULT hr = MakeDevice(creation, pp, samples, ppReturnedDeviceInterface);
    if (FAILED(hr))
        return hr;
    *pPresentationParameters = pp;
    return D3D_OK;
}
