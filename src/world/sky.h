// The sky: a five-faced textured box around the eye that turns with the view
// but never moves with the player; registered as "DaySky".
#pragma once

#include "platform/gl.h"

// The five face textures, loaded by buildSkyBox.
extern GLuint skyFrontTexture, skyBackTexture, skyTopTexture, skyLeftTexture, skyRightTexture;

// Start-up: loads the five face textures and registers the "DaySky" list.
// Called once by start-up after the enemy and emitter lists.
void buildSkyBox();
// Draws the registry entry under the cursor (the sky, after findByName) with
// only the camera's turn. Called first by the game and cube-face passes.
bool drawSkyObject(float x, float y, float z, float rotationX, float rotationY, float rotationZ);
// The GL state that drawing the sky object leaves behind, set without
// drawing: normalising on, 2-D texturing off, the sky's colour current (and
// so the material's, under colour material), the top face's texture bound
// and its last texture coordinate current. Called by the scene passes that
// draw the sky last instead of first.
void setSkyStateOnly();
