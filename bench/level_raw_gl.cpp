// The default level's frame through the engine against the same drawing by a plain OpenGL 3.3
// program, in one run under an Xvfb of its own, at client sizes 640 x 480 and 800 x 600.
//
// The raw program takes the engine's loaded meshes (vertex, index and attribute buffers as the
// mesh loader made them), every mip level of its textures, its world, view and projection
// matrices and its lights, then draws what Orvex_Object_Manager::DrawObjects draws: for every
// light, every object; per object its effects in order, one pass each, per subset, with the
// same blend and depth states. Its GLSL is written by hand: vor_Phong's lighting, vor_Rim's rim
// and, for an object without effects, the fixed function with no device lights (emissive plus
// material ambient times the white ambient, modulated by the texture).
//
// Both frames are clear, objects, present (the engine's overlay text and console are left out
// so that the pictures can be compared). The machine may be shared: each round times a batch of
// engine frames and then a batch of raw frames, and the report gives the median over the rounds
// and the spread (lowest, highest). A third column runs the engine's generated GLSL (from the same
// .fx files) in the raw program, which splits the difference between the shader code and the rest.
// Usage: level_raw_gl [rounds [frames per batch [engine|raw|generated]]]; the last, for a
// profiler, times only that side (the ratio lines then compare nothing).
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <SDL.h>
#include <epoxy/gl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/effect/fx_effect_compiler.h"
#include "console/console.h"
#include "core/orvex.h"
#include "core/render_manager.h"
#include "native/gl_device.h"
#include "scene/cameras/camera.h"
#include "scene/cameras/camera_manager.h"
#include "scene/effects/effect_manager.h"
#include "scene/lights/light.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_manager.h"
#include "scene/objects/static_cobject.h"
#include "bench_window.h"
#include "xvfb_server.h"

namespace {

const char kLevel[] = "POLYGON01";

// ---- The engine ----

struct Engine {
    IDirect3DDevice9* device = nullptr;
    Orvex_Render_Manager* render = nullptr;
    Orvex_Object_Manager* objects = nullptr;
    Orvex_Light_Manager* lights = nullptr;
    Orvex_Camera_Manager* cameras = nullptr;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    D3DXMATRIX baseWorld;

    Engine(int width, int height)
    {
        HWND handle = CreateBenchWindow(width, height, "Orvex");
        if (!handle) return;
        Orvex* engine = new Orvex;
        engine->ReadRenderSettings(NULL);
        if (FAILED(engine->InitDevice(handle))) return;
        ShowWindow(handle, SW_SHOW);
        window = SDL_GL_GetCurrentWindow();
        context = SDL_GL_GetCurrentContext();
        D3DXMatrixIdentity(&baseWorld);
        IDirect3DDevice9** slot = new IDirect3DDevice9*(engine->device);
        Console* console = new Console(slot);
        cameras = new Orvex_Camera_Manager(console);
        Orvex_Effect_Manager* effects = new Orvex_Effect_Manager(*slot, console, cameras);
        lights = new Orvex_Light_Manager(console);
        objects = new Orvex_Object_Manager(&baseWorld, slot, console, effects, lights);
        render = new Orvex_Render_Manager(*slot, cameras, objects, console, lights);
        render->Initialize();
        render->backRendererColor = engine->backRendererColor;  // as Orvex::Initialize hands it on
        lights->LoadLevel(kLevel);
        objects->LoadLevel(kLevel);
        cameras->LoadLevel(kLevel);
        effects->LoadLevel(kLevel);
        if (objects->objectCount > 0 && effects->effectList && cameras->activeCamera) device = *slot;
    }

    void Empty()
    {
        SDL_GL_MakeCurrent(window, context);
        device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, render->backRendererColor, 1.0f, 0);
        device->BeginScene();
        device->EndScene();
        device->Present(NULL, NULL, NULL, NULL);
    }

    void Frame()
    {
        SDL_GL_MakeCurrent(window, context);
        device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, render->backRendererColor, 1.0f, 0);
        device->BeginScene();
        device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        cameras->activeCamera->camera->Apply(&device);
        objects->DrawObjects();
        device->EndScene();
        device->Present(NULL, NULL, NULL, NULL);
    }
};

// ---- What the raw program draws, read out of the engine ----

struct Texture_Data {
    std::vector<std::vector<unsigned char>> levels;  // BGRA rows, top down
    std::vector<std::pair<int, int>> sizes;
};

struct Subset {
    GLsizei first = 0, count = 0;  // in indices of the object's index buffer
    D3DMATERIAL9 material;
    int texture = -1;  // index into the scene's textures; -1: none
};

struct Object_Data {
    std::vector<unsigned char> vertices;
    std::vector<unsigned> indices;
    DWORD stride = 0, normal = 0, texcoord = 0;  // byte offsets; 0: the vertex has none
    std::vector<Subset> subsets;
    std::vector<std::string> effects;  // "phong", "rim", ...; empty: the fixed function
    D3DXMATRIX world;
};

struct Scene_Data {
    std::vector<Texture_Data> textures;
    std::vector<Object_Data> objects;
    std::vector<Orvex_Light*> lights;
    D3DXMATRIX view, projection;
    D3DXVECTOR3 eye;
    D3DCOLOR back = 0;
};

int texture_index(IDirect3DTexture9* texture, std::vector<IDirect3DTexture9*>& seen, Scene_Data& scene)
{
    if (!texture) return -1;
    for (size_t i = 0; i < seen.size(); ++i)
        if (seen[i] == texture) return int(i);
    Texture_Data data;
    for (DWORD level = 0; level < texture->GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc;
        D3DLOCKED_RECT rect;
        if (FAILED(texture->GetLevelDesc(level, &desc)) || FAILED(texture->LockRect(level, &rect, NULL, D3DLOCK_READONLY)))
            break;
        std::vector<unsigned char> rows(size_t(desc.Width) * desc.Height * 4);
        for (UINT y = 0; y < desc.Height; ++y)
            memcpy(&rows[size_t(y) * desc.Width * 4], static_cast<unsigned char*>(rect.pBits) + y * rect.Pitch, desc.Width * 4);
        if (desc.Format == D3DFMT_X8R8G8B8)
            for (size_t i = 3; i < rows.size(); i += 4) rows[i] = 0xFF;
        texture->UnlockRect(level);
        data.levels.push_back(std::move(rows));
        data.sizes.push_back({int(desc.Width), int(desc.Height)});
    }
    seen.push_back(texture);
    scene.textures.push_back(std::move(data));
    return int(scene.textures.size() - 1);
}

DWORD fvf_offset(DWORD fvf, DWORD part)
{
    DWORD offset = 12;  // D3DFVF_XYZ
    if (part == D3DFVF_NORMAL) return (fvf & D3DFVF_NORMAL) ? offset : 0;
    if (fvf & D3DFVF_NORMAL) offset += 12;
    if (fvf & D3DFVF_PSIZE) offset += 4;
    if (fvf & D3DFVF_DIFFUSE) offset += 4;
    if (fvf & D3DFVF_SPECULAR) offset += 4;
    return ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT) ? offset : 0;
}

bool read_scene(Engine& engine, Scene_Data& scene)
{
    SDL_GL_MakeCurrent(engine.window, engine.context);
    Orvex_Camera* camera = engine.cameras->activeCamera->camera;
    scene.view = camera->viewMatrix;
    scene.projection = camera->projectionMatrix;
    scene.eye = camera->position;
    scene.back = engine.render->backRendererColor;
    for (LightEntry* l = engine.lights->lightList; l; l = l->next) scene.lights.push_back(l->light);
    std::vector<IDirect3DTexture9*> seen;
    for (ObjectEntry* entry = engine.objects->objectList; entry; entry = entry->next) {
        Static_CObject* object = dynamic_cast<Static_CObject*>(entry->object);
        if (!entry->visible || !object || !object->materialCount) continue;
        ID3DXMesh* mesh = object->mesh;
        Object_Data data;
        data.world = object->world;
        for (DWORD e = 1; e <= object->effectCount; ++e) data.effects.push_back(object->GetEffectName(e).getChars());
        const DWORD fvf = mesh->GetFVF();
        data.stride = mesh->GetNumBytesPerVertex();
        data.normal = fvf_offset(fvf, D3DFVF_NORMAL);
        data.texcoord = fvf_offset(fvf, D3DFVF_TEX1);
        void* bytes = nullptr;
        if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &bytes))) return false;
        data.vertices.assign(static_cast<unsigned char*>(bytes), static_cast<unsigned char*>(bytes) + size_t(data.stride) * mesh->GetNumVertices());
        mesh->UnlockVertexBuffer();
        std::vector<unsigned> faces(size_t(mesh->GetNumFaces()) * 3);
        if (FAILED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &bytes))) return false;
        for (size_t i = 0; i < faces.size(); ++i)
            faces[i] = (mesh->GetOptions() & D3DXMESH_32BIT) ? static_cast<DWORD*>(bytes)[i] : static_cast<WORD*>(bytes)[i];
        mesh->UnlockIndexBuffer();
        DWORD* attributes = nullptr;
        if (FAILED(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes))) return false;
        IDirect3DTexture9* plain = object->plainTexture ? *object->plainTexture : NULL;
        for (DWORD s = 0; s < object->materialCount; ++s) {
            Subset subset;
            subset.first = GLsizei(data.indices.size());
            for (DWORD f = 0; f < mesh->GetNumFaces(); ++f)
                if (attributes[f] == s) data.indices.insert(data.indices.end(), &faces[f * 3], &faces[f * 3] + 3);
            subset.count = GLsizei(data.indices.size()) - subset.first;
            subset.material = object->materials[s];
            // Through an effect a subset without a texture reads the plain white one.
            IDirect3DTexture9* t = object->textures[s] ? object->textures[s] : (data.effects.empty() ? NULL : plain);
            subset.texture = texture_index(t, seen, scene);
            data.subsets.push_back(subset);
        }
        mesh->UnlockAttributeBuffer();
        scene.objects.push_back(std::move(data));
    }
    return !scene.objects.empty() && !scene.lights.empty();
}

// ---- The raw program ----

const char kVertexShader[] = R"(#version 330 core
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec2 a_tex;
uniform mat4 u_wvp;
uniform mat4 u_world;
uniform vec2 u_clip_adjust;
out vec2 v_tex;
out vec3 v_world;
out vec3 v_normal;
void main()
{
    vec4 p = vec4(a_position, 1.0);
    gl_Position = u_wvp * p;
    gl_Position.xy += u_clip_adjust * gl_Position.w;
    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;
    v_world = (u_world * p).xyz;
    v_normal = mat3(u_world) * a_normal;
    v_tex = a_tex;
}
)";

const char kLightCommon[] = R"(#version 330 core
in vec2 v_tex;
in vec3 v_world;
in vec3 v_normal;
uniform vec3 u_eye;
uniform vec3 u_light_position;
uniform vec3 u_light_colour;
uniform float u_falloff, u_attenuation;
out vec4 o_colour;
)";

const char kPhongShader[] = R"(
uniform sampler2D u_texture;
uniform vec4 u_material;
uniform float u_specular, u_specular_strength, u_ambient, u_keep_alpha;
void main()
{
    vec4 base = texture(u_texture, v_tex) * u_material;
    vec3 to_light = u_light_position - v_world;
    float dist = length(to_light);
    vec3 l = to_light / max(dist, 1e-4);
    vec3 v = normalize(u_eye - v_world);
    float len = length(v_normal);
    vec3 n = len > 1e-6 ? v_normal / len : v;
    float fade = pow(clamp(1.0 - dist / max(u_falloff, 1e-4), 0.0, 1.0), max(u_attenuation, 1e-3));
    float diffuse = clamp(dot(n, l), 0.0, 1.0);
    float specular = diffuse > 0.0 ? pow(clamp(dot(n, normalize(l + v)), 0.0, 1.0), max(u_specular, 1.0)) * u_specular_strength : 0.0;
    o_colour = vec4(base.rgb * (u_light_colour * diffuse * fade + u_ambient) + u_light_colour * specular * fade,
                    base.a * u_keep_alpha);
}
)";

const char kRimShader[] = R"(
void main()
{
    vec3 v = normalize(u_eye - v_world);
    float len = length(v_normal);
    vec3 n = len > 1e-6 ? v_normal / len : v;
    vec3 to_light = u_light_position - v_world;
    float dist = length(to_light);
    float fade = pow(clamp(1.0 - dist / max(u_falloff, 1e-4), 0.0, 1.0), max(u_attenuation, 1e-3));
    float towards = clamp(dot(n, to_light / max(dist, 1e-4)) + 0.6, 0.0, 1.0);
    float rim = pow(1.0 - clamp(dot(n, v), 0.0, 1.0), 3.0);
    o_colour = vec4(u_light_colour * rim * towards * fade * 0.9, 0.0);
}
)";

const char kFixedShader[] = R"(#version 330 core
in vec2 v_tex;
uniform sampler2D u_texture;
uniform vec4 u_colour;
uniform float u_textured;
out vec4 o_colour;
void main()
{
    o_colour = u_textured > 0.5 ? u_colour * texture(u_texture, v_tex) : u_colour;
}
)";

struct Program {
    GLuint id = 0;
    GLint wvp, world, clip, eye, light_position, light_colour, falloff, attenuation;
    GLint material, specular, specular_strength, ambient, keep_alpha, colour, textured;
};

GLuint compile(GLenum type, const std::string& text)
{
    GLuint shader = glCreateShader(type);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {0};
        glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
        fprintf(stderr, "level_raw_gl: shader: %s\n", log);
    }
    return shader;
}

Program link(const std::string& fragment)
{
    Program p;
    p.id = glCreateProgram();
    GLuint vs = compile(GL_VERTEX_SHADER, kVertexShader), fs = compile(GL_FRAGMENT_SHADER, fragment);
    glAttachShader(p.id, vs);
    glAttachShader(p.id, fs);
    glLinkProgram(p.id);
    glDeleteShader(vs);
    glDeleteShader(fs);
    auto at = [&](const char* name) { return glGetUniformLocation(p.id, name); };
    p.wvp = at("u_wvp"), p.world = at("u_world"), p.clip = at("u_clip_adjust"), p.eye = at("u_eye");
    p.light_position = at("u_light_position"), p.light_colour = at("u_light_colour");
    p.falloff = at("u_falloff"), p.attenuation = at("u_attenuation"), p.material = at("u_material");
    p.specular = at("u_specular"), p.specular_strength = at("u_specular_strength"), p.ambient = at("u_ambient");
    p.keep_alpha = at("u_keep_alpha"), p.colour = at("u_colour"), p.textured = at("u_textured");
    glUseProgram(p.id);
    glUniform1i(at("u_texture"), 0);
    return p;
}

// The engine's own GLSL for a pass (what the effect compiler makes of the .fx file) run by the
// raw program: the difference between it and the hand-written pair is the generated code's.
struct Generated {
    GLuint id = 0;
    const orvex_fx::Compiled_Stage *vertex = nullptr, *pixel = nullptr;
    GLuint buffers[2] = {0, 0};
    std::vector<unsigned char> data[2];
};

bool link_generated(const orvex_fx::Compiled_Pass& pass, Generated& g)
{
    g.vertex = pass.vertex.get(), g.pixel = pass.pixel.get();
    g.id = glCreateProgram();
    GLuint vs = compile(GL_VERTEX_SHADER, g.vertex->glsl), fs = compile(GL_FRAGMENT_SHADER, g.pixel->glsl);
    glAttachShader(g.id, vs);
    glAttachShader(g.id, fs);
    glBindAttribLocation(g.id, 0, "orvex_in_POSITION0");
    glBindAttribLocation(g.id, 1, "orvex_in_NORMAL0");
    glBindAttribLocation(g.id, 2, "orvex_in_TEXCOORD0");
    glLinkProgram(g.id);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(g.id, GL_LINK_STATUS, &ok);
    if (!ok) return false;
    glUseProgram(g.id);
    for (const auto& sampler : pass.samplers) glUniform1i(glGetUniformLocation(g.id, sampler.glsl_name.c_str()), 0);
    const orvex_fx::Compiled_Stage* stages[2] = {g.vertex, g.pixel};
    for (int i = 0; i < 2; ++i) {
        glUniformBlockBinding(g.id, glGetUniformBlockIndex(g.id, stages[i]->reflection.block_name.c_str()), GLuint(i + 1));
        g.data[i].assign(stages[i]->reflection.block_size, 0);
        glGenBuffers(1, &g.buffers[i]);
        glBindBuffer(GL_UNIFORM_BUFFER, g.buffers[i]);
        glBufferData(GL_UNIFORM_BUFFER, GLsizeiptr(g.data[i].size()), nullptr, GL_DYNAMIC_DRAW);
    }
    return true;
}

// Puts values into the parameter blocks as the effect's uniform buffers hold them; uploads both.
void upload_generated(Generated& g, const std::vector<std::pair<std::string, std::vector<float>>>& values)
{
    const orvex_fx::Compiled_Stage* stages[2] = {g.vertex, g.pixel};
    for (int i = 0; i < 2; ++i) {
        for (const orvex_fx::Block_Member& m : stages[i]->reflection.members)
            for (const auto& v : values) {
                if (v.first != m.name) continue;
                for (size_t k = 0; k < v.second.size(); ++k) {
                    const size_t r = k / 4, c = k % 4;
                    const size_t at = m.columns > 1 ? (m.row_major ? m.offset + c * m.matrix_stride + r * 4 : m.offset + r * m.matrix_stride + c * 4)
                                                    : m.offset + k * 4;
                    if (at + 4 <= g.data[i].size()) memcpy(&g.data[i][at], &v.second[k], 4);
                }
            }
        glBindBuffer(GL_UNIFORM_BUFFER, g.buffers[i]);
        glBufferSubData(GL_UNIFORM_BUFFER, 0, GLsizeiptr(g.data[i].size()), g.data[i].data());
        glBindBufferBase(GL_UNIFORM_BUFFER, GLuint(i + 1), g.buffers[i]);
    }
}

struct Raw {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 0, height = 0;
    Program phong, rim, fixed;
    // With the engine's GLSL: [0] phong's first light, [1] phong's further lights, [2] rim.
    orvex_fx::Compiled_Effect effects[2];
    Generated generated[3];
    bool use_generated = false;
    bool ready = false;
    std::vector<GLuint> textures;
    struct Mesh {
        GLuint vao = 0, vertices = 0, indices = 0;
    };
    std::vector<Mesh> meshes;
    const Scene_Data* scene = nullptr;

    Raw(int w, int h, const Scene_Data& data) : width(w), height(h), scene(&data)
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window = SDL_CreateWindow("raw GL", 0, 0, w, h, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
        if (!window) return;
        context = SDL_GL_CreateContext(window);
        if (!context) return;
        SDL_GL_MakeCurrent(window, context);
        SDL_GL_SetSwapInterval(0);
        phong = link(std::string(kLightCommon) + kPhongShader);
        rim = link(std::string(kLightCommon) + kRimShader);
        fixed = link(kFixedShader);
        const char* files[2] = {"fx/vor_Phong.fx", "fx/vor_Rim.fx"};
        for (int i = 0; i < 2; ++i) {
            std::string text, messages;
            if (!orvex_fx::read_text_file(files[i], text) ||
                !orvex_fx::compile_effect(text, files[i], nullptr, nullptr, effects[i], messages))
                return;
        }
        if (!link_generated(effects[0].passes[0][0], generated[0]) || !link_generated(effects[0].passes[1][0], generated[1]) ||
            !link_generated(effects[1].passes[0][0], generated[2]))
            return;
        for (const Texture_Data& t : data.textures) {
            GLuint id = 0;
            glGenTextures(1, &id);
            glBindTexture(GL_TEXTURE_2D, id);
            for (size_t level = 0; level < t.levels.size(); ++level)
                glTexImage2D(GL_TEXTURE_2D, GLint(level), GL_RGBA8, t.sizes[level].first, t.sizes[level].second, 0, GL_BGRA,
                             GL_UNSIGNED_BYTE, t.levels[level].data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(t.levels.size()) - 1);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
            textures.push_back(id);
        }
        for (const Object_Data& o : data.objects) {
            Mesh m;
            glGenVertexArrays(1, &m.vao);
            glBindVertexArray(m.vao);
            glGenBuffers(1, &m.vertices);
            glBindBuffer(GL_ARRAY_BUFFER, m.vertices);
            glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(o.vertices.size()), o.vertices.data(), GL_STATIC_DRAW);
            glGenBuffers(1, &m.indices);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.indices);
            glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(o.indices.size() * 4), o.indices.data(), GL_STATIC_DRAW);
            glEnableVertexAttribArray(0);
            glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, GLsizei(o.stride), nullptr);
            if (o.normal) {
                glEnableVertexAttribArray(1);
                glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, GLsizei(o.stride), reinterpret_cast<void*>(uintptr_t(o.normal)));
            }
            if (o.texcoord) {
                glEnableVertexAttribArray(2);
                glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, GLsizei(o.stride), reinterpret_cast<void*>(uintptr_t(o.texcoord)));
            }
            meshes.push_back(m);
        }
        glBindVertexArray(0);
        glViewport(0, 0, w, h);
        ready = true;
    }

    void set_light(const Program& p, const Orvex_Light& light) const
    {
        glUniform3fv(p.light_position, 1, &light.position.x);
        glUniform3fv(p.light_colour, 1, &light.color.x);
        glUniform1f(p.falloff, light.falloff);
        glUniform1f(p.attenuation, light.attenuation);
        if (p.specular >= 0) {
            glUniform1f(p.specular, light.specular);
            glUniform1f(p.specular_strength, light.specularIntensity);
            glUniform1f(p.ambient, light.ambient);
        }
    }

    void draw_generated(Generated& g, const Object_Data& object, const Orvex_Light& light, const D3DXMATRIX& wvp,
                        const float clip[2]) const
    {
        auto matrix = [](const D3DXMATRIX& m) { return std::vector<float>(&m._11, &m._11 + 16); };
        std::vector<std::pair<std::string, std::vector<float>>> values = {
            {"mat_World_View_Proj", matrix(wvp)},
            {"matWorld", matrix(object.world)},
            {"View_Pos", {scene->eye.x, scene->eye.y, scene->eye.z, 1.0f}},
            {"LightPos", {light.position.x, light.position.y, light.position.z, light.position.w}},
            {"LightColor", {light.color.x, light.color.y, light.color.z, light.color.w}},
            {"LightFalloff", {light.falloff}},
            {"LightSpecular", {light.specular}},
            {"LightSpecular_Itens", {light.specularIntensity}},
            {"LightAmbient", {light.ambient}},
            {"Attenuation", {light.attenuation}},
            {"orvex_clip_xy", {1.0f, 1.0f, clip[0], clip[1]}},
            {"orvex_clip_z", {1.0f, 0.0f, 0.0f, 0.0f}},
            {"MaterialDiffuse", {1, 1, 1, 1}},
        };
        for (const Subset& s : object.subsets) {
            if (s.texture >= 0) glBindTexture(GL_TEXTURE_2D, textures[size_t(s.texture)]);
            const D3DCOLORVALUE& d = s.material.Diffuse;
            values.back().second = {d.r, d.g, d.b, d.a};
            upload_generated(g, values);
            glDrawElements(GL_TRIANGLES, s.count, GL_UNSIGNED_INT, reinterpret_cast<void*>(uintptr_t(s.first) * 4));
        }
    }

    void Frame()
    {
        SDL_GL_MakeCurrent(window, context);
        const D3DCOLOR c = scene->back;
        glClearColor(((c >> 16) & 255) / 255.0f, ((c >> 8) & 255) / 255.0f, (c & 255) / 255.0f, 1.0f);
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glActiveTexture(GL_TEXTURE0);
        const float clip[2] = {2.0f * (63.0f / 128.0f) / float(width), -2.0f * (63.0f / 128.0f) / float(height)};
        for (size_t l = 0; l < scene->lights.size(); ++l) {
            const Orvex_Light& light = *scene->lights[l];
            for (size_t o = 0; o < scene->objects.size(); ++o) {
                const Object_Data& object = scene->objects[o];
                D3DXMATRIX wvp;
                D3DXMatrixMultiply(&wvp, &object.world, &scene->view);
                D3DXMatrixMultiply(&wvp, &wvp, &scene->projection);
                glBindVertexArray(meshes[o].vao);
                const size_t passes = std::max<size_t>(1, object.effects.size());
                for (size_t e = 0; e < passes; ++e) {
                    const bool fixed_function = object.effects.empty() || (object.effects[e] != "phong" && object.effects[e] != "rim");
                    const bool is_rim = !fixed_function && object.effects[e] == "rim";
                    const Program& p = fixed_function ? fixed : is_rim ? rim : phong;
                    const bool opaque = fixed_function || (l == 0 && !is_rim);
                    if (opaque) glDisable(GL_BLEND);
                    else {
                        glEnable(GL_BLEND);
                        glBlendFunc(GL_ONE, GL_ONE);
                        glBlendEquation(GL_FUNC_ADD);
                    }
                    glDepthMask(opaque ? GL_TRUE : GL_FALSE);
                    Generated* g = use_generated && !fixed_function ? &generated[is_rim ? 2 : l == 0 ? 0 : 1] : nullptr;
                    if (g) {
                        glUseProgram(g->id);
                        draw_generated(*g, object, light, wvp, clip);
                        continue;
                    }
                    glUseProgram(p.id);
                    glUniformMatrix4fv(p.wvp, 1, GL_FALSE, &wvp._11);
                    glUniformMatrix4fv(p.world, 1, GL_FALSE, &object.world._11);
                    glUniform2fv(p.clip, 1, clip);
                    if (!fixed_function) {
                        glUniform3fv(p.eye, 1, &scene->eye.x);
                        set_light(p, light);
                        if (p.keep_alpha >= 0) glUniform1f(p.keep_alpha, l == 0 ? 1.0f : 0.0f);
                    }
                    for (const Subset& s : object.subsets) {
                        const D3DMATERIAL9& m = s.material;
                        if (s.texture >= 0) glBindTexture(GL_TEXTURE_2D, textures[size_t(s.texture)]);
                        if (fixed_function) {
                            // No device lights: emissive plus the material's ambient under a white ambient.
                            glUniform4f(p.colour, std::min(1.0f, m.Emissive.r + m.Ambient.r), std::min(1.0f, m.Emissive.g + m.Ambient.g),
                                        std::min(1.0f, m.Emissive.b + m.Ambient.b), m.Diffuse.a);
                            glUniform1f(p.textured, s.texture >= 0 ? 1.0f : 0.0f);
                        } else if (p.material >= 0) {
                            glUniform4f(p.material, m.Diffuse.r, m.Diffuse.g, m.Diffuse.b, m.Diffuse.a);
                        }
                        glDrawElements(GL_TRIANGLES, s.count, GL_UNSIGNED_INT, reinterpret_cast<void*>(uintptr_t(s.first) * 4));
                    }
                }
            }
        }
        glBindVertexArray(0);
    }

    void Present() const { SDL_GL_SwapWindow(window); }


    void Empty() const
    {
        SDL_GL_MakeCurrent(window, context);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
    }

    std::vector<unsigned char> Read() const
    {
        std::vector<unsigned char> bottom_up(size_t(width) * height * 4), rgba(bottom_up.size());
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
        const size_t row = size_t(width) * 4;
        for (int y = 0; y < height; ++y) memcpy(&rgba[size_t(y) * row], &bottom_up[size_t(height - 1 - y) * row], row);
        return rgba;
    }
};

// ---- Measuring and comparing ----

double seconds(clockid_t clock)
{
    timespec t;
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Batch {
    // Per frame. cpu: every thread of the process, llvmpipe's rasterizer threads among them;
    // main: the calling thread alone (the engine or the raw program, GL, vertex shading, setup).
    double wall_ms, cpu_ms, main_ms;
};

template <typename Frame>
Batch batch(int frames, Frame frame)
{
    const double wall = seconds(CLOCK_MONOTONIC), cpu = seconds(CLOCK_PROCESS_CPUTIME_ID), main = seconds(CLOCK_THREAD_CPUTIME_ID);
    for (int i = 0; i < frames; ++i) frame();
    return {(seconds(CLOCK_MONOTONIC) - wall) * 1000.0 / frames, (seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu) * 1000.0 / frames,
            (seconds(CLOCK_THREAD_CPUTIME_ID) - main) * 1000.0 / frames};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

size_t colours(const std::vector<unsigned char>& rgba)
{
    std::set<uint32_t> seen;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) seen.insert(uint32_t(rgba[i]) << 16 | uint32_t(rgba[i + 1]) << 8 | rgba[i + 2]);
    return seen.size();
}

// Prints how far the two pictures are apart; true when they agree: at most 1 % of the pixels
// off by more than 8 in a channel, the probe pixels within 8, the colour counts within 10 %.
bool compare(const std::vector<unsigned char>& engine, const std::vector<unsigned char>& raw, int width, int height)
{
    if (engine.size() != raw.size() || engine.empty()) {
        printf("  pictures: cannot compare (%zu and %zu bytes)\n", engine.size(), raw.size());
        return false;
    }
    auto off = [&](size_t pixel) {
        int most = 0;
        for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int(engine[pixel * 4 + c]) - int(raw[pixel * 4 + c])));
        return most;
    };
    size_t differing = 0;
    for (size_t p = 0; p < size_t(width) * height; ++p) differing += off(p) > 8;
    bool probes_agree = true;
    printf("\n    probes (x,y engine/raw):");
    for (int py = 1; py <= 3; ++py)
        for (int px = 1; px <= 3; ++px) {
            const size_t p = size_t(height * py / 4) * width + size_t(width * px / 4);
            printf(" (%d,%d %02x%02x%02x/%02x%02x%02x)", width * px / 4, height * py / 4, engine[p * 4], engine[p * 4 + 1],
                   engine[p * 4 + 2], raw[p * 4], raw[p * 4 + 1], raw[p * 4 + 2]);
            probes_agree = probes_agree && off(p) <= 8;
        }
    const size_t ce = colours(engine), cr = colours(raw);
    const double share = 100.0 * double(differing) / (double(width) * height);
    const bool agree = probes_agree && share <= 1.0 && std::fabs(double(ce) - double(cr)) <= 0.1 * double(std::max(ce, cr));
    printf("\n    pictures %s: %.3f %% of pixels off by more than 8, distinct colours engine %zu raw %zu\n",
           agree ? "agree" : "DIFFER", share, ce, cr);
    return agree;
}

std::string spread(const std::vector<double>& v)
{
    char text[64];
    snprintf(text, sizeof text, "%.2f-%.2f", *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
    return text;
}

// One side's batches: wall, process CPU and calling-thread CPU per frame, one entry a round.
struct Series {
    std::vector<double> wall, cpu, main;
    void add(const Batch& b) { wall.push_back(b.wall_ms), cpu.push_back(b.cpu_ms), main.push_back(b.main_ms); }
};

bool run_size(int width, int height, int rounds, int frames, const std::string& only)
{
    Engine engine(width, height);
    if (!engine.device) {
        fprintf(stderr, "level_raw_gl: no native device with the default level at %dx%d\n", width, height);
        return false;
    }
    Scene_Data scene;
    if (!read_scene(engine, scene)) {
        fprintf(stderr, "level_raw_gl: the default level could not be read out of the engine\n");
        return false;
    }
    Raw raw(width, height, scene);
    if (!raw.ready) {
        fprintf(stderr, "level_raw_gl: the raw program could not be set up (OpenGL 3.3 context, shaders, effects): %s\n",
                SDL_GetError());
        return false;
    }
    // Warm up (shader variants are compiled on first use, textures uploaded), then take the pictures.
    for (int i = 0; i < 3; ++i) {
        engine.Frame();
        for (bool g : {false, true}) raw.use_generated = g, raw.Frame(), raw.Present();
    }
    std::vector<unsigned char> pictures[3];
    UINT w = 0, h = 0;
    engine.Frame();
    GL_Device::Of(engine.device)->ReadPresentedFrame(&pictures[0], &w, &h);
    for (bool g : {false, true}) {
        raw.use_generated = g;
        raw.Frame();
        pictures[g ? 2 : 1] = raw.Read();
        raw.Present();
    }

    Series engine_s, raw_s, generated_s, engine_empty, raw_empty;
    const Batch none{1, 1, 1};
    for (int r = 0; r < rounds; ++r) {
        engine_s.add(only == "raw" || only == "generated" ? none : batch(frames, [&] { engine.Frame(); }));
        raw.use_generated = false;
        raw_s.add(only == "engine" || only == "generated" ? none : batch(frames, [&] { raw.Frame(), raw.Present(); }));
        raw.use_generated = true;
        generated_s.add(only == "engine" || only == "raw" ? none : batch(frames, [&] { raw.Frame(), raw.Present(); }));
        engine_empty.add(only == "raw" || only == "generated" ? none : batch(frames, [&] { engine.Empty(); }));
        raw_empty.add(only == "engine" || only == "generated" ? none : batch(frames, [&] { raw.Empty(); }));
    }
    printf("%dx%d engine=%.2fms raw=%.2fms ratio=%.3f  (wall clock, medians of %d interleaved rounds of %d frames; "
           "spread engine %s, raw %s)\n",
           width, height, median(engine_s.wall), median(raw_s.wall), median(engine_s.wall) / median(raw_s.wall), rounds, frames,
           spread(engine_s.wall).c_str(), spread(raw_s.wall).c_str());
    printf("  cpu ms per frame, all threads: engine %.2f (%s)  raw %.2f (%s)  raw with the engine's GLSL %.2f (%s)  cpu_ratio=%.3f\n",
           median(engine_s.cpu), spread(engine_s.cpu).c_str(), median(raw_s.cpu), spread(raw_s.cpu).c_str(),
           median(generated_s.cpu), spread(generated_s.cpu).c_str(), median(engine_s.cpu) / median(raw_s.cpu));
    printf("  cpu ms per frame, calling thread: engine %.2f (%s)  raw %.2f (%s)  raw with the engine's GLSL %.2f (%s)\n",
           median(engine_s.main), spread(engine_s.main).c_str(), median(raw_s.main), spread(raw_s.main).c_str(),
           median(generated_s.main), spread(generated_s.main).c_str());
    printf("  cpu ms per empty frame (clear, present), all threads: engine %.2f (%s)  raw %.2f (%s)\n", median(engine_empty.cpu),
           spread(engine_empty.cpu).c_str(), median(raw_empty.cpu), spread(raw_empty.cpu).c_str());
    printf("  engine against raw:");
    bool agree = compare(pictures[0], pictures[1], width, height);
    printf("  engine against raw with the engine's GLSL:");
    agree = compare(pictures[0], pictures[2], width, height) && agree;
    fflush(stdout);
    return agree;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const int frames = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
    const std::string only = argc > 3 ? argv[3] : "";
    Xvfb_Server xvfb;
    if (xvfb.display().empty()) return 1;
    setenv("DISPLAY", xvfb.display().c_str(), 1);

    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("orvex_level_raw_gl_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::copy(fs::path(ORVEX_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
    if (chdir(folder.c_str()) != 0) return 1;

    bool agree = run_size(640, 480, rounds, frames, only);
    agree = run_size(800, 600, rounds, frames, only) && agree;
    fs::remove_all(folder);
    return agree ? 0 : 2;
}
