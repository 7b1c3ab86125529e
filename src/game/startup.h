// The program from start to end: start-up in its fixed order, the title
// menu, game set-up, the frame loop and shutdown.
#pragma once

#include "core/rules.h"

// The entry point's work; argc/argv go to glutInit. The window switches the
// screen to 800 x 600 full screen, or with `windowed` is an ordinary 800 x 600
// window. Returns the process exit code: 0 after a normal end (also when Quit
// or Escape is chosen in the menu), 1 when the window cannot be opened.
// Called once by main when the command line asks to play.
int runGame(int argc, char** argv, bool windowed = false);

// Start-up in its fixed order, from the explosion systems and the window to
// the frustum and the water, taking the frame loop's FPS and tick starts on
// the way; false (after "Could not create window") when no window opens.
// Called by runGame before the title menu, and by the frame benchmark
// (tools/bench), which then sets up a game without the menu.
bool startUp(int argc, char** argv, bool windowed, FrameTimers& timers);

// Start-up's GL side, in two steps of its fixed order. The world: the clear
// colour, terrain, enemy and emitter lists, sky box, the player and his
// model, the lights. Then the views: the start projection, the start
// textures, the environment map and escape mode's textures. Called by
// startUp (the window title, the cursor and the frame clocks come between),
// and by the pack preview and the rendering tests, which draw the world
// without the game's window and sound.
void buildStartWorld();
void buildStartViews();

// Start-up's texture step: the skin, particle, title, help and goal pictures,
// each failed load writing "problem" on standard output. Called by
// buildStartViews, after the start projection and before the environment map.
void loadStartTextures();
// Game set-up after the menu: the menu's pages given back, game handlers,
// depth and culling state, difficulty parameters, the six emitters, the
// music. Called once by runGame when the menu asked for a start, right
// before the frame loop, and by the frame benchmark.
void setUpGame();
