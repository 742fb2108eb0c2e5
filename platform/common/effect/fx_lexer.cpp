#include "common/effect/fx_lexer.h"

#include <cctype>
#include <cstring>

namespace orvex_fx {

bool is_identifier_start(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_identifier_char(char c) {
    return is_identifier_start(c) || (c >= '0' && c <= '9');
}

static bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::vector<Token> lex(const std::string& text) {
    static const char* const puncts[] = {"<<=", ">>=", "...", "##", "++", "--", "+=", "-=", "*=",
                                         "/=", "%=", "&=", "|=", "^=", "==", "!=", "<=", ">=",
                                         "&&", "||", "<<", ">>", "::", "->"};
    std::vector<Token> out;
    const size_t n = text.size();
    size_t i = 0;
    int line = 1;
    bool space = true;
    bool line_start = true;
    while (i < n) {
        char c = text[i];
        if (c == '\n') { ++line; ++i; space = true; line_start = true; continue; }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == '\0') { ++i; space = true; continue; }
        if (c == '\\' && i + 1 < n && (text[i + 1] == '\n' || (text[i + 1] == '\r' && i + 2 < n && text[i + 2] == '\n'))) {
            i += text[i + 1] == '\n' ? 2 : 3;
            ++line;
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            while (i < n && text[i] != '\n') ++i;
            space = true;
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            i += 2;
            while (i < n && !(text[i] == '*' && i + 1 < n && text[i + 1] == '/')) {
                if (text[i] == '\n') ++line;
                ++i;
            }
            i = i < n ? i + 2 : n;
            space = true;
            continue;
        }
        Token t;
        t.line = line;
        t.space_before = space;
        t.line_start = line_start;
        space = false;
        line_start = false;
        size_t start = i;
        if (is_identifier_start(c)) {
            while (i < n && is_identifier_char(text[i])) ++i;
            t.kind = Token_Kind::Identifier;
        } else if (is_digit(c) || (c == '.' && i + 1 < n && is_digit(text[i + 1]))) {
            // A preprocessing number: digits, letters, dots, and signs after an exponent.
            ++i;
            while (i < n) {
                char d = text[i];
                if ((d == '+' || d == '-') && (text[i - 1] == 'e' || text[i - 1] == 'E') &&
                    !(text[start] == '0' && start + 1 < n && (text[start + 1] == 'x' || text[start + 1] == 'X'))) {
                    ++i;
                } else if (is_identifier_char(d) || d == '.') {
                    ++i;
                } else {
                    break;
                }
            }
            t.kind = Token_Kind::Number;
        } else if (c == '"' || c == '\'') {
            ++i;
            while (i < n && text[i] != c && text[i] != '\n') {
                if (text[i] == '\\' && i + 1 < n && text[i + 1] != '\n') ++i;
                ++i;
            }
            if (i < n && text[i] == c) ++i;
            t.kind = Token_Kind::String;
        } else {
            t.kind = Token_Kind::Punct;
            size_t len = 1;
            for (const char* p : puncts) {
                size_t pl = strlen(p);
                if (text.compare(i, pl, p) == 0) { len = pl; break; }
            }
            i += len;
        }
        t.text.assign(text, start, i - start);
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace orvex_fx
