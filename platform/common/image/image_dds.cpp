// DirectDraw surfaces: 2D textures, uncompressed (RGB, luminance, alpha masks of 8 to 32 bits a
// pixel) or DXT1/3/5 compressed, with the file's mip levels.
#include "common/image/image_bytes.h"
#include "common/image/image_decode.h"

#include <d3dx9.h>

namespace {

const size_t Dds_Header_End = 4 + 124;
const uint32_t Ddsd_Mipmapcount = 0x20000;
const uint32_t Ddpf_Alphapixels = 0x1;
const uint32_t Ddpf_Alpha = 0x2;
const uint32_t Ddpf_Fourcc = 0x4;
const uint32_t Ddpf_Rgb = 0x40;
const uint32_t Ddpf_Luminance = 0x20000;
const uint32_t Ddscaps2_Cubemap = 0x200;
const uint32_t Ddscaps2_Volume = 0x200000;

struct Dds_Pixel_Format {
    uint32_t flags;
    uint32_t fourcc;
    uint32_t bits;
    uint32_t masks[4];  // red, green, blue, alpha
};

// Converts one uncompressed level to B, G, R, A bytes.
void expand_level(const uint8_t* src, UINT w, UINT h, const Dds_Pixel_Format& pf, uint8_t* dst)
{
    const uint32_t bytes = pf.bits / 8;
    const bool luminance = (pf.flags & Ddpf_Luminance) != 0;
    const bool alpha_only = (pf.flags & (Ddpf_Rgb | Ddpf_Luminance)) == 0;
    const bool has_alpha = (pf.flags & (Ddpf_Alphapixels | Ddpf_Alpha)) != 0;
    for (size_t i = 0; i < (size_t)w * h; ++i, src += bytes, dst += 4) {
        uint32_t px = 0;
        for (uint32_t k = 0; k < bytes; ++k) px |= (uint32_t)src[k] << (8 * k);
        if (luminance) {
            dst[0] = dst[1] = dst[2] = masked_channel(px, pf.masks[0], 0);
        } else if (alpha_only) {
            dst[0] = dst[1] = dst[2] = 0;
        } else {
            dst[0] = masked_channel(px, pf.masks[2], 0);
            dst[1] = masked_channel(px, pf.masks[1], 0);
            dst[2] = masked_channel(px, pf.masks[0], 0);
        }
        dst[3] = has_alpha ? masked_channel(px, pf.masks[3], 0xFF) : 0xFF;
    }
}

}  // namespace

HRESULT decode_dds(const uint8_t* data, size_t size, Decoded_Image* out)
{
    if (size < Dds_Header_End || read_le32(data + 4) != 124) return D3DXERR_INVALIDDATA;
    const uint8_t* h = data + 4;
    const uint32_t flags = read_le32(h + 4);
    const UINT height = read_le32(h + 8);
    const UINT width = read_le32(h + 12);
    const uint32_t mip_count = read_le32(h + 24);
    Dds_Pixel_Format pf;
    pf.flags = read_le32(h + 76);
    pf.fourcc = read_le32(h + 80);
    pf.bits = read_le32(h + 84);
    for (int i = 0; i < 4; ++i) pf.masks[i] = read_le32(h + 88 + 4 * i);
    const uint32_t caps2 = read_le32(h + 108);

    if (width == 0 || height == 0 || width > Image_Max_Dimension || height > Image_Max_Dimension)
        return D3DXERR_INVALIDDATA;
    if (caps2 & (Ddscaps2_Cubemap | Ddscaps2_Volume)) return D3DXERR_INVALIDDATA;

    D3DFORMAT stored;
    if (pf.flags & Ddpf_Fourcc) {
        if (pf.fourcc != (uint32_t)D3DFMT_DXT1 && pf.fourcc != (uint32_t)D3DFMT_DXT3 &&
            pf.fourcc != (uint32_t)D3DFMT_DXT5)
            return D3DXERR_INVALIDDATA;
        stored = (D3DFORMAT)pf.fourcc;
    } else {
        if (pf.bits != 8 && pf.bits != 16 && pf.bits != 24 && pf.bits != 32) return D3DXERR_INVALIDDATA;
        if (!(pf.flags & (Ddpf_Rgb | Ddpf_Luminance | Ddpf_Alpha | Ddpf_Alphapixels))) return D3DXERR_INVALIDDATA;
        stored = D3DFMT_UNKNOWN;
    }

    const UINT full_chain = image_full_chain_length(width, height);
    UINT levels = (flags & Ddsd_Mipmapcount) && mip_count > 0 ? mip_count : 1;
    if (levels > full_chain) levels = full_chain;

    // Check that every level is in the file before allocating anything.
    size_t needed = 0;
    for (UINT l = 0, w = width, hh = height; l < levels; ++l, w = w > 1 ? w / 2 : 1, hh = hh > 1 ? hh / 2 : 1)
        needed += stored == D3DFMT_UNKNOWN ? (size_t)w * hh * (pf.bits / 8) : image_level_size(stored, w, hh);
    if (needed > size - Dds_Header_End) return D3DXERR_INVALIDDATA;

    const bool has_alpha = (pf.flags & (Ddpf_Alphapixels | Ddpf_Alpha)) && pf.masks[3] != 0;
    out->width = width;
    out->height = height;
    out->format = stored != D3DFMT_UNKNOWN ? stored : has_alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    const uint8_t* src = data + Dds_Header_End;
    for (UINT l = 0, w = width, hh = height; l < levels; ++l, w = w > 1 ? w / 2 : 1, hh = hh > 1 ? hh / 2 : 1) {
        if (stored != D3DFMT_UNKNOWN) {
            const size_t n = image_level_size(stored, w, hh);
            out->levels.emplace_back(src, src + n);
            src += n;
        } else {
            std::vector<uint8_t> level((size_t)w * hh * 4);
            expand_level(src, w, hh, pf, level.data());
            out->levels.push_back(std::move(level));
            src += (size_t)w * hh * (pf.bits / 8);
        }
    }
    return D3D_OK;
}
