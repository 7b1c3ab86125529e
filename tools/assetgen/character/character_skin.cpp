// The character's skin: every body part is painted into its own region of a
// 512 x 512 atlas. Each texel is traced back to the point of the rest-pose
// surface it covers, so the painting works in body coordinates (the eyes
// sit at a height and a distance from the middle of the face) and carries a
// little baked light, since the game draws the model unlit.
#include "character/character_model.h"

#include <algorithm>
#include <numbers>

namespace character {
namespace {

constexpr float pi = std::numbers::pi_v<float>;

const Colour skinTone{0.86f, 0.63f, 0.49f};
const Colour hair{0.13f, 0.09f, 0.07f};
const Colour suit{0.11f, 0.13f, 0.2f};
const Colour armour{0.2f, 0.46f, 0.56f};
const Colour accent{1.0f, 0.52f, 0.1f};
const Colour gold{0.9f, 0.7f, 0.25f};
const Colour leather{0.3f, 0.19f, 0.11f};
const Colour boot{0.2f, 0.17f, 0.16f};
const Colour rubber{0.1f, 0.1f, 0.11f};
const Colour glow{0.4f, 0.95f, 1.0f};

// Coverage of the interval [a, b] at x, with soft edges.
float band(float x, float a, float b, float soft = 0.04f)
{
    return smoothstep(a - soft, a + soft, x) * (1 - smoothstep(b - soft, b + soft, x));
}
// Coverage of an ellipse of radii (ry, rz) around its centre.
float ellipse(float dy, float dz, float ry, float rz, float soft = 0.04f)
{
    const float d = std::sqrt((dy / ry) * (dy / ry) + (dz / rz) * (dz / rz));
    const float r = std::min(ry, rz);
    return 1 - smoothstep(1 - soft / r, 1 + soft / r, d);
}
// A thin line at distance 0 of a signed distance `d`.
float line(float d, float width = 0.06f, float soft = 0.035f) { return 1 - smoothstep(width - soft, width + soft, std::fabs(d)); }

Colour over(Colour base, Colour paint, float coverage) { return mix(base, paint, clamp01(coverage)); }

// A recessed panel line: dark groove with a lit lower lip.
Colour groove(Colour c, float d, float width = 0.07f)
{
    c = scaled(c, 1 - 0.55f * line(d, width));
    return scaled(c, 1 + 0.25f * line(d + width * 2.2f, width * 0.8f));
}

float grain(Vec3 p, float size, std::uint32_t seed)
{
    return fractalNoise(p.y * size + p.x * size * 0.7f, p.z * size, 3, seed);
}

Colour paintHead(Vec3 p, float theta)
{
    const float ay = std::fabs(p.y), a = std::fabs(theta);
    Colour c = scaled(skinTone, 0.96f + 0.08f * grain(p, 3, 11));
    // Cheeks and jaw.
    c = over(c, {0.9f, 0.5f, 0.42f}, 0.25f * ellipse(ay - 2.5f, p.z - 25.6f, 1.1f, 0.8f, 0.6f));
    c = over(c, scaled(skinTone, 0.88f), 0.5f * band(p.z, 21, 23.2f, 0.4f));
    if (p.x > 0.5f) {
        // Eyebrows, eyes, nose, mouth, war paint.
        // Eyebrows arch gently over the eyes and thin out toward the temples.
        const float archK = (ay - 1.7f) / 1.15f;
        const float browZ = 28.2f + 0.22f * (1 - archK * archK);
        const float browHalf = 0.17f - 0.06f * std::max(0.0f, archK);
        c = over(c, hair, band(ay, 0.6f, 2.8f, 0.12f) * band(p.z - browZ, -browHalf, browHalf, 0.05f));
        const float ey = ay - 1.65f, ez = p.z - 27.25f;
        const float lid = 0.43f * (1 - (ey / 1.0f) * (ey / 1.0f));
        const float white = (std::fabs(ey) < 1.0f) ? band(ez, -lid * 0.8f, lid, 0.04f) : 0.0f;
        c = over(c, {0.95f, 0.93f, 0.9f}, white);
        const float iris = white * ellipse(ey + 0.05f, ez, 0.4f, 0.4f);
        c = over(c, {0.15f, 0.55f, 0.6f}, iris);
        c = over(c, {0.08f, 0.28f, 0.35f}, iris * (1 - ellipse(ey + 0.05f, ez, 0.32f, 0.32f, 0.1f)));
        c = over(c, {0.02f, 0.02f, 0.03f}, white * ellipse(ey + 0.05f, ez, 0.17f, 0.17f));
        c = over(c, {1, 1, 1}, 0.9f * ellipse(ey + 0.18f, ez - 0.14f, 0.07f, 0.07f, 0.03f));
        if (std::fabs(ey) < 1.15f) {
            c = over(c, {0.18f, 0.1f, 0.08f}, line(ez - lid, 0.07f));
            c = over(c, scaled(skinTone, 0.75f), 0.6f * line(ez + lid * 0.8f + 0.02f, 0.04f));
        }
        c = over(c, {0.25f, 0.12f, 0.1f}, 0.8f * ellipse(ay - 0.38f, p.z - 25.02f, 0.22f, 0.12f));
        const float mouthHalf = 1.35f;
        if (ay < mouthHalf + 0.1f) {
            const float k = 1 - (ay / mouthHalf) * (ay / mouthHalf);
            c = over(c, {0.72f, 0.36f, 0.33f}, band(p.z, 23.95f, 23.95f + 0.3f * k, 0.05f));
            c = over(c, {0.78f, 0.44f, 0.4f}, band(p.z, 23.95f - 0.36f * k, 23.95f, 0.05f));
            c = over(c, {0.3f, 0.12f, 0.1f}, line(p.z - 23.95f, 0.045f) * smoothstep(mouthHalf, mouthHalf - 0.2f, ay));
        }
        for (float z : {26.25f, 26.6f})
            c = over(c, accent, 0.9f * band(ay, 1.25f, 3.3f, 0.08f) * line(p.z - z - 0.1f * (ay - 1.25f), 0.07f));
    }
    // Ears: a darker hollow inside a lighter rim.
    const float earT = std::min(std::fabs(theta - pi / 2), std::fabs(theta + pi / 2));
    const float earX = p.x + 0.1f;   // the ear's middle, just behind the cheek
    c = over(c, scaled(skinTone, 0.62f), 0.7f * (earT < 0.5f ? ellipse(earX, p.z - 26.3f, 0.55f, 0.85f, 0.15f) : 0));
    c = over(c, scaled(skinTone, 1.05f), 0.5f * (earT < 0.5f ? line(std::hypot(earX / 0.85f, (p.z - 26.3f) / 1.15f) - 1, 0.12f) : 0));
    // Hair: short at the front, down to the nape at the back.
    // Level over the brow, dipping to the temples, up over the ears, then
    // straight down behind them to the nape.
    const float hairline = a < 0.9f    ? 29.8f
                           : a < 1.3f  ? 29.8f - (a - 0.9f) * 3.5f
                           : a < 1.85f ? 28.4f
                           : a < 2.15f ? 28.4f - (a - 1.85f) * 14.0f
                                       : 24.2f;
    const float ear = band(earT, -1, 0.3f, 0.05f) * band(p.z, 24.5f, 28.2f, 0.2f);
    const float strands = 0.15f * fractalNoise(theta * 12, p.z * 2.5f, 3, 21);
    c = over(c, scaled(hair, 0.85f + 0.6f * strands + 0.4f * grain(p, 14, 5)),
             smoothstep(hairline - 0.1f, hairline + 0.1f, p.z + strands * 2) * (1 - ear));
    // A gold circlet with a glowing stone over the brow.
    c = over(c, scaled(gold, 0.9f + 0.2f * grain(p, 6, 8)), band(p.z, 29.3f, 29.85f, 0.04f));
    c = groove(c, p.z - 29.3f, 0.03f);
    c = over(c, glow, p.x > 0 ? ellipse(p.y, p.z - 29.57f, 0.32f, 0.3f) : 0);
    c = over(c, gold, p.x > 0 ? 0.8f * line(std::hypot(p.y, p.z - 29.57f) - 0.36f, 0.05f) : 0);
    return c;
}

Colour paintNeck(Vec3 p)
{
    Colour c = scaled(skinTone, 0.92f);
    return over(c, suit, smoothstep(20.3f, 20.1f, p.z));
}

Colour paintTorso(Vec3 p, float theta)
{
    const float ay = std::fabs(p.y), a = std::fabs(theta);
    Colour c = scaled(suit, 0.9f + 0.25f * grain(p, 8, 31));
    // Chest plate with a raised rim, a centre seam and the emblem.
    const float plate = (p.x > 0 ? 1.0f : 0.0f) * band(p.z, 11.6f, 18.3f, 0.06f) *
                        (1 - smoothstep(5.6f - 0.1f * (18 - p.z), 5.8f - 0.1f * (18 - p.z), ay));
    c = over(c, scaled(armour, 0.9f + 0.2f * grain(p, 5, 32)), plate);
    c = groove(c, p.y, 0.05f);
    c = groove(c, p.z - 14.2f, 0.05f);
    c = groove(c, p.z - 11.7f);
    c = over(c, accent, band(p.z, 17.3f, 17.8f, 0.05f) * band(ay, 1.6f, 5.2f) * (p.x > 0 ? 1 : 0));
    const float r = std::hypot(p.y, p.z - 15.8f);
    if (p.x > 0) {
        c = over(c, {0.05f, 0.05f, 0.07f}, 1 - smoothstep(1.1f, 1.16f, r));
        c = over(c, accent, 1 - smoothstep(0.7f, 0.76f, r));
        c = over(c, {1.0f, 0.9f, 0.5f}, 1 - smoothstep(0.3f, 0.45f, r));
        c = over(c, gold, line(r - 1.13f, 0.05f));
    }
    // Segmented belly plates.
    const float belly = (p.x > 0 ? 1.0f : 0.0f) * band(p.z, 5.0f, 11.4f) * band(ay, -1, 3.6f, 0.06f);
    c = over(c, scaled(armour, 0.8f), belly);
    for (float z : {7.0f, 9.2f, 11.4f})
        c = groove(c, (p.z - z) * belly + (1 - belly));
    // Collar, back plate and side stripes.
    c = over(c, armour, smoothstep(18.6f, 18.8f, p.z));
    c = over(c, gold, line(p.z - 18.7f, 0.05f));
    const float back = (p.x < 0 ? 1.0f : 0.0f) * band(p.z, 8.5f, 17.4f) * band(ay, -1, 4.0f);
    c = over(c, scaled(armour, 0.75f), back);
    for (float z : {10.0f, 10.8f, 11.6f})
        c = groove(c, (p.z - z) * back + (1 - back), 0.06f);
    c = over(c, accent, band(a, pi / 2 - 0.08f, pi / 2 + 0.08f, 0.02f) * band(p.z, 4, 11.2f));
    return c;
}

Colour paintPelvis(Vec3 p)
{
    const float ay = std::fabs(p.y);
    Colour c = scaled(suit, 0.85f + 0.25f * grain(p, 8, 41));
    c = over(c, scaled(leather, 0.9f + 0.3f * grain(p, 12, 42)), band(p.z, 1.6f, 3.8f));
    c = groove(c, p.z - 1.65f, 0.04f);
    const float buckle = p.x > 0 ? band(ay, -1, 1.0f) * band(p.z, 1.5f, 3.9f) : 0.0f;
    c = over(c, gold, buckle);
    c = over(c, scaled(gold, 0.5f), buckle * band(ay, -1, 0.6f) * band(p.z, 2.1f, 3.3f));
    // Hip plates on the outside of each hip.
    const float hipPlate = band(ay, 4.2f, 9, 0.08f) * band(p.z, -3.5f, 1.2f, 0.06f);
    c = over(c, scaled(armour, 0.8f + 0.2f * grain(p, 5, 43)), hipPlate);
    c = groove(c, (p.z + 1.2f) * hipPlate + (1 - hipPlate), 0.05f);
    return c;
}

Colour paintLimb(Region region, Vec3 p, float theta, float v)
{
    const float a = std::fabs(theta);
    const float front = 1 - smoothstep(1.0f, 1.25f, a);
    const float outer = 1 - smoothstep(0.2f, 0.35f, std::fabs(theta - pi / 2));
    Colour c = scaled(suit, 0.9f + 0.25f * grain(p, 8, 51));
    switch (region) {
    case Region::UpperArm: {
        const float pad = smoothstep(16.3f, 16.5f, p.z);
        c = over(c, scaled(armour, 0.95f + 0.2f * grain(p, 5, 52)), pad);
        c = over(c, accent, band(p.z, 16.6f, 17.1f) * pad);
        c = groove(c, p.z - 18.0f, 0.05f);
        c = over(c, gold, band(p.z, 11.8f, 12.3f));
        break;
    }
    case Region::Forearm: {
        const float gauntlet = band(p.z, 0.6f, 5.6f, 0.06f);
        c = over(c, scaled(armour, 0.9f + 0.2f * grain(p, 5, 53)), gauntlet);
        c = over(c, accent, gauntlet * outer * band(p.z, 1.4f, 4.8f));
        c = groove(c, p.z - 3.1f, 0.05f);
        c = over(c, scaled(leather, 0.7f), band(p.z, -1, 0.6f, 0.06f));
        break;
    }
    case Region::Hand: {
        c = scaled(leather, 0.85f + 0.3f * grain(p, 10, 54));
        c = over(c, {0.45f, 0.47f, 0.5f}, band(p.z, -3.2f, -2.4f) * (1 - smoothstep(0.35f, 0.6f, std::fabs(a - pi / 2))));
        for (float x : {-0.55f, 0.05f, 0.65f})
            c = scaled(c, 1 - 0.5f * line(p.x - x, 0.05f) * smoothstep(-3.1f, -3.4f, p.z));
        break;
    }
    case Region::Thigh: {
        const float plate = front * band(p.z, -9.5f, -2.2f, 0.06f);
        c = over(c, scaled(armour, 0.9f + 0.2f * grain(p, 5, 55)), plate);
        c = groove(c, p.z - 5.8f, 0.05f);
        c = over(c, accent, outer * band(p.z, -10.5f, -0.5f) * band(std::fabs(theta - pi / 2), -1, 0.12f, 0.02f));
        break;
    }
    case Region::Shin: {
        // Knee cap and shin guard, with a gold rim under the knee.
        c = over(c, scaled(armour, 0.9f + 0.2f * grain(p, 5, 56)), front * band(p.z, -17.0f, -11.5f, 0.06f));
        c = over(c, gold, front * line(p.z + 13.9f, 0.07f));
        c = groove(c, p.z + 15.6f, 0.05f);
        const float shaft = smoothstep(-17.0f, -17.2f, p.z);
        c = over(c, scaled(boot, 0.9f + 0.3f * grain(p, 9, 57)), shaft);
        c = over(c, accent, band(p.z, -17.8f, -17.4f));
        break;
    }
    case Region::Foot: {
        c = scaled(boot, 0.9f + 0.3f * grain(p, 9, 58));
        c = over(c, {0.32f, 0.3f, 0.3f}, smoothstep(3.2f, 3.6f, p.x) * smoothstep(-23.3f, -23.0f, p.z));
        c = over(c, accent, band(p.x, 0.6f, 1.3f) * smoothstep(-22.9f, -22.6f, p.z));
        const float sole = smoothstep(-23.35f, -23.5f, p.z);
        c = over(c, scaled(rubber, 1 + 0.5f * std::sin(p.x * 9)), sole);
        break;
    }
    default:
        break;
    }
    // Soft darkening where the part tucks into its neighbour.
    return scaled(c, 0.8f + 0.2f * smoothstep(0.0f, 0.08f, v) * smoothstep(1.0f, 0.92f, v));
}

Colour paint(const PartShape& part, Vec3 p, float theta, float v)
{
    switch (part.region) {
    case Region::Head: return paintHead(p, theta);
    case Region::Neck: return paintNeck(p);
    case Region::Torso: return paintTorso(p, theta);
    case Region::Pelvis: return paintPelvis(p);
    default: return paintLimb(part.region, p, theta, v);
    }
}

// Baked light: a key light from the front and above, and some ambient.
float light(Vec3 n)
{
    const Vec3 key = normalized({0.65f, 0.15f, 0.75f});
    const float diffuse = std::max(0.0f, dot(n, key));
    const float sky = 0.5f + 0.5f * n.z;
    return 0.5f + 0.55f * diffuse + 0.12f * sky;
}

}  // namespace

Image paintSkin(const std::vector<PartShape>& parts)
{
    Image image(skinSize, skinSize, {0.1f, 0.1f, 0.12f, 1});
    for (const PartShape& part : parts) {
        if (!part.paintsRect)
            continue;
        const std::vector<float> vs = ringV(part);
        const Rect& r = part.rect;
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x) {
                Colour sum{0, 0, 0, 0};
                for (int sample = 0; sample < 4; ++sample) {
                    const float sx = x + 0.25f + 0.5f * (sample & 1), sy = y + 0.25f + 0.5f * (sample >> 1);
                    const float u = clamp01((sx - r.x - 1) / (r.w - 2));
                    const float v = clamp01((sy - r.y - 1) / (r.h - 2));
                    const float theta = thetaOfU(part, u);
                    const float t = tOfV(part, vs, v);
                    const Vec3 p = surfacePoint(part, theta, t);
                    const Colour c = scaled(paint(part, p, theta, v), light(surfaceNormal(part, theta, t)));
                    sum = {sum.r + c.r * 0.25f, sum.g + c.g * 0.25f, sum.b + c.b * 0.25f, 1};
                }
                image.at(x, y) = sum;
            }
        }
    }
    return image;
}

}  // namespace character
