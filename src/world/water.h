// The animated sea west of the island: scrolling wave heights from a table
// and eight texture frames.
#pragma once

#include <cstdint>

struct WaterAnimation {
    std::int32_t frame = 0;          // texture frame, 0..7
    std::int32_t tickCount = 0;      // ticks since the last frame change, 0..11
    std::int32_t rowOffset = 0;      // 0..31
    std::int32_t columnOffset = 0;   // 0..31
    float accumulator = 0;
    float lastTime = 0;
};

extern WaterAnimation waterAnimation;

// Pure: one time step of the animation at clock `now` (seconds).
void advanceWater(WaterAnimation& water, double now);

void loadWater();
void drawWater();
