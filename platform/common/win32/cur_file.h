#pragma once
// The reader of .cur cursor files: an icon container (type 2) whose directory entries carry the
// hot spot, each image either a device-independent bitmap (with its AND mask) or a PNG. Used by
// LoadCursorFromFileA in both realizations. Anything truncated, inconsistent or larger than a
// cursor can be is refused with a reason; nothing is read beyond the bytes given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Cur_Image {
    int width = 0;
    int height = 0;
    int hot_x = 0;
    int hot_y = 0;
    std::vector<uint8_t> rgba;  // width * height pixels, top row first, bytes R, G, B, A
};

// The largest cursor side accepted.
constexpr int cur_max_side = 256;

// Decodes the image of the file closest to 32 x 32 pixels. Returns false and says why on error.
bool cur_file_decode(const uint8_t* data, size_t size, Cur_Image* out, std::string* error);
// Reads and decodes a file named the Windows way (resolve_path); a missing file is an error
// like any other.
bool cur_file_load(const char* path, Cur_Image* out, std::string* error);
