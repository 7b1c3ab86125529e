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
TextureFilter textureFilterFor(int mipmapMode, bool linear);

void gameKeyHandler(int key, int action);
void mouseButtonHandler(int button, int action);
void mouseMotionHandler(int x, int y);
// Installs the three handlers in place of the menu's.
void installGameHandlers();
