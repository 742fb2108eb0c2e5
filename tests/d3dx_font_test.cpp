#include <d3dx9core.h>

#include <gtest/gtest.h>

#include "common/cp1251.h"

#include <cstring>
#include <string>

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

TEST(Cp1251, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    std::string utf8 = cp1251::to_utf8(all.c_str());
    EXPECT_EQ(cp1251::from_utf8(utf8.c_str(), static_cast<ptrdiff_t>(utf8.size())), all);
}

TEST(Cp1251, ConvertsTheRussianCaptionsAndMarksWhatItCannotHold) {
    struct Case {
        const char* cp1251;
        const char* utf8;
    };
    const Case cases[] = {
        {"\xD2\xE5\xEA\xF3\xF8\xE0\xFF \xEA\xE0\xEC\xE5\xF0\xE0 : ", "Текушая камера : "},
        {"\xC7\xE4\xE5\xF1\xFC \xA8\xB8\xB9", "Здесь Ёё№"},
        {"\x88\x96\x97", "€–—"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp1251::to_utf8(c.cp1251), c.utf8);
        EXPECT_EQ(cp1251::from_utf8(c.utf8), c.cp1251);
    }
    // Characters outside the code page, malformed, overlong and truncated sequences.
    EXPECT_EQ(cp1251::from_utf8("a\xE4\xB8\xAD" "b"), "a?b");
    EXPECT_EQ(cp1251::from_utf8("\xFF\xC0\xAF" "c"), "???c");
    EXPECT_EQ(cp1251::from_utf8("\xD0"), "?");
    EXPECT_EQ(cp1251::from_utf8("\xED\xA0\x80"), "???");
    // The length counts bytes, NULs included.
    EXPECT_EQ(cp1251::to_utf8("a\0\xC0", 3), std::string("a\0\xD0\x90", 4));
}
