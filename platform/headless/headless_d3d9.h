#pragma once
// The headless Direct3D 9: what a test can see and steer.
//
// Direct3DCreate9 gives an object whose devices keep every state (read it back with the device's
// own Get* methods, or the accessors below), keep buffer and texture contents (read them back
// with Lock/LockRect), draw nothing, and append one line per call to the call log (call_log.h).
//
// The call log, one line per call that changes or draws something (queries such as Get*,
// GetDesc, Check* and AddRef/Release are not logged):
//   Direct3DCreate9(32)
//   CreateDevice(0, HAL, SOFTWARE_VERTEXPROCESSING, {0x0 UNKNOWN, MultiSample 0/0, DISCARD,
//                Windowed 1, DepthStencil 1 D24S8, Interval 0x80000000})        (one line)
//   Clear(0, NULL, TARGET|ZBUFFER, 0xFF6482AA, 1, 0)          rectangles as {x1,y1,x2,y2}...
//   BeginScene()  EndScene()  Present(NULL, NULL, NULL, NULL)
//   SetRenderState(FILLMODE, 2)        state names without D3DRS_; values in decimal, except
//                                      colours (AMBIENT, FOGCOLOR, TEXTUREFACTOR, BLENDFACTOR) in
//                                      hex 0xAARRGGBB and float states (FOGSTART, POINTSIZE, ...)
//                                      as numbers (1, 0.5)
//   SetSamplerState(0, MINFILTER, 3)   SetTextureStageState(0, COLOROP, 4)
//   SetTransform(WORLD, {1 0 0 0; 0 1 0 0; 0 0 1 0; 0 0 0 1})   rows _11.._14 first; WORLD, WORLD1..,
//                                      VIEW, PROJECTION, TEXTURE0..7
//   SetMaterial({D 1 1 1 1, A 0.5 0 0 1, S 0 0 0 0, E 0 0 0 0, P 0})
//   SetLight(0, {DIRECTIONAL, D r g b a, S .., A .., Pos x y z, Dir x y z, Range r, Att a b c})
//   LightEnable(0, 1)   SetViewport({0 0 640 480 0 1})   SetScissorRect({0,0,640,480})
//   SetTexture(0, tex#3)   SetTexture(0, NULL)   SetTexture(0, ?) for a pointer that is no live
//                                      texture of this device
//   SetFVF(XYZRHW|DIFFUSE|TEX1)   SetStreamSource(0, vb#1, 0, 32)   SetIndices(ib#1)
//   DrawPrimitive(TRIANGLELIST, 0, 12)   DrawIndexedPrimitive(TRIANGLELIST, 0, 0, 24, 0, 12)
//   DrawPrimitiveUP(LINELIST, 12, ..., 28)   ("..." for the vertex pointer, NULL when null)
//   DrawIndexedPrimitiveUP(TRIANGLELIST, 0, 4, 2, ..., INDEX16, ..., 20)
//   CreateTexture(64, 64, 0, 0, A8R8G8B8, MANAGED) -> tex#1
//   CreateVertexBuffer(96, WRITEONLY, XYZ|NORMAL, MANAGED) -> vb#1     CreateIndexBuffer(...) -> ib#1
//   vb#1 Lock(0, 0, 0)   vb#1 Unlock()   tex#1 LockRect(0, NULL, 0)   tex#1 UnlockRect(0)
//   Reset({640x480 X8R8G8B8, ...})
// A call that fails ends with " -> " and its result without the D3DERR_ prefix:
//   BeginScene() -> INVALIDCALL
// Resources are named by kind and creation order on their device (tex#1, vb#1, ib#1, each
// counted from 1), unless a label was given with set_resource_label (D3DX names its textures
// after their files that way).
//
// Every successful draw is also kept as a Recorded_Draw with the vertices it read.
#include <d3d9.h>

#include <string>
#include <vector>

namespace orvex_headless {

// Failures a test asks for. They hold until reset_d3d9() (or until the test changes them).
struct D3D9_Failures {
    HRESULT create_device = S_OK;         // CreateDevice answers this (any failure code)
    HRESULT create_vertex_buffer = S_OK;  // CreateVertexBuffer answers this
    HRESULT lock = S_OK;                  // vertex and index buffer Lock answer this
    HRESULT lock_rect = S_OK;             // texture LockRect answers this
    UINT max_samples = 4;                 // multisampling the headless adapter offers (as here)
};
D3D9_Failures& d3d9_failures();

struct Recorded_Draw {
    std::string call;  // the call-log line of the draw
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    UINT primitives = 0;
    DWORD fvf = 0;
    UINT stride = 0;
    // Vertices as the draw read them, `stride` bytes apart: for DrawPrimitive(UP) the vertices in
    // order; for indexed draws vertices 0..max index (BaseVertexIndex already applied) and the
    // indices themselves.
    std::vector<BYTE> vertices;
    std::vector<UINT> indices;
    std::string texture0;  // name of the texture on stage 0, or NULL
    DWORD fill_mode = D3DFILL_SOLID;

    UINT VertexCount() const { return stride ? UINT((vertices.size() + stride - 1) / stride) : 0; }
    // The i-th float of vertex v (0 beyond the data).
    float Float(UINT v, UINT i) const;
};
const std::vector<Recorded_Draw>& recorded_draws();

// The last device made (not AddRef'd; null once it is destroyed or before any).
IDirect3DDevice9* last_device();
// Frames presented and whether a scene is open, for a device of this realization.
unsigned presented_frames(IDirect3DDevice9* device);
// The colour of the last Clear with D3DCLEAR_TARGET (0 before any).
D3DCOLOR last_clear_colour(IDirect3DDevice9* device);

// Names a resource in the call log (instead of tex#N / vb#N / ib#N).
void set_resource_label(IDirect3DResource9* resource, const std::string& label);
// The name the call log uses for a resource ("NULL" for null).
std::string resource_label(IDirect3DResource9* resource);

// Forgets failures and recorded draws (the call log itself is cleared with clear_call_log()).
void reset_d3d9();

}  // namespace orvex_headless
