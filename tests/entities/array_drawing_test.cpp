// The moving geometry (water, particles, the character, the beams) is sent
// through vertex arrays in batches. These tests hold the batched drawing to
// the picture of sending one vertex at a time: byte for byte, colour and
// depth, with a plain immediate-mode drawing kept here as the reference.
#include "core/camera.h"
#include "entities/md2.h"
#include "entities/particles.h"
#include "entities/shots.h"
#include "platform/platform.h"
#include "support/game_world.h"
#include "world/water.h"
#include "state/resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

// Colour (RGBA) and depth of the whole back buffer.
std::vector<unsigned char> picture()
{
    std::vector<unsigned char> bytes(800 * 600 * 6);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, bytes.data() + 800 * 600 * 4);
    return bytes;
}

int differingBytes(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

// The game's standing state, a picture to draw onto and a camera.
void startPicture(double x, double z, float heading, double pitch)
{
    resetView();
    game.playerX = x;
    game.playerZ = z;
    game.heading = heading;
    game.pitch = pitch;
    glClearColor(0.62f, 0.756f, 0.9f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    applyCameraView();
}

// --- References: one vertex at a time --------------------------------------

void referenceParticleStep(ParticleSystem& system)
{
    glLoadIdentity();
    applyCameraView();
    glDisable(GL_CULL_FACE);
    const int n = system.count < particleCapacity ? system.count : particleCapacity;
    for (int i = 0; i < n; ++i) {
        Particle& p = system.particles[i];
        if (!p.active)
            continue;
        glColor4f(p.red, p.green, p.blue, p.life);
        if (i == 1)
            std::cout << p.size << std::endl;
        const float cx = p.x + game.explosionX, cy = p.y + game.explosionY, cz = p.z + game.explosionZ;
        const float s = p.size, h = s * 0.5f;
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, resources.particleTexture);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0, 0); glVertex3f(cx, cy, cz);
        glTexCoord2f(1, 0); glVertex3f(cx + s, cy, cz);
        glTexCoord2f(0, 1); glVertex3f(cx, cy + s, cz);
        glTexCoord2f(1, 1); glVertex3f(cx + s, cy + s, cz);
        glEnd();
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0, 0); glVertex3f(cx + h, cy, cz - h);
        glTexCoord2f(1, 0); glVertex3f(cx + h, cy, cz + h);
        glTexCoord2f(0, 1); glVertex3f(cx + h, cy + s, cz - h);
        glTexCoord2f(1, 1); glVertex3f(cx + h, cy + s, cz + h);
        glEnd();
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        advanceParticle(system, p);
    }
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    system.frameCounter += 1;
}

void referenceWater()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, waterTextures[selectWaterFrame(waterAnimation)]);
    advanceWater(waterAnimation, glfwGetTime());
    const int rows = waterAnimation.rowOffset, columns = waterAnimation.columnOffset;
    auto height = [&](int a, int b) { return 4.0f * waveHeights[rows + a][columns + b]; };
    for (int k = 0; k < 33; ++k)
        for (int m = 0; m < 193; ++m) {
            const float x0 = 8.0f * k, x1 = 8.0f * (k + 1), z0 = 8.0f * m, z1 = 8.0f * (m + 1);
            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(k / 32.0f, m / 192.0f); glVertex3f(x0, height(k, m), z0);
            glTexCoord2f(k / 32.0f, (m + 1) / 192.0f); glVertex3f(x0, height(k, m + 1), z1);
            glTexCoord2f((k + 1) / 32.0f, m / 192.0f); glVertex3f(x1, height(k + 1, m), z0);
            glTexCoord2f((k + 1) / 32.0f, (m + 1) / 192.0f); glVertex3f(x1, height(k + 1, m + 1), z1);
            glEnd();
        }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glDisable(GL_COLOR_MATERIAL);
}

void referenceModel(Md2Model& model, float x, float y, float z, float scale)
{
    model.interpolate();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    glRotated(game.pitch, 1.0, 0.0, 0.0);
    glTranslatef(0.0f, -1.0f, -1.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, resources.playerSkinTexture);
    glEnable(GL_TEXTURE_2D);
    const double factor = scale * 0.025;
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < model.header->numTriangles; ++i)
        for (int k = 0; k < 3; ++k) {
            const Md2Corner c = model.corner(i, k);
            glTexCoord2f(c.s, c.t);
            glVertex3d(x + c.x * factor, y + c.y * factor, z + c.z * factor);
        }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    if (game.lightingEnabled)
        glEnable(GL_LIGHTING);
}

#define REQUIRE_GAME_WORLD()                                        \
    do {                                                            \
        if (!openGameWorld())                                       \
            GTEST_SKIP() << "no X display for the rendering tests"; \
    } while (0)

}  // namespace

TEST(ArrayDrawing, ExplosionStepsMatchOneParticleAtATime)
{
    REQUIRE_GAME_WORLD();
    if (!resources.explosionSystems[0])
        makeExplosionSystems();
    ParticleSystem& system = *resources.explosionSystems[0];
    // A burst ahead of the eye, fresh (every particle stacked in the centre)
    // and one step on (most of them back in the centre, burnt out).
    // Also with the lighting left on, which lights only the first particle.
    for (bool lit : {false, true}) {
        std::vector<unsigned char> batched, reference;
        std::string batchedSizes, referenceSizes;
        for (int pass = 0; pass < 2; ++pass) {
            startPicture(0, 0, 0, 10);
            game.explosionX = 3.0f;
            game.explosionY = -5.0f;
            game.explosionZ = -60.0f;
            if (lit)
                glEnable(GL_LIGHTING);
            std::srand(1234);
            resetParticles(system);
            ::testing::internal::CaptureStdout();
            for (int step = 0; step < 2; ++step)
                pass == 0 ? stepParticles(system) : referenceParticleStep(system);
            (pass == 0 ? batchedSizes : referenceSizes) = ::testing::internal::GetCapturedStdout();
            (pass == 0 ? batched : reference) = picture();
        }
        EXPECT_EQ(differingBytes(batched, reference), 0) << (lit ? "lit" : "unlit");
        EXPECT_EQ(batchedSizes, referenceSizes);
        startPicture(0, 0, 0, 10);
        EXPECT_GT(differingBytes(batched, picture()), 10000) << "the burst should cover part of the view";
    }
}

TEST(ArrayDrawing, FaintStackedParticlesCountUpToAFullChannel)
{
    REQUIRE_GAME_WORLD();
    // A faint burst over black: each stacked copy adds about one step to a
    // channel, so every copy up to a full channel shows.
    auto* system = new ParticleSystem();
    system->count = 600;
    system->speedFactor = 5;
    system->startRed = system->startGreen = system->startBlue = 0.004f;
    const auto blackPicture = [] {
        startPicture(0, 0, 0, 0);
        game.explosionX = 0.0f;
        game.explosionY = 10.0f;
        game.explosionZ = -40.0f;
    };
    std::vector<unsigned char> pictures[2];
    for (int pass = 0; pass < 2; ++pass) {
        blackPicture();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        std::srand(99);
        resetParticles(*system);
        ::testing::internal::CaptureStdout();
        pass == 0 ? stepParticles(*system) : referenceParticleStep(*system);
        ::testing::internal::GetCapturedStdout();
        pictures[pass] = picture();
    }
    EXPECT_EQ(differingBytes(pictures[0], pictures[1]), 0);
    // The scene is one where the copies count: a sixth of them leave a
    // different picture.
    system->count = 100;
    blackPicture();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::srand(99);
    resetParticles(*system);
    ::testing::internal::CaptureStdout();
    referenceParticleStep(*system);
    ::testing::internal::GetCapturedStdout();
    EXPECT_GT(differingBytes(picture(), pictures[1]), 1000);
    delete system;
}

TEST(ArrayDrawing, WaterMatchesOneStripAtATime)
{
    REQUIRE_GAME_WORLD();
    struct View {
        double x, z;
        float heading;
        double pitch;
    };
    // Close over the sea, looking along the coast, and from the island's
    // middle where the far plane cuts the whole sea away.
    const View views[] = {{-430, 40, 270, 25}, {-600, 300, 180, 60}, {-450, -200, 300, 5}, {0, 0, 0, 10}};
    for (const View& v : views) {
        const WaterAnimation saved = waterAnimation;
        sys::testSetTime(42.0);
        std::vector<unsigned char> pictures[2];
        for (int pass = 0; pass < 2; ++pass) {
            waterAnimation = saved;
            startPicture(v.x, v.z, v.heading, v.pitch);
            glTranslatef(-798.0f, -52.0f, -702.0f);
            pass == 0 ? drawWater() : referenceWater();
            pictures[pass] = picture();
        }
        EXPECT_EQ(differingBytes(pictures[0], pictures[1]), 0) << "view from " << v.x << ", " << v.z;
        waterAnimation = saved;
    }
    sys::testUseRealClock();
}

TEST(ArrayDrawing, CharacterMatchesOneCornerAtATime)
{
    REQUIRE_GAME_WORLD();
    ASSERT_NE(resources.player, nullptr);
    Md2Model* model = resources.player->model;
    if (!model || !model->drawable())
        GTEST_SKIP() << "no character model in the asset folder";
    for (double pitch : {10.0, 40.0}) {
        std::vector<unsigned char> pictures[2];
        for (int pass = 0; pass < 2; ++pass) {
            startPicture(0, 0, 0, pitch);
            pass == 0 ? model->draw(0, 0, 0, 1.0f) : referenceModel(*model, 0, 0, 0, 1.0f);
            pictures[pass] = picture();
        }
        EXPECT_EQ(differingBytes(pictures[0], pictures[1]), 0) << "pitch " << pitch;
    }
}

TEST(ArrayDrawing, RepeatedBeamsLeaveTheSamePictureAsEachDrawn)
{
    REQUIRE_GAME_WORLD();
    freeList(shotBeamList);
    sys::testSetTime(5.0);
    // Three beams fired from one place along one aim, and another; seen from
    // beside them, over each other.
    for (int i = 0; i < 3; ++i)
        addShotBeam(-60.0f, -15.0f, -70.0f, 0.0f, -6.0f, 0.0f, 5.0f);
    addShotBeam(-40.0f, 10.0f, -80.0f, 0.0f, -6.0f, 0.0f, 5.0f);
    std::vector<unsigned char> once, each;
    startPicture(30, 10, 300, 10);
    drawShotBeams();
    once = picture();
    startPicture(30, 10, 300, 10);
    forEach(shotBeamList, [](ShotBeam& beam) { drawShotBeam(beam); });
    each = picture();
    EXPECT_EQ(differingBytes(once, each), 0);
    startPicture(30, 10, 300, 10);
    EXPECT_GT(differingBytes(once, picture()), 500) << "the beams should be in view";
    freeList(shotBeamList);
    sys::testUseRealClock();
}
