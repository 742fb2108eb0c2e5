// Input: 8 bytes of parameters (height as int16, width, weight / 4, format as uint16, rectangle
// size, count), then the face name up to a NUL, then the text. Opening a face is slow, so faces
// are kept by request and reused.
#include "common/text/cp1251.h"
#include "common/text/font_layout.h"
#include "common/text/glyph_cache.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    static std::map<std::tuple<std::string, int, unsigned, unsigned>, std::unique_ptr<Glyph_Cache>> caches;
    Glyph_Request request;
    request.height = static_cast<int16_t>(data[0] | data[1] << 8);
    request.width = data[2] & 0x1F;
    request.weight = data[3] * 4u;
    DWORD format = data[4] | data[5] << 8;
    int extent = data[6];
    int count = static_cast<int8_t>(data[7]);
    const char* rest = reinterpret_cast<const char*>(data + 8);
    size_t rest_size = size - 8;
    size_t name_size = strnlen(rest, rest_size);
    request.face_name.assign(rest, name_size);
    std::string text = name_size < rest_size ? std::string(rest + name_size + 1, rest_size - name_size - 1) : "";

    cp1251::from_utf8(text.c_str(), static_cast<ptrdiff_t>(text.size()));
    cp1251::to_utf8(text.c_str(), static_cast<ptrdiff_t>(text.size()));

    auto key = std::make_tuple(request.face_name, request.height, request.width, request.weight);
    auto found = caches.find(key);
    if (found == caches.end()) {
        if (caches.size() > 8) caches.clear();  // a large font holds megabytes of pages
        std::unique_ptr<Glyph_Face> face = Glyph_Face::open(request);
        if (!face) return 0;
        found = caches.emplace(key, std::make_unique<Glyph_Cache>(std::move(face))).first;
    }
    Font_Layout layout;
    RECT rect = {10, 10, 10 + extent, 10 + extent / 2};
    int height = layout.lay_out(*found->second, text.c_str(), count, rect, format);
    if (height < 0) __builtin_trap();
    const int page_size = found->second->atlas().page_size();
    for (const Font_Quad& q : layout.quads()) {
        if (q.src_x < 0 || q.src_y < 0 || q.src_x + q.width > page_size || q.src_y + q.height > page_size)
            __builtin_trap();
        if (!(format & DT_NOCLIP) && (q.x < rect.left || q.x + q.width > rect.right)) __builtin_trap();
    }
    return 0;
}
