// The chaser's cube map, the environment view and escape mode, rendered
// under Xvfb and checked by reading pixels back.
#include "core/camera.h"
#include "core/rules.h"
#include "platform/platform.h"
#include "hud/hud.h"
#include "support/game_world.h"
#include "state/resources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class Environment : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!openGameWorld())
            GTEST_SKIP() << "no display";
        resetView();
    }
    void TearDown() override { resetView(); }

    static std::vector<unsigned char> cubeFace(int face)
    {
        std::vector<unsigned char> pixels(environmentFaceSize * environmentFaceSize * 3);
        glBindTexture(GL_TEXTURE_CUBE_MAP, environmentCubeMapTexture());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(cubeFaceTargets[face], 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // Where a world point lands on screen (pixels from the top-left).
    static void project(double x, double y, double z, double& px, double& py)
    {
        glLoadIdentity();
        applyCameraView();
        GLdouble model[16], proj[16], wz;
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, proj);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(x, y, z, model, proj, viewport, &px, &py, &wz);
        py = 599 - py;
    }
};

int colourDistance(const Rgb& a, const Rgb& b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

TEST(CapturePosition, TruncatesTowardZero)
{
    EXPECT_EQ(capturePosition(-0.7f), 0.0);
    EXPECT_EQ(capturePosition(2.9f), 2.0);
    EXPECT_EQ(capturePosition(-3.5f), -3.0);
}

TEST_F(Environment, CaptureRestoresTheCameraAndLeavesBlackClearColour)
{
    game.playerX = 12.5;
    game.playerZ = -40.25;
    game.pitch = 33;
    game.heading = 77;
    game.chaserX = -0.7f;
    game.chaserZ = 250.6f;
    captureEnvironment();
    resetProjection();
    EXPECT_EQ(game.playerX, 12.5);
    EXPECT_EQ(game.playerZ, -40.25);
    EXPECT_EQ(game.pitch, 33);
    EXPECT_EQ(game.heading, 77);
    const CaptureCamera* used = lastCaptureCameras();
    for (int face = 0; face < 6; ++face) {
        EXPECT_EQ(used[face].x, 0.0);
        EXPECT_EQ(used[face].z, 250.0);
        EXPECT_EQ(used[face].pitch, cubeFaceViews[face].pitch);
        EXPECT_EQ(used[face].heading, cubeFaceViews[face].heading);
    }
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
}

TEST_F(Environment, FirstReflectionIsTakenWhereTheChaserStoodBefore)
{
    game.chaserActive = false;
    game.chaserX = 40;
    game.chaserZ = -7;
    game.chaserClock = 0;
    game.chaserClockLast = 0;
    updateChaser(61.0, [] { captureEnvironment(); resetProjection(); });
    ASSERT_TRUE(game.chaserActive);
    EXPECT_EQ(lastCaptureCameras()[0].x, 40.0);
    EXPECT_EQ(lastCaptureCameras()[0].z, -7.0);
    EXPECT_EQ(game.chaserZ, -100);
}

TEST_F(Environment, EnvironmentViewLeavesTheCubeMapAlone)
{
    game.chaserX = 0;
    game.chaserZ = -100;
    captureEnvironment();
    const auto before = cubeFace(4);
    game.showEnvironment = true;
    game.environmentOffsetX = 300.9f;
    game.environmentOffsetY = -200.2f;
    captureEnvironment();
    resetProjection();
    EXPECT_EQ(cubeFace(4), before);
    EXPECT_EQ(lastCaptureCameras()[2].x, 300.0);
    EXPECT_EQ(lastCaptureCameras()[2].z, -200.0);
    EXPECT_EQ(lastCaptureCameras()[0].pitch, -90.0);
}

TEST_F(Environment, MirrorSphereShowsTheCapturedWorld)
{
    // Off to the right of the character, who stands at the bottom centre.
    game.chaserX = 20;
    game.chaserZ = -100;
    captureEnvironment();
    resetProjection();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderScene();
    double cx, cy;
    project(20, -15, -100, cx, cy);
    const Rgb without = readPixel(int(cx), int(cy));
    drawChaserSphere();
    saveScreenshot("environment-mirror-sphere");
    // Texels of the world, not one flat colour, across the sphere's disc.
    std::vector<Rgb> disc;
    for (int dy = -6; dy <= 6; dy += 3)
        for (int dx = -6; dx <= 6; dx += 3)
            disc.push_back(readPixel(int(cx) + dx, int(cy) + dy));
    int spread = 0;
    for (const Rgb& p : disc)
        spread = std::max(spread, colourDistance(p, disc.front()));
    EXPECT_GT(spread, 30);
    EXPECT_GT(colourDistance(readPixel(int(cx), int(cy)), without), 10);
}

TEST_F(Environment, ViewTilesSitAtTheirRectanglesAndDiffer)
{
    game.showEnvironment = true;
    captureEnvironment();
    resetProjection();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderScene();
    const int tiles[6][4] = {{208, 0, 416, 200},   {0, 200, 208, 400},   {208, 200, 416, 400},
                             {416, 200, 624, 400}, {624, 200, 832, 400}, {208, 400, 416, 600}};
    for (int i = 0; i < 6; ++i)
        drawScreenTile(resources.environmentViewTextures[i], tiles[i][0], tiles[i][1], tiles[i][2],
                       tiles[i][3]);
    saveScreenshot("environment-view-tiles");
    // Up shows sky, down shows ground: the two differ clearly, and the four
    // sideways views are not all one picture.
    const Rgb up = readPixel(312, 100), down = readPixel(312, 500);
    EXPECT_GT(colourDistance(up, down), 60);
    int distinct = 0;
    for (int i = 1; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j) {
            int cellDiff = 0;
            for (int k = 0; k < 10; ++k) {
                const int x = 20 + k * 17, y = 210 + k * 18;
                cellDiff += colourDistance(readPixel(tiles[i][0] + x, y), readPixel(tiles[j][0] + x, y));
            }
            distinct += cellDiff > 100;
        }
    EXPECT_GE(distinct, 5);
}

TEST_F(Environment, EscapeModeTintsTheFrameBlue)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderScene();
    long normal[3] = {0, 0, 0}, escape[3] = {0, 0, 0};
    for (int y = 20; y < 600; y += 40)
        for (int x = 20; x < 800; x += 40) {
            const Rgb p = readPixel(x, y);
            normal[0] += p.r, normal[1] += p.g, normal[2] += p.b;
        }
    game.escapeMode = true;
    for (int frame = 0; frame < 6; ++frame) {
        sys::testSetTime(200.0 + frame * 0.1);
        drawEscapeFrame();
    }
    sys::testUseRealClock();
    saveScreenshot("escape-mode");
    for (int y = 20; y < 600; y += 40)
        for (int x = 20; x < 800; x += 40) {
            const Rgb p = readPixel(x, y);
            escape[0] += p.r, escape[1] += p.g, escape[2] += p.b;
        }
    const double normalBlueShare = double(normal[2]) / (normal[0] + normal[1] + normal[2]);
    const double escapeBlueShare = double(escape[2]) / (escape[0] + escape[1] + escape[2] + 1);
    EXPECT_GT(escapeBlueShare, normalBlueShare + 0.05);
    // The blur layers carry the world (not only the tunnel over black).
    EXPECT_GT(escape[0] + escape[1], 10000);
}

TEST_F(Environment, ThumbnailsInTheTopLeftWithT)
{
    game.escapeMode = true;
    for (int frame = 0; frame < 5; ++frame) {
        sys::testSetTime(300.0 + frame * 0.1);
        drawEscapeFrame();
    }
    const Rgb plain = readPixel(130, 190);
    game.tunnelTextured = true;
    sys::testSetTime(300.6);
    drawEscapeFrame();
    sys::testUseRealClock();
    saveScreenshot("escape-mode-thumbnails");
    // The bottom of thumbnail 0 shows the bottom of the view (ground), where
    // the full-screen picture shows the upper view.
    const Rgb thumb = readPixel(130, 190);
    EXPECT_GT(colourDistance(plain, thumb), 40);
    // Below the thumbnails the live view shows through unchanged in kind.
    EXPECT_LT(colourDistance(readPixel(700, 550), readPixel(700, 552)), 60);
}

}  // namespace
