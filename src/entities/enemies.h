// Enemies: creatures of three spheres that walk straight at the player and
// cost a life when they reach him.
#pragma once

#include "entities/scene_object.h"
#include "state/object_list.h"

#include <cstdint>

extern ObjectList<Character> enemyList;

// Start-up: compiles the "Enemy" display list into the registry. Called once
// by start-up, first of the registry's builders.
void buildEnemyList();
// Makes an enemy at (x, -20, z) worth `points` and appends it to the list.
// Called by tickEmitters on a release.
void spawnEnemy(float x, float z, std::int32_t points);
// One enemy's step toward the player; true when it caught the player (a life
// is lost and "DIIIIIIIIIE!" written on standard output).
bool chasePlayer(Character& enemy);
// Steps every enemy; removes and frees those that caught the player.
// Called by tickWorld after the emitters.
void stepEnemies();
