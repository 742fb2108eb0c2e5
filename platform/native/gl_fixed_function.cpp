#include "gl_fixed_function.h"

#include "gl_device.h"

#include <cstdio>
#include <tuple>
#include <vector>

namespace {

auto fields(const GL_Fixed_Function_Key& k)
{
    return std::tie(k.rhw, k.normal, k.point_size, k.diffuse, k.specular, k.texcoord_set, k.texcoord_size, k.lighting,
                    k.texture, k.add_specular, k.alpha_test, k.points);
}

}  // namespace

bool GL_Fixed_Function_Key::operator<(const GL_Fixed_Function_Key& o) const { return fields(*this) < fields(o); }

bool GL_Fixed_Function_Key::operator==(const GL_Fixed_Function_Key& o) const { return fields(*this) == fields(o); }

GL_Fixed_Function::~GL_Fixed_Function()
{
    for (auto& entry : programs)
        if (entry.second.program)
            glDeleteProgram(entry.second.program);
}

void GL_Fixed_Function::Forget()
{
    programs.clear();
    last_program = nullptr;
}

GL_Fixed_Function_Key GL_Fixed_Function::KeyFor(const D3D9_Vertex_Layout& layout, DWORD texcoord_index)
{
    GL_Fixed_Function_Key key;
    key.rhw = layout.rhw;
    key.normal = layout.normal >= 0;
    key.point_size = layout.point_size >= 0;
    key.diffuse = layout.diffuse >= 0;
    key.specular = layout.specular >= 0;
    const int set = int(texcoord_index & 0xFFFF);
    if (set < layout.texcoord_count) {
        key.texcoord_set = set;
        key.texcoord_size = layout.texcoord_size[set];
    }
    return key;
}

std::string GL_Fixed_Function::VertexSource(const GL_Fixed_Function_Key& key)
{
    auto flag = [](bool on) { return on ? std::string("true") : std::string("false"); };
    std::string s = "#version 330 core\n";
    s += "layout(location = 0) in vec4 a_position;\n";
    if (key.normal)
        s += "layout(location = 1) in vec3 a_normal;\n";
    if (key.point_size)
        s += "layout(location = 2) in float a_psize;\n";
    if (key.diffuse)
        s += "layout(location = 3) in vec4 a_color0;\n";
    if (key.specular)
        s += "layout(location = 4) in vec4 a_color1;\n";
    static const char* vec[] = {"float", "float", "vec2", "vec3", "vec4"};
    if (key.texcoord_set >= 0)
        s += "layout(location = " + std::to_string(GL_ATTRIBUTE_TEXCOORD0 + key.texcoord_set) + ") in " +
             vec[key.texcoord_size] + " a_tex;\n";
    s += "const bool HAS_DIFFUSE = " + flag(key.diffuse) + ";\n";
    s += "const bool HAS_SPECULAR = " + flag(key.specular) + ";\n";
    s += R"(
uniform mat4 u_wvp;
uniform mat4 u_world;
uniform vec4 u_viewport;
uniform vec2 orvex_clip_adjust;
uniform vec4 u_ambient;
uniform vec4 u_material[4];
uniform ivec4 u_sources;
uniform int u_light_count;
uniform vec4 u_light_diffuse[8];
uniform vec4 u_light_ambient[8];
uniform vec4 u_light_position[8];
uniform vec4 u_light_attenuation[8];
uniform float u_point_size;
out vec4 v_color;
out vec4 v_specular;
out vec4 v_tex;
const float half_pixel = 63.0 / 128.0;

vec4 pick(int source, vec4 material, vec4 color0, vec4 color1)
{
    if (u_sources.w != 0) {
        if (source == 1 && HAS_DIFFUSE) return color0;
        if (source == 2 && HAS_SPECULAR) return color1;
    }
    return material;
}

vec3 safe_normalize(vec3 v)
{
    float l = length(v);
    return l > 0.0 ? v / l : vec3(0.0);
}

void main()
{
)";
    s += key.diffuse ? "    vec4 color0 = a_color0;\n" : "    vec4 color0 = vec4(1.0);\n";
    s += key.specular ? "    vec4 color1 = a_color1;\n" : "    vec4 color1 = vec4(0.0);\n";
    s += "    v_specular = color1;\n";
    if (key.points)
        s += key.point_size ? "    gl_PointSize = a_psize;\n" : "    gl_PointSize = u_point_size;\n";
    if (!key.texture)
        s += "    v_tex = vec4(0.0);\n";
    else if (key.texcoord_set < 0)
        s += "    v_tex = vec4(0.0, 0.0, 0.0, 1.0);\n";
    else if (key.texcoord_size == 1)
        s += "    v_tex = vec4(a_tex, 0.0, 0.0, 1.0);\n";
    else if (key.texcoord_size == 2)
        s += "    v_tex = vec4(a_tex, 0.0, 1.0);\n";
    else if (key.texcoord_size == 3)
        s += "    v_tex = vec4(a_tex, 1.0);\n";
    else
        s += "    v_tex = a_tex;\n";
    if (key.rhw) {
        s += R"(
    float w = a_position.w == 0.0 ? 1.0 : 1.0 / a_position.w;
    vec2 ndc = vec2(2.0 * (a_position.x + half_pixel - u_viewport.x) / u_viewport.z - 1.0,
                    2.0 * (u_viewport.y + u_viewport.w - a_position.y - half_pixel) / u_viewport.w - 1.0);
    gl_Position = vec4(ndc * w, a_position.z * w, w);
    v_color = color0;
}
)";
        return s;
    }
    s += R"(
    vec4 p = vec4(a_position.xyz, 1.0);
    gl_Position = u_wvp * p;
    gl_Position.xy += orvex_clip_adjust * gl_Position.w;
)";
    if (!key.lighting)
        return s + "    v_color = color0;\n}\n";
    s += R"(
    vec4 md = pick(u_sources.x, u_material[0], color0, color1);
    vec4 ma = pick(u_sources.y, u_material[1], color0, color1);
    vec4 me = pick(u_sources.z, u_material[3], color0, color1);
    vec3 c = me.rgb + ma.rgb * u_ambient.rgb;
    vec3 position = (u_world * p).xyz;
)";
    s += key.normal ? "    vec3 n = safe_normalize(mat3(u_world) * a_normal);\n" : "    vec3 n = vec3(0.0);\n";
    s += R"(
    for (int i = 0; i < u_light_count; ++i) {
        vec3 l;
        float attenuation = 1.0;
        if (u_light_position[i].w == 0.0) {
            l = -safe_normalize(u_light_position[i].xyz);
        } else {
            vec3 d = u_light_position[i].xyz - position;
            float distance = length(d);
            l = safe_normalize(d);
            vec4 a = u_light_attenuation[i];
            attenuation = distance <= a.w ? 1.0 / max(a.x + a.y * distance + a.z * distance * distance, 1e-6) : 0.0;
        }
        c += attenuation * (md.rgb * u_light_diffuse[i].rgb * max(dot(n, l), 0.0) + ma.rgb * u_light_ambient[i].rgb);
    }
    v_color = vec4(clamp(c, 0.0, 1.0), md.a);
}
)";
    return s;
}

std::string GL_Fixed_Function::PixelSource(const GL_Fixed_Function_Key& key)
{
    std::string s = R"(#version 330 core
in vec4 v_color;
in vec4 v_specular;
in vec4 v_tex;
uniform sampler2D u_texture;
uniform int u_stage[6];
uniform vec4 u_tfactor;
uniform ivec2 u_alpha_test;
out vec4 o_color;

vec4 argument(int a, vec4 diffuse, vec4 tex)
{
    int select = a & 15;
    vec4 v = diffuse;
    if (select == 2) v = tex;
    else if (select == 3) v = u_tfactor;
    else if (select == 4) v = v_specular;
    if ((a & 16) != 0) v = vec4(1.0) - v;
    if ((a & 32) != 0) v = vec4(v.a);
    return v;
}

vec4 combine(int op, vec4 a1, vec4 a2, vec4 diffuse, vec4 tex)
{
    if (op == 2) return a1;
    if (op == 3) return a2;
    if (op == 5) return a1 * a2 * 2.0;
    if (op == 6) return a1 * a2 * 4.0;
    if (op == 7) return a1 + a2;
    if (op == 8) return a1 + a2 - 0.5;
    if (op == 9) return (a1 + a2 - 0.5) * 2.0;
    if (op == 10) return a1 - a2;
    if (op == 11) return a1 + a2 - a1 * a2;
    if (op == 12) return mix(a2, a1, diffuse.a);
    if (op == 13) return mix(a2, a1, tex.a);
    if (op == 14) return mix(a2, a1, u_tfactor.a);
    if (op == 16) return mix(a2, a1, diffuse.a);
    return a1 * a2;
}

bool passes(int function, float value, float reference)
{
    if (function == 1) return false;
    if (function == 2) return value < reference;
    if (function == 3) return value == reference;
    if (function == 4) return value <= reference;
    if (function == 5) return value > reference;
    if (function == 6) return value != reference;
    if (function == 7) return value >= reference;
    return true;
}

void main()
{
    vec4 diffuse = v_color;
    vec4 color = diffuse;
)";
    if (key.texture)
        s += R"(
    vec4 tex = texture(u_texture, v_tex.xy);
    color.rgb = clamp(combine(u_stage[0], argument(u_stage[1], diffuse, tex), argument(u_stage[2], diffuse, tex),
                              diffuse, tex).rgb, 0.0, 1.0);
    if (u_stage[3] != 1)
        color.a = clamp(combine(u_stage[3], argument(u_stage[4], diffuse, tex), argument(u_stage[5], diffuse, tex),
                                diffuse, tex).a, 0.0, 1.0);
)";
    if (key.add_specular)
        s += "    color.rgb = clamp(color.rgb + v_specular.rgb, 0.0, 1.0);\n";
    if (key.alpha_test)
        s += "    if (!passes(u_alpha_test.x, floor(color.a * 255.0 + 0.5), float(u_alpha_test.y))) discard;\n";
    return s + "    o_color = color;\n}\n";
}

namespace {

GLuint compile(GLenum type, const std::string& source)
{
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "fixed-function shader failed to compile: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GL_Fixed_Function_Program* GL_Fixed_Function::Program(const GL_Fixed_Function_Key& key)
{
    if (last_program && key == last_key)
        return last_program;
    auto found = programs.find(key);
    if (found != programs.end()) {
        if (!found->second.program)
            return nullptr;
        last_key = key;
        last_program = &found->second;
        return last_program;
    }
    GL_Fixed_Function_Program& p = programs[key];
    GLuint vs = compile(GL_VERTEX_SHADER, VertexSource(key));
    GLuint fs = compile(GL_FRAGMENT_SHADER, PixelSource(key));
    if (!vs || !fs) {
        glDeleteShader(vs);
        glDeleteShader(fs);
        return nullptr;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "fixed-function program failed to link: %s\n", log);
        glDeleteProgram(program);
        return nullptr;
    }
    p.program = program;
    auto at = [program](const char* name) { return glGetUniformLocation(program, name); };
    p.wvp = at("u_wvp");
    p.world = at("u_world");
    p.viewport = at("u_viewport");
    p.clip_adjust = at(GL_Device::kClipAdjustUniform);
    p.ambient = at("u_ambient");
    p.material = at("u_material");
    p.sources = at("u_sources");
    p.light_count = at("u_light_count");
    p.light_diffuse = at("u_light_diffuse");
    p.light_ambient = at("u_light_ambient");
    p.light_position = at("u_light_position");
    p.light_attenuation = at("u_light_attenuation");
    p.point_size = at("u_point_size");
    p.texture = at("u_texture");
    p.stage = at("u_stage");
    p.tfactor = at("u_tfactor");
    p.alpha_test = at("u_alpha_test");
    glUseProgram(program);
    if (p.texture >= 0)
        glUniform1i(p.texture, 0);
    last_key = key;
    last_program = &p;
    return &p;
}
