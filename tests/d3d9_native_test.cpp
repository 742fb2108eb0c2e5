// The OpenGL device, drawn off screen (SDL's "offscreen" video driver, Mesa's software
// rasteriser) and checked pixel by pixel against what Direct3D 9 draws.
#include <gtest/gtest.h>

#include <d3d9.h>
#include <d3dx9.h>

#include <cmath>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/draw_lines.h"
#include "native_device_fixture.h"

namespace {

constexpr D3DCOLOR kClear = 0xFF6482AA;

using orvex_test::Rgb;

const Rgb kClearRgb{0x64, 0x82, 0xAA};

struct Screen_Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};
const DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

struct Textured_Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};

struct Lit_Vertex {
    float x, y, z;
    float nx, ny, nz;
};

class NativeDevice : public orvex_test::NativeDeviceTest {
protected:
    // Starts a frame on a fresh device: cleared, lighting off, no culling surprises.
    void Begin()
    {
        ASSERT_EQ(Create(), D3D_OK);
        BeginScene(kClear);
    }

    void ScreenQuad(float x1, float y1, float x2, float y2, float z, D3DCOLOR colour)
    {
        const Screen_Vertex quad[4] = {
            {x1, y1, z, 1.0f, colour}, {x2, y1, z, 1.0f, colour}, {x1, y2, z, 1.0f, colour}, {x2, y2, z, 1.0f, colour}};
        device->SetFVF(kScreenFvf);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Screen_Vertex)), D3D_OK);
    }
};

TEST_F(NativeDevice, PreTransformedQuadCoversThePixelsD3D9Covers)
{
    Begin();
    ScreenQuad(16, 16, 80, 80, 0.5f, 0xFFFF0000);
    Show();
    const Rgb red{255, 0, 0};
    for (int i : {16, 40, 79}) {
        EXPECT_EQ(At(15, i), kClearRgb) << "x 15, y " << i;
        EXPECT_EQ(At(16, i), red) << "x 16, y " << i;
        EXPECT_EQ(At(79, i), red) << "x 79, y " << i;
        EXPECT_EQ(At(80, i), kClearRgb) << "x 80, y " << i;
        EXPECT_EQ(At(i, 15), kClearRgb) << "y 15, x " << i;
        EXPECT_EQ(At(i, 16), red) << "y 16, x " << i;
        EXPECT_EQ(At(i, 79), red) << "y 79, x " << i;
        EXPECT_EQ(At(i, 80), kClearRgb) << "y 80, x " << i;
    }
}

TEST_F(NativeDevice, TransformedTriangleLandsWhereTheD3DXFormulasSay)
{
    Begin();
    D3DXMATRIX world, view, projection;
    D3DXMatrixTranslation(&world, 1.5f, 0.75f, 2.0f);
    const D3DXVECTOR3 eye(0, 1, -6), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 640.0f / 480.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    struct Vertex {
        float x, y, z;
        D3DCOLOR colour;
    };
    const Vertex triangle[3] = {{-0.2f, -0.2f, 0, 0xFF00FF00}, {0.0f, 0.3f, 0, 0xFF00FF00}, {0.2f, -0.2f, 0, 0xFF00FF00}};
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Vertex)), D3D_OK);
    Show();

    // Where D3D9 puts each corner: v * world * view * projection, divided by w, to the viewport
    // (pixel centres at whole numbers). The covered pixels' centres average to the centroid.
    D3DXMATRIX all = world * view * projection;
    double expected_x = 0, expected_y = 0;
    for (const Vertex& v : triangle) {
        D3DXVECTOR3 p(v.x, v.y, v.z), ndc;
        D3DXVec3TransformCoord(&ndc, &p, &all);
        expected_x += (ndc.x + 1.0) * 0.5 * 640.0 / 3.0;
        expected_y += (1.0 - ndc.y) * 0.5 * 480.0 / 3.0;
    }
    double sum_x = 0, sum_y = 0;
    int covered = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (At(x, y) == Rgb{0, 255, 0}) {
                sum_x += x;
                sum_y += y;
                ++covered;
            }
    ASSERT_GT(covered, 200) << "the triangle is on screen";
    EXPECT_NEAR(sum_x / covered, expected_x, 0.25);
    EXPECT_NEAR(sum_y / covered, expected_y, 0.25);
}

TEST_F(NativeDevice, DepthTestHidesTheFartherQuadWhateverTheOrder)
{
    Begin();
    ScreenQuad(10, 10, 60, 60, 0.2f, 0xFF00FF00);
    ScreenQuad(30, 30, 90, 90, 0.8f, 0xFFFF0000);
    ScreenQuad(110, 10, 160, 60, 0.8f, 0xFFFF0000);
    ScreenQuad(130, 30, 190, 90, 0.2f, 0xFF00FF00);
    Show();
    EXPECT_EQ(At(45, 45), (Rgb{0, 255, 0})) << "near drawn first";
    EXPECT_EQ(At(80, 80), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(145, 45), (Rgb{0, 255, 0})) << "near drawn second";
    EXPECT_EQ(At(115, 15), (Rgb{255, 0, 0}));
}

TEST_F(NativeDevice, WireframeDrawsTheEdgesOnly)
{
    Begin();
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    ScreenQuad(20, 20, 100, 100, 0.5f, 0xFFFFFFFF);
    Show();
    EXPECT_EQ(At(60, 40), kClearRgb) << "inside stays clear";
    EXPECT_EQ(At(60, 20), (Rgb{255, 255, 255})) << "top edge";
    EXPECT_EQ(At(20, 60), (Rgb{255, 255, 255})) << "left edge";
}

TEST_F(NativeDevice, AmbientMaterialLightsWithNoLightsSet)
{
    Begin();
    D3DMATERIAL9 material{};
    material.Ambient = D3DCOLORVALUE{0.5f, 0.0f, 0.0f, 1.0f};
    material.Diffuse.a = 1.0f;
    device->SetMaterial(&material);
    device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    const Lit_Vertex quad[4] = {{-0.5f, -0.5f, 0.5f, 0, 0, -1}, {-0.5f, 0.5f, 0.5f, 0, 0, -1},
                                {0.5f, -0.5f, 0.5f, 0, 0, -1}, {0.5f, 0.5f, 0.5f, 0, 0, -1}};
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Lit_Vertex)), D3D_OK);
    Show();
    EXPECT_EQ(At(320, 240), (Rgb{128, 0, 0}));
    EXPECT_EQ(At(5, 5), kClearRgb);
}

TEST_F(NativeDevice, TextureModulatesTheColourAndNoTextureShowsItPlain)
{
    Begin();
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    D3DLOCKED_RECT rect{};
    ASSERT_EQ(texture->LockRect(0, &rect, nullptr, 0), D3D_OK);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(rect.pBits) + y * rect.Pitch)[x] = 0xFF00FFFF;
    texture->UnlockRect(0);
    auto quad = [this](float x1, float x2) {
        const Textured_Vertex v[4] = {{x1, 20, 0.5f, 1, 0xFF808080, 0, 0}, {x2, 20, 0.5f, 1, 0xFF808080, 1, 0},
                                      {x1, 80, 0.5f, 1, 0xFF808080, 0, 1}, {x2, 80, 0.5f, 1, 0xFF808080, 1, 1}};
        device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(Textured_Vertex)), D3D_OK);
    };
    device->SetTexture(0, texture);
    quad(20, 80);
    device->SetTexture(0, nullptr);
    quad(120, 180);
    Show();
    EXPECT_EQ(At(50, 50), (Rgb{0, 128, 128})) << "grey x cyan";
    EXPECT_EQ(At(150, 50), (Rgb{128, 128, 128})) << "the plain vertex colour";
    texture->Release();
}

TEST_F(NativeDevice, IndexedBuffersDrawWithBaseVertexAndBlendOverTheFrame)
{
    Begin();
    const Screen_Vertex vertices[5] = {{0, 0, 0, 1, 0}, // never drawn: the draw starts one vertex in
                                       {40, 40, 0.5f, 1, 0x80FF0000}, {120, 40, 0.5f, 1, 0x80FF0000},
                                       {40, 120, 0.5f, 1, 0x80FF0000}, {120, 120, 0.5f, 1, 0x80FF0000}};
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(sizeof vertices, 0, kScreenFvf, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(sizeof indices, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr), D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices, sizeof vertices);
    vb->Unlock();
    ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, indices, sizeof indices);
    ib->Unlock();
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetFVF(kScreenFvf);
    device->SetStreamSource(0, vb, 0, sizeof(Screen_Vertex));
    device->SetIndices(ib);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 4, 0, 2), D3D_OK);
    Show();
    // Half of red over the clear colour (0x64, 0x82, 0xAA), alpha 128/255.
    const Rgb c = At(80, 80);
    EXPECT_NEAR(c.r, 178, 1);
    EXPECT_NEAR(c.g, 65, 1);
    EXPECT_NEAR(c.b, 85, 1);
    EXPECT_EQ(At(10, 10), kClearRgb) << "vertex 0 of the buffer is not part of the draw";
    EXPECT_EQ(At(130, 80), kClearRgb);
    vb->Release();
    ib->Release();
}

TEST_F(NativeDevice, CullModeFollowsD3D9WindingAndAnInvalidModeCullsNothing)
{
    Begin();
    // Clockwise on screen (y down) is D3D9's front face: CCW culling keeps it.
    const Screen_Vertex clockwise[3] = {{20, 20, 0.5f, 1, 0xFFFFFFFF}, {80, 20, 0.5f, 1, 0xFFFFFFFF},
                                        {20, 80, 0.5f, 1, 0xFFFFFFFF}};
    const Screen_Vertex counter[3] = {{120, 20, 0.5f, 1, 0xFFFFFFFF}, {120, 80, 0.5f, 1, 0xFFFFFFFF},
                                      {180, 20, 0.5f, 1, 0xFFFFFFFF}};
    const Screen_Vertex counter_low[3] = {{120, 120, 0.5f, 1, 0xFFFFFFFF}, {120, 180, 0.5f, 1, 0xFFFFFFFF},
                                          {180, 120, 0.5f, 1, 0xFFFFFFFF}};
    device->SetFVF(kScreenFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, clockwise, sizeof(Screen_Vertex));
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counter, sizeof(Screen_Vertex));
    device->SetRenderState(D3DRS_CULLMODE, 0x7FFFFFFF);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counter_low, sizeof(Screen_Vertex));
    Show();
    EXPECT_EQ(At(30, 30), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(130, 30), kClearRgb);
    EXPECT_EQ(At(130, 130), (Rgb{255, 255, 255}));
}

TEST_F(NativeDevice, OutlivesItsWindowWithoutDrawingOrCrashing)
{
    Begin();
    IDirect3DTexture9* texture = nullptr;
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    device->SetTexture(0, texture);
    ScreenQuad(10, 10, 50, 50, 0.5f, 0xFFFFFFFF);
    device->EndScene();
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_TRUE(DestroyWindow(window));
    window = nullptr;
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kClear, 1.0f, 0);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ScreenQuad(10, 10, 50, 50, 0.5f, 0xFFFFFFFF);
    device->EndScene();
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_FALSE(GL_Device::Of(device)->MakeCurrent());
    texture->Release();
    vb->Release();
    EXPECT_EQ(device->Release(), 0u);
    device = nullptr;
}

TEST_F(NativeDevice, MultisampleFourIsMadeAndAnAbsurdTypeFailsCreation)
{
    IDirect3DDevice9* other = reinterpret_cast<IDirect3DDevice9*>(1);
    // Each refusal says why on stderr, whether or not a device has told the limit before.
    testing::internal::CaptureStderr();
    EXPECT_EQ(Create(D3DMULTISAMPLE_TYPE(0x4000), &other), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(Create(D3DMULTISAMPLE_16_SAMPLES, &other), D3DERR_NOTAVAILABLE) << "this GL offers 4";
    EXPECT_EQ(Create(D3DMULTISAMPLE_8_SAMPLES, &other), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "CreateDevice: multisample type 16384 with quality 0 is not offered\n"
              "CreateDevice: multisample type 16 is above this GL's limit of 4\n"
              "CreateDevice: multisample type 8 is above this GL's limit of 4\n");
    ASSERT_EQ(Create(D3DMULTISAMPLE_4_SAMPLES), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0);
    device->BeginScene();
    // A diagonal edge comes out antialiased: some pixel along it mixes the two colours.
    const Screen_Vertex triangle[3] = {{10, 10, 0.5f, 1, 0xFFFFFFFF}, {200, 10, 0.5f, 1, 0xFFFFFFFF},
                                       {10, 150, 0.5f, 1, 0xFFFFFFFF}};
    device->SetFVF(kScreenFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Screen_Vertex));
    Show();
    EXPECT_EQ(At(20, 20), (Rgb{255, 255, 255}));
    bool mixed = false;
    for (int x = 0; x < 220 && !mixed; ++x) {
        const Rgb c = At(x, 80);
        mixed = !(c == kClearRgb) && !(c == Rgb{255, 255, 255});
    }
    EXPECT_TRUE(mixed);
}

TEST_F(NativeDevice, LinesInScreenPixelsUnderTheConsoleFormat)
{
    Begin();
    device->SetFVF(kScreenFvf);
    DrawLine(10, 50, 0, 100, 50, 0, &device);
    DrawWireBox(200, 100, 0, 300, 200, 0, &device);
    Show();
    // The line vertex's fifth float (0) is read as the diffuse colour: transparent black.
    for (int x : {11, 50, 98})
        EXPECT_EQ(At(x, 50), (Rgb{0, 0, 0})) << "x " << x;
    EXPECT_EQ(At(50, 49), kClearRgb);
    EXPECT_EQ(At(50, 51), kClearRgb);
    EXPECT_EQ(At(250, 100), (Rgb{0, 0, 0})) << "top edge of the box";
    EXPECT_EQ(At(200, 150), (Rgb{0, 0, 0})) << "left edge of the box";
    EXPECT_EQ(At(250, 150), kClearRgb) << "inside the box";
}

TEST_F(NativeDevice, LinesInWorldSpaceUnderTheMarkerFormat)
{
    Begin();
    D3DXMATRIX identity, view, projection;
    D3DXMatrixIdentity(&identity);
    const D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, 640.0f / 480.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE);
    DrawWireBox(-2, -2, 0, 2, 2, 0, &device);
    Show();
    // At distance 10 with a 90-degree field of view, y = 2 is 2/10 of the half height above the
    // centre: 240 - 0.2 * 240 = 192; x = -2 is 2/10 of the half height (the aspect scales x) left:
    // 320 - 0.2 * 240 = 272.
    const Rgb white{255, 255, 255};
    EXPECT_EQ(At(320, 192), white) << "top edge";
    EXPECT_EQ(At(272, 240), white) << "left edge";
    EXPECT_EQ(At(320, 240), kClearRgb) << "centre";
}

}  // namespace
