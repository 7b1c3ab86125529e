// The lighting switch and where light 0 stands.
#pragma once

#include "platform/gl.h"

// Position of light 0 (a positional light 100 units ahead of the start point).
inline constexpr GLfloat lightPosition[4] = {0.0f, 10.0f, -100.0f, 1.0f};

// Lighting, light 0 and normalisation of normals on or off together.
// Called by the L key's handler, and by the frame loop around its overlay.
void setLighting(bool on);
