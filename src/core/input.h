// The game's input handlers, installed at game set-up and run from inside
// glfwSwapBuffers of the frame loop: mode and tuning keys, the fire button
// and mouse look. Held movement keys are polled by movePlayer instead.
#pragma once

#include "platform/gl.h"

// The texture filters F4 and F5 set: row mipmapMode (0..2), linear or nearest.
struct TextureFilter {
    GLint magnification;
    GLint minification;
};
// The filter pair of a mipmap mode, linear or nearest. Called by the F4 and
// F5 keys of gameKeyHandler, which set it on the texture bound at the time.
TextureFilter textureFilterFor(int mipmapMode, bool linear);

// The game's key handler: P, H, M and N act on press; E, T, G, H, V, B, L, M,
// N, F1 to F5, F8 and F9 on release (escape mode, the environment view and its
// drift, lighting, pause, FPS, wireframe, filters, culling, the translucent
// model). Installed by installGameHandlers; run by the platform from inside
// glfwSwapBuffers of the frame loop (and by the tests through testSendKey).
void gameKeyHandler(int key, int action);
// Writes which mouse button was pressed or released on standard output; the
// left button holds fire (game.fireHeld, read by the frame loop's firing
// step). Installed by installGameHandlers; run from glfwSwapBuffers.
void mouseButtonHandler(int button, int action);
// Mouse look: the motion since the last report, over 15, turns the heading
// (brought into [0, 360)) and the pitch (clamped to [-100, 85]). Installed by
// installGameHandlers; run from glfwSwapBuffers.
void mouseMotionHandler(int x, int y);
// Installs the three handlers in place of the menu's. Called once by
// setUpGame, first of game set-up.
void installGameHandlers();
