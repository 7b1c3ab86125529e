// Shared by the character drawing tests: the game's perspective, a small
// model of three flat-coloured triangles with its skin, frame-buffer
// read-back, and by-hand projections of model points to screen pixels.
#pragma once

#include "entities/md2.h"
#include "entities/md2_test_model.h"
#include "entities/player.h"

#include "state/game_state.h"
#include "state/resources.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace md2test {

constexpr Rgb clearColour = {158, 193, 230};   // (0.62, 0.756, 0.9)
constexpr Rgb red = {255, 0, 0}, green = {0, 255, 0}, blue = {0, 0, 255};

inline bool near(Rgb a, Rgb b, int tolerance = 3)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

inline std::string text(Rgb c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

inline void gameView()
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, 1.0, 0.1, 512.1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glClearColor(0.62f, 0.756f, 0.9f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

inline std::vector<unsigned char> frameBuffer()
{
    std::vector<unsigned char> pixels(800 * 600 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Pixels of the frame buffer that are not the clear colour, and how many of
// them are black.
struct Coverage {
    int drawn = 0, black = 0;
};
inline Coverage coverage(const std::vector<unsigned char>& pixels)
{
    Coverage c;
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        const Rgb p = {pixels[i], pixels[i + 1], pixels[i + 2]};
        if (!near(p, clearColour))
            ++c.drawn;
        if (p.r < 8 && p.g < 8 && p.b < 8)
            ++c.black;
    }
    return c;
}

// Where model-space points (model units) land on screen, in pixels from the
// top-left: the chains of transforms the model and shadow drawings apply,
// done by hand.
struct ScreenPoint {
    int x, y;
};
struct Eye {
    double x, y, z;
};

// The view's pitch, the game's perspective and the 800 x 600 viewport.
inline ScreenPoint toScreen(Eye e, double pitchDegrees)
{
    const double p = pitchDegrees * M_PI / 180.0;
    const double vy = e.y * std::cos(p) - e.z * std::sin(p);
    const double vz = e.y * std::sin(p) + e.z * std::cos(p);
    const double f = 1.0 / std::tan(15.0 * M_PI / 180.0);
    const double ndcX = f * e.x / -vz;
    const double ndcY = f * vy / -vz;
    return {static_cast<int>(std::lround((ndcX + 1.0) * 400.0)),
            static_cast<int>(std::lround((1.0 - ndcY) * 300.0))};
}

// The model: x forward, y sideways, z up; turned -90 about z, then -90
// about x, the view sees (model y, model z, model x), placed at (0, -1, -1).
inline ScreenPoint project(double mx, double my, double mz, double pitchDegrees)
{
    return toScreen({my * 0.025, mz * 0.025 - 1.0, mx * 0.025 - 1.0}, pitchDegrees);
}

// The shadow: the model turned by 225 - heading about its x axis around a
// pivot 0.575 along z, then -90 about z and placed at (0, -1, -0.01): the
// figure lies flat on the plane one unit below the eye.
inline ScreenPoint projectShadow(double mx, double my, double mz, double heading, double pitchDegrees)
{
    const double a = mx * 0.025, b = my * 0.025, c = mz * 0.025 + 0.575;
    const double theta = (225.0 - heading) * M_PI / 180.0;
    const double b2 = b * std::cos(theta) - c * std::sin(theta);
    const double c2 = b * std::sin(theta) + c * std::cos(theta) - 0.575;
    return toScreen({b2, -a - 1.0, c2 - 0.01}, pitchDegrees);
}

// Model points are stored as bytes b with position b x 0.25 + translate.
constexpr float byteScale = 0.25f;
constexpr float translateXY = -32.0f, translateZ = 0.0f;
inline std::uint8_t byteOf(float position, float translate)
{
    return static_cast<std::uint8_t>(std::lround((position - translate) / byteScale));
}

// Three flat-coloured triangles facing the eye: red at the lower left, green
// at the lower right, blue above them. The skin is 64 x 64 texels in four
// coloured quarters; each triangle takes all three corners from one quarter.
struct Tri {
    float y[3], z[3];
    std::int16_t texCoord;
    Rgb colour;
};
inline const Tri colouredTris[3] = {
    {{-8, -1, -8}, {22, 22, 34}, 0, red},
    {{1, 8, 8}, {22, 22, 34}, 1, green},
    {{-5, 5, 0}, {35, 35, 42}, 2, blue},
};

inline TestModel colouredModel()
{
    TestModel m;
    m.skinWidth = 64;
    m.skinHeight = 64;
    m.skins = {skinName("unused.pcx")};
    // Texel rows count from the top of the skin: t = 16 is the upper half.
    m.texCoords = {{16, 48}, {48, 48}, {16, 16}};   // lower left, lower right, upper left
    m.numVertices = 9;
    TestFrame frame;
    frame.header = frameHeader(byteScale, translateXY, "stand");
    frame.header.translate[2] = translateZ;
    for (int t = 0; t < 3; ++t) {
        Md2Triangle tri{};
        for (int k = 0; k < 3; ++k) {
            frame.vertices.push_back({{byteOf(0, translateXY), byteOf(colouredTris[t].y[k], translateXY),
                                       byteOf(colouredTris[t].z[k], translateZ)},
                                      0});
            tri.vertex[k] = static_cast<std::int16_t>(3 * t + k);
            tri.texCoord[k] = colouredTris[t].texCoord;
        }
        m.triangles.push_back(tri);
    }
    // A second frame with the same bytes but its own scale and translate:
    // drawing it must look the same, as every frame uses frame 0's.
    TestFrame other = frame;
    other.header = frameHeader(3.0f, 50.0f, "other");
    m.frames = {frame, other};
    return m;
}

// The skin: quarters red (lower left), green (lower right), blue (upper
// left), yellow (upper right), rows stored bottom first.
inline GLuint makeSkin()
{
    std::vector<unsigned char> pixels(64 * 64 * 3);
    for (int row = 0; row < 64; ++row)
        for (int col = 0; col < 64; ++col) {
            unsigned char* p = &pixels[(row * 64 + col) * 3];
            const bool upper = row >= 32, right = col >= 32;
            const Rgb c = !upper ? (right ? green : red) : (right ? Rgb{255, 255, 0} : blue);
            p[0] = static_cast<unsigned char>(c.r);
            p[1] = static_cast<unsigned char>(c.g);
            p[2] = static_cast<unsigned char>(c.b);
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return name;
}

class Md2RenderTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!openTestWindow())
            GTEST_SKIP() << "no display";
        game = GameState{};
        saved = resources;   // the test's own model and skin stand in for start-up's
        skin = makeSkin();
        resources.playerSkinTexture = skin;
        testing::internal::CaptureStderr();
        character = makePlayer(0, 0, 0, 0, 0, 0, 1.0f, 0.2f);
        testing::internal::GetCapturedStderr();
        resources.player = character;
        modelPath = writeModelFile("coloured", md2Bytes(colouredModel()));
        ASSERT_TRUE(character->model->load(modelPath.c_str()));
        character->animationState = animationStanding;
        character->model->selectAnimation(0);
        sys::testSetTime(0.05);
    }
    void TearDown() override
    {
        if (!character)
            return;
        sys::testUseRealClock();
        delete character;
        glDeleteTextures(1, &skin);
        game = GameState{};
        resources = saved;
        std::filesystem::remove(modelPath);
    }

    std::vector<unsigned char> drawFrame()
    {
        gameView();
        drawCharacter(*character);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return frameBuffer();
    }

    // The scene pass's shadow step around drawPlayerShadow.
    void drawShadowStep()
    {
        glPushMatrix();
        glColor4f(0, 0, 0, 0.5f);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        drawPlayerShadow();
        glColor4f(1, 1, 1, 1);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_LIGHTING);
        glEnable(GL_CULL_FACE);
        glPopMatrix();
    }

    Resources saved;
    GLuint skin = 0;
    Character* character = nullptr;
    std::string modelPath;
};

}  // namespace md2test
