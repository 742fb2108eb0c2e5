// D3DXCreateTextureFromFileA on the headless device: files that must make nothing, and a texture
// that cannot be filled.
#include "d3dx_headless_device.h"

#include <d3dx9.h>

#include <string>
#include <vector>

namespace {

const std::string kTextures = std::string(ORVEX_SOURCE_DIR) + "/data/textures/";
IDirect3DTexture9* const kUntouched = reinterpret_cast<IDirect3DTexture9*>(0x1);

}  // namespace

TEST_F(D3dxOnDevice, BadFilesMakeNoTexture)
{
    const std::string dir = std::string(ORVEX_SOURCE_DIR) + "/tests/data/";
    // A BMP header that claims 65535 x 65535 pixels in a 60-byte file.
    std::vector<uint8_t> lying = {'B', 'M', 60, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0xFF, 0xFF, 0, 0,
                                  0xFF, 0xFF, 0, 0, 1, 0, 24, 0};
    lying.resize(60, 0);
    IDirect3DTexture9* t = kUntouched;
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, (dir + "no_such.bmp").c_str(), &t), D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, dir.c_str(), &t), D3DXERR_INVALIDDATA);  // a folder
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, lying.data(), (UINT)lying.size(), &t), D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, lying.data(), 0, &t), D3DXERR_INVALIDDATA);
    EXPECT_EQ(t, kUntouched);
    EXPECT_EQ(logged("CreateTexture"), 0);

    EXPECT_EQ(D3DXCreateTextureFromFileA(nullptr, (kTextures + "_def/red.bmp").c_str(), &t), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, nullptr, &t), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, (kTextures + "_def/red.bmp").c_str(), nullptr), D3DERR_INVALIDCALL);
}

TEST_F(D3dxOnDevice, ATextureThatCannotBeFilledIsReleased)
{
    orvex_headless::d3d9_failures().lock_rect = D3DERR_INVALIDCALL;
    IDirect3DTexture9* t = kUntouched;
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, (kTextures + "_def/red.bmp").c_str(), &t), D3DERR_INVALIDCALL);
    EXPECT_EQ(t, kUntouched);
    // One was made; the sanitizer build's leak check sees it released.
    EXPECT_EQ(logged("CreateTexture("), 1);
}
