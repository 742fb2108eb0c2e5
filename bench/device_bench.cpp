// One frame of 10 000 DrawPrimitiveUP line lists (wire boxes) and 1 000 indexed meshes of 1 000
// triangles at 640 x 480, off screen: through the Direct3D 9 device, and the same drawing written
// directly in OpenGL on the same context. Each frame ends with glFinish, so a frame's time is
// the time its pixels took. Compare the two frames-per-second figures.
#include <benchmark/benchmark.h>

#include <d3d9.h>
#include <d3dx9.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/draw_lines.h"
#include "native/gl_device.h"

namespace {

constexpr int kLineLists = 10000;
constexpr int kMeshes = 1000;
constexpr int kGrid = 20;  // 20 x 25 cells, two triangles each: 1 000 triangles
constexpr int kGridRows = 25;

struct Mesh_Vertex {
    float x, y, z;
    D3DCOLOR colour;
};

struct Line_Vertex {
    float x, y, z, zero1, zero2, zero3, one;
};

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The scene both paths draw: a grid mesh, a world matrix per mesh, a box per line list.
struct Scene {
    std::vector<Mesh_Vertex> vertices;
    std::vector<WORD> indices;
    std::vector<D3DXMATRIX> worlds;
    D3DXMATRIX view, projection;

    Scene()
    {
        for (int y = 0; y <= kGridRows; ++y)
            for (int x = 0; x <= kGrid; ++x)
                vertices.push_back({x * 0.01f, y * 0.01f, 0.0f, D3DCOLOR_XRGB(40 + 8 * x, 200 - 6 * y, 90)});
        for (int y = 0; y < kGridRows; ++y)
            for (int x = 0; x < kGrid; ++x) {
                const WORD a = WORD(y * (kGrid + 1) + x), b = WORD(a + 1), c = WORD(a + kGrid + 1), d = WORD(c + 1);
                const WORD cell[6] = {a, c, b, b, c, d};
                indices.insert(indices.end(), cell, cell + 6);
            }
        for (int i = 0; i < kMeshes; ++i) {
            D3DXMATRIX m;
            D3DXMatrixTranslation(&m, -1.6f + 0.1f * (i % 32), -1.2f + 0.08f * (i / 32), 0.0f);
            worlds.push_back(m);
        }
        const D3DXVECTOR3 eye(0, 0, -3), at(0, 0, 0), up(0, 1, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 3, 640.0f / 480.0f, 0.5f, 50.0f);
    }

    static void Box(int i, float out[6])
    {
        const float x = -1.5f + 0.03f * (i % 100), y = -1.1f + 0.022f * (i / 100);
        const float box[6] = {x, y, 0.5f, x + 0.02f, y + 0.015f, 0.52f};
        std::memcpy(out, box, sizeof box);
    }
};

struct Fixture {
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    Scene scene;

    Fixture()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.lpszClassName = "DeviceBench";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, "DeviceBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 656, 519, nullptr, nullptr,
                                 nullptr, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        if (!window || !d3d ||
            FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                     &pp, &device)))
            std::abort();
        const UINT vb_bytes = UINT(scene.vertices.size() * sizeof(Mesh_Vertex));
        const UINT ib_bytes = UINT(scene.indices.size() * sizeof(WORD));
        device->CreateVertexBuffer(vb_bytes, D3DUSAGE_WRITEONLY, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_MANAGED, &vb,
                                   nullptr);
        device->CreateIndexBuffer(ib_bytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr);
        void* data = nullptr;
        vb->Lock(0, 0, &data, 0);
        std::memcpy(data, scene.vertices.data(), vb_bytes);
        vb->Unlock();
        ib->Lock(0, 0, &data, 0);
        std::memcpy(data, scene.indices.data(), ib_bytes);
        ib->Unlock();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void DeviceFrame(benchmark::State& state)
{
    Fixture& f = fixture();
    IDirect3DDevice9* d = f.device;
    GL_Device::Of(d)->MakeCurrent();
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetTransform(D3DTS_VIEW, &f.scene.view);
    d->SetTransform(D3DTS_PROJECTION, &f.scene.projection);
    const UINT vertices = UINT(f.scene.vertices.size());
    for (auto _ : state) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
        d->BeginScene();
        d->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        d->SetStreamSource(0, f.vb, 0, sizeof(Mesh_Vertex));
        d->SetIndices(f.ib);
        for (int i = 0; i < kMeshes; ++i) {
            d->SetTransform(D3DTS_WORLD, &f.scene.worlds[i]);
            d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertices, 0, 1000);
        }
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        d->SetTransform(D3DTS_WORLD, &identity);
        d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE);
        for (int i = 0; i < kLineLists; ++i) {
            float b[6];
            Scene::Box(i, b);
            DrawWireBox(b[0], b[1], b[2], b[3], b[4], b[5], &d);
        }
        d->EndScene();
        d->Present(nullptr, nullptr, nullptr, nullptr);
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The same frame in plain GL 3.3: one program (matrix x position, vertex colour or white), an
// FBO of the same size, static buffers for the mesh, a streamed buffer for the lines, a blit
// into the window. It runs after DeviceFrame (registration order): it leaves its own GL state
// behind, which the device does not expect.
struct Direct_GL {
    GLuint fbo = 0, colour = 0, depth = 0, program = 0, vao = 0, mesh_vbo = 0, mesh_ibo = 0, line_vbo = 0;
    GLint matrix = -1;

    static GLuint Shader(GLenum type, const char* text)
    {
        GLuint s = glCreateShader(type);
        glShaderSource(s, 1, &text, nullptr);
        glCompileShader(s);
        return s;
    }

    explicit Direct_GL(const Scene& scene)
    {
        glGenFramebuffers(1, &fbo);
        glGenRenderbuffers(1, &colour);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 640, 480);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, 640, 480);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
        const char* vs = "#version 330 core\n"
                         "layout(location = 0) in vec3 p; layout(location = 3) in vec4 c;\n"
                         "uniform mat4 m; out vec4 v;\n"
                         "void main() { gl_Position = m * vec4(p, 1.0); v = c; }\n";
        const char* fs = "#version 330 core\nin vec4 v; out vec4 o; void main() { o = v; }\n";
        program = glCreateProgram();
        glAttachShader(program, Shader(GL_VERTEX_SHADER, vs));
        glAttachShader(program, Shader(GL_FRAGMENT_SHADER, fs));
        glLinkProgram(program);
        matrix = glGetUniformLocation(program, "m");
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &mesh_vbo);
        glGenBuffers(1, &mesh_ibo);
        glGenBuffers(1, &line_vbo);
        glBindBuffer(GL_ARRAY_BUFFER, mesh_vbo);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(scene.vertices.size() * sizeof(Mesh_Vertex)), scene.vertices.data(),
                     GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, line_vbo);
        glBufferData(GL_ARRAY_BUFFER, 4 << 20, nullptr, GL_STREAM_DRAW);
        glBindVertexArray(vao);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh_ibo);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(scene.indices.size() * sizeof(WORD)), scene.indices.data(),
                     GL_STATIC_DRAW);
        glBindVertexArray(0);
    }
};

void DirectGLFrame(benchmark::State& state)
{
    Fixture& f = fixture();
    GL_Device::Of(f.device)->MakeCurrent();
    static Direct_GL gl(f.scene);
    const D3DXMATRIX view_projection = f.scene.view * f.scene.projection;
    const GLsizei index_count = GLsizei(f.scene.indices.size());
    for (auto _ : state) {
        glBindFramebuffer(GL_FRAMEBUFFER, gl.fbo);
        glViewport(0, 0, 640, 480);
        glDisable(GL_SCISSOR_TEST);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glClearColor(0.125f, 0.19f, 0.25f, 1.0f);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(gl.program);
        glBindVertexArray(gl.vao);
        glBindBuffer(GL_ARRAY_BUFFER, gl.mesh_vbo);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Mesh_Vertex), nullptr);
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Mesh_Vertex),
                              reinterpret_cast<const void*>(12));
        for (int i = 0; i < kMeshes; ++i) {
            const D3DXMATRIX m = f.scene.worlds[i] * view_projection;
            glUniformMatrix4fv(gl.matrix, 1, GL_FALSE, &m._11);
            glDrawElements(GL_TRIANGLES, index_count, GL_UNSIGNED_SHORT, nullptr);
        }
        glUniformMatrix4fv(gl.matrix, 1, GL_FALSE, &view_projection._11);
        glBindBuffer(GL_ARRAY_BUFFER, gl.line_vbo);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Line_Vertex), nullptr);
        glDisableVertexAttribArray(3);
        glVertexAttrib4f(3, 1.0f, 1.0f, 1.0f, 1.0f);
        GLintptr at = 0;
        for (int i = 0; i < kLineLists; ++i) {
            float b[6];
            Scene::Box(i, b);
            const float x1 = b[0], y1 = b[1], z1 = b[2], x2 = b[3], y2 = b[4], z2 = b[5];
            const Line_Vertex edges[24] = {
                {x1, y1, z1, 0, 0, 0, 1}, {x2, y1, z1, 0, 0, 0, 1}, {x2, y1, z1, 0, 0, 0, 1}, {x2, y2, z1, 0, 0, 0, 1},
                {x2, y2, z1, 0, 0, 0, 1}, {x1, y2, z1, 0, 0, 0, 1}, {x1, y2, z1, 0, 0, 0, 1}, {x1, y1, z1, 0, 0, 0, 1},
                {x1, y1, z1, 0, 0, 0, 1}, {x1, y1, z2, 0, 0, 0, 1}, {x1, y1, z2, 0, 0, 0, 1}, {x1, y2, z2, 0, 0, 0, 1},
                {x1, y2, z2, 0, 0, 0, 1}, {x1, y2, z1, 0, 0, 0, 1}, {x2, y1, z1, 0, 0, 0, 1}, {x2, y1, z2, 0, 0, 0, 1},
                {x2, y1, z2, 0, 0, 0, 1}, {x1, y1, z2, 0, 0, 0, 1}, {x2, y2, z1, 0, 0, 0, 1}, {x2, y2, z2, 0, 0, 0, 1},
                {x2, y2, z2, 0, 0, 0, 1}, {x1, y2, z2, 0, 0, 0, 1}, {x2, y1, z2, 0, 0, 0, 1}, {x2, y2, z2, 0, 0, 0, 1},
            };
            if (at + GLintptr(sizeof edges) > (4 << 20)) {
                glBufferData(GL_ARRAY_BUFFER, 4 << 20, nullptr, GL_STREAM_DRAW);
                at = 0;
            }
            glBufferSubData(GL_ARRAY_BUFFER, at, sizeof edges, edges);
            glDrawArrays(GL_LINES, GLint(at / GLintptr(sizeof(Line_Vertex))), 24);
            at += sizeof edges;
        }
        glBindVertexArray(0);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, gl.fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, 640, 480, 0, 0, 640, 480, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(DeviceFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(DirectGLFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK_MAIN();
