#include "scene/cameras/level_values.h"

#include <cmath>

void ReadLevelFloats(DynamicRow* tree, unsigned key, float* out, int count) {
    unsigned value = tree->TopId(key);
    for (int i = 0; i < count; ++i) {
        float number = value >= 1 ? tree->iLookName(value).toFloat() : 0.0f;
        out[i] = std::isfinite(number) ? number : 0.0f;
        if (value >= 1) value = tree->NextId(value);
    }
}

int CountLevelChildren(DynamicRow* tree, unsigned node) {
    return tree->iCountKnots(node) + tree->iCountParams(node);
}
