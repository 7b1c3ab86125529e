// The score in line-drawn digits, and the end word F I N.
#pragma once

#include <vector>

// A point of a glyph's outline in its unit cell: u to the right, v up.
struct GlyphPoint {
    float u, v;
};
// One stroke of a glyph.
struct GlyphPath {
    bool loop;   // closed line loop rather than an open strip
    std::vector<GlyphPoint> points;
};

// The outline paths of a glyph: '0'..'9', 'F', 'I', 'N' (5 and 9 are derived
// from 2 and 6 by mirrored cells, so their tables are those of 2 and 6).
// Called by glyphInCell (and the tests).
const std::vector<GlyphPath>& glyphPaths(char glyph);
// A glyph's point placed in a cell, in eye space.
struct CellPoint {
    float x, y;
};
// One stroke of a placed glyph.
struct CellPath {
    bool loop;
    std::vector<CellPoint> points;
};
// A glyph placed in a cell: its paths as eye-space (x, y) points, x = left +
// u (right - left), y = bottom + v (top - bottom). The 5 and the 9 come out of
// the 2 and the 6 with the cell's sides exchanged. Unknown glyphs: no paths.
// Called for every glyph the score and the end word draw (and the tests).
std::vector<CellPath> glyphInCell(char glyph, float left, float right, float bottom, float top);
// The digit shown in score cell i (4: ten-thousands ... 0: units). Called by
// drawScore for each of its five cells.
int scoreDigit(int score, int cell);

// Draws digit 0..9 as red line strokes in the cell at depth z (from the
// identity); any other value draws nothing. Called by drawScore.
void drawDigitGlyph(int digit, float left, float right, float bottom, float top, float z);
// The five digits of the score in the top right corner. Called by the
// overlay once a frame, after the hearts, and by the end screen's loop.
void drawScore();
// F I N in the middle of the window. Called by the end screen's loop, after
// the score.
void drawEndWord();
