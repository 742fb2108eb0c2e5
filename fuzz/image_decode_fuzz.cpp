// Image files as D3DXCreateTextureFromFile* reads them: BMP, DDS, PNG, JPEG, TGA, then the
// mip chain built from whatever decoded.
#include "common/image/image_decode.h"
#include "common/image/image_mips.h"

#include <stddef.h>
#include <stdint.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Decoded_Image image;
    if (SUCCEEDED(decode_image(data, size, &image)) && (size_t)image.width * image.height <= 1024 * 1024)
        complete_mip_chain(&image);
    return 0;
}
