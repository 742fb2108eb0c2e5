#pragma once
// Plain lines without a mesh or an effect: one segment, or the twelve edges of an axis-aligned
// box. Both draw a line list of 28-byte vertices (x, y, z, then 0, 0, 0, 1) with whatever vertex
// format, texture, transforms and states the device has in force: they set none. The vertex
// matches D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE for world-space markers; under the console's
// D3DFVF_XYZRHW | D3DFVF_DIFFUSE the same bytes read as screen pixels (rhw 0 draws as 1).
// deviceSlot is the address of the engine's device pointer; a null slot or device draws nothing.
#include <d3d9.h>

// The vertex format world-space markers (camera and light markers) are drawn with: position, a
// zero normal and a point size, the 28 bytes DrawLine and DrawWireBox write.
#define MARKER_LINE_FVF (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE)

void DrawLine(float x1, float y1, float z1, float x2, float y2, float z2, IDirect3DDevice9** deviceSlot);

// Edges in this order: the four of the z1 face (x1y1-x2y1-x2y2-x1y2-x1y1), the x1y1 edge along z,
// then x1y1z2-x1y2z2, x1y2z2-x1y2z1, x2y1z1-x2y1z2, x2y1z2-x1y1z2, x2y2z1-x2y2z2, x2y2z2-x1y2z2,
// x2y1z2-x2y2z2.
void DrawWireBox(float x1, float y1, float z1, float x2, float y2, float z2, IDirect3DDevice9** deviceSlot);
