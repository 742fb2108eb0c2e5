#include "common/text/font_layout.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Coordinates past this are far off any render target; glyphs there are not drawn.
const long long coordinate_limit = 1 << 24;

int clamp_int(long long v) { return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v))); }

}  // namespace

long long Font_Layout::advance_of(Glyph_Cache& cache, unsigned char byte, long long pen, DWORD format) const {
    if (byte == '\t') {
        if (!(format & DT_EXPANDTABS)) return 0;
        long long stop = 8LL * cache.face().average_width();
        return (pen / stop + 1) * stop - pen;
    }
    if (byte == '\r' || byte == '\n') return 0;
    return cache.get(byte).advance;
}

int Font_Layout::lay_out(Glyph_Cache& cache, const char* text, int count, const RECT& rect, DWORD format) {
    lines.clear();
    placed.clear();
    box = {rect.left, rect.top, rect.left, rect.top};
    if (!text || count == 0) return 0;
    size_t length = count < 0 ? strlen(text) : strnlen(text, static_cast<size_t>(count));
    if (length == 0) return 0;

    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t begin = 0;
    for (size_t i = 0; i <= length; ++i) {
        if (i < length && (bytes[i] != '\n' || (format & DT_SINGLELINE))) continue;
        if (i == length && begin == length && !lines.empty()) break;  // nothing after a final '\n'
        Line line = {begin, i, 0};
        for (size_t k = begin; k < i; ++k) line.width += advance_of(cache, bytes[k], line.width, format);
        lines.push_back(line);
        begin = i + 1;
    }

    const long long cell = cache.face().cell_height();
    const long long ascent = cache.face().ascent();
    long long top = rect.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_BOTTOM) top = static_cast<long long>(rect.bottom) - cell;
        else if (format & DT_VCENTER) top = rect.top + (static_cast<long long>(rect.bottom) - rect.top - cell) / 2;
    }
    const bool clip = !(format & DT_NOCLIP);
    long long left_most = LLONG_MAX, right_most = LLONG_MIN;
    long long line_top = top;
    for (const Line& line : lines) {
        long long x = rect.left;
        if (format & DT_RIGHT) x = static_cast<long long>(rect.right) - line.width;
        else if (format & DT_CENTER) x = rect.left + (static_cast<long long>(rect.right) - rect.left - line.width) / 2;
        left_most = std::min(left_most, x);
        right_most = std::max(right_most, x + line.width);

        long long pen = 0;
        const long long baseline = line_top + ascent;
        for (size_t k = line.begin; k < line.end; ++k) {
            unsigned char byte = bytes[k];
            long long step = advance_of(cache, byte, pen, format);
            if (byte != '\t' && byte != '\r' && byte != '\n') {
                const Glyph_Entry& glyph = cache.get(byte);
                long long gx = x + pen + glyph.left, gy = baseline - glyph.top;
                if (glyph.place.page >= 0 && gx > -coordinate_limit && gx < coordinate_limit &&
                    gy > -coordinate_limit && gy < coordinate_limit) {
                    Font_Quad quad = {glyph.place.page, static_cast<int>(gx), static_cast<int>(gy),
                                      glyph.width, glyph.height, glyph.place.x, glyph.place.y};
                    if (clip) {
                        int x0 = std::max(quad.x, static_cast<int>(rect.left));
                        int y0 = std::max(quad.y, static_cast<int>(rect.top));
                        int x1 = std::min(quad.x + quad.width, static_cast<int>(rect.right));
                        int y1 = std::min(quad.y + quad.height, static_cast<int>(rect.bottom));
                        quad.src_x += x0 - quad.x;
                        quad.src_y += y0 - quad.y;
                        quad = {quad.page, x0, y0, x1 - x0, y1 - y0, quad.src_x, quad.src_y};
                    }
                    if (quad.width > 0 && quad.height > 0) placed.push_back(quad);
                }
            }
            pen += step;
        }
        line_top += cell;
    }
    long long height = cell * static_cast<long long>(lines.size());
    box = {clamp_int(left_most), clamp_int(top), clamp_int(right_most), clamp_int(top + height)};
    return clamp_int(height);
}
