#include "common/d3d9/d3d9_texture.h"

#include <new>

namespace {

// Bytes per pixel, or per 4 x 4 block for compressed formats; 0 for formats we do not keep.
UINT unit_bytes(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8: case D3DFMT_X8R8G8B8: case D3DFMT_A8B8G8R8: case D3DFMT_X8B8G8R8: return 4;
    case D3DFMT_R5G6B5: case D3DFMT_X1R5G5B5: case D3DFMT_A1R5G5B5: case D3DFMT_A4R4G4B4: case D3DFMT_A8L8: return 2;
    case D3DFMT_A8: case D3DFMT_L8: return 1;
    case D3DFMT_DXT1: return 8;
    case D3DFMT_DXT3: case D3DFMT_DXT5: return 16;
    default: return 0;
    }
}

constexpr UINT max_side = 8192;

}  // namespace

bool D3D9_Texture::FormatSupported(D3DFORMAT format) { return unit_bytes(format) != 0; }

bool D3D9_Texture::FormatCompressed(D3DFORMAT format)
{
    return format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5;
}

UINT D3D9_Texture::FullChain(UINT width, UINT height)
{
    UINT levels = 1;
    while (width > 1 || height > 1) {
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        ++levels;
    }
    return levels;
}

D3D9_Texture::D3D9_Texture(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage,
                           D3DFORMAT format, D3DPOOL pool)
    : D3D9_Resource(device, registry, D3DRTYPE_TEXTURE), usage(usage), format(format), pool(pool)
{
}

HRESULT D3D9_Texture::Allocate(UINT width, UINT height, UINT count)
{
    if (width == 0 || height == 0 || width > max_side || height > max_side || !FormatSupported(format))
        return D3DERR_INVALIDCALL;
    const bool compressed = FormatCompressed(format);
    if (compressed && ((width % 4) != 0 || (height % 4) != 0))
        return D3DERR_INVALIDCALL;
    const UINT chain = FullChain(width, height);
    if (usage & D3DUSAGE_AUTOGENMIPMAP)
        count = 1;
    if (count == 0)
        count = chain;
    if (count > chain)
        return D3DERR_INVALIDCALL;
    try {
        levels.resize(count);
        for (Mip& level : levels) {
            level.width = width;
            level.height = height;
            const UINT columns = compressed ? (width + 3) / 4 : width;
            level.rows = compressed ? (height + 3) / 4 : height;
            level.pitch = (columns * unit_bytes(format) + 3) & ~3u;
            level.bytes.assign(size_t(level.pitch) * level.rows, 0);
            width = width > 1 ? width / 2 : 1;
            height = height > 1 ? height / 2 : 1;
        }
    } catch (const std::bad_alloc&) {
        levels.clear();
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

DWORD D3D9_Texture::SetLOD(DWORD LODNew)
{
    DWORD old = lod;
    if (pool == D3DPOOL_MANAGED)
        lod = LODNew < levels.size() ? LODNew : DWORD(levels.size() - 1);
    return old;
}

DWORD D3D9_Texture::GetLOD() { return lod; }

DWORD D3D9_Texture::GetLevelCount() { return DWORD(levels.size()); }

HRESULT D3D9_Texture::SetAutoGenFilterType(D3DTEXTUREFILTERTYPE FilterType)
{
    if (FilterType != D3DTEXF_POINT && FilterType != D3DTEXF_LINEAR)
        return D3DERR_INVALIDCALL;
    autogen_filter = FilterType;
    return D3D_OK;
}

D3DTEXTUREFILTERTYPE D3D9_Texture::GetAutoGenFilterType() { return autogen_filter; }

void D3D9_Texture::GenerateMipSubLevels() {}

HRESULT D3D9_Texture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc)
{
    if (!pDesc || Level >= levels.size())
        return D3DERR_INVALIDCALL;
    pDesc->Format = format;
    pDesc->Type = D3DRTYPE_SURFACE;
    pDesc->Usage = usage;
    pDesc->Pool = pool;
    pDesc->MultiSampleType = D3DMULTISAMPLE_NONE;
    pDesc->MultiSampleQuality = 0;
    pDesc->Width = levels[Level].width;
    pDesc->Height = levels[Level].height;
    return D3D_OK;
}

HRESULT D3D9_Texture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD)
{
    if (!pLockedRect || Level >= levels.size())
        return D3DERR_INVALIDCALL;
    pLockedRect->pBits = nullptr;
    pLockedRect->Pitch = 0;
    Mip& level = levels[Level];
    if (level.locked)
        return D3DERR_INVALIDCALL;
    size_t offset = 0;
    if (pRect) {
        const RECT& r = *pRect;
        if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || UINT(r.right) > level.width ||
            UINT(r.bottom) > level.height)
            return D3DERR_INVALIDCALL;
        if (FormatCompressed(format)) {
            if ((r.left % 4) != 0 || (r.top % 4) != 0)
                return D3DERR_INVALIDCALL;
            offset = size_t(r.top / 4) * level.pitch + size_t(r.left / 4) * unit_bytes(format);
        } else {
            offset = size_t(r.top) * level.pitch + size_t(r.left) * unit_bytes(format);
        }
    }
    level.locked = true;
    pLockedRect->pBits = level.bytes.data() + offset;
    pLockedRect->Pitch = INT(level.pitch);
    return D3D_OK;
}

HRESULT D3D9_Texture::UnlockRect(UINT Level)
{
    if (Level >= levels.size() || !levels[Level].locked)
        return D3DERR_INVALIDCALL;
    levels[Level].locked = false;
    ++generation;
    return D3D_OK;
}

HRESULT D3D9_Texture::AddDirtyRect(CONST RECT*) { return D3D_OK; }

bool D3D9_Texture::Implements(REFIID riid) const
{
    return riid == IID_IDirect3DTexture9 || riid == IID_IDirect3DBaseTexture9 || riid == IID_IDirect3DResource9 ||
           d3d9_is_iunknown(riid);
}
