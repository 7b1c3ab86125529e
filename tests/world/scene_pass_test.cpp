// The scene passes' own steps: the sky lookup, where light 0 ends up, the
// blur pass without sky, the water clock, and drawing registry entries.
#include "core/camera.h"
#include "render/registry.h"
#include "platform/platform.h"
#include "render/frustum.h"
#include "view/scene.h"
#include "world/water.h"
#include "world/world_view.h"

#include <gtest/gtest.h>

using namespace worldview;

TEST(ScenePass, WithoutTheSkyEntryNoSkyIsDrawnAndTheLightStays)
{
    REQUIRE_WORLD();
    auto* savedCursor = registry.cursor;
    registry.cursor = new ObjectListNode<RegistryEntry>;
    registry.cursor->first = registry.cursor;

    // A marker light position, given in eye space.
    glLoadIdentity();
    const GLfloat marker[4] = {7.0f, 8.0f, 9.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, marker);
    renderView(0, 0, 0, 10);
    EXPECT_TRUE(isClearColour(readPixel(400, 30)));
    EXPECT_TRUE(isClearColour(readPixel(10, 10)));
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_FLOAT_EQ(light[0], 7.0f);
    EXPECT_FLOAT_EQ(light[1], 8.0f);
    EXPECT_FLOAT_EQ(light[2], 9.0f);

    delete registry.cursor;
    registry.cursor = savedCursor;
    renderView(0, 0, 0, 10);
    EXPECT_FALSE(isClearColour(readPixel(400, 30)));
}

TEST(ScenePass, LightStandsInTheWorldExceptInTheCubeFacePass)
{
    REQUIRE_WORLD();
    WithoutPlayer noPlayer;
    // Eye at (100, 20, 50), heading 90: the world light at (0, 10, -100) is
    // (-100, -10, -150) from the eye, (-150, -10, 100) after the turn.
    placeCamera(100, 50, 90, 0);
    sys::testSetTime(20.0);
    clearBuffers();
    renderScene();
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_NEAR(light[0], -150.0f, 1e-3f);
    EXPECT_NEAR(light[1], -10.0f, 1e-3f);
    EXPECT_NEAR(light[2], 100.0f, 1e-3f);

    clearBuffers();
    renderBlurScene();
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_NEAR(light[0], -150.0f, 1e-3f);
    EXPECT_NEAR(light[2], 100.0f, 1e-3f);

    clearBuffers();
    renderCubeFaceScene();
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_FLOAT_EQ(light[0], 0.0f);
    EXPECT_FLOAT_EQ(light[1], 10.0f);
    EXPECT_FLOAT_EQ(light[2], -100.0f);
}

TEST(ScenePass, BlurPassHasNoSky)
{
    REQUIRE_WORLD();
    WithoutPlayer noPlayer;
    placeCamera(0, 0, 0, 10);
    clearBuffers();
    renderBlurScene();
    EXPECT_TRUE(isClearColour(readPixel(400, 30)));
    // The ground is still there.
    const WorldPoint ground = worldAt(400, 550);
    EXPECT_NEAR(ground.y, -20, depthTolerance(ground));
}

TEST(ScenePass, WaterAdvancesWithTheGameClockWhenDrawn)
{
    REQUIRE_WORLD();
    WithoutPlayer noPlayer;
    waterAnimation = WaterAnimation{};
    renderView(-450, 0, 270, 15);       // the sea is in view: drawn at t = 10
    EXPECT_EQ(waterAnimation.rowOffset, 1);
    EXPECT_FLOAT_EQ(waterAnimation.lastTime, 10.0f);
    renderView(-450, 0, 270, 15);       // same clock: no tick
    EXPECT_EQ(waterAnimation.rowOffset, 1);
    // Facing away from the sea, far to the east: the water is culled and
    // its clock stands still.
    placeCamera(500, 0, 90, 10);
    sys::testSetTime(30.0);
    clearBuffers();
    renderScene();
    EXPECT_FLOAT_EQ(waterAnimation.lastTime, 10.0f);
    sys::testUseRealClock();
}

TEST(RegistryDrawing, EnemiesAndEmittersAreCulledAndCounted)
{
    REQUIRE_WORLD();
    auto* savedCursor = registry.cursor;
    registry.cursor = new ObjectListNode<RegistryEntry>;
    registry.cursor->first = registry.cursor;
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);   // drawRegistered switches texturing off after the call
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex3f(-5, -5, 0);
    glVertex3f(5, -5, 0);
    glVertex3f(5, 5, 0);
    glVertex3f(-5, 5, 0);
    glEnd();
    glEnable(GL_LIGHTING);
    glEndList();
    for (const char* name : {enemyName, skyName}) {
        auto* entry = new RegistryEntry;
        entry->name = name;
        entry->displayList = list;
        append(registry, entry);
    }

    placeCamera(0, 0, 0, 0);
    glLoadIdentity();
    applyCameraView();
    extractFrustumPerspective();
    clearBuffers();
    ASSERT_TRUE(findByName(enemyName));
    EXPECT_TRUE(drawRegistered(0, 20, -100, 0, 0, 0));    // straight ahead
    EXPECT_EQ(game.objectsDrawn, 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    const Rgb centre = readPixel(400, 300);
    EXPECT_EQ(centre.g, 255);
    EXPECT_EQ(centre.r, 0);
    EXPECT_TRUE(drawRegistered(0, 20, 100, 0, 0, 0));     // behind: culled
    EXPECT_EQ(game.objectsDrawn, 1);
    EXPECT_TRUE(drawRegistered(0, 20, 45, 0, 0, 0));      // behind, but the sphere reaches the view
    EXPECT_EQ(game.objectsDrawn, 2);

    game.cullingEnabled = false;
    clearBuffers();
    EXPECT_TRUE(drawRegistered(0, 20, 100, 0, 0, 0));     // drawn, not counted
    EXPECT_EQ(game.objectsDrawn, 2);
    game.cullingEnabled = true;

    // Any other entry is drawn without a test and without counting.
    ASSERT_TRUE(findByName(skyName));
    clearBuffers();
    EXPECT_TRUE(drawRegistered(0, 20, -100, 0, 0, 90));
    EXPECT_EQ(game.objectsDrawn, 2);
    EXPECT_EQ(readPixel(400, 300).g, 255);

    freeList(registry);
    EXPECT_FALSE(drawRegistered(0, 20, -100, 0, 0, 0));   // nothing under the cursor
    delete registry.cursor;
    registry.cursor = savedCursor;
    glDeleteLists(list, 1);
}
