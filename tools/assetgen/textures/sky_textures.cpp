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
#include "textures/textures.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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

// The ground slab's picture (x -525..550, z -550..550) as the game shows it
// at the foot of the box's walls: the slab is lit by the ambient 0.5 and a
// trace of the low yellow light (about 0.04 that far out), which leaves
// 0.54 of the texture's red and green and 0.5 of its blue. Kept as a chain
// of ever halved pictures, so far ground is sampled as smoothly as the
// screen shows it.
class LitGround {
public:
    LitGround()
    {
        Image picture = paintGround();
        for (Colour& c : picture.pixels)
            c = {clamp01(c.r) * 0.54f, clamp01(c.g) * 0.54f, clamp01(c.b) * 0.5f, 1};
        levels.push_back(std::move(picture));
        while (levels.back().width > 1)
            levels.push_back(reduced(levels.back(), 2, 2));
        mean = levels.back().at(0, 0);
    }
    // The lit ground at world (x, z) seen from the middle, averaged over
    // about `footprint` units; beyond the slab's edges the picture is
    // mirrored, so it carries on without a break.
    Colour at(float x, float z, float footprint) const
    {
        const float level = std::clamp(std::log2(std::max(1.0f, footprint / unit)), 0.0f, float(levels.size() - 1));
        const int lower = std::min(int(level), int(levels.size()) - 2);
        return mix(sample(levels[lower], x, z), sample(levels[lower + 1], x, z), level - float(lower));
    }
    Colour mean;

private:
    static constexpr float xMin = -525, xSpan = 1075, zMin = -550, zSpan = 1100;
    static constexpr float unit = xSpan / 1024;   // one texel of the full picture
    std::vector<Image> levels;

    static float mirrored(float u)   // u in picture widths, folded into 0..1
    {
        const float f = u - 2 * std::floor(u / 2);
        return f > 1 ? 2 - f : f;
    }
    static Colour sample(const Image& image, float x, float z)
    {
        // Rows run along x, columns along z; bilinear between texel centres.
        const float row = mirrored((x - xMin) / xSpan) * image.height - 0.5f;
        const float col = mirrored((z - zMin) / zSpan) * image.width - 0.5f;
        const int r0 = int(std::floor(row)), c0 = int(std::floor(col));
        const float fr = row - float(r0), fc = col - float(c0);
        auto texel = [&](int c, int r) {
            return image.at(std::clamp(c, 0, image.width - 1), std::clamp(r, 0, image.height - 1));
        };
        return mix(mix(texel(c0, r0), texel(c0 + 1, r0), fc), mix(texel(c0, r0 + 1), texel(c0 + 1, r0 + 1), fc), fr);
    }
};

const LitGround& litGround()
{
    static const LitGround ground;
    return ground;
}

// The distant land below the horizon, or the open sea to the west. The
// land's first stretch, from the box's walls, is the slab itself as seen
// from the middle, so the painted land carries on from the real one with
// its colour, light and texture; farther out it turns into fields and
// woods of the same mean colour. `texelAngle` is the angle one texel spans,
// `radialShare` the part of it across the view (1 for a single sample).
Colour groundBelow(const Vec& d, float texelAngle, float radialShare)
{
    const float down = std::max(1e-4f, -d.y);
    const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
    // The eye stands 40 units above the land; cap the distance far out
    // where the haze hides everything anyway.
    const float reach = std::min(40.0f * horizontal / down, 30000.0f);
    const float px = d.x / horizontal * reach, pz = d.z / horizontal * reach;
    // Where the ray passes the box's walls (half-size 256) above the land.
    const float wall = 256.0f * horizontal / std::max(std::fabs(d.x), std::fabs(d.z));
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

    // The slab, sampled over the ground one texel covers: across the view
    // it spans reach times the angle, along it reach squared over the eye
    // height times the angle.
    const LitGround& ground = litGround();
    const float footprint = std::max(reach * texelAngle, radialShare * reach * reach / 40.0f * texelAngle);
    const Colour slab = ground.at(px, pz, footprint);
    // Farther out, before the sand and scree of the slab's rims: fields and
    // woods round the slab's mean colour.
    const float fields = gradientFractal(px / 420, pz / 420, 3, 822);
    const float woods = smoothstep(0.1f, 0.35f, gradientFractal(px / 260 + 7, pz / 260, 3, 823));
    Colour far = scaled(ground.mean, 1.0f + 0.12f * smoothstep(-0.4f, 0.4f, fields) * detail - 0.06f);
    far = mix(far, scaled(ground.mean, 0.7f), 0.7f * woods * detail);
    Colour land = mix(slab, far, smoothstep(380.0f, 480.0f, reach));
    land = mix(land, Colour{0.42f, 0.39f, 0.28f, 1}, beachShare);

    // Near the island the sea has the colour of the real water's far side,
    // deepening with distance.
    const float close = std::exp(-reach / 700.0f);
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

    // Where the real ground stops at the walls, over the sea, the ground
    // runs on a little to a wandering shore of sand and surf, so it ends at
    // a coast rather than at a straight cut.
    const float shore = wall + 12 + 9 * gradientFractal(px / 60, pz / 60, 3, 829);
    const float sand = 1.0f - smoothstep(shore + 6, shore + 16, reach);
    const float surf = smoothstep(0.3f, 0.9f, 1.0f - std::fabs(reach - shore - 18) / 5);
    sea = mix(sea, Colour{0.50f, 0.62f, 0.62f, 1}, 0.5f * surf);
    sea = mix(sea, scaled(Colour{0.42f, 0.39f, 0.28f, 1}, 1.0f + 0.1f * gradientNoise(px / 8, pz / 8, 830)), sand);
    const float seaHere = seaShare * smoothstep(shore - 2, shore + 2, reach);

    Colour c = mix(land, sea, seaHere);
    // The haze starts at the walls, where the real ground stops; over land
    // the distant ranges close the view before it is complete, over the
    // sea it runs on to the horizon.
    const float haze = 1.0f - std::exp(-std::max(0.0f, reach - wall) / 1400.0f);
    return mix(c, horizonHaze, haze * (1.0f - 0.45f * landFactor(d.x, d.z) * (1.0f - seaHere)));
}

Colour skyScreenColour(const Vec& d, float texelAngle, float radialShare)
{
    const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
    const float elevation = d.y / std::max(1e-6f, horizontal);   // tangent of the angle above the horizon
    float nearOutline = 0;
    const float farOutline = rangeOutline(d.x, d.z, nearOutline);
    if (elevation < 0)
        return groundBelow(d, texelAngle, radialShare);
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

namespace {

// The texture colour along `direction` (a point of the box of half-size 1)
// for a sample that spans `spread` face units across and `radialShare`
// times that along the view's depth.
Colour sampleColour(SkyDirection direction, float spread, float radialShare)
{
    const Vec d = {direction.x, direction.y, direction.z};
    const float length = std::sqrt(dot(d, d));
    const Colour c = skyScreenColour(normalised(d), spread / length, radialShare);
    return {clamp01(c.r / hazeTint.r), clamp01(c.g / hazeTint.g), clamp01(c.b / hazeTint.b), 1};
}

}  // namespace

Colour skyTextureColour(SkyDirection direction)
{
    return sampleColour(direction, 2.0f / skyFaceSize, 1.0f);
}

Image paintSkyFace(SkyFace face, int size)
{
    // Each texel is the mean of the model at points spread over it, so the
    // clouds' fine detail is smoothed rather than aliased into speckle: two
    // by two, and two across by eight down in the strip of land just below
    // the horizon, where the ground is seen so flat that one texel row
    // spans many units of it.
    constexpr float across[2] = {0.25f, 0.75f};
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        const float rowMiddle = 1.0f - 2.0f * (float(y) + 0.5f) / size;   // -1 .. 1 down the face
        const int down = face != SkyFace::top && rowMiddle < 0 && rowMiddle > -0.3f ? 8 : 2;
        for (int x = 0; x < size; ++x) {
            Colour sum = {0, 0, 0, 0};
            for (int j = 0; j < down; ++j)
                for (float dx : across) {
                    // Row 0 is the top of the picture, t = 1.
                    const float dy = (float(j) + 0.5f) / float(down);
                    const float s = (float(x) + dx) / size, t = 1.0f - (float(y) + dy) / size;
                    const Colour c = sampleColour(skyFacePoint(face, s, t), 1.0f / size, 2.0f / float(down));
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
                }
            const float n = float(2 * down);
            image.at(x, y) = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
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
