#pragma once
// The native device: D3D9_Device_Base's state drawn with OpenGL 3.3 core on the device window's
// SDL window. Frames are drawn into an off-screen framebuffer (colour RGBA8 + depth D24S8,
// multisampled when asked); Present resolves it into a single-sample copy (kept for
// ReadPresentedFrame), blits that into the window and swaps without waiting for the retrace.
#include <SDL.h>
#include <memory>
#include <epoxy/gl.h>

#include "common/d3d9/d3d9_device_base.h"
#include "gl_device.h"
#include "gl_fixed_function.h"

class D3D9_GL_Device : public D3D9_Device_Base, public GL_Device {
public:
    // Makes the context and framebuffers; on failure returns null with *hr set
    // (D3DERR_NOTAVAILABLE when the GL or the sample count is not to be had).
    static D3D9_GL_Device* Make(IDirect3D9* d3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
                                const D3DPRESENT_PARAMETERS& present, UINT samples, SDL_Window* window,
                                HRESULT* hr);
    ~D3D9_GL_Device() override;

    // The largest sample count the GL of the last device made allows (0 before any device).
    static UINT KnownMaxSamples();

    // GL_Device
    bool MakeCurrent() override;
    void SetProgramOverride(GLuint program) override;
    void ForgetGLState() override;
    GLuint StageTexture(DWORD stage) override;
    void ClipAdjust(float xy[2]) const override;
    bool ReadPresentedFrame(std::vector<unsigned char>* rgba, UINT* width, UINT* height) override;

protected:
    D3D9_Texture* NewTexture(DWORD usage, D3DFORMAT format, D3DPOOL pool) override;
    D3D9_Vertex_Buffer* NewVertexBuffer(DWORD usage, DWORD fvf, D3DPOOL pool) override;
    D3D9_Index_Buffer* NewIndexBuffer(DWORD usage, D3DFORMAT format, D3DPOOL pool) override;
    void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    void DoDraw(const D3D9_Draw& draw) override;
    HRESULT DoPresent() override;
    HRESULT DoReset(const D3DPRESENT_PARAMETERS& present) override;
    bool ReadBackBuffer(std::vector<DWORD>* pixels) override;

private:
    D3D9_GL_Device(IDirect3D9* d3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
                   const D3DPRESENT_PARAMETERS& present);
    bool MakeFramebuffers(UINT width, UINT height, UINT samples);
    void DeleteFramebuffers();
    // Reads the colour of framebuffer `fbo` (single-sample) into RGBA bytes, top row first.
    void ReadFramebuffer(GLuint fbo, std::vector<unsigned char>* rgba);
    void ApplyStates();
    void ApplySampler(DWORD stage);
    void BindTextures(bool all_stages);
    void UploadFixedFunction(GL_Fixed_Function_Program& p);
    void SetupAttributes(GLuint buffer, UINT offset, UINT stride, DWORD fvf, const D3D9_Vertex_Layout& layout);
    // Copies bytes into the streaming buffer at a multiple of `align`; returns the offset.
    GLintptr Stream(GLenum target, GLuint& buffer, GLsizeiptr& size, GLintptr& at, const void* bytes,
                    GLsizeiptr length, GLsizeiptr align);

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    UINT samples = 1;
    GLuint frame_fbo = 0, frame_colour = 0, frame_depth = 0;
    GLuint shown_fbo = 0, shown_colour = 0;
    bool shown_any = false;
    GLuint vao = 0;
    GLuint stream_vbo = 0, stream_ibo = 0;
    GLsizeiptr stream_vbo_size = 0, stream_ibo_size = 0;
    GLintptr stream_vbo_at = 0, stream_ibo_at = 0;
    GLuint sampler_objects[samplers] = {};
    GLuint bound_texture[texture_stages] = {};
    GLuint bound_sampler[texture_stages] = {};
    GLuint black_texture = 0;
    float max_anisotropy = 1.0f;

    std::unique_ptr<GL_Fixed_Function> fixed_function;
    GLuint program_override = 0;
    GLint override_clip_adjust = -1;
    GLuint override_clip_program = 0;

    unsigned applied_serial = 0;
    bool gl_state_unknown = false;
    GLuint current_program = 0;
    GLuint attribute_buffer = 0;
    UINT attribute_offset = 0, attribute_stride = 0;
    DWORD attribute_fvf = 0xFFFFFFFF;
};
