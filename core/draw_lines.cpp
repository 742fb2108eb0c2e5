#include "core/draw_lines.h"

namespace {

struct Line_Vertex {
    float x, y, z;
    float zero1, zero2, zero3;
    float one;
};
static_assert(sizeof(Line_Vertex) == 28, "a line vertex is seven floats");

Line_Vertex corner(float x, float y, float z) { return Line_Vertex{x, y, z, 0.0f, 0.0f, 0.0f, 1.0f}; }

}  // namespace

void DrawLine(float x1, float y1, float z1, float x2, float y2, float z2, IDirect3DDevice9** deviceSlot)
{
    if (!deviceSlot || !*deviceSlot)
        return;
    const Line_Vertex line[2] = {corner(x1, y1, z1), corner(x2, y2, z2)};
    (*deviceSlot)->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(Line_Vertex));
}

void DrawWireBox(float x1, float y1, float z1, float x2, float y2, float z2, IDirect3DDevice9** deviceSlot)
{
    if (!deviceSlot || !*deviceSlot)
        return;
    const Line_Vertex edges[24] = {
        corner(x1, y1, z1), corner(x2, y1, z1),
        corner(x2, y1, z1), corner(x2, y2, z1),
        corner(x2, y2, z1), corner(x1, y2, z1),
        corner(x1, y2, z1), corner(x1, y1, z1),
        corner(x1, y1, z1), corner(x1, y1, z2),
        corner(x1, y1, z2), corner(x1, y2, z2),
        corner(x1, y2, z2), corner(x1, y2, z1),
        corner(x2, y1, z1), corner(x2, y1, z2),
        corner(x2, y1, z2), corner(x1, y1, z2),
        corner(x2, y2, z1), corner(x2, y2, z2),
        corner(x2, y2, z2), corner(x1, y2, z2),
        corner(x2, y1, z2), corner(x2, y2, z2),
    };
    (*deviceSlot)->DrawPrimitiveUP(D3DPT_LINELIST, 12, edges, sizeof(Line_Vertex));
}
