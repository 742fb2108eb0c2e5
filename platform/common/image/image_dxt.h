#pragma once
// DXT1/3/5 block compression: decoding to B, G, R, A bytes, and encoding (for mip levels built
// from a compressed image that came without them).
#include <d3d9.h>

#include <stdint.h>
#include <vector>

// blocks: a whole level of w x h pixels in format; bgra receives w * h * 4 bytes.
void dxt_decode(D3DFORMAT format, const uint8_t* blocks, UINT w, UINT h, uint8_t* bgra);
// The inverse; out receives image_level_size(format, w, h) bytes.
void dxt_encode(D3DFORMAT format, const uint8_t* bgra, UINT w, UINT h, std::vector<uint8_t>* out);
