// The frame loop: one pass draws one frame and applies the game's rules,
// from the end of game set-up until the player leaves with Escape (or the
// window is closed). Nested inside: the end screen and the pause page.
#pragma once

#include "core/rules.h"

// Runs until Escape is down or the window is closed. The timers' FPS and
// tick starts were taken at start-up.
void runFrameLoop(FrameTimers& timers);
// One pass of the loop (steps 1 to 17); false when the loop should end.
bool runFrame(FrameTimers& timers);
