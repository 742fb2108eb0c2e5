#pragma once
// Windows code page 1251 (Cyrillic), the encoding of the engine's Russian captions and window
// titles, to and from Unicode. Bytes below 0x80 are ASCII; 0x98, which the code page leaves
// unassigned, maps to U+0098 and back, so every byte string survives a round trip.
#include <cstddef>
#include <cstdint>
#include <string>

namespace cp1251 {

// The Unicode code point of one byte.
uint32_t to_unicode(unsigned char byte);

// The byte for a code point, or -1 when the code page has none.
int from_unicode(uint32_t code_point);

// length bytes of text (up to its NUL when length < 0) as UTF-8.
std::string to_utf8(const char* text, ptrdiff_t length = -1);

// UTF-8 text in the code page; characters it cannot hold, and malformed UTF-8 sequences, become
// '?'.
std::string from_utf8(const char* text, ptrdiff_t length = -1);

}  // namespace cp1251
