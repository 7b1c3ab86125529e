#include "game/startup.h"

#include "core/input.h"
#include "core/menu.h"
#include "core/rules.h"
#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/particles.h"
#include "entities/player.h"
#include "game/frame_loop.h"
#include "game/object_lists.h"
#include "game/title_menu.h"
#include "platform/bitmap_font.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "render/frustum.h"
#include "render/projection.h"
#include "render/world_texture.h"
#include "sound/sound.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/environment.h"
#include "view/escape.h"
#include "view/scene.h"
#include "world/sky.h"
#include "world/terrain.h"
#include "world/water.h"

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
    resources.playerSkinTexture = loadWorldTexture("Textures/hueteotl.tga");
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    resources.particleTexture = loadWorldTexture("Textures/Particle.tga");
    const GLuint easy = loadWorldTexture("Textures/sp1.tga");
    resources.helpTexture = loadWorldTexture("Textures/spHelp.tga");
    resources.goalMenuTexture = loadWorldTexture("Textures/sp4.tga");
    const GLuint normal = loadWorldTexture("Textures/sp2.tga");
    const GLuint hard = loadWorldTexture("Textures/sp3.tga");
    resources.titleTextures[0] = textureNameToFloat(easy);
    resources.titleTextures[1] = textureNameToFloat(normal);
    resources.titleTextures[2] = textureNameToFloat(hard);
    glDisable(GL_TEXTURE_2D);
}

namespace {

// The title and goal pages are shown only by the menu, which never comes
// back once a game is set up: their textures (5 MB) are given back.
void freeMenuPages()
{
    for (float& page : resources.titleTextures) {
        const GLuint name = textureNameFromFloat(page);
        glDeleteTextures(1, &name);
        page = 0;
    }
    glDeleteTextures(1, &resources.goalMenuTexture);
    resources.goalMenuTexture = 0;
}

}  // namespace

void setUpGame()
{
    freeMenuPages();
    buildPendingMipmaps();   // when no title menu came first
    installGameHandlers();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glEnable(GL_CULL_FACE);
    applyDifficultyParameters();
    addGameEmitters();
    FMUSIC_PlaySong(resources.music);
}

void buildStartWorld()
{
    glClearColor(0.62f, 0.756f, 0.9f, 0.0f);

    buildWorldGeometry();
    buildEnemyList();
    buildEmitterList();
    buildSkyBox();

    resources.player = makePlayer(0, 0, 0, 0, 0, 0, 1.0f, 0.2f);
    loadPlayerModel();

    setupLights();
}

void buildStartViews()
{
    setupStartProjection();
    loadStartTextures();
    setupEnvironmentMap();
    initEscapeEffect();
}

bool startUp(int argc, char** argv, bool windowed, FrameTimers& timers)
{
    makeExplosionSystems();

    glewInit();   // no context yet; the platform brings GLEW up with the window
    const bool windowing = glfwInit() != 0;
    // freeglut ends the process when it cannot reach a display, so it is
    // brought up only when the windowing library could be.
    if (windowing)
        initBitmapFonts(&argc, argv);

    const int mode = windowed ? GLFW_WINDOW : GLFW_FULLSCREEN;
    if (!windowing || !glfwOpenWindow(800, 600, 0, 0, 0, 0, 16, 0, mode)) {
        std::fprintf(stderr, "Could not create window\n");
        glfwTerminate();
        return false;
    }

    buildStartWorld();

    glfwSetWindowTitle("Orbitor!");
    glfwDisable(GLFW_MOUSE_CURSOR);

    timers.fpsIntervalStart = glfwGetTime();
    timers.tickStart = timers.fpsIntervalStart;

    buildStartViews();

    game.fps = 0;
    game.fireHeld = false;
    FSOUND_Init(44100, 32, 0);
    resources.explosionSample = FSOUND_Sample_Load(0, "Sound/explosion.mp3", 0, 0, 0);
    resources.laserSample = FSOUND_Sample_Load(1, "Sound/laserfire3.wav", 0, 0, 0);
    resources.music = FMUSIC_LoadSong("Sound/UFO.mid");
    FMUSIC_SetLooping(resources.music, true);

    extractFrustum();
    loadWater();
    return true;
}

int runGame(int argc, char** argv, bool windowed)
{
    FrameTimers timers;
    if (!startUp(argc, argv, windowed, timers))
        return 1;

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
