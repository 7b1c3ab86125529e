// The benchmark's situations, played through the game's own frame
// (runFrame) on a test clock that advances one sixtieth of a second a frame,
// so that two runs, and two builds, draw the very same frames.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct Scenario {
    const char* key;    // short name for the JSON line
    const char* name;   // name in the table
    int frames;         // frames of a full run
};

// In the order they are played; each starts from where the previous ended.
const std::vector<Scenario>& scenarios();

// The game as start-up and game set-up leave it (without the title menu),
// on difficulty 2 with 30 enemies on the island and the test clock running.
// False when no window could be opened.
bool startBenchGame(const char* program);

// One frame's time in milliseconds: runFrame's plus a glFinish, on the wall
// clock and in CPU time of the whole process (all its threads; less
// sensitive to other load on the machine).
struct FrameTime {
    double wall, cpu;
};

// Plays every scenario with frames scaled by `scale` (at least 8 each),
// calling `frame(scenario, index, time)` after each frame.
// With `only` set, the other scenarios are left out (for profiling one).
void playScenarios(double scale,
                   const std::function<void(const Scenario&, int index, FrameTime time)>& frame,
                   const std::string& only = "");
