#pragma once
// Point tests and moves shared by the console's two windows.

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
