// The mountain range's texture (mountainsc): 256 x 2048. The range's mesh
// gives s = k/8 over its nine strips from the foot (k = 0, next to the play
// area) up to the ridge (k = 8) and t = m/60 along its 1220-unit length, so
// one texture unit is 160 world units up the slope and 1200 along the
// range. The picture is laid out in those world units: meadow and trees on
// the foothills, a bare cliff band where the slope steepens (k = 3..4),
// banded rock strata along the contours above with grass in the hollows,
// and pale, lichen-patched rock along the crest. It repeats seamlessly along t.
#include "textures/textures.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int rockWidth = 256, rockHeight = 2048;
constexpr float slopeSpan = 160, rangeSpan = 1200;   // world units per texture unit

// Noise over the picture in world units (cells up the slope, cells along
// the range).
constexpr TiledNoise rockNoise{slopeSpan, rangeSpan};

Colour strataColour(float band)
{
    const Colour palette[5] = {rgb(186, 174, 158), rgb(196, 166, 126), rgb(160, 162, 164), rgb(182, 148, 126),
                               rgb(204, 190, 168)};
    const float f = fract(band) * 5;
    const int i = static_cast<int>(f) % 5;
    return mix(palette[i], palette[(i + 1) % 5], smoothstep(0.55f, 1.0f, f - std::floor(f)));
}

}  // namespace

Image paintMountainRock()
{
    Image image(rockWidth, rockHeight);
    // Relief of the rock (for shading), one value per texel.
    std::vector<float> relief(std::size_t(rockWidth) * rockHeight);
    auto worldU = [](int i) { return (float(i) + 0.5f) / rockWidth * slopeSpan; };
    auto worldV = [](int j) { return (1.0f - (float(j) + 0.5f) / rockHeight) * rangeSpan; };
    for (int j = 0; j < rockHeight; ++j)
        for (int i = 0; i < rockWidth; ++i)
            relief[std::size_t(j) * rockWidth + i] =
                rockNoise(worldU(i), worldV(j), 20, 20, 401, 4) + 0.8f * rockNoise(worldU(i), worldV(j), 80, 40, 411, 2);

    for (int j = 0; j < rockHeight; ++j) {
        const float v = worldV(j);
        for (int i = 0; i < rockWidth; ++i) {
            const float u = worldU(i), s = u / slopeSpan;
            const float h = relief[std::size_t(j) * rockWidth + i];
            // Light falls along the range: shade by the relief's slope in t.
            const int up = (j + rockHeight - 1) % rockHeight, down = (j + 1) % rockHeight;
            const int left = (i + rockWidth - 1) % rockWidth, right = (i + 1) % rockWidth;
            const float slopeT = relief[std::size_t(up) * rockWidth + i] - relief[std::size_t(down) * rockWidth + i];
            const float slopeS = relief[std::size_t(j) * rockWidth + right] - relief[std::size_t(j) * rockWidth + left];
            const float light = 1.0f + 1.3f * slopeT - 0.7f * slopeS;

            // Height zone of the texel, wandering a little along the range.
            const float zone = s + 0.035f * rockNoise(u, v, 40, 40, 402, 2) + 0.02f * h;

            // Rock: strata along the contours, cracks running down the slope.
            const float band = zone * 7.0f + 0.12f * rockNoise(u, v, 40, 40, 403);
            Colour rock = strataColour(band);
            const float bedding = 1.0f - smoothstep(0.0f, 0.09f, std::min(fract(band * 2), 1.0f - fract(band * 2)));
            const float crack = std::pow(1.0f - std::fabs(rockNoise(u, v, 20, 5, 404)), 10.0f) *
                                smoothstep(0.0f, 0.3f, rockNoise(u, v, 40, 40, 412));
            const float grit = rockNoise(u, v, 2.5f, 2.5f, 405) + 0.5f * (hash01(i, j, 406) - 0.5f);
            rock = scaled(rock, (0.88f + 0.2f * h) * light * (1.0f - 0.2f * bedding) * (1.0f - 0.3f * crack) *
                                    (1.0f + 0.07f * grit));

            // Grass: a meadow at the foot, thinning with height, lingering
            // in hollows and on ledges; none on the cliff band.
            const float patch = rockNoise(u, v, 10, 10, 407, 3);
            const float cliff = smoothstep(0.34f, 0.39f, zone) * (1.0f - smoothstep(0.49f, 0.54f, zone));
            float grass = 1.0f - smoothstep(0.22f, 0.36f, zone + 0.08f * patch);
            grass = std::max(grass, smoothstep(0.15f, 0.45f, -h + 0.5f * patch - 0.9f * (zone - 0.5f)) *
                                        (1.0f - smoothstep(0.75f, 0.86f, zone)));
            grass = std::max(grass, 0.7f * bedding * smoothstep(0.2f, 0.5f, patch) * (1.0f - smoothstep(0.7f, 0.85f, zone)));
            grass *= 1.0f - cliff;
            const Colour meadow = mix(rgb(112, 150, 74), rgb(150, 160, 92), smoothstep(-0.3f, 0.5f, patch + zone));
            const Colour turf = scaled(meadow, (0.9f + 0.2f * h) * (1.0f + 0.08f * grit) * (0.92f + 0.08f * light));

            // The weathered crest is paler, patched with lichen.
            const float crestLine = zone + 0.04f * rockNoise(u, v, 10, 10, 408, 2) + 0.04f * h;
            const float crest = smoothstep(0.86f, 0.95f, crestLine);
            const float lichen = smoothstep(0.1f, 0.45f, rockNoise(u, v, 5, 5, 413, 2));
            Colour pale = scaled(rgb(214, 208, 194), (0.9f + 0.2f * h) * light * (1.0f - 0.3f * crack) * (1.0f + 0.08f * grit));
            pale = mix(pale, scaled(rgb(176, 180, 140), 0.95f + 0.1f * grit), 0.5f * lichen);

            Colour c = mix(rock, pale, 0.8f * crest);
            c = mix(c, turf, grass);
            image.at(i, j) = c;
        }
    }

    // Trees and bushes on the foothills, with soft shadows down the slope.
    Random random(409);
    const float texelsPerUnitS = rockWidth / slopeSpan, texelsPerUnitT = rockHeight / rangeSpan;
    for (int n = 0; n < 2400; ++n) {
        const float s = 0.45f * random.uniform() * random.uniform() + 0.02f;
        const float t = random.uniform();
        const float r = random.range(1.6f, 3.4f) * (1.0f - s);
        if (random.uniform() > 1.2f - 2.5f * s + 0.5f * rockNoise(s * slopeSpan, t * rangeSpan, 20, 20, 410))
            continue;
        const float x = s * rockWidth, y = (1.0f - t) * rockHeight;
        const Colour leaf = scaled(mix(rgb(58, 92, 50), rgb(84, 112, 56), random.uniform()), random.range(0.85f, 1.1f));
        stampEllipse(image, x + 1.2f * r * texelsPerUnitS, y + 0.6f, r * texelsPerUnitS * 1.1f, r * texelsPerUnitT,
                     rgb(60, 66, 48), 0.45f, 0.5f, true);
        stampEllipse(image, x, y, r * texelsPerUnitS, r * texelsPerUnitT, leaf, 0.95f, 0.35f, true);
        stampEllipse(image, x - 0.3f * r * texelsPerUnitS, y - 0.3f * r * texelsPerUnitT, 0.5f * r * texelsPerUnitS,
                     0.5f * r * texelsPerUnitT, scaled(leaf, 1.25f), 0.5f, 0.6f, true);
    }
    return image;
}
