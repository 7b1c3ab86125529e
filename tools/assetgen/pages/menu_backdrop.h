// The night-sky backdrop behind the menu pages: a deep blue gradient, faint
// nebula clouds, a star field, and an ocean planet dotted with islands,
// wearing a tilted ring, under a vignette.
#pragma once

#include "common/page_canvas.h"

#include <cstdint>

struct BackdropPlan {
    std::uint64_t seed = 1;
    float planetX = 650, planetY = 400, planetRadius = 140;   // screen pixels
    float ringTilt = -0.3f;      // radians, clockwise on screen
    float brightness = 1.0f;     // scales the whole backdrop (darker behind dense text)
};

void paintBackdrop(Canvas& canvas, const BackdropPlan& plan);
