// Drawing the character, checked by reading back pixels in the game's
// perspective (800 x 600, 30 degrees, aspect 1.0).
#include "entities/md2_render_fixture.h"

using namespace md2test;

TEST_F(Md2RenderTest, CharacterIsDrawnWhereTheTransformPutsIt)
{
    drawFrame();
    saveScreenshot("md2_coloured_model");
    for (const Tri& tri : colouredTris) {
        const double cy = (tri.y[0] + tri.y[1] + tri.y[2]) / 3.0;
        const double cz = (tri.z[0] + tri.z[1] + tri.z[2]) / 3.0;
        const ScreenPoint at = project(0, cy, cz, game.pitch);
        const Rgb seen = readPixel(at.x, at.y);
        EXPECT_TRUE(near(seen, tri.colour)) << "at " << at.x << "," << at.y << " " << text(seen);
        // A corner of the triangle, pulled a little inside, is coloured too.
        const ScreenPoint corner = project(0, (tri.y[0] * 4 + cy) / 5, (tri.z[0] * 4 + cz) / 5, game.pitch);
        EXPECT_TRUE(near(readPixel(corner.x, corner.y), tri.colour)) << corner.x << "," << corner.y;
    }
    // Below the eye: the upper part of the screen and its sides stay clear.
    for (ScreenPoint p : {ScreenPoint{5, 5}, {400, 5}, {795, 5}, {150, 100}, {650, 100}, {5, 590},
                          {795, 590}, {400, 590}})
        EXPECT_TRUE(near(readPixel(p.x, p.y), clearColour)) << p.x << "," << p.y;
    // Between the red and green triangles the background shows.
    const ScreenPoint gap = project(0, 0, 26, game.pitch);
    EXPECT_TRUE(near(readPixel(gap.x, gap.y), clearColour));
    // The blue triangle's tip is at the top of the figure, near the centre.
    const ScreenPoint tip = project(0, 0, 42, game.pitch);
    EXPECT_NEAR(tip.x, 400, 1);
    EXPECT_LT(tip.y, 300);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));   // back on after the model
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Md2RenderTest, CharacterStaysInPlaceWhenThePlayerWalksOrTurns)
{
    const std::vector<unsigned char> still = drawFrame();
    game.playerX = 345.0;
    game.playerZ = -210.0;
    game.heading = 135.0f;
    const std::vector<unsigned char> moved = drawFrame();
    saveScreenshot("md2_walked_and_turned");
    EXPECT_TRUE(still == moved);
    EXPECT_GT(coverage(moved).drawn, 20000);

    // Looking down moves it up the screen.
    game.pitch = 30.0;
    const std::vector<unsigned char> lookingDown = drawFrame();
    EXPECT_FALSE(still == lookingDown);
    const ScreenPoint redCentre = project(0, -17.0 / 3, 78.0 / 3, 30.0);
    EXPECT_TRUE(near(readPixel(redCentre.x, redCentre.y), red));
}

TEST_F(Md2RenderTest, EveryFrameIsDecodedWithFrameZerosScale)
{
    const std::vector<unsigned char> first = drawFrame();
    character->model->currentFrame = 1;
    character->model->nextFrame = 1;
    character->model->lastAdvanceTime = 0.04f;   // no advance at t = 0.05
    const std::vector<unsigned char> second = drawFrame();
    EXPECT_EQ(character->model->currentFrame, 1);
    EXPECT_TRUE(first == second);
}

TEST_F(Md2RenderTest, TranslucentModeBlendsAdditively)
{
    const std::vector<unsigned char> solid = drawFrame();
    game.modelTranslucent = true;
    const std::vector<unsigned char> translucent = drawFrame();
    saveScreenshot("md2_translucent");
    EXPECT_FALSE(solid == translucent);
    // Red at alpha 0.8 added to the background: (0.62 + 0.8, 0.756, 0.9).
    const ScreenPoint redCentre = project(0, -17.0 / 3, 78.0 / 3, game.pitch);
    const Rgb seen = readPixel(redCentre.x, redCentre.y);
    EXPECT_TRUE(near(seen, {255, clearColour.g, clearColour.b})) << text(seen);
    // Blue: (0.62, 0.756, 0.9 + 0.8).
    const ScreenPoint blueCentre = project(0, 0, 112.0 / 3, game.pitch);
    EXPECT_TRUE(near(readPixel(blueCentre.x, blueCentre.y), {clearColour.r, clearColour.g, 255}));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(Md2RenderTest, AModelWithoutFramesOrNotLoadedDrawsNothing)
{
    character->model->release();
    gameView();
    drawCharacter(*character);
    drawShadowStep();
    EXPECT_EQ(coverage(frameBuffer()).drawn, 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    TestModel empty = colouredModel();
    empty.frames.clear();
    const std::string path = writeModelFile("empty", md2Bytes(empty));
    ASSERT_TRUE(character->model->load(path.c_str()));
    gameView();
    drawCharacter(*character);
    drawShadowStep();
    EXPECT_EQ(coverage(frameBuffer()).drawn, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::filesystem::remove(path);

    // An object without a model (animation state -1) is skipped as well.
    ASSERT_TRUE(character->model->load(modelPath.c_str()));
    character->animationState = animationNone;
    gameView();
    drawCharacter(*character);
    drawShadowStep();
    EXPECT_EQ(coverage(frameBuffer()).drawn, 0);
}
