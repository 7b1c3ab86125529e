// A textured rectangle in screen pixels, the one quad the flat drawing
// shares (HUD tiles, escape-mode layers).
#pragma once

#include "platform/gl.h"

// Draws `texture` over (x1, y1)-(x2, y2) with the texture upright (its top
// row at y1, for a projection whose y runs downward), with texturing on only
// for the quad. Matrices and colour are the caller's.
// Called by drawScreenTile (HUD tiles, the environment view) and
// drawTexturedRect (escape mode's layers).
void drawScreenQuad(GLuint texture, int x1, int y1, int x2, int y2);
