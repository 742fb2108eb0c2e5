#pragma once
// The OpenGL side of the native Direct3D 9 device, for the rest of platform/native (the effect
// runtime, tests, screenshots). Nothing outside platform/ sees it.
//
// How the device draws, and what a program supplied from outside must do to match it:
//
// - Vertex attributes. Every draw feeds the vertex format's elements at fixed locations:
//     0 POSITION   vec4: x, y, z, 1 (D3DFVF_XYZ) or x, y, z, rhw (D3DFVF_XYZRHW)
//     1 NORMAL     vec3
//     2 PSIZE      float
//     3 COLOR0     vec4 from the diffuse D3DCOLOR, channels r, g, b, a in 0..1
//     4 COLOR1     vec4 from the specular D3DCOLOR
//     5..12 TEXCOORD0..7   vec1..vec4 as the format says
//   An element the format lacks reads as the constant (0, 0, 0, 1), except COLOR0 and COLOR1,
//   which read (1, 1, 1, 1) as D3D9's missing colours do.
// - Matrices. A D3DMATRIX is uploaded as its 16 floats, unchanged, to a GLSL mat4; `M * v`
//   in GLSL then computes D3D's row-vector `v * M`.
// - Clip space is D3D's: x right, y up, z from 0 (near) to w (far); the device enables
//   glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE) and renders upright into its own framebuffer.
// - Pixel centres. D3D9 samples pixels at integer screen coordinates, GL at +0.5. A vertex
//   program must finish with
//       uniform vec2 orvex_clip_adjust;                          // kClipAdjustUniform
//       gl_Position.xy += orvex_clip_adjust * gl_Position.w;
//   The device fills orvex_clip_adjust (when the program has it) before every draw.
// - Textures. Before a draw, the texture on stage i is bound to texture unit i (GL_TEXTURE0 + i)
//   with the stage's sampler states as a sampler object; a stage with no texture gets a 1 x 1
//   texture reading (0, 0, 0, 1), as an unbound D3D9 sampler does.
// - States. Render states (blending, depth, culling, fill mode, colour writes, scissor, stencil)
//   are applied by the device at every draw from its own state, whatever program draws.
#include <epoxy/gl.h>

#include <d3d9.h>

#include <vector>

enum GL_Vertex_Attribute : GLuint {
    GL_ATTRIBUTE_POSITION = 0,
    GL_ATTRIBUTE_NORMAL = 1,
    GL_ATTRIBUTE_PSIZE = 2,
    GL_ATTRIBUTE_COLOR0 = 3,
    GL_ATTRIBUTE_COLOR1 = 4,
    GL_ATTRIBUTE_TEXCOORD0 = 5,  // TEXCOORDn at 5 + n, n = 0..7
};

class GL_Device {
public:
    static constexpr const char* kClipAdjustUniform = "orvex_clip_adjust";

    // The GL side of a device of the native realization; null for null or any other device.
    static GL_Device* Of(IDirect3DDevice9* device);

    // Makes the device's GL context current (do this before creating or deleting GL objects for
    // it). False, with nothing made current, once the device's window has been destroyed: the
    // device then draws and presents nothing, and its GL objects go with its context.
    virtual bool MakeCurrent() = 0;
    // Draws from now on use this linked program instead of the fixed-function one; 0 goes back
    // to the fixed function. The program must bind its inputs to the locations above (or take
    // them with layout qualifiers) and apply orvex_clip_adjust. The caller keeps ownership.
    virtual void SetProgramOverride(GLuint program) = 0;
    // Tells the device that GL state was changed behind its back (programs, uniforms of its
    // programs, textures, samplers, buffers, the vertex array, framebuffer bindings, capabilities):
    // the next draw sets everything it needs again. SetProgramOverride does this too.
    virtual void ForgetGLState() = 0;
    // The GL texture of the texture on a stage (uploaded first if its pixels changed); 0 when the
    // stage has none.
    virtual GLuint StageTexture(DWORD stage) = 0;
    // The value orvex_clip_adjust gets for the current viewport.
    virtual void ClipAdjust(float xy[2]) const = 0;
    // The last frame Present showed, as RGBA bytes, top row first; false before any Present.
    virtual bool ReadPresentedFrame(std::vector<unsigned char>* rgba, UINT* width, UINT* height) = 0;

protected:
    ~GL_Device() = default;
};
