#include <d3dx9core.h>

#include <gtest/gtest.h>

#include "call_log.h"
#include "common/cp1251.h"
#include "common/font_d3dx.h"
#include "d3dx_headless_device.h"
#include "headless_d3d9.h"
#include "headless_d3dx_font.h"
#include "headless_win32.h"
#include "common/font_layout.h"
#include "common/glyph_cache.h"
#include "common/glyph_face.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
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

// Rows of a glyph image that hold ink.
int ink_rows(const Glyph_Image& image) {
    int rows = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.coverage[static_cast<size_t>(y) * image.width + x] > 127) {
                ++rows;
                break;
            }
    return rows;
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

TEST(GlyphFace, Weight700GivesABoldFace) {
    auto regular = open_face("Verdana", -21, 400);
    auto bold = open_face("Verdana", -21, 700);
    ASSERT_TRUE(regular && bold);
    EXPECT_FALSE(regular->is_bold());
    EXPECT_TRUE(bold->is_bold());
    // Bold strokes cover more of the glyph.
    auto ink = [](const Glyph_Image& image) {
        long sum = 0;
        for (uint8_t c : image.coverage) sum += c;
        return sum;
    };
    EXPECT_GT(ink(bold->rasterise('H')), ink(regular->rasterise('H')) * 11 / 10);
}

TEST(GlyphFace, NegativeHeightIsTheEmHeightAndPositiveTheCellHeight) {
    for (int cell : {10, 14, 15, 40}) {
        auto face = open_face("Verdana", cell);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->cell_height(), cell);
        EXPECT_EQ(face->ascent() + face->descent(), cell);
    }
    // The em height: a capital is the same fraction of it at every size, and doubling the em
    // doubles the capital.
    auto small = open_face("Verdana", -20), large = open_face("Verdana", -40);
    ASSERT_TRUE(small && large);
    EXPECT_EQ(small->em_height(), 20);
    EXPECT_EQ(large->em_height(), 40);
    int small_cap = ink_rows(small->rasterise('H')), large_cap = ink_rows(large->rasterise('H'));
    EXPECT_NEAR(large_cap, 2 * small_cap, 2);
    EXPECT_GT(small_cap, 10);  // a capital is well over half an em
    EXPECT_LT(small_cap, 20);
    // The cell of an em-sized font is taller than the em (ascent and descent include accents).
    EXPECT_GT(large->cell_height(), 40);
}

TEST(GlyphFace, ZeroHeightGivesTheDefaultSizeAndAbsurdHeightsAreBounded) {
    auto zero = open_face("Verdana", 0);
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->em_height(), Glyph_Face::default_em_height);
    for (int height : {INT_MIN, INT_MAX, -100000}) {
        auto face = open_face("Verdana", height, 400, 0xFFFFFFFFu);
        ASSERT_NE(face, nullptr) << height;
        EXPECT_LE(face->em_height(), Glyph_Face::max_height + 1);
        EXPECT_GT(face->rasterise('W').width, 0);
    }
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

TEST(GlyphCache, RasterisesEachCharacterOnceAndPlacesGlyphsApart) {
    Glyph_Cache cache(open_face("Verdana", -11, 700));
    for (const char* p = caption; *p; ++p) cache.get(static_cast<unsigned char>(*p));
    unsigned long after_first = cache.face().rasterised();
    EXPECT_EQ(after_first, 12u);  // distinct bytes of the caption
    for (const char* p = caption; *p; ++p) cache.get(static_cast<unsigned char>(*p));
    EXPECT_EQ(cache.face().rasterised(), after_first);

    // Every byte of the code page: no two glyphs overlap in the atlas.
    struct Box { int page, x, y, w, h; };
    std::vector<Box> boxes;
    for (int b = 1; b < 256; ++b) {
        const Glyph_Entry& e = cache.get(static_cast<unsigned char>(b));
        if (e.place.page < 0) continue;
        EXPECT_LE(e.place.x + e.width, cache.atlas().page_size());
        EXPECT_LE(e.place.y + e.height, cache.atlas().page_size());
        for (const Box& o : boxes)
            ASSERT_FALSE(o.page == e.place.page && e.place.x < o.x + o.w && o.x < e.place.x + e.width &&
                         e.place.y < o.y + o.h && o.y < e.place.y + e.height)
                << "byte " << b;
        boxes.push_back({e.place.page, e.place.x, e.place.y, e.width, e.height});
    }
    EXPECT_EQ(cache.atlas().page_count(), 1);
}

TEST(GlyphAtlas, RefusesAGlyphLargerThanAPageAndOpensNewPagesWhenFull) {
    Glyph_Atlas atlas(16);
    std::vector<uint8_t> ink(17 * 17, 255);
    Glyph_Place place;
    EXPECT_FALSE(atlas.place(17, 1, ink.data(), place));
    EXPECT_EQ(place.page, -1);
    EXPECT_TRUE(atlas.place(0, 5, ink.data(), place));
    EXPECT_EQ(place.page, -1);
    EXPECT_EQ(atlas.page_count(), 0);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(atlas.place(10, 10, ink.data(), place));
    EXPECT_EQ(atlas.page_count(), 5);  // one 10 x 10 glyph per 16 x 16 page
    int top = -1, bottom = -1;
    ASSERT_TRUE(atlas.take_changed_rows(4, top, bottom));
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 10);
    EXPECT_FALSE(atlas.take_changed_rows(4, top, bottom));
    EXPECT_EQ(atlas.page_pixels(4)[9 * 16 + 9], 255);
    EXPECT_EQ(atlas.page_pixels(4)[10 * 16 + 10], 0);
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

TEST_F(FontLayoutTest, AnswersLinesTimesCellHeightAndNothingForEmptyText) {
    RECT r = {5, 45, 0, 0};
    struct Case {
        const char* text;
        int count;
        DWORD format;
        int lines;
    };
    const Case cases[] = {
        {"0 fps", -1, DT_NOCLIP, 1},     {"a\nb\nc", -1, DT_NOCLIP, 3},  {"a\r\nb", -1, DT_NOCLIP, 2},
        {"a\n", -1, DT_NOCLIP, 1},       {"\n\n", -1, DT_NOCLIP, 2},      {"a\nb", -1, DT_SINGLELINE | DT_NOCLIP, 1},
        {"a\nb\nc", 3, DT_NOCLIP, 2},    {"ab\0cd\nx", 7, DT_NOCLIP, 1},  {"", -1, DT_NOCLIP, 0},
        {"abc", 0, DT_NOCLIP, 0},        {"a\nb", -5, DT_NOCLIP, 2},      {"clipped", -1, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(layout.lay_out(*cache, c.text, c.count, r, c.format), 16 * c.lines) << c.text;
    EXPECT_EQ(layout.lay_out(*cache, nullptr, -1, r, DT_NOCLIP), 0);
}

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

TEST_F(FontLayoutTest, TabsExpandToStopsOnlyWhenAsked) {
    const int stop = 8 * cache->face().average_width(), x_width = width_of("x");
    EXPECT_EQ(width_of("\t"), 0);  // without DT_EXPANDTABS a tab takes no room
    RECT r = {0, 0, 0, 0};
    layout.lay_out(*cache, "\tx", -1, r, DT_NOCLIP | DT_EXPANDTABS);
    EXPECT_EQ(layout.extent().right, stop + x_width);
    layout.lay_out(*cache, "ab\tx", -1, r, DT_NOCLIP | DT_EXPANDTABS);
    EXPECT_EQ(layout.extent().right, stop + x_width);
    layout.lay_out(*cache, "ab\tx\tx", -1, r, DT_NOCLIP | DT_EXPANDTABS);
    EXPECT_EQ(layout.extent().right, 2 * stop + x_width);
}

TEST_F(FontLayoutTest, ClipsToTheRectangleUnlessNoClip) {
    RECT r = {0, 0, 0, 0};
    EXPECT_EQ(layout.lay_out(*cache, "hidden", -1, r, DT_LEFT), 16);
    EXPECT_TRUE(layout.quads().empty());
    layout.lay_out(*cache, "shown", -1, r, DT_NOCLIP);
    EXPECT_EQ(layout.quads().size(), 5u);

    // Half the width: glyphs are cut at the edge, their atlas source moved with them.
    int full = width_of("MMMM");
    RECT half = {100, 50, 100 + full / 2, 50 + 8};
    layout.lay_out(*cache, "MMMM", -1, half, DT_LEFT);
    ASSERT_FALSE(layout.quads().empty());
    for (const Font_Quad& q : layout.quads()) {
        EXPECT_GE(q.x, half.left);
        EXPECT_LE(q.x + q.width, half.right);
        EXPECT_GE(q.y, half.top);
        EXPECT_LE(q.y + q.height, half.bottom);
    }
    RECT open = {100, 50, 100 + full / 2, 50 + 100};
    layout.lay_out(*cache, "M", -1, open, DT_NOCLIP);
    Font_Quad whole = layout.quads().front();
    layout.lay_out(*cache, "M", -1, half, DT_LEFT);
    Font_Quad cut = layout.quads().front();
    EXPECT_EQ(cut.src_y - whole.src_y, cut.y - whole.y);
    EXPECT_LT(cut.height, whole.height);
}

TEST_F(FontLayoutTest, SingleLineTextCanSitAtTheBottomOrTheMiddle) {
    RECT r = {0, 0, 300, 100};
    layout.lay_out(*cache, "x", -1, r, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(layout.extent().bottom, 100);
    layout.lay_out(*cache, "x", -1, r, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(layout.extent().top, (100 - 16) / 2);
    // Without DT_SINGLELINE both are ignored, as in GDI.
    layout.lay_out(*cache, "x", -1, r, DT_BOTTOM);
    EXPECT_EQ(layout.extent().top, 0);
}

// ---- Fonts on the headless device ----

namespace {

class FontOnDevice : public D3dxOnDevice {
protected:
    void SetUp() override {
        orvex_headless::set_font_creation_failure(nullptr);
        D3dxOnDevice::SetUp();
    }
    void TearDown() override {
        orvex_headless::set_font_creation_failure(nullptr);
        D3dxOnDevice::TearDown();
    }
    ID3DXFont* create(const char* face, INT height, UINT weight = FW_BOLD) {
        ID3DXFont* font = nullptr;
        EXPECT_EQ(D3DXCreateFontA(device, height, 0, weight, 0, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, 0, face, &font),
                  D3D_OK);
        return font;
    }
};

}  // namespace

TEST_F(FontOnDevice, HeadlessDrawTextRecordsOneLineAndAnswersTheHeight) {
    ID3DXFont* font = create("Verdana", -11);
    ASSERT_NE(font, nullptr);
    orvex_headless::clear_call_log();
    RECT overlay = {5, 45, 0, 0}, box = {0, 0, 195, 15};
    int one = font->DrawTextA(nullptr, "0 fps", -1, &overlay, DT_NOCLIP, 0xFFFFFFFF);
    int two = font->DrawTextA(nullptr, caption, -1, &box, DT_RIGHT | DT_EXPANDTABS, 0xFF91919B);
    int cut = font->DrawTextA(nullptr, "a\nb\nc", 3, nullptr, 0x80000000u | DT_CALCRECT, 0x00000000);
    int none = font->DrawTextA(nullptr, "", -1, &overlay, 0, 0x12345678);
    const std::vector<std::string> expected = {
        "DrawTextA(\"0 fps\", {5,45,0,0}, DT_NOCLIP, 0xFFFFFFFF)",
        std::string("DrawTextA(\"") + caption + "\", {0,0,195,15}, DT_RIGHT|DT_EXPANDTABS, 0xFF91919B)",
        "DrawTextA(\"a\nb\", null, DT_CALCRECT|0x80000000, 0x00000000)",
        "DrawTextA(\"\", {5,45,0,0}, 0, 0x12345678)",
    };
    // Nothing else: the headless font does not draw through the device.
    EXPECT_EQ(orvex_headless::call_log(), expected);
    EXPECT_GT(one, 10);
    EXPECT_EQ(two, one);
    EXPECT_EQ(cut, 2 * one);
    EXPECT_EQ(none, 0);
    font->Release();
}

TEST_F(FontOnDevice, CreationFailsWhenTheTestAsksAndIsLogged) {
    orvex_headless::set_font_creation_failure(
        [](const D3DXFONT_DESCA& d) { return strcmp(d.FaceName, "Verdana") == 0 && d.Height == -21; });
    ID3DXFont* font = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_EQ(D3DXCreateFontA(device, -21, 0, 700, 0, FALSE, 1, 0, 0, 0, "Verdana", &font), E_FAIL);
    EXPECT_EQ(font, nullptr);
    ID3DXFont* other = create("Verdana", -11);
    ASSERT_NE(other, nullptr);
    const std::vector<std::string> expected = {
        "D3DXCreateFontA(-21, 0, 700, 0, 0, 1, 0, 0, 0, \"Verdana\") -> failed",
        "D3DXCreateFontA(-11, 0, 700, 0, 0, 1, 0, 0, 0, \"Verdana\")",
    };
    EXPECT_EQ(orvex_headless::call_log(), expected);
    orvex_headless::set_font_creation_failure(nullptr);
    ID3DXFont* again = create("Verdana", -21);
    EXPECT_NE(again, nullptr);
    if (again) again->Release();
    other->Release();
}

TEST_F(FontOnDevice, RefusesMissingArgumentsAndDescribesItselfAsCreated) {
    ID3DXFont* font = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_EQ(D3DXCreateFontA(nullptr, 10, 0, 0, 0, FALSE, 1, 0, 0, 0, "Arial", &font), D3DERR_INVALIDCALL);
    EXPECT_EQ(font, nullptr);
    EXPECT_EQ(D3DXCreateFontA(device, 10, 0, 0, 0, FALSE, 1, 0, 0, 0, nullptr, &font), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateFontA(device, 10, 0, 0, 0, FALSE, 1, 0, 0, 0, "Arial", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateFontIndirectA(device, nullptr, &font), D3DERR_INVALIDCALL);

    std::string long_name(1000, 'N');
    ASSERT_EQ(D3DXCreateFontA(device, 15, 6, 200, 0, TRUE, 1, 0, 0, 0, long_name.c_str(), &font), D3D_OK);
    D3DXFONT_DESCA desc;
    ASSERT_EQ(font->GetDescA(&desc), D3D_OK);
    EXPECT_EQ(std::string(desc.FaceName), long_name.substr(0, 31));
    EXPECT_EQ(desc.Height, 15);
    EXPECT_EQ(desc.Width, 6u);
    EXPECT_EQ(desc.Weight, 200u);
    EXPECT_EQ(desc.Italic, TRUE);
    RECT r = {0, 0, 100, 100};
    EXPECT_GT(font->DrawTextA(nullptr, "still draws", -1, &r, 0, 0xFFFFFFFF), 0);

    // The font holds the device: one reference more while it lives.
    IDirect3DDevice9* same = nullptr;
    ASSERT_EQ(font->GetDevice(&same), D3D_OK);
    EXPECT_EQ(same, device);
    ULONG with_font = same->Release();
    font->Release();
    EXPECT_EQ(device->AddRef(), with_font);
    device->Release();
}

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

TEST_F(FontOnDevice, DrawingPutsBackEveryDeviceStateItChanged) {
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

TEST_F(FontOnDevice, CachedTextIsDrawnWithoutRasterisingOrUploadingAgain) {
    Font_D3dx* font = Font_D3dx::create(device, Font_Base::describe(-11, 0, 700, 0, FALSE, 1, 0, 0, 0, "Verdana"));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    RECT r = {5, 5, 0, 0};
    font->DrawTextA(nullptr, caption, -1, &r, DT_NOCLIP, 0xFFFFFFFF);
    unsigned long rasterised = font->glyphs().face().rasterised();
    orvex_headless::clear_call_log();
    // The same glyphs in another order, on another line.
    font->DrawTextA(nullptr, "\xEA\xE0\xEC\xE5\xF0\xE0 1 : \xD2\xE5\xEA\xF3\xF8\xE0\xFF", -1, &r, DT_NOCLIP, 0xFFFFFFFF);
    EXPECT_EQ(font->glyphs().face().rasterised(), rasterised);
    for (const std::string& line : orvex_headless::call_log()) {
        EXPECT_EQ(line.find("LockRect"), std::string::npos) << line;
        EXPECT_EQ(line.find("CreateTexture"), std::string::npos) << line;
    }
    // Measuring draws nothing.
    orvex_headless::clear_call_log();
    RECT measure = {5, 5, 0, 0};
    EXPECT_EQ(font->DrawTextA(nullptr, "ab\nc", -1, &measure, DT_CALCRECT, 0xFFFFFFFF), 2 * font->glyphs().face().cell_height());
    EXPECT_TRUE(orvex_headless::call_log().empty());
    EXPECT_EQ(measure.bottom, 5 + 2 * font->glyphs().face().cell_height());
    EXPECT_GT(measure.right, 5);
    // A new character is rasterised once and its rows uploaded.
    rasterised = font->glyphs().face().rasterised();
    orvex_headless::clear_call_log();
    font->DrawTextA(nullptr, "Q", -1, &r, DT_NOCLIP, 0xFFFFFFFF);
    EXPECT_EQ(font->glyphs().face().rasterised(), rasterised + 1);
    const auto& log = orvex_headless::call_log();
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.find("LockRect") != std::string::npos; }), 1);
    // After a lost device the pages come back from the cache, not from the rasteriser.
    EXPECT_EQ(font->OnLostDevice(), D3D_OK);
    EXPECT_EQ(font->OnResetDevice(), D3D_OK);
    rasterised = font->glyphs().face().rasterised();
    orvex_headless::clear_call_log();
    font->DrawTextA(nullptr, caption, -1, &r, DT_NOCLIP, 0xFFFFFFFF);
    EXPECT_EQ(font->glyphs().face().rasterised(), rasterised);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.find("CreateTexture") != std::string::npos; }), 1);
    device->EndScene();
    font->Release();
}

TEST(GlyphFace, AnUnknownNameFallsBackToTheKindOfFaceItsFamilyAsksFor) {
    Glyph_Request request;
    request.face_name = "No Such Face Anywhere";
    request.height = 20;
    request.pitch_and_family = FIXED_PITCH | FF_MODERN;
    auto mono = Glyph_Face::open(request);
    request.pitch_and_family = VARIABLE_PITCH | FF_ROMAN;
    auto serif = Glyph_Face::open(request);
    ASSERT_TRUE(mono && serif);
    EXPECT_EQ(mono->rasterise('i').advance, mono->rasterise('W').advance);
    EXPECT_NE(serif->rasterise('i').advance, serif->rasterise('W').advance);
    EXPECT_NE(mono->file(), serif->file());
}
