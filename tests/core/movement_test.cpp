// Walking, turning and the obstacle test.
#include "core/camera.h"
#include "support/fresh_game.h"

#include <cmath>
#include <tuple>

namespace {

using Movement = FreshGame;

// One movement tick as the game runs it: the frame clears both flags, tests
// the obstacles, and the tick moves the player.
bool gameTick()
{
    game.blockedStepBack = game.blockedStepBackTwice = false;
    testObstacles();
    return movePlayer();
}

TEST_F(Movement, EachDirectionKeyStepsByTheStepSizeAndNoKeyNoMove)
{
    const struct { int key, step; double x, z; } cases[] = {
        {'W', 10, 0, -10}, {'A', 10, -10, 0}, {'S', 10, 0, 10}, {'D', 10, 10, 0}, {'S', 20, 0, 20}, {0, 10, 0, 0}};
    for (const auto& c : cases) {
        game = GameState{};
        game.stepSize = c.step;
        sys::testReleaseAllKeys();
        if (c.key)
            hold(c.key);
        EXPECT_EQ(movePlayer(), c.key != 0) << char(c.key);
        EXPECT_TRUE(std::abs(game.playerX - c.x) < 1e-6 && std::abs(game.playerZ - c.z) < 1e-6)
            << char(c.key) << " " << game.playerX << "," << game.playerZ;
    }
}

TEST_F(Movement, StepsUseSinglePrecisionAtTheHeading)
{
    game.heading = 90;
    hold('W');
    movePlayer();
    const float h = 90.0f / 180.0f * 3.14159265358979f;
    EXPECT_EQ(game.headingRadians, h);
    EXPECT_EQ(game.playerX, static_cast<double>(std::sin(h) * 10.0f));
    EXPECT_EQ(game.playerZ, -static_cast<double>(std::cos(h) * 10.0f));
}

TEST_F(Movement, WAndDTogetherSaveThePointBetweenTheSteps)
{
    game.playerX = 5;
    game.playerZ = 7;
    hold('W');
    hold('D');
    EXPECT_TRUE(movePlayer());   // older: where it began; previous: after W; now: after D
    EXPECT_EQ(std::tuple(game.olderPlayerX, game.olderPlayerZ, game.prevPlayerX, game.prevPlayerZ, game.playerX,
                         game.playerZ),
              std::tuple(5, 7, 5, -3, 15, -3));
}

TEST_F(Movement, PitchAndHeadingLimits)
{
    // Q/E pitch in [-100, 85]; X/Y heading wraps past +-360, 360 itself stays.
    const struct { int key; bool heading; double from, to; } cases[] = {
        {'Q', false, 85, 85},       {'E', false, -99.5, -100}, {'E', false, -100, -100},
        {'X', true, 359.5, 0.5},    {'X', true, 359, 360},     {'Y', true, -359.5, -0.5}};
    for (const auto& c : cases) {
        sys::testReleaseAllKeys();
        hold(c.key);
        game.pitch = c.heading ? 10.0 : c.from;
        game.heading = c.heading ? static_cast<float>(c.from) : 0.0f;
        movePlayer();
        EXPECT_EQ(c.heading ? game.heading : game.pitch, c.to) << char(c.key) << " from " << c.from;
    }
}

TEST_F(Movement, BlockedPlayerStepsBackAndIgnoresKeys)
{
    hold('W');
    hold('Q');
    hold('X');
    game.prevPlayerX = 90;
    game.olderPlayerX = 80;
    for (const bool twice : {false, true}) {
        game.playerX = 100;
        game.blockedStepBack = !twice;
        game.blockedStepBackTwice = twice;
        EXPECT_FALSE(movePlayer());
        EXPECT_EQ(std::tuple(game.playerX, game.pitch, game.heading), std::tuple(twice ? 80 : 90, 10, 0));
    }
}

TEST(Obstacles, PointInBoxIsInclusive)
{
    const float lo[3] = {-523, -20, -800}, hi[3] = {-503, 20, 800};   // y plays no part
    EXPECT_TRUE(pointInBox(lo, hi, -503, 0) && pointInBox(lo, hi, -523, 800) && pointInBox(lo, hi, -510, 0));
    EXPECT_FALSE(pointInBox(lo, hi, -502.9f, 0));
}

TEST_F(Movement, ObstacleProbeTwentyTowardMinusZWhateverTheHeading)
{
    EXPECT_EQ(obstacleCount, 28);
    const struct { double x, z; float heading; bool once, twice; } probes[] = {
        {0, 0, 0, false, false},
        {-195, -240, 0, false, false},   // probe between the four boxes of the first group
        {-503, 20, 0, false, true},      // probe (-503, 0): on the west wall's edge
        {530, 20, 0, false, true},       // the east wall
        {0, 560, 0, false, true},        // probe z 540: the south wall
        {0, -510, 0, false, true},       // probe z -530: the north wall
        {-200, -220, 0, true, false},    // probe (-200, -240): first obstacle box
        {-200, -220, 180, true, false},  // the probe does not turn with the heading
        {270, 370, 0, true, false}};     // the sixth group
    for (const auto& p : probes) {
        game.blockedStepBack = game.blockedStepBackTwice = false;
        game.playerX = p.x;
        game.playerZ = p.z;
        game.heading = p.heading;
        testObstacles();
        EXPECT_EQ(std::pair(game.blockedStepBack, game.blockedStepBackTwice), std::pair(p.once, p.twice)) << p.x << "," << p.z;
    }
}

TEST_F(Movement, WalkingIntoABoxGoesBackOneStepAndIntoAWallTwo)
{
    // A box spans z -250..-230 at x -210..-190; the west wall x -523..-503.
    // S at heading 180 walks toward -z, W at heading 270 toward -x.
    const struct { double x, z; float heading; int key, steps; double backX, backZ; } walks[] = {
        {-200, -195, 180, 'S', 2, -200, -205},   // probes -215 free, -225 free, then -235 inside
        {-480, 0, 270, 'W', 3, -490, 0}};        // -490, -500, then -510 inside the wall
    for (const auto& w : walks) {
        game = GameState{};
        sys::testReleaseAllKeys();
        game.playerX = w.x;
        game.playerZ = w.z;
        game.heading = w.heading;
        hold(w.key);
        for (int i = 0; i < w.steps; ++i)
            EXPECT_TRUE(gameTick());
        // The step into it is taken; the next tick only steps back.
        EXPECT_FALSE(gameTick()) << char(w.key);
        EXPECT_TRUE(std::abs(game.playerX - w.backX) < 1e-4 && std::abs(game.playerZ - w.backZ) < 1e-4)
            << game.playerX << "," << game.playerZ;
    }
}

// How far the player gets in `ticks` ticks holding only `key`.
double distanceWalked(int key, int ticks)
{
    sys::testReleaseAllKeys();
    sys::testSetKey(key, true);
    const double x = game.playerX, z = game.playerZ;
    for (int i = 0; i < ticks; ++i)
        gameTick();
    return std::hypot(game.playerX - x, game.playerZ - z);
}

TEST_F(Movement, TwoKeysIntoABoxOrAWallNeverFreezeThePlayer)
{
    // Two or three keys at once end their tick with the saved positions
    // between the steps; stepping back there must not leave the player stuck.
    const struct { double x, z; float heading; int keys[3]; } walks[] = {
        {-205, -205, 0, {'W', 'D'}},          // W's step lands in the first group's box
        {-497, 0, 270, {'W', 'A', 'D'}}};     // W's step lands in the west wall
    for (const auto& w : walks) {
        SCOPED_TRACE(w.x);
        game = GameState{};
        game.playerX = game.prevPlayerX = game.olderPlayerX = w.x;
        game.playerZ = game.prevPlayerZ = game.olderPlayerZ = w.z;
        game.heading = w.heading;
        sys::testReleaseAllKeys();
        for (int key : w.keys)
            if (key)
                hold(key);
        for (int i = 0; i < 20; ++i)
            gameTick();
        // Walking away works again: back, then to the left.
        EXPECT_GE(distanceWalked('S', 5), 30.0) << game.playerX << "," << game.playerZ;
        EXPECT_GE(distanceWalked('A', 5), 30.0) << game.playerX << "," << game.playerZ;
    }
}

TEST_F(Movement, EscapeModeStepsDoNotJumpTheWalls)
{
    // Twenty-unit steps: W and A together cover about 28 units a tick along
    // -x, more than a wall is thick.
    game.stepSize = 20;
    game.playerX = game.prevPlayerX = game.olderPlayerX = -496;
    game.heading = 315;
    hold('W');
    hold('A');
    const ObstacleBox& west = obstacleBoxes[0];
    for (int i = 0; i < 40; ++i) {
        gameTick();
        ASSERT_GE(game.playerX, west.minX) << "tick " << i;
        ASSERT_LE(std::abs(game.playerZ), west.maxZ) << "tick " << i;
    }
}

}  // namespace
