// The frame loop: one pass draws one frame and applies the game's rules,
// from the end of game set-up until the player leaves with Escape (or the
// window is closed). Beside it, the two loops a frame may hand over to: the
// end screen and the pause page.
#pragma once

#include "core/rules.h"

// Runs runFrame until it says the loop should end. The timers' FPS and tick
// starts were taken at start-up. Called once by start-up after game set-up.
void runFrameLoop(FrameTimers& timers);
// One pass of the loop, its steps in this order: the stream ring started
// again (no drawing), the chaser, clearing the
// frame, the environment view's offsets, the obstacle test, the scene pass,
// the overlay, a pending explosion, light 0, firing, the buffer swap (where
// the input handlers run), the FPS figure, the 0.04-second tick, the end of
// the game (the end screen), the pause page. False when the loop should end
// (Escape held, or the window closed). Called by runFrameLoop and the tests.
bool runFrame(FrameTimers& timers);
// The end screen: the world, the hearts, the score and the end word, until
// Escape or a closed window; then clears gameEnded. Called by runFrame when
// the game is over.
void runEndScreen(FrameTimers& timers);
// The pause page with the help picture while paused (F1) and the window is
// open. Called by runFrame at the end of every frame.
void runPausePage();
