#pragma once
// Tokens of HLSL and effect source, shared by the effect preprocessor and the effect parser.
#include <string>
#include <vector>

namespace orvex_fx {

enum class Token_Kind { Identifier, Number, String, Punct, End };

struct Token {
    Token_Kind kind = Token_Kind::End;
    std::string text;
    int line = 0;             // 1-based line in the text that was split
    bool space_before = false;  // whitespace separated it from the previous token
    bool line_start = false;    // first token of a line (a backslash-joined line is one line)
    int file = 0;               // index of the file it came from (set by the preprocessor)
};

// Splits text into tokens. Comments become whitespace; a backslash before a newline joins lines
// (the tokens keep the line they started on). An unterminated comment or string ends at the end
// of the text. Never fails: a byte that starts no token becomes a one-character Punct.
std::vector<Token> lex(const std::string& text);

bool is_identifier_start(char c);
bool is_identifier_char(char c);

}  // namespace orvex_fx
