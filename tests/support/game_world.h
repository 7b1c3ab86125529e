// For rendering tests that need the whole world: the GL side of start-up
// (world, sky, player, lights, projection, textures, environment map, escape
// textures, frustum, water) done once per test process in the asset folder,
// the player's camera, and reading world points back from the depth buffer.
#pragma once

#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/particles.h"
#include "entities/player.h"
#include "game/startup.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "render/camera_view.h"
#include "render/frustum.h"
#include "render/projection.h"
#include "render/registry.h"
#include "render/world_texture.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "support/test_support.h"
#include "view/environment.h"
#include "view/escape.h"
#include "view/scene.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <unistd.h>

inline bool openGameWorld()
{
    static int state = 0;
    if (state == 0) {
        state = -1;
        if (!openTestWindow() || chdir(assetDir()) != 0)
            return false;
        if (!resources.explosionSystems[0])
            makeExplosionSystems();
        // The world's builders print "problem" lines for missing files only.
        buildStartWorld();
        buildStartViews();
        extractFrustum();
        loadWater();
        buildPendingMipmaps();
        state = 1;
    }
    return state == 1;
}

#define REQUIRE_GAME_WORLD()                                        \
    do {                                                            \
        if (!openGameWorld())                                       \
            GTEST_SKIP() << "no X display for the rendering tests"; \
    } while (0)

// A fresh game (what start-up made stays in `resources`) and the game's
// projection.
inline void resetView()
{
    game = GameState{};
    resetProjection();
}

// The player at (x, z) looking along heading and pitch, the game's
// projection and the depth, culling, lighting and blending state of a frame.
inline void placeCamera(double x, double z, float heading, double pitch)
{
    resetProjection();
    game.playerX = x;
    game.playerZ = z;
    game.heading = heading;
    game.pitch = pitch;
    for (GLenum on : {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_LIGHT0})
        glEnable(on);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// Keeps the player's model out of the pictures while it lives.
struct WithoutPlayer {
    Character* saved = resources.player;
    WithoutPlayer() { resources.player = nullptr; }
    ~WithoutPlayer() { resources.player = saved; }
};

// renderScene from the given view at game clock 10 s, without the player,
// over magenta (the clear colour shows wherever nothing was drawn).
inline void renderView(double x, double z, float heading, double pitch)
{
    placeCamera(x, z, heading, pitch);
    sys::testSetTime(10.0);
    glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    WithoutPlayer noPlayer;
    renderScene();
}

// The player's camera as GL matrices (model-view, projection, viewport).
struct CameraMatrices {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    CameraMatrices()
    {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        applyCameraView();
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glPopMatrix();
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
    }
};

// A pixel's world point, unprojected from the depth buffer; `sky` when
// nothing at all was drawn there.
struct WorldPoint {
    double x, y, z;
    bool sky;
};
inline WorldPoint worldAt(int px, int py)
{
    float depth = 1.0f;
    glReadPixels(px, 599 - py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    const CameraMatrices m;
    WorldPoint p{0, 0, 0, depth >= 1.0f};
    gluUnProject(px + 0.5, 599 - py + 0.5, depth, m.model, m.projection, m.viewport, &p.x, &p.y, &p.z);
    return p;
}

// Where a world point lands on the screen (pixels from the top-left).
struct Pixel {
    int x, y;
};
inline Pixel screenOf(double x, double y, double z)
{
    const CameraMatrices m;
    double wx = 0, wy = 0, wz = 0;
    gluProject(x, y, z, m.model, m.projection, m.viewport, &wx, &wy, &wz);
    return {static_cast<int>(std::lround(wx)), 599 - static_cast<int>(std::lround(wy))};
}

// The switches and matrix stack depths a drawing step must leave as it
// found them.
struct GlState {
    static constexpr GLenum caps[] = {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_LIGHT0, GL_BLEND,
                                      GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T,
                                      GL_TEXTURE_GEN_R, GL_NORMALIZE, GL_COLOR_MATERIAL};
    std::string text;   // each switch 0 or 1, then the two stack depths
    GlState()
    {
        for (GLenum cap : caps)
            text += glIsEnabled(cap) ? '1' : '0';
        GLint model = 0, projection = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &model);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projection);
        text += " " + std::to_string(model) + " " + std::to_string(projection);
    }
};
