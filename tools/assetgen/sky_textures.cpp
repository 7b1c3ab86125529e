// The sky box's five faces (front_Color, Mback_Color, Mleft_Color,
// right_Color, Mtop), 512 x 512 each. Every texel is coloured from one sky
// model at the directions its part of the box has, so the faces meet
// without seams. The model: a blue gradient over a hazy horizon, the sun
// high ahead and to the right of the start view, a layer of fair-weather
// clouds seen in perspective, a distant hazy range all round but to the
// west, and below the horizon the far land (or, to the west, the open sea)
// fading into haze.
// The game draws the faces modulated by its haze colour (0.62, 0.756, 0.9),
// so the model works in on-screen colours and divides by that colour. The
// faces are smooth enough to be stored run-length encoded.
#include "assetgen.h"
#include "texture_painting.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int skyFaceSize = 512;
const Colour hazeTint = {0.62f, 0.756f, 0.9f, 1.0f};

struct Vec {
    float x, y, z;
};
Vec normalised(Vec v)
{
    const float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}
float dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The sun: 24 degrees up, 30 degrees right of the start view (-z).
const Vec sunDirection = normalised({std::sin(0.5236f) * std::cos(0.4189f), std::sin(0.4189f),
                                     -std::cos(0.5236f) * std::cos(0.4189f)});

// On-screen colours.
const Colour horizonHaze = {0.60f, 0.735f, 0.875f, 1};
const Colour zenithBlue = {0.22f, 0.40f, 0.73f, 1};
const Colour midBlue = {0.36f, 0.54f, 0.82f, 1};

// How far the direction (x, z) lies from the sea wedge round the west
// (0 over the sea, 1 well inland), for the distant ranges and the haze.
float landFactor(float x, float z)
{
    return smoothstep(1.0f, 1.3f, std::atan2(std::fabs(z), -x));
}

// Elevation (as the sine of the angle) of the distant ranges' outline in
// the horizontal direction (x, z).
float rangeOutline(float x, float z, float& nearOutline)
{
    const float around = std::atan2(x, -z) / twoPi + 0.5f;   // 0..1 round the horizon
    const float land = landFactor(x, z);
    const float far = 0.022f + 0.03f * (0.5f + gradientFractal(around * 12, 0.5f, 5, 801, 12, 0)) +
                      0.012f * std::max(0.0f, gradientNoise(around * 40, 0.5f, 802, 40, 0));
    const float near = 0.008f + 0.018f * (0.5f + gradientFractal(around * 20, 3.5f, 5, 803, 20, 0));
    nearOutline = near * land;
    return far * land;
}

Colour cloudLayer(const Vec& d, const Colour& sky)
{
    if (d.y < 0.02f)
        return sky;
    // The cloud deck is a plane one unit above the eye.
    const float px = d.x / d.y, pz = d.z / d.y;
    const float distance = std::sqrt(px * px + pz * pz + 1);
    const float fade = std::exp(-distance / 7.0f);
    if (fade < 0.01f)
        return sky;
    const float wx = px * 1.4f + 0.5f * gradientFractal(px * 0.8f, pz * 0.8f, 2, 811);
    const float wz = pz * 1.4f + 0.5f * gradientFractal(px * 0.8f + 9, pz * 0.8f, 2, 812);
    const int octaves = distance < 4 ? 6 : (distance < 10 ? 5 : 4);
    const float regional = gradientNoise(px * 0.25f, pz * 0.25f, 813);
    const float density = gradientFractal(wx, wz, octaves, 814) + 0.35f * regional - 0.08f;
    const float cover = smoothstep(0.0f, 0.35f, density);
    if (cover <= 0)
        return sky;
    // Lit on the side toward the sun, grey underneath where thick.
    const float towardSun = gradientFractal(wx + sunDirection.x * 0.15f, wz + sunDirection.z * 0.15f, 4, 814);
    const float lit = clamp01(0.65f + 1.8f * (density - towardSun));
    const float thickness = smoothstep(0.2f, 0.7f, density);
    const float sunSide = std::max(0.0f, dot(d, sunDirection));
    Colour cloud = mix(Colour{0.50f, 0.58f, 0.70f, 1}, Colour{0.62f, 0.75f, 0.89f, 1}, lit * (1.0f - 0.5f * thickness));
    cloud = mix(cloud, Colour{0.62f, 0.74f, 0.82f, 1}, 0.5f * std::pow(sunSide, 8.0f));
    // Far clouds sink into the haze.
    cloud = mix(cloud, horizonHaze, 1.0f - std::exp(-distance / 5.0f));
    return mix(sky, cloud, cover * fade * 0.95f);
}

Colour skyAbove(const Vec& d)
{
    const float up = std::max(0.0f, d.y);
    Colour c = mix(horizonHaze, midBlue, smoothstep(0.0f, 0.35f, up));
    c = mix(c, zenithBlue, smoothstep(0.25f, 1.0f, up));
    // Glow about the sun, wide and faint plus narrow and bright.
    const float g = std::max(0.0f, dot(d, sunDirection));
    const Colour glowColour = {0.62f, 0.73f, 0.80f, 1};
    c = mix(c, glowColour, 0.3f * std::pow(g, 12.0f) + 0.6f * std::pow(g, 120.0f));
    c = cloudLayer(d, c);
    // The sun shines through the haze as a bright soft core.
    return mix(c, hazeTint, smoothstep(0.99955f, 0.99985f, g) + 0.5f * std::pow(g, 1500.0f));
}

// The distant land below the horizon, or the open sea to the west.
Colour groundBelow(const Vec& d)
{
    const float down = std::max(1e-4f, -d.y);
    const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
    // The eye stands 40 units above the land; cap the distance far out
    // where the haze hides everything anyway.
    const float reach = std::min(40.0f * horizontal / down, 30000.0f);
    const float px = d.x / horizontal * reach, pz = d.z / horizontal * reach;
    const float detail = std::exp(-reach / 4000.0f);

    // The sea fills a wedge round the west, right from the island's edge
    // (the real shore lies inside the box); its two coasts run out from
    // the island and wander with distance.
    const float radius = std::max(1.0f, std::sqrt(px * px + pz * pz));
    const float fromWest = std::atan2(std::fabs(pz), -px);   // 0 due west .. pi due east
    const float coast = 0.9f + 0.14f * gradientNoise(radius / 450, pz > 0 ? 0.5f : 5.5f, 821) +
                        0.05f * gradientNoise(radius / 90, pz > 0 ? 2.5f : 7.5f, 826);
    const float seaShare = smoothstep(coast + 6 / radius, coast - 6 / radius, fromWest);
    const float beachShare = (1.0f - seaShare) * smoothstep(coast + 30 / radius, coast + 16 / radius, fromWest);

    // The land's colours are those of the lit ground at the box's edge, so
    // the painted land carries on from the real one.
    const float fields = gradientFractal(px / 420, pz / 420, 3, 822);
    const float woods = smoothstep(0.1f, 0.35f, gradientFractal(px / 260 + 7, pz / 260, 3, 823));
    Colour land = mix(Colour{0.19f, 0.26f, 0.11f, 1}, Colour{0.25f, 0.30f, 0.13f, 1}, smoothstep(-0.4f, 0.4f, fields) * detail);
    land = mix(land, Colour{0.12f, 0.19f, 0.09f, 1}, 0.8f * woods * detail);
    const float close = std::exp(-reach / 700.0f);   // fine detail only near the island
    land = scaled(land, 1.0f + 0.12f * close * gradientFractal(px / 40, pz / 40, 2, 827));
    land = mix(land, Colour{0.42f, 0.39f, 0.28f, 1}, beachShare);

    // Near the island the sea has the colour of the real water's far side,
    // deepening with distance.
    Colour sea = mix(Colour{0.15f, 0.38f, 0.47f, 1}, Colour{0.10f, 0.28f, 0.39f, 1}, smoothstep(200.0f, 1500.0f, reach));
    sea = scaled(sea, 1.0f + 0.08f * detail * gradientNoise(px / 90, pz / 300, 824));
    // Wave crests catch the light near the island, like the real water's.
    const float crests = std::pow(std::max(0.0f, 1.0f - 2.0f * std::fabs(gradientNoise(px / 30, pz / 70, 828))), 5.0f);
    sea = mix(sea, Colour{0.40f, 0.62f, 0.68f, 1}, 0.35f * crests * close);
    // Sun glitter on the water, toward the sun.
    const Vec mirrored = {d.x, -d.y, d.z};
    const float glint = std::pow(std::max(0.0f, dot(mirrored, sunDirection)), 60.0f);
    const float sparkle = smoothstep(0.1f, 0.6f, gradientNoise(px / 6, pz / 25, 825));
    sea = mix(sea, hazeTint, glint * (0.35f + 0.65f * sparkle));

    Colour c = mix(land, sea, seaShare);
    // Over land the distant ranges close the view before the haze is
    // complete; over the sea it runs on to the horizon.
    const float haze = 1.0f - std::exp(-std::max(0.0f, reach - 220.0f) / 1400.0f);
    return mix(c, horizonHaze, haze * (1.0f - 0.45f * landFactor(d.x, d.z) * (1.0f - seaShare)));
}

Colour skyScreenColour(const Vec& d)
{
    const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
    const float elevation = d.y / std::max(1e-6f, horizontal);   // tangent of the angle above the horizon
    float nearOutline = 0;
    const float farOutline = rangeOutline(d.x, d.z, nearOutline);
    if (elevation < 0)
        return groundBelow(d);
    if (elevation < nearOutline) {
        // The nearer range: darker, bluish, mottled with forest.
        const float k = elevation / std::max(1e-6f, nearOutline);
        const Colour hills = {0.36f, 0.47f, 0.56f, 1};
        const float mottle = gradientNoise(d.x / horizontal * 60, elevation * 600, 831);
        return mix(mix(hills, horizonHaze, 0.35f + 0.25f * k), horizonHaze, 0.1f * mottle);
    }
    if (elevation < farOutline)
        return mix(Colour{0.47f, 0.59f, 0.73f, 1}, horizonHaze, 0.45f + 0.3f * elevation / farOutline);
    return skyAbove(d);
}

}  // namespace

SkyDirection skyFacePoint(SkyFace face, float s, float t)
{
    const float a = -1 + 2 * s, b = -1 + 2 * t;
    switch (face) {
    case SkyFace::front: return {a, b, -1};
    case SkyFace::back: return {a, b, 1};
    case SkyFace::left: return {-1, b, a};
    case SkyFace::right: return {1, b, a};
    case SkyFace::top: return {a, 1, -b};
    }
    return {0, 1, 0};
}

Colour skyTextureColour(SkyDirection direction)
{
    const Colour c = skyScreenColour(normalised({direction.x, direction.y, direction.z}));
    return {clamp01(c.r / hazeTint.r), clamp01(c.g / hazeTint.g), clamp01(c.b / hazeTint.b), 1};
}

Image paintSkyFace(SkyFace face, int size)
{
    // Each texel is the mean of the model at four points spread over it, so
    // the clouds' fine detail is smoothed rather than aliased into speckle.
    constexpr float spread[2] = {0.25f, 0.75f};
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Colour sum = {0, 0, 0, 0};
            for (float dy : spread)
                for (float dx : spread) {
                    // Row 0 is the top of the picture, t = 1.
                    const float s = (float(x) + dx) / size, t = 1.0f - (float(y) + dy) / size;
                    const Colour c = skyTextureColour(skyFacePoint(face, s, t));
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
                }
            image.at(x, y) = {sum.r / 4, sum.g / 4, sum.b / 4, sum.a / 4};
        }
    }
    return image;
}

bool generateSkyTextures(const std::string& root)
{
    const struct {
        SkyFace face;
        const char* file;
    } faces[] = {{SkyFace::front, "front_Color.tga"}, {SkyFace::back, "Mback_Color.tga"},
                 {SkyFace::top, "Mtop.tga"},          {SkyFace::left, "Mleft_Color.tga"},
                 {SkyFace::right, "right_Color.tga"}};
    bool ok = true;
    for (const auto& f : faces)
        ok = saveTgaCompressed(paintSkyFace(f.face, skyFaceSize), root + "/Textures/" + f.file) && ok;
    return ok;
}
