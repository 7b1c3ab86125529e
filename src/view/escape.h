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

void initEscapeEffect();
void captureFrame(GLuint texture);
void drawTexturedRect(GLuint texture, float red, float green, float blue, float alpha,
                      int x1, int y1, int x2, int y2);
void drawEscapeFrame();
