// The score in line-drawn digits and the end word, each glyph a list of
// outline paths in its own unit cell.
#include "hud/score.h"

#include "platform/gl.h"
#include "state/game_state.h"

namespace {

constexpr float third = 1.0f / 3.0f;
constexpr float twoThirds = 2.0f / 3.0f;
constexpr float oneStem = 2.0f / 4.1f;   // the stem of the 1

using Path = GlyphPath;

const std::vector<GlyphPath> glyph0 = {
    Path{false, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    Path{true, {{third, 0.2f}, {twoThirds, 0.2f}, {twoThirds, 0.8f}, {third, 0.8f}, {third, 0.2f}}},
};
const std::vector<GlyphPath> glyph1 = {
    Path{false, {{oneStem, 0}, {1, 0}, {1, 1}, {oneStem, 1}, {0, 0.6f}, {oneStem, 0.6f}, {oneStem, 0}}},
};
const std::vector<GlyphPath> glyph2 = {
    Path{true, {{0, 0}, {1, 0}, {1, 0.2f}, {third, 0.2f}, {third, 0.4f}, {1, 0.4f}, {1, 1},
                {0, 1}, {0, 0.8f}, {twoThirds, 0.8f}, {twoThirds, 0.6f}, {0, 0.6f}, {0, 0}}},
};
const std::vector<GlyphPath> glyph3 = {
    Path{false, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0.8f}, {twoThirds, 0.8f}, {twoThirds, 0.6f},
                 {third, 0.6f}, {third, 0.4f}, {twoThirds, 0.4f}, {twoThirds, 0.2f}, {0, 0.2f}, {0, 0}}},
};
const std::vector<GlyphPath> glyph4 = {
    Path{false, {{0, 1}, {0, 2.0f / 6}, {0.4f, 2.0f / 6}, {0.4f, 0}, {0.6f, 0}, {0.6f, 2.0f / 6},
                 {1, 2.0f / 6}, {1, 3.0f / 6}, {0.6f, 3.0f / 6}, {0.6f, 4.0f / 6}, {0.4f, 4.0f / 6},
                 {0.4f, 3.0f / 6}, {0.2f, 3.0f / 6}, {0.2f, 1}, {0, 1}}},
};
const std::vector<GlyphPath> glyph6 = {
    Path{false, {{1, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 0.8f}, {third, 0.8f}, {third, 0.6f}, {1, 0.6f},
                 {1, 0}}},
    Path{false, {{twoThirds, 0.2f}, {third, 0.2f}, {third, 0.4f}, {twoThirds, 0.4f}, {twoThirds, 0.2f}}},
};
const std::vector<GlyphPath> glyph7 = {
    Path{false, {{twoThirds, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0.8f}, {twoThirds, 0.8f}, {twoThirds, 0}}},
};
const std::vector<GlyphPath> glyph8 = {
    Path{false, {{1, 0}, {0, 0}, {0, 1}, {1, 1}, {1, 0}}},
    Path{false, {{twoThirds, 0.2f}, {third, 0.2f}, {third, 0.4f}, {twoThirds, 0.4f}, {twoThirds, 0.2f}}},
    Path{false, {{twoThirds, 0.8f}, {third, 0.8f}, {third, 0.6f}, {twoThirds, 0.6f}, {twoThirds, 0.8f}}},
};
const std::vector<GlyphPath> glyphF = {
    Path{false, {{0, 0}, {third, 0}, {third, 0.4f}, {twoThirds, 0.4f}, {twoThirds, 0.6f}, {third, 0.6f},
                 {third, 0.8f}, {1, 0.8f}, {1, 1}, {0, 1}, {0, 0}}},
};
const std::vector<GlyphPath> glyphI = {
    Path{false, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}},
};
const std::vector<GlyphPath> glyphN = {
    Path{false, {{0, 0}, {third, 0}, {third, 0.5f}, {twoThirds, 0}, {1, 0}, {1, 1}, {twoThirds, 1},
                 {twoThirds, 0.5f}, {third, 1}, {0, 1}, {0, 0}}},
};
const std::vector<GlyphPath> noGlyph;

void drawGlyph(char glyph, float left, float right, float bottom, float top, float z)
{
    glLoadIdentity();
    const std::vector<CellPath> paths = glyphInCell(glyph, left, right, bottom, top);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        glBegin(paths[i].loop ? GL_LINE_LOOP : GL_LINE_STRIP);
        if (i == 0)
            glColor3f(1, 0, 0);
        for (const CellPoint& p : paths[i].points)
            glVertex3f(p.x, p.y, z);
        glEnd();
    }
}

}  // namespace

const std::vector<GlyphPath>& glyphPaths(char glyph)
{
    switch (glyph) {
    case '0': return glyph0;
    case '1': return glyph1;
    case '2': case '5': return glyph2;
    case '3': return glyph3;
    case '4': return glyph4;
    case '6': case '9': return glyph6;
    case '7': return glyph7;
    case '8': return glyph8;
    case 'F': return glyphF;
    case 'I': return glyphI;
    case 'N': return glyphN;
    default: return noGlyph;
    }
}

std::vector<CellPath> glyphInCell(char glyph, float left, float right, float bottom, float top)
{
    // A 5 is the 2 with the cell's left and right exchanged; a 9 is the 6
    // with both pairs of sides exchanged.
    if (glyph == '5')
        return glyphInCell('2', right, left, bottom, top);
    if (glyph == '9')
        return glyphInCell('6', right, left, top, bottom);
    std::vector<CellPath> paths;
    for (const GlyphPath& path : glyphPaths(glyph)) {
        CellPath placed{path.loop, {}};
        placed.points.reserve(path.points.size());
        for (const GlyphPoint& p : path.points)
            placed.points.push_back({left + p.u * (right - left), bottom + p.v * (top - bottom)});
        paths.push_back(std::move(placed));
    }
    return paths;
}

int scoreDigit(int score, int cell)
{
    double p = 1.0;
    for (int i = 0; i < cell; ++i)
        p *= 10.0;
    return static_cast<int>(score / p) % 10;
}

void drawDigitGlyph(int digit, float left, float right, float bottom, float top, float z)
{
    if (digit < 0 || digit > 9) {
        glLoadIdentity();
        return;
    }
    drawGlyph(static_cast<char>('0' + digit), left, right, bottom, top, z);
}

void drawScore()
{
    for (int i = 4; i >= 0; --i)
        drawDigitGlyph(scoreDigit(game.score, i), 24.0f - 2.5f * i, 26.0f - 2.5f * i, 23, 26, -100);
}

void drawEndWord()
{
    drawGlyph('F', -16, -5, -5, 5, -100);
    drawGlyph('I', -3, 3, -5, 5, -100);
    drawGlyph('N', 6, static_cast<float>(catchDistance), -5, 5, -100);
}
