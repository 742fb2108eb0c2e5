#include "scene/cameras/level_file.h"

#include <cfloat>
#include <cmath>

void LoadLevelTree(const char* levelName, DynamicRow* tree) {
    Orvex_string file;
    file = levelName;
    tree->fresh();
    tree->iLoadFromFile(file);
}

int CountLevelChildren(DynamicRow* tree, unsigned node) {
    return tree->iCountKnots(node) + tree->iCountParams(node);
}

float LevelFloat(const Orvex_string& text) {
    float number = text.toFloat();
    return std::isfinite(number) && std::fabs(number) < FLT_MAX ? number : 0.0f;
}

void ReadLevelFloats(DynamicRow* tree, unsigned key, float* out, int count) {
    unsigned value = tree->TopId(key);
    for (int i = 0; i < count; ++i) {
        out[i] = value >= 1 ? LevelFloat(tree->iLookName(value)) : 0.0f;
        if (value >= 1) value = tree->NextId(value);
    }
}
