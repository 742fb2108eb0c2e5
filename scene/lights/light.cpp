#include "scene/lights/light.h"

#include "core/draw_lines.h"
#include "scene/level_file.h"

namespace {

const float kHalfSize = 15.0f;   // half the edge of the marker cube
const float kSpike = 20.0f;      // distance of the top and bottom points from the light

void SetStageTexture(IDirect3DDevice9* device, IDirect3DTexture9** holder) {
    device->SetTexture(0, holder ? *holder : nullptr);
}

}  // namespace

Orvex_Light::Orvex_Light()
    : position(0.0f, 0.0f, 0.0f, 0.0f),
      lookAt(0.0f, 0.0f, 0.0f, 0.0f),
      falloff(1000.0f),
      specular(8.5f),
      specularIntensity(0.19f),
      ambient(0.005f),
      attenuation(0.8f),
      color(1.0f, 1.0f, 1.0f, 1.0f) {}

Orvex_Light::~Orvex_Light() {}

bool Orvex_Light::LoadFromTree(Orvex_string lightName, DynamicRow* tree) {
    name = lightName;
    unsigned id = tree->iLookId(name);
    if (id < 1 || CountLevelChildren(tree, id) < 1) return false;

    struct Key {
        const char* text;
        int values;
        float* target;
        float* fourth;   // set to 1 when the key is read, for the three-value keys
    };
    const Key keys[] = {
        {"_POSITION_", 3, &position.x, &position.w},
        {"_LOOK_", 3, &lookAt.x, &lookAt.w},
        {"_COLOR_", 3, &color.x, &color.w},
        {"_FALLOFF_", 1, &falloff, nullptr},
        {"_SPECULAR_", 1, &specular, nullptr},
        {"_SPECULAR_INTENSY_", 1, &specularIntensity, nullptr},
        {"_AMBIENT_", 1, &ambient, nullptr},
        {"_ATTENUATION_", 1, &attenuation, nullptr},
    };
    for (const Key& k : keys) {
        unsigned key = tree->iLookInFor(id, k.text);
        if (key < 1 || CountLevelChildren(tree, key) < k.values) continue;
        ReadLevelFloats(tree, key, k.target, k.values);
        if (k.fourth) *k.fourth = 1.0f;
    }
    return true;
}

void Orvex_Light::DrawMarker(IDirect3DDevice9** device, IDirect3DTexture9** firstTexture,
                             IDirect3DTexture9** secondTexture) {
    if (!device || !*device) return;
    const float x = position.x, y = position.y, z = position.z, h = kHalfSize;

    SetStageTexture(*device, firstTexture);
    DrawLine(x + h, y + h, z + h, x - h, y - h, z - h, device);
    DrawLine(x + h, y + h, z - h, x - h, y - h, z + h, device);
    DrawLine(x + h, y - h, z - h, x - h, y + h, z + h, device);
    DrawLine(x - h, y + h, z - h, x + h, y - h, z + h, device);
    DrawLine(x, y - kSpike, z, x, y + kSpike, z, device);

    SetStageTexture(*device, secondTexture);
    DrawWireBox(x + h, y + h, z + h, x - h, y - h, z - h, device);
    const float bottom = y - kSpike, top = y + kSpike;
    DrawLine(x, bottom, z, x + h, y - h, z - h, device);
    DrawLine(x, bottom, z, x - h, y - h, z - h, device);
    DrawLine(x, bottom, z, x + h, y - h, z + h, device);
    DrawLine(x, bottom, z, x - h, y - h, z + h, device);
    DrawLine(x, top, z, x + h, y + h, z + h, device);
    DrawLine(x, top, z, x + h, y + h, z - h, device);
    DrawLine(x, top, z, x - h, y + h, z + h, device);
    DrawLine(x, top, z, x - h, y + h, z - h, device);
}
