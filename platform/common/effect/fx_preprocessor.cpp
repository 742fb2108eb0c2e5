#include "common/effect/fx_preprocessor.h"

#include <algorithm>

namespace orvex_fx {

namespace {

// Integer expressions of #if, by precedence climbing over already expanded tokens.
class Expression {
public:
    explicit Expression(const std::vector<Token>& t) : t_(t) {}
    bool parse(long long& v) {
        v = ternary(0);
        return ok_ && pos_ == t_.size();
    }
    std::string message = "invalid #if expression";

private:
    const std::vector<Token>& t_;
    size_t pos_ = 0;
    bool ok_ = true;

    bool peek(const char* p) const { return pos_ < t_.size() && t_[pos_].kind == Token_Kind::Punct && t_[pos_].text == p; }
    bool take(const char* p) {
        if (!peek(p)) return false;
        ++pos_;
        return true;
    }
    long long ternary(int depth) {
        if (depth > 200) { ok_ = false; return 0; }
        long long c = binary(0, depth);
        if (take("?")) {
            long long a = ternary(depth + 1);
            if (!take(":")) ok_ = false;
            long long b = ternary(depth + 1);
            return c ? a : b;
        }
        return c;
    }
    static int precedence(const std::string& op) {
        static const char* const levels[][4] = {{"||"}, {"&&"}, {"|"}, {"^"}, {"&"}, {"==", "!="},
                                                {"<", ">", "<=", ">="}, {"<<", ">>"}, {"+", "-"},
                                                {"*", "/", "%"}};
        for (int i = 0; i < 10; ++i)
            for (const char* o : levels[i])
                if (o && op == o) return i + 1;
        return 0;
    }
    long long binary(int min, int depth) {
        long long l = unary(depth);
        while (ok_ && pos_ < t_.size() && t_[pos_].kind == Token_Kind::Punct) {
            int p = precedence(t_[pos_].text);
            if (p == 0 || p <= min) break;
            std::string op = t_[pos_++].text;
            long long r = binary(p, depth + 1);
            unsigned long long ul = static_cast<unsigned long long>(l), ur = static_cast<unsigned long long>(r);
            if (op == "||") l = l || r;
            else if (op == "&&") l = l && r;
            else if (op == "|") l = l | r;
            else if (op == "^") l = l ^ r;
            else if (op == "&") l = l & r;
            else if (op == "==") l = l == r;
            else if (op == "!=") l = l != r;
            else if (op == "<") l = l < r;
            else if (op == ">") l = l > r;
            else if (op == "<=") l = l <= r;
            else if (op == ">=") l = l >= r;
            else if (op == "<<") l = static_cast<long long>(ul << (ur & 63));
            else if (op == ">>") l = l >> (ur & 63);
            else if (op == "+") l = static_cast<long long>(ul + ur);
            else if (op == "-") l = static_cast<long long>(ul - ur);
            else if (op == "*") l = static_cast<long long>(ul * ur);
            else if (r == 0 || (l == INT64_MIN && r == -1)) { ok_ = false; message = "division by zero in #if"; return 0; }
            else if (op == "/") l = l / r;
            else l = l % r;
        }
        return l;
    }
    long long unary(int depth) {
        if (depth > 200 || pos_ >= t_.size()) { ok_ = false; return 0; }
        if (take("!")) return !unary(depth + 1);
        if (take("~")) return ~unary(depth + 1);
        if (take("-")) return static_cast<long long>(0ull - static_cast<unsigned long long>(unary(depth + 1)));
        if (take("+")) return unary(depth + 1);
        if (take("(")) {
            long long v = ternary(depth + 1);
            if (!take(")")) ok_ = false;
            return v;
        }
        const Token& t = t_[pos_++];
        if (t.kind == Token_Kind::Identifier) return 0;
        if (t.kind != Token_Kind::Number) { ok_ = false; return 0; }
        const std::string& s = t.text;
        unsigned long long v = 0;
        size_t i = 0;
        int base = 10;
        if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) { base = 16; i = 2; }
        else if (s.size() > 1 && s[0] == '0') base = 8;
        for (; i < s.size(); ++i) {
            char c = s[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else if (c == 'u' || c == 'U' || c == 'l' || c == 'L') continue;
            else { ok_ = false; message = "invalid number in #if: " + s; return 0; }
            if (d >= base) { ok_ = false; return 0; }
            v = v * base + d;
        }
        return static_cast<long long>(v);
    }
};

std::string spell(const std::vector<Token>& toks) {
    std::string s;
    for (const Token& t : toks) {
        if (!s.empty() && t.space_before) s += ' ';
        s += t.text;
    }
    return s;
}

}  // namespace

void Preprocessor::define(const std::string& name, const std::string& value) {
    Macro m;
    m.body = lex(value);
    macros_[name] = std::move(m);
}

Preprocessor::Macro* Preprocessor::find(const std::string& name) {
    auto it = macros_.find(name);
    return it == macros_.end() ? nullptr : &it->second;
}

void Preprocessor::error(int file, int line, const std::string& message) {
    if (out_.errors.size() < 64 * 1024)
        out_.errors += out_.files[file] + "(" + std::to_string(line) + "): error: " + message + "\n";
    out_.ok = false;
}

void Preprocessor::emit(Token&& t) {
    if (out_.tokens.size() >= kMaxTokens) {
        if (!stop_) error(t.file, t.line, "preprocessed source is too large");
        stop_ = true;
        return;
    }
    out_.tokens.push_back(std::move(t));
}

Preprocessed Preprocessor::run(const std::string& text, const std::string& path) {
    out_ = Preprocessed();
    out_.ok = true;
    out_.files.push_back(path);
    stop_ = false;
    process_file(text, 0, 0);
    if (stop_) out_.ok = false;
    return std::move(out_);
}

void Preprocessor::process_file(const std::string& text, int file, int depth) {
    std::vector<Token> toks = lex(text);
    for (Token& t : toks) t.file = file;
    std::vector<Cond> conds;
    size_t i = 0;
    std::vector<Token> pending;  // ordinary lines waiting for expansion (a call may span lines)
    auto flush = [&]() {
        if (pending.empty()) return;
        std::vector<Token> expanded;
        std::vector<std::string> active;
        expand(pending, expanded, active, 0);
        for (Token& t : expanded) emit(std::move(t));
        pending.clear();
    };
    while (i < toks.size() && !stop_) {
        size_t j = i + 1;
        while (j < toks.size() && !toks[j].line_start) ++j;
        bool live = conds.empty() || conds.back().taking;
        if (toks[i].kind == Token_Kind::Punct && toks[i].text == "#") {
            flush();
            std::vector<Token> line(toks.begin() + i + 1, toks.begin() + j);
            int ln = toks[i].line;
            if (line.empty()) { i = j; continue; }
            line[0].line = ln;
            directive(line, file, depth, conds);
        } else if (live) {
            pending.insert(pending.end(), toks.begin() + i, toks.begin() + j);
            // Keep gathering while a function-like macro call is left open at the end of the line.
            int open = 0;
            for (const Token& t : pending)
                if (t.kind == Token_Kind::Punct) open += t.text == "(" ? 1 : t.text == ")" ? -1 : 0;
            if (open <= 0 || pending.size() > 100000) flush();
        }
        i = j;
    }
    flush();
    if (!conds.empty() && !stop_) error(file, toks.empty() ? 1 : toks.back().line, "#if without #endif");
}

void Preprocessor::directive(const std::vector<Token>& line, int file, int depth, std::vector<Cond>& conds) {
    const std::string& d = line[0].text;
    const int ln = line[0].line;
    const bool live = conds.empty() || conds.back().taking;
    std::vector<Token> rest(line.begin() + 1, line.end());

    auto condition = [&](std::vector<Token> expr) {
        // defined X / defined(X) before macro expansion.
        std::vector<Token> pre;
        for (size_t k = 0; k < expr.size(); ++k) {
            if (expr[k].kind == Token_Kind::Identifier && expr[k].text == "defined") {
                size_t n = k + 1;
                bool paren = n < expr.size() && expr[n].text == "(";
                if (paren) ++n;
                if (n >= expr.size() || expr[n].kind != Token_Kind::Identifier) {
                    error(file, ln, "defined needs an identifier");
                    return false;
                }
                Token v = expr[n];
                v.kind = Token_Kind::Number;
                v.text = find(expr[n].text) ? "1" : "0";
                pre.push_back(v);
                if (paren) {
                    if (n + 1 >= expr.size() || expr[n + 1].text != ")") {
                        error(file, ln, "missing ) after defined");
                        return false;
                    }
                    ++n;
                }
                k = n;
            } else {
                pre.push_back(expr[k]);
            }
        }
        std::vector<Token> expanded;
        std::vector<std::string> active;
        expand(pre, expanded, active, 0);
        long long v = 0;
        if (!evaluate(expanded, file, ln, v)) return false;
        return v != 0;
    };

    if (d == "if" || d == "ifdef" || d == "ifndef") {
        bool value = false;
        if (live) {
            if (d == "if") {
                value = condition(rest);
            } else if (rest.empty() || rest[0].kind != Token_Kind::Identifier) {
                error(file, ln, "#" + d + " needs a name");
            } else {
                value = (find(rest[0].text) != nullptr) == (d == "ifdef");
            }
        }
        conds.push_back({live && value, live && value, live, false});
        return;
    }
    if (d == "elif" || d == "else" || d == "endif") {
        if (conds.empty()) {
            error(file, ln, "#" + d + " without #if");
            return;
        }
        Cond& c = conds.back();
        if (d == "endif") {
            conds.pop_back();
        } else if (c.seen_else) {
            error(file, ln, "#" + d + " after #else");
        } else if (d == "else") {
            c.seen_else = true;
            c.taking = c.parent_live && !c.taken;
            c.taken = c.taken || c.taking;
        } else {
            c.taking = c.parent_live && !c.taken && condition(rest);
            c.taken = c.taken || c.taking;
        }
        return;
    }
    if (!live) return;

    if (d == "define") {
        if (rest.empty() || rest[0].kind != Token_Kind::Identifier) {
            error(file, ln, "#define needs a name");
            return;
        }
        Macro m;
        size_t k = 1;
        if (rest.size() > 1 && rest[1].text == "(" && !rest[1].space_before) {
            m.function_like = true;
            k = 2;
            while (k < rest.size() && rest[k].text != ")") {
                if (rest[k].text == "...") m.variadic = true;
                else if (rest[k].kind == Token_Kind::Identifier) m.params.push_back(rest[k].text);
                else if (rest[k].text != ",") {
                    error(file, ln, "bad macro parameter list");
                    return;
                }
                ++k;
            }
            if (k >= rest.size()) {
                error(file, ln, "missing ) in macro parameter list");
                return;
            }
            ++k;
        }
        m.body.assign(rest.begin() + k, rest.end());
        macros_[rest[0].text] = std::move(m);
    } else if (d == "undef") {
        if (!rest.empty()) macros_.erase(rest[0].text);
    } else if (d == "include") {
        std::vector<Token> target = rest;
        if (!target.empty() && target[0].kind == Token_Kind::Identifier) {
            std::vector<Token> e;
            std::vector<std::string> active;
            expand(rest, e, active, 0);
            target = e;
        }
        std::string name;
        bool system = false;
        if (!target.empty() && target[0].kind == Token_Kind::String && target[0].text.size() >= 2) {
            name = target[0].text.substr(1, target[0].text.size() - 2);
        } else if (!target.empty() && target[0].text == "<") {
            system = true;
            for (size_t k = 1; k < target.size() && target[k].text != ">"; ++k) name += target[k].text;
        }
        if (name.empty()) {
            error(file, ln, "#include needs a file name");
            return;
        }
        if (depth + 1 >= kMaxIncludeDepth) {
            error(file, ln, "#include nested too deeply (does \"" + name + "\" include itself?)");
            stop_ = true;
            return;
        }
        std::string text, path;
        if (!reader_ || !reader_(name, out_.files[file], system, text, path)) {
            error(file, ln, "cannot open include file: " + name);
            return;
        }
        out_.files.push_back(path);
        process_file(text, static_cast<int>(out_.files.size() - 1), depth + 1);
    } else if (d == "error") {
        error(file, ln, "#error " + spell(rest));
    } else if (d == "pragma") {
        // Kept for the compiler (pack_matrix and the like) as a line of its own.
        Token hash = line[0];
        hash.kind = Token_Kind::Punct;
        hash.text = "#";
        hash.line_start = true;
        hash.file = file;
        emit(std::move(hash));
        for (Token t : line) {
            t.file = file;
            t.line = ln;
            t.line_start = false;
            emit(std::move(t));
        }
    } else if (d == "line") {
        // Line numbers in messages stay those of the real file.
    } else if (line[0].kind == Token_Kind::Number) {
        // "# 12 "file"" markers: ignored as #line is.
    } else {
        error(file, ln, "unknown preprocessor directive #" + d);
    }
}

bool Preprocessor::evaluate(const std::vector<Token>& expr, int file, int line, long long& value) {
    if (expr.empty()) {
        error(file, line, "#if with no expression");
        return false;
    }
    Expression e(expr);
    if (!e.parse(value)) {
        error(file, line, e.message);
        return false;
    }
    return true;
}

void Preprocessor::expand(const std::vector<Token>& in, std::vector<Token>& out,
                          std::vector<std::string>& active, int depth) {
    if (depth > 64) {
        if (!stop_) error(in.empty() ? 0 : in[0].file, in.empty() ? 0 : in[0].line, "macro expansion nested too deeply");
        stop_ = true;
        return;
    }
    // The input as a stack (next token at the back). An expansion pushes its body followed by an
    // End token naming the macro; the macro stays disabled until that marker is reached.
    std::vector<Token> stack(in.rbegin(), in.rend());
    size_t steps = 0;
    auto next_real = [&]() -> Token* {
        while (!stack.empty() && stack.back().kind == Token_Kind::End) {
            auto it = std::find(active.rbegin(), active.rend(), stack.back().text);
            if (it != active.rend()) active.erase(std::next(it).base());
            stack.pop_back();
        }
        return stack.empty() ? nullptr : &stack.back();
    };
    while (!stop_ && next_real()) {
        if (++steps > kMaxTokens || out.size() > kMaxTokens || stack.size() > kMaxTokens) {
            error(stack.back().file, stack.back().line, "preprocessed source is too large");
            stop_ = true;
            return;
        }
        Token t = std::move(stack.back());
        stack.pop_back();
        Macro* m = t.kind == Token_Kind::Identifier && !macros_.empty() ? find(t.text) : nullptr;
        if (!m || std::find(active.begin(), active.end(), t.text) != active.end()) {
            out.push_back(std::move(t));
            continue;
        }
        std::vector<std::vector<Token>> args;
        if (m->function_like) {
            Token* open = next_real();
            if (!open || open->text != "(" || open->kind != Token_Kind::Punct) {
                out.push_back(t);
                continue;
            }
            stack.pop_back();
            int level = 0;
            bool closed = false;
            args.emplace_back();
            while (Token* a = next_real()) {
                Token cur = *a;
                stack.pop_back();
                if (cur.kind == Token_Kind::Punct) {
                    if (cur.text == "(") ++level;
                    else if (cur.text == ")" && level-- == 0) { closed = true; break; }
                    else if (cur.text == "," && level == 0 && !(m->variadic && args.size() > m->params.size())) {
                        args.emplace_back();
                        continue;
                    }
                }
                args.back().push_back(cur);
            }
            if (!closed) {
                error(t.file, t.line, "unterminated call of macro " + t.text);
                return;
            }
            if (args.size() == 1 && args[0].empty() && m->params.empty()) args.clear();
            size_t want = m->params.size() + (m->variadic ? 1 : 0);
            if (args.size() < want && m->variadic) args.resize(want);
            if (args.size() != want) {
                error(t.file, t.line, "macro " + t.text + " takes " + std::to_string(m->params.size()) + " arguments");
                continue;
            }
        }
        // Substitute parameters: # stringizes, ## pastes, other uses are expanded first.
        auto param_index = [&](const Token& p) -> int {
            if (p.kind != Token_Kind::Identifier) return -1;
            for (size_t q = 0; q < m->params.size(); ++q)
                if (m->params[q] == p.text) return static_cast<int>(q);
            if (m->variadic && p.text == "__VA_ARGS__") return static_cast<int>(m->params.size());
            return -1;
        };
        const std::vector<Token>& b = m->body;  // no macro is defined while one expands
        if (!m->function_like && std::none_of(b.begin(), b.end(), [](const Token& x) { return x.text == "##"; })) {
            Token marker = t;
            marker.kind = Token_Kind::End;
            stack.push_back(std::move(marker));
            for (size_t k = b.size(); k-- > 0;) {
                stack.push_back(b[k]);
                Token& p = stack.back();
                p.file = t.file;
                p.line = t.line;
                p.line_start = false;
                if (k == 0) p.space_before = t.space_before;
            }
            active.push_back(t.text);
            continue;
        }
        std::vector<Token> body;
        for (size_t k = 0; k < b.size(); ++k) {
            if (m->function_like && b[k].text == "#" && k + 1 < b.size() && param_index(b[k + 1]) >= 0) {
                Token s = t;
                s.kind = Token_Kind::String;
                std::string raw = spell(args[param_index(b[k + 1])]), quoted = "\"";
                for (char c : raw) {
                    if (c == '"' || c == '\\') quoted += '\\';
                    quoted += c;
                }
                s.text = quoted + "\"";
                body.push_back(s);
                ++k;
                continue;
            }
            int pi = m->function_like ? param_index(b[k]) : -1;
            bool pasted = (k + 1 < b.size() && b[k + 1].text == "##") || (k > 0 && b[k - 1].text == "##");
            if (pi >= 0) {
                if (pasted) {
                    body.insert(body.end(), args[pi].begin(), args[pi].end());
                } else {
                    std::vector<Token> e;
                    std::vector<std::string> arg_active = active;
                    expand(args[pi], e, arg_active, depth + 1);
                    body.insert(body.end(), e.begin(), e.end());
                }
            } else {
                body.push_back(b[k]);
            }
            if (body.size() > kMaxTokens || stop_) {
                if (!stop_) error(t.file, t.line, "preprocessed source is too large");
                stop_ = true;
                return;
            }
        }
        // Paste: join the tokens around each ## and split the result again.
        std::vector<Token> pasted;
        for (size_t k = 0; k < body.size(); ++k) {
            if (body[k].text == "##" && body[k].kind == Token_Kind::Punct && !pasted.empty() && k + 1 < body.size()) {
                std::vector<Token> joined = lex(pasted.back().text + body[k + 1].text);
                pasted.pop_back();
                pasted.insert(pasted.end(), joined.begin(), joined.end());
                ++k;
            } else {
                pasted.push_back(body[k]);
            }
        }
        Token marker = t;
        marker.kind = Token_Kind::End;
        stack.push_back(marker);
        for (size_t k = pasted.size(); k-- > 0;) {
            Token p = pasted[k];
            p.file = t.file;
            p.line = t.line;
            p.line_start = false;
            if (k == 0) p.space_before = t.space_before;
            stack.push_back(p);
        }
        active.push_back(t.text);
    }
}

}  // namespace orvex_fx
