// How the player walks: the movement tick and the obstacle test. The camera
// transform drawn from the player's eye is render/camera_view.h.
#pragma once

#include "render/camera_view.h"

// One box of the world's obstacle table, in world units.
struct ObstacleBox {
    float minX, minY, minZ;
    float maxX, maxY, maxZ;
    bool wall;   // a world wall (step back twice) rather than an obstacle
};
// The world's obstacle table (camera.cpp), read by obstacleAt in table order.
inline constexpr int obstacleCount = 28;
extern const ObstacleBox obstacleBoxes[obstacleCount];

// One movement tick: a blocked player goes back to a saved position and does
// nothing else; otherwise W/A/S/D steps and the Q/E/X/Y view keys. True when a
// movement key was down and a step was taken. Called by the frame loop on
// every 0.04-second tick, after the world tick; the result goes on to
// updatePlayerAnimation.
bool movePlayer();
// Inclusive containment of (x, z) in the box's x and z ranges. Called by
// obstacleAt for each box it tries.
bool pointInBox(const float minCorner[3], const float maxCorner[3], float x, float z);
// The first box of the world's table, in table order, that holds the probe
// point (x, z - 20) of a player standing at (x, z); null when none does.
// Called by testObstacles, and by movePlayer after each step to end the tick
// on a step into a box.
const ObstacleBox* obstacleAt(double x, double z);
// Tests the probe point (playerX, playerZ - 20) against the world's boxes and
// sets blockedStepBack or blockedStepBackTwice, which movePlayer reads on the
// next tick. Called by the frame loop once a frame, after clearing the frame
// (which clears both flags) and before the scene pass.
void testObstacles();
