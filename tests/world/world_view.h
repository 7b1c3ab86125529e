// Helpers of the world rendering tests: the game's camera and GL state, the
// world built once per process, and reading positions and colours back.
#pragma once

#include "state/game_state.h"
#include "state/resources.h"
#include "platform/gl.h"
#include "support/test_support.h"

#include <algorithm>
#include <array>
#include <vector>

namespace worldview {

// A pixel's world point, unprojected from the depth buffer.
struct WorldPoint {
    double x, y, z;
    bool sky;   // nothing at all was drawn there
};

// The game's perspective (30 degrees, aspect 1, 0.1 to 512.1), depth test,
// back-face culling and the start-up lights, switched on as the frame loop
// does. The clear colour is magenta, which shows wherever nothing was drawn.
void applyGameState();
// Opens the window and builds terrain, sky and water once per process (unless
// another test of the process has), in the asset folder; then applyGameState.
bool prepareWorld();
// Sets the player's position and view and the switches the world reads.
void placeCamera(double x, double z, float heading, double pitch);
void clearBuffers();
// renderScene from the given view at game clock 10 s, without the player.
void renderView(double x, double z, float heading, double pitch);

// Keeps the player's model (if another test of this process made one) out
// of the pictures while it lives.
struct WithoutPlayer {
    Character* saved = resources.player;
    WithoutPlayer() { resources.player = nullptr; }
    ~WithoutPlayer() { resources.player = saved; }
};

// The world point seen at pixel (px, py), counted from the top-left, through
// the camera of game.playerX, playerZ, heading and pitch.
WorldPoint worldAt(int px, int py);
// Rows top..bottom-1 of the colour buffer.
std::vector<unsigned char> readRegion(int top, int bottom);
int countDifferent(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);
bool isClearColour(Rgb c);
// Distance from the eye (playerX, 20, playerZ) to a world point.
double eyeDistance(const WorldPoint& p);
// How far a point read back from the 16-bit depth buffer may be off.
double depthTolerance(const WorldPoint& p);
double depthAt(int px, int py);

// The ray of a pixel through the camera of the last pass, from the near to
// the far plane.
struct PixelRay {
    double origin[3], direction[3];
    GLdouble model[16], projection[16];
    GLint viewport[4];
};
PixelRay rayAt(int px, int py);
// Where the ray meets the plane on which the given axis (0 x, 1 y, 2 z)
// equals `value`, inside the rectangle of the two following axes (y, z for
// x; z, x for y; x, y for z). False when it misses.
bool planeHit(const PixelRay& ray, int axis, double value, double lowA, double highA,
              double lowB, double highB, double hit[3]);
// The window depth of that hit; 2 when it misses.
double planeDepth(const PixelRay& ray, int axis, double value, double lowA, double highA,
                  double lowB, double highB);

// Level 0 of a texture as the GL holds it (bottom row first); empty when the
// file could not be loaded.
struct TextureImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    // Bilinear sample at (s, t), clamped to the edge, as 0..255 per channel.
    std::array<double, 3> sample(double s, double t) const
    {
        const double x = std::clamp(s * width - 0.5, 0.0, width - 1.0);
        const double y = std::clamp(t * height - 0.5, 0.0, height - 1.0);
        const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
        const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
        const double fx = x - x0, fy = y - y0;
        std::array<double, 3> out{};
        for (int c = 0; c < 3; ++c) {
            auto at = [&](int i, int j) { return rgb[(static_cast<std::size_t>(j) * width + i) * 3 + c]; };
            out[c] = (at(x0, y0) * (1 - fx) + at(x1, y0) * fx) * (1 - fy) +
                     (at(x0, y1) * (1 - fx) + at(x1, y1) * fx) * fy;
        }
        return out;
    }
};
TextureImage textureImage(GLuint texture);

// Primitives the pipeline was handed while `draw` ran. The driver's unit
// (how it counts strips compiled into a list) is its own, so tests compare
// against counts of the very lists measured the same way.
template <class Draw>
GLuint primitivesOf(Draw draw)
{
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

}  // namespace worldview

#define REQUIRE_WORLD()                                             \
    do {                                                            \
        if (!worldview::prepareWorld())                             \
            GTEST_SKIP() << "no X display for the rendering tests"; \
    } while (0)
