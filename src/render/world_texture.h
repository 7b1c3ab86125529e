// Loading a colour texture file the way every world builder does it.
#pragma once

#include "platform/gl.h"

// Generates a texture name, binds it to GL_TEXTURE_2D and reads the file into
// it with mipmap levels (with the render shortcuts, level 0 now and the others
// at buildPendingMipmaps). A file that cannot be read writes "problem" on
// standard output; the name then stays bound to an empty texture. The caller
// sets the sampling parameters on the bound texture. Called at start-up by
// every step that loads a picture: buildWorldGeometry and the mountain and
// beach lists, buildEmitterList, buildSkyBox, loadStartTextures,
// initEscapeEffect and loadWater.
GLuint loadWorldTexture(const char* path);

// Builds the mipmap levels loadWorldTexture left for later (none without the
// shortcuts, or after the first call). Called by the title menu once its first
// frame is on screen, by setUpGame, and by tools and tests that draw the world
// without the title menu; nothing is drawn minified before.
void buildPendingMipmaps();

// How many textures still wait for their levels. For the tests.
int pendingMipmaps();
