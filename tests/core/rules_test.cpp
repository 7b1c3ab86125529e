// The chaser, the frame-rate interval, the tick and the end of the game,
// all with a set clock.
#include "core/rules.h"
#include "support/fresh_game.h"
#include "state/resources.h"

#include <tuple>

namespace {

// Counts the chaser's cube-map captures and where the chaser stood at the last.
class Rules : public FreshGame {
protected:
    int captures = 0;
    float xAtCapture = 0;
    void update(double now)
    {
        updateChaser(now, [this] {
            ++captures;
            xAtCapture = game.chaserX;
        });
    }
};

TEST_F(Rules, ChaserEntersAfterSixtySecondsExceptInEscapeModeAndTheEnvironmentViewFreezesItsClock)
{
    game.chaserX = 33;   // where it stood before
    update(59.9);
    EXPECT_EQ(std::pair(game.chaserActive, captures), std::pair(false, 0));
    update(60.1);   // sixty seconds in the menu: it enters on the first frame of play
    EXPECT_EQ(std::tuple(game.chaserActive, captures, game.chaserX, game.chaserZ, game.chaserClock, game.chaserSteps, xAtCapture),
              std::tuple(true, 1, 0, -100, 0, 0, 33));   // captured before its position was reset
    game = GameState{};
    game.escapeMode = true;
    update(100);
    EXPECT_FALSE(game.chaserActive);
    game = GameState{};
    game.showEnvironment = true;
    update(100);
    EXPECT_EQ(std::tuple(game.chaserClock, game.chaserClockLast), std::tuple(0, 0));
    game.showEnvironment = false;
    update(100);   // the whole interval arrives at once
    EXPECT_TRUE(game.chaserActive);
}

TEST_F(Rules, ChaserStepsInBurstsOfEight)
{
    update(61);
    ASSERT_TRUE(game.chaserActive);
    // The first step comes once the clock passes 0.005 (0.05 s of real time).
    update(61.04);
    EXPECT_EQ(game.chaserZ, -100);
    // One unit toward the player on each axis where it is more than 3 away.
    const struct { double playerX, playerZ; float x, z; } steps[] = {
        {2, 400, 0, -99},     {3, 400, 0, -98},      {3.5, 400, 1, -97}, {400, 400, 2, -96},
        {400, -400, 3, -97}, {-400, -400, 2, -98}, {-2, 400, 1, -97},  {-2, 400, 1, -96}};
    for (const auto& s : steps) {
        game.playerX = s.playerX;
        game.playerZ = s.playerZ;
        update(61.06);   // no time passes: the clock stays above 0.005
        EXPECT_EQ(std::pair(game.chaserX, game.chaserZ), std::pair(s.x, s.z)) << s.playerX << "," << s.playerZ;
    }
    // Captures at the entry and the eighth step; then a new burst.
    EXPECT_EQ(std::tuple(captures, game.chaserSteps, game.chaserClock), std::tuple(2, 0, 0));
    update(61.06);   // paused until the clock passes 0.005 again
    EXPECT_EQ(game.chaserZ, -96);
}

TEST_F(Rules, CatchingWithinTwentyOnBothAxesCostsExactlyOneLife)
{
    update(61);
    game.playerX = 24;   // the chaser steps to x 1: 23 away
    game.playerZ = -100;
    update(62);
    EXPECT_EQ(std::pair(game.lives, game.chaserActive), std::pair(3, true));
    game.playerX = 0;
    game.playerZ = -81.5;   // the next step brings the chaser to -99: 17.5 away
    update(62.01);
    EXPECT_EQ(std::pair(game.lives, game.chaserActive), std::pair(2, false));
    update(62.02);   // gone: no second life lost
    EXPECT_EQ(game.lives, 2);
    // It comes back once its clock passes 6.0 again.
    update(120);
    EXPECT_FALSE(game.chaserActive);
    update(123);
    EXPECT_TRUE(game.chaserActive);
}

TEST_F(Rules, OneShotPerFpsIntervalAndATickAtMostEveryFourHundredthsOfASecond)
{
    FrameTimers timers;
    timers.canFire = false;
    game.frameCount = 50;
    EXPECT_FALSE(updateFps(timers, 1.0) || timers.canFire);   // exactly one second: not yet
    EXPECT_TRUE(updateFps(timers, 1.25));
    EXPECT_EQ(std::tuple(timers.canFire, game.fps, game.frameCount, timers.fpsIntervalStart),
              std::tuple(true, 40.0, 0, 1.25));

    int ticks = 0;
    for (double t = 0; t <= 1.0 + 1e-9; t += 0.001)
        ticks += tickDue(timers, t);
    EXPECT_TRUE(ticks >= 23 && ticks <= 25) << ticks;
    timers.tickStart = 5;
    for (const auto& [now, due] : {std::pair{5.0399, false}, {5.0401, true}, {5.0402, false}})
        EXPECT_EQ(tickDue(timers, now), due) << now;
}

TEST_F(Rules, DifficultyParametersAndTheEndOfGameByEachGoal)
{
    // Enemy level, emitter density and interval, and the goals' kills,
    // score and seconds, by difficulty.
    const struct { int level, density, interval, kills, score; float seconds; } levels[] = {
        {1, 1, 10, 50, 1000, 100}, {2, 2, 8, 100, 2500, 250}, {4, 3, 5, 250, 5000, 500}};
    for (int d = 0; d < 3; ++d)
        for (int goal = 0; goal <= 4; ++goal) {
            const auto& l = levels[d];
            game = GameState{};
            game.difficulty = d;
            game.goalMode = goal;
            applyDifficultyParameters();
            EXPECT_EQ(std::tuple(game.enemyLevel, game.emitterDensity, game.emitterInterval, game.killGoal,
                                 game.scoreGoal, game.timeGoal),
                      std::tuple(l.level, l.density, l.interval, goal == 1 ? l.kills : 0, goal == 2 ? l.score : 0,
                                 goal == 3 ? l.seconds : 0))
                << d << " " << goal;
            FrameTimers timers;
            game.startTime = 2.0f;   // the time goal counts from the menu's first frame
            game.kills = goal == 1 ? l.kills - 1 : 100000;
            game.score = goal == 2 ? l.score - 10 : 100000;
            const double late = goal == 3 ? 2.0 + l.seconds : 100000.0;
            EXPECT_FALSE(gameOver(timers, late - (goal == 3 ? 0.01 : 0))) << d << " " << goal;
            game.kills += goal == 1;
            game.score += goal == 2 ? 10 : 0;
            // Goals 0 and 4 end only when the lives run out.
            game.lives = 1;
            EXPECT_TRUE(gameOver(timers, late) == (goal >= 1 && goal <= 3) && !timers.gameEnded) << d << " " << goal;
            game.lives = 0;
            EXPECT_TRUE(gameOver(timers, 0) && timers.gameEnded);
        }
}

TEST(TextureNames, SurviveTheFloatRoundTrip)
{
    for (GLuint name : {0u, 1u, 7u, 123456u, 16777216u, 2147483648u})
        EXPECT_EQ(textureNameFromFloat(textureNameToFloat(name)), name);
}

}  // namespace
