#pragma once
// The device states a text draw needs, set for the lifetime of this object: alpha blending of
// the diffuse colour by the glyph texture's alpha; inked pixels pass whatever the depth buffer
// holds and write depth 0 (alpha test, depth test ALWAYS, depth writes), so what is drawn later
// does not cover the text; no culling, stencil, fog or scissor; solid fill; point sampling with
// clamped addresses; the pre-transformed FVF. Each state is read first and set only where it differs; the destructor
// puts back exactly those, plus texture stage 0, the FVF and stream 0 (which DrawPrimitiveUP
// clears).
#include <d3d9.h>

class Font_Device_State {
public:
    static const DWORD fvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

    explicit Font_Device_State(IDirect3DDevice9* device);
    ~Font_Device_State();
    Font_Device_State(const Font_Device_State&) = delete;
    Font_Device_State& operator=(const Font_Device_State&) = delete;

private:
    enum Kind { render, stage, sampler };
    struct Change {
        Kind kind;
        DWORD unit;  // stage or sampler
        DWORD type;
        DWORD old_value;
    };

    void set(Kind kind, DWORD unit, DWORD type, DWORD value);

    IDirect3DDevice9* device;
    Change changes[40];
    int change_count = 0;
    IDirect3DBaseTexture9* texture = nullptr;
    bool have_texture = false;
    DWORD old_fvf = 0;
    bool have_fvf = false;
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT stream_offset = 0;
    UINT stream_stride = 0;
    bool have_stream = false;
};
