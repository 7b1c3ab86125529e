// How the player walks: the movement tick and the obstacle test. The camera
// transform drawn from the player's eye is render/camera_view.h.
#pragma once

#include "render/camera_view.h"

struct ObstacleBox {
    float minX, minY, minZ;
    float maxX, maxY, maxZ;
    bool wall;   // a world wall (step back twice) rather than an obstacle
};
inline constexpr int obstacleCount = 28;
extern const ObstacleBox obstacleBoxes[obstacleCount];

// One movement tick: steps back when blocked, else W/A/S/D steps and the
// Q/E/X/Y view keys. True when a movement key was down and a step was taken.
bool movePlayer();
// Inclusive containment of (x, z) in the box's x and z ranges.
bool pointInBox(const float minCorner[3], const float maxCorner[3], float x, float z);
// The first box of the world's table, in table order, that holds the probe
// point (x, z - 20) of a player standing at (x, z); null when none does.
const ObstacleBox* obstacleAt(double x, double z);
// Tests the probe point (playerX, playerZ - 20) against the world's boxes and
// sets blockedStepBack or blockedStepBackTwice.
void testObstacles();
