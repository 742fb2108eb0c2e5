#include "common/text/font_device_state.h"

#include <cassert>

namespace {

struct Wanted {
    int kind;  // 0 render state, 1 texture stage state, 2 sampler state
    DWORD unit;
    DWORD type;
    DWORD value;
};

const Wanted wanted[] = {
    {0, 0, D3DRS_ALPHABLENDENABLE, TRUE},
    {0, 0, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {0, 0, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {0, 0, D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {0, 0, D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
    // Inked pixels (and only those) write the nearest depth, so a scene drawn after the text
    // stays behind it, as the overlay drawn before the scene needs.
    {0, 0, D3DRS_ALPHATESTENABLE, TRUE},
    {0, 0, D3DRS_ALPHAFUNC, D3DCMP_GREATER},
    {0, 0, D3DRS_ALPHAREF, 0},
    {0, 0, D3DRS_ZENABLE, D3DZB_TRUE},
    {0, 0, D3DRS_ZFUNC, D3DCMP_ALWAYS},
    {0, 0, D3DRS_ZWRITEENABLE, TRUE},
    {0, 0, D3DRS_CULLMODE, D3DCULL_NONE},
    {0, 0, D3DRS_FILLMODE, D3DFILL_SOLID},
    {0, 0, D3DRS_STENCILENABLE, FALSE},
    {0, 0, D3DRS_FOGENABLE, FALSE},
    {0, 0, D3DRS_SCISSORTESTENABLE, FALSE},
    {0, 0, D3DRS_COLORWRITEENABLE, 0xF},
    {1, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {1, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {1, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {1, 0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {1, 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {1, 0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {1, 0, D3DTSS_TEXCOORDINDEX, 0},
    {1, 0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE},
    {1, 1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {1, 1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
    {2, 0, D3DSAMP_MINFILTER, D3DTEXF_POINT},
    {2, 0, D3DSAMP_MAGFILTER, D3DTEXF_POINT},
    {2, 0, D3DSAMP_MIPFILTER, D3DTEXF_NONE},
    {2, 0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP},
    {2, 0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP},
};

}  // namespace

Font_Device_State::Font_Device_State(IDirect3DDevice9* d) : device(d) {
    static_assert(sizeof wanted / sizeof wanted[0] <= sizeof changes / sizeof changes[0], "room for every state");
    for (const Wanted& w : wanted) set(static_cast<Kind>(w.kind), w.unit, w.type, w.value);
    have_texture = SUCCEEDED(device->GetTexture(0, &texture));
    have_fvf = SUCCEEDED(device->GetFVF(&old_fvf));
    have_stream = SUCCEEDED(device->GetStreamSource(0, &stream, &stream_offset, &stream_stride));
    device->SetFVF(fvf);
}

void Font_Device_State::set(Kind kind, DWORD unit, DWORD type, DWORD value) {
    DWORD old = 0;
    HRESULT got = E_FAIL;
    switch (kind) {
    case render: got = device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(type), &old); break;
    case stage: got = device->GetTextureStageState(unit, static_cast<D3DTEXTURESTAGESTATETYPE>(type), &old); break;
    case sampler: got = device->GetSamplerState(unit, static_cast<D3DSAMPLERSTATETYPE>(type), &old); break;
    }
    // A state the device cannot report is left alone: it could not be put back.
    if (FAILED(got) || old == value) return;
    switch (kind) {
    case render: device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(type), value); break;
    case stage: device->SetTextureStageState(unit, static_cast<D3DTEXTURESTAGESTATETYPE>(type), value); break;
    case sampler: device->SetSamplerState(unit, static_cast<D3DSAMPLERSTATETYPE>(type), value); break;
    }
    assert(change_count < static_cast<int>(sizeof changes / sizeof changes[0]));
    changes[change_count++] = {kind, unit, type, old};
}

Font_Device_State::~Font_Device_State() {
    for (int i = change_count - 1; i >= 0; --i) {
        const Change& c = changes[i];
        switch (c.kind) {
        case render: device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(c.type), c.old_value); break;
        case stage: device->SetTextureStageState(c.unit, static_cast<D3DTEXTURESTAGESTATETYPE>(c.type), c.old_value); break;
        case sampler: device->SetSamplerState(c.unit, static_cast<D3DSAMPLERSTATETYPE>(c.type), c.old_value); break;
        }
    }
    if (have_texture) {
        device->SetTexture(0, texture);
        if (texture) texture->Release();
    }
    if (have_fvf) device->SetFVF(old_fvf);
    if (have_stream) {
        device->SetStreamSource(0, stream, stream_offset, stream_stride);
        if (stream) stream->Release();
    }
}
