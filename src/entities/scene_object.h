// The records every game object is made of. A SceneObject is the base (name,
// model path, position, texture name, rotation); a Character adds what the
// player and the enemies need; an Emitter (emitters.h) extends SceneObject
// too. Plain records, heap-allocated, no virtual operations.
#pragma once

#include <cstdint>

struct Md2Model;

struct SceneObject {
    // Names are compared by pointer identity: each kind of object uses one
    // shared string constant, the same one its display list is registered by.
    const char* name = nullptr;
    const char* modelPath = nullptr;
    float x = 0, y = 0, z = 0;          // world units, y up
    const char* textureName = nullptr;
    float rotationX = 0, rotationY = 0, rotationZ = 0;   // degrees

    // Stores the fields and writes "kostr" and the trace value (the stream's
    // default floating-point format) as two lines on standard error.
    // Called by the Character and Emitter constructors.
    SceneObject(const char* name, const char* modelPath, const char* textureName,
                float x, float y, float z, float rotationX, float rotationY,
                float rotationZ, float traceValue);
};

// Clears a scene object before it is freed: when the name is set, the three
// names become null and every float field 0. Called by stepEnemies and
// fireShot on an enemy they have just taken out of the list.
void resetSceneObject(SceneObject& object);

// Animation states of a Character.
inline constexpr std::int32_t animationNone = -1;   // no MD2 model; drawn from the registry
inline constexpr std::int32_t animationStanding = 0;
inline constexpr std::int32_t animationRunning = 1;

struct Character : SceneObject {
    std::int32_t hitPoints = 0;       // shots still needed to destroy it
    float speed = 0;                  // distance per enemy step
    std::int32_t animationState = animationNone;
    Md2Model* model = nullptr;        // owned; made (not loaded) by the constructor
    std::int32_t points = 0;          // score for destroying it

    // A SceneObject with the character's fields and a new, unloaded Md2Model.
    // Called by makePlayer at start-up and by spawnEnemy on every release.
    Character(const char* name, const char* modelPath, const char* textureName,
              float x, float y, float z, float rotationX, float rotationY, float rotationZ,
              float traceValue, std::int32_t hitPoints, float speed,
              std::int32_t animationState, std::int32_t points);
    // Releases and frees the model. Runs where an enemy is deleted
    // (stepEnemies, fireShot, freeAllLists at exit).
    ~Character();
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;
};
