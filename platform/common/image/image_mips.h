#pragma once
// Completing an image's mip chain.
#include "common/image/image_decode.h"

// When the image holds one level, appends every smaller level down to 1 x 1, each texel the
// average of the 2 x 2 texels above it (the last row or column repeated at an odd edge).
// Compressed images are decoded, reduced and encoded again. An image that already holds
// several levels (a DDS file's own) is left as it is.
void complete_mip_chain(Decoded_Image* image);
