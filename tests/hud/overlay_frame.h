// Helpers of the HUD rendering tests: a clean overlay state under the game
// perspective, the whole back buffer read at once, colour classes and
// bounding boxes of coloured pixels.
#pragma once

#include "core/game_state.h"
#include "hud/projection.h"
#include "platform/gl.h"
#include "support/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

inline constexpr int frameWidth = 800;
inline constexpr int frameHeight = 600;

// The overlay's drawing state as the frame loop leaves it: game perspective,
// no lighting, no depth test, back faces culled; the buffer cleared to grey.
inline void beginOverlayFrame()
{
    resetProjection();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
}

// The back buffer, addressed from the top-left corner like readPixel.
struct Frame {
    std::vector<unsigned char> rgb;

    Rgb at(int x, int y) const
    {
        const std::size_t i = (static_cast<std::size_t>(frameHeight - 1 - y) * frameWidth + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

inline Frame grabFrame()
{
    Frame f;
    f.rgb.resize(static_cast<std::size_t>(frameWidth) * frameHeight * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frameWidth, frameHeight, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
}

inline bool isRed(Rgb c) { return c.r > 200 && c.g < 60 && c.b < 60; }
inline bool isBlue(Rgb c) { return c.r < 60 && c.g < 60 && c.b > 200; }
inline bool isWhite(Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; }
inline bool isMagenta(Rgb c) { return c.r > 200 && c.g < 60 && c.b > 200; }
inline bool isClearGrey(Rgb c)
{
    return c.r >= 120 && c.r <= 135 && c.g >= 120 && c.g <= 135 && c.b >= 120 && c.b <= 135;
}
inline bool near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// Inclusive pixel rectangle; empty when no pixel matched.
struct Box {
    int left = frameWidth, top = frameHeight, right = -1, bottom = -1;
    bool empty() const { return right < left; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

template <typename Pred>
Box boxOf(const Frame& f, Pred pred, int x0 = 0, int y0 = 0, int x1 = frameWidth - 1,
          int y1 = frameHeight - 1)
{
    Box b;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (pred(f.at(x, y))) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

template <typename Pred>
int countPixels(const Frame& f, Pred pred, int x0 = 0, int y0 = 0, int x1 = frameWidth - 1,
                int y1 = frameHeight - 1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += pred(f.at(x, y)) ? 1 : 0;
    return n;
}

// Runs of matching pixels along one row.
template <typename Pred>
int runsInRow(const Frame& f, int y, Pred pred, int x0 = 0, int x1 = frameWidth - 1)
{
    int runs = 0;
    bool inside = false;
    for (int x = x0; x <= x1; ++x) {
        const bool hit = pred(f.at(x, y));
        if (hit && !inside)
            ++runs;
        inside = hit;
    }
    return runs;
}

// The game state the HUD reads, back at its start values.
inline void resetHudState()
{
    game.chaserActive = false;
    game.showFps = false;
    game.fps = 0;
    game.escapeMode = false;
    game.showEnvironment = false;
    game.lives = 3;
    game.score = 0;
    game.heading = 0;
    game.pitch = 10.0;
    game.menuCursor = 0;
    game.goalMode = 0;
    game.difficulty = 0;
}
