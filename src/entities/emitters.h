// Emitters: six textured boxes on the ground that each release an enemy at a
// fixed interval; and the world tick that runs every 0.04 seconds.
#pragma once

#include "entities/scene_object.h"
#include "state/object_list.h"

#include <cstdint>

struct Emitter : SceneObject {
    std::int32_t releasesLeft = -1;   // -1: unlimited
    double interval = 0;              // seconds between two releases
    std::int32_t points = 0;          // handed to every enemy it releases

    // Runs the SceneObject constructor, then writes the trace value once more
    // as a line on standard error.
    Emitter(float x, float y, float z, float rotationX, float rotationY, float rotationZ,
            float traceValue, double interval, std::int32_t points);
};

extern ObjectList<Emitter> emitterList;

// Start-up: loads the box texture and registers the "Emitter" box list.
// Called once by start-up, after the enemy list.
void buildEmitterList();
// Game set-up: makes an emitter and appends it to the emitter list.
void addEmitter(float x, float y, float z, float rotationX, float rotationY, float rotationZ,
                float traceValue, double interval, std::int32_t points);
// Game set-up: the six emitters at their sites, with interval and points of
// the difficulty parameters. Called once by game set-up after the menu.
void addGameEmitters();
// Each emitter releases an enemy when strictly more than its interval has
// passed since its last release. Called by tickWorld.
void tickEmitters();
// The frame loop's 0.04-second world tick: tickEmitters, then stepEnemies.
// Called by the frame loop when a tick is due, before the player moves.
void tickWorld();
