// The overlay drawn flat over the 3-D picture: text lines, crosshair, screen
// tiles, life hearts and the heading compass.
#pragma once

#include "platform/gl.h"

// Font identifiers (platform/bitmap_font.h): Times Roman 24 and 10.
void* hudLargeFont();
void* hudSmallFont();

// One text line at (x, y) of the text matrix in red or blue. Called by
// drawHudTexts.
void drawTextLine(int x, int y, int red, int blue, void* font, const char* text);
// Leaves lighting off; switches it back on when lightingEnabled is set.
// A texture over a pixel rectangle (origin top-left), under its own
// projection. Called by the scene pass for the environment view's six tiles.
void drawScreenTile(GLuint texture, int x1, int y1, int x2, int y2);
// The white cross and circle at (x, y) of a width x height screen. Called by
// the overlay, except in escape mode.
void drawCrosshair(float width, float height, float x, float y);
// The status line, the FPS figure (F2) and the key-help lines of the mode.
// Called by the overlay, last.
void drawHudTexts();
// One red heart per life, and the blue compass needle with its circle.
// Called by the overlay, and the hearts by the end screen too.
void drawLifeMarkers();
void drawHeadingCompass();
