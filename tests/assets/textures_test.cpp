// The generated world textures: every file is there and loads through the
// game's texture loader at its size, generating again gives the same
// bytes, the water frames tile and loop, the beach darkens toward the sea
// and the particle glow fades to black at its rim.
#include "assets/texture_files.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace texturetest;

const Expected terrainFiles[] = {
    {"hm5c.tga", 1024, 1024},          {"wood.tga", 1024, 128},           {"mountainsc.tga", 128, 1024},
    {"beachtex_COLOR.tga", 128, 512},  {"water0_COLOR.tga", 128, 512},    {"water1_COLOR.tga", 128, 512},
    {"water2_COLOR.tga", 128, 512},    {"water3_COLOR.tga", 128, 512},    {"water4_COLOR.tga", 128, 512},
    {"water5_COLOR.tga", 128, 512},    {"water6_COLOR.tga", 128, 512},    {"water7_COLOR.tga", 128, 512},
    {"box_COLOR.tga", 256, 256},       {"Particle.tga", 128, 128},        {"tunnel3.tga", 256, 256},
};
std::vector<Expected> allFiles()
{
    std::vector<Expected> all(std::begin(terrainFiles), std::end(terrainFiles));
    all.insert(all.end(), std::begin(skyFiles), std::end(skyFiles));
    return all;
}

TEST(WorldTextures, EveryFileIsAColourTgaOfItsSize)
{
    ASSERT_TRUE(terrainTexturesReady() && skyTexturesReady());
    for (const Expected& e : allFiles()) {
        SCOPED_TRACE(e.name);
        ASSERT_TRUE(fs::exists(textureFile(e.name)));
        const Picture p = readPicture(textureFile(e.name));
        EXPECT_EQ(p.width, e.width);
        EXPECT_EQ(p.height, e.height);
    }
}

TEST(WorldTextures, EveryFileLoadsThroughTheGameLoaderAtItsSize)
{
    ASSERT_TRUE(terrainTexturesReady() && skyTexturesReady());
    if (!openTestWindow())
        GTEST_SKIP() << "no X display";
    glEnable(GL_TEXTURE_2D);
    for (const Expected& e : allFiles()) {
        SCOPED_TRACE(e.name);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_EQ(glfwLoadTexture2D(textureFile(e.name).c_str(), GLFW_BUILD_MIPMAPS_BIT), 1);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, e.width);
        EXPECT_EQ(height, e.height);
        glDeleteTextures(1, &texture);
    }
    glDisable(GL_TEXTURE_2D);
}

TEST(WorldTextures, GeneratingAgainGivesTheSameBytes)
{
    ASSERT_TRUE(terrainTexturesReady() && skyTexturesReady());
    const fs::path again = makeTextureRoot("again");
    ASSERT_TRUE(generateTerrainTextures(again.string()));
    ASSERT_TRUE(generateSkyTextures(again.string()));
    for (const Expected& e : allFiles()) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(fileBytes(textureFile(e.name)) == fileBytes(again / "Textures" / e.name));
    }
    fs::remove_all(again);
}

TEST(WorldTextures, WaterFramesTileAcrossBothEdges)
{
    ASSERT_TRUE(terrainTexturesReady());
    for (int frame = 0; frame < 8; ++frame) {
        SCOPED_TRACE(frame);
        const Picture p = readPicture(textureFile(("water" + std::to_string(frame) + "_COLOR.tga").c_str()));
        ASSERT_GT(p.width, 2);
        // The jump across a wrapped edge is no bigger than between neighbours.
        double inside = 0, across = 0;
        for (int y = 0; y < p.height; ++y) {
            across += pixelDifference(p.at(p.width - 1, y), p.at(0, y));
            inside += pixelDifference(p.at(p.width / 2 - 1, y), p.at(p.width / 2, y));
        }
        EXPECT_LT(across / p.height, 1.5 * inside / p.height + 1.0);
        inside = across = 0;
        for (int x = 0; x < p.width; ++x) {
            across += pixelDifference(p.at(x, p.height - 1), p.at(x, 0));
            inside += pixelDifference(p.at(x, p.height / 2 - 1), p.at(x, p.height / 2));
        }
        EXPECT_LT(across / p.width, 1.5 * inside / p.width + 1.0);
    }
}

TEST(WorldTextures, WaterFramesMoveAndLoopWithoutAJump)
{
    ASSERT_TRUE(terrainTexturesReady());
    std::vector<Picture> frames;
    for (int frame = 0; frame < 8; ++frame)
        frames.push_back(readPicture(textureFile(("water" + std::to_string(frame) + "_COLOR.tga").c_str())));
    double smallest = 1e9, largest = 0;
    for (int i = 0; i + 1 < 8; ++i) {
        const double step = meanDifference(frames[i], frames[i + 1]);
        smallest = std::min(smallest, step);
        largest = std::max(largest, step);
    }
    const double wrap = meanDifference(frames[7], frames[0]);
    RecordProperty("smallest_step", std::to_string(smallest));
    RecordProperty("largest_step", std::to_string(largest));
    RecordProperty("step_7_to_0", std::to_string(wrap));
    EXPECT_GT(smallest, 1.0) << "the water does not move";
    EXPECT_LT(largest, 20.0) << "frames jump";
    EXPECT_GT(wrap, 0.75 * smallest);
    EXPECT_LT(wrap, 1.25 * largest);
    // Frames four apart differ more than neighbours: the water moves on,
    // it does not flicker between two pictures.
    EXPECT_GT(meanDifference(frames[0], frames[4]), 1.2 * largest);
}

TEST(WorldTextures, BeachSandDarkensTowardTheWater)
{
    ASSERT_TRUE(terrainTexturesReady());
    // s runs from the sea (s = 0, deep under the water) up to the ground;
    // the water line lies near s = 0.75..0.85 and the last strip wraps to
    // s = 0..0.125, so dry sand lies about s = 0.95 and s = 0.05.
    const Picture p = readPicture(textureFile("beachtex_COLOR.tga"));
    auto columnBrightness = [&](double s) {
        const int x = std::clamp(static_cast<int>(s * p.width), 0, p.width - 1);
        double sum = 0;
        for (int y = 0; y < p.height; ++y)
            sum += luminance(p.at(x, y));
        return sum / p.height;
    };
    const double wet = columnBrightness(0.76), damp = columnBrightness(0.86), dry = columnBrightness(0.96);
    EXPECT_LT(wet + 25, dry);
    EXPECT_LT(wet, damp);
    EXPECT_LT(damp, dry);
    EXPECT_NEAR(columnBrightness(0.05), dry, 12.0);
}

TEST(WorldTextures, ParticleGlowIsBrightInTheMiddleAndBlackAtTheRim)
{
    ASSERT_TRUE(terrainTexturesReady());
    const Picture p = readPicture(textureFile("Particle.tga"));
    const int c = p.width / 2;
    EXPECT_GT(luminance(p.at(c, c)), 230);
    for (int i = 0; i < p.width; ++i) {
        for (const auto* px : {p.at(i, 0), p.at(i, p.height - 1), p.at(0, i), p.at(p.width - 1, i)})
            EXPECT_EQ(px[0] + px[1] + px[2], 0);
    }
    // White to grey, so the particle's own colour comes through unchanged.
    EXPECT_EQ(p.at(c, c)[0], p.at(c, c)[2]);
}

}  // namespace
