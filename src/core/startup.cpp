#include "core/startup.h"

#include "core/frame_loop.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/menu.h"
#include "core/rules.h"
#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/object_lists.h"
#include "entities/particles.h"
#include "entities/player.h"
#include "hud/escape.h"
#include "hud/projection.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "world/environment.h"
#include "world/frustum.h"
#include "world/scene.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"
#include "world/world_texture.h"

#include <cstdio>

namespace {

void shutDown()
{
    glfwTerminate();
    freeAllLists();
}

}  // namespace

void loadStartTextures()
{
    glEnable(GL_TEXTURE_2D);
    game.playerSkinTexture = loadWorldTexture("Textures/hueteotl.tga");
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    game.particleTexture = loadWorldTexture("Textures/Particle.tga");
    const GLuint easy = loadWorldTexture("Textures/sp1.tga");
    game.helpTexture = loadWorldTexture("Textures/spHelp.tga");
    game.goalMenuTexture = loadWorldTexture("Textures/sp4.tga");
    const GLuint normal = loadWorldTexture("Textures/sp2.tga");
    const GLuint hard = loadWorldTexture("Textures/sp3.tga");
    game.titleTextures[0] = textureNameToFloat(easy);
    game.titleTextures[1] = textureNameToFloat(normal);
    game.titleTextures[2] = textureNameToFloat(hard);
    glDisable(GL_TEXTURE_2D);
}

void setUpGame()
{
    installGameHandlers();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glEnable(GL_CULL_FACE);
    applyDifficultyParameters();
    addGameEmitters();
    FMUSIC_PlaySong(game.music);
}

int runGame(int argc, char** argv, bool windowed)
{
    makeExplosionSystems();

    glewInit();   // no context yet; the platform brings GLEW up with the window
    const bool windowing = glfwInit() != 0;
    // freeglut ends the process when it cannot reach a display, so it is
    // brought up only when the windowing library could be.
    if (windowing)
        glutInit(&argc, argv);

    const int mode = windowed ? GLFW_WINDOW : GLFW_FULLSCREEN;
    if (!windowing || !glfwOpenWindow(800, 600, 0, 0, 0, 0, 16, 0, mode)) {
        std::fprintf(stderr, "Could not create window\n");
        glfwTerminate();
        return 1;
    }

    glClearColor(0.62f, 0.756f, 0.9f, 0.0f);

    buildWorldGeometry();
    buildEnemyList();
    buildEmitterList();
    buildSkyBox();

    game.player = makePlayer(0, 0, 0, 0, 0, 0, 1.0f, 0.2f);
    loadPlayerModel();

    setupLights();

    glfwSetWindowTitle("Orbitor!");
    glfwDisable(GLFW_MOUSE_CURSOR);

    setupStartProjection();

    FrameTimers timers;
    timers.fpsIntervalStart = glfwGetTime();
    timers.tickStart = timers.fpsIntervalStart;

    loadStartTextures();

    setupEnvironmentMap();
    initEscapeEffect();

    game.fps = 0;
    game.fireHeld = false;
    FSOUND_Init(44100, 32, 0);
    game.explosionSample = FSOUND_Sample_Load(0, "Sound/explosion.mp3", 0, 0, 0);
    game.laserSample = FSOUND_Sample_Load(1, "Sound/laserfire3.wav", 0, 0, 0);
    game.music = FMUSIC_LoadSong("Sound/UFO.mid");
    FMUSIC_SetLooping(game.music, true);

    extractFrustum();
    loadWater();

    glfwSetKeyCallback(menuKeyHandler);
    game.startTime = static_cast<float>(glfwGetTime());
    runTitleMenu();

    // Quit (or Escape, or a closed window) in the menu ends the program here:
    // no game is set up and no music starts.
    if (game.quitRequested) {
        shutDown();
        return 0;
    }

    setUpGame();
    runFrameLoop(timers);
    shutDown();
    return 0;
}
