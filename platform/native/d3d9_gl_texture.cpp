#include "d3d9_gl_texture.h"

#include "gl_device.h"

namespace {

struct Upload {
    GLenum internal;
    GLenum format;
    GLenum type;
    GLint swizzle[4];
    UINT pixel_bytes;  // 0 for compressed formats
};

Upload upload_of(D3DFORMAT format)
{
    const GLint rgba[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
    const GLint rgb1[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ONE};
    switch (format) {
    case D3DFMT_A8R8G8B8: return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, {rgba[0], rgba[1], rgba[2], rgba[3]}, 4};
    case D3DFMT_X8R8G8B8: return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, {rgb1[0], rgb1[1], rgb1[2], rgb1[3]}, 4};
    case D3DFMT_A8B8G8R8: return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_REV, {rgba[0], rgba[1], rgba[2], rgba[3]}, 4};
    case D3DFMT_X8B8G8R8: return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_REV, {rgb1[0], rgb1[1], rgb1[2], rgb1[3]}, 4};
    case D3DFMT_R5G6B5: return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, {rgb1[0], rgb1[1], rgb1[2], rgb1[3]}, 2};
    case D3DFMT_X1R5G5B5: return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, {rgb1[0], rgb1[1], rgb1[2], rgb1[3]}, 2};
    case D3DFMT_A1R5G5B5: return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, {rgba[0], rgba[1], rgba[2], rgba[3]}, 2};
    case D3DFMT_A4R4G4B4: return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, {rgba[0], rgba[1], rgba[2], rgba[3]}, 2};
    case D3DFMT_A8: return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}, 1};
    case D3DFMT_L8: return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_ONE}, 1};
    case D3DFMT_A8L8: return {GL_RG8, GL_RG, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_GREEN}, 2};
    case D3DFMT_DXT1: return {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, {rgba[0], rgba[1], rgba[2], rgba[3]}, 0};
    case D3DFMT_DXT3: return {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, {rgba[0], rgba[1], rgba[2], rgba[3]}, 0};
    default: return {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, {rgba[0], rgba[1], rgba[2], rgba[3]}, 0};
    }
}

}  // namespace

D3D9_GL_Texture::~D3D9_GL_Texture()
{
    GL_Device* gl = GL_Device::Of(device);
    if (name && gl && gl->MakeCurrent())
        glDeleteTextures(1, &name);
}

GLuint D3D9_GL_Texture::Name()
{
    if (name && uploaded == Generation())
        return name;
    if (!name)
        glGenTextures(1, &name);
    const Upload u = upload_of(Format());
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(Levels().size()) - 1);
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, u.swizzle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t i = 0; i < Levels().size(); ++i) {
        const Mip& level = Levels()[i];
        if (u.pixel_bytes) {
            glPixelStorei(GL_UNPACK_ROW_LENGTH, GLint(level.pitch / u.pixel_bytes));
            glTexImage2D(GL_TEXTURE_2D, GLint(i), GLint(u.internal), GLsizei(level.width), GLsizei(level.height), 0,
                         u.format, u.type, level.bytes.data());
        } else {
            glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
            glCompressedTexImage2D(GL_TEXTURE_2D, GLint(i), u.internal, GLsizei(level.width), GLsizei(level.height), 0,
                                   GLsizei(level.bytes.size()), level.bytes.data());
        }
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    uploaded = Generation();
    return name;
}
