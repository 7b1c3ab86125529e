// The line-drawn score digits and end word, read back from the frame buffer.
#include "hud/score.h"
#include "overlay_frame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ScoreRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        resetHudState();
        beginOverlayFrame();
    }
    void TearDown() override { resetHudState(); }
};

// Pixels per eye unit at depth 100 under the game perspective.
const double unitX = 400.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 100.0;   // 14.93
const double unitY = 300.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 100.0;   // 11.20

double pixelX(double x) { return 400.0 + unitX * x; }
double pixelYFromTop(double y) { return 300.0 - unitY * y; }

// The red pixels of score cell i (4: ten-thousands ... 0: units) as a mask of
// the cell's bounding box, so cells can be compared with each other.
struct Mask {
    int width = 0, height = 0;
    std::vector<bool> on;
    bool at(int x, int y) const { return on[static_cast<std::size_t>(y) * width + x]; }
};

Mask cellMask(const Frame& f, int cell)
{
    const int x0 = static_cast<int>(std::floor(pixelX(24.0 - 2.5 * cell))) - 1;
    const int x1 = static_cast<int>(std::ceil(pixelX(26.0 - 2.5 * cell))) + 1;
    const Box b = boxOf(f, isRed, x0, 0, std::min(x1, frameWidth - 1), 60);
    Mask m;
    if (b.empty())
        return m;
    m.width = b.width();
    m.height = b.height();
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x)
            m.on.push_back(isRed(f.at(x, y)));
    return m;
}

// Lit pixels of either mask with no lit pixel of the other within one pixel,
// at the best alignment within a pixel each way: lines of equal glyphs may
// fall a pixel apart where the cells sit differently on the pixel grid. With
// mirror the second is compared mirrored left to right, with turn also upside
// down.
int maskDifference(const Mask& a, const Mask& b, bool mirror = false, bool turn = false)
{
    auto litB = [&](int x, int y) {
        const int bx = mirror ? b.width - 1 - x : x;
        const int by = turn ? b.height - 1 - y : y;
        return bx >= 0 && by >= 0 && bx < b.width && by < b.height && b.at(bx, by);
    };
    auto litA = [&](int x, int y) { return x >= 0 && y >= 0 && x < a.width && y < a.height && a.at(x, y); };
    auto near3 = [](auto lit, int x, int y) {
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i)
                if (lit(x + i, y + j))
                    return true;
        return false;
    };
    const int w = std::max(a.width, b.width) + 2, h = std::max(a.height, b.height) + 2;
    int best = w * h;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            auto shiftedB = [&](int x, int y) { return litB(x + dx, y + dy); };
            int n = 0;
            for (int y = -2; y < h; ++y)
                for (int x = -2; x < w; ++x) {
                    if (litA(x, y) && !near3(shiftedB, x, y))
                        ++n;
                    if (shiftedB(x, y) && !near3(litA, x, y))
                        ++n;
                }
            best = std::min(best, n);
        }
    return best;
}

Frame drawScoreFrame(int score)
{
    game.score = score;
    beginOverlayFrame();
    drawScore();
    return grabFrame();
}

// Equal glyphs measure 0 apart, the closest different ones (5 and 6) 20.
constexpr int sameGlyph = 2;
constexpr int otherGlyph = 12;

}  // namespace

TEST_F(ScoreRender, ScoreCellsSitInTheTopRightCorner)
{
    const Frame f = drawScoreFrame(42);
    const Box red = boxOf(f, isRed);
    ASSERT_FALSE(red.empty());
    EXPECT_NEAR(red.left, 609, 2);
    EXPECT_NEAR(red.right, 788, 2);
    EXPECT_NEAR(red.top, 9, 2);
    EXPECT_NEAR(red.bottom, 43, 2);
    // Every cell is filled edge to edge by its outline, 2 x 3 units.
    for (int cell = 0; cell < 5; ++cell) {
        const Box b = boxOf(f, isRed, static_cast<int>(pixelX(24.0 - 2.5 * cell)) - 2, 0,
                            static_cast<int>(pixelX(26.0 - 2.5 * cell)) + 2, 60);
        EXPECT_NEAR(b.left, pixelX(24.0 - 2.5 * cell), 1.5) << cell;
        EXPECT_NEAR(b.right, pixelX(26.0 - 2.5 * cell), 1.5) << cell;
        EXPECT_NEAR(b.top, pixelYFromTop(26), 1.5) << cell;
        EXPECT_NEAR(b.bottom, pixelYFromTop(23), 1.5) << cell;
    }
    // Nothing else on the screen.
    EXPECT_EQ(countPixels(f, [](Rgb c) { return !isClearGrey(c) && !isRed(c); }, 0, 0, 600, 599), 0);
}

TEST_F(ScoreRender, DigitsOf42ShowAsZeroZeroZeroFourTwo)
{
    const Frame f = drawScoreFrame(42);
    const Mask c4 = cellMask(f, 4), c3 = cellMask(f, 3), c2 = cellMask(f, 2);
    const Mask four = cellMask(f, 1), two = cellMask(f, 0);
    EXPECT_LE(maskDifference(c4, c3), sameGlyph);
    EXPECT_LE(maskDifference(c4, c2), sameGlyph);
    EXPECT_GE(maskDifference(c4, four), otherGlyph);
    EXPECT_GE(maskDifference(c4, two), otherGlyph);
    EXPECT_GE(maskDifference(four, two), otherGlyph);

    // The same glyphs with 0 as the score: five zeros like the first three.
    const Frame zero = drawScoreFrame(0);
    for (int cell = 0; cell < 5; ++cell)
        EXPECT_LE(maskDifference(cellMask(zero, cell), c4), sameGlyph) << cell;
    // A four and a two in the same cells as before.
    const Frame again = drawScoreFrame(24042);
    EXPECT_LE(maskDifference(cellMask(again, 1), four), sameGlyph);
    EXPECT_LE(maskDifference(cellMask(again, 4), two), sameGlyph);
}

TEST_F(ScoreRender, ThousandShowsItsOneInTheSecondCell)
{
    const Frame f = drawScoreFrame(1000);
    const Mask one = cellMask(f, 3);
    // The 1 stands at x 16.5 .. 18.5.
    const Box b = boxOf(f, isRed, 640, 0, 680, 60);
    EXPECT_NEAR(b.left, pixelX(16.5), 1.5);
    EXPECT_NEAR(b.right, pixelX(18.5), 1.5);
    for (int cell : {4, 2, 1, 0}) {
        EXPECT_GE(maskDifference(cellMask(f, cell), one), otherGlyph) << cell;
        EXPECT_LE(maskDifference(cellMask(f, cell), cellMask(f, 4)), sameGlyph) << cell;
    }
}

TEST_F(ScoreRender, DerivedDigitsAreMirrorAndHalfTurnOnScreen)
{
    // 123456 shows 23456: five different glyphs, the 5 the mirrored 2.
    const Frame f = drawScoreFrame(123456);
    Mask m[5];
    for (int cell = 0; cell < 5; ++cell)
        m[cell] = cellMask(f, cell);   // cell 4 shows 2, cell 1 shows 5
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b)
            EXPECT_GE(maskDifference(m[a], m[b]), otherGlyph) << a << " " << b;
    EXPECT_LE(maskDifference(m[1], m[4], true), sameGlyph);

    // 96: the 9 is the 6 turned half a turn.
    const Frame g = drawScoreFrame(96);
    const Mask nine = cellMask(g, 1), six = cellMask(g, 0);
    EXPECT_GE(maskDifference(nine, six), otherGlyph);
    EXPECT_LE(maskDifference(nine, six, true, true), sameGlyph);

    // Every digit drawn alone has its own shape; out of range draws nothing.
    Mask digit[10];
    for (int d = 0; d < 10; ++d) {
        beginOverlayFrame();
        drawDigitGlyph(d, 24, 26, 23, 26, -100);
        digit[d] = cellMask(grabFrame(), 0);
    }
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b)
            EXPECT_GE(maskDifference(digit[a], digit[b]), otherGlyph) << a << " " << b;
    for (int d : {-1, 10, 22, 25, 30}) {
        beginOverlayFrame();
        drawDigitGlyph(d, 24, 26, 23, 26, -100);
        EXPECT_EQ(countPixels(grabFrame(), isRed), 0) << d;
    }
}

TEST_F(ScoreRender, EndWordSpansTheMiddleOfTheScreen)
{
    drawEndWord();
    const Frame f = grabFrame();
    const Box red = boxOf(f, isRed);
    ASSERT_FALSE(red.empty());
    EXPECT_NEAR(red.left, 161, 2);
    EXPECT_NEAR(red.right, 699, 2);
    EXPECT_NEAR(red.top, 244, 2);
    EXPECT_NEAR(red.bottom, 356, 2);
    // Three letters with gaps between them: F ends at x -5, I spans -3 .. 3, N starts at 6.
    EXPECT_EQ(countPixels(f, isRed, static_cast<int>(pixelX(-4.6)), 240, static_cast<int>(pixelX(-3.4)), 360), 0);
    EXPECT_EQ(countPixels(f, isRed, static_cast<int>(pixelX(3.4)), 240, static_cast<int>(pixelX(5.6)), 360), 0);
    EXPECT_TRUE(isRed(f.at(400, static_cast<int>(pixelYFromTop(5)))));     // the I's top edge
    // The N's two diagonals cross its middle column above and below an open centre.
    const int nx = static_cast<int>(pixelX(13));
    EXPECT_GT(countPixels(f, isRed, nx - 2, static_cast<int>(pixelYFromTop(-2.5)) - 2, nx + 2,
                          static_cast<int>(pixelYFromTop(-2.5)) + 2), 0);
    EXPECT_GT(countPixels(f, isRed, nx - 2, static_cast<int>(pixelYFromTop(2.5)) - 2, nx + 2,
                          static_cast<int>(pixelYFromTop(2.5)) + 2), 0);
    EXPECT_EQ(countPixels(f, isRed, nx - 2, 298, nx + 2, 302), 0);
}
