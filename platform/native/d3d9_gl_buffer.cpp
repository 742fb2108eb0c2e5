#include "d3d9_gl_buffer.h"

GLuint D3D9_GL_Buffer::Bind(GLenum target, const D3D9_Buffer_Data& data)
{
    if (!name)
        glGenBuffers(1, &name);
    glBindBuffer(target, name);
    if (uploaded != data.Generation()) {
        glBufferData(target, GLsizeiptr(data.Length()), data.Bytes(), GL_STATIC_DRAW);
        uploaded = data.Generation();
    }
    return name;
}

void D3D9_GL_Buffer::Delete()
{
    if (name)
        glDeleteBuffers(1, &name);
    name = 0;
}
