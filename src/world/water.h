// The animated sea west of the island: scrolling wave heights from a table
// and eight texture frames.
#pragma once

#include "platform/gl.h"
#include "render/frustum.h"

#include <cstdint>

// Wave heights: rows of 500 floats, rows and columns 0..256 filled.
inline constexpr int waveTableRows = 257;
inline constexpr int waveTableColumns = 500;
extern float waveHeights[waveTableRows][waveTableColumns];
extern GLuint waterTextures[8];

// The surface: strips x cells quads of waterCellSize; grid point (k, m) at
// (8k, waveAmplitude * waveHeights[row offset + k][column offset + m], 8m),
// both offsets running 0..waveOffsetLimit - 1. The scene passes draw it with
// its corner at waterOrigin.
inline constexpr int waterStrips = 33;     // along x
inline constexpr int waterCells = 193;     // along z
inline constexpr float waterCellSize = 8.0f;
inline constexpr float waveAmplitude = 4.0f;
inline constexpr int waveOffsetLimit = 32;
inline constexpr float waterOrigin[3] = {-798.0f, -52.0f, -702.0f};

// Pure: the sphere that holds every vertex of the surface at its place, for
// every pair of offsets, with the heights of this table. Called once by
// loadWater (and the tests).
Sphere waterBounds(const float table[waveTableRows][waveTableColumns]);
// Set by loadWater once the table is filled.
extern Sphere waterSphere;

// Where the sea's animation stands: the texture frame and the wave offsets.
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
// Called once by loadWater.
void fillWaveHeights(float table[waveTableRows][waveTableColumns]);
// Pure: the texture frame to draw; a frame index past the last wraps to 0.
// Called by drawWater at the start of every draw.
int selectWaterFrame(WaterAnimation& water);
// Pure: one time step of the animation at clock `now` (seconds): a tenth of
// the elapsed time gathers until a wave step, every twelfth step turns the
// texture frame. Called by drawWater right after selectWaterFrame.
void advanceWater(WaterAnimation& water, double now);

// Start-up: the eight texture frames, the wave table and waterSphere; writes
// "water" on standard output. Called once by start-up, last before the menu's
// key handler is installed.
void loadWater();
// The surface at the current matrix (the caller places it at waterOrigin),
// leaving out the cells wholly outside the view, with the animation advanced.
// Called by the scene passes' sea step when waterSphere is in view.
void drawWater();
