#include "common/effect/fx_parser.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <unordered_map>

namespace orvex_fx {

std::string spell_tokens(const std::vector<Token>& tokens, size_t begin, size_t end) {
    std::string s;
    for (size_t i = begin; i < end && i < tokens.size(); ++i) {
        if (i > begin && tokens[i].space_before) s += ' ';
        s += tokens[i].text;
    }
    return s;
}

namespace {

bool ci(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

struct Type_Info {
    std::string spelling;
    D3DXPARAMETER_CLASS cls = D3DXPC_SCALAR;
    D3DXPARAMETER_TYPE type = D3DXPT_VOID;
    unsigned rows = 1, columns = 1;
    int struct_index = -1;
};

class Parser {
public:
    Parser(const std::vector<Token>& t, const std::vector<std::string>& files, Effect_Description& out)
        : t_(t), files_(files), out_(out) {}

    bool run(std::string& errors);

private:
    const std::vector<Token>& t_;
    const std::vector<std::string>& files_;
    Effect_Description& out_;
    size_t pos_ = 0;
    std::string errors_;
    bool failed_ = false;

    bool at_end() const { return pos_ >= t_.size(); }
    const Token& cur() const {
        static const Token end_token;
        return at_end() ? (t_.empty() ? end_token : t_.back()) : t_[pos_];
    }
    bool is(const char* text) const { return !at_end() && t_[pos_].kind != Token_Kind::String && t_[pos_].text == text; }
    bool accept(const char* text) {
        if (!is(text)) return false;
        ++pos_;
        return true;
    }
    bool expect(const char* text) {
        if (accept(text)) return true;
        fail(std::string("syntax error: expected '") + text + "' but found " + found());
        return false;
    }
    std::string found() const { return at_end() ? "the end of the file" : "'" + t_[pos_].text + "'"; }
    void fail(const std::string& message) { fail_at(cur(), message); }
    void fail_at(const Token& at, const std::string& message) {
        if (failed_) return;  // the first error is the one worth reading; the rest follow from it
        failed_ = true;
        std::string file = files_.empty() ? std::string("effect") : files_[at.file < static_cast<int>(files_.size()) ? at.file : 0];
        errors_ += file + "(" + std::to_string(at.line) + "): error: " + message + "\n";
    }
    bool identifier(std::string& name) {
        if (at_end() || t_[pos_].kind != Token_Kind::Identifier) {
            fail("syntax error: expected a name but found " + found());
            return false;
        }
        name = t_[pos_++].text;
        return true;
    }
    void copy(size_t begin, size_t end) {
        for (size_t i = begin; i < end && i < t_.size(); ++i) out_.hlsl.push_back(t_[i]);
    }
    void emit(const Token& at, const std::string& text) {
        for (Token t : lex(text)) {
            t.file = at.file;
            t.line = at.line;
            t.line_start = false;
            t.space_before = true;
            out_.hlsl.push_back(t);
        }
    }
    // Index just past the bracket that closes the one at pos_.
    size_t skip_balanced(size_t from) const {
        int level = 0;
        for (size_t i = from; i < t_.size(); ++i) {
            if (t_[i].kind != Token_Kind::Punct) continue;
            const std::string& s = t_[i].text;
            if (s == "(" || s == "{" || s == "[") ++level;
            else if (s == ")" || s == "}" || s == "]") {
                if (--level == 0) return i + 1;
            }
        }
        return t_.size();
    }

    void top_level();
    bool parse_type(Type_Info& type);
    void parse_struct();
    void parse_declaration();
    bool parse_function(size_t start, const Type_Info& type, const std::string& name);
    bool parse_variable_tail(const Type_Info& type, bool is_static, bool shared, bool column_major,
                             const std::string& name, size_t decl_start);
    bool parse_annotations(std::vector<Parameter>& out);
    bool parse_initializer(std::vector<double>& values, int depth);
    bool parse_number_expression(double& v, int depth);
    bool parse_primary(double& v, int depth);
    bool parse_technique();
    bool parse_pass(Pass& pass);
    bool parse_assignment(std::vector<State_Assignment>& states, Shader_Ref* vs, Shader_Ref* ps,
                          Parameter* sampler);
    bool parse_shader_value(Shader_Ref& ref, bool vertex);
    bool parse_shader_variable(Shader_Ref& ref, bool vertex);
    bool parse_shader_array(Parameter& p);
    bool parse_state_value(const State_Info& info, State_Assignment& a, const std::string& state_name);
    bool parse_reference(std::string& name);
    int find_struct(const std::string& name) const {
        for (size_t i = 0; i < out_.structs.size(); ++i)
            if (out_.structs[i].name == name) return static_cast<int>(i);
        return -1;
    }
    std::unordered_map<std::string, size_t> parameter_index_;
    std::unordered_map<std::string, double> constants_;  // static const scalars, for sizes
    void note_constant(const Type_Info& type, const std::string& name);
    const Parameter* find_parameter(const std::string& name) const {
        auto it = parameter_index_.find(name);
        return it == parameter_index_.end() ? nullptr : &out_.parameters[it->second];
    }
    bool parse_semantic(std::string& semantic, int& reg);
    void copy_body(size_t begin, size_t end);
    size_t constructor_assignment(size_t at, size_t end, unsigned& size) const;
    size_t array_cast(size_t at, size_t end, unsigned& count) const;
    bool part_helpers_ = false;
    bool parse_array(unsigned& elements);
};

bool number_value(const std::string& text, double& v) {
    std::string s = text;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        while (!s.empty() && strchr("uUlL", s.back())) s.pop_back();
        v = static_cast<double>(strtoull(s.c_str(), nullptr, 16));
        return true;
    }
    while (!s.empty() && strchr("fFhHuUlL", s.back())) s.pop_back();
    char* end = nullptr;
    v = strtod(s.c_str(), &end);
    return end && *end == '\0' && !s.empty();
}

bool scalar_type(const std::string& base, D3DXPARAMETER_TYPE& type) {
    if (base == "bool") type = D3DXPT_BOOL;
    else if (base == "int" || base == "uint" || base == "dword" || base == "DWORD") type = D3DXPT_INT;
    else if (base == "float" || base == "half" || base == "double" || base == "min16float" || base == "min10float") type = D3DXPT_FLOAT;
    else return false;
    return true;
}

bool Parser::parse_type(Type_Info& type) {
    if (at_end() || t_[pos_].kind != Token_Kind::Identifier) {
        fail("syntax error: unexpected token " + found());
        return false;
    }
    const std::string name = t_[pos_].text;
    type.spelling = name;
    ++pos_;
    static const struct { const char* name; D3DXPARAMETER_TYPE type; } objects[] = {
        {"texture", D3DXPT_TEXTURE}, {"texture1D", D3DXPT_TEXTURE1D}, {"texture2D", D3DXPT_TEXTURE2D},
        {"texture3D", D3DXPT_TEXTURE3D}, {"textureCUBE", D3DXPT_TEXTURECUBE},
        {"sampler", D3DXPT_SAMPLER}, {"sampler1D", D3DXPT_SAMPLER1D}, {"sampler2D", D3DXPT_SAMPLER2D},
        {"sampler3D", D3DXPT_SAMPLER3D}, {"samplerCUBE", D3DXPT_SAMPLERCUBE}, {"string", D3DXPT_STRING},
        {"VertexShader", D3DXPT_VERTEXSHADER}, {"PixelShader", D3DXPT_PIXELSHADER}};
    for (const auto& o : objects) {
        if (ci(name, o.name)) {
            type.cls = D3DXPC_OBJECT;
            type.type = o.type;
            return true;
        }
    }
    if ((name == "vector" || name == "matrix") && is("<")) {
        ++pos_;
        std::string base;
        if (!identifier(base)) return false;
        if (!scalar_type(base, type.type)) {
            fail("unknown component type '" + base + "'");
            return false;
        }
        unsigned dims[2] = {1, 1};
        for (int d = 0; d < (name == "vector" ? 1 : 2); ++d) {
            if (!expect(",")) return false;
            double v = 0;
            if (at_end() || t_[pos_].kind != Token_Kind::Number || !number_value(t_[pos_].text, v) || v < 1 || v > 4) {
                fail("dimension must be 1 to 4");
                return false;
            }
            dims[d] = static_cast<unsigned>(v);
            ++pos_;
        }
        if (!expect(">")) return false;
        type.spelling = spell_tokens(t_, pos_ - (name == "vector" ? 5 : 7), pos_);
        if (name == "vector") {
            type.cls = D3DXPC_VECTOR;
            type.columns = dims[0];
        } else {
            type.cls = D3DXPC_MATRIX_ROWS;
            type.rows = dims[0];
            type.columns = dims[1];
        }
        return true;
    }
    if (name == "vector" || name == "matrix") {
        type.type = D3DXPT_FLOAT;
        type.cls = name == "vector" ? D3DXPC_VECTOR : D3DXPC_MATRIX_ROWS;
        type.rows = name == "vector" ? 1 : 4;
        type.columns = 4;
        return true;
    }
    // float, float3, float4x4, half2, int3, bool4 ...
    size_t digits = name.size();
    while (digits > 0 && (isdigit(static_cast<unsigned char>(name[digits - 1])) || name[digits - 1] == 'x')) --digits;
    std::string base = name.substr(0, digits), dims = name.substr(digits);
    if (scalar_type(base, type.type)) {
        if (dims.empty()) return true;
        if (dims.size() == 1 && dims[0] >= '1' && dims[0] <= '4') {
            type.cls = D3DXPC_VECTOR;
            type.columns = static_cast<unsigned>(dims[0] - '0');
            return true;
        }
        if (dims.size() == 3 && dims[1] == 'x' && dims[0] >= '1' && dims[0] <= '4' && dims[2] >= '1' && dims[2] <= '4') {
            type.cls = D3DXPC_MATRIX_ROWS;
            type.rows = static_cast<unsigned>(dims[0] - '0');
            type.columns = static_cast<unsigned>(dims[2] - '0');
            return true;
        }
    }
    int s = find_struct(name);
    if (s >= 0) {
        type.cls = D3DXPC_STRUCT;
        type.type = D3DXPT_VOID;
        type.struct_index = s;
        return true;
    }
    if (name == "void") {
        type.type = D3DXPT_VOID;
        return true;
    }
    // A typedef or a type the compiler knows and we do not: let the compiler judge it.
    type.type = D3DXPT_UNSUPPORTED;
    return true;
}

bool Parser::parse_semantic(std::string& semantic, int& reg) {
    while (accept(":")) {
        if (at_end() || t_[pos_].kind != Token_Kind::Identifier) {
            fail("syntax error: expected a semantic but found " + found());
            return false;
        }
        if (t_[pos_].text == "register" || t_[pos_].text == "packoffset") {
            bool is_register = t_[pos_].text == "register";
            ++pos_;
            if (!is("(")) return expect("(");
            size_t end = skip_balanced(pos_);
            if (is_register && end - pos_ >= 3 && t_[pos_ + 1].kind == Token_Kind::Identifier) {
                const std::string& r = t_[pos_ + 1].text;
                if (r.size() >= 2 && isdigit(static_cast<unsigned char>(r[1]))) reg = atoi(r.c_str() + 1);
            }
            pos_ = end;
        } else {
            semantic = upper(t_[pos_++].text);
        }
    }
    return true;
}

bool Parser::parse_array(unsigned& elements) {
    elements = 0;
    if (!accept("[")) return true;
    double v = 0;
    if (!parse_number_expression(v, 0)) return false;
    if (v < 1 || v > 65536) {
        fail("array size must be from 1 to 65536");
        return false;
    }
    elements = static_cast<unsigned>(v);
    return expect("]");
}

bool Parser::parse_primary(double& out, int depth) {
    if (depth > 64) {
        fail("expression nested too deeply");
        return false;
    }
    if (accept("-")) {
        if (!parse_primary(out, depth + 1)) return false;
        out = -out;
        return true;
    }
    if (accept("+")) return parse_primary(out, depth + 1);
    if (accept("(")) {
        if (!parse_number_expression(out, depth + 1)) return false;
        return expect(")");
    }
    if (!at_end() && t_[pos_].kind == Token_Kind::Number && number_value(t_[pos_].text, out)) {
        ++pos_;
        return true;
    }
    if (!at_end() && t_[pos_].kind == Token_Kind::Identifier) {
        auto c = constants_.find(t_[pos_].text);
        if (c != constants_.end()) {
            ++pos_;
            out = c->second;
            return true;
        }
    }
    if (is("true") || is("TRUE")) { ++pos_; out = 1; return true; }
    if (is("false") || is("FALSE")) { ++pos_; out = 0; return true; }
    fail("expected a constant but found " + found());
    return false;
}

bool Parser::parse_number_expression(double& v, int depth) {
    // Constant arithmetic as found in sizes and initialisers: + - * / ( ) on numbers.
    auto term = [&](double& out) -> bool {
        if (!parse_primary(out, depth + 1)) return false;
        while (is("*") || is("/")) {
            bool mul = t_[pos_++].text == "*";
            double r = 0;
            if (!parse_primary(r, depth + 1)) return false;
            out = mul ? out * r : (r != 0 ? out / r : 0);
        }
        return true;
    };
    double l = 0;
    if (!term(l)) return false;
    while (is("+") || is("-")) {
        bool add = t_[pos_++].text == "+";
        double r = 0;
        if (!term(r)) return false;
        l = add ? l + r : l - r;
    }
    v = l;
    return true;
}

bool Parser::parse_initializer(std::vector<double>& values, int depth) {
    if (depth > 32) {
        fail("initializer nested too deeply");
        return false;
    }
    if (accept("{")) {
        while (!accept("}")) {
            if (!parse_initializer(values, depth + 1)) return false;
            if (!accept(",") && !is("}")) return expect("}");
        }
        return true;
    }
    // A constructor: float4(1, 2, 3, 4).
    if (!at_end() && t_[pos_].kind == Token_Kind::Identifier && pos_ + 1 < t_.size() && t_[pos_ + 1].text == "(" &&
        !is("true") && !is("false")) {
        pos_ += 2;
        while (!accept(")")) {
            if (!parse_initializer(values, depth + 1)) return false;
            if (!accept(",") && !is(")")) return expect(")");
        }
        return true;
    }
    double v = 0;
    if (!parse_number_expression(v, depth)) return false;
    values.push_back(v);
    return true;
}

void store_value(Parameter& p, const std::vector<double>& values) {
    p.value.assign(p.components(), Component{});
    for (size_t i = 0; i < values.size() && i < p.value.size(); ++i) {
        if (p.type == D3DXPT_FLOAT) p.value[i].f = static_cast<float>(values[i]);
        else if (p.type == D3DXPT_BOOL) p.value[i].u = values[i] != 0 ? 1u : 0u;
        else p.value[i].i = int_bits(values[i]);
    }
}

bool Parser::parse_annotations(std::vector<Parameter>& out) {
    if (!accept("<")) return true;
    while (!accept(">")) {
        if (at_end()) return expect(">");
        Type_Info type;
        if (!parse_type(type)) return false;
        Parameter a;
        if (!identifier(a.name)) return false;
        a.cls = type.cls;
        a.type = type.type == D3DXPT_UNSUPPORTED ? D3DXPT_FLOAT : type.type;
        a.rows = type.rows;
        a.columns = type.columns;
        a.flags = D3DX_PARAMETER_ANNOTATION;
        if (!parse_array(a.elements)) return false;
        if (!expect("=")) return false;
        if (a.type == D3DXPT_STRING) {
            if (at_end() || t_[pos_].kind != Token_Kind::String) {
                fail("a string annotation needs a string");
                return false;
            }
            const std::string& s = t_[pos_++].text;
            a.string_value = s.substr(1, s.size() >= 2 ? s.size() - 2 : 0);
        } else if (a.is_numeric()) {
            std::vector<double> values;
            if (!parse_initializer(values, 0)) return false;
            store_value(a, values);
        } else {
            fail("unsupported annotation type '" + type.spelling + "'");
            return false;
        }
        if (!expect(";")) return false;
        out.push_back(a);
    }
    return true;
}

bool Parser::run(std::string& errors) {
    while (!at_end() && !failed_) top_level();
    errors += errors_;
    return !failed_;
}

void Parser::top_level() {
    const Token& t = t_[pos_];
    if (t.kind == Token_Kind::Punct && t.text == "#") {
        size_t end = pos_ + 1;
        while (end < t_.size() && !t_[end].line_start) ++end;
        // A pragma line stays a line of its own.
        Token hash = t;
        out_.hlsl.push_back(hash);
        copy(pos_ + 1, end);
        pos_ = end;
        if (pos_ < t_.size()) {
            Token next = t_[pos_];
            (void)next;
        }
        return;
    }
    if (t.kind == Token_Kind::Punct && t.text == ";") {
        ++pos_;
        return;
    }
    if (t.kind == Token_Kind::Identifier &&
        (ci(t.text, "technique") || ci(t.text, "technique9") || ci(t.text, "technique10") || ci(t.text, "technique11"))) {
        parse_technique();
        return;
    }
    if (t.text == "struct") {
        parse_struct();
        return;
    }
    if (t.text == "typedef") {
        size_t start = pos_;
        while (!at_end() && !is(";")) {
            if (is("{")) pos_ = skip_balanced(pos_);
            else ++pos_;
        }
        if (!expect(";")) return;
        copy(start, pos_);
        return;
    }
    parse_declaration();
}

void Parser::parse_struct() {
    size_t start = pos_++;
    Struct_Def def;
    if (!identifier(def.name)) return;
    if (!is("{")) {
        fail("syntax error: expected '{' after struct " + def.name);
        return;
    }
    out_.structs.push_back(def);  // known from here on, so members may not use it but later code may
    size_t index = out_.structs.size() - 1;
    ++pos_;
    while (!accept("}")) {
        if (at_end()) {
            expect("}");
            return;
        }
        // Interpolation modifiers.
        while (is("linear") || is("centroid") || is("nointerpolation") || is("noperspective") || is("sample"))
            ++pos_;
        Type_Info type;
        if (!parse_type(type)) return;
        do {
            Variable m;
            m.type = type.spelling;
            if (!identifier(m.name)) return;
            if (!parse_array(m.elements)) return;
            int reg = -1;
            if (!parse_semantic(m.semantic, reg)) return;
            out_.structs[index].members.push_back(m);
        } while (accept(","));
        if (!expect(";")) return;
    }
    // struct S { ... } name; declares a variable too: leave that to the compiler as it is.
    while (!at_end() && !is(";")) ++pos_;
    if (!expect(";")) return;
    copy(start, pos_);
}

void Parser::parse_declaration() {
    size_t start = pos_;
    bool is_static = false, shared = false, column_major = false, row_major = false;
    for (;;) {
        if (is("static")) is_static = true;
        else if (is("shared")) shared = true;
        else if (is("column_major")) column_major = true;
        else if (is("row_major")) row_major = true;
        else if (!(is("uniform") || is("extern") || is("const") || is("volatile") || is("inline") || is("precise")))
            break;
        ++pos_;
    }
    (void)row_major;
    Type_Info type;
    if (!parse_type(type)) return;
    std::string name;
    if (!identifier(name)) return;
    if (is("(")) {
        parse_function(start, type, name);
        return;
    }
    parse_variable_tail(type, is_static, shared, column_major, name, start);
}

bool Parser::parse_function(size_t start, const Type_Info& type, const std::string& name) {
    Function f;
    f.name = name;
    f.return_type = type.spelling;
    ++pos_;  // (
    if (is("void") && pos_ + 1 < t_.size() && t_[pos_ + 1].text == ")") ++pos_;
    while (!accept(")")) {
        if (at_end()) return expect(")");
        Variable v;
        v.qualifier = "in";
        for (;;) {
            if (is("in") || is("out") || is("inout") || is("uniform")) v.qualifier = t_[pos_].text;
            else if (!(is("const") || is("linear") || is("centroid") || is("nointerpolation") || is("noperspective")))
                break;
            ++pos_;
        }
        Type_Info pt;
        if (!parse_type(pt)) return false;
        v.type = pt.spelling;
        if (!identifier(v.name)) return false;
        if (!parse_array(v.elements)) return false;
        int reg = -1;
        if (!parse_semantic(v.semantic, reg)) return false;
        if (accept("=")) {
            while (!at_end() && !is(",") && !is(")")) {
                if (is("(")) pos_ = skip_balanced(pos_);
                else ++pos_;
            }
        }
        f.params.push_back(v);
        if (!accept(",") && !is(")")) return expect(")");
    }
    int reg = -1;
    if (!parse_semantic(f.return_semantic, reg)) return false;
    if (accept(";")) {
        copy(start, pos_);
        return true;
    }
    if (!is("{")) return expect("{");
    size_t end = skip_balanced(pos_);
    if (end > t_.size() || t_[end - 1].text != "}") {
        fail_at(t_[pos_], "syntax error: the body of " + name + " has no closing '}'");
        return false;
    }
    pos_ = end;
    copy_body(start, pos_);
    out_.functions.push_back(f);
    return true;
}

// "float4(a, b) = expression;" at at, where a statement starts: the index of its ';', or 0.
size_t Parser::constructor_assignment(size_t at, size_t end, unsigned& size) const {
    const Token& t = t_[at];
    if (t.kind != Token_Kind::Identifier || at + 1 >= end || t_[at + 1].text != "(" || at == 0) return 0;
    const std::string& before = t_[at - 1].text;
    if (t_[at - 1].kind == Token_Kind::String || !(before == "{" || before == "}" || before == ";" || before == ")" || before == "else"))
        return 0;
    static const char* const types[] = {"float", "half", "double", "min16float"};
    size = 0;
    for (const char* type : types) {
        size_t n = strlen(type);
        if (t.text.size() == n + 1 && t.text.compare(0, n, type) == 0 && t.text[n] >= '2' && t.text[n] <= '4')
            size = static_cast<unsigned>(t.text[n] - '0');
    }
    if (!size) return 0;
    size_t close = skip_balanced(at + 1);
    if (close >= end || t_[close].text != "=" || t_[close].kind != Token_Kind::Punct) return 0;
    for (size_t i = close + 1; i < end; ++i) {
        if (t_[i].kind != Token_Kind::Punct) continue;
        if (t_[i].text == ";") return i;
        if (t_[i].text == "(" || t_[i].text == "[") i = skip_balanced(i) - 1;
        else if (t_[i].text == "{" || t_[i].text == "}" || t_[i].text == ")" || t_[i].text == "]") return 0;
    }
    return 0;
}

// "(float[4])operand" initialising an array declared as "name[n] =": the index just past the
// operand (a name or a parenthesised expression, with any members, indices and calls after it), or 0.
size_t Parser::array_cast(size_t at, size_t end, unsigned& count) const {
    if (at < 2 || at + 6 >= end || t_[at].text != "(" || t_[at - 1].text != "=" || t_[at - 2].text != "]" ||
        t_[at + 2].text != "[" || t_[at + 4].text != "]" || t_[at + 5].text != ")")
        return 0;
    D3DXPARAMETER_TYPE type;
    double n = 0;
    auto constant = constants_.find(t_[at + 3].text);
    if (constant != constants_.end()) n = constant->second;
    else if (t_[at + 3].kind != Token_Kind::Number || !number_value(t_[at + 3].text, n)) return 0;
    if (!scalar_type(t_[at + 1].text, type) || !(n >= 1 && n <= 16)) return 0;
    count = static_cast<unsigned>(n);
    size_t i = at + 6;
    if (t_[i].text == "(") i = skip_balanced(i);
    else if (t_[i].kind == Token_Kind::Identifier) ++i;
    else return 0;
    while (i < end) {
        if (t_[i].text == "." && i + 1 < end && t_[i + 1].kind == Token_Kind::Identifier) i += 2;
        else if (t_[i].text == "[" || t_[i].text == "(") i = skip_balanced(i);
        else break;
    }
    return i <= end ? i : 0;
}

// Copies a function, writing two forms HLSL allows and the compiler behind us does not in forms it
// takes: casts of a vector to an array (see array_cast), and assignments through a vector
// constructor, as a temporary taken apart in order:
//   { float4 orvex_v = float4(expression); int orvex_k = 0; orvex_part(a, orvex_v, orvex_k); ... }
// orvex_part has one overload per destination size, so the destinations' types decide the split.
void Parser::copy_body(size_t begin, size_t end) {
    unsigned size = 0, count = 0;
    size_t first = begin;
    while (first < end && !constructor_assignment(first, end, size) && !array_cast(first, end, count)) ++first;
    if (first == end) {
        copy(begin, end);
        return;
    }
    bool parts = false;
    for (size_t i = first; i < end && !parts; ++i) parts = constructor_assignment(i, end, size) != 0;
    if (parts && !part_helpers_) {
        part_helpers_ = true;
        emit(t_[begin],
             "void orvex_part(out float d, float4 v, inout int k) { d = v[k]; k += 1; }\n"
             "void orvex_part(out float2 d, float4 v, inout int k) { d = float2(v[k], v[k + 1]); k += 2; }\n"
             "void orvex_part(out float3 d, float4 v, inout int k) { d = float3(v[k], v[k + 1], v[k + 2]); k += 3; }\n"
             "void orvex_part(out float4 d, float4 v, inout int k) { d = v; k += 4; }\n");
    }
    copy(begin, first);
    for (size_t i = first; i < end;) {
        if (size_t operand_end = array_cast(i, end, count)) {
            // float a[4] = (float[4])v;  ->  float a[4] = { float((v)[0]), ..., float((v)[3]) };
            const Token& at = t_[i];
            emit(at, "{");
            for (unsigned k = 0; k < count; ++k) {
                emit(at, std::string(k ? ", " : "") + t_[i + 1].text + "((");
                copy(i + 6, operand_end);
                emit(at, ")[" + std::to_string(k) + "])");
            }
            emit(at, "}");
            i = operand_end;
            continue;
        }
        size_t stop = constructor_assignment(i, end, size);
        if (!stop) {
            copy(i, i + 1);
            ++i;
            continue;
        }
        const Token& at = t_[i];
        size_t close = skip_balanced(i + 1);
        emit(at, "{ float4 orvex_v = float4(");
        copy(close + 1, stop);
        for (unsigned k = size; k < 4; ++k) emit(at, ", 0");
        emit(at, "); int orvex_k = 0;");
        size_t arg = i + 2;
        int level = 0;
        for (size_t k = i + 2; k < close; ++k) {
            const std::string& s = t_[k].text;
            const bool punct = t_[k].kind == Token_Kind::Punct;
            if (k + 1 < close) {  // close - 1 is the constructor's ')'
                if (punct && (s == "(" || s == "[")) ++level;
                else if (punct && (s == ")" || s == "]")) --level;
                if (!(punct && s == "," && level == 0)) continue;
            }
            emit(at, "orvex_part(");
            copy(arg, k);
            emit(at, ", orvex_v, orvex_k);");
            arg = k + 1;
        }
        emit(at, "}");
        i = stop + 1;
    }
}

bool Parser::parse_variable_tail(const Type_Info& type, bool is_static, bool shared, bool column_major,
                                 const std::string& first_name, size_t decl_start) {
    std::string name = first_name;
    const Token& at = t_[decl_start];
    if (is_static) {
        // Not a parameter: the compiler sees it as it is, annotations left out.
        bool constant = false;
        for (size_t i = decl_start; i < pos_; ++i) constant = constant || t_[i].text == "const";
        if (constant) note_constant(type, name);
        size_t copy_from = decl_start;
        while (!at_end() && !is(";")) {
            if (is("<") && pos_ > 0 && t_[pos_ - 1].kind == Token_Kind::Identifier) {
                copy(copy_from, pos_);
                std::vector<Parameter> ignored;
                if (!parse_annotations(ignored)) return false;
                copy_from = pos_;
                continue;
            }
            if (is("{") || is("(")) pos_ = skip_balanced(pos_);
            else ++pos_;
        }
        if (!expect(";")) return false;
        copy(copy_from, pos_);
        return true;
    }
    for (;;) {
        Parameter p;
        p.name = name;
        p.cls = type.cls;
        p.type = type.type;
        p.rows = type.rows;
        p.columns = type.columns;
        p.column_major = column_major;
        p.flags = shared ? D3DX_PARAMETER_SHARED : 0;
        if (find_parameter(name)) {
            fail("redefinition of '" + name + "'");
            return false;
        }
        if (!parse_array(p.elements)) return false;
        if (!parse_semantic(p.semantic, p.register_index)) return false;
        if (!parse_annotations(p.annotations)) return false;
        if (type.type == D3DXPT_UNSUPPORTED || type.type == D3DXPT_VOID) {
            if (type.cls == D3DXPC_STRUCT) {
                // Struct parameters: the compiler sees the declaration; values come by SetValue.
                std::string decl = type.spelling + " " + name;
                if (p.elements) decl += "[" + std::to_string(p.elements) + "]";
                emit(at, decl + ";");
                p.rows = p.columns = 0;
                if (accept("=")) {
                    fail("initialisers of struct parameters are not supported");
                    return false;
                }
            } else {
                fail("unknown type '" + type.spelling + "'");
                return false;
            }
        } else if (accept("=")) {
            if (p.is_numeric()) {
                std::vector<double> values;
                if (!parse_initializer(values, 0)) return false;
                store_value(p, values);
            } else if (p.type == D3DXPT_STRING) {
                if (at_end() || t_[pos_].kind != Token_Kind::String) {
                    fail("a string needs a string value");
                    return false;
                }
                const std::string& s = t_[pos_++].text;
                p.string_value = s.substr(1, s.size() >= 2 ? s.size() - 2 : 0);
            } else if (p.is_sampler()) {
                if (!(!at_end() && ci(t_[pos_].text, "sampler_state"))) {
                    fail("a sampler is initialised with sampler_state { ... }");
                    return false;
                }
                ++pos_;
                if (!expect("{")) return false;
                while (!accept("}")) {
                    if (at_end()) return expect("}");
                    std::vector<State_Assignment> states;
                    if (!parse_assignment(states, nullptr, nullptr, &p)) return false;
                }
            } else if ((p.type == D3DXPT_VERTEXSHADER || p.type == D3DXPT_PIXELSHADER) && p.elements) {
                if (!parse_shader_array(p)) return false;
            } else if (p.type == D3DXPT_VERTEXSHADER || p.type == D3DXPT_PIXELSHADER) {
                if (!parse_shader_value(p.shader, p.type == D3DXPT_VERTEXSHADER)) return false;
            } else {
                fail("'" + name + "' cannot be initialised");
                return false;
            }
        }
        if (p.is_numeric()) {
            if (p.value.empty()) p.value.assign(p.components(), Component{});
            std::string decl = std::string(column_major ? "column_major " : "") + type.spelling + " " + name;
            if (p.elements) decl += "[" + std::to_string(p.elements) + "]";
            emit(at, decl + ";");
        } else if (p.is_sampler()) {
            const char* kind = p.type == D3DXPT_SAMPLERCUBE ? "samplerCUBE"
                               : p.type == D3DXPT_SAMPLER3D ? "sampler3D"
                               : p.type == D3DXPT_SAMPLER1D ? "sampler1D"
                                                            : "sampler2D";
            std::string decl = std::string(kind) + " " + name;
            if (p.elements) decl += "[" + std::to_string(p.elements) + "]";
            emit(at, decl + ";");
        }
        parameter_index_[p.name] = out_.parameters.size();
        out_.parameters.push_back(std::move(p));
        if (accept(";")) return true;
        if (!expect(",")) return false;
        if (!identifier(name)) return false;
    }
}

// static const int N = 4; sizes arrays declared after it. Only plain constant arithmetic counts;
// anything else stays the compiler's business.
void Parser::note_constant(const Type_Info& type, const std::string& name) {
    if (type.cls != D3DXPC_SCALAR || !(type.type == D3DXPT_INT || type.type == D3DXPT_FLOAT) || !is("=")) return;
    size_t end = pos_ + 1;
    while (end < t_.size() && t_[end].text != ";" && t_[end].text != ",") {
        const Token& k = t_[end];
        bool known = k.kind == Token_Kind::Number || (k.kind == Token_Kind::Identifier && constants_.count(k.text)) ||
                     (k.kind == Token_Kind::Punct && k.text.size() == 1 && strchr("+-*/()", k.text[0]));
        if (!known) return;
        ++end;
    }
    const size_t save = pos_++;
    const size_t errors = errors_.size();
    double v = 0;
    if (parse_number_expression(v, 0) && pos_ == end) constants_[name] = type.type == D3DXPT_INT ? int_bits(v) : v;
    pos_ = save;
    failed_ = false;  // a malformed constant is reported by the compiler, where it is used
    errors_.resize(errors);
}

bool Parser::parse_reference(std::string& name) {
    // <name> or (name)
    const char* close = accept("<") ? ">" : accept("(") ? ")" : nullptr;
    if (!close) return false;
    if (!identifier(name)) return false;
    return expect(close);
}

bool Parser::parse_shader_value(Shader_Ref& ref, bool vertex) {
    ref.present = true;
    ref.file = cur().file;
    ref.line = cur().line;
    if (accept("NULL") || accept("null")) {
        ref.null = true;
        return true;
    }
    if (is("asm") || is("ASM")) {
        fail("shader assembly (asm { ... }) is not supported; use compile");
        return false;
    }
    if (!(!at_end() && ci(t_[pos_].text, "compile"))) return parse_shader_variable(ref, vertex);
    ++pos_;
    if (!identifier(ref.profile)) return false;
    static const char* const vs_profiles[] = {"vs_1_1", "vs_2_0", "vs_2_a", "vs_2_sw", "vs_3_0", "vs_3_sw"};
    static const char* const ps_profiles[] = {"ps_1_1", "ps_1_2", "ps_1_3", "ps_1_4", "ps_2_0",
                                              "ps_2_a", "ps_2_b", "ps_2_sw", "ps_3_0", "ps_3_sw"};
    bool known = false;
    if (vertex) {
        for (const char* v : vs_profiles) known = known || ref.profile == v;
    } else {
        for (const char* v : ps_profiles) known = known || ref.profile == v;
    }
    if (!known) {
        fail("invalid " + std::string(vertex ? "vertex" : "pixel") + " shader profile '" + ref.profile + "'");
        return false;
    }
    if (!identifier(ref.entry)) return false;
    if (!is("(")) return expect("(");
    size_t end = skip_balanced(pos_);
    if (end > t_.size() || t_[end - 1].text != ")") return expect(")");
    size_t arg_start = pos_ + 1;
    int level = 0;
    for (size_t i = pos_ + 1; i < end - 1; ++i) {
        const std::string& s = t_[i].text;
        if (t_[i].kind == Token_Kind::Punct && (s == "(" || s == "[" || s == "{")) ++level;
        else if (t_[i].kind == Token_Kind::Punct && (s == ")" || s == "]" || s == "}")) --level;
        else if (t_[i].kind == Token_Kind::Punct && s == "," && level == 0) {
            ref.args.push_back(spell_tokens(t_, arg_start, i));
            arg_start = i + 1;
        }
    }
    if (arg_start < end - 1) ref.args.push_back(spell_tokens(t_, arg_start, end - 1));
    pos_ = end;
    return true;
}

// A shader variable: vs, (vs) or <vs>; an element of a shader array: vs[2], or vs[Index] for the
// element an int parameter names when the pass begins.
bool Parser::parse_shader_variable(Shader_Ref& ref, bool vertex) {
    const Token at = cur();
    const char* close = accept("<") ? ">" : accept("(") ? ")" : nullptr;
    std::string name, selector;
    if (!identifier(name)) return false;
    bool indexed = false;
    double index = 0;
    if (accept("[")) {
        indexed = true;
        const Parameter* s = at_end() || constants_.count(t_[pos_].text) ? nullptr : find_parameter(t_[pos_].text);
        if (s) {
            if (!s->is_numeric() || s->elements || s->cls != D3DXPC_SCALAR) {
                fail("the shader index '" + s->name + "' must be an int");
                return false;
            }
            selector = t_[pos_++].text;
        } else if (!parse_number_expression(index, 0)) {
            return false;
        }
        if (!expect("]")) return false;
    }
    if (close && !expect(close)) return false;
    const Parameter* p = find_parameter(name);
    if (!p || (p->type != (vertex ? D3DXPT_VERTEXSHADER : D3DXPT_PIXELSHADER))) {
        fail_at(at, "'" + name + "' is no " + (vertex ? "vertex" : "pixel") + " shader");
        return false;
    }
    if (indexed != (p->elements > 0)) {
        fail_at(at, "'" + name + (indexed ? "' is no array of shaders" : "' is an array: name one of its shaders"));
        return false;
    }
    if (!selector.empty()) {
        if (p->shader.elements.empty()) {
            fail_at(at, "'" + name + "' holds no shaders");
            return false;
        }
        ref = p->shader;
        ref.selector = selector;
    } else if (indexed) {
        if (!(index >= 0 && index < static_cast<double>(p->shader.elements.size()))) {
            fail_at(at, "the index of '" + name + "' is out of range");
            return false;
        }
        ref = p->shader.elements[static_cast<size_t>(index)];
    } else {
        ref = p->shader;
    }
    return true;
}

// VertexShader name[n] = { compile ..., compile ..., ... };
bool Parser::parse_shader_array(Parameter& p) {
    const bool vertex = p.type == D3DXPT_VERTEXSHADER;
    p.shader.present = true;
    p.shader.file = cur().file;
    p.shader.line = cur().line;
    if (!expect("{")) return false;
    while (!accept("}")) {
        if (at_end()) return expect("}");
        Shader_Ref element;
        if (!parse_shader_value(element, vertex)) return false;
        if (!element.selector.empty()) {
            fail("a shader array holds shaders, not a choice among them");
            return false;
        }
        p.shader.elements.push_back(std::move(element));
        if (!accept(",") && !is("}")) return expect("}");
    }
    if (p.shader.elements.size() != p.elements) {
        fail("'" + p.name + "' has " + std::to_string(p.elements) + " elements but " +
             std::to_string(p.shader.elements.size()) + " shaders");
        return false;
    }
    return true;
}

bool Parser::parse_state_value(const State_Info& info, State_Assignment& a, const std::string& state_name) {
    // (param) or <param>: read at BeginPass.
    size_t save = pos_;
    std::string ref;
    if ((is("<") || is("(")) && pos_ + 2 < t_.size() && t_[pos_ + 1].kind == Token_Kind::Identifier &&
        (t_[pos_ + 2].text == ">" || t_[pos_ + 2].text == ")") && find_parameter(t_[pos_ + 1].text)) {
        parse_reference(ref);
        a.parameter = ref;
        return true;
    }
    pos_ = save;
    uint32_t value = 0;
    bool any = false;
    for (;;) {
        bool negative = accept("-");
        if (at_end()) return expect(";");
        const Token& t = t_[pos_];
        uint32_t term = 0;
        if (t.kind == Token_Kind::Number) {
            double v = 0;
            number_value(t.text, v);
            if (negative) v = -v;
            if (info.value_kind == Value_Kind::Float) {
                float f = static_cast<float>(v);
                memcpy(&term, &f, 4);
            } else {
                term = static_cast<uint32_t>(int_bits(v));
            }
        } else if (t.kind == Token_Kind::Identifier) {
            bool found_value = false;
            if (info.value_kind == Value_Kind::Enum) found_value = find_state_value(info.value_table, t.text, term);
            if (!found_value && info.value_kind == Value_Kind::Color_Mask) found_value = find_state_value("mask", t.text, term);
            if (!found_value) found_value = find_state_value("bool", t.text, term);
            if (!found_value) {
                if (const Parameter* p = find_parameter(t.text)) {
                    (void)p;
                    a.parameter = t.text;
                    ++pos_;
                    return true;
                }
                fail("unknown value '" + t.text + "' for state " + state_name);
                return false;
            }
            if (info.value_kind == Value_Kind::Float) {
                float f = static_cast<float>(term);
                memcpy(&term, &f, 4);
            }
        } else {
            fail("syntax error: unexpected " + found() + " in the value of " + state_name);
            return false;
        }
        ++pos_;
        value |= term;
        any = true;
        if (!accept("|")) break;
    }
    a.value = value;
    return any;
}

bool Parser::parse_assignment(std::vector<State_Assignment>& states, Shader_Ref* vs, Shader_Ref* ps,
                              Parameter* sampler) {
    const Token at = cur();
    std::string name;
    if (!identifier(name)) return false;
    State_Assignment a;
    a.file = at.file;
    a.line = at.line;
    if (!find_state(name, a.info)) {
        fail_at(at, "unknown state '" + name + "'");
        return false;
    }
    if (accept("[")) {
        double v = 0;
        if (!parse_number_expression(v, 0)) return false;
        if (v < 0 || v > 255) {
            fail("state index out of range");
            return false;
        }
        a.index = static_cast<uint32_t>(v);
        if (!expect("]")) return false;
    }
    if (!expect("=")) return false;
    switch (a.info.kind) {
    case State_Kind::Vertex_Shader:
    case State_Kind::Pixel_Shader: {
        bool vertex = a.info.kind == State_Kind::Vertex_Shader;
        Shader_Ref* target = vertex ? vs : ps;
        if (!target) {
            fail_at(at, "'" + name + "' cannot be set here");
            return false;
        }
        if (!parse_shader_value(*target, vertex)) return false;
        break;
    }
    case State_Kind::Texture: {
        std::string ref;
        if (accept("NULL") || accept("null")) {
            ref = "";
        } else if (!parse_reference(ref)) {
            if (failed_ || !identifier(ref)) return false;
        }
        if (!ref.empty()) {
            const Parameter* p = find_parameter(ref);
            if (!p || !p->is_texture()) {
                fail_at(at, "'" + ref + "' is no texture");
                return false;
            }
        }
        if (sampler) sampler->texture = ref;
        else {
            a.parameter = ref;
            states.push_back(a);
        }
        break;
    }
    case State_Kind::Sampler_Object: {
        std::string ref;
        if (!parse_reference(ref)) {
            if (failed_ || !identifier(ref)) return false;
        }
        const Parameter* p = find_parameter(ref);
        if (!p || !p->is_sampler() || sampler) {
            fail_at(at, "'" + ref + "' is no sampler");
            return false;
        }
        a.parameter = ref;
        states.push_back(a);
        break;
    }
    case State_Kind::Sampler:
        if (!parse_state_value(a.info, a, name)) return false;
        if (sampler) {
            sampler->sampler_states.push_back({a.info.id, a.value, a.parameter, a.info.value_kind});
        } else {
            states.push_back(a);
        }
        break;
    default:
        if (sampler) {
            fail_at(at, "'" + name + "' is no sampler state");
            return false;
        }
        if (!parse_state_value(a.info, a, name)) return false;
        states.push_back(a);
        break;
    }
    return expect(";");
}

bool Parser::parse_pass(Pass& pass) {
    ++pos_;  // pass
    if (!at_end() && t_[pos_].kind == Token_Kind::Identifier) pass.name = t_[pos_++].text;
    if (!parse_annotations(pass.annotations)) return false;
    if (!expect("{")) return false;
    while (!accept("}")) {
        if (at_end()) return expect("}");
        if (!parse_assignment(pass.states, &pass.vertex_shader, &pass.pixel_shader, nullptr)) return false;
    }
    return true;
}

bool Parser::parse_technique() {
    ++pos_;
    Technique tech;
    if (!at_end() && t_[pos_].kind == Token_Kind::Identifier) tech.name = t_[pos_++].text;
    if (!parse_annotations(tech.annotations)) return false;
    if (!expect("{")) return false;
    while (!accept("}")) {
        if (at_end()) return expect("}");
        if (!ci(t_[pos_].text, "pass")) {
            fail("syntax error: expected 'pass' but found " + found());
            return false;
        }
        Pass pass;
        if (!parse_pass(pass)) return false;
        tech.passes.push_back(std::move(pass));
    }
    out_.techniques.push_back(std::move(tech));
    return true;
}

}  // namespace

bool shader_variants(const Pass& pass, std::vector<std::pair<Shader_Ref, Shader_Ref>>& variants, std::string& error) {
    auto choices = [](const Shader_Ref& r) { return r.selector.empty() ? size_t(1) : r.elements.size(); };
    const size_t vertex = choices(pass.vertex_shader), pixel = choices(pass.pixel_shader);
    if (vertex * pixel > kMaxShaderVariants) {
        error = "a pass chooses among " + std::to_string(vertex * pixel) + " pairs of shaders; at most " +
                std::to_string(kMaxShaderVariants) + " are compiled";
        return false;
    }
    variants.clear();
    for (size_t v = 0; v < vertex; ++v)
        for (size_t p = 0; p < pixel; ++p)
            variants.emplace_back(pass.vertex_shader.selector.empty() ? pass.vertex_shader : pass.vertex_shader.elements[v],
                                  pass.pixel_shader.selector.empty() ? pass.pixel_shader : pass.pixel_shader.elements[p]);
    return true;
}

bool parse_effect(const std::vector<Token>& tokens, const std::vector<std::string>& files,
                  Effect_Description& out, std::string& errors) {
    out = Effect_Description();
    Parser p(tokens, files, out);
    return p.run(errors);
}

}  // namespace orvex_fx
