#pragma once
// The GL buffer that mirrors a native vertex or index buffer's bytes, refreshed when a draw
// finds them changed since the last upload.
#include <epoxy/gl.h>

#include "common/d3d9/d3d9_buffer_data.h"

class D3D9_GL_Buffer {
public:
    D3D9_GL_Buffer() = default;
    D3D9_GL_Buffer(const D3D9_GL_Buffer&) = delete;
    D3D9_GL_Buffer& operator=(const D3D9_GL_Buffer&) = delete;

    // Binds the buffer to target with data's current bytes (the context must be current).
    GLuint Bind(GLenum target, const D3D9_Buffer_Data& data);
    // Deletes the GL buffer; the owner makes its device's context current first.
    void Delete();

private:
    GLuint name = 0;
    unsigned uploaded = 0;
};
