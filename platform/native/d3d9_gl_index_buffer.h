#pragma once
// A native index buffer: bytes in memory, mirrored in a GL buffer for drawing.
#include "common/d3d9/d3d9_index_buffer.h"
#include "d3d9_gl_buffer.h"

class D3D9_GL_Index_Buffer : public D3D9_Index_Buffer {
public:
    using D3D9_Index_Buffer::D3D9_Index_Buffer;
    ~D3D9_GL_Index_Buffer() override;

    D3D9_GL_Buffer gl;
};
