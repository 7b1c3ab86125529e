// The character's key frames in the order of the game's animation table. The
// looping rows (standing idle, run, crouched idle and crouched walk) are
// computed here from a phase angle; the key-posed rows come from
// character_actions.cpp.
#include "character/character_pose.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace character {

void levelFeet(Pose& p, float toeDownL, float toeDownR)
{
    const float body = p.joint[Pelvis].y;
    p.joint[FootL].y = -(body + p.joint[ThighL].y + p.joint[ShinL].y) + toeDownL;
    p.joint[FootR].y = -(body + p.joint[ThighR].y + p.joint[ShinR].y) + toeDownR;
    p.joint[FootL].x = -p.joint[ThighL].x;
    p.joint[FootR].x = -p.joint[ThighR].x;
}

Pose stance()
{
    Pose p;
    p.joint[Torso] = lean(2);
    p.joint[Head] = lean(3);
    for (int side = 0; side < 2; ++side) {
        p.joint[side ? UpperArmR : UpperArmL] = limb(4, 9);
        p.joint[side ? ForearmR : ForearmL] = elbow(16, -10);
        p.joint[side ? HandR : HandL] = limb(4, -4);
        p.joint[side ? ThighR : ThighL] = limb(1, 3, -6);
        p.joint[side ? ShinR : ShinL] = knee(3);
    }
    levelFeet(p);
    return p;
}

Pose crouch()
{
    Pose p = stance();
    p.joint[Pelvis] = lean(8);
    p.joint[Torso] = lean(14);
    p.joint[Head] = lean(-18);
    p.joint[ThighL] = limb(62, 7, -8);
    p.joint[ThighR] = limb(52, 7, -8);
    p.joint[ShinL] = knee(105);
    p.joint[ShinR] = knee(100);
    for (int side = 0; side < 2; ++side) {
        p.joint[side ? UpperArmR : UpperArmL] = limb(30, 14);
        p.joint[side ? ForearmR : ForearmL] = elbow(45, -15);
    }
    levelFeet(p);
    return p;
}

float soleHeight(const Pose& p)
{
    const auto bones = poseBones(p);
    float lowest = 1e9f;
    for (int foot : {FootL, FootR}) {
        const Vec3 ankle = boneInfo(foot).joint;
        for (float x : {-2.4f, 5.6f}) {
            const Vec3 sole{x, ankle.y, -24.0f};
            lowest = std::min(lowest, bones[foot].apply(sole - ankle).z);
        }
    }
    return lowest;
}

void aim(Pose& p, int bone, Vec3 target)
{
    const auto bones = poseBones(p);
    const Mat3& parent = bones[boneInfo(bone).parent].rotation;
    const Vec3 d = normalized(target - bones[bone].offset);
    // Into the parent's frame (the transpose undoes the rotation).
    const Vec3 local{parent.m[0][0] * d.x + parent.m[1][0] * d.y + parent.m[2][0] * d.z,
                     parent.m[0][1] * d.x + parent.m[1][1] * d.y + parent.m[2][1] * d.z,
                     parent.m[0][2] * d.x + parent.m[1][2] * d.y + parent.m[2][2] * d.z};
    // Ry(b) Rx(a) takes the rest direction (0, 0, -1) to
    // (-cos a sin b, sin a, -cos a cos b).
    const float toDegrees = 180.0f / std::numbers::pi_v<float>;
    const float a = std::asin(std::clamp(local.y, -1.0f, 1.0f)) * toDegrees;
    const float b = std::atan2(-local.x, -local.z) * toDegrees;
    p.joint[bone] = boneInfo(bone).rightSide ? Euler{-a, b, 0} : Euler{a, b, 0};
}

void reach(Pose& p, bool right, Vec3 wrist, Vec3 pole, Vec3 fingers)
{
    const int upper = right ? UpperArmR : UpperArmL, fore = right ? ForearmR : ForearmL;
    const float upperLength = length(boneInfo(upper).joint - boneInfo(fore).joint);
    const int hand = right ? HandR : HandL;
    const float foreLength = length(boneInfo(fore).joint - boneInfo(hand).joint);
    const Vec3 shoulder = poseBones(p)[upper].offset;
    const Vec3 toWrist = wrist - shoulder;
    const float d = std::clamp(length(toWrist), std::fabs(upperLength - foreLength) + 0.01f,
                               upperLength + foreLength - 0.01f);
    const Vec3 along = normalized(toWrist);
    const float a = (upperLength * upperLength - foreLength * foreLength + d * d) / (2 * d);
    const float h = std::sqrt(std::max(0.0f, upperLength * upperLength - a * a));
    const Vec3 side = normalized(pole - along * dot(pole, along));
    aim(p, upper, shoulder + along * a + side * h);
    aim(p, fore, shoulder + along * d);
    aim(p, hand, fingers);
}

Pose blendPose(const Pose& a, const Pose& b, float k)
{
    Pose p;
    p.rootOffset = a.rootOffset + (b.rootOffset - a.rootOffset) * k;
    for (int j = 0; j < BoneCount; ++j) {
        const Euler& x = a.joint[j];
        const Euler& y = b.joint[j];
        p.joint[j] = {x.x + (y.x - x.x) * k, x.y + (y.y - x.y) * k, x.z + (y.z - x.z) * k};
    }
    return p;
}

Frame blend(const Frame& a, const Frame& b, float k)
{
    return {blendPose(a.pose, b.pose, k), a.lift + (b.lift - a.lift) * k, a.grounded && b.grounded};
}

std::vector<Frame> keyed(int count, const std::vector<Key>& keys)
{
    std::vector<Frame> out;
    for (int i = 0; i < count; ++i) {
        std::size_t k = 0;
        while (k + 1 < keys.size() && keys[k + 1].frame <= i)
            ++k;
        if (k + 1 >= keys.size() || keys[k].frame >= i) {
            out.push_back(keys[k].value);
            continue;
        }
        const float x = float(i - keys[k].frame) / float(keys[k + 1].frame - keys[k].frame);
        out.push_back(blend(keys[k].value, keys[k + 1].value, x * x * (3 - 2 * x)));
    }
    return out;
}

namespace {

// Breathing twice and swaying once per loop, glancing left and right.
std::vector<Frame> standingRow()
{
    std::vector<Frame> out;
    for (int i = 0; i < 40; ++i) {
        const float phase = tau * i / 40;
        const float breath = std::sin(2 * phase), sway = std::sin(phase), look = std::sin(phase + 0.8f);
        Pose p = stance();
        p.rootOffset.y = 0.8f * sway;
        p.joint[ThighL].x -= 2.0f * sway;
        p.joint[ThighR].x += 2.0f * sway;
        p.joint[Torso] = add(p.joint[Torso], lean(-1.3f * breath, 2.2f * sway));
        p.joint[Head] = add(p.joint[Head], lean(-1.0f * breath, -1.4f * sway, 8.0f * look));
        for (int arm : {UpperArmL, UpperArmR})
            p.joint[arm] = add(p.joint[arm], limb(2.0f * std::sin(phase + 1.0f), 1.8f * breath));
        p.joint[ForearmL].y -= 3.0f * breath;
        p.joint[ForearmR].y -= 3.0f * breath;
        levelFeet(p);
        out.push_back(at(p));
    }
    return out;
}

// Six frames of a stride on the spot: legs and arms swing in opposition,
// the hips turn against the shoulders, the body dips at each footfall and
// rises between them. The head stays up, looking ahead.
std::vector<Frame> runningRow()
{
    std::vector<Frame> out;
    for (int i = 0; i < 6; ++i) {
        const float phase = tau * i / 6;
        Pose p = stance();
        p.joint[Pelvis] = lean(3, 0, -8 * std::sin(phase));
        p.joint[Torso] = lean(5, 0, 14 * std::sin(phase));
        p.joint[Head] = lean(-5, 0, -7 * std::sin(phase));
        float toe[2];
        for (int side = 0; side < 2; ++side) {
            const float a = phase + side * tau / 2;
            // The thigh swings forward while cos(a) > 0; the knee folds
            // early in that swing and is nearly straight while the foot
            // is down, the toes push off as the leg leaves the ground.
            p.joint[side ? ThighR : ThighL] = limb(6 + 32 * std::sin(a), 3);
            p.joint[side ? ShinR : ShinL] = knee(16 + 70 * std::pow(std::max(0.0f, std::cos(a + 0.3f)), 1.5f));
            p.joint[side ? UpperArmR : UpperArmL] = limb(6 - 40 * std::sin(a), 12);
            p.joint[side ? ForearmR : ForearmL] = elbow(80 - 22 * std::sin(a), -20);
            p.joint[side ? HandR : HandL] = limb(10, -6);
            toe[side] = 30 * std::max(0.0f, -std::sin(a + 0.3f)) - 5;
        }
        levelFeet(p, toe[0], toe[1]);
        out.push_back({p, 0, false});
    }
    // The supporting foot is under the body in frames 0 and 3, where the
    // hips are lowest; between them the body rises and both feet are off
    // the ground.
    const float contact = -24.0f - soleHeight(out[0].pose) + 0.7f;
    for (int i = 0; i < 6; ++i)
        out[i].pose.rootOffset.z = contact - 0.7f * std::cos(2 * tau * i / 6);
    return out;
}

std::vector<Frame> crouchRow(int count, bool walking)
{
    std::vector<Frame> out;
    for (int i = 0; i < count; ++i) {
        const float phase = tau * i / count;
        Pose p = crouch();
        if (walking) {
            p.joint[ThighL] = add(p.joint[ThighL], limb(18 * std::sin(phase)));
            p.joint[ThighR] = add(p.joint[ThighR], limb(-18 * std::sin(phase)));
            p.joint[ShinL].y += 12 * std::cos(phase);
            p.joint[ShinR].y -= 12 * std::cos(phase);
            p.joint[UpperArmL] = add(p.joint[UpperArmL], limb(-14 * std::sin(phase)));
            p.joint[UpperArmR] = add(p.joint[UpperArmR], limb(14 * std::sin(phase)));
            p.joint[Torso] = add(p.joint[Torso], lean(0, 0, 6 * std::sin(phase)));
        } else {
            const float breath = std::sin(phase);
            p.joint[Torso] = add(p.joint[Torso], lean(-2 * breath));
            p.joint[Head] = add(p.joint[Head], lean(breath, 0, 10 * std::sin(phase + 1)));
        }
        levelFeet(p);
        out.push_back(at(p));
    }
    return out;
}

}  // namespace

std::vector<AnimationFrame> animationFrames()
{
    struct Row {
        const char* name;
        std::vector<Frame> frames;
    };
    const Row rows[] = {
        {"stand", standingRow()},  {"run", runningRow()},       {"attack", attackRow(false)},
        {"pain1", painRow(1)},     {"pain2", painRow(2)},       {"pain3", painRow(3)},
        {"jump", jumpRow()},       {"flip", flipRow()},         {"salute", saluteRow()},
        {"taunt", tauntRow()},     {"wave", waveRow()},         {"point", pointRow()},
        {"crstnd", crouchRow(19, false)}, {"crwalk", crouchRow(6, true)}, {"crattak", attackRow(true)},
        {"crpain", painRow(0)},    {"crdeath", deathRow(0)},    {"death1", deathRow(1)},
        {"death2", deathRow(2)},   {"death3", deathRow(3)},     {"boom", {lyingStill()}},
    };
    std::vector<AnimationFrame> out;
    for (const Row& row : rows) {
        int number = 1;
        for (const Frame& f : row.frames) {
            char name[16];
            std::snprintf(name, sizeof name, "%s%02d", row.name, number++);
            out.push_back({name, f.pose, f.lift, f.grounded});
        }
    }
    return out;
}

}  // namespace character
