// <strsafe.h>: bounded copies, appends and formats, one template for A and W text.
#include <strsafe.h>

#include <stdio.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace {

template <typename Char>
size_t length_within(const Char* s, size_t max) {
    size_t n = 0;
    while (n < max && s[n]) ++n;
    return n;
}

bool size_ok(size_t cch) { return cch > 0 && cch <= STRSAFE_MAX_CCH; }

// Writes up to count characters of src at dest (room characters, NUL included).
template <typename Char>
HRESULT put(Char* dest, size_t room, const Char* src, size_t count) {
    size_t n = count < room ? count : room - 1;
    std::char_traits<Char>::move(dest, src, n);
    dest[n] = 0;
    return n == count ? S_OK : STRSAFE_E_INSUFFICIENT_BUFFER;
}

template <typename Char>
HRESULT copy(Char* dest, size_t cch, const Char* src, size_t max_count) {
    if (!dest || !size_ok(cch)) return STRSAFE_E_INVALID_PARAMETER;
    if (!src) {
        dest[0] = 0;
        return STRSAFE_E_INVALID_PARAMETER;
    }
    return put(dest, cch, src, length_within(src, max_count));
}

template <typename Char>
HRESULT cat(Char* dest, size_t cch, const Char* src) {
    if (!dest || !size_ok(cch) || !src) return STRSAFE_E_INVALID_PARAMETER;
    size_t used = length_within(dest, cch);
    if (used == cch) return STRSAFE_E_INVALID_PARAMETER;
    return put(dest + used, cch - used, src, length_within(src, STRSAFE_MAX_CCH));
}

// Windows' format conventions in the C library's terms (see strsafe.h).
template <typename Char>
std::basic_string<Char> c_library_format(const Char* f, bool wide_function) {
    std::basic_string<Char> out;
    while (*f) {
        Char c = *f++;
        out += c;
        if (c != '%') continue;
        if (*f == '%') {
            out += *f++;
            continue;
        }
        while (*f && std::char_traits<char>::find("-+ #0123456789.*", 16, static_cast<char>(*f)) && *f < 0x80)
            out += *f++;
        // Size prefixes: h (narrow), l / w (wide or long), I64 / I32 / I (Windows' sizes).
        char size = 0;
        if (*f == 'h' && f[1] != 'h') size = 'h', ++f;
        else if (*f == 'w') size = 'l', ++f;
        else if (*f == 'l' && f[1] != 'l') size = 'l', ++f;
        else if (*f == 'I' && f[1] == '6' && f[2] == '4') out += 'l', out += 'l', f += 3;
        else if (*f == 'I' && f[1] == '3' && f[2] == '2') f += 3;
        else if (*f == 'I') out += 'z', ++f;
        Char conv = *f;
        if (!conv) break;
        ++f;
        bool text = conv == 's' || conv == 'c' || conv == 'S' || conv == 'C';
        if (!text) {
            if (size) out += static_cast<Char>(size);
            out += conv;
            continue;
        }
        bool upper = conv == 'S' || conv == 'C';
        bool wide_arg = size == 'l' || (size != 'h' && (upper != wide_function));
        if (wide_arg) out += 'l';
        out += static_cast<Char>(upper ? conv - 'A' + 'a' : conv);
    }
    return out;
}

int format_into(char* buffer, size_t room, const char* format, va_list args) {
    return vsnprintf(buffer, room, format, args);
}

int format_into(wchar_t* buffer, size_t room, const wchar_t* format, va_list args) {
    return vswprintf(buffer, room, format, args);
}

template <typename Char>
HRESULT vprintf_to(Char* dest, size_t cch, const Char* format, va_list args) {
    if (!dest || !size_ok(cch)) return STRSAFE_E_INVALID_PARAMETER;
    if (!format) {
        dest[0] = 0;
        return STRSAFE_E_INVALID_PARAMETER;
    }
    std::basic_string<Char> f = c_library_format(format, sizeof(Char) != 1);
    // vswprintf tells only that the text did not fit, not how long it is: grow until it fits.
    std::vector<Char> text(256);
    for (;;) {
        va_list again;
        va_copy(again, args);
        int n = format_into(text.data(), text.size(), f.c_str(), again);
        va_end(again);
        if (n >= 0 && static_cast<size_t>(n) < text.size()) return put(dest, cch, text.data(), static_cast<size_t>(n));
        if (n < 0 && text.size() >= (size_t(1) << 20)) {
            dest[0] = 0;
            return STRSAFE_E_INVALID_PARAMETER;  // an encoding error, not a lack of room
        }
        text.resize(n >= 0 ? static_cast<size_t>(n) + 1 : text.size() * 2);
    }
}

template <typename Char>
HRESULT length(const Char* s, size_t max, size_t* out) {
    if (!s || !size_ok(max)) return STRSAFE_E_INVALID_PARAMETER;
    size_t n = length_within(s, max);
    if (n == max) return STRSAFE_E_INVALID_PARAMETER;
    if (out) *out = n;
    return S_OK;
}

}  // namespace

extern "C" {

STRSAFEAPI StringCchCopyA(LPSTR d, size_t n, LPCSTR s) { return copy(d, n, s, STRSAFE_MAX_CCH); }
STRSAFEAPI StringCchCopyW(LPWSTR d, size_t n, LPCWSTR s) { return copy(d, n, s, STRSAFE_MAX_CCH); }
STRSAFEAPI StringCchCopyNA(LPSTR d, size_t n, LPCSTR s, size_t m) { return copy(d, n, s, m); }
STRSAFEAPI StringCchCopyNW(LPWSTR d, size_t n, LPCWSTR s, size_t m) { return copy(d, n, s, m); }
STRSAFEAPI StringCchCatA(LPSTR d, size_t n, LPCSTR s) { return cat(d, n, s); }
STRSAFEAPI StringCchCatW(LPWSTR d, size_t n, LPCWSTR s) { return cat(d, n, s); }
STRSAFEAPI StringCchVPrintfA(LPSTR d, size_t n, LPCSTR f, va_list a) { return vprintf_to(d, n, f, a); }
STRSAFEAPI StringCchVPrintfW(LPWSTR d, size_t n, LPCWSTR f, va_list a) { return vprintf_to(d, n, f, a); }
STRSAFEAPI StringCchLengthA(LPCSTR s, size_t m, size_t* out) { return length(s, m, out); }
STRSAFEAPI StringCchLengthW(LPCWSTR s, size_t m, size_t* out) { return length(s, m, out); }
STRSAFEAPI StringCbCopyA(LPSTR d, size_t b, LPCSTR s) { return copy(d, b, s, STRSAFE_MAX_CCH); }
STRSAFEAPI StringCbCopyW(LPWSTR d, size_t b, LPCWSTR s) { return copy(d, b / sizeof(WCHAR), s, STRSAFE_MAX_CCH); }
STRSAFEAPI StringCbCatA(LPSTR d, size_t b, LPCSTR s) { return cat(d, b, s); }
STRSAFEAPI StringCbCatW(LPWSTR d, size_t b, LPCWSTR s) { return cat(d, b / sizeof(WCHAR), s); }

STRSAFEAPI StringCchPrintfA(LPSTR d, size_t n, LPCSTR f, ...) {
    va_list a;
    va_start(a, f);
    HRESULT hr = vprintf_to(d, n, f, a);
    va_end(a);
    return hr;
}

STRSAFEAPI StringCchPrintfW(LPWSTR d, size_t n, LPCWSTR f, ...) {
    va_list a;
    va_start(a, f);
    HRESULT hr = vprintf_to(d, n, f, a);
    va_end(a);
    return hr;
}

STRSAFEAPI StringCbPrintfA(LPSTR d, size_t b, LPCSTR f, ...) {
    va_list a;
    va_start(a, f);
    HRESULT hr = vprintf_to(d, b, f, a);
    va_end(a);
    return hr;
}

STRSAFEAPI StringCbPrintfW(LPWSTR d, size_t b, LPCWSTR f, ...) {
    va_list a;
    va_start(a, f);
    HRESULT hr = vprintf_to(d, b / sizeof(WCHAR), f, a);
    va_end(a);
    return hr;
}

}  // extern "C"
