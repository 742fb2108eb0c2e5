#include "d3dx_effect.h"

#include <cstdio>
#include <cstring>

#include "common/effect/effect_creation.h"
#include "common/effect/fx_entry_wrapper.h"

using orvex_fx::Block_Member;
using orvex_fx::Compiled_Pass;
using orvex_fx::Compiled_Stage;
using orvex_fx::Parameter;
using orvex_fx::State_Assignment;
using orvex_fx::State_Kind;

namespace {

const GLuint kVertexBinding = 14, kPixelBinding = 15;

// The device's fixed attribute location for a vertex input semantic; -1 when it has none.
GLint attribute_location(const std::string& semantic) {
    if (semantic == "POSITION0") return GL_ATTRIBUTE_POSITION;
    if (semantic == "NORMAL0") return GL_ATTRIBUTE_NORMAL;
    if (semantic == "PSIZE0") return GL_ATTRIBUTE_PSIZE;
    if (semantic == "COLOR0") return GL_ATTRIBUTE_COLOR0;
    if (semantic == "COLOR1") return GL_ATTRIBUTE_COLOR1;
    if (semantic.size() == 9 && semantic.compare(0, 8, "TEXCOORD") == 0 && semantic[8] >= '0' && semantic[8] <= '7')
        return GL_ATTRIBUTE_TEXCOORD0 + (semantic[8] - '0');
    return -1;
}

GLuint compile_shader(GLenum type, const std::string& source, std::string& log) {
    GLuint s = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(s, 1, &text, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char buffer[4096] = {0};
        glGetShaderInfoLog(s, sizeof buffer - 1, nullptr, buffer);
        log += std::string("error: GL shader: ") + buffer + "\n";
        glDeleteShader(s);
        return 0;
    }
    return s;
}

// Keeps the current GL program across uniform settings on another one.
struct Program_Scope {
    GLint previous = 0;
    explicit Program_Scope(GLuint program) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
        glUseProgram(program);
    }
    ~Program_Scope() { glUseProgram(static_cast<GLuint>(previous)); }
};

}  // namespace

D3dx_Effect::D3dx_Effect(IDirect3DDevice9* device, GL_Device* gl, orvex_fx::Compiled_Effect&& fx,
                         ID3DXEffectPool* pool)
    : D3dx_Effect_Base(device, std::move(fx), pool), gl_(gl) {}

D3dx_Effect* D3dx_Effect::create(IDirect3DDevice9* device, GL_Device* gl, orvex_fx::Compiled_Effect&& fx,
                                 ID3DXEffectPool* pool, std::string& log) {
    D3dx_Effect* e = new D3dx_Effect(device, gl, std::move(fx), pool);
    if (!e->link(log)) {
        e->Release();
        return nullptr;
    }
    return e;
}

D3dx_Effect::~D3dx_Effect() {
    gl_->MakeCurrent();
    if (pass() >= 0 || !saved_render_.empty()) gl_->SetProgramOverride(0);
    for (auto& t : saved_texture_)
        if (t.second) t.second->Release();
    for (const Program& p : programs_) {
        glDeleteProgram(p.plain.program);
        if (p.tested.program) glDeleteProgram(p.tested.program);
    }
    for (const Block& b : blocks_) glDeleteBuffers(1, &b.buffer);
}

int D3dx_Effect::block_for(const Compiled_Stage* stage) {
    if (!stage || stage->reflection.block_name.empty()) return -1;
    for (size_t i = 0; i < blocks_.size(); ++i)
        if (blocks_[i].stage == stage) return static_cast<int>(i);
    Block b;
    b.stage = stage;
    b.data.assign(stage->reflection.block_size, 0);
    for (size_t m = 0; m < stage->reflection.members.size(); ++m) {
        const std::string& name = stage->reflection.members[m].name;
        b.member_parameter.push_back(parameter_by_name(name));
        if (name == "orvex_clip_xy") b.clip_xy = static_cast<int>(m);
        if (name == "orvex_clip_z") b.clip_z = static_cast<int>(m);
        if (name == "orvex_alpha_test") b.alpha_test = static_cast<int>(m);
    }
    glGenBuffers(1, &b.buffer);
    glBindBuffer(GL_UNIFORM_BUFFER, b.buffer);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(b.data.size()), nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    blocks_.push_back(std::move(b));
    return static_cast<int>(blocks_.size() - 1);
}

bool D3dx_Effect::link_program(const Compiled_Pass& cp, bool alpha_test, Linked& out, std::string& log) {
    GLuint vs = compile_shader(GL_VERTEX_SHADER, cp.vertex->glsl, log);
    GLuint ps = vs ? compile_shader(GL_FRAGMENT_SHADER, alpha_test ? orvex_fx::with_alpha_test(cp.pixel->glsl) : cp.pixel->glsl, log) : 0;
    if (!vs || !ps) {
        if (vs) glDeleteShader(vs);
        return false;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, ps);
    // Inputs the device does not feed take free locations and read their default.
    GLint spare = GL_ATTRIBUTE_TEXCOORD0 + 8;
    for (const std::string& semantic : cp.vertex->reflection.vertex_inputs) {
        GLint location = attribute_location(semantic);
        glBindAttribLocation(program, static_cast<GLuint>(location >= 0 ? location : spare++), ("orvex_in_" + semantic).c_str());
    }
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(ps);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char buffer[4096] = {0};
        glGetProgramInfoLog(program, sizeof buffer - 1, nullptr, buffer);
        log += std::string("error: GL program: ") + buffer + "\n";
        glDeleteProgram(program);
        return false;
    }
    GLuint index_vs = glGetUniformBlockIndex(program, "orvex_vs_globals");
    GLuint index_ps = glGetUniformBlockIndex(program, "orvex_ps_globals");
    if (index_vs != GL_INVALID_INDEX) glUniformBlockBinding(program, index_vs, kVertexBinding);
    if (index_ps != GL_INVALID_INDEX) glUniformBlockBinding(program, index_ps, kPixelBinding);
    out.program = program;
    out.ff_wvp = glGetUniformLocation(program, "orvex_ff_wvp");
    out.ff_use_texture = glGetUniformLocation(program, "orvex_ff_use_texture");
    out.ff_alpha_test = glGetUniformLocation(program, "orvex_alpha_test");
    Program_Scope scope(program);
    for (const auto& s : cp.samplers) {
        GLint at = glGetUniformLocation(program, s.glsl_name.c_str());
        if (at >= 0) glUniform1i(at, static_cast<GLint>(s.sampler < orvex_fx::kVertexSamplerBase ? s.sampler : 0));
    }
    GLint ff = glGetUniformLocation(program, "orvex_ff_texture");
    if (ff >= 0) glUniform1i(ff, 0);
    return true;
}

// The program of a compiled pass, shared by every pass with the same stages: its index in
// programs_, -1 for the fixed function, -2 when GL refuses it (log says why).
int D3dx_Effect::program_for(const Compiled_Pass& cp, std::string& log) {
    if (!cp.programmable) return -1;
    for (size_t k = 0; k < programs_.size(); ++k)
        if (programs_[k].vertex == cp.vertex.get() && programs_[k].pixel == cp.pixel.get()) return static_cast<int>(k);
    Program prog;
    if (!link_program(cp, false, prog.plain, log)) return -2;
    prog.pass = &cp;
    prog.plain_only = orvex_fx::with_alpha_test(cp.pixel->glsl) == cp.pixel->glsl;
    prog.vertex = cp.vertex.get();
    prog.pixel = cp.pixel.get();
    prog.vertex_block = block_for(cp.vertex.get());
    prog.pixel_block = block_for(cp.pixel.get());
    programs_.push_back(prog);
    return static_cast<int>(programs_.size() - 1);
}

const D3dx_Effect::Linked& D3dx_Effect::linked_for(Program& p) {
    DWORD test = FALSE;
    device_->GetRenderState(D3DRS_ALPHATESTENABLE, &test);
    if (!test || p.plain_only) return p.plain;
    if (!p.tested.program) {
        // It compiled and linked without the test, so this cannot fail but for a GL limit.
        std::string log;
        p.plain_only = !link_program(*p.pass, true, p.tested, log);
        if (p.plain_only) {
            fprintf(stderr, "ID3DXEffect: the program with the alpha test does not link; drawn without it: %s", log.c_str());
            return p.plain;
        }
    }
    return p.tested;
}

void D3dx_Effect::use(Program& p, bool always) {
    const Linked& linked = linked_for(p);
    upload(p, linked);
    if (always || linked.program != used_program_) {
        used_program_ = linked.program;
        gl_->SetProgramOverride(linked.program);
    }
}

bool D3dx_Effect::link(std::string& log) {
    gl_->MakeCurrent();
    const orvex_fx::Compiled_Effect& fx = compiled();
    pass_program_.resize(fx.passes.size());
    size_t most_states = 0;
    for (size_t t = 0; t < fx.passes.size(); ++t) {
        size_t states = 0;
        pass_program_[t].resize(fx.passes[t].size());
        for (size_t p = 0; p < fx.passes[t].size(); ++p) {
            const Compiled_Pass& pass = fx.passes[t][p];
            states += fx.description.techniques[t].passes[p].states.size();
            for (size_t v = 0; v < std::max<size_t>(1, pass.variants.size()); ++v) {
                const Compiled_Pass& cp = pass.variants.empty() ? pass : pass.variants[v];
                states += 16 * cp.samplers.size();
                int index = program_for(cp, log);
                if (index < -1) return false;
                pass_program_[t][p].push_back(index);
            }
        }
        most_states = std::max(most_states, states);
    }
    // Begin saves into these; sized now so that no frame allocates.
    saved_render_.reserve(most_states);
    saved_sampler_.reserve(most_states);
    saved_stage_.reserve(most_states);
    saved_texture_.reserve(most_states);
    return true;
}

namespace {

void put(unsigned char* data, size_t size, size_t offset, Block_Member::Base base, const Parameter& p, size_t index) {
    if (offset + 4 > size) return;
    orvex_fx::Component c{};
    if (index < p.value.size()) c = p.value[index];
    float f = p.type == D3DXPT_FLOAT ? c.f : static_cast<float>(c.i);
    int32_t i = p.type == D3DXPT_FLOAT ? orvex_fx::int_bits(c.f) : c.i;
    if (base == Block_Member::Float) memcpy(data + offset, &f, 4);
    else if (base == Block_Member::Uint) {
        uint32_t u = p.type == D3DXPT_BOOL ? (c.u ? 1u : 0u) : static_cast<uint32_t>(i);
        memcpy(data + offset, &u, 4);
    } else {
        memcpy(data + offset, &i, 4);
    }
}

}  // namespace

void D3dx_Effect::fill(Block& b) {
    const auto& members = b.stage->reflection.members;
    unsigned char* data = b.data.data();
    const size_t size = b.data.size();
    for (size_t m = 0; m < members.size(); ++m) {
        int pi = b.member_parameter[m];
        if (pi < 0) continue;
        const Block_Member& mem = members[m];
        const Parameter& p = value(pi);
        if (!p.is_numeric()) continue;
        unsigned elements = std::min(mem.array_size ? mem.array_size : 1u, p.elements ? p.elements : 1u);
        unsigned per = p.rows * p.columns;
        for (unsigned e = 0; e < elements; ++e) {
            size_t base = mem.offset + static_cast<size_t>(e) * mem.array_stride;
            if (mem.columns > 1) {
                for (unsigned r = 0; r < p.rows && r < mem.columns; ++r)
                    for (unsigned c = 0; c < p.columns && c < mem.vecsize; ++c) {
                        size_t at = mem.row_major ? base + c * mem.matrix_stride + r * 4 : base + r * mem.matrix_stride + c * 4;
                        put(data, size, at, mem.base, p, e * per + r * p.columns + c);
                    }
            } else {
                for (unsigned k = 0; k < per && k < mem.vecsize; ++k) put(data, size, base + k * 4, mem.base, p, e * per + k);
            }
        }
    }
}

void D3dx_Effect::upload(const Program& p, const Linked& linked) {
    float clip[2] = {0, 0};
    gl_->ClipAdjust(clip);
    DWORD alpha[2] = {0, 0};
    DWORD test = FALSE;
    device_->GetRenderState(D3DRS_ALPHATESTENABLE, &test);
    if (test) {
        device_->GetRenderState(D3DRS_ALPHAFUNC, &alpha[0]);
        device_->GetRenderState(D3DRS_ALPHAREF, &alpha[1]);
        alpha[1] &= 0xFF;
    }
    for (int index : {p.vertex_block, p.pixel_block}) {
        if (index < 0) continue;
        Block& b = blocks_[index];
        bool clip_changed = b.clip_xy >= 0 && (clip[0] != b.uploaded_clip[0] || clip[1] != b.uploaded_clip[1]);
        bool alpha_changed = b.alpha_test >= 0 && (alpha[0] != b.uploaded_alpha[0] || alpha[1] != b.uploaded_alpha[1]);
        if (b.uploaded == version() && !clip_changed && !alpha_changed) continue;
        fill(b);
        const auto& members = b.stage->reflection.members;
        if (b.clip_xy >= 0) {
            float v[4] = {1, 1, clip[0], clip[1]};
            if (members[b.clip_xy].offset + 16 <= b.data.size()) memcpy(&b.data[members[b.clip_xy].offset], v, 16);
        }
        if (b.clip_z >= 0) {
            float v[4] = {1, 0, 0, 0};
            if (members[b.clip_z].offset + 16 <= b.data.size()) memcpy(&b.data[members[b.clip_z].offset], v, 16);
        }
        if (b.alpha_test >= 0) {
            float v[4] = {static_cast<float>(alpha[0]), static_cast<float>(alpha[1]), 0, 0};
            if (members[b.alpha_test].offset + 16 <= b.data.size()) memcpy(&b.data[members[b.alpha_test].offset], v, 16);
        }
        glBindBuffer(GL_UNIFORM_BUFFER, b.buffer);
        glBufferSubData(GL_UNIFORM_BUFFER, 0, static_cast<GLsizeiptr>(b.data.size()), b.data.data());
        glBindBuffer(GL_UNIFORM_BUFFER, 0);
        b.uploaded = version();
        b.uploaded_clip[0] = clip[0];
        b.uploaded_clip[1] = clip[1];
        b.uploaded_alpha[0] = alpha[0];
        b.uploaded_alpha[1] = alpha[1];
    }
    if (p.vertex_block >= 0) glBindBufferBase(GL_UNIFORM_BUFFER, kVertexBinding, blocks_[p.vertex_block].buffer);
    if (p.pixel_block >= 0) glBindBufferBase(GL_UNIFORM_BUFFER, kPixelBinding, blocks_[p.pixel_block].buffer);
    if (linked.ff_wvp >= 0 || linked.ff_use_texture >= 0 || linked.ff_alpha_test >= 0) {
        Program_Scope scope(linked.program);
        if (linked.ff_wvp >= 0) {
            D3DXMATRIX world, view, projection, wvp;
            device_->GetTransform(D3DTS_WORLD, &world);
            device_->GetTransform(D3DTS_VIEW, &view);
            device_->GetTransform(D3DTS_PROJECTION, &projection);
            D3DXMatrixMultiply(&wvp, &world, &view);
            D3DXMatrixMultiply(&wvp, &wvp, &projection);
            glUniformMatrix4fv(linked.ff_wvp, 1, GL_FALSE, &wvp._11);
        }
        if (linked.ff_use_texture >= 0) glUniform1i(linked.ff_use_texture, gl_->StageTexture(0) != 0);
        if (linked.ff_alpha_test >= 0) glUniform4f(linked.ff_alpha_test, static_cast<float>(alpha[0]), static_cast<float>(alpha[1]), 0, 0);
    }
}

DWORD D3dx_Effect::state_value(const std::string& parameter, orvex_fx::Value_Kind kind, DWORD constant) const {
    if (parameter.empty()) return constant;
    int pi = parameter_by_name(parameter);
    if (pi < 0 || !value(pi).is_numeric() || value(pi).value.empty()) return constant;
    const Parameter& p = value(pi);
    if (kind == orvex_fx::Value_Kind::Float) {
        float f = p.type == D3DXPT_FLOAT ? p.value[0].f : static_cast<float>(p.value[0].i);
        DWORD bits;
        memcpy(&bits, &f, 4);
        return bits;
    }
    return p.type == D3DXPT_FLOAT ? static_cast<DWORD>(orvex_fx::int_bits(p.value[0].f)) : p.value[0].u;
}

void D3dx_Effect::save_state() {
    const orvex_fx::Compiled_Effect& fx = compiled();
    const auto& passes = fx.description.techniques[technique()].passes;
    auto save_sampler = [&](DWORD stage, DWORD type) {
        for (const Saved_Sampler& s : saved_sampler_)
            if (s.stage == stage && s.type == type) return;
        DWORD v = 0;
        device_->GetSamplerState(stage, static_cast<D3DSAMPLERSTATETYPE>(type), &v);
        saved_sampler_.push_back({stage, type, v});
    };
    auto save_texture = [&](DWORD stage) {
        for (const auto& t : saved_texture_)
            if (t.first == stage) return;
        IDirect3DBaseTexture9* t = nullptr;
        device_->GetTexture(stage, &t);  // the reference it adds is dropped at End
        saved_texture_.push_back({stage, t});
    };
    auto save_sampler_object = [&](DWORD stage, int pi) {
        if (pi < 0) return;
        for (const auto& s : value(pi).sampler_states) save_sampler(stage, s.state);
        if (!value(pi).texture.empty()) save_texture(stage);
    };
    for (size_t p = 0; p < passes.size(); ++p) {
        for (const State_Assignment& a : passes[p].states) {
            switch (a.info.kind) {
            case State_Kind::Render: {
                bool seen = false;
                for (const auto& r : saved_render_) seen = seen || r.first == a.info.id;
                if (!seen) {
                    DWORD v = 0;
                    device_->GetRenderState(static_cast<D3DRENDERSTATETYPE>(a.info.id), &v);
                    saved_render_.push_back({a.info.id, v});
                }
                break;
            }
            case State_Kind::Sampler: save_sampler(a.index, a.info.id); break;
            case State_Kind::Texture: save_texture(a.index); break;
            case State_Kind::Sampler_Object: save_sampler_object(a.index, parameter_by_name(a.parameter)); break;
            case State_Kind::Texture_Stage: {
                bool seen = false;
                for (const auto& s : saved_stage_) seen = seen || (s.stage == a.index && s.type == a.info.id);
                if (!seen) {
                    DWORD v = 0;
                    device_->GetTextureStageState(a.index, static_cast<D3DTEXTURESTAGESTATETYPE>(a.info.id), &v);
                    saved_stage_.push_back({a.index, a.info.id, v});
                }
                break;
            }
            default: break;
            }
        }
        const Compiled_Pass& pass = fx.passes[technique()][p];
        for (size_t v = 0; v < std::max<size_t>(1, pass.variants.size()); ++v)
            for (const auto& s : (pass.variants.empty() ? pass : pass.variants[v]).samplers)
                if (s.sampler < orvex_fx::kVertexSamplerBase) save_sampler_object(s.sampler, parameter_by_name(s.parameter));
    }
}

void D3dx_Effect::on_begin(DWORD flags) {
    saving_ = !(flags & D3DXFX_DONOTSAVESTATE);
    if (saving_) save_state();
}

void D3dx_Effect::apply_sampler(DWORD stage, int pi) {
    if (pi < 0) return;
    const Parameter& s = value(pi);
    for (const auto& st : s.sampler_states)
        device_->SetSamplerState(stage, static_cast<D3DSAMPLERSTATETYPE>(st.state), state_value(st.parameter, st.kind, st.value));
    if (!s.texture.empty()) {
        int ti = parameter_by_name(s.texture);
        // A sampler whose texture parameter holds nothing reads what the stage has.
        if (ti >= 0 && texture(ti)) device_->SetTexture(stage, texture(ti));
    }
}

const Compiled_Pass& D3dx_Effect::chosen(UINT pass) const {
    const Compiled_Pass& cp = compiled().passes[technique()][pass];
    return cp.variants.empty() ? cp : cp.variants[static_cast<size_t>(variant())];
}

void D3dx_Effect::on_begin_pass(UINT pass) {
    gl_->MakeCurrent();
    const orvex_fx::Compiled_Effect& fx = compiled();
    const orvex_fx::Pass& described = fx.description.techniques[technique()].passes[pass];
    for (const State_Assignment& a : described.states) {
        switch (a.info.kind) {
        case State_Kind::Render:
            device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(a.info.id), state_value(a.parameter, a.info.value_kind, a.value));
            break;
        case State_Kind::Sampler:
            device_->SetSamplerState(a.index, static_cast<D3DSAMPLERSTATETYPE>(a.info.id), state_value(a.parameter, a.info.value_kind, a.value));
            break;
        case State_Kind::Texture_Stage:
            device_->SetTextureStageState(a.index, static_cast<D3DTEXTURESTAGESTATETYPE>(a.info.id), state_value(a.parameter, a.info.value_kind, a.value));
            break;
        case State_Kind::Texture: {
            int ti = a.parameter.empty() ? -1 : parameter_by_name(a.parameter);
            device_->SetTexture(a.index, ti >= 0 ? texture(ti) : nullptr);
            break;
        }
        case State_Kind::Sampler_Object: apply_sampler(a.index, parameter_by_name(a.parameter)); break;
        default: break;
        }
    }
    const Compiled_Pass& cp = chosen(pass);
    for (const auto& s : cp.samplers)
        if (s.sampler < orvex_fx::kVertexSamplerBase) apply_sampler(s.sampler, parameter_by_name(s.parameter));
    int program = pass_program_[technique()][pass][static_cast<size_t>(variant())];
    if (program < 0) {
        used_program_ = 0;
        gl_->SetProgramOverride(0);
        return;
    }
    use(programs_[program], true);
}

void D3dx_Effect::on_commit() {
    int program = pass_program_[technique()][pass()][static_cast<size_t>(variant())];
    if (program < 0) return;
    gl_->MakeCurrent();
    use(programs_[program], false);
}

void D3dx_Effect::on_end() {
    gl_->MakeCurrent();
    used_program_ = 0;
    gl_->SetProgramOverride(0);
    if (!saving_) return;
    for (const auto& r : saved_render_) device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(r.first), r.second);
    for (const Saved_Sampler& s : saved_sampler_)
        device_->SetSamplerState(s.stage, static_cast<D3DSAMPLERSTATETYPE>(s.type), s.value);
    for (const Saved_Stage_State& s : saved_stage_)
        device_->SetTextureStageState(s.stage, static_cast<D3DTEXTURESTAGESTATETYPE>(s.type), s.value);
    for (auto& t : saved_texture_) {
        device_->SetTexture(t.first, t.second);
        if (t.second) t.second->Release();
    }
    saved_render_.clear();
    saved_sampler_.clear();
    saved_stage_.clear();
    saved_texture_.clear();
}

namespace {

HRESULT create(LPDIRECT3DDEVICE9 device, HRESULT hr, orvex_fx::Compiled_Effect& fx, LPD3DXEFFECTPOOL pool,
               LPD3DXEFFECT* ppEffect, LPD3DXBUFFER* ppErrors) {
    if (FAILED(hr)) return hr;
    std::string log;
    D3dx_Effect* e = D3dx_Effect::create(device, GL_Device::Of(device), std::move(fx), pool, log);
    if (!e) {
        if (ppErrors) {
            if (*ppErrors) (*ppErrors)->Release();
            *ppErrors = nullptr;
            if (SUCCEEDED(D3DXCreateBuffer(static_cast<DWORD>(log.size() + 1), ppErrors)) && *ppErrors)
                memcpy((*ppErrors)->GetBufferPointer(), log.c_str(), log.size() + 1);
        }
        return D3DXERR_INVALIDDATA;
    }
    *ppEffect = e;
    return D3D_OK;
}

}  // namespace

extern "C" HRESULT WINAPI D3DXCreateEffectFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                                    CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                                    LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                                    LPD3DXBUFFER* ppCompilationErrors) {
    (void)Flags;
    if (ppCompilationErrors) *ppCompilationErrors = nullptr;
    if (ppEffect) *ppEffect = nullptr;
    if (!GL_Device::Of(pDevice) || !pSrcFile || !ppEffect) return D3DERR_INVALIDCALL;
    orvex_fx::Compiled_Effect fx;
    HRESULT hr = orvex_fx::load_effect_file(pSrcFile, pDefines, pInclude, fx, ppCompilationErrors);
    return create(pDevice, hr, fx, pPool, ppEffect, ppCompilationErrors);
}

extern "C" HRESULT WINAPI D3DXCreateEffect(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData, UINT SrcDataLen,
                                           CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                           LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                           LPD3DXBUFFER* ppCompilationErrors) {
    (void)Flags;
    if (ppCompilationErrors) *ppCompilationErrors = nullptr;
    if (ppEffect) *ppEffect = nullptr;
    if (!GL_Device::Of(pDevice) || !pSrcData || !ppEffect) return D3DERR_INVALIDCALL;
    orvex_fx::Compiled_Effect fx;
    HRESULT hr = orvex_fx::load_effect_memory(pSrcData, SrcDataLen, pDefines, pInclude, fx, ppCompilationErrors);
    return create(pDevice, hr, fx, pPool, ppEffect, ppCompilationErrors);
}
