// Explosion particle systems: the reset's random numbers, the advance of one
// particle, the three-frame explosion and particle 1's size line.
#include "state/game_state.h"
#include "state/resources.h"
#include "entities/particles.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::unique_ptr<ParticleSystem> gameSystem(int count)
{
    auto system = std::make_unique<ParticleSystem>();
    system->count = count;
    system->slowdown = 0.4f;
    system->speedFactor = 5;
    system->fadeGreen = 0.4f;
    return system;
}

std::string sizeLine(float size)
{
    std::ostringstream s;
    s << size << '\n';
    return s.str();
}

// stepParticles draws; give it the game's window when there is one.
bool haveWindow()
{
    return openTestWindow();
}

}  // namespace

TEST(Particles, ConstructorDefaults)
{
    auto system = std::make_unique<ParticleSystem>();
    EXPECT_EQ(system->count, 2000);
    EXPECT_FLOAT_EQ(system->slowdown, 0.8f);
    EXPECT_EQ(system->speedFactor, 5);
    EXPECT_EQ(system->frameCounter, 0);
    EXPECT_FLOAT_EQ(system->fadeRed + system->fadeGreen + system->fadeBlue, 0.0f);
}

TEST(Particles, ResetDrawsTenRandomNumbersPerParticleInOrder)
{
    auto system = gameSystem(4);
    system->frameCounter = 7;
    std::srand(4242);
    resetParticles(*system);
    const int after = std::rand();

    std::srand(4242);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const int fadeRoll = std::rand();
        const int vx = std::rand(), vy = std::rand(), vz = std::rand();
        for (int k = 0; k < 6; ++k)
            std::rand();
        const Particle& p = system->particles[i];
        EXPECT_TRUE(p.active);
        EXPECT_EQ(p.life, 1.0f);
        EXPECT_NEAR(p.fade, (fadeRoll % 100) / 5.0 + 0.01, 1e-5);
        EXPECT_EQ(p.velocityX, static_cast<float>(((vx % 50) - 26) * 5));
        EXPECT_EQ(p.velocityY, static_cast<float>(((vy % 50) - 25) * 5));
        EXPECT_EQ(p.velocityZ, static_cast<float>(((vz % 50) - 25) * 5));
        EXPECT_EQ(p.x + p.y + p.z, 0.0f);
        EXPECT_EQ(p.accelerationX, 0.0f);
        EXPECT_FLOAT_EQ(p.accelerationY, -2.8f);
        EXPECT_EQ(p.accelerationZ, 0.0f);
        EXPECT_EQ(p.red, 1.0f);
        EXPECT_EQ(p.green, 1.0f);
        EXPECT_EQ(p.blue, 0.0f);
        EXPECT_EQ(p.baseSize, 5.0f);
        EXPECT_EQ(p.size, 5.0f);
    }
    EXPECT_EQ(std::rand(), after);   // nothing more was drawn
    EXPECT_EQ(system->frameCounter, 7);
}

TEST(Particles, GameSystemsAreMadeAndResetInOrder)
{
    ParticleSystem* old[4];
    for (int i = 0; i < 4; ++i)
        old[i] = resources.explosionSystems[i];
    std::srand(99);
    makeExplosionSystems();
    const int after = std::rand();
    std::srand(99);
    for (int i = 0; i < 4 * 3000 * 10; ++i)
        std::rand();
    EXPECT_EQ(std::rand(), after);
    for (ParticleSystem* s : resources.explosionSystems) {
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->count, 3000);
        EXPECT_FLOAT_EQ(s->slowdown, 0.4f);
        EXPECT_EQ(s->speedFactor, 5);
        EXPECT_EQ(s->frameCounter, 0);
        EXPECT_FLOAT_EQ(s->fadeGreen, 0.4f);
        EXPECT_FLOAT_EQ(s->fadeRed + s->fadeBlue, 0.0f);
        EXPECT_TRUE(s->particles[2999].active);
        EXPECT_EQ(s->particles[2999].size, 5.0f);
    }
    // The first system drew its numbers first.
    std::srand(99);
    const int firstFade = std::rand();
    EXPECT_NEAR(resources.explosionSystems[0]->particles[0].fade, (firstFade % 100) / 5.0 + 0.01, 1e-5);
    for (int i = 0; i < 4; ++i)
        delete old[i];
}

TEST(Particles, GreenFadesToZeroAfterThreeStepsRedAndBlueStay)
{
    auto system = gameSystem(1);
    resetParticles(*system);
    Particle& p = system->particles[0];
    p.fade = 0.01f;
    const float greens[] = {0.6f, 0.2f, 0.0f, 0.0f, 0.0f};
    for (float g : greens) {
        advanceParticle(*system, p);
        EXPECT_NEAR(p.green, g, 1e-6);
        EXPECT_EQ(p.red, 1.0f);
        EXPECT_EQ(p.blue, 0.0f);
    }
}

TEST(Particles, AdvanceMovesByVelocityOverSlowdownAndShrinks)
{
    auto system = gameSystem(1);
    resetParticles(*system);
    Particle& p = system->particles[0];
    p.fade = 0.1f;
    p.velocityX = 40;
    p.velocityY = 80;
    p.velocityZ = -20;
    advanceParticle(*system, p);
    EXPECT_FLOAT_EQ(p.x, 1.0f);   // 40 / (0.4 x 100)
    EXPECT_FLOAT_EQ(p.y, 2.0f);
    EXPECT_FLOAT_EQ(p.z, -0.5f);
    EXPECT_FLOAT_EQ(p.velocityY, 77.2f);
    EXPECT_FLOAT_EQ(p.life, 0.9f);
    EXPECT_FLOAT_EQ(p.size, 4.5f);
}

TEST(Particles, ARespawnKeepsTheNegativeLifeAndTheLastSize)
{
    auto system = gameSystem(1);
    system->biasX = 3;
    system->biasY = -2;
    resetParticles(*system);
    Particle& p = system->particles[0];
    p.fade = 2.0f;   // burns out in one step
    p.velocityX = 100;

    std::srand(77);
    const int fadeRoll = std::rand(), vx = std::rand(), vy = std::rand(), vz = std::rand();
    std::srand(77);
    advanceParticle(*system, p);
    EXPECT_FLOAT_EQ(p.life, -1.0f);
    EXPECT_EQ(p.size, 5.0f);           // not life x base size
    EXPECT_EQ(p.x + p.y + p.z, 0.0f);  // back at the centre
    EXPECT_NEAR(p.fade, (fadeRoll % 100) / 1000.0 + 0.003, 1e-6);
    EXPECT_EQ(p.velocityX, static_cast<float>((vx % 60) - 32 + 3));
    EXPECT_EQ(p.velocityY, static_cast<float>((vy % 60) - 30 - 2));
    EXPECT_EQ(p.velocityZ, static_cast<float>((vz % 60) - 30));
    EXPECT_GE(p.fade, 0.003f);
    EXPECT_LE(p.fade, 0.003f + 0.099f + 1e-6f);

    // Life stays negative, so it is respawned again at every later step.
    const float lifeBefore = p.life;
    advanceParticle(*system, p);
    EXPECT_LT(p.life, lifeBefore);
    EXPECT_EQ(p.size, 5.0f);
    EXPECT_EQ(p.x + p.y + p.z, 0.0f);
}

TEST(Particles, StepWritesParticleOnesSizeEachStep)
{
    if (!haveWindow())
        GTEST_SKIP() << "no display";
    auto system = gameSystem(3);
    resetParticles(*system);
    system->particles[1].fade = 0.25f;
    system->particles[0].fade = 0.5f;
    ::testing::internal::CaptureStdout();
    stepParticles(*system);
    stepParticles(*system);
    stepParticles(*system);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              sizeLine(5.0f) + sizeLine(3.75f) + sizeLine(2.5f));
    EXPECT_EQ(system->frameCounter, 3);

    // A system of one particle has no particle 1: nothing is written.
    auto single = gameSystem(1);
    resetParticles(*single);
    ::testing::internal::CaptureStdout();
    stepParticles(*single);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(Particles, AnExplosionLastsThreeFramesFromCounterZeroOrOne)
{
    if (!haveWindow())
        GTEST_SKIP() << "no display";
    for (int start : {0, 1}) {
        SCOPED_TRACE(start);
        auto system = gameSystem(5);
        system->frameCounter = start;
        game.explosionPending = true;
        int frames = 0;
        ::testing::internal::CaptureStdout();
        while (game.explosionPending && frames < 10) {
            playExplosionFrame(*system);
            ++frames;
        }
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(frames, 3);
        EXPECT_EQ(system->frameCounter, 1);
        // Two steps in each of the first two frames, one in the last.
        int lines = 0;
        for (char c : out)
            lines += c == '\n';
        EXPECT_EQ(lines, 5);
        // Every frame starts from a fresh reset: each frame's first line is 5.
        EXPECT_EQ(out.substr(0, 2), "5\n");
    }
    game.explosionPending = false;
}
