// The menu pages: the picture over the whole window and the cursor ball on
// its item, read back from the frame buffer.
#include "hud/screens.h"
#include "overlay_frame.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>

namespace {

// 2 x 2 pictures, rows bottom first: none of their colours is magenta or blue.
const std::array<unsigned char, 12> quadrantsA = {40, 200, 40,  200, 200, 40,     // bottom: green, yellow
                                                  200, 40, 40,  40, 160, 160};    // top: red, teal
const std::array<unsigned char, 12> quadrantsB = {90, 90, 30,  90, 90, 30,  90, 90, 30,  90, 90, 30};
const std::array<unsigned char, 12> quadrantsC = {30, 90, 90,  30, 90, 90,  30, 90, 90,  30, 90, 90};
const std::array<unsigned char, 12> quadrantsD = {170, 120, 60,  170, 120, 60,  170, 120, 60,  170, 120, 60};
const std::array<unsigned char, 12> quadrantsE = {60, 60, 60,  100, 100, 100,  140, 140, 140,  180, 180, 180};

GLuint makePicture(const std::array<unsigned char, 12>& rgb)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

Rgb texel(const std::array<unsigned char, 12>& rgb, int column, int rowFromBottom)
{
    const int i = (rowFromBottom * 2 + column) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

class MenuPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        resetHudState();
        saved = game;
        pictures[0] = makePicture(quadrantsA);
        pictures[1] = makePicture(quadrantsB);
        pictures[2] = makePicture(quadrantsC);
        pictures[3] = makePicture(quadrantsD);
        pictures[4] = makePicture(quadrantsE);
        for (int i = 0; i < 3; ++i)
            game.titleTextures[i] = textureNameToFloat(pictures[i]);
        game.goalMenuTexture = pictures[3];
        game.helpTexture = pictures[4];
        // The menu runs before the game sets up depth testing and culling.
        beginOverlayFrame();
        glDisable(GL_CULL_FACE);
    }
    void TearDown() override
    {
        if (pictures[0] != 0)
            glDeleteTextures(5, pictures);
        for (int i = 0; i < 3; ++i)
            game.titleTextures[i] = saved.titleTextures[i];
        game.goalMenuTexture = saved.goalMenuTexture;
        game.helpTexture = saved.helpTexture;
        resetHudState();
        glEnable(GL_CULL_FACE);
    }
    GameState saved;
    GLuint pictures[5] = {0, 0, 0, 0, 0};
};

// The cursor ball: its centre row is the middle of the rows where the magenta
// is widest (the equator; the blue balls above cover only its upper part),
// its centre column the middle of that width.
struct Ball {
    double centreX = -1, centreY = -1;
    int width = 0;
};

Ball findBall(const Frame& f)
{
    Ball ball;
    const Box box = boxOf(f, isMagenta);
    if (box.empty())
        return ball;
    int widest = 0;
    for (int y = box.top; y <= box.bottom; ++y)
        widest = std::max(widest, boxOf(f, isMagenta, box.left, y, box.right, y).width());
    double rows = 0, rowSum = 0, columnSum = 0;
    for (int y = box.top; y <= box.bottom; ++y) {
        const Box row = boxOf(f, isMagenta, box.left, y, box.right, y);
        if (row.width() >= widest - 1) {
            rows += 1;
            rowSum += y;
            columnSum += (row.left + row.right) / 2.0;
        }
    }
    ball.centreX = columnSum / rows;
    ball.centreY = rowSum / rows;
    ball.width = widest;
    return ball;
}

// Expected ball centre below the top: the middle, then 8 units per step at
// depth 115 (77.9 px).
double ballRow(double step)
{
    return 300.0 + 8.0 * step * 300.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 115.0;
}

}  // namespace

TEST_F(MenuPages, TitlePictureFillsTheWindowStretchedFromItsCorners)
{
    drawTitleScreen();
    const Frame f = grabFrame();
    // Quadrants: the picture's top row at the top of the window.
    EXPECT_TRUE(near(f.at(60, 60), texel(quadrantsA, 0, 1), 4));
    EXPECT_TRUE(near(f.at(740, 60), texel(quadrantsA, 1, 1), 4));
    EXPECT_TRUE(near(f.at(60, 560), texel(quadrantsA, 0, 0), 4));
    EXPECT_TRUE(near(f.at(740, 560), texel(quadrantsA, 1, 0), 4));
    // The square covers 99.5 % of the window each way: two columns and one
    // row stay clear at the edges.
    EXPECT_TRUE(isClearGrey(f.at(0, 300)));
    EXPECT_TRUE(isClearGrey(f.at(799, 300)));
    EXPECT_TRUE(isClearGrey(f.at(400, 0)));
    EXPECT_TRUE(isClearGrey(f.at(400, 599)));
    EXPECT_TRUE(near(f.at(3, 300), texel(quadrantsA, 0, 0), 4));
    EXPECT_TRUE(near(f.at(796, 300), texel(quadrantsA, 1, 0), 4));
    EXPECT_TRUE(near(f.at(400, 3), texel(quadrantsA, 1, 1), 4));
    EXPECT_TRUE(near(f.at(400, 596), texel(quadrantsA, 1, 0), 4));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(MenuPages, DifficultyChoosesTheTitlePicture)
{
    const std::array<unsigned char, 12>* expected[3] = {&quadrantsA, &quadrantsB, &quadrantsC};
    for (int d = 0; d < 3; ++d) {
        game.difficulty = d;
        beginOverlayFrame();
        glDisable(GL_CULL_FACE);
        drawTitleScreen();
        const Frame f = grabFrame();
        EXPECT_TRUE(near(f.at(740, 560), texel(*expected[d], 1, 0), 4)) << d;
    }
}

TEST_F(MenuPages, CursorBallMarksTheTitleItem)
{
    for (int step : {0, 1, 2, 3}) {
        game.menuCursor = static_cast<float>(step);
        beginOverlayFrame();
        glDisable(GL_CULL_FACE);
        drawTitleScreen();
        const Frame f = grabFrame();
        const Ball ball = findBall(f);
        EXPECT_NEAR(ball.centreX, 140.4, 2) << step;
        EXPECT_NEAR(ball.centreY, ballRow(step), 2) << step;
        EXPECT_NEAR(ball.width, 78, 3) << step;
        // Two small blue balls above it to the left and the right.
        const int y = static_cast<int>(ballRow(step) - 26);
        EXPECT_TRUE(isBlue(f.at(121, y))) << step;
        EXPECT_TRUE(isBlue(f.at(160, y))) << step;
        if (step == 0 || step == 3)
            saveScreenshot("menu_title_step" + std::to_string(step));
    }
    EXPECT_NEAR(ballRow(0), 300, 0.5);
    EXPECT_NEAR(ballRow(3), 534, 0.5);
}

TEST_F(MenuPages, GoalPageShowsItsPictureAndTheGoalAsCursorStep)
{
    game.menuCursor = 0;
    for (int goal : {0, 2, 3}) {
        game.goalMode = goal;
        beginOverlayFrame();
        glDisable(GL_CULL_FACE);
        drawGoalScreen();
        const Frame f = grabFrame();
        EXPECT_TRUE(near(f.at(740, 60), texel(quadrantsD, 1, 1), 4));
        const Ball ball = findBall(f);
        EXPECT_NEAR(ball.centreX, 140.4, 2) << goal;
        EXPECT_NEAR(ball.centreY, ballRow(goal), 2) << goal;
    }
    // The last goal puts the ball's centre 612 px down, below the window's
    // edge: only its top and the two blue balls show.
    game.goalMode = 4;
    beginOverlayFrame();
    glDisable(GL_CULL_FACE);
    drawGoalScreen();
    const Frame f = grabFrame();
    const Box magenta = boxOf(f, isMagenta);
    ASSERT_FALSE(magenta.empty());
    EXPECT_NEAR(magenta.top, ballRow(4) - 29.2, 2);
    EXPECT_EQ(magenta.bottom, 599);
    EXPECT_TRUE(isBlue(f.at(121, static_cast<int>(ballRow(4) - 26))));
}

TEST_F(MenuPages, PausePageShowsTheHelpPictureAndNoCursor)
{
    for (float cursor : {0.0f, 2.0f}) {
        game.menuCursor = cursor;
        game.goalMode = 1;
        beginOverlayFrame();
        glEnable(GL_DEPTH_TEST);   // the pause page comes up in play
        drawPauseScreen();
        glDisable(GL_DEPTH_TEST);
        const Frame f = grabFrame();
        EXPECT_EQ(countPixels(f, isMagenta), 0);
        EXPECT_EQ(countPixels(f, isBlue), 0);
        EXPECT_TRUE(near(f.at(60, 560), texel(quadrantsE, 0, 0), 4));
        EXPECT_TRUE(near(f.at(740, 60), texel(quadrantsE, 1, 1), 4));
        EXPECT_TRUE(near(f.at(140, 300), texel(quadrantsE, 0, 0), 4));
    }
}

// The title picture made by the asset generator, when it has been made.
TEST_F(MenuPages, GeneratedTitlePictureCoversTheWindow)
{
    std::string path = "Textures/sp1.tga";
    if (!std::filesystem::exists(path))
        path = std::string(ORBITOR_SOURCE_DIR) + "/build/assets/Textures/sp1.tga";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no generated sp1.tga yet";

    GLuint real = 0;
    glGenTextures(1, &real);
    glBindTexture(GL_TEXTURE_2D, real);
    ASSERT_EQ(glfwLoadTexture2D(path.c_str(), GLFW_BUILD_MIPMAPS_BIT), 1);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    std::vector<unsigned char> image(static_cast<std::size_t>(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);   // compare without mipmap blur
    glBindTexture(GL_TEXTURE_2D, 0);

    game.titleTextures[0] = textureNameToFloat(real);
    game.difficulty = 0;
    game.menuCursor = 0;
    beginOverlayFrame();
    glDisable(GL_CULL_FACE);
    drawTitleScreen();
    const Frame f = grabFrame();
    saveScreenshot("menu_title_generated");

    // Screen pixels against the picture's texels, away from the cursor.
    const double cover = 4.0 / std::tan(15.0 * 3.14159265358979 / 180.0) / 15.0;
    int compared = 0, alike = 0;
    for (int sy = 20; sy < 600; sy += 37)
        for (int sx = 20; sx < 800; sx += 41) {
            if (sx > 80 && sx < 200 && sy > 240 && sy < 340)
                continue;
            const double u = ((sx + 0.5 - 400.0) / (400.0 * cover) + 1.0) / 2.0;
            const double v = ((300.0 - (sy + 0.5)) / (300.0 * cover) + 1.0) / 2.0;
            const int tx = std::clamp(static_cast<int>(u * w), 0, w - 1);
            const int ty = std::clamp(static_cast<int>(v * h), 0, h - 1);
            const std::size_t i = (static_cast<std::size_t>(ty) * w + tx) * 3;
            ++compared;
            alike += near(f.at(sx, sy), {image[i], image[i + 1], image[i + 2]}, 48) ? 1 : 0;
        }
    EXPECT_GE(alike, compared * 85 / 100) << alike << " of " << compared;
    EXPECT_GT(countPixels(f, isMagenta), 1000);
    glDeleteTextures(1, &real);
}
