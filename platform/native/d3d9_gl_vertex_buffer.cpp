#include "d3d9_gl_vertex_buffer.h"

#include "gl_device.h"

D3D9_GL_Vertex_Buffer::~D3D9_GL_Vertex_Buffer()
{
    GL_Device* device_gl = GL_Device::Of(device);
    if (device_gl && device_gl->MakeCurrent())
        gl.Delete();
}
