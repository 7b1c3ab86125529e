// Enemies: the walk toward the player, catching him, and leaving the list.
#include "combat_fixture.h"

#include "render/registry.h"

#include <cmath>
#include <string>

using EnemyTest = CombatTest;

TEST_F(EnemyTest, ReleasedEnemyStandsInTheBoxUntilItsFirstStep)
{
    game.enemyLevel = 2;
    ::testing::internal::CaptureStderr();
    spawnEnemy(-300, 350, 30);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kostr\n0\n");
    Character& e = *enemyList.cursor->element;
    EXPECT_EQ(e.name, enemyName);
    EXPECT_STREQ(e.modelPath, "No model");
    EXPECT_STREQ(e.textureName, "No texture");
    EXPECT_FLOAT_EQ(e.x, -300);
    EXPECT_FLOAT_EQ(e.y, -20);
    EXPECT_FLOAT_EQ(e.z, 350);
    EXPECT_EQ(e.hitPoints, 2);
    EXPECT_EQ(e.points, 30);
    EXPECT_EQ(e.animationState, animationNone);
    EXPECT_FALSE(chasePlayer(e));
    EXPECT_FLOAT_EQ(e.y, -17);
}

TEST_F(EnemyTest, WalkFromTheEmitterComesLevelOnXThenReachesThePlayer)
{
    Character* e = placeEnemy(200, -250);
    e->y = -20;
    int levelOnX = 0, withinOnZ = 0, caughtAt = 0;
    float minX = 1e9f, maxX = -1e9f;
    ::testing::internal::CaptureStdout();
    for (int step = 1; step <= 2000 && !caughtAt; ++step) {
        const bool caught = chasePlayer(*e);
        if (!levelOnX && std::fabs(e->x) < 0.1f)
            levelOnX = step;
        if (!withinOnZ && std::fabs(e->z) <= 1.0f)
            withinOnZ = step;
        if (levelOnX) {
            minX = std::fmin(minX, e->x);
            maxX = std::fmax(maxX, e->x);
        }
        if (caught)
            caughtAt = step;
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "DIIIIIIIIIE!\n");
    // 200 units at 0.2 a step; 250 - 1 units at 0.2 a step.
    EXPECT_NEAR(levelOnX, 1000, 2);
    EXPECT_NEAR(withinOnZ, 1245, 2);
    // Near the player's x it swings by 0.2 around it.
    EXPECT_LT(maxX, 0.25f);
    EXPECT_GT(minX, -0.25f);
    // The catch needs both axes: it comes in the first step within 1 on z.
    EXPECT_GE(caughtAt, withinOnZ);
    EXPECT_LE(caughtAt, withinOnZ + 1);
    EXPECT_EQ(game.lives, 2);
}

TEST_F(EnemyTest, AnEnemyLevelWithThePlayerOnXDoesNotMoveOnX)
{
    game.playerX = 50;
    game.playerZ = 40;
    Character* e = placeEnemy(50, -100);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(chasePlayer(*e));
    EXPECT_EQ(e->x, 50.0f);
    EXPECT_NEAR(e->z, -98.0f, 1e-4);

    // Coming from the player's far side it walks back toward him.
    Character* f = placeEnemy(60, 100);
    EXPECT_FALSE(chasePlayer(*f));
    EXPECT_FLOAT_EQ(f->x, 59.8f);
    EXPECT_FLOAT_EQ(f->z, 99.8f);
}

TEST_F(EnemyTest, CatchNeedsXStrictlyWithinOneAndZWithinOne)
{
    // x 1.2 steps to 1.0: not strictly within 1, so no catch.
    Character* e = placeEnemy(1.2f, 0.5f);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(chasePlayer(*e));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(game.lives, 3);

    // z exactly 1 away counts as within.
    Character* f = placeEnemy(0.0f, 1.0f);
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(chasePlayer(*f));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "DIIIIIIIIIE!\n");
    EXPECT_EQ(game.lives, 2);
}

TEST_F(EnemyTest, TwoCatchesInOneTickCostTwoLivesAndLeaveTheList)
{
    Character* far1 = placeEnemy(-200, 250);
    placeEnemy(0.5f, 0.5f);
    Character* far2 = placeEnemy(300, -300);
    placeEnemy(-0.3f, -0.8f);
    ::testing::internal::CaptureStdout();
    stepEnemies();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "DIIIIIIIIIE!\nDIIIIIIIIIE!\n");
    EXPECT_EQ(game.lives, 1);

    // The two that were caught are gone; the others stepped once, in order.
    const std::vector<Character*> left = enemies();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0], far1);
    EXPECT_EQ(left[1], far2);
    EXPECT_FLOAT_EQ(far1->x, -199.8f);
    EXPECT_FLOAT_EQ(far2->z, -299.8f);

    // The list still takes new enemies after the removals.
    Character* added = placeEnemy(10, 10);
    ASSERT_EQ(enemies().size(), 3u);
    EXPECT_EQ(enemies().back(), added);
}

TEST_F(EnemyTest, CatchingTheOnlyEnemyEmptiesTheList)
{
    placeEnemy(0, 0);
    ::testing::internal::CaptureStdout();
    stepEnemies();
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(countElements(enemyList), 0);
    EXPECT_FALSE(enemyList.cursor->occupied);
    placeEnemy(5, 5);
    EXPECT_EQ(countElements(enemyList), 1);
}

TEST_F(EnemyTest, EveryEnemyStepsOncePerTick)
{
    Character* a = placeEnemy(100, 100);
    Character* b = placeEnemy(-100, -100);
    for (int i = 0; i < 25; ++i)
        stepEnemies();
    // One second of ticks: five units on each axis.
    EXPECT_NEAR(a->x, 95, 1e-3);
    EXPECT_NEAR(a->z, 95, 1e-3);
    EXPECT_NEAR(b->x, -95, 1e-3);
    EXPECT_NEAR(b->z, -95, 1e-3);
}
