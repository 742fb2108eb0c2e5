#include "scene/level_file.h"

#include <cfloat>
#include <cmath>

void LoadLevelTree(const char* levelName, DynamicRow* tree) {
    Orvex_string file;
    file = levelName;
    tree->fresh();
    tree->iLoadFromFile(file);
}

int CountLevelChildren(const DynamicRow* tree, unsigned node) {
    return tree->iCountKnots(node) + tree->iCountParams(node);
}

bool FirstValue(const DynamicRow* tree, unsigned node, const char* key, Orvex_string* value) {
    if (node < 1) return false;
    unsigned k = tree->iLookInFor(node, key);
    unsigned first = k >= 1 ? tree->TopId(k) : 0;
    if (first < 1) return false;
    *value = tree->iLookName(first);
    return true;
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
