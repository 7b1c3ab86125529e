// A fresh game state, clock and keyboard for every test of the rules: the one
// state reset of the tests (game = GameState{}, the test clock at 0, no keys).
#pragma once

#include "state/game_state.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

class FreshGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = GameState{};
        sys::testSetTime(0.0);
        sys::testReleaseAllKeys();
    }
    void TearDown() override
    {
        sys::testUseRealKeys();
        sys::testUseRealClock();
        game = GameState{};
    }
    static void hold(int key) { sys::testSetKey(key, true); }
    static void let(int key) { sys::testSetKey(key, false); }
    // A key pressed and released through the installed key handler.
    static void tap(int key, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            sys::testSendKey(key, GLFW_PRESS);
            sys::testSendKey(key, GLFW_RELEASE);
        }
    }
};
