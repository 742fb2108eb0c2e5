#pragma once
// image/: image files to pixels (BMP, DDS, DXT, JPEG, the stb formats) and mip chains, with no
// device. Used by d3dx/ for textures and saved surfaces, and by the image fuzz target.
//
// Image files to texture pixels: the decoding half of D3DXCreateTextureFromFile*, with no
// device involved (the fuzz target and the tests call it directly).
//
// Every reader checks what it is given before it allocates: an image's pixels are allocated only
// once the file has been found to hold (or, compressed, to be able to hold) that many pixels,
// and never beyond Image_Max_Dimension on a side. Bad data answers D3DXERR_INVALIDDATA and
// leaves *out empty.
#include <d3d9.h>

#include <stddef.h>
#include <stdint.h>
#include <vector>

// The largest side a texture may have.
const UINT Image_Max_Dimension = 16384;

struct Decoded_Image {
    UINT width = 0;
    UINT height = 0;
    // D3DFMT_A8R8G8B8 or D3DFMT_X8R8G8B8 (bytes B, G, R, A per pixel; A is 0xFF for X8), or
    // D3DFMT_DXT1/3/5 (4x4 blocks of 8 or 16 bytes).
    D3DFORMAT format = D3DFMT_UNKNOWN;
    // levels[0] is the image; further entries are the file's own smaller mip levels (DDS),
    // each tightly packed (rows of width * 4 bytes, or of block rows).
    std::vector<std::vector<uint8_t>> levels;
};

// Recognises the format by its content (not by a file name) and decodes it.
HRESULT decode_image(const uint8_t* data, size_t size, Decoded_Image* out);

// The readers behind decode_image, each for one family of files.
HRESULT decode_bmp(const uint8_t* data, size_t size, Decoded_Image* out);
HRESULT decode_dds(const uint8_t* data, size_t size, Decoded_Image* out);
HRESULT decode_jpeg(const uint8_t* data, size_t size, Decoded_Image* out);
HRESULT decode_png_tga(const uint8_t* data, size_t size, Decoded_Image* out);

// Size in bytes of one level of w x h pixels in format (DXT levels round up to whole blocks).
size_t image_level_size(D3DFORMAT format, UINT w, UINT h);
// Number of levels in a full mip chain from w x h down to 1 x 1.
UINT image_full_chain_length(UINT w, UINT h);
