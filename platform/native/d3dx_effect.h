#pragma once
// The native ID3DXEffect: every pass's shaders become one GL program at creation (and a second
// with the device's alpha test compiled in, for the first draw that has it on); a pass runs
// through the device (its render, sampler and texture states are set with the device's own
// calls, and its program replaces the fixed function through GL_Device), and the parameters
// reach the programs in one uniform buffer per compiled stage, uploaded only when a value changed.
#include "common/effect/d3dx_effect_base.h"
#include "gl_device.h"

#include <string>
#include <vector>

class D3dx_Effect final : public D3dx_Effect_Base {
public:
    // Links the programs; null with the GL messages in log when one does not link.
    static D3dx_Effect* create(IDirect3DDevice9* device, GL_Device* gl, orvex_fx::Compiled_Effect&& fx,
                               ID3DXEffectPool* pool, std::string& log);

private:
    D3dx_Effect(IDirect3DDevice9* device, GL_Device* gl, orvex_fx::Compiled_Effect&& fx, ID3DXEffectPool* pool);
    ~D3dx_Effect() override;

    void on_begin(DWORD flags) override;
    void on_begin_pass(UINT pass) override;
    void on_commit() override;
    void on_end_pass() override {}
    void on_end() override;

    // The parameters of one compiled stage, as its uniform block lays them out.
    struct Block {
        const orvex_fx::Compiled_Stage* stage = nullptr;
        GLuint buffer = 0;
        std::vector<unsigned char> data;
        std::vector<int> member_parameter;  // per member: the parameter it shows, -1 for none
        int clip_xy = -1, clip_z = -1, alpha_test = -1;
        uint64_t uploaded = 0;
        float uploaded_clip[2] = {0, 0};
        DWORD uploaded_alpha[2] = {~0u, ~0u};
    };
    // One linked GL program and the uniforms of its fixed-function stand-in stages.
    struct Linked {
        GLuint program = 0;
        GLint ff_wvp = -1, ff_use_texture = -1, ff_alpha_test = -1;
    };
    struct Program {
        const orvex_fx::Compiled_Pass* pass = nullptr;  // the first pass with these stages
        const orvex_fx::Compiled_Stage *vertex = nullptr, *pixel = nullptr;
        int vertex_block = -1, pixel_block = -1;
        Linked plain;   // the device's alpha test compiled out
        Linked tested;  // compiled in; linked for the first draw with the test on
        bool plain_only = false;  // plain tests alpha itself (a fixed-function stand-in), or tested did not link
    };
    struct Saved_Sampler {
        DWORD stage, type, value;
    };
    struct Saved_Stage_State {
        DWORD stage, type, value;
    };

    bool link(std::string& log);
    int program_for(const orvex_fx::Compiled_Pass& cp, std::string& log);
    bool link_program(const orvex_fx::Compiled_Pass& cp, bool alpha_test, Linked& out, std::string& log);
    // The program for a draw now: with the alpha test only while D3DRS_ALPHATESTENABLE is on.
    const Linked& linked_for(Program& p);
    // Uploads p's parameters and makes its program the device's: always, or only on a change
    // (CommitChanges after the alpha test was switched).
    void use(Program& p, bool always);
    int block_for(const orvex_fx::Compiled_Stage* stage);
    void fill(Block& b);
    void upload(const Program& p, const Linked& linked);
    void apply_sampler(DWORD stage, int sampler_parameter);
    // A state's value: the constant, or the named parameter's value as the state reads it.
    DWORD state_value(const std::string& parameter, orvex_fx::Value_Kind kind, DWORD constant) const;
    const orvex_fx::Compiled_Pass& chosen(UINT pass) const;
    void save_state();

    GL_Device* gl_;
    std::vector<Block> blocks_;
    std::vector<Program> programs_;
    // [technique][pass][variant] -> programs_ index, -1 none
    std::vector<std::vector<std::vector<int>>> pass_program_;
    bool saving_ = false;
    GLuint used_program_ = 0;  // the override this effect set last; 0 after End
    std::vector<std::pair<DWORD, DWORD>> saved_render_;
    std::vector<Saved_Sampler> saved_sampler_;
    std::vector<Saved_Stage_State> saved_stage_;
    std::vector<std::pair<DWORD, IDirect3DBaseTexture9*>> saved_texture_;
};
