// The menu pages: the picture over the whole window and the cursor ball on
// its item, read back from the frame buffer.
#include "hud/screens.h"
#include "overlay_frame.h"
#include "state/resources.h"

#include <cmath>

namespace {

using Picture = std::array<unsigned char, 12>;

// 2 x 2 pictures, rows bottom first: none of their colours is magenta or blue.
Picture plain(unsigned char r, unsigned char g, unsigned char b) { return {r, g, b, r, g, b, r, g, b, r, g, b}; }
const Picture pictures[5] = {
    {40, 200, 40, 200, 200, 40, 200, 40, 40, 40, 160, 160},   // bottom: green, yellow; top: red, teal
    plain(90, 90, 30), plain(30, 90, 90),                     // the other two title pages
    plain(170, 120, 60),                                      // goal page
    {60, 60, 60, 100, 100, 100, 140, 140, 140, 180, 180, 180}};   // help page

Rgb texel(const Picture& rgb, int column, int rowFromBottom)
{
    const int i = (rowFromBottom * 2 + column) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

class MenuPages : public OverlayTest {
protected:
    void SetUp() override
    {
        OverlayTest::SetUp();
        if (IsSkipped())
            return;
        for (int i = 0; i < 5; ++i)
            names[i] = makeTexture(pictures[i]);
        for (int i = 0; i < 3; ++i)
            resources.titleTextures[i] = textureNameToFloat(names[i]);
        resources.goalMenuTexture = names[3];
        resources.helpTexture = names[4];
    }
    void TearDown() override
    {
        if (names[0] != 0)
            glDeleteTextures(5, names);
        std::fill_n(resources.titleTextures, 3, 0.0f);   // back at the start values
        resources.goalMenuTexture = resources.helpTexture = 0;
        OverlayTest::TearDown();
        glEnable(GL_CULL_FACE);
    }
    GLuint names[5] = {0, 0, 0, 0, 0};
};

// A menu page as the menu loop draws it: before the game sets up depth
// testing and culling.
template <typename Draw>
Frame menuFrame(Draw draw)
{
    return overlayFrame([&] {
        glDisable(GL_CULL_FACE);
        draw();
    });
}

// Expected ball centre below the top: the middle, then 8 units per step at
// depth 115 (77.9 px).
double ballRow(double step) { return 300.0 + 8.0 * step * 300.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 115.0; }

// The magenta cursor ball about x 140.4 and the row of `step`, 78 x 58 px
// (its top hidden by two small blue balls, its bottom maybe by the window's
// edge).
::testing::AssertionResult ballAt(const Frame& f, double step)
{
    const Box b = boxOf(f, isMagenta);
    const double centre = ballRow(step);
    const int blueRow = static_cast<int>(centre - 26);
    const bool whole = centre + 29.2 < 599;
    if (std::abs((b.left + b.right) / 2.0 - 140.4) <= 2 && isBlue(f.at(121, blueRow)) && isBlue(f.at(160, blueRow)) &&
        (whole ? std::abs(b.width() - 78) <= 3 && std::abs(b.bottom - (centre + 29.2)) <= 3
               : b.bottom == 599 && std::abs(b.top - (centre - 29.2)) <= 2))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "ball " << b << ", row " << centre;
}

TEST_F(MenuPages, TitlePictureFillsTheWindowStretchedFromItsCornersByDifficulty)
{
    const Frame f = menuFrame(drawTitleScreen);
    // Quadrants: the picture's top row at the top of the window. The square
    // covers 99.5 % of the window each way: two columns and one row stay
    // clear at the edges.
    const struct { int x, y, column, row; } texels[] = {
        {60, 60, 0, 1},  {740, 60, 1, 1}, {60, 560, 0, 0}, {740, 560, 1, 0},
        {3, 300, 0, 0},  {796, 300, 1, 0}, {400, 3, 1, 1}, {400, 596, 1, 0}};
    for (const auto& t : texels)
        EXPECT_TRUE(near(f.at(t.x, t.y), texel(pictures[0], t.column, t.row), 4)) << t.x << "," << t.y;
    for (const auto& [x, y] : {std::pair{0, 300}, {799, 300}, {400, 0}, {400, 599}})
        EXPECT_TRUE(isClearGrey(f.at(x, y))) << x << "," << y;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_COLOR_MATERIAL) || glIsEnabled(GL_BLEND));
    // The difficulty chooses the picture.
    for (int d = 1; d < 3; ++d) {
        game.difficulty = d;
        EXPECT_TRUE(near(menuFrame(drawTitleScreen).at(740, 560), texel(pictures[d], 1, 0), 4)) << d;
    }
}

TEST_F(MenuPages, CursorBallMarksTheTitleItemAndTheGoal)
{
    for (int step : {0, 1, 2, 3}) {
        game.menuCursor = static_cast<float>(step);
        EXPECT_TRUE(ballAt(menuFrame(drawTitleScreen), step)) << step;
    }
    // The goal page: its picture and the goal as the cursor's step; the last
    // goal's ball reaches below the window's edge.
    for (int goal : {0, 2, 3, 4}) {
        game.goalMode = goal;
        const Frame f = menuFrame(drawGoalScreen);
        EXPECT_TRUE(near(f.at(740, 60), texel(pictures[3], 1, 1), 4));
        EXPECT_TRUE(ballAt(f, goal)) << goal;
    }
}

TEST_F(MenuPages, PausePageShowsTheHelpPictureAndNoCursor)
{
    game.goalMode = 1;
    game.menuCursor = 2;
    const Frame f = overlayFrame([] {
        glEnable(GL_DEPTH_TEST);   // the pause page comes up in play
        drawPauseScreen();
        glDisable(GL_DEPTH_TEST);
    });
    EXPECT_EQ(countPixels(f, isMagenta) + countPixels(f, isBlue), 0);
    EXPECT_TRUE(near(f.at(60, 560), texel(pictures[4], 0, 0), 4) && near(f.at(740, 60), texel(pictures[4], 1, 1), 4));
}

}  // namespace
