#include "game/frame_loop.h"

#include "core/camera.h"
#include "entities/emitters.h"
#include "entities/particles.h"
#include "entities/player.h"
#include "entities/shots.h"
#include "hud/hud.h"
#include "hud/score.h"
#include "hud/screens.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "render/camera_view.h"
#include "render/lighting.h"
#include "render/projection.h"
#include "render/stream_arrays.h"
#include "sound/sound.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/environment.h"
#include "view/passes.h"
#include "world/terrain.h"

#include <algorithm>

namespace {

bool windowOpen() { return glfwGetWindowParam(GLFW_OPENED) != 0; }
bool escapeHeld() { return glfwGetKey(GLFW_KEY_ESC) == GLFW_PRESS; }

void captureChaserEnvironment()
{
    captureEnvironment();
    resetProjection();
}

// Colour material on for the frame; then the chaser, or, while the
// environment view is on, its six captures.
void moveChaser()
{
    glEnable(GL_COLOR_MATERIAL);
    if (!game.showEnvironment)
        updateChaser(glfwGetTime(), captureChaserEnvironment);
    else
        captureChaserEnvironment();
}

// A clear picture, one more frame counted, and the blocked flags of the last
// obstacle test cleared.
void clearFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    game.frameCount += 1;
    game.blockedStepBack = false;
    game.blockedStepBackTwice = false;
}

// The environment view drifts by its speeds, within [-500, 500].
void moveEnvironmentView()
{
    if (!game.showEnvironment)
        return;
    game.environmentOffsetX = std::clamp(game.environmentOffsetX + game.environmentSpeedX, -500.0f, 500.0f);
    game.environmentOffsetY = std::clamp(game.environmentOffsetY + game.environmentSpeedY, -500.0f, 500.0f);
}

void playPendingExplosion()
{
    if (!game.explosionPending)
        return;
    // The sample starts again on every frame of the explosion.
    FSOUND_PlaySound(0, resources.explosionSample);
    playExplosionFrame(*resources.explosionSystems[game.explosionSystem]);
}

// Light 0 placed through the camera and lighting on again after the overlay.
void placeLight()
{
    if (!game.lightingEnabled)
        return;
    glLoadIdentity();
    applyCameraView();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    setLighting(true);
}

// One shot (with its sound) while the button is held and this FPS interval
// has not fired yet.
void fireWhenAllowed(FrameTimers& timers)
{
    if (!game.fireHeld || !timers.canFire)
        return;
    FSOUND_PlaySound(0, resources.laserSample);
    fireShot();
    timers.canFire = false;
}

// Every 0.04 seconds: emitters and enemies, then the player's movement and
// animation.
void tickWhenDue(FrameTimers& timers)
{
    if (!tickDue(timers, glfwGetTime()))
        return;
    tickWorld();
    const bool moved = movePlayer();
    updatePlayerAnimation(moved);
}

void endGameWhenOver(FrameTimers& timers)
{
    if (gameOver(timers, glfwGetTime()))
        runEndScreen(timers);
}

}  // namespace

bool runFrame(FrameTimers& timers)
{
    restartStreamRing();
    moveChaser();
    clearFrame();
    moveEnvironmentView();
    testObstacles();
    drawScenePass();
    drawOverlay();
    playPendingExplosion();
    placeLight();
    fireWhenAllowed(timers);
    glfwSwapBuffers();   // input handlers run here
    updateFps(timers, glfwGetTime());
    tickWhenDue(timers);
    endGameWhenOver(timers);
    runPausePage();
    return !escapeHeld() && windowOpen();
}

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

void runPausePage()
{
    while (game.paused && windowOpen()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPauseScreen();
        glfwSwapBuffers();
    }
}

void runFrameLoop(FrameTimers& timers)
{
    while (runFrame(timers)) {
    }
}
