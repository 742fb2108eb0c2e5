#pragma once
// D3D9's fixed-function pipeline as GLSL programs, one per kind of vertex (pre-transformed or
// not, which elements it has, which texture coordinates stage 0 reads) and per feature in use
// (lighting, texture stage 0, specular, alpha test, point size), so the common cases run short
// programs; the values (matrices, colours, stage operations) are uniforms.
//
// Vertex stage: XYZRHW vertices go straight to the screen (x, y in pixels, rhw 0 read as 1);
// others through world x view x projection. With D3DRS_LIGHTING the colour is emissive +
// ambient x D3DRS_AMBIENT + the enabled lights (directional, point and spot as point), each
// taken from the material or the vertex colours as the *MATERIALSOURCE states and
// D3DRS_COLORVERTEX say; alpha from the diffuse source. Without lighting it is the vertex's
// diffuse colour (white when it has none).
// Pixel stage: texture stage 0 (COLOROP/ALPHAOP with their arguments and modifiers) when a
// texture is bound and the op is not DISABLE, otherwise the colour passes unchanged; specular
// added with D3DRS_SPECULARENABLE; alpha test.
#include <epoxy/gl.h>

#include <map>
#include <string>

#include "common/d3d9/d3d9_vertex_layout.h"

struct GL_Fixed_Function_Key {
    bool rhw = false;
    bool normal = false;
    bool point_size = false;
    bool diffuse = false;
    bool specular = false;
    int texcoord_set = -1;  // which TEXCOORDn stage 0 reads, -1 none
    int texcoord_size = 0;
    bool lighting = false;     // D3DRS_LIGHTING on a transformed vertex
    bool texture = false;      // a texture on stage 0 and its COLOROP not DISABLE
    bool add_specular = false; // D3DRS_SPECULARENABLE
    bool alpha_test = false;   // D3DRS_ALPHATESTENABLE
    bool points = false;       // drawn as points: the program sets gl_PointSize

    bool operator==(const GL_Fixed_Function_Key& o) const;
    bool operator<(const GL_Fixed_Function_Key& o) const;
};

struct GL_Fixed_Function_Program {
    GLuint program = 0;
    // Uniform locations (-1 when the compiler dropped one).
    GLint wvp = -1, world = -1, viewport = -1, clip_adjust = -1, ambient = -1;
    GLint material = -1;  // vec4[4]: diffuse, ambient, specular, emissive
    GLint sources = -1;   // ivec4: diffuse, ambient, emissive source, colour vertex
    GLint light_count = -1, light_diffuse = -1, light_ambient = -1, light_position = -1, light_attenuation = -1;
    GLint point_size = -1, texture = -1, stage = -1, tfactor = -1;
    GLint alpha_test = -1;  // ivec2: function, reference 0..255
    unsigned uploaded_serial = 0;  // the device state its uniforms hold
    unsigned uploaded_transforms = 0;
};

class GL_Fixed_Function {
public:
    GL_Fixed_Function() = default;
    GL_Fixed_Function(const GL_Fixed_Function&) = delete;
    GL_Fixed_Function& operator=(const GL_Fixed_Function&) = delete;
    ~GL_Fixed_Function();

    // The program for a kind of vertex, compiled on first use (needs the context current); null
    // when it fails to compile, which is a fault of this file, reported on standard error.
    GL_Fixed_Function_Program* Program(const GL_Fixed_Function_Key& key);
    // Forgets every program without deleting it (its context is already gone).
    void Forget();
    // The vertex-format part of a key; the device fills in the features from its states.
    static GL_Fixed_Function_Key KeyFor(const D3D9_Vertex_Layout& layout, DWORD texcoord_index);

    static std::string VertexSource(const GL_Fixed_Function_Key& key);
    static std::string PixelSource(const GL_Fixed_Function_Key& key);

private:
    std::map<GL_Fixed_Function_Key, GL_Fixed_Function_Program> programs;
    GL_Fixed_Function_Key last_key;
    GL_Fixed_Function_Program* last_program = nullptr;
};
