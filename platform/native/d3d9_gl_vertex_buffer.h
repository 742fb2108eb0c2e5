#pragma once
// A native vertex buffer: bytes in memory, mirrored in a GL buffer for drawing.
#include "common/d3d9/d3d9_vertex_buffer.h"
#include "d3d9_gl_buffer.h"

class D3D9_GL_Vertex_Buffer : public D3D9_Vertex_Buffer {
public:
    using D3D9_Vertex_Buffer::D3D9_Vertex_Buffer;
    ~D3D9_GL_Vertex_Buffer() override;

    D3D9_GL_Buffer gl;
};
