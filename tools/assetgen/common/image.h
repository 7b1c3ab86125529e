// Small raster helpers shared by the asset generator's painters: an RGBA
// float image, a deterministic random source, value noise, and colour maths.
// Everything here is deterministic: the same calls give the same bytes.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Colour mix(const Colour& a, const Colour& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}
inline Colour scaled(const Colour& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float smoothstep(float e0, float e1, float x)
{
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

struct Image {
    int width = 0, height = 0;
    std::vector<Colour> pixels;   // top row first

    Image() = default;
    Image(int w, int h, Colour fill = {}) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Colour& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Colour& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    // Blends `c` over the pixel with coverage `alpha` (times c.a).
    void blend(int x, int y, const Colour& c, float alpha = 1.0f);
};

// The image at 1/fx of its width and 1/fy of its height (which they divide),
// each pixel the mean of the fx x fy pixels it covers: a picture painted
// finely and stored smaller.
Image reduced(const Image& image, int fx, int fy);

// Writes the image as a TGA (3 channels, or 4 with `withAlpha`), top row
// first in the file's origin convention. Prints and returns false on failure.
bool saveTga(const Image& image, const std::string& path, bool withAlpha = false);

// A small deterministic random source (xorshift), independent of rand().
struct Random {
    std::uint64_t state;
    explicit Random(std::uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint64_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    float uniform() { return float(next() >> 40) / float(1u << 24); }   // [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
};

// Smooth value noise in [0, 1] that tiles with period `period` (in lattice
// cells) in both x and y when period > 0.
float valueNoise(float x, float y, std::uint32_t seed, int period = 0);
// Fractal sum of `octaves` layers of value noise, in [0, 1]; tiles with
// `period` at the base frequency when period > 0.
float fractalNoise(float x, float y, int octaves, std::uint32_t seed, int period = 0);

// Gradient noise in about [-1, 1] (standard deviation about 0.3), smoother
// than value noise (no lattice squares). Repeats every `periodX` lattice
// cells in x and `periodY` in y; a period <= 0 means no repetition there.
float gradientNoise(float x, float y, std::uint32_t seed, int periodX = 0, int periodY = 0);
// Fractal sum of `octaves` layers of gradient noise, each at twice the
// frequency and `gain` times the amplitude of the one before, with the
// spread of a single layer. Repeats like gradientNoise with the periods of
// the first layer.
float gradientFractal(float x, float y, int octaves, std::uint32_t seed, int periodX = 0,
                      int periodY = 0, float gain = 0.5f);
// A repeatable random number in [0, 1) for the integer point (x, y).
float hash01(int x, int y, std::uint32_t seed);
// Like saveTga, but run-length encodes the pixels: much smaller for smooth
// pictures (skies, glows), a little larger for noisy ones.
bool saveTgaCompressed(const Image& image, const std::string& path, bool withAlpha = false);
