// Box-filtered mip levels.
#include "common/image/image_mips.h"

#include "common/image/image_dxt.h"

namespace {

std::vector<uint8_t> half_size(const std::vector<uint8_t>& src, UINT w, UINT h)
{
    const UINT nw = w > 1 ? w / 2 : 1, nh = h > 1 ? h / 2 : 1;
    std::vector<uint8_t> dst((size_t)nw * nh * 4);
    for (UINT y = 0; y < nh; ++y)
        for (UINT x = 0; x < nw; ++x) {
            const UINT x0 = 2 * x < w ? 2 * x : w - 1, x1 = 2 * x + 1 < w ? 2 * x + 1 : w - 1;
            const UINT y0 = 2 * y < h ? 2 * y : h - 1, y1 = 2 * y + 1 < h ? 2 * y + 1 : h - 1;
            for (int c = 0; c < 4; ++c) {
                const unsigned sum = src[((size_t)y0 * w + x0) * 4 + c] + src[((size_t)y0 * w + x1) * 4 + c] +
                                     src[((size_t)y1 * w + x0) * 4 + c] + src[((size_t)y1 * w + x1) * 4 + c];
                dst[((size_t)y * nw + x) * 4 + c] = (uint8_t)((sum + 2) / 4);
            }
        }
    return dst;
}

bool compressed(D3DFORMAT format)
{
    return format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5;
}

}  // namespace

void complete_mip_chain(Decoded_Image* image)
{
    if (image->levels.size() != 1) return;
    const UINT count = image_full_chain_length(image->width, image->height);
    std::vector<uint8_t> pixels;
    if (compressed(image->format)) {
        pixels.resize((size_t)image->width * image->height * 4);
        dxt_decode(image->format, image->levels[0].data(), image->width, image->height, pixels.data());
    } else {
        pixels = image->levels[0];
    }
    UINT w = image->width, h = image->height;
    for (UINT l = 1; l < count; ++l) {
        pixels = half_size(pixels, w, h);
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        if (compressed(image->format)) {
            std::vector<uint8_t> blocks;
            dxt_encode(image->format, pixels.data(), w, h, &blocks);
            image->levels.push_back(std::move(blocks));
        } else {
            image->levels.push_back(pixels);
        }
    }
}
