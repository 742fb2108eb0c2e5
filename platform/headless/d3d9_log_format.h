#pragma once
// How the headless device writes its arguments into the call log (see headless_d3d9.h for the
// format as tests read it).
#include <d3d9.h>

#include <string>

namespace orvex_headless {

std::string d3d9_result(HRESULT hr);                 // INVALIDCALL, NOTAVAILABLE, ... or 0x8876086C
std::string d3d9_render_state(D3DRENDERSTATETYPE state);
std::string d3d9_render_state_value(D3DRENDERSTATETYPE state, DWORD value);
std::string d3d9_stage_state(D3DTEXTURESTAGESTATETYPE type);
std::string d3d9_stage_state_value(D3DTEXTURESTAGESTATETYPE type, DWORD value);
std::string d3d9_sampler_state(D3DSAMPLERSTATETYPE type);
std::string d3d9_sampler_state_value(D3DSAMPLERSTATETYPE type, DWORD value);
std::string d3d9_transform(D3DTRANSFORMSTATETYPE state);
std::string d3d9_primitive(D3DPRIMITIVETYPE type);
std::string d3d9_format(D3DFORMAT format);
std::string d3d9_pool(D3DPOOL pool);
std::string d3d9_fvf(DWORD fvf);
std::string d3d9_clear_flags(DWORD flags);
std::string d3d9_usage(DWORD usage);
std::string d3d9_lock_flags(DWORD flags);
std::string d3d9_behaviour(DWORD flags);
std::string d3d9_hex(DWORD value);                   // 0xFF6482AA
std::string d3d9_float(float value);                 // shortest form: 1, 0.5, -3.25
std::string d3d9_matrix(const D3DMATRIX* m);         // {1 0 0 0; 0 1 0 0; 0 0 1 0; 0 0 0 1} or NULL
std::string d3d9_colour_value(const D3DCOLORVALUE& c);  // r g b a
std::string d3d9_rect(const RECT* r);                // {left,top,right,bottom} or NULL

}  // namespace orvex_headless
