#include <d3dx9core.h>

#include <gtest/gtest.h>

#include "call_log.h"
#include "common/text/cp1251.h"
#include "common/text/font_d3dx.h"
#include "d3dx_headless_device.h"
#include "headless_d3d9.h"
#include "headless_win32.h"
#include "common/text/font_layout.h"
#include "common/text/glyph_cache.h"
#include "common/text/glyph_face.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

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

// ---- Faces, glyphs and layout, without a device ----

namespace {

std::unique_ptr<Glyph_Face> open_face(const char* name, int height, unsigned weight = 400, unsigned width = 0) {
    Glyph_Request request;
    request.face_name = name;
    request.height = height;
    request.weight = weight;
    request.width = width;
    return Glyph_Face::open(request);
}

const char caption[] = "\xD2\xE5\xEA\xF3\xF8\xE0\xFF \xEA\xE0\xEC\xE5\xF0\xE0 : 1";  // Текушая камера : 1

}  // namespace

TEST(GlyphFace, FindsTheClosestInstalledFaceForTheEnginesNames) {
    // None of these is installed here: each must still give a usable face, never fail. Names
    // of 1000 bytes and names of odd bytes (code page 1251 included) too.
    const std::string long_name(1000, 'Q'), odd = "\xFF\xC0\x98\x01,:=\\\"*?" + std::string(1000, '\xE9');
    for (const char* name : {"Verdana", "Courier ", "Kartika", "Arial", "", "   ", long_name.c_str(), odd.c_str()}) {
        auto face = open_face(name, -11);
        ASSERT_NE(face, nullptr) << "'" << name << "'";
        EXPECT_FALSE(face->file().empty());
        EXPECT_GT(face->cell_height(), 0);
        EXPECT_FALSE(face->rasterise('A').missing);
    }
    // The trailing blank does not turn "Courier " into some other family than "Courier".
    EXPECT_EQ(open_face("Courier ", 15)->file(), open_face("Courier", 15)->file());
}

TEST(GlyphFace, CyrillicCaptionsHaveGlyphsAndUnassignedBytesDrawTheMissingBox) {
    auto face = open_face("Verdana", -11, 700);
    ASSERT_NE(face, nullptr);
    for (const char* p = caption; *p; ++p) {
        Glyph_Image image = face->rasterise(cp1251::to_unicode(static_cast<unsigned char>(*p)));
        EXPECT_FALSE(image.missing) << "byte 0x" << std::hex << (static_cast<unsigned char>(*p) & 0xFF);
    }
    Glyph_Image box = face->rasterise(cp1251::to_unicode(0x98));
    EXPECT_TRUE(box.missing);
    EXPECT_GT(box.width, 0);  // the box itself is drawn
}

class FontLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto face = open_face("Verdana", 16);
        ASSERT_NE(face, nullptr);
        cache = std::make_unique<Glyph_Cache>(std::move(face));
    }
    int width_of(const char* text) {
        RECT r = {0, 0, 0, 0};
        layout.lay_out(*cache, text, -1, r, DT_NOCLIP);
        return layout.extent().right - layout.extent().left;
    }
    std::unique_ptr<Glyph_Cache> cache;
    Font_Layout layout;
};

TEST_F(FontLayoutTest, RightAlignmentEndsEveryLineAtTheRightEdge) {
    const int wide = width_of("wide line"), x_width = width_of("x");
    RECT r = {10, 20, 210, 120};
    layout.lay_out(*cache, "wide line\nx", -1, r, DT_RIGHT | DT_EXPANDTABS);
    EXPECT_EQ(layout.extent().right, 210);
    EXPECT_EQ(layout.extent().left, 210 - wide);
    layout.lay_out(*cache, "x", -1, r, DT_RIGHT);
    int x_left = layout.extent().left;
    // The "x" of the second line and the lone "x" end at the same edge.
    layout.lay_out(*cache, "wide line\nx", -1, r, DT_RIGHT);
    int last_glyph_x = layout.quads().back().x;
    layout.lay_out(*cache, "x", -1, r, DT_RIGHT);
    EXPECT_EQ(layout.quads().back().x, last_glyph_x);
    EXPECT_EQ(x_left, 210 - x_width);
    // Centred: equal room on both sides, to the pixel.
    layout.lay_out(*cache, "x", -1, r, DT_CENTER);
    EXPECT_LE(std::abs((layout.extent().left - 10) - (210 - layout.extent().right)), 1);
}

// ---- Fonts on the headless device ----

namespace {

// Every render, texture stage and sampler state the device answers for, the stage 0 texture,
// the FVF and stream 0.
struct Device_Snapshot {
    std::vector<DWORD> values;
    IDirect3DBaseTexture9* texture = nullptr;
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT offset = 0, stride = 0;
    DWORD fvf = 0;

    explicit Device_Snapshot(IDirect3DDevice9* d) {
        DWORD v;
        for (DWORD s = 0; s < 256; ++s) values.push_back(SUCCEEDED(d->GetRenderState(D3DRENDERSTATETYPE(s), &v)) ? v : 0xDEAD);
        for (DWORD stage = 0; stage < 8; ++stage)
            for (DWORD t = 0; t < 33; ++t)
                values.push_back(SUCCEEDED(d->GetTextureStageState(stage, D3DTEXTURESTAGESTATETYPE(t), &v)) ? v : 0xDEAD);
        for (DWORD sampler = 0; sampler < 16; ++sampler)
            for (DWORD t = 0; t < 14; ++t)
                values.push_back(SUCCEEDED(d->GetSamplerState(sampler, D3DSAMPLERSTATETYPE(t), &v)) ? v : 0xDEAD);
        d->GetTexture(0, &texture);
        d->GetStreamSource(0, &stream, &offset, &stride);
        d->GetFVF(&fvf);
        if (texture) texture->Release();
        if (stream) stream->Release();
    }
};

}  // namespace

TEST_F(D3dxOnDevice, DrawingPutsBackEveryDeviceStateItChanged) {
    // States as a caller may leave them, most of them what text drawing must change.
    IDirect3DTexture9* texture = nullptr;
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateVertexBuffer(80, 0, D3DFVF_XYZRHW | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT, &buffer, nullptr), D3D_OK);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
    device->SetTexture(0, texture);
    device->SetStreamSource(0, buffer, 20, 20);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    Device_Snapshot before(device);

    Font_D3dx* font = Font_D3dx::create(device, Font_Base::describe(-11, 0, 700, 0, FALSE, 1, 0, 0, 0, "Verdana"));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    orvex_headless::clear_call_log();
    RECT r = {5, 5, 0, 0};
    EXPECT_GT(font->DrawTextA(nullptr, caption, -1, &r, DT_NOCLIP, 0x80FF0000), 0);
    device->EndScene();

    Device_Snapshot after(device);
    EXPECT_EQ(after.values, before.values);
    EXPECT_EQ(after.texture, before.texture);
    EXPECT_EQ(after.stream, before.stream);
    EXPECT_EQ(after.offset, 20u);
    EXPECT_EQ(after.stride, 20u);
    EXPECT_EQ(after.fvf, before.fvf);

    // It drew pre-transformed textured quads, blended, in solid fill, with the colour asked for.
    ASSERT_FALSE(orvex_headless::recorded_draws().empty());
    const orvex_headless::Recorded_Draw& draw = orvex_headless::recorded_draws().back();
    EXPECT_EQ(draw.fvf, DWORD(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    EXPECT_EQ(draw.fill_mode, DWORD(D3DFILL_SOLID));
    EXPECT_NE(draw.texture0, "NULL");
    EXPECT_EQ(draw.primitives, 2u * 15u);  // 15 glyphs with ink: the caption less its three blanks
    DWORD colour;
    memcpy(&colour, draw.vertices.data() + 16, 4);
    EXPECT_EQ(colour, 0x80FF0000u);
    const auto& log = orvex_headless::call_log();
    EXPECT_NE(std::find(log.begin(), log.end(), "SetRenderState(ALPHABLENDENABLE, 1)"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "SetRenderState(ZFUNC, 8)"), log.end());

    font->Release();
    texture->Release();
    buffer->Release();
}
