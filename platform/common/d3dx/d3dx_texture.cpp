// D3DXCreateTextureFromFileA / FromFileInMemory: decode, complete the mip chain, and fill a
// texture through the device's public interface, so both realizations share it.
#include <d3dx9.h>

#include "common/d3dx/d3dx_loaders.h"
#include "foundation/file_io.h"
#include "common/image/image_decode.h"
#include "common/image/image_dxt.h"
#include "common/image/image_mips.h"

#include <string.h>
#include <string>

namespace {

// No image file we read may be bigger than this.
const size_t Image_File_Limit = 256u << 20;

bool compressed(D3DFORMAT format)
{
    return format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5;
}

// For a device that cannot hold compressed textures.
void decompress_levels(Decoded_Image* image)
{
    UINT w = image->width, h = image->height;
    for (std::vector<uint8_t>& level : image->levels) {
        std::vector<uint8_t> pixels((size_t)w * h * 4);
        dxt_decode(image->format, level.data(), w, h, pixels.data());
        level = std::move(pixels);
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    image->format = D3DFMT_A8R8G8B8;
}

HRESULT fill_level(IDirect3DTexture9* texture, UINT level, const Decoded_Image& image, UINT w, UINT h)
{
    D3DLOCKED_RECT locked;
    HRESULT hr = texture->LockRect(level, &locked, NULL, 0);
    if (FAILED(hr)) return hr;
    const std::vector<uint8_t>& src = image.levels[level];
    size_t row_bytes = (size_t)w * 4;
    UINT rows = h;
    if (compressed(image.format)) {
        row_bytes = ((size_t)(w + 3) / 4) * (image.format == D3DFMT_DXT1 ? 8 : 16);
        rows = (h + 3) / 4;
    }
    uint8_t* dst = static_cast<uint8_t*>(locked.pBits);
    for (UINT r = 0; r < rows; ++r) memcpy(dst + (size_t)r * locked.Pitch, src.data() + r * row_bytes, row_bytes);
    return texture->UnlockRect(level);
}

HRESULT create_texture(IDirect3DDevice9* device, Decoded_Image& image, IDirect3DTexture9** out)
{
    complete_mip_chain(&image);
    const UINT levels = (UINT)image.levels.size();
    IDirect3DTexture9* texture = NULL;
    HRESULT hr = device->CreateTexture(image.width, image.height, levels, 0, image.format, D3DPOOL_MANAGED,
                                       &texture, NULL);
    if (FAILED(hr) && compressed(image.format)) {
        decompress_levels(&image);
        hr = device->CreateTexture(image.width, image.height, levels, 0, image.format, D3DPOOL_MANAGED, &texture,
                                   NULL);
    }
    if (FAILED(hr)) return hr;
    UINT w = image.width, h = image.height;
    for (UINT l = 0; l < levels; ++l) {
        hr = fill_level(texture, l, image, w, h);
        if (FAILED(hr)) {
            texture->Release();
            return hr;
        }
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    *out = texture;
    return D3D_OK;
}

}  // namespace

HRESULT WINAPI D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                                 IDirect3DTexture9** ppTexture)
{
    if (!pDevice || !pSrcData || !ppTexture) return D3DERR_INVALIDCALL;
    Decoded_Image image;
    HRESULT hr = decode_image(static_cast<const uint8_t*>(pSrcData), SrcDataSize, &image);
    if (FAILED(hr)) return hr;
    return create_texture(pDevice, image, ppTexture);
}

HRESULT d3dx_create_texture_from_file(IDirect3DDevice9* device, LPCSTR path, IDirect3DTexture9** texture)
{
    if (!device || !path || !texture) return D3DERR_INVALIDCALL;
    std::string bytes;
    if (!read_whole_file(path, Image_File_Limit, bytes)) return D3DXERR_INVALIDDATA;
    return D3DXCreateTextureFromFileInMemory(device, bytes.data(), (UINT)bytes.size(), texture);
}
