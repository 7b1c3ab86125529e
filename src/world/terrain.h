// The static ground: slab, wooden plank, beach and three mountain ranges,
// generated at start-up into display lists and drawn with frustum culling.
#pragma once

inline constexpr int heightGridSize = 100;
extern float mountainHeights[heightGridSize][heightGridSize];
extern float beachHeights[heightGridSize][heightGridSize];
extern float faceNormal[3];

// Pure: fill the height grids.
void fillMountainHeights(float grid[heightGridSize][heightGridSize]);
void fillBeachHeights(float grid[heightGridSize][heightGridSize]);
// Sets faceNormal to the unit vector of (P2 - P1) x (P3 - P1).
void computeFaceNormal(float x1, float y1, float z1, float x2, float y2, float z2,
                       float x3, float y3, float z3);

void buildWorldGeometry();
void buildMountainList();
void buildBeachList();
void drawWorld();
void drawWoodPlank();
