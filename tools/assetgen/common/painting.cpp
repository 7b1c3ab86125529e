#include "common/painting.h"

#include <algorithm>

namespace {

int wrapIndex(int v, int n)
{
    v %= n;
    return v < 0 ? v + n : v;
}

template <class Coverage>
void stampShape(Image& image, float cx, float cy, float reachX, float reachY, const Colour& c,
                float opacity, bool wrap, Coverage coverage)
{
    const int x0 = static_cast<int>(std::floor(cx - reachX)), x1 = static_cast<int>(std::ceil(cx + reachX));
    const int y0 = static_cast<int>(std::floor(cy - reachY)), y1 = static_cast<int>(std::ceil(cy + reachY));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float k = coverage(float(x) + 0.5f - cx, float(y) + 0.5f - cy);
            if (k <= 0)
                continue;
            int px = x, py = y;
            if (wrap) {
                px = wrapIndex(x, image.width);
                py = wrapIndex(y, image.height);
            } else if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
                continue;
            }
            image.blend(px, py, c, k * opacity);
        }
    }
}

}  // namespace

void stampDisc(Image& image, float cx, float cy, float radius, const Colour& c, float opacity,
               float softness, bool wrap)
{
    const float inner = std::max(0.0f, radius - softness);
    stampShape(image, cx, cy, radius + 1, radius + 1, c, opacity, wrap, [&](float dx, float dy) {
        const float d = std::sqrt(dx * dx + dy * dy);
        return 1.0f - smoothstep(inner, radius + 0.5f, d);
    });
}

void stampEllipse(Image& image, float cx, float cy, float rx, float ry, const Colour& c, float opacity,
                  float softness, bool wrap)
{
    const float inner = std::max(0.0f, 1.0f - softness);
    stampShape(image, cx, cy, rx + 1, ry + 1, c, opacity, wrap, [&](float dx, float dy) {
        const float d = std::sqrt((dx / rx) * (dx / rx) + (dy / ry) * (dy / ry));
        return 1.0f - smoothstep(inner, 1.0f, d);
    });
}

float TiledNoise::operator()(float u, float v, float cellU, float cellV, std::uint32_t seed, int octaves) const
{
    const int px = static_cast<int>(spanU / cellU + 0.5f), py = static_cast<int>(spanV / cellV + 0.5f);
    return octaves == 1 ? gradientNoise(u / cellU, v / cellV, seed, px, py)
                        : gradientFractal(u / cellU, v / cellV, octaves, seed, px, py);
}
