// The static ground: slab, wooden plank, beach and three mountain ranges,
// generated at start-up into display lists and drawn with frustum culling.
#pragma once

#include "platform/gl.h"

inline constexpr int heightGridSize = 100;
extern float mountainHeights[heightGridSize][heightGridSize];
extern float beachHeights[heightGridSize][heightGridSize];
extern float faceNormal[3];

// Textures and display lists made by buildWorldGeometry.
extern GLuint groundTexture, woodTexture, mountainTexture, beachTexture;
extern GLuint groundList, mountainList, beachList;

// The culling spheres of the beach (with the plank) and of the three mountain
// instances; the beach's radius grows by 5 per step of cullRadiusAdjust.
inline constexpr float beachSphere[4] = {-798.0f, -52.0f, -351.0f, 930.0f};
inline constexpr float mountainSpheres[3][4] = {
    {498.0f, -21.0f, -279.0f, 815.0f},
    {251.5f, -21.0f, -528.0f, 760.0f},
    {251.5f, -21.0f, -691.0f, 1350.0f},
};

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
