#pragma once
// The console's panels: pre-transformed quads of four vertices in one vertex buffer, drawn as a
// triangle strip.
#include <windows.h>
#include <d3d9.h>

#define CONSOLE_QUAD_FVF (D3DFVF_XYZRHW | D3DFVF_DIFFUSE)

// One vertex of a console quad: screen pixels, depth, rhw and colour; 20 bytes.
struct ScreenQuadVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

// Creates an 80-byte default-pool buffer on device holding the rectangle from (left, top) to
// (right, bottom) at depth z in one colour, its corners in strip order: left bottom, left top,
// right bottom, right top (rhw 1, 0, 1, 0). On success *buffer holds it. A failed creation or
// lock answers E_FAIL and leaves *buffer null (a buffer made before a failed lock is released).
HRESULT CreateScreenQuad(IDirect3DDevice9* device, float left, float top, float right,
                         float bottom, float z, D3DCOLOR colour, IDirect3DVertexBuffer9** buffer);

// Draws a quad made by CreateScreenQuad: stream 0, the quad's vertex format, two triangles.
// A null buffer draws nothing.
void DrawScreenQuad(IDirect3DDevice9* device, IDirect3DVertexBuffer9* buffer);

// Releases *resource if it is there and sets it to null.
template <typename T>
void ReleaseConsoleResource(T** resource)
{
    if (*resource) {
        (*resource)->Release();
        *resource = NULL;
    }
}
