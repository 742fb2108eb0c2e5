#pragma once
// Reading the numeric values of a level-file key (a knot whose children are its values), shared
// by cameras and lights.
#include "foundation/dynamic_row.h"

// Reads the names of the first count children of key, in order, as floats into out, each with
// LevelFloat. The caller has checked that key has at least count children.
void ReadLevelFloats(DynamicRow* tree, unsigned key, float* out, int count);

// The number text holds, with a value that is not finite or lies at or beyond the end of the
// float range ("nan", "inf", "1e40", which the string reads as the largest float) counting as 0,
// so that nothing read from a level or typed in a command puts a NaN into a transform.
float LevelFloat(const Orvex_string& text);

// The number of children of node: its knots plus its parameters.
int CountLevelChildren(DynamicRow* tree, unsigned node);
