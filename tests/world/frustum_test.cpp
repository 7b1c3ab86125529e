// Plane extraction and the sphere test, against planes worked out by hand.
#include "render/frustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float r2 = 0.70710678f;   // 1 / sqrt(2)

// gluPerspective(90, 1, 1, 3): f = 1, P[10] = -2, P[14] = -3, P[11] = -1.
constexpr float perspective90[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -1, 0, 0, -3, 0};
constexpr float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void expectPlanes(const float actual[6][4], const float expected[6][4])
{
    const char* names[6] = {"right", "left", "bottom", "top", "far", "near"};
    for (int p = 0; p < 6; ++p)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(actual[p][j], expected[p][j], 1e-5f) << names[p] << " component " << j;
}

// Column-major product a * b.
void multiply(const float a[16], const float b[16], float out[16])
{
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[4 * k + i] * b[4 * j + k];
            out[4 * j + i] = sum;
        }
}

void rotationX(float degrees, float m[16])
{
    const float a = degrees * 3.14159265f / 180.0f, c = std::cos(a), s = std::sin(a);
    const float r[16] = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
    std::copy(r, r + 16, m);
}

void rotationY(float degrees, float m[16])
{
    const float a = degrees * 3.14159265f / 180.0f, c = std::cos(a), s = std::sin(a);
    const float r[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
    std::copy(r, r + 16, m);
}

void translation(float x, float y, float z, float m[16])
{
    const float t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    std::copy(t, t + 16, m);
}

}  // namespace

TEST(FrustumPlanes, IdentityCameraGivesTheProjectionsPlanes)
{
    const float expected[6][4] = {
        {-r2, 0, -r2, 0}, {r2, 0, -r2, 0}, {0, r2, -r2, 0},
        {0, -r2, -r2, 0}, {0, 0, 1, 3},    {0, 0, -1, -1},
    };
    float planes[6][4];
    frustumFromMatrices(perspective90, identity, planes);
    expectPlanes(planes, expected);
    frustumFromPerspective(perspective90, identity, planes);
    expectPlanes(planes, expected);
}

TEST(FrustumPlanes, TranslatedCameraMovesThePlanesIntoWorldSpace)
{
    // Eye at (5, 0, 10) looking along -z: the model-view translates by (-5, 0, -10).
    float view[16];
    translation(-5, 0, -10, view);
    const float expected[6][4] = {
        {-r2, 0, -r2, 15 * r2}, {r2, 0, -r2, 5 * r2}, {0, r2, -r2, 10 * r2},
        {0, -r2, -r2, 10 * r2}, {0, 0, 1, -7},        {0, 0, -1, 9},
    };
    float planes[6][4];
    frustumFromMatrices(perspective90, view, planes);
    expectPlanes(planes, expected);
}

TEST(FrustumPlanes, TurnedCameraLooksAlongPlusX)
{
    // Heading 90 (a turn of 90 degrees about y) looks along +x.
    float view[16];
    rotationY(90, view);
    const float expected[6][4] = {
        {r2, 0, -r2, 0}, {r2, 0, r2, 0}, {r2, r2, 0, 0},
        {r2, -r2, 0, 0}, {-1, 0, 0, 3},  {1, 0, 0, -1},
    };
    float planes[6][4];
    frustumFromMatrices(perspective90, view, planes);
    expectPlanes(planes, expected);
    EXPECT_TRUE(sphereInPlanes(planes, 2, 0, 0, 0.1f));
    EXPECT_FALSE(sphereInPlanes(planes, -2, 0, 0, 0.1f));
}

TEST(FrustumPlanes, FullFormReadsTheOffCentreEntries)
{
    // glFrustum(0, 2, -1, 1, 1, 3): P[8] = 1 shifts the window to the right.
    const float offCentre[16] = {1, 0, 0, 0, 0, 1, 0, 0, 1, 0, -2, -1, 0, 0, -3, 0};
    float planes[6][4];
    frustumFromMatrices(offCentre, identity, planes);
    const float s5 = 1.0f / std::sqrt(5.0f);
    EXPECT_NEAR(planes[0][0], -s5, 1e-6f);      // right: x <= -2z
    EXPECT_NEAR(planes[0][2], -2 * s5, 1e-6f);
    EXPECT_NEAR(planes[1][0], 1, 1e-6f);        // left: x >= 0
    EXPECT_NEAR(planes[1][2], 0, 1e-6f);
    // A point just left of the axis is outside; just right of it, inside.
    EXPECT_FALSE(sphereInPlanes(planes, -0.5f, 0, -2, 0.1f));
    EXPECT_TRUE(sphereInPlanes(planes, 0.5f, 0, -2, 0.1f));
}

TEST(FrustumPlanes, PerspectiveFormEqualsFullFormForTheGameCamera)
{
    // gluPerspective(30, 1, 0.1, 512.1) and the camera of pitch 10, heading
    // 37 at (120, 20, -45).
    const float f = 3.7320508f, n = 0.1f, fa = 512.1f;
    const float projection[16] = {f, 0, 0, 0, 0, f, 0, 0, 0, 0, (fa + n) / (n - fa), -1,
                                  0, 0, 2 * fa * n / (n - fa), 0};
    float pitch[16], heading[16], move[16], both[16], view[16];
    rotationX(10, pitch);
    rotationY(37, heading);
    translation(-120, -20, 45, move);
    multiply(pitch, heading, both);
    multiply(both, move, view);

    float full[6][4], fast[6][4];
    frustumFromMatrices(projection, view, full);
    frustumFromPerspective(projection, view, fast);
    for (int p = 0; p < 6; ++p)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(fast[p][j], full[p][j], 1e-4f * (1 + std::fabs(full[p][j])));
    for (int p = 0; p < 6; ++p)
        EXPECT_NEAR(std::hypot(full[p][0], full[p][1], full[p][2]), 1.0f, 1e-5f);
}

TEST(SphereTest, TouchingFromOutsideIsRejected)
{
    float planes[6][4];
    frustumFromMatrices(perspective90, identity, planes);
    // The near plane is -z - 1 = 0; the centre (0, 0, 1) is 2 outside it.
    EXPECT_FALSE(sphereInPlanes(planes, 0, 0, 1, 2.0f));
    EXPECT_TRUE(sphereInPlanes(planes, 0, 0, 1, 2.01f));
    // The far plane z + 3 = 0; centre (0, 0, -4) is 1 beyond it.
    EXPECT_FALSE(sphereInPlanes(planes, 0, 0, -4, 1.0f));
    EXPECT_TRUE(sphereInPlanes(planes, 0, 0, -4, 1.01f));
}

TEST(SphereTest, NegativeRadiusNeedsTheCentreThatFarInside)
{
    float planes[6][4];
    frustumFromMatrices(perspective90, identity, planes);
    // (0, 0, -2) is 1 inside near and far and sqrt(2) inside the sides.
    EXPECT_TRUE(sphereInPlanes(planes, 0, 0, -2, 0.0001f));
    EXPECT_TRUE(sphereInPlanes(planes, 0, 0, -2, -0.5f));
    EXPECT_FALSE(sphereInPlanes(planes, 0, 0, -2, -1.0f));
    EXPECT_FALSE(sphereInPlanes(planes, 0, 0, -2, -1.5f));
}

TEST(SphereTest, AllZeroPlanesAcceptExactlyPositiveRadii)
{
    const float zero[6][4] = {};
    EXPECT_TRUE(sphereInPlanes(zero, 1000, -1000, 5, 0.001f));
    EXPECT_FALSE(sphereInPlanes(zero, 0, 0, 0, 0.0f));
    EXPECT_FALSE(sphereInPlanes(zero, 0, 0, 0, -1.0f));
}

TEST(SphereTest, OutsideOnePlaneIsEnough)
{
    float planes[6][4];
    frustumFromMatrices(perspective90, identity, planes);
    // Well to the right of the view at depth 2: outside only the right plane.
    EXPECT_FALSE(sphereInPlanes(planes, 10, 0, -2, 1.0f));
    EXPECT_FALSE(sphereInPlanes(planes, -10, 0, -2, 1.0f));
    EXPECT_FALSE(sphereInPlanes(planes, 0, 10, -2, 1.0f));
    EXPECT_FALSE(sphereInPlanes(planes, 0, -10, -2, 1.0f));
    // A big sphere reaching into the view from the side is kept.
    EXPECT_TRUE(sphereInPlanes(planes, 10, 0, -2, 7.0f));
}
