#include "d3d9_headless_texture.h"

#include "call_log.h"
#include "d3d9_log_format.h"
#include "headless_d3d9.h"

using namespace orvex_headless;

D3D9_Headless_Texture::D3D9_Headless_Texture(IDirect3DDevice9* device, D3D9_Resource_Registry* registry,
                                             DWORD usage, D3DFORMAT format, D3DPOOL pool, std::string label)
    : D3D9_Texture(device, registry, usage, format, pool), D3D9_Headless_Label(std::move(label))
{
}

HRESULT D3D9_Headless_Texture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD Flags)
{
    std::string line = label + " LockRect(" + std::to_string(Level) + ", " + d3d9_rect(pRect) + ", " +
                       d3d9_lock_flags(Flags) + ")";
    HRESULT hr = d3d9_failures().lock_rect;
    if (SUCCEEDED(hr))
        hr = D3D9_Texture::LockRect(Level, pLockedRect, pRect, Flags);
    else if (pLockedRect)
        *pLockedRect = D3DLOCKED_RECT{0, nullptr};
    record_call(FAILED(hr) ? line + " -> " + d3d9_result(hr) : line);
    return hr;
}

HRESULT D3D9_Headless_Texture::UnlockRect(UINT Level)
{
    const HRESULT hr = D3D9_Texture::UnlockRect(Level);
    const std::string line = label + " UnlockRect(" + std::to_string(Level) + ")";
    record_call(FAILED(hr) ? line + " -> " + d3d9_result(hr) : line);
    return hr;
}
