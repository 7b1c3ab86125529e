// The overlay read back from the frame buffer: crosshair, life hearts, heading
// compass, screen tiles, the text lines (each state of the HUD against the
// same lines drawn one by one), and all of them together.
#include "hud/hud.h"
#include "hud/score.h"
#include "overlay_frame.h"
#include "platform/bitmap_font.h"

#include <string>

namespace {

using Hud = OverlayTest;

// The current colour is white again, for whatever is drawn next.
void expectWhiteColour()
{
    std::array<float, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    EXPECT_TRUE(c[0] == 1.0f && c[1] == 1.0f && c[2] == 1.0f) << c[0] << " " << c[1] << " " << c[2];
}

std::array<float, 16> matrix(GLenum which)
{
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

double middle(int a, int b) { return (a + b) / 2.0; }

TEST_F(Hud, CrosshairIsAWhiteCircleAndCrossAboutTheScreenPoint)
{
    drawCrosshair(800, 600, 400, 300);
    const Frame f = grabFrame();
    const Box white = boxOf(f, isWhite);
    EXPECT_TRUE(std::abs(middle(white.left, white.right) - 400) <= 1.5 && std::abs(middle(white.top, white.bottom) - 300) <= 1.5);
    EXPECT_TRUE(std::abs(white.width() - 30) <= 2 && std::abs(white.height() - 22) <= 2) << white.width() << "x" << white.height();
    // The cross passes through the centre; between it and the ring along the
    // horizontal axis there is space.
    EXPECT_GT(countPixels(f, isWhite, 399, 299, 400, 300), 0);
    EXPECT_EQ(countPixels(f, isWhite, 406, 299, 409, 301) + countPixels(f, isWhite, 391, 299, 394, 301), 0);
    EXPECT_GT(countPixels(f, isWhite, 412, 298, 416, 302), 0);   // the ring's right side
    expectWhiteColour();
    // Off the middle: 150 px right and 100 px up, in 15 and 11 px units.
    const Box off = boxOf(overlayFrame([] { drawCrosshair(800, 600, 550, 200); }), isWhite);
    EXPECT_NEAR(middle(off.left, off.right), 400 + 150 * 14.928 / 15, 2);
    EXPECT_NEAR(middle(off.top, off.bottom), 300 - 100 * 11.196 / 11, 2);
}

TEST_F(Hud, OneRedHeartPerLifeInTheTopLeftCorner)
{
    // Heart centres lie at (-50 + 5 i, 50) at depth 200: 26.8 + 37.3 i px
    // across and 20 px below the top; a unit is 7.46 px across and 5.60 px
    // up and down there. A heart: two lobes above the notch, a point below.
    for (int lives : {0, 1, 3, 6}) {
        game.lives = lives;
        const Frame f = overlayFrame(drawLifeMarkers);
        EXPECT_EQ(std::tuple(runsInRow(f, 20, isRed), runsInRow(f, 16, isRed), runsInRow(f, 33, isRed)),
                  std::tuple(lives, 2 * lives, lives));
        const Box red = boxOf(f, isRed);
        EXPECT_EQ(red.empty(), lives == 0);
        if (lives == 0)
            continue;
        EXPECT_NEAR(red.left, 26.8 - 14.9, 2) << lives;
        EXPECT_NEAR(red.right, 26.8 + 37.32 * (lives - 1) + 14.9, 2) << lives;
        EXPECT_NEAR(red.top, 20.1 - 5.6, 1.5) << lives;
        EXPECT_NEAR(red.bottom, 20.1 + 3 * 5.6, 1.5) << lives;   // the point, 3 units down
        EXPECT_TRUE(!isRed(f.at(27, 16)) && isRed(f.at(27, 30)));   // the notch, the point below it
        expectWhiteColour();
    }
}

TEST_F(Hud, CompassNeedleFollowsHeadingAndShortensWithPitch)
{
    // The circle: radius 2 around (24, 19) at depth 100, centred at
    // (758.3, 87.3) px, 60 px across and 45 px up and down.
    game.pitch = 0;
    const Box ring = boxOf(overlayFrame(drawHeadingCompass), isBlue);
    EXPECT_TRUE(std::abs(middle(ring.left, ring.right) - 758.3) <= 1.5 && std::abs(middle(ring.top, ring.bottom) - 87.3) <= 1.5);
    EXPECT_TRUE(std::abs(ring.width() - 60) <= 2 && std::abs(ring.height() - 45) <= 2) << ring.width() << "x" << ring.height();
    // Needle up, right, down; looking 50 degrees down (or up) halves it.
    const struct { float heading; double pitch; std::vector<std::pair<int, int>> blue, clear; } cases[] = {
        {0, 0, {{758, 76}}, {{773, 87}, {758, 98}}}, {90, 0, {{773, 87}}, {{758, 76}}},
        {180, 0, {{758, 98}}, {{758, 76}}},          {0, 50, {{758, 80}}, {{758, 71}}},
        {0, -50, {{758, 80}}, {{758, 71}}}};
    for (const auto& c : cases) {
        game.heading = c.heading;
        game.pitch = c.pitch;
        const Frame f = overlayFrame(drawHeadingCompass);
        for (const auto& [x, y] : c.blue)
            EXPECT_GT(countPixels(f, isBlue, x - 1, y - 1, x + 1, y + 1), 0) << c.heading << " " << c.pitch;
        for (const auto& [x, y] : c.clear)
            EXPECT_EQ(countPixels(f, isBlue, x - 1, y - 1, x + 1, y + 1), 0) << c.heading << " " << c.pitch;
    }
}

TEST_F(Hud, ScreenTileShowsTheTextureTopAtItsTopEdge)
{
    // Bottom row green, blue; top row red, yellow.
    const GLuint tex = makeTexture({0, 255, 0, 0, 0, 255, 255, 0, 0, 255, 255, 0});
    glEnable(GL_COLOR_MATERIAL);
    const auto model = matrix(GL_MODELVIEW_MATRIX), projection = matrix(GL_PROJECTION_MATRIX);
    drawScreenTile(tex, 100, 50, 300, 250);
    const Frame f = grabFrame();
    const Rgb yellow{255, 255, 0}, green{0, 255, 0};
    EXPECT_TRUE(isRed(f.at(110, 60)) && near(f.at(290, 60), yellow, 10) && near(f.at(110, 240), green, 10) &&
                isBlue(f.at(290, 240)));
    // The tile covers exactly its pixel rectangle.
    for (const auto& [x, y] : {std::pair{200, 48}, {200, 251}, {98, 150}, {301, 150}})
        EXPECT_TRUE(isClearGrey(f.at(x, y))) << x << "," << y;
    EXPECT_FALSE(isClearGrey(f.at(100, 50)) || isClearGrey(f.at(299, 249)));
    // Both matrices restored; lighting on afterwards even though it was off,
    // as the player's lighting switch is on; with the switch off it stays off.
    EXPECT_EQ(std::pair(matrix(GL_MODELVIEW_MATRIX), matrix(GL_PROJECTION_MATRIX)), std::pair(model, projection));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && !glIsEnabled(GL_COLOR_MATERIAL) && !glIsEnabled(GL_TEXTURE_2D));
    game.lightingEnabled = false;
    overlayFrame([&] { drawScreenTile(tex, 100, 50, 300, 250); });
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    game.lightingEnabled = true;
    // A tile reaching past the right edge is cut there (the fifth environment
    // tile): 728 .. 832 is the right half.
    const Frame g = overlayFrame([&] { drawScreenTile(tex, 624, 200, 832, 400); });
    EXPECT_TRUE(isRed(g.at(630, 210)) && isRed(g.at(700, 210)) && near(g.at(799, 210), yellow, 10));
    glDisable(GL_LIGHTING);
    glDeleteTextures(1, &tex);
}

const char* const calmStatus = "Hier kann Ihre Werbung stehen";
const std::vector<std::string> plainHelp = {"Escape Mode OFF (Press E)", "Show Environement Texture OFF (Press T)"};

int differingPixels(const Frame& a, const Frame& b)
{
    int n = 0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3)
        n += !std::equal(&a.rgb[i], &a.rgb[i] + 3, &b.rgb[i]);
    return n;
}

// The HUD's lines drawn one by one in the Times Roman bitmap fonts: the
// status line (large at -155, 150; red or blue), the help lines (small, 10
// units apart from 132 down) and the FPS figure (large at 100, 140).
Frame expectedLines(const std::string& status, bool red, const std::vector<std::string>& help, const char* fps = nullptr)
{
    return overlayFrame([&] {
        drawTextLine(-155, 150, red, !red, bitmapFontTimesRoman24(), status.c_str());
        for (std::size_t i = 0; i < help.size(); ++i)
            drawTextLine(-155, 132 - 10 * static_cast<int>(i), 0, 1, bitmapFontTimesRoman10(), help[i].c_str());
        if (fps)
            drawTextLine(100, 140, 0, 1, bitmapFontTimesRoman24(), fps);
    });
}

TEST(TextLines, RasterPositionLandsOnTheScreenPixelOfTheGamePerspective)
{
    double px = 0, py = 0;
    textLinePixel(-155, 150, px, py);
    EXPECT_NEAR(px, 14.4, 0.1);           // from the left edge
    EXPECT_NEAR(600.0 - py, 90.0, 0.2);   // below the top edge
    textLinePixel(0, 0, px, py);
    EXPECT_EQ(std::pair(px, py), std::pair(400.0, 300.0));
    textLinePixel(100, 140, px, py);
    EXPECT_TRUE(std::abs(px - (400 + 2.48803 * 100)) < 0.01 && std::abs(py - (300 + 1.39952 * 140)) < 0.01) << px << "," << py;
}

TEST_F(Hud, StatusLineIsBlueAtItsPlaceAndRedWhileTheChaserIsAbout)
{
    const Frame calm = overlayFrame(drawHudTexts);
    EXPECT_EQ(differingPixels(calm, expectedLines(calmStatus, false, plainHelp)), 0);
    // drawTextLine puts the raster position where textLinePixel says, 14.4 px
    // from the left and 90 px below the top: the "H" of the status line
    // starts there and stands on that baseline, a 24-point capital.
    const Box blue = boxOf(calm, isBlue, 0, 60, 399, 100);
    const Box capitalH = boxOf(calm, isBlue, blue.left, 60, blue.left + 15, 100);
    EXPECT_TRUE(blue.left >= 13 && blue.left <= 17 && capitalH.bottom >= 88 && capitalH.bottom <= 91) << capitalH;
    EXPECT_TRUE(capitalH.height() >= 14 && capitalH.height() <= 20) << capitalH;
    game.chaserActive = true;
    EXPECT_EQ(differingPixels(overlayFrame(drawHudTexts), expectedLines("WATCH OUT!!! A VOZODADAV IS HERE!!!", true, plainHelp)),
              0);
}

TEST_F(Hud, FpsFigureOnlyWhenSwitchedOnWithTwoDecimals)
{
    game.fps = 59.996;
    EXPECT_EQ(differingPixels(overlayFrame(drawHudTexts), expectedLines(calmStatus, false, plainHelp)), 0);
    game.showFps = true;
    EXPECT_EQ(differingPixels(overlayFrame(drawHudTexts), expectedLines(calmStatus, false, plainHelp, "60.00")), 0);
    game.fps = 0;
    EXPECT_EQ(differingPixels(overlayFrame(drawHudTexts), expectedLines(calmStatus, false, plainHelp, "0.00")), 0);
}

TEST_F(Hud, KeyHelpLinesFollowTheMode)
{
    const std::vector<std::string> escapeHelp = {"Escape Mode ON (Press E)", "Show Textures (Press T)",
                                                 "+/- Motion Time (G/H)"};
    const struct { bool escape, environment; std::vector<std::string> help; } modes[] = {
        {false, false, plainHelp},
        {false, true,
         {"Escape Mode OFF (Press E)", "Show Environement Texture ON (Press T)",
          "+/- X-Direction Environement Texture (G/H)", "+/- Y-Direction Environement Texture (V/B)"}},
        {true, false, escapeHelp},
        {true, true, escapeHelp}};
    for (const auto& m : modes) {
        game.escapeMode = m.escape;
        game.showEnvironment = m.environment;
        EXPECT_EQ(differingPixels(overlayFrame(drawHudTexts), expectedLines(calmStatus, false, m.help)), 0)
            << m.escape << m.environment;
    }
}

TEST_F(Hud, NullTextDrawsNothingAndAnUnseenPositionIsHarmless)
{
    drawTextLine(0, 0, 0, 1, hudLargeFont(), nullptr);
    drawTextLine(5000, 0, 0, 1, hudLargeFont(), "far outside");
    EXPECT_EQ(countPixels(grabFrame(), isBlue), 0);
}

TEST_F(Hud, AllPartsOfTheOverlayAppearTogetherWithoutDisturbingEachOther)
{
    game.score = 42;
    game.heading = 45;
    game.showFps = true;
    game.fps = 61.25;
    const Frame f = overlayFrame([] {   // the frame loop's overlay steps in order
        drawLifeMarkers();
        drawScore();
        drawHeadingCompass();
        drawCrosshair(800, 600, 400, 300);
        drawHudTexts();
    });
    saveScreenshot("hud_overlay_frame");
    EXPECT_EQ(runsInRow(f, 20, isRed, 0, 300), 3);                 // hearts
    const Box score = boxOf(f, isRed, 600, 0, 799, 60);            // score digits
    EXPECT_TRUE(std::abs(score.left - 609) <= 2 && std::abs(score.right - 788) <= 2) << score.left << " " << score.right;
    const Box compass = boxOf(f, isBlue, 720, 55, 799, 120);       // compass ring
    EXPECT_NEAR(middle(compass.left, compass.right), 758.3, 1.5);
    const Box cross = boxOf(f, isWhite, 300, 200, 500, 400);       // crosshair
    EXPECT_TRUE(std::abs(cross.width() - 30) <= 2 && std::abs(cross.height() - 22) <= 2);
    EXPECT_FALSE(boxOf(f, isBlue, 0, 60, 399, 100).empty());       // status line
    EXPECT_FALSE(boxOf(f, isBlue, 600, 75, 699, 112).empty());     // FPS figure
    EXPECT_FALSE(boxOf(f, isBlue, 0, 106, 399, 140).empty());      // key help
    EXPECT_GT(countPixels(f, isBlue, 765, 77, 772, 82), 0);        // the needle at 45 degrees: up and right
    // The grey shows through everywhere else, e.g. the lower half.
    EXPECT_EQ(countPixels(f, [](Rgb c) { return !isClearGrey(c); }, 0, 320, 799, 599), 0);
}

}  // namespace
