// Picks the reader for an image by its first bytes.
#include "common/image/image_decode.h"

#include <d3dx9.h>

#include <string.h>

static bool starts_with(const uint8_t* data, size_t size, const char* magic)
{
    const size_t n = strlen(magic);
    return size >= n && memcmp(data, magic, n) == 0;
}

HRESULT decode_image(const uint8_t* data, size_t size, Decoded_Image* out)
{
    *out = Decoded_Image();
    if (!data || size == 0) return D3DXERR_INVALIDDATA;
    HRESULT hr;
    if (starts_with(data, size, "BM"))
        hr = decode_bmp(data, size, out);
    else if (starts_with(data, size, "DDS "))
        hr = decode_dds(data, size, out);
    else if (starts_with(data, size, "\xFF\xD8"))
        hr = decode_jpeg(data, size, out);
    else
        hr = decode_png_tga(data, size, out);
    if (FAILED(hr)) *out = Decoded_Image();
    return hr;
}

size_t image_level_size(D3DFORMAT format, UINT w, UINT h)
{
    if (format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5) {
        const size_t block = format == D3DFMT_DXT1 ? 8 : 16;
        return ((size_t)(w + 3) / 4) * ((size_t)(h + 3) / 4) * block;
    }
    return (size_t)w * h * 4;
}

UINT image_full_chain_length(UINT w, UINT h)
{
    UINT levels = 1;
    while (w > 1 || h > 1) {
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        ++levels;
    }
    return levels;
}
