// D3DXSaveSurfaceToFileA: the surface's pixels encoded by stb_image_write into memory, then
// written in one piece so that a failed save never leaves half a picture behind.
#include <d3dx9.h>

#include <string.h>

#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/file_path.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

void append_bytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

bool encode(D3DXIMAGE_FILEFORMAT format, int width, int height, const std::vector<unsigned char>& rgb,
            std::string* out)
{
    switch (format) {
    case D3DXIFF_BMP: return stbi_write_bmp_to_func(append_bytes, out, width, height, 3, rgb.data()) != 0;
    case D3DXIFF_PNG:
        return stbi_write_png_to_func(append_bytes, out, width, height, 3, rgb.data(), width * 3) != 0;
    case D3DXIFF_TGA: return stbi_write_tga_to_func(append_bytes, out, width, height, 3, rgb.data()) != 0;
    case D3DXIFF_JPG: return stbi_write_jpg_to_func(append_bytes, out, width, height, 3, rgb.data(), 95) != 0;
    default: return false;
    }
}

}  // namespace

HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                      IDirect3DSurface9* pSrcSurface, CONST PALETTEENTRY*, CONST RECT* pSrcRect)
{
    if (!pDestFile || !pDestFile[0] || !pSrcSurface)
        return D3DERR_INVALIDCALL;
    if (DestFormat != D3DXIFF_BMP && DestFormat != D3DXIFF_PNG && DestFormat != D3DXIFF_TGA &&
        DestFormat != D3DXIFF_JPG)
        return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    HRESULT hr = pSrcSurface->GetDesc(&desc);
    if (FAILED(hr))
        return hr;
    if (desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8)
        return D3DERR_INVALIDCALL;
    RECT whole = {0, 0, LONG(desc.Width), LONG(desc.Height)};
    const RECT r = pSrcRect ? *pSrcRect : whole;
    if (r.left < 0 || r.top < 0 || r.right > whole.right || r.bottom > whole.bottom || r.left >= r.right ||
        r.top >= r.bottom)
        return D3DERR_INVALIDCALL;

    D3DLOCKED_RECT locked;
    hr = pSrcSurface->LockRect(&locked, &r, D3DLOCK_READONLY);
    if (FAILED(hr))
        return hr;
    const int width = int(r.right - r.left);
    const int height = int(r.bottom - r.top);
    std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(locked.pBits) + size_t(y) * size_t(locked.Pitch);
        for (int x = 0; x < width; ++x) {
            DWORD colour;
            memcpy(&colour, row + size_t(x) * 4, 4);
            unsigned char* out = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            out[0] = (unsigned char)(colour >> 16);
            out[1] = (unsigned char)(colour >> 8);
            out[2] = (unsigned char)colour;
        }
    }
    pSrcSurface->UnlockRect();

    std::string file;
    if (!encode(DestFormat, width, height, rgb, &file))
        return E_FAIL;
    return replace_whole_file(resolve_path(pDestFile).c_str(), file) ? D3D_OK : E_FAIL;
}
