#include "common/page_canvas.h"

#include <algorithm>
#include <cmath>

namespace {

float coverage(float signedDistance) { return clamp01(0.5f - signedDistance); }

// Runs `cover(screenX, screenY)` over the pixels of `box`, max-combining the
// result into the mask.
template <class Cover>
void coverBox(Mask& mask, const Canvas& canvas, const PixelBox& box, float value, Cover cover)
{
    for (int y = box.y0; y < box.y1; ++y) {
        const float sy = canvas.screenY(y);
        for (int x = box.x0; x < box.x1; ++x) {
            const float c = cover(canvas.screenX(x), sy) * value;
            float& m = mask.at(x, y);
            if (c > m)
                m = c;
        }
    }
}

// Signed distance (screen pixels) from a point, relative to the centre and
// already in the ellipse's own axes, to the ellipse edge; close to exact near it.
float ellipseDistance(float u, float v, float rx, float ry)
{
    const float f = std::sqrt((u * u) / (rx * rx) + (v * v) / (ry * ry));
    if (f < 1e-6f)
        return -std::min(rx, ry);
    const float gx = u / (rx * rx * f), gy = v / (ry * ry * f);
    const float g = std::sqrt(gx * gx + gy * gy);
    return (f - 1) / std::max(g, 1e-6f);
}

float roundRectDistance(float x, float y, float left, float top, float right, float bottom, float radius)
{
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// Rows and columns holding any coverage, grown by `grow` pixels and clipped.
PixelBox usedBox(const Mask& mask, int growX, int growY)
{
    PixelBox box{mask.width, mask.height, 0, 0};
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (mask.at(x, y) > 0) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x + 1);
                box.y1 = std::max(box.y1, y + 1);
            }
    if (box.x1 <= box.x0)
        return {0, 0, 0, 0};
    return {std::max(0, box.x0 - growX), std::max(0, box.y0 - growY), std::min(mask.width, box.x1 + growX),
            std::min(mask.height, box.y1 + growY)};
}

// One box-filter pass of radius r along x (horizontal) or y inside `box`.
void boxPass(Mask& mask, const PixelBox& box, int r, bool horizontal)
{
    if (r <= 0)
        return;
    const float norm = 1.0f / float(2 * r + 1);
    const int lines0 = horizontal ? box.y0 : box.x0, lines1 = horizontal ? box.y1 : box.x1;
    const int run0 = horizontal ? box.x0 : box.y0, run1 = horizontal ? box.x1 : box.y1;
    std::vector<float> line(std::size_t(run1 - run0));
    for (int l = lines0; l < lines1; ++l) {
        auto ref = [&](int i) -> float& { return horizontal ? mask.at(i, l) : mask.at(l, i); };
        for (int i = run0; i < run1; ++i)
            line[std::size_t(i - run0)] = ref(i);
        auto sample = [&](int i) { return (i < run0 || i >= run1) ? 0.0f : line[std::size_t(i - run0)]; };
        float sum = 0;
        for (int i = run0 - r; i <= run0 + r; ++i)
            sum += sample(i);
        for (int i = run0; i < run1; ++i) {
            ref(i) = sum * norm;
            sum += sample(i + r + 1) - sample(i - r);
        }
    }
}

}  // namespace

PixelBox pixelBox(const Canvas& canvas, float left, float top, float right, float bottom, int margin)
{
    PixelBox box;
    box.x0 = std::max(0, int(std::floor(left * canvas.sx)) - margin);
    box.y0 = std::max(0, int(std::floor(top * canvas.sy)) - margin);
    box.x1 = std::min(canvas.width(), int(std::ceil(right * canvas.sx)) + margin);
    box.y1 = std::min(canvas.height(), int(std::ceil(bottom * canvas.sy)) + margin);
    return box;
}

void fillEllipse(Mask& mask, const Canvas& canvas, float cx, float cy, float rx, float ry, float value)
{
    coverBox(mask, canvas, pixelBox(canvas, cx - rx, cy - ry, cx + rx, cy + ry), value,
             [&](float x, float y) { return coverage(ellipseDistance(x - cx, y - cy, rx, ry)); });
}

void strokeEllipse(Mask& mask, const Canvas& canvas, float cx, float cy, float rx, float ry, float angle,
                   float lineWidth, float value)
{
    const float c = std::cos(angle), s = std::sin(angle);
    const float reach = std::max(rx, ry) + lineWidth;
    coverBox(mask, canvas, pixelBox(canvas, cx - reach, cy - reach, cx + reach, cy + reach), value,
             [&](float x, float y) {
                 const float dx = x - cx, dy = y - cy;
                 const float u = dx * c + dy * s, v = -dx * s + dy * c;
                 return coverage(std::fabs(ellipseDistance(u, v, rx, ry)) - lineWidth / 2);
             });
}

void fillRoundRect(Mask& mask, const Canvas& canvas, float left, float top, float right, float bottom,
                   float radius, float value)
{
    coverBox(mask, canvas, pixelBox(canvas, left, top, right, bottom), value, [&](float x, float y) {
        return coverage(roundRectDistance(x, y, left, top, right, bottom, radius));
    });
}

void strokeRoundRect(Mask& mask, const Canvas& canvas, float left, float top, float right, float bottom,
                     float radius, float lineWidth, float value)
{
    coverBox(mask, canvas, pixelBox(canvas, left, top, right, bottom), value, [&](float x, float y) {
        const float d = roundRectDistance(x, y, left, top, right, bottom, radius);
        return std::min(coverage(d), coverage(-d - lineWidth));
    });
}

void fillLine(Mask& mask, const Canvas& canvas, float x0, float y0, float x1, float y1, float lineWidth,
              float value)
{
    const float half = lineWidth / 2;
    const float dx = x1 - x0, dy = y1 - y0;
    const float length2 = std::max(dx * dx + dy * dy, 1e-6f);
    coverBox(mask, canvas,
             pixelBox(canvas, std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half,
                      std::max(y0, y1) + half),
             value, [&](float x, float y) {
                 const float t = clamp01(((x - x0) * dx + (y - y0) * dy) / length2);
                 const float ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
                 return coverage(std::sqrt(ex * ex + ey * ey) - half);
             });
}

Mask blurred(const Mask& mask, const Canvas& canvas, float radius)
{
    // Three box passes of radius r approximate a Gaussian of sigma ~ r.
    const int rx = std::max(1, int(std::lround(radius * canvas.sx * 0.5f)));
    const int ry = std::max(1, int(std::lround(radius * canvas.sy * 0.5f)));
    Mask out = mask;
    const PixelBox box = usedBox(mask, 3 * rx + 1, 3 * ry + 1);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(out, box, rx, true);
        boxPass(out, box, ry, false);
    }
    return out;
}

Mask shifted(const Mask& mask, const Canvas& canvas, float dx, float dy)
{
    const int ox = int(std::lround(dx * canvas.sx)), oy = int(std::lround(dy * canvas.sy));
    Mask out = mask;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            out.at(x, y) = mask.get(x - ox, y - oy);
    return out;
}

Mask dilated(const Mask& mask, const Canvas& canvas, float radius)
{
    struct Tap {
        int dx, dy;
        float weight;
    };
    std::vector<Tap> taps;
    const int kx = int(std::ceil((radius + 1) * canvas.sx)), ky = int(std::ceil((radius + 1) * canvas.sy));
    for (int dy = -ky; dy <= ky; ++dy)
        for (int dx = -kx; dx <= kx; ++dx) {
            const float ex = float(dx) / canvas.sx, ey = float(dy) / canvas.sy;
            const float w = clamp01(radius + 0.5f - std::sqrt(ex * ex + ey * ey));
            if (w > 0)
                taps.push_back({dx, dy, w});
        }
    Mask out = mask;
    const PixelBox box = usedBox(mask, kx, ky);
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            float best = 0;
            for (const Tap& t : taps)
                best = std::max(best, mask.get(x + t.dx, y + t.dy) * t.weight);
            out.at(x, y) = best;
        }
    return out;
}

Mask cutOut(const Mask& a, const Mask& b)
{
    Mask out = a;
    for (std::size_t i = 0; i < out.v.size(); ++i)
        out.v[i] *= 1 - b.v[i];
    return out;
}

void multiply(Mask& mask, float k)
{
    for (float& m : mask.v)
        m *= k;
}

void paint(Canvas& canvas, const Mask& mask, const Colour& colour, float opacity)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const float m = mask.at(x, y);
            if (m > 0)
                canvas.image.blend(x, y, colour, m * opacity);
        }
}

void addLight(Canvas& canvas, const Mask& mask, const Colour& colour, float strength)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const float k = mask.at(x, y) * strength;
            if (k > 0) {
                Colour& p = canvas.image.at(x, y);
                p.r += colour.r * k;
                p.g += colour.g * k;
                p.b += colour.b * k;
            }
        }
}

void dither(Canvas& canvas, std::uint64_t seed)
{
    Random random(seed);
    for (Colour& p : canvas.image.pixels) {
        const float d = (random.uniform() - 0.5f) / 255.0f;
        p.r += d;
        p.g += d;
        p.b += d;
    }
}
