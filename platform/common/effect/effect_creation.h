#pragma once
// The part of D3DXCreateEffectFromFileA / D3DXCreateEffect both realizations share: read the
// source, compile it, and hand the messages back in an ID3DXBuffer when one is asked for.
#include <d3dx9.h>

#include "common/effect/fx_effect_compiler.h"

namespace orvex_fx {

// D3D_OK with out filled, or D3DXERR_INVALIDDATA for a file that is missing, unreadable or does
// not compile. *errors (when errors is not null) receives the messages as a NUL-terminated
// string, or null when there are none.
HRESULT load_effect_file(LPCSTR path, const D3DXMACRO* defines, LPD3DXINCLUDE include, Compiled_Effect& out,
                         LPD3DXBUFFER* errors);
HRESULT load_effect_memory(LPCVOID data, UINT bytes, const D3DXMACRO* defines, LPD3DXINCLUDE include,
                           Compiled_Effect& out, LPD3DXBUFFER* errors);

}  // namespace orvex_fx
