// The drawing's shortcuts change no pixel: each situation of play is drawn
// from the same state twice, straightforwardly and with the shortcuts, and
// the two frames must be equal pixel for pixel. (The frame benchmark does
// the same for whole runs of its scenarios.)
#include "entities/enemies.h"
#include "entities/particles.h"
#include "entities/shots.h"
#include "hud/screens.h"
#include "render/render_options.h"
#include "render/world_texture.h"
#include "support/game_world.h"
#include "support/pixels.h"
#include "view/passes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

struct Situation {
    const char* name;
    std::function<void()> set;   // after a fresh game, the clock at 100 s
};

const Situation situations[] = {
    {"Standing", [] { spawnEnemy(0, -120, 30); }},
    {"LookingAtTheSea", [] { game.playerX = -560, game.playerZ = 200, game.heading = 250, game.pitch = 25; }},
    {"Explosion", [] { game.explosionPending = true, game.explosionX = 0, game.explosionY = -17, game.explosionZ = -150; }},
    // Level aim: the enemy stands too low, so both shots miss at full length.
    {"TwoEqualMissBeams", [] { spawnEnemy(40, -200, 30), game.heading = 20, fireShot(), fireShot(); }},
    {"ChaserSphere", [] { game.chaserActive = true, game.chaserX = 0, game.chaserZ = -100, game.pitch = 20; }},
    {"EnvironmentView",
     [] { game.showEnvironment = true, game.environmentOffsetX = -150, game.environmentOffsetY = 120; }},
    {"EscapeMode", [] { game.escapeMode = true; }},
};

void PrintTo(const Situation& s, std::ostream* out) { *out << s.name; }

// One frame's drawing as the frame loop does it: the cube map or the
// environment view's captures, the scene pass, the overlay and a pending
// explosion. What the drawing advances (water, escape clock and slots, the
// explosion's particles and random numbers) is put back afterwards, so the
// next drawing starts from the same state.
Frame drawFrame(bool shortcuts)
{
    const WaterAnimation water = waterAnimation;
    const EscapeEffect escape = escapeEffect;
    ParticleSystem& system = *resources.explosionSystems[game.explosionSystem];
    const int counter = system.frameCounter;
    const bool pending = game.explosionPending;
    std::srand(7);
    renderOptions.shortcuts = shortcuts;

    if (game.chaserActive || game.showEnvironment) {
        captureEnvironment();
        resetProjection();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawScenePass();
    drawOverlay();
    if (game.explosionPending)
        playExplosionFrame(system);
    const Frame frame = grabFrame();

    renderOptions.shortcuts = true;
    waterAnimation = water;
    escapeEffect = escape;
    system.frameCounter = counter;
    game.explosionPending = pending;
    return frame;
}

class SamePixels : public ::testing::TestWithParam<Situation> {
protected:
    void SetUp() override
    {
        if (!openGameWorld())
            GTEST_SKIP() << "no display";
        resetView();
        glEnable(GL_DEPTH_TEST);   // the depth and culling state game set-up leaves for play
        glEnable(GL_CULL_FACE);
        sys::testSetTime(100.0);
    }
    void TearDown() override
    {
        freeList(shotBeamList);
        freeList(enemyList);
        sys::testUseRealClock();
    }
};

TEST_P(SamePixels, WithAndWithoutTheShortcuts)
{
    GetParam().set();
    const Frame plain = drawFrame(false);
    const Frame quick = drawFrame(true);
    EXPECT_EQ(differentPixels(plain, quick), 0);
}

TEST_F(SamePixels, TheTitlePageBeforeItsTexturesHaveTheirOtherLevels)
{
    // Loaded as start-up loads them, the levels are built only after the
    // first title frame; that frame is the one the levels would give.
    loadStartTextures();
    ASSERT_GT(pendingMipmaps(), 0);
    const auto titleFrame = [] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawTitleScreen();
        return grabFrame();
    };
    const Frame first = titleFrame();
    buildPendingMipmaps();
    EXPECT_EQ(pendingMipmaps(), 0);
    EXPECT_EQ(differentPixels(first, titleFrame()), 0);
    EXPECT_GT(countPixels(first, [](Rgb c) { return !isBlack(c); }), 400000);
}

INSTANTIATE_TEST_SUITE_P(Situations, SamePixels, ::testing::ValuesIn(situations),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
