// The particle copy counter asks the driver only what it knows: which queries
// a GL version and extension list offer, the limit found with the others
// answered by what a driver without them does, and no GL error left behind
// on a real driver with the features taken away.
#include "entities/particle_copies.h"
#include "platform/gl.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

namespace {

auto fields(const CopyStateQueries& q)
{
    return std::tuple(q.blendEquation, q.separateEquations, q.separateFactors, q.colourClamping, q.floatMode,
                      q.floatBuffers);
}

struct Driver {
    const char* version;
    const char* extensions;
    CopyStateQueries queries;
};

TEST(ParticleCopies, QueriesFollowTheVersionAndExtensions)
{
    const Driver drivers[] = {
        {nullptr, nullptr, {}},
        {"1.3 Mesa", "", {}},
        {"1.3", "GL_EXT_blend_minmax GL_EXT_blend_func_separate", {true, false, true, false, false, false}},
        {"1.2", "GL_EXT_blend_subtract_x GL_ARB_color_buffer_floats", {}},   // names match whole
        {"2.1 Mesa 22.3.6", "GL_ARB_imaging", {true, true, true, false, false, false}},
        {"2.1", "GL_ARB_multitexture GL_ARB_color_buffer_float", {true, true, true, true, true, true}},
        {"3.0", "", {true, true, true, true, false, true}},
        {"4.5 (Compatibility Profile) Mesa", "GL_ARB_color_buffer_float", {true, true, true, true, true, true}},
    };
    for (const Driver& d : drivers)
        EXPECT_EQ(fields(copyStateQueries(d.version, d.extensions)), fields(d.queries)) << (d.version ? d.version : "null");
}

// Which names a driver with `q` can be asked for.
bool knows(const CopyStateQueries& q, unsigned name)
{
    switch (name) {
    case GL_BLEND_EQUATION_RGB: return q.blendEquation;
    case GL_BLEND_EQUATION_ALPHA: return q.separateEquations;
    case GL_BLEND_SRC_RGB: case GL_BLEND_DST_RGB: case GL_BLEND_SRC_ALPHA: case GL_BLEND_DST_ALPHA: return q.separateFactors;
    case GL_CLAMP_VERTEX_COLOR: return q.colourClamping;
    case GL_RGBA_FLOAT_MODE_ARB: return q.floatMode;
    default: return true;
    }
}

struct LimitCase {
    const char* what;
    CopyStateQueries queries;
    int floatMode, clamp;   // what the driver answers when asked
    CopyLimit expected;
};

TEST(ParticleCopies, LimitAsksOnlyKnownQueriesAndAssumesTheDefaultsOfTheOthers)
{
    const CopyStateQueries all{true, true, true, true, true, true};
    const LimitCase cases[] = {
        {"a GL 1.3 driver", {}, 0, 0, {255, true}},
        {"everything", all, GL_FALSE, GL_TRUE, {255, true}},
        {"clamping off", all, GL_FALSE, GL_FALSE, {255, false}},
        {"a float colour buffer", all, GL_TRUE, GL_TRUE, {0, true}},
        {"float buffers without the float-mode query", {true, true, true, true, false, true}, 0, GL_TRUE, {0, true}},
    };
    for (const LimitCase& c : cases) {
        // Additive blending of ones into 8 bits, no depth or stencil test.
        const std::map<unsigned, int> state = {
            {GL_BLEND, GL_TRUE}, {GL_BLEND_EQUATION_RGB, GL_FUNC_ADD}, {GL_BLEND_EQUATION_ALPHA, GL_FUNC_ADD},
            {GL_BLEND_SRC, GL_ONE}, {GL_BLEND_DST, GL_ONE}, {GL_BLEND_SRC_RGB, GL_ONE}, {GL_BLEND_DST_RGB, GL_ONE},
            {GL_BLEND_SRC_ALPHA, GL_ONE}, {GL_BLEND_DST_ALPHA, GL_ONE}, {GL_RED_BITS, 8}, {GL_GREEN_BITS, 8},
            {GL_BLUE_BITS, 8}, {GL_ALPHA_BITS, 0}, {GL_RGBA_FLOAT_MODE_ARB, c.floatMode},
            {GL_CLAMP_VERTEX_COLOR, c.clamp}};
        std::vector<unsigned> unknownAsked;
        const CopyLimit found = copyLimit(c.queries, [&](unsigned name) {
            if (!knows(c.queries, name))
                unknownAsked.push_back(name);
            const auto at = state.find(name);
            return at == state.end() ? 0 : at->second;
        });
        EXPECT_EQ(std::tuple(found.copies, found.clampsColour), std::tuple(c.expected.copies, c.expected.clampsColour))
            << c.what;
        EXPECT_TRUE(unknownAsked.empty()) << c.what << ": asked 0x" << std::hex << unknownAsked.front();
    }
}

// Sets the particles' blending and counts how many identical quads are drawn.
int copiesDrawn()
{
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    ParticleCopies copies;
    copies.begin();
    Particle p;
    int drawn = 0;
    for (int i = 0; i < 1000; ++i)
        drawn += copies.needed(p, 1, 2, 3);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    return drawn;
}

TEST(ParticleCopies, BeginLeavesNoErrorAndSkipsAsBefore)
{
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    while (glGetError() != GL_NO_ERROR) {
    }
    GLint bits = 0;
    glGetIntegerv(GL_RED_BITS, &bits);
    EXPECT_EQ(copiesDrawn(), (1 << bits) - 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ParticleCopies, BeginLeavesNoErrorOnADriverWithoutFloatColour)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no display";
    // A GL 2.1 driver without float colour buffers: Mesa told to hide them,
    // in a process of its own (the test is run again from its start there,
    // so nothing may open the window before this).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
            ::setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_color_buffer_float", 1);
            if (!openTestWindow())
                std::exit(3);
            while (glGetError() != GL_NO_ERROR) {
            }
            GLint bits = 0;
            glGetIntegerv(GL_RED_BITS, &bits);
            const int drawn = copiesDrawn();
            std::exit(glGetError() != GL_NO_ERROR ? 1 : drawn != (1 << bits) - 1 ? 2 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
