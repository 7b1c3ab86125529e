// Explosion particles: the reset, the advance and respawn of one particle and particle 1's size line; and the copy counter asking
// the driver only what it knows.
#include "entities/particle_copies.h"
#include "entities/particles.h"
#include "platform/gl.h"
#include "state/game_state.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// A system as the game makes its four.
std::unique_ptr<ParticleSystem> gameSystem(int count)
{
    auto system = std::make_unique<ParticleSystem>();
    system->count = count;
    system->slowdown = 0.4f;
    system->fadeGreen = 0.4f;
    return system;
}

}  // namespace

TEST(Particles, ResetAdvanceAndRespawn)
{
    // A reset starts every particle live, full and yellow at the centre.
    auto system = gameSystem(1);
    resetParticles(*system);
    Particle& p = system->particles[0];
    EXPECT_EQ(std::tuple(p.active, p.life, p.x, p.y, p.z, p.red, p.green, p.blue),
              std::tuple(true, 1.f, 0.f, 0.f, 0.f, 1.f, 1.f, 0.f));
    p.fade = 0.1f;
    p.velocityX = 40;
    p.velocityY = 80;
    p.velocityZ = -20;
    // Moved by velocity over 0.4 x 100, green fading to 0 in three steps.
    const float greens[] = {0.6f, 0.2f, 0.0f};
    const float ys[] = {2.0f, 3.93f, 5.79f};
    for (int step = 0; step < 3; ++step) {
        advanceParticle(*system, p);
        EXPECT_NEAR(p.x, 1.0f * (step + 1), 1e-5);
        EXPECT_NEAR(p.y, ys[step], 1e-5);
        EXPECT_NEAR(p.z, -0.5f * (step + 1), 1e-5);
        EXPECT_NEAR(p.green, greens[step], 1e-6);
        EXPECT_EQ(std::tuple(p.red, p.blue), std::tuple(1.0f, 0.0f));
        EXPECT_NEAR(p.life, 1.0f - 0.1f * (step + 1), 1e-6);
        EXPECT_NEAR(p.size, 5.0f * p.life, 1e-5);
    }
    // Burnt out: back at the centre with a slow fade, keeping its negative
    // life and its last size.
    p.fade = 2.0f;
    const float sizeBefore = p.size;
    advanceParticle(*system, p);
    EXPECT_NEAR(p.life, 0.7f - 2.0f, 1e-6);
    EXPECT_EQ(std::tuple(p.x, p.y, p.z, p.size), std::tuple(0.f, 0.f, 0.f, sizeBefore));
    EXPECT_LT(p.fade, 0.11f);

    // Red fades at the system's own rate too, down to nothing and no further.
    system->fadeRed = 0.75f;
    p.fade = 0;
    advanceParticle(*system, p);
    EXPECT_NEAR(p.red, 0.25f, 1e-6);
    advanceParticle(*system, p);
    EXPECT_EQ(p.red, 0.0f);
}

TEST(Particles, EachStepWritesParticleOnesSize)
{
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    auto system = gameSystem(3);
    resetParticles(*system);
    system->particles[1].fade = 0.25f;
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < 3; ++i)
        stepParticles(*system);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "5\n3.75\n2.5\n");
}

TEST(ParticleCopies, QueriesFollowTheVersionAndExtensions)
{
    const struct {
        const char *version, *extensions;
        CopyStateQueries queries;
    } drivers[] = {
        {nullptr, nullptr, {}},
        {"1.3 Mesa", "", {}},
        {"1.3", "GL_EXT_blend_minmax GL_EXT_blend_func_separate", {true, false, true, false, false, false}},
        {"1.2", "GL_EXT_blend_subtract_x GL_ARB_color_buffer_floats", {}},   // names match whole
        {"2.1 Mesa 22.3.6", "GL_ARB_imaging", {true, true, true, false, false, false}},
        {"2.1", "GL_ARB_multitexture GL_ARB_color_buffer_float", {true, true, true, true, true, true}},
        {"3.0", "", {true, true, true, true, false, true}},
        {"4.5 (Compatibility Profile) Mesa", "GL_ARB_color_buffer_float", {true, true, true, true, true, true}},
    };
    const auto fields = [](const CopyStateQueries& q) {
        return std::tuple(q.blendEquation, q.separateEquations, q.separateFactors, q.colourClamping, q.floatMode,
                          q.floatBuffers);
    };
    for (const auto& d : drivers)
        EXPECT_EQ(fields(copyStateQueries(d.version, d.extensions)), fields(d.queries))
            << (d.version ? d.version : "null") << " " << (d.extensions ? d.extensions : "");
}

// With the particles' blending set: whether the copies of one particle drawn
// are those a colour channel can show, with no GL error left.
bool everyVisibleCopyDrawn()
{
    while (glGetError() != GL_NO_ERROR) {
    }
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    ParticleCopies copies;
    copies.begin();
    Particle p;
    int drawn = 0;
    for (int i = 0; i < 1000; ++i)
        drawn += copies.needed(p, 1, 2, 3);
    // Under the depth test every copy is drawn.
    glEnable(GL_DEPTH_TEST);
    copies.begin();
    int underDepthTest = 0;
    for (int i = 0; i < 1000; ++i)
        underDepthTest += copies.needed(p, 1, 2, 3);
    glDisable(GL_BLEND);
    GLint bits = 0;
    glGetIntegerv(GL_RED_BITS, &bits);
    return glGetError() == GL_NO_ERROR && drawn == (1 << bits) - 1 && underDepthTest == 1000;
}

TEST(ParticleCopies, ADriverWithOrWithoutFloatColourDrawsEveryVisibleCopyAndNoError)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no display";
    // Without float colour buffers: Mesa told to hide them, in a process of
    // its own (run again from its start there, so the window opens there).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
            ::setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_color_buffer_float", 1);
            if (!openTestWindow())
                std::exit(3);
            std::exit(everyVisibleCopyDrawn() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    ASSERT_TRUE(openTestWindow());
    EXPECT_TRUE(everyVisibleCopyDrawn());
}
