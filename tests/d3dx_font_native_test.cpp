// Fonts on the native device, off screen (SDL's "offscreen" driver, Mesa's software GL): the
// pixels text leaves in the presented frame, and the device state it leaves behind.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include "common/text/font_d3dx.h"
#include "native_device_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char caption[] = "\xD2\xE5\xEA\xF3\xF8\xE0\xFF \xEA\xE0\xEC\xE5\xF0\xE0 : 1";  // Текушая камера : 1
const char latin[] = "Tekywan kamepa : 1";                                         // as many letters

struct Image {
    UINT width = 0, height = 0;
    std::vector<unsigned char> rgba;
    int red(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    // Rows and columns that hold any pixel brighter than the threshold: {left, top, right, bottom}
    // as a half-open box; an empty box when there is none.
    RECT ink(int threshold = 64) const {
        RECT box = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (UINT y = 0; y < height; ++y)
            for (UINT x = 0; x < width; ++x)
                if (red(x, y) > threshold) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        if (box.right < box.left) box = {0, 0, 0, 0};
        return box;
    }
};

class NativeFont : public orvex_test::NativeDeviceTest {
protected:
    NativeFont() { windowWidth = 416, windowHeight = 239; }
    void SetUp() override {
        NativeDeviceTest::SetUp();
        ASSERT_EQ(Create(), D3D_OK);
    }

    ID3DXFont* create(const char* face, INT height, UINT weight = FW_BOLD) {
        ID3DXFont* font = nullptr;
        EXPECT_EQ(D3DXCreateFontA(device, height, 0, weight, 0, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, 0, face, &font),
                  D3D_OK);
        return font;
    }

    // One frame: black, the text in white (or the colour given), presented and read back.
    Image draw(ID3DXFont* font, const char* text, RECT rect, DWORD format, D3DCOLOR colour = 0xFFFFFFFF,
               int* result = nullptr) {
        BeginScene(0xFF000000);
        int drawn = font->DrawTextA(nullptr, text, -1, &rect, format, colour);
        if (result) *result = drawn;
        Show();
        return Image{width, height, pixels};
    }
};

}  // namespace

TEST_F(NativeFont, RussianCaptionsComeOutAsCyrillicGlyphsNotBoxes) {
    ID3DXFont* font = create("Verdana", -21);
    ASSERT_NE(font, nullptr);
    const RECT at = {5, 5, 0, 0};
    Image cyrillic = draw(font, caption, at, DT_NOCLIP);
    Image roman = draw(font, latin, at, DT_NOCLIP);
    RECT ink = cyrillic.ink();
    EXPECT_GT(ink.right - ink.left, 100);
    EXPECT_NE(cyrillic.rgba, roman.rgba);

    // Each Cyrillic letter alone, against the missing-glyph box of an unassigned byte.
    Image box = draw(font, "\x98", at, DT_NOCLIP);
    ASSERT_GT(box.ink().right, 0);
    for (const char* p = caption; *p; ++p) {
        if (static_cast<unsigned char>(*p) < 0xC0) continue;
        const char one[2] = {*p, 0};
        Image letter = draw(font, one, at, DT_NOCLIP);
        EXPECT_GT(letter.ink().right, 0) << "byte 0x" << std::hex << (*p & 0xFF);
        EXPECT_NE(letter.rgba, box.rgba) << "byte 0x" << std::hex << (*p & 0xFF);
    }
    font->Release();
}

TEST_F(NativeFont, RightAlignedTextEndsAtTheRectanglesRightEdge) {
    ID3DXFont* font = create("Courier ", 15, 200);
    ASSERT_NE(font, nullptr);
    RECT box = {40, 40, 300, 60};
    RECT right = draw(font, "obj_mngr show.list", box, DT_RIGHT | DT_EXPANDTABS).ink();
    RECT left = draw(font, "obj_mngr show.list", box, DT_LEFT).ink();
    EXPECT_LE(right.right, 300);
    EXPECT_GE(right.right, 296);  // the last glyph's side bearing
    EXPECT_GE(left.left, 40);
    EXPECT_LE(left.left, 43);
    EXPECT_EQ(right.right - right.left, left.right - left.left);
    // Without DT_NOCLIP nothing leaves the rectangle; text wider than it is cut at its left edge.
    RECT narrow = {40, 40, 100, 60};
    RECT cut = draw(font, "obj_mngr show.list", narrow, DT_RIGHT).ink();
    EXPECT_GE(cut.left, 40);
    EXPECT_LE(cut.right, 100);
    font->Release();
}

TEST_F(NativeFont, HeightsGiveTheCharacterAndCellHeightsAskedFor) {
    // Positive: the cell. Two lines take exactly twice the height, and the ink stays in the cell.
    ID3DXFont* cell = create("Verdana", 40, FW_NORMAL);
    ASSERT_NE(cell, nullptr);
    int result = 0;
    RECT ink = draw(cell, "\xC9j|", {10, 10, 0, 0}, DT_NOCLIP, 0xFFFFFFFF, &result).ink(8);
    EXPECT_EQ(result, 40);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 50);
    EXPECT_GT(ink.bottom - ink.top, 32);  // an accented capital over a descender fills most of it
    draw(cell, "a\nb", {10, 10, 0, 0}, DT_NOCLIP, 0xFFFFFFFF, &result);
    EXPECT_EQ(result, 80);

    // Negative: the em. A capital is about 0.73 em high in the sans faces here, and twice the em
    // gives twice the capital.
    ID3DXFont* em20 = create("Verdana", -20, FW_NORMAL);
    ID3DXFont* em40 = create("Verdana", -40, FW_NORMAL);
    ASSERT_TRUE(em20 && em40);
    RECT h20 = draw(em20, "H", {10, 10, 0, 0}, DT_NOCLIP).ink();
    RECT h40 = draw(em40, "H", {10, 10, 0, 0}, DT_NOCLIP).ink();
    EXPECT_NEAR(h40.bottom - h40.top, 2 * (h20.bottom - h20.top), 2);
    EXPECT_GE(h40.bottom - h40.top, 26);
    EXPECT_LE(h40.bottom - h40.top, 32);
    cell->Release();
    em20->Release();
    em40->Release();
}

TEST_F(NativeFont, ColourAlphaBlendsOverWhatIsThere) {
    ID3DXFont* font = create("Verdana", -40);
    ASSERT_NE(font, nullptr);
    Image opaque = draw(font, "I", {10, 10, 0, 0}, DT_NOCLIP, 0xFFFF0000);
    Image half = draw(font, "I", {10, 10, 0, 0}, DT_NOCLIP, 0x80FF0000);
    RECT ink = opaque.ink();
    ASSERT_GT(ink.right, ink.left);
    int x = (ink.left + ink.right) / 2, y = (ink.top + ink.bottom) / 2;
    EXPECT_GE(opaque.red(x, y), 250);
    EXPECT_NEAR(half.red(x, y), 128, 8);
    EXPECT_EQ(opaque.rgba[(static_cast<size_t>(y) * opaque.width + x) * 4 + 1], 0);  // green stays 0
    font->Release();
}

TEST_F(NativeFont, DeviceStateIsAsItWasAfterDrawing) {
    ID3DXFont* font = create("Verdana", -11);
    ASSERT_NE(font, nullptr);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    const D3DRENDERSTATETYPE render[] = {D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND, D3DRS_DESTBLEND, D3DRS_ZENABLE,
                                         D3DRS_ZWRITEENABLE, D3DRS_CULLMODE, D3DRS_FILLMODE, D3DRS_ALPHATESTENABLE};
    std::vector<DWORD> before, after;
    auto read = [&](std::vector<DWORD>& out) {
        out.clear();
        DWORD v = 0;
        for (D3DRENDERSTATETYPE s : render) out.push_back(SUCCEEDED(device->GetRenderState(s, &v)) ? v : 0xDEAD);
        for (DWORD t = D3DTSS_COLOROP; t <= D3DTSS_ALPHAARG2; ++t)
            out.push_back(SUCCEEDED(device->GetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(t), &v)) ? v : 0xDEAD);
        for (DWORD t = D3DSAMP_ADDRESSU; t <= D3DSAMP_MIPFILTER; ++t)
            out.push_back(SUCCEEDED(device->GetSamplerState(0, D3DSAMPLERSTATETYPE(t), &v)) ? v : 0xDEAD);
        device->GetFVF(&v);
        out.push_back(v);
    };
    read(before);
    draw(font, caption, {5, 5, 0, 0}, DT_NOCLIP);
    read(after);
    EXPECT_EQ(after, before);

    // What is drawn next is drawn as if no text had come before: an untextured quad in its own
    // colour, not blended, not modulated by the glyph page.
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
    } quad[4] = {{100, 100, 0, 1, 0x8000FF00}, {140, 100, 0, 1, 0x8000FF00}, {100, 140, 0, 1, 0x8000FF00},
                 {140, 140, 0, 1, 0x8000FF00}};
    BeginScene(0xFF000000);
    RECT r = {5, 5, 0, 0};
    font->DrawTextA(nullptr, caption, -1, &r, DT_NOCLIP, 0xFFFFFFFF);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    Show();
    EXPECT_EQ(At(120, 120), (orvex_test::Rgb{0, 255, 0}));
    font->Release();
}

TEST_F(NativeFont, AThousandCharacterFaceNameFallsBackAndDraws) {
    std::string name(1000, 'x');
    ID3DXFont* font = create(name.c_str(), -21);
    ASSERT_NE(font, nullptr);
    RECT ink = draw(font, "fallback", {5, 5, 0, 0}, DT_NOCLIP).ink();
    EXPECT_GT(ink.right - ink.left, 40);
    font->Release();
}

TEST_F(NativeFont, TextDrawnBeforeTheSceneStaysInFrontOfIt) {
    // The overlay is drawn first in a frame; the scene's objects come after it.
    ID3DXFont* font = create("Verdana", -40);
    ASSERT_NE(font, nullptr);
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
    } quad[4] = {{0, 0, 0.5f, 1, 0xFF0000FF}, {200, 0, 0.5f, 1, 0xFF0000FF}, {0, 100, 0.5f, 1, 0xFF0000FF},
                 {200, 100, 0.5f, 1, 0xFF0000FF}};
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    BeginScene(0xFF000000);
    RECT r = {10, 10, 0, 0};
    font->DrawTextA(nullptr, "I", -1, &r, DT_NOCLIP, 0xFFFF0000);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    Show();
    RECT ink = Image{width, height, pixels}.ink(200);  // red: the letter
    ASSERT_GT(ink.right, ink.left);
    int x = (ink.left + ink.right) / 2, y = (ink.top + ink.bottom) / 2;
    EXPECT_GE(At(x, y).r, 250);
    EXPECT_EQ(At(x, y).b, 0);
    EXPECT_EQ(At(150, 90).b, 255) << "around the letter the quad covers the background";
    font->Release();
}
