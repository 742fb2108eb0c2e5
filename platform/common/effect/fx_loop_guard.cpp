#include "common/effect/fx_loop_guard.h"

#include <string>

namespace orvex_fx {

namespace {

Token made(const Token& at, Token_Kind kind, const char* text) {
    Token t;
    t.kind = kind;
    t.text = text;
    t.file = at.file;
    t.line = at.line;
    t.space_before = true;
    return t;
}

void append(std::vector<Token>& out, const Token& at, const std::string& text) {
    for (Token t : lex(text)) {
        t.file = at.file;
        t.line = at.line;
        t.line_start = false;
        t.space_before = true;
        out.push_back(t);
    }
}

bool is(const Token& t, const char* text) { return t.kind == Token_Kind::Punct && t.text == text; }

}  // namespace

std::string loop_budget_declaration() {
    return "static int orvex_loop_budget = " + std::to_string(kLoopBudget) +
           ";\nbool orvex_loop_round() { orvex_loop_budget = orvex_loop_budget - 1; return orvex_loop_budget >= 0; }\n";
}

std::vector<Token> guard_loops(const std::vector<Token>& in) {
    std::vector<Token> out;
    out.reserve(in.size() + 64);
    bool any = false;
    for (const Token& t : in)
        any = any || (t.kind == Token_Kind::Identifier && (t.text == "for" || t.text == "while"));
    if (!any) return in;
    size_t i = 0;
    for (; i < in.size(); ++i) {
        const Token& t = in[i];
        out.push_back(t);
        bool is_for = t.kind == Token_Kind::Identifier && t.text == "for";
        bool is_while = t.kind == Token_Kind::Identifier && t.text == "while";
        if ((!is_for && !is_while) || i + 1 >= in.size() || !is(in[i + 1], "(")) continue;
        // Find the condition: for (init; cond; step) or while (cond).
        size_t open = i + 1, cond_begin = 0, cond_end = 0;
        int depth = 0, semicolons = 0;
        size_t k = open;
        for (; k < in.size(); ++k) {
            if (is(in[k], "(")) ++depth;
            else if (is(in[k], ")") && --depth == 0) break;
            else if (is_for && depth == 1 && is(in[k], ";")) {
                if (++semicolons == 1) cond_begin = k + 1;
                else if (semicolons == 2) cond_end = k;
            }
        }
        if (k >= in.size()) continue;  // unbalanced: the compiler will say so
        if (is_while) {
            cond_begin = open + 1;
            cond_end = k;
        } else if (semicolons != 2) {
            continue;
        }
        // Copy up to the condition, then "(cond) && orvex_loop_round()".
        for (size_t c = open; c < cond_begin; ++c) out.push_back(in[c]);
        if (cond_begin == cond_end) {
            append(out, in[open], "orvex_loop_round()");
        } else {
            out.push_back(made(in[cond_begin], Token_Kind::Punct, "("));
            for (size_t c = cond_begin; c < cond_end; ++c) out.push_back(in[c]);
            append(out, in[cond_end], ") && orvex_loop_round()");
        }
        i = cond_end - 1;
    }
    return out;
}

}  // namespace orvex_fx
