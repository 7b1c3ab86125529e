// The chaser, the frame-rate interval, the tick and the end of the game,
// all with a set clock.
#include "core/rules.h"
#include "fresh_state.h"

namespace {

using Rules = FreshGame;

struct CaptureLog {
    int count = 0;
    float xAtCapture = 0, zAtCapture = 0;
    std::function<void()> fn()
    {
        return [this] {
            ++count;
            xAtCapture = game.chaserX;
            zAtCapture = game.chaserZ;
        };
    }
};

TEST_F(Rules, ChaserEntersAfterSixtySecondsOfRealTime)
{
    CaptureLog log;
    game.chaserX = 33;   // where it stood before
    updateChaser(59.9, log.fn());
    EXPECT_FALSE(game.chaserActive);
    EXPECT_EQ(log.count, 0);
    updateChaser(60.1, log.fn());
    EXPECT_TRUE(game.chaserActive);
    EXPECT_EQ(log.count, 1);
    // The capture ran before the chaser's position was reset.
    EXPECT_EQ(log.xAtCapture, 33);
    EXPECT_EQ(game.chaserX, 0);
    EXPECT_EQ(game.chaserZ, -100);
    EXPECT_EQ(game.chaserClock, 0);
    EXPECT_EQ(game.chaserSteps, 0);
}

TEST_F(Rules, EscapeModeKeepsTheChaserOut)
{
    CaptureLog log;
    game.escapeMode = true;
    updateChaser(100, log.fn());
    EXPECT_FALSE(game.chaserActive);
}

TEST_F(Rules, EnvironmentViewFreezesTheChaserClock)
{
    CaptureLog log;
    game.showEnvironment = true;
    updateChaser(100, log.fn());
    EXPECT_EQ(game.chaserClock, 0);
    EXPECT_EQ(game.chaserClockLast, 0);
    game.showEnvironment = false;
    updateChaser(100, log.fn());   // the whole interval arrives at once
    EXPECT_TRUE(game.chaserActive);
}

TEST_F(Rules, ChaserStepsInBurstsOfEight)
{
    CaptureLog log;
    updateChaser(61, log.fn());
    ASSERT_TRUE(game.chaserActive);
    game.playerX = 0;
    game.playerZ = 400;   // far away along +z
    double now = 61;
    // The first step comes once the clock passes 0.005 (0.05 s of real time).
    updateChaser(now + 0.04, log.fn());
    EXPECT_EQ(game.chaserZ, -100);
    now += 0.06;
    for (int i = 1; i <= 8; ++i) {
        updateChaser(now, log.fn());   // no time passes: the clock stays above 0.005
        EXPECT_EQ(game.chaserZ, -100 + i);
        EXPECT_EQ(game.chaserX, 0);    // within 3 on x: no move
    }
    EXPECT_EQ(log.count, 2);           // the entry and the eighth step
    EXPECT_EQ(game.chaserSteps, 0);
    EXPECT_EQ(game.chaserClock, 0);
    updateChaser(now, log.fn());       // paused until the clock passes 0.005 again
    EXPECT_EQ(game.chaserZ, -92);
}

TEST_F(Rules, CatchingCostsExactlyOneLife)
{
    CaptureLog log;
    updateChaser(61, log.fn());
    game.playerX = 0;
    game.playerZ = -81.5;   // one step brings the chaser to -99: 17.5 away
    updateChaser(62, log.fn());
    EXPECT_EQ(game.lives, 2);
    EXPECT_FALSE(game.chaserActive);
    updateChaser(62.01, log.fn());   // gone: no second life lost
    EXPECT_EQ(game.lives, 2);
    // It comes back once its clock passes 6.0 again.
    updateChaser(120, log.fn());
    EXPECT_FALSE(game.chaserActive);
    updateChaser(123, log.fn());
    EXPECT_TRUE(game.chaserActive);
}

TEST_F(Rules, TwentyAwayOnOneAxisIsNoCatch)
{
    CaptureLog log;
    updateChaser(61, log.fn());
    game.playerX = 24;   // the chaser steps to x 1: 23 away
    game.playerZ = -100;
    updateChaser(62, log.fn());
    EXPECT_EQ(game.lives, 3);
    EXPECT_TRUE(game.chaserActive);
}

TEST_F(Rules, FirstUpdateCountsTimeSinceLibraryStart)
{
    CaptureLog log;
    // Sixty seconds in the menu: the chaser enters on the first frame of play.
    updateChaser(60.5, log.fn());
    EXPECT_TRUE(game.chaserActive);
}

TEST_F(Rules, OneShotPerFpsInterval)
{
    FrameTimers timers;
    timers.canFire = false;
    game.frameCount = 50;
    EXPECT_FALSE(updateFps(timers, 1.0));   // exactly one second: not yet
    EXPECT_FALSE(timers.canFire);
    EXPECT_TRUE(updateFps(timers, 1.25));
    EXPECT_TRUE(timers.canFire);
    EXPECT_DOUBLE_EQ(game.fps, 40.0);
    EXPECT_EQ(game.frameCount, 0);
    EXPECT_EQ(timers.fpsIntervalStart, 1.25);
}

TEST_F(Rules, TickAtMostOncePerFourHundredthsOfASecond)
{
    FrameTimers timers;
    int ticks = 0;
    for (double t = 0; t <= 1.0 + 1e-9; t += 0.001)
        ticks += tickDue(timers, t);
    EXPECT_GE(ticks, 23);
    EXPECT_LE(ticks, 25);
    timers.tickStart = 5;
    EXPECT_FALSE(tickDue(timers, 5.0399));
    EXPECT_TRUE(tickDue(timers, 5.0401));
    EXPECT_FALSE(tickDue(timers, 5.0402));
}

TEST_F(Rules, DifficultyTable)
{
    for (int goal = 0; goal <= 4; ++goal) {
        for (int d = 0; d < 3; ++d) {
            game = GameState{};
            game.difficulty = d;
            game.goalMode = goal;
            applyDifficultyParameters();
            const int levels[] = {1, 2, 4}, densities[] = {1, 2, 3}, intervals[] = {10, 8, 5};
            EXPECT_EQ(game.enemyLevel, levels[d]);
            EXPECT_EQ(game.emitterDensity, densities[d]);
            EXPECT_EQ(game.emitterInterval, intervals[d]);
            const int kills[] = {50, 100, 250}, scores[] = {1000, 2500, 5000};
            const float times[] = {100, 250, 500};
            EXPECT_EQ(game.killGoal, goal == 1 ? kills[d] : 0);
            EXPECT_EQ(game.scoreGoal, goal == 2 ? scores[d] : 0);
            EXPECT_EQ(game.timeGoal, goal == 3 ? times[d] : 0);
        }
    }
}

TEST_F(Rules, EndOfGameByEachGoal)
{
    for (int d = 0; d < 3; ++d) {
        const DifficultyParameters p = difficultyParameters(d);
        FrameTimers timers;

        game = GameState{};
        game.difficulty = d;
        game.goalMode = 1;
        applyDifficultyParameters();
        game.kills = p.killGoal - 1;
        EXPECT_FALSE(gameOver(timers, 0));
        game.kills = p.killGoal;
        EXPECT_TRUE(gameOver(timers, 0));

        game = GameState{};
        game.difficulty = d;
        game.goalMode = 2;
        applyDifficultyParameters();
        game.score = p.scoreGoal - 10;
        EXPECT_FALSE(gameOver(timers, 0));
        game.score = p.scoreGoal;
        EXPECT_TRUE(gameOver(timers, 0));

        // The time goal counts from the menu's first frame.
        game = GameState{};
        game.difficulty = d;
        game.goalMode = 3;
        applyDifficultyParameters();
        game.startTime = 2.0f;
        EXPECT_FALSE(gameOver(timers, 2.0 + p.timeGoal - 0.01));
        EXPECT_TRUE(gameOver(timers, 2.0 + p.timeGoal));
    }
}

TEST_F(Rules, NoGoalEndsOnlyWhenLivesRunOut)
{
    for (int goal : {0, 4}) {
        game = GameState{};
        game.goalMode = goal;
        applyDifficultyParameters();
        FrameTimers timers;
        game.kills = 100000;
        game.score = 100000;
        EXPECT_FALSE(gameOver(timers, 100000.0));
        game.lives = 1;
        EXPECT_FALSE(gameOver(timers, 100000.0));
        game.lives = 0;
        EXPECT_TRUE(gameOver(timers, 0));
        EXPECT_TRUE(timers.gameEnded);
    }
}

TEST_F(Rules, FreshStart)
{
    EXPECT_EQ(game.lives, 3);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.pitch, 10.0);
    EXPECT_EQ(game.stepSize, 10);
    EXPECT_TRUE(game.lightingEnabled);
    EXPECT_TRUE(game.cullingEnabled);
    EXPECT_TRUE(game.channelRunning);
    EXPECT_EQ(game.mousePitch, 20.0f);
}

TEST(TextureNames, SurviveTheFloatRoundTrip)
{
    for (GLuint name : {0u, 1u, 7u, 123456u, 16777216u, 2147483648u})
        EXPECT_EQ(textureNameFromFloat(textureNameToFloat(name)), name);
}

}  // namespace
