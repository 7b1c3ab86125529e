// The OpenGL headers in the order they must come: the extension loader first,
// then GLU and freeglut's bitmap fonts. Every drawing file includes this.
#pragma once

#include <GL/glew.h>
#include <GL/glu.h>
#include <GL/freeglut_std.h>
