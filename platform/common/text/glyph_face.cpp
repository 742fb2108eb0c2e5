#include "common/text/glyph_face.h"

#include "common/text/cp1251.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Windows keeps face names in 32-byte records: at most 31 bytes of a name take part in matching.
const size_t face_name_limit = 31;
// Faces borrowed for missing characters, at most.
const size_t fallback_limit = 8;

struct Match {
    std::string file;
    std::string family;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

std::string face_name_utf8(const std::string& name) {
    size_t first = name.find_first_not_of(" \t");
    std::string trimmed = first == std::string::npos ? std::string() : name.substr(first);
    if (trimmed.size() > face_name_limit) trimmed.resize(face_name_limit);
    trimmed.erase(trimmed.find_last_not_of(" \t") + 1);
    return cp1251::to_utf8(trimmed.c_str(), static_cast<ptrdiff_t>(trimmed.size()));
}

FcPattern* request_pattern(const Glyph_Request& request) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    std::string family = face_name_utf8(request.face_name);
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(family.empty() ? "sans-serif" : family.c_str()));
    static const char* const generic[] = {nullptr, "serif", "sans-serif", "monospace", "cursive", "fantasy"};
    unsigned family_kind = (request.pitch_and_family >> 4) & 0xF;
    if (family_kind >= 1 && family_kind <= 5)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(generic[family_kind]));
    if ((request.pitch_and_family & 3) == 1) FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
    if (request.weight) {
        int weight = static_cast<int>(std::min(request.weight, 1000u));
        FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    }
    if (request.italic) FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

// The closest installed face to pattern; with code_point, only a face that has that character.
bool find_face(FcPattern* pattern, uint32_t code_point, bool need_character, Match& out) {
    FcPattern* query = pattern;
    FcCharSet* wanted = nullptr;
    if (need_character) {
        query = FcPatternDuplicate(pattern);
        wanted = FcCharSetCreate();
        if (!query || !wanted) {
            if (query) FcPatternDestroy(query);
            if (wanted) FcCharSetDestroy(wanted);
            return false;
        }
        FcCharSetAddChar(wanted, code_point);
        FcPatternDel(query, FC_CHARSET);
        FcPatternAddCharSet(query, FC_CHARSET, wanted);
    }
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, query, &result);
    bool ok = false;
    if (found) {
        FcChar8* file = nullptr;
        FcChar8* family = nullptr;
        FcCharSet* has = nullptr;
        ok = FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch;
        if (ok && need_character)
            ok = FcPatternGetCharSet(found, FC_CHARSET, 0, &has) == FcResultMatch &&
                 FcCharSetHasChar(has, code_point);
        if (ok) {
            out.file = reinterpret_cast<const char*>(file);
            if (FcPatternGetString(found, FC_FAMILY, 0, &family) == FcResultMatch)
                out.family = reinterpret_cast<const char*>(family);
            FcPatternGetInteger(found, FC_INDEX, 0, &out.index);
            FcPatternGetInteger(found, FC_WEIGHT, 0, &out.weight);
            FcPatternGetInteger(found, FC_SLANT, 0, &out.slant);
        }
        FcPatternDestroy(found);
    }
    if (need_character) {
        FcCharSetDestroy(wanted);
        FcPatternDestroy(query);
    }
    return ok;
}

}  // namespace

struct Glyph_Face::Impl {
    struct Loaded {
        FT_Face face = nullptr;
        std::string file;
        int index = 0;
        bool embolden = false;
        bool oblique = false;
    };

    FT_Library library = nullptr;
    FcPattern* pattern = nullptr;
    std::vector<Loaded> faces;  // [0] is the face asked for; the rest lend missing characters
    std::string family;
    FT_F26Dot6 char_width = 0;
    FT_F26Dot6 char_height = 0;
    bool want_bold = false;
    bool want_italic = false;
    bool antialiased = true;

    ~Impl() {
        for (Loaded& loaded : faces) FT_Done_Face(loaded.face);
        if (library) FT_Done_FreeType(library);
        if (pattern) FcPatternDestroy(pattern);
    }

    bool load(const Match& match, bool sized) {
        Loaded loaded;
        if (FT_New_Face(library, match.file.c_str(), match.index, &loaded.face)) return false;
        if (sized && !set_size(loaded.face)) {
            FT_Done_Face(loaded.face);
            return false;
        }
        loaded.file = match.file;
        loaded.index = match.index;
        loaded.embolden = want_bold && match.weight < FC_WEIGHT_DEMIBOLD;
        loaded.oblique = want_italic && match.slant == FC_SLANT_ROMAN;
        faces.push_back(loaded);
        return true;
    }

    bool set_size(FT_Face face) const {
        if (FT_IS_SCALABLE(face)) return FT_Set_Char_Size(face, char_width, char_height, 72, 72) == 0;
        return face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) == 0;
    }

    // The face that has code_point and the glyph's index in it; primary face and index 0 when
    // no face has it.
    const Loaded& face_for(uint32_t code_point, FT_UInt& index) {
        for (const Loaded& loaded : faces) {
            index = FT_Get_Char_Index(loaded.face, code_point);
            if (index) return loaded;
        }
        Match match;
        if (faces.size() <= fallback_limit && find_face(pattern, code_point, true, match)) {
            auto known = std::find_if(faces.begin(), faces.end(), [&](const Loaded& l) {
                return l.file == match.file && l.index == match.index;
            });
            if (known == faces.end() && load(match, true)) {
                index = FT_Get_Char_Index(faces.back().face, code_point);
                if (index) return faces.back();
            }
        }
        index = 0;
        return faces.front();
    }
};

Glyph_Face::Glyph_Face(std::unique_ptr<Impl> i) : impl(std::move(i)) {}

Glyph_Face::~Glyph_Face() = default;

std::unique_ptr<Glyph_Face> Glyph_Face::open(const Glyph_Request& request) {
    if (!FcInit()) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->want_bold = request.weight >= 600;
    impl->want_italic = request.italic;
    impl->antialiased = request.antialiased;
    impl->pattern = request_pattern(request);
    if (!impl->pattern || FT_Init_FreeType(&impl->library)) return nullptr;
    Match match;
    if (!find_face(impl->pattern, 0, false, match) || !impl->load(match, false)) return nullptr;
    impl->family = match.family;
    FT_Face face = impl->faces.front().face;

    // Vertical metrics as Windows takes them: the OS/2 table's Windows ascent and descent.
    double em_units = face->units_per_EM ? face->units_per_EM : 1000.0;
    double ascent_units = face->ascender;
    double descent_units = -face->descender;
    double average_units = em_units / 2;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            ascent_units = os2->usWinAscent;
            descent_units = os2->usWinDescent;
        }
        if (os2->xAvgCharWidth > 0) average_units = os2->xAvgCharWidth;
    }
    if (ascent_units + descent_units <= 0) {
        ascent_units = em_units * 0.8;
        descent_units = em_units * 0.2;
    }
    double cell_units = ascent_units + descent_units;

    long long height = request.height;  // 64 bits: negating INT_MIN must not overflow
    height = std::max<long long>(-max_height, std::min<long long>(max_height, height));
    if (height == 0) height = -default_em_height;
    std::unique_ptr<Glyph_Face> result(new Glyph_Face(std::move(impl)));
    double em;
    if (height < 0) {
        em = static_cast<double>(-height);
        result->ascent_px = static_cast<int>(std::lround(ascent_units * em / em_units));
        result->descent_px = static_cast<int>(std::lround(descent_units * em / em_units));
    } else {
        em = static_cast<double>(height) * em_units / cell_units;
        result->ascent_px = static_cast<int>(std::lround(static_cast<double>(height) * ascent_units / cell_units));
        result->descent_px = static_cast<int>(height) - result->ascent_px;
    }
    double width = std::min<double>(request.width, max_height);
    double em_x = width > 0 ? width * em_units / average_units : em;
    result->em_px = std::max(1, static_cast<int>(std::lround(em)));
    result->average_px = std::max(1, static_cast<int>(std::lround(width > 0 ? width : average_units * em / em_units)));

    Impl& self = *result->impl;
    self.char_height = std::max<FT_F26Dot6>(1, std::lround(em * 64));
    self.char_width = std::max<FT_F26Dot6>(1, std::lround(em_x * 64));
    if (!self.set_size(face)) return nullptr;
    return result;
}

bool Glyph_Face::is_bold() const {
    const Impl::Loaded& primary = impl->faces.front();
    return primary.embolden || (primary.face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

const std::string& Glyph_Face::file() const { return impl->faces.front().file; }

const std::string& Glyph_Face::family() const { return impl->family; }

Glyph_Image Glyph_Face::rasterise(uint32_t code_point) {
    ++rasterise_count;
    Glyph_Image image;
    FT_UInt index = 0;
    const Impl::Loaded& loaded = impl->face_for(code_point, index);
    image.missing = index == 0;
    FT_Int32 flags = impl->antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (FT_IS_SCALABLE(loaded.face)) flags |= FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(loaded.face, index, flags)) return image;
    FT_GlyphSlot slot = loaded.face->glyph;
    if (loaded.embolden) FT_GlyphSlot_Embolden(slot);
    if (loaded.oblique) FT_GlyphSlot_Oblique(slot);
    image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, impl->antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO))
        return image;

    const FT_Bitmap& bitmap = slot->bitmap;
    image.width = static_cast<int>(bitmap.width);
    image.height = static_cast<int>(bitmap.rows);
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.coverage.assign(static_cast<size_t>(image.width) * image.height, 0);
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        uint8_t* out = image.coverage.data() + static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            switch (bitmap.pixel_mode) {
            case FT_PIXEL_MODE_MONO: out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0; break;
            case FT_PIXEL_MODE_GRAY:
                out[x] = bitmap.num_grays == 256 ? row[x]
                                                 : static_cast<uint8_t>(row[x] * 255 / std::max(1, bitmap.num_grays - 1));
                break;
            case FT_PIXEL_MODE_BGRA: out[x] = row[x * 4 + 3]; break;
            default: out[x] = 0; break;
            }
        }
    }
    return image;
}
