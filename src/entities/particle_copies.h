// Copies of one particle quad stacked in the same place add the very same
// fragments. With additive blending into a colour buffer of at most b bits
// per channel and no depth test, each copy either leaves a channel alone or
// raises it, so after 2^b - 1 copies every channel they touch is saturated
// and further copies change nothing, whatever else is added in between.
// A burst starts with every particle in the centre, so most are such copies.
#pragma once

#include "entities/particle.h"

class ParticleCopies {
public:
    // Reads the blending, depth, stencil and colour-buffer state that the
    // particles are about to be drawn with; copies are only ever skipped
    // when that state makes them invisible.
    void begin();

    // Whether the quads of this particle, drawn with its centre (cx, cy, cz),
    // still need drawing.
    bool needed(const Particle& p, float cx, float cy, float cz);

private:
    struct Key {
        float values[8];   // centre, size, colour as the rasteriser sees it
        bool operator==(const Key& other) const;
    };

    float colour(float value) const;

    static constexpr int tracked = 8;
    Key keys[tracked] = {};
    int counts[tracked] = {};
    int entries = 0;
    int limit = 0;
    bool clampsColour = true;
};
