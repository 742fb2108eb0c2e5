#pragma once
// text/: installed fonts, glyphs and their atlas, the layout of ID3DXFont, and code page 1251
// with the WCHAR <-> narrow conversion. Used by both realizations' fonts and W functions, and by
// win32/ for titles and dropped file names.
//
// One font at one size: the installed face closest to a requested name and weight (fontconfig's
// choice), rasterised by FreeType. Characters the face lacks come from the closest installed face
// that has them; a character no face has is drawn as the face's missing-glyph box.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct Glyph_Request {
    std::string face_name;  // code page 1251 bytes; blanks around it are ignored
    int height = 0;         // < 0: character (em) height, > 0: cell height, 0: the default size
    unsigned width = 0;     // average character width in pixels; 0 keeps the face's proportions
    unsigned weight = 0;    // 1..1000 as FW_*; 0 is regular
    bool italic = false;
    bool antialiased = true;
    // As LOGFONT's lfPitchAndFamily: FIXED_PITCH asks for a monospaced face; the family
    // (FF_ROMAN, FF_SWISS, FF_MODERN, ...) names the kind of face to fall back to when the
    // name matches none.
    unsigned pitch_and_family = 0;
};

struct Glyph_Image {
    int width = 0;  // bitmap size in pixels
    int height = 0;
    int left = 0;  // bitmap's left edge, from the pen position
    int top = 0;   // bitmap's top edge, above the baseline
    int advance = 0;
    bool missing = false;           // no installed face has the character
    std::vector<uint8_t> coverage;  // width * height bytes, row by row, 255 = fully covered
};

class Glyph_Face {
public:
    // Heights beyond this many pixels are drawn at this many.
    static constexpr int max_height = 512;
    // The em height of a font created with height 0.
    static constexpr int default_em_height = 16;

    // Null only when fontconfig finds no usable face at all.
    static std::unique_ptr<Glyph_Face> open(const Glyph_Request& request);
    ~Glyph_Face();

    int ascent() const { return ascent_px; }
    int descent() const { return descent_px; }
    int cell_height() const { return ascent_px + descent_px; }
    int em_height() const { return em_px; }
    int average_width() const { return average_px; }
    bool is_bold() const;  // the face drawn is bold, by design or by emboldening
    const std::string& file() const;
    const std::string& family() const;

    Glyph_Image rasterise(uint32_t code_point);
    // How many glyphs rasterise produced so far.
    unsigned long rasterised() const { return rasterise_count; }

private:
    struct Impl;
    explicit Glyph_Face(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> impl;
    int ascent_px = 0;
    int descent_px = 0;
    int em_px = 0;
    int average_px = 0;
    unsigned long rasterise_count = 0;
};
