// The game's rules, free of drawing so tests can run them with a set clock:
// difficulty parameters, the chaser, the frame-rate interval that allows one
// shot, the 0.04-second tick and the end of the game.
#pragma once

#include <functional>

// One row of the difficulty table: the enemies' hit points, the emitters'
// density and release interval, and the limit of each goal.
struct DifficultyParameters {
    int enemyLevel;
    int emitterDensity;
    int emitterInterval;
    int killGoal;
    int scoreGoal;
    float timeGoal;
};

// The row of the difficulty table (0 easy, 1 normal, 2 hard; others clamp).
// Called by applyDifficultyParameters (and the tests).
DifficultyParameters difficultyParameters(int difficulty);
// Game set-up: enemyLevel, emitterDensity and emitterInterval from
// `difficulty`, and only the limit of the chosen goal (goals 0 and 4 set none).
// Called once by setUpGame, before the emitters are placed.
void applyDifficultyParameters();

// The chaser's part of one frame (not while the environment view is on):
// advances its clock by a tenth of the elapsed time, lets it enter after 6.0
// of its clock (60 s), and steps it toward the player in bursts of 8. Every
// time the chaser's cube map must be captured, `capture` is called (on entry
// before the chaser's position is reset, and on every eighth step).
// Called by the frame loop first thing in every frame, with a capture that
// renders the cube map and restores the game's projection.
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
// Called by the frame loop once a frame, right after the buffer swap.
bool updateFps(FrameTimers& timers, double now);
// True (and a new tick starts) when more than 0.04 s passed since the last.
// Called by the frame loop once a frame, after the FPS figure; when it says
// yes, the loop runs the world tick and the player's movement.
bool tickDue(FrameTimers& timers, double now);
// Sets gameEnded when the lives ran out; true when the game is over by lives
// or by the chosen goal (kills, score, or playing time since startTime).
// Called by the frame loop once a frame, after the tick; true hands the frame
// over to the end screen.
bool gameOver(FrameTimers& timers, double now);
