// The .cur reader: bitmap images with their hot spots, and files that are truncated or lie
// about their sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "common/win32/cur_file.h"
#include "headless_win32.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, size_t at, unsigned v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

// One directory entry followed by the image.
Bytes cursor_file(int w, int h, int hot_x, int hot_y, const Bytes& image) {
    Bytes b(22 + image.size(), 0);
    put16(b, 2, 2);
    put16(b, 4, 1);
    b[6] = static_cast<uint8_t>(w);
    b[7] = static_cast<uint8_t>(h);
    put16(b, 10, hot_x);
    put16(b, 12, hot_y);
    put32(b, 14, static_cast<uint32_t>(image.size()));
    put32(b, 18, 22);
    std::copy(image.begin(), image.end(), b.begin() + 22);
    return b;
}

// A 24-bit bitmap: pixel (x, y) is red when x < w/2, else blue; the mask makes row 0 (top)
// transparent.
Bytes dib_24(int w, int h) {
    size_t stride = ((w * 24 + 31) / 32) * 4, mask_stride = ((w + 31) / 32) * 4;
    Bytes b(40 + stride * h + mask_stride * h, 0);
    put32(b, 0, 40);
    put32(b, 4, w);
    put32(b, 8, 2 * h);
    put16(b, 12, 1);
    put16(b, 14, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &b[40 + stride * (h - 1 - y) + x * 3];
            if (x < w / 2) p[2] = 0xFF;
            else p[0] = 0xFF;
        }
    uint8_t* top_mask_row = &b[40 + stride * h + mask_stride * (h - 1)];
    memset(top_mask_row, 0xFF, mask_stride);
    return b;
}

Bytes png_image(int w, int h) {
    std::vector<uint8_t> rgba(w * h * 4);
    for (int i = 0; i < w * h; ++i) {
        rgba[i * 4 + 1] = 0xFF;        // green
        rgba[i * 4 + 3] = i % 2 ? 0x80 : 0xFF;
    }
    Bytes out;
    stbi_write_png_to_func([](void* ctx, void* data, int size) {
        auto* o = static_cast<Bytes*>(ctx);
        o->insert(o->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    }, &out, w, h, 4, rgba.data(), w * 4);
    return out;
}

TEST(Win32CursorFile, ReadsBitmapImagesWithTheirMaskAndHotSpot) {
    Bytes file = cursor_file(32, 32, 5, 7, dib_24(32, 32));
    Cur_Image img;
    std::string why;
    ASSERT_TRUE(cur_file_decode(file.data(), file.size(), &img, &why)) << why;
    EXPECT_EQ(img.width, 32);
    EXPECT_EQ(img.height, 32);
    EXPECT_EQ(img.hot_x, 5);
    EXPECT_EQ(img.hot_y, 7);
    auto px = [&](int x, int y) { return &img.rgba[(y * 32 + x) * 4]; };
    EXPECT_EQ(px(0, 0)[3], 0) << "the mask's top row is transparent";
    EXPECT_EQ(px(0, 5)[0], 0xFF);
    EXPECT_EQ(px(0, 5)[2], 0);
    EXPECT_EQ(px(0, 5)[3], 0xFF);
    EXPECT_EQ(px(31, 5)[2], 0xFF) << "rows are stored bottom-up, bytes B G R";
}

TEST(Win32CursorFile, RefusesFilesThatAreTruncatedOrLieAboutSizes) {
    const Bytes good = cursor_file(32, 32, 1, 1, dib_24(32, 32));
    const Bytes good_png = cursor_file(16, 16, 1, 1, png_image(16, 16));
    // The good file with the little-endian value of size bytes at offset at replaced.
    auto patched = [&good](size_t at, uint32_t value, int size) {
        Bytes b = good;
        for (int i = 0; i < size; ++i) b[at + i] = (value >> (8 * i)) & 0xFF;
        return b;
    };
    Bytes palette = patched(22 + 14, 8, 2);
    put32(palette, 22 + 32, 100000);
    const struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"header only", Bytes(good.begin(), good.begin() + 6)},
        {"directory cut", Bytes(good.begin(), good.begin() + 15)},
        {"mask cut", Bytes(good.begin(), good.end() - 1)},
        {"png cut", Bytes(good_png.begin(), good_png.end() - 20)},
        {"an icon, not a cursor", patched(2, 1, 2)},
        {"no images", patched(4, 0, 2)},
        {"more entries than bytes", patched(4, 5000, 2)},
        {"offset beyond the end", patched(18, 0xFFFFFFF0u, 4)},
        {"size beyond the end", patched(14, 0xFFFFFFF0u, 4)},
        {"entry width differs from the image", patched(6, 48, 1)},
        {"bitmap height absurd", patched(22 + 8, 2 * 100000, 4)},
        {"bitmap height not doubled", patched(22 + 8, 63, 4)},
        {"unsupported depth", patched(22 + 14, 16, 2)},
        {"palette larger than allowed", palette},
        {"hot spot outside", patched(10, 32, 2)},
        {"bitmap header size beyond the image", patched(22, 0x7FFFFFFF, 4)},
    };
    for (const Case& c : cases) {
        Cur_Image img;
        std::string why;
        EXPECT_FALSE(cur_file_decode(c.file.data(), c.file.size(), &img, &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
    }
}

}  // namespace
