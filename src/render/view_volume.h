// Telling, before sending it, that a piece of geometry cannot reach the
// picture: every corner lies beyond the same one of the six planes of the
// view volume, so the GL would clip all of it away. The test keeps a margin
// far above the rounding of the GL's own single-precision transform, so it
// only ever answers "beyond" when the GL would too.
#pragma once

#include "platform/gl.h"

// The current projection times the current model-view matrix, in double
// precision; row i, column j at m[i][j].
struct ClipMatrix {
    double m[4][4];
};

// Reads GL_PROJECTION_MATRIX and GL_MODELVIEW_MATRIX. Called by drawWater once
// a draw, with the sea's placement current.
ClipMatrix currentClipMatrix();

// The planes a point (w = 1) lies beyond, one bit each: x > w, x < -w,
// y > w, y < -w, z > w, z < -w. A piece whose corners' codes share a bit
// is wholly outside. Called by drawWater for every grid point of the sea,
// which then leaves out the cells whose four corners share a bit.
unsigned clipOutcode(const ClipMatrix& clip, float x, float y, float z);

// Whether all `count` corners (x, y, z triples) share a plane they lie beyond.
// Called by the terrain's and the scene's box tests (drawWater combines the
// codes of its grid points itself, each point being a corner of four cells).
bool outsideView(const ClipMatrix& clip, const float* corners, int count);
