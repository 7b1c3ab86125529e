// The scene passes. Each assumes the caller cleared the buffers and set the
// viewport and projection, with the model-view matrix current; every drawing
// step starts again from the identity and the camera.
#include "view/scene.h"

#include "entities/player.h"
#include "entities/shots.h"
#include "platform/gl.h"
#include "render/camera_view.h"
#include "render/frustum.h"
#include "render/lighting.h"
#include "render/registry.h"
#include "render/render_options.h"
#include "render/view_volume.h"
#include "platform/platform.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/objects.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"

namespace {

constexpr GLfloat ambientLight[4] = {0.5f, 0.5f, 0.5f, 1.0f};
constexpr GLfloat diffuseLight[4] = {1.0f, 1.0f, 0.0f, 0.9f};

void cameraFrame()
{
    glLoadIdentity();
    applyCameraView();
}

// The sky drawn last instead of first: the same pixels, but its fragments
// behind the world are rejected by the depth test before they are shaded.
// Drawn first under GL_LESS, the sky keeps a pixel unless something nearer
// than it comes later; drawn last under GL_LEQUAL it takes exactly the pixels
// where nothing nearer was drawn, equal depths included, and the depth buffer
// ends with the nearer of the two as before. Only opaque, depth-tested
// drawing may lie between the two places (water, marker quad, terrain,
// objects): the shadow, the beams and the player come after the sky either
// way.
bool skyLast() { return renderOptions.shortcuts; }

// The sky's first place, unlit and unculled, when "DaySky" is registered:
// the sky itself, or when it is drawn last every state change it makes
// without its fragments. Without the sky the light position is not
// re-specified either.
void skyFirstPlace(bool lightFollowsCamera)
{
    if (!findByName(skyName))
        return;
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    if (skyLast())
        setSkyStateOnly();
    else
        drawSkyObject(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glLoadIdentity();
    if (lightFollowsCamera)
        applyCameraView();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
}

// The sky itself in its last place, when it is drawn last, leaving every
// state as it found it (matrix, switches, colour, texture coordinate, bound
// texture, registry cursor). Colour material is off while its colour is set, so the material
// keeps what the steps before it set.
void skyLastPlace()
{
    if (!skyLast())
        return;
    ObjectListNode<RegistryEntry>* const cursor = registry.cursor;
    if (findByName(skyName)) {
        const GLenum switches[5] = {GL_LIGHTING, GL_CULL_FACE, GL_NORMALIZE, GL_TEXTURE_2D, GL_COLOR_MATERIAL};
        GLboolean on[5];
        for (int i = 0; i < 5; ++i)
            on[i] = glIsEnabled(switches[i]);
        GLfloat colour[4], texCoord[4];
        GLint texture = 0, depthFunc = GL_LESS;
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);

        glPushMatrix();
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDepthFunc(GL_LEQUAL);
        drawSkyObject(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        glDepthFunc(static_cast<GLenum>(depthFunc));
        glPopMatrix();

        glColor4fv(colour);
        glTexCoord4fv(texCoord);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        for (int i = 0; i < 5; ++i) {
            if (on[i])
                glEnable(switches[i]);
            else
                glDisable(switches[i]);
        }
    }
    registry.cursor = cursor;
}

// The sea, when its sphere is in view.
void drawSea()
{
    const Sphere& sea = waterSphere;
    if (!sphereInFrustum(sea.x, sea.y, sea.z, sea.radius))
        return;
    cameraFrame();
    glTranslatef(waterOrigin[0], waterOrigin[1], waterOrigin[2]);
    drawWater();
}

// A red quad beyond the mountain range on the +z side.
constexpr float markerCorners[4][3] = {
    {426.0f, -30.0f, 950.0f}, {188.0f, -30.0f, 950.0f}, {188.0f, -30.0f, 1330.0f}, {426.0f, -30.0f, 1330.0f}};

void drawMarkerQuad()
{
    glColor3f(1.0f, 0.0f, 0.0f);
    cameraFrame();
    glBegin(GL_QUADS);
    for (const auto& corner : markerCorners)
        glVertex3fv(corner);
    glEnd();
}

// The player's flat shadow, over everything drawn so far (no depth test).
// The shadow sets its own opaque black; the blending here stays without
// effect on it.
void drawShadowStep()
{
    glPushMatrix();
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    drawPlayerShadow();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glPopMatrix();
}

void drawPlayer()
{
    if (resources.player != nullptr)
        drawCharacter(*resources.player);
}

}  // namespace

void setupLights()
{
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientLight);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuseLight);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glShadeModel(GL_SMOOTH);
}

void renderScene()
{
    cameraFrame();
    // The light passes through the camera, so it stands still in the world.
    skyFirstPlace(true);
    extractFrustumPerspective();
    drawSea();
    drawMarkerQuad();
    drawWorld();
    drawObjects();
    skyLastPlace();
    drawShadowStep();
    drawShotBeams();
    drawPlayer();
    glDisable(GL_TEXTURE_2D);
}

void renderCubeFaceScene()
{
    cameraFrame();
    // The light is fixed relative to the cube-face camera; the view volume
    // is taken with the camera, in the world's coordinates like the spheres.
    skyFirstPlace(false);
    cameraFrame();
    extractFrustumPerspective();
    drawSea();
    drawWorld();
    skyLastPlace();
    glDisable(GL_TEXTURE_2D);
}

void renderBlurScene()
{
    glLoadIdentity();
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    cameraFrame();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    extractFrustumPerspective();
    drawSea();
    drawMarkerQuad();
    drawWorld();
    drawObjects();
    drawPlayer();
    glDisable(GL_TEXTURE_2D);
}

bool blurSceneRepeats()
{
    glPushMatrix();
    cameraFrame();
    const ClipMatrix clip = currentClipMatrix();
    glPopMatrix();
    return outsideView(clip, &markerCorners[0][0], 4);
}

void repeatBlurSceneEffects(int objectsDrawn)
{
    const Sphere& sea = waterSphere;
    if (sphereInFrustum(sea.x, sea.y, sea.z, sea.radius)) {
        selectWaterFrame(waterAnimation);
        advanceWater(waterAnimation, glfwGetTime());
    }
    game.objectsDrawn += objectsDrawn;
}
