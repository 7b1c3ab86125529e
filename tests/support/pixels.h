// Pixel helpers of the rendering tests: the whole 800 x 600 buffer read at
// once, colour classes, bounding boxes and counts of matching pixels, and a
// tiny texture to draw with.
#pragma once

#include "platform/gl.h"
#include "support/test_support.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <vector>

inline constexpr int frameWidth = 800, frameHeight = 600;

// A colour buffer, addressed from the top-left corner like readPixel.
struct Frame {
    std::vector<unsigned char> rgb;
    Rgb at(int x, int y) const
    {
        const std::size_t i = (static_cast<std::size_t>(frameHeight - 1 - y) * frameWidth + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

inline Frame grabFrame(bool front = false)
{
    Frame f;
    f.rgb.resize(static_cast<std::size_t>(frameWidth) * frameHeight * 3);
    glFinish();
    glReadBuffer(front ? GL_FRONT : GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frameWidth, frameHeight, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
}

inline bool isRed(Rgb c) { return c.r > 200 && c.g < 60 && c.b < 60; }
inline bool isBlue(Rgb c) { return c.r < 60 && c.g < 60 && c.b > 200; }
inline bool isWhite(Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; }
inline bool isMagenta(Rgb c) { return c.r > 200 && c.g < 60 && c.b > 200; }
inline bool isBlack(Rgb c) { return c.r < 8 && c.g < 8 && c.b < 8; }
inline bool near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}
// The mid-grey (0.5) that beginOverlayFrame clears to.
inline bool isClearGrey(Rgb c) { return std::min({c.r, c.g, c.b}) >= 120 && std::max({c.r, c.g, c.b}) <= 135; }

// Inclusive pixel rectangle; empty when no pixel matched.
struct Box {
    int left = frameWidth, top = frameHeight, right = -1, bottom = -1;
    bool empty() const { return right < left; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// Calls visit(x, y, matched) for every pixel of the inclusive rectangle.
template <typename Pred, typename Visit>
void scan(const Frame& f, Pred pred, int x0, int y0, int x1, int y1, Visit visit)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            visit(x, y, pred(f.at(x, y)));
}

inline std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "box " << b.left << "," << b.top << " .. " << b.right << "," << b.bottom;
}

// Whether the box's edges lie within `tolerance` pixels of the given ones.
inline bool boxNear(const Box& b, double left, double top, double right, double bottom, double tolerance)
{
    return std::abs(b.left - left) <= tolerance && std::abs(b.top - top) <= tolerance &&
           std::abs(b.right - right) <= tolerance && std::abs(b.bottom - bottom) <= tolerance;
}

template <typename Pred>
Box boxOf(const Frame& f, Pred pred, int x0 = 0, int y0 = 0, int x1 = frameWidth - 1, int y1 = frameHeight - 1)
{
    Box b;
    scan(f, pred, x0, y0, x1, y1, [&](int x, int y, bool hit) {
        if (hit)
            b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x), std::max(b.bottom, y)};
    });
    return b;
}

template <typename Pred>
int countPixels(const Frame& f, Pred pred, int x0 = 0, int y0 = 0, int x1 = frameWidth - 1, int y1 = frameHeight - 1)
{
    int n = 0;
    scan(f, pred, x0, y0, x1, y1, [&](int, int, bool hit) { n += hit; });
    return n;
}

// Matching pixels in the square of half-width r around (x, y), clipped to
// the frame.
template <typename Pred>
int countNear(const Frame& f, Pred pred, int x, int y, int r)
{
    return countPixels(f, pred, std::max(0, x - r), std::max(0, y - r), std::min(frameWidth - 1, x + r),
                       std::min(frameHeight - 1, y + r));
}

// Pixels that differ between two frames, within the inclusive rectangle.
inline int differentPixels(const Frame& a, const Frame& b, int x0 = 0, int y0 = 0, int x1 = frameWidth - 1,
                           int y1 = frameHeight - 1)
{
    int n = 0;
    scan(a, [](Rgb) { return true; }, x0, y0, x1, y1, [&](int x, int y, bool) { n += !near(a.at(x, y), b.at(x, y), 0); });
    return n;
}

// Runs of matching pixels along one row.
template <typename Pred>
int runsInRow(const Frame& f, int y, Pred pred, int x0 = 0, int x1 = frameWidth - 1)
{
    int runs = 0;
    bool inside = false;
    scan(f, pred, x0, y, x1, y, [&](int, int, bool hit) {
        runs += hit && !inside;
        inside = hit;
    });
    return runs;
}

// A 2 x 2 RGB texture with nearest filtering; rows bottom first as OpenGL
// stores them.
inline GLuint makeTexture(const std::array<unsigned char, 12>& rgb)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}
