#pragma once
// The entry points that make a D3D9 shader function a stage the GL pipeline can link.
//
// D3D9 links a vertex shader to a pixel shader by semantic and feeds vertex inputs by semantic;
// GLSL links by name. So every compiled stage gets a generated entry that calls the effect's
// function and speaks only in float4 values named after their semantic: vertex inputs
// orvex_in_<SEMANTIC> (POSITION0, NORMAL0, COLOR0, TEXCOORD3, ...), varyings orvex_v_<SEMANTIC>,
// the clip position through SV_Position (D3D9's POSITION output), pixel targets SV_Target<n>
// (COLOR<n>). Uniform arguments of the compile statement are passed as written.
//
// The vertex entry applies the device's clip conventions from two parameters every vertex
// stage carries: orvex_clip_xy (xy scale, zw offset x w) and orvex_clip_z (x scale, y offset x w).
// The pixel entry applies the device's alpha test from orvex_alpha_test (x: the D3DCMP function,
// 0 for no test; y: the reference 0..255), which GL leaves to programs. The test is compiled in
// only where the pixel GLSL is given to the GL through with_alpha_test: a shader that can discard
// loses the rasteriser's early depth writes and costs more per pixel, so programs for draws
// without the test leave it out.
#include <string>
#include <vector>

#include "common/effect/fx_description.h"

namespace orvex_fx {

extern const char* const kVertexEntry;  // "orvex_vs_main"
extern const char* const kPixelEntry;   // "orvex_ps_main"

// "COLOR" -> "COLOR0", "texcoord1" -> "TEXCOORD1", "SV_Position" -> "POSITION0".
std::string normal_semantic(const std::string& semantic);

// The register an array's element takes: ("TEXCOORD1", 2) -> "TEXCOORD3".
std::string register_semantic(const std::string& semantic, unsigned element);

// The varyings (normal semantics, without VPOS/VFACE) the pixel shader entry reads.
bool pixel_inputs(const Effect_Description& fx, const Shader_Ref& ps, std::vector<std::string>& semantics,
                  std::string& error);

// HLSL for the vertex entry; required: the varyings the pixel stage reads (written as zero when
// the shader has no such output). outputs receives the varyings the entry writes.
bool vertex_entry(const Effect_Description& fx, const Shader_Ref& vs, const std::vector<std::string>& required,
                  std::string& code, std::vector<std::string>& outputs, std::string& error);
bool pixel_entry(const Effect_Description& fx, const Shader_Ref& ps, std::string& code, std::string& error);

// The GLSL of a compiled pixel stage with the alpha test compiled in; the text unchanged when the
// stage has no such switch (a fixed-function stand-in tests alpha itself). Called by the device's
// effect when it links the program for draws with D3DRS_ALPHATESTENABLE on.
std::string with_alpha_test(const std::string& pixel_glsl);

// GLSL 330 stand-ins for a pass that compiles only one stage: the fixed-function vertex transform
// (uniform mat4 orvex_ff_wvp, the device's world x view x projection as D3D stores it; colours
// and texture coordinates passed on; uniform vec2 orvex_clip_adjust as the device fills it) and
// the fixed-function pixel stage 0 (diffuse, modulated by uniform sampler2D orvex_ff_texture when
// uniform int orvex_ff_use_texture is not 0; uniform vec4 orvex_alpha_test as above).
std::string fixed_vertex_glsl(const std::vector<std::string>& required);
std::string fixed_pixel_glsl(const std::vector<std::string>& available);

}  // namespace orvex_fx
