#include "scene/objects/model_view.h"

#include <math.h>
#include <stdio.h>

#include <string>

namespace {

// The cameras' vertical field of view is 45 degrees: tan and sin of half of it.
const float kTanHalfView = 0.41421356f;
const float kSinHalfView = 0.38268343f;
// How far in front of the camera a model opened while running is put.
const float kViewDistance = 150.0f;

struct Lamp {
    const char* name;
    float direction[3];   // from the box's centre, in box radii
    float colour[3];
    float ambient;
};

// A warm key light above left in front, a cool fill from the right, a back light.
const Lamp kLamps[] = {
    {"model_key", {-1.2f, 1.6f, -1.5f}, {1.0f, 0.92f, 0.8f}, 0.15f},
    {"model_fill", {1.8f, 0.8f, -0.6f}, {0.45f, 0.55f, 0.8f}, 0.0f},
    {"model_back", {0.3f, 1.2f, 1.8f}, {0.7f, 0.7f, 0.75f}, 0.0f},
};

struct View {
    const char* name;
    float direction[3];   // from the box's centre towards the camera
};

const View kViews[] = {
    {"model_front", {0.0f, 0.35f, -1.0f}},
    {"model_side", {1.0f, 0.35f, 0.0f}},
    {"model_above", {0.0f, 1.0f, -0.25f}},
};

float Length(const D3DXVECTOR3& v)
{
    return sqrtf(v.x * v.x + v.y * v.y + v.z * v.z);
}

D3DXVECTOR3 Unit(const D3DXVECTOR3& v)
{
    const float length = Length(v);
    return length > 1e-6f ? v * (1.0f / length) : D3DXVECTOR3(0.0f, 0.0f, 1.0f);
}

std::string Number(float value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

void AddValues(DynamicRow* level, unsigned knot, const char* key, const float* values, int count)
{
    unsigned id = level->AddToId(knot, true, key);
    for (int i = 0; i < count; ++i)
        level->AddToId(id, false, Number(values[i]).c_str());
}

D3DXVECTOR3 Along(const D3DXVECTOR3& from, const float direction[3], float length)
{
    return from + Unit(D3DXVECTOR3(direction[0], direction[1], direction[2])) * length;
}

}  // namespace

float ScaleToSize(const D3DXVECTOR3& low, const D3DXVECTOR3& high, float size)
{
    // In double: a model that spans most of the float range has an extent no float can hold.
    const double extents[3] = {double(high.x) - low.x, double(high.y) - low.y, double(high.z) - low.z};
    double largest = 0.0;
    for (double extent : extents)
        largest = extent > largest ? extent : largest;
    const double scale = size / largest;
    return largest > 1e-6 && isfinite(scale) && scale > 0.0 ? float(scale) : 1.0f;
}

void AddModelViewLevel(const D3DXVECTOR3& low, const D3DXVECTOR3& high, DynamicRow* level)
{
    const D3DXVECTOR3 centre = (low + high) * 0.5f;
    const D3DXVECTOR3 half = (high - low) * 0.5f;
    float radius = Length(half);
    if (!(radius > 1.0f))
        radius = 1.0f;

    unsigned lights = level->AddToId(0, true, "_LIGHTS_");
    for (const Lamp& lamp : kLamps) {
        level->AddToId(lights, false, lamp.name);
        unsigned knot = level->AddToId(0, true, lamp.name);
        const float distance = 3.0f * radius;
        D3DXVECTOR3 at = Along(centre, lamp.direction, distance);
        AddValues(level, knot, "_POSITION_", &at.x, 3);
        AddValues(level, knot, "_LOOK_", &centre.x, 3);
        AddValues(level, knot, "_COLOR_", lamp.colour, 3);
        const float falloff = 3.0f * distance, specular = 24.0f, intensity = 0.3f, attenuation = 0.8f;
        AddValues(level, knot, "_FALLOFF_", &falloff, 1);
        AddValues(level, knot, "_SPECULAR_", &specular, 1);
        AddValues(level, knot, "_SPECULAR_INTENSY_", &intensity, 1);
        AddValues(level, knot, "_ATTENUATION_", &attenuation, 1);
        if (lamp.ambient > 0.0f)
            AddValues(level, knot, "_AMBIENT_", &lamp.ambient, 1);
    }

    // Far enough that the sphere about the box just fits the view's height: a flat model (a
    // teapot seen from the front) still fills a tenth of the picture.
    const float distance = radius / kSinHalfView;
    const float speed = distance / 50.0f;
    unsigned cameras = level->AddToId(0, true, "_CAMERAS_");
    for (const View& view : kViews) {
        unsigned knot = level->AddToId(cameras, true, view.name);
        D3DXVECTOR3 eye = Along(centre, view.direction, distance);
        AddValues(level, knot, "_POSITION_", &eye.x, 3);
        AddValues(level, knot, "_LOOK_", &centre.x, 3);
        AddValues(level, knot, "_MOVESPEED_", &speed, 1);
    }

    unsigned effects = level->AddToId(0, true, "_EFFECTS_");
    unsigned phong = level->AddToId(effects, true, "phong");
    level->AddToId(level->AddToId(phong, true, "_FILE_FX_"), false, "fx\\vor_Phong.fx");
    level->AddToId(level->AddToId(phong, true, "_FILE_"), false, "none");
}

void PlaceInView(const D3DXVECTOR3& eye, const D3DXVECTOR3& lookAt, const D3DXVECTOR3& low,
                 const D3DXVECTOR3& high, D3DXVECTOR3* position, float* scale)
{
    const D3DXVECTOR3 direction = Unit(lookAt - eye);
    const D3DXVECTOR3 target = eye + direction * kViewDistance;
    const D3DXVECTOR3 half = (high - low) * 0.5f;
    const float radius = Length(half);
    // The sphere about the box spans half the view's height at that distance.
    const float wanted = 0.5f * kViewDistance * kTanHalfView;
    *scale = radius > 1e-6f && isfinite(radius) ? wanted / radius : 1.0f;
    if (!isfinite(*scale) || !(*scale > 0.0f))
        *scale = 1.0f;
    const D3DXVECTOR3 centre = (low + high) * 0.5f;
    *position = target - centre * *scale;
}
