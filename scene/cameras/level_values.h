#pragma once
// Reading the numeric values of a level-file key (a knot whose children are its values), shared
// by cameras and lights.
#include "foundation/dynamic_row.h"

// Reads the names of the first count children of key, in order, as floats into out. A value
// that is not a finite number ("nan", "inf", "1e40") counts as 0, so nothing read from a level
// can put a NaN into a transform. The caller has checked that key has at least count children.
void ReadLevelFloats(DynamicRow* tree, unsigned key, float* out, int count);

// The number of children of node: its knots plus its parameters.
int CountLevelChildren(DynamicRow* tree, unsigned node);
