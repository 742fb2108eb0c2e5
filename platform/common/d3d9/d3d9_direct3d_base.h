#pragma once
// The Direct3D object both realizations share: one adapter, its capabilities and formats, and
// device creation up to the point where the realization makes the device.
//
// CreateDevice completes the present parameters as D3D9 does (and writes them back): a width or
// height of 0 takes the device window's client size (GetClientRect), D3DFMT_UNKNOWN the
// X8R8G8B8 desktop format, a back-buffer count of 0 one buffer. It answers D3DERR_INVALIDCALL for
// a missing window, adapter other than 0, a bad swap effect or depth format, and
// D3DERR_NOTAVAILABLE for a device type other than HAL or a multisample type the realization
// cannot make. Multisample types 2..16 are that many samples; D3DMULTISAMPLE_NONMASKABLE with
// quality q is 2^(q+1) samples. Every refusal, here or in the realization, writes one line to
// stderr saying why ("CreateDevice: multisample type 8 is above this GL's limit of 4"): a
// program that ends quietly on a failed device still leaves the reason behind.
#include <d3d9.h>

class D3D9_Direct3D_Base : public IDirect3D9 {
public:
    D3D9_Direct3D_Base() = default;
    D3D9_Direct3D_Base(const D3D9_Direct3D_Base&) = delete;
    D3D9_Direct3D_Base& operator=(const D3D9_Direct3D_Base&) = delete;
    virtual ~D3D9_Direct3D_Base() = default;

    // Samples a present-parameters multisample type asks for (1 for none), or 0 when the type is
    // not one D3D9 knows or the realization cannot make it.
    UINT SamplesFor(D3DMULTISAMPLE_TYPE type, DWORD quality);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT Adapter, DWORD Flags,
                                                   D3DADAPTER_IDENTIFIER9* pIdentifier) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT Adapter, D3DDEVTYPE DevType, D3DFORMAT AdapterFormat,
                                              D3DFORMAT BackBufferFormat, BOOL bWindowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                                DWORD Usage, D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType,
                                                         D3DFORMAT SurfaceFormat, BOOL Windowed,
                                                         D3DMULTISAMPLE_TYPE MultiSampleType,
                                                         DWORD* pQualityLevels) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                                     D3DFORMAT RenderTargetFormat,
                                                     D3DFORMAT DepthStencilFormat) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                           DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pPresentationParameters,
                                           IDirect3DDevice9** ppReturnedDeviceInterface) override;

protected:
    // The most samples per pixel the realization can render with.
    virtual UINT MaxSamples() = 0;
    virtual const char* AdapterDescription() const = 0;
    // The desktop: its size (the display mode).
    virtual void DesktopSize(UINT* width, UINT* height) = 0;
    // Who sets the sample limit, for the refusal line: "adapter's" unless the realization knows.
    virtual const char* SampleLimitOwner() const;
    // Writes "CreateDevice: " and why (a printf format and its values) as one stderr line;
    // answers result.
    static HRESULT Refuse(HRESULT result, const char* why, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // The refusal of a multisample setting the realization cannot make within limit samples.
    HRESULT RefuseSamples(D3DMULTISAMPLE_TYPE type, DWORD quality, UINT limit);
    // Makes the device for completed, checked parameters; a failure writes its reason too.
    virtual HRESULT MakeDevice(const D3DDEVICE_CREATION_PARAMETERS& creation, const D3DPRESENT_PARAMETERS& present,
                               UINT samples, IDirect3DDevice9** device) = 0;

private:
    ULONG refs = 1;
};
