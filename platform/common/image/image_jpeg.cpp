// JPEG through libjpeg(-turbo). Any warning the library raises (data cut short, damaged
// entropy-coded data) fails the file instead of handing back a partly grey picture.
#include "common/image/image_decode.h"

#include <d3dx9.h>

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

namespace {

struct Jpeg_Errors {
    jpeg_error_mgr manager;
    jmp_buf failed;
};

void fail(j_common_ptr info) { longjmp(reinterpret_cast<Jpeg_Errors*>(info->err)->failed, 1); }

void warn_or_trace(j_common_ptr info, int level)
{
    if (level < 0) fail(info);
}

void silent(j_common_ptr) {}

// Decodes into pixels (B, G, R, A rows); false on any error or warning. No C++ object of this
// frame is touched after setjmp, so the long jump back skips nothing that needs destroying.
bool decode(const uint8_t* data, size_t size, std::vector<uint8_t>& pixels, UINT* width, UINT* height)
{
    jpeg_decompress_struct info;
    Jpeg_Errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = fail;
    errors.manager.emit_message = warn_or_trace;
    errors.manager.output_message = silent;
    if (setjmp(errors.failed)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, (unsigned long)size);
    jpeg_read_header(&info, TRUE);
    const uint64_t w = info.image_width, h = info.image_height;
    // Every 8 x 8 block of a JPEG costs at least one bit of the file.
    if (w == 0 || h == 0 || w > Image_Max_Dimension || h > Image_Max_Dimension || w * h > (uint64_t)size * 512) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    pixels.resize((size_t)w * h * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &pixels[(size_t)info.output_scanline * w * 4];
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (cmyk) {
        // Adobe writes CMYK inverted: each channel times K gives the colour.
        for (size_t i = 0; i < pixels.size(); i += 4) {
            const unsigned c = pixels[i], m = pixels[i + 1], y = pixels[i + 2], k = pixels[i + 3];
            pixels[i] = (uint8_t)(y * k / 255);
            pixels[i + 1] = (uint8_t)(m * k / 255);
            pixels[i + 2] = (uint8_t)(c * k / 255);
            pixels[i + 3] = 0xFF;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    *width = (UINT)w;
    *height = (UINT)h;
    return true;
}

}  // namespace

HRESULT decode_jpeg(const uint8_t* data, size_t size, Decoded_Image* out)
{
    std::vector<uint8_t> pixels;
    UINT w = 0, h = 0;
    if (!decode(data, size, pixels, &w, &h)) return D3DXERR_INVALIDDATA;
    out->width = w;
    out->height = h;
    out->format = D3DFMT_X8R8G8B8;
    out->levels.push_back(std::move(pixels));
    return D3D_OK;
}
