// The culling spheres of the terrain and the sea: every vertex of each piece
// lies inside its sphere, and culling never takes away what would be drawn.
#include "core/camera.h"
#include "render/registry.h"
#include "platform/platform.h"
#include "view/environment.h"
#include "render/frustum.h"
#include "view/scene.h"
#include "world/terrain.h"
#include "world/water.h"
#include "world/world_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace worldview;

namespace {

struct Point {
    double x, y, z;
};

// How far the farthest point lies outside the sphere (<= 0: all inside).
double worstOutside(const Sphere& s, const std::vector<Point>& points)
{
    double worst = -1e30;
    for (const Point& p : points)
        worst = std::max(worst, std::hypot(p.x - s.x, p.y - s.y, p.z - s.z) - s.radius);
    return worst;
}

// Grid point (k, m) of a height mesh as its list sends it, placed in the world.
std::vector<Point> meshVertices(const float grid[heightGridSize][heightGridSize], const HeightMesh& mesh,
                                const Placement& placement)
{
    std::vector<Point> points;
    for (int k = 0; k <= mesh.strips; ++k)
        for (int m = 0; m <= mesh.cells; ++m) {
            double w[3];
            placePoint(placement, mesh.cellSize * static_cast<float>(k), mesh.heightScale * grid[k][m],
                       mesh.cellSize * static_cast<float>(m), w);
            points.push_back({w[0], w[1], w[2]});
        }
    return points;
}

}  // namespace

TEST(CullingSpheres, EveryVertexOfEachTerrainPieceLiesInsideItsSphere)
{
    using Grid = float[heightGridSize][heightGridSize];
    std::unique_ptr<Grid> mountain(new Grid[1]()), beach(new Grid[1]());
    fillMountainHeights(*mountain);
    fillBeachHeights(*beach);
    const TerrainSpheres spheres = terrainSpheres(*mountain, *beach);

    std::vector<Point> beachAndPlank = meshVertices(*beach, beachMesh, beachPlacement);
    for (int corner = 0; corner < 8; ++corner)
        beachAndPlank.push_back({(corner & 1 ? plankHigh : plankLow)[0], (corner & 2 ? plankHigh : plankLow)[1],
                                 (corner & 4 ? plankHigh : plankLow)[2]});
    EXPECT_LE(worstOutside(spheres.beach, beachAndPlank), 0.0);
    for (int i = 0; i < 3; ++i) {
        const std::vector<Point> range = meshVertices(*mountain, mountainMesh, mountainPlacements[i]);
        EXPECT_LE(worstOutside(spheres.mountains[i], range), 0.0) << "mountain instance " << i + 1;
    }
}

TEST(CullingSpheres, EveryVertexOfTheSeaLiesInsideItsSphereAtEveryWaveOffset)
{
    using Table = float[waveTableRows][waveTableColumns];
    std::unique_ptr<Table> table(new Table[1]());
    fillWaveHeights(*table);
    const Sphere sea = waterBounds(*table);
    double worst = -1e30;
    for (int rows = 0; rows < waveOffsetLimit; ++rows)
        for (int columns = 0; columns < waveOffsetLimit; ++columns) {
            std::vector<Point> surface;
            for (int k = 0; k <= waterStrips; ++k)
                for (int m = 0; m <= waterCells; ++m)
                    surface.push_back({waterOrigin[0] + waterCellSize * static_cast<float>(k),
                                       waterOrigin[1] + waveAmplitude * (*table)[rows + k][columns + m],
                                       waterOrigin[2] + waterCellSize * static_cast<float>(m)});
            worst = std::max(worst, worstOutside(sea, surface));
        }
    EXPECT_LE(worst, 0.0);
}

namespace {

// Culling off for one drawing: the objects' switch (F8) off, and the terrain's
// and the sea's spheres, which are always tested, made to hold the whole world.
class NothingCulled {
public:
    explicit NothingCulled(bool active) : active(active), terrain(terrainBounds), sea(waterSphere)
    {
        if (!active)
            return;
        game.cullingEnabled = false;
        for (Sphere* s : {&terrainBounds.beach, &terrainBounds.mountains[0], &terrainBounds.mountains[1],
                          &terrainBounds.mountains[2], &waterSphere})
            s->radius = 1.0e7f;
    }
    ~NothingCulled()
    {
        game.cullingEnabled = true;
        terrainBounds = terrain;
        waterSphere = sea;
    }

private:
    bool active;
    TerrainSpheres terrain;
    Sphere sea;
};

// The game view with every sphere tested (culled) or with nothing culled, the
// sea's animation held still so that both see the same waves.
std::vector<unsigned char> gameView(double x, double z, float heading, double pitch, bool culled)
{
    placeCamera(x, z, heading, pitch);
    NothingCulled unculled(!culled);
    sys::testSetTime(10.0);
    waterAnimation = WaterAnimation{};
    waterAnimation.lastTime = 10.0f;
    clearBuffers();
    WithoutPlayer noPlayer;
    renderScene();
    return readRegion(0, 600);
}

struct View {
    double x, z;
    float heading;
    double pitch;
};

std::string describe(const View& v)
{
    return "at (" + std::to_string(v.x) + ", " + std::to_string(v.z) + ") heading " + std::to_string(v.heading) +
           " pitch " + std::to_string(v.pitch);
}

void expectCullingChangesNothing(const std::vector<View>& views)
{
    for (const View& v : views) {
        const auto culled = gameView(v.x, v.z, v.heading, v.pitch, true);
        const auto everything = gameView(v.x, v.z, v.heading, v.pitch, false);
        EXPECT_EQ(countDifferent(culled, everything), 0) << describe(v);
    }
    sys::testUseRealClock();
}

}  // namespace

TEST(CullingView, MountainRangeAheadOfTheSouthWestCornerIsDrawn)
{
    REQUIRE_WORLD();
    // The range at z 503 .. 683 lies 50 to 150 units ahead.
    std::vector<View> views;
    for (float heading : {130.0f, 135.0f, 140.0f})
        for (double pitch : {0.0, 15.0, 30.0})
            views.push_back({-470, 470, heading, pitch});
    expectCullingChangesNothing(views);
}

TEST(CullingView, NothingDisappearsInASweepOfHeadings)
{
    REQUIRE_WORLD();
    std::vector<View> views;
    for (const auto& [x, z] : {std::pair{0.0, 0.0}, {-480.0, -480.0}, {480.0, -480.0}, {-480.0, 480.0}, {480.0, 480.0}})
        for (int heading = 0; heading < 360; heading += 15)
            views.push_back({x, z, static_cast<float>(heading), 10.0});
    expectCullingChangesNothing(views);
}

TEST(CullingView, CubeFaceCaptureCullsInTheWorldAndLosesNothing)
{
    REQUIRE_WORLD();
    if (resources.environmentViewTextures[0] == 0)
        setupEnvironmentMap();
    game.showEnvironment = true;
    // The six debugging views, and how many primitives the capture drew.
    const auto capture = [](bool culled, GLuint& primitives) {
        NothingCulled unculled(!culled);
        waterAnimation = WaterAnimation{};
        waterAnimation.lastTime = 10.0f;
        primitives = primitivesOf(captureEnvironment);
        std::vector<std::vector<unsigned char>> faces;
        for (GLuint texture : resources.environmentViewTextures)
            faces.push_back(textureImage(texture).rgb);
        return faces;
    };
    sys::testSetTime(10.0);
    // In the middle every sphere holds the eye; from the corners some piece
    // lies behind some face's camera.
    struct Spot {
        float x, z;
        bool somethingBehind;
    };
    for (const auto& [x, z, somethingBehind] : {Spot{-480, 480, true}, Spot{480, -480, true}, Spot{0, 0, false}}) {
        placeCamera(0, 0, 0, 10);
        game.environmentOffsetX = x;
        game.environmentOffsetY = z;
        GLuint drawnCulled = 0, drawnAll = 0;
        const auto culled = capture(true, drawnCulled);
        const auto everything = capture(false, drawnAll);
        for (int face = 0; face < 6; ++face)
            EXPECT_EQ(culled[face], everything[face]) << "face " << face + 1 << " from " << x << ", " << z;
        // Pieces behind a face's camera are left out: the planes follow it.
        EXPECT_EQ(drawnCulled < drawnAll, somethingBehind) << x << ", " << z;
    }
    sys::testUseRealClock();
    game.showEnvironment = false;
    applyGameState();
}
