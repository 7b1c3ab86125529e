// The score glyphs, the score's digit cells and where text lines land: no GL
// context needed.
#include "hud/hud.h"
#include "hud/score.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string digitsShown(int score)
{
    std::string s;
    for (int cell = 4; cell >= 0; --cell)
        s += static_cast<char>('0' + scoreDigit(score, cell));
    return s;
}

}  // namespace

TEST(ScoreDigits, FiveCellsWithLeadingZerosAndOnlyTheLastFiveDigits)
{
    EXPECT_EQ(digitsShown(0), "00000");
    EXPECT_EQ(digitsShown(42), "00042");
    EXPECT_EQ(digitsShown(1000), "01000");
    EXPECT_EQ(digitsShown(123456), "23456");
    EXPECT_EQ(digitsShown(99999), "99999");
    EXPECT_EQ(digitsShown(100000), "00000");
    EXPECT_EQ(digitsShown(2147483647), "83647");
    // A negative score gives negative digits, which drawDigitGlyph skips.
    EXPECT_EQ(scoreDigit(-42, 0), -2);
    EXPECT_EQ(scoreDigit(-42, 1), -4);
    EXPECT_EQ(scoreDigit(-42, 2), 0);
}

TEST(GlyphTable, EveryPathIsClosedByRepeatingItsFirstPoint)
{
    for (char g : std::string("0123456789FIN")) {
        const auto& paths = glyphPaths(g);
        ASSERT_FALSE(paths.empty()) << g;
        for (const GlyphPath& p : paths) {
            ASSERT_GE(p.points.size(), 5u) << g;
            EXPECT_FLOAT_EQ(p.points.front().u, p.points.back().u) << g;
            EXPECT_FLOAT_EQ(p.points.front().v, p.points.back().v) << g;
            for (const GlyphPoint& q : p.points) {
                EXPECT_GE(q.u, 0.0f) << g;
                EXPECT_LE(q.u, 1.0f) << g;
                EXPECT_GE(q.v, 0.0f) << g;
                EXPECT_LE(q.v, 1.0f) << g;
            }
        }
    }
    EXPECT_TRUE(glyphPaths('A').empty());
    EXPECT_TRUE(glyphPaths('\0').empty());
}

TEST(GlyphTable, PathCountsKindsAndTellingPoints)
{
    // Path counts and strip/loop kinds.
    const std::string glyphs = "0123456789FIN";
    const int counts[] = {2, 1, 1, 1, 1, 1, 2, 1, 3, 2, 1, 1, 1};
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        EXPECT_EQ(glyphPaths(glyphs[i]).size(), static_cast<std::size_t>(counts[i])) << glyphs[i];
    EXPECT_FALSE(glyphPaths('0')[0].loop);
    EXPECT_TRUE(glyphPaths('0')[1].loop);
    EXPECT_TRUE(glyphPaths('2')[0].loop);
    for (char g : std::string("1346789FIN"))
        for (const GlyphPath& p : glyphPaths(g))
            EXPECT_FALSE(p.loop) << g;

    // Point counts per path.
    EXPECT_EQ(glyphPaths('1')[0].points.size(), 7u);
    EXPECT_EQ(glyphPaths('2')[0].points.size(), 13u);
    EXPECT_EQ(glyphPaths('3')[0].points.size(), 13u);
    EXPECT_EQ(glyphPaths('4')[0].points.size(), 15u);
    EXPECT_EQ(glyphPaths('6')[0].points.size(), 9u);
    EXPECT_EQ(glyphPaths('7')[0].points.size(), 7u);
    EXPECT_EQ(glyphPaths('F')[0].points.size(), 11u);
    EXPECT_EQ(glyphPaths('N')[0].points.size(), 11u);

    // The 1's stem sits at 2 / 4.1, not at one half.
    const GlyphPoint stem = glyphPaths('1')[0].points[0];
    EXPECT_FLOAT_EQ(stem.u, 2.0f / 4.1f);
    EXPECT_FLOAT_EQ(stem.v, 0.0f);
    EXPECT_FLOAT_EQ(glyphPaths('1')[0].points[4].v, 0.6f);
    // The 4 is laid out in fifths across and sixths up.
    EXPECT_FLOAT_EQ(glyphPaths('4')[0].points[1].v, 2.0f / 6.0f);
    EXPECT_FLOAT_EQ(glyphPaths('4')[0].points[9].v, 4.0f / 6.0f);
    EXPECT_FLOAT_EQ(glyphPaths('4')[0].points[12].u, 0.2f);
    // The N's diagonals meet the middle.
    EXPECT_FLOAT_EQ(glyphPaths('N')[0].points[2].v, 0.5f);
    EXPECT_FLOAT_EQ(glyphPaths('N')[0].points[3].u, 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(glyphPaths('N')[0].points[3].v, 0.0f);
}

TEST(GlyphTable, FiveIsTheTwoMirroredAndNineTheSixHalfTurned)
{
    const float left = 14, right = 16, bottom = 23, top = 26;
    auto check = [&](char derived, char base, bool flipV) {
        const auto d = glyphInCell(derived, left, right, bottom, top);
        const auto& b = glyphPaths(base);
        ASSERT_EQ(d.size(), b.size());
        for (std::size_t i = 0; i < d.size(); ++i) {
            EXPECT_EQ(d[i].loop, b[i].loop);
            ASSERT_EQ(d[i].points.size(), b[i].points.size());
            for (std::size_t k = 0; k < d[i].points.size(); ++k) {
                const GlyphPoint q = b[i].points[k];
                const float v = flipV ? 1.0f - q.v : q.v;
                EXPECT_NEAR(d[i].points[k].x, left + (1.0f - q.u) * (right - left), 1e-5f);
                EXPECT_NEAR(d[i].points[k].y, bottom + v * (top - bottom), 1e-5f);
            }
        }
    };
    check('5', '2', false);
    check('9', '6', true);

    // No other glyph comes from another: the un-derived ones sit in the cell as listed.
    const auto seven = glyphInCell('7', left, right, bottom, top);
    ASSERT_EQ(seven.size(), 1u);
    EXPECT_FLOAT_EQ(seven[0].points[0].x, left + 2.0f / 3.0f * 2.0f);
    EXPECT_FLOAT_EQ(seven[0].points[0].y, bottom);
    EXPECT_TRUE(glyphInCell('x', left, right, bottom, top).empty());
}

TEST(TextLines, RasterPositionLandsOnTheScreenPixelOfTheGamePerspective)
{
    double px = 0, py = 0;
    textLinePixel(-155, 150, px, py);
    EXPECT_NEAR(px, 14.4, 0.1);               // from the left edge
    EXPECT_NEAR(600.0 - py, 90.0, 0.2);       // below the top edge
    textLinePixel(0, 0, px, py);
    EXPECT_DOUBLE_EQ(px, 400.0);
    EXPECT_DOUBLE_EQ(py, 300.0);
    textLinePixel(100, 140, px, py);
    EXPECT_NEAR(px, 400 + 2.48803 * 100, 0.01);
    EXPECT_NEAR(py, 300 + 1.39952 * 140, 0.01);
}
