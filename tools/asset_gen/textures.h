#pragma once
// The generator's pictures, drawn from code.
#include "image_writer.h"

Pixels solid(int size, uint32_t argb);
// Squares of `cell` pixels alternating between two colours.
Pixels checker(int size, int cell, uint32_t a, uint32_t b);
// Square tiles with grout lines between them and a little shading per tile.
Pixels floor_tile(int size, int tiles);
// Courses of bricks, every other course shifted by half a brick, with mortar and grain.
Pixels brick(int size);
// Pale stone with soft grey veins; tiles seamlessly.
Pixels marble(int size);
// A white arrow with a black outline pointing up-left, transparent elsewhere.
Pixels arrow_cursor(int size);
