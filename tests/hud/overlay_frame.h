// The HUD rendering tests' frame: the overlay's drawing state over a grey
// buffer, with a fresh game, clock and keys.
#pragma once

#include "render/projection.h"
#include "support/fresh_game.h"
#include "support/pixels.h"

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

// Skips without a display; starts every test from a fresh overlay frame.
class OverlayTest : public FreshGame {
protected:
    void SetUp() override
    {
        FreshGame::SetUp();
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        beginOverlayFrame();
    }
};

// One frame of `draw` over a fresh overlay frame.
template <typename Draw>
Frame overlayFrame(Draw draw)
{
    beginOverlayFrame();
    draw();
    return grabFrame();
}
