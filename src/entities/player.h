// The player's character: an animated MD2 model that stands in front of the
// camera and switches between standing and running as the player moves.
#pragma once

#include "entities/scene_object.h"

// Makes the player's Character (name "Orbitor", model "Modells/tris.md2",
// hit points 1, animation state 1, points 0). Called once by start-up.
Character* makePlayer(float x, float y, float z, float rotationX, float rotationY,
                      float rotationZ, float traceValue, float speed);
// Loads the player's model and selects the standing animation.
void loadPlayerModel();
// Called on every 0.04-second tick with the movement result.
void updatePlayerAnimation(bool moved);
// Draws an animated character's model (nothing for animation state -1).
void drawCharacter(Character& character);
// Draws the player's black shadow.
void drawPlayerShadow();
