#pragma once
// Little- and big-endian reads from a byte array whose bounds the caller has checked.
#include <stdint.h>

inline uint32_t read_le16(const uint8_t* p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8); }
inline uint32_t read_le32(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
inline uint32_t read_be32(const uint8_t* p)
{
    return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | (uint32_t)p[3];
}

// A channel of a packed pixel, given by its bit mask, scaled to 0..255; an empty mask gives
// empty_value.
inline uint8_t masked_channel(uint32_t pixel, uint32_t mask, uint8_t empty_value)
{
    if (mask == 0) return empty_value;
    int shift = 0;
    while (!(mask & (1u << shift))) ++shift;
    const uint64_t top = (uint64_t)(mask >> shift);
    const uint64_t value = (uint64_t)((pixel & mask) >> shift);
    return (uint8_t)((value * 255 + top / 2) / top);
}
