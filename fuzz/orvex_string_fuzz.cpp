// Drives every text operation of Orvex_string with arbitrary bytes and checks what must hold
// for any input: nothing longer than 1023 characters, splits that give back parts of the line,
// numbers that read back.
#include "foundation/orvex_string.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool hasBlank(const Orvex_string& s) { return std::strpbrk(s.getChars(), " \t") != nullptr; }

void check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The line ends at the first NUL, as any C string handed to the class would.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const char* text = bytes.c_str();
    Orvex_string line = text;
    check(line.length() <= Orvex_string::MAX_LENGTH);
    check(line.length() == std::min(std::strlen(text), Orvex_string::MAX_LENGTH));

    Orvex_string grown = line;
    const std::size_t before = grown.length();
    const bool fitted = grown.add(text);
    check(grown.length() <= Orvex_string::MAX_LENGTH);
    check(fitted == (before + std::strlen(text) <= Orvex_string::MAX_LENGTH));
    grown += line.toInt();
    grown += line.toFloat();
    check(grown.length() <= Orvex_string::MAX_LENGTH);

    Orvex_string first, rest;
    const bool divided = line.DivideTwoParameters(first, rest);
    check(divided == !first.empty());
    check(!hasBlank(first));
    check(std::strstr(line.getChars(), first.getChars()) != nullptr);
    check(std::strstr(line.getChars(), rest.getChars()) != nullptr);

    Orvex_string name, params;
    if (line.getCommandBlock(name, params)) {
        check(!name.empty() && !hasBlank(name));
        check(std::strchr(name.getChars(), '=') == nullptr);
        check(std::strstr(line.getChars(), params.getChars()) != nullptr);
    }

    // Whatever number the text holds, its text reads back as the same number.
    const int i = line.toInt();
    Orvex_string intText;
    intText = i;
    check(intText.toInt() == i);
    const float f = line.toFloat();
    Orvex_string floatText;
    floatText = f;
    check(floatText.toFloat() == f);
    return 0;
}
