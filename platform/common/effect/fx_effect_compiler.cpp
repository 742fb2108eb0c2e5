#include "common/effect/fx_effect_compiler.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "common/effect/fx_entry_wrapper.h"
#include "common/effect/fx_loop_guard.h"
#include "common/effect/fx_parser.h"
#include "common/effect/fx_preprocessor.h"
#include "foundation/file_path.h"

namespace orvex_fx {

bool read_text_file(const std::string& path, std::string& text) {
    std::string resolved = resolve_path(path.c_str());
    FILE* f = fopen(resolved.c_str(), "rb");
    if (!f) return false;
    text.clear();
    char buffer[65536];
    size_t n;
    bool ok = true;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        text.append(buffer, n);
        if (text.size() > (64u << 20)) {  // no effect is this large; stop reading
            ok = false;
            break;
        }
    }
    if (ferror(f)) ok = false;
    fclose(f);
    return ok;
}

namespace {

std::string directory_of(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The HLSL body as text, remembering where every line came from.
struct Source_Text {
    std::string text;
    std::vector<std::pair<int, int>> origin;  // output line (0-based) -> (file, line)
};

Source_Text write_body(const std::vector<Token>& tokens) {
    Source_Text s;
    s.text = "#pragma pack_matrix(row_major)\n" + loop_budget_declaration();
    for (char c : s.text)
        if (c == '\n') s.origin.push_back({-1, 0});  // the preamble
    s.origin.push_back({-1, 0});  // the line being written
    int file = -2, line = -1;
    bool empty_line = true;
    for (const Token& t : tokens) {
        bool pragma = t.line_start && t.text == "#";
        if (t.file != file || t.line != line || pragma) {
            if (!empty_line) {
                s.text += '\n';
                s.origin.push_back({t.file, t.line});
            } else {
                s.origin.back() = {t.file, t.line};
            }
            file = t.file;
            line = t.line;
            empty_line = true;
        } else if (t.space_before && !empty_line) {
            s.text += ' ';
        }
        s.text += t.text;
        empty_line = false;
    }
    s.text += '\n';
    s.origin.push_back({-1, 0});
    return s;
}

// glslang's "ERROR: 0:12: message" -> "file(line): error: message".
void translate_log(const std::string& log, const Source_Text& body, const std::vector<std::string>& files,
                   const Shader_Ref& ref, std::string& messages) {
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        std::string l = log.substr(start, end - start);
        start = end + 1;
        const char* kind = nullptr;
        size_t rest = 0;
        if (l.compare(0, 7, "ERROR: ") == 0) { kind = "error"; rest = 7; }
        else if (l.compare(0, 9, "WARNING: ") == 0) { kind = "warning"; rest = 9; }
        if (!kind) continue;
        std::string text = l.substr(rest);
        int file = ref.file, line = ref.line;
        // "0:12: ..." (source string 0, line 12)
        if (text.size() > 2 && text[0] == '0' && text[1] == ':') {
            char* after = nullptr;
            long n = strtol(text.c_str() + 2, &after, 10);
            if (after && *after == ':') {
                text = std::string(after + 1);
                if (n >= 1 && static_cast<size_t>(n) <= body.origin.size() && body.origin[n - 1].first >= 0) {
                    file = body.origin[n - 1].first;
                    line = body.origin[n - 1].second;
                }
            }
        } else if (text.find("compilation errors") != std::string::npos || text.find("No code generated") != std::string::npos) {
            continue;
        }
        while (!text.empty() && text[0] == ' ') text.erase(0, 1);
        const std::string& path = files.empty() ? std::string("effect") : files[file >= 0 && file < static_cast<int>(files.size()) ? file : 0];
        messages += path + "(" + std::to_string(line) + "): " + kind + ": " + text + "\n";
    }
}

class Effect_Compiler {
public:
    Effect_Compiler(Compiled_Effect& out, const std::vector<std::string>& files, std::string& messages)
        : out_(out), files_(files), messages_(messages) {}

    bool run() {
        const Effect_Description& fx = out_.description;
        // A shader reads its parameters from one uniform block, which GL keeps to 64 KB; larger
        // sets of parameters are refused before the compiler spends its time on them.
        size_t bytes = 0;
        for (const Parameter& p : fx.parameters)
            if (p.is_numeric()) bytes += 16 * static_cast<size_t>(p.rows) * (p.elements ? p.elements : 1);
        bool programmable = false;
        for (const Technique& t : fx.techniques)
            for (const Pass& p : t.passes)
                programmable = programmable || (p.vertex_shader.present && !p.vertex_shader.null) ||
                               (p.pixel_shader.present && !p.pixel_shader.null);
        if (programmable && bytes > 65536) {
            messages_ += (files_.empty() ? std::string("effect") : files_[0]) +
                         "(1): error: the parameters need " + std::to_string(bytes) +
                         " bytes of constants; shaders can read at most 65536\n";
            return false;
        }
        body_ = write_body(guard_loops(fx.hlsl));
        out_.passes.resize(fx.techniques.size());
        for (size_t t = 0; t < fx.techniques.size(); ++t) {
            for (const Pass& p : fx.techniques[t].passes) {
                Compiled_Pass cp;
                if (!compile_pass(p, cp)) return false;
                out_.passes[t].push_back(std::move(cp));
            }
        }
        return true;
    }

private:
    Compiled_Effect& out_;
    const std::vector<std::string>& files_;
    std::string& messages_;
    Source_Text body_;
    std::map<std::string, std::shared_ptr<const Compiled_Stage>> cache_;
    std::map<std::string, std::string> failures_;
    std::map<std::string, Compiled_Pass> passes_;

    void fail(const Shader_Ref& ref, const std::string& message) {
        const std::string& path = files_.empty() ? std::string("effect") : files_[ref.file < static_cast<int>(files_.size()) ? ref.file : 0];
        messages_ += path + "(" + std::to_string(ref.line) + "): error: " + message + "\n";
    }

    std::shared_ptr<const Compiled_Stage> stage(const Shader_Ref& ref, Stage st, const std::string& wrapper,
                                                const std::string& key) {
        auto hit = cache_.find(key);
        if (hit != cache_.end()) return hit->second;
        auto failed = failures_.find(key);
        if (failed != failures_.end()) {
            messages_ += failed->second;
            return nullptr;
        }
        auto compiled = std::make_shared<Compiled_Stage>();
        std::string log;
        std::string source = body_.text + wrapper;
        bool ok = compile_hlsl(source, st == Stage::Vertex ? kVertexEntry : kPixelEntry, st,
                               st == Stage::Vertex ? "orvex_vs_globals" : "orvex_ps_globals", *compiled, log);
        std::string translated;
        translate_log(log, body_, files_, ref, translated);
        if (!ok && translated.empty()) {
            const std::string& path = files_.empty() ? std::string("effect") : files_[ref.file < static_cast<int>(files_.size()) ? ref.file : 0];
            translated = path + "(" + std::to_string(ref.line) + "): error: " + ref.entry + " does not compile\n";
        }
        messages_ += translated;
        if (!ok) {
            failures_[key] = translated;
            return nullptr;
        }
        cache_[key] = compiled;
        return compiled;
    }

    static std::string key_of(const char* stage, const Shader_Ref& ref, const std::vector<std::string>& link) {
        std::string k = std::string(stage) + '\n' + ref.profile + '\n' + ref.entry;
        for (const std::string& a : ref.args) k += '\n' + a;
        k += "\n|";
        for (const std::string& l : link) k += '\n' + l;
        return k;
    }

    const Parameter* parameter(const std::string& name) const {
        for (const Parameter& p : out_.description.parameters)
            if (p.name == name) return &p;
        return nullptr;
    }

    void bind_samplers(const Compiled_Stage& st, bool vertex, Compiled_Pass& cp) {
        std::vector<uint32_t> taken;
        for (const std::string& s : st.reflection.samplers) {
            const Parameter* p = parameter(s);
            if (p && p->register_index >= 0) taken.push_back(static_cast<uint32_t>(p->register_index));
        }
        uint32_t next = 0;
        // Registers follow the order of declaration, as samplers are numbered by the compiler.
        for (const Parameter& p : out_.description.parameters) {
            if (!p.is_sampler()) continue;
            bool used = false;
            for (const std::string& s : st.reflection.samplers) used = used || s == p.name;
            if (!used) continue;
            uint32_t reg;
            if (p.register_index >= 0) {
                reg = static_cast<uint32_t>(p.register_index);
            } else {
                while (std::find(taken.begin(), taken.end(), next) != taken.end()) ++next;
                reg = next++;
            }
            cp.samplers.push_back({p.name, p.name, vertex ? kVertexSamplerBase + reg : reg});
        }
    }

    bool compile_pass(const Pass& p, Compiled_Pass& cp) {
        if (p.vertex_shader.selector.empty() && p.pixel_shader.selector.empty())
            return compile_shaders(p.vertex_shader, p.pixel_shader, cp);
        std::vector<std::pair<Shader_Ref, Shader_Ref>> variants;
        std::string error;
        if (!shader_variants(p, variants, error)) {
            fail(p.vertex_shader.selector.empty() ? p.pixel_shader : p.vertex_shader, error);
            return false;
        }
        std::vector<Compiled_Pass> compiled(variants.size());
        for (size_t v = 0; v < variants.size(); ++v)
            if (!compile_shaders(variants[v].first, variants[v].second, compiled[v])) return false;
        cp = compiled.front();
        cp.variants = std::move(compiled);
        return true;
    }

    bool compile_shaders(const Shader_Ref& vertex, const Shader_Ref& pixel, Compiled_Pass& cp) {
        bool vs = vertex.present && !vertex.null;
        bool ps = pixel.present && !pixel.null;
        cp.programmable = vs || ps;
        if (!cp.programmable) return true;
        // Passes that compile the same statements share everything compiled for the first.
        std::string pass_key = key_of(vs ? "vs" : "vs-fixed", vertex, {}) + '\n' + key_of(ps ? "ps" : "ps-fixed", pixel, {});
        auto same = passes_.find(pass_key);
        if (same != passes_.end()) {
            cp = same->second;
            return true;
        }
        Pass p;
        p.vertex_shader = vertex;
        p.pixel_shader = pixel;
        if (!compile_new_pass(p, cp, vs, ps)) return false;
        passes_.emplace(std::move(pass_key), cp);
        return true;
    }

    bool compile_new_pass(const Pass& p, Compiled_Pass& cp, bool vs, bool ps) {
        const Effect_Description& fx = out_.description;
        std::string error;
        std::vector<std::string> ps_in;
        if (ps && !pixel_inputs(fx, p.pixel_shader, ps_in, error)) {
            fail(p.pixel_shader, error);
            return false;
        }
        std::vector<std::string> vs_out;
        if (vs) {
            std::string wrapper;
            if (!vertex_entry(fx, p.vertex_shader, ps_in, wrapper, vs_out, error)) {
                fail(p.vertex_shader, error);
                return false;
            }
            cp.vertex = stage(p.vertex_shader, Stage::Vertex, wrapper, key_of("vs", p.vertex_shader, ps_in));
            if (!cp.vertex) return false;
            bind_samplers(*cp.vertex, true, cp);
        } else {
            auto fixed = std::make_shared<Compiled_Stage>();
            fixed->glsl = fixed_vertex_glsl(ps_in);
            for (const std::string& s : ps_in)
                if (s == "COLOR0" || s == "COLOR1" || s.compare(0, 8, "TEXCOORD") == 0) fixed->reflection.vertex_inputs.push_back(s);
            fixed->reflection.vertex_inputs.insert(fixed->reflection.vertex_inputs.begin(), "POSITION0");
            cp.vertex = fixed;
            cp.vertex_fixed = true;
        }
        if (ps) {
            std::string wrapper;
            if (!pixel_entry(fx, p.pixel_shader, wrapper, error)) {
                fail(p.pixel_shader, error);
                return false;
            }
            cp.pixel = stage(p.pixel_shader, Stage::Pixel, wrapper, key_of("ps", p.pixel_shader, {}));
            if (!cp.pixel) return false;
            bind_samplers(*cp.pixel, false, cp);
        } else {
            auto fixed = std::make_shared<Compiled_Stage>();
            fixed->glsl = fixed_pixel_glsl(vs_out);
            cp.pixel = fixed;
            cp.pixel_fixed = true;
        }
        return true;
    }
};

}  // namespace

bool compile_effect(const std::string& text, const std::string& path, const D3DXMACRO* defines,
                    ID3DXInclude* include, Compiled_Effect& out, std::string& messages) {
    Include_Reader reader = [include](const std::string& name, const std::string& includer, bool system,
                                      std::string& body, std::string& found) -> bool {
        if (include) {
            LPCVOID data = nullptr;
            UINT bytes = 0;
            if (FAILED(include->Open(system ? D3DXINC_SYSTEM : D3DXINC_LOCAL, name.c_str(), nullptr, &data, &bytes)) || !data)
                return false;
            body.assign(static_cast<const char*>(data), bytes);
            include->Close(data);
            found = name;
            return true;
        }
        found = (name.size() > 0 && (name[0] == '/' || name[0] == '\\')) ? name : directory_of(includer) + name;
        return read_text_file(found, body);
    };
    Preprocessor pp(reader);
    for (const D3DXMACRO* d = defines; d && d->Name; ++d) pp.define(d->Name, d->Definition ? d->Definition : "");
    Preprocessed source = pp.run(text, path);
    messages += source.errors;
    if (!source.ok) return false;
    out = Compiled_Effect();
    if (!parse_effect(source.tokens, source.files, out.description, messages)) return false;
    Effect_Compiler compiler(out, source.files, messages);
    return compiler.run();
}

}  // namespace orvex_fx
