// Escape mode's capture clock and the order of its blur layers.
#include "view/escape.h"

#include <gtest/gtest.h>

namespace {

TEST(EscapeClock, FirstFrameCapturesAtOnceThenEveryIntervalOfMotionTime)
{
    EscapeEffect fresh;
    EXPECT_TRUE(advanceEscapeClock(fresh, 0.2, 0));   // 0.02 of clock since 0
    // Seconds of real time between captures at a frame every millisecond;
    // a negative motion time captures every frame.
    for (const auto& [motionTime, interval] : {std::pair{0, 0.05}, {5, 0.15}, {10, 0.25}, {-3, 0.001}}) {
        EscapeEffect effect;
        double now = 100.0;   // long after start: the first frame captures at once
        EXPECT_TRUE(advanceEscapeClock(effect, now, motionTime));
        effect.motionClock = 0;   // what a capture does
        const double start = now;
        while (!advanceEscapeClock(effect, now += 0.001, motionTime) && now < start + 100) {
        }
        EXPECT_NEAR(now - start, interval, 0.002) << motionTime;
    }
}

TEST(EscapeLayers, NewestCaptureFirst)
{
    using Slots = std::array<int, 4>;
    EXPECT_EQ((std::array{blurLayerSlots(0), blurLayerSlots(1), blurLayerSlots(2), blurLayerSlots(3)}),
              (std::array{Slots{3, 2, 0, 1}, Slots{0, 1, 2, 3}, Slots{1, 2, 3, 0}, Slots{2, 3, 0, 1}}));
}

}  // namespace
