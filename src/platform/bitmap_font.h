// freeglut's bitmap fonts, the only part of freeglut the game uses: brought
// up once at start-up and drawn at the current raster position. This file
// and its source are the only ones that include freeglut.
#pragma once

// Brings freeglut up with the program's arguments (it may take its own
// options out of them). Called once by start-up after the windowing library
// started (freeglut ends the process when it cannot reach a display), and by
// the rendering tests after they open their window.
void initBitmapFonts(int* argc, char** argv);
// Font identifiers: Times Roman 24 and 10.
void* bitmapFontTimesRoman24();
void* bitmapFontTimesRoman10();
// Draws one character at the raster position and moves the position on.
// Called by the HUD's text lines.
void drawBitmapCharacter(void* font, int character);
