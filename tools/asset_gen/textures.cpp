// Patterns with a fixed pseudo-random grain, so every run draws the same pixels.
#include "textures.h"

#include <cmath>

namespace {

// A small linear congruential generator; the grain must not depend on the C library.
struct Grain {
    uint32_t state;
    int next(int range)
    {
        state = state * 1664525u + 1013904223u;
        return (int)((state >> 16) % (uint32_t)range);
    }
};

uint32_t rgb(int r, int g, int b)
{
    auto clamp = [](int v) { return (uint32_t)(v < 0 ? 0 : v > 255 ? 255 : v); };
    return 0xFF000000u | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

Pixels blank(int size)
{
    Pixels p;
    p.width = p.height = size;
    p.argb.assign((size_t)size * size, 0);
    return p;
}

}  // namespace

Pixels solid(int size, uint32_t argb)
{
    Pixels p = blank(size);
    p.argb.assign(p.argb.size(), argb);
    return p;
}

Pixels checker(int size, int cell, uint32_t a, uint32_t b)
{
    Pixels p = blank(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) p.at(x, y) = ((x / cell + y / cell) % 2) ? b : a;
    return p;
}

Pixels floor_tile(int size, int tiles)
{
    Pixels p = blank(size);
    Grain g = {7};
    const int cell = size / tiles;
    std::vector<int> shade((size_t)tiles * tiles);
    for (int& s : shade) s = g.next(24) - 12;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool grout = x % cell < 2 || y % cell < 2;
            const int s = shade[(size_t)(y / cell) * tiles + x / cell] + g.next(9) - 4;
            p.at(x, y) = grout ? rgb(70 + s / 3, 68, 64) : rgb(178 + s, 172 + s, 160 + s);
        }
    return p;
}

Pixels brick(int size)
{
    Pixels p = blank(size);
    Grain g = {11};
    const int course = size / 8, length = size / 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int row = y / course;
            const int shifted = x + (row % 2) * (length / 2);
            const bool mortar = y % course < 2 || shifted % length < 2;
            const int n = g.next(21) - 10;
            const int tone = ((row * 7 + shifted / length * 3) % 5) * 6;
            p.at(x, y) = mortar ? rgb(190 + n / 2, 184 + n / 2, 172 + n / 2) : rgb(150 + tone + n, 62 + tone / 2 + n, 44 + n);
        }
    return p;
}

Pixels arrow_cursor(int size)
{
    Pixels p = blank(size);
    const int length = size * 2 / 3;
    for (int y = 0; y < length; ++y)
        for (int x = 0; x <= y / 2 + 1 && x < size; ++x) {
            const bool edge = x == 0 || x == y / 2 + 1 || y == length - 1;
            p.at(x, y) = edge ? 0xFF000000u : 0xFFFFFFFFu;
        }
    return p;
}

Pixels marble(int size)
{
    Pixels p = blank(size);
    Grain g = {11};
    const double turn = 6.283185307179586 / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Whole periods of the picture in every term, so the edges meet.
            const double phase = 3 * x + 0.9 * size / 6.283185307179586 * std::sin(2 * y * turn) +
                                 0.4 * size / 6.283185307179586 * std::sin((5 * y + 2 * x) * turn);
            const double vein = std::pow(1.0 - std::fabs(std::sin(phase * turn)), 8.0);
            const int s = (int)(70.0 * vein) + g.next(7) - 3;
            p.at(x, y) = rgb(238 - s, 234 - s, 226 - s);
        }
    return p;
}
