#include "common/effect/fx_shader_compiler.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>
#include <spirv_cross/spirv_glsl.hpp>

#include <exception>
#include <mutex>

namespace orvex_fx {

namespace {

void initialise_glslang() {
    static std::once_flag once;
    std::call_once(once, [] { glslang::InitializeProcess(); });
}

bool reflect(spirv_cross::CompilerGLSL& c, Stage stage, const std::string& block_name, Stage_Reflection& r) {
    spirv_cross::ShaderResources res = c.get_shader_resources();
    for (const spirv_cross::Resource& ub : res.uniform_buffers) {
        const spirv_cross::SPIRType& type = c.get_type(ub.base_type_id);
        c.set_name(ub.base_type_id, block_name);
        c.set_name(ub.id, block_name + "_v");
        c.unset_decoration(ub.id, spv::DecorationBinding);
        c.unset_decoration(ub.id, spv::DecorationDescriptorSet);
        r.block_name = block_name;
        r.block_size = static_cast<uint32_t>(c.get_declared_struct_size(type));
        for (uint32_t i = 0; i < type.member_types.size(); ++i) {
            const spirv_cross::SPIRType& mt = c.get_type(type.member_types[i]);
            Block_Member m;
            m.name = c.get_member_name(ub.base_type_id, i);
            m.offset = c.type_struct_member_offset(type, i);
            m.base = mt.basetype == spirv_cross::SPIRType::Int ? Block_Member::Int
                     : (mt.basetype == spirv_cross::SPIRType::UInt || mt.basetype == spirv_cross::SPIRType::Boolean)
                         ? Block_Member::Uint
                         : Block_Member::Float;
            m.vecsize = mt.vecsize;
            m.columns = mt.columns;
            if (!mt.array.empty()) {
                m.array_size = mt.array[0];
                m.array_stride = c.type_struct_member_array_stride(type, i);
            }
            if (mt.columns > 1) {
                m.matrix_stride = c.type_struct_member_matrix_stride(type, i);
                m.row_major = c.has_member_decoration(ub.base_type_id, i, spv::DecorationRowMajor);
            }
            if (mt.basetype == spirv_cross::SPIRType::Struct) continue;  // struct parameters are not uploaded
            r.members.push_back(m);
        }
        break;  // glslang puts every global in one block
    }
    auto active = c.get_active_interface_variables();
    for (const spirv_cross::Resource& s : res.sampled_images) {
        c.unset_decoration(s.id, spv::DecorationBinding);
        c.unset_decoration(s.id, spv::DecorationDescriptorSet);
        if (active.count(s.id)) r.samplers.push_back(c.get_name(s.id));
    }
    if (stage == Stage::Vertex) {
        for (const spirv_cross::Resource& in : res.stage_inputs) {
            c.unset_decoration(in.id, spv::DecorationLocation);
            const std::string& n = c.get_name(in.id);
            if (n.compare(0, 9, "orvex_in_") == 0) r.vertex_inputs.push_back(n.substr(9));
        }
    }
    for (const spirv_cross::Resource& v : (stage == Stage::Vertex ? res.stage_outputs : res.stage_inputs))
        c.unset_decoration(v.id, spv::DecorationLocation);
    return true;
}

}  // namespace

bool compile_hlsl(const std::string& hlsl, const std::string& entry, Stage stage,
                  const std::string& block_name, Compiled_Stage& out, std::string& log) {
    initialise_glslang();
    const EShLanguage lang = stage == Stage::Vertex ? EShLangVertex : EShLangFragment;
    const EShMessages messages = static_cast<EShMessages>(EShMsgSpvRules | EShMsgVulkanRules | EShMsgReadHlsl |
                                                          EShMsgHlslDX9Compatible);
    glslang::TShader shader(lang);
    const char* text = hlsl.c_str();
    const int length = static_cast<int>(hlsl.size());
    shader.setStringsWithLengths(&text, &length, 1);
    shader.setEntryPoint(entry.c_str());
    shader.setSourceEntryPoint(entry.c_str());
    shader.setEnvInput(glslang::EShSourceHlsl, lang, glslang::EShClientVulkan, 100);
    shader.setEnvClient(glslang::EShClientVulkan, glslang::EShTargetVulkan_1_0);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    shader.setEnvTargetHlslFunctionality1();
    shader.setAutoMapBindings(true);
    shader.setAutoMapLocations(true);
    if (!shader.parse(GetDefaultResources(), 100, false, messages)) {
        log += shader.getInfoLog();
        return false;
    }
    glslang::TProgram program;
    program.addShader(&shader);
    if (!program.link(messages)) {
        log += program.getInfoLog();
        return false;
    }
    std::vector<uint32_t> spirv;
    spv::SpvBuildLogger logger;
    glslang::SpvOptions options;
    options.validate = false;
    glslang::GlslangToSpv(*program.getIntermediate(lang), spirv, &logger, &options);
    if (spirv.empty()) {
        log += logger.getAllMessages();
        return false;
    }
    try {
        spirv_cross::CompilerGLSL c(std::move(spirv));
        spirv_cross::CompilerGLSL::Options o = c.get_common_options();
        o.version = 330;
        o.es = false;
        o.enable_420pack_extension = false;
        o.vulkan_semantics = false;
        c.set_common_options(o);
        out.reflection = Stage_Reflection();
        reflect(c, stage, block_name, out.reflection);
        out.glsl = c.compile();
    } catch (const std::exception& e) {
        log += std::string("ERROR: translating to GLSL: ") + e.what() + "\n";
        return false;
    }
    return true;
}

}  // namespace orvex_fx
