// The headless effect: compiled like the native one, recorded in the call log instead of drawn.
#include <gtest/gtest.h>

#include <d3d9.h>
#include <d3dx9.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "call_log.h"
#include "headless_d3d9.h"
#include "headless_win32.h"

using namespace orvex_headless;

namespace {

LRESULT CALLBACK test_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class HeadlessEffect : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chdir(ORVEX_SOURCE_DIR "/data"), 0);
        reset_win32();
        reset_d3d9();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = test_proc;
        wc.lpszClassName = "EffectTest";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, "EffectTest", "fx", WS_OVERLAPPEDWINDOW, 0, 0, 656, 519, nullptr, nullptr, nullptr,
                                 nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS pp{};
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                                    &device),
                  D3D_OK);
        clear_call_log();
    }
    void TearDown() override {
        if (effect) effect->Release();
        if (device) device->Release();
        if (d3d) d3d->Release();
        reset_win32();
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXEffect* effect = nullptr;
};

TEST_F(HeadlessEffect, TheCallLogHoldsExactlyTheCallsMadeAndNoDeviceCall) {
    ASSERT_EQ(D3DXCreateEffectFromFileA(device, "fx\\vor_Phong.fx", nullptr, nullptr, 0, nullptr, &effect, nullptr), D3D_OK);
    const D3DXVECTOR4 view(1, 2, 3, 1), position(10, 20, 30, 1), colour(1, 0.5f, 0.25f, 1);
    D3DXMATRIX wvp, world;
    D3DXMatrixTranslation(&world, 1, 2, 3);
    D3DXMatrixScaling(&wvp, 2, 2, 2);
    effect->SetVector("View_Pos", &view);
    effect->SetMatrix("mat_World_View_Proj", &wvp);
    effect->SetMatrix(effect->GetParameterByName(nullptr, "matWorld"), &world);
    effect->SetVector("LightPos", &position);
    effect->SetVector("LightColor", &colour);
    effect->SetFloat("LightFalloff", 1000.0f);
    effect->SetFloat("LightSpecular", 8.5f);
    effect->SetFloat("LightSpecular_Itens", 0.19f);
    effect->SetFloat("LightAmbient", 0.005f);
    effect->SetFloat("Attenuation", 0.8f);
    effect->SetTechnique("vor_Phong_alpha");
    UINT passes = 0;
    effect->Begin(&passes, 0);
    effect->BeginPass(0);
    effect->CommitChanges();
    effect->EndPass();
    effect->End();
    EXPECT_EQ(passes, 1u);
    const std::string e = "effect fx\\vor_Phong.fx ";
    const std::vector<std::string> expected = {
        "D3DXCreateEffectFromFileA(\"fx\\vor_Phong.fx\")",
        e + "SetVector(View_Pos, 1 2 3 1)",
        e + "SetMatrix(mat_World_View_Proj, 2 0 0 0 0 2 0 0 0 0 2 0 0 0 0 1)",
        e + "SetMatrix(matWorld, 1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1)",
        e + "SetVector(LightPos, 10 20 30 1)",
        e + "SetVector(LightColor, 1 0.5 0.25 1)",
        e + "SetFloat(LightFalloff, 1000)",
        e + "SetFloat(LightSpecular, 8.5)",
        e + "SetFloat(LightSpecular_Itens, 0.19)",
        e + "SetFloat(LightAmbient, 0.005)",
        e + "SetFloat(Attenuation, 0.8)",
        e + "SetTechnique(vor_Phong_alpha)",
        e + "Begin(0)",
        e + "BeginPass(0)",
        e + "CommitChanges()",
        e + "EndPass()",
        e + "End()",
    };
    EXPECT_EQ(call_log(), expected);
}

TEST_F(HeadlessEffect, CorpusConstructsCreateAsTheyDoNatively) {
    for (const char* f : {"static_sizes.fx", "array_inputs.fx", "sampler_params.fx", "shader_array.fx", "constructor_assign.fx"}) {
        SCOPED_TRACE(f);
        const std::string path = std::string(ORVEX_SOURCE_DIR "/tests/data/fx/") + f;
        ASSERT_EQ(D3DXCreateEffectFromFileA(device, path.c_str(), nullptr, nullptr, 0, nullptr, &effect, nullptr), D3D_OK);
        effect->Release();
        effect = nullptr;
    }
}

TEST_F(HeadlessEffect, FailuresAreRecordedAndCreationFailsAsItDoesNatively) {
    LPD3DXBUFFER errors = nullptr;
    EXPECT_EQ(D3DXCreateEffectFromFileA(device, ORVEX_SOURCE_DIR "/tests/data/fx/bad/undeclared.fx", nullptr, nullptr, 0,
                                        nullptr, &effect, &errors),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(effect, nullptr);
    ASSERT_NE(errors, nullptr);
    EXPECT_NE(std::string(static_cast<const char*>(errors->GetBufferPointer())).find("undeclared.fx(5): error:"),
              std::string::npos);
    errors->Release();
    EXPECT_EQ(D3DXCreateEffectFromFileA(nullptr, "fx\\vor_Phong.fx", nullptr, nullptr, 0, nullptr, &effect, nullptr),
              D3DERR_INVALIDCALL);

    ASSERT_EQ(D3DXCreateEffectFromFileA(device, "FX\\VOR_PHONG.FX", nullptr, nullptr, 0, nullptr, &effect, nullptr), D3D_OK);
    effect->SetFloat("NoSuchParameter", 1.0f);
    effect->SetTechnique("NoSuchTechnique");
    effect->BeginPass(0);
    const std::string e = "effect FX\\VOR_PHONG.FX ";
    const std::vector<std::string> expected = {
        "D3DXCreateEffectFromFileA(\"" ORVEX_SOURCE_DIR "/tests/data/fx/bad/undeclared.fx\") -> failed",
        "D3DXCreateEffectFromFileA(\"FX\\VOR_PHONG.FX\")",
        e + "SetFloat(NoSuchParameter, 1) -> failed",
        e + "SetTechnique(NoSuchTechnique) -> failed",
        e + "BeginPass(0) -> failed",
    };
    EXPECT_EQ(call_log(), expected);
    D3DXHANDLE current = effect->GetCurrentTechnique();
    EXPECT_EQ(current, effect->GetTechniqueByName("vor_Phong"));
}

}  // namespace
