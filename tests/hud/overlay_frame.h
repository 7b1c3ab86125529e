// The HUD rendering tests' frame: the overlay's drawing state over a grey
// buffer, and the game state the HUD reads back at its start values.
#pragma once

#include "state/game_state.h"
#include "render/projection.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

// The overlay's drawing state as the frame loop leaves it: game perspective,
// no lighting, no depth test, back faces culled; the buffer cleared to grey.
inline void beginOverlayFrame()
{
    resetProjection();
    for (GLenum off : {GL_LIGHTING, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_BLEND, GL_COLOR_MATERIAL})
        glDisable(off);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
}

inline void resetHudState()
{
    game = GameState{};
}

// Skips without a display; starts every test from a fresh overlay frame.
class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        resetHudState();
        beginOverlayFrame();
    }
    void TearDown() override { resetHudState(); }
};

// One frame of `draw` over a fresh overlay frame.
template <typename Draw>
Frame overlayFrame(Draw draw)
{
    beginOverlayFrame();
    draw();
    return grabFrame();
}
