#include "common/win32/win32_frame.h"

#include <algorithm>

RECT win32_frame_of_style(DWORD style) {
    int side = 0;
    if (style & WS_THICKFRAME) side = 8;
    else if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME)) side = 3;
    else if (style & WS_BORDER) side = 1;
    int caption = (style & WS_CAPTION) == WS_CAPTION ? 23 : 0;
    return {-side, -(side + caption), side, side};
}

SIZE win32_client_size_for_outer(DWORD style, int outer_width, int outer_height, int max_side) {
    RECT f = win32_frame_of_style(style);
    long long w = static_cast<long long>(outer_width) - (f.right - f.left);
    long long h = static_cast<long long>(outer_height) - (f.bottom - f.top);
    return {static_cast<LONG>(std::clamp<long long>(w, 1, max_side)),
            static_cast<LONG>(std::clamp<long long>(h, 1, max_side))};
}
