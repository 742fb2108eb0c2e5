#include "common/text/win32_text.h"

#include <string.h>
#include <strings.h>
#include <wchar.h>

#include <algorithm>

#include "common/text/cp1251.h"

namespace win32_text {

std::string ansi_from_wide(const WCHAR* text, size_t length, char default_char, bool* used_default) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        int byte = cp1251::from_unicode(static_cast<uint32_t>(text[i]));
        if (byte < 0) {
            byte = static_cast<unsigned char>(default_char);
            if (used_default) *used_default = true;
        }
        out += static_cast<char>(byte);
    }
    return out;
}

std::wstring wide_from_ansi(const char* text, size_t length) {
    std::wstring out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) out += static_cast<WCHAR>(cp1251::to_unicode(static_cast<unsigned char>(text[i])));
    return out;
}

std::string utf8_from_wide(const WCHAR* text, size_t length) {
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        uint32_t cp = static_cast<uint32_t>(text[i]);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) cp = 0xFFFD;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::wstring wide_from_utf8(const char* text, size_t length) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    std::wstring out;
    for (size_t i = 0; i < length;) {
        unsigned char lead = s[i];
        int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                  : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
        uint32_t cp = extra <= 0 ? lead : lead & (0x3F >> extra);
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= length || (s[i + k] & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are malformed too.
        static const uint32_t least[4] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))) ok = false;
        if (!ok) {
            out += static_cast<WCHAR>(0xFFFD);
            ++i;
            continue;
        }
        out += static_cast<WCHAR>(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

}  // namespace win32_text

Win32_Narrow::Win32_Narrow(LPCWSTR wide, Win32_Narrow_Kind kind) {
    if (!wide || IS_INTRESOURCE(wide)) {
        passthrough = true;
        passthrough_value = reinterpret_cast<LPCSTR>(wide);
        return;
    }
    size_t n = wcslen(wide);
    text = kind == Win32_Narrow_Kind::Path ? win32_text::utf8_from_wide(wide, n) : win32_text::ansi_from_wide(wide, n);
}

namespace {

bool ansi_page(UINT page) { return page == CP_ACP || page == CP_OEMCP || page == CP_THREAD_ACP || page == 1251; }

// Copies what was converted to a caller's buffer as MultiByteToWideChar and WideCharToMultiByte
// promise: the size needed for a zero-sized buffer, 0 when it does not fit.
template <typename Char>
int deliver(const std::basic_string<Char>& converted, Char* out, int room) {
    int n = static_cast<int>(converted.size());
    if (room == 0) return n;
    if (!out || n > room) return 0;
    std::copy(converted.begin(), converted.end(), out);
    return n;
}

}  // namespace

extern "C" {

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                               int cchWideChar) {
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0) return 0;
    size_t n = cbMultiByte == -1 ? strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    std::wstring wide;
    if (ansi_page(CodePage)) wide = win32_text::wide_from_ansi(lpMultiByteStr, n);
    else if (CodePage == CP_UTF8) wide = win32_text::wide_from_utf8(lpMultiByteStr, n);
    else return 0;
    return deliver(wide, lpWideCharStr, cchWideChar);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                               int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0) return 0;
    size_t n = cchWideChar == -1 ? wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    std::string narrow;
    if (ansi_page(CodePage)) {
        bool used = false;
        narrow = win32_text::ansi_from_wide(lpWideCharStr, n, lpDefaultChar ? *lpDefaultChar : '?', &used);
        if (lpUsedDefaultChar) *lpUsedDefaultChar = used ? TRUE : FALSE;
    } else if (CodePage == CP_UTF8) {
        narrow = win32_text::utf8_from_wide(lpWideCharStr, n);
    } else {
        return 0;
    }
    return deliver(narrow, lpMultiByteStr, cbMultiByte);
}

int WINAPI lstrlenA(LPCSTR lpString) { return lpString ? static_cast<int>(strlen(lpString)) : 0; }
int WINAPI lstrlenW(LPCWSTR lpString) { return lpString ? static_cast<int>(wcslen(lpString)) : 0; }
LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2) { return strcpy(lpString1, lpString2); }
LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) { return wcscpy(lpString1, lpString2); }
LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2) { return strcat(lpString1, lpString2); }
LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) { return wcscat(lpString1, lpString2); }
int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) { return strcmp(lpString1, lpString2); }
int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) { return wcscmp(lpString1, lpString2); }
int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) { return strcasecmp(lpString1, lpString2); }

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
    auto fold = [](WCHAR c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    for (;; ++lpString1, ++lpString2) {
        WCHAR a = fold(*lpString1), b = fold(*lpString2);
        if (a != b || !a) return a < b ? -1 : a > b ? 1 : 0;
    }
}

}  // extern "C"
