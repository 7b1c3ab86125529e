// Small textures of the game's props and effects: the emitter crate's face
// (box_COLOR), the explosion particle's glow (Particle) and the escape
// mode's tunnel picture (tunnel3).
#include "textures/textures.h"

#include <algorithm>

namespace {

constexpr int crateSize = 256;
constexpr float frameWidth = 28, plateSize = 50;

// Colour of the crate's wooden infill at (x, y): horizontal boards and a
// diagonal brace from the lower left to the upper right.
Colour crateWood(float x, float y, int ix, int iy)
{
    const float inner0 = frameWidth, inner1 = crateSize - frameWidth;
    const float boardHeight = (inner1 - inner0) / 5;
    const int board = std::clamp(static_cast<int>((y - inner0) / boardHeight), 0, 4);
    const float inBoard = y - inner0 - board * boardHeight;

    // The brace: distance from the diagonal through the inner corners.
    const float diagonal = ((x - inner0) + (y - inner1)) * 0.70710678f;   // along x = -y + c
    const float across = std::fabs(diagonal);
    const bool brace = across < 17;

    float grainCoordinate, along;
    std::uint32_t seed;
    if (brace) {
        along = ((x - inner0) - (y - inner1)) * 0.70710678f;
        grainCoordinate = diagonal;
        seed = 701;
    } else {
        along = x;
        grainCoordinate = inBoard + board * 37.0f;
        seed = 702 + board;
    }
    const float g = grainCoordinate + 3.0f * gradientNoise(along / 60, grainCoordinate / 40, seed) +
                    1.0f * gradientNoise(along / 14, grainCoordinate / 9, seed + 10);
    const float ring = fract(g / 4.2f);
    const float late = smoothstep(0.6f, 0.85f, ring) * (1.0f - smoothstep(0.9f, 1.0f, ring));
    const float fibre = gradientNoise(along / 30, grainCoordinate / 1.5f, seed + 20);
    const float tint = brace ? 1.08f : 0.9f + 0.07f * float((board * 7) % 5) / 4.0f;
    Colour c = mix(rgb(170, 124, 74), rgb(122, 84, 46), 0.7f * late);
    c = scaled(c, tint * (1.0f + 0.07f * fibre + 0.04f * (hash01(ix, iy, seed + 30) - 0.5f)));
    // Grime gathers toward the frame.
    const float toFrame = std::min({x - inner0, inner1 - x, y - inner0, inner1 - y});
    c = scaled(c, 0.75f + 0.25f * smoothstep(0, 14, toFrame));

    if (brace) {
        // Bevelled long edges of the brace.
        c = scaled(c, 1.0f - 0.35f * smoothstep(13, 17, across) + 0.12f * (1.0f - smoothstep(0, 3, 17 - across)) *
                                                                     (diagonal < 0 ? 1.0f : -1.0f));
    } else {
        // Gaps between the boards, and the brace's shadow on them.
        const float gap = std::min(inBoard, boardHeight - inBoard);
        c = scaled(c, 0.35f + 0.65f * smoothstep(0.5f, 2.5f, gap));
        c = scaled(c, 1.0f - 0.45f * (1.0f - smoothstep(17, 25, std::fabs(diagonal - 6))));
    }
    return c;
}

// Colour of the painted steel frame at (x, y).
Colour crateFrame(float x, float y, int ix, int iy)
{
    const float rim = std::min({x, y, crateSize - x, crateSize - y});
    const bool horizontalBar = std::min(y, crateSize - y) < std::min(x, crateSize - x);
    const float along = horizontalBar ? x : y;
    const float brushed = gradientNoise(along / 40, (horizontalBar ? y : x) / 0.8f, 711);
    Colour c = scaled(rgb(70, 78, 86), 1.0f + 0.08f * brushed + 0.05f * (hash01(ix, iy, 712) - 0.5f));

    // Warning stripes along the middle of each bar.
    const float stripe = fract((x + y) / 22.0f);
    const float band = std::fabs(rim - frameWidth * 0.5f);
    if (band < 7.5f) {
        const Colour paint = stripe < 0.5f ? rgb(214, 170, 40) : rgb(34, 32, 30);
        const float worn = smoothstep(0.25f, 0.55f, gradientFractal(x / 16, y / 16, 3, 713));
        c = mix(c, paint, (1.0f - smoothstep(6.5f, 7.5f, band)) * (1.0f - 0.7f * worn));
    }
    // Bevels: lit outer edge, dark inner edge where the frame meets the wood.
    c = scaled(c, 1.0f + 0.35f * (1.0f - smoothstep(0, 3, rim)) - 0.4f * smoothstep(frameWidth - 4, frameWidth, rim));
    // Chipped, brighter metal at the rim.
    const float chips = smoothstep(0.3f, 0.5f, gradientNoise(x / 5, y / 5, 714)) * (1.0f - smoothstep(2, 6, rim));
    return mix(c, rgb(168, 172, 176), 0.7f * chips);
}

void stampBolt(Image& image, float cx, float cy)
{
    stampDisc(image, cx + 1.2f, cy + 1.4f, 5.2f, rgb(20, 20, 22), 0.6f, 1.5f, false);
    stampDisc(image, cx, cy, 4.6f, rgb(120, 124, 130), 1.0f, 0.8f, false);
    stampDisc(image, cx - 1.0f, cy - 1.0f, 2.6f, rgb(196, 200, 206), 0.7f, 1.2f, false);
    stampDisc(image, cx + 0.8f, cy + 0.8f, 1.2f, rgb(60, 62, 66), 0.5f, 0.8f, false);
}

}  // namespace

Image paintCrateFace()
{
    Image image(crateSize, crateSize);
    for (int iy = 0; iy < crateSize; ++iy) {
        for (int ix = 0; ix < crateSize; ++ix) {
            const float x = float(ix) + 0.5f, y = float(iy) + 0.5f;
            const float rim = std::min({x, y, crateSize - x, crateSize - y});
            image.at(ix, iy) = rim < frameWidth ? crateFrame(x, y, ix, iy) : crateWood(x, y, ix, iy);
        }
    }
    // Corner plates, each held by four bolts.
    for (float px : {0.0f, crateSize - plateSize}) {
        for (float py : {0.0f, crateSize - plateSize}) {
            for (int iy = static_cast<int>(py); iy < static_cast<int>(py + plateSize); ++iy) {
                for (int ix = static_cast<int>(px); ix < static_cast<int>(px + plateSize); ++ix) {
                    const float x = float(ix) + 0.5f - px, y = float(iy) + 0.5f - py;
                    const float edge = std::min({x, y, plateSize - x, plateSize - y});
                    const float light = (x + y < plateSize) ? 0.12f : -0.12f;
                    Colour c = scaled(rgb(128, 134, 140), 1.0f + 0.06f * gradientNoise(ix / 3.0f, iy / 40.0f, 721) +
                                                              0.05f * (hash01(ix, iy, 722) - 0.5f));
                    c = scaled(c, 1.0f + light * (1.0f - smoothstep(0, 3, edge)));
                    image.at(ix, iy) = c;
                }
            }
            for (float bx : {11.0f, plateSize - 11.0f})
                for (float by : {11.0f, plateSize - 11.0f})
                    stampBolt(image, px + bx, py + by);
        }
    }
    // Nails at the ends of every board.
    const float boardHeight = (crateSize - 2 * frameWidth) / 5;
    for (int b = 0; b < 5; ++b) {
        const float y = frameWidth + (b + 0.5f) * boardHeight;
        for (float x : {frameWidth + 7, crateSize - frameWidth - 7}) {
            stampDisc(image, x, y, 2.2f, rgb(50, 48, 46), 0.9f, 0.6f, false);
            stampDisc(image, x - 0.6f, y - 0.6f, 1.0f, rgb(150, 148, 144), 0.7f, 0.5f, false);
        }
    }
    return image;
}

Image paintParticleGlow()
{
    constexpr int size = 128;
    Image image(size, size);
    // A soft round glow that reaches exactly black before the square's
    // edge, so the additive quads show no corners.
    const float edge = std::exp(-5.0f) * 0.7f + std::exp(-20.0f) * 0.3f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = (float(x) + 0.5f) / size * 2 - 1, dy = (float(y) + 0.5f) / size * 2 - 1;
            const float r2 = dx * dx + dy * dy;
            float g = std::exp(-5.0f * r2) * 0.7f + std::exp(-20.0f * r2) * 0.3f;
            g = std::max(0.0f, (g - edge) / (1.0f - edge)) * (1.0f - smoothstep(0.85f, 1.0f, std::sqrt(r2)));
            image.at(x, y) = {g, g, g, 1};
        }
    }
    return image;
}

Image paintTunnel()
{
    constexpr int size = 512;
    Image image(size, size);
    // The picture is stretched over the 800 x 600 screen, so it is laid out
    // in screen units to keep the rings round there.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float sx = ((float(x) + 0.5f) / size - 0.5f) * 800, sy = ((float(y) + 0.5f) / size - 0.5f) * 600;
            const float r = std::sqrt(sx * sx + sy * sy) / 300;
            const float angle = std::atan2(sy, sx) / twoPi + 0.5f;   // 0..1 round the centre
            // Depth into the tunnel: rings equally spaced in depth crowd
            // toward the vanishing point.
            const float depth = 1.0f / (r + 0.04f);
            const float ringPhase = fract(depth * 1.6f);
            const float rings = std::pow(1.0f - std::fabs(ringPhase - 0.5f) * 2, 10.0f);
            // Panel seams along the walls and light streaks rushing outward.
            const float seam = std::pow(1.0f - std::fabs(fract(angle * 16) - 0.5f) * 2, 24.0f);
            const float streak = std::pow(std::max(0.0f, gradientNoise(angle * 64, depth * 0.35f, 731, 64, 0)), 1.5f);
            const float fade = smoothstep(0.02f, 0.22f, r);
            float v = (0.7f * rings + 0.45f * seam + 1.4f * streak) * fade * (0.5f + 0.5f * smoothstep(0.1f, 1.1f, r));
            // The bright far end of the tunnel.
            const float glow = std::exp(-r * r * 40.0f);
            v = std::min(1.0f, v + glow);
            const float walls = 0.12f * smoothstep(0.2f, 1.2f, r);
            image.at(x, y) = {std::min(1.0f, 0.15f * v + glow * 0.8f), std::min(1.0f, 0.55f * v + glow * 0.6f + walls * 0.3f),
                              std::min(1.0f, v + walls), 1};
        }
    }
    return image;
}
