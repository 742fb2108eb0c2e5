#pragma once
// Square pages of glyph coverage, filled shelf by shelf. Each page remembers the rows changed
// since they were last taken, so a font uploads only what is new.
#include <cstdint>
#include <vector>

struct Glyph_Place {
    int page = -1;
    int x = 0;
    int y = 0;
};

class Glyph_Atlas {
public:
    // Pages of page_size x page_size bytes; glyphs are kept one blank pixel apart.
    explicit Glyph_Atlas(int page_size);

    // Copies a width x height coverage image into a page. False (and nothing placed) when the
    // image is larger than a page. Empty images take no room and get page -1.
    bool place(int width, int height, const uint8_t* coverage, Glyph_Place& out);

    int page_size() const { return size; }
    int page_count() const { return static_cast<int>(pages.size()); }
    const uint8_t* page_pixels(int page) const { return pages[page].pixels.data(); }

    // The rows [top, bottom) of page changed since the last call; false when none did.
    bool take_changed_rows(int page, int& top, int& bottom);
    // Marks every page as changed (its device copy was lost).
    void mark_all_changed();

private:
    struct Page {
        std::vector<uint8_t> pixels;
        int shelf_y = 0;       // top of the open shelf
        int shelf_height = 0;  // tallest glyph on it
        int cursor_x = 0;      // next free column on it
        int changed_top = 0;
        int changed_bottom = 0;
    };

    bool place_on(Page& page, int width, int height, Glyph_Place& out);

    int size;
    std::vector<Page> pages;
};
