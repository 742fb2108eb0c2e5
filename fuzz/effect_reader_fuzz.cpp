// Effect source of any bytes through the preprocessor (with one includable file), the effect
// parser, and the entry points generated for every pass.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/effect/fx_entry_wrapper.h"
#include "common/effect/fx_loop_guard.h"
#include "common/effect/fx_parser.h"
#include "common/effect/fx_preprocessor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    orvex_fx::Preprocessor pp([&text](const std::string& name, const std::string&, bool, std::string& body,
                                      std::string& path) {
        if (name == "self.fx") body = text;  // includes itself, possibly again and again
        else if (name == "common.fxh") body = "#define COMMON 1\nfloat4x4 WorldViewProj;\n";
        else return false;
        path = name;
        return true;
    });
    pp.define("FUZZ", "1");
    orvex_fx::Preprocessed source = pp.run(text, "fuzz.fx");
    if (!source.ok) return 0;
    orvex_fx::Effect_Description fx;
    std::string errors;
    if (!orvex_fx::parse_effect(source.tokens, source.files, fx, errors)) return 0;
    std::vector<orvex_fx::Token> guarded = orvex_fx::guard_loops(fx.hlsl);
    (void)guarded;
    for (const orvex_fx::Technique& t : fx.techniques) {
        for (const orvex_fx::Pass& p : t.passes) {
            std::vector<std::pair<orvex_fx::Shader_Ref, orvex_fx::Shader_Ref>> variants;
            std::string code, error;
            if (!orvex_fx::shader_variants(p, variants, error)) continue;
            for (const auto& [vs, ps] : variants) {
                std::vector<std::string> inputs, outputs;
                if (ps.present && !ps.null) {
                    orvex_fx::pixel_inputs(fx, ps, inputs, error);
                    orvex_fx::pixel_entry(fx, ps, code, error);
                }
                if (vs.present && !vs.null)
                    orvex_fx::vertex_entry(fx, vs, inputs, code, outputs, error);
                else
                    code = orvex_fx::fixed_vertex_glsl(inputs);
            }
        }
    }
    return 0;
}
