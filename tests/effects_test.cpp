// The effect reader and compiler, and the effect interface over it (no device involved).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/effect/d3dx_effect_base.h"
#include "common/effect/effect_creation.h"
#include "common/effect/fx_preprocessor.h"

namespace {

const std::string kCorpus = std::string(ORVEX_SOURCE_DIR) + "/tests/data/fx/";

// The shared effect without a device: its hooks do nothing.
class Plain_Effect final : public D3dx_Effect_Base {
public:
    explicit Plain_Effect(orvex_fx::Compiled_Effect&& fx) : D3dx_Effect_Base(nullptr, std::move(fx), nullptr) {}
    using D3dx_Effect_Base::variant;

private:
    void on_begin(DWORD) override {}
    void on_begin_pass(UINT) override {}
    void on_commit() override {}
    void on_end_pass() override {}
    void on_end() override {}
};

struct Loaded {
    HRESULT hr = E_FAIL;
    std::string errors;
    Plain_Effect* effect = nullptr;
    ~Loaded() {
        if (effect) effect->Release();
    }
};

// An effect file, or with from_memory the effect whose source text is given.
void load(const std::string& path_or_text, Loaded& out, bool from_memory = false) {
    orvex_fx::Compiled_Effect fx;
    LPD3DXBUFFER errors = nullptr;
    out.hr = from_memory ? orvex_fx::load_effect_memory(path_or_text.data(), static_cast<UINT>(path_or_text.size()),
                                                        nullptr, nullptr, fx, &errors)
                         : orvex_fx::load_effect_file(path_or_text.c_str(), nullptr, nullptr, fx, &errors);
    if (errors) {
        out.errors = static_cast<const char*>(errors->GetBufferPointer());
        errors->Release();
    }
    if (SUCCEEDED(out.hr)) out.effect = new Plain_Effect(std::move(fx));
}

std::string preprocess(const std::string& text, std::string* errors = nullptr) {
    orvex_fx::Preprocessor pp([](const std::string& name, const std::string&, bool, std::string& body, std::string& path) {
        if (name != "lib.h") return false;
        body = "int from_lib;\n";
        path = name;
        return true;
    });
    orvex_fx::Preprocessed out = pp.run(text, "t.fx");
    if (errors) *errors = out.errors;
    if (!out.ok) return "<failed>";
    std::string s;
    for (const auto& t : out.tokens) s += (s.empty() ? "" : " ") + t.text;
    return s;
}

TEST(EffectCorpus, EveryFileCompilesAndItsTechniquesAndPassesAreFoundByName) {
    struct Case {
        const char* file;
        std::vector<std::pair<const char*, std::vector<const char*>>> techniques;
    };
    const std::vector<Case> cases = {
        {"basic_color.fx", {{"Solid", {"P0"}}}},
        {"multi_technique.fx", {{"Low", {"P0"}}, {"Medium", {"P0"}}, {"High", {"P0"}}}},
        {"multi_pass_blend.fx", {{"BaseAndGlow", {"Base", "Glow"}}}},
        {"cube_map.fx", {{"Reflective", {"P0"}}}},
        {"arrays.fx", {{"Skinned", {"P0"}}}},
        {"includes.fx", {{"Textured", {"P0"}}}},
        {"annotations.fx", {{"Annotated", {"P0"}}}},
        {"ps_only.fx", {{"PixelOnly", {"P0"}}}},
        {"vs_only.fx", {{"VertexOnly", {"P0"}}}},
        {"uniform_args.fx", {{"Normal", {"P0"}}, {"Inverted", {"P0"}}}},
        {"preprocessor.fx", {{"Macro", {"P0"}}}},
        {"states_case.fx", {{"States", {"P0"}}}},
        {"samplers.fx", {{"Detail", {"P0"}}}},
        {"shared_static.fx", {{"Gray", {"P0"}}}},
        {"unnamed.fx", {{"Named", {}}}},
        {"out_params.fx", {{"TwoTargets", {"P0"}}}},
        {"shader_vars.fx", {{"FromVariables", {"P0"}}}},
        {"screen_space.fx", {{"Checker", {"P0"}}}},
        {"loops.fx", {{"Sum", {}}, {"Forever", {}}}},
        {"static_sizes.fx", {{"LastTint", {"P0"}}}},
        {"array_inputs.fx", {{"Jitter", {"P0"}}}},
        {"sampler_params.fx", {{"Filtered", {"P0"}}}},
        {"shader_array.fx", {{"Chosen", {"P0"}}, {"Fixed", {"P0"}}}},
        {"constructor_assign.fx", {{"Split", {"P0"}}}},
        {"../../../data/fx/vor_Phong.fx", {{"vor_Phong", {"P0"}}, {"vor_Phong_alpha", {"P0"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Loaded fx;
        load(kCorpus + c.file, fx);
        ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
        for (const auto& t : c.techniques) {
            D3DXHANDLE tech = fx.effect->GetTechniqueByName(t.first);
            ASSERT_NE(tech, nullptr) << t.first;
            D3DXTECHNIQUE_DESC desc;
            ASSERT_EQ(fx.effect->GetTechniqueDesc(tech, &desc), D3D_OK);
            EXPECT_STREQ(desc.Name, t.first);
            for (const char* p : t.second) EXPECT_NE(fx.effect->GetPassByName(tech, p), nullptr) << p;
            EXPECT_NE(fx.effect->GetPass(tech, desc.Passes - 1), nullptr);
            EXPECT_EQ(fx.effect->GetPass(tech, desc.Passes), nullptr);
            EXPECT_EQ(fx.effect->SetTechnique(t.first), D3D_OK);
        }
    }
}

TEST(EffectErrors, BadFilesFailWithTheCompilersMessageNamingFileAndLine) {
    struct Case {
        const char* file;
        const char* message;  // part of the error text
    };
    const Case cases[] = {
        {"bad/syntax_error.fx", "syntax_error.fx(2): error:"},
        {"bad/missing_include.fx", "missing_include.fx(1): error: cannot open include file: no_such_file.fxh"},
        {"bad/unknown_function.fx", "unknown_function.fx(4): error: entry point 'NoSuchFunction' not found"},
        {"bad/bad_profile.fx", "bad_profile.fx(2): error: invalid pixel shader profile 'ps_9_9'"},
        {"bad/undeclared.fx", "undeclared.fx(5): error: 'NotDeclaredAnywhere'"},
        {"bad/self_include.fx", "include itself"},
        {"bad/unknown_state.fx", "unknown_state.fx(2): error: unknown state 'BlendMagic'"},
        {"bad/no_position.fx", "does not write POSITION"},
        {"no_such_effect.fx", "cannot open the effect file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Loaded fx;
        load(kCorpus + c.file, fx);
        EXPECT_EQ(fx.hr, D3DXERR_INVALIDDATA);
        EXPECT_EQ(fx.effect, nullptr);
        EXPECT_NE(fx.errors.find(c.message), std::string::npos) << fx.errors;
    }
}

TEST(EffectErrors, EffectSyntaxMistakesAreReported) {
    struct Case {
        const char* source;
        const char* message;
    };
    const Case cases[] = {
        {"technique T { pass { ZEnable = Sideways; } }", "unknown value 'Sideways' for state ZEnable"},
        {"technique T { pass { ZEnable = TRUE } }", "expected ';'"},
        {"technique T { pass { VertexShader = compile ps_2_0 F(); } }", "invalid vertex shader profile"},
        {"technique T { pass { VertexShader = asm { mov oPos, v0 }; } }", "assembly"},
        {"sampler s = sampler_state { ZEnable = TRUE; };", "no sampler state"},
        {"sampler s = sampler_state { Texture = <nothing>; };", "'nothing' is no texture"},
        {"float a; float a;", "redefinition of 'a'"},
        {"technique T { pass {", "expected '}'"},
        {"float4 PS(uniform float k) : COLOR { return k; } technique T { pass { PixelShader = compile ps_2_0 PS(); } }",
         "takes 1 uniform argument but the compile statement gives 0"},
        {"float arr[0];", "array size"},
        {"static const int N = 2 - 2; float arr[N];", "array size"},
        {"VertexShader v[2] = { NULL };", "'v' has 2 elements but 1 shaders"},
        {"int i; VertexShader v[1] = { NULL }; technique T { pass { VertexShader = v; } }", "'v' is an array"},
        {"VertexShader v[1] = { NULL }; technique T { pass { VertexShader = v[1]; } }", "index of 'v' is out of range"},
        {"float4 PS(float4 c[17] : COLOR0) : COLOR { return c[0]; }\n"
         "technique T { pass { PixelShader = compile ps_2_0 PS(); } }", "array parameter 'c' of 'PS' is not supported"},
        {"#if 1 / 0\n#endif", "division by zero"},
        {"#if 1\nfloat a;", "#if without #endif"},
        {"#endif", "#endif without #if"},
        {"#error stop here", "#error stop here"},
        {"#frobnicate", "unknown preprocessor directive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        Loaded fx;
        load(c.source, fx, true);
        EXPECT_EQ(fx.hr, D3DXERR_INVALIDDATA);
        EXPECT_NE(fx.errors.find(c.message), std::string::npos) << fx.errors;
    }
}

TEST(EffectPreprocessor, ExpandsMacrosAndChoosesBranches) {
    struct Case {
        const char* source;
        const char* expected;
    };
    const Case cases[] = {
        {"#define N 4\nfloat a[N];", "float a [ 4 ] ;"},
        {"#define SQ(x) ((x)*(x))\nSQ(a+1)", "( ( a + 1 ) * ( a + 1 ) )"},
        {"#define A B\n#define B A\nA B", "A B"},  // a macro never expands inside itself
        {"#define F(x) x x\nF(F(1))", "1 1 1 1"},
        {"#define STR(x) #x\nSTR(a \"b\")", "\"a \\\"b\\\"\""},
        {"#define CAT(a, b) a##b\nCAT(tex, 2D)", "tex2D"},
        {"#define E\nE a E", "a"},
        {"#define F(x) [x]\nF\nb", "F b"},  // a name without arguments stays
        {"#define F(a, b) a + b\nF(1,\n2)", "1 + 2"},
        {"#if 2 * 3 == 6 && !defined(X)\nyes\n#else\nno\n#endif", "yes"},
        {"#define X\n#if defined X\nyes\n#endif", "yes"},
        {"#if 0\n#if 1\nno\n#endif\n#elif 1\nsecond\n#else\nno\n#endif", "second"},
        {"#ifdef NOPE\n#error never\n#endif\nok", "ok"},
        {"#define V 2\n#if V > 1 ? 1 : 0\ntrue\n#endif", "true"},
        {"#undef NOTHING\n#define Q 1\n#undef Q\n#ifndef Q\ngone\n#endif", "gone"},
        {"#include \"lib.h\"\nx", "int from_lib ; x"},
        {"#pragma pack_matrix(row_major)\nx", "# pragma pack_matrix ( row_major ) x"},
        {"a /* comment\n over lines */ b // tail\nc", "a b c"},
        {"#define LONG 1 + \\\n 2\nLONG", "1 + 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        std::string errors;
        EXPECT_EQ(preprocess(c.source, &errors), c.expected) << errors;
    }
}

TEST(EffectPreprocessor, RunawayMacrosAndIncludesStopWithAMessage) {
    std::string bomb;
    for (int i = 0; i < 40; ++i) bomb += "#define M" + std::to_string(i + 1) + " M" + std::to_string(i) + " M" + std::to_string(i) + "\n";
    bomb += "M40\n";
    std::string errors;
    EXPECT_EQ(preprocess(bomb, &errors), "<failed>");
    EXPECT_NE(errors.find("too large"), std::string::npos) << errors;

    orvex_fx::Preprocessor self([](const std::string&, const std::string&, bool, std::string& body, std::string& path) {
        body = "#include \"me.fx\"\n";
        path = "me.fx";
        return true;
    });
    orvex_fx::Preprocessed out = self.run("#include \"me.fx\"\n", "me.fx");
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.errors.find("nested too deeply"), std::string::npos);
}

TEST(EffectParameters, StaticConstantsSizeArraysAndHexIntegersKeepTheirBits) {
    Loaded sizes, hex;
    load(kCorpus + "static_sizes.fx", sizes);
    load("int Colour = 0xff202080; int All = 0xffffffff; int Cut = -2.75; int Wide = 1e30;", hex, true);
    ASSERT_EQ(sizes.hr, D3D_OK) << sizes.errors;
    ASSERT_EQ(hex.hr, D3D_OK) << hex.errors;
    const struct {
        const char* name;
        UINT elements;
    } arrays[] = {{"Palette", 26}, {"Tints", 3}};
    for (const auto& a : arrays) {
        D3DXPARAMETER_DESC desc;
        ASSERT_EQ(sizes.effect->GetParameterDesc(a.name, &desc), D3D_OK);
        EXPECT_EQ(desc.Elements, a.elements) << a.name;
    }
    INT n = 0;
    EXPECT_EQ(sizes.effect->GetInt("Bone", &n), D3D_OK);
    EXPECT_EQ(n, 25);
    const struct {
        const char* name;
        INT value;
    } ints[] = {{"Colour", -14671744}, {"All", -1}, {"Cut", -2}};
    for (const auto& i : ints) {
        EXPECT_EQ(hex.effect->GetInt(i.name, &n), D3D_OK);
        EXPECT_EQ(n, i.value) << i.name;
    }
}

TEST(EffectTechniques, AShaderArrayPassRunsTheElementItsIndexNamesAtBeginPass) {
    Loaded fx;
    load(kCorpus + "shader_array.fx", fx);
    ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
    D3DXPARAMETER_DESC desc;
    ASSERT_EQ(fx.effect->GetParameterDesc("vsArray", &desc), D3D_OK);
    EXPECT_EQ(desc.Type, D3DXPT_VERTEXSHADER);
    EXPECT_EQ(desc.Elements, 4u);
    const struct {
        INT bones;
        int variant;
    } cases[] = {{0, 0}, {2, 2}, {3, 3}, {9, 3}, {-1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bones);
        ASSERT_EQ(fx.effect->SetInt("CurNumBones", c.bones), D3D_OK);
        ASSERT_EQ(fx.effect->Begin(nullptr, 0), D3D_OK);
        ASSERT_EQ(fx.effect->BeginPass(0), D3D_OK);
        EXPECT_EQ(fx.effect->variant(), c.variant);
        fx.effect->SetInt("CurNumBones", 1);  // read at BeginPass, not after
        EXPECT_EQ(fx.effect->variant(), c.variant);
        fx.effect->EndPass();
        fx.effect->End();
    }
}
}  // namespace
