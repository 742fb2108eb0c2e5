#pragma once
// Point tests and moves shared by the console's two windows.
#include <windows.h>
#include <d3d9.h>

// True when (px, py) lies strictly inside the box at (x, y) of the given size: a point on the
// border is outside.
inline bool StrictlyInside(int px, int py, int x, int y, int width, int height)
{
    return (long long)x < px && (long long)px < (long long)x + width && (long long)y < py &&
           (long long)py < (long long)y + height;
}

// position moved by (to - from), held to the int range however far the cursor went.
inline int MovedBy(int position, int to, int from)
{
    long long moved = (long long)position + ((long long)to - from);
    if (moved > 2147483647LL)
        return 2147483647;
    if (moved < -2147483647LL - 1)
        return (int)(-2147483647LL - 1);
    return (int)moved;
}

// position held so that a box of that length starting there keeps at least 16 of its pixels (all
// of a shorter box) on a screen of that size, where it can be taken again. A screen of size 0 or
// less (not known) holds nothing.
inline int KeptOnScreen(int position, int length, int screen)
{
    if (screen <= 0)
        return position;
    const long long keep = length < 16 ? (length > 0 ? length : 0) : 16;
    const long long lowest = keep - length, highest = (long long)screen - keep;
    if (position < lowest)
        return (int)lowest;
    if (position > highest)
        return (int)(highest > lowest ? highest : lowest);
    return position;
}

// The screen's size in pixels as the console's pre-transformed quads see it: the device's
// viewport. 0 by 0 when there is no device.
inline void ScreenSize(IDirect3DDevice9* device, int* width, int* height)
{
    D3DVIEWPORT9 viewport = {};
    if (!device || FAILED(device->GetViewport(&viewport)))
        viewport.Width = viewport.Height = 0;
    *width = (int)viewport.Width;
    *height = (int)viewport.Height;
}
