// The game's key, mouse-button and mouse-motion handlers, driven through the
// platform's test seam exactly as the window system would call them.
#include "core/input.h"
#include "core/menu.h"
#include "fresh_state.h"

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
    static void tap(int key)
    {
        sys::testSendKey(key, GLFW_PRESS);
        sys::testSendKey(key, GLFW_RELEASE);
    }
};

TEST_F(Input, EscapeModeToggle)
{
    game.chaserActive = true;
    game.showEnvironment = true;
    sys::testSendKey('E', GLFW_PRESS);
    EXPECT_FALSE(game.escapeMode);   // acts on release
    sys::testSendKey('E', GLFW_RELEASE);
    EXPECT_TRUE(game.escapeMode);
    EXPECT_EQ(game.stepSize, 20);
    EXPECT_FALSE(game.chaserActive);
    EXPECT_FALSE(game.showEnvironment);
    game.tunnelTextured = true;
    tap('E');
    EXPECT_FALSE(game.escapeMode);
    EXPECT_EQ(game.stepSize, 10);
    EXPECT_FALSE(game.tunnelTextured);
}

TEST_F(Input, TDependsOnTheMode)
{
    game.environmentSpeedX = 3;
    game.environmentOffsetY = 4;
    tap('T');
    EXPECT_TRUE(game.showEnvironment);
    EXPECT_EQ(game.environmentSpeedX, 0);
    EXPECT_EQ(game.environmentOffsetY, 0);
    tap('T');
    EXPECT_FALSE(game.showEnvironment);
    game.escapeMode = true;
    tap('T');
    EXPECT_TRUE(game.tunnelTextured);
    EXPECT_FALSE(game.showEnvironment);
}

TEST_F(Input, GHVAndB)
{
    tap('G');
    EXPECT_EQ(game.environmentSpeedX, 1);
    game.escapeMode = true;
    tap('G');
    EXPECT_EQ(game.motionTime, 1);
    EXPECT_EQ(game.environmentSpeedX, 1);
    // H lowers the speed on press and the motion time on release, in any mode.
    sys::testSendKey('H', GLFW_PRESS);
    EXPECT_EQ(game.environmentSpeedX, 0);
    EXPECT_EQ(game.motionTime, 1);
    sys::testSendKey('H', GLFW_RELEASE);
    EXPECT_EQ(game.motionTime, 0);
    game.escapeMode = false;
    tap('H');
    EXPECT_EQ(game.environmentSpeedX, -1);
    EXPECT_EQ(game.motionTime, -1);
    tap('V');
    tap('V');
    tap('B');
    EXPECT_EQ(game.environmentSpeedY, 1);
}

TEST_F(Input, ModeSwitches)
{
    tap('L');
    EXPECT_FALSE(game.lightingEnabled);
    tap('L');
    EXPECT_TRUE(game.lightingEnabled);
    tap(GLFW_KEY_F1);
    EXPECT_TRUE(game.paused);
    tap(GLFW_KEY_F1);
    EXPECT_FALSE(game.paused);
    tap(GLFW_KEY_F2);
    EXPECT_TRUE(game.showFps);
    tap(GLFW_KEY_F8);
    EXPECT_FALSE(game.cullingEnabled);
    tap(GLFW_KEY_F9);
    EXPECT_TRUE(game.modelTranslucent);
    tap(GLFW_KEY_F3);
    EXPECT_TRUE(game.wireframe);
    tap('Z');   // not a key of the game
}

TEST_F(Input, SoundChannelPauseActsOnPress)
{
    sys::testSendKey('P', GLFW_PRESS);
    EXPECT_FALSE(game.channelRunning);
    sys::testSendKey('P', GLFW_RELEASE);
    EXPECT_FALSE(game.channelRunning);
    sys::testSendKey('P', GLFW_PRESS);
    EXPECT_TRUE(game.channelRunning);
}

TEST_F(Input, MAndNPrintTheCullingAdjustment)
{
    testing::internal::CaptureStdout();
    sys::testSendKey('M', GLFW_PRESS);
    sys::testSendKey('M', GLFW_RELEASE);
    sys::testSendKey('N', GLFW_PRESS);
    sys::testSendKey('N', GLFW_PRESS);
    sys::testSendKey('N', GLFW_RELEASE);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "-1\n-1\n0\n1\n1\n");
    EXPECT_EQ(game.cullRadiusAdjust, 1);
}

TEST_F(Input, FilterTable)
{
    EXPECT_EQ(textureFilterFor(0, true).minification, GL_LINEAR);
    EXPECT_EQ(textureFilterFor(1, true).minification, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(textureFilterFor(2, true).minification, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(textureFilterFor(0, false).magnification, GL_NEAREST);
    EXPECT_EQ(textureFilterFor(1, false).minification, GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(textureFilterFor(2, false).minification, GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_EQ(textureFilterFor(2, false).magnification, GL_NEAREST);
}

TEST_F(Input, F4AndF5StepTheFilterState)
{
    // From the fresh state F5 uses the opposite of linearFiltering (linear).
    tap(GLFW_KEY_F5);
    EXPECT_EQ(game.mipmapMode, 1);
    EXPECT_FALSE(game.linearFiltering);
    tap(GLFW_KEY_F5);
    tap(GLFW_KEY_F5);
    EXPECT_EQ(game.mipmapMode, 0);
    tap(GLFW_KEY_F4);
    EXPECT_TRUE(game.linearFiltering);
}

TEST_F(Input, MouseButtons)
{
    testing::internal::CaptureStdout();
    sys::testSendMouseButton(0, GLFW_PRESS);
    EXPECT_TRUE(game.fireHeld);
    sys::testSendMouseButton(0, GLFW_RELEASE);
    EXPECT_FALSE(game.fireHeld);
    sys::testSendMouseButton(1, GLFW_PRESS);
    sys::testSendMouseButton(2, GLFW_RELEASE);
    EXPECT_FALSE(game.fireHeld);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Left mouse button pressed.\nLeft mouse button released.\n"
              "Right mouse button pressed.\nSome mouse button released.\n");
}

TEST_F(Input, FirstMouseReportIsMeasuredFromTheOrigin)
{
    sys::testSendMousePos(150, 30);
    EXPECT_FLOAT_EQ(game.mouseHeading, 10.0f);
    EXPECT_FLOAT_EQ(game.heading, 10.0f);
    EXPECT_FLOAT_EQ(game.mousePitch, 22.0f);
    EXPECT_DOUBLE_EQ(game.pitch, 22.0);
    sys::testSendMousePos(0, 30);   // back left by 150: heading wraps into [0, 360)
    EXPECT_FLOAT_EQ(game.mouseHeading, 0.0f);
    sys::testSendMousePos(-15, 30);
    EXPECT_FLOAT_EQ(game.mouseHeading, -1.0f);
    EXPECT_FLOAT_EQ(game.heading, 359.0f);
}

TEST_F(Input, PitchClampsWhileTheAccumulatorDoesNot)
{
    sys::testSendMousePos(0, 15 * 100);   // mousePitch 120
    EXPECT_DOUBLE_EQ(game.pitch, 85.0);
    EXPECT_FLOAT_EQ(game.mousePitch, 120.0f);
    sys::testSendMousePos(0, 15 * 80);    // back by 20: still past the limit
    EXPECT_DOUBLE_EQ(game.pitch, 85.0);
    sys::testSendMousePos(0, 15 * 60);    // mousePitch 80
    EXPECT_DOUBLE_EQ(game.pitch, 80.0);
    sys::testSendMousePos(0, -15 * 200);  // mousePitch -180
    EXPECT_DOUBLE_EQ(game.pitch, -100.0);
}

TEST_F(Input, HugeMouseTravelStillGivesAHeadingInRange)
{
    game.lastMouseX = -2e9f;
    sys::testSendMousePos(2000000000, 0);
    EXPECT_GE(game.heading, 0.0f);
    EXPECT_LT(game.heading, 360.0f);
}

// The title menu's handler.
class Menu : public FreshGame {
protected:
    void SetUp() override
    {
        FreshGame::SetUp();
        glfwSetKeyCallback(menuKeyHandler);
    }
    static void tap(int key)
    {
        sys::testSendKey(key, GLFW_PRESS);
        sys::testSendKey(key, GLFW_RELEASE);
    }
};

TEST_F(Menu, CursorStaysWithinItsItems)
{
    tap('W');
    EXPECT_EQ(game.menuCursor, 0);
    for (int i = 0; i < 4; ++i)
        tap('S');
    EXPECT_EQ(game.menuCursor, 3);
    sys::testSendKey('W', GLFW_PRESS);   // acts on release only
    EXPECT_EQ(game.menuCursor, 3);
}

TEST_F(Menu, DifficultyCyclesThroughThree)
{
    tap('S');
    tap('S');
    tap('D');
    EXPECT_EQ(game.difficulty, 1);
    tap('D');
    EXPECT_EQ(game.difficulty, 2);
    tap('D');
    EXPECT_EQ(game.difficulty, 0);
    EXPECT_FALSE(game.gameStartRequested || game.quitRequested || game.inGoalMenu);
}

TEST_F(Menu, GoalPage)
{
    tap('S');
    tap('D');
    ASSERT_TRUE(game.inGoalMenu);
    tap('W');
    EXPECT_EQ(game.goalMode, 0);
    for (int i = 0; i < 6; ++i)
        tap('S');
    EXPECT_EQ(game.goalMode, 4);
    tap('D');   // only clicks
    EXPECT_TRUE(game.inGoalMenu);
    EXPECT_EQ(game.menuCursor, 1);
    EXPECT_FALSE(game.gameStartRequested || game.quitRequested);
    tap('A');
    EXPECT_FALSE(game.inGoalMenu);
    EXPECT_EQ(game.goalMode, 4);
}

TEST_F(Menu, StartAndQuit)
{
    tap('D');
    EXPECT_TRUE(game.gameStartRequested);
    game = GameState{};
    for (int i = 0; i < 3; ++i)
        tap('S');
    tap('D');
    EXPECT_TRUE(game.quitRequested);
    EXPECT_FALSE(game.gameStartRequested);
}

}  // namespace
