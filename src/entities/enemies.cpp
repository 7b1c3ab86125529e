// Enemies: three coloured spheres released by the emitters that walk straight
// at the player every world tick and cost a life when they reach him.
#include "entities/enemies.h"

#include "platform/gl.h"
#include "render/registry.h"
#include "state/game_state.h"

#include <cmath>
#include <iostream>

namespace {

constexpr float enemySpeed = 0.2f;
constexpr float releaseHeight = -20.0f;   // standing in the emitter's box
constexpr float walkHeight = -17.0f;      // from the first step on

void sphere(GLUquadric* quadric, double radius)
{
    gluSphere(quadric, radius, 15, 10);
}

}  // namespace

ObjectList<Character> enemyList;

void buildEnemyList()
{
    static GLUquadric* quadric = nullptr;
    if (!quadric) {
        quadric = gluNewQuadric();
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricOrientation(quadric, GLU_OUTSIDE);
    }

    registerDisplayList(enemyName, [] {
        glEnable(GL_COLOR_MATERIAL);
        glPushMatrix();
        glColor3f(1.0f, 0.0f, 1.0f);          // the magenta body
        sphere(quadric, 3.0);
        glTranslatef(1.5f, 2.0f, 0.0f);       // and a pair of blue eyes on top
        glColor3f(0.0f, 0.0f, 1.0f);
        sphere(quadric, 1.5);
        glTranslatef(-3.0f, 0.0f, 0.0f);
        sphere(quadric, 1.5);
        glPopMatrix();
        glDisable(GL_COLOR_MATERIAL);
    });
    glColor3f(1.0f, 1.0f, 1.0f);
}

void spawnEnemy(float x, float z, std::int32_t points)
{
    auto* enemy = new Character(enemyName, "No model", "No texture", x, releaseHeight, z,
                                0.0f, 0.0f, 0.0f, 0.0f, game.enemyLevel, enemySpeed,
                                animationNone, points);
    append(enemyList, enemy);
}

bool chasePlayer(Character& enemy)
{
    const float px = static_cast<float>(game.playerX);
    const float pz = static_cast<float>(game.playerZ);
    const float s = enemy.speed;

    if (px > enemy.x)
        enemy.x += s;
    else if (enemy.x > px)
        enemy.x -= s;

    if (enemy.z < pz - 1.0f) {
        enemy.z += s;
        enemy.y = walkHeight;
        return false;
    }
    if (enemy.z > pz + 1.0f) {
        enemy.z -= s;
        enemy.y = walkHeight;
        return false;
    }
    if (std::fabs(enemy.x - px) < 1.0f) {
        game.lives -= 1;
        std::cout << "DIIIIIIIIIE!" << std::endl;
        return true;
    }
    enemy.y = walkHeight;
    return false;
}

void stepEnemies()
{
    forEach(enemyList, [](Character& enemy) {
        if (!chasePlayer(enemy))
            return;
        Character* caught = removeCurrent(enemyList);
        resetSceneObject(*caught);
        delete caught;
    });
}
