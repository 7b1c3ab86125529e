// The animated sea west of the island: scrolling wave heights from a table
// and eight texture frames.
#pragma once

#include "platform/gl.h"

#include <cstdint>

// Wave heights: rows of 500 floats, rows and columns 0..256 filled.
inline constexpr int waveTableRows = 257;
inline constexpr int waveTableColumns = 500;
extern float waveHeights[waveTableRows][waveTableColumns];
extern GLuint waterTextures[8];

struct WaterAnimation {
    std::int32_t frame = 0;          // texture frame, 0..7
    std::int32_t tickCount = 0;      // ticks since the last frame change, 0..11
    std::int32_t rowOffset = 0;      // 0..31
    std::int32_t columnOffset = 0;   // 0..31
    float accumulator = 0;
    float lastTime = 0;
};

extern WaterAnimation waterAnimation;

// Pure: fills rows and columns 0..256 with sin(i/2.5)·sin(j/2.5)/(pi/2).
void fillWaveHeights(float table[waveTableRows][waveTableColumns]);
// Pure: the texture frame to draw; a frame index past the last wraps to 0.
int selectWaterFrame(WaterAnimation& water);
// Pure: one time step of the animation at clock `now` (seconds).
void advanceWater(WaterAnimation& water, double now);

void loadWater();
void drawWater();
