// Emitters: construction trace, the six game emitters, and their release
// timing under a set clock.
#include "combat_fixture.h"

#include "render/registry.h"

#include <string>

namespace {

struct Difficulty {
    int enemyLevel, emitterDensity, emitterInterval;
};
constexpr Difficulty difficulties[3] = {{1, 1, 10}, {2, 2, 8}, {4, 3, 5}};

void applyDifficulty(int d)
{
    game.enemyLevel = difficulties[d].enemyLevel;
    game.emitterDensity = difficulties[d].emitterDensity;
    game.emitterInterval = difficulties[d].emitterInterval;
}

void addGameEmittersQuietly()
{
    ::testing::internal::CaptureStderr();
    addGameEmitters();
    ::testing::internal::GetCapturedStderr();
}

// Runs tickEmitters with the clock set to t; the number of enemies after it.
int tickAt(double t)
{
    sys::testSetTime(t);
    ::testing::internal::CaptureStderr();
    tickEmitters();
    ::testing::internal::GetCapturedStderr();
    return countElements(enemyList);
}

}  // namespace

using EmitterTest = CombatTest;

TEST_F(EmitterTest, ConstructionWritesKostrAndTheTraceValueTwice)
{
    ::testing::internal::CaptureStderr();
    addEmitter(-200, 0, -250, 0, 0, 0, -1.0f, 10.0, 10);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kostr\n-1\n-1\n");

    ::testing::internal::CaptureStderr();
    addEmitter(1, 2, 3, 0, 0, 0, 2.5f, 4.0, 7);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kostr\n2.5\n2.5\n");

    Emitter& e = *emitterList.cursor->element;
    EXPECT_EQ(e.name, emitterName);   // the registry's very constant
    EXPECT_STREQ(e.modelPath, "nothing");
    EXPECT_STREQ(e.textureName, "not at the moment");
    EXPECT_EQ(e.releasesLeft, -1);
    EXPECT_DOUBLE_EQ(e.interval, 4.0);
    EXPECT_EQ(e.points, 7);
    EXPECT_FLOAT_EQ(e.x, 1);
    EXPECT_FLOAT_EQ(e.y, 2);
    EXPECT_FLOAT_EQ(e.z, 3);
    EXPECT_EQ(emitterList.cursor->lastRelease, 0.0);
}

TEST_F(EmitterTest, GameEmittersStandAtTheirSitesWithTheDifficultysValues)
{
    const float sites[6][2] = {{-200, -250}, {200, -250}, {-200, 250},
                               {200, 250},   {-300, 350}, {305, 350}};
    for (int d = 0; d < 3; ++d) {
        SCOPED_TRACE(d);
        freeList(emitterList);
        applyDifficulty(d);
        ::testing::internal::CaptureStderr();
        addGameEmitters();
        std::string expected;
        for (int i = 0; i < 6; ++i)
            expected += "kostr\n-1\n-1\n";
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), expected);

        int i = 0;
        forEach(emitterList, [&](Emitter& e) {
            ASSERT_LT(i, 6);
            EXPECT_FLOAT_EQ(e.x, sites[i][0]);
            EXPECT_FLOAT_EQ(e.y, 0.0f);
            EXPECT_FLOAT_EQ(e.z, sites[i][1]);
            EXPECT_FLOAT_EQ(e.rotationX + e.rotationY + e.rotationZ, 0.0f);
            EXPECT_DOUBLE_EQ(e.interval, difficulties[d].emitterInterval);
            EXPECT_EQ(e.points, 10 * difficulties[d].emitterDensity);
            EXPECT_EQ(e.releasesLeft, -1);
            ++i;
        });
        EXPECT_EQ(i, 6);
    }
}

TEST_F(EmitterTest, ReleaseOnlyWhenStrictlyMoreThanTheIntervalHasPassed)
{
    applyDifficulty(0);
    addGameEmittersQuietly();
    EXPECT_EQ(tickAt(0.0), 0);
    EXPECT_EQ(tickAt(9.96), 0);
    EXPECT_EQ(tickAt(10.0), 0);            // exactly the interval: not yet
    EXPECT_EQ(tickAt(10.5), 6);            // every emitter releases one
    EXPECT_EQ(tickAt(10.54), 6);
    EXPECT_EQ(tickAt(20.5), 6);            // exactly 10 s after the release
    EXPECT_EQ(tickAt(20.5 + 1.0 / 1048576.0), 12);
    EXPECT_EQ(tickAt(25.0), 12);
}

TEST_F(EmitterTest, DifficultyZeroReleasesOneEnemyPerEmitterEveryTenSeconds)
{
    applyDifficulty(0);
    addGameEmittersQuietly();
    // The frame loop's tick: 25 a second for a minute of play.
    std::vector<double> releaseTimes;
    int before = 0;
    for (int k = 1; k <= 1500; ++k) {
        const double t = k * 0.04;
        const int now = tickAt(t);
        if (now != before) {
            EXPECT_EQ(now - before, 6) << "at " << t;
            releaseTimes.push_back(t);
        }
        before = now;
    }
    ASSERT_EQ(releaseTimes.size(), 5u);   // after 10, 20, 30, 40 and 50 s
    EXPECT_NEAR(releaseTimes[0], 10.04, 1e-9);
    for (size_t i = 1; i < releaseTimes.size(); ++i) {
        EXPECT_GT(releaseTimes[i] - releaseTimes[i - 1], 10.0);
        EXPECT_LE(releaseTimes[i] - releaseTimes[i - 1], 10.0 + 0.04 + 1e-9);
    }

    // Each release is an enemy at its emitter's x and z, level 1, worth 10.
    const float sites[6][2] = {{-200, -250}, {200, -250}, {-200, 250},
                               {200, 250},   {-300, 350}, {305, 350}};
    int i = 0;
    forEach(enemyList, [&](Character& e) {
        EXPECT_EQ(e.name, enemyName);
        EXPECT_FLOAT_EQ(e.x, sites[i % 6][0]);
        EXPECT_FLOAT_EQ(e.y, -20.0f);
        EXPECT_FLOAT_EQ(e.z, sites[i % 6][1]);
        EXPECT_EQ(e.hitPoints, 1);
        EXPECT_EQ(e.points, 10);
        ++i;
    });
    EXPECT_EQ(i, 30);
}

TEST_F(EmitterTest, HitPointsAndPointsFollowTheDifficulty)
{
    for (int d = 0; d < 3; ++d) {
        SCOPED_TRACE(d);
        freeList(emitterList);
        freeList(enemyList);
        applyDifficulty(d);
        addGameEmittersQuietly();
        const double interval = difficulties[d].emitterInterval;
        EXPECT_EQ(tickAt(interval), 0);
        EXPECT_EQ(tickAt(interval + 0.04), 6);
        forEach(enemyList, [&](Character& e) {
            EXPECT_EQ(e.hitPoints, difficulties[d].enemyLevel);
            EXPECT_EQ(e.points, 10 * difficulties[d].emitterDensity);
            EXPECT_FLOAT_EQ(e.speed, 0.2f);
            EXPECT_EQ(e.animationState, animationNone);
        });
        // The next release comes one interval later, not sooner.
        EXPECT_EQ(tickAt(2 * interval + 0.02), 6);
        EXPECT_EQ(tickAt(2 * interval + 0.08), 12);
    }
}

TEST_F(EmitterTest, EachReleaseWritesTheEnemysTraceLines)
{
    applyDifficulty(0);
    addGameEmittersQuietly();
    sys::testSetTime(10.5);
    ::testing::internal::CaptureStderr();
    tickEmitters();
    std::string expected;
    for (int i = 0; i < 6; ++i)
        expected += "kostr\n0\n";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), expected);
}

TEST_F(EmitterTest, LimitedEmitterStopsAtZeroReleasesLeft)
{
    ::testing::internal::CaptureStderr();
    addEmitter(0, 0, -100, 0, 0, 0, -1.0f, 1.0, 10);
    ::testing::internal::GetCapturedStderr();
    emitterList.cursor->element->releasesLeft = 2;
    EXPECT_EQ(tickAt(1.5), 1);
    EXPECT_EQ(tickAt(3.0), 2);
    EXPECT_EQ(emitterList.cursor->element->releasesLeft, 0);
    EXPECT_EQ(tickAt(10.0), 2);
    EXPECT_EQ(tickAt(20.0), 2);
}

TEST_F(EmitterTest, WorldTickReleasesThenStepsEveryEnemy)
{
    ::testing::internal::CaptureStderr();
    addEmitter(200, 0, -250, 0, 0, 0, -1.0f, 10.0, 10);
    ::testing::internal::GetCapturedStderr();
    game.enemyLevel = 1;
    sys::testSetTime(10.5);
    ::testing::internal::CaptureStderr();
    tickWorld();
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(countElements(enemyList), 1);
    // Released, then stepped once in the same tick.
    const Character& e = *enemyList.cursor->element;
    EXPECT_FLOAT_EQ(e.x, 199.8f);
    EXPECT_FLOAT_EQ(e.y, -17.0f);
    EXPECT_FLOAT_EQ(e.z, -249.8f);
}
