// The score: its five digit cells in the top-right corner, the line-drawn
// digits (the 5 and the 9 derived from the 2 and the 6) and the end word.
#include "hud/score.h"
#include "overlay_frame.h"

#include <cmath>
#include <string>
#include <tuple>

namespace {

TEST(ScoreDigits, FiveCellsWithLeadingZerosAndOnlyTheLastFiveDigits)
{
    const std::pair<int, const char*> cases[] = {{0, "00000"},     {42, "00042"},    {1000, "01000"},   {123456, "23456"},
                                                 {99999, "99999"}, {100000, "00000"}, {2147483647, "83647"}};
    for (const auto& [score, shown] : cases)
        for (int cell = 0; cell < 5; ++cell)
            EXPECT_EQ(scoreDigit(score, cell), shown[4 - cell] - '0') << score << " cell " << cell;
}

TEST(GlyphCells, FiveIsTheTwoMirroredAndNineTheSixHalfTurned)
{
    const float left = 14, right = 16, bottom = 23, top = 26;
    for (const auto& [derived, base, flipV] : {std::tuple{'5', '2', false}, std::tuple{'9', '6', true}}) {
        const auto d = glyphInCell(derived, left, right, bottom, top);
        const auto& b = glyphPaths(base);
        ASSERT_EQ(d.size(), b.size());
        for (std::size_t i = 0; i < d.size(); ++i)
            for (std::size_t k = 0; k < d[i].points.size(); ++k) {
                const GlyphPoint q = b[i].points[k];
                EXPECT_NEAR(d[i].points[k].x, left + (1.0f - q.u) * (right - left), 1e-5f);
                EXPECT_NEAR(d[i].points[k].y, bottom + (flipV ? 1.0f - q.v : q.v) * (top - bottom), 1e-5f);
            }
    }
    EXPECT_TRUE(glyphInCell('x', left, right, bottom, top).empty());
    // Every glyph is made of closed outlines (the first point repeated) inside
    // its cell, block letters of straight strokes across and up but for the
    // slants of the 1 and the N.
    for (const char glyph : std::string("0123456789FIN")) {
        ASSERT_FALSE(glyphPaths(glyph).empty()) << glyph;
        for (const GlyphPath& path : glyphPaths(glyph)) {
            ASSERT_GE(path.points.size(), 5u) << glyph;
            EXPECT_TRUE(path.points.front().u == path.points.back().u && path.points.front().v == path.points.back().v) << glyph;
            for (const GlyphPoint& q : path.points)
                EXPECT_TRUE(q.u >= 0 && q.u <= 1 && q.v >= 0 && q.v <= 1) << glyph;
            for (std::size_t k = 1; k < path.points.size(); ++k)
                EXPECT_TRUE(std::string("1N").find(glyph) != std::string::npos ||
                            path.points[k - 1].u == path.points[k].u || path.points[k - 1].v == path.points[k].v)
                    << glyph << " stroke " << k;
        }
    }
}

using ScoreRender = OverlayTest;

// Pixels per eye unit at depth 100 under the game perspective (30 degrees
// up and down): 14.93 across, 11.20 up.
const double unitX = 400.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 100.0;
const double unitY = 300.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 100.0;
double pixelX(double x) { return 400.0 + unitX * x; }
int pixelYFromTop(double y) { return static_cast<int>(300.0 - unitY * y); }
// Score cell i (4: ten-thousands ... 0: units) spans x 24 - 2.5 i .. 26 - 2.5 i, y 23 .. 26.
int cellLeft(int cell) { return static_cast<int>(pixelX(24.0 - 2.5 * cell)); }
int cellRight(int cell) { return static_cast<int>(pixelX(26.0 - 2.5 * cell)); }

Frame scoreFrame(int score)
{
    game.score = score;
    return overlayFrame(drawScore);
}

TEST_F(ScoreRender, CellsSitInTheTopRightCornerEachShowingItsDigit)
{
    const Frame zeros = scoreFrame(0);
    EXPECT_TRUE(boxNear(boxOf(zeros, isRed), 609, 9, 788, 43, 2)) << boxOf(zeros, isRed);
    for (int cell = 0; cell < 5; ++cell) {   // each cell filled edge to edge by its outline
        const Box b = boxOf(zeros, isRed, cellLeft(cell) - 2, 0, cellRight(cell) + 2, 60);
        EXPECT_TRUE(boxNear(b, pixelX(24.0 - 2.5 * cell), 300.0 - unitY * 26, pixelX(26.0 - 2.5 * cell), 300.0 - unitY * 23, 1.5))
            << cell << " " << b;
    }
    EXPECT_EQ(countPixels(zeros, [](Rgb c) { return !isClearGrey(c) && !isRed(c); }), 0);
    // 42 differs from 00000 in the last two cells only, from 00040 in the
    // last, from 00002 in the tens.
    const Frame f = scoreFrame(42);
    for (const auto& [other, changed] : {std::pair{0, 0b11}, {40, 0b01}, {2, 0b10}}) {
        const Frame g = scoreFrame(other);
        for (int cell = 0; cell < 5; ++cell)
            EXPECT_EQ(differentPixels(f, g, cellLeft(cell) - 2, 0, cellRight(cell) + 2, 60) > 10, ((changed >> cell) & 1) != 0)
                << other << " cell " << cell;
    }
}

TEST_F(ScoreRender, EveryDigitHasItsOwnShapeAndOutOfRangeDrawsNothing)
{
    Frame digit[10];
    for (int d = 0; d < 10; ++d)
        digit[d] = overlayFrame([d] { drawDigitGlyph(d, 24, 26, 23, 26, -100); });
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b)
            EXPECT_GE(differentPixels(digit[a], digit[b], 740, 0, 799, 60), 12) << a << " " << b;
    for (int d : {-1, 10, 25})
        EXPECT_EQ(countPixels(overlayFrame([d] { drawDigitGlyph(d, 24, 26, 23, 26, -100); }), isRed), 0) << d;
}

TEST_F(ScoreRender, EndWordSpansTheMiddleOfTheScreen)
{
    const Frame f = overlayFrame(drawEndWord);
    EXPECT_TRUE(boxNear(boxOf(f, isRed), 161, 244, 699, 356, 2)) << boxOf(f, isRed);
    // Three letters with gaps between them: F ends at x -5, I spans -3 .. 3, N starts at 6.
    EXPECT_EQ(countPixels(f, isRed, static_cast<int>(pixelX(-4.6)), 240, static_cast<int>(pixelX(-3.4)), 360), 0);
    EXPECT_EQ(countPixels(f, isRed, static_cast<int>(pixelX(3.4)), 240, static_cast<int>(pixelX(5.6)), 360), 0);
    EXPECT_TRUE(isRed(f.at(400, pixelYFromTop(5))));   // the I's top edge
    // The N's two diagonals cross its middle column above and below an open centre.
    const int nx = static_cast<int>(pixelX(13));
    for (double y : {-2.5, 2.5})
        EXPECT_GT(countPixels(f, isRed, nx - 2, pixelYFromTop(y) - 2, nx + 2, pixelYFromTop(y) + 2), 0) << y;
    EXPECT_EQ(countPixels(f, isRed, nx - 2, 298, nx + 2, 302), 0);
}

}  // namespace
