#include "common/text/glyph_cache.h"

#include "common/text/cp1251.h"

namespace {

// Room for the 256 glyphs of the code page on one page where possible, within what every GL
// implementation takes as a texture.
int page_size_for(int cell_height) {
    int size = 256;
    while (size < 16 * (cell_height + 2) && size < 2048) size *= 2;
    return size;
}

}  // namespace

Glyph_Cache::Glyph_Cache(std::unique_ptr<Glyph_Face> face)
    : glyph_face(std::move(face)), glyph_atlas(page_size_for(glyph_face->cell_height())) {}

void Glyph_Cache::load(unsigned char byte, Glyph_Entry& entry) {
    Glyph_Image image = glyph_face->rasterise(cp1251::to_unicode(byte));
    entry.loaded = true;
    entry.missing = image.missing;
    entry.advance = image.advance;
    entry.left = image.left;
    entry.top = image.top;
    if (glyph_atlas.place(image.width, image.height, image.coverage.data(), entry.place) && entry.place.page >= 0) {
        entry.width = image.width;
        entry.height = image.height;
    }
}
