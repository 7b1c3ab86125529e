// Crosshair, life hearts, heading compass and screen tiles, read back from the
// frame buffer.
#include "hud/hud.h"
#include "overlay_frame.h"

#include <gtest/gtest.h>

#include <array>

namespace {

class HudMarkers : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        resetHudState();
        beginOverlayFrame();
    }
    void TearDown() override { resetHudState(); }
};

std::array<float, 4> currentColour()
{
    std::array<float, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    return c;
}

std::array<float, 16> matrix(GLenum which)
{
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

// A texture of 2 x 2 texels; rows bottom first as OpenGL stores them.
GLuint makeTexture(const std::array<unsigned char, 12>& rgb)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

}  // namespace

TEST_F(HudMarkers, CrosshairIsAWhiteCircleAndCrossAboutTheScreenPoint)
{
    drawCrosshair(800, 600, 400, 300);
    Frame f = grabFrame();
    Box white = boxOf(f, isWhite);
    ASSERT_FALSE(white.empty());
    EXPECT_NEAR((white.left + white.right) / 2.0, 400, 1.5);
    EXPECT_NEAR((white.top + white.bottom) / 2.0, 300, 1.5);
    EXPECT_NEAR(white.width(), 30, 2);
    EXPECT_NEAR(white.height(), 22, 2);
    // The cross passes through the centre; between it and the ring along the
    // horizontal axis there is space.
    EXPECT_TRUE(isWhite(f.at(400, 300)) || isWhite(f.at(399, 300)) || isWhite(f.at(400, 299)) ||
                isWhite(f.at(399, 299)));
    EXPECT_EQ(countPixels(f, isWhite, 406, 299, 409, 301), 0);
    EXPECT_EQ(countPixels(f, isWhite, 391, 299, 394, 301), 0);
    EXPECT_GT(countPixels(f, isWhite, 412, 298, 416, 302), 0);   // the ring's right side
    const auto c = currentColour();
    EXPECT_EQ(c[0], 1.0f);
    EXPECT_EQ(c[1], 1.0f);
    EXPECT_EQ(c[2], 1.0f);

    // Off the middle: 150 px right and 100 px up, in 15 and 11 px units.
    beginOverlayFrame();
    drawCrosshair(800, 600, 550, 200);
    f = grabFrame();
    white = boxOf(f, isWhite);
    EXPECT_NEAR((white.left + white.right) / 2.0, 400 + 150 * 14.928 / 15, 2);
    EXPECT_NEAR((white.top + white.bottom) / 2.0, 300 - 100 * 11.196 / 11, 2);
}

TEST_F(HudMarkers, OneRedHeartPerLifeInTheTopLeftCorner)
{
    // Heart centres lie at (-50 + 5 i, 50) at depth 200: 26.8 + 37.3 i px
    // across and 20 px below the top; a unit is 7.46 px across and 5.60 px
    // up and down there.
    for (int lives : {0, 1, 3, 6}) {
        game.lives = lives;
        beginOverlayFrame();
        drawLifeMarkers();
        const Frame f = grabFrame();
        EXPECT_EQ(runsInRow(f, 20, isRed), lives) << lives;
        const Box red = boxOf(f, isRed);
        if (lives == 0) {
            EXPECT_TRUE(red.empty());
            continue;
        }
        EXPECT_NEAR(red.left, 26.8 - 14.9, 2) << lives;
        EXPECT_NEAR(red.right, 26.8 + 37.32 * (lives - 1) + 14.9, 2) << lives;
        EXPECT_NEAR(red.top, 20.1 - 5.6, 1.5) << lives;
        EXPECT_NEAR(red.bottom, 20.1 + 3 * 5.6, 1.5) << lives;   // the point, 3 units down
        // A heart: two lobes above the notch, one point below.
        EXPECT_EQ(runsInRow(f, 16, isRed), 2 * lives) << lives;
        EXPECT_EQ(runsInRow(f, 33, isRed), lives) << lives;
        EXPECT_FALSE(isRed(f.at(27, 16)));   // the notch between the lobes
        EXPECT_TRUE(isRed(f.at(27, 30)));    // the point below it
        // White again afterwards, for whatever follows.
        const auto c = currentColour();
        EXPECT_EQ(c[0], 1.0f);
        EXPECT_EQ(c[1], 1.0f);
        EXPECT_EQ(c[2], 1.0f);
    }
}

TEST_F(HudMarkers, CompassNeedleFollowsHeadingAndShortensWithPitch)
{
    // The circle: radius 2 around (24, 19) at depth 100, centred at
    // (758.3, 87.3) px, 30 px across and 22 px up and down.
    auto blueNear = [](const Frame& f, int x, int y) {
        return countPixels(f, isBlue, x - 1, y - 1, x + 1, y + 1) > 0;
    };
    game.pitch = 0;
    game.heading = 0;
    beginOverlayFrame();
    drawHeadingCompass();
    Frame f = grabFrame();
    const Box ring = boxOf(f, isBlue);
    EXPECT_NEAR((ring.left + ring.right) / 2.0, 758.3, 1.5);
    EXPECT_NEAR((ring.top + ring.bottom) / 2.0, 87.3, 1.5);
    EXPECT_NEAR(ring.width(), 60, 2);
    EXPECT_NEAR(ring.height(), 45, 2);
    EXPECT_TRUE(blueNear(f, 758, 76));    // needle up
    EXPECT_FALSE(blueNear(f, 773, 87));
    EXPECT_FALSE(blueNear(f, 758, 98));

    game.heading = 90;
    beginOverlayFrame();
    drawHeadingCompass();
    f = grabFrame();
    EXPECT_TRUE(blueNear(f, 773, 87));    // needle right
    EXPECT_FALSE(blueNear(f, 758, 76));

    game.heading = 180;
    beginOverlayFrame();
    drawHeadingCompass();
    f = grabFrame();
    EXPECT_TRUE(blueNear(f, 758, 98));    // needle down
    EXPECT_FALSE(blueNear(f, 758, 76));

    // Looking 50 degrees down halves the needle.
    game.heading = 0;
    game.pitch = 50;
    beginOverlayFrame();
    drawHeadingCompass();
    f = grabFrame();
    EXPECT_TRUE(blueNear(f, 758, 80));
    EXPECT_FALSE(blueNear(f, 758, 71));
    game.pitch = -50;   // up as much as down
    beginOverlayFrame();
    drawHeadingCompass();
    f = grabFrame();
    EXPECT_TRUE(blueNear(f, 758, 80));
    EXPECT_FALSE(blueNear(f, 758, 71));
}

TEST_F(HudMarkers, ScreenTileShowsTheTextureTopAtItsTopEdge)
{
    // Bottom row green, blue; top row red, yellow.
    const GLuint tex = makeTexture({0, 255, 0, 0, 0, 255, 255, 0, 0, 255, 255, 0});
    glDisable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    const auto model = matrix(GL_MODELVIEW_MATRIX);
    const auto projection = matrix(GL_PROJECTION_MATRIX);
    drawScreenTile(tex, 100, 50, 300, 250);
    const Frame f = grabFrame();
    EXPECT_TRUE(isRed(f.at(110, 60)));
    EXPECT_TRUE(near(f.at(290, 60), {255, 255, 0}, 10));
    EXPECT_TRUE(near(f.at(110, 240), {0, 255, 0}, 10));
    EXPECT_TRUE(isBlue(f.at(290, 240)));
    // The tile covers exactly its pixel rectangle.
    EXPECT_TRUE(isClearGrey(f.at(200, 48)));
    EXPECT_TRUE(isClearGrey(f.at(200, 251)));
    EXPECT_TRUE(isClearGrey(f.at(98, 150)));
    EXPECT_TRUE(isClearGrey(f.at(301, 150)));
    EXPECT_FALSE(isClearGrey(f.at(100, 50)));
    EXPECT_FALSE(isClearGrey(f.at(299, 249)));
    // Both matrices restored; lighting on afterwards even though it was off.
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), model);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_LIGHTING);

    // A tile reaching past the right edge is cut there (the fifth environment tile).
    beginOverlayFrame();
    drawScreenTile(tex, 624, 200, 832, 400);
    const Frame g = grabFrame();
    EXPECT_TRUE(isRed(g.at(630, 210)));
    EXPECT_TRUE(isRed(g.at(700, 210)));
    EXPECT_TRUE(near(g.at(799, 210), {255, 255, 0}, 10));   // 728 .. 832 is the right half
    glDisable(GL_LIGHTING);
    glDeleteTextures(1, &tex);
}
