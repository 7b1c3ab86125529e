#include "view/environment.h"

#include "platform/platform.h"
#include "render/camera_view.h"
#include "render/frustum.h"
#include "render/registry.h"
#include "render/render_options.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/scene.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

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

// The environment view's six pictures change only when what they show
// changes: the place they are taken from, the sea's waves and texture frame,
// the culling spheres and the beach's culling radius, or the GL state they
// are drawn with that the
// keys can change (polygon mode, light 0, blending, the depth test, the
// filters of the textures the faces sample). While all of these stay the same, a capture
// would draw the very same pictures again, so it is left out and only its
// effects besides the pictures are repeated: the sea's clock, advanced once
// per face that drew the sea, and the GL state the capture leaves.
struct WaterLook {
    int frame, rows, columns;
    bool operator==(const WaterLook&) const = default;
};

struct ViewInputs {
    double x = 0, z = 0;
    int cullRadiusAdjust = 0;
    GLint polygonMode[2] = {0, 0};
    GLboolean light0 = GL_FALSE, blend = GL_FALSE, depthTest = GL_FALSE;
    std::vector<GLint> filters;
    std::vector<float> spheres;     // the culling spheres of the terrain and the sea
    std::vector<WaterLook> water;   // per face that drew the sea, as drawn
    bool operator==(const ViewInputs&) const = default;
};

constexpr GLenum leftSwitches[8] = {GL_CULL_FACE, GL_TEXTURE_2D, GL_COLOR_MATERIAL, GL_LIGHTING,
                                    GL_NORMALIZE, GL_DEPTH_TEST, GL_BLEND, GL_LIGHT0};

// The GL state a capture of the six views leaves behind (the viewport and
// the matrices are the caller's to restore).
struct LeftState {
    GLboolean switches[8];
    GLfloat clearColour[4], colour[4], texCoord[4], normal[3], light[4];
    GLfloat ambient[2][4], diffuse[2][4];
    GLint texture;
    ObjectListNode<RegistryEntry>* registryCursor;
};

struct ViewCapture {
    bool valid = false;
    ViewInputs inputs;
    int seaFaces = 0;
    LeftState left{};
};

ViewCapture lastViews;

// The filters of every texture the faces sample, from the bound texture's
// parameters (the binding is put back).
std::vector<GLint> sampledFilters()
{
    std::vector<GLuint> textures = {skyFrontTexture, skyBackTexture, skyTopTexture, skyLeftTexture,
                                    skyRightTexture, groundTexture, woodTexture, mountainTexture, beachTexture};
    textures.insert(textures.end(), std::begin(waterTextures), std::end(waterTextures));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    std::vector<GLint> filters;
    for (GLuint texture : textures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint minFilter = 0, magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        filters.push_back(minFilter);
        filters.push_back(magFilter);
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return filters;
}

// What the views would be drawn from now, the sea as it would look in each
// of `seaFaces` faces (advanced on `water`, a copy or the sea's own state).
ViewInputs viewInputs(double x, double z, int seaFaces, WaterAnimation& water)
{
    ViewInputs in;
    in.x = x;
    in.z = z;
    in.cullRadiusAdjust = game.cullRadiusAdjust;
    glGetIntegerv(GL_POLYGON_MODE, in.polygonMode);
    in.light0 = glIsEnabled(GL_LIGHT0);
    in.blend = glIsEnabled(GL_BLEND);
    in.depthTest = glIsEnabled(GL_DEPTH_TEST);
    in.filters = sampledFilters();
    const TerrainSpheres& t = terrainBounds;
    for (const Sphere& sphere : {t.beach, t.mountains[0], t.mountains[1], t.mountains[2], waterSphere})
        in.spheres.insert(in.spheres.end(), {sphere.x, sphere.y, sphere.z, sphere.radius});
    const double now = glfwGetTime();
    for (int i = 0; i < seaFaces; ++i) {
        const int frame = selectWaterFrame(water);
        advanceWater(water, now);
        in.water.push_back({frame, water.rowOffset, water.columnOffset});
    }
    return in;
}

LeftState leftState()
{
    LeftState l{};
    for (int i = 0; i < 8; ++i)
        l.switches[i] = glIsEnabled(leftSwitches[i]);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, l.clearColour);
    glGetFloatv(GL_CURRENT_COLOR, l.colour);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, l.texCoord);
    glGetFloatv(GL_CURRENT_NORMAL, l.normal);
    glGetLightfv(GL_LIGHT0, GL_POSITION, l.light);
    for (int side = 0; side < 2; ++side) {
        glGetMaterialfv(side ? GL_BACK : GL_FRONT, GL_AMBIENT, l.ambient[side]);
        glGetMaterialfv(side ? GL_BACK : GL_FRONT, GL_DIFFUSE, l.diffuse[side]);
    }
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &l.texture);
    l.registryCursor = registry.cursor;
    return l;
}

void restoreLeftState(const LeftState& l)
{
    glDisable(GL_COLOR_MATERIAL);
    for (int side = 0; side < 2; ++side) {
        glMaterialfv(side ? GL_BACK : GL_FRONT, GL_AMBIENT, l.ambient[side]);
        glMaterialfv(side ? GL_BACK : GL_FRONT, GL_DIFFUSE, l.diffuse[side]);
    }
    glClearColor(l.clearColour[0], l.clearColour[1], l.clearColour[2], l.clearColour[3]);
    glColor4fv(l.colour);
    glTexCoord4fv(l.texCoord);
    glNormal3fv(l.normal);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();   // the position is kept in eye coordinates
    glLightfv(GL_LIGHT0, GL_POSITION, l.light);
    glPopMatrix();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(l.texture));
    for (int i = 0; i < 8; ++i) {
        if (l.switches[i])
            glEnable(leftSwitches[i]);
        else
            glDisable(leftSwitches[i]);
    }
    registry.cursor = l.registryCursor;
}

bool seaInView() { return sphereInFrustum(waterSphere.x, waterSphere.y, waterSphere.z, waterSphere.radius); }

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
    // The planes are still this face's: did its pass draw the sea?
    if (seaInView())
        ++lastViews.seaFaces;
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
        const double x = capturePosition(game.environmentOffsetX);
        const double z = capturePosition(game.environmentOffsetY);
        WaterAnimation water = waterAnimation;
        if (renderOptions.shortcuts && lastViews.valid &&
            viewInputs(x, z, lastViews.seaFaces, water) == lastViews.inputs) {
            // The same six pictures again: only the capture's other effects.
            waterAnimation = water;
            restoreLeftState(lastViews.left);
            for (int face = 0; face < 6; ++face)
                lastCameras[face] = {x, z, debugViews[face].pitch, debugViews[face].heading};
        } else {
            const ViewInputs before = viewInputs(x, z, 0, water);
            const WaterAnimation waterBefore = waterAnimation;
            lastViews.seaFaces = 0;
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_COLOR_MATERIAL);
            glEnable(GL_CULL_FACE);
            for (int face = 0; face < 6; ++face) {
                glBindTexture(GL_TEXTURE_2D, resources.environmentViewTextures[face]);
                captureFace(face, debugViews[face], x, z, GL_TEXTURE_2D, resources.environmentViewTextures[face]);
            }
            glDisable(GL_COLOR_MATERIAL);
            // What the sea looked like in each face that drew it, worked out
            // again from its state before the capture.
            water = waterBefore;
            lastViews.inputs = viewInputs(x, z, lastViews.seaFaces, water);
            lastViews.inputs.polygonMode[0] = before.polygonMode[0];
            lastViews.inputs.polygonMode[1] = before.polygonMode[1];
            lastViews.inputs.light0 = before.light0;
            lastViews.inputs.blend = before.blend;
            lastViews.inputs.depthTest = before.depthTest;
            lastViews.valid = water.frame == waterAnimation.frame && water.rowOffset == waterAnimation.rowOffset &&
                              water.columnOffset == waterAnimation.columnOffset &&
                              water.tickCount == waterAnimation.tickCount &&
                              water.accumulator == waterAnimation.accumulator &&
                              water.lastTime == waterAnimation.lastTime;
        }
    }

    game.playerX = savedX;
    game.playerZ = savedZ;
    game.pitch = savedPitch;
    game.heading = savedHeading;
    if (game.showEnvironment)
        lastViews.left = leftState();
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
