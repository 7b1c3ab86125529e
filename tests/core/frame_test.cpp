// Whole frames of the real frame loop in the generated world (Mesa keeps the
// back buffer's picture after the swap, so it is read back from there): a
// shot that destroys an enemy and explodes, and the status line's colours.
#include "core/frame_loop.h"
#include "support/game_world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

class Frame : public ::testing::Test {
protected:
    FrameTimers timers;

    void SetUp() override
    {
        if (!openGameWorld())
            GTEST_SKIP() << "no display";
        resetView();
        game.lives = 3;
        game.score = game.kills = game.bonusPoints = 0;
        game.explosionPending = false;
        game.fireHeld = false;
        game.paused = false;
        game.goalMode = 0;
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

    static int countPixels(int x0, int y0, int x1, int y1, bool (*match)(const Rgb&))
    {
        int n = 0;
        for (int y = y0; y < y1; y += 2)
            for (int x = x0; x < x1; x += 2)
                n += match(readPixel(x, y));
        return n;
    }
};

TEST_F(Frame, ShotDestroysTheEnemyAheadAndItExplodes)
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
    const int burst = countPixels(340, 200, 460, 300, [](const Rgb& p) {
        return p.r > 200 && p.g > 150 && p.b < 140;
    });
    EXPECT_GT(burst, 20);
    ASSERT_TRUE(runFrame(timers));
    ASSERT_TRUE(runFrame(timers));
    EXPECT_FALSE(game.explosionPending);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("\n5\n"), std::string::npos) << out.substr(0, 200);

    // The score digits show 00010: the tens cell now holds a 1.
    const int tensRed = countPixels(718, 6, 754, 46, [](const Rgb& p) { return p.r > 200 && p.g < 60 && p.b < 60; });
    EXPECT_GT(tensRed, 10);
}

TEST_F(Frame, StatusLineIsBlueAndRedWhileTheChaserIsHere)
{
    ASSERT_TRUE(runFrame(timers));
    auto blue = [](const Rgb& p) { return p.r < 40 && p.g < 40 && p.b > 200; };
    auto red = [](const Rgb& p) { return p.r > 200 && p.g < 40 && p.b < 40; };
    EXPECT_GT(countPixels(10, 68, 330, 94, blue), 100);
    game.chaserActive = true;
    game.chaserX = 300;   // far off: no catch this frame
    game.chaserZ = 300;
    ASSERT_TRUE(runFrame(timers));
    saveScreenshot("frame-chaser-warning");
    EXPECT_GT(countPixels(10, 68, 440, 94, red), 100);
    EXPECT_EQ(game.lives, 3);
}

}  // namespace
