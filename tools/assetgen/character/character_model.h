// The player character inside the asset generator: a low-poly humanoid built
// from lofted body parts, each rigidly bound to one bone of a small skeleton,
// posed by joint angles for every key frame, and painted into one skin atlas.
//
// Model space is the MD2 convention: x points forward (the character's
// front), y to the character's left, z up. The figure is designed with the
// origin at the hips and the soles of the feet at z = -24; the file holds it
// smaller, shrunk toward the ground, so the soles still rest at z = -24
// (character.cpp).
#pragma once

#include "common/image.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace character {

// --- Small vector maths ------------------------------------------------------
struct Vec3 {
    float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(Vec3 a)
{
    const float l = length(a);
    return l > 0 ? a * (1.0f / l) : Vec3{0, 0, 1};
}

// A rotation as a 3 x 3 matrix (rows) and a rigid transform built from it.
struct Mat3 {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};
Mat3 operator*(const Mat3& a, const Mat3& b);
Vec3 operator*(const Mat3& a, Vec3 v);

struct Transform {
    Mat3 rotation;
    Vec3 offset;
    Vec3 apply(Vec3 v) const { return rotation * v + offset; }
};

// --- Skeleton -----------------------------------------------------------------
enum Bone {
    Pelvis, Torso, Head,
    UpperArmL, ForearmL, HandL,
    UpperArmR, ForearmR, HandR,
    ThighL, ShinL, FootL,
    ThighR, ShinR, FootR,
    BoneCount
};

struct BoneInfo {
    int parent;      // -1 for the pelvis, the root
    Vec3 joint;      // pivot in the rest pose, model space
    bool rightSide;  // joint angles are mirrored across the x-z plane
};
const BoneInfo& boneInfo(int bone);

// Joint angles in degrees, applied as Rz * Ry * Rx in the parent's frame.
// For a part pointing up, +y leans it forward, +x tips it toward the
// character's right and +z turns it to the left. Right-side bones take the
// mirror image of the angles given, so one set of numbers moves both sides
// the same way.
struct Euler {
    float x = 0, y = 0, z = 0;
};

struct Pose {
    Vec3 rootOffset;           // where the hips are, relative to the rest pose
    Euler joint[BoneCount];    // joint[Pelvis] turns the whole body about the hips
};

// World transform of every bone for a pose (rest pose: identity rotations).
std::array<Transform, BoneCount> poseBones(const Pose& pose);

struct AnimationFrame {
    std::string name;   // at most 15 characters
    Pose pose;
    float lift = 0;        // the body is moved so its lowest point is this high above the ground ...
    bool grounded = true;  // ... unless this is false: then the pose's own hip height holds
};
// Every key frame of the model in file order: the rows of the game's
// animation table (stand 0-39, run 40-45, ... 198).
std::vector<AnimationFrame> animationFrames();
inline constexpr int animationFrameCount = 199;

// --- Body parts -----------------------------------------------------------------
// An atlas region of the skin, in texels (y counted from the top row).
struct Rect {
    int x, y, w, h;
};
inline constexpr int skinSize = 512;

enum class Region { Head, Neck, Torso, Pelvis, UpperArm, Forearm, Hand, Thigh, Shin, Foot };

// One cross-section of a lofted part: at distance `t` along the part's axis
// a superellipse with half-extents r1 (along side1) and r2 (along side2),
// centred c1, c2 off the axis. `square` is the superellipse exponent (2 is
// an ellipse, larger is boxier). A radius of zero closes the part in a pole.
struct Ring {
    float t;
    float r1, r2;
    float c1 = 0, c2 = 0;
    float square = 2;
};

struct PartShape {
    Region region;
    int bone;
    Vec3 origin;                 // rest-pose model space
    Vec3 axis, side1, side2;     // orthonormal; theta = 0 points along side1
    int sides;                   // columns around the part
    std::vector<Ring> rings;     // ordered along the axis; first and last may be poles
    float frontSpan = 90;        // degrees either side of theta = 0 ...
    float frontShare = 0.5f;     // ... that take this share of the atlas width
    Rect rect;                   // where the part is painted in the skin
    float (*bump)(float theta, float t) = nullptr;   // radial relief, model units
    bool paintsRect = true;      // false for a mirrored twin sharing the rect
};

// The whole figure in the rest pose.
std::vector<PartShape> bodyParts();

// A point of a part's surface in the rest pose; theta in radians, t along
// the axis (between the first and last ring).
Vec3 surfacePoint(const PartShape& part, float theta, float t);
// Outward surface normal at the same place.
Vec3 surfaceNormal(const PartShape& part, float theta, float t);
// Atlas mapping: u runs once around the part (seam at the back, theta = pi),
// v from the first ring (0) to the last (1), by length along the surface.
float uOfTheta(const PartShape& part, float theta);
float thetaOfU(const PartShape& part, float u);
std::vector<float> ringV(const PartShape& part);   // v of each ring
float tOfV(const PartShape& part, const std::vector<float>& ringVs, float v);

struct Triangle {
    int vertex[3];
    int texCoord[3];
};
struct Mesh {
    std::vector<Vec3> rest;                        // rest-pose positions
    std::vector<int> bone;                         // the bone each vertex follows
    std::vector<std::array<int, 2>> texCoords;     // s, t in texels
    std::vector<Triangle> triangles;               // counter-clockwise seen from outside
};
Mesh buildMesh(const std::vector<PartShape>& parts);

// --- Skin -------------------------------------------------------------------------
Image paintSkin(const std::vector<PartShape>& parts);

}  // namespace character
