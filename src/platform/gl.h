// The OpenGL headers in the order they must come: the extension loader first,
// then GLU. Every drawing file includes this. (freeglut's bitmap fonts are
// behind platform/bitmap_font.h.)
#pragma once

#include <GL/glew.h>
#include <GL/glu.h>
