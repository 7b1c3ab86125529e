// The generated height grids and the face normal.
#include "world/terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using Grid = float[heightGridSize][heightGridSize];

std::unique_ptr<Grid> freshGrid(float fill)
{
    std::unique_ptr<Grid> grid(new Grid[1]);
    for (auto& row : *grid)
        for (float& h : row)
            h = fill;
    return grid;
}

void expectNormal(float x, float y, float z)
{
    EXPECT_NEAR(faceNormal[0], x, 1e-6f);
    EXPECT_NEAR(faceNormal[1], y, 1e-6f);
    EXPECT_NEAR(faceNormal[2], z, 1e-6f);
}

}  // namespace

TEST(MountainHeights, RangeFallsToZeroOnAllFourSides)
{
    auto grid = freshGrid(0.0f);
    fillMountainHeights(*grid);
    for (int c = 0; c < heightGridSize; ++c) {
        EXPECT_EQ((*grid)[0][c], 0.0f) << "row 0 column " << c;
        EXPECT_EQ((*grid)[9][c], 0.0f) << "row 9 column " << c;
    }
    for (int r = 0; r < heightGridSize; ++r) {
        EXPECT_EQ((*grid)[r][0], 0.0f) << "column 0 row " << r;
        EXPECT_EQ((*grid)[r][61], 0.0f) << "column 61 row " << r;
        for (int c = 62; c < heightGridSize; ++c)
            ASSERT_EQ((*grid)[r][c], 0.0f);
    }
}

TEST(MountainHeights, BothFormulasInSinglePrecision)
{
    auto grid = freshGrid(0.0f);
    fillMountainHeights(*grid);
    // Rows 1..3: cos r cos c + 0.2 r; rows 4..8: sin r sin c + 0.7 r.
    EXPECT_NEAR((*grid)[2][5], 0.28195488f, 2e-6f);
    EXPECT_NEAR((*grid)[6][7], 4.0164278f, 4e-6f);
    EXPECT_NEAR((*grid)[8][30], 4.6224828f, 4e-6f);
    EXPECT_NEAR((*grid)[1][60], std::cos(1.0f) * std::cos(60.0f) + 0.2f, 1e-6f);
    // The highest rows stay within about 6.6 (99 world units after the scale of 15).
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 60; ++c)
            EXPECT_LE((*grid)[r][c], 6.6f + 1e-5f);
}

TEST(BeachHeights, SlopeRowsAndTheZeroColumn)
{
    auto grid = freshGrid(0.0f);
    fillBeachHeights(*grid);
    EXPECT_NEAR((*grid)[3][10], -3.8306745f, 4e-6f);
    EXPECT_EQ((*grid)[0][0], -1.0f);
    for (int c = 0; c <= 45; ++c) {
        EXPECT_EQ((*grid)[8][c], -9.0f);
        EXPECT_EQ((*grid)[9][c], -10.0f);
        EXPECT_LE((*grid)[7][c], -7.0f);
        EXPECT_GE((*grid)[7][c], -8.0f);
    }
    for (int r = 0; r < heightGridSize; ++r)
        EXPECT_EQ((*grid)[r][46], 0.0f) << "row " << r;
    for (int c = 0; c < heightGridSize; ++c)
        EXPECT_EQ((*grid)[10][c], 0.0f);
}

TEST(BeachHeights, FillWritesOnlyItsRegion)
{
    // Cells outside the region keep whatever they held (the game's grids
    // start at zero); filling never spills into them.
    auto grid = freshGrid(123.0f);
    fillBeachHeights(*grid);
    EXPECT_EQ((*grid)[0][46], 123.0f);
    EXPECT_EQ((*grid)[10][0], 123.0f);
    auto mountains = freshGrid(123.0f);
    fillMountainHeights(*mountains);
    EXPECT_EQ((*mountains)[0][1], 123.0f);
    EXPECT_EQ((*mountains)[9][1], 123.0f);
    EXPECT_EQ((*mountains)[1][0], 123.0f);
    EXPECT_EQ((*mountains)[1][61], 123.0f);
}

TEST(FaceNormal, KnownTriangles)
{
    // A flat grid cell (P00, P10, P01) faces -y, as the terrain lists rely on.
    computeFaceNormal(0, 0, 0, 1, 0, 0, 0, 0, 1);
    expectNormal(0, -1, 0);
    // Reversing the order flips it.
    computeFaceNormal(0, 0, 0, 0, 0, 1, 1, 0, 0);
    expectNormal(0, 1, 0);
    // Away from the origin and not of unit size: still a unit vector.
    computeFaceNormal(1, 1, 1, 3, 1, 1, 1, 4, 1);
    expectNormal(0, 0, 1);
    // A tilted triangle.
    computeFaceNormal(0, 0, 0, 1, 1, 0, 0, 0, 1);
    expectNormal(0.70710678f, -0.70710678f, 0);
    // A slope of the mountain: heights 0, 2 along the strip.
    computeFaceNormal(0, 0, 0, 1, 2, 0, 0, 0, 1);
    const float l = std::sqrt(5.0f);
    expectNormal(2 / l, -1 / l, 0);
}
