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

// The shared effect with hooks that count, and no device.
class Counting_Effect final : public D3dx_Effect_Base {
public:
    explicit Counting_Effect(orvex_fx::Compiled_Effect&& fx) : D3dx_Effect_Base(nullptr, std::move(fx), nullptr) {}
    std::vector<std::string> events;
    using D3dx_Effect_Base::pass;
    using D3dx_Effect_Base::variant;

private:
    void on_begin(DWORD flags) override { events.push_back("begin " + std::to_string(flags)); }
    void on_begin_pass(UINT p) override { events.push_back("pass " + std::to_string(p)); }
    void on_commit() override { events.push_back("commit"); }
    void on_end_pass() override { events.push_back("end pass"); }
    void on_end() override { events.push_back("end"); }
};

struct Loaded {
    HRESULT hr = E_FAIL;
    std::string errors;
    Counting_Effect* effect = nullptr;
    ~Loaded() {
        if (effect) effect->Release();
    }
};

void load(const std::string& path, Loaded& out, const D3DXMACRO* defines = nullptr) {
    orvex_fx::Compiled_Effect fx;
    LPD3DXBUFFER errors = nullptr;
    out.hr = orvex_fx::load_effect_file(path.c_str(), defines, nullptr, fx, &errors);
    if (errors) {
        out.errors = static_cast<const char*>(errors->GetBufferPointer());
        errors->Release();
    }
    if (SUCCEEDED(out.hr)) out.effect = new Counting_Effect(std::move(fx));
}

void load_text(const std::string& text, Loaded& out, const D3DXMACRO* defines = nullptr) {
    orvex_fx::Compiled_Effect fx;
    LPD3DXBUFFER errors = nullptr;
    out.hr = orvex_fx::load_effect_memory(text.data(), static_cast<UINT>(text.size()), defines, nullptr, fx, &errors);
    if (errors) {
        out.errors = static_cast<const char*>(errors->GetBufferPointer());
        errors->Release();
    }
    if (SUCCEEDED(out.hr)) out.effect = new Counting_Effect(std::move(fx));
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

TEST(EffectCorpus, UnnamedTechniquesAndPassesAreReachedByIndex) {
    Loaded fx;
    load(kCorpus + "unnamed.fx", fx);
    ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
    D3DXEFFECT_DESC desc;
    fx.effect->GetDesc(&desc);
    EXPECT_EQ(desc.Techniques, 2u);
    D3DXTECHNIQUE_DESC first;
    ASSERT_EQ(fx.effect->GetTechniqueDesc(fx.effect->GetTechnique(0), &first), D3D_OK);
    EXPECT_EQ(first.Name, nullptr);
    EXPECT_EQ(first.Passes, 2u);
    EXPECT_EQ(fx.effect->GetCurrentTechnique(), fx.effect->GetTechnique(0));
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
        load_text(c.source, fx);
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

TEST(EffectBadInput, RandomBytesFailOrSucceedWithoutHarm) {
    std::mt19937 random(1234);
    for (int round = 0; round < 50; ++round) {
        std::string text(static_cast<size_t>(random() % 4096), '\0');
        for (char& c : text) c = static_cast<char>(random());
        Loaded fx;
        load_text(text, fx);
        EXPECT_TRUE(fx.hr == D3D_OK || fx.hr == D3DXERR_INVALIDDATA);
    }
    // Effect-like fragments shuffled: more of them get deep into the parser.
    const char* pieces[] = {"technique", "pass", "{", "}", "(", ")", "<", ">", "=", ";", ",", "compile", "vs_2_0",
                            "ps_2_0", "float4", "sampler_state", "Texture", "ZEnable", "TRUE", "F", "#define",
                            "#if", "#endif", "\n", "1", "\"s\"", "[", "]", ":", "POSITION", "struct", "static"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 60); n > 0; --n) text += std::string(pieces[random() % 32]) + " ";
        Loaded fx;
        load_text(text, fx);
        EXPECT_TRUE(fx.hr == D3D_OK || fx.hr == D3DXERR_INVALIDDATA) << text;
    }
}

TEST(EffectBadInput, HugeFilesAndManyPassesFinish) {
    // 10 MB of comment after a working effect reads; 10 MB of declarations is refused with a message.
    const std::string effect = "float4 PS() : COLOR { return 1; }\ntechnique T { pass { PixelShader = compile ps_2_0 PS(); } }\n";
    std::string commented = effect + "/*" + std::string(10u << 20, 'x') + "*/\n";
    Loaded quiet;
    load_text(commented, quiet);
    EXPECT_EQ(quiet.hr, D3D_OK) << quiet.errors;
    std::string declared = effect;
    for (int i = 0; declared.size() < 10u << 20; ++i) declared += "float p" + std::to_string(i) + " = " + std::to_string(i) + ";\n";
    Loaded large;
    load_text(declared, large);
    EXPECT_EQ(large.hr, D3DXERR_INVALIDDATA);
    EXPECT_NE(large.errors.find("error: preprocessed source is too large"), std::string::npos) << large.errors.substr(0, 300);

    std::string passes = "float4x4 M; float4 VS(float4 p : POSITION) : POSITION { return mul(p, M); }\n"
                         "float4 PS() : COLOR { return 1; }\ntechnique Many {\n";
    for (int i = 0; i < 10000; ++i)
        passes += "pass { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); ZEnable = TRUE; }\n";
    passes += "}\n";
    Loaded many;
    load_text(passes, many);
    ASSERT_EQ(many.hr, D3D_OK) << many.errors;
    D3DXTECHNIQUE_DESC desc;
    many.effect->GetTechniqueDesc("Many", &desc);
    EXPECT_EQ(desc.Passes, 10000u);
    UINT count = 0;
    EXPECT_EQ(many.effect->Begin(&count, 0), D3D_OK);
    EXPECT_EQ(count, 10000u);
    EXPECT_EQ(many.effect->BeginPass(9999), D3D_OK);
    EXPECT_EQ(many.effect->EndPass(), D3D_OK);
    EXPECT_EQ(many.effect->End(), D3D_OK);
}

TEST(EffectParameters, InitialValuesSemanticsAndAnnotationsComeFromTheFile) {
    Loaded fx;
    load(kCorpus + "annotations.fx", fx);
    ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
    ID3DXEffect* e = fx.effect;
    float f = 0;
    EXPECT_EQ(e->GetFloat("Shininess", &f), D3D_OK);
    EXPECT_EQ(f, 32.0f);
    D3DXVECTOR4 tint(0, 0, 0, 0);
    EXPECT_EQ(e->GetVector("Tint", &tint), D3D_OK);
    EXPECT_FLOAT_EQ(tint.x, 0.9f);
    EXPECT_FLOAT_EQ(tint.z, 0.7f);
    EXPECT_EQ(tint.w, 0.0f);
    EXPECT_EQ(e->GetParameterBySemantic(nullptr, "diffuse"), e->GetParameterByName(nullptr, "Tint"));

    D3DXHANDLE shininess = e->GetParameterByName(nullptr, "Shininess");
    D3DXPARAMETER_DESC desc;
    ASSERT_EQ(e->GetParameterDesc(shininess, &desc), D3D_OK);
    EXPECT_EQ(desc.Annotations, 4u);
    EXPECT_EQ(e->GetFloat(e->GetAnnotationByName(shininess, "UIMax"), &f), D3D_OK);
    EXPECT_EQ(f, 128.0f);
    INT steps = 0;
    EXPECT_EQ(e->GetInt(e->GetAnnotationByName("Shininess", "UISteps"), &steps), D3D_OK);
    EXPECT_EQ(steps, 127);
    LPCSTR text = nullptr;
    EXPECT_EQ(e->GetString(e->GetAnnotation(e->GetTechniqueByName("Annotated"), 0), &text), D3D_OK);
    EXPECT_STREQ(text, "Pass=P0;");
    EXPECT_EQ(e->GetString(e->GetAnnotationByName(e->GetPass("Annotated", 0), "Comment"), &text), D3D_OK);
    EXPECT_STREQ(text, "the only pass");
    EXPECT_EQ(e->GetString("Description", &text), D3D_OK);
    EXPECT_STREQ(text, "annotated effect");
}

TEST(EffectParameters, ArraysStaticsAndSharedAreDescribedAsDeclared) {
    Loaded arrays, statics;
    load(kCorpus + "arrays.fx", arrays);
    load(kCorpus + "shared_static.fx", statics);
    ASSERT_EQ(arrays.hr, D3D_OK) << arrays.errors;
    ASSERT_EQ(statics.hr, D3D_OK) << statics.errors;
    D3DXVECTOR4 palette[4];
    ASSERT_EQ(arrays.effect->GetVectorArray("Palette", palette, 4), D3D_OK);
    EXPECT_EQ(palette[1].y, 1.0f);
    EXPECT_EQ(palette[3].x, 1.0f);
    float weights[3];
    ASSERT_EQ(arrays.effect->GetFloatArray("Weights", weights, 3), D3D_OK);
    EXPECT_EQ(weights[1], 0.5f);
    D3DXPARAMETER_DESC desc;
    ASSERT_EQ(arrays.effect->GetParameterDesc("Bones", &desc), D3D_OK);
    EXPECT_EQ(desc.Class, D3DXPC_MATRIX_ROWS);
    EXPECT_EQ(desc.Elements, 2u);
    EXPECT_EQ(desc.Bytes, 128u);

    EXPECT_EQ(statics.effect->GetParameterByName(nullptr, "Luma"), nullptr);
    EXPECT_EQ(statics.effect->GetParameterByName(nullptr, "Gain"), nullptr);
    ASSERT_EQ(statics.effect->GetParameterDesc("ViewProj", &desc), D3D_OK);
    EXPECT_EQ(desc.Flags & D3DX_PARAMETER_SHARED, static_cast<DWORD>(D3DX_PARAMETER_SHARED));
    ASSERT_EQ(statics.effect->GetParameterDesc("World", &desc), D3D_OK);
    EXPECT_EQ(desc.Flags & D3DX_PARAMETER_SHARED, 0u);
}

TEST(EffectParameters, StaticConstantsSizeArraysAndHexIntegersKeepTheirBits) {
    Loaded sizes, hex;
    load(kCorpus + "static_sizes.fx", sizes);
    load_text("int Colour = 0xff202080; int All = 0xffffffff; int Cut = -2.75; int Wide = 1e30;", hex);
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

TEST(EffectParameters, ValuesConvertBetweenTypesAndShapes) {
    Loaded fx;
    load_text("float f; int i; bool b; float3 v3; float4 v4; float4x4 m; float3x3 m3; float list[3];", fx);
    ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
    ID3DXEffect* e = fx.effect;
    INT n = 0;
    EXPECT_EQ(e->SetFloat("i", 2.6f), D3D_OK);
    e->GetInt("i", &n);
    EXPECT_EQ(n, 3);
    BOOL b = FALSE;
    EXPECT_EQ(e->SetInt("b", 7), D3D_OK);
    e->GetBool("b", &b);
    EXPECT_EQ(b, TRUE);
    float f = 0;
    e->GetFloat("b", &f);
    EXPECT_EQ(f, 1.0f);

    D3DXVECTOR4 v(1, 2, 3, 4), back(9, 9, 9, 9);
    EXPECT_EQ(e->SetVector("v3", &v), D3D_OK);
    e->GetVector("v3", &back);
    EXPECT_EQ(back, D3DXVECTOR4(1, 2, 3, 0));
    EXPECT_EQ(e->SetVector("f", &v), D3D_OK);
    e->GetFloat("f", &f);
    EXPECT_EQ(f, 1.0f);

    D3DXMATRIX m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16), got;
    EXPECT_EQ(e->SetMatrix("m", &m), D3D_OK);
    e->GetMatrix("m", &got);
    EXPECT_EQ(memcmp(&m, &got, sizeof m), 0);
    EXPECT_EQ(e->SetMatrixTranspose("m", &m), D3D_OK);
    e->GetMatrix("m", &got);
    EXPECT_EQ(got._12, 5.0f);
    EXPECT_EQ(e->SetMatrix("m3", &m), D3D_OK);
    e->GetMatrix("m3", &got);
    EXPECT_EQ(got, D3DXMATRIX(1, 2, 3, 0, 5, 6, 7, 0, 9, 10, 11, 0, 0, 0, 0, 0));
    EXPECT_EQ(e->SetMatrix("v4", &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->SetVector("m", &v), D3DERR_INVALIDCALL);

    float many[5] = {1, 2, 3, 4, 5}, list[3] = {0, 0, 0};
    EXPECT_EQ(e->SetFloatArray("list", many, 5), D3D_OK);  // the extra values are dropped
    e->GetFloatArray("list", list, 3);
    EXPECT_EQ(list[2], 3.0f);
    float raw[4] = {5, 6, 7, 8};
    EXPECT_EQ(e->SetValue("v4", raw, sizeof raw), D3D_OK);
    e->GetVector("v4", &back);
    EXPECT_EQ(back, D3DXVECTOR4(5, 6, 7, 8));
    EXPECT_EQ(e->SetRawValue("v4", raw, 8, 8), D3D_OK);
    e->GetVector("v4", &back);
    EXPECT_EQ(back, D3DXVECTOR4(5, 6, 5, 6));
    EXPECT_EQ(e->SetRawValue("v4", raw, 12, 8), D3DERR_INVALIDCALL);
}

TEST(EffectParameters, ANameTheEffectLacksFailsAndChangesNothing) {
    Loaded fx;
    load(kCorpus + "basic_color.fx", fx);
    ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
    ID3DXEffect* e = fx.effect;
    D3DXVECTOR4 v(1, 2, 3, 4), tint;
    EXPECT_EQ(e->SetVector("View_Pos", &v), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->SetFloat("tint", 1.0f), D3DERR_INVALIDCALL);  // names are case-sensitive
    EXPECT_EQ(e->SetFloat(nullptr, 1.0f), D3DERR_INVALIDCALL);
    e->GetVector("Tint", &tint);
    EXPECT_EQ(tint, D3DXVECTOR4(1.0f, 0.5f, 0.25f, 1.0f));
    EXPECT_EQ(e->SetTexture("Tint", nullptr), D3DERR_INVALIDCALL);
    D3DXHANDLE handle = e->GetParameterByName(nullptr, "Tint");
    EXPECT_EQ(e->SetVector(handle, &v), D3D_OK);
    e->GetVector("Tint", &tint);
    EXPECT_EQ(tint, v);
}

TEST(EffectTechniques, AnUnknownTechniqueFailsAndKeepsTheCurrentOne) {
    Loaded fx;
    load(kCorpus + "multi_technique.fx", fx);
    ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
    ID3DXEffect* e = fx.effect;
    EXPECT_EQ(e->SetTechnique("Medium"), D3D_OK);
    EXPECT_EQ(e->SetTechnique("medium"), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->SetTechnique("Ultra"), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->SetTechnique(e->GetParameterByName(nullptr, "World")), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->GetCurrentTechnique(), e->GetTechniqueByName("Medium"));
    D3DXHANDLE next = nullptr;
    EXPECT_EQ(e->FindNextValidTechnique("Medium", &next), D3D_OK);
    EXPECT_EQ(next, e->GetTechniqueByName("High"));
    EXPECT_EQ(e->FindNextValidTechnique(next, &next), S_FALSE);
    EXPECT_TRUE(e->IsParameterUsed("LightDir", "Low"));
    EXPECT_FALSE(e->IsParameterUsed("NoSuch", "Low"));
}

TEST(EffectTechniques, PassesRunOnlyInOrder) {
    Loaded fx;
    load(kCorpus + "multi_pass_blend.fx", fx);
    ASSERT_EQ(fx.hr, D3D_OK) << fx.errors;
    Counting_Effect* e = fx.effect;
    EXPECT_EQ(e->BeginPass(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->End(), D3DERR_INVALIDCALL);
    UINT passes = 0;
    ASSERT_EQ(e->Begin(&passes, D3DXFX_DONOTSAVESTATE), D3D_OK);
    EXPECT_EQ(passes, 2u);
    EXPECT_EQ(e->Begin(&passes, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->CommitChanges(), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->BeginPass(2), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->BeginPass(1), D3D_OK);
    EXPECT_EQ(e->BeginPass(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->CommitChanges(), D3D_OK);
    EXPECT_EQ(e->EndPass(), D3D_OK);
    EXPECT_EQ(e->EndPass(), D3DERR_INVALIDCALL);
    EXPECT_EQ(e->BeginPass(0), D3D_OK);
    EXPECT_EQ(e->End(), D3D_OK);  // ends the open pass too
    EXPECT_EQ(e->events, (std::vector<std::string>{"begin 1", "pass 1", "commit", "end pass", "pass 0", "end pass", "end"}));
}

TEST(EffectCompiler, ShadersAreCompiledOnceAndLinkedBySemantic) {
    orvex_fx::Compiled_Effect fx;
    std::string text, messages;
    ASSERT_TRUE(orvex_fx::read_text_file(kCorpus + "multi_pass_blend.fx", text));
    ASSERT_TRUE(orvex_fx::compile_effect(text, "multi_pass_blend.fx", nullptr, nullptr, fx, messages)) << messages;
    const auto& passes = fx.passes[0];
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(passes[0].vertex, passes[1].vertex);  // the same compile statement shares its code
    EXPECT_NE(passes[0].pixel, passes[1].pixel);

    ASSERT_TRUE(orvex_fx::read_text_file(kCorpus + "samplers.fx", text));
    ASSERT_TRUE(orvex_fx::compile_effect(text, "samplers.fx", nullptr, nullptr, fx, messages)) << messages;
    const orvex_fx::Compiled_Pass& p = fx.passes[0][0];
    // Vertex inputs by semantic; varyings by semantic on both sides.
    EXPECT_EQ(p.vertex->reflection.vertex_inputs, (std::vector<std::string>{"POSITION0", "TEXCOORD0"}));
    EXPECT_NE(p.vertex->glsl.find("out vec4 orvex_v_TEXCOORD1;"), std::string::npos);
    EXPECT_NE(p.pixel->glsl.find("in vec4 orvex_v_TEXCOORD1;"), std::string::npos);
    // register(s1) is kept; the others take the free registers in order of declaration.
    std::vector<std::pair<std::string, uint32_t>> samplers;
    for (const auto& s : p.samplers) samplers.push_back({s.parameter, s.sampler});
    EXPECT_EQ(samplers, (std::vector<std::pair<std::string, uint32_t>>{{"BaseSampler", 1}, {"DetailSampler", 0}, {"PlainSampler", 2}}));
}

TEST(EffectCompiler, MacrosFromTheCallerReachTheSource) {
    const std::string source =
        "#ifndef MODE\n#error no mode\n#endif\n"
        "float4 PS() : COLOR { return MODE; }\n"
        "technique T { pass { PixelShader = compile ps_2_0 PS(); } }\n";
    const D3DXMACRO defines[] = {{"MODE", "0.5"}, {nullptr, nullptr}};
    Loaded with, without;
    load_text(source, with, defines);
    load_text(source, without);
    EXPECT_EQ(with.hr, D3D_OK) << with.errors;
    EXPECT_EQ(without.hr, D3DXERR_INVALIDDATA);
    EXPECT_NE(without.errors.find("memory(2): error: #error no mode"), std::string::npos) << without.errors;
}

}  // namespace
