// The red laser beams: a chain of small crossed quads from the player to the
// hit (or the end of the reach), added onto the scene for 0.4 seconds.
#include "entities/shots.h"

#include "core/camera.h"
#include "core/game_state.h"
#include "platform/gl.h"
#include "platform/platform.h"

#include <cmath>

bool beamExpired(const ShotBeam& beam, double now)
{
    const float age = static_cast<float>(now - beam.fireTime);
    return beam.lifetime < age;
}

int beamSegments(const ShotBeam& beam)
{
    const float m = std::fmax(std::fabs(beam.endX - beam.startX),
                              std::fmax(std::fabs(beam.endY - beam.startY),
                                        std::fabs(beam.endZ - beam.startZ)));
    if (!(m > 0.0f))
        return 1;
    // One link every 0.01 units along the longest axis. A beam is never
    // longer than the reach, but a damaged one must not run away.
    const double n = m / 0.01;
    return n < 1.0e6 ? static_cast<int>(n) : 1000000;
}

bool drawShotBeam(const ShotBeam& beam)
{
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    applyCameraView();
    if (beamExpired(beam, glfwGetTime()))
        return true;

    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);

    const int n = beamSegments(beam);
    const float links = n > 0 ? static_cast<float>(n) : 1.0f;
    const float stepX = (beam.endX - beam.startX) / links;
    const float stepY = (beam.endY - beam.startY) / links;
    const float stepZ = (beam.endZ - beam.startZ) / links;

    glColor3f(1.0f, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, game.particleTexture);
    float x = beam.startX, y = beam.startY, z = beam.startZ;
    const float w = 0.125f;
    for (int i = 0; i < n; ++i) {
        glBegin(GL_QUADS);   // across x-y
        glTexCoord2f(0, 0);
        glVertex3f(x - w, y - w, z);
        glTexCoord2f(1, 0);
        glVertex3f(x + w, y - w, z);
        glTexCoord2f(0, 1);
        glVertex3f(x + w, y + w, z);
        glTexCoord2f(1, 1);
        glVertex3f(x - w, y + w, z);
        glEnd();

        glBindTexture(GL_TEXTURE_2D, game.particleTexture);
        glBegin(GL_QUADS);   // across y-z
        glTexCoord2f(0, 0);
        glVertex3f(x, y - w, z - w);
        glTexCoord2f(1, 0);
        glVertex3f(x, y - w, z + w);
        glTexCoord2f(0, 1);
        glVertex3f(x, y + w, z + w);
        glTexCoord2f(1, 1);
        glVertex3f(x, y + w, z - w);
        glEnd();

        glBindTexture(GL_TEXTURE_2D, game.particleTexture);
        glBegin(GL_QUADS);   // across x-z
        glTexCoord2f(0, 0);
        glVertex3f(x - w, y, z - w);
        glTexCoord2f(1, 0);
        glVertex3f(x - w, y, z + w);
        glTexCoord2f(0, 1);
        glVertex3f(x + w, y, z + w);
        glTexCoord2f(1, 1);
        glVertex3f(x + w, y, z - w);
        glEnd();

        x += stepX;
        y += stepY;
        z += stepZ;
    }

    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    return false;
}

void drawShotBeams()
{
    forEach(shotBeamList, [](ShotBeam& beam) {
        if (!drawShotBeam(beam))
            return;
        delete removeCurrent(shotBeamList);
    });
}
