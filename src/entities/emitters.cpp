// Emitters: textured boxes on the ground that release an enemy every
// interval, and the world tick that runs them and steps the enemies.
#include "entities/emitters.h"

#include "entities/enemies.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "render/registry.h"
#include "render/world_texture.h"
#include "state/game_state.h"

#include <iostream>

namespace {

GLuint boxTexture = 0;

// One face of the box: its outward normal and four corners, each with its
// corner of the texture.
void boxFace(float nx, float ny, float nz, const float corners[4][3])
{
    static const float texCoords[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    glNormal3f(nx, ny, nz);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(texCoords[i][0], texCoords[i][1]);
        glVertex3fv(corners[i]);
    }
}

// The box x 0..10, y -20..-10, z 0..10 in the emitter's own space. Every
// face runs counter-clockwise seen from outside, so the box survives
// back-face culling.
void drawBox()
{
    const float x0 = 0, x1 = 10, y0 = -20, y1 = -10, z0 = 0, z1 = 10;
    const float front[4][3] = {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
    const float back[4][3] = {{x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}};
    const float left[4][3] = {{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}};
    const float right[4][3] = {{x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}};
    const float top[4][3] = {{x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}};
    const float bottom[4][3] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}};
    glBegin(GL_QUADS);
    boxFace(0, 0, 1, front);
    boxFace(0, 0, -1, back);
    boxFace(-1, 0, 0, left);
    boxFace(1, 0, 0, right);
    boxFace(0, 1, 0, top);
    boxFace(0, -1, 0, bottom);
    glEnd();
}

}  // namespace

ObjectList<Emitter> emitterList;

Emitter::Emitter(float x_, float y_, float z_, float rotationX_, float rotationY_,
                 float rotationZ_, float traceValue, double interval_, std::int32_t points_)
    : SceneObject(emitterName, "nothing", "not at the moment", x_, y_, z_, rotationX_,
                  rotationY_, rotationZ_, traceValue),
      releasesLeft(-1), interval(interval_), points(points_)
{
    std::cerr << traceValue << std::endl;
}

void buildEmitterList()
{
    boxTexture = loadWorldTexture("Textures/box_COLOR.tga");
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glDisable(GL_TEXTURE_2D);
    glLoadIdentity();

    registerDisplayList(emitterName, [] {
        glEnable(GL_NORMALIZE);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, boxTexture);
        glColor3f(1.0f, 1.0f, 1.0f);
        drawBox();
    });
    glDisable(GL_TEXTURE_2D);
}

void addEmitter(float x, float y, float z, float rotationX, float rotationY, float rotationZ,
                float traceValue, double interval, std::int32_t points)
{
    append(emitterList,
           new Emitter(x, y, z, rotationX, rotationY, rotationZ, traceValue, interval, points));
}

void addGameEmitters()
{
    static const float sites[6][2] = {
        {-200, -250}, {200, -250}, {-200, 250}, {200, 250}, {-300, 350}, {305, 350},
    };
    for (const auto& site : sites)
        addEmitter(site[0], 0.0f, site[1], 0.0f, 0.0f, 0.0f, -1.0f, game.emitterInterval,
                   10 * game.emitterDensity);
}

void tickEmitters()
{
    forEach(emitterList, [](Emitter& emitter) {
        if (emitter.releasesLeft == 0)
            return;
        // The release time is kept in the emitter's node, under the cursor.
        ObjectListNode<Emitter>* node = emitterList.cursor;
        const double now = glfwGetTime();
        if (now - node->lastRelease > emitter.interval) {
            node->lastRelease = now;
            spawnEnemy(emitter.x, emitter.z, emitter.points);
            if (emitter.releasesLeft > 0)
                emitter.releasesLeft -= 1;
        }
    });
}

void tickWorld()
{
    tickEmitters();
    stepEnemies();
}
