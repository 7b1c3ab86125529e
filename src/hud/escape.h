// Escape mode: the motion-blurred view under the blue tunnel picture.
#pragma once

#include "platform/gl.h"

void initEscapeEffect();
void captureFrame(GLuint texture);
void drawTexturedRect(GLuint texture, float red, float green, float blue, float alpha,
                      int x1, int y1, int x2, int y2);
void drawEscapeFrame();
