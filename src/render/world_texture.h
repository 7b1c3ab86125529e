// Loading a colour texture file the way every world builder does it.
#pragma once

#include "platform/gl.h"

// Generates a texture name, binds it to GL_TEXTURE_2D and reads the file into
// it with mipmap levels. A file that cannot be read writes "problem" on
// standard output; the name then stays bound to an empty texture. The caller
// sets the sampling parameters on the bound texture. Called at start-up by
// every step that loads a picture: buildWorldGeometry and the mountain and
// beach lists, buildEmitterList, buildSkyBox, loadStartTextures,
// initEscapeEffect and loadWater.
GLuint loadWorldTexture(const char* path);
