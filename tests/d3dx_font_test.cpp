#include <d3dx9core.h>

#include <gtest/gtest.h>

#include <cstring>

TEST(D3dxBuffer, IsZeroFilledOfTheSizeAskedForAndLivesUntilTheLastRelease) {
    for (DWORD size : {0u, 1u, 4096u}) {
        LPD3DXBUFFER buffer = nullptr;
        ASSERT_EQ(D3DXCreateBuffer(size, &buffer), D3D_OK);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->GetBufferSize(), size);
        ASSERT_NE(buffer->GetBufferPointer(), nullptr);
        const unsigned char* bytes = static_cast<const unsigned char*>(buffer->GetBufferPointer());
        for (DWORD i = 0; i < size; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
        std::memset(buffer->GetBufferPointer(), 0xAB, size);

        ID3DXBuffer* same = nullptr;
        ASSERT_EQ(buffer->QueryInterface(IID_ID3DXBuffer, reinterpret_cast<void**>(&same)), S_OK);
        EXPECT_EQ(same, buffer);
        EXPECT_EQ(same->Release(), 1u);
        EXPECT_EQ(buffer->Release(), 0u);
    }
}

TEST(D3dxBuffer, RefusesANullOutPointerAndUnknownInterfaces) {
    EXPECT_EQ(D3DXCreateBuffer(16, nullptr), D3DERR_INVALIDCALL);
    LPD3DXBUFFER buffer = nullptr;
    ASSERT_EQ(D3DXCreateBuffer(16, &buffer), D3D_OK);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(buffer->QueryInterface(IID_ID3DXFont, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    buffer->Release();
}
