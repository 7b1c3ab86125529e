// The player's character: an animated MD2 model that stands in front of the
// camera and switches between standing and running as the player moves.
#pragma once

#include "entities/scene_object.h"

// Makes the player's Character (name "Orbitor", model "Modells/tris.md2",
// hit points 1, animation state 1, points 0). Called once by start-up, after
// the registry's builders; the result is kept in resources.player.
Character* makePlayer(float x, float y, float z, float rotationX, float rotationY,
                      float rotationZ, float traceValue, float speed);
// Loads the player's model and selects the standing animation; a missing or
// damaged file leaves the model unloaded and the player undrawn. Called once
// by start-up, right after makePlayer.
void loadPlayerModel();
// Switches the player between the standing and the running frames when
// movement starts or stops. Called by the frame loop on every 0.04-second
// tick, right after movePlayer, with its result.
void updatePlayerAnimation(bool moved);
// Draws an animated character's model (nothing for animation state -1),
// animating it to the current time first. Called by the game view and the
// blur view for the player, and by drawObjects for an animated enemy.
void drawCharacter(Character& character);
// Draws the player's black shadow. Called by the game view's shadow step,
// after the objects, with blending on and no depth test.
void drawPlayerShadow();
