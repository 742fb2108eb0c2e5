// BMP and CUR encoders.
#include "image_writer.h"

#include <algorithm>

namespace {

void put16(std::string& s, uint32_t v) { s.push_back((char)(v & 0xFF)), s.push_back((char)((v >> 8) & 0xFF)); }
void put32(std::string& s, uint32_t v) { put16(s, v & 0xFFFF), put16(s, v >> 16); }

std::string info_header(int width, int height, int bits, uint32_t image_bytes, uint32_t colours)
{
    std::string h;
    put32(h, 40);
    put32(h, (uint32_t)width);
    put32(h, (uint32_t)height);
    put16(h, 1);
    put16(h, (uint32_t)bits);
    put32(h, 0);
    put32(h, image_bytes);
    put32(h, 2835);
    put32(h, 2835);
    put32(h, colours);
    put32(h, 0);
    return h;
}

std::string file_header(uint32_t size, uint32_t bits_offset)
{
    std::string h = "BM";
    put32(h, size);
    put32(h, 0);
    put32(h, bits_offset);
    return h;
}

uint32_t stride_of(int width, int bits) { return ((uint32_t)width * bits + 31) / 32 * 4; }

}  // namespace

std::string write_bmp24(const Pixels& p)
{
    const uint32_t stride = stride_of(p.width, 24), bytes = stride * p.height;
    std::string out = file_header(14 + 40 + bytes, 14 + 40) + info_header(p.width, p.height, 24, bytes, 0);
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = p.argb[(size_t)y * p.width + x];
            row.push_back((char)(c & 0xFF)), row.push_back((char)((c >> 8) & 0xFF)), row.push_back((char)((c >> 16) & 0xFF));
        }
        row.resize(stride, 0);
        out += row;
    }
    return out;
}

std::string write_bmp_palettised(const Pixels& p, int bits, const std::vector<uint32_t>& palette)
{
    const uint32_t stride = stride_of(p.width, bits), bytes = stride * p.height;
    const uint32_t offset = 14 + 40 + 4 * (uint32_t)palette.size();
    std::string out = file_header(offset + bytes, offset) +
                      info_header(p.width, p.height, bits, bytes, (uint32_t)palette.size());
    for (uint32_t c : palette) put32(out, c & 0xFFFFFF);
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(stride, 0);
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = p.argb[(size_t)y * p.width + x];
            const uint32_t index = (uint32_t)(std::find(palette.begin(), palette.end(), c) - palette.begin());
            const int per_byte = 8 / bits;
            row[x / per_byte] = (char)(row[x / per_byte] | (index << (8 - bits * (x % per_byte + 1))));
        }
        out += row;
    }
    return out;
}

std::string write_cur(const Pixels& p, int hot_x, int hot_y)
{
    const uint32_t xor_bytes = (uint32_t)p.width * p.height * 4;
    const uint32_t and_bytes = stride_of(p.width, 1) * p.height;
    const uint32_t image_bytes = 40 + xor_bytes + and_bytes;
    std::string out;
    put16(out, 0);
    put16(out, 2);  // cursor
    put16(out, 1);
    out.push_back((char)(p.width & 0xFF));
    out.push_back((char)(p.height & 0xFF));
    out.push_back(0);
    out.push_back(0);
    put16(out, (uint32_t)hot_x);
    put16(out, (uint32_t)hot_y);
    put32(out, image_bytes);
    put32(out, 6 + 16);
    // The image's height counts the colour image and the mask.
    out += info_header(p.width, p.height * 2, 32, xor_bytes + and_bytes, 0);
    for (int y = p.height - 1; y >= 0; --y)
        for (int x = 0; x < p.width; ++x) put32(out, p.argb[(size_t)y * p.width + x]);
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(stride_of(p.width, 1), 0);
        for (int x = 0; x < p.width; ++x)
            if ((p.argb[(size_t)y * p.width + x] >> 24) == 0) row[x / 8] = (char)(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}
