// The sky: a five-faced textured box around the eye that turns with the view
// but never moves with the player; registered as "DaySky".
#pragma once

#include "platform/gl.h"

// The five face textures, loaded by buildSkyBox.
extern GLuint skyFrontTexture, skyBackTexture, skyTopTexture, skyLeftTexture, skyRightTexture;

void buildSkyBox();
bool drawSkyObject(float x, float y, float z, float rotationX, float rotationY, float rotationZ);
