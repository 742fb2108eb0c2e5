#pragma once
// The device states a pass or a sampler_state block may assign, by the names effect files use
// ("AlphaBlendEnable", "MinFilter", ...; any letter case, with or without the SDK prefix), with
// their SDK numbers and the names their values may be given by ("SrcAlpha", "LessEqual", ...).
#include <cstdint>
#include <string>

namespace orvex_fx {

enum class State_Kind { Render, Sampler, Texture_Stage, Texture, Sampler_Object, Vertex_Shader, Pixel_Shader };
enum class Value_Kind { Integer, Boolean, Float, Enum, Color_Mask };

struct State_Info {
    State_Kind kind;
    uint32_t id;              // D3DRS_*, D3DSAMP_*, D3DTSS_* (0 for the others)
    Value_Kind value_kind;
    const char* value_table;  // name of the value table for Enum states
};

// Looks a state up by name; false when the name is no state.
bool find_state(const std::string& name, State_Info& info);
// Turns a value name of a table ("SrcAlpha" in "blend") into its number; false when unknown.
bool find_state_value(const char* table, const std::string& name, uint32_t& value);

}  // namespace orvex_fx
