#include "game/frame_loop.h"

#include "core/camera.h"
#include "core/input.h"
#include "entities/emitters.h"
#include "entities/particles.h"
#include "entities/player.h"
#include "entities/shots.h"
#include "hud/hud.h"
#include "hud/score.h"
#include "hud/screens.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "render/lighting.h"
#include "render/projection.h"
#include "sound/sound.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/environment.h"
#include "view/escape.h"
#include "view/scene.h"
#include "world/terrain.h"

#include <algorithm>

namespace {

// The environment view's tiles as an unfolded cube: up; then heading 270,
// 0, 90, 180 in a row; then down.
const int environmentTiles[6][4] = {
    {208, 0, 416, 200}, {0, 200, 208, 400},   {208, 200, 416, 400},
    {416, 200, 624, 400}, {624, 200, 832, 400}, {208, 400, 416, 600},
};

bool windowOpen() { return glfwGetWindowParam(GLFW_OPENED) != 0; }
bool escapeHeld() { return glfwGetKey(GLFW_KEY_ESC) == GLFW_PRESS; }

void captureChaserEnvironment()
{
    captureEnvironment();
    resetProjection();
}

void drawScenePass()
{
    if (game.escapeMode) {
        drawEscapeFrame();
        return;
    }
    renderScene();
    if (game.chaserActive)
        drawChaserSphere();
    if (game.showEnvironment) {
        for (int i = 0; i < 6; ++i) {
            const int* r = environmentTiles[i];
            drawScreenTile(resources.environmentViewTextures[i], r[0], r[1], r[2], r[3]);
        }
    }
}

void drawOverlay()
{
    if (game.lightingEnabled)
        setLighting(false);
    glColor3f(1, 1, 1);
    glDisable(GL_DEPTH_TEST);
    drawLifeMarkers();
    drawScore();
    drawHeadingCompass();
    if (!game.escapeMode)
        drawCrosshair(float(screenWidth), float(screenHeight), 400, 300);
    drawHudTexts();
    glEnable(GL_DEPTH_TEST);
}

// The end screen: the world, the hearts, the score and the end word, until
// Escape or a closed window.
void runEndScreen(FrameTimers& timers)
{
    while (!escapeHeld() && windowOpen()) {
        drawWorld();
        drawLifeMarkers();
        drawScore();
        drawEndWord();
        glfwSwapBuffers();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    timers.gameEnded = false;
}

void runPause()
{
    while (game.paused && windowOpen()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPauseScreen();
        glfwSwapBuffers();
    }
}

}  // namespace

bool runFrame(FrameTimers& timers)
{
    glEnable(GL_COLOR_MATERIAL);

    // The chaser, or, while the environment view is on, its six captures.
    if (!game.showEnvironment)
        updateChaser(glfwGetTime(), captureChaserEnvironment);
    else
        captureChaserEnvironment();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    game.frameCount += 1;
    game.blockedStepBack = false;
    game.blockedStepBackTwice = false;

    if (game.showEnvironment) {
        game.environmentOffsetX = std::clamp(game.environmentOffsetX + game.environmentSpeedX, -500.0f, 500.0f);
        game.environmentOffsetY = std::clamp(game.environmentOffsetY + game.environmentSpeedY, -500.0f, 500.0f);
    }

    testObstacles();
    drawScenePass();
    drawOverlay();

    if (game.explosionPending) {
        // The sample starts again on every frame of the explosion.
        FSOUND_PlaySound(0, resources.explosionSample);
        playExplosionFrame(*resources.explosionSystems[game.explosionSystem]);
    }

    if (game.lightingEnabled) {
        glLoadIdentity();
        applyCameraView();
        glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
        setLighting(true);
    }

    if (game.fireHeld && timers.canFire) {
        FSOUND_PlaySound(0, resources.laserSample);
        fireShot();
        timers.canFire = false;
    }

    glfwSwapBuffers();   // input handlers run here

    updateFps(timers, glfwGetTime());

    if (tickDue(timers, glfwGetTime())) {
        tickWorld();
        const bool moved = movePlayer();
        updatePlayerAnimation(moved);
    }

    if (gameOver(timers, glfwGetTime()))
        runEndScreen(timers);

    runPause();
    return !escapeHeld() && windowOpen();
}

void runFrameLoop(FrameTimers& timers)
{
    while (runFrame(timers)) {
    }
}
