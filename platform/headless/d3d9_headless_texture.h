#pragma once
// A headless texture: keeps its pixels, logs LockRect/UnlockRect, fails LockRect on request.
#include "d3d9_headless_label.h"
#include "common/d3d9/d3d9_texture.h"

class D3D9_Headless_Texture : public D3D9_Texture, public D3D9_Headless_Label {
public:
    D3D9_Headless_Texture(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, std::string label);

    HRESULT STDMETHODCALLTYPE LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect,
                                       DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT Level) override;
};
