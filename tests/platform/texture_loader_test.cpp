// glfwLoadTexture2D: TGA files of every kind into the bound texture, bottom
// row first; damaged and missing files refused without touching the texture.
#include "formats/file_formats.h"
#include "formats/tga_test_bytes.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace tgabytes;

namespace {

std::string tempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("orbitor_texture_test_" + name)).string();
}

std::string writeTemp(const std::string& name, const Bytes& bytes)
{
    const std::string path = tempPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

struct Level {
    int width = 0, height = 0;
    GLint internalFormat = 0;
};

Level levelOf(int level)
{
    Level l;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &l.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &l.height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_INTERNAL_FORMAT, &l.internalFormat);
    return l;
}

// The bound texture's level as `channels` bytes per texel (GL_LUMINANCE,
// GL_RGB or GL_RGBA), rows as OpenGL holds them: bottom row first.
Bytes texels(int channels, int level = 0)
{
    const Level l = levelOf(level);
    Bytes out(static_cast<std::size_t>(l.width) * l.height * channels);
    const GLenum format = channels == 1 ? GL_LUMINANCE : channels == 3 ? GL_RGB : GL_RGBA;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return out;
}

// What the picture must look like in GL: the image's bottom row first.
Bytes expectedTexels(const Picture& p, int channels, bool fiveBits = false)
{
    Bytes out;
    for (int row = 0; row < p.height; ++row) {
        const int y = p.height - 1 - row;
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* c = p.at(x, y);
            if (channels == 1) {
                out.push_back(p.grey(x, y));
                continue;
            }
            for (int k = 0; k < channels; ++k) {
                std::uint8_t v = c[k];
                if (fiveBits && k < 3)
                    v = static_cast<std::uint8_t>(((v >> 3) * 255) / 31);
                out.push_back(v);
            }
        }
    }
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
        for (const std::string& path : written)
            std::filesystem::remove(path);
        if (texture != 0) {
            glBindTexture(GL_TEXTURE_2D, 0);
            glDeleteTextures(1, &texture);
        }
    }
    int load(const std::string& name, const Bytes& bytes, int flags = 0)
    {
        written.push_back(writeTemp(name, bytes));
        return glfwLoadTexture2D(written.back().c_str(), flags);
    }
    // A known 1 x 1 content, to see that a refused file leaves it alone.
    void fillKnown()
    {
        const std::uint8_t px[3] = {7, 8, 9};
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    void expectKnown(const std::string& what)
    {
        const Level l = levelOf(0);
        EXPECT_EQ(l.width, 1) << what;
        EXPECT_EQ(l.height, 1) << what;
        EXPECT_EQ(texels(3), (Bytes{7, 8, 9})) << what;
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), texture) << what;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << what;
    }
    GLuint texture = 0;
    std::vector<std::string> written;
};

}  // namespace

TEST_F(TextureLoader, TrueColourFilesOfEveryKindDecodeBottomRowFirst)
{
    const Picture p;
    for (int bits : {24, 32})
        for (bool top : {false, true})
            for (bool rle : {false, true}) {
                const std::string what = std::to_string(bits) + (top ? " top" : " bottom") + (rle ? " rle" : "");
                ASSERT_EQ(load("true.tga", trueColourFile(p, bits, top, rle)), 1) << what;
                const Level l = levelOf(0);
                EXPECT_EQ(l.width, 5) << what;
                EXPECT_EQ(l.height, 3) << what;
                EXPECT_EQ(texels(bits / 8), expectedTexels(p, bits / 8)) << what;
            }
    // An image ID before the pixels is skipped.
    ASSERT_EQ(load("id.tga", trueColourFile(p, 24, true, false, 9)), 1);
    EXPECT_EQ(texels(3), expectedTexels(p, 3));
}

TEST_F(TextureLoader, GreyscaleFilesDecodeToLuminance)
{
    const Picture p;
    for (bool top : {false, true})
        for (bool rle : {false, true}) {
            ASSERT_EQ(load("grey.tga", greyFile(p, top, rle)), 1) << top << rle;
            EXPECT_EQ(texels(1), expectedTexels(p, 1)) << top << rle;
        }
}

TEST_F(TextureLoader, ColourMappedFilesDecodeThroughTheirMap)
{
    const Picture p;
    for (bool top : {false, true})
        for (bool rle : {false, true}) {
            const std::string what = std::string(top ? "top" : "bottom") + (rle ? " rle" : "");
            ASSERT_EQ(load("mapped24.tga", colourMappedFile(p, 24, top, rle)), 1) << what;
            EXPECT_EQ(texels(3), expectedTexels(p, 3)) << what;
            ASSERT_EQ(load("mapped32.tga", colourMappedFile(p, 32, top, rle)), 1) << what;
            EXPECT_EQ(texels(4), expectedTexels(p, 4)) << what;
            ASSERT_EQ(load("mapped16.tga", colourMappedFile(p, 16, top, rle)), 1) << what;
            EXPECT_EQ(texels(3), expectedTexels(p, 3, true)) << what;
        }
}

TEST_F(TextureLoader, ColourMapStartingPastEntryZero)
{
    // The map's first entry is index 40: pixel value 40 + k shows entry k.
    const Picture p;
    for (bool rle : {false, true}) {
        ASSERT_EQ(load("first40.tga", colourMappedFile(p, 24, false, rle, 40)), 1);
        EXPECT_EQ(texels(3), expectedTexels(p, 3)) << rle;
    }
    // A pixel value below the first entry has no colour: it shows black
    // rather than reading outside the map.
    Header h;
    h.colourMapType = 1;
    h.imageType = 1;
    h.mapFirst = 2;
    h.mapLength = 1;
    h.mapEntryBits = 24;
    h.width = 2;
    h.height = 1;
    h.bits = 8;
    ASSERT_EQ(load("below.tga", file(h, {30, 20, 10}, {2, 0})), 1);
    EXPECT_EQ(texels(3), (Bytes{10, 20, 30, 0, 0, 0}));
    // Pixel values past the map's end likewise, wherever the map starts.
    ASSERT_EQ(load("past.tga", file(h, {30, 20, 10}, {2, 200})), 1);
    EXPECT_EQ(texels(3), (Bytes{10, 20, 30, 0, 0, 0}));
    h.mapFirst = 0;
    ASSERT_EQ(load("past0.tga", file(h, {30, 20, 10}, {0, 1})), 1);
    EXPECT_EQ(texels(3), (Bytes{10, 20, 30, 0, 0, 0}));
    h.mapFirst = 300;   // beyond every 8-bit value: all black
    ASSERT_EQ(load("past300.tga", file(h, {30, 20, 10}, {0, 255})), 1);
    EXPECT_EQ(texels(3), (Bytes{0, 0, 0, 0, 0, 0}));
}

TEST_F(TextureLoader, TrueColourFileWithAnUnusedColourMap)
{
    Header h;
    h.colourMapType = 1;
    h.imageType = 2;
    h.mapLength = 2;
    h.mapEntryBits = 24;
    h.width = 2;
    h.height = 1;
    h.bits = 24;
    ASSERT_EQ(load("unusedmap.tga", file(h, Bytes(6, 99), {3, 2, 1, 6, 5, 4})), 1);
    EXPECT_EQ(texels(3), (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST_F(TextureLoader, FilesWrittenByTheGameWriterLoad)
{
    const Picture p;
    for (bool rle : {false, true}) {
        const std::string path = tempPath("written.tga");
        written.push_back(path);
        ASSERT_TRUE(tgaWrite(path, p.width, p.height, 4, p.rgba, rle));
        ASSERT_EQ(glfwLoadTexture2D(path.c_str(), 0), 1);
        EXPECT_EQ(texels(4), expectedTexels(p, 4)) << rle;
    }
}

TEST_F(TextureLoader, DamagedMissingAndForeignFilesAreRefusedLeavingTheTextureAlone)
{
    const Picture p;
    const Bytes good = trueColourFile(p, 24, false, false);
    const Bytes goodRle = trueColourFile(p, 32, true, true);
    const Bytes goodMapped = colourMappedFile(p, 24, false, false);
    struct Bad {
        std::string what;
        Bytes bytes;
    };
    std::vector<Bad> bad = {
        {"empty", {}},
        {"header only", Bytes(good.begin(), good.begin() + 18)},
        {"half the pixels", Bytes(good.begin(), good.begin() + 18 + 22)},
        {"one byte short", Bytes(good.begin(), good.end() - 1)},
        {"run-length cut", Bytes(goodRle.begin(), goodRle.end() - 2)},
        {"map cut", Bytes(goodMapped.begin(), goodMapped.begin() + 30)},
        {"not an image", Bytes(100, 0)},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n', 0, 0, 0, 0, 0, 0, 0}},
    };
    Bytes wrongType = good;
    wrongType[2] = 32;
    bad.push_back({"compressed kind", wrongType});
    Bytes sixteen = good;
    sixteen[16] = 16;
    bad.push_back({"16-bit", sixteen});
    Bytes longMap = goodMapped;
    longMap[5] = longMap[6] = 0xff;
    bad.push_back({"map past the end", longMap});

    for (const Bad& b : bad) {
        fillKnown();
        EXPECT_EQ(load("bad.tga", b.bytes, GLFW_BUILD_MIPMAPS_BIT), 0) << b.what;
        expectKnown(b.what);
    }

    fillKnown();
    EXPECT_EQ(glfwLoadTexture2D(tempPath("does-not-exist.tga").c_str(), GLFW_BUILD_MIPMAPS_BIT), 0);
    expectKnown("missing");
    EXPECT_EQ(glfwLoadTexture2D(nullptr, 0), 0);
    expectKnown("no name");
    EXPECT_EQ(glfwLoadTexture2D("", 0), 0);
    expectKnown("empty name");
    // A folder opens like a file on Linux, but holds no image.
    EXPECT_EQ(glfwLoadTexture2D(std::filesystem::temp_directory_path().c_str(), 0), 0);
    expectKnown("folder");
    // Nor does a device that never ends: it is refused, not read forever.
    EXPECT_EQ(glfwLoadTexture2D("/dev/zero", 0), 0);
    expectKnown("endless device");
}

TEST_F(TextureLoader, MipmapLevelsOnlyWithTheFlag)
{
    // 4 x 4 of one colour: levels of 2 x 2 and 1 x 1 with the flag.
    Picture flat;
    flat.width = 4;
    flat.height = 4;
    flat.rgba.clear();
    for (int i = 0; i < 16; ++i)
        flat.rgba.insert(flat.rgba.end(), {90, 160, 30, 255});
    ASSERT_EQ(load("mip.tga", trueColourFile(flat, 24, false, false), GLFW_BUILD_MIPMAPS_BIT), 1);
    EXPECT_EQ(levelOf(1).width, 2);
    EXPECT_EQ(levelOf(1).height, 2);
    EXPECT_EQ(levelOf(2).width, 1);
    EXPECT_EQ(texels(3, 1), (Bytes{90, 160, 30, 90, 160, 30, 90, 160, 30, 90, 160, 30}));
    EXPECT_EQ(texels(3, 2), (Bytes{90, 160, 30}));
    GLint generate = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, &generate);
    EXPECT_EQ(generate, GL_FALSE);   // later uploads to the texture are not affected

    // A fresh texture loaded without the flag has level 0 only.
    GLuint plain = 0;
    glGenTextures(1, &plain);
    glBindTexture(GL_TEXTURE_2D, plain);
    ASSERT_EQ(load("nomip.tga", trueColourFile(flat, 24, false, false), 0), 1);
    EXPECT_EQ(levelOf(0).width, 4);
    EXPECT_EQ(levelOf(1).width, 0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDeleteTextures(1, &plain);
    // The unpack alignment is back at its default for other uploads.
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}
