// A full-screen picture laid out in the game's 800 x 600 screen pixels but
// stored at a power-of-two texture size. The game stretches the texture over
// the whole window, so every drawing call here takes screen coordinates
// (origin top-left, y down) and rasterises straight at texture resolution;
// text and shapes then read undistorted once stretched.
//
// Shapes and text are drawn into coverage masks first, so the same outline
// can be filled, blurred into a shadow or a glow, or cut out of another.
#pragma once

#include "common/image.h"

#include <vector>

inline constexpr float pageWidth = 800.0f;
inline constexpr float pageHeight = 600.0f;

struct Canvas {
    Image image;
    float sx = 1, sy = 1;   // texture pixels per screen pixel

    Canvas(int width, int height, Colour fill = {0, 0, 0, 1})
        : image(width, height, fill), sx(float(width) / pageWidth), sy(float(height) / pageHeight)
    {
    }
    int width() const { return image.width; }
    int height() const { return image.height; }
    // Screen position of the centre of texture pixel (px, py).
    float screenX(int px) const { return (float(px) + 0.5f) / sx; }
    float screenY(int py) const { return (float(py) + 0.5f) / sy; }
};

// Coverage in [0, 1] per texture pixel of a canvas.
struct Mask {
    int width = 0, height = 0;
    std::vector<float> v;

    Mask() = default;
    explicit Mask(const Canvas& canvas)
        : width(canvas.width()), height(canvas.height()), v(std::size_t(width) * height, 0.0f)
    {
    }
    float& at(int x, int y) { return v[std::size_t(y) * width + x]; }
    float at(int x, int y) const { return v[std::size_t(y) * width + x]; }
    float get(int x, int y) const { return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : at(x, y); }
};

// Texture-pixel rectangle [x0, x1) x [y0, y1) covering the screen rectangle
// given, grown by `margin` texture pixels and clipped to the canvas.
struct PixelBox {
    int x0, y0, x1, y1;
};
PixelBox pixelBox(const Canvas& canvas, float left, float top, float right, float bottom, int margin = 2);

// Runs `shade(screenX, screenY, pixel)` for every texture pixel.
template <class Shade>
void shadeAll(Canvas& canvas, Shade shade)
{
    for (int y = 0; y < canvas.height(); ++y) {
        const float sy = canvas.screenY(y);
        for (int x = 0; x < canvas.width(); ++x)
            shade(canvas.screenX(x), sy, canvas.image.at(x, y));
    }
}

// --- Shapes into masks (coverage is max-combined with what is there) ------
// Anti-aliased over about one texture pixel.
void fillEllipse(Mask& mask, const Canvas& canvas, float cx, float cy, float rx, float ry, float value = 1);
// Ellipse outline of width `lineWidth`, rotated by `angle` radians
// (clockwise on screen).
void strokeEllipse(Mask& mask, const Canvas& canvas, float cx, float cy, float rx, float ry, float angle,
                   float lineWidth, float value = 1);
void fillRoundRect(Mask& mask, const Canvas& canvas, float left, float top, float right, float bottom,
                   float radius, float value = 1);
// Outline only, `lineWidth` wide, inside the rectangle's edge.
void strokeRoundRect(Mask& mask, const Canvas& canvas, float left, float top, float right, float bottom,
                     float radius, float lineWidth, float value = 1);
void fillLine(Mask& mask, const Canvas& canvas, float x0, float y0, float x1, float y1, float lineWidth,
              float value = 1);

// --- Mask operations ------------------------------------------------------
// Gaussian-like blur (three box passes) with the given radius in screen pixels.
Mask blurred(const Mask& mask, const Canvas& canvas, float radius);
// The mask moved by (dx, dy) screen pixels (rounded to texture pixels).
Mask shifted(const Mask& mask, const Canvas& canvas, float dx, float dy);
// Grown outward by `radius` screen pixels (an anti-aliased round brush).
Mask dilated(const Mask& mask, const Canvas& canvas, float radius);
// Coverage of `a` where `b` is not: a * (1 - b).
Mask cutOut(const Mask& a, const Mask& b);
void multiply(Mask& mask, float k);

// --- Painting masks onto the canvas ---------------------------------------
// Blends `colour` over the picture where the mask covers it.
void paint(Canvas& canvas, const Mask& mask, const Colour& colour, float opacity = 1);
// As paint, the colour taken per pixel from `colourAt(screenX, screenY)`.
template <class ColourAt>
void paintWith(Canvas& canvas, const Mask& mask, ColourAt colourAt, float opacity = 1)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const float m = mask.at(x, y);
            if (m > 0)
                canvas.image.blend(x, y, colourAt(canvas.screenX(x), canvas.screenY(y)), m * opacity);
        }
}
// Adds light: pixel += colour * coverage * strength (for glows and stars).
void addLight(Canvas& canvas, const Mask& mask, const Colour& colour, float strength = 1);

// Breaks up 8-bit banding in smooth gradients with a tiny fixed dither.
void dither(Canvas& canvas, std::uint64_t seed);
