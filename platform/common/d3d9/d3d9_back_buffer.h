#pragma once
// IDirect3DSurface9 of both realizations for the device's back buffer (GetBackBuffer). It keeps
// no pixels of its own between locks: LockRect asks the device for what the back buffer holds
// at that moment.
#include "common/d3d9/d3d9_resource.h"

#include <functional>
#include <vector>

class D3D9_Back_Buffer : public D3D9_Resource<IDirect3DSurface9> {
public:
    // Fills the vector with width x height D3DCOLOR values, top row first; false when the device
    // cannot read its back buffer (its window is gone).
    using Reader = std::function<bool(std::vector<DWORD>*)>;

    D3D9_Back_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, UINT width, UINT height,
                     Reader reader);

    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;

protected:
    bool Implements(REFIID riid) const override;

private:
    UINT width;
    UINT height;
    Reader reader;
    std::vector<DWORD> pixels;
    bool locked = false;
};
