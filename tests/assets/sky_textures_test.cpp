// The five sky faces meet without seams: in the files, texel by texel
// along every shared edge, and on screen when drawn as the game draws its
// sky box. The horizon shows the game's haze, the sky above is blue and
// below the horizon lies a distant land or sea, not a void.
#include "assets/texture_files.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace texturetest;

// The sky box as the game builds it: half-size 256, corners with their
// texture coordinates, faces in the order of skyFiles.
struct SkyCorner {
    float s, t, x, y, z;
};
const SkyCorner skyCorners[5][4] = {
    {{1, 0, 256, -256, -256}, {1, 1, 256, 256, -256}, {0, 1, -256, 256, -256}, {0, 0, -256, -256, -256}},   // front
    {{1, 0, 256, -256, 256}, {1, 1, 256, 256, 256}, {0, 1, -256, 256, 256}, {0, 0, -256, -256, 256}},       // back
    {{0, 1, -256, 256, -256}, {0, 0, -256, 256, 256}, {1, 0, 256, 256, 256}, {1, 1, 256, 256, -256}},       // top
    {{1, 0, -256, -256, 256}, {1, 1, -256, 256, 256}, {0, 1, -256, 256, -256}, {0, 0, -256, -256, -256}},   // left
    {{1, 0, 256, -256, 256}, {1, 1, 256, 256, 256}, {0, 1, 256, 256, -256}, {0, 0, 256, -256, -256}},       // right
};

// The box point of a face at (s, t), bilinear between its corners.
std::array<double, 3> facePoint(int face, double s, double t)
{
    auto corner = [&](float cs, float ct) {
        for (const SkyCorner& c : skyCorners[face])
            if (c.s == cs && c.t == ct)
                return std::array<double, 3>{c.x, c.y, c.z};
        return std::array<double, 3>{0, 0, 0};
    };
    const auto a = corner(0, 0), b = corner(1, 0), c = corner(0, 1), d = corner(1, 1);
    std::array<double, 3> p{};
    for (int i = 0; i < 3; ++i)
        p[i] = (a[i] * (1 - s) + b[i] * s) * (1 - t) + (c[i] * (1 - s) + d[i] * s) * t;
    return p;
}

TEST(SkyTextures, FacesMatchAlongEverySharedEdge)
{
    ASSERT_TRUE(skyTexturesReady());
    std::vector<Picture> faces;
    for (const Expected& e : skyFiles)
        faces.push_back(readPicture(textureFile(e.name)));
    const int n = faces[0].width;
    // Every border texel of every face, with its point on the box. Row 0 of
    // a picture is t = 1 (the game's loader puts the bottom row first).
    struct Border {
        int face, x, y;
        std::array<double, 3> p;
    };
    std::vector<Border> border;
    for (int f = 0; f < 5; ++f) {
        for (int i = 0; i < n; ++i) {
            for (auto [x, y] : {std::pair{i, 0}, std::pair{i, n - 1}, std::pair{0, i}, std::pair{n - 1, i}}) {
                const double s = (x + 0.5) / n, t = 1.0 - (y + 0.5) / n;
                border.push_back({f, x, y, facePoint(f, s, t)});
            }
        }
    }
    // Pair each border texel with the nearest border texel of another face
    // (at most a texel apart across the fold) and compare their colours.
    std::sort(border.begin(), border.end(), [](const Border& a, const Border& b) { return a.p[0] < b.p[0]; });
    const double texel = 512.0 / n;
    int pairs = 0;
    double sum = 0, worst = 0;
    for (std::size_t i = 0; i < border.size(); ++i) {
        const Border* best = nullptr;
        double bestDistance = 1.5 * texel;
        auto consider = [&](std::size_t j) {
            if (std::fabs(border[j].p[0] - border[i].p[0]) >= bestDistance)
                return false;
            if (border[j].face != border[i].face) {
                const double dx = border[j].p[0] - border[i].p[0], dy = border[j].p[1] - border[i].p[1],
                             dz = border[j].p[2] - border[i].p[2];
                const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = &border[j];
                }
            }
            return true;
        };
        for (std::size_t j = i + 1; j < border.size() && consider(j); ++j) {
        }
        for (std::size_t j = i; j-- > 0 && consider(j);) {
        }
        if (!best)
            continue;
        const double diff = pixelDifference(faces[border[i].face].at(border[i].x, border[i].y),
                                            faces[best->face].at(best->x, best->y));
        sum += diff;
        worst = std::max(worst, diff);
        ++pairs;
    }
    // Both sides of eight shared edges of n texels each (the lower rims of
    // the side faces have no neighbour).
    RecordProperty("edge_pairs", pairs);
    RecordProperty("edge_mean_difference", std::to_string(sum / pairs));
    RecordProperty("edge_worst_difference", std::to_string(worst));
    EXPECT_GE(pairs, 16 * n);
    EXPECT_LT(sum / pairs, 2.0);
    EXPECT_LT(worst, 24.0);
}

// Draws the sky box from inside as the game does: modulated by the haze
// colour, clamped at the edges, default filtering with mipmaps.
class SkyView : public ::testing::Test {
protected:
    GLuint textures[5] = {};
    bool loaded = false;

    bool load()
    {
        if (!skyTexturesReady() || !openTestWindow())
            return false;
        loaded = true;
        glEnable(GL_TEXTURE_2D);
        for (int f = 0; f < 5; ++f) {
            glGenTextures(1, &textures[f]);
            glBindTexture(GL_TEXTURE_2D, textures[f]);
            if (!glfwLoadTexture2D(textureFile(skyFiles[f].name).c_str(), GLFW_BUILD_MIPMAPS_BIT))
                ADD_FAILURE() << skyFiles[f].name;
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        return true;
    }
    void TearDown() override
    {
        if (!loaded)
            return;
        glDeleteTextures(5, textures);
        glDisable(GL_TEXTURE_2D);
    }
    void draw(float heading, float pitch)
    {
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(30.0, 1.0, 0.1, 512.1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glRotatef(pitch, 1, 0, 0);
        glRotatef(heading, 0, 1, 0);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor4f(0.62f, 0.756f, 0.9f, 0.0f);
        for (int f = 0; f < 5; ++f) {
            glBindTexture(GL_TEXTURE_2D, textures[f]);
            glBegin(GL_QUADS);
            for (const SkyCorner& c : skyCorners[f]) {
                glTexCoord2f(c.s, c.t);
                glVertex3f(c.x, c.y, c.z);
            }
            glEnd();
        }
        glDisable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
    }
};

TEST_F(SkyView, LooksRoundWithoutSeamsAndHazeAtTheHorizon)
{
    if (!load())
        GTEST_SKIP() << "no X display";
    // At pitch 10 (looking down) the horizon lies tan 10 / tan 15 of the
    // half height above the middle: row 103 from the top.
    const int horizonRow = 300 - static_cast<int>(std::lround(300 * std::tan(10 * M_PI / 180) / std::tan(15 * M_PI / 180)));
    for (int heading : {0, 90, 180, 270}) {
        SCOPED_TRACE(heading);
        draw(float(heading), 10);
        saveScreenshot("sky_heading" + std::to_string(heading));
        // Sky above, bluer toward the top; nothing left undrawn.
        const Rgb top = readPixel(400, 5);
        EXPECT_GT(top.b, top.r + 40);
        for (int y = 0; y < 600; y += 50)
            for (int x = 0; x < 800; x += 50) {
                const Rgb c = readPixel(x, y);
                EXPECT_FALSE(c.r == 255 && c.g == 0 && c.b == 255) << x << "," << y;
            }
        // Above the horizon (and the far hills) the haze is close to the
        // game's clear colour.
        double r = 0, g = 0, b = 0;
        for (int x = 0; x < 800; x += 10) {
            const Rgb c = readPixel(x, horizonRow - 100);
            r += c.r / 80.0;
            g += c.g / 80.0;
            b += c.b / 80.0;
        }
        EXPECT_NEAR(r, 0.62 * 255, 30);
        EXPECT_NEAR(g, 0.756 * 255, 30);
        EXPECT_NEAR(b, 0.9 * 255, 30);
        // Below the horizon a distant land or sea, neither black nor sky blue.
        const Rgb below = readPixel(400, horizonRow + 30);
        EXPECT_GT(below.r + below.g + below.b, 150);
        EXPECT_LT(below.b, 0.9 * 255 - 40);
    }
    // Headings 45, 135, 225 and 315 put the fold between two faces down the
    // middle of the screen: the columns either side of it differ no more than
    // neighbouring columns elsewhere.
    for (int heading : {45, 135, 225, 315}) {
        SCOPED_TRACE(heading);
        draw(float(heading), -20);
        saveScreenshot("sky_corner" + std::to_string(heading));
        double acrossFold = 0, elsewhere = 0;
        for (int y = 0; y < 600; y += 4) {
            auto diff = [&](int x) {
                const Rgb a = readPixel(x, y), b = readPixel(x + 1, y);
                return (std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b)) / 3.0;
            };
            acrossFold += std::max({diff(398), diff(399), diff(400)});
            elsewhere += std::max({diff(298), diff(299), diff(300)});
        }
        RecordProperty("fold_" + std::to_string(heading), std::to_string(acrossFold / 150) + " vs " +
                                                          std::to_string(elsewhere / 150));
        EXPECT_LT(acrossFold, 1.5 * elsewhere + 150.0);
    }
}

}  // namespace
