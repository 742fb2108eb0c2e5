// The native effect on the OpenGL device, drawn off screen and checked by its pixels.
#include <gtest/gtest.h>

#include <d3d9.h>
#include <d3dx9.h>


#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "native_device_fixture.h"

namespace {

const std::string kData = std::string(ORVEX_SOURCE_DIR) + "/data/";
const std::string kCorpus = std::string(ORVEX_SOURCE_DIR) + "/tests/data/fx/";

using orvex_test::Rgb;

struct Mesh_Vertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
const DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

class NativeEffect : public orvex_test::NativeDeviceTest {
protected:
    void SetUp() override {
        NativeDeviceTest::SetUp();
        ASSERT_EQ(Create(), D3D_OK);
        D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 3, 640.0f / 480.0f, 0.5f, 100.0f);
        D3DXMatrixIdentity(&world);
        make_sphere(1.0f, 32, 24);
    }

    void TearDown() override {
        for (IDirect3DTexture9* t : textures) t->Release();
        if (effect) effect->Release();
        NativeDeviceTest::TearDown();
    }

    void make_sphere(float radius, int slices, int stacks) {
        for (int i = 0; i <= stacks; ++i) {
            float theta = D3DX_PI * i / stacks;
            for (int j = 0; j <= slices; ++j) {
                float phi = 2 * D3DX_PI * j / slices;
                float nx = std::sin(theta) * std::cos(phi), ny = std::cos(theta), nz = std::sin(theta) * std::sin(phi);
                sphere.push_back({nx * radius, ny * radius, nz * radius, nx, ny, nz, float(j) / slices, float(i) / stacks});
            }
        }
        for (int i = 0; i < stacks; ++i)
            for (int j = 0; j < slices; ++j) {
                WORD a = WORD(i * (slices + 1) + j), b = WORD(a + slices + 1);
                indices.insert(indices.end(), {a, WORD(a + 1), b, WORD(a + 1), WORD(b + 1), b});
            }
    }

    IDirect3DTexture9* solid_texture(D3DCOLOR colour) {
        IDirect3DTexture9* t = nullptr;
        EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
        D3DLOCKED_RECT r;
        EXPECT_EQ(t->LockRect(0, &r, nullptr, 0), D3D_OK);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) memcpy(static_cast<char*>(r.pBits) + y * r.Pitch + x * 4, &colour, 4);
        t->UnlockRect(0);
        textures.push_back(t);
        return t;
    }

    // Makes the effect of a file, or with from_memory the effect whose source text is given.
    void load(const std::string& path_or_text, bool from_memory = false) {
        LPD3DXBUFFER errors = nullptr;
        HRESULT hr = from_memory ? D3DXCreateEffect(device, path_or_text.data(), UINT(path_or_text.size()), nullptr,
                                                    nullptr, 0, nullptr, &effect, &errors)
                                 : D3DXCreateEffectFromFileA(device, path_or_text.c_str(), nullptr, nullptr, 0, nullptr,
                                                             &effect, &errors);
        std::string text = errors ? static_cast<const char*>(errors->GetBufferPointer()) : "";
        if (errors) errors->Release();
        ASSERT_EQ(hr, D3D_OK) << text;
    }

    void light(const D3DXVECTOR4& position, const D3DXVECTOR4& colour) {
        D3DXMATRIX wvp;
        D3DXMatrixMultiply(&wvp, &world, &view);
        D3DXMatrixMultiply(&wvp, &wvp, &projection);
        D3DXVECTOR4 eye(0, 0, -5, 1);
        effect->SetVector("View_Pos", &eye);
        effect->SetMatrix("mat_World_View_Proj", &wvp);
        effect->SetMatrix("matWorld", &world);
        effect->SetVector("LightPos", &position);
        effect->SetVector("LightColor", &colour);
        effect->SetFloat("LightFalloff", 1000.0f);
        effect->SetFloat("LightSpecular", 8.5f);
        effect->SetFloat("LightSpecular_Itens", 0.19f);
        effect->SetFloat("LightAmbient", 0.005f);
        effect->SetFloat("Attenuation", 0.8f);
    }

    // Draws the sphere through the current technique, as the engine draws an object.
    void draw_sphere(const char* technique) {
        ASSERT_EQ(effect->SetTechnique(technique), D3D_OK);
        UINT passes = 0;
        ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
        for (UINT p = 0; p < passes; ++p) {
            ASSERT_EQ(effect->BeginPass(p), D3D_OK);
            device->SetFVF(kMeshFvf);
            ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, UINT(sphere.size()), UINT(indices.size() / 3),
                                                     indices.data(), D3DFMT_INDEX16, sphere.data(), sizeof(Mesh_Vertex)),
                      D3D_OK);
            effect->EndPass();
        }
        ASSERT_EQ(effect->End(), D3D_OK);
    }

    ID3DXEffect* effect = nullptr;
    std::vector<IDirect3DTexture9*> textures;
    D3DXMATRIX world, view, projection;
    std::vector<Mesh_Vertex> sphere;
    std::vector<WORD> indices;
};

// The sphere's radius is about 83 pixels on screen, centred at (320, 240).
const int kLeft = 320 - 60, kRight = 320 + 60, kMiddle = 240;

TEST_F(NativeEffect, ASphereIsLitOnTheSideFacingTheLightAndDarkOnTheOther) {
    load(kData + "fx/vor_Phong.fx");
    device->SetTexture(0, solid_texture(0xFFFFFFFF));
    BeginScene(0xFF000000);
    light(D3DXVECTOR4(-10, 0, -2, 1), D3DXVECTOR4(1, 1, 1, 1));
    draw_sphere("vor_Phong");
    Show();
    Rgb lit = At(kLeft, kMiddle), dark = At(kRight, kMiddle), outside = At(20, 20);
    EXPECT_GT(lit.r, 150) << lit;
    EXPECT_LT(dark.r, 30) << dark;
    EXPECT_EQ(outside.r + outside.g + outside.b, 0) << outside;
    EXPECT_NEAR(lit.r, lit.g, 2);  // a white light on a white texture stays grey
}

TEST_F(NativeEffect, ASecondLightIsAddedWithTheAlphaTechnique) {
    load(kData + "fx/vor_Phong.fx");
    device->SetTexture(0, solid_texture(0xFFFFFFFF));
    BeginScene(0xFF000000);
    light(D3DXVECTOR4(-4, 0, -4, 1), D3DXVECTOR4(1, 0, 0, 1));
    draw_sphere("vor_Phong");
    light(D3DXVECTOR4(4, 0, -4, 1), D3DXVECTOR4(0, 1, 0, 1));
    draw_sphere("vor_Phong_alpha");
    Show();
    Rgb left = At(kLeft, kMiddle), right = At(kRight, kMiddle), front = At(320, kMiddle);
    EXPECT_GT(left.r, 150) << left;
    EXPECT_LT(left.g, 30) << left;
    EXPECT_GT(right.g, 150) << right;
    EXPECT_LT(right.r, 30) << right;
    EXPECT_GT(front.r, 60) << front;  // the middle faces both lights: both colours add up there
    EXPECT_GT(front.g, 60) << front;
    DWORD blend = 1, zwrite = 0;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    device->GetRenderState(D3DRS_ZWRITEENABLE, &zwrite);
    EXPECT_EQ(blend, static_cast<DWORD>(FALSE));
    EXPECT_EQ(zwrite, static_cast<DWORD>(TRUE));
}

const char* const kQuadEffect =
    "float4 Colour = {1, 0, 0, 0.5};\n"
    "texture Picture;\n"
    "sampler2D Stage0 : register(s0);\n"
    "sampler2D FromParameter : register(s1) = sampler_state { Texture = <Picture>; MagFilter = Point; };\n"
    "struct V { float4 p : POSITION; float2 uv : TEXCOORD0; };\n"
    "V VS(float4 p : POSITION, float2 uv : TEXCOORD0) { V o; o.p = p; o.uv = uv; return o; }\n"
    "float4 Flat() : COLOR { return Colour; }\n"
    "float4 Sampled(float2 uv : TEXCOORD0) : COLOR { return tex2D(Stage0, uv); }\n"
    "float4 Named(float2 uv : TEXCOORD0) : COLOR { return tex2D(FromParameter, uv); }\n"
    "technique Blend { pass { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 Flat();\n"
    "    AlphaBlendEnable = true; SrcBlend = SrcAlpha; DestBlend = InvSrcAlpha; ZEnable = false; } }\n"
    "technique Stage { pass { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 Sampled(); } }\n"
    "technique Param { pass { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 Named(); } }\n";

struct Clip_Vertex {
    float x, y, z;
    float u, v;
};

// Draws a quad in clip space over the left half of the screen through the technique's first
// pass; in_pass runs after BeginPass.
void draw_quad(IDirect3DDevice9* device, ID3DXEffect* effect, const char* technique,
               const std::function<void()>& in_pass = [] {}) {
    const Clip_Vertex quad[4] = {{-1, 1, 0.5f, 0, 0}, {0, 1, 0.5f, 1, 0}, {-1, -1, 0.5f, 0, 1}, {0, -1, 0.5f, 1, 1}};
    ASSERT_EQ(effect->SetTechnique(technique), D3D_OK);
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    in_pass();
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Clip_Vertex)), D3D_OK);
    effect->EndPass();
    ASSERT_EQ(effect->End(), D3D_OK);
}

TEST_F(NativeEffect, ABlendingPassBlendsAndEndPutsTheBlendStateBack) {
    load(kQuadEffect, true);
    BeginScene(0xFF0000FF);
    draw_quad(device, effect, "Blend");
    Show();
    Rgb blended = At(100, 240), untouched = At(500, 240);
    EXPECT_NEAR(blended.r, 128, 3) << blended;
    EXPECT_NEAR(blended.b, 127, 3) << blended;
    EXPECT_EQ(untouched.b, 255) << untouched;
    DWORD enable = 1, source = 0, destination = 0, z = 0;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &enable);
    device->GetRenderState(D3DRS_SRCBLEND, &source);
    device->GetRenderState(D3DRS_DESTBLEND, &destination);
    device->GetRenderState(D3DRS_ZENABLE, &z);
    EXPECT_EQ(enable, static_cast<DWORD>(FALSE));
    EXPECT_EQ(source, static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(destination, static_cast<DWORD>(D3DBLEND_ZERO));
    EXPECT_EQ(z, static_cast<DWORD>(D3DZB_TRUE));
}

TEST_F(NativeEffect, TheTextureOnStageZeroShowsThroughAnUnassignedSampler) {
    load(kQuadEffect, true);
    device->SetTexture(0, solid_texture(0xFF00FF00));
    BeginScene(0xFF000000);
    draw_quad(device, effect, "Stage");
    Show();
    Rgb seen = At(100, 240);
    EXPECT_EQ(seen.g, 255) << seen;
    EXPECT_EQ(seen.r, 0) << seen;
}

// Programs leave the alpha test out while the device's is off; on, at BeginPass or at a commit, it discards.
TEST_F(NativeEffect, TheAlphaTestDiscardsAnEffectsPixelsOnlyWhileItIsOn) {
    load(kQuadEffect, true);
    device->SetTexture(0, solid_texture(0x4000FF00));
    device->SetRenderState(D3DRS_ALPHAREF, 128);
    const struct { DWORD enable, func; bool at_commit, drawn; } cases[] = {
        {FALSE, D3DCMP_GREATER, false, true}, {TRUE, D3DCMP_GREATER, false, false},
        {TRUE, D3DCMP_LESS, false, true},     {TRUE, D3DCMP_GREATER, true, false},
    };
    for (const auto& c : cases) {
        device->SetRenderState(D3DRS_ALPHAFUNC, c.func);
        device->SetRenderState(D3DRS_ALPHATESTENABLE, c.at_commit ? FALSE : c.enable);
        BeginScene(0xFF0000FF);
        draw_quad(device, effect, "Stage", [&] {
            if (c.at_commit) {
                device->SetRenderState(D3DRS_ALPHATESTENABLE, c.enable);
                effect->CommitChanges();
            }
        });
        Show();
        EXPECT_EQ(At(100, 240).g == 255, c.drawn) << "case " << (&c - cases) << ": " << At(100, 240);
    }
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
}

TEST_F(NativeEffect, ASamplerNamingATextureParameterReadsThatTextureAndEndRestoresTheStage) {
    load(kQuadEffect, true);
    IDirect3DTexture9* picture = solid_texture(0xFFFFFF00);
    ASSERT_EQ(effect->SetTexture("Picture", picture), D3D_OK);
    BeginScene(0xFF000000);
    draw_quad(device, effect, "Param");
    Show();
    Rgb seen = At(100, 240);
    EXPECT_EQ(seen.r, 255) << seen;
    EXPECT_EQ(seen.g, 255) << seen;
    EXPECT_EQ(seen.b, 0) << seen;
    IDirect3DBaseTexture9* stage1 = reinterpret_cast<IDirect3DBaseTexture9*>(1);
    device->GetTexture(1, &stage1);
    EXPECT_EQ(stage1, nullptr);
    DWORD mag = 0;
    device->GetSamplerState(1, D3DSAMP_MAGFILTER, &mag);
    EXPECT_EQ(mag, static_cast<DWORD>(D3DTEXF_POINT));
}

TEST_F(NativeEffect, AnEndlessLoopInAShaderStillFinishesTheDraw) {
    load(
        "float Limit = 1;\n"
        "float4 VS(float4 p : POSITION) : POSITION { return p; }\n"
        "float4 PS() : COLOR { float4 c = 0; for (;;) { c.g += 0.25; if (c.g > Limit) c.g = 0; } return c; }\n"
        "technique Endless { pass { VertexShader = compile vs_3_0 VS(); PixelShader = compile ps_3_0 PS(); } }\n",
        true);
    BeginScene(0xFF000000);
    draw_quad(device, effect, "Endless");
    Show();
    Rgb seen = At(100, 240);
    // c.g cycles 0.25, 0.5, 0.75, 1, 0; 4096 rounds are 819 cycles and one step: 0.25.
    EXPECT_EQ(seen.g, 64) << seen;
}

TEST_F(NativeEffect, CorpusConstructsDrawWhatHlslMakesOfThem) {
    struct Case {
        const char* file;
        const char* technique;
        INT bones;  // CurNumBones, for the shader array
        Rgb expected;
    };
    const Case cases[] = {
        {"static_sizes.fx", "LastTint", 0, {64, 128, 191}},
        {"array_inputs.fx", "Jitter", 0, {64, 128, 191}},
        {"constructor_assign.fx", "Split", 0, {64, 128, 191}},
        {"shader_array.fx", "Chosen", 0, {255, 0, 0}},
        {"shader_array.fx", "Chosen", 1, {0, 255, 0}},
        {"shader_array.fx", "Chosen", 3, {255, 255, 255}},
        {"shader_array.fx", "Fixed", 0, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.technique + " " + std::to_string(c.bones));
        load(kCorpus + c.file);
        effect->SetInt("CurNumBones", c.bones);
        BeginScene(0xFF000000);
        draw_quad(device, effect, c.technique);
        Show();
        Rgb seen = At(100, 240);
        EXPECT_NEAR(seen.r, c.expected.r, 2) << seen;
        EXPECT_NEAR(seen.g, c.expected.g, 2) << seen;
        EXPECT_NEAR(seen.b, c.expected.b, 2) << seen;
        effect->Release();
        effect = nullptr;
    }
}

TEST_F(NativeEffect, SamplerStatesNamingParametersTakeTheirValuesAtBeginPass) {
    load(kCorpus + "sampler_params.fx");
    for (INT filter : {D3DTEXF_LINEAR, D3DTEXF_POINT}) {
        ASSERT_EQ(effect->SetInt("Filter", filter), D3D_OK);
        ASSERT_EQ(effect->SetFloat("Bias", float(filter)), D3D_OK);
        ASSERT_EQ(effect->Begin(nullptr, 0), D3D_OK);
        ASSERT_EQ(effect->BeginPass(0), D3D_OK);
        DWORD min = 0, mag = 0, bias = 0;
        device->GetSamplerState(0, D3DSAMP_MINFILTER, &min);
        device->GetSamplerState(0, D3DSAMP_MAGFILTER, &mag);
        device->GetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, &bias);
        EXPECT_EQ(min, DWORD(filter));
        EXPECT_EQ(mag, DWORD(filter));
        float lod = 0;
        memcpy(&lod, &bias, 4);
        EXPECT_EQ(lod, float(filter));
        effect->EndPass();
        effect->End();
    }
}

TEST_F(NativeEffect, EveryCorpusEffectLinksOnTheDevice) {
    const char* files[] = {"basic_color.fx", "multi_technique.fx", "multi_pass_blend.fx", "cube_map.fx", "arrays.fx",
                           "includes.fx", "annotations.fx", "ps_only.fx", "vs_only.fx", "uniform_args.fx",
                           "preprocessor.fx", "states_case.fx", "samplers.fx", "shared_static.fx", "unnamed.fx",
                           "out_params.fx", "shader_vars.fx", "screen_space.fx", "loops.fx", "sampler_params.fx"};
    for (const char* f : files) {
        SCOPED_TRACE(f);
        load(kCorpus + f);
        if (effect) effect->Release();
        effect = nullptr;
    }
}

}  // namespace
