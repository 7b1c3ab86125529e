// For rendering tests that need the whole world: the GL side of start-up
// (world, sky, player, lights, projection, textures, environment map, escape
// textures, frustum, water) and the depth and culling state of game set-up,
// done once per test process in the asset folder.
#pragma once

#include "state/game_state.h"
#include "state/resources.h"
#include "game/startup.h"
#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/particles.h"
#include "entities/player.h"
#include "view/escape.h"
#include "render/projection.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "view/environment.h"
#include "render/frustum.h"
#include "view/scene.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"

#include <cstdio>
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
        glClearColor(0.62f, 0.756f, 0.9f, 0.0f);
        buildWorldGeometry();
        buildEnemyList();
        buildEmitterList();
        buildSkyBox();
        if (!resources.player)
            resources.player = makePlayer(0, 0, 0, 0, 0, 0, 1.0f, 0.2f);
        loadPlayerModel();
        setupLights();
        setupStartProjection();
        loadStartTextures();
        setupEnvironmentMap();
        initEscapeEffect();
        extractFrustum();
        loadWater();
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        glEnable(GL_CULL_FACE);
        state = 1;
    }
    return state == 1;
}

// A fresh game (what start-up made stays in `resources`) and the game's
// projection.
inline void resetView()
{
    game = GameState{};
    resetProjection();
}
