// glfwLoadTexture2D: TGA files of every kind into the bound texture, bottom
// row first; damaged and missing files refused without touching the texture.
#include "formats/file_formats.h"
#include "formats/tga_test_bytes.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "platform/texture_decode.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

using namespace tgabytes;

namespace {

// The bound texture's width and height at `level`.
std::pair<int, int> sizeOf(int level = 0)
{
    std::pair<int, int> size;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &size.first);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &size.second);
    return size;
}

// The bound texture's level as `channels` bytes per texel (GL_LUMINANCE,
// GL_RGB or GL_RGBA), rows as OpenGL holds them: bottom row first.
Bytes texels(int channels, int level = 0)
{
    Bytes out(std::size_t(sizeOf(level).first) * sizeOf(level).second * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, channels == 1 ? GL_LUMINANCE : channels == 3 ? GL_RGB : GL_RGBA, GL_UNSIGNED_BYTE,
                  out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return out;
}

// What the picture must look like in GL: the image's bottom row first; from
// 16-bit map entries, colours of 5 bits.
Bytes expectedTexels(const Picture& p, int channels, bool fiveBits = false)
{
    Bytes out;
    for (int y = p.height - 1; y >= 0; --y)
        for (int x = 0; x < p.width; ++x)
            for (int k = 0; k < channels; ++k)
                out.push_back(channels == 1 ? p.grey(x, y) : fiveBits && k < 3 ? (p.at(x, y)[k] >> 3) * 255 / 31 : p.at(x, y)[k]);
    return out;
}

class TextureLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    void TearDown() override
    {
        std::filesystem::remove(path);
        glDeleteTextures(1, &texture);
    }
    int load(const Bytes& bytes, int flags = 0)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return glfwLoadTexture2D(path.c_str(), flags);
    }
    // A refused file leaves the bound texture as it was: 1 x 1 of a known colour.
    void expectKnown(const std::string& what)
    {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(std::tuple(sizeOf(), texels(3), GLuint(bound), glGetError()),
                  std::tuple(std::pair(1, 1), Bytes{7, 8, 9}, texture, GLenum(GL_NO_ERROR))) << what;
    }
    GLuint texture = 0;
    const std::string path = (std::filesystem::temp_directory_path() / "orbitor_texture_test.tga").string();
};

}  // namespace

TEST_F(TextureLoader, FilesOfEveryKindDecodeBottomRowFirst)
{
    // True colour, greyscale and colour-mapped (24, 32 and 16-bit entries,
    // the map starting at entry 0 or 40), either origin, plain or run-length;
    // true colour also with an image ID before the pixels.
    const Picture p;
    const struct { const char* kind; std::function<Bytes(bool top, bool rle)> make; int channels; bool fiveBits; } kinds[] = {
        {"rgb", [&](bool t, bool r) { return trueColourFile(p, 24, t, r); }, 3, false},
        {"rgba", [&](bool t, bool r) { return trueColourFile(p, 32, t, r); }, 4, false},
        {"rgb with id", [&](bool t, bool r) { return trueColourFile(p, 24, t, r, 9); }, 3, false},
        {"grey", [&](bool t, bool r) { return greyFile(p, t, r); }, 1, false},
        {"mapped 24", [&](bool t, bool r) { return colourMappedFile(p, 24, t, r); }, 3, false},
        {"mapped 32", [&](bool t, bool r) { return colourMappedFile(p, 32, t, r); }, 4, false},
        {"mapped 16", [&](bool t, bool r) { return colourMappedFile(p, 16, t, r); }, 3, true},
        {"mapped from 40", [&](bool t, bool r) { return colourMappedFile(p, 24, t, r, 40); }, 3, false}};
    for (const auto& k : kinds)
        for (bool top : {false, true})
            for (bool rle : {false, true}) {
                const std::string what = std::string(k.kind) + (top ? " top" : " bottom") + (rle ? " rle" : "");
                ASSERT_EQ(load(k.make(top, rle)), 1) << what;
                EXPECT_EQ(sizeOf(), std::pair(5, 3)) << what;
                EXPECT_EQ(texels(k.channels), expectedTexels(p, k.channels, k.fiveBits)) << what;
                // The same bytes decoded from memory, as the fuzz target does.
                const Bytes bytes = k.make(top, rle);
                sys::DecodedPicture decoded;
                std::string error;
                ASSERT_TRUE(sys::decodeTexturePicture(bytes.data(), bytes.size(), decoded, error)) << what << error;
                EXPECT_EQ(Bytes(decoded.pixels.get(), decoded.pixels.get() + 15 * decoded.channels),
                          expectedTexels(p, k.channels, k.fiveBits)) << what;
            }
}

TEST_F(TextureLoader, PixelValuesOutsideTheColourMapShowBlack)
{
    // A 2 x 1 picture with one map entry (BGR 30, 20, 10) at `first`, the
    // pixel values `pixels`; a true-colour file's unused map is skipped.
    const struct { int imageType, first; Bytes pixels, shown; } cases[] = {
        {1, 2, {2, 0}, {10, 20, 30, 0, 0, 0}},    // below the first entry
        {1, 2, {2, 200}, {10, 20, 30, 0, 0, 0}},  // past the end
        {1, 0, {0, 1}, {10, 20, 30, 0, 0, 0}},
        {1, 300, {0, 255}, {0, 0, 0, 0, 0, 0}},   // beyond every 8-bit value
        {2, 0, {3, 2, 1, 6, 5, 4}, {1, 2, 3, 4, 5, 6}}};
    for (const auto& c : cases) {
        const Header h{.colourMapType = 1, .imageType = c.imageType, .mapFirst = c.first, .mapLength = 1,
                       .mapEntryBits = 24, .width = 2, .height = 1, .bits = c.imageType == 1 ? 8 : 24};
        ASSERT_EQ(load(file(h, {30, 20, 10}, c.pixels)), 1) << c.first;
        EXPECT_EQ(texels(3), c.shown) << c.first;
    }
}

TEST_F(TextureLoader, FilesWrittenByTheGameWriterLoad)
{
    // The 5 x 3 picture in RGB and RGBA, and 300 x 2 with stretches of one
    // colour longer than a run packet holds and a row of changing colours.
    Picture wide{300, 2, {}};
    for (int x = 0; x < 600; ++x)   // the first row's colour is the second row's first
        wide.rgba.insert(wide.rgba.end(), {std::uint8_t(std::max(x, 300)), std::uint8_t(std::max(x, 300) * 3), 7, 255});
    const struct { Picture picture; int channels; bool rle; } cases[] = {
        {Picture{}, 3, false}, {Picture{}, 3, true}, {Picture{}, 4, false}, {Picture{}, 4, true}, {wide, 3, true}};
    for (const auto& c : cases) {
        Bytes pixels;
        for (std::size_t i = 0; i < c.picture.rgba.size(); i += 4)
            pixels.insert(pixels.end(), c.picture.rgba.begin() + i, c.picture.rgba.begin() + i + c.channels);
        ASSERT_TRUE(tgaWrite(path, c.picture.width, c.picture.height, c.channels, pixels, c.rle));
        ASSERT_EQ(glfwLoadTexture2D(path.c_str(), 0), 1);
        EXPECT_EQ(texels(c.channels), expectedTexels(c.picture, c.channels)) << c.picture.width << c.channels << c.rle;
    }
}

TEST_F(TextureLoader, DamagedMissingAndForeignFilesAreRefusedLeavingTheTextureAlone)
{
    // The TGA check's own tests try every kind of damage; here, that the
    // loader refuses what the check refuses.
    const Bytes good = trueColourFile(Picture{}, 24, false, false);
    const std::pair<const char*, Bytes> bad[] = {
        {"empty", {}}, {"one byte short", Bytes(good.begin(), good.end() - 1)}, {"not an image", Bytes(100, 0)}};
    const std::uint8_t known[3] = {7, 8, 9};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, known);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (const auto& [what, bytes] : bad) {
        EXPECT_EQ(load(bytes, GLFW_BUILD_MIPMAPS_BIT), 0) << what;
        expectKnown(what);
    }
    // No file, no name, a folder (it opens like a file on Linux) and a device
    // that never ends (refused, not read forever).
    const std::string missing = path + ".missing", folder = std::filesystem::temp_directory_path();
    for (const char* name : {missing.c_str(), static_cast<const char*>(nullptr), "", folder.c_str(), "/dev/zero"}) {
        EXPECT_EQ(glfwLoadTexture2D(name, GLFW_BUILD_MIPMAPS_BIT), 0) << (name ? name : "null");
        expectKnown(name ? name : "null");
    }
}

TEST_F(TextureLoader, MipmapLevelsOnlyWithTheFlag)
{
    // 4 x 4 of one colour: levels of 2 x 2 and 1 x 1 with the flag, none
    // without (on a fresh texture); later uploads are not affected and the
    // unpack alignment is back at its default.
    Picture flat{4, 4, {}};
    for (int i = 0; i < 16; ++i)
        flat.rgba.insert(flat.rgba.end(), {90, 160, 30, 255});
    for (const bool mipmaps : {true, false}) {
        glDeleteTextures(1, &texture);
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        ASSERT_EQ(load(trueColourFile(flat, 24, false, false), mipmaps ? GLFW_BUILD_MIPMAPS_BIT : 0), 1);
        GLint generate = -1, alignment = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, &generate);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(std::tuple(sizeOf(1), sizeOf(2).first, texels(3, 2), generate, alignment),
                  std::tuple(std::pair(mipmaps ? 2 : 0, mipmaps ? 2 : 0), mipmaps ? 1 : 0,
                             mipmaps ? Bytes{90, 160, 30} : Bytes{}, GL_FALSE, 4));
    }
}

TEST_F(TextureLoader, DecodingGivesItsMemoryBack)
{
    // 60 loads of a 512 x 512 picture (0.75 MB decoded each) hold no more
    // address space at the end than after the first.
    Picture big{512, 512, std::vector<unsigned char>(512 * 512 * 4, 200)};
    const Bytes file = trueColourFile(big, 24, false, false);
    const auto mappedPages = [] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        return pages;
    };
    ASSERT_EQ(load(file), 1);
    const long before = mappedPages();
    for (int i = 0; i < 60; ++i)
        ASSERT_EQ(load(file), 1);
    EXPECT_LT((mappedPages() - before) * getpagesize(), 8 << 20);
}
