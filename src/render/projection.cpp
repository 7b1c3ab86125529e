#include "render/projection.h"

#include "platform/gl.h"

namespace {

// The game's perspective: 30 degrees of vertical field of view and an aspect
// ratio of 1.0 (the 800 x 600 picture is stretched sideways on purpose).
void multiplyGamePerspective()
{
    gluPerspective(30.0, 1.0, 0.1f, 512.1f);
}

}  // namespace

void setupStartProjection()
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    multiplyGamePerspective();   // onto whatever is there: identity at start-up
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void resetProjection()
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    multiplyGamePerspective();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
