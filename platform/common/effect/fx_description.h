#pragma once
// What an effect file declares, as the effect parser finds it: parameters with their types,
// initial values and annotations, the structs and functions of its HLSL, and its techniques
// with their passes, state assignments and shader compile statements.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <d3dx9.h>

#include "common/effect/fx_lexer.h"
#include "common/effect/fx_state_tables.h"

namespace orvex_fx {

// A value component: the parameter's own component type decides how the bits are read.
union Component {
    float f;
    int32_t i;
    uint32_t u;
};

// A number as a 32-bit integer, as HLSL converts it: 0xff202080 keeps its bits (-14671744),
// fractions are cut off, and what no 64-bit integer holds (NaN included) saturates first.
inline int32_t int_bits(double v) {
    if (std::isnan(v)) return 0;
    const double limit = 9223372036854775807.0;  // rounds up to 2^63
    int64_t whole = v >= limit ? INT64_MAX : v <= -limit ? INT64_MIN : static_cast<int64_t>(v);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

// "compile vs_2_0 Entry(args)" or NULL, or an element of a shader array.
struct Shader_Ref {
    bool present = false;       // the pass assigns this shader at all
    bool null = false;          // assigned NULL: fixed function
    std::string profile;        // "vs_2_0", "ps_3_0", ...
    std::string entry;
    std::vector<std::string> args;  // HLSL text of each argument, bound to the uniform parameters
    int file = 0, line = 0;
    // A shader array's elements (the array variable's own value), or, in a pass, the elements
    // one of which the int parameter selector chooses when the pass begins.
    std::vector<Shader_Ref> elements;
    std::string selector;
};

struct Parameter {
    std::string name;
    std::string semantic;
    D3DXPARAMETER_CLASS cls = D3DXPC_SCALAR;
    D3DXPARAMETER_TYPE type = D3DXPT_FLOAT;
    unsigned rows = 1, columns = 1;
    unsigned elements = 0;          // array length, 0 for no array
    DWORD flags = 0;                // D3DX_PARAMETER_SHARED / _ANNOTATION
    bool column_major = false;      // declared column_major
    std::vector<Component> value;   // rows x columns x max(1, elements) components, row by row
    std::string string_value;       // string parameters and annotations
    std::vector<Parameter> annotations;

    // samplers
    std::string texture;            // the texture parameter its sampler_state names, or ""
    struct Sampler_State {
        uint32_t state;
        uint32_t value;
        std::string parameter;      // the value is read from this parameter when a pass applies it
        Value_Kind kind;
    };
    std::vector<Sampler_State> sampler_states;
    int register_index = -1;        // register(sN) / register(cN) when given
    Shader_Ref shader;              // VertexShader / PixelShader variables

    unsigned components() const { return rows * columns * (elements ? elements : 1); }
    bool is_numeric() const { return type == D3DXPT_BOOL || type == D3DXPT_INT || type == D3DXPT_FLOAT; }
    bool is_texture() const { return type >= D3DXPT_TEXTURE && type <= D3DXPT_TEXTURECUBE; }
    bool is_sampler() const { return type >= D3DXPT_SAMPLER && type <= D3DXPT_SAMPLERCUBE; }
};

struct State_Assignment {
    State_Info info;
    uint32_t index = 0;         // [n] after the name: stage, light, ...
    uint32_t value = 0;         // the constant, when parameter is empty
    std::string parameter;      // value read from this parameter at BeginPass
    int file = 0, line = 0;
};

struct Pass {
    std::string name;
    std::vector<Parameter> annotations;
    std::vector<State_Assignment> states;  // render, sampler, texture-stage and texture states
    Shader_Ref vertex_shader, pixel_shader;
};

struct Technique {
    std::string name;
    std::vector<Parameter> annotations;
    std::vector<Pass> passes;
};

struct Variable {
    std::string type;           // HLSL spelling of the type: "float4", "VS_OUTPUT"
    std::string name;
    std::string semantic;       // upper case, "" when none
    std::string qualifier;      // "in", "out", "inout" or "uniform" ("in" when none)
    unsigned elements = 0;
};

struct Struct_Def {
    std::string name;
    std::vector<Variable> members;
};

struct Function {
    std::string name;
    std::string return_type;
    std::string return_semantic;
    std::vector<Variable> params;
};

struct Effect_Description {
    std::vector<Parameter> parameters;
    std::vector<Technique> techniques;
    std::vector<Struct_Def> structs;
    std::vector<Function> functions;
    std::vector<Token> hlsl;    // the HLSL left for the compiler: no techniques, textures or states
};

}  // namespace orvex_fx
