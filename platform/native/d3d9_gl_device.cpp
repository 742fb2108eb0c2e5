#include "d3d9_gl_device.h"

#include "d3d9_gl_index_buffer.h"
#include "d3d9_gl_texture.h"
#include "d3d9_gl_vertex_buffer.h"
#include "win32_window.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

D3D9_GL_Device* current_device = nullptr;
UINT known_max_samples = 0;

// Where D3D9's pixel centres fall in GL's (see gl_device.h): a little under half a pixel, so
// that an edge exactly on a D3D9 pixel centre includes the pixel on its left or top side only.
constexpr float half_pixel = 63.0f / 128.0f;
constexpr GLsizeiptr stream_size = 4 << 20;

float as_float(DWORD d)
{
    float f;
    std::memcpy(&f, &d, 4);
    return f;
}

void colour_of(D3DCOLOR c, float out[4])
{
    out[0] = float((c >> 16) & 0xFF) / 255.0f;
    out[1] = float((c >> 8) & 0xFF) / 255.0f;
    out[2] = float(c & 0xFF) / 255.0f;
    out[3] = float((c >> 24) & 0xFF) / 255.0f;
}

GLenum compare_of(DWORD f)
{
    switch (f) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

GLenum blend_of(DWORD b)
{
    switch (b) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR: return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
    default: return GL_ONE;
    }
}

void blend_pair(DWORD src, DWORD dst, GLenum* s, GLenum* d)
{
    if (src == D3DBLEND_BOTHSRCALPHA) {
        *s = GL_SRC_ALPHA;
        *d = GL_ONE_MINUS_SRC_ALPHA;
    } else if (src == D3DBLEND_BOTHINVSRCALPHA) {
        *s = GL_ONE_MINUS_SRC_ALPHA;
        *d = GL_SRC_ALPHA;
    } else {
        *s = blend_of(src);
        *d = blend_of(dst);
    }
}

GLenum blend_op_of(DWORD op)
{
    switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
    }
}

GLenum stencil_op_of(DWORD op)
{
    switch (op) {
    case D3DSTENCILOP_ZERO: return GL_ZERO;
    case D3DSTENCILOP_REPLACE: return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT: return GL_INCR;
    case D3DSTENCILOP_DECRSAT: return GL_DECR;
    case D3DSTENCILOP_INVERT: return GL_INVERT;
    case D3DSTENCILOP_INCR: return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR: return GL_DECR_WRAP;
    default: return GL_KEEP;
    }
}

GLenum address_of(DWORD a)
{
    switch (a) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE: return GL_MIRROR_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
    }
}

GLenum primitive_of(D3DPRIMITIVETYPE type)
{
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

}  // namespace

UINT D3D9_GL_Device::KnownMaxSamples() { return known_max_samples; }

D3D9_GL_Device::D3D9_GL_Device(IDirect3D9* d3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
                               const D3DPRESENT_PARAMETERS& present)
    : D3D9_Device_Base(d3d, creation, present)
{
}

D3D9_GL_Device* D3D9_GL_Device::Make(IDirect3D9* d3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
                                     const D3DPRESENT_PARAMETERS& present, UINT samples, SDL_Window* window,
                                     HRESULT* hr)
{
    *hr = D3DERR_NOTAVAILABLE;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "CreateDevice: no OpenGL 3.3 core context: %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_GL_MakeCurrent(window, context);
    current_device = nullptr;
    GLint max_samples = 1;
    glGetIntegerv(GL_MAX_SAMPLES, &max_samples);
    known_max_samples = UINT(max_samples > 1 ? max_samples : 1);
    const bool clip_control = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    if (!clip_control || samples > known_max_samples) {
        if (!clip_control)
            std::fprintf(stderr, "CreateDevice: the OpenGL lacks clip control (GL_ARB_clip_control)\n");
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    D3D9_GL_Device* device = new D3D9_GL_Device(d3d, creation, present);
    device->window = window;
    device->context = context;
    device->samples = samples;
    current_device = device;
    if (!device->MakeFramebuffers(present.BackBufferWidth, present.BackBufferHeight, samples)) {
        std::fprintf(stderr, "CreateDevice: the frame buffer cannot be made\n");
        device->Release();
        return nullptr;
    }
    SDL_GL_SetSwapInterval(0);
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glFrontFace(GL_CCW);
    glGenVertexArrays(1, &device->vao);
    glBindVertexArray(device->vao);
    glGenSamplers(GLsizei(samplers), device->sampler_objects);
    if (epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic") ||
        epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic"))
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &device->max_anisotropy);
    const GLubyte black[4] = {0, 0, 0, 255};
    glGenTextures(1, &device->black_texture);
    glBindTexture(GL_TEXTURE_2D, device->black_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, black);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    device->fixed_function.reset(new GL_Fixed_Function());
    *hr = D3D_OK;
    return device;
}

D3D9_GL_Device::~D3D9_GL_Device()
{
    const bool live = MakeCurrent();
    ReleaseBindings();
    if (live) {
        fixed_function.reset();
        DeleteFramebuffers();
        glDeleteSamplers(GLsizei(samplers), sampler_objects);
        glDeleteTextures(1, &black_texture);
        glDeleteBuffers(1, &stream_vbo);
        glDeleteBuffers(1, &stream_ibo);
        glDeleteVertexArrays(1, &vao);
        SDL_GL_MakeCurrent(window, nullptr);
    } else {
        fixed_function->Forget();  // its programs go with the context
        fixed_function.reset();
    }
    SDL_GL_DeleteContext(context);
    if (current_device == this)
        current_device = nullptr;
}

bool D3D9_GL_Device::MakeCurrent()
{
    // The window may have been destroyed under the device; its SDL window is then gone too.
    if (window && win32_sdl_window(PresentParameters().hDeviceWindow) != window) {
        window = nullptr;
        if (current_device == this)
            current_device = nullptr;
    }
    if (!window)
        return false;
    if (current_device != this) {
        SDL_GL_MakeCurrent(window, context);
        current_device = this;
    }
    return true;
}

bool D3D9_GL_Device::MakeFramebuffers(UINT width, UINT height, UINT count)
{
    glGenFramebuffers(1, &frame_fbo);
    glGenRenderbuffers(1, &frame_colour);
    glGenRenderbuffers(1, &frame_depth);
    glBindRenderbuffer(GL_RENDERBUFFER, frame_colour);
    if (count > 1)
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, GLsizei(count), GL_RGBA8, GLsizei(width), GLsizei(height));
    else
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(width), GLsizei(height));
    glBindRenderbuffer(GL_RENDERBUFFER, frame_depth);
    if (count > 1)
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, GLsizei(count), GL_DEPTH24_STENCIL8, GLsizei(width),
                                         GLsizei(height));
    else
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, GLsizei(width), GLsizei(height));
    glBindFramebuffer(GL_FRAMEBUFFER, frame_fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, frame_colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, frame_depth);
    const bool frame_ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

    glGenFramebuffers(1, &shown_fbo);
    glGenRenderbuffers(1, &shown_colour);
    glBindRenderbuffer(GL_RENDERBUFFER, shown_colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(width), GLsizei(height));
    glBindFramebuffer(GL_FRAMEBUFFER, shown_fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, shown_colour);
    // Single-sampled, the two take turns as the back buffer (see DoPresent), over one depth buffer.
    if (count <= 1)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, frame_depth);
    const bool shown_ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, frame_fbo);
    shown_any = false;
    applied_serial = 0;
    return frame_ok && shown_ok;
}

void D3D9_GL_Device::DeleteFramebuffers()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &frame_fbo);
    glDeleteFramebuffers(1, &shown_fbo);
    glDeleteRenderbuffers(1, &frame_colour);
    glDeleteRenderbuffers(1, &frame_depth);
    glDeleteRenderbuffers(1, &shown_colour);
    frame_fbo = shown_fbo = frame_colour = frame_depth = shown_colour = 0;
}

// ---- Resources ----

D3D9_Texture* D3D9_GL_Device::NewTexture(DWORD usage, D3DFORMAT format, D3DPOOL pool)
{
    return new D3D9_GL_Texture(this, this, usage, format, pool);
}

D3D9_Vertex_Buffer* D3D9_GL_Device::NewVertexBuffer(DWORD usage, DWORD fvf, D3DPOOL pool)
{
    return new D3D9_GL_Vertex_Buffer(this, this, usage, fvf, pool);
}

D3D9_Index_Buffer* D3D9_GL_Device::NewIndexBuffer(DWORD usage, D3DFORMAT format, D3DPOOL pool)
{
    return new D3D9_GL_Index_Buffer(this, this, usage, format, pool);
}

// ---- GL_Device ----

void D3D9_GL_Device::ForgetGLState() { gl_state_unknown = true; }

void D3D9_GL_Device::SetProgramOverride(GLuint program)
{
    program_override = program;
    gl_state_unknown = true;
    if (program != override_clip_program && MakeCurrent()) {
        override_clip_program = program;
        override_clip_adjust = program ? glGetUniformLocation(program, kClipAdjustUniform) : -1;
    }
}

GLuint D3D9_GL_Device::StageTexture(DWORD stage)
{
    if (stage >= texture_slots || !Texture(stage) || !MakeCurrent())
        return 0;
    const GLuint name = static_cast<D3D9_GL_Texture*>(Texture(stage))->Name();
    std::memset(bound_texture, 0, sizeof bound_texture);
    return name;
}

void D3D9_GL_Device::ClipAdjust(float xy[2]) const
{
    xy[0] = 2.0f * half_pixel / float(Viewport().Width);
    xy[1] = -2.0f * half_pixel / float(Viewport().Height);
}

bool D3D9_GL_Device::ReadPresentedFrame(std::vector<unsigned char>* rgba, UINT* width, UINT* height)
{
    if (!shown_any || !rgba || !width || !height || !MakeCurrent())
        return false;
    ReadFramebuffer(shown_fbo, rgba);
    *width = PresentParameters().BackBufferWidth;
    *height = PresentParameters().BackBufferHeight;
    return true;
}

bool D3D9_GL_Device::ReadBackBuffer(std::vector<DWORD>* pixels)
{
    if (!MakeCurrent())
        return false;
    const GLint w = GLint(PresentParameters().BackBufferWidth);
    const GLint h = GLint(PresentParameters().BackBufferHeight);
    std::vector<unsigned char> rgba;
    if (samples > 1) {
        // A multisampled frame is resolved into a framebuffer of its own, so that the copy
        // Present keeps for the window stays the last frame shown.
        GLuint fbo = 0, colour = 0;
        glGenFramebuffers(1, &fbo);
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_fbo);
        glDisable(GL_SCISSOR_TEST);
        glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        ReadFramebuffer(fbo, &rgba);
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colour);
    } else {
        ReadFramebuffer(frame_fbo, &rgba);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, frame_fbo);
    applied_serial = 0;
    pixels->resize(size_t(w) * size_t(h));
    for (size_t i = 0; i < pixels->size(); ++i) {
        const unsigned char* p = &rgba[i * 4];
        (*pixels)[i] = 0xFF000000u | DWORD(p[0]) << 16 | DWORD(p[1]) << 8 | DWORD(p[2]);
    }
    return true;
}

void D3D9_GL_Device::ReadFramebuffer(GLuint fbo, std::vector<unsigned char>* rgba)
{
    const UINT w = PresentParameters().BackBufferWidth;
    const UINT h = PresentParameters().BackBufferHeight;
    std::vector<unsigned char> bottom_up(size_t(w) * h * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(w), GLsizei(h), GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_fbo);
    rgba->resize(bottom_up.size());
    const size_t row = size_t(w) * 4;
    for (UINT y = 0; y < h; ++y)
        std::memcpy(rgba->data() + y * row, bottom_up.data() + (h - 1 - y) * row, row);
}

// ---- Frames ----

void D3D9_GL_Device::DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                             DWORD stencil)
{
    if (!MakeCurrent())
        return;
    const D3DVIEWPORT9& vp = Viewport();
    const LONG height = LONG(PresentParameters().BackBufferHeight);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        float c[4];
        colour_of(color, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        glClearStencil(GLint(stencil & 0xFF));
        glStencilMask(0xFF);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glEnable(GL_SCISSOR_TEST);
    const D3DRECT whole{LONG(vp.X), LONG(vp.Y), LONG(vp.X + vp.Width), LONG(vp.Y + vp.Height)};
    const DWORD n = count ? count : 1;
    for (DWORD i = 0; i < n; ++i) {
        const D3DRECT r = count ? rects[i] : whole;
        const LONG x1 = r.x1 > whole.x1 ? r.x1 : whole.x1;
        const LONG y1 = r.y1 > whole.y1 ? r.y1 : whole.y1;
        const LONG x2 = r.x2 < whole.x2 ? r.x2 : whole.x2;
        const LONG y2 = r.y2 < whole.y2 ? r.y2 : whole.y2;
        if (x2 <= x1 || y2 <= y1)
            continue;
        glScissor(x1, height - y2, x2 - x1, y2 - y1);
        glClear(mask);
    }
    applied_serial = 0;
}

HRESULT D3D9_GL_Device::DoPresent()
{
    if (!MakeCurrent())
        return D3DERR_INVALIDCALL;
    const GLint w = GLint(PresentParameters().BackBufferWidth);
    const GLint h = GLint(PresentParameters().BackBufferHeight);
    glDisable(GL_SCISSOR_TEST);
    // A back buffer whose contents need not survive the present is shown as it is and the other
    // colour buffer becomes the back buffer: one copy a frame instead of two. A multisampled one
    // is resolved first, and D3DSWAPEFFECT_COPY keeps the back buffer's contents.
    const bool take_turns = samples <= 1 && PresentParameters().SwapEffect != D3DSWAPEFFECT_COPY;
    if (!take_turns) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, shown_fbo);
        glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    int ww = w, wh = h;
    SDL_GL_GetDrawableSize(window, &ww, &wh);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, take_turns ? frame_fbo : shown_fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, w, h, 0, 0, ww, wh, GL_COLOR_BUFFER_BIT, (ww == w && wh == h) ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(window);
    if (take_turns) {
        std::swap(frame_fbo, shown_fbo);
        std::swap(frame_colour, shown_colour);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, frame_fbo);
    shown_any = true;
    applied_serial = 0;
    return D3D_OK;
}

HRESULT D3D9_GL_Device::DoReset(const D3DPRESENT_PARAMETERS& next)
{
    if (next.MultiSampleType != PresentParameters().MultiSampleType ||
        next.MultiSampleQuality != PresentParameters().MultiSampleQuality)
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DEVICELOST;
    DeleteFramebuffers();
    return MakeFramebuffers(next.BackBufferWidth, next.BackBufferHeight, samples) ? D3D_OK
                                                                                : D3DERR_OUTOFVIDEOMEMORY;
}

// ---- States ----

void D3D9_GL_Device::ApplySampler(DWORD stage)
{
    const GLuint s = sampler_objects[stage];
    const DWORD min = SamplerState(stage, D3DSAMP_MINFILTER);
    const DWORD mag = SamplerState(stage, D3DSAMP_MAGFILTER);
    const DWORD mip = SamplerState(stage, D3DSAMP_MIPFILTER);
    const bool min_linear = min != D3DTEXF_POINT && min != D3DTEXF_NONE;
    GLenum min_filter;
    if (mip == D3DTEXF_NONE)
        min_filter = min_linear ? GL_LINEAR : GL_NEAREST;
    else if (mip == D3DTEXF_POINT)
        min_filter = min_linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    else
        min_filter = min_linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, GLint(min_filter));
    glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, mag == D3DTEXF_POINT || mag == D3DTEXF_NONE ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(s, GL_TEXTURE_WRAP_S, GLint(address_of(SamplerState(stage, D3DSAMP_ADDRESSU))));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_T, GLint(address_of(SamplerState(stage, D3DSAMP_ADDRESSV))));
    float border[4];
    colour_of(SamplerState(stage, D3DSAMP_BORDERCOLOR), border);
    glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, border);
    glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, as_float(SamplerState(stage, D3DSAMP_MIPMAPLODBIAS)));
    glSamplerParameterf(s, GL_TEXTURE_MIN_LOD, float(SamplerState(stage, D3DSAMP_MAXMIPLEVEL)));
    if (max_anisotropy > 1.0f) {
        const bool anisotropic = min == D3DTEXF_ANISOTROPIC || mag == D3DTEXF_ANISOTROPIC;
        float amount = anisotropic ? float(SamplerState(stage, D3DSAMP_MAXANISOTROPY)) : 1.0f;
        amount = amount < 1.0f ? 1.0f : (amount > max_anisotropy ? max_anisotropy : amount);
        glSamplerParameterf(s, GL_TEXTURE_MAX_ANISOTROPY_EXT, amount);
    }
}

void D3D9_GL_Device::ApplyStates()
{
    const D3DVIEWPORT9& vp = Viewport();
    const GLint height = GLint(PresentParameters().BackBufferHeight);
    glViewport(GLint(vp.X), height - GLint(vp.Y + vp.Height), GLsizei(vp.Width), GLsizei(vp.Height));
    glDepthRange(vp.MinZ, vp.MaxZ);

    if (RenderState(D3DRS_ZENABLE) != D3DZB_FALSE) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(compare_of(RenderState(D3DRS_ZFUNC)));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);

    const DWORD fill = RenderState(D3DRS_FILLMODE);
    glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);

    // The frame is drawn upright, so a face turns the same way on screen in both APIs: with GL's
    // counter-clockwise front faces, D3D9's CCW culling culls GL's front faces.
    const DWORD cull = RenderState(D3DRS_CULLMODE);
    if (cull == D3DCULL_CW || cull == D3DCULL_CCW) {
        glEnable(GL_CULL_FACE);
        glCullFace(cull == D3DCULL_CCW ? GL_FRONT : GL_BACK);
    } else {
        glDisable(GL_CULL_FACE);
    }

    if (RenderState(D3DRS_ALPHABLENDENABLE)) {
        glEnable(GL_BLEND);
        GLenum s, d, sa, da;
        blend_pair(RenderState(D3DRS_SRCBLEND), RenderState(D3DRS_DESTBLEND), &s, &d);
        if (RenderState(D3DRS_SEPARATEALPHABLENDENABLE)) {
            blend_pair(RenderState(D3DRS_SRCBLENDALPHA), RenderState(D3DRS_DESTBLENDALPHA), &sa, &da);
            glBlendEquationSeparate(blend_op_of(RenderState(D3DRS_BLENDOP)),
                                    blend_op_of(RenderState(D3DRS_BLENDOPALPHA)));
        } else {
            sa = s;
            da = d;
            glBlendEquation(blend_op_of(RenderState(D3DRS_BLENDOP)));
        }
        glBlendFuncSeparate(s, d, sa, da);
        float factor[4];
        colour_of(RenderState(D3DRS_BLENDFACTOR), factor);
        glBlendColor(factor[0], factor[1], factor[2], factor[3]);
    } else {
        glDisable(GL_BLEND);
    }

    const DWORD write = RenderState(D3DRS_COLORWRITEENABLE);
    glColorMask((write & D3DCOLORWRITEENABLE_RED) != 0, (write & D3DCOLORWRITEENABLE_GREEN) != 0,
                (write & D3DCOLORWRITEENABLE_BLUE) != 0, (write & D3DCOLORWRITEENABLE_ALPHA) != 0);

    if (RenderState(D3DRS_SCISSORTESTENABLE)) {
        const RECT& r = Scissor();
        glEnable(GL_SCISSOR_TEST);
        glScissor(r.left, height - r.bottom, r.right - r.left, r.bottom - r.top);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }

    if (RenderState(D3DRS_STENCILENABLE)) {
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(compare_of(RenderState(D3DRS_STENCILFUNC)), GLint(RenderState(D3DRS_STENCILREF) & 0xFF),
                      RenderState(D3DRS_STENCILMASK));
        glStencilOp(stencil_op_of(RenderState(D3DRS_STENCILFAIL)), stencil_op_of(RenderState(D3DRS_STENCILZFAIL)),
                    stencil_op_of(RenderState(D3DRS_STENCILPASS)));
        glStencilMask(RenderState(D3DRS_STENCILWRITEMASK));
    } else {
        glDisable(GL_STENCIL_TEST);
    }

    if (RenderState(D3DRS_MULTISAMPLEANTIALIAS))
        glEnable(GL_MULTISAMPLE);
    else
        glDisable(GL_MULTISAMPLE);

    const float bias = as_float(RenderState(D3DRS_DEPTHBIAS));
    const float slope = as_float(RenderState(D3DRS_SLOPESCALEDEPTHBIAS));
    if (bias != 0.0f || slope != 0.0f) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glEnable(GL_POLYGON_OFFSET_LINE);
        glPolygonOffset(slope, bias * 16777215.0f);
    } else {
        glDisable(GL_POLYGON_OFFSET_FILL);
        glDisable(GL_POLYGON_OFFSET_LINE);
    }

    for (DWORD stage = 0; stage < texture_stages; ++stage)
        ApplySampler(stage);
    applied_serial = RenderSerial();
}

void D3D9_GL_Device::BindTextures(bool all_stages)
{
    const DWORD count = all_stages ? texture_stages : 1;
    for (DWORD stage = 0; stage < count; ++stage) {
        auto* texture = static_cast<D3D9_GL_Texture*>(Texture(stage));
        if (!texture && !all_stages)
            continue;
        glActiveTexture(GL_TEXTURE0 + stage);
        const GLuint name = texture ? texture->Name() : black_texture;
        if (bound_texture[stage] != name) {
            glBindTexture(GL_TEXTURE_2D, name);
            bound_texture[stage] = name;
        }
        if (bound_sampler[stage] != sampler_objects[stage]) {
            glBindSampler(stage, sampler_objects[stage]);
            bound_sampler[stage] = sampler_objects[stage];
        }
    }
}

void D3D9_GL_Device::UploadFixedFunction(GL_Fixed_Function_Program& p)
{
    if (p.uploaded_transforms != TransformSerial()) {
        p.uploaded_transforms = TransformSerial();
        const D3DMATRIX& world = Transform(D3DTS_WORLD);
        const D3DMATRIX wvp =
            d3d9_multiply(d3d9_multiply(world, Transform(D3DTS_VIEW)), Transform(D3DTS_PROJECTION));
        glUniformMatrix4fv(p.wvp, 1, GL_FALSE, &wvp._11);
        glUniformMatrix4fv(p.world, 1, GL_FALSE, &world._11);
    }
    if (p.uploaded_serial == StateSerial())
        return;
    p.uploaded_serial = StateSerial();
    const D3DVIEWPORT9& vp = Viewport();
    glUniform4f(p.viewport, float(vp.X), float(vp.Y), float(vp.Width), float(vp.Height));
    float adjust[2];
    ClipAdjust(adjust);
    glUniform2f(p.clip_adjust, adjust[0], adjust[1]);
    float ambient[4];
    colour_of(RenderState(D3DRS_AMBIENT), ambient);
    glUniform4fv(p.ambient, 1, ambient);
    const D3DMATERIAL9& m = Material();
    const D3DCOLORVALUE material[4] = {m.Diffuse, m.Ambient, m.Specular, m.Emissive};
    glUniform4fv(p.material, 4, &material[0].r);
    glUniform4i(p.sources, GLint(RenderState(D3DRS_DIFFUSEMATERIALSOURCE)),
                GLint(RenderState(D3DRS_AMBIENTMATERIALSOURCE)), GLint(RenderState(D3DRS_EMISSIVEMATERIALSOURCE)),
                RenderState(D3DRS_COLORVERTEX) ? 1 : 0);
    float diffuse[8][4], light_ambient[8][4], position[8][4], attenuation[8][4];
    int lights = 0;
    for (const auto& entry : Lights()) {
        if (!entry.second.enabled || lights == 8)
            continue;
        const D3DLIGHT9& l = entry.second.light;
        std::memcpy(diffuse[lights], &l.Diffuse, 16);
        std::memcpy(light_ambient[lights], &l.Ambient, 16);
        const bool directional = l.Type == D3DLIGHT_DIRECTIONAL;
        const D3DVECTOR& v = directional ? l.Direction : l.Position;
        position[lights][0] = v.x;
        position[lights][1] = v.y;
        position[lights][2] = v.z;
        position[lights][3] = directional ? 0.0f : 1.0f;
        attenuation[lights][0] = l.Attenuation0;
        attenuation[lights][1] = l.Attenuation1;
        attenuation[lights][2] = l.Attenuation2;
        attenuation[lights][3] = l.Range;
        ++lights;
    }
    glUniform1i(p.light_count, lights);
    if (lights) {
        glUniform4fv(p.light_diffuse, lights, diffuse[0]);
        glUniform4fv(p.light_ambient, lights, light_ambient[0]);
        glUniform4fv(p.light_position, lights, position[0]);
        glUniform4fv(p.light_attenuation, lights, attenuation[0]);
    }
    glUniform1f(p.point_size, as_float(RenderState(D3DRS_POINTSIZE)));
    const GLint stage[6] = {
        GLint(StageState(0, D3DTSS_COLOROP)),   GLint(StageState(0, D3DTSS_COLORARG1)),
        GLint(StageState(0, D3DTSS_COLORARG2)), GLint(StageState(0, D3DTSS_ALPHAOP)),
        GLint(StageState(0, D3DTSS_ALPHAARG1)), GLint(StageState(0, D3DTSS_ALPHAARG2)),
    };
    glUniform1iv(p.stage, 6, stage);
    float tfactor[4];
    colour_of(RenderState(D3DRS_TEXTUREFACTOR), tfactor);
    glUniform4fv(p.tfactor, 1, tfactor);
    glUniform2i(p.alpha_test, GLint(RenderState(D3DRS_ALPHAFUNC)), GLint(RenderState(D3DRS_ALPHAREF) & 0xFF));
}

// ---- Drawing ----

void D3D9_GL_Device::SetupAttributes(GLuint buffer, UINT offset, UINT stride, DWORD fvf,
                                     const D3D9_Vertex_Layout& layout)
{
    if (buffer == attribute_buffer && offset == attribute_offset && stride == attribute_stride &&
        fvf == attribute_fvf)
        return;
    attribute_buffer = buffer;
    attribute_offset = offset;
    attribute_stride = stride;
    attribute_fvf = fvf;
    auto pointer = [offset](int element) { return reinterpret_cast<const void*>(uintptr_t(offset) + uintptr_t(element)); };
    auto floats = [&](GLuint location, int element, GLint size) {
        if (element < 0) {
            glDisableVertexAttribArray(location);
            glVertexAttrib4f(location, 0.0f, 0.0f, 0.0f, 1.0f);
            return;
        }
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, GLsizei(stride), pointer(element));
    };
    auto colour = [&](GLuint location, int element) {
        if (element < 0) {
            glDisableVertexAttribArray(location);
            glVertexAttrib4f(location, 1.0f, 1.0f, 1.0f, 1.0f);
            return;
        }
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride), pointer(element));
    };
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    floats(GL_ATTRIBUTE_POSITION, 0, position == D3DFVF_XYZRHW || position == D3DFVF_XYZW ? 4 : 3);
    floats(GL_ATTRIBUTE_NORMAL, layout.normal, 3);
    floats(GL_ATTRIBUTE_PSIZE, layout.point_size, 1);
    colour(GL_ATTRIBUTE_COLOR0, layout.diffuse);
    colour(GL_ATTRIBUTE_COLOR1, layout.specular);
    for (int i = 0; i < 8; ++i)
        floats(GL_ATTRIBUTE_TEXCOORD0 + GLuint(i), layout.texcoord[i], layout.texcoord_size[i]);
}

GLintptr D3D9_GL_Device::Stream(GLenum target, GLuint& buffer, GLsizeiptr& size, GLintptr& at, const void* bytes,
                                GLsizeiptr length, GLsizeiptr align)
{
    if (!buffer)
        glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    GLintptr position = (at + align - 1) / align * align;
    if (size == 0 || position + length > size) {
        size = length > stream_size ? length * 2 : (size ? size : stream_size);
        glBufferData(target, size, nullptr, GL_STREAM_DRAW);
        position = 0;
    }
    glBufferSubData(target, position, length, bytes);
    at = position + length;
    return position;
}

void D3D9_GL_Device::DoDraw(const D3D9_Draw& draw)
{
    if (!MakeCurrent())
        return;
    if (gl_state_unknown) {
        gl_state_unknown = false;
        glBindVertexArray(vao);
        glBindFramebuffer(GL_FRAMEBUFFER, frame_fbo);
        glEnable(GL_PROGRAM_POINT_SIZE);
        glFrontFace(GL_CCW);
        current_program = 0;
        attribute_fvf = 0xFFFFFFFF;
        std::memset(bound_texture, 0, sizeof bound_texture);
        std::memset(bound_sampler, 0, sizeof bound_sampler);
        applied_serial = 0;
    }
    if (applied_serial != RenderSerial())
        ApplyStates();

    GLuint program = program_override;
    GL_Fixed_Function_Program* ff = nullptr;
    if (!program) {
        GL_Fixed_Function_Key key = GL_Fixed_Function::KeyFor(draw.layout, StageState(0, D3DTSS_TEXCOORDINDEX));
        key.lighting = !draw.layout.rhw && RenderState(D3DRS_LIGHTING);
        key.texture = Texture(0) && StageState(0, D3DTSS_COLOROP) != D3DTOP_DISABLE;
        key.add_specular = RenderState(D3DRS_SPECULARENABLE) != FALSE;
        key.alpha_test = RenderState(D3DRS_ALPHATESTENABLE) != FALSE;
        key.points = draw.type == D3DPT_POINTLIST || RenderState(D3DRS_FILLMODE) == D3DFILL_POINT;
        ff = fixed_function->Program(key);
        if (!ff)
            return;
        program = ff->program;
    }
    if (program != current_program) {
        glUseProgram(program);
        current_program = program;
    }
    if (ff) {
        UploadFixedFunction(*ff);
        BindTextures(false);
    } else {
        if (override_clip_adjust >= 0) {
            float adjust[2];
            ClipAdjust(adjust);
            glUniform2f(override_clip_adjust, adjust[0], adjust[1]);
        }
        BindTextures(true);
    }

    const GLenum mode = primitive_of(draw.type);
    const GLsizei count = GLsizei(draw.count);
    if (draw.buffer) {
        auto* vb = static_cast<D3D9_GL_Vertex_Buffer*>(draw.buffer);
        const GLuint name = vb->gl.Bind(GL_ARRAY_BUFFER, vb->data);
        SetupAttributes(name, draw.buffer_offset, draw.stride, draw.fvf, draw.layout);
        if (!draw.indexed) {
            glDrawArrays(mode, GLint(draw.first_vertex), count);
            return;
        }
        auto* ib = static_cast<D3D9_GL_Index_Buffer*>(draw.index_buffer);
        ib->gl.Bind(GL_ELEMENT_ARRAY_BUFFER, ib->data);
        const UINT size = ib->IndexSize();
        glDrawElementsBaseVertex(mode, count, size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                 reinterpret_cast<const void*>(uintptr_t(draw.first_index) * size), draw.base_vertex);
        return;
    }
    // User memory: streamed at a multiple of the stride, so one attribute setup serves every draw
    // of the same format.
    const UINT skip = draw.indexed ? draw.min_index : 0;
    const GLintptr at = Stream(GL_ARRAY_BUFFER, stream_vbo, stream_vbo_size, stream_vbo_at,
                               draw.user_vertices + size_t(skip) * draw.stride,
                               GLsizeiptr(draw.vertex_bytes - size_t(skip) * draw.stride), draw.stride);
    SetupAttributes(stream_vbo, 0, draw.stride, draw.fvf, draw.layout);
    const GLint first = GLint(at / GLintptr(draw.stride));
    if (!draw.indexed) {
        glDrawArrays(mode, first, count);
        return;
    }
    const UINT size = draw.index_format == D3DFMT_INDEX32 ? 4 : 2;
    const GLintptr indices = Stream(GL_ELEMENT_ARRAY_BUFFER, stream_ibo, stream_ibo_size, stream_ibo_at,
                                    draw.user_indices, GLsizeiptr(draw.count) * size, size);
    glDrawElementsBaseVertex(mode, count, size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(indices), first - GLint(skip));
}
