#include "common/text/glyph_atlas.h"

#include <algorithm>
#include <cstring>

Glyph_Atlas::Glyph_Atlas(int page_size) : size(page_size) {}

bool Glyph_Atlas::place_on(Page& page, int width, int height, Glyph_Place& out) {
    if (page.cursor_x + width > size) {
        page.shelf_y += page.shelf_height + 1;
        page.shelf_height = 0;
        page.cursor_x = 0;
    }
    if (page.shelf_y + height > size) return false;
    out.x = page.cursor_x;
    out.y = page.shelf_y;
    page.cursor_x += width + 1;
    page.shelf_height = std::max(page.shelf_height, height);
    return true;
}

bool Glyph_Atlas::place(int width, int height, const uint8_t* coverage, Glyph_Place& out) {
    out = Glyph_Place();
    if (width <= 0 || height <= 0) return true;
    if (width > size || height > size) return false;
    if (pages.empty() || !place_on(pages.back(), width, height, out)) {
        pages.emplace_back();
        pages.back().pixels.assign(static_cast<size_t>(size) * size, 0);
        place_on(pages.back(), width, height, out);
    }
    out.page = static_cast<int>(pages.size()) - 1;
    Page& page = pages.back();
    for (int row = 0; row < height; ++row)
        memcpy(&page.pixels[static_cast<size_t>(out.y + row) * size + out.x], coverage + static_cast<size_t>(row) * width,
               static_cast<size_t>(width));
    if (page.changed_bottom == page.changed_top) {
        page.changed_top = out.y;
        page.changed_bottom = out.y + height;
    } else {
        page.changed_top = std::min(page.changed_top, out.y);
        page.changed_bottom = std::max(page.changed_bottom, out.y + height);
    }
    return true;
}

bool Glyph_Atlas::take_changed_rows(int page, int& top, int& bottom) {
    Page& p = pages[page];
    if (p.changed_bottom == p.changed_top) return false;
    top = p.changed_top;
    bottom = p.changed_bottom;
    p.changed_top = p.changed_bottom = 0;
    return true;
}

void Glyph_Atlas::mark_all_changed() {
    for (Page& page : pages) {
        page.changed_top = 0;
        page.changed_bottom = size;
    }
}
