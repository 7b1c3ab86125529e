#include "view/environment.h"

#include "render/camera_view.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/scene.h"

#include <cmath>

const GLenum cubeFaceTargets[6] = {
    GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X,
    GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
    GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z,
};

// Only pitch and heading are used from these tables; the position is the
// chaser's (or the environment view's) at capture time.
const CaptureCamera cubeFaceViews[6] = {
    {0, 0, -180, 270}, {0, 0, 180, 90}, {0, 0, -90, 0},
    {0, 0, 90, 0},     {0, 0, 180, 0},  {0, 0, 180, 180},
};

const CaptureCamera debugViews[6] = {
    {0, 0, -90, 0}, {0, 0, 0, 270}, {0, 0, 0, 0}, {0, 0, 0, 90}, {0, 0, 0, 180}, {0, 0, 90, 0},
};

namespace {

GLuint environmentCubeMap = 0;
GLUquadric* sphereQuadric = nullptr;
CaptureCamera lastCameras[6] = {};

// One face: a 90-degree view from (x, z) copied into `target`. A 2-D target
// is `texture`, bound again after the scene pass (which binds its own); the
// cube map stays bound throughout.
void captureFace(int face, const CaptureCamera& view, double x, double z, GLenum target,
                 GLuint texture = 0)
{
    glEnable(GL_CULL_FACE);
    glLoadIdentity();
    glViewport(0, 0, environmentFaceSize, environmentFaceSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 2.0, 400.0);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    game.playerX = x;
    game.playerZ = z;
    game.pitch = view.pitch;
    game.heading = view.heading;
    lastCameras[face] = {x, z, view.pitch, view.heading};
    renderCubeFaceScene();
    if (target == GL_TEXTURE_2D)
        glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexImage2D(target, 0, GL_RGB, 0, 0, environmentFaceSize, environmentFaceSize, 0);
    glEnable(GL_DEPTH_TEST);
    if (face < 5)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace

double capturePosition(float value) { return std::trunc(static_cast<double>(value)); }

const CaptureCamera* lastCaptureCameras() { return lastCameras; }

GLuint environmentCubeMapTexture() { return environmentCubeMap; }

void setupEnvironmentMap()
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glGenTextures(1, &environmentCubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, environmentCubeMap);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_CUBE_MAP);

    sphereQuadric = gluNewQuadric();
    gluQuadricDrawStyle(sphereQuadric, GLU_FILL);
    gluQuadricTexture(sphereQuadric, GL_TRUE);
    gluQuadricOrientation(sphereQuadric, GLU_OUTSIDE);

    glEnable(GL_TEXTURE_2D);
    glGenTextures(6, resources.environmentViewTextures);
    for (GLuint texture : resources.environmentViewTextures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
}

void captureEnvironment()
{
    const double savedX = game.playerX, savedZ = game.playerZ, savedPitch = game.pitch;
    const float savedHeading = game.heading;
    glEnable(GL_CULL_FACE);

    if (!game.showEnvironment) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBindTexture(GL_TEXTURE_CUBE_MAP, environmentCubeMap);
        glEnable(GL_TEXTURE_2D);
        // Not restored afterwards: from the first capture on, frames clear to black.
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const double x = capturePosition(game.chaserX), z = capturePosition(game.chaserZ);
        for (int face = 0; face < 6; ++face)
            captureFace(face, cubeFaceViews[face], x, z, cubeFaceTargets[face]);
        glDisable(GL_TEXTURE_CUBE_MAP);
    } else {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_CULL_FACE);
        const double x = capturePosition(game.environmentOffsetX);
        const double z = capturePosition(game.environmentOffsetY);
        for (int face = 0; face < 6; ++face) {
            glBindTexture(GL_TEXTURE_2D, resources.environmentViewTextures[face]);
            captureFace(face, debugViews[face], x, z, GL_TEXTURE_2D, resources.environmentViewTextures[face]);
        }
        glDisable(GL_COLOR_MATERIAL);
    }

    game.playerX = savedX;
    game.playerZ = savedZ;
    game.pitch = savedPitch;
    game.heading = savedHeading;
}

void drawChaserSphere()
{
    glLoadIdentity();
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, environmentCubeMap);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    glPushMatrix();
    glLoadIdentity();
    applyCameraView();
    glTranslatef(game.chaserX, -15.0f, game.chaserZ);
    glColor3f(1, 1, 1);
    gluSphere(sphereQuadric, 5.0, 15, 10);
    glPopMatrix();

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glDisable(GL_COLOR_MATERIAL);
}
