#pragma once
// D3DX 9: math, core (buffers, fonts), textures, meshes and effects, as the SDK splits them.
#include <d3d9.h>
#include "d3dx9math.h"
#include "d3dx9core.h"
#include "d3dx9tex.h"
#include "d3dx9mesh.h"
#include "d3dx9effect.h"
