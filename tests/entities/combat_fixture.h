// Shared set-up of the combat tests: a fresh game state, empty enemy,
// emitter and beam lists, and a set clock.
#pragma once

#include "state/game_state.h"
#include "state/resources.h"
#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/shots.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <vector>

class CombatTest : public ::testing::Test {
protected:
    void SetUp() override { clearWorld(); }
    void TearDown() override
    {
        clearWorld();
        sys::testUseRealClock();
    }

    static void clearWorld()
    {
        freeList(enemyList);
        freeList(emitterList);
        freeList(shotBeamList);
        game = GameState{};
        sys::testSetTime(0.0);
    }

    // An enemy already walking (y -17) at (x, z), with the given hit points
    // and points; made without its trace lines reaching the test output.
    static Character* placeEnemy(float x, float z, int hitPoints = 1, int points = 10)
    {
        game.enemyLevel = hitPoints;
        ::testing::internal::CaptureStderr();
        spawnEnemy(x, z, points);
        ::testing::internal::GetCapturedStderr();
        Character* enemy = enemyList.cursor->element;
        enemy->y = -17.0f;
        return enemy;
    }

    static std::vector<Character*> enemies()
    {
        std::vector<Character*> all;
        forEach(enemyList, [&](Character& e) { all.push_back(&e); });
        return all;
    }

    static std::vector<ShotBeam*> beams()
    {
        std::vector<ShotBeam*> all;
        forEach(shotBeamList, [&](ShotBeam& b) { all.push_back(&b); });
        return all;
    }
};
