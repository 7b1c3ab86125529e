// The game's rules, free of drawing so tests can run them with a set clock:
// difficulty parameters, the chaser, the frame-rate interval that allows one
// shot, the 0.04-second tick and the end of the game.
#pragma once

#include <functional>

struct DifficultyParameters {
    int enemyLevel;
    int emitterDensity;
    int emitterInterval;
    int killGoal;
    int scoreGoal;
    float timeGoal;
};

// The row of the difficulty table (0 easy, 1 normal, 2 hard; others clamp).
DifficultyParameters difficultyParameters(int difficulty);
// Game set-up: enemyLevel, emitterDensity and emitterInterval from
// `difficulty`, and only the limit of the chosen goal (goals 0 and 4 set none).
void applyDifficultyParameters();

// The chaser's part of one frame (not while the environment view is on):
// advances its clock by a tenth of the elapsed time, lets it enter after 6.0
// of its clock (60 s), and steps it toward the player in bursts of 8. Every
// time the chaser's cube map must be captured, `capture` is called (on entry
// before the chaser's position is reset, and on every eighth step).
void updateChaser(double now, const std::function<void()>& capture);

// Timers that belong to the frame loop itself.
struct FrameTimers {
    double fpsIntervalStart = 0;   // start of the current FPS interval
    double tickStart = 0;          // start of the current 0.04-second tick
    bool canFire = true;           // one shot per FPS interval
    bool gameEnded = false;        // lives ran out
};

// Once more than a second has passed: fps = frames / elapsed, a shot is
// allowed again, a new interval starts. True when the figure was refreshed.
bool updateFps(FrameTimers& timers, double now);
// True (and a new tick starts) when more than 0.04 s passed since the last.
bool tickDue(FrameTimers& timers, double now);
// Sets gameEnded when the lives ran out; true when the game is over by lives
// or by the chosen goal (kills, score, or playing time since startTime).
bool gameOver(FrameTimers& timers, double now);
