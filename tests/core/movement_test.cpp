// Walking, turning and the obstacle test.
#include "core/camera.h"
#include "fresh_state.h"

#include <cmath>

namespace {

using Movement = FreshGame;

TEST_F(Movement, ForwardAtHeadingZeroWalksTowardMinusZ)
{
    hold('W');
    EXPECT_TRUE(movePlayer());
    EXPECT_NEAR(game.playerX, 0.0, 1e-6);
    EXPECT_NEAR(game.playerZ, -10.0, 1e-6);
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

TEST_F(Movement, EachDirectionKey)
{
    const struct {
        int key;
        double x, z;
    } cases[] = {{'W', 0, -10}, {'A', -10, 0}, {'S', 0, 10}, {'D', 10, 0}};
    for (const auto& c : cases) {
        game = GameState{};
        sys::testReleaseAllKeys();
        hold(c.key);
        EXPECT_TRUE(movePlayer());
        EXPECT_NEAR(game.playerX, c.x, 1e-6) << char(c.key);
        EXPECT_NEAR(game.playerZ, c.z, 1e-6) << char(c.key);
    }
}

TEST_F(Movement, EscapeModeStepIsTwenty)
{
    game.stepSize = 20;
    hold('S');
    movePlayer();
    EXPECT_NEAR(game.playerZ, 20.0, 1e-6);
}

TEST_F(Movement, WAndDTogetherSaveThePointBetweenTheSteps)
{
    game.playerX = 5;
    game.playerZ = 7;
    hold('W');
    hold('D');
    EXPECT_TRUE(movePlayer());
    EXPECT_NEAR(game.olderPlayerX, 5, 1e-6);
    EXPECT_NEAR(game.olderPlayerZ, 7, 1e-6);
    EXPECT_NEAR(game.prevPlayerX, 5, 1e-6);     // after W
    EXPECT_NEAR(game.prevPlayerZ, -3, 1e-6);
    EXPECT_NEAR(game.playerX, 15, 1e-6);        // after D
    EXPECT_NEAR(game.playerZ, -3, 1e-6);
}

TEST_F(Movement, NoKeyNoMove)
{
    EXPECT_FALSE(movePlayer());
    EXPECT_EQ(game.playerX, 0);
    EXPECT_EQ(game.playerZ, 0);
}

TEST_F(Movement, PitchLimits)
{
    game.pitch = 85;
    hold('Q');
    movePlayer();
    EXPECT_EQ(game.pitch, 85);
    let('Q');
    hold('E');
    game.pitch = -99.5;
    movePlayer();
    EXPECT_EQ(game.pitch, -100);
    movePlayer();
    EXPECT_EQ(game.pitch, -100);
}

TEST_F(Movement, HeadingLimits)
{
    hold('X');
    game.heading = 359.5f;
    movePlayer();
    EXPECT_FLOAT_EQ(game.heading, 0.5f);
    game.heading = 359;
    movePlayer();
    EXPECT_EQ(game.heading, 360);   // not above 360, but 360 itself stays
    let('X');
    hold('Y');
    game.heading = -359.5f;
    movePlayer();
    EXPECT_FLOAT_EQ(game.heading, -0.5f);
}

TEST_F(Movement, BlockedPlayerStepsBackAndIgnoresKeys)
{
    game.playerX = 100;
    game.prevPlayerX = 90;
    game.olderPlayerX = 80;
    hold('W');
    hold('Q');
    hold('X');
    game.blockedStepBack = true;
    EXPECT_FALSE(movePlayer());
    EXPECT_EQ(game.playerX, 90);
    EXPECT_EQ(game.pitch, 10.0);
    EXPECT_EQ(game.heading, 0.0f);

    game.playerX = 100;
    game.blockedStepBack = false;
    game.blockedStepBackTwice = true;
    EXPECT_FALSE(movePlayer());
    EXPECT_EQ(game.playerX, 80);
    EXPECT_EQ(game.pitch, 10.0);
}

TEST(Obstacles, PointInBoxIsInclusive)
{
    const float lo[3] = {-523, -20, -800}, hi[3] = {-503, 20, 800};
    EXPECT_TRUE(pointInBox(lo, hi, -503, 0));
    EXPECT_TRUE(pointInBox(lo, hi, -523, 800));
    EXPECT_FALSE(pointInBox(lo, hi, -502.9f, 0));
    EXPECT_TRUE(pointInBox(lo, hi, -510, 0));   // y plays no part
}

class ObstacleTest : public FreshGame {
protected:
    void probeAt(double x, double z)
    {
        game.blockedStepBack = game.blockedStepBackTwice = false;
        game.playerX = x;
        game.playerZ = z;
        testObstacles();
    }
};

TEST_F(ObstacleTest, OpenGroundTouchesNothing)
{
    probeAt(0, 0);
    EXPECT_FALSE(game.blockedStepBack || game.blockedStepBackTwice);
    probeAt(-195, -240);   // probe between the four boxes of the first group
    EXPECT_FALSE(game.blockedStepBack || game.blockedStepBackTwice);
}

TEST_F(ObstacleTest, WallsAndBoxes)
{
    probeAt(-503, 20);   // probe (-503, 0): on the west wall's edge
    EXPECT_TRUE(game.blockedStepBackTwice);
    EXPECT_FALSE(game.blockedStepBack);
    probeAt(0, 560);     // probe z 540: the south wall
    EXPECT_TRUE(game.blockedStepBackTwice);
    probeAt(-200, -220); // probe (-200, -240): first obstacle box
    EXPECT_TRUE(game.blockedStepBack);
    EXPECT_FALSE(game.blockedStepBackTwice);
    probeAt(270, 370);   // the sixth group
    EXPECT_TRUE(game.blockedStepBack);
}

TEST_F(ObstacleTest, ProbeDoesNotTurnWithHeading)
{
    game.heading = 180;
    probeAt(-200, -220);
    EXPECT_TRUE(game.blockedStepBack);
}

TEST_F(ObstacleTest, WalkingBackIntoABoxReturnsToWhereTheStepBegan)
{
    // Probe at (-200, z - 20); the box spans z -250..-230 at x -210..-190.
    game.playerX = -200;
    game.playerZ = -195;   // probe -215: free
    hold('S');             // S at heading 0 walks toward +z...
    game.heading = 180;    // ...and at heading 180 toward -z
    movePlayer();          // now at z -205, probe -225: still free
    movePlayer();          // z -215, probe -235: inside
    EXPECT_NEAR(game.playerZ, -215, 1e-4);
    game.blockedStepBack = game.blockedStepBackTwice = false;
    testObstacles();
    ASSERT_TRUE(game.blockedStepBack);
    movePlayer();
    EXPECT_NEAR(game.playerZ, -205, 1e-4);
}

TEST_F(ObstacleTest, HittingAWallReturnsTwoStepsBack)
{
    game.playerX = -480;
    game.playerZ = 0;
    game.heading = 270;   // W walks toward -x
    hold('W');
    movePlayer();         // -490
    movePlayer();         // -500
    movePlayer();         // -510: probe inside the wall (-523..-503)
    testObstacles();
    ASSERT_TRUE(game.blockedStepBackTwice);
    movePlayer();
    EXPECT_NEAR(game.playerX, -490, 1e-4);
}

TEST(ObstacleTable, TwentyEightBoxesWallsFirst)
{
    int walls = 0;
    for (int i = 0; i < obstacleCount; ++i)
        walls += obstacleBoxes[i].wall;
    EXPECT_EQ(walls, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(obstacleBoxes[i].wall);
    EXPECT_EQ(obstacleBoxes[0].minX, -523);
    EXPECT_EQ(obstacleBoxes[27].minX, 240);
}

}  // namespace
