// The character's body parts in the rest pose and the triangle mesh made from
// them. Every part is a closed loft of superellipse rings around an axis,
// ending in a pole at each end, and rides rigidly on one bone; neighbouring
// parts overlap at the joints so that bending never opens a gap.
#include "character/character_model.h"

#include <algorithm>
#include <map>
#include <numbers>
#include <utility>

namespace character {
namespace {

constexpr float pi = std::numbers::pi_v<float>;

float gauss(float x, float width) { return std::exp(-(x / width) * (x / width)); }

// Piecewise-linear profile through (z, value) points, zero outside them.
float profile(float z, std::initializer_list<std::pair<float, float>> points)
{
    const std::pair<float, float>* prev = nullptr;
    for (const auto& p : points) {
        if (prev && ((z <= prev->first && z >= p.first) || (z >= prev->first && z <= p.first))) {
            const float span = p.first - prev->first;
            const float k = span != 0 ? (z - prev->first) / span : 0;
            return prev->second + (p.second - prev->second) * k;
        }
        prev = &p;
    }
    return 0;
}

// Relief of the face: nose, brow, eye sockets, lips, chin, ears and the
// back of the skull. The head's axis points down from the crown, so t = -z.
float headRelief(float theta, float t)
{
    const float z = -t;
    float r = 0;
    r += gauss(theta, 0.2f) * profile(z, {{28.0f, 0}, {27.2f, 0.25f}, {25.6f, 1.05f}, {25.0f, 0.55f}, {24.6f, 0}});
    r += gauss(theta, 0.75f) * profile(z, {{29.2f, 0}, {28.4f, 0.3f}, {27.7f, 0}});
    r -= (gauss(theta - 0.42f, 0.2f) + gauss(theta + 0.42f, 0.2f)) *
         profile(z, {{28.2f, 0}, {27.3f, 0.35f}, {26.4f, 0}});
    r += gauss(theta, 0.38f) * profile(z, {{24.8f, 0}, {24.4f, 0.2f}, {23.6f, 0.25f}, {23.1f, 0}});
    r += gauss(theta, 0.45f) * profile(z, {{23.2f, 0}, {22.6f, 0.35f}, {22.0f, 0.2f}});
    r += (gauss(theta - pi / 2, 0.25f) + gauss(theta + pi / 2, 0.25f)) *
         profile(z, {{28.0f, 0}, {27.3f, 0.55f}, {25.4f, 0.45f}, {24.6f, 0}});
    return r;
}

// Ribs of the chest plate and a ridge down the spine.
float torsoRelief(float theta, float t)
{
    const float z = -t;
    return gauss(theta, 0.55f) * profile(z, {{17.5f, 0}, {15.5f, 0.35f}, {12.5f, 0.3f}, {11.0f, 0}}) +
           (gauss(theta - pi, 0.3f) + gauss(theta + pi, 0.3f)) * profile(z, {{18.0f, 0}, {14.0f, 0.25f}, {8.0f, 0}});
}

struct ZRing {
    float z, depth, width, forward = 0, square = 2;
};

// A part hanging along -z from the given place; rings are listed top down.
PartShape vertical(Region region, int bone, float y, int sides, std::initializer_list<ZRing> rings, Rect rect)
{
    PartShape part;
    part.region = region;
    part.bone = bone;
    part.origin = {0, y, 0};
    part.axis = {0, 0, -1};
    part.side1 = {1, 0, 0};
    part.side2 = {0, 1, 0};
    part.sides = sides;
    part.rect = rect;
    for (const ZRing& r : rings)
        part.rings.push_back({-r.z, r.depth, r.width, r.forward, 0, r.square});
    return part;
}

Vec3 mirrorY(Vec3 v) { return {v.x, -v.y, v.z}; }

// The right-hand twin of a left-side part, sharing its atlas region.
PartShape mirrored(PartShape part, int bone)
{
    part.bone = bone;
    part.origin = mirrorY(part.origin);
    part.axis = mirrorY(part.axis);
    part.side1 = mirrorY(part.side1);
    part.side2 = mirrorY(part.side2);
    part.paintsRect = false;
    return part;
}

float warp(float x, float a, float share)
{
    // |x| in [0, pi] -> distance from the atlas centre in [0, 0.5]
    return x <= a ? x / a * share * 0.5f : share * 0.5f + (x - a) / (pi - a) * (1 - share) * 0.5f;
}

// Linear blend of the two rings around t.
Ring ringAt(const PartShape& part, float t)
{
    const auto& rings = part.rings;
    if (t <= rings.front().t)
        return rings.front();
    for (std::size_t i = 1; i < rings.size(); ++i) {
        if (t <= rings[i].t) {
            const Ring& a = rings[i - 1];
            const Ring& b = rings[i];
            const float k = (t - a.t) / (b.t - a.t);
            return {t, a.r1 + (b.r1 - a.r1) * k, a.r2 + (b.r2 - a.r2) * k, a.c1 + (b.c1 - a.c1) * k,
                    a.c2 + (b.c2 - a.c2) * k, a.square + (b.square - a.square) * k};
        }
    }
    return rings.back();
}

bool isPole(const Ring& r) { return r.r1 <= 0 && r.r2 <= 0; }

Vec3 ringPoint(const PartShape& part, const Ring& r, float theta)
{
    const float c = std::cos(theta), s = std::sin(theta);
    const float e = 2.0f / r.square;
    float a = r.r1 * std::copysign(std::pow(std::fabs(c), e), c);
    float b = r.r2 * std::copysign(std::pow(std::fabs(s), e), s);
    if (part.bump && !isPole(r)) {
        const float k = part.bump(theta, r.t);
        a += k * c;
        b += k * s;
    }
    return part.origin + part.axis * r.t + part.side1 * (r.c1 + a) + part.side2 * (r.c2 + b);
}

}  // namespace

std::vector<PartShape> bodyParts()
{
    std::vector<PartShape> parts;
    const float armY = boneInfo(UpperArmL).joint.y;
    const float legY = boneInfo(ThighL).joint.y;

    // The head gets the most detail: it fills the bottom of the player's view.
    PartShape head = vertical(Region::Head, Head, 0, 16,
                              {{32.0f, 0, 0, -0.5f},
                               {31.75f, 1.9f, 1.7f, -0.5f},
                               {31.1f, 3.5f, 3.05f, -0.45f},
                               {30.1f, 4.45f, 3.85f, -0.35f},
                               {28.6f, 4.85f, 4.15f, -0.2f},
                               {27.3f, 4.75f, 4.15f, -0.05f},
                               {26.1f, 4.55f, 4.0f, 0.0f},
                               {25.4f, 4.3f, 3.8f, 0.05f},
                               {24.3f, 4.0f, 3.45f, 0.15f},
                               {23.0f, 3.5f, 2.85f, 0.35f},
                               {22.1f, 2.3f, 1.8f, 0.6f},
                               {21.6f, 0, 0, 0.4f}},
                              {0, 0, 512, 208});
    head.frontSpan = 75;
    head.frontShare = 0.6f;
    head.bump = headRelief;
    parts.push_back(head);

    parts.push_back(vertical(Region::Neck, Torso, 0, 6,
                             {{23.0f, 0, 0, -0.2f},
                              {22.4f, 1.7f, 1.7f, -0.2f},
                              {19.0f, 2.2f, 2.4f, -0.4f},
                              {18.2f, 0, 0, -0.4f}},
                             {256, 432, 128, 80}));

    PartShape torso = vertical(Region::Torso, Torso, 0, 10,
                               {{20.0f, 0, 0, -0.6f, 2.6f},
                                {19.6f, 2.2f, 3.3f, -0.6f, 2.6f},
                                {18.9f, 3.5f, 5.6f, -0.5f, 2.6f},
                                {17.6f, 4.1f, 6.9f, -0.25f, 2.8f},
                                {14.5f, 4.4f, 6.4f, 0.1f, 2.8f},
                                {9.5f, 3.7f, 5.3f, 0.0f, 2.6f},
                                {4.8f, 3.3f, 5.1f, -0.1f, 2.6f},
                                {4.0f, 0, 0, -0.1f, 2.6f}},
                               {0, 208, 320, 144});
    torso.frontSpan = 80;
    torso.frontShare = 0.55f;
    torso.bump = torsoRelief;
    parts.push_back(torso);

    parts.push_back(vertical(Region::Pelvis, Pelvis, 0, 8,
                             {{4.6f, 0, 0, -0.1f, 2.6f},
                              {4.2f, 3.4f, 5.5f, -0.1f, 2.8f},
                              {-1.6f, 3.8f, 5.9f, -0.1f, 2.8f},
                              {-4.3f, 3.0f, 4.4f, 0.1f, 2.4f},
                              {-5.2f, 0, 0, 0.1f, 2.4f}},
                             {320, 208, 192, 112}));

    PartShape upperArm = vertical(Region::UpperArm, UpperArmL, armY, 6,
                                  {{20.1f, 0, 0},
                                   {19.5f, 2.2f, 2.4f, 0, 2.6f},
                                   {18.3f, 2.9f, 3.1f, 0, 2.8f},
                                   {16.4f, 2.75f, 2.95f, 0, 2.8f},
                                   {15.8f, 2.0f, 2.05f, 0, 2.4f},
                                   {8.2f, 1.65f, 1.65f, 0, 2.4f},
                                   {6.8f, 0, 0}},
                                  {0, 352, 128, 80});
    parts.push_back(upperArm);
    parts.push_back(mirrored(upperArm, UpperArmR));

    PartShape forearm = vertical(Region::Forearm, ForearmL, armY, 6,
                                 {{8.9f, 0, 0},
                                  {7.6f, 1.7f, 1.7f, 0, 2.4f},
                                  {5.0f, 2.05f, 1.95f, 0, 2.6f},
                                  {1.0f, 1.8f, 1.7f, 0, 2.6f},
                                  {-0.6f, 0, 0}},
                                 {128, 352, 128, 80});
    parts.push_back(forearm);
    parts.push_back(mirrored(forearm, ForearmR));

    PartShape hand = vertical(Region::Hand, HandL, armY, 6,
                              {{0.2f, 0, 0},
                               {-0.5f, 1.25f, 0.8f, 0, 2.6f},
                               {-2.0f, 1.65f, 0.9f, 0.05f, 2.8f},
                               {-3.8f, 1.35f, 0.7f, 0.15f, 2.6f},
                               {-5.0f, 0, 0, 0.2f}},
                              {0, 432, 128, 80});
    parts.push_back(hand);
    parts.push_back(mirrored(hand, HandR));

    PartShape thigh = vertical(Region::Thigh, ThighL, legY, 6,
                               {{0.6f, 0, 0},
                                {0.0f, 2.6f, 2.6f, 0, 2.4f},
                                {-3.0f, 3.0f, 2.95f, 0, 2.4f},
                                {-8.0f, 2.55f, 2.45f, 0, 2.4f},
                                {-11.8f, 1.95f, 1.95f, 0, 2.4f},
                                {-13.3f, 0, 0}},
                               {256, 352, 128, 80});
    parts.push_back(thigh);
    parts.push_back(mirrored(thigh, ThighR));

    PartShape shin = vertical(Region::Shin, ShinL, legY, 6,
                              {{-11.2f, 0, 0, 0.2f},
                               {-12.3f, 2.2f, 2.0f, 0.35f, 2.4f},
                               {-14.5f, 2.1f, 1.95f, -0.15f, 2.4f},
                               {-18.0f, 2.05f, 1.9f, 0.0f, 2.6f},
                               {-21.8f, 1.65f, 1.6f, 0.0f, 2.6f},
                               {-22.9f, 0, 0}},
                              {384, 352, 128, 80});
    parts.push_back(shin);
    parts.push_back(mirrored(shin, ShinR));

    // The foot runs along +x from the heel; theta = 0 is its top.
    PartShape foot;
    foot.region = Region::Foot;
    foot.bone = FootL;
    foot.origin = {0, legY, boneInfo(FootL).joint.z};
    foot.axis = {1, 0, 0};
    foot.side1 = {0, 0, 1};
    foot.side2 = {0, 1, 0};
    foot.sides = 6;
    const float sole = -24.0f - foot.origin.z;   // c1 - r1 lands on the ground
    foot.rings = {{-2.7f, 0, 0, sole + 1.3f, 0, 3},
                  {-2.1f, 1.4f, 1.4f, sole + 1.4f, 0, 3},
                  {-0.6f, 1.8f, 1.65f, sole + 1.8f, 0, 3},
                  {2.0f, 1.2f, 1.75f, sole + 1.2f, 0, 3},
                  {4.6f, 0.8f, 1.5f, sole + 0.8f, 0, 3},
                  {5.8f, 0, 0, sole + 0.5f, 0, 3}};
    foot.rect = {128, 432, 128, 80};
    parts.push_back(foot);
    parts.push_back(mirrored(foot, FootR));
    return parts;
}

Vec3 surfacePoint(const PartShape& part, float theta, float t)
{
    return ringPoint(part, ringAt(part, t), theta);
}

Vec3 surfaceNormal(const PartShape& part, float theta, float t)
{
    const float dt = 0.05f, da = 0.02f;
    const float t0 = std::max(part.rings.front().t, t - dt), t1 = std::min(part.rings.back().t, t + dt);
    const Vec3 alongT = surfacePoint(part, theta, t1) - surfacePoint(part, theta, t0);
    const Vec3 around = surfacePoint(part, theta + da, t) - surfacePoint(part, theta - da, t);
    Vec3 n = normalized(cross(around, alongT));
    // Pointing away from the axis is outward for these star-shaped parts.
    const Vec3 centre = part.origin + part.axis * t + part.side1 * ringAt(part, t).c1 +
                        part.side2 * ringAt(part, t).c2;
    if (dot(n, surfacePoint(part, theta, t) - centre) < 0)
        n = n * -1.0f;
    if (length(around) < 1e-5f)   // at a pole the normal is the axis itself
        n = t <= part.rings.front().t + 1e-4f ? part.axis * -1.0f : part.axis;
    return n;
}

float uOfTheta(const PartShape& part, float theta)
{
    const float a = part.frontSpan * pi / 180.0f;
    const float d = warp(std::fabs(theta), a, part.frontShare);
    return theta < 0 ? 0.5f - d : 0.5f + d;
}

float thetaOfU(const PartShape& part, float u)
{
    const float a = part.frontSpan * pi / 180.0f;
    const float d = std::fabs(u - 0.5f);
    const float half = part.frontShare * 0.5f;
    const float x = d <= half ? d / half * a : a + (d - half) / (0.5f - half) * (pi - a);
    return u < 0.5f ? -x : x;
}

std::vector<float> ringV(const PartShape& part)
{
    std::vector<float> v(part.rings.size(), 0.0f);
    for (std::size_t i = 1; i < part.rings.size(); ++i) {
        float step = 0;
        for (float theta : {0.0f, pi / 2, pi, -pi / 2})
            step += length(ringPoint(part, part.rings[i], theta) - ringPoint(part, part.rings[i - 1], theta));
        v[i] = v[i - 1] + step / 4;
    }
    for (float& x : v)
        x /= v.back();
    return v;
}

float tOfV(const PartShape& part, const std::vector<float>& ringVs, float v)
{
    for (std::size_t i = 1; i < ringVs.size(); ++i) {
        if (v <= ringVs[i]) {
            const float k = (v - ringVs[i - 1]) / std::max(1e-6f, ringVs[i] - ringVs[i - 1]);
            return part.rings[i - 1].t + (part.rings[i].t - part.rings[i - 1].t) * std::clamp(k, 0.0f, 1.0f);
        }
    }
    return part.rings.back().t;
}

Mesh buildMesh(const std::vector<PartShape>& parts)
{
    Mesh mesh;
    std::map<std::pair<int, int>, int> texIndex;
    auto texCoord = [&](const PartShape& part, float u, float v) {
        const int s = static_cast<int>(std::lround(part.rect.x + 1 + u * (part.rect.w - 2)));
        const int t = static_cast<int>(std::lround(part.rect.y + 1 + v * (part.rect.h - 2)));
        const auto [it, added] = texIndex.try_emplace({s, t}, static_cast<int>(mesh.texCoords.size()));
        if (added)
            mesh.texCoords.push_back({s, t});
        return it->second;
    };

    for (const PartShape& part : parts) {
        const int n = part.sides;
        const std::vector<float> vs = ringV(part);
        // Vertex index of ring i, column j (poles have one vertex).
        std::vector<std::vector<int>> index(part.rings.size());
        for (std::size_t i = 0; i < part.rings.size(); ++i) {
            const Ring& r = part.rings[i];
            const int count = isPole(r) ? 1 : n;
            for (int j = 0; j < count; ++j) {
                const float theta = -pi + 2 * pi * j / n;
                index[i].push_back(static_cast<int>(mesh.rest.size()));
                mesh.rest.push_back(ringPoint(part, r, theta));
                mesh.bone.push_back(part.bone);
            }
        }
        const bool rightHanded = dot(cross(part.side1, part.side2), part.axis) > 0;
        for (std::size_t i = 0; i + 1 < part.rings.size(); ++i) {
            for (int j = 0; j < n; ++j) {
                auto corner = [&](std::size_t ring, int column) {
                    const bool pole = index[ring].size() == 1;
                    const int vertex = pole ? index[ring][0] : index[ring][column % n];
                    const float u = uOfTheta(part, -pi + 2 * pi * (pole ? j + 0.5f : float(column)) / n);
                    return std::pair{vertex, texCoord(part, u, vs[ring])};
                };
                const auto a = corner(i, j), b = corner(i, j + 1), c = corner(i + 1, j + 1), d = corner(i + 1, j);
                for (const auto& tri : {std::array{a, b, d}, std::array{b, c, d}}) {
                    if (tri[0].first == tri[1].first || tri[1].first == tri[2].first || tri[0].first == tri[2].first)
                        continue;
                    Triangle out;
                    for (int k = 0; k < 3; ++k) {
                        const auto& src = tri[rightHanded ? k : (3 - k) % 3];
                        out.vertex[k] = src.first;
                        out.texCoord[k] = src.second;
                    }
                    mesh.triangles.push_back(out);
                }
            }
        }
    }
    return mesh;
}

}  // namespace character
