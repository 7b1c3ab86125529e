#include "core/camera.h"

#include "platform/platform.h"
#include "state/game_state.h"

#include <cmath>
#include <initializer_list>

// The world's walls (first four rows, step back twice) and the six groups of
// obstacle boxes near the emitters (step back once), tested in this order.
// The long side of each wall reaches +-800, the screen width.
const ObstacleBox obstacleBoxes[obstacleCount] = {
    {-523, -20, -float(screenWidth), -503, 20, float(screenWidth), true},
    {520, -20, -float(screenWidth), 540, 20, float(screenWidth), true},
    {-float(screenWidth), -20, 520, float(screenWidth), 20, 540, true},
    {-float(screenWidth), -20, -540, float(screenWidth), 20, -520, true},
    {-210, -20, -250, -190, 20, -230, false},
    {-210, -20, -290, -190, 20, -270, false},
    {-220, -20, -270, -200, 20, -240, false},
    {-190, -20, -270, -170, 20, -240, false},
    {190, -20, -250, 210, 20, -230, false},
    {190, -20, -290, 210, 20, -270, false},
    {200, -20, -270, 220, 20, -240, false},
    {170, -20, -270, 190, 20, -240, false},
    {200, -20, 210, 220, 20, 230, false},
    {200, -20, 250, 220, 20, 270, false},
    {210, -20, 225, 230, 20, 245, false},
    {180, -20, 225, 200, 20, 245, false},
    {-220, -20, 210, -200, 20, 230, false},
    {-220, -20, 250, -200, 20, 270, false},
    {-230, -20, 225, -210, 20, 245, false},
    {-200, -20, 225, -180, 20, 245, false},
    {-320, -20, 320, -300, 20, 340, false},
    {-320, -20, 360, -300, 20, 380, false},
    {-330, -20, 335, -310, 20, 355, false},
    {-300, -20, 335, -280, 20, 355, false},
    {260, -20, 320, 280, 20, 340, false},
    {260, -20, 360, 280, 20, 380, false},
    {270, -20, 335, 290, 20, 355, false},
    {240, -20, 335, 260, 20, 355, false},
};

namespace {

void shiftSavedPositions()
{
    game.olderPlayerX = game.prevPlayerX;
    game.olderPlayerZ = game.prevPlayerZ;
    game.prevPlayerX = game.playerX;
    game.prevPlayerZ = game.playerZ;
}

bool held(int key) { return glfwGetKey(key) == GLFW_PRESS; }

}  // namespace

bool movePlayer()
{
    // A blocked player goes back to a saved position and does nothing else.
    if (game.blockedStepBack) {
        game.playerX = game.prevPlayerX;
        game.playerZ = game.prevPlayerZ;
        return false;
    }
    if (game.blockedStepBackTwice) {
        game.playerX = game.olderPlayerX;
        game.playerZ = game.olderPlayerZ;
        return false;
    }

    bool moved = false;
    // Each held key takes its own step, in this order, in single precision.
    for (int key : {'W', 'A', 'S', 'D'}) {
        if (!held(key))
            continue;
        moved = true;
        shiftSavedPositions();
        game.headingRadians = game.heading / 180.0f * 3.14159265358979f;
        const float h = game.headingRadians;
        const float s = static_cast<float>(game.stepSize);
        const float sinStep = std::sin(h) * s;
        const float cosStep = std::cos(h) * s;
        switch (key) {
        case 'W': game.playerX += sinStep; game.playerZ -= cosStep; break;
        case 'A': game.playerX -= cosStep; game.playerZ -= sinStep; break;
        case 'S': game.playerX -= sinStep; game.playerZ += cosStep; break;
        case 'D': game.playerX += cosStep; game.playerZ += sinStep; break;
        }
        // A step that ends in a wall or box is the tick's last: the next
        // frame's obstacle test catches it, and every saved position stays
        // one the player may stand on. Without this, two keys could save the
        // blocked point between their steps (stepping back there would block
        // again for good) or, with escape-mode steps, jump a whole wall.
        if (obstacleAt(game.playerX, game.playerZ))
            break;
    }

    if (held('Q')) {
        game.pitch += 1;
        if (game.pitch > 85)
            game.pitch = 85;
    }
    if (held('E')) {
        game.pitch -= 1;
        if (game.pitch < -100)
            game.pitch = -100;
    }
    if (held('X')) {
        game.heading += 1;
        if (game.heading > 360)
            game.heading -= 360;
    }
    if (held('Y')) {
        game.heading -= 1;
        if (game.heading < -360)
            game.heading += 360;
    }
    return moved;
}

bool pointInBox(const float minCorner[3], const float maxCorner[3], float x, float z)
{
    return minCorner[0] <= x && x <= maxCorner[0] && minCorner[2] <= z && z <= maxCorner[2];
}

const ObstacleBox* obstacleAt(double x, double z)
{
    // The probe stands 20 units toward -z of the player, whatever the heading.
    const float probeX = static_cast<float>(x);
    const float probeZ = static_cast<float>(z - catchDistance);
    for (const ObstacleBox& box : obstacleBoxes) {
        const float minCorner[3] = {box.minX, box.minY, box.minZ};
        const float maxCorner[3] = {box.maxX, box.maxY, box.maxZ};
        if (pointInBox(minCorner, maxCorner, probeX, probeZ))
            return &box;
    }
    return nullptr;
}

void testObstacles()
{
    const ObstacleBox* box = obstacleAt(game.playerX, game.playerZ);
    if (!box)
        return;
    if (box->wall)
        game.blockedStepBackTwice = true;
    else
        game.blockedStepBack = true;
}
