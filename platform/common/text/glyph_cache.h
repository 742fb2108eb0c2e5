#pragma once
// The glyphs of one font, keyed by code page 1251 byte: each is rasterised once, on first use,
// into the font's atlas; later lookups only read the cache.
#include "common/text/glyph_atlas.h"
#include "common/text/glyph_face.h"

#include <memory>

struct Glyph_Entry {
    bool loaded = false;
    bool missing = false;  // drawn as the missing-glyph box
    Glyph_Place place;     // page -1: nothing to draw (a blank, or a glyph too large for a page)
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    int advance = 0;
};

class Glyph_Cache {
public:
    explicit Glyph_Cache(std::unique_ptr<Glyph_Face> face);

    const Glyph_Entry& get(unsigned char byte) {
        Glyph_Entry& entry = entries[byte];
        if (!entry.loaded) load(byte, entry);
        return entry;
    }

    Glyph_Face& face() { return *glyph_face; }
    Glyph_Atlas& atlas() { return glyph_atlas; }

private:
    void load(unsigned char byte, Glyph_Entry& entry);

    std::unique_ptr<Glyph_Face> glyph_face;
    Glyph_Atlas glyph_atlas;
    Glyph_Entry entries[256];
};
