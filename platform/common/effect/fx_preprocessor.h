#pragma once
// The C-style preprocessor of effect files: #define (object- and function-like, # and ##),
// #undef, #if/#ifdef/#ifndef/#elif/#else/#endif with defined(), #include "..." and <...>,
// #error, #line and #pragma (kept for the compiler). Bounded on any input: includes nest at most
// kMaxIncludeDepth deep and the output holds at most kMaxTokens tokens, so a file that includes
// itself or a macro that doubles at every level fails with a message instead of running away.
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/effect/fx_lexer.h"

namespace orvex_fx {

// Finds an included file. name as written, includer = path of the including file ("" for text
// given in memory), system = written with <>. Fills text and the path the file is known by in
// messages; returns false when there is no such file.
using Include_Reader = std::function<bool(const std::string& name, const std::string& includer,
                                          bool system, std::string& text, std::string& path)>;

struct Preprocessed {
    std::vector<Token> tokens;        // each with the file it came from and its line there
    std::vector<std::string> files;   // file index -> path as used in messages
    std::string errors;               // "path(line): error: message" lines
    bool ok = false;
};

class Preprocessor {
public:
    static const int kMaxIncludeDepth = 32;
    static const size_t kMaxTokens = 2u << 20;

    explicit Preprocessor(Include_Reader reader) : reader_(std::move(reader)) {}
    void define(const std::string& name, const std::string& value);
    Preprocessed run(const std::string& text, const std::string& path);

private:
    struct Macro {
        bool function_like = false;
        bool variadic = false;
        std::vector<std::string> params;
        std::vector<Token> body;
    };
    struct Cond {
        bool taking;       // this branch's lines are kept
        bool taken;        // some branch of this #if was kept
        bool parent_live;  // the enclosing block is kept
        bool seen_else;
    };

    void process_file(const std::string& text, int file, int depth);
    void directive(const std::vector<Token>& line, int file, int depth, std::vector<Cond>& conds);
    void expand(const std::vector<Token>& in, std::vector<Token>& out, std::vector<std::string>& active, int depth);
    bool evaluate(const std::vector<Token>& expr, int file, int line, long long& value);
    void error(int file, int line, const std::string& message);
    void emit(Token&& t);

    Include_Reader reader_;
    std::unordered_map<std::string, Macro> macros_;
    Preprocessed out_;
    bool stop_ = false;

    Macro* find(const std::string& name);
};

}  // namespace orvex_fx
