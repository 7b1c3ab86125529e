// A whole overlay as the frame loop draws it, over a plain mid-grey frame.
#include "hud/hud.h"
#include "hud/score.h"
#include "overlay_frame.h"

#include <gtest/gtest.h>

namespace {

class OverlayFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        resetHudState();
    }
    void TearDown() override { resetHudState(); }
};

// The overlay steps of one frame: hearts, score, compass, crosshair (not in
// escape mode), text lines.
Frame drawOverlay()
{
    beginOverlayFrame();
    drawLifeMarkers();
    drawScore();
    drawHeadingCompass();
    if (!game.escapeMode)
        drawCrosshair(800, 600, 400, 300);
    drawHudTexts();
    return grabFrame();
}

}  // namespace

TEST_F(OverlayFrame, AllPartsAppearTogetherWithoutDisturbingEachOther)
{
    game.lives = 3;
    game.score = 42;
    game.heading = 45;
    game.pitch = 10;
    game.showFps = true;
    game.fps = 61.25;
    const Frame f = drawOverlay();
    saveScreenshot("hud_overlay_frame");

    EXPECT_EQ(runsInRow(f, 20, isRed, 0, 300), 3);                         // hearts
    const Box score = boxOf(f, isRed, 600, 0, 799, 60);            // score digits
    EXPECT_NEAR(score.left, 609, 2);
    EXPECT_NEAR(score.right, 788, 2);
    const Box compass = boxOf(f, isBlue, 720, 55, 799, 120);       // compass ring
    EXPECT_NEAR((compass.left + compass.right) / 2.0, 758.3, 1.5);
    const Box cross = boxOf(f, isWhite, 300, 200, 500, 400);       // crosshair
    EXPECT_NEAR(cross.width(), 30, 2);
    EXPECT_NEAR(cross.height(), 22, 2);
    EXPECT_FALSE(boxOf(f, isBlue, 0, 60, 399, 100).empty());       // status line
    EXPECT_FALSE(boxOf(f, isBlue, 600, 75, 699, 112).empty());     // FPS figure
    EXPECT_FALSE(boxOf(f, isBlue, 0, 106, 399, 140).empty());      // key help
    // The compass needle at 45 degrees points up and right.
    EXPECT_GT(countPixels(f, isBlue, 765, 77, 772, 82), 0);
    // The grey shows through everywhere else, e.g. the lower half.
    EXPECT_EQ(countPixels(f, [](Rgb c) { return !isClearGrey(c); }, 0, 320, 799, 599), 0);
}

TEST_F(OverlayFrame, EscapeModeHasNoCrosshairAndTheChaserWarningIsRed)
{
    game.escapeMode = true;
    game.chaserActive = true;
    game.lives = 5;
    game.score = 98765;
    const Frame f = drawOverlay();
    saveScreenshot("hud_overlay_escape");
    EXPECT_TRUE(boxOf(f, isWhite, 300, 200, 500, 400).empty());
    EXPECT_FALSE(boxOf(f, isRed, 0, 60, 399, 100).empty());
    EXPECT_EQ(runsInRow(f, 20, isRed, 0, 300), 5);
}
