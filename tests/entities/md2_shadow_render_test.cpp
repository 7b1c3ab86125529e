// The character's shadow, and the generated character from the asset pack,
// checked by reading back pixels in the game's perspective.
#include "entities/md2_render_fixture.h"

using namespace md2test;

TEST_F(Md2RenderTest, ShadowOnlyWhileLightingIsOn)
{
    // At heading 45 the shadow lies straight ahead on the plane below the
    // eye; looking down 30 degrees brings it into view.
    game.pitch = 30.0;
    game.heading = 45.0f;
    game.lightingEnabled = false;
    gameView();
    glDisable(GL_LIGHTING);
    drawShadowStep();
    EXPECT_EQ(coverage(frameBuffer()).drawn, 0);
    // The model drawn with lighting off leaves lighting off.
    glDisable(GL_LIGHTING);
    drawCharacter(*character);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    game.lightingEnabled = true;
    gameView();
    drawShadowStep();
    const std::vector<unsigned char> heading45 = frameBuffer();
    const Coverage shadow = coverage(heading45);
    saveScreenshot("md2_shadow_heading45");
    EXPECT_GT(shadow.black, 2000);
    EXPECT_EQ(shadow.drawn, shadow.black);   // opaque black, nothing else
    for (const Tri& tri : colouredTris) {
        const double cy = (tri.y[0] + tri.y[1] + tri.y[2]) / 3.0;
        const double cz = (tri.z[0] + tri.z[1] + tri.z[2]) / 3.0;
        const ScreenPoint at = projectShadow(0, cy, cz, game.heading, game.pitch);
        EXPECT_TRUE(near(readPixel(at.x, at.y), {0, 0, 0})) << at.x << "," << at.y;
    }
    const ScreenPoint gap = projectShadow(0, 0, 26, game.heading, game.pitch);
    EXPECT_TRUE(near(readPixel(gap.x, gap.y), clearColour)) << gap.x << "," << gap.y;

    // The shadow turns with the heading, the character does not.
    game.heading = 60.0f;
    gameView();
    drawShadowStep();
    drawCharacter(*character);
    saveScreenshot("md2_shadow_heading60_with_model");
    const ScreenPoint turned = projectShadow(0, 0, 112.0 / 3, game.heading, game.pitch);
    EXPECT_TRUE(near(readPixel(turned.x, turned.y), {0, 0, 0})) << turned.x << "," << turned.y;
    const ScreenPoint redCentre = project(0, -17.0 / 3, 78.0 / 3, game.pitch);
    EXPECT_TRUE(near(readPixel(redCentre.x, redCentre.y), red));
    EXPECT_FALSE(heading45 == frameBuffer());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Md2RenderTest, TheGeneratedCharacterLoadsAndDraws)
{
    const std::string path = std::string(assetDir()) + "/Modells/tris.md2";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << path << " not generated";
    ASSERT_TRUE(character->model->load(path.c_str()));
    const Md2Header& h = *character->model->header;
    EXPECT_GE(h.numFrames, 46);   // the standing and running rows
    EXPECT_GT(h.numTriangles, 0);

    const std::string skinPath = std::string(assetDir()) + "/Textures/hueteotl.tga";
    if (std::filesystem::exists(skinPath)) {
        glBindTexture(GL_TEXTURE_2D, skin);
        EXPECT_EQ(glfwLoadTexture2D(skinPath.c_str(), GLFW_BUILD_MIPMAPS_BIT), 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    character->model->selectAnimation(0);
    // As the game first shows it: the pitch the first mouse report sets.
    game.pitch = GameState{}.mousePitch;
    const Coverage standing = coverage(drawFrame());
    saveScreenshot("md2_generated_standing");
    EXPECT_GT(standing.drawn, 5000);
    EXPECT_TRUE(near(readPixel(5, 5), clearColour));
    EXPECT_TRUE(near(readPixel(795, 5), clearColour));

    // Running, a few frames in.
    updatePlayerAnimation(true);
    for (double t = 0.2; t < 0.75; t += 0.11) {
        sys::testSetTime(t);
        drawFrame();
    }
    EXPECT_GE(character->model->currentFrame, 40);
    EXPECT_LE(character->model->currentFrame, 45);
    EXPECT_GT(coverage(frameBuffer()).drawn, 5000);
    saveScreenshot("md2_generated_running");
    updatePlayerAnimation(false);

    game.pitch = 30.0;
    game.heading = 45.0f;
    gameView();
    drawShadowStep();
    saveScreenshot("md2_generated_shadow");
    EXPECT_GT(coverage(frameBuffer()).black, 2000);
    drawCharacter(*character);
    saveScreenshot("md2_generated_with_shadow");
}
