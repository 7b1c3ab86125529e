#include "scenarios.h"

#include "core/input.h"
#include "core/rules.h"
#include "entities/enemies.h"
#include "game/frame_loop.h"
#include "game/startup.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "state/game_state.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

FrameTimers timers;
double now = 0;
constexpr double frameSeconds = 1.0 / 60.0;
// A fixed start, so the clocks the game keeps (chaser, water, escape) read
// the same in every run.
constexpr double startSeconds = 10.0;

// CPU time of every thread of the process (the rasteriser's among them).
double processCpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void enterEscapeMode() { gameKeyHandler('E', GLFW_RELEASE); }

// What each scenario does before each of its frames.
void prepare(const Scenario& s, int i)
{
    const std::string key = s.key;
    if (key == "walking") {
        sys::testSetKey('W', true);
        game.heading = static_cast<float>((i * 3) % 360);
        if (game.playerZ < -400)
            game.playerZ = 0;
    } else if (key == "explosions") {
        if (i % 3 == 0) {
            game.explosionPending = true;
            game.explosionX = static_cast<float>(game.playerX);
            game.explosionY = -17;
            game.explosionZ = static_cast<float>(game.playerZ - 150);
            game.explosionSystem = (game.explosionSystem + 1) % 4;
        }
    } else if (key == "shots") {
        // Level aim: every enemy stands too low to be hit, so each shot is a
        // full-length miss beam. The button stays held; the game allows one
        // shot per FPS interval, the benchmark one every 24 frames, so a
        // beam is always on screen and two overlap at times.
        game.pitch = 0;
        game.heading = 30.0f + static_cast<float>(i % 48);
        game.fireHeld = true;
        if (i % 24 == 0)
            timers.canFire = true;
    } else if (key == "chaser") {
        if (!game.chaserActive) {
            game.chaserClock = 7.0f;   // enters this frame
            game.chaserX = 0;
            game.chaserZ = -100;
        }
    } else if (key == "environment") {
        game.showEnvironment = true;
        // Still for a while, then drifting.
        game.environmentSpeedX = i < s.frames / 2 ? 0.0f : 1.5f;
        game.environmentSpeedY = i < s.frames / 2 ? 0.0f : -1.0f;
    }
}

void finish(const Scenario& s)
{
    const std::string key = s.key;
    if (key == "walking")
        sys::testSetKey('W', false);
    else if (key == "shots")
        game.fireHeld = false;
    else if (key == "chaser")
        game.chaserActive = false;
    else if (key == "environment")
        game.showEnvironment = false;
    else if (key == "escape")
        enterEscapeMode();   // and out again
}

}  // namespace

const std::vector<Scenario>& scenarios()
{
    static const std::vector<Scenario> all = {
        {"standing", "ordinary play (standing)", 200},
        {"walking", "ordinary play (walking)", 200},
        {"explosions", "explosions", 60},
        {"shots", "shots (full-length misses)", 96},
        {"chaser", "chaser with captures", 120},
        {"environment", "environment view", 60},
        {"escape", "escape mode", 120},
    };
    return all;
}

bool startBenchGame(const char* program)
{
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (!startUp(1, argv, false, timers))
        return false;
    now = startSeconds;
    sys::testSetTime(now);
    sys::testReleaseAllKeys();   // the benchmark holds the keys, not the keyboard
    game.startTime = static_cast<float>(now);
    game.difficulty = 2;
    setUpGame();
    for (int i = 0; i < 30; ++i)
        spawnEnemy(-200.0f + 13.0f * i, -250.0f + 9.0f * i, 30);
    timers.fpsIntervalStart = timers.tickStart = now;
    return true;
}

void playScenarios(double scale,
                   const std::function<void(const Scenario&, int index, FrameTime time)>& frame,
                   const std::string& only)
{
    for (const Scenario& s : scenarios()) {
        if (!only.empty() && only != s.key)
            continue;
        if (std::string(s.key) == "escape")
            enterEscapeMode();
        const int frames = std::max(8, static_cast<int>(s.frames * scale));
        for (int i = 0; i < frames; ++i) {
            // Enemies reaching the player must not end the game (the end
            // screen would wait for Escape): lives are topped up every frame.
            game.lives = 3;
            prepare(s, i);
            now += frameSeconds;
            sys::testSetTime(now);
            const double cpuStart = processCpuMilliseconds();
            const auto start = std::chrono::steady_clock::now();
            runFrame(timers);
            glFinish();
            const auto end = std::chrono::steady_clock::now();
            frame(s, i, {std::chrono::duration<double, std::milli>(end - start).count(),
                         processCpuMilliseconds() - cpuStart});
        }
        finish(s);
    }
}
