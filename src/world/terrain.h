// The static ground: slab, wooden plank, beach and three mountain ranges,
// generated at start-up into display lists and drawn with frustum culling.
#pragma once

#include "platform/gl.h"
#include "render/frustum.h"

// The mountain and beach height grids, filled at start-up by buildMountainList
// and buildBeachList, and the normal computeFaceNormal leaves behind.
inline constexpr int heightGridSize = 100;
extern float mountainHeights[heightGridSize][heightGridSize];
extern float beachHeights[heightGridSize][heightGridSize];
extern float faceNormal[3];

// Textures and display lists made by buildWorldGeometry.
extern GLuint groundTexture, woodTexture, mountainTexture, beachTexture;
extern GLuint groundList, mountainList, beachList;

// A height-grid mesh: strips x cells quads of cellSize, heights times
// heightScale; grid point (k, m) stands at (cellSize k, heightScale G[k][m],
// cellSize m) for k = 0..strips and m = 0..cells.
struct HeightMesh {
    float cellSize, heightScale, texDivisor;
    int strips, cells;
};
inline constexpr HeightMesh mountainMesh{20.0f, 15.0f, 60.0f, 9, 61};
inline constexpr HeightMesh beachMesh{32.0f, 10.0f, 40.0f, 9, 46};

// Where a piece's list is drawn: after the camera, scale y by scaleY, turn
// turnY degrees about y, translate by offset (calls in that order, each only
// when it is not the identity).
struct Placement {
    float scaleY, turnY;
    float offset[3];
};
// The beach is mirrored in y so that its slope runs down into the sea.
inline constexpr Placement beachPlacement{-1.0f, 0.0f, {-814.0f, 120.0f, -671.0f}};
inline constexpr Placement mountainPlacements[3] = {
    {1.0f, 0.0f, {498.0f, -21.0f, -558.0f}},
    {1.0f, 90.0f, {503.0f, -21.0f, -528.0f}},
    {1.0f, -90.0f, {503.0f, -21.0f, -691.0f}},
};
// The wooden plank along the beach's upper edge, in world units.
inline constexpr float plankLow[3] = {-528.0f, -22.0f, -580.0f};
inline constexpr float plankHigh[3] = {-524.0f, -19.0f, 524.0f};

// Pure: the world position of point (x, y, z) of a piece's own space.
// Called by terrainSpheres for the grid points of each piece (and the tests).
void placePoint(const Placement& placement, double x, double y, double z, double world[3]);

// The culling spheres: the beach with the plank, and each mountain instance.
// The beach's radius grows by 5 per step of cullRadiusAdjust when tested.
struct TerrainSpheres {
    Sphere beach;
    Sphere mountains[3];
};
// Pure: spheres that hold every vertex of the pieces built from these grids.
// Called once by buildWorldGeometry, after both lists are built (and the
// tests).
TerrainSpheres terrainSpheres(const float mountainGrid[heightGridSize][heightGridSize],
                              const float beachGrid[heightGridSize][heightGridSize]);
// Set by buildWorldGeometry once the grids are filled.
extern TerrainSpheres terrainBounds;

// Pure: fills the mountains' height grid. Called by buildMountainList before it
// compiles the list (and the tests).
void fillMountainHeights(float grid[heightGridSize][heightGridSize]);
// Pure: fills the beach's height grid. Called by buildBeachList before it
// compiles the list (and the tests).
void fillBeachHeights(float grid[heightGridSize][heightGridSize]);
// Sets faceNormal to the unit vector of (P2 - P1) x (P3 - P1). Called for
// every corner of the mountain and beach meshes while their lists compile.
void computeFaceNormal(float x1, float y1, float z1, float x2, float y2, float z2,
                       float x3, float y3, float z3);

// Start-up: the wood and ground textures, the ground list, the mountain and
// beach lists, then terrainBounds. Called once by start-up, first thing after
// the window opens, before the registry's builders.
void buildWorldGeometry();
// Loads the mountain texture, fills mountainHeights and compiles mountainList.
// Called by buildWorldGeometry.
void buildMountainList();
// Loads the beach texture (mipmapped), fills beachHeights and compiles
// beachList. Called by buildWorldGeometry, after the mountains.
void buildBeachList();
// The terrain, lit and textured: the beach with the plank when its sphere
// (grown by cullRadiusAdjust) is in view, the ground, and each mountain whose
// sphere is in view. Called by every scene pass (game view, cube faces, blur
// view) after the sea, and by the end screen's loop.
void drawWorld();
// The wooden plank along the beach's upper edge, through the camera. Called by
// drawWorld right after the beach.
void drawWoodPlank();
