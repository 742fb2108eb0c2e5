#pragma once
// IDirect3DTexture9 of both realizations: every mip level's pixels live in memory, in the
// texture's own format. LockRect hands out a level (or a rectangle of it, whole 4 x 4 blocks for
// DXT formats); UnlockRect advances Generation() so that a GL copy knows it is stale.
// Formats: A8R8G8B8, X8R8G8B8, A8B8G8R8, X8B8G8R8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, A8, L8,
// A8L8, DXT1, DXT3, DXT5.
#include "common/d3d9/d3d9_resource.h"

#include <vector>

class D3D9_Texture : public D3D9_Resource<IDirect3DTexture9> {
public:
    struct Mip {
        UINT width = 0;
        UINT height = 0;
        UINT pitch = 0;   // bytes from one row (of blocks, for DXT) to the next
        UINT rows = 0;    // rows of pixels, or of 4 x 4 blocks
        std::vector<BYTE> bytes;
        bool locked = false;
    };

    static bool FormatSupported(D3DFORMAT format);
    static bool FormatCompressed(D3DFORMAT format);
    // Levels a full chain from width x height down to 1 x 1 has.
    static UINT FullChain(UINT width, UINT height);

    D3D9_Texture(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage, D3DFORMAT format,
                 D3DPOOL pool);
    // Sizes and allocates the levels; D3DERR_INVALIDCALL for sizes or counts D3D9 refuses,
    // E_OUTOFMEMORY when the memory cannot be had. Called once, by the device.
    HRESULT Allocate(UINT width, UINT height, UINT levels);

    DWORD STDMETHODCALLTYPE SetLOD(DWORD LODNew) override;
    DWORD STDMETHODCALLTYPE GetLOD() override;
    DWORD STDMETHODCALLTYPE GetLevelCount() override;
    HRESULT STDMETHODCALLTYPE SetAutoGenFilterType(D3DTEXTUREFILTERTYPE FilterType) override;
    D3DTEXTUREFILTERTYPE STDMETHODCALLTYPE GetAutoGenFilterType() override;
    void STDMETHODCALLTYPE GenerateMipSubLevels() override;
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect,
                                       DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT Level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyRect(CONST RECT* pDirtyRect) override;

    D3DFORMAT Format() const { return format; }
    const std::vector<Mip>& Levels() const { return levels; }
    unsigned Generation() const { return generation; }

protected:
    bool Implements(REFIID riid) const override;

private:
    DWORD usage;
    D3DFORMAT format;
    D3DPOOL pool;
    DWORD lod = 0;
    D3DTEXTUREFILTERTYPE autogen_filter = D3DTEXF_LINEAR;
    std::vector<Mip> levels;
    unsigned generation = 1;
};
