// glfwLoadTexture2D: a TGA file into the bound GL_TEXTURE_2D.
// The file is checked whole by tgaCheck before stb_image decodes it, so a
// truncated or damaged file is refused instead of being read past its end.
#define ORBITOR_PLATFORM_IMPL
#include "platform/platform.h"

#include "formats/file_formats.h"

#include <GL/glew.h>

#include <cstdio>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace sys {
namespace {

bool readWholeFile(const char* name, std::vector<std::uint8_t>& bytes)
{
    if (name == nullptr)
        return false;
    std::FILE* file = std::fopen(name, "rb");
    if (!file)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

}  // namespace

int glfwLoadTexture2D(const char* name, int flags)
{
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(name, bytes))
        return 0;
    TgaInfo info;
    std::string error;
    if (!tgaCheck(bytes.data(), bytes.size(), info, error))
        return 0;

    // OpenGL wants the bottom row first. stb_image hands rows top first after
    // honouring the file's origin bit, so ask it to flip.
    stbi_set_flip_vertically_on_load(1);
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                            &width, &height, &channels, 0);
    if (!pixels)
        return 0;
    GLenum format = GL_RGB;
    switch (channels) {
    case 1: format = GL_LUMINANCE; break;
    case 2: format = GL_LUMINANCE_ALPHA; break;
    case 3: format = GL_RGB; break;
    default: format = GL_RGBA; break;
    }

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const bool mipmaps = (flags & buildMipmapsBit) != 0;
    // Levels are built by the driver from level 0 (OpenGL 1.4 automatic mipmaps).
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmaps ? GL_TRUE : GL_FALSE);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_FALSE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    stbi_image_free(pixels);
    return 1;
}

}  // namespace sys
