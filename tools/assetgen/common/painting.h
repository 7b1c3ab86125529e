// Small drawing helpers shared by the painters: colours from bytes, soft
// discs and ellipses stamped into an image, and noise laid out in the world
// units of a tiling picture. Deterministic like everything in image.h.
#pragma once

#include "common/image.h"

#include <cmath>
#include <cstdint>

inline constexpr float twoPi = 6.28318531f;

inline Colour rgb(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f, 1.0f}; }
inline float fract(float v) { return v - std::floor(v); }

// Blends a soft disc of colour `c` into the image: full `opacity` inside
// radius - softness, fading to nothing at radius (pixel units). With `wrap`
// the disc continues across the image edges (for tiling textures).
void stampDisc(Image& image, float cx, float cy, float radius, const Colour& c, float opacity,
               float softness, bool wrap);
// The same for an ellipse with half-axes rx, ry (its edge softness is a
// fraction of the radius).
void stampEllipse(Image& image, float cx, float cy, float rx, float ry, const Colour& c, float opacity,
                  float softness, bool wrap);

// Gradient noise over a picture laid out in world units that repeats every
// spanU units in u and spanV units in v (one texture unit of a mesh that
// tiles it). Called with lattice cells of cellU by cellV units, which must
// divide the spans, so the noise repeats with the picture; octaves > 1 adds
// finer layers (gradientFractal). Used by the rock and the sand.
struct TiledNoise {
    float spanU, spanV;
    float operator()(float u, float v, float cellU, float cellV, std::uint32_t seed, int octaves = 1) const;
};
