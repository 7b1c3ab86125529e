// The overlay's text lines, read back from the frame buffer.
#include "hud/hud.h"
#include "overlay_frame.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

class HudText : public ::testing::Test {
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

// The status line's area: left half, rows 60..100 from the top.
constexpr int statusX0 = 0, statusX1 = 399, statusY0 = 60, statusY1 = 100;
// The FPS figure's area: right of the middle, rows 75..112.
constexpr int fpsX0 = 600, fpsX1 = 799, fpsY0 = 75, fpsY1 = 112;

// Every pixel of two frames alike.
int differingPixels(const Frame& a, const Frame& b)
{
    int n = 0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3)
        n += (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]) ? 1 : 0;
    return n;
}

struct Line {
    int x, y;
    bool large;
    std::string text;
    int red = 0, blue = 1;
};

Frame drawLines(const std::vector<Line>& lines)
{
    beginOverlayFrame();
    for (const Line& l : lines)
        drawTextLine(l.x, l.y, l.red, l.blue, l.large ? hudLargeFont() : hudSmallFont(), l.text.c_str());
    return grabFrame();
}

Frame drawHud()
{
    beginOverlayFrame();
    drawHudTexts();
    return grabFrame();
}

}  // namespace

TEST_F(HudText, FontsAreTheTimesRomanBitmapFonts)
{
    EXPECT_EQ(hudLargeFont(), GLUT_BITMAP_TIMES_ROMAN_24);
    EXPECT_EQ(hudSmallFont(), GLUT_BITMAP_TIMES_ROMAN_10);
}

TEST_F(HudText, StatusLineIsBlueAtItsPlaceAndRedWhileTheChaserIsAbout)
{
    const Frame calm = drawHud();
    const Box blue = boxOf(calm, isBlue, statusX0, statusY0, statusX1, statusY1);
    ASSERT_FALSE(blue.empty());
    EXPECT_EQ(countPixels(calm, isRed), 0);
    // The raster position lands 14.4 px from the left and 90 px below the top:
    // the "H" starts there and stands on that baseline.
    EXPECT_GE(blue.left, 13);
    EXPECT_LE(blue.left, 17);
    const Box capitalH = boxOf(calm, isBlue, blue.left, statusY0, blue.left + 15, statusY1);
    EXPECT_GE(capitalH.bottom, 88);
    EXPECT_LE(capitalH.bottom, 91);
    EXPECT_GE(capitalH.height(), 14);   // a 24-point capital
    EXPECT_LE(capitalH.height(), 20);
    EXPECT_GT(blue.width(), 200);       // "Hier kann Ihre Werbung stehen"
    EXPECT_LT(blue.right, 400);

    game.chaserActive = true;
    const Frame alarmed = drawHud();
    const Box red = boxOf(alarmed, isRed, statusX0, statusY0, statusX1, statusY1);
    ASSERT_FALSE(red.empty());
    EXPECT_EQ(countPixels(alarmed, isBlue, statusX0, statusY0, statusX1, 99), 0);
    EXPECT_NEAR(red.left, blue.left, 1);   // both begin with a capital at the same place
    EXPECT_GT(red.width(), blue.width());   // the warning is the longer line
    // The same text as a plain red line.
    EXPECT_EQ(differingPixels(alarmed, drawLines({{-155, 150, true, "WATCH OUT!!! A VOZODADAV IS HERE!!!", 1, 0},
                                                  {-155, 132, false, "Escape Mode OFF (Press E)"},
                                                  {-155, 122, false, "Show Environement Texture OFF (Press T)"}})),
              0);
}

TEST_F(HudText, FpsFigureOnlyWhenSwitchedOnWithTwoDecimals)
{
    game.fps = 59.996;
    const Frame hidden = drawHud();
    EXPECT_EQ(countPixels(hidden, isBlue, fpsX0, fpsY0, fpsX1, fpsY1), 0);

    game.showFps = true;
    const Frame shown = drawHud();
    const Box figure = boxOf(shown, isBlue, fpsX0, fpsY0, fpsX1, fpsY1);
    ASSERT_FALSE(figure.empty());
    EXPECT_NEAR(figure.left, 649, 3);     // x 100 lands 648.8 px from the left
    EXPECT_NEAR(figure.bottom, 104, 2);   // y 140 lands 104 px below the top

    // Rounded to two decimals: 59.996 shows as 60.00.
    const Frame expected = drawLines({{100, 140, true, "60.00"}});
    for (int y = fpsY0; y <= fpsY1; ++y)
        for (int x = fpsX0; x <= fpsX1; ++x)
            ASSERT_EQ(isBlue(shown.at(x, y)), isBlue(expected.at(x, y))) << x << "," << y;

    game.fps = 0;
    const Frame zero = drawHud();
    const Frame expectedZero = drawLines({{100, 140, true, "0.00"}});
    for (int y = fpsY0; y <= fpsY1; ++y)
        for (int x = fpsX0; x <= fpsX1; ++x)
            ASSERT_EQ(isBlue(zero.at(x, y)), isBlue(expectedZero.at(x, y))) << x << "," << y;
    // The other lines keep their places with the figure on or off.
    EXPECT_EQ(differingPixels(hidden, drawLines({{-155, 150, true, "Hier kann Ihre Werbung stehen"},
                                                 {-155, 132, false, "Escape Mode OFF (Press E)"},
                                                 {-155, 122, false, "Show Environement Texture OFF (Press T)"}})),
              0);
}

TEST_F(HudText, KeyHelpLinesFollowTheMode)
{
    const Line status{-155, 150, true, "Hier kann Ihre Werbung stehen"};
    struct Mode {
        bool escape, environment;
        std::vector<Line> help;
    };
    const std::vector<Mode> modes = {
        {false, false,
         {{-155, 132, false, "Escape Mode OFF (Press E)"},
          {-155, 122, false, "Show Environement Texture OFF (Press T)"}}},
        {false, true,
         {{-155, 132, false, "Escape Mode OFF (Press E)"},
          {-155, 122, false, "Show Environement Texture ON (Press T)"},
          {-155, 112, false, "+/- X-Direction Environement Texture (G/H)"},
          {-155, 102, false, "+/- Y-Direction Environement Texture (V/B)"}}},
        {true, false,
         {{-155, 132, false, "Escape Mode ON (Press E)"},
          {-155, 122, false, "Show Textures (Press T)"},
          {-155, 112, false, "+/- Motion Time (G/H)"}}},
        {true, true,
         {{-155, 132, false, "Escape Mode ON (Press E)"},
          {-155, 122, false, "Show Textures (Press T)"},
          {-155, 112, false, "+/- Motion Time (G/H)"}}},
    };
    for (const Mode& m : modes) {
        game.escapeMode = m.escape;
        game.showEnvironment = m.environment;
        const Frame hud = drawHud();
        std::vector<Line> lines = {status};
        lines.insert(lines.end(), m.help.begin(), m.help.end());
        EXPECT_EQ(differingPixels(hud, drawLines(lines)), 0)
            << "escape " << m.escape << " environment " << m.environment;

        // The help lines start under the status line's first letter.
        const Box help = boxOf(hud, isBlue, 0, 106, 399, 170);
        ASSERT_FALSE(help.empty());
        EXPECT_GE(help.left, 13);
        EXPECT_LE(help.left, 17);
    }
    // Lines are 10 units (14 px) apart: four lines reach two rows further
    // down than two, three lines one row further.
    auto helpBottom = [](bool escape, bool environment) {
        game.escapeMode = escape;
        game.showEnvironment = environment;
        return boxOf(drawHud(), isBlue, 0, 106, 399, 170).bottom;
    };
    const int two = helpBottom(false, false);
    EXPECT_NEAR(helpBottom(false, true) - two, 2 * 14, 2);
    EXPECT_NEAR(helpBottom(true, false) - two, 14, 2);
}

TEST_F(HudText, NullTextDrawsNothingAndAnUnseenPositionIsHarmless)
{
    beginOverlayFrame();
    drawTextLine(0, 0, 0, 1, hudLargeFont(), nullptr);
    drawTextLine(5000, 0, 0, 1, hudLargeFont(), "far outside");
    const Frame f = grabFrame();
    EXPECT_EQ(countPixels(f, isBlue), 0);
}
