// A fresh game for every test of the rules: game = GameState{}, the enemy,
// emitter and beam lists emptied, the test clock at 0 and no keys held (the
// one state reset of the tests).
#pragma once

#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/shots.h"
#include "platform/platform.h"
#include "state/game_state.h"

#include <gtest/gtest.h>

#include <vector>

inline void freshGame()
{
    freeList(enemyList);
    freeList(emitterList);
    freeList(shotBeamList);
    game = GameState{};
}

// The elements of a game list, oldest first.
template <typename T>
std::vector<T*> elementsOf(ObjectList<T>& list)
{
    std::vector<T*> all;
    forEach(list, [&](T& e) { all.push_back(&e); });
    return all;
}

// Runs `f` with stderr captured (the "kostr" trace lines) and returns it.
template <typename F>
std::string stderrOf(F f)
{
    ::testing::internal::CaptureStderr();
    f();
    return ::testing::internal::GetCapturedStderr();
}

class FreshGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        freshGame();
        sys::testSetTime(0.0);
        sys::testReleaseAllKeys();
    }
    void TearDown() override
    {
        sys::testUseRealKeys();
        sys::testUseRealClock();
        freshGame();
    }
    static void hold(int key) { sys::testSetKey(key, true); }
    // A key pressed and released through the installed key handler.
    static void tap(int key, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            sys::testSendKey(key, GLFW_PRESS);
            sys::testSendKey(key, GLFW_RELEASE);
        }
    }
    // An enemy already walking (y -17) at (x, z).
    static Character* placeEnemy(float x, float z, int hitPoints = 1, int points = 10)
    {
        game.enemyLevel = hitPoints;
        stderrOf([&] { spawnEnemy(x, z, points); });
        Character* enemy = enemyList.cursor->element;
        enemy->y = -17.0f;
        return enemy;
    }
};
