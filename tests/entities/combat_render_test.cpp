// Rendering of the combat pieces in the game's perspective: emitter boxes at
// their sites, enemies where they stand, red beams and explosion bursts.
// Pixels are read back from the window and the frames saved as screenshots.
#include "combat_fixture.h"

#include "render/camera_view.h"
#include "render/lighting.h"
#include "view/objects.h"
#include "entities/particles.h"
#include "render/registry.h"
#include "support/test_support.h"
#include "render/frustum.h"
#include "state/resources.h"

#include <cmath>
#include <iostream>
#include <string>

namespace {

struct Pixel {
    int x, y;   // from the top-left corner
};

// The registry entries and the particle texture, made once per process.
void buildOnce()
{
    static bool built = false;
    if (built)
        return;
    built = true;
    ::testing::internal::CaptureStdout();   // "problem" when a texture is missing
    buildEnemyList();
    buildEmitterList();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (!glfwLoadTexture2D("Textures/Particle.tga", GLFW_BUILD_MIPMAPS_BIT))
        std::cout << "problem" << std::endl;
    glDisable(GL_TEXTURE_2D);
    const std::string out = ::testing::internal::GetCapturedStdout();
    if (!out.empty())
        std::cerr << "(textures missing, drawing untextured)\n";
    resources.particleTexture = texture;
}

// The game's projection and state at the start of the scene pass, with a
// cleared black frame and the view volume of the current camera.
void beginGameFrame()
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, 1.0, 0.1, 512.1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColor3f(1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    applyCameraView();
    extractFrustum();
}

// Where a world point lands on the screen with the player's camera.
Pixel project(float x, float y, float z)
{
    glLoadIdentity();
    applyCameraView();
    GLdouble model[16], proj[16];
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    GLdouble wx = 0, wy = 0, wz = 0;
    gluProject(x, y, z, model, proj, view, &wx, &wy, &wz);
    return {static_cast<int>(std::lround(wx)), 599 - static_cast<int>(std::lround(wy))};
}

bool onScreen(Pixel p)
{
    return p.x >= 0 && p.x < 800 && p.y >= 0 && p.y < 600;
}

bool isBlack(Rgb c)
{
    return c.r < 8 && c.g < 8 && c.b < 8;
}

// Pixels in the square of half-width r around p that pass the test.
template <class Test>
int countAround(Pixel p, int r, Test test)
{
    glReadBuffer(GL_BACK);
    static unsigned char buffer[800 * 600 * 3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, buffer);
    int n = 0;
    for (int y = p.y - r; y <= p.y + r; ++y)
        for (int x = p.x - r; x <= p.x + r; ++x) {
            if (x < 0 || x >= 800 || y < 0 || y >= 600)
                continue;
            const unsigned char* c = buffer + 3 * ((599 - y) * 800 + x);
            n += test(Rgb{c[0], c[1], c[2]}) ? 1 : 0;
        }
    return n;
}

class CombatRenderTest : public CombatTest {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        CombatTest::SetUp();
        buildOnce();
    }
    void TearDown() override
    {
        // Leave the shared window in a plain state for the next test.
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glColor4f(1, 1, 1, 1);
        glLoadIdentity();
        CombatTest::TearDown();
    }
};

}  // namespace

TEST_F(CombatRenderTest, EmitterBoxesAppearAtTheirSites)
{
    game.emitterInterval = 10;
    game.emitterDensity = 1;
    ::testing::internal::CaptureStderr();
    addGameEmitters();
    ::testing::internal::GetCapturedStderr();
    std::vector<Emitter*> all;
    forEach(emitterList, [&](Emitter& e) { all.push_back(&e); });
    ASSERT_EQ(all.size(), 6u);
    for (size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(i);
        const Emitter& e = *all[i];
        // Stand 80 units south of the box, looking north along -z.
        game.playerX = e.x + 5;
        game.playerZ = e.z + 85;
        game.objectsDrawn = 0;
        beginGameFrame();
        drawObjects();
        if (i == 0)
            std::cerr << "screenshot: " << saveScreenshot("combat_emitter_box") << "\n";
        EXPECT_GE(game.objectsDrawn, 1);

        const Pixel centre = project(e.x + 5, -15, e.z + 5);
        ASSERT_TRUE(onScreen(centre));
        EXPECT_FALSE(isBlack(readPixel(centre.x, centre.y)));
        // The box face is a solid patch of 10 x 10 units.
        EXPECT_GT(countAround(centre, 20, [](Rgb c) { return !isBlack(c); }), 1200);
        // And nothing beside it.
        const Pixel beside = project(e.x + 20, -15, e.z + 5);
        ASSERT_TRUE(onScreen(beside));
        EXPECT_TRUE(isBlack(readPixel(beside.x, beside.y)));
        const Pixel above = project(e.x + 5, -2, e.z + 5);
        EXPECT_TRUE(isBlack(readPixel(above.x, above.y)));
    }
}

TEST_F(CombatRenderTest, AnEnemyIsDrawnWhereItStands)
{
    Character* e = placeEnemy(10, -100);
    beginGameFrame();
    drawObjects();
    std::cerr << "screenshot: " << saveScreenshot("combat_enemy") << "\n";

    auto magenta = [](Rgb c) { return c.r > 200 && c.g < 60 && c.b > 200; };
    auto blue = [](Rgb c) { return c.r < 60 && c.g < 60 && c.b > 200; };
    const Pixel body = project(e->x, e->y - 1, e->z);
    EXPECT_TRUE(magenta(readPixel(body.x, body.y)));
    // The eyes sit on top of the body.
    const Pixel eyes = project(e->x, e->y + 2.5f, e->z);
    EXPECT_GT(countAround(eyes, 30, blue), 100);
    EXPECT_GT(countAround(body, 40, magenta), 1000);
    // Nothing to its side.
    const Pixel beside = project(e->x - 8, e->y, e->z);
    EXPECT_TRUE(isBlack(readPixel(beside.x, beside.y)));

    // A second of ticks later it has come five units nearer on both axes.
    for (int i = 0; i < 25; ++i)
        stepEnemies();
    beginGameFrame();
    drawObjects();
    const Pixel moved = project(e->x, e->y - 1, e->z);
    EXPECT_NEAR(e->x, 5, 1e-3);
    EXPECT_TRUE(magenta(readPixel(moved.x, moved.y)));
    EXPECT_GT(moved.y, body.y);   // nearer, so lower on the screen

    // Lit as in the game (yellow light 0, grey ambient) it still shows.
    beginGameFrame();
    const GLfloat ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[4] = {1.0f, 1.0f, 0.0f, 0.9f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLoadIdentity();
    applyCameraView();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    drawObjects();
    std::cerr << "screenshot: " << saveScreenshot("combat_enemy_lit") << "\n";
    EXPECT_GT(countAround(moved, 40, [](Rgb c) { return c.r > 100; }), 1000);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
}

TEST_F(CombatRenderTest, ABeamIsDrawnRedUntilItExpires)
{
    // The scene pass draws the beams with texturing on, so they are shaded by
    // the particle texture; without texturing they are solid red.
    for (bool textured : {false, true}) {
        SCOPED_TRACE(textured);
        clearWorld();
        auto drawFrame = [&] {
            beginGameFrame();
            if (textured)
                glEnable(GL_TEXTURE_2D);
            drawShotBeams();
        };
        auto red = [](Rgb c) { return c.r > 120 && c.g < 40 && c.b < 40; };
        auto dimRed = [](Rgb c) { return c.r > 30 && c.g < 20 && c.b < 20; };
        auto shows = [&](Pixel p) {
            if (!textured)
                return red(readPixel(p.x, p.y));
            return countAround(p, 8, dimRed) >= 10;
        };
        auto empty = [](Pixel p) {
            return countAround(p, 8, [](Rgb c) { return !isBlack(c); }) == 0;
        };

        sys::testSetTime(1.0);
        addShotBeam(6, 10, -40, -6, 10, -40, 1.0f);
        sys::testSetTime(1.3);
        addShotBeam(2, 14, -40, 2, 6, -40, 1.3f);   // an upright one
        drawFrame();
        std::cerr << "screenshot: "
                  << saveScreenshot(textured ? "combat_beams_textured" : "combat_beams") << "\n";
        const Pixel across = project(-3, 10, -40);
        const Pixel upright = project(2, 12, -40);
        EXPECT_TRUE(shows(across));
        EXPECT_TRUE(shows(upright));
        EXPECT_TRUE(empty(Pixel{across.x, across.y - 30}));
        EXPECT_EQ(countElements(shotBeamList), 2);
        // Lighting comes back on after the beams.
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

        // 0.45 s after the first shot only the second is left.
        sys::testSetTime(1.45);
        drawFrame();
        EXPECT_EQ(countElements(shotBeamList), 1);
        EXPECT_TRUE(empty(across));
        EXPECT_TRUE(shows(upright));

        sys::testSetTime(1.75);
        drawFrame();
        EXPECT_EQ(countElements(shotBeamList), 0);
        EXPECT_TRUE(empty(upright));
    }
}

TEST_F(CombatRenderTest, AShotLeavesABeamToTheEnemyAndAnExplosionAtItsPlace)
{
    if (!resources.explosionSystems[0]) {
        ::testing::internal::CaptureStdout();
        makeExplosionSystems();
        ::testing::internal::GetCapturedStdout();
    }
    sys::testSetTime(5.0);
    Character* e = placeEnemy(0, -200);
    const float ex = e->x, ey = e->y, ez = e->z;
    fireShot();
    ASSERT_TRUE(game.explosionPending);
    ASSERT_EQ(countElements(enemyList), 0);

    auto bright = [](Rgb c) { return c.r > 100 && c.b < 60; };
    beginGameFrame();   // the game's projection, before projecting
    const Pixel centre = project(ex, ey, ez);
    const Pixel faraway{100, 100};
    int frames = 0;
    while (game.explosionPending && frames < 10) {
        beginGameFrame();
        drawObjects();
        drawShotBeams();
        ParticleSystem& system = *resources.explosionSystems[game.explosionSystem];
        ::testing::internal::CaptureStdout();   // particle 1's size lines
        playExplosionFrame(system);
        ::testing::internal::GetCapturedStdout();
        ++frames;
        if (frames == 1) {
            std::cerr << "screenshot: " << saveScreenshot("combat_explosion") << "\n";
            EXPECT_GT(countAround(centre, 50, bright), 1500);
            EXPECT_EQ(countAround(faraway, 40, bright), 0);
            // The beam runs from below the eye toward the enemy.
            const Pixel onBeam = project(0, -6 - 11 * 0.7f, -200 * 0.7f);
            EXPECT_GT(countAround(onBeam, 2, [](Rgb c) { return c.r > 100; }), 0);
        }
    }
    EXPECT_EQ(frames, 3);
    // Particles stay additive on top and do not leave face culling off.
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}
