// PNG and TGA through stb_image, after checks that keep a header from making it allocate more
// than the file can fill.
#include "common/image/image_bytes.h"
#include "common/image/image_decode.h"

#include <d3dx9.h>

#include <limits.h>
#include <string.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STBI_MAX_DIMENSIONS 16384
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// stb_image copies zero bytes to a null buffer for an empty first IDAT chunk; harmless, but the
// sanitizer build stops on it, so that one check is off inside stb_image.
#ifdef __clang__
#pragma clang attribute push(__attribute__((no_sanitize("nonnull-attribute"))), apply_to = function)
#endif
#include <stb/stb_image.h>
#ifdef __clang__
#pragma clang attribute pop
#endif
#pragma GCC diagnostic pop

static_assert(STBI_MAX_DIMENSIONS == Image_Max_Dimension, "one limit for every reader");

namespace {

// Deflate cannot expand a stream by more than about 1032 times.
const uint64_t Deflate_Max_Ratio = 1032;

// True when the PNG's image data, fully inflated, could hold the pixels its header claims.
bool png_data_can_fill(const uint8_t* data, size_t size, uint64_t w, uint64_t h)
{
    if (size < 8 + 25) return false;
    const uint32_t depth = data[8 + 8 + 8];
    const uint32_t colour = data[8 + 8 + 9];
    const uint32_t channels = colour == 0 ? 1 : colour == 2 ? 3 : colour == 3 ? 1 : colour == 4 ? 2 : 4;
    uint64_t compressed = 0;
    size_t at = 8;
    // A chunk whose length and type are there counts, even when the file ends before its data:
    // stb_image makes room for a chunk before it finds the chunk cut short.
    while (at + 8 <= size) {
        const uint64_t length = read_be32(data + at);
        if (length + 12 > size - at) return false;
        if (memcmp(data + at + 4, "IDAT", 4) == 0) compressed += length;
        if (memcmp(data + at + 4, "IEND", 4) == 0) break;
        at += 12 + length;
    }
    const uint64_t raw = (w * channels * depth + 7) / 8 * h;
    return raw <= (compressed + 1) * Deflate_Max_Ratio;
}

// An uncompressed TGA holds every pixel; a run-length packet repeats one at most 128 times.
bool tga_data_can_fill(const uint8_t* data, size_t size, uint64_t w, uint64_t h)
{
    if (size < 18) return false;
    const uint32_t type = data[2];
    const uint64_t bytes_per_pixel = (data[16] + 7) / 8;
    if (type >= 9) return w * h <= (uint64_t)size * 128;
    return w * h * (bytes_per_pixel ? bytes_per_pixel : 1) <= size;
}

}  // namespace

HRESULT decode_png_tga(const uint8_t* data, size_t size, Decoded_Image* out)
{
    if (size > INT_MAX) return D3DXERR_INVALIDDATA;
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, (int)size, &w, &h, &channels)) return D3DXERR_INVALIDDATA;
    if (w <= 0 || h <= 0 || (UINT)w > Image_Max_Dimension || (UINT)h > Image_Max_Dimension)
        return D3DXERR_INVALIDDATA;
    static const uint8_t png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bool fillable;
    if (size >= 8 && memcmp(data, png_signature, 8) == 0)
        fillable = png_data_can_fill(data, size, w, h);
    else
        fillable = tga_data_can_fill(data, size, w, h);
    if (!fillable) return D3DXERR_INVALIDDATA;

    int got_w = 0, got_h = 0;
    stbi_uc* rgba = stbi_load_from_memory(data, (int)size, &got_w, &got_h, &channels, 4);
    if (!rgba) return D3DXERR_INVALIDDATA;
    if (got_w != w || got_h != h) {
        stbi_image_free(rgba);
        return D3DXERR_INVALIDDATA;
    }
    std::vector<uint8_t> pixels((size_t)w * h * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = rgba[i + 2];
        pixels[i + 1] = rgba[i + 1];
        pixels[i + 2] = rgba[i];
        pixels[i + 3] = rgba[i + 3];
    }
    stbi_image_free(rgba);
    out->width = (UINT)w;
    out->height = (UINT)h;
    out->format = channels == 2 || channels == 4 ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    out->levels.push_back(std::move(pixels));
    return D3D_OK;
}
