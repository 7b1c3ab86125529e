// The score: its five digit cells, the line-drawn glyphs (the 5 and the 9
// derived from the 2 and the 6) and the end word, as numbers and as read back
// from the frame buffer.
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
    // A negative score gives negative digits, which drawDigitGlyph skips.
    EXPECT_EQ(std::tuple(scoreDigit(-42, 0), scoreDigit(-42, 1), scoreDigit(-42, 2)), std::tuple(-2, -4, 0));
}

// Every glyph is made of closed paths (the first point repeated) inside its
// cell. The table must hold these path counts and loops and points of the
// first path; the 1's stem at 2 / 4.1 (not one half), the 4 in fifths across
// and sixths up, the N's diagonals meeting the middle.
TEST(GlyphTable, ClosedPathsWithTheirCountsLoopsAndTellingPoints)
{
    const struct { char glyph; std::size_t paths, points; unsigned loops; } shapes[] = {
        {'0', 2, 0, 2},  {'1', 1, 7, 0},  {'2', 1, 13, 1}, {'3', 1, 13, 0}, {'4', 1, 15, 0}, {'5', 1, 0, 1},
        {'6', 2, 9, 0},  {'7', 1, 7, 0},  {'8', 3, 0, 0},  {'9', 2, 0, 0},  {'F', 1, 11, 0}, {'I', 1, 0, 0},
        {'N', 1, 11, 0}};
    for (const auto& t : shapes) {
        const auto& paths = glyphPaths(t.glyph);
        ASSERT_EQ(paths.size(), t.paths) << t.glyph;
        EXPECT_TRUE(t.points == 0 || paths[0].points.size() == t.points) << t.glyph << " " << paths[0].points.size();
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const auto& p = paths[i].points;
            EXPECT_EQ(paths[i].loop, ((t.loops >> i) & 1) != 0) << t.glyph << i;
            ASSERT_GE(p.size(), 5u) << t.glyph;
            EXPECT_TRUE(p.front().u == p.back().u && p.front().v == p.back().v) << t.glyph;
            for (const GlyphPoint& q : p)
                EXPECT_TRUE(q.u >= 0 && q.u <= 1 && q.v >= 0 && q.v <= 1) << t.glyph;
        }
    }
    EXPECT_TRUE(glyphPaths('A').empty() && glyphPaths('\0').empty());
    const struct { char glyph; int point; char axis; float value; } telling[] = {
        {'1', 0, 'u', 2.0f / 4.1f}, {'1', 0, 'v', 0.0f}, {'1', 4, 'v', 0.6f}, {'4', 1, 'v', 2.0f / 6.0f},
        {'4', 9, 'v', 4.0f / 6.0f}, {'4', 12, 'u', 0.2f}, {'N', 2, 'v', 0.5f}, {'N', 3, 'u', 2.0f / 3.0f},
        {'N', 3, 'v', 0.0f}};
    for (const auto& t : telling) {
        const GlyphPoint q = glyphPaths(t.glyph)[0].points[t.point];
        EXPECT_FLOAT_EQ(t.axis == 'u' ? q.u : q.v, t.value) << t.glyph << t.point << t.axis;
    }
}

TEST(GlyphTable, FiveIsTheTwoMirroredAndNineTheSixHalfTurned)
{
    const float left = 14, right = 16, bottom = 23, top = 26;
    for (const auto& [derived, base, flipV] : {std::tuple{'5', '2', false}, std::tuple{'9', '6', true}}) {
        const auto d = glyphInCell(derived, left, right, bottom, top);
        const auto& b = glyphPaths(base);
        ASSERT_EQ(d.size(), b.size());
        for (std::size_t i = 0; i < d.size(); ++i) {
            EXPECT_EQ(d[i].loop, b[i].loop);
            ASSERT_EQ(d[i].points.size(), b[i].points.size());
            for (std::size_t k = 0; k < d[i].points.size(); ++k) {
                const GlyphPoint q = b[i].points[k];
                EXPECT_NEAR(d[i].points[k].x, left + (1.0f - q.u) * (right - left), 1e-5f);
                EXPECT_NEAR(d[i].points[k].y, bottom + (flipV ? 1.0f - q.v : q.v) * (top - bottom), 1e-5f);
            }
        }
    }
    // No other glyph comes from another: the un-derived ones sit in the cell as listed.
    const auto seven = glyphInCell('7', left, right, bottom, top);
    ASSERT_EQ(seven.size(), 1u);
    EXPECT_FLOAT_EQ(seven[0].points[0].x, left + 2.0f / 3.0f * 2.0f);
    EXPECT_FLOAT_EQ(seven[0].points[0].y, bottom);
    EXPECT_TRUE(glyphInCell('x', left, right, bottom, top).empty());
}

using ScoreRender = OverlayTest;

// Pixels per eye unit at depth 100 under the game perspective.
const double unitX = 400.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 100.0;   // 14.93
const double unitY = 300.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 100.0;   // 11.20
double pixelX(double x) { return 400.0 + unitX * x; }
int pixelYFromTop(double y) { return static_cast<int>(300.0 - unitY * y); }

// The red pixels of score cell i (4: ten-thousands ... 0: units) within the
// cell's bounding box, so cells can be compared with each other.
struct Mask {
    int width = 0, height = 0;
    std::vector<bool> on;
    bool lit(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && on[y * width + x]; }
};

Mask cellMask(const Frame& f, int cell)
{
    const int x0 = static_cast<int>(std::floor(pixelX(24.0 - 2.5 * cell))) - 1;
    const int x1 = std::min(static_cast<int>(std::ceil(pixelX(26.0 - 2.5 * cell))) + 1, frameWidth - 1);
    const Box b = boxOf(f, isRed, x0, 0, x1, 60);
    Mask m;
    if (!b.empty())
        scan(f, isRed, b.left, b.top, b.right, b.bottom, [&](int, int, bool hit) { m.on.push_back(hit); });
    m.width = b.empty() ? 0 : b.width();
    m.height = b.empty() ? 0 : b.height();
    return m;
}

// Lit pixels of either mask with no lit pixel of the other within one pixel,
// at the best alignment within a pixel each way: lines of equal glyphs may
// fall a pixel apart where the cells sit differently on the pixel grid. With
// mirror the second is compared mirrored left to right, with turn also upside
// down.
int maskDifference(const Mask& a, const Mask& b, bool mirror = false, bool turn = false)
{
    const int w = std::max(a.width, b.width) + 2, h = std::max(a.height, b.height) + 2;
    int best = w * h;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            auto litB = [&](int x, int y) {
                return b.lit(mirror ? b.width - 1 - x - dx : x + dx, turn ? b.height - 1 - y - dy : y + dy);
            };
            auto litA = [&](int x, int y) { return a.lit(x, y); };
            auto near3 = [](auto lit, int x, int y) {
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        if (lit(x + i, y + j))
                            return true;
                return false;
            };
            int n = 0;
            for (int y = -2; y < h; ++y)
                for (int x = -2; x < w; ++x)
                    n += (litA(x, y) && !near3(litB, x, y)) + (litB(x, y) && !near3(litA, x, y));
            best = std::min(best, n);
        }
    return best;
}

Frame drawScoreFrame(int score)
{
    game.score = score;
    return overlayFrame(drawScore);
}

// Equal glyphs measure 0 apart, the closest different ones (5 and 6) 20.
constexpr int sameGlyph = 2, otherGlyph = 12;

TEST_F(ScoreRender, ScoreCellsSitInTheTopRightCorner)
{
    const Frame f = drawScoreFrame(42);
    const Box red = boxOf(f, isRed);
    EXPECT_TRUE(boxNear(red, 609, 9, 788, 43, 2)) << red;
    // Every cell is filled edge to edge by its outline, 2 x 3 units.
    for (int cell = 0; cell < 5; ++cell) {
        const double left = pixelX(24.0 - 2.5 * cell), right = pixelX(26.0 - 2.5 * cell);
        const Box b = boxOf(f, isRed, static_cast<int>(left) - 2, 0, static_cast<int>(right) + 2, 60);
        EXPECT_TRUE(boxNear(b, left, 300.0 - unitY * 26, right, 300.0 - unitY * 23, 1.5)) << cell << " " << b;
    }
    // Nothing else on the screen.
    EXPECT_EQ(countPixels(f, [](Rgb c) { return !isClearGrey(c) && !isRed(c); }, 0, 0, 600, 599), 0);
}

TEST_F(ScoreRender, The42ShowsThreeEqualZerosAFourAndATwo)
{
    const Frame f = drawScoreFrame(42);
    const Mask zero = cellMask(f, 4), four = cellMask(f, 1), two = cellMask(f, 0);
    EXPECT_LE(std::max(maskDifference(zero, cellMask(f, 3)), maskDifference(zero, cellMask(f, 2))), sameGlyph);
    EXPECT_GE(std::min({maskDifference(zero, four), maskDifference(zero, two), maskDifference(four, two)}), otherGlyph);
}

TEST_F(ScoreRender, EveryDigitHasItsOwnShapeAndOutOfRangeDrawsNothing)
{
    Mask digit[10];
    for (int d = 0; d < 10; ++d)
        digit[d] = cellMask(overlayFrame([d] { drawDigitGlyph(d, 24, 26, 23, 26, -100); }), 0);
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b)
            EXPECT_GE(maskDifference(digit[a], digit[b]), otherGlyph) << a << " " << b;
    for (int d : {-1, 10, 22, 25, 30})
        EXPECT_EQ(countPixels(overlayFrame([d] { drawDigitGlyph(d, 24, 26, 23, 26, -100); }), isRed), 0) << d;
}

TEST_F(ScoreRender, EndWordSpansTheMiddleOfTheScreen)
{
    drawEndWord();
    const Frame f = grabFrame();
    const Box red = boxOf(f, isRed);
    EXPECT_TRUE(boxNear(red, 161, 244, 699, 356, 2)) << red;
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
