// The moving things as the game draws them, read back under Xvfb: emitter
// boxes, enemies, red beams and explosions where they stand; the character,
// its skin and its shadow; and the batched drawing of particles, the sea,
// the character and the beams held byte for byte to the picture of sending
// one vertex at a time (the references here).
#include "entities/md2.h"
#include "support/fresh_game.h"
#include "support/game_world.h"
#include "support/pixels.h"
#include "view/objects.h"

#include <cstdlib>

namespace {

class Drawing : public FreshGame {
protected:
    void SetUp() override
    {
        REQUIRE_GAME_WORLD();
        FreshGame::SetUp();
    }
    void TearDown() override
    {
        FreshGame::TearDown();
        resetView();
    }
};

// The player's camera over a cleared picture: black, or the sky colour.
void startPicture(double x, double z, float heading, double pitch, bool black = true)
{
    placeCamera(x, z, heading, pitch);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    black ? glClearColor(0, 0, 0, 0) : glClearColor(0.62f, 0.756f, 0.9f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    applyCameraView();
    extractFrustum();
}

const Rgb skyColour = {158, 193, 230};
bool notSky(Rgb c) { return !near(c, skyColour, 3); }

// --- References: one vertex at a time ---------------------------------------

void referenceParticleStep(ParticleSystem& system)
{
    glDisable(GL_CULL_FACE);
    for (int i = 0; i < std::min(system.count, particleCapacity); ++i) {
        Particle& p = system.particles[i];
        if (!p.active)
            continue;
        glColor4f(p.red, p.green, p.blue, p.life);
        const float x = p.x + game.explosionX, y = p.y + game.explosionY, z = p.z + game.explosionZ;
        const float s = p.size, h = s * 0.5f;
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, resources.particleTexture);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        const float quads[2][4][3] = {{{x, y, z}, {x + s, y, z}, {x, y + s, z}, {x + s, y + s, z}},
                                      {{x + h, y, z - h}, {x + h, y, z + h}, {x + h, y + s, z - h}, {x + h, y + s, z + h}}};
        for (const auto& quad : quads) {
            glBegin(GL_TRIANGLE_STRIP);
            for (int c = 0; c < 4; ++c) {
                glTexCoord2f(float(c & 1), float(c >> 1));
                glVertex3fv(quad[c]);
            }
            glEnd();
        }
        glDisable(GL_LIGHTING);
        advanceParticle(system, p);
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    system.frameCounter += 1;
}

void referenceWater()
{
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, waterTextures[selectWaterFrame(waterAnimation)]);
    advanceWater(waterAnimation, glfwGetTime());
    const auto height = [](int k, int m) {
        return waveAmplitude * waveHeights[waterAnimation.rowOffset + k][waterAnimation.columnOffset + m];
    };
    for (int k = 0; k < waterStrips; ++k)
        for (int m = 0; m < waterCells; ++m) {
            glBegin(GL_TRIANGLE_STRIP);
            for (int c = 0; c < 4; ++c) {
                const int dk = c >> 1, dm = c & 1;
                glTexCoord2f((k + dk) / 32.0f, (m + dm) / 192.0f);
                glVertex3f(waterCellSize * (k + dk), height(k + dk, m + dm), waterCellSize * (m + dm));
            }
            glEnd();
        }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

// The character in front of the eye: the view's pitch, then the model turned
// upright (x forward, z up) one unit below and ahead of the eye.
void referenceModel(Md2Model& model)
{
    model.interpolate();
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    glRotated(game.pitch, 1.0, 0.0, 0.0);
    glTranslatef(0.0f, -1.0f, -1.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, resources.playerSkinTexture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < model.header->numTriangles; ++i)
        for (int k = 0; k < 3; ++k) {
            const Md2Corner c = model.corner(i, k);
            glTexCoord2f(c.s, c.t);
            glVertex3d(c.x * 0.025, c.y * 0.025, c.z * 0.025);
        }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    if (game.lightingEnabled)
        glEnable(GL_LIGHTING);
}

// A beam's chain one link at a time: at every 1 / n of the way from its
// start a red quad across x-y, one across y-z and one across x-z, a quarter
// unit wide, added onto the picture.
void referenceBeam(const ShotBeam& b)
{
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3f(1, 0, 0);
    const int n = beamSegments(b);
    const float step[3] = {(b.endX - b.startX) / n, (b.endY - b.startY) / n, (b.endZ - b.startZ) / n};
    float x = b.startX, y = b.startY, z = b.startZ;
    const float w = 0.125f;
    for (int i = 0; i < n; ++i, x += step[0], y += step[1], z += step[2]) {
        const float quads[3][4][3] = {
            {{x - w, y - w, z}, {x + w, y - w, z}, {x + w, y + w, z}, {x - w, y + w, z}},
            {{x, y - w, z - w}, {x, y - w, z + w}, {x, y + w, z + w}, {x, y + w, z - w}},
            {{x - w, y, z - w}, {x - w, y, z + w}, {x + w, y, z + w}, {x + w, y, z - w}},
        };
        glBegin(GL_QUADS);
        for (const auto& quad : quads)
            for (const auto& corner : quad)
                glVertex3fv(corner);
        glEnd();
    }
    glDisable(GL_BLEND);
}

}  // namespace

TEST_F(Drawing, EmitterBoxesEnemiesAndBeamsAppearWhereTheyStand)
{
    game.emitterInterval = 10;
    stderrOf(addGameEmitters);
    for (Emitter* e : elementsOf(emitterList)) {
        // 80 units south of the box, looking north: a solid face of 10 x 10
        // units, nothing beside or above it.
        startPicture(e->x + 5, e->z + 85, 0, 10);
        drawObjects();
        const Frame f = grabFrame();
        const Pixel centre = screenOf(e->x + 5, -15, e->z + 5), beside = screenOf(e->x + 20, -15, e->z + 5);
        EXPECT_GT(countNear(f, [](Rgb c) { return !isBlack(c); }, centre.x, centre.y, 20), 1200) << e->x;
        EXPECT_TRUE(isBlack(f.at(beside.x, beside.y)));
    }
    freshGame();
    // An enemy: a magenta body with blue eyes on top.
    Character* e = placeEnemy(10, -100);
    startPicture(0, 0, 0, 10);
    drawObjects();
    const Pixel body = screenOf(e->x, e->y - 1, e->z), eyes = screenOf(e->x, e->y + 2.5f, e->z),
                beside = screenOf(e->x - 8, e->y, e->z);
    Frame f = grabFrame();
    EXPECT_GT(countNear(f, isMagenta, body.x, body.y, 40), 1000);
    EXPECT_GT(countNear(f, isBlue, eyes.x, eyes.y, 30), 100);
    EXPECT_TRUE(isBlack(f.at(beside.x, beside.y)));

    // Beams: red until 0.4 s after their shot.
    sys::testSetTime(1.0);
    addShotBeam(6, 10, -40, -6, 10, -40, 1.0f);
    sys::testSetTime(1.3);
    addShotBeam(2, 14, -40, 2, 6, -40, 1.3f);   // an upright one
    const Pixel across = screenOf(-3, 10, -40), upright = screenOf(2, 12, -40);
    const struct {
        double t;
        bool across, upright;
    } moments[] = {{1.3, true, true}, {1.45, false, true}, {1.75, false, false}};
    for (const auto& m : moments) {
        sys::testSetTime(m.t);
        startPicture(0, 0, 0, 10);
        drawShotBeams();
        f = grabFrame();
        EXPECT_EQ(isRed(f.at(across.x, across.y)), m.across) << m.t;
        EXPECT_EQ(isRed(f.at(upright.x, upright.y)), m.upright) << m.t;
        EXPECT_EQ(countElements(shotBeamList), m.across + m.upright);
    }
}

TEST_F(Drawing, AShotLeavesAnExplosionOfThreeFramesAtTheEnemy)
{
    sys::testSetTime(5.0);
    Character* e = placeEnemy(0, -200);
    const float ex = e->x, ey = e->y, ez = e->z;
    fireShot();
    ASSERT_TRUE(game.explosionPending);
    const auto bright = [](Rgb c) { return c.r > 100 && c.b < 60; };
    int frames = 0;
    for (; game.explosionPending && frames < 10; ++frames) {
        startPicture(0, 0, 0, 10);
        drawShotBeams();
        ::testing::internal::CaptureStdout();   // particle 1's size lines
        playExplosionFrame(*resources.explosionSystems[game.explosionSystem]);
        ::testing::internal::GetCapturedStdout();
        if (frames == 0) {
            const Frame f = grabFrame();
            const Pixel centre = screenOf(ex, ey, ez), onBeam = screenOf(0, -6 - 11 * 0.7f, -200 * 0.7f);
            EXPECT_GT(countNear(f, bright, centre.x, centre.y, 50), 1500);
            EXPECT_EQ(countNear(f, bright, 100, 100, 40), 0);
            EXPECT_GT(countNear(f, [](Rgb c) { return c.r > 100; }, onBeam.x, onBeam.y, 2), 0);
        }
    }
    EXPECT_EQ(frames, 3);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(Drawing, BeamChainsMatchOneLinkAtATime)
{
    // Beams of many links and batches, seen from beside them; three fired
    // from one place along one aim, one that shares only the start and the
    // end's x, and one of its own.
    sys::testSetTime(5.0);
    for (int i = 0; i < 3; ++i)
        addShotBeam(-60.0f, -15.0f, -70.0f, 0.0f, -6.0f, 0.0f, 5.0f);
    addShotBeam(-60.0f, 5.0f, -90.0f, 0.0f, -6.0f, 0.0f, 5.0f);
    addShotBeam(-40.0f, 10.0f, -80.0f, 3.0f, -6.0f, 2.0f, 5.0f);
    // Then a beam of one link, four units ahead, seen from both sides.
    for (bool oneLink : {false, true}) {
        if (oneLink) {
            freeList(shotBeamList);
            addShotBeam(26.515f, 19.3f, 8.0f, 26.5f, 19.3f, 8.0f, 5.0f);
        }
        Frame pictures[2];
        for (int pass = 0; pass < 2; ++pass) {
            startPicture(30, 10, 300, 10);
            if (oneLink)
                glDisable(GL_CULL_FACE);
            pass == 0 ? drawShotBeams() : forEach(shotBeamList, [](ShotBeam& b) { referenceBeam(b); });
            pictures[pass] = grabFrame();
        }
        EXPECT_EQ(differentPixels(pictures[0], pictures[1]), 0) << oneLink;
        EXPECT_GT(countPixels(pictures[1], isRed), 2000) << "the beams should be in view";
    }
}

TEST_F(Drawing, ExplosionsTheSeaAndTheCharacterMatchOneVertexAtATime)
{
    // A burst ahead of the eye, fresh and one step on, unlit and with the
    // lighting left on (which lights only the first particle); then a faint
    // burst over black, where every stacked copy up to a full channel shows.
    ParticleSystem& system = *resources.explosionSystems[0];
    auto faint = std::make_unique<ParticleSystem>();
    faint->count = 600;
    faint->startRed = faint->startGreen = faint->startBlue = 0.004f;
    const struct {
        ParticleSystem* system;
        bool lit;
        int steps;
        float y, z;
    } bursts[] = {{&system, false, 2, -5, -60}, {&system, true, 2, -5, -60}, {faint.get(), false, 1, 10, -40}};
    for (const auto& b : bursts) {
        Frame pictures[2];
        for (int pass = 0; pass < 2; ++pass) {
            startPicture(0, 0, 0, 10);
            game.explosionX = 3.0f;
            game.explosionY = b.y;
            game.explosionZ = b.z;
            if (b.lit)
                glEnable(GL_LIGHTING);
            std::srand(1234);
            resetParticles(*b.system);
            ::testing::internal::CaptureStdout();   // particle 1's size lines
            for (int step = 0; step < b.steps; ++step)
                pass == 0 ? stepParticles(*b.system) : referenceParticleStep(*b.system);
            ::testing::internal::GetCapturedStdout();
            pictures[pass] = grabFrame();
        }
        EXPECT_EQ(differentPixels(pictures[0], pictures[1]), 0) << "lit " << b.lit << " steps " << b.steps;
        startPicture(0, 0, 0, 10);
        EXPECT_GT(differentPixels(pictures[0], grabFrame()), 1000) << "the burst should be in view";
    }
    // The sea: close over it, along the coast, over its far end, and from
    // the island's middle where the far plane cuts it all away.
    sys::testSetTime(42.0);
    const struct {
        double x, z;
        float heading;
        double pitch;
    } views[] = {{-430, 40, 270, 25}, {-600, 300, 180, 60}, {-450, -200, 300, 5}, {0, 0, 0, 10}, {-660, 700, 180, 35}};
    for (const auto& v : views) {
        const WaterAnimation saved = waterAnimation;
        Frame pictures[2];
        for (int pass = 0; pass < 2; ++pass) {
            waterAnimation = saved;
            startPicture(v.x, v.z, v.heading, v.pitch, false);
            glTranslatef(waterOrigin[0], waterOrigin[1], waterOrigin[2]);
            pass == 0 ? drawWater() : referenceWater();
            pictures[pass] = grabFrame();
        }
        EXPECT_EQ(differentPixels(pictures[0], pictures[1]), 0) << "view from " << v.x << ", " << v.z;
    }
    // The generated character at two pitches.
    Md2Model* model = resources.player->model;
    if (!model->drawable())
        GTEST_SKIP() << "no character model in the asset folder";
    for (double pitch : {20.0, 40.0}) {
        Frame pictures[2];
        for (int pass = 0; pass < 2; ++pass) {
            startPicture(0, 0, 0, pitch, false);
            pass == 0 ? model->draw(0, 0, 0, 1.0f) : referenceModel(*model);
            pictures[pass] = grabFrame();
        }
        EXPECT_EQ(differentPixels(pictures[0], pictures[1]), 0) << "pitch " << pitch;
        EXPECT_GT(countPixels(pictures[0], notSky), 5000) << "pitch " << pitch;
    }
}

TEST_F(Drawing, TheShadowLiesFlatBelowAndTurnsWithTheHeadingWhileLightingIsOn)
{
    // At heading 45 the character's shadow lies straight ahead on the ground
    // below the eye; looking down 30 degrees brings it into view. It is
    // opaque black, and the scene pass's shadow step leaves the GL as the
    // frame found it.
    Character& player = *resources.player;
    if (!player.model->drawable())
        GTEST_SKIP() << "no character model in the asset folder";
    const auto shadow = [&](float heading) {
        Frame frames[2];
        for (int with = 0; with < 2; ++with) {
            player.animationState = with ? animationStanding : animationNone;
            placeCamera(0, 0, heading, 30);
            const GlState before;
            renderScene();
            if (game.lightingEnabled) {
                EXPECT_EQ(GlState().text, before.text);
            }
            frames[with] = grabFrame();
        }
        int black = 0;
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < frameWidth; ++x)
                black += isBlack(frames[1].at(x, y)) && !isBlack(frames[0].at(x, y));
        return std::pair(black, frames[1]);
    };
    const auto [at45, frame45] = shadow(45);
    EXPECT_GT(at45, 2000);
    EXPECT_GT(differentPixels(shadow(60).second, frame45), 500);
    game.lightingEnabled = false;
    EXPECT_EQ(shadow(45).first, 0);
    player.animationState = animationStanding;
}

TEST_F(Drawing, ThePlayerStandsUntilMovingAndRunsUntilStopping)
{
    Character& player = *resources.player;
    loadPlayerModel();   // the asset pack's model, or none: standing either way
    EXPECT_EQ(player.animationState, animationStanding);
    Md2Model& m = *player.model;
    for (const bool moved : {false, true, true, false, false}) {
        const bool changes = game.runningAnimation != moved;
        m.currentFrame = 43;
        m.nextFrame = 44;
        updatePlayerAnimation(moved);
        EXPECT_EQ(player.animationState, moved ? animationRunning : animationStanding);
        EXPECT_EQ(m.currentFrame, 43);   // blended into the new row from here
        EXPECT_EQ(m.nextFrame, changes ? m.startFrame + 1 : 44);
    }
    loadPlayerModel();
}
