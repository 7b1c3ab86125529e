// Whole frames of the real frame loop in the generated world, with the test
// clock held still (Mesa keeps the back buffer's picture after the swap, so
// it is read back from there): a shot with its sounds, the overlay, the end
// screen, the title pictures, and every loop ending on a closed window.
#include "core/input.h"
#include "core/menu.h"
#include "game/frame_loop.h"
#include "game/title_menu.h"
#include "render/lighting.h"
#include "sound/audio_capture.h"
#include "sound/sound.h"
#include "support/fresh_game.h"
#include "support/game_world.h"
#include "support/pixels.h"

#include <chrono>
#include <thread>

namespace {

// Runs `action` on a thread of its own after `seconds`, unless destroyed first.
struct After {
    template <typename Action>
    After(double seconds, Action action)
        : thread([seconds, action](std::stop_token stop) {
              const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
              for (; !stop.stop_requested(); std::this_thread::sleep_for(std::chrono::milliseconds(5)))
                  if (std::chrono::steady_clock::now() > end)
                      return action();
          })
    {
    }
    std::jthread thread;
};

// A loop that has not ended within 20 s fails the program instead of hanging it.
void endProgram() { std::fprintf(stderr, "a loop did not end\n"), std::_Exit(1); }

class FrameLoop : public FreshGame {
protected:
    FrameTimers timers;

    void SetUp() override
    {
        FreshGame::SetUp();
        if (!openGameWorld())
            GTEST_SKIP() << "no display";
        resetProjection();
        freeList(enemyList);
        timers.canFire = true;
    }
    void TearDown() override
    {
        sys::testCloseWindow(false);
        glfwSetKeyCallback(nullptr);
        freeList(enemyList);
        soundtest::shutdown();
        resources.laserSample = resources.explosionSample = nullptr;
        setLighting(true);
        FreshGame::TearDown();
    }
};

bool strictRed(Rgb p) { return p.r > 200 && p.g < 40 && p.b < 40; }
bool strictBlue(Rgb p) { return p.r < 40 && p.g < 40 && p.b > 200; }

TEST_F(FrameLoop, ShotDestroysTheEnemyAheadWithTheLaserAndTheExplosionOnChannelZero)
{
    // A long laser tone and a short explosion: the explosion cuts the laser
    // off, and sounds again on every frame the explosion is shown.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    const auto folder = capture::scratchFolder("frame-sounds");
    capture::writeToneWav(folder / "laser.wav", 880, 8.0);
    capture::writeToneWav(folder / "explosion.wav", 220, 0.6);
    resources.laserSample = FSOUND_Sample_Load(1, (folder / "laser.wav").c_str(), 0, 0, 0);
    resources.explosionSample = FSOUND_Sample_Load(0, (folder / "explosion.wav").c_str(), 0, 0, 0);
    std::filesystem::remove_all(folder);
    const auto channelZeroOnly = [] { return soundtest::channelPlaying(0) && !soundtest::channelPlaying(1); };

    game.enemyLevel = 1;
    spawnEnemy(0.0f, -220.0f, 10);   // straight ahead, in the pitch-10 band
    game.fireHeld = true;
    ASSERT_TRUE(runFrame(timers));
    EXPECT_TRUE(channelZeroOnly());   // the laser
    EXPECT_EQ(std::tuple(timers.canFire, game.score, game.kills, countElements(enemyList), game.explosionPending),
              std::tuple(false, 10, 1, 0, true));
    game.fireHeld = false;
    int explosionFrames = 0;
    std::string printed;   // the particle count of each explosion frame
    for (; game.explosionPending && explosionFrames < 10; ++explosionFrames) {
        testing::internal::CaptureStdout();
        const bool goesOn = runFrame(timers);
        printed += testing::internal::GetCapturedStdout();
        EXPECT_TRUE(goesOn);
        EXPECT_TRUE(channelZeroOnly()) << "explosion frame " << explosionFrames;
        EXPECT_TRUE(capture::waitUntil([] { return !soundtest::channelPlaying(0); }, 4.0));
        if (explosionFrames == 0) {   // yellow-white particles around the enemy's place
            const auto burst = [](Rgb p) { return p.r > 200 && p.g > 150 && p.b < 140; };
            EXPECT_GT(countPixels(grabFrame(), burst, 340, 200, 459, 299), 80);
        }
    }
    EXPECT_NE(printed.find("5\n"), std::string::npos) << printed;
    EXPECT_EQ(explosionFrames, 3);
    ASSERT_TRUE(runFrame(timers));
    EXPECT_FALSE(soundtest::channelPlaying(0));
    // The score digits show 00010: the tens cell now holds a 1.
    EXPECT_GT(countPixels(grabFrame(), isRed, 718, 6, 753, 45), 40);
}

TEST_F(FrameLoop, OverlayKeepsItsColoursAfterLightingOffAndTheEnvironmentView)
{
    ASSERT_TRUE(runFrame(timers));
    EXPECT_GT(countPixels(grabFrame(), strictBlue, 10, 68, 329, 93), 400);   // the calm status line
    // L switches lighting off, T shows the six environment tiles; the tiles
    // must not leave lighting on for the hearts, digits and crosshair. The
    // chaser turns the status line red.
    game.score = 88888;   // every segment of every digit cell
    game.chaserActive = true;
    game.chaserX = game.chaserZ = 300;   // far off: no catch this frame
    glfwSetKeyCallback(gameKeyHandler);
    tap('L');
    tap('T');
    ASSERT_TRUE(runFrame(timers));
    const Frame f = grabFrame();
    EXPECT_EQ(runsInRow(f, 20, strictRed, 0, 200), 3);            // hearts
    EXPECT_GT(countPixels(f, strictRed, 600, 0, 799, 60), 300);   // score digits
    EXPECT_GT(countPixels(f, strictRed, 10, 68, 439, 93), 400);   // the warning
    const auto pureWhite = [](Rgb p) { return p.r > 240 && p.g > 240 && p.b > 240; };
    const Box cross = boxOf(f, pureWhite, 380, 285, 420, 315);    // crosshair over a tile
    EXPECT_TRUE(std::abs(cross.width() - 30) <= 2 && std::abs(cross.height() - 22) <= 2) << cross;
    EXPECT_TRUE(game.lives == 3 && timers.canFire);   // no shot without the button
}

// The end screen's picture, grabbed when a key reaches it from the window
// system (right after a swap); the key handler then presses Escape.
Frame endScreen;
const FrameTimers* endTimers = nullptr;

TEST_F(FrameLoop, EndScreenShowsTheEndWordUntilEscape)
{
    game.lives = 0;
    game.score = 42;
    endScreen = Frame{};
    endTimers = &timers;
    glfwSetKeyCallback([](int, int) {
        if (endTimers->gameEnded && endScreen.rgb.empty()) {
            endScreen = grabFrame();
            sys::testSetKey(GLFW_KEY_ESC, true);
        }
    });
    {
        const After key(0.2, [] { EXPECT_EQ(std::system("xdotool key --delay 100 x x x x x x x x"), 0); });
        const After noKey(5, [] { sys::testSetKey(GLFW_KEY_ESC, true); });   // fails below rather than hangs
        const After watchdog(20, endProgram);
        EXPECT_FALSE(runFrame(timers));
    }
    EXPECT_FALSE(timers.gameEnded);
    ASSERT_FALSE(endScreen.rgb.empty());
    // The word's top and bottom edges across the middle (F, I and N, lit by
    // the world's light to one dark olive) and the score's digits on the sky.
    const auto ink = [](Rgb c) { return near(c, {44, 55, 30}, 3); };
    EXPECT_GT(countPixels(endScreen, ink, 150, 244, 710, 244), 350);
    EXPECT_GT(countPixels(endScreen, ink, 150, 355, 710, 355), 250);
    EXPECT_GT(countPixels(endScreen, [](Rgb c) { return c.b < 100; }, 600, 0, 799, 60), 100);
}

TEST_F(FrameLoop, TitlePicturesAreTheThreeDifficultyFilesInOrder)
{
    // What start-up loaded for each difficulty holds what sp1, sp2 or sp3 holds.
    const auto texels = [](GLuint name) {
        glBindTexture(GL_TEXTURE_2D, name);
        std::vector<unsigned char> rgb(1024 * 1024 * 3);   // room for the largest picture
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    };
    std::vector<unsigned char> files[3];
    GLuint name = 0;
    glGenTextures(1, &name);
    for (int d = 0; d < 3; ++d) {
        glBindTexture(GL_TEXTURE_2D, name);
        ASSERT_TRUE(glfwLoadTexture2D(("Textures/sp" + std::to_string(d + 1) + ".tga").c_str(), 0));
        files[d] = texels(name);
        EXPECT_TRUE(texels(textureNameFromFloat(resources.titleTextures[d])) == files[d]) << d;
    }
    glDeleteTextures(1, &name);
    EXPECT_TRUE(files[0] != files[1] && files[1] != files[2] && files[0] != files[2]);
}

struct LoopCase {
    const char* name;
    void (*prepare)();
    // Runs the loop; false when it reports that the program should go on.
    bool (*run)(FrameTimers&);
};

const LoopCase loopCases[] = {
    {"TitleMenu", [] { glfwSetKeyCallback(menuKeyHandler); },
     [](FrameTimers&) {
         runTitleMenu();
         return game.quitRequested;   // ends as for Escape
     }},
    {"Play", [] {}, [](FrameTimers& t) { runFrameLoop(t); return true; }},
    {"PausePage", [] { game.paused = true; }, [](FrameTimers& t) { return !runFrame(t); }},
    {"EndScreen", [] { game.lives = 0; }, [](FrameTimers& t) { return !runFrame(t); }},
};

class ClosedWindow : public FrameLoop, public ::testing::WithParamInterface<LoopCase> {};

TEST_P(ClosedWindow, EndsTheLoop)
{
    GetParam().prepare();
    sys::testCloseWindow();
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    const After watchdog(20, endProgram);
    EXPECT_TRUE(GetParam().run(timers));
}

INSTANTIATE_TEST_SUITE_P(EveryLoop, ClosedWindow, ::testing::ValuesIn(loopCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
