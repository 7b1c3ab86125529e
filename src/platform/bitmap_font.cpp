#include "platform/bitmap_font.h"

#include <GL/freeglut_std.h>

void initBitmapFonts(int* argc, char** argv) { glutInit(argc, argv); }

void* bitmapFontTimesRoman24() { return GLUT_BITMAP_TIMES_ROMAN_24; }

void* bitmapFontTimesRoman10() { return GLUT_BITMAP_TIMES_ROMAN_10; }

void drawBitmapCharacter(void* font, int character) { glutBitmapCharacter(font, character); }
