// Orvex_string: the engine's text value.
//
// A fixed block of 1024 bytes holding one NUL-terminated line: at most 1023 characters and the
// terminating NUL. It is copied whole when passed or returned by value and never allocates.
// Bytes are bytes: code page 1251 text passes through unchanged. Every operation that would run
// past the end keeps the first 1023 characters and drops the rest; nothing is ever written past
// the block. Blanks, wherever an operation skips or trims them, are space and tab.
#ifndef ORVEX_FOUNDATION_ORVEX_STRING_H
#define ORVEX_FOUNDATION_ORVEX_STRING_H

#include <cstddef>

class Orvex_string {
public:
    static constexpr std::size_t CAPACITY = 1024;            // bytes, the NUL included
    static constexpr std::size_t MAX_LENGTH = CAPACITY - 1;  // characters

    Orvex_string();                          // empty
    Orvex_string(const char* text);          // a copy of text, cut at MAX_LENGTH; null gives ""
    Orvex_string(const Orvex_string& other) = default;
    Orvex_string& operator=(const Orvex_string& other) = default;
    ~Orvex_string() = default;

    // Replace the text. A null pointer gives the empty string. Numbers become their decimal
    // text ("-42"); a float becomes the shortest text that reads back to the same float.
    Orvex_string& operator=(const char* text);
    Orvex_string& operator=(int value);
    Orvex_string& operator=(unsigned int value);
    Orvex_string& operator=(long value);
    Orvex_string& operator=(unsigned long value);
    Orvex_string& operator=(long long value);
    Orvex_string& operator=(unsigned long long value);
    Orvex_string& operator=(float value);
    Orvex_string& operator=(double value);     // as the float it rounds to
    Orvex_string& operator=(char) = delete;    // a character is not a number: use a char array

    // Append, cut at MAX_LENGTH. A float is appended as its shortest round-trip text: 0.5 gives
    // "0.5", 2 gives "2", -12.25 gives "-12.25", 1e20 gives "1e+20".
    Orvex_string& operator+=(const char* text);
    Orvex_string& operator+=(const Orvex_string& other);
    Orvex_string& operator+=(int value);
    Orvex_string& operator+=(unsigned int value);
    Orvex_string& operator+=(long value);
    Orvex_string& operator+=(unsigned long value);
    Orvex_string& operator+=(long long value);
    Orvex_string& operator+=(unsigned long long value);
    Orvex_string& operator+=(float value);
    Orvex_string& operator+=(double value);    // as the float it rounds to
    Orvex_string& operator+=(char) = delete;

    // Append and tell whether everything fitted: false when the text had to be cut.
    // A null pointer appends nothing and answers true.
    bool add(const Orvex_string& other);
    bool add(const char* text);

    // Exact, case-sensitive byte comparison. A null pointer equals only the empty string.
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const;
    bool operator==(const Orvex_string& other) const;
    bool operator!=(const Orvex_string& other) const;

    // The NUL-terminated text; valid while this string lives and is not changed.
    const char* getChars() const { return text_; }
    std::size_t length() const;  // characters before the NUL
    bool empty() const { return text_[0] == '\0'; }

    // The number the text starts with, after leading blanks.
    // toInt: an optional sign and decimal digits up to the first non-digit; no digit gives 0;
    // values beyond the int range are clamped to it ("99999999999" gives 2147483647).
    // toFloat: an optional sign, digits with an optional "." fraction and an optional exponent
    // ("-1.5e3", ".5", "7."), "." being the decimal point whatever the process locale;
    // no number gives 0; values beyond the float range are clamped to the largest float.
    int toInt() const;
    float toFloat() const;

    // One line of a settings file, "NAME = value, value": answers true when the text before the
    // first '=', trimmed, is a non-empty run of non-blank characters. Then name receives it and
    // params everything after the '=', trimmed of blanks and of a trailing line break (CR, LF).
    // Blank lines, lines whose first non-blank is ';' or '#', and lines without '=' are not
    // blocks: the answer is false and both outputs are left untouched.
    // The outputs may be this string itself.
    bool getCommandBlock(Orvex_string& name, Orvex_string& params) const;

    // A command line "word rest of the line": leading blanks are skipped, first receives the
    // run of non-blank characters that follows, rest what comes after the blanks that follow
    // it, with trailing blanks removed. A line without a blank gives the whole trimmed line and
    // an empty rest. Answers whether first is non-empty. The outputs may be this string itself.
    bool DivideTwoParameters(Orvex_string& first, Orvex_string& rest) const;

private:
    bool append(const char* text, std::size_t count);  // false when cut
    void assign(const char* text, std::size_t count);
    void appendSigned(long long value);
    void appendUnsigned(unsigned long long value);
    void appendFloat(float value);

    char text_[CAPACITY];
};

#endif
