// The overlay read back from the frame buffer: crosshair, life hearts, heading
// compass, screen tiles and the text lines (each state of the HUD against the
// same lines drawn one by one).
#include "hud/hud.h"
#include "hud/score.h"
#include "overlay_frame.h"
#include "platform/bitmap_font.h"

#include <string>

namespace {

using Hud = OverlayTest;

std::array<float, 16> matrix(GLenum which)
{
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

// The current colour is white again, for whatever is drawn next.
void expectWhiteColour() { EXPECT_EQ(matrix(GL_CURRENT_COLOR)[0] + matrix(GL_CURRENT_COLOR)[1] + matrix(GL_CURRENT_COLOR)[2], 3.0f); }

TEST_F(Hud, CrosshairIsAWhiteCircleAndCrossAboutTheScreenPoint)
{
    // At the middle, and 150 px right and 100 px up in 15 and 11 px units.
    const struct { float x, y; double centreX, centreY; } places[] = {
        {400, 300, 400, 300}, {550, 200, 400 + 150 * 14.928 / 15, 300 - 100 * 11.196 / 11}};
    for (const auto& p : places) {
        const Frame f = overlayFrame([&] { drawCrosshair(800, 600, p.x, p.y); });
        const Box white = boxOf(f, isWhite);
        EXPECT_NEAR((white.left + white.right) / 2.0, p.centreX, 2);
        EXPECT_NEAR((white.top + white.bottom) / 2.0, p.centreY, 2);
        EXPECT_TRUE(std::abs(white.width() - 30) <= 2 && std::abs(white.height() - 22) <= 2) << white;
        expectWhiteColour();
    }
    // The cross passes through the centre; between it and the ring along the
    // horizontal axis there is space.
    const Frame f = overlayFrame([] { drawCrosshair(800, 600, 400, 300); });
    EXPECT_GT(countPixels(f, isWhite, 399, 299, 400, 300), 0);
    EXPECT_EQ(countPixels(f, isWhite, 406, 299, 409, 301) + countPixels(f, isWhite, 391, 299, 394, 301), 0);
    EXPECT_GT(countPixels(f, isWhite, 412, 298, 416, 302), 0);   // the ring's right side
}

TEST_F(Hud, OneRedHeartPerLifeAndTheCompassNeedleFollowingHeadingAndPitch)
{
    // Heart centres lie 26.8 + 37.3 i px across and 20 px below the top; a
    // heart: two lobes above the notch, a point 3 units (17 px) below.
    for (int lives : {0, 1, 3, 6}) {
        game.lives = lives;
        const Frame f = overlayFrame(drawLifeMarkers);
        EXPECT_EQ(std::tuple(runsInRow(f, 20, isRed), runsInRow(f, 16, isRed), runsInRow(f, 33, isRed)),
                  std::tuple(lives, 2 * lives, lives));
        const Box red = boxOf(f, isRed);
        EXPECT_TRUE(lives == 0 || boxNear(red, 26.8 - 14.9, 20.1 - 5.6, 26.8 + 37.32 * (lives - 1) + 14.9, 20.1 + 3 * 5.6, 2))
            << lives << " " << red;
        EXPECT_TRUE(lives == 0 || (!isRed(f.at(27, 16)) && isRed(f.at(27, 30))));   // the notch, the point below it
        expectWhiteColour();
    }
    // The compass: a circle 60 x 45 px about (758.3, 87.3); the needle up,
    // right, down; looking 50 degrees down (or up) halves it.
    const Box ring = boxOf(overlayFrame(drawHeadingCompass), isBlue);
    EXPECT_TRUE(boxNear(ring, 758.3 - 30, 87.3 - 22.5, 758.3 + 30, 87.3 + 22.5, 2)) << ring;
    const struct { float heading; double pitch; int bx, by, cx, cy; } needles[] = {
        {0, 0, 758, 76, 758, 98}, {90, 0, 773, 87, 758, 76},   {180, 0, 758, 98, 758, 76},
        {0, 50, 758, 80, 758, 71}, {0, -50, 758, 80, 758, 71}, {45, 0, 768, 80, 758, 76}};
    for (const auto& n : needles) {
        game.heading = n.heading;
        game.pitch = n.pitch;
        const Frame f = overlayFrame(drawHeadingCompass);
        EXPECT_EQ(std::pair(countPixels(f, isBlue, n.bx - 1, n.by - 1, n.bx + 1, n.by + 1) > 0,
                            countPixels(f, isBlue, n.cx - 1, n.cy - 1, n.cx + 1, n.cy + 1)), std::pair(true, 0))
            << n.heading << " " << n.pitch;
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
    glDisable(GL_LIGHTING);
    glDeleteTextures(1, &tex);
}

const char* const calmStatus = "Hier kann Ihre Werbung stehen";
const std::vector<std::string> plainHelp = {"Escape Mode OFF (Press E)", "Show Environement Texture OFF (Press T)"};

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

TEST_F(Hud, TextLinesFollowTheChaserTheFpsSwitchAndTheMode)
{
    const Frame calm = overlayFrame(drawHudTexts);
    // The "H" of the status line starts 14.4 px from the left and stands on
    // the baseline 90 px below the top, a 24-point capital.
    const Box blue = boxOf(calm, isBlue, 0, 60, 399, 100);
    const Box capitalH = boxOf(calm, isBlue, blue.left, 60, blue.left + 15, 100);
    EXPECT_TRUE(blue.left >= 13 && blue.left <= 17 && capitalH.bottom >= 88 && capitalH.bottom <= 91) << capitalH;
    EXPECT_TRUE(capitalH.height() >= 14 && capitalH.height() <= 20) << capitalH;
    const std::vector<std::string> escapeHelp = {"Escape Mode ON (Press E)", "Show Textures (Press T)",
                                                 "+/- Motion Time (G/H)"};
    const std::vector<std::string> environmentHelp = {
        "Escape Mode OFF (Press E)", "Show Environement Texture ON (Press T)",
        "+/- X-Direction Environement Texture (G/H)", "+/- Y-Direction Environement Texture (V/B)"};
    const char* const warning = "WATCH OUT!!! A VOZODADAV IS HERE!!!";
    const struct { bool chaser, fps, escape, environment; float figure; const char* shown; std::vector<std::string> help; } states[] = {
        {false, false, false, false, 59.996f, nullptr, plainHelp}, {true, false, false, false, 0, nullptr, plainHelp},
        {false, true, false, false, 59.996f, "60.00", plainHelp},  {false, true, false, false, 0, "0.00", plainHelp},
        {false, false, false, true, 0, nullptr, environmentHelp},   {false, false, true, false, 0, nullptr, escapeHelp},
        {false, false, true, true, 0, nullptr, escapeHelp}};
    for (const auto& s : states) {
        game.chaserActive = s.chaser;
        game.showFps = s.fps;
        game.fps = s.figure;
        game.escapeMode = s.escape;
        game.showEnvironment = s.environment;
        EXPECT_EQ(differentPixels(overlayFrame(drawHudTexts),
                                  expectedLines(s.chaser ? warning : calmStatus, s.chaser, s.help, s.shown)),
                  0)
            << s.chaser << s.fps << s.escape << s.environment;
    }
    // No text draws nothing, and a position off the screen is harmless.
    const Frame none = overlayFrame([] {
        drawTextLine(0, 0, 0, 1, hudLargeFont(), nullptr);
        drawTextLine(5000, 0, 0, 1, hudLargeFont(), "far outside");
    });
    EXPECT_EQ(countPixels(none, isBlue), 0);
}

}  // namespace
