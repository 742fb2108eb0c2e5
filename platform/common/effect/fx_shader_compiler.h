#pragma once
// One HLSL shader stage to GLSL 330: glslang's HLSL front end (D3D9 compatible: sampler2D and
// tex2D, COLORn targets) to SPIR-V, SPIRV-Cross back to GLSL, with what the effect needs to
// drive it: the layout of its parameter block, its samplers and its vertex inputs.
#include <cstdint>
#include <string>
#include <vector>

namespace orvex_fx {

enum class Stage { Vertex, Pixel };

// A member of the stage's parameter block (std140), after the global it comes from.
struct Block_Member {
    std::string name;
    uint32_t offset = 0;
    enum Base { Float, Int, Uint } base = Float;
    uint32_t vecsize = 1;        // components per column
    uint32_t columns = 1;        // > 1 for matrices
    uint32_t array_size = 0;     // 0: no array
    uint32_t array_stride = 0;
    uint32_t matrix_stride = 0;
    bool row_major = false;      // GLSL row_major layout
};

struct Stage_Reflection {
    std::string block_name;      // the GLSL uniform block of the parameters ("" when none)
    uint32_t block_size = 0;
    std::vector<Block_Member> members;
    std::vector<std::string> samplers;     // GLSL sampler uniforms the code uses
    std::vector<std::string> vertex_inputs;  // semantics (POSITION0, NORMAL0, ...), GLSL name orvex_in_<semantic>
};

struct Compiled_Stage {
    std::string glsl;
    Stage_Reflection reflection;
};

// Compiles hlsl with its entry point for a stage. block_name: the name the parameter block gets
// in GLSL (each stage its own, so the two stages of a program never clash). Messages from the
// compiler go to log as they come ("ERROR: 0:12: ..."). False when the code does not compile.
bool compile_hlsl(const std::string& hlsl, const std::string& entry, Stage stage,
                  const std::string& block_name, Compiled_Stage& out, std::string& log);

}  // namespace orvex_fx
