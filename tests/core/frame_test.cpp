// Whole frames of the real frame loop in the generated world (Mesa keeps the
// back buffer's picture after the swap, so it is read back from there): a
// shot that destroys an enemy and explodes, and the status line's colours.
#include "core/input.h"
#include "render/lighting.h"
#include "game/frame_loop.h"
#include "support/game_world.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FrameLoop : public ::testing::Test {
protected:
    FrameTimers timers;

    void SetUp() override
    {
        if (!openGameWorld())
            GTEST_SKIP() << "no display";
        resetView();
        freeList(enemyList);
        sys::testReleaseAllKeys();
        const double now = glfwGetTime();
        game.chaserClockLast = static_cast<float>(now);
        game.chaserClock = 0;
        timers.fpsIntervalStart = timers.tickStart = now;
        timers.canFire = true;
    }
    void TearDown() override
    {
        freeList(enemyList);
        game.fireHeld = false;
        sys::testUseRealKeys();
        resetView();
    }
};

// Colours a little stricter than the shared classes.
bool strictRed(Rgb p) { return p.r > 200 && p.g < 40 && p.b < 40; }
bool strictBlue(Rgb p) { return p.r < 40 && p.g < 40 && p.b > 200; }

TEST_F(FrameLoop, ShotDestroysTheEnemyAheadAndItExplodes)
{
    game.enemyLevel = 1;
    spawnEnemy(0.0f, -220.0f, 10);   // straight ahead, in the pitch-10 band
    game.fireHeld = true;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(runFrame(timers));
    EXPECT_FALSE(timers.canFire);
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(game.kills, 1);
    EXPECT_EQ(countElements(enemyList), 0);
    EXPECT_TRUE(game.explosionPending);
    EXPECT_EQ(game.explosionSystem, 1);
    game.fireHeld = false;

    ASSERT_TRUE(runFrame(timers));   // the first explosion frame is shown
    saveScreenshot("frame-shot-explosion");
    // Yellow-white particles around the enemy's place, above the crosshair.
    const auto burst = [](Rgb p) { return p.r > 200 && p.g > 150 && p.b < 140; };
    EXPECT_GT(countPixels(grabFrame(), burst, 340, 200, 459, 299), 80);
    ASSERT_TRUE(runFrame(timers));
    ASSERT_TRUE(runFrame(timers));
    EXPECT_FALSE(game.explosionPending);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("\n5\n"), std::string::npos) << out.substr(0, 200);
    // The score digits show 00010: the tens cell now holds a 1.
    EXPECT_GT(countPixels(grabFrame(), isRed, 718, 6, 753, 45), 40);
}

TEST_F(FrameLoop, StatusLineIsBlueAndRedWhileTheChaserIsHere)
{
    ASSERT_TRUE(runFrame(timers));
    EXPECT_GT(countPixels(grabFrame(), strictBlue, 10, 68, 329, 93), 400);
    game.chaserActive = true;
    game.chaserX = game.chaserZ = 300;   // far off: no catch this frame
    ASSERT_TRUE(runFrame(timers));
    saveScreenshot("frame-chaser-warning");
    EXPECT_GT(countPixels(grabFrame(), strictRed, 10, 68, 439, 93), 400);
    EXPECT_EQ(game.lives, 3);
}

TEST_F(FrameLoop, OverlayKeepsItsColoursAfterLightingOffAndTheEnvironmentView)
{
    // L switches lighting off, T shows the six environment tiles; the tiles
    // must not leave lighting on for the hearts, digits and crosshair.
    game.score = 88888;   // every segment of every digit cell
    glfwSetKeyCallback(gameKeyHandler);
    for (int key : {'L', 'T'}) {
        sys::testSendKey(key, GLFW_PRESS);
        sys::testSendKey(key, GLFW_RELEASE);
    }
    ASSERT_FALSE(game.lightingEnabled);
    ASSERT_TRUE(game.showEnvironment);
    ASSERT_TRUE(runFrame(timers));
    saveScreenshot("frame-lighting-off-environment");
    const Frame f = grabFrame();
    EXPECT_EQ(runsInRow(f, 20, strictRed, 0, 200), 3);                // hearts
    EXPECT_GT(countPixels(f, strictRed, 600, 0, 799, 60), 300);       // score digits
    const auto pureWhite = [](Rgb p) { return p.r > 240 && p.g > 240 && p.b > 240; };
    const Box cross = boxOf(f, pureWhite, 380, 285, 420, 315);        // crosshair over a tile
    EXPECT_TRUE(std::abs(cross.width() - 30) <= 2 && std::abs(cross.height() - 22) <= 2)
        << cross.width() << "x" << cross.height();
    glfwSetKeyCallback(nullptr);
    game.lightingEnabled = true;
    setLighting(true);
    game.showEnvironment = false;
    game.score = 0;
}

}  // namespace
