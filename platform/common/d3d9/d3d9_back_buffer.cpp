#include "common/d3d9/d3d9_back_buffer.h"

#include <utility>

D3D9_Back_Buffer::D3D9_Back_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, UINT width,
                                   UINT height, Reader reader)
    : D3D9_Resource(device, registry, D3DRTYPE_SURFACE), width(width), height(height), reader(std::move(reader))
{
}

HRESULT D3D9_Back_Buffer::GetDesc(D3DSURFACE_DESC* pDesc)
{
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    pDesc->Format = D3DFMT_X8R8G8B8;
    pDesc->Type = D3DRTYPE_SURFACE;
    pDesc->Usage = D3DUSAGE_RENDERTARGET;
    pDesc->Pool = D3DPOOL_DEFAULT;
    pDesc->MultiSampleType = D3DMULTISAMPLE_NONE;
    pDesc->MultiSampleQuality = 0;
    pDesc->Width = width;
    pDesc->Height = height;
    return D3D_OK;
}

HRESULT D3D9_Back_Buffer::LockRect(D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD)
{
    if (!pLockedRect || locked)
        return D3DERR_INVALIDCALL;
    RECT whole = {0, 0, LONG(width), LONG(height)};
    const RECT r = pRect ? *pRect : whole;
    if (r.left < 0 || r.top < 0 || r.right > whole.right || r.bottom > whole.bottom || r.left >= r.right ||
        r.top >= r.bottom)
        return D3DERR_INVALIDCALL;
    pixels.clear();
    if (!reader(&pixels) || pixels.size() != size_t(width) * height)
        return D3DERR_INVALIDCALL;
    locked = true;
    pLockedRect->Pitch = INT(width * 4);
    pLockedRect->pBits = pixels.data() + size_t(r.top) * width + size_t(r.left);
    return D3D_OK;
}

HRESULT D3D9_Back_Buffer::UnlockRect()
{
    if (!locked)
        return D3DERR_INVALIDCALL;
    locked = false;
    return D3D_OK;
}

bool D3D9_Back_Buffer::Implements(REFIID riid) const
{
    return d3d9_is_iunknown(riid) || riid == IID_IDirect3DResource9 || riid == IID_IDirect3DSurface9;
}
