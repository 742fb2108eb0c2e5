#pragma once
// The one conversion between WCHAR text and the narrow text the A functions take: every W
// function of the platform goes through here and then on as its A twin. Text for people (titles,
// captions, class names) goes to the ANSI code page, 1251; file names go to UTF-8, which is what
// the Linux file system holds. A null pointer stays null and an integer resource
// (MAKEINTRESOURCEW) passes unchanged, so an A function sees exactly what the W one was given.
#include <string>

#include <windows.h>

enum class Win32_Narrow_Kind { Ansi, Path };

class Win32_Narrow {
public:
    Win32_Narrow(LPCWSTR wide, Win32_Narrow_Kind kind = Win32_Narrow_Kind::Ansi);
    // The narrow text, or the null / integer resource the wide pointer was.
    LPCSTR get() const { return passthrough ? passthrough_value : text.c_str(); }
    operator LPCSTR() const { return get(); }

private:
    std::string text;
    bool passthrough = false;
    LPCSTR passthrough_value = nullptr;
};

namespace win32_text {

// Code page 1251 bytes from Unicode text, '?' for what the code page lacks (used_default then
// says so), and back.
std::string ansi_from_wide(const WCHAR* text, size_t length, char default_char = '?', bool* used_default = nullptr);
std::wstring wide_from_ansi(const char* text, size_t length);
// UTF-8 from Unicode text and back; malformed UTF-8 becomes U+FFFD.
std::string utf8_from_wide(const WCHAR* text, size_t length);
std::wstring wide_from_utf8(const char* text, size_t length);

}  // namespace win32_text
