// generateCharacter: the player's model "Modells/tris.md2" and its skin
// "Textures/hueteotl.tga". The mesh is posed for every key frame, set on
// the ground, and packed into bytes with one scale and translate that bounds
// all frames (the game decodes every frame with frame 0's pair).
#include "assetgen.h"
#include "character/character_model.h"
#include "formats/file_formats.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>

namespace character {
namespace {

constexpr float groundZ = -24.0f;
// The figure is designed 56 units tall (hips at the origin, crown near
// z = 32) and written at this share of that size, shrunk toward the ground
// under its feet. Drawn from the player's eye, the head of the smaller
// figure only just rises over the lower edge of the view and leaves the
// crosshair and the ground ahead free.
constexpr float fileScale = 0.785f;
constexpr const char* skinName = "models/orbitor/hueteotl.pcx";

// 162 directions spread evenly over the sphere: an icosahedron whose faces
// are split in four, twice. Each packed vertex names its nearest direction.
std::vector<Vec3> normalTable()
{
    const float g = (1 + std::sqrt(5.0f)) / 2;
    std::vector<Vec3> points = {{-1, g, 0}, {1, g, 0}, {-1, -g, 0}, {1, -g, 0}, {0, -1, g}, {0, 1, g},
                                {0, -1, -g}, {0, 1, -g}, {g, 0, -1}, {g, 0, 1}, {-g, 0, -1}, {-g, 0, 1}};
    std::vector<std::array<int, 3>> faces = {
        {0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
        {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
        {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}};
    for (Vec3& p : points)
        p = normalized(p);
    for (int level = 0; level < 2; ++level) {
        std::map<std::pair<int, int>, int> middle;
        auto mid = [&](int a, int b) {
            const auto key = std::minmax(a, b);
            const auto [it, added] = middle.try_emplace(key, static_cast<int>(points.size()));
            if (added)
                points.push_back(normalized(points[a] + points[b]));
            return it->second;
        };
        std::vector<std::array<int, 3>> next;
        for (const auto& f : faces) {
            const int ab = mid(f[0], f[1]), bc = mid(f[1], f[2]), ca = mid(f[2], f[0]);
            next.push_back({f[0], ab, ca});
            next.push_back({f[1], bc, ab});
            next.push_back({f[2], ca, bc});
            next.push_back({ab, bc, ca});
        }
        faces = next;
    }
    return points;
}

std::vector<std::vector<Vec3>> posedFrames(const Mesh& mesh, const std::vector<AnimationFrame>& frames)
{
    std::vector<std::vector<Vec3>> out;
    for (const AnimationFrame& frame : frames) {
        const auto bones = poseBones(frame.pose);
        std::vector<Vec3> v(mesh.rest.size());
        float lowest = std::numeric_limits<float>::max();
        for (std::size_t i = 0; i < v.size(); ++i) {
            const int b = mesh.bone[i];
            v[i] = bones[b].apply(mesh.rest[i] - boneInfo(b).joint);
            lowest = std::min(lowest, v[i].z);
        }
        const float shift = frame.grounded ? groundZ + frame.lift - lowest : 0.0f;
        for (Vec3& p : v)
            p = {p.x * fileScale, p.y * fileScale, groundZ + (p.z + shift - groundZ) * fileScale};
        out.push_back(std::move(v));
    }
    return out;
}

std::vector<Vec3> vertexNormals(const Mesh& mesh, const std::vector<Vec3>& v)
{
    std::vector<Vec3> n(v.size());
    for (const Triangle& t : mesh.triangles) {
        const Vec3 face = cross(v[t.vertex[1]] - v[t.vertex[0]], v[t.vertex[2]] - v[t.vertex[0]]);
        for (int k : t.vertex)
            n[k] = n[k] + face;
    }
    for (Vec3& x : n)
        x = normalized(x);
    return n;
}

Md2Data md2Model(const Mesh& mesh, const std::vector<AnimationFrame>& frames)
{
    const auto posed = posedFrames(mesh, frames);
    Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    for (const auto& frame : posed)
        for (const Vec3& p : frame) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
    const float scale[3] = {(hi.x - lo.x) / 255.0f, (hi.y - lo.y) / 255.0f, (hi.z - lo.z) / 255.0f};
    const float translate[3] = {lo.x, lo.y, lo.z};

    const int vertexCount = static_cast<int>(mesh.rest.size());
    Md2Data model;
    model.skinWidth = skinSize;
    model.skinHeight = skinSize;
    model.numVertices = vertexCount;
    Md2SkinName skin{};
    std::strncpy(skin.name, skinName, sizeof skin.name - 1);
    model.skins.push_back(skin);
    for (const auto& tc : mesh.texCoords)
        model.texCoords.push_back({static_cast<std::int16_t>(tc[0]), static_cast<std::int16_t>(tc[1])});
    for (const Triangle& t : mesh.triangles) {
        Md2Triangle tri{};
        for (int k = 0; k < 3; ++k) {
            tri.vertex[k] = static_cast<std::int16_t>(t.vertex[k]);
            tri.texCoord[k] = static_cast<std::int16_t>(t.texCoord[k]);
        }
        model.triangles.push_back(tri);
    }
    const std::vector<Vec3> table = normalTable();
    for (std::size_t f = 0; f < frames.size(); ++f) {
        Md2Frame frame;
        std::copy(scale, scale + 3, frame.header.scale);
        std::copy(translate, translate + 3, frame.header.translate);
        std::strncpy(frame.header.name, frames[f].name.c_str(), sizeof frame.header.name - 1);
        const std::vector<Vec3> normals = vertexNormals(mesh, posed[f]);
        for (int i = 0; i < vertexCount; ++i) {
            const Vec3& p = posed[f][i];
            const float c[3] = {p.x, p.y, p.z};
            Md2Vertex v{};
            for (int a = 0; a < 3; ++a) {
                const float q = scale[a] > 0 ? (c[a] - translate[a]) / scale[a] : 0;
                v.v[a] = static_cast<std::uint8_t>(std::clamp(std::lround(q), 0L, 255L));
            }
            int best = 0;
            for (int k = 1; k < static_cast<int>(table.size()); ++k)
                if (dot(table[k], normals[i]) > dot(table[best], normals[i]))
                    best = k;
            v.normalIndex = static_cast<std::uint8_t>(best);
            frame.vertices.push_back(v);
        }
        model.frames.push_back(std::move(frame));
    }
    return model;
}

}  // namespace
}  // namespace character

bool generateCharacter(const std::string& root)
{
    using namespace character;
    const std::vector<PartShape> parts = bodyParts();
    const Mesh mesh = buildMesh(parts);
    const std::vector<AnimationFrame> frames = animationFrames();

    const std::string modelPath = root + "/Modells/tris.md2";
    if (!md2Write(modelPath, md2Model(mesh, frames))) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", modelPath.c_str());
        return false;
    }
    return saveTga(paintSkin(parts), root + "/Textures/hueteotl.tga");
}
