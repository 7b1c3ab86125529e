// Shots: the direction and quadrant tables, the hit test, what a hit does to
// the score and lives, the beams, and headings outside [0, 360).
#include "combat_fixture.h"

#include <cmath>

namespace {

constexpr float degrees = 3.14159265358979f / 180.0f;

// An enemy at horizontal distance `distance` from the player along heading h.
Character* enemyAlong(float h, float distance, int hitPoints = 1, int points = 10)
{
    const float x = static_cast<float>(game.playerX) + distance * std::sin(h * degrees);
    const float z = static_cast<float>(game.playerZ) - distance * std::cos(h * degrees);
    game.enemyLevel = hitPoints;
    ::testing::internal::CaptureStderr();
    spawnEnemy(x, z, points);
    ::testing::internal::GetCapturedStderr();
    Character* e = enemyList.cursor->element;
    e->y = -17.0f;
    return e;
}

}  // namespace

using ShotTest = CombatTest;

TEST_F(ShotTest, DirectionCodesAndQuadrants)
{
    EXPECT_EQ(directionCode(0), 6);
    EXPECT_EQ(directionCode(90), 7);
    EXPECT_EQ(directionCode(180), 5);
    EXPECT_EQ(directionCode(270), 8);
    EXPECT_EQ(directionCode(0.5f), 1);
    EXPECT_EQ(directionCode(89.9f), 1);
    EXPECT_EQ(directionCode(90.1f), 2);
    EXPECT_EQ(directionCode(179.9f), 2);
    EXPECT_EQ(directionCode(180.1f), 3);
    EXPECT_EQ(directionCode(270.1f), 4);
    EXPECT_EQ(directionCode(359.9f), 4);
    // The table itself still says 1 for a negative heading; fireShot never
    // hands it one.
    EXPECT_EQ(directionCode(-90), 1);

    EXPECT_EQ(quadrantOf(1, 0), 1);
    EXPECT_EQ(quadrantOf(1, -1), 1);
    EXPECT_EQ(quadrantOf(1, 1), 2);
    EXPECT_EQ(quadrantOf(0, 1), 3);
    EXPECT_EQ(quadrantOf(-1, 1), 3);
    EXPECT_EQ(quadrantOf(0, 0), 4);
    EXPECT_EQ(quadrantOf(-1, -1), 4);

    // Each code's view direction (sin h, -cos h) points into the quadrants it
    // accepts.
    const int accepted[9][5] = {{},           {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0},
                                {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}, {0, 0, 1, 1, 0},
                                {0, 1, 0, 0, 1}, {0, 1, 1, 0, 0}, {0, 0, 0, 1, 1}};
    for (int code = 1; code <= 8; ++code)
        for (int q = 1; q <= 4; ++q)
            EXPECT_EQ(quadrantAccepted(code, q), accepted[code][q] == 1)
                << "code " << code << " quadrant " << q;
}

TEST_F(ShotTest, HeadingsAreBroughtIntoZeroTo360)
{
    EXPECT_FLOAT_EQ(normalizedHeading(0), 0);
    EXPECT_FLOAT_EQ(normalizedHeading(359.5f), 359.5f);
    EXPECT_FLOAT_EQ(normalizedHeading(360), 0);
    EXPECT_FLOAT_EQ(normalizedHeading(-90), 270);
    EXPECT_FLOAT_EQ(normalizedHeading(-359.5f), 0.5f);
    EXPECT_FLOAT_EQ(normalizedHeading(-360), 0);
    EXPECT_FLOAT_EQ(normalizedHeading(720.25f), 0.25f);
    const float tiny = normalizedHeading(-1e-9f);
    EXPECT_GE(tiny, 0.0f);
    EXPECT_LT(tiny, 360.0f);
}

TEST_F(ShotTest, TheNearerOfTwoEnemiesIsHit)
{
    Character* farther = enemyAlong(0, 220);
    Character* nearer = enemyAlong(0, 190);
    fireShot();
    EXPECT_TRUE(game.explosionPending);
    EXPECT_FLOAT_EQ(game.explosionZ, -190);
    const std::vector<Character*> left = enemies();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], farther);
    (void)nearer;
}

TEST_F(ShotTest, AnEnemyAtTheSameDistanceDoesNotReplaceTheFirst)
{
    enemyAlong(0, 200, 1, 10);
    Character* second = enemyAlong(0, 200, 1, 20);
    fireShot();
    EXPECT_EQ(game.score, 10);   // the older one was hit
    const std::vector<Character*> left = enemies();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], second);
}

TEST_F(ShotTest, AMissLeavesABeamToTheEndOfTheReachAndNoExplosion)
{
    sys::testSetTime(12.5);
    game.playerX = 10;
    game.playerZ = -20;
    enemyAlong(180, 200);   // behind the player
    fireShot();
    EXPECT_FALSE(game.explosionPending);
    EXPECT_EQ(game.explosionSystem, 0);
    EXPECT_EQ(countElements(enemyList), 1);
    const std::vector<ShotBeam*> all = beams();
    ASSERT_EQ(all.size(), 1u);
    const ShotBeam& b = *all[0];
    EXPECT_FLOAT_EQ(b.startX, 10);
    EXPECT_FLOAT_EQ(b.startY, -6);
    EXPECT_FLOAT_EQ(b.startZ, -20);
    EXPECT_NEAR(b.endX, 10, 1e-3);
    EXPECT_NEAR(b.endY, 19 - 300 * std::sin(10 * degrees), 1e-3);
    EXPECT_NEAR(b.endZ, -20 - 300 * std::cos(10 * degrees), 1e-3);
    EXPECT_FLOAT_EQ(b.fireTime, 12.5f);
    EXPECT_FLOAT_EQ(b.lifetime, 0.4f);
    // One link per 0.01 units of the longest axis, z here.
    EXPECT_NEAR(beamSegments(b), 300 * std::cos(10 * degrees) / 0.01, 2);
}

TEST_F(ShotTest, HitsStraightAheadOnTheAxesAndBetween)
{
    const float headings[] = {0, 90, 180, 270, 30, 45, 135, 200, 300, 359};
    for (float h : headings) {
        SCOPED_TRACE(h);
        clearWorld();
        game.playerX = 37;
        game.playerZ = -12;
        game.heading = h;
        Character* target = enemyAlong(h, 210);
        Character* aside = enemyAlong(h + 20, 210);
        Character* behind = enemyAlong(h + 180, 210);
        const float tx = target->x, tz = target->z;
        fireShot();
        EXPECT_TRUE(game.explosionPending);
        EXPECT_FLOAT_EQ(game.explosionX, tx);
        EXPECT_FLOAT_EQ(game.explosionY, -17);
        EXPECT_FLOAT_EQ(game.explosionZ, tz);
        const std::vector<Character*> left = enemies();
        ASSERT_EQ(left.size(), 2u);
        EXPECT_EQ(left[0], aside);
        EXPECT_EQ(left[1], behind);
        // The beam runs from below the player to the enemy.
        const std::vector<ShotBeam*> all = beams();
        ASSERT_EQ(all.size(), 1u);
        EXPECT_FLOAT_EQ(all[0]->endX, tx);
        EXPECT_FLOAT_EQ(all[0]->endZ, tz);
        EXPECT_FLOAT_EQ(all[0]->startY, -6);
    }
}

TEST_F(ShotTest, AnEnemyInTheCrosshairJustAcrossAnAxisIsHit)
{
    // The direction window is +-0.01 around the aim; within it of an axis,
    // the crosshair reaches across into the next quadrant. Enemies 200 units
    // off at y -17 lie at the default pitch's elevation.
    const struct { float heading, x, z; bool hit; } cases[] = {
        {0.3f, -0.5f, -200, true},        // bearing -0.14: across the z axis
        {0.3f, 3.04f, -200, true},        // bearing +0.87: on the aim's side
        {0.3f, -1.5f, -200, false},       // bearing -0.43: across, but off the window
        {359.7f, 0.5f, -200, true},       // the mirror image
        {180.3f, 0.5f, 200, true},        // looking along +z
        {89.7f, 200, 0.5f, true},         // across the x axis
        {89.7f, 200, 1.5f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.heading << ": " << c.x << "," << c.z);
        clearWorld();
        game.heading = c.heading;
        placeEnemy(c.x, c.z);
        fireShot();
        EXPECT_EQ(game.kills, c.hit ? 1 : 0);
    }
}

TEST_F(ShotTest, PitchTenHitsOnlyBetweenAbout174And263Units)
{
    // Enemies at y -17 lie 37 below the shot's eye: they are hit only where
    // they appear within 2 degrees of the pitch.
    game.pitch = 10;
    const float r = 300 * std::cos(10 * degrees);
    float nearest = 0, farthest = 0;
    for (float d = 150; d <= 300; d += 0.25f) {
        freeList(enemyList);
        enemyAlong(0, d);
        const float hit = hitDistance(6, 0, 0, 20, 10, r, 0, 1);
        if (hit != -1.0f) {
            if (nearest == 0)
                nearest = d;
            farthest = d;
            EXPECT_NEAR(hit, std::sqrt(d * d + 37 * 37), 1e-2);
        }
    }
    EXPECT_NEAR(nearest, 37 / std::tan(12 * degrees), 0.3);   // about 174
    EXPECT_NEAR(farthest, 37 / std::tan(8 * degrees), 0.3);   // about 263

    // Looking further down brings nearer enemies into the band.
    clearWorld();
    game.pitch = 30;
    enemyAlong(0, 64);
    fireShot();
    EXPECT_EQ(game.kills, 1);
}

TEST_F(ShotTest, HitTestRejectsOffsetsOffTheLineAndOutOfReach)
{
    const float r = 300 * std::cos(10 * degrees);
    enemyAlong(0, 200);
    EXPECT_GT(hitDistance(6, 0, 0, 20, 10, r, 0, 1), 0);
    EXPECT_EQ(hitDistance(6, 0, 0, 20, 10, r, 0.05f, 1), -1);   // off the line
    EXPECT_EQ(hitDistance(7, 0, 0, 20, 10, r, 0, 1), -1);       // wrong quadrant
    EXPECT_EQ(hitDistance(6, 0, 0, 20, 10, 150, 0, 1), -1);     // out of reach
    // An enemy on the player's own spot is never hit.
    freeList(enemyList);
    enemyAlong(0, 0);
    EXPECT_EQ(hitDistance(6, 0, 0, 20, 10, r, 0, 1), -1);
}

TEST_F(ShotTest, TwoHitPointsNeedTwoHits)
{
    Character* e = enemyAlong(0, 200, 2, 20);
    fireShot();
    EXPECT_TRUE(game.explosionPending);
    EXPECT_EQ(e->hitPoints, 1);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.kills, 0);
    ASSERT_EQ(countElements(enemyList), 1);

    game.explosionPending = false;
    fireShot();
    EXPECT_TRUE(game.explosionPending);
    EXPECT_EQ(game.score, 20);
    EXPECT_EQ(game.bonusPoints, 20);
    EXPECT_EQ(game.kills, 1);
    EXPECT_EQ(countElements(enemyList), 0);
    EXPECT_EQ(countElements(shotBeamList), 2);
}

TEST_F(ShotTest, BonusLifeEvery500PointsUpToSixLives)
{
    game.bonusPoints = 490;
    enemyAlong(0, 200, 1, 20);
    fireShot();
    EXPECT_EQ(game.lives, 4);
    EXPECT_EQ(game.bonusPoints, 10);
    EXPECT_EQ(game.score, 20);

    game.lives = 6;
    game.bonusPoints = 495;
    enemyAlong(0, 200, 1, 30);
    fireShot();
    EXPECT_EQ(game.lives, 6);          // no seventh life
    EXPECT_EQ(game.bonusPoints, 25);   // but the 500 are still spent
    EXPECT_EQ(game.score, 50);

    game.lives = 5;
    game.bonusPoints = 470;
    enemyAlong(0, 200, 1, 10);
    fireShot();
    EXPECT_EQ(game.lives, 5);
    EXPECT_EQ(game.bonusPoints, 480);
}

TEST_F(ShotTest, ExplosionSystemsAreUsedInTheOrder1230)
{
    const int expected[] = {1, 2, 3, 0, 1};
    for (int i = 0; i < 5; ++i) {
        enemyAlong(0, 200);
        fireShot();
        EXPECT_EQ(game.explosionSystem, expected[i]);
    }
    // A miss does not advance it.
    fireShot();
    EXPECT_EQ(game.explosionSystem, 1);
}

TEST_F(ShotTest, NegativeOr360HeadingShootsWhereTheCrosshairIs)
{
    // Looking along -x with the heading at -90 (the Y key can leave it there):
    // the enemy on the left is hit, not the one on the right.
    game.heading = -90;
    Character* right = enemyAlong(90, 200);
    Character* left = enemyAlong(270, 200);
    const float lx = left->x;
    fireShot();
    EXPECT_TRUE(game.explosionPending);
    EXPECT_FLOAT_EQ(game.explosionX, lx);
    ASSERT_EQ(enemies().size(), 1u);
    EXPECT_EQ(enemies()[0], right);

    // -180 looks along +z like 180.
    clearWorld();
    game.heading = -180;
    enemyAlong(180, 200);
    fireShot();
    EXPECT_EQ(game.kills, 1);

    // -315 is 45.
    clearWorld();
    game.heading = -315;
    Character* wrong = enemyAlong(-315 + 360 + 90, 200);
    enemyAlong(45, 200);
    fireShot();
    EXPECT_EQ(game.kills, 1);
    ASSERT_EQ(enemies().size(), 1u);
    EXPECT_EQ(enemies()[0], wrong);

    // 360 is 0: an enemy a hair to the right of straight ahead is hit, as it
    // is at 0.
    for (float h : {0.0f, 360.0f}) {
        SCOPED_TRACE(h);
        clearWorld();
        game.heading = h;
        placeEnemy(0.005f, -200);
        fireShot();
        EXPECT_EQ(game.kills, 1);
    }

    // The miss beam follows the same direction.
    clearWorld();
    game.heading = -90;
    fireShot();
    ASSERT_EQ(beams().size(), 1u);
    EXPECT_NEAR(beams()[0]->endX, -300 * std::cos(10 * degrees), 1e-2);
    EXPECT_NEAR(beams()[0]->endZ, 0, 1e-2);
}

TEST_F(ShotTest, ReachShrinksWithPitchAndVanishesStraightUp)
{
    // Straight up (-90): no horizontal reach, nothing is hit, the beam goes up.
    game.pitch = -90;
    enemyAlong(0, 10);
    fireShot();
    EXPECT_EQ(game.kills, 0);
    ASSERT_EQ(beams().size(), 1u);
    EXPECT_NEAR(beams()[0]->endY, 319, 1e-3);
}

TEST_F(ShotTest, BeamsExpireAfterTheirLifetime)
{
    const ShotBeam b{0, 0, -10, 0, 0, 0, 2.0f, 0.4f};
    EXPECT_FALSE(beamExpired(b, 2.0));
    EXPECT_FALSE(beamExpired(b, 2.39));
    EXPECT_TRUE(beamExpired(b, 2.41));
    EXPECT_EQ(beamSegments(b), 1000);
    const ShotBeam point{1, 2, 3, 1, 2, 3, 0.0f, 0.4f};
    EXPECT_EQ(beamSegments(point), 1);
    const ShotBeam diagonal{3, -4, 1, 0, 0, 0, 0.0f, 0.4f};
    EXPECT_EQ(beamSegments(diagonal), 400);
}
