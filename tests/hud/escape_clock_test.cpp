// Escape mode's capture clock and the order of its blur layers.
#include "view/escape.h"

#include <gtest/gtest.h>

namespace {

// Seconds of real time between captures at a frame every millisecond.
double captureInterval(int motionTime)
{
    EscapeEffect effect;
    double now = 100.0;   // long after start: the first frame captures at once
    EXPECT_TRUE(advanceEscapeClock(effect, now, motionTime));
    effect.motionClock = 0;   // what a capture does
    for (const double start = now; now < start + 100; )
        if (advanceEscapeClock(effect, now += 0.001, motionTime))
            return now - start;
    return -1;
}

TEST(EscapeClock, FirstFrameCapturesAtOnceThenEveryIntervalOfMotionTime)
{
    EscapeEffect fresh;
    EXPECT_TRUE(advanceEscapeClock(fresh, 0.2, 0));   // 0.02 of clock since 0
    EXPECT_NEAR(captureInterval(0), 0.05, 0.002);
    EXPECT_NEAR(captureInterval(10), 0.25, 0.002);
    EXPECT_NEAR(captureInterval(5), 0.15, 0.002);
    // A negative motion time captures every frame.
    EscapeEffect effect;
    for (double t = 10.0; t < 10.1; t += 0.016) {
        EXPECT_TRUE(advanceEscapeClock(effect, t + 0.016, -3));
        effect.motionClock = 0;
    }
}

TEST(EscapeLayers, NewestCaptureFirst)
{
    using Slots = std::array<int, 4>;
    EXPECT_EQ(blurLayerSlots(0), (Slots{3, 2, 0, 1}));
    EXPECT_EQ(blurLayerSlots(1), (Slots{0, 1, 2, 3}));
    EXPECT_EQ(blurLayerSlots(2), (Slots{1, 2, 3, 0}));
    EXPECT_EQ(blurLayerSlots(3), (Slots{2, 3, 0, 1}));
}

}  // namespace
