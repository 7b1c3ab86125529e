// Posing helpers shared by the character's animation rows: joint angles in
// words (swing a limb forward, bend a knee, lean the body), the two base
// stances, and easing between key poses.
#pragma once

#include "character/character_model.h"

#include <numbers>
#include <vector>

namespace character {

inline constexpr float tau = 2 * std::numbers::pi_v<float>;

// All angles in degrees, given in the left side's sense; the right side's
// bones mirror them, so limb(30) swings either arm or leg forward.
// A hanging limb (arm or thigh) swung forward and out to the side, and
// twisted about its own length (positive turns its front outward).
inline Euler limb(float forward, float outward = 0, float twist = 0) { return {outward, -forward, twist}; }
// Forearm brought forward by bending the elbow.
inline Euler elbow(float bend, float twist = 0) { return {0, -bend, twist}; }
// Shin bent back at the knee.
inline Euler knee(float bend) { return {0, bend, 0}; }
// An upright part (body, torso, head) leaning forward, tipping toward the
// character's right and turning to its left.
inline Euler lean(float forward, float toRight = 0, float turnLeft = 0) { return {toRight, forward, turnLeft}; }
inline Euler add(Euler a, Euler b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// One key frame before it is placed on the ground.
struct Frame {
    Pose pose;
    float lift = 0;          // height of the lowest point of the body above the ground
    bool grounded = true;    // false: keep the hip height of the pose as it is
};
inline Frame at(const Pose& p, float lift = 0) { return {p, lift, true}; }

// The lowest point of either sole for the pose, as posed (the rest pose
// stands at -24).
float soleHeight(const Pose& p);

// Sets both ankles so the soles lie level, then points the toes down by the
// given angles.
void levelFeet(Pose& p, float toeDownL = 0, float toeDownR = 0);
// Relaxed upright stance: arms a little out and bent, feet apart.
Pose stance();
// Crouched stance: knees deep, body leaning in, arms ready.
Pose crouch();

// Turns a hanging bone (arm, leg or hand part) so that it points from its
// joint at `target` (model space, for the pose as it stands), without twist.
void aim(Pose& p, int bone, Vec3 target);
// Bends shoulder and elbow so the wrist of one arm reaches `wrist`, the
// elbow pointing toward `pole`; then points the hand at `fingers`.
void reach(Pose& p, bool right, Vec3 wrist, Vec3 pole, Vec3 fingers);

Pose blendPose(const Pose& a, const Pose& b, float k);
Frame blend(const Frame& a, const Frame& b, float k);

struct Key {
    int frame;    // index within the row
    Frame value;
};
// The `count` frames of a row, eased between key poses (held after the last).
std::vector<Frame> keyed(int count, const std::vector<Key>& keys);

// The rows that are not simple loops (in character_actions.cpp).
std::vector<Frame> attackRow(bool crouched);
std::vector<Frame> painRow(int which);          // 1, 2, 3 standing; 0 crouched
std::vector<Frame> jumpRow();
std::vector<Frame> flipRow();
std::vector<Frame> saluteRow();
std::vector<Frame> tauntRow();
std::vector<Frame> waveRow();
std::vector<Frame> pointRow();
std::vector<Frame> deathRow(int which);         // 1, 2, 3 standing; 0 crouched
Frame lyingStill();

}  // namespace character
