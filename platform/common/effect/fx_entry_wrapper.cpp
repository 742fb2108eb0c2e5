#include "common/effect/fx_entry_wrapper.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>

namespace orvex_fx {

const char* const kVertexEntry = "orvex_vs_main";
const char* const kPixelEntry = "orvex_ps_main";

std::string normal_semantic(const std::string& semantic) {
    std::string s;
    for (char c : semantic) s += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (s == "SV_POSITION") return "POSITION0";
    if (s.compare(0, 9, "SV_TARGET") == 0) s = "COLOR" + s.substr(9);
    if (s == "SV_DEPTH") s = "DEPTH";
    if (s.empty() || !isdigit(static_cast<unsigned char>(s.back()))) s += '0';
    return s;
}

std::string register_semantic(const std::string& semantic, unsigned element) {
    std::string s = normal_semantic(semantic);
    size_t digits = s.size();
    while (digits > 0 && isdigit(static_cast<unsigned char>(s[digits - 1]))) --digits;
    if (element == 0 || digits == s.size() || s.size() - digits > 3) return s;
    return s.substr(0, digits) + std::to_string(std::stoul(s.substr(digits)) + element);
}

namespace {

// Registers of one semantic a varying array may take; D3D9 has no more.
const unsigned kMaxVaryingArray = 16;

// Components of a scalar or vector type, 0 for anything else.
int components(const std::string& type, std::string& base) {
    static const char* const bases[] = {"float", "half", "double", "int", "uint", "bool", "dword", "min16float"};
    for (const char* b : bases) {
        size_t n = strlen(b);
        if (type.compare(0, n, b) != 0) continue;
        std::string rest = type.substr(n);
        base = b;
        if (rest.empty()) return 1;
        if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '4') return rest[0] - '0';
        return 0;
    }
    return 0;
}

const char* const kSwizzles[] = {"", ".x", ".xy", ".xyz", ""};

// The switch is a specialization constant: the GLSL translation leaves it a macro that the GL
// compiler folds, so the test and its discard vanish unless the macro is defined true.
#define ORVEX_ALPHA_SWITCH "2000"
const char* const kAlphaSwitchMacro = "SPIRV_CROSS_CONSTANT_ID_" ORVEX_ALPHA_SWITCH;

const char* const kAlphaTestCode =
    "[[vk::constant_id(" ORVEX_ALPHA_SWITCH ")]] const bool orvex_alpha_test_on = false;\n"
    "float4 orvex_alpha_test;\n"
    "bool orvex_alpha_passes(float alpha)\n"
    "{\n"
    "    float a = floor(saturate(alpha) * 255.0 + 0.5);\n"
    "    float r = orvex_alpha_test.y;\n"
    "    int f = int(orvex_alpha_test.x + 0.5);\n"
    "    if (f == 1) return false;\n"
    "    if (f == 2) return a < r;\n"
    "    if (f == 3) return a == r;\n"
    "    if (f == 4) return a <= r;\n"
    "    if (f == 5) return a > r;\n"
    "    if (f == 6) return a != r;\n"
    "    if (f == 7) return a >= r;\n"
    "    return true;\n"
    "}\n";

// float4 value v as the type: float2(v.xy)
std::string from_float4(const std::string& v, const std::string& type, std::string& error) {
    std::string base;
    int n = components(type, base);
    if (n == 0) {
        error = "a varying of type '" + type + "' is not supported";
        return "";
    }
    return type + "(" + v + kSwizzles[n] + ")";
}

// A value of the type as float4, the missing components (0, 0, 0, 1) as D3D9 fills them.
std::string to_float4(const std::string& v, const std::string& type, std::string& error) {
    std::string base;
    int n = components(type, base);
    if (n == 0) {
        error = "an output of type '" + type + "' is not supported";
        return "";
    }
    static const char* const pads[] = {"", ", 0, 0, 1", ", 0, 1", ", 1", ""};
    std::string cast = n == 1 ? "float(" + v + ")" : "float" + std::to_string(n) + "(" + v + ")";
    return "float4(" + cast + pads[n] + ")";
}

const Function* find_function(const Effect_Description& fx, const std::string& name) {
    for (const Function& f : fx.functions)
        if (f.name == name) return &f;
    return nullptr;
}

const Struct_Def* find_struct(const Effect_Description& fx, const std::string& name) {
    for (const Struct_Def& s : fx.structs)
        if (s.name == name) return &s;
    return nullptr;
}

// Which parameters of the function take the compile statement's arguments: those declared
// uniform, and, while arguments remain, those with no semantic that are no struct of varyings.
std::vector<bool> uniform_params(const Effect_Description& fx, const Function& f, size_t args) {
    std::vector<bool> u(f.params.size(), false);
    size_t left = args;
    for (size_t i = 0; i < f.params.size(); ++i) {
        const Variable& p = f.params[i];
        bool declared = p.qualifier == "uniform";
        bool bare = p.semantic.empty() && !find_struct(fx, p.type) && p.qualifier == "in";
        if (declared || (bare && left > 0)) {
            u[i] = true;
            if (left > 0) --left;
        }
    }
    return u;
}

using Input = std::function<std::string(const std::string& semantic, const std::string& type)>;
using Output = std::function<void(const std::string& semantic, const std::string& value, const std::string& type)>;

// Calls the shader function from the generated entry: locals for its varying parameters filled
// through input, the uniform ones from the compile statement, and every output it makes (out
// parameters, struct members, the return value) handed to output. Code goes to pre.
bool call_function(const Effect_Description& fx, const Shader_Ref& ref, const Input& input, const Output& output,
                   std::string& pre, std::string& error) {
    const Function* found = find_function(fx, ref.entry);
    if (!found) {
        error = "entry point '" + ref.entry + "' not found";
        return false;
    }
    const Function& f = *found;
    std::vector<bool> u = uniform_params(fx, f, ref.args.size());
    size_t need = static_cast<size_t>(std::count(u.begin(), u.end(), true));
    if (need != ref.args.size()) {
        error = "'" + ref.entry + "' takes " + std::to_string(need) + " uniform argument" + (need == 1 ? "" : "s") +
                " but the compile statement gives " + std::to_string(ref.args.size());
        return false;
    }
    std::string call;
    size_t arg = 0;
    for (size_t i = 0; i < f.params.size(); ++i) {
        const Variable& p = f.params[i];
        std::string local = "orvex_a" + std::to_string(i);
        if (!call.empty()) call += ", ";
        if (u[i]) {
            call += "(" + ref.args[arg++] + ")";
            continue;
        }
        const Struct_Def* s = find_struct(fx, p.type);
        if (p.elements && (s || p.elements > kMaxVaryingArray)) {
            error = "array parameter '" + p.name + "' of '" + f.name + "' is not supported";
            return false;
        }
        pre += "    " + p.type + " " + local + (p.elements ? "[" + std::to_string(p.elements) + "]" : "") + ";\n";
        // An array takes consecutive registers of its semantic: TEXCOORD1, TEXCOORD2, ...
        auto each = [&](const Variable& v, const std::string& access, const std::function<void(const std::string&, const std::string&)>& fn) {
            if (!v.elements) fn(v.semantic, access);
            if (!v.elements || v.semantic.empty()) return;
            if (v.elements > kMaxVaryingArray) {
                error = "array member '" + v.name + "' takes more than " + std::to_string(kMaxVaryingArray) + " registers";
                return;
            }
            for (unsigned e = 0; e < v.elements; ++e)
                fn(register_semantic(v.semantic, e), access + "[" + std::to_string(e) + "]");
        };
        if (p.qualifier != "out") {
            if (s) {
                for (const Variable& m : s->members)
                    if (!m.semantic.empty())
                        each(m, local + "." + m.name, [&](const std::string& sem, const std::string& at) {
                            pre += "    " + at + " = " + input(sem, m.type) + ";\n";
                        });
            } else if (!p.semantic.empty()) {
                each(p, local, [&](const std::string& sem, const std::string& at) {
                    pre += "    " + at + " = " + input(sem, p.type) + ";\n";
                });
            } else {
                error = "parameter '" + p.name + "' of '" + f.name + "' has no semantic";
                return false;
            }
        }
        if (p.qualifier == "out" || p.qualifier == "inout") {
            if (s) {
                for (const Variable& m : s->members)
                    each(m, local + "." + m.name, [&](const std::string& sem, const std::string& at) { output(sem, at, m.type); });
            } else {
                each(p, local, [&](const std::string& sem, const std::string& at) { output(sem, at, p.type); });
            }
        }
        call += local;
    }
    std::string invoke = f.name + "(" + call + ")";
    if (f.return_type != "void") {
        const Struct_Def* s = find_struct(fx, f.return_type);
        pre += "    " + f.return_type + " orvex_r = " + invoke + ";\n";
        if (s) {
            for (const Variable& m : s->members) {
            if (m.elements && m.semantic.empty()) continue;
            if (m.elements > kMaxVaryingArray) {
                error = "array member '" + m.name + "' takes more than " + std::to_string(kMaxVaryingArray) + " registers";
                return false;
            }
            if (!m.elements) output(m.semantic, "orvex_r." + m.name, m.type);
            for (unsigned e = 0; e < m.elements; ++e)
                output(register_semantic(m.semantic, e), "orvex_r." + m.name + "[" + std::to_string(e) + "]", m.type);
        }
        } else {
            output(f.return_semantic, "orvex_r", f.return_type);
        }
    } else {
        pre += "    " + invoke + ";\n";
    }
    return error.empty();
}

}  // namespace

bool pixel_inputs(const Effect_Description& fx, const Shader_Ref& ps, std::vector<std::string>& semantics,
                  std::string& error) {
    const Function* f = find_function(fx, ps.entry);
    if (!f) {
        error = "entry point '" + ps.entry + "' not found";
        return false;
    }
    std::vector<bool> u = uniform_params(fx, *f, ps.args.size());
    auto add = [&](const std::string& semantic) {
        if (semantic.empty()) return;
        std::string s = normal_semantic(semantic);
        if (s == "VPOS0" || s == "VFACE0" || s == "POSITION0") return;
        if (std::find(semantics.begin(), semantics.end(), s) == semantics.end()) semantics.push_back(s);
    };
    for (size_t i = 0; i < f->params.size(); ++i) {
        const Variable& p = f->params[i];
        if (u[i] || p.qualifier == "out") continue;
        auto add_all = [&](const Variable& v) {
            for (unsigned e = 0; e < std::max(1u, std::min(v.elements, kMaxVaryingArray)); ++e)
                add(v.semantic.empty() ? v.semantic : register_semantic(v.semantic, e));
        };
        if (const Struct_Def* s = find_struct(fx, p.type)) {
            for (const Variable& m : s->members) add_all(m);
        } else {
            add_all(p);
        }
    }
    return true;
}

bool vertex_entry(const Effect_Description& fx, const Shader_Ref& vs, const std::vector<std::string>& required,
                  std::string& code, std::vector<std::string>& outputs, std::string& error) {
    std::vector<std::string> in_semantics;
    std::string pre, post;
    bool position = false;
    auto input = [&](const std::string& semantic, const std::string& type) -> std::string {
        std::string s = normal_semantic(semantic);
        if (std::find(in_semantics.begin(), in_semantics.end(), s) == in_semantics.end()) in_semantics.push_back(s);
        return from_float4("orvex_in_" + s, type, error);
    };
    auto output = [&](const std::string& semantic, const std::string& value, const std::string& type) {
        if (semantic.empty()) return;
        std::string s = normal_semantic(semantic);
        std::string v = to_float4(value, type, error);
        if (s == "POSITION0") {
            post += "    orvex_position = " + v + ";\n";
            position = true;
        } else if (s.compare(0, 4, "PSIZ") == 0) {
            // The point size has no varying of its own here.
        } else {
            if (std::find(outputs.begin(), outputs.end(), s) == outputs.end()) outputs.push_back(s);
            post += "    orvex_v_" + s + " = " + v + ";\n";
        }
    };
    if (!call_function(fx, vs, input, output, pre, error)) return false;
    if (!position) {
        error = "vertex shader '" + vs.entry + "' does not write POSITION";
        return false;
    }
    for (const std::string& r : required) {
        if (std::find(outputs.begin(), outputs.end(), r) == outputs.end()) {
            outputs.push_back(r);
            post += "    orvex_v_" + r + " = float4(0, 0, 0, 0);\n";
        }
    }
    code = "float4 orvex_clip_xy;\nfloat4 orvex_clip_z;\nvoid " + std::string(kVertexEntry) + "(";
    bool first = true;
    for (const std::string& s : in_semantics) {
        code += std::string(first ? "" : ", ") + "in float4 orvex_in_" + s + " : ORVEX_IN_" + s;
        first = false;
    }
    code += std::string(first ? "" : ", ") + "out float4 orvex_position : SV_Position";
    for (const std::string& s : outputs) code += ", out float4 orvex_v_" + s + " : ORVEX_" + s;
    code += ")\n{\n" + pre + post +
            "    orvex_position.xy = orvex_position.xy * orvex_clip_xy.xy + orvex_clip_xy.zw * orvex_position.w;\n"
            "    orvex_position.z = orvex_position.z * orvex_clip_z.x + orvex_clip_z.y * orvex_position.w;\n}\n";
    return true;
}

bool pixel_entry(const Effect_Description& fx, const Shader_Ref& ps, std::string& code, std::string& error) {
    std::vector<std::string> in_semantics, targets;
    bool fragcoord = false, face = false, depth = false;
    std::string pre, post;
    auto input = [&](const std::string& semantic, const std::string& type) -> std::string {
        std::string s = normal_semantic(semantic);
        if (s == "VPOS0" || s == "POSITION0") {
            fragcoord = true;
            return from_float4("(orvex_fragcoord - float4(0.5, 0.5, 0, 0))", type, error);
        }
        if (s == "VFACE0") {
            face = true;
            return type + "(orvex_face ? 1.0 : -1.0)";
        }
        if (std::find(in_semantics.begin(), in_semantics.end(), s) == in_semantics.end()) in_semantics.push_back(s);
        return from_float4("orvex_v_" + s, type, error);
    };
    auto output = [&](const std::string& semantic, const std::string& value, const std::string& type) {
        if (semantic.empty()) return;
        std::string s = normal_semantic(semantic);
        if (s.compare(0, 5, "COLOR") == 0 && s.size() == 6 && s[5] >= '0' && s[5] <= '3') {
            std::string n = s.substr(5);
            if (std::find(targets.begin(), targets.end(), n) == targets.end()) targets.push_back(n);
            post += "    orvex_target" + n + " = " + to_float4(value, type, error) + ";\n";
        } else if (s == "DEPTH0") {
            depth = true;
            post += "    orvex_depth = float(" + value + ");\n";
        } else {
            error = "pixel shader output semantic '" + semantic + "' is not supported";
        }
    };
    if (!call_function(fx, ps, input, output, pre, error)) return false;
    if (targets.empty()) {
        error = "pixel shader '" + ps.entry + "' does not write COLOR";
        return false;
    }
    code = "void " + std::string(kPixelEntry) + "(";
    bool first = true;
    auto param = [&](const std::string& text) {
        code += (first ? "" : ", ") + text;
        first = false;
    };
    for (const std::string& s : in_semantics) param("in float4 orvex_v_" + s + " : ORVEX_" + s);
    if (fragcoord) param("in float4 orvex_fragcoord : SV_Position");
    if (face) param("in bool orvex_face : SV_IsFrontFace");
    std::sort(targets.begin(), targets.end());
    for (const std::string& t : targets) param("out float4 orvex_target" + t + " : SV_Target" + t);
    if (depth) param("out float orvex_depth : SV_Depth");
    // The device's alpha test, which GL leaves to the program: x the D3DCMP function (0 off),
    // y the reference (0..255).
    post += "    if (orvex_alpha_test_on && orvex_alpha_test.x > 0.5 && !orvex_alpha_passes(orvex_target0.a)) discard;\n";
    code = std::string(kAlphaTestCode) + code + ")\n{\n" + pre + post + "}\n";
    return true;
}

std::string fixed_vertex_glsl(const std::vector<std::string>& required) {
    std::string s =
        "#version 330\n"
        "uniform mat4 orvex_ff_wvp;\n"
        "uniform vec2 orvex_clip_adjust;\n"
        "in vec4 orvex_in_POSITION0;\n";
    std::string body = "    gl_Position = orvex_ff_wvp * vec4(orvex_in_POSITION0.xyz, 1.0);\n";
    std::vector<std::string> declared_inputs;
    for (const std::string& r : required) {
        s += "out vec4 orvex_v_" + r + ";\n";
        if (r == "COLOR0" || r == "COLOR1" || r.compare(0, 8, "TEXCOORD") == 0) {
            s += "in vec4 orvex_in_" + r + ";\n";
            body += "    orvex_v_" + r + " = orvex_in_" + r + ";\n";
        } else {
            body += "    orvex_v_" + r + " = vec4(0.0);\n";
        }
    }
    body += "    gl_Position.xy += orvex_clip_adjust * gl_Position.w;\n";
    return s + "void main()\n{\n" + body + "}\n";
}

std::string fixed_pixel_glsl(const std::vector<std::string>& available) {
    auto has = [&](const char* s) { return std::find(available.begin(), available.end(), s) != available.end(); };
    std::string s =
        "#version 330\n"
        "uniform sampler2D orvex_ff_texture;\n"
        "uniform int orvex_ff_use_texture;\n"
        "uniform vec4 orvex_alpha_test;\n"
        "layout(location = 0) out vec4 orvex_target0;\n";
    if (has("COLOR0")) s += "in vec4 orvex_v_COLOR0;\n";
    if (has("TEXCOORD0")) s += "in vec4 orvex_v_TEXCOORD0;\n";
    s += "void main()\n{\n";
    s += has("COLOR0") ? "    vec4 c = orvex_v_COLOR0;\n" : "    vec4 c = vec4(1.0);\n";
    s += has("TEXCOORD0") ? "    vec2 uv = orvex_v_TEXCOORD0.xy;\n" : "    vec2 uv = vec2(0.0);\n";
    s += "    if (orvex_ff_use_texture != 0) c *= texture(orvex_ff_texture, uv);\n";
    s += "    orvex_target0 = c;\n";
    s += "    float a = floor(clamp(c.a, 0.0, 1.0) * 255.0 + 0.5), r = orvex_alpha_test.y;\n";
    s += "    int f = int(orvex_alpha_test.x + 0.5);\n";
    s += "    if ((f == 1) || (f == 2 && !(a < r)) || (f == 3 && a != r) || (f == 4 && !(a <= r)) ||\n";
    s += "        (f == 5 && !(a > r)) || (f == 6 && a == r) || (f == 7 && !(a >= r))) discard;\n}\n";
    return s;
}

std::string with_alpha_test(const std::string& pixel_glsl) {
    const std::string undefined = std::string("#ifndef ") + kAlphaSwitchMacro + "\n";
    const size_t at = pixel_glsl.find(undefined);
    if (at == std::string::npos) return pixel_glsl;
    std::string glsl = pixel_glsl;
    glsl.insert(at, std::string("#define ") + kAlphaSwitchMacro + " true\n");
    return glsl;
}

}  // namespace orvex_fx
