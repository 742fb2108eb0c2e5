// DXT block decoding by the format's definition; encoding through stb_dxt.
#include "common/image/image_dxt.h"

#include "common/image/image_bytes.h"
#include "common/image/image_decode.h"

#include <string.h>

#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_dxt.h>
#pragma GCC diagnostic pop

namespace {

void expand_565(uint32_t c, uint8_t* bgra)
{
    const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    bgra[0] = (uint8_t)((b << 3) | (b >> 2));
    bgra[1] = (uint8_t)((g << 2) | (g >> 4));
    bgra[2] = (uint8_t)((r << 3) | (r >> 2));
    bgra[3] = 0xFF;
}

// 16 pixels of B, G, R, A from a colour block; DXT1 alone knows the three-colour mode.
void decode_colour_block(const uint8_t* block, bool dxt1, uint8_t out[16][4])
{
    uint8_t palette[4][4];
    const uint32_t c0 = read_le16(block), c1 = read_le16(block + 2);
    expand_565(c0, palette[0]);
    expand_565(c1, palette[1]);
    for (int k = 0; k < 3; ++k) {
        if (!dxt1 || c0 > c1) {
            palette[2][k] = (uint8_t)((2 * palette[0][k] + palette[1][k] + 1) / 3);
            palette[3][k] = (uint8_t)((palette[0][k] + 2 * palette[1][k] + 1) / 3);
        } else {
            palette[2][k] = (uint8_t)((palette[0][k] + palette[1][k]) / 2);
            palette[3][k] = 0;
        }
    }
    palette[2][3] = 0xFF;
    palette[3][3] = (!dxt1 || c0 > c1) ? 0xFF : 0;
    const uint32_t indices = read_le32(block + 4);
    for (int i = 0; i < 16; ++i) memcpy(out[i], palette[(indices >> (2 * i)) & 3], 4);
}

void decode_explicit_alpha(const uint8_t* block, uint8_t out[16][4])
{
    for (int i = 0; i < 16; ++i) out[i][3] = (uint8_t)(((block[i / 2] >> (4 * (i % 2))) & 0xF) * 17);
}

void decode_interpolated_alpha(const uint8_t* block, uint8_t out[16][4])
{
    uint32_t a[8];
    a[0] = block[0];
    a[1] = block[1];
    if (a[0] > a[1]) {
        for (int i = 1; i < 7; ++i) a[i + 1] = ((7 - i) * a[0] + i * a[1] + 3) / 7;
    } else {
        for (int i = 1; i < 5; ++i) a[i + 1] = ((5 - i) * a[0] + i * a[1] + 2) / 5;
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int k = 0; k < 6; ++k) bits |= (uint64_t)block[2 + k] << (8 * k);
    for (int i = 0; i < 16; ++i) out[i][3] = (uint8_t)a[(bits >> (3 * i)) & 7];
}

size_t block_bytes(D3DFORMAT format) { return format == D3DFMT_DXT1 ? 8 : 16; }

}  // namespace

void dxt_decode(D3DFORMAT format, const uint8_t* blocks, UINT w, UINT h, uint8_t* bgra)
{
    const UINT bw = (w + 3) / 4, bh = (h + 3) / 4;
    for (UINT by = 0; by < bh; ++by)
        for (UINT bx = 0; bx < bw; ++bx, blocks += block_bytes(format)) {
            uint8_t px[16][4];
            if (format == D3DFMT_DXT1) {
                decode_colour_block(blocks, true, px);
            } else {
                decode_colour_block(blocks + 8, false, px);
                if (format == D3DFMT_DXT3)
                    decode_explicit_alpha(blocks, px);
                else
                    decode_interpolated_alpha(blocks, px);
            }
            for (UINT y = 0; y < 4 && by * 4 + y < h; ++y)
                for (UINT x = 0; x < 4 && bx * 4 + x < w; ++x)
                    memcpy(bgra + (((size_t)(by * 4 + y) * w + bx * 4 + x) * 4), px[y * 4 + x], 4);
        }
}

void dxt_encode(D3DFORMAT format, const uint8_t* bgra, UINT w, UINT h, std::vector<uint8_t>* out)
{
    out->assign(image_level_size(format, w, h), 0);
    uint8_t* dst = out->data();
    const UINT bw = (w + 3) / 4, bh = (h + 3) / 4;
    for (UINT by = 0; by < bh; ++by)
        for (UINT bx = 0; bx < bw; ++bx, dst += block_bytes(format)) {
            // stb_dxt takes R, G, B, A; edge blocks repeat the last row and column.
            unsigned char rgba[16 * 4];
            for (UINT y = 0; y < 4; ++y)
                for (UINT x = 0; x < 4; ++x) {
                    const UINT sx = bx * 4 + x < w ? bx * 4 + x : w - 1;
                    const UINT sy = by * 4 + y < h ? by * 4 + y : h - 1;
                    const uint8_t* p = bgra + ((size_t)sy * w + sx) * 4;
                    unsigned char* q = rgba + (y * 4 + x) * 4;
                    q[0] = p[2];
                    q[1] = p[1];
                    q[2] = p[0];
                    q[3] = p[3];
                }
            if (format == D3DFMT_DXT1) {
                stb_compress_dxt_block(dst, rgba, 0, STB_DXT_HIGHQUAL);
            } else if (format == D3DFMT_DXT5) {
                stb_compress_dxt_block(dst, rgba, 1, STB_DXT_HIGHQUAL);
            } else {
                for (int i = 0; i < 16; ++i) {
                    const uint8_t a4 = (uint8_t)((rgba[i * 4 + 3] * 15 + 127) / 255);
                    dst[i / 2] |= (uint8_t)(a4 << (4 * (i % 2)));
                }
                stb_compress_dxt_block(dst + 8, rgba, 0, STB_DXT_HIGHQUAL);
            }
        }
}
