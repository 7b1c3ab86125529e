// Escape mode: the motion-blurred view under the blue tunnel picture. Every
// so often the live view is copied into one of four capture textures used in
// turn; each frame the view is overlaid with the four captures, partly
// transparent, and then with the translucent tunnel picture.
#pragma once

#include "platform/gl.h"

#include <array>

struct EscapeEffect {
    GLuint captureTextures[4] = {0, 0, 0, 0};
    int captureIndex = 0;        // slot the next capture fills: 0, 1, 2, 3, 0
    GLuint tunnelTexture = 0;
    float motionClock = 0;       // a tenth of the seconds since the last capture
    float motionClockLast = 0;   // glfwGetTime at the last clock update
};

extern EscapeEffect escapeEffect;

// Advances the escape clock to `now`; true when a capture is due (the clock
// passed 0.005 + 0.002 x motionTime).
bool advanceEscapeClock(EscapeEffect& effect, double now, int motionTime);
// The capture slots of the four blur layers, in drawing order (alphas 0.8,
// 0.7, 0.6, 0.5): the newest capture first.
std::array<int, 4> blurLayerSlots(int captureIndex);

// Start-up: the four capture textures (black placeholders) and the tunnel
// picture. Called once by start-up after the start textures.
void initEscapeEffect();
// Renders the blur view into `texture` and moves to the next slot. Called by
// drawEscapeFrame when the escape clock says a capture is due.
void captureFrame(GLuint texture);
// One layer: `texture` over the pixel rectangle in the given colour, from the
// identity model-view. Called by drawEscapeFrame for the captures and the
// tunnel picture.
void drawTexturedRect(GLuint texture, float red, float green, float blue, float alpha,
                      int x1, int y1, int x2, int y2);
// Escape mode's whole picture: a capture when due, the live blur view, the
// four capture layers (or, with T, the four thumbnails) and the tunnel.
// Called by the scene pass (view/passes.h) in place of the game view.
void drawEscapeFrame();
