// The beach's texture (beachtex_COLOR): 256 x 1024. The beach mesh gives
// s = k/8 over its nine strips from the sea (k = 0, x = -814, deep under the
// water) up to the ground (k = 9, x = -526) and t = m/40 along the shore, so
// one texture unit is 256 world units across the beach and 1280 along it.
// The water line lies near s = 0.75..0.85; above it the sand is wet and dark
// with swash lines, then a line of washed-up weed marks the high water, and
// dry, rippled sand runs up to the ground. The last strip (s 1..1.125) wraps
// round to s = 0, so the picture repeats seamlessly in both directions and
// the dry sand continues across the wrap.
#include "textures/textures.h"

#include <algorithm>

namespace {

constexpr int sandWidth = 256, sandHeight = 1024;
constexpr float acrossSpan = 256, alongSpan = 1280;   // world units per texture unit

// Noise over the picture in world units (cells across, cells along).
constexpr TiledNoise sandNoise{acrossSpan, alongSpan};

// How wet the sand is at beach position s (0 dry, 1 soaked), repeating
// with period 1: dry from 0.92 round through the wrap to 0.18, soaked from
// 0.3 to 0.78 (all under the water).
float wetness(float s)
{
    const float p = fract(s);
    return smoothstep(0.18f, 0.3f, p) * (1.0f - smoothstep(0.78f, 0.92f, p));
}

}  // namespace

Image paintBeachSand()
{
    Image image(sandWidth, sandHeight);
    const Colour dryLight = rgb(232, 212, 164), dryDark = rgb(206, 184, 136), wet = rgb(150, 128, 94),
                 soaked = rgb(124, 106, 80), sheen = rgb(176, 178, 172), weed = rgb(84, 78, 46), foam = rgb(214, 208, 188);
    for (int j = 0; j < sandHeight; ++j) {
        const float t = 1.0f - (float(j) + 0.5f) / sandHeight, v = t * alongSpan;
        for (int i = 0; i < sandWidth; ++i) {
            const float s = (float(i) + 0.5f) / sandWidth, u = s * acrossSpan;
            // The shore lines wander a little along the beach.
            const float wander = 0.016f * sandNoise(u, v, 64, 64, 501, 2) + 0.004f * sandNoise(u, v, 8, 8, 502);
            const float sp = s + wander;
            const float w = wetness(sp);
            const float grain = 0.6f * (hash01(i, j, 503) - 0.5f) + sandNoise(u, v, 2, 2, 504);
            const float tone = sandNoise(u, v, 32, 32, 505, 3);

            // Dry sand with wind ripples.
            const float ripplePhase = (0.8f * u + 0.6f * v) / 4.2f + 2.0f * sandNoise(u, v, 16, 16, 506);
            const float ripple = std::sin(ripplePhase * twoPi);
            Colour dry = mix(dryDark, dryLight, smoothstep(-0.5f, 0.5f, tone));
            dry = scaled(dry, 1.0f + 0.05f * ripple * smoothstep(-0.2f, 0.3f, sandNoise(u, v, 32, 32, 507)) +
                                  0.06f * grain);

            // Wet sand: darker, smoother, with a glossy sheen in places and
            // shore-parallel ripples further down.
            Colour damp = mix(wet, soaked, smoothstep(0.82f, 0.7f, fract(sp)));
            damp = mix(damp, sheen, 0.14f * smoothstep(0.0f, 0.5f, sandNoise(u, v, 32, 64, 508, 2)));
            const float shoreRipple = std::sin((u / 3.1f + 1.5f * sandNoise(u, v, 8, 16, 509)) * twoPi);
            damp = scaled(damp, 1.0f + 0.04f * shoreRipple * smoothstep(0.8f, 0.7f, fract(sp)) + 0.035f * grain);

            Colour c = mix(dry, damp, w);

            // Swash lines: thin foam marks left by the last waves.
            for (float line : {0.822f, 0.845f, 0.862f}) {
                const float d = std::fabs(fract(sp + 0.006f * sandNoise(u, v, 8, 8, 510)) - line) * acrossSpan;
                const float mark = (1.0f - smoothstep(0.2f, 0.9f, d)) * smoothstep(-0.2f, 0.2f, sandNoise(u, v, 16, 10, 511));
                c = mix(c, foam, 0.5f * mark);
            }
            // The high-water line of weed and drift.
            const float strand = std::fabs(fract(sp) - 0.888f) * acrossSpan;
            const float debris = (1.0f - smoothstep(1.0f, 3.5f, strand + 1.5f * sandNoise(u, v, 4, 4, 512))) *
                                 smoothstep(-0.1f, 0.35f, sandNoise(u, v, 4, 6, 513, 2));
            c = mix(c, scaled(weed, 1.0f + 0.3f * grain), 0.85f * debris);
            image.at(i, j) = c;
        }
    }

    // Pebbles and shell bits, most of them about the high-water line.
    Random random(514);
    const float perUnitS = sandWidth / acrossSpan, perUnitT = sandHeight / alongSpan;
    for (int n = 0; n < 2600; ++n) {
        const float s = n < 1200 ? 0.888f + 0.05f * (random.uniform() - 0.5f) : random.uniform();
        if (wetness(s) > 0.7f && random.uniform() < 0.8f)
            continue;
        const float t = random.uniform();
        const float r = random.range(0.3f, 0.9f);
        const bool shell = random.uniform() < 0.45f;
        const Colour c = shell ? scaled(rgb(240, 232, 218), random.range(0.9f, 1.05f))
                               : scaled(mix(rgb(120, 112, 104), rgb(160, 140, 116), random.uniform()), random.range(0.8f, 1.1f));
        const float x = s * sandWidth, y = (1.0f - t) * sandHeight;
        stampEllipse(image, x + 0.6f, y + 0.6f, r * perUnitS + 0.3f, r * perUnitT + 0.3f, rgb(120, 100, 72), 0.4f, 0.6f, true);
        stampEllipse(image, x, y, r * perUnitS + 0.2f, r * perUnitT + 0.2f, c, 0.9f, 0.5f, true);
    }
    return image;
}
