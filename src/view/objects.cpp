#include "view/objects.h"

#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/player.h"
#include "platform/gl.h"
#include "render/camera_view.h"
#include "render/registry.h"

void drawObjects()
{
    forEach(emitterList, [](Emitter& emitter) {
        if (findByName(emitter.name))
            drawRegistered(emitter.x, emitter.y, emitter.z, emitter.rotationX,
                           emitter.rotationY, emitter.rotationZ);
    });
    forEach(enemyList, [](Character& enemy) {
        if (enemy.animationState == animationNone) {
            if (findByName(enemy.name))
                drawRegistered(enemy.x, enemy.y, enemy.z, enemy.rotationX, enemy.rotationY,
                               enemy.rotationZ);
        } else {
            glLoadIdentity();
            applyCameraView();
            drawCharacter(enemy);
        }
    });
}
