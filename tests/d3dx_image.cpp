// Image decoding: BMP of every depth, PNG, TGA and JPEG to the pixels they hold, and BMPs that
// claim more than they hold refused before anything is allocated for them.
#include "common/image/image_decode.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>

// The encoder only makes test input; its JPEG writer shifts negative numbers, which the
// sanitizer build would stop on, so that check is off for its functions.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#ifdef __clang__
#pragma clang attribute push(__attribute__((no_sanitize("shift"))), apply_to = function)
#endif
#include <stb/stb_image_write.h>
#ifdef __clang__
#pragma clang attribute pop
#endif
#pragma GCC diagnostic pop

namespace {

typedef std::vector<uint8_t> Bytes;

void put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
void put32(Bytes& b, uint32_t v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

// A BMP with an info header (40 bytes, or 108 for a V4 header carrying an alpha mask).
struct Bmp_Layout {
    int32_t width;
    int32_t height;  // negative: top-down
    uint16_t bpp;
    uint32_t compression;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> masks;    // r, g, b[, a]
    std::vector<Bytes> rows;        // file order, unpadded
};

Bytes make_bmp(const Bmp_Layout& s)
{
    const bool v4 = s.masks.size() == 4;
    const uint32_t header = v4 ? 108 : 40;
    const uint32_t extra = (!v4 && !s.masks.empty()) ? 12 : 0;
    const uint32_t stride = ((uint32_t)s.width * s.bpp + 31) / 32 * 4;
    const uint32_t rows = (uint32_t)(s.height < 0 ? -s.height : s.height);
    const uint32_t bits = 14 + header + extra + 4 * (uint32_t)s.palette.size();
    Bytes b = {'B', 'M'};
    put32(b, bits + stride * rows);
    put32(b, 0);
    put32(b, bits);
    put32(b, header);
    put32(b, (uint32_t)s.width);
    put32(b, (uint32_t)s.height);
    put16(b, 1);
    put16(b, s.bpp);
    put32(b, s.compression);
    put32(b, stride * rows);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, (uint32_t)s.palette.size());
    put32(b, 0);
    for (uint32_t m : s.masks) put32(b, m);
    while (b.size() < 14 + header + extra) b.push_back(0);
    for (uint32_t c : s.palette) put32(b, c);
    for (const Bytes& r : s.rows) {
        Bytes row = r;
        row.resize(stride, 0);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

uint32_t pixel(const Decoded_Image& img, UINT x, UINT y, size_t level = 0)
{
    const uint8_t* p = &img.levels[level][((size_t)y * img.width + x) * 4];
    return (uint32_t)p[3] << 24 | (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
}

Decoded_Image decode_ok(const Bytes& file)
{
    Decoded_Image img;
    EXPECT_EQ(decode_image(file.data(), file.size(), &img), D3D_OK);
    return img;
}

void write_to_vector(void* context, void* data, int size)
{
    Bytes* out = static_cast<Bytes*>(context);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}

// 4 x 2 RGBA: red, green, blue, white / black, half-transparent grey, yellow, cyan.
const uint8_t kRgba[4 * 2 * 4] = {
    255, 0, 0, 255,   0, 255, 0, 255,     0, 0, 255, 255,   255, 255, 255, 255,
    0, 0, 0, 255,     128, 128, 128, 128, 255, 255, 0, 255, 0, 255, 255, 255,
};
const uint32_t kArgb[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                           0xFF000000, 0x80808080, 0xFFFFFF00, 0xFF00FFFF};

}  // namespace

TEST(D3dxImage, BmpEveryDepthDecodesToTheSamePixels)
{
    // A 3 x 2 picture, top row red green blue, bottom row white black yellow, in every depth.
    const uint32_t top[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    const uint32_t bottom[3] = {0xFFFFFFFF, 0xFF000000, 0xFFFFFF00};
    const std::vector<uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFFFF00};
    struct Case {
        const char* name;
        Bmp_Layout layout;
    } cases[] = {
        {"8-bit palette", {3, 2, 8, 0, palette, {}, {{3, 4, 5}, {0, 1, 2}}}},
        {"4-bit palette", {3, 2, 4, 0, palette, {}, {{0x34, 0x50}, {0x01, 0x20}}}},
        {"24-bit", {3, 2, 24, 0, {}, {}, {{255, 255, 255, 0, 0, 0, 0, 255, 255}, {0, 0, 255, 0, 255, 0, 255, 0, 0}}}},
        {"24-bit top-down", {3, -2, 24, 0, {}, {}, {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 0, 0, 0, 0, 255, 255}}}},
        {"16-bit 555", {3, 2, 16, 0, {}, {}, {{0xFF, 0x7F, 0, 0, 0xE0, 0x7F}, {0, 0x7C, 0xE0, 0x03, 0x1F, 0}}}},
        {"16-bit 565 fields", {3, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {{0xFF, 0xFF, 0, 0, 0xE0, 0xFF}, {0, 0xF8, 0xE0, 0x07, 0x1F, 0}}}},
        {"32-bit", {3, 2, 32, 0, {}, {}, {{255, 255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 0}, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded_Image img = decode_ok(make_bmp(c.layout));
        ASSERT_EQ(img.width, 3u);
        ASSERT_EQ(img.height, 2u);
        EXPECT_EQ(img.format, D3DFMT_X8R8G8B8);
        for (UINT x = 0; x < 3; ++x) {
            EXPECT_EQ(pixel(img, x, 0), top[x]) << "x " << x;
            EXPECT_EQ(pixel(img, x, 1), bottom[x]) << "x " << x;
        }
    }
}

TEST(D3dxImage, BmpThatClaimsMoreThanItHoldsIsRefused)
{
    Bmp_Layout layout = {3, 2, 24, 0, {}, {}, {{1, 2, 3}, {4, 5, 6}}};
    const Bytes good = make_bmp(layout);
    Bmp_Layout palettised = {2, 1, 8, 0, {0xFFFFFF, 0}, {}, {{0, 1}}};
    const Bytes good8 = make_bmp(palettised);
    struct Lie {
        const char* name;
        const Bytes* base;
        size_t offset;
        uint32_t value;
    } lies[] = {
        {"65535 x 65535", &good, 18, 65535},
        {"height 65535", &good, 22, 65535},
        {"width 0", &good, 18, 0},
        {"bit offset past the end", &good, 10, 100000},
        {"bit depth 7", &good, 28, 7},
        {"run-length compression", &good, 30, 1},
        {"palette of a million colours", &good8, 46, 1000000},
        {"palette of 255 colours in a short file", &good8, 46, 255},
    };
    for (const Lie& lie : lies) {
        SCOPED_TRACE(lie.name);
        Bytes bad = *lie.base;
        if (lie.offset == 28) {
            bad[28] = (uint8_t)lie.value;
        } else {
            for (int k = 0; k < 4; ++k) bad[lie.offset + k] = (uint8_t)(lie.value >> (8 * k));
        }
        if (lie.offset == 18 && lie.value == 65535) {
            for (int k = 0; k < 4; ++k) bad[22 + k] = (uint8_t)(65535 >> (8 * k));
        }
        Decoded_Image img;
        EXPECT_EQ(decode_image(bad.data(), bad.size(), &img), D3DXERR_INVALIDDATA);
        EXPECT_TRUE(img.levels.empty());
    }
    // Every truncation of a good file fails cleanly.
    for (size_t n = 0; n < good.size(); ++n) {
        Decoded_Image img;
        EXPECT_EQ(decode_image(good.data(), n, &img), D3DXERR_INVALIDDATA) << n << " bytes";
    }
}

TEST(D3dxImage, PngTgaAndJpegDecodeToTheirPixels)
{
    Bytes png, tga, tga_rle, jpeg;
    ASSERT_TRUE(stbi_write_png_to_func(write_to_vector, &png, 4, 2, 4, kRgba, 16));
    stbi_write_tga_with_rle = 0;
    ASSERT_TRUE(stbi_write_tga_to_func(write_to_vector, &tga, 4, 2, 4, kRgba));
    stbi_write_tga_with_rle = 1;
    ASSERT_TRUE(stbi_write_tga_to_func(write_to_vector, &tga_rle, 4, 2, 4, kRgba));
    for (const Bytes* file : {&png, &tga, &tga_rle}) {
        Decoded_Image img = decode_ok(*file);
        ASSERT_EQ(img.width, 4u);
        ASSERT_EQ(img.height, 2u);
        EXPECT_EQ(img.format, D3DFMT_A8R8G8B8);
        for (UINT i = 0; i < 8; ++i) EXPECT_EQ(pixel(img, i % 4, i / 4), kArgb[i]) << i;
    }

    // JPEG is lossy: a flat 16 x 16 orange stays orange within a few steps.
    std::vector<uint8_t> orange(16 * 16 * 3);
    for (size_t i = 0; i < orange.size(); i += 3) {
        orange[i] = 240;
        orange[i + 1] = 120;
        orange[i + 2] = 16;
    }
    ASSERT_TRUE(stbi_write_jpg_to_func(write_to_vector, &jpeg, 16, 16, 3, orange.data(), 95));
    Decoded_Image img = decode_ok(jpeg);
    ASSERT_EQ(img.width, 16u);
    EXPECT_EQ(img.format, D3DFMT_X8R8G8B8);
    const uint8_t* p = &img.levels[0][(5 * 16 + 7) * 4];
    EXPECT_NEAR(p[2], 240, 4);
    EXPECT_NEAR(p[1], 120, 4);
    EXPECT_NEAR(p[0], 16, 4);
    EXPECT_EQ(p[3], 255);
}

