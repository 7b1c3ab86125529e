// The character's skeleton: fifteen bones with their rest-pose pivots, and
// forward kinematics from joint angles to one rigid transform per bone.
#include "character/character_model.h"

#include <numbers>

namespace character {

Mat3 operator*(const Mat3& a, const Mat3& b)
{
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return r;
}

Vec3 operator*(const Mat3& a, Vec3 v)
{
    return {a.m[0][0] * v.x + a.m[0][1] * v.y + a.m[0][2] * v.z,
            a.m[1][0] * v.x + a.m[1][1] * v.y + a.m[1][2] * v.z,
            a.m[2][0] * v.x + a.m[2][1] * v.y + a.m[2][2] * v.z};
}

namespace {

constexpr float degrees = std::numbers::pi_v<float> / 180.0f;

Mat3 rotationX(float a)
{
    const float c = std::cos(a * degrees), s = std::sin(a * degrees);
    Mat3 r;
    r.m[1][1] = c; r.m[1][2] = -s;
    r.m[2][1] = s; r.m[2][2] = c;
    return r;
}

Mat3 rotationY(float a)
{
    const float c = std::cos(a * degrees), s = std::sin(a * degrees);
    Mat3 r;
    r.m[0][0] = c; r.m[0][2] = s;
    r.m[2][0] = -s; r.m[2][2] = c;
    return r;
}

Mat3 rotationZ(float a)
{
    const float c = std::cos(a * degrees), s = std::sin(a * degrees);
    Mat3 r;
    r.m[0][0] = c; r.m[0][1] = -s;
    r.m[1][0] = s; r.m[1][1] = c;
    return r;
}

// Pivots: hips at the origin, shoulders 17 above them, knees and ankles
// down the legs; arm and leg bones of the right side mirror the left.
const BoneInfo bones[BoneCount] = {
    {-1, {0, 0, 0}, false},              // Pelvis
    {Pelvis, {0, 0, 2.5f}, false},       // Torso
    {Torso, {0, 0, 21.2f}, false},       // Head
    {Torso, {0, 7.6f, 17.0f}, false},    // UpperArmL
    {UpperArmL, {0, 7.6f, 7.6f}, false}, // ForearmL
    {ForearmL, {0, 7.6f, -0.5f}, false}, // HandL
    {Torso, {0, -7.6f, 17.0f}, true},    // UpperArmR
    {UpperArmR, {0, -7.6f, 7.6f}, true}, // ForearmR
    {ForearmR, {0, -7.6f, -0.5f}, true}, // HandR
    {Pelvis, {0, 3.2f, -1.5f}, false},   // ThighL
    {ThighL, {0, 3.2f, -12.2f}, false},  // ShinL
    {ShinL, {0, 3.2f, -21.6f}, false},   // FootL
    {Pelvis, {0, -3.2f, -1.5f}, true},   // ThighR
    {ThighR, {0, -3.2f, -12.2f}, true},  // ShinR
    {ShinR, {0, -3.2f, -21.6f}, true},   // FootR
};

}  // namespace

const BoneInfo& boneInfo(int bone) { return bones[bone]; }

std::array<Transform, BoneCount> poseBones(const Pose& pose)
{
    std::array<Transform, BoneCount> world;
    // Parents come before their children in the table.
    for (int b = 0; b < BoneCount; ++b) {
        const BoneInfo& info = bones[b];
        Euler e = pose.joint[b];
        if (info.rightSide) {
            e.x = -e.x;
            e.z = -e.z;
        }
        const Mat3 local = rotationZ(e.z) * rotationY(e.y) * rotationX(e.x);
        if (info.parent < 0) {
            world[b].rotation = local;
            world[b].offset = pose.rootOffset;
        } else {
            const Transform& parent = world[info.parent];
            world[b].rotation = parent.rotation * local;
            world[b].offset = parent.apply(info.joint - bones[info.parent].joint);
        }
    }
    return world;
}

}  // namespace character
