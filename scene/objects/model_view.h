#pragma once
// Where opened models go and what the viewer made of them looks like: the model-view level
// (models side by side on a floor, three lights, three cameras) and the placing of a model
// opened while the viewer runs. Pure geometry and level text; the object manager applies it.
#include <windows.h>
#include <d3dx9.h>

#include "foundation/dynamic_row.h"

// The size (largest extent) every model of the model-view level is scaled to, in world units.
const float kModelViewSize = 100.0f;

// The uniform scale that makes a box's largest extent `size`; 1 for a box without extent.
float ScaleToSize(const D3DXVECTOR3& low, const D3DXVECTOR3& high, float size);

// Adds the model-view level's lights, cameras and effects, framed on the box about the models
// (world units), to level: "_LIGHTS_" with three lights around the box at distances from its
// size, "_CAMERAS_" with cameras from the front, the side and above that each see the whole
// box, "_EFFECTS_" with phong (fx\vor_Phong.fx).
void AddModelViewLevel(const D3DXVECTOR3& low, const D3DXVECTOR3& high, DynamicRow* level);

// Where a model opened while the viewer runs goes: its box's centre on the line of sight from
// `eye` towards `lookAt`, `distance` away, scaled so that it fills about half the view's height
// there. *position is the object's position for that scale (its box centre moved there).
void PlaceInView(const D3DXVECTOR3& eye, const D3DXVECTOR3& lookAt, const D3DXVECTOR3& low,
                 const D3DXVECTOR3& high, D3DXVECTOR3* position, float* scale);
