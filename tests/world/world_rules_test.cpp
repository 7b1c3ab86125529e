// The world without a window: the height grids and face normals, the
// culling spheres, the frustum planes and sphere test, and the sea's clock
// and wave table. (Where the ranges stand is read back in world_render_test.)
#include "render/frustum.h"
#include "world/terrain.h"
#include "world/water.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using Grid = float[heightGridSize][heightGridSize];
using Table = float[waveTableRows][waveTableColumns];

constexpr float r2 = 0.70710678f;
// gluPerspective(90, 1, 1, 3) and the identity.
constexpr float perspective90[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -1, 0, 0, -3, 0};
constexpr float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct Point {
    double x, y, z;
};

std::unique_ptr<Grid> filledGrid(void (*fill)(float (*)[heightGridSize]), float start = 0.0f)
{
    std::unique_ptr<Grid> grid(new Grid[1]);
    std::fill(&(*grid)[0][0], &(*grid)[0][0] + heightGridSize * heightGridSize, start);
    fill(*grid);
    return grid;
}

// Every grid point of a height mesh as its list sends it, placed in the world.
std::vector<Point> meshVertices(const Grid& grid, const HeightMesh& mesh, const Placement& placement)
{
    std::vector<Point> points;
    for (int k = 0; k <= mesh.strips; ++k)
        for (int m = 0; m <= mesh.cells; ++m) {
            double w[3];
            placePoint(placement, mesh.cellSize * k, mesh.heightScale * grid[k][m], mesh.cellSize * m, w);
            points.push_back({w[0], w[1], w[2]});
        }
    return points;
}

// How far the farthest point lies outside the sphere (<= 0: all inside).
double worstOutside(const Sphere& s, const std::vector<Point>& points)
{
    double worst = -1e30;
    for (const Point& p : points)
        worst = std::max(worst, std::hypot(p.x - s.x, p.y - s.y, p.z - s.z) - s.radius);
    return worst;
}

}  // namespace

TEST(HeightGrids, MountainAndBeachFormulasAndTheirRegions)
{
    const auto mountain = filledGrid(fillMountainHeights, 123.0f);
    // Rows 1..3: cos r cos c + 0.2 r; rows 4..8: sin r sin c + 0.7 r, in
    // single precision; columns 1..60; the rim keeps what it held.
    EXPECT_NEAR((*mountain)[2][5], 0.28195488f, 2e-6f);
    EXPECT_NEAR((*mountain)[8][30], 4.6224828f, 4e-6f);
    EXPECT_NEAR((*mountain)[1][60], std::cos(1.0f) * std::cos(60.0f) + 0.2f, 1e-6f);
    EXPECT_NEAR((*mountain)[6][60], std::sin(6.0f) * std::sin(60.0f) + 4.2f, 4e-6f);
    for (auto [r, c] : {std::pair{0, 1}, {9, 1}, {1, 0}, {1, 61}})
        EXPECT_EQ((*mountain)[r][c], 123.0f) << r << "," << c;
    const auto beach = filledGrid(fillBeachHeights, 123.0f);
    EXPECT_NEAR((*beach)[3][10], -3.8306745f, 4e-6f);
    EXPECT_EQ((*beach)[9][0], -10.0f);
    EXPECT_EQ((*beach)[0][46], 123.0f);
    EXPECT_EQ((*beach)[10][0], 123.0f);
    // Each mesh ends on the rim column its formula leaves, right after the
    // last column it fills.
    for (const auto& [grid, mesh] : {std::pair{mountain.get(), mountainMesh}, {beach.get(), beachMesh}}) {
        bool lastFilled = false;
        for (int k = 0; k <= mesh.strips; ++k) {
            EXPECT_EQ((*grid)[k][mesh.cells], 123.0f) << mesh.cells;
            lastFilled = lastFilled || (*grid)[k][mesh.cells - 1] != 123.0f;
        }
        EXPECT_TRUE(lastFilled) << mesh.cells;
    }
}

TEST(HeightGrids, FaceNormalsAreUnitAndFollowTheWinding)
{
    const float l = std::sqrt(5.0f);
    const struct {
        float corners[9], normal[3];
    } cases[] = {
        {{0, 0, 0, 1, 0, 0, 0, 0, 1}, {0, -1, 0}},       // a flat cell faces -y
        {{1, 1, 1, 3, 1, 1, 1, 4, 1}, {0, 0, 1}},        // not of unit size
        {{0, 0, 0, 1, 2, 0, 0, 0, 1}, {2 / l, -1 / l, 0}},
        {{0, 0, 0, 1, 0, 1, 0, 1, 0}, {-r2, 0, r2}},
        {{1, 0, 0, 1, 1, 0, 1, 0, 1}, {1, 0, 0}},        // away from the origin
    };
    for (const auto& c : cases) {
        const float* p = c.corners;
        computeFaceNormal(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(faceNormal[i], c.normal[i], 1e-6f) << p[3] << p[4] << p[5] << " axis " << i;
    }
}

TEST(CullingSpheres, EveryVertexOfTheTerrainLiesInsideItsSphere)
{
    const auto mountain = filledGrid(fillMountainHeights), beach = filledGrid(fillBeachHeights);
    const TerrainSpheres spheres = terrainSpheres(*mountain, *beach);
    std::vector<Point> beachAndPlank = meshVertices(*beach, beachMesh, beachPlacement);
    for (int corner = 0; corner < 8; ++corner)
        beachAndPlank.push_back({(corner & 1 ? plankHigh : plankLow)[0], (corner & 2 ? plankHigh : plankLow)[1],
                                 (corner & 4 ? plankHigh : plankLow)[2]});
    EXPECT_LE(worstOutside(spheres.beach, beachAndPlank), 0.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(worstOutside(spheres.mountains[i], meshVertices(*mountain, mountainMesh, mountainPlacements[i])), 0.0)
            << "range " << i + 1;
}

TEST(Frustum, PlanesOfKnownCamerasInBothForms)
{
    // The model-view of the eye at (5, 0, 10) and of a turn of 90 degrees
    // about y (looking along +x); the planes right, left, bottom, top, far, near.
    const float moved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -5, 0, -10, 1};
    const float turned[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    const struct {
        const float* view;
        float planes[6][4];
    } cases[] = {
        {identity, {{-r2, 0, -r2, 0}, {r2, 0, -r2, 0}, {0, r2, -r2, 0}, {0, -r2, -r2, 0}, {0, 0, 1, 3}, {0, 0, -1, -1}}},
        {moved, {{-r2, 0, -r2, 15 * r2}, {r2, 0, -r2, 5 * r2}, {0, r2, -r2, 10 * r2}, {0, -r2, -r2, 10 * r2},
                 {0, 0, 1, -7}, {0, 0, -1, 9}}},
        {turned, {{r2, 0, -r2, 0}, {r2, 0, r2, 0}, {r2, r2, 0, 0}, {r2, -r2, 0, 0}, {-1, 0, 0, 3}, {1, 0, 0, -1}}},
    };
    for (const auto& c : cases) {
        float full[6][4], fast[6][4];
        frustumFromMatrices(perspective90, c.view, full);
        frustumFromPerspective(perspective90, c.view, fast);
        for (int p = 0; p < 6; ++p)
            for (int j = 0; j < 4; ++j) {
                EXPECT_NEAR(full[p][j], c.planes[p][j], 1e-5f) << "plane " << p << " component " << j;
                EXPECT_NEAR(fast[p][j], c.planes[p][j], 1e-5f) << "plane " << p << " component " << j;
            }
    }
}

TEST(Frustum, SphereTestKeepsWhatReachesIntoTheViewAndBoxesGetTheirSpheres)
{
    float planes[6][4];
    frustumFromMatrices(perspective90, identity, planes);
    const struct {
        float x, y, z, r;
        bool in;
    } cases[] = {
        {0, 0, 1, 2.0f, false},  {0, 0, 1, 2.01f, true},     // touching the near plane from outside
        {0, 0, -4, 1.0f, false}, {0, 0, -4, 1.01f, true},    // the far plane
        {0, 0, -2, -0.5f, true}, {0, 0, -2, -1.0f, false},   // a negative radius needs the centre that far in
        {10, 0, -2, 1, false},   {-10, 0, -2, 1, false},     {0, 10, -2, 1, false},
        {0, -10, -2, 1, false},  {10, 0, -2, 7, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sphereInPlanes(planes, c.x, c.y, c.z, c.r), c.in) << c.x << "," << c.y << "," << c.z << " r " << c.r;
    // The sphere around a box (the terrain's and the sea's): centred in it,
    // through its corners.
    const double low[3] = {-10, 0, 4}, high[3] = {30, 2, 8};
    const Sphere box = sphereAroundBox(low, high);
    EXPECT_EQ(std::vector<float>({box.x, box.y, box.z}), std::vector<float>({10, 1, 6}));
    EXPECT_NEAR(box.radius, std::sqrt(405.0), 1e-4);
}

TEST(WaterClock, TicksJustAfterThreeTenthsOfASecondWhateverTheDrawRate)
{
    WaterAnimation water;
    double now = 0.0;
    advanceWater(water, now);
    for (int i = 1; i <= 29; ++i)
        advanceWater(water, i * 0.01);   // many draws within 0.29 s
    EXPECT_EQ(water.rowOffset, 0);
    // Then a tick every 0.31 s; a long pause gives one tick, the excess
    // dropped. The offsets wrap at 32 together, the frame turns every twelve
    // ticks and wraps after eight when the next draw picks its texture.
    for (int tick = 1; tick <= 8 * 12 + 1; ++tick) {
        now += tick == 5 ? 5.0 : 0.31;
        advanceWater(water, now);
        EXPECT_EQ(water.rowOffset, tick % 32);
        EXPECT_EQ(water.columnOffset, tick % 32);
        EXPECT_EQ(water.frame, tick / 12 - (tick > 8 * 12 ? 8 : 0)) << tick;
        if (tick == 8 * 12) {
            EXPECT_EQ(selectWaterFrame(water), 0);
        }
    }
    EXPECT_FLOAT_EQ(water.lastTime, float(now));
}

TEST(WaveTable, SampleValuesAndBounds)
{
    std::unique_ptr<Table> table(new Table[1]());
    fillWaveHeights(*table);
    EXPECT_EQ((*table)[0][17], 0.0f);
    EXPECT_NEAR((*table)[1][1], 0.0965413f, 1e-6f);
    EXPECT_NEAR((*table)[4][10], -0.48159f, 1e-5f);
    const auto [low, high] = std::minmax_element(&(*table)[0][0], &(*table)[256][257]);
    EXPECT_GT(*high, 0.6f);
    EXPECT_LE(*high, 0.6367f);
    EXPECT_GE(*low, -0.6367f);
}
