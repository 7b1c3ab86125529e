// The water's animation clock and its wave table, without a window.
#include "world/water.h"

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// One tick from the state's own last time: a little more than 0.3 s later.
void tick(WaterAnimation& water, double& now)
{
    now += 0.31;
    advanceWater(water, now);
}

}  // namespace

TEST(WaterClock, TicksJustAfterThreeTenthsOfASecond)
{
    WaterAnimation water;
    advanceWater(water, 100.0);   // the first call sees the whole time since start
    EXPECT_EQ(water.rowOffset, 1);
    EXPECT_EQ(water.accumulator, 0.0f);

    advanceWater(water, 100.29);
    EXPECT_EQ(water.rowOffset, 1);
    advanceWater(water, 100.302);
    EXPECT_EQ(water.rowOffset, 2);
    EXPECT_EQ(water.columnOffset, 2);
    EXPECT_EQ(water.tickCount, 2);
    EXPECT_FLOAT_EQ(water.lastTime, 100.302f);
}

TEST(WaterClock, ExactlyThreeTenthsIsNotEnough)
{
    WaterAnimation water;
    advanceWater(water, 0.0);
    EXPECT_EQ(water.rowOffset, 0);
    advanceWater(water, 0.3);   // a tenth of 0.3 is not strictly above 0.03
    EXPECT_EQ(water.rowOffset, 0);
    advanceWater(water, 0.3004);
    EXPECT_EQ(water.rowOffset, 1);
}

TEST(WaterClock, ManyDrawsPerFrameDoNotSpeedItUp)
{
    WaterAnimation water;
    advanceWater(water, 0.0);
    for (int i = 1; i <= 29; ++i)
        advanceWater(water, i * 0.01);   // 29 draws within 0.29 s
    EXPECT_EQ(water.rowOffset, 0);
    // A long pause gives one tick, not several: the excess is dropped.
    advanceWater(water, 5.0);
    EXPECT_EQ(water.rowOffset, 1);
    EXPECT_EQ(water.accumulator, 0.0f);
}

TEST(WaterClock, OffsetsWrapAt32Together)
{
    WaterAnimation water;
    double now = 0.0;
    advanceWater(water, now);
    for (int i = 0; i < 31; ++i)
        tick(water, now);
    EXPECT_EQ(water.rowOffset, 31);
    EXPECT_EQ(water.columnOffset, 31);
    tick(water, now);
    EXPECT_EQ(water.rowOffset, 0);
    EXPECT_EQ(water.columnOffset, 0);
    tick(water, now);
    EXPECT_EQ(water.rowOffset, 1);
}

TEST(WaterClock, FrameChangesEveryTwelveTicksAndWrapsAfterEight)
{
    WaterAnimation water;
    double now = 0.0;
    advanceWater(water, now);
    for (int i = 0; i < 11; ++i)
        tick(water, now);
    EXPECT_EQ(water.frame, 0);
    EXPECT_EQ(water.tickCount, 11);
    tick(water, now);
    EXPECT_EQ(water.frame, 1);
    EXPECT_EQ(water.tickCount, 0);

    for (int i = 0; i < 7 * 12; ++i)
        tick(water, now);
    EXPECT_EQ(water.frame, 8);   // until the next draw picks its texture
    EXPECT_EQ(selectWaterFrame(water), 0);
    EXPECT_EQ(water.frame, 0);
    tick(water, now);
    EXPECT_EQ(selectWaterFrame(water), 0);
}

TEST(WaterClock, FollowsTheGameClock)
{
    // The draw reads glfwGetTime; the test clock stands in for it.
    sys::testSetTime(42.0);
    WaterAnimation water;
    advanceWater(water, glfwGetTime());
    EXPECT_FLOAT_EQ(water.lastTime, 42.0f);
    sys::testUseRealClock();
}

TEST(WaveTable, SampleValuesAndBounds)
{
    using Table = float[waveTableRows][waveTableColumns];
    std::unique_ptr<Table> table(new Table[1]());
    fillWaveHeights(*table);
    EXPECT_EQ((*table)[0][17], 0.0f);
    EXPECT_EQ((*table)[17][0], 0.0f);
    EXPECT_NEAR((*table)[1][1], 0.0965413f, 1e-6f);
    EXPECT_NEAR((*table)[4][10], -0.48159f, 1e-5f);
    EXPECT_EQ((*table)[4][10], (*table)[10][4]);
    float lowest = 0, highest = 0;
    for (int i = 0; i <= 256; ++i)
        for (int j = 0; j <= 256; ++j) {
            lowest = std::min(lowest, (*table)[i][j]);
            highest = std::max(highest, (*table)[i][j]);
        }
    EXPECT_GT(highest, 0.6f);
    EXPECT_LE(highest, 0.6367f);
    EXPECT_GE(lowest, -0.6367f);
    // Columns past 256 are not written.
    EXPECT_EQ((*table)[1][257], 0.0f);
}
