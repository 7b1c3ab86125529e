// The player's viewpoint and how it walks: the camera transform every world
// drawing step applies, the movement tick, and the obstacle test.
#pragma once

// Eye height above the player's position on the ground plane.
inline constexpr double eyeHeight = 20.0;

struct ObstacleBox {
    float minX, minY, minZ;
    float maxX, maxY, maxZ;
    bool wall;   // a world wall (step back twice) rather than an obstacle
};
inline constexpr int obstacleCount = 28;
extern const ObstacleBox obstacleBoxes[obstacleCount];

// Multiplies the view onto the current matrix: rotate by pitch about x, by
// heading about y, translate by (-playerX, -20, -playerZ).
void applyCameraView();
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
