// Walking, turning and the obstacle test, with a still clock and set keys.
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

TEST_F(Movement, EachKeyStepsByTheStepSizeForwardBackOrSidewaysOfTheHeading)
{
    // Forward at heading h is (sin h, -cos h), right is (cos h, sin h), in
    // single precision.
    const struct { int key; float forward, right; } keys[] = {{'W', 1, 0}, {'S', -1, 0}, {'D', 0, 1}, {'A', 0, -1}, {0, 0, 0}};
    for (const float heading : {0.0f, 30.0f, 90.0f})
        for (const int step : {10, 20})
            for (const auto& k : keys) {
                game = GameState{};
                game.heading = heading;
                game.stepSize = step;
                sys::testReleaseAllKeys();
                if (k.key)
                    hold(k.key);
                EXPECT_EQ(movePlayer(), k.key != 0) << char(k.key);
                const float h = heading / 180.0f * 3.14159265358979f, s = std::sin(h) * float(step), c = std::cos(h) * float(step);
                EXPECT_NEAR(game.playerX, k.forward * s + k.right * c, 1e-5) << char(k.key) << " at " << heading;
                EXPECT_NEAR(game.playerZ, -k.forward * c + k.right * s, 1e-5) << char(k.key) << " at " << heading;
            }
}

TEST_F(Movement, WAndDTogetherSaveThePointBetweenTheSteps)
{
    game.playerX = 5;
    game.playerZ = 7;
    hold('W');
    hold('D');
    EXPECT_TRUE(movePlayer());   // older: where it began; previous: after W; now: after D
    EXPECT_EQ(std::tuple(game.olderPlayerX, game.olderPlayerZ, game.prevPlayerX, game.prevPlayerZ, game.playerX, game.playerZ),
              std::tuple(5, 7, 5, -3, 15, -3));
}

TEST_F(Movement, PitchAndHeadingLimitsAndTheBlockedPlayerSteppingBack)
{
    // Q/E pitch in [-100, 85]; X/Y heading wraps past +-360, 360 itself stays.
    const struct { int key; bool heading; double from, to; } cases[] = {
        {'Q', false, 84.5, 85},  {'Q', false, 85, 85},  {'E', false, -99.5, -100}, {'E', false, -100, -100},
        {'X', true, 359.5, 0.5}, {'X', true, 359, 360}, {'Y', true, -359.5, -0.5}, {'Y', true, -359, -360}};
    for (const auto& c : cases) {
        sys::testReleaseAllKeys();
        hold(c.key);
        game.pitch = c.heading ? 10.0 : c.from;
        game.heading = c.heading ? static_cast<float>(c.from) : 0.0f;
        movePlayer();
        EXPECT_EQ(c.heading ? game.heading : game.pitch, c.to) << char(c.key) << " from " << c.from;
    }
    // Blocked, the player goes back once or twice and the keys do nothing.
    for (int key : {'W', 'Q', 'X'})
        hold(key);
    game.prevPlayerX = 90;
    game.olderPlayerX = 80;
    game.pitch = 10;
    game.heading = 0;
    for (const bool twice : {false, true}) {
        game.playerX = 100;
        game.blockedStepBack = !twice;
        game.blockedStepBackTwice = twice;
        EXPECT_FALSE(movePlayer());
        EXPECT_EQ(std::tuple(game.playerX, game.pitch, game.heading), std::tuple(twice ? 80 : 90, 10, 0));
    }
}

TEST_F(Movement, ObstacleProbeTwentyTowardMinusZWhateverTheHeading)
{
    const struct { double x, z; float heading; bool once, twice; } probes[] = {
        {0, 0, 0, false, false},
        {-195, -240, 0, false, false},   // probe between the four boxes of the first group
        {-503, 20, 0, false, true},      // probe (-503, 0): on the west wall's edge
        {-502.9, 20, 0, false, false},   // just past it
        {-523, 20, 0, false, true},      // its other edge
        {0, 540, 0, false, true},        // probe z 520: the south wall's near edge
        {530, 20, 0, false, true},       // the east wall
        {0, 560, 0, false, true},        // probe z 540: the south wall's edge
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

TEST_F(Movement, CrowdedKeysIntoABoxOrAWallNeverFreezeThePlayer)
{
    // Two or three keys into a box or a wall, and escape mode's 20-unit steps
    // (W and A cover 28 units along -x, more than a wall is thick): the player
    // stays on this side and can walk back again.
    const struct { double x, z; float heading; int step; std::initializer_list<int> keys; } crowds[] = {
        {-205, -205, 0, 10, {'W', 'D'}}, {-497, 0, 270, 10, {'W', 'A', 'D'}}, {-496, 0, 315, 20, {'W', 'A'}}};
    for (const auto& c : crowds) {
        game = GameState{};
        game.playerX = game.prevPlayerX = game.olderPlayerX = c.x;
        game.playerZ = game.prevPlayerZ = game.olderPlayerZ = c.z;
        game.heading = c.heading;
        game.stepSize = c.step;
        sys::testReleaseAllKeys();
        for (int key : c.keys)
            hold(key);
        for (int i = 0; i < 20; ++i) {
            gameTick();
            ASSERT_GE(game.playerX, -523) << c.x << " tick " << i;
        }
        sys::testReleaseAllKeys();
        hold('S');
        const double x = game.playerX, z = game.playerZ;
        for (int i = 0; i < 5; ++i)
            gameTick();
        EXPECT_GE(std::hypot(game.playerX - x, game.playerZ - z), 30.0) << c.x;
    }
}

}  // namespace
