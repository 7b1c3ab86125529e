// glfwLoadTexture2D: a TGA file into the bound GL_TEXTURE_2D.
// The file is checked whole by tgaCheck before stb_image decodes it, so a
// truncated or damaged file is refused instead of being read past its end.
// Colour maps are put into the form stb_image reads right (decoderForm).
#define ORBITOR_PLATFORM_IMPL
#include "platform/platform.h"

#include "formats/file_formats.h"

#include <GL/glew.h>

#include <cstddef>
#include <cstdio>
#include <initializer_list>
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

// Reads the file in pieces until its end. The size is not asked for first:
// a folder opens like a file on Linux and reports an absurd size.
bool readWholeFile(const char* name, std::vector<std::uint8_t>& bytes)
{
    if (name == nullptr)
        return false;
    std::FILE* file = std::fopen(name, "rb");
    if (!file)
        return false;
    std::uint8_t piece[65536];
    std::size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof piece, file)) > 0)
        bytes.insert(bytes.end(), piece, piece + got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

// The checked file in the form stb_image reads correctly. stb_image takes a
// colour map's first-entry index for a number of bytes to skip, and refuses
// true-colour and greyscale files that carry a (meaningless) colour map. So a
// colour map is rewritten to 256 entries starting at index 0, pixel value i
// showing the file's entry i - first, and black where the file has no entry;
// the unused map of other kinds is dropped.
std::vector<std::uint8_t> decoderForm(const std::vector<std::uint8_t>& bytes, const TgaInfo& info)
{
    if (bytes[1] == 0)
        return bytes;
    const std::size_t mapStart = tgaHeaderSize + bytes[0];
    std::vector<std::uint8_t> out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(mapStart));
    const bool colourMapped = info.imageType == tgaColourMapped || info.imageType == tgaRleColourMapped;
    if (!colourMapped) {
        for (int i : {1, 3, 4, 5, 6, 7})
            out[i] = 0;
    } else {
        const int first = bytes[3] | (bytes[4] << 8);
        const int length = bytes[5] | (bytes[6] << 8);
        const std::size_t entry = (bytes[7] + 7u) / 8u;
        out[3] = out[4] = 0;
        out[5] = 0;      // 256 entries
        out[6] = 1;
        for (int value = 0; value < 256; ++value) {
            const int k = value - first;
            if (k >= 0 && k < length) {
                const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(mapStart + k * entry);
                out.insert(out.end(), from, from + static_cast<std::ptrdiff_t>(entry));
            } else {
                out.insert(out.end(), entry, 0);
            }
        }
    }
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(info.pixelDataOffset), bytes.end());
    return out;
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
    bytes = decoderForm(bytes, info);

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
