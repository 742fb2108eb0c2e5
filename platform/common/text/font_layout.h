#pragma once
// Where the glyphs of a DrawTextA call go: lines broken at '\n' (a '\r' before it is dropped),
// tabs expanded to stops eight average characters apart with DT_EXPANDTABS, each line placed
// left, centred or right in the rectangle, the block at the top (or, for DT_SINGLELINE, centred
// or at the bottom), and every glyph clipped to the rectangle unless DT_NOCLIP.
#include "common/text/glyph_cache.h"

#include <d3dx9core.h>

#include <vector>

struct Font_Quad {
    int page;
    int x, y;  // top-left on the render target
    int width, height;
    int src_x, src_y;  // top-left in the atlas page
};

class Font_Layout {
public:
    // Lays out count bytes of text (up to its NUL when count < 0; a NUL ends it in any case) in
    // rect. Answers the height of the text: lines x cell height. quads() and extent() hold the
    // result until the next call.
    int lay_out(Glyph_Cache& cache, const char* text, int count, const RECT& rect, DWORD format);

    const std::vector<Font_Quad>& quads() const { return placed; }
    // The box the lines take, before clipping: what DT_CALCRECT reports.
    const RECT& extent() const { return box; }

private:
    struct Line {
        size_t begin, end;
        long long width;
    };

    long long advance_of(Glyph_Cache& cache, unsigned char byte, long long pen, DWORD format) const;

    std::vector<Line> lines;
    std::vector<Font_Quad> placed;
    RECT box = {0, 0, 0, 0};
};
