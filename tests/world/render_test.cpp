// The world as the game draws it, read back from the frame buffer under Xvfb:
// terrain, sky and sea from known views, and the frustum culling of the
// terrain pieces. Positions are checked through the depth buffer, colours
// against the textures the GL holds.
#include "core/camera.h"
#include "render/frustum.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"
#include "world/world_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace worldview;

TEST(WorldRender, StartViewHasSkyAboveAndGroundBelow)
{
    REQUIRE_WORLD();
    renderView(0, 0, 0, 10);
    const std::string shot = saveScreenshot("world_start");
    SCOPED_TRACE(shot);

    // The sky box's front face stands 256 ahead of the eye and writes depth,
    // so the ground ends there: 8.9 degrees below the horizontal, about row
    // 278. Each pixel shows the nearer of the two: the face z = -256 (x and
    // y within 256 of the eye) or the ground's top y = -20 (within the slab).
    struct SkyPixel {
        int col, row;
        double x, y;   // on the front face, relative to the eye
    };
    std::vector<SkyPixel> skyPixels;
    int groundRows = 0, firstGroundRow = 600;
    for (int col : {5, 400, 795}) {
        for (int row = 0; row < 600; row += 3) {
            const PixelRay ray = rayAt(col, row);
            const double sky = planeDepth(ray, 2, -256, -256, 256, 20 - 256, 20 + 256);
            const double ground = planeDepth(ray, 1, -20, -550, 550, -525, 550);
            const double expected = std::min(sky, ground);
            ASSERT_LT(expected, 1.5) << "row " << row;
            EXPECT_NEAR(depthAt(col, row), expected, 3.0 / 65535)
                << "column " << col << " row " << row;
            EXPECT_FALSE(isClearColour(readPixel(col, row))) << "row " << row;
            double hit[3];
            if (sky < ground - 0.002 && planeHit(ray, 2, -256, -256, 256, -236, 276, hit))
                skyPixels.push_back({col, row, hit[0], hit[1] - 20});
            if (col == 400 && ground < sky) {
                ++groundRows;
                firstGroundRow = std::min(firstGroundRow, row);
            }
        }
    }
    EXPECT_NEAR(firstGroundRow, 278, 3);
    EXPECT_GT(groundRows, 100);

    // The sky is the front texture, unlit, tinted by the sky colour
    // (0.62, 0.756, 0.9); s runs with x and t with y across the face.
    const TextureImage front = textureImage(skyFrontTexture);
    const double tint[3] = {0.62, 0.756, 0.9};
    ASSERT_GT(skyPixels.size(), 150u);
    for (const SkyPixel& p : skyPixels) {
        const std::array<double, 3> texel = front.rgb.empty()
            ? std::array<double, 3>{255, 255, 255}
            : front.sample((p.x + 256) / 512, (p.y + 256) / 512);
        const Rgb c = readPixel(p.col, p.row);
        const int got[3] = {c.r, c.g, c.b};
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(got[k], texel[k] * tint[k], 12)
                << "column " << p.col << " row " << p.row << " channel " << k;
    }
    // The bottom row looks 25 degrees down: the ground 40 below the eye is
    // hit about 86 units ahead.
    EXPECT_NEAR(worldAt(400, 599).z, -40 / std::tan(25.0 * M_PI / 180), 3);
}

TEST(WorldRender, TurningTurnsTheSkyButWalkingDoesNot)
{
    REQUIRE_WORLD();
    // Rows 0..90 lie above the true horizon (row 103 at pitch 10): only sky.
    renderView(0, 0, 0, 10);
    const auto start = readRegion(0, 90);
    renderView(140, -160, 0, 10);
    const auto walked = readRegion(0, 90);
    EXPECT_EQ(countDifferent(start, walked), 0);
    renderView(-300, 250, 0, 10);
    EXPECT_EQ(countDifferent(start, readRegion(0, 90)), 0);

    renderView(0, 0, 40, 10);
    const auto turned = readRegion(0, 90);
    EXPECT_GT(countDifferent(start, turned), 800 * 90 / 4);
    // Looking up shows the top face in the upper rows.
    renderView(0, 0, 0, -60);
    EXPECT_GT(countDifferent(start, readRegion(0, 90)), 800 * 90 / 4);
}

TEST(WorldRender, SeaAndBeachWestOfTheIsland)
{
    REQUIRE_WORLD();
    // Near the west wall, looking toward -x and a little more down.
    renderView(-450, 0, 270, 15);
    const std::string shot = saveScreenshot("world_sea");
    SCOPED_TRACE(shot);

    // The ground's top (y -20, up to x -525) and the plank's top (y -19) and
    // its east side (x -524) are planes: where a pixel's ray meets one of
    // them first, the depth buffer holds exactly that depth.
    int groundPixels = 0, plankPixels = 0, water = 0, beach = 0;
    for (int row = 150; row < 600; row += 4) {
        for (int col = 20; col < 800; col += 30) {
            const PixelRay ray = rayAt(col, row);
            const double ground = planeDepth(ray, 1, -20, -550, 550, -525, 550);
            const double plankTop = planeDepth(ray, 1, -19, -580, 524, -528, -524);
            const double plankSide = planeDepth(ray, 0, -524, -22, -19, -580, 524);
            const double plank = std::min(plankTop, plankSide);
            if (std::min(ground, plank) < 1.5) {
                EXPECT_NEAR(depthAt(col, row), std::min(ground, plank), 3.0 / 65535)
                    << "column " << col << " row " << row;
                ++(plank < ground ? plankPixels : groundPixels);
                continue;
            }
            // Beyond the island: the beach sloping from y -20 down under the
            // waves at y -52 (+-2.5), and the open sea.
            const WorldPoint p = worldAt(col, row);
            if (p.sky || eyeDistance(p) > 200)
                continue;
            const double tolerance = depthTolerance(p);
            EXPECT_LT(p.x, -526 + tolerance) << "column " << col << " row " << row;
            if (std::fabs(p.y + 52) < 2.6 + tolerance)
                ++water;
            else if (p.y < -20 && p.y > -52)
                ++beach;
            else
                ADD_FAILURE() << "neither beach nor sea at " << p.x << ", " << p.y << ", " << p.z;
        }
    }
    EXPECT_GT(groundPixels, 200);
    EXPECT_GT(plankPixels, 20);
    EXPECT_GT(beach, 60);
    EXPECT_GT(water, 60);
}

TEST(WorldRender, SeaShowsItsTextureUnlit)
{
    REQUIRE_WORLD();
    // Standing over the beach, looking out to sea; the frame the draw binds
    // is the one selected before its clock step.
    WaterAnimation before = waterAnimation;
    const int frame = selectWaterFrame(before);
    renderView(-560, 0, 270, 20);
    const TextureImage waterImage = textureImage(waterTextures[frame]);
    int openWater = 0;
    double colour[3] = {0, 0, 0}, expected[3] = {0, 0, 0};
    for (int row = 0; row < 600; row += 4) {
        for (int col = 20; col < 800; col += 30) {
            const WorldPoint p = worldAt(col, row);
            // West of x -655 the beach lies wholly under the waves.
            if (p.sky || p.x > -655 || eyeDistance(p) > 180)
                continue;
            ASSERT_NEAR(p.y, -52, 2.6 + depthTolerance(p));
            ++openWater;
            const Rgb c = readPixel(col, row);
            const std::array<double, 3> texel = waterImage.rgb.empty()
                ? std::array<double, 3>{255, 255, 255}
                : waterImage.sample((p.x + 798) / 256, (p.z + 702) / 1536);
            const int got[3] = {c.r, c.g, c.b};
            for (int k = 0; k < 3; ++k) {
                expected[k] += texel[k];
                colour[k] += got[k];
            }
        }
    }
    // Unlit and white: on average the pixels are the texture's own colours
    // where the surface was hit.
    ASSERT_GT(openWater, 100);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(colour[k] / openWater, expected[k] / openWater, 10) << "channel " << k;
}

TEST(WorldRender, MountainsOutOfViewAreCulledWithoutChangingThePicture)
{
    REQUIRE_WORLD();
    // Near the west edge looking west (-x): the first mountain instance
    // (x 498 .. 678) lies far behind the eye, the third (z 503 .. 683) far
    // off to the right.
    placeCamera(-400, -300, 270, 10);
    glLoadIdentity();
    applyCameraView();
    extractFrustumPerspective();
    const auto passes = [](const Sphere& s) { return sphereInFrustum(s.x, s.y, s.z, s.radius); };
    const Sphere* m = terrainBounds.mountains;
    ASSERT_FALSE(passes(m[0]));
    ASSERT_TRUE(passes(m[1]));
    ASSERT_FALSE(passes(m[2]));
    ASSERT_TRUE(passes(terrainBounds.beach));

    auto drawTerrain = [](bool culled) {
        clearBuffers();
        glLoadIdentity();
        applyCameraView();
        extractFrustumPerspective();
        if (!culled)
            for (auto& plane : frustumPlanes)
                for (float& v : plane)
                    v = 0.0f;   // every sphere of positive radius passes
        return primitivesOf(drawWorld);
    };
    const GLuint everything = drawTerrain(false);
    const auto full = readRegion(0, 600);
    const GLuint culled = drawTerrain(true);
    const auto picture = readRegion(0, 600);
    glLoadIdentity();
    const GLuint oneMountain = primitivesOf([] { glCallList(mountainList); });
    EXPECT_GT(oneMountain, 0u);
    EXPECT_EQ(everything - culled, 2 * oneMountain);
    EXPECT_EQ(countDifferent(full, picture), 0);
    // Something of the world is in the picture at all.
    EXPECT_FALSE(isClearColour(readPixel(400, 500)));
}

TEST(WorldRender, BeachCullingRadiusFollowsTheAdjustment)
{
    REQUIRE_WORLD();
    // Looking east from 25 units beyond the beach sphere's reach: outside
    // its radius but inside the radius plus 5 * 10.
    const Sphere& s = terrainBounds.beach;
    placeCamera(s.x + s.radius + 25, 0, 90, 0);
    glLoadIdentity();
    applyCameraView();
    extractFrustumPerspective();
    ASSERT_FALSE(sphereInFrustum(s.x, s.y, s.z, s.radius));
    ASSERT_TRUE(sphereInFrustum(s.x, s.y, s.z, s.radius + 50.0f));

    auto primitives = [](int adjust) {
        game.cullRadiusAdjust = adjust;
        clearBuffers();
        return primitivesOf(drawWorld);
    };
    const GLuint without = primitives(0);
    const GLuint with = primitives(10);
    EXPECT_EQ(primitives(-10), without);
    glLoadIdentity();
    // The beach and the plank come in together.
    const GLuint beachAndPlank =
        primitivesOf([] { glCallList(beachList); }) + primitivesOf(drawWoodPlank);
    EXPECT_EQ(with - without, beachAndPlank);
    game.cullRadiusAdjust = 0;
}
