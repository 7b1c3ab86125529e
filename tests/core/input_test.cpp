// The game's key, mouse-button and mouse-motion handlers and the title menu's
// key handler, driven through the platform's test seam exactly as the window
// system would call them.
#include "core/input.h"
#include "core/menu.h"
#include "support/fresh_game.h"

#include <tuple>

namespace {

class Input : public FreshGame {
protected:
    void SetUp() override
    {
        FreshGame::SetUp();
        glfwSetKeyCallback(gameKeyHandler);
        glfwSetMouseButtonCallback(mouseButtonHandler);
        glfwSetMousePosCallback(mouseMotionHandler);
    }
};

TEST_F(Input, ETogglesEscapeModeOnReleaseWithStepSizeChaserAndViews)
{
    game.chaserActive = game.showEnvironment = true;
    sys::testSendKey('E', GLFW_PRESS);
    EXPECT_FALSE(game.escapeMode);
    sys::testSendKey('E', GLFW_RELEASE);
    EXPECT_EQ(std::tuple(game.escapeMode, game.stepSize, game.chaserActive, game.showEnvironment),
              std::tuple(true, 20, false, false));
    game.tunnelTextured = true;
    tap('E');
    EXPECT_EQ(std::tuple(game.escapeMode, game.stepSize, game.tunnelTextured), std::tuple(false, 10, false));
}

TEST_F(Input, TGHVAndBDependOnTheMode)
{
    game.environmentSpeedX = 3;
    game.environmentOffsetY = 4;
    tap('T');   // the environment view, from a standing start
    EXPECT_EQ(std::tuple(game.showEnvironment, game.environmentSpeedX, game.environmentOffsetY), std::tuple(true, 0, 0));
    tap('T');
    EXPECT_FALSE(game.showEnvironment);
    tap('G');
    EXPECT_EQ(game.environmentSpeedX, 1);
    game.escapeMode = true;
    tap('T');   // in escape mode: the thumbnails, and G raises the motion time
    EXPECT_EQ(std::tuple(game.tunnelTextured, game.showEnvironment), std::tuple(true, false));
    tap('G');
    EXPECT_EQ(std::tuple(game.motionTime, game.environmentSpeedX), std::tuple(1, 1));
    // H lowers the speed on press and the motion time on release, in any mode.
    sys::testSendKey('H', GLFW_PRESS);
    EXPECT_EQ(std::tuple(game.environmentSpeedX, game.motionTime), std::tuple(0, 1));
    sys::testSendKey('H', GLFW_RELEASE);
    EXPECT_EQ(game.motionTime, 0);
    game.escapeMode = false;
    tap('H');
    EXPECT_EQ(std::tuple(game.environmentSpeedX, game.motionTime), std::tuple(-1, -1));
    tap('V', 2);
    tap('B');
    EXPECT_EQ(game.environmentSpeedY, 1);
}

TEST_F(Input, SwitchesToggleFromTheirFreshValues)
{
    const std::pair<int, bool GameState::*> switches[] = {
        {'L', &GameState::lightingEnabled}, {GLFW_KEY_F1, &GameState::paused},
        {GLFW_KEY_F2, &GameState::showFps}, {GLFW_KEY_F3, &GameState::wireframe},
        {GLFW_KEY_F8, &GameState::cullingEnabled}, {GLFW_KEY_F9, &GameState::modelTranslucent}};
    const GameState fresh;
    for (const auto& [key, field] : switches) {
        tap(key);
        EXPECT_NE(game.*field, fresh.*field) << key;
        tap(key);
        EXPECT_EQ(game.*field, fresh.*field) << key;
    }
    EXPECT_TRUE(fresh.lightingEnabled && fresh.cullingEnabled);
    EXPECT_FALSE(fresh.paused || fresh.showFps || fresh.wireframe || fresh.modelTranslucent);
    // The function keys the window system reports are numbered one after another.
    const int functionKeys[] = {GLFW_KEY_F1, GLFW_KEY_F2, GLFW_KEY_F3, GLFW_KEY_F4, GLFW_KEY_F5,
                                GLFW_KEY_F6, GLFW_KEY_F7, GLFW_KEY_F8, GLFW_KEY_F9};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(functionKeys[i], sys::keyF1 + i) << "F" << i + 1;
    tap('Z');   // not a key of the game
    // P pauses and resumes the sound channel on press only.
    for (const auto& [action, running] : {std::pair{GLFW_PRESS, false}, {GLFW_RELEASE, false}, {GLFW_PRESS, true}}) {
        sys::testSendKey('P', action);
        EXPECT_EQ(game.channelRunning, running);
    }
}

TEST_F(Input, MAndNPrintTheCullingAdjustmentOnPressAndRelease)
{
    testing::internal::CaptureStdout();
    for (const auto& [key, action] : {std::pair{'M', GLFW_PRESS}, {'M', GLFW_RELEASE}, {'N', GLFW_PRESS},
                                      {'N', GLFW_PRESS}, {'N', GLFW_RELEASE}})
        sys::testSendKey(key, action);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "-1\n-1\n0\n1\n1\n");
    EXPECT_EQ(game.cullRadiusAdjust, 1);
}

TEST_F(Input, F5StepsTheMipmapModeFromTheFreshStateAndF4TheFilter)
{
    // Magnification follows the filter; minification adds no mipmaps, the
    // nearest or the two nearest mipmap levels by mode.
    const GLint levels[2][3] = {{GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
                                {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR}};
    for (int mode = 0; mode < 3; ++mode)
        for (bool linear : {false, true})
            EXPECT_EQ(std::pair(textureFilterFor(mode, linear).magnification, textureFilterFor(mode, linear).minification),
                      std::pair(levels[linear][0], levels[linear][mode])) << mode << linear;
    tap(GLFW_KEY_F5);   // uses the opposite of linearFiltering (linear)
    EXPECT_EQ(std::tuple(game.mipmapMode, game.linearFiltering), std::tuple(1, false));
    tap(GLFW_KEY_F5, 2);
    tap(GLFW_KEY_F4);
    EXPECT_EQ(std::tuple(game.mipmapMode, game.linearFiltering), std::tuple(0, true));
}

TEST_F(Input, MouseButtonsHoldFireAndPrintTheirLines)
{
    testing::internal::CaptureStdout();
    for (const auto& [button, action, held] : {std::tuple{0, GLFW_PRESS, true}, {0, GLFW_RELEASE, false},
                                               {1, GLFW_PRESS, false}, {2, GLFW_RELEASE, false}}) {
        sys::testSendMouseButton(button, action);
        EXPECT_EQ(game.fireHeld, held) << button << " " << action;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Left mouse button pressed.\nLeft mouse button released.\n"
              "Right mouse button pressed.\nSome mouse button released.\n");
}

TEST_F(Input, MouseLookFromTheOriginWithHeadingWrappedAndPitchClamped)
{
    // The first report is measured from (0, 0); back left past 0 the heading
    // wraps into [0, 360); pitch is clamped while its accumulator is not.
    const struct { int x, y; float mouseHeading, heading, mousePitch; double pitch; } looks[] = {
        {150, 30, 10, 10, 22, 22},          {0, 30, 0, 0, 22, 22},
        {-15, 30, -1, 359, 22, 22},         {-15, 15 * 100, -1, 359, 120, 85},
        {-15, 15 * 80, -1, 359, 100, 85},   {-15, 15 * 60, -1, 359, 80, 80},
        {-15, -15 * 200, -1, 359, -180, -100}};
    for (const auto& l : looks) {
        sys::testSendMousePos(l.x, l.y);
        EXPECT_EQ(std::tuple(game.mouseHeading, game.heading, game.mousePitch, game.pitch),
                  std::tuple(l.mouseHeading, l.heading, l.mousePitch, l.pitch)) << l.x << "," << l.y;
    }
    // A huge travel still gives a heading in range.
    game.lastMouseX = -2e9f;
    sys::testSendMousePos(2000000000, 0);
    EXPECT_TRUE(game.heading >= 0.0f && game.heading < 360.0f) << game.heading;
}

// Key scripts from the fresh menu ('w': W pressed but not released): the
// cursor and goal bounds, difficulty cycling, the goal page (A leaves it, D
// only clicks there) and D on each item.
TEST_F(Input, MenuKeysActOnReleaseOnTheTitleAndGoalPages)
{
    glfwSetKeyCallback(menuKeyHandler);
    const struct { const char* keys; float cursor; int difficulty, goal; bool goalPage, start, quit; } scripts[] = {
        {"W", 0, 0, 0, false, false, false},          {"SSW", 1, 0, 0, false, false, false},
        {"SSSS", 3, 0, 0, false, false, false},
        {"SSSSw", 3, 0, 0, false, false, false},      {"SSD", 2, 1, 0, false, false, false},
        {"SSDD", 2, 2, 0, false, false, false},       {"SSDDD", 2, 0, 0, false, false, false},
        {"SD", 1, 0, 0, true, false, false},          {"SDW", 1, 0, 0, true, false, false},
        {"SDSSW", 1, 0, 1, true, false, false},
        {"SDSSSSSS", 1, 0, 4, true, false, false},    {"SDSSSSSSD", 1, 0, 4, true, false, false},
        {"SDSSSSSSDA", 1, 0, 4, false, false, false}, {"D", 0, 0, 0, false, true, false},
        {"SSSD", 3, 0, 0, false, false, true}};
    for (const auto& s : scripts) {
        game = GameState{};
        for (const char* key = s.keys; *key; ++key)
            *key == 'w' ? sys::testSendKey('W', GLFW_PRESS) : tap(*key);
        EXPECT_EQ(std::tuple(game.menuCursor, game.difficulty, game.goalMode, game.inGoalMenu, game.gameStartRequested,
                             game.quitRequested),
                  std::tuple(s.cursor, s.difficulty, s.goal, s.goalPage, s.start, s.quit))
            << s.keys;
    }
}

}  // namespace
