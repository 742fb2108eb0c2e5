// The headless device: creation and the calls it refuses.
#include <gtest/gtest.h>

#include <d3d9.h>

#include <cstring>
#include <string>
#include <vector>

#include "call_log.h"
#include "d3dx_headless_device.h"

using namespace orvex_headless;

namespace {

class HeadlessDevice : public D3dxOnDevice {
protected:
    std::string LastLine() const { return call_log().empty() ? std::string() : call_log().back(); }
};

}  // namespace

TEST_F(HeadlessDevice, CreationTakesTheClientSizeAndFillsInTheBackBufferFormat)
{
    EXPECT_EQ(pp.BackBufferWidth, 640u);
    EXPECT_EQ(pp.BackBufferHeight, 480u);
    EXPECT_EQ(pp.BackBufferFormat, D3DFMT_X8R8G8B8);
    D3DVIEWPORT9 vp{};
    ASSERT_EQ(device->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(vp.Width, 640u);
    EXPECT_EQ(vp.Height, 480u);
    EXPECT_EQ(last_device(), device);
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
