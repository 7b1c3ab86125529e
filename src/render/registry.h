// The display-list registry: named display lists ("Enemy", "Emitter",
// "DaySky") that objects are drawn with. Names are compared by pointer
// identity, so every user passes the very constants below. They are inline
// arrays, not pointers to literals: an inline array is one object with one
// address in every file, whereas a pointer constant may be folded to a copy of
// the literal local to each file (unoptimised and sanitizer builds do that).
#pragma once

#include "platform/gl.h"
#include "state/object_list.h"

inline constexpr char enemyName[] = "Enemy";
inline constexpr char emitterName[] = "Emitter";
inline constexpr char skyName[] = "DaySky";

// A display list and the name constant it is found by.
struct RegistryEntry {
    const char* name = nullptr;
    GLuint displayList = 0;
};

// The registry itself, oldest entry first.
extern ObjectList<RegistryEntry> registry;

// Appends an entry named `name` (one of the constants above) whose display
// list is compiled from what `compile` draws. Called once each at start-up by
// the enemy, emitter and sky builders, in that order.
void registerDisplayList(const char* name, void (*compile)());

// Walks the registry oldest first and stops at the first entry whose name
// pointer equals `name`, leaving the cursor on it. False when not found
// (also for an empty registry). Called before drawing a registered thing: by
// the scene passes for the sky, and by drawObjects for every emitter and
// every unanimated enemy.
bool findByName(const char* name);

// Multiplies an object's placement onto the current matrix: translate by
// (x, y, z), then rotate about z, y and x (degrees), each only when not 0.
// Called by drawRegistered and drawSkyObject after the camera.
void applyObjectPlacement(float x, float y, float z, float rotationX, float rotationY,
                          float rotationZ);

// Draws the entry under the registry cursor at (x, y, z) with the given
// rotations (degrees; z, then y, then x, each only when not 0), in world space
// through the camera. With culling on, "Emitter" and "Enemy" entries are drawn
// only when their radius-50 sphere is in the view volume, and each such draw
// counts in game.objectsDrawn. False, drawing nothing, when the node under
// the cursor holds no entry. Called by drawObjects right after findByName.
bool drawRegistered(float x, float y, float z, float rotationX, float rotationY, float rotationZ);
