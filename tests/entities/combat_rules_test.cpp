// The combat rules with a set clock: the construction trace lines, shots
// (which enemy a shot hits at any heading and pitch, what a hit does to the
// score and lives, the beams), the enemies' walk and catch, and the
// emitters' releases.
#include "entities/player.h"
#include "support/fresh_game.h"

#include <cmath>
#include <string>
#include <tuple>

namespace {

constexpr float degrees = 3.14159265358979f / 180.0f;
// The reach of a shot at the start pitch of 10 degrees.
const float reach = 300 * std::cos(10 * degrees);

class Combat : public FreshGame {
protected:
    // An enemy at horizontal distance `distance` from the player along heading h.
    static Character* enemyAlong(float h, float distance, int hitPoints = 1, int points = 10)
    {
        return placeEnemy(static_cast<float>(game.playerX) + distance * std::sin(h * degrees),
                          static_cast<float>(game.playerZ) - distance * std::cos(h * degrees), hitPoints, points);
    }
};

}  // namespace

TEST_F(Combat, ConstructionWritesKostrAndTheTraceValue)
{
    EXPECT_EQ(stderrOf([] { spawnEnemy(-300, 350, 30); }), "kostr\n0\n");
    EXPECT_EQ(stderrOf([] { addEmitter(1, 2, 3, 0, 0, 0, 2.5f, 4.0, 7); }), "kostr\n2.5\n2.5\n");
    Character* player = nullptr;
    EXPECT_EQ(stderrOf([&] { player = makePlayer(0, 0, 0, 0, 0, 0, -1.5f, 0.2f); }), "kostr\n-1.5\n");
    delete player;
    // A released enemy stands in the emitter's box (y -20) until its first step.
    Character& e = *enemyList.cursor->element;
    EXPECT_FLOAT_EQ(e.y, -20);
    EXPECT_FALSE(chasePlayer(e));
    EXPECT_FLOAT_EQ(e.y, -17);
}

TEST_F(Combat, AShotHitsTheEnemyInTheCrosshairAtAnyHeading)
{
    // Headings on the axes, between them, and outside [0, 360) as the Y key
    // can leave them.
    for (float h : {0.0f, 90.0f, 180.0f, 270.0f, 30.0f, 135.0f, 200.0f, 300.0f, 359.0f, -90.0f, -180.0f, -315.0f,
                    360.0f, 720.25f}) {
        SCOPED_TRACE(h);
        freshGame();
        game.playerX = 37;
        game.playerZ = -12;
        game.heading = h;
        Character* aside = enemyAlong(h + 20, 210);
        Character* target = enemyAlong(h, 210);
        Character* behind = enemyAlong(h + 180, 210);
        const float tx = target->x, tz = target->z;
        fireShot();
        EXPECT_TRUE(game.explosionPending);
        EXPECT_FLOAT_EQ(game.explosionX, tx);
        EXPECT_FLOAT_EQ(game.explosionZ, tz);
        EXPECT_EQ(elementsOf(enemyList), (std::vector<Character*>{aside, behind}));
        // The beam runs from below the player's eye to the enemy.
        const ShotBeam& beam = *shotBeamList.cursor->element;
        EXPECT_EQ(std::tuple(beam.startX, beam.startY, beam.endX, beam.endZ), std::tuple(37.0f, -6.0f, tx, tz));
    }
}

TEST(Quadrants, APointOnAnAxisCountsWithThePointsOnItsNegativeSide)
{
    // On the x axis with those just towards -z, on the z axis with those
    // just towards -x.
    const float points[4][4] = {{5, 0, 5, -1e-3f}, {-5, 0, -5, -1e-3f}, {0, 5, -1e-3f, 5}, {0, -5, -1e-3f, -5}};
    for (const auto& p : points)
        EXPECT_EQ(quadrantOf(p[0], p[1]), quadrantOf(p[2], p[3])) << p[0] << ' ' << p[1];
}

TEST_F(Combat, HitsOnlyWithinTheCrosshairsWindowAndTwoDegreesOfThePitch)
{
    // The direction window is +-0.01 around the aim; within it of an axis the
    // crosshair reaches into the next quadrant. Enemies at y -17 lie 37 below
    // the eye: at pitch 10 they are hit only between 37 / tan 12 (about 174)
    // and 37 / tan 8 (about 263) units off; looking further down brings
    // nearer ones into the band.
    const struct {
        float heading, x, z;
        double pitch;
        bool hit;
    } cases[] = {
        {0.3f, -0.5f, -200, 10, true},    // across the z axis
        {0.3f, 3.04f, -200, 10, true},    // on the aim's side
        {0.3f, -1.5f, -200, 10, false},   // across, but off the window
        {359.7f, 0.5f, -200, 10, true}, {180.3f, 0.5f, 200, 10, true}, {89.7f, 200, 0.5f, 10, true},
        {89.7f, 200, 1.5f, 10, false},  {0, 0.005f, -200, 10, true},   {360, 0.005f, -200, 10, true},
        {0, 10, 0, 10, false},            // level on the x axis, off to the side
        {0, 0, -173, 10, false}, {0, 0, -175, 10, true}, {0, 0, -262, 10, true}, {0, 0, -264, 10, false},
        {0, 0, -64, 30, true},   {0, 0, 0, 10, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.heading << ": " << c.x << "," << c.z << " pitch " << c.pitch);
        freshGame();
        game.heading = c.heading;
        game.pitch = c.pitch;
        placeEnemy(c.x, c.z);
        fireShot();
        EXPECT_EQ(game.kills, c.hit ? 1 : 0);
    }
    EXPECT_EQ(hitDistance(6, 0, 0, 20, 10, 150, 0, 1), -1);   // out of reach
}

TEST_F(Combat, TheNearerEnemyIsHitAndOfTwoAtOneDistanceTheOlder)
{
    Character* farther = enemyAlong(0, 220);
    enemyAlong(0, 190);
    fireShot();
    EXPECT_FLOAT_EQ(game.explosionZ, -190);
    EXPECT_EQ(elementsOf(enemyList), std::vector<Character*>{farther});
    freshGame();
    enemyAlong(0, 200, 1, 10);
    Character* second = enemyAlong(0, 200, 1, 20);
    fireShot();
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(elementsOf(enemyList), std::vector<Character*>{second});
}

TEST_F(Combat, AMissLeavesABeamToTheEndOfTheReach)
{
    sys::testSetTime(12.5);
    game.playerX = 10;
    game.playerZ = -20;
    enemyAlong(180, 200);   // behind the player
    fireShot();
    EXPECT_FALSE(game.explosionPending);
    EXPECT_EQ(countElements(enemyList), 1);
    const ShotBeam& b = *shotBeamList.cursor->element;
    EXPECT_FLOAT_EQ(b.startZ, -20);
    EXPECT_NEAR(b.endX, 10, 1e-3);
    EXPECT_NEAR(b.endY, 19 - 300 * std::sin(10 * degrees), 1e-3);
    EXPECT_NEAR(b.endZ, -20 - reach, 1e-3);
    EXPECT_NEAR(beamSegments(b), reach / 0.01, 2);   // one link per 0.01 of the longest axis
    // Straight up: no horizontal reach, nothing is hit, the beam goes up.
    freshGame();
    game.pitch = -90;
    enemyAlong(0, 10);
    fireShot();
    EXPECT_EQ(game.kills, 0);
    EXPECT_NEAR(shotBeamList.cursor->element->endY, 319, 1e-3);
}

TEST_F(Combat, HitPointsScoreAndBonusLives)
{
    Character* e = enemyAlong(0, 200, 2, 20);
    fireShot();
    EXPECT_TRUE(game.explosionPending);
    EXPECT_EQ(e->hitPoints, 1);
    EXPECT_EQ(game.score + game.kills, 0);
    fireShot();
    EXPECT_EQ(game.score, 20);
    EXPECT_EQ(game.kills, 1);
    EXPECT_EQ(countElements(enemyList), 0);
    // A life for every 500 points, up to six; the points are spent anyway.
    const struct {
        int lives, bonus, points, livesAfter, bonusAfter;
    } cases[] = {{3, 490, 20, 4, 10}, {5, 495, 30, 6, 25}, {6, 495, 30, 6, 25}, {5, 470, 10, 5, 480}};
    for (const auto& c : cases) {
        game.lives = c.lives;
        game.bonusPoints = c.bonus;
        enemyAlong(0, 200, 1, c.points);
        fireShot();
        EXPECT_EQ(game.lives, c.livesAfter) << c.lives << " " << c.bonus;
        EXPECT_EQ(game.bonusPoints, c.bonusAfter) << c.lives << " " << c.bonus;
    }
}

TEST_F(Combat, EnemiesWalkToThePlayerAndCatchHim)
{
    // From an emitter: level on x after 200 / 0.2 steps, then swinging by
    // 0.2 around it; caught in the first step within 1 on z.
    Character* e = placeEnemy(200, -250);
    int levelOnX = 0, withinOnZ = 0, caughtAt = 0;
    ::testing::internal::CaptureStdout();
    for (int step = 1; step <= 2000 && !caughtAt; ++step) {
        caughtAt = chasePlayer(*e) ? step : 0;
        levelOnX = !levelOnX && std::fabs(e->x) < 0.1f ? step : levelOnX;
        withinOnZ = !withinOnZ && std::fabs(e->z) <= 1.0f ? step : withinOnZ;
        if (levelOnX) {
            EXPECT_LT(std::fabs(e->x), 0.25f);
        }
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "DIIIIIIIIIE!\n");
    EXPECT_NEAR(levelOnX, 1000, 2);
    EXPECT_NEAR(withinOnZ, 1245, 2);
    EXPECT_TRUE(caughtAt == withinOnZ || caughtAt == withinOnZ + 1) << caughtAt;
    EXPECT_EQ(game.lives, 2);
    // Level with the player on x it does not move on x; from his far side
    // it walks back toward him.
    game.playerX = 50;
    game.playerZ = 40;
    Character* level = placeEnemy(50, -100);
    Character* far = placeEnemy(60, 100);
    for (int i = 0; i < 10; ++i)
        stepEnemies();
    EXPECT_EQ(level->x, 50.0f);
    EXPECT_NEAR(level->z, -98.0f, 1e-4);
    EXPECT_NEAR(far->x, 58.0f, 1e-4);
    EXPECT_NEAR(far->z, 98.0f, 1e-4);
}

TEST_F(Combat, ACatchNeedsXStrictlyWithinOneAndZWithinOne)
{
    const struct {
        float x, z;
        bool caught;
    } cases[] = {{1.2f, 0.5f, false},   // x steps to 1.0: not strictly within
                 {0.0f, 1.0f, true},    // z exactly 1 away counts
                 {0.5f, 1.25f, false}, {-0.3f, -0.8f, true}};
    for (const auto& c : cases) {
        freshGame();
        Character* e = placeEnemy(c.x, c.z);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(chasePlayer(*e), c.caught) << c.x << "," << c.z;
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.caught ? "DIIIIIIIIIE!\n" : "");
        EXPECT_EQ(game.lives, c.caught ? 2 : 3);
    }
    // Two catches in one tick cost two lives and leave the list; the others
    // step once, in order, and the list still takes new enemies.
    freshGame();
    Character* far1 = placeEnemy(-200, 250);
    placeEnemy(0.5f, 0.5f);
    Character* far2 = placeEnemy(300, -300);
    placeEnemy(-0.3f, -0.8f);
    ::testing::internal::CaptureStdout();
    stepEnemies();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "DIIIIIIIIIE!\nDIIIIIIIIIE!\n");
    EXPECT_EQ(game.lives, 1);
    EXPECT_EQ(elementsOf(enemyList), (std::vector<Character*>{far1, far2}));
    EXPECT_FLOAT_EQ(far1->x, -199.8f);
    EXPECT_FLOAT_EQ(far2->z, -299.8f);
}

TEST_F(Combat, EmittersReleaseOneEnemyEachWhenMoreThanTheIntervalHasPassed)
{
    game.enemyLevel = 2;
    game.emitterDensity = 3;
    game.emitterInterval = 7;
    stderrOf(addGameEmitters);
    const auto emitters = elementsOf(emitterList);
    ASSERT_EQ(emitters.size(), 6u);
    const auto enemiesAt = [](double t) {
        sys::testSetTime(t);
        stderrOf(tickEmitters);
        return countElements(enemyList);
    };
    const struct {
        double t;
        int enemies;
    } ticks[] = {{0, 0}, {6.96, 0}, {7.0, 0}, {7.5, 6}, {7.54, 6}, {14.5, 6}, {14.5 + 1.0 / 1048576, 12}, {20, 12}};
    for (const auto& t : ticks)
        EXPECT_EQ(enemiesAt(t.t), t.enemies) << "at " << t.t;
    // Each release is an enemy at its emitter, with the difficulty's hit
    // points and ten points per density step.
    int i = 0;
    forEach(enemyList, [&](Character& e) {
        EXPECT_FLOAT_EQ(e.x, emitters[i % 6]->x);
        EXPECT_FLOAT_EQ(e.z, emitters[i % 6]->z);
        EXPECT_EQ(std::tuple(e.y, e.hitPoints, e.points), std::tuple(-20.0f, 2, 30));
        ++i;
    });
}
