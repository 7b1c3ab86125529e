// Frame-time and memory benchmark: runs the game's real frame under Xvfb
// through a fixed series of situations and reports the times per frame and
// the peak resident memory. It measures; it does not pass or fail on speed.
#include "game/frame_loop.h"
#include "core/input.h"
#include "core/rules.h"
#include "game/startup.h"
#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/particles.h"
#include "platform/platform.h"
#include "support/game_world.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Stats {
    double median, p99, worst;
};

Stats summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    return {ms[n / 2], ms[std::min(n - 1, n * 99 / 100)], ms.back()};
}

template <class Prepare>
void measure(const char* name, int frames, FrameTimers& timers, Prepare prepare)
{
    std::vector<double> ms;
    for (int i = 0; i < frames; ++i) {
        // Enemies reaching the player must not end the game (the end screen
        // would wait for Escape): lives are topped up before every frame.
        game.lives = 3;
        prepare(i);
        const auto start = std::chrono::steady_clock::now();
        runFrame(timers);
        glFinish();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const Stats s = summarise(ms);
    std::printf("%-28s frames %4d  median %7.2f ms  p99 %7.2f ms  worst %7.2f ms\n", name, frames,
                s.median, s.p99, s.worst);
}

}  // namespace

int main()
{
    if (!openGameWorld()) {
        std::printf("no display: benchmark not run\n");
        return 0;
    }
    makeExplosionSystems();
    game.difficulty = 2;
    applyDifficultyParameters();
    addGameEmitters();
    for (int i = 0; i < 30; ++i)
        spawnEnemy(-200.0f + 13.0f * i, -250.0f + 9.0f * i, 30);

    FrameTimers timers;
    timers.fpsIntervalStart = timers.tickStart = glfwGetTime();
    sys::testReleaseAllKeys();   // the benchmark holds the keys, not the keyboard

    measure("ordinary play (standing)", 200, timers, [](int) {});
    sys::testSetKey('W', true);
    measure("ordinary play (walking)", 200, timers, [](int i) {
        game.heading = static_cast<float>((i * 3) % 360);
        if (game.playerZ < -400)
            game.playerZ = 0;
    });
    sys::testSetKey('W', false);
    measure("explosions", 60, timers, [](int i) {
        if (i % 3 == 0) {
            game.explosionPending = true;
            game.explosionX = static_cast<float>(game.playerX);
            game.explosionY = -17;
            game.explosionZ = static_cast<float>(game.playerZ - 150);
            game.explosionSystem = (game.explosionSystem + 1) % 4;
        }
    });
    measure("shots", 60, timers, [&timers](int) {
        game.fireHeld = true;
        timers.canFire = true;
    });
    game.fireHeld = false;
    measure("chaser with captures", 120, timers, [](int) {
        if (!game.chaserActive) {
            game.chaserClock = 7.0f;   // enters this frame
            game.chaserX = 0;
            game.chaserZ = -100;
        }
        game.lives = 3;
    });
    game.chaserActive = false;
    game.showEnvironment = true;
    measure("environment view", 60, timers, [](int) {});
    game.showEnvironment = false;
    gameKeyHandler('E', GLFW_RELEASE);
    measure("escape mode", 120, timers, [](int) {});
    gameKeyHandler('E', GLFW_RELEASE);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory %.1f MB\n", usage.ru_maxrss / 1024.0);
    sys::testUseRealKeys();
    return 0;
}
