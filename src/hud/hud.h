// The overlay drawn flat over the 3-D picture: text lines, crosshair, screen
// tiles, life hearts and the heading compass.
#pragma once

#include "platform/gl.h"

// Font identifiers (platform/bitmap_font.h): Times Roman 24 and 10.
void* hudLargeFont();
void* hudSmallFont();

// Window pixel (from the bottom-left) at which drawTextLine's (x, y) lands.
void textLinePixel(int x, int y, double& pixelX, double& pixelY);

void drawTextLine(int x, int y, int red, int blue, void* font, const char* text);
// Leaves lighting off; switches it back on when lightingEnabled is set.
void drawScreenTile(GLuint texture, int x1, int y1, int x2, int y2);
void drawCrosshair(float width, float height, float x, float y);
void drawHudTexts();
// One red heart per life, and the blue compass needle with its circle.
void drawLifeMarkers();
void drawHeadingCompass();
