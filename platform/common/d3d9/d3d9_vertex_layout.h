#pragma once
// Where each element of a flexible-vertex-format vertex lies, and how many vertices a primitive
// count needs. Shared by both device realizations.
#include <d3d9.h>

struct D3D9_Vertex_Layout {
    UINT size = 0;            // bytes the format itself needs (the smallest legal stride)
    bool rhw = false;         // pre-transformed x, y, z, rhw
    UINT position = 0;        // offset of x, y, z (always 0)
    int blend_weights = 0;    // floats between the position and the normal (XYZB1..XYZB5)
    int normal = -1;          // offsets, -1 when the element is absent
    int point_size = -1;
    int diffuse = -1;
    int specular = -1;
    int texcoord_count = 0;
    int texcoord[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    int texcoord_size[8] = {0, 0, 0, 0, 0, 0, 0, 0};  // floats per set (1..4)

    // Decodes fvf. False (and an empty layout) for a format that cannot be drawn: no position,
    // XYZRHW with a normal, more than 8 texture sets, or bits no format defines.
    bool Decode(DWORD fvf);
};

// Vertices that primitive_count primitives of this type use; 0 for an unknown type.
UINT d3d9_vertex_count(D3DPRIMITIVETYPE type, UINT primitive_count);
