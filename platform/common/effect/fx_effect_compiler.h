#pragma once
// From effect source to what a device needs to run it: preprocesses and parses the file, and
// compiles every pass's shaders to GLSL (each distinct shader once). Both realizations of
// ID3DXEffect create their effects through here, so an effect that fails in the viewer fails
// the same way in tests.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <d3dx9.h>

#include "common/effect/fx_description.h"
#include "common/effect/fx_shader_compiler.h"

namespace orvex_fx {

// D3D's number of the first vertex texture sampler; vertex samplers are numbered from it.
const uint32_t kVertexSamplerBase = 257;

struct Compiled_Pass {
    bool programmable = false;                // false: both stages are the device's fixed function
    bool vertex_fixed = false, pixel_fixed = false;  // the stage is a fixed-function stand-in
    std::shared_ptr<const Compiled_Stage> vertex, pixel;
    // GLSL sampler name -> D3D sampler (stage) it reads, and the parameter it came from.
    struct Sampler_Binding {
        std::string glsl_name;
        std::string parameter;
        uint32_t sampler;
    };
    std::vector<Sampler_Binding> samplers;
    // A pass that chooses its shaders from shader arrays by parameters: one compiled pass per
    // choice, in the order of shader_variants (the pass itself holds the first); empty otherwise.
    std::vector<Compiled_Pass> variants;
};

struct Compiled_Effect {
    Effect_Description description;
    std::vector<std::vector<Compiled_Pass>> passes;  // [technique][pass]
};

// Reads a file through the path resolver into text. False when it cannot be read.
bool read_text_file(const std::string& path, std::string& text);

// Compiles effect source. path names it in messages and is where #include "..." starts from.
// include, when given, opens included files instead. messages receives the preprocessor's,
// parser's and compiler's messages, "path(line): error: ..." (also on success, for warnings).
bool compile_effect(const std::string& text, const std::string& path, const D3DXMACRO* defines,
                    ID3DXInclude* include, Compiled_Effect& out, std::string& messages);

}  // namespace orvex_fx
