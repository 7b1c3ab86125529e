// glfwLoadTexture2D: a TGA file into the bound GL_TEXTURE_2D. The file is
// read and decoded without GL (texture_decode.h); only the upload is here.
#define ORBITOR_PLATFORM_IMPL
#include "platform/platform.h"

#include "platform/texture_decode.h"

#include <GL/glew.h>

#include <string>

namespace sys {

int glfwLoadTexture2D(const char* name, int flags)
{
    DecodedPicture picture;
    std::string error;
    if (!readTexturePicture(name, picture, error))
        return 0;
    GLenum format = GL_RGB;
    switch (picture.channels) {
    case 1: format = GL_LUMINANCE; break;
    case 2: format = GL_LUMINANCE_ALPHA; break;
    case 3: format = GL_RGB; break;
    default: format = GL_RGBA; break;
    }

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const bool mipmaps = (flags & buildMipmapsBit) != 0;
    // Levels are built by the driver from level 0 (OpenGL 1.4 automatic mipmaps).
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmaps ? GL_TRUE : GL_FALSE);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), picture.width, picture.height, 0,
                 format, GL_UNSIGNED_BYTE, picture.pixels.get());
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_FALSE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return 1;
}

}  // namespace sys
