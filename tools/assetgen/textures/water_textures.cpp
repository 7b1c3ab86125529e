// The sea's eight animation frames (water0_COLOR ... water7_COLOR): 128 x
// 1024 each. The water surface stretches one picture over 264 units across
// (s, from the open sea at x = -798 toward the shore) and 1544 units along
// the shore (t), so the noise cells are six times as many along t as along
// s to look round on the water (the swell's cells are drawn out along the
// shore, so its crests run parallel to it). Every layer repeats across both edges, and
// the frames move each layer round a small circle in noise space (phase
// 2 pi frame / 8), so frame 7 runs into frame 0 like any other step.
// Toward the shore the water turns to lighter shallows; the band from
// s = 0.86 to 1, always hidden under the beach, turns back to deep water so
// the picture still repeats across s.
#include "textures/textures.h"

#include <algorithm>

namespace {

constexpr int waterWidth = 128, waterHeight = 1024;
constexpr int cellsAcross = 4, cellsAlong = 24;   // base noise cells (66 x 64 world units)

// One moving noise layer: `level` halves the cell size per step, `stretch`
// lengthens the cells along the shore (so crests run parallel to it) and
// `radius` is the circle (in cells) the layer travels over the eight frames.
float waveLayer(float s, float t, int level, int stretch, float radius, float phase, std::uint32_t seed)
{
    const int px = cellsAcross << level, py = (cellsAlong << level) / stretch;
    const float x = s * px + radius * std::cos(phase), y = t * py + radius * std::sin(phase);
    return gradientNoise(x, y, seed, px, py);
}

float shallowness(float s)
{
    return smoothstep(0.1f, 0.78f, s) * (1.0f - smoothstep(0.86f, 1.0f, s));
}

}  // namespace

Image paintWaterFrame(int frame)
{
    Image image(waterWidth, waterHeight);
    const float phase = twoPi * float(frame % 8) / 8.0f;
    const Colour deep = rgb(22, 70, 98), open = rgb(36, 100, 124), shallow = rgb(60, 148, 150),
                 crest = rgb(132, 186, 196), foam = rgb(222, 236, 238);
    for (int j = 0; j < waterHeight; ++j) {
        const float t = 1.0f - (float(j) + 0.5f) / waterHeight;
        for (int i = 0; i < waterWidth; ++i) {
            const float s = (float(i) + 0.5f) / waterWidth;
            // Broad swell drifting one way, choppier waves another, fine
            // ripples on top; each loops over the eight frames.
            const float swell =
                waveLayer(s, t, 0, 3, 0.25f, phase, 601) + 0.5f * waveLayer(s, t, 1, 3, 0.3f, -phase + 1.0f, 602);
            const float chop =
                waveLayer(s, t, 1, 2, 0.3f, phase + 2.0f, 603) + 0.5f * waveLayer(s, t, 2, 2, 0.25f, -phase, 604);
            const float ripple = waveLayer(s, t, 3, 1, 0.3f, phase + 0.5f, 605);
            const float height = 0.55f * swell + 0.35f * chop + 0.15f * ripple;

            const float sh = shallowness(s);
            Colour c = mix(deep, open, smoothstep(-0.45f, 0.45f, height));
            c = mix(c, shallow, 0.75f * sh * (0.8f + 0.2f * smoothstep(-0.3f, 0.3f, swell)));
            // Light catches the wave crests in a shifting web of lines.
            const float web = std::pow(std::max(0.0f, 1.0f - std::fabs(chop + 0.3f * ripple) * 1.8f), 4.0f);
            c = mix(c, crest, 0.45f * web * (0.6f + 0.4f * smoothstep(-0.2f, 0.4f, swell)));
            // Sparse white caps on the highest crests.
            const float cap = smoothstep(0.62f, 0.85f, height + 0.25f * ripple);
            c = mix(c, foam, 0.8f * cap);
            image.at(i, j) = c;
        }
    }
    return image;
}
