#pragma once
// A native texture: its pixels kept in memory (D3D9_Texture) and mirrored in a GL texture, which
// is brought up to date when a draw needs it.
#include <epoxy/gl.h>

#include "common/d3d9/d3d9_texture.h"

class D3D9_GL_Texture : public D3D9_Texture {
public:
    using D3D9_Texture::D3D9_Texture;
    ~D3D9_GL_Texture() override;

    // The GL texture with the current pixels (the device's context must be current).
    GLuint Name();

private:
    GLuint name = 0;
    unsigned uploaded = 0;
};
