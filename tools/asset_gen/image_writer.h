#pragma once
// Windows bitmaps and cursors from pixels (0xAARRGGBB, top row first).
#include <stdint.h>
#include <string>
#include <vector>

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;

    uint32_t& at(int x, int y) { return argb[(size_t)y * width + x]; }
};

// A 24-bit bottom-up BMP with a 40-byte info header.
std::string write_bmp24(const Pixels& p);
// A palettised BMP (bits 1, 4 or 8); every pixel's colour must be in the palette.
std::string write_bmp_palettised(const Pixels& p, int bits, const std::vector<uint32_t>& palette);
// A cursor file: one 32-bit image with its AND mask and the hot spot.
std::string write_cur(const Pixels& p, int hot_x, int hot_y);
