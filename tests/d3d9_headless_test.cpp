// The headless device: what it records, the state it keeps, the calls it refuses, and the lines
// and boxes drawn through it.
#include <gtest/gtest.h>

#include <d3d9.h>

#include <cstring>
#include <string>
#include <vector>

#include "call_log.h"
#include "core/draw_lines.h"
#include "headless_d3d9.h"
#include "headless_win32.h"
#include "device_test_support.h"

using namespace orvex_headless;

namespace {

class HeadlessDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_win32();
        reset_d3d9();
        window = orvex_test::CreateTestWindow("D3D9Test");
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        ASSERT_EQ(Create(&device), D3D_OK);
        clear_call_log();
    }
    void TearDown() override
    {
        if (device)
            device->Release();
        if (d3d)
            d3d->Release();
        reset_win32();
    }
    HRESULT Create(IDirect3DDevice9** out, D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE)
    {
        last_pp = orvex_test::WindowedParameters(samples);
        return d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                 &last_pp, out);
    }
    std::string LastLine() const { return call_log().empty() ? std::string() : call_log().back(); }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS last_pp{};
};

struct Corner {
    float x, y, z;
};

// The seven floats of a line vertex; only the first `floats` are checked (a draw reads only as
// much of its last vertex as the vertex format covers).
void expect_vertex(const Recorded_Draw& draw, UINT v, Corner c, UINT floats = 7)
{
    SCOPED_TRACE("vertex " + std::to_string(v));
    const float expected[7] = {c.x, c.y, c.z, 0.0f, 0.0f, 0.0f, 1.0f};
    for (UINT i = 0; i < floats; ++i)
        EXPECT_EQ(draw.Float(v, i), expected[i]) << "float " << i;
}

}  // namespace

TEST_F(HeadlessDevice, CreationTakesTheClientSizeAndFillsInTheBackBufferFormat)
{
    EXPECT_EQ(last_pp.BackBufferWidth, 640u);
    EXPECT_EQ(last_pp.BackBufferHeight, 480u);
    EXPECT_EQ(last_pp.BackBufferFormat, D3DFMT_X8R8G8B8);
    D3DVIEWPORT9 vp{};
    ASSERT_EQ(device->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(vp.Width, 640u);
    EXPECT_EQ(vp.Height, 480u);
    EXPECT_EQ(last_device(), device);
}

TEST_F(HeadlessDevice, StartsWithTheDefaultStatesOfD3D9)
{
    struct Expected {
        D3DRENDERSTATETYPE state;
        DWORD value;
    };
    const Expected states[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE},         {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_ZWRITEENABLE, TRUE},          {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},      {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_ALPHABLENDENABLE, FALSE},     {D3DRS_ALPHATESTENABLE, FALSE},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},    {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_LIGHTING, TRUE},              {D3DRS_AMBIENT, 0},
        {D3DRS_COLORVERTEX, TRUE},           {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2}, {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL}, {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
        {D3DRS_COLORWRITEENABLE, 0xF},
    };
    for (const Expected& e : states) {
        DWORD value = 0xDEADBEEF;
        ASSERT_EQ(device->GetRenderState(e.state, &value), D3D_OK) << e.state;
        EXPECT_EQ(value, e.value) << "render state " << e.state;
    }
    DWORD v = 0;
    device->GetTextureStageState(0, D3DTSS_COLOROP, &v);
    EXPECT_EQ(v, DWORD(D3DTOP_MODULATE));
    device->GetTextureStageState(0, D3DTSS_ALPHAOP, &v);
    EXPECT_EQ(v, DWORD(D3DTOP_SELECTARG1));
    device->GetTextureStageState(1, D3DTSS_COLOROP, &v);
    EXPECT_EQ(v, DWORD(D3DTOP_DISABLE));
    device->GetSamplerState(0, D3DSAMP_MINFILTER, &v);
    EXPECT_EQ(v, DWORD(D3DTEXF_POINT));
    device->GetSamplerState(0, D3DSAMP_MIPFILTER, &v);
    EXPECT_EQ(v, DWORD(D3DTEXF_NONE));
    device->GetSamplerState(0, D3DSAMP_ADDRESSU, &v);
    EXPECT_EQ(v, DWORD(D3DTADDRESS_WRAP));
    DWORD fvf = 1;
    device->GetFVF(&fvf);
    EXPECT_EQ(fvf, 0u);
}

TEST_F(HeadlessDevice, LogsAFrameInTheDocumentedFormat)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._41 = 2.5f;
    D3DMATERIAL9 material{};
    material.Ambient = D3DCOLORVALUE{0.5f, 0.0f, 0.0f, 1.0f};

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF6482AA, 1.0f, 0);
    device->BeginScene();
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_CULLMODE, 0x7FFFFFFF);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_ANISOTROPIC);
    device->SetTexture(0, texture);
    device->SetTexture(0, nullptr);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetMaterial(&material);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);

    const std::vector<std::string> expected = {
        "Clear(0, NULL, TARGET|ZBUFFER, 0xFF6482AA, 1, 0)",
        "BeginScene()",
        "SetRenderState(FILLMODE, 2)",
        "SetRenderState(AMBIENT, 0xFFFFFFFF)",
        "SetRenderState(CULLMODE, 2147483647)",
        "SetSamplerState(0, MINFILTER, 3)",
        "SetTexture(0, tex#1)",
        "SetTexture(0, NULL)",
        "SetTransform(WORLD, {1 0 0 0; 0 1 0 0; 0 0 1 0; 2.5 0 0 1})",
        "SetMaterial({D 0 0 0 0, A 0.5 0 0 1, S 0 0 0 0, E 0 0 0 0, P 0})",
        "SetFVF(XYZRHW|DIFFUSE)",
        "EndScene()",
        "Present(NULL, NULL, NULL, NULL)",
    };
    std::vector<std::string> log(call_log().begin() + 1, call_log().end());  // after CreateTexture
    EXPECT_EQ(call_log().front(), "CreateTexture(4, 4, 1, 0, A8R8G8B8, MANAGED) -> tex#1");
    EXPECT_EQ(log, expected);
    EXPECT_EQ(presented_frames(device), 1u);
    EXPECT_EQ(last_clear_colour(device), 0xFF6482AAu);
    texture->Release();
}

TEST_F(HeadlessDevice, WireBoxIsOneLineListOfTwelveEdgesInOrder)
{
    device->BeginScene();
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE);
    DrawWireBox(1, 2, 3, 4, 5, 6, &device);
    ASSERT_EQ(recorded_draws().size(), 1u);
    const Recorded_Draw& draw = recorded_draws()[0];
    EXPECT_EQ(draw.call, "DrawPrimitiveUP(LINELIST, 12, ..., 28)");
    EXPECT_EQ(LastLine(), "DrawPrimitiveUP(LINELIST, 12, ..., 28)");
    ASSERT_EQ(draw.VertexCount(), 24u);
    const float x1 = 1, y1 = 2, z1 = 3, x2 = 4, y2 = 5, z2 = 6;
    const Corner order[24] = {
        {x1, y1, z1}, {x2, y1, z1}, {x2, y1, z1}, {x2, y2, z1}, {x2, y2, z1}, {x1, y2, z1},
        {x1, y2, z1}, {x1, y1, z1}, {x1, y1, z1}, {x1, y1, z2}, {x1, y1, z2}, {x1, y2, z2},
        {x1, y2, z2}, {x1, y2, z1}, {x2, y1, z1}, {x2, y1, z2}, {x2, y1, z2}, {x1, y1, z2},
        {x2, y2, z1}, {x2, y2, z2}, {x2, y2, z2}, {x1, y2, z2}, {x2, y1, z2}, {x2, y2, z2},
    };
    for (UINT v = 0; v < 24; ++v)
        expect_vertex(draw, v, order[v]);
}

TEST_F(HeadlessDevice, LinesSetNoStateAndEqualPointsDrawWithoutFailing)
{
    device->BeginScene();
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    clear_call_log();
    DrawLine(7, 8, 0, 7, 8, 0, &device);
    DrawWireBox(5, 5, 5, 5, 5, 5, &device);
    const std::vector<std::string> expected = {"DrawPrimitiveUP(LINELIST, 1, ..., 28)",
                                               "DrawPrimitiveUP(LINELIST, 12, ..., 28)"};
    EXPECT_EQ(call_log(), expected);
    ASSERT_EQ(recorded_draws().size(), 2u);
    expect_vertex(recorded_draws()[0], 0, {7, 8, 0});
    expect_vertex(recorded_draws()[0], 1, {7, 8, 0}, 5);
    EXPECT_EQ(recorded_draws()[0].fvf, DWORD(D3DFVF_XYZRHW | D3DFVF_DIFFUSE));
    for (UINT v = 0; v < 24; ++v)
        expect_vertex(recorded_draws()[1], v, {5, 5, 5}, 5);

    IDirect3DDevice9* none = nullptr;
    DrawLine(0, 0, 0, 1, 1, 1, &none);
    DrawWireBox(0, 0, 0, 1, 1, 1, nullptr);
    EXPECT_EQ(call_log().size(), 2u);
}

TEST_F(HeadlessDevice, RefusesBadCallsAndDrawsNothing)
{
    const float vertices[3 * 7] = {};
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);

    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, vertices, 28), D3DERR_INVALIDCALL) << "outside a scene";
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(LastLine(), "BeginScene() -> INVALIDCALL");
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, vertices, 28), D3DERR_INVALIDCALL) << "no vertex format";
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, nullptr, 28), D3DERR_INVALIDCALL);
    EXPECT_EQ(LastLine(), "DrawPrimitiveUP(LINELIST, 1, NULL, 28) -> INVALIDCALL");
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_LINELIST, 0, vertices, 28), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, vertices, 24), D3DERR_INVALIDCALL) << "stride < 28";
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPRIMITIVETYPE(9), 1, vertices, 28), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL) << "no stream";
    device->SetStreamSource(0, buffer, 0, 28);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL) << "3 x 28 > 64 bytes";
    EXPECT_EQ(device->DrawPrimitive(D3DPT_LINELIST, 0, 1), D3D_OK) << "2 x 28 fits";
    device->SetStreamSource(0, nullptr, 0, 0);

    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(60, 8, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(buffer->Lock(65, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(LastLine(), "vb#1 Lock(65, 0, 0) -> INVALIDCALL");
    ASSERT_EQ(buffer->Lock(32, 32, &data, 0), D3D_OK);
    buffer->Unlock();

    texture->Release();
    EXPECT_EQ(device->SetTexture(0, texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(LastLine(), "SetTexture(0, ?) -> INVALIDCALL");
    device->EndScene();
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorded_draws().size(), 1u);
    buffer->Release();
}

TEST_F(HeadlessDevice, ATextureReleasedWhileBoundCannotBeBoundAgainButStaysValidWhereBound)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(device->SetTexture(1, texture), D3DERR_INVALIDCALL);
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, texture);
    bound->Release();
    EXPECT_EQ(device->SetTexture(0, nullptr), D3D_OK);
    EXPECT_EQ(device->SetTexture(0, texture), D3DERR_INVALIDCALL);
}

TEST_F(HeadlessDevice, CountsReferencesAsCom)
{
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(28, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    EXPECT_EQ(device->AddRef(), 3u) << "a live resource holds its device";
    device->Release();
    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(buffer->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device);
    owner->Release();
    ASSERT_EQ(device->SetStreamSource(0, buffer, 0, 28), D3D_OK);
    EXPECT_EQ(buffer->AddRef(), 2u) << "binding adds no public reference";
    buffer->Release();
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(device->Release(), 0u) << "a bound buffer does not keep the device alive";
    device = nullptr;
    EXPECT_EQ(last_device(), nullptr);
}

TEST_F(HeadlessDevice, KeepsBufferAndTextureContents)
{
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
    WORD* words = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, reinterpret_cast<void**>(&words), 0), D3D_OK);
    for (WORD i = 0; i < 6; ++i)
        words[i] = WORD(5 - i);
    indices->Unlock();
    ASSERT_EQ(indices->Lock(4, 2, reinterpret_cast<void**>(&words), D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(words[0], 3);
    indices->Unlock();

    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(16, 8, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 5u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(4, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    D3DLOCKED_RECT rect{};
    const RECT part{2, 3, 4, 5};
    ASSERT_EQ(texture->LockRect(0, &rect, &part, 0), D3D_OK);
    D3DLOCKED_RECT again{};
    EXPECT_EQ(texture->LockRect(0, &again, nullptr, 0), D3DERR_INVALIDCALL) << "already locked";
    static_cast<DWORD*>(rect.pBits)[0] = 0x11223344;
    texture->UnlockRect(0);
    ASSERT_EQ(texture->LockRect(0, &rect, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_GE(rect.Pitch, 64);
    EXPECT_EQ(reinterpret_cast<DWORD*>(static_cast<BYTE*>(rect.pBits) + 3 * rect.Pitch)[2], 0x11223344u);
    texture->UnlockRect(0);
    const RECT outside{0, 0, 17, 1};
    EXPECT_EQ(texture->LockRect(0, &rect, &outside, 0), D3DERR_INVALIDCALL);
    IDirect3DTexture9* dxt = nullptr;
    EXPECT_EQ(device->CreateTexture(6, 6, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &dxt, nullptr), D3DERR_INVALIDCALL);
    texture->Release();
    indices->Release();
}

TEST_F(HeadlessDevice, IndexedDrawsAreCheckedAgainstTheVerticesTheyReach)
{
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(4 * 12, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr), D3D_OK);
    float* v = nullptr;
    vb->Lock(0, 0, reinterpret_cast<void**>(&v), 0);
    for (int i = 0; i < 12; ++i)
        v[i] = float(i);
    vb->Unlock();
    WORD* idx = nullptr;
    ib->Lock(0, 0, reinterpret_cast<void**>(&idx), 0);
    const WORD quad[6] = {0, 1, 2, 2, 1, 3};
    std::memcpy(idx, quad, sizeof quad);
    ib->Unlock();
    device->SetFVF(D3DFVF_XYZ);
    device->SetStreamSource(0, vb, 0, 12);
    device->SetIndices(ib);
    device->BeginScene();
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 4, 0, 2), D3DERR_INVALIDCALL)
        << "index 3 + base 1 is past the buffer";
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2), D3DERR_INVALIDCALL)
        << "indices past the index buffer";
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, -1, 0, 4, 3, 1), D3D_OK) << "2 1 3 less one";
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, -1, 0, 4, 0, 1), D3DERR_INVALIDCALL)
        << "index 0 less one";
    device->EndScene();
    ASSERT_EQ(recorded_draws().size(), 2u);
    EXPECT_EQ(recorded_draws()[0].indices, (std::vector<UINT>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(recorded_draws()[0].Float(3, 2), 11.0f);
    EXPECT_EQ(recorded_draws()[1].indices, (std::vector<UINT>{2, 1, 3}));
    EXPECT_EQ(recorded_draws()[1].Float(3, 0), 6.0f) << "vertex 3 of the draw is vertex 2 of the buffer";
    EXPECT_EQ(recorded_draws()[1].call, "DrawIndexedPrimitive(TRIANGLELIST, -1, 0, 4, 3, 1)");
    vb->Release();
    ib->Release();
}

TEST_F(HeadlessDevice, FailsOnRequestAndForAbsurdMultisampling)
{
    d3d9_failures().create_vertex_buffer = D3DERR_OUTOFVIDEOMEMORY;
    IDirect3DVertexBuffer9* vb = reinterpret_cast<IDirect3DVertexBuffer9*>(1);
    EXPECT_EQ(device->CreateVertexBuffer(28, 0, 0, D3DPOOL_MANAGED, &vb, nullptr), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(vb, nullptr);
    EXPECT_EQ(LastLine(), "CreateVertexBuffer(28, 0, 0, MANAGED) -> OUTOFVIDEOMEMORY");
    d3d9_failures().create_vertex_buffer = S_OK;
    ASSERT_EQ(device->CreateVertexBuffer(28, 0, 0, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    d3d9_failures().lock = D3DERR_INVALIDCALL;
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(vb->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, nullptr);
    vb->Release();

    IDirect3DDevice9* other = nullptr;
    d3d9_failures().create_device = D3DERR_NOTAVAILABLE;
    EXPECT_EQ(Create(&other), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(other, nullptr);
    reset_d3d9();
    EXPECT_EQ(Create(&other, D3DMULTISAMPLE_TYPE(0x4000)), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Create(&other, D3DMULTISAMPLE_8_SAMPLES), D3DERR_NOTAVAILABLE) << "the adapter offers 4";
    ASSERT_EQ(Create(&other, D3DMULTISAMPLE_4_SAMPLES), D3D_OK);
    EXPECT_NE(LastLine().find("MultiSample 4/0"), std::string::npos) << LastLine();
    other->Release();
}
