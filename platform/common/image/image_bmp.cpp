// Windows bitmaps: core and info headers (up to V5), 1/4/8-bit palettised, 16/24/32-bit direct
// colour, bottom-up or top-down, plain or with bit-field masks.
#include "common/image/image_bytes.h"
#include "common/image/image_decode.h"

#include <d3dx9.h>

#include <limits.h>

namespace {

const uint32_t Bi_Rgb = 0;
const uint32_t Bi_Bitfields = 3;
const uint32_t Bi_Alphabitfields = 6;

struct Bmp_Layout {
    int64_t width = 0;
    int64_t height = 0;
    bool top_down = false;
    uint32_t bpp = 0;
    uint32_t compression = Bi_Rgb;
    uint32_t colours_used = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    size_t palette_offset = 0;
    size_t palette_entry = 4;
};

bool read_layout(const uint8_t* data, size_t size, Bmp_Layout* b)
{
    if (size < 14 + 12) return false;
    const uint32_t header = read_le32(data + 14);
    if (header == 12) {
        b->width = read_le16(data + 18);
        b->height = read_le16(data + 20);
        b->bpp = read_le16(data + 24);
        b->palette_offset = 14 + 12;
        b->palette_entry = 3;
        return true;
    }
    if (header < 40 || header > 124 || 14 + (size_t)header > size) return false;
    b->width = (int32_t)read_le32(data + 18);
    const int32_t h = (int32_t)read_le32(data + 22);
    if (h == INT32_MIN) return false;
    b->top_down = h < 0;
    b->height = h < 0 ? -(int64_t)h : h;
    b->bpp = read_le16(data + 28);
    b->compression = read_le32(data + 30);
    b->colours_used = read_le32(data + 46);
    b->palette_offset = 14 + header;
    if (b->compression == Bi_Bitfields || b->compression == Bi_Alphabitfields) {
        const size_t count = b->compression == Bi_Alphabitfields ? 4 : 3;
        size_t at = 14 + 40;
        if (header == 40) {
            // The masks follow a plain info header, before the palette.
            if (at + 4 * count > size) return false;
            b->palette_offset += 4 * count;
        } else if (header < 40 + 4 * count) {
            return false;
        }
        for (size_t i = 0; i < count; ++i) b->masks[i] = read_le32(data + at + 4 * i);
        if (header >= 56) b->masks[3] = read_le32(data + at + 12);
    }
    return true;
}

}  // namespace

HRESULT decode_bmp(const uint8_t* data, size_t size, Decoded_Image* out)
{
    Bmp_Layout b;
    if (!read_layout(data, size, &b)) return D3DXERR_INVALIDDATA;
    if (b.width <= 0 || b.height <= 0 || b.width > Image_Max_Dimension || b.height > Image_Max_Dimension)
        return D3DXERR_INVALIDDATA;

    const bool palettised = b.bpp == 1 || b.bpp == 4 || b.bpp == 8;
    const bool masked = b.compression == Bi_Bitfields || b.compression == Bi_Alphabitfields;
    if (!palettised && b.bpp != 16 && b.bpp != 24 && b.bpp != 32) return D3DXERR_INVALIDDATA;
    if (b.compression != Bi_Rgb && !(masked && (b.bpp == 16 || b.bpp == 32))) return D3DXERR_INVALIDDATA;
    if (!masked) {
        if (b.bpp == 16) {
            b.masks[0] = 0x7C00; b.masks[1] = 0x03E0; b.masks[2] = 0x001F;
        } else if (b.bpp == 32) {
            b.masks[0] = 0xFF0000; b.masks[1] = 0xFF00; b.masks[2] = 0xFF;
        }
    }

    uint32_t palette_size = 0;
    if (palettised) {
        palette_size = b.colours_used ? b.colours_used : (1u << b.bpp);
        if (palette_size > 256) return D3DXERR_INVALIDDATA;
        if (b.palette_offset + (size_t)palette_size * b.palette_entry > size) return D3DXERR_INVALIDDATA;
    }

    const uint64_t stride = ((uint64_t)b.width * b.bpp + 31) / 32 * 4;
    const uint64_t bits = read_le32(data + 10);
    if (bits < b.palette_offset || bits > size || stride * b.height > size - bits) return D3DXERR_INVALIDDATA;

    const UINT w = (UINT)b.width, h = (UINT)b.height;
    std::vector<uint8_t> pixels((size_t)w * h * 4);
    for (UINT row = 0; row < h; ++row) {
        const uint8_t* src = data + bits + stride * row;
        uint8_t* dst = &pixels[(size_t)(b.top_down ? row : h - 1 - row) * w * 4];
        for (UINT x = 0; x < w; ++x, dst += 4) {
            if (palettised) {
                const uint32_t per_byte = 8 / b.bpp;
                const uint32_t shift = 8 - b.bpp * (x % per_byte + 1);
                const uint32_t index = (src[x / per_byte] >> shift) & ((1u << b.bpp) - 1);
                if (index < palette_size) {
                    const uint8_t* entry = data + b.palette_offset + index * b.palette_entry;
                    dst[0] = entry[0];
                    dst[1] = entry[1];
                    dst[2] = entry[2];
                } else {
                    dst[0] = dst[1] = dst[2] = 0;
                }
                dst[3] = 0xFF;
            } else if (b.bpp == 24) {
                dst[0] = src[x * 3];
                dst[1] = src[x * 3 + 1];
                dst[2] = src[x * 3 + 2];
                dst[3] = 0xFF;
            } else {
                const uint32_t px = b.bpp == 16 ? read_le16(src + x * 2) : read_le32(src + x * 4);
                dst[0] = masked_channel(px, b.masks[2], 0);
                dst[1] = masked_channel(px, b.masks[1], 0);
                dst[2] = masked_channel(px, b.masks[0], 0);
                dst[3] = masked_channel(px, b.masks[3], 0xFF);
            }
        }
    }
    out->width = w;
    out->height = h;
    out->format = b.masks[3] ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    out->levels.push_back(std::move(pixels));
    return D3D_OK;
}
