// The score in line-drawn digits, and the end word F I N.
#pragma once

#include <vector>

struct GlyphPoint {
    float u, v;
};
struct GlyphPath {
    bool loop;   // closed line loop rather than an open strip
    std::vector<GlyphPoint> points;
};

// The outline paths of a glyph: '0'..'9', 'F', 'I', 'N' (5 and 9 are derived
// from 2 and 6 by mirrored cells, so their tables are those of 2 and 6).
const std::vector<GlyphPath>& glyphPaths(char glyph);
// A glyph placed in a cell: its paths as eye-space (x, y) points, x = left +
// u (right - left), y = bottom + v (top - bottom). The 5 and the 9 come out of
// the 2 and the 6 with the cell's sides exchanged. Unknown glyphs: no paths.
struct CellPoint {
    float x, y;
};
struct CellPath {
    bool loop;
    std::vector<CellPoint> points;
};
std::vector<CellPath> glyphInCell(char glyph, float left, float right, float bottom, float top);
// The digit shown in score cell i (4: ten-thousands ... 0: units).
int scoreDigit(int score, int cell);

void drawDigitGlyph(int digit, float left, float right, float bottom, float top, float z);
void drawScore();
void drawEndWord();
