#include "core/rules.h"

#include "state/game_state.h"

#include <cmath>

DifficultyParameters difficultyParameters(int difficulty)
{
    static const DifficultyParameters table[3] = {
        {1, 1, 10, 50, 1000, 100.0f},
        {2, 2, 8, 100, 2500, 250.0f},
        {4, 3, 5, 250, 5000, 500.0f},
    };
    if (difficulty < 0)
        difficulty = 0;
    if (difficulty > 2)
        difficulty = 2;
    return table[difficulty];
}

void applyDifficultyParameters()
{
    const DifficultyParameters p = difficultyParameters(game.difficulty);
    game.enemyLevel = p.enemyLevel;
    game.emitterDensity = p.emitterDensity;
    game.emitterInterval = p.emitterInterval;
    switch (game.goalMode) {
    case 1: game.killGoal = p.killGoal; break;
    case 2: game.scoreGoal = p.scoreGoal; break;
    case 3: game.timeGoal = p.timeGoal; break;
    default: break;   // no goal, or endless
    }
}

void updateChaser(double now, const std::function<void()>& capture)
{
    if (game.showEnvironment)
        return;
    game.chaserClock += static_cast<float>((now - game.chaserClockLast) / 10.0);
    game.chaserClockLast = static_cast<float>(now);

    if (!game.chaserActive) {
        if (game.chaserClock > 6.0f && !game.escapeMode) {
            game.chaserActive = true;
            // The first reflection is taken where the chaser stood before.
            capture();
            game.chaserClock = 0;
            game.chaserSteps = 0;
            game.chaserX = 0;
            game.chaserZ = -100;
        }
        return;
    }
    if (game.chaserClock <= 0.005f)
        return;

    // One unit toward the player on each axis where it is more than 3 away.
    if (game.playerX < game.chaserX - 3)
        game.chaserX -= 1;
    else if (game.playerX > game.chaserX + 3)
        game.chaserX += 1;
    if (game.playerZ < game.chaserZ - 3)
        game.chaserZ -= 1;
    else if (game.playerZ > game.chaserZ + 3)
        game.chaserZ += 1;

    if (std::fabs(game.chaserX - game.playerX) < catchDistance &&
        std::fabs(game.chaserZ - game.playerZ) < catchDistance) {
        game.lives -= 1;
        game.chaserActive = false;
    }
    game.chaserSteps += 1;
    if (game.chaserSteps % 8 == 0) {
        capture();
        game.chaserSteps = 0;
        game.chaserClock = 0;
    }
}

bool updateFps(FrameTimers& timers, double now)
{
    const double elapsed = now - timers.fpsIntervalStart;
    if (elapsed <= 1.0)
        return false;
    game.fps = game.frameCount / elapsed;
    timers.canFire = true;
    timers.fpsIntervalStart = now;
    game.frameCount = 0;
    return true;
}

bool tickDue(FrameTimers& timers, double now)
{
    if (now - timers.tickStart <= 0.04)
        return false;
    timers.tickStart = now;
    return true;
}

bool gameOver(FrameTimers& timers, double now)
{
    if (game.lives < 1)
        timers.gameEnded = true;
    return (game.goalMode == 1 && game.kills >= game.killGoal) ||
           (game.goalMode == 2 && game.score >= game.scoreGoal) ||
           (game.goalMode == 3 && now - game.startTime >= game.timeGoal) || timers.gameEnded;
}
