// The plank's texture (wood): 1024 x 128. The plank's top stretches the
// whole picture over 1104 x 4 units, s along its length, so a texel is about
// one unit long and an eighth of a unit wide; grain, knots and nails are
// drawn squeezed along s by that ratio so they look round on the plank.
// The walk is laid from sixteen boards butted end to end.
#include "textures/textures.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int woodWidth = 1024, woodHeight = 128;
constexpr int boards = 16;
constexpr int boardLength = woodWidth / boards;
// Texels per world unit along s and along t.
constexpr float alongScale = woodWidth / 1104.0f, acrossScale = woodHeight / 4.0f;

struct Knot {
    float u, v, size;
};

}  // namespace

Image paintWood()
{
    Image image(woodWidth, woodHeight);
    Random random(301);

    // Each board has its own tint, grain offset and a knot or two.
    float tint[boards], greying[boards], offset[boards];
    std::vector<Knot> knots;
    for (int b = 0; b < boards; ++b) {
        tint[b] = random.range(0.86f, 1.1f);
        greying[b] = random.range(0.0f, 0.45f);
        offset[b] = random.range(0, 1000);
        const int count = 1 + static_cast<int>(random.uniform() * 2.2f);
        for (int k = 0; k < count; ++k)
            knots.push_back({b * boardLength + random.range(10, boardLength - 10), random.range(14, woodHeight - 14),
                             random.range(0.35f, 0.7f)});
    }

    const Colour early = rgb(160, 116, 72), late = rgb(104, 68, 38), light = rgb(184, 142, 92),
                 grey = rgb(142, 132, 118);
    for (int v = 0; v < woodHeight; ++v) {
        for (int u = 0; u < woodWidth; ++u) {
            const int b = u / boardLength;
            const float fu = float(u) + 0.5f, fv = float(v) + 0.5f;
            // Grain lines run along the board and wander slowly across it.
            float g = fv + 7 * gradientNoise(fu / 110, offset[b], 311) + 2.5f * gradientNoise(fu / 23, offset[b], 312);
            for (const Knot& k : knots) {
                const float du = (fu - k.u) * (acrossScale / alongScale) / 5.0f / k.size;
                const float dv = (fv - k.v) / 5.0f / k.size;
                const float r2 = du * du + dv * dv;
                if (r2 < 25)
                    g += (fv > k.v ? 1.0f : -1.0f) * 9.0f * k.size * std::exp(-r2 * 0.35f);
            }
            const float ring = fract(g / 5.3f + 0.3f * gradientNoise(fu / 60, fv / 14, 313));
            const float lateWood = smoothstep(0.55f, 0.8f, ring) * (1.0f - smoothstep(0.85f, 1.0f, ring));
            const float fibre = gradientNoise(fu / 35, fv / 1.3f, 314);
            const float broad = gradientFractal(fu / 80, fv / 40 + offset[b], 2, 315);

            Colour c = mix(early, light, smoothstep(-0.4f, 0.5f, broad));
            c = mix(c, late, 0.75f * lateWood);
            c = scaled(c, tint[b] * (1.0f + 0.08f * fibre + 0.04f * (hash01(u, v, 316) - 0.5f)));
            c = mix(c, grey, greying[b] * smoothstep(-0.3f, 0.5f, gradientNoise(fu / 50, fv / 30, 317)));

            // Worn, darker edges along the plank and at the board ends.
            const float edge = std::min(fv, woodHeight - fv) / acrossScale;   // world units from the edge
            c = scaled(c, 0.72f + 0.28f * smoothstep(0.0f, 0.45f, edge));
            const float end = std::min(float(u - b * boardLength) + 0.5f, float((b + 1) * boardLength - u) - 0.5f);
            c = scaled(c, 0.55f + 0.45f * smoothstep(0.0f, 2.5f, end));
            image.at(u, v) = c;
        }
    }

    // Knot centres, then two nails at each end of every board.
    for (const Knot& k : knots) {
        const float ry = 2.6f * k.size * acrossScale / 5.0f * 1.6f;
        stampEllipse(image, k.u, k.v, ry * alongScale / acrossScale + 0.6f, ry, rgb(92, 56, 30), 0.85f, 0.6f, false);
        stampEllipse(image, k.u, k.v, 0.6f, ry * 0.45f, rgb(62, 38, 20), 0.9f, 0.6f, false);
    }
    for (int b = 0; b < boards; ++b) {
        for (float end : {b * boardLength + 3.0f, (b + 1) * boardLength - 3.0f}) {
            for (float across : {1.0f, 3.0f}) {
                const float v = across * acrossScale;
                stampEllipse(image, end, v, 0.6f, 0.28f * acrossScale, rgb(46, 42, 40), 0.85f, 0.5f, false);
                stampEllipse(image, end, v - 1.5f, 0.45f, 0.14f * acrossScale, rgb(150, 146, 140), 0.5f, 0.6f, false);
            }
        }
    }
    return image;
}
