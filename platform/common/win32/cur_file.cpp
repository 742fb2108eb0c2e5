#include "common/win32/cur_file.h"

#include "foundation/file_path.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 4096
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

constexpr size_t dir_header_size = 6;
constexpr size_t dir_entry_size = 16;
constexpr size_t max_file_size = 16u << 20;

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

// Walks the chunks after the signature up to IEND: each must lie within the bytes, and IEND
// must come. Empty IDAT chunks are legal but the decoder cannot take one, so they are left out
// of what it is given (cleaned holds the image without them, or stays empty when none).
bool check_png_chunks(const uint8_t* data, size_t size, std::vector<uint8_t>* cleaned) {
    size_t at = 8;
    bool dropped = false;
    cleaned->assign(data, data + 8);
    while (at + 12 <= size) {
        uint32_t length = static_cast<uint32_t>(data[at] << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]);
        if (length > size - at - 12) return false;
        const uint8_t* type = data + at + 4;
        if (length == 0 && memcmp(type, "IDAT", 4) == 0) dropped = true;
        else cleaned->insert(cleaned->end(), data + at, data + at + 12 + length);
        at += 12 + length;
        if (memcmp(type, "IEND", 4) == 0) {
            if (!dropped) cleaned->clear();
            return true;
        }
    }
    return false;
}

bool decode_png(const uint8_t* data, size_t size, Cur_Image* out, std::string* error) {
    std::vector<uint8_t> cleaned;
    if (!check_png_chunks(data, size, &cleaned)) return fail(error, "PNG chunk runs past the image");
    if (!cleaned.empty()) {
        data = cleaned.data();
        size = cleaned.size();
    }
    int w = 0, h = 0, channels = 0;
    if (size > static_cast<size_t>(INT32_MAX)) return fail(error, "PNG image too large");
    if (!stbi_info_from_memory(data, static_cast<int>(size), &w, &h, &channels))
        return fail(error, "unreadable PNG image");
    if (w <= 0 || h <= 0 || w > cur_max_side || h > cur_max_side) return fail(error, "PNG image size out of range");
    stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &channels, 4);
    if (!pixels) return fail(error, "unreadable PNG image");
    out->width = w;
    out->height = h;
    out->rgba.assign(pixels, pixels + static_cast<size_t>(w) * h * 4);
    stbi_image_free(pixels);
    return true;
}

// A bitmap as stored in icon containers: BITMAPINFOHEADER, palette, colour rows bottom-up, then a
// 1-bit AND mask (set = transparent); the header's height counts both parts.
bool decode_dib(const uint8_t* data, size_t size, Cur_Image* out, std::string* error) {
    if (size < 40) return fail(error, "bitmap header truncated");
    uint32_t header_size = u32(data);
    int32_t width = static_cast<int32_t>(u32(data + 4));
    int32_t double_height = static_cast<int32_t>(u32(data + 8));
    uint16_t bpp = u16(data + 14);
    uint32_t compression = u32(data + 16);
    uint32_t colours_used = u32(data + 32);
    if (header_size < 40 || header_size > size) return fail(error, "bitmap header size wrong");
    if (compression != 0) return fail(error, "compressed bitmaps are not supported");
    if (width <= 0 || width > cur_max_side || double_height <= 0 || double_height % 2 != 0 ||
        double_height / 2 > cur_max_side)
        return fail(error, "bitmap size out of range");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return fail(error, "bitmap depth not supported");
    int height = double_height / 2;
    size_t palette_entries = bpp <= 8 ? (colours_used ? colours_used : (1u << bpp)) : 0;
    if (palette_entries > 256) return fail(error, "bitmap palette too large");
    size_t colour_stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    size_t mask_stride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    size_t palette_at = header_size;
    size_t colour_at = palette_at + palette_entries * 4;
    size_t mask_at = colour_at + colour_stride * height;
    size_t end = mask_at + mask_stride * height;
    if (end > size) return fail(error, "bitmap data truncated");

    out->width = width;
    out->height = height;
    out->rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    bool any_alpha = false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + colour_at + colour_stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint8_t* px = &out->rgba[(static_cast<size_t>(y) * width + x) * 4];
            uint8_t b = 0, g = 0, r = 0, a = 0xFF;
            if (bpp <= 8) {
                size_t bit = static_cast<size_t>(x) * bpp;
                unsigned index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                if (index >= palette_entries) return fail(error, "bitmap palette index out of range");
                const uint8_t* entry = data + palette_at + index * 4;
                b = entry[0], g = entry[1], r = entry[2];
            } else {
                const uint8_t* p = row + static_cast<size_t>(x) * (bpp / 8);
                b = p[0], g = p[1], r = p[2];
                if (bpp == 32) {
                    a = p[3];
                    if (a) any_alpha = true;
                }
            }
            px[0] = r, px[1] = g, px[2] = b, px[3] = a;
        }
    }
    // Colour images without alpha (and 32-bit ones whose alpha is all zero) take it from the mask.
    if (bpp != 32 || !any_alpha) {
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = data + mask_at + mask_stride * (height - 1 - y);
            for (int x = 0; x < width; ++x) {
                bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
                out->rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] = transparent ? 0 : 0xFF;
            }
        }
    }
    return true;
}

}  // namespace

bool cur_file_decode(const uint8_t* data, size_t size, Cur_Image* out, std::string* error) {
    if (!out) return fail(error, "no output");
    if (!data || size < dir_header_size) return fail(error, "file too short");
    if (u16(data) != 0 || u16(data + 2) != 2) return fail(error, "not a cursor file");
    size_t count = u16(data + 4);
    if (count == 0) return fail(error, "no images");
    if (dir_header_size + count * dir_entry_size > size) return fail(error, "directory truncated");

    // The image whose size is closest to the usual 32 x 32 cursor.
    size_t best = 0;
    int best_distance = -1;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + dir_header_size + i * dir_entry_size;
        int w = e[0] ? e[0] : 256;
        int distance = w > 32 ? w - 32 : 32 - w;
        if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
    }
    const uint8_t* e = data + dir_header_size + best * dir_entry_size;
    int entry_width = e[0] ? e[0] : 256;
    int entry_height = e[1] ? e[1] : 256;
    int hot_x = u16(e + 4);
    int hot_y = u16(e + 6);
    size_t bytes = u32(e + 8);
    size_t offset = u32(e + 12);
    if (offset > size || bytes > size - offset || bytes == 0) return fail(error, "image lies outside the file");

    Cur_Image image;
    const uint8_t* blob = data + offset;
    static const uint8_t png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bool ok = bytes >= 8 && memcmp(blob, png_signature, 8) == 0 ? decode_png(blob, bytes, &image, error)
                                                                  : decode_dib(blob, bytes, &image, error);
    if (!ok) return false;
    if (image.width != entry_width || image.height != entry_height)
        return fail(error, "image size differs from its directory entry");
    if (hot_x >= image.width || hot_y >= image.height) return fail(error, "hot spot outside the image");
    image.hot_x = hot_x;
    image.hot_y = hot_y;
    *out = std::move(image);
    return true;
}

bool cur_file_load(const char* path, Cur_Image* out, std::string* error) {
    if (!path) return fail(error, "no file name");
    FILE* f = fopen(resolve_path(path).c_str(), "rb");
    if (!f) return fail(error, "cannot open file");
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > max_file_size) {
            fclose(f);
            return fail(error, "file too large for a cursor");
        }
    }
    bool read_error = ferror(f) != 0;
    fclose(f);
    if (read_error) return fail(error, "cannot read file");
    return cur_file_decode(bytes.data(), bytes.size(), out, error);
}
