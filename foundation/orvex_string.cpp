#include "foundation/orvex_string.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstring>
#include <system_error>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

const char* skipBlanks(const char* p)
{
    while (isBlank(*p))
        ++p;
    return p;
}

// Past an optional '+' or '-'; *negative tells which was there.
const char* skipSign(const char* p, bool* negative)
{
    *negative = *p == '-';
    return *p == '+' || *p == '-' ? p + 1 : p;
}

// End of [begin, end) once trailing blanks are dropped.
const char* trimEnd(const char* begin, const char* end)
{
    while (end > begin && isBlank(end[-1]))
        --end;
    return end;
}

// Roughly the power of ten of a decimal number "digits [. digits] [e exp]" whose mantissa is not
// zero: positive for numbers of 1 and more, negative for smaller ones. Only its sign is used.
long decimalMagnitude(const char* p, const char* end)
{
    long magnitude = 0;
    while (p < end && *p == '0')
        ++p;
    while (p < end && isDigit(*p)) {
        ++p;
        ++magnitude;
    }
    if (p < end && *p == '.') {
        ++p;
        if (magnitude == 0) {
            while (p < end && *p == '0') {
                ++p;
                --magnitude;
            }
        }
        while (p < end && isDigit(*p))
            ++p;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative = *p == '-';
        if (*p == '+' || *p == '-')
            ++p;
        long exponent = 0;
        for (; p < end && isDigit(*p); ++p) {
            if (exponent < 100000000)
                exponent = exponent * 10 + (*p - '0');
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

}  // namespace

Orvex_string::Orvex_string() { text_[0] = '\0'; }

Orvex_string::Orvex_string(const char* text)
{
    text_[0] = '\0';
    *this = text;
}

std::size_t Orvex_string::length() const { return std::strlen(text_); }

void Orvex_string::assign(const char* text, std::size_t count)
{
    if (count > MAX_LENGTH)
        count = MAX_LENGTH;
    // memmove: the source may lie inside this string.
    std::memmove(text_, text, count);
    text_[count] = '\0';
}

bool Orvex_string::append(const char* text, std::size_t count)
{
    const std::size_t used = length();
    const std::size_t room = MAX_LENGTH - used;
    const bool fits = count <= room;
    if (!fits)
        count = room;
    std::memmove(text_ + used, text, count);
    text_[used + count] = '\0';
    return fits;
}

void Orvex_string::appendSigned(long long value)
{
    char digits[32];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    append(digits, static_cast<std::size_t>(r.ptr - digits));
}

void Orvex_string::appendUnsigned(unsigned long long value)
{
    char digits[32];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    append(digits, static_cast<std::size_t>(r.ptr - digits));
}

void Orvex_string::appendFloat(float value)
{
    // Shortest round-trip form; 64 bytes hold any float in either notation.
    char digits[64];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    append(digits, static_cast<std::size_t>(r.ptr - digits));
}

Orvex_string& Orvex_string::operator=(const char* text)
{
    if (!text) {
        text_[0] = '\0';
        return *this;
    }
    std::size_t count = 0;
    while (count < MAX_LENGTH && text[count] != '\0')
        ++count;
    assign(text, count);
    return *this;
}

Orvex_string& Orvex_string::operator=(int value) { text_[0] = '\0'; appendSigned(value); return *this; }
Orvex_string& Orvex_string::operator=(unsigned int value) { text_[0] = '\0'; appendUnsigned(value); return *this; }
Orvex_string& Orvex_string::operator=(long value) { text_[0] = '\0'; appendSigned(value); return *this; }
Orvex_string& Orvex_string::operator=(unsigned long value) { text_[0] = '\0'; appendUnsigned(value); return *this; }
Orvex_string& Orvex_string::operator=(long long value) { text_[0] = '\0'; appendSigned(value); return *this; }
Orvex_string& Orvex_string::operator=(unsigned long long value) { text_[0] = '\0'; appendUnsigned(value); return *this; }
Orvex_string& Orvex_string::operator=(float value) { text_[0] = '\0'; appendFloat(value); return *this; }
Orvex_string& Orvex_string::operator=(double value) { text_[0] = '\0'; appendFloat(static_cast<float>(value)); return *this; }

Orvex_string& Orvex_string::operator+=(const char* text) { add(text); return *this; }
Orvex_string& Orvex_string::operator+=(const Orvex_string& other) { add(other); return *this; }
Orvex_string& Orvex_string::operator+=(int value) { appendSigned(value); return *this; }
Orvex_string& Orvex_string::operator+=(unsigned int value) { appendUnsigned(value); return *this; }
Orvex_string& Orvex_string::operator+=(long value) { appendSigned(value); return *this; }
Orvex_string& Orvex_string::operator+=(unsigned long value) { appendUnsigned(value); return *this; }
Orvex_string& Orvex_string::operator+=(long long value) { appendSigned(value); return *this; }
Orvex_string& Orvex_string::operator+=(unsigned long long value) { appendUnsigned(value); return *this; }
Orvex_string& Orvex_string::operator+=(float value) { appendFloat(value); return *this; }
Orvex_string& Orvex_string::operator+=(double value) { appendFloat(static_cast<float>(value)); return *this; }

bool Orvex_string::add(const Orvex_string& other)
{
    // Appending a string to itself reads the old text: take its length before writing.
    return append(other.text_, other.length());
}

bool Orvex_string::add(const char* text)
{
    if (!text)
        return true;
    // Count no further than could possibly fit, plus one to learn whether it was cut.
    const std::size_t room = MAX_LENGTH - length();
    std::size_t count = 0;
    while (count <= room && text[count] != '\0')
        ++count;
    return append(text, count);
}

bool Orvex_string::operator==(const char* text) const
{
    if (!text)
        return text_[0] == '\0';
    return std::strcmp(text_, text) == 0;
}

bool Orvex_string::operator!=(const char* text) const { return !(*this == text); }

bool Orvex_string::operator==(const Orvex_string& other) const
{
    return std::strcmp(text_, other.text_) == 0;
}

bool Orvex_string::operator!=(const Orvex_string& other) const { return !(*this == other); }

int Orvex_string::toInt() const
{
    bool negative = false;
    const char* p = skipSign(skipBlanks(text_), &negative);
    // Accumulate the magnitude and stop growing it once it is past any int.
    long long magnitude = 0;
    for (; isDigit(*p); ++p) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (*p - '0');
    }
    if (negative)
        return magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

float Orvex_string::toFloat() const
{
    bool negative = false;
    const char* p = skipSign(skipBlanks(text_), &negative);
    // Find the extent of "digits [. digits] [e [sign] digits]" ourselves, so that only a plain
    // decimal number is read (no "inf", "nan" or hexadecimal forms).
    const char* begin = p;
    std::size_t mantissaDigits = 0;
    while (isDigit(*p)) {
        ++p;
        ++mantissaDigits;
    }
    if (*p == '.') {
        ++p;
        while (isDigit(*p)) {
            ++p;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0f;
    if (*p == 'e' || *p == 'E') {
        const char* e = p + 1;
        if (*e == '+' || *e == '-')
            ++e;
        if (isDigit(*e)) {
            while (isDigit(*e))
                ++e;
            p = e;
        }
    }
    float value = 0.0f;
    const std::from_chars_result r = std::from_chars(begin, p, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range)
        value = decimalMagnitude(begin, p) > 0 ? FLT_MAX : 0.0f;  // overflow clamps, underflow is 0
    else if (r.ec != std::errc())
        value = 0.0f;
    return negative ? -value : value;
}

bool Orvex_string::getCommandBlock(Orvex_string& name, Orvex_string& params) const
{
    const char* line = skipBlanks(text_);
    if (*line == '\0' || *line == ';' || *line == '#')
        return false;
    const char* equals = std::strchr(line, '=');
    if (!equals)
        return false;
    const char* nameEnd = trimEnd(line, equals);
    if (nameEnd == line)
        return false;
    for (const char* p = line; p < nameEnd; ++p) {
        if (isBlank(*p))
            return false;
    }
    const char* value = skipBlanks(equals + 1);
    const char* valueEnd = value + std::strlen(value);
    for (;;) {
        const char* trimmed = trimEnd(value, valueEnd);
        while (trimmed > value && (trimmed[-1] == '\r' || trimmed[-1] == '\n'))
            --trimmed;
        if (trimmed == valueEnd)
            break;
        valueEnd = trimmed;
    }
    // Build both results before writing: either output may be this string.
    Orvex_string newName;
    Orvex_string newParams;
    newName.assign(line, static_cast<std::size_t>(nameEnd - line));
    newParams.assign(value, static_cast<std::size_t>(valueEnd - value));
    name = newName;
    params = newParams;
    return true;
}

bool Orvex_string::DivideTwoParameters(Orvex_string& first, Orvex_string& rest) const
{
    const char* word = skipBlanks(text_);
    const char* wordEnd = word;
    while (*wordEnd != '\0' && !isBlank(*wordEnd))
        ++wordEnd;
    const char* tail = skipBlanks(wordEnd);
    const char* tailEnd = trimEnd(tail, tail + std::strlen(tail));
    Orvex_string newFirst;
    Orvex_string newRest;
    newFirst.assign(word, static_cast<std::size_t>(wordEnd - word));
    newRest.assign(tail, static_cast<std::size_t>(tailEnd - tail));
    first = newFirst;
    rest = newRest;
    return wordEnd != word;
}
