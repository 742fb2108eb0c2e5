// Any bytes given to the .cur reader: it must refuse or decode, within the bytes, without leaks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/win32/cur_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Cur_Image image;
    std::string error;
    if (cur_file_decode(data, size, &image, &error)) {
        if (image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) __builtin_trap();
        if (image.hot_x < 0 || image.hot_x >= image.width || image.hot_y < 0 || image.hot_y >= image.height)
            __builtin_trap();
    }
    return 0;
}
