// D3DXCreateTextureFromFileA on the headless device: files that must make nothing, a texture
// that cannot be filled, and the back buffer saved to files.
#include "d3dx_headless_device.h"

#include <d3dx9.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kTextures = std::string(ORVEX_SOURCE_DIR) + "/data/textures/";
IDirect3DTexture9* const kUntouched = reinterpret_cast<IDirect3DTexture9*>(0x1);
IDirect3DSurface9* const kUntouchedSurface = reinterpret_cast<IDirect3DSurface9*>(0x1);

uint32_t texel(IDirect3DTexture9* t, UINT level, UINT x, UINT y)
{
    D3DLOCKED_RECT r;
    EXPECT_EQ(t->LockRect(level, &r, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint32_t v;
    memcpy(&v, static_cast<const uint8_t*>(r.pBits) + (size_t)y * r.Pitch + x * 4, 4);
    t->UnlockRect(level);
    return v;
}

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

TEST_F(D3dxOnDevice, TheBackBufferSavesAsPngAndBmpThatReadBackAsDrawn)
{
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0), D3D_OK);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(back->GetDesc(&desc), D3D_OK);
    char folder[] = "/tmp/orvex_save_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    for (D3DXIMAGE_FILEFORMAT format : {D3DXIFF_PNG, D3DXIFF_BMP}) {
        const std::string file = std::string(folder) + (format == D3DXIFF_PNG ? "\\shot.png" : "/shot.bmp");
        ASSERT_EQ(D3DXSaveSurfaceToFileA(file.c_str(), format, back, nullptr, nullptr), D3D_OK);
        IDirect3DTexture9* t = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileA(device, file.c_str(), &t), D3D_OK);
        D3DSURFACE_DESC read;
        t->GetLevelDesc(0, &read);
        EXPECT_EQ(read.Width, desc.Width);
        EXPECT_EQ(read.Height, desc.Height);
        EXPECT_EQ(texel(t, 0, read.Width - 1, read.Height - 1), 0xFF336699u);
        t->Release();
    }

    const RECT outside = {0, 0, LONG(desc.Width) + 1, 1};
    const std::string file = std::string(folder) + "/bad.png";
    EXPECT_EQ(D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_DDS, back, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_PNG, back, nullptr, &outside), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_PNG, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXSaveSurfaceToFileA((std::string(folder) + "/no/such/folder.png").c_str(), D3DXIFF_PNG, back,
                                     nullptr, nullptr), E_FAIL);
    IDirect3DSurface9* other = kUntouchedSurface;
    EXPECT_EQ(device->GetBackBuffer(1, 0, D3DBACKBUFFER_TYPE_MONO, &other), D3DERR_INVALIDCALL);
    EXPECT_EQ(other, nullptr);
    back->Release();
    std::filesystem::remove_all(folder);
}
