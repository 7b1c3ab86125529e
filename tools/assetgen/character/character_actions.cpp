// The character's key-posed rows: attack, pain, jump, the hand gestures
// (flip, salute, taunt, wave, point) and the deaths. Each row eases between
// a handful of poses built from the two base stances.
#include "character/character_pose.h"

namespace character {
namespace {

// Where a point of the rest pose, carried by `bone`, is in pose `p`.
Vec3 onBone(const Pose& p, int bone, Vec3 restPoint)
{
    return poseBones(p)[bone].apply(restPoint - boneInfo(bone).joint);
}

// Both hands forward at chest height as if holding a blaster; `out` (0..1)
// pushes them away from the body, `recoil` kicks them up and back.
Pose aiming(Pose p, float out, float recoil)
{
    p.joint[Torso] = add(p.joint[Torso], lean(-6 * recoil));
    p.joint[Head] = add(p.joint[Head], lean(4 - 8 * recoil));
    for (int side = 0; side < 2; ++side) {
        const float s = side ? -1.0f : 1.0f;
        const Vec3 wrist = onBone(p, Torso, {8.5f + 5 * out - 2 * recoil, s * 2.4f, 12.5f + 2 * out + 2.5f * recoil});
        const Vec3 fingers = onBone(p, Torso, {14.0f + 5 * out - 2 * recoil, s * 2.0f, 13.5f + 2 * out + 5 * recoil});
        reach(p, side == 1, wrist, onBone(p, Torso, {0, s * 14, 4}), fingers);
    }
    return p;
}

// Feet apart, left foot forward, knees a little bent.
Pose braced()
{
    Pose p = stance();
    p.joint[ThighL] = limb(14, 7, -10);
    p.joint[ThighR] = limb(-8, 7, -10);
    p.joint[ShinL] = knee(16);
    p.joint[ShinR] = knee(8);
    levelFeet(p);
    return p;
}

// A hit: the body is thrown back, to the side, turned or folded forward.
Pose flinch(Pose p, float back, float side, float turn, float fold)
{
    p.joint[Torso] = add(p.joint[Torso], lean(fold - back, side, turn));
    p.joint[Head] = add(p.joint[Head], lean(fold * 0.5f - back * 1.2f, side * 1.5f, turn));
    for (int s = 0; s < 2; ++s) {
        const int upper = s ? UpperArmR : UpperArmL, fore = s ? ForearmR : ForearmL;
        p.joint[upper] = add(p.joint[upper], limb(fold * 1.2f, back * 1.5f));
        p.joint[fore] = add(p.joint[fore], elbow(fold * 2 + back));
    }
    for (int s = 0; s < 2; ++s) {
        p.joint[s ? ThighR : ThighL] = add(p.joint[s ? ThighR : ThighL], limb(fold * 0.5f));
        p.joint[s ? ShinR : ShinL].y += fold * 0.6f;
    }
    levelFeet(p);
    return p;
}

// Lying on the back, arms spread.
Pose onBack()
{
    Pose p = stance();
    p.joint[Pelvis] = lean(-90);
    p.joint[Torso] = lean(0, 0, 4);
    p.joint[Head] = lean(4, 0, 25);
    p.joint[UpperArmL] = limb(10, 70);
    p.joint[UpperArmR] = limb(25, 55);
    p.joint[ForearmL] = elbow(20);
    p.joint[ForearmR] = elbow(50);
    p.joint[ThighL] = limb(8, 8);
    p.joint[ThighR] = limb(2, 12);
    p.joint[ShinL] = knee(12);
    p.joint[ShinR] = knee(4);
    p.joint[FootL] = {0, 35, 0};   // toes up, relaxed
    p.joint[FootR] = {-8, 40, 0};
    return p;
}

// Lying face down, arms above the head, face turned aside.
Pose onFront()
{
    Pose p = stance();
    p.joint[Pelvis] = lean(90);
    p.joint[Torso] = lean(-2);
    p.joint[Head] = lean(-8, 0, 70);
    p.joint[UpperArmL] = limb(172, 35);
    p.joint[UpperArmR] = limb(165, 50);
    p.joint[ForearmL] = elbow(-10, 0);
    p.joint[ForearmR] = elbow(-25, 0);
    p.joint[ThighL] = limb(2, 6);
    p.joint[ThighR] = limb(6, 12);
    p.joint[ShinL] = knee(6);
    p.joint[ShinR] = knee(20);
    p.joint[FootL] = {0, 75, 0};   // toes pointing back along the ground
    p.joint[FootR] = {0, 65, 0};
    return p;
}

}  // namespace

std::vector<Frame> attackRow(bool crouched)
{
    const Pose b = crouched ? crouch() : braced();
    if (crouched)
        return keyed(9, {{0, at(aiming(b, 0.2f, 0))}, {2, at(aiming(b, 1, 0))}, {3, at(aiming(b, 1, 1))},
                         {4, at(aiming(b, 1, 0.3f))}, {5, at(aiming(b, 1, 1))}, {6, at(aiming(b, 1, 0.3f))},
                         {8, at(aiming(b, 0.2f, 0))}});
    return keyed(8, {{0, at(aiming(b, 0.3f, 0))}, {1, at(aiming(b, 1, 0))}, {2, at(aiming(b, 1, 1))},
                     {3, at(aiming(b, 1, 0.4f))}, {5, at(aiming(b, 0.8f, 0))}, {7, at(aiming(b, 0.3f, 0))}});
}

std::vector<Frame> painRow(int which)
{
    const Pose base = which == 0 ? crouch() : stance();
    float back = 0, side = 0, turn = 0, fold = 0;
    switch (which) {
    case 1: back = 16; break;
    case 2: side = 12; turn = 28; back = 4; break;
    case 3: fold = 26; break;
    default: back = 12; turn = -15; break;
    }
    return keyed(4, {{0, at(base)}, {1, at(flinch(base, back, side, turn, fold))},
                     {2, at(flinch(base, back * 0.6f, side * 0.6f, turn * 0.6f, fold * 0.6f))}, {3, at(base)}});
}

std::vector<Frame> jumpRow()
{
    Pose crouched = crouch();
    crouched.joint[UpperArmL] = limb(-35, 12);
    crouched.joint[UpperArmR] = limb(-35, 12);
    Pose launch = stance();
    launch.joint[UpperArmL] = limb(70, 20);
    launch.joint[UpperArmR] = limb(70, 20);
    launch.joint[Head] = lean(-8);
    levelFeet(launch, 35, 35);
    Pose tuck = stance();
    tuck.joint[Torso] = lean(10);
    tuck.joint[ThighL] = limb(68, 8);
    tuck.joint[ThighR] = limb(55, 8);
    tuck.joint[ShinL] = knee(100);
    tuck.joint[ShinR] = knee(90);
    tuck.joint[UpperArmL] = limb(45, 30);
    tuck.joint[UpperArmR] = limb(45, 30);
    tuck.joint[ForearmL] = elbow(40);
    tuck.joint[ForearmR] = elbow(40);
    levelFeet(tuck, 20, 20);
    return keyed(6, {{0, at(crouched)}, {1, at(launch, 1.5f)}, {2, at(tuck, 9)}, {3, at(tuck, 8)},
                     {4, at(blendPose(tuck, launch, 0.6f), 3)}, {5, at(crouch())}});
}

std::vector<Frame> flipRow()
{
    const Pose rest = stance();
    Pose cock = rest;
    cock.joint[UpperArmR] = limb(45, 15);
    cock.joint[ForearmR] = elbow(110, 30);
    cock.joint[HandR] = limb(-35);
    cock.joint[Torso] = add(rest.joint[Torso], lean(0, 0, -8));
    cock.joint[Head] = add(rest.joint[Head], lean(-4, -6));
    Pose flick = cock;
    flick.joint[HandR] = limb(40);
    flick.joint[ForearmR] = elbow(100, -30);
    Pose whip = rest;
    whip.joint[UpperArmR] = limb(30, 55);
    whip.joint[ForearmR] = elbow(20, 10);
    whip.joint[HandR] = limb(10, 10);
    whip.joint[Torso] = add(rest.joint[Torso], lean(0, 0, 10));
    whip.joint[Head] = add(rest.joint[Head], lean(-6, 4, -12));
    return keyed(12, {{0, at(rest)}, {3, at(cock)}, {5, at(flick)}, {7, at(whip)}, {9, at(whip)}, {11, at(rest)}});
}

std::vector<Frame> saluteRow()
{
    const Pose rest = stance();
    // Elbow out to the side, fingertips to the right brow.
    auto salute = [&](float snap) {
        Pose p = rest;
        p.joint[Torso] = lean(-1);
        p.joint[Head] = lean(-3 - snap);
        p.joint[UpperArmL] = limb(0, 5);
        p.joint[ForearmL] = elbow(6);
        reach(p, true, onBone(p, Head, {3.0f, -5.4f, 26.6f + snap * 0.3f}), onBone(p, Torso, {2, -20, 10}),
              onBone(p, Head, {5.0f, -1.8f, 28.7f}));
        return p;
    };
    return keyed(11, {{0, at(rest)}, {3, at(salute(0))}, {5, at(salute(1))}, {8, at(salute(0))}, {10, at(rest)}});
}

std::vector<Frame> tauntRow()
{
    const Pose rest = stance();
    // Fists on the hips, elbows out.
    auto handsOnHips = [](Pose p) {
        for (int side = 0; side < 2; ++side) {
            const float s = side ? -1.0f : 1.0f;
            reach(p, side == 1, onBone(p, Pelvis, {0.2f, s * 6.9f, 3.6f}), onBone(p, Torso, {-4, s * 20, 10}),
                  onBone(p, Pelvis, {1.6f, s * 6.2f, -0.5f}));
        }
        return p;
    };
    Pose hips = rest;
    hips.joint[Torso] = lean(-3);
    hips.joint[Head] = lean(-6);
    hips = handsOnHips(hips);
    Pose leanLeft = hips, leanRight = hips;
    leanLeft.joint[Torso] = lean(-6, -7, 12);
    leanLeft.joint[Head] = lean(-4, -8, 18);
    leanLeft = handsOnHips(leanLeft);
    leanRight.joint[Torso] = lean(-6, 7, -12);
    leanRight.joint[Head] = lean(-4, 8, -18);
    leanRight = handsOnHips(leanRight);
    Pose beckon = hips;
    beckon.joint[UpperArmR] = limb(55, 10);
    beckon.joint[ForearmR] = elbow(95, 60);
    beckon.joint[HandR] = limb(-40);
    beckon.joint[Head] = lean(-8, 0, -6);
    Pose beckon2 = beckon;
    beckon2.joint[HandR] = limb(35);
    beckon2.joint[ForearmR] = elbow(115, 60);
    return keyed(17, {{0, at(rest)}, {3, at(hips)}, {6, at(leanLeft)}, {9, at(leanRight)}, {11, at(beckon)},
                      {12, at(beckon2)}, {13, at(beckon)}, {14, at(beckon2)}, {16, at(rest)}});
}

std::vector<Frame> waveRow()
{
    const Pose rest = stance();
    Pose up = rest;
    up.joint[UpperArmR] = limb(15, 125);
    up.joint[HandR] = limb(0);
    up.joint[Head] = lean(0, 4, -8);
    Pose in = up, out = up;
    in.joint[ForearmR] = {45, -10, 0};
    out.joint[ForearmR] = {5, -10, 0};
    return keyed(11, {{0, at(rest)}, {2, at(in)}, {3, at(out)}, {4, at(in)}, {5, at(out)}, {6, at(in)},
                      {7, at(out)}, {8, at(in)}, {10, at(rest)}});
}

std::vector<Frame> pointRow()
{
    const Pose rest = stance();
    Pose point = rest;
    point.joint[UpperArmR] = limb(84, 10);
    point.joint[ForearmR] = elbow(4);
    point.joint[HandR] = limb(-4);
    point.joint[Torso] = lean(2, 0, -10);
    point.joint[Head] = lean(2, 0, -4);
    point.joint[UpperArmL] = limb(-4, 10);
    Pose further = point;
    further.joint[UpperArmR] = limb(88, 4);
    further.joint[Torso] = lean(5, 0, -14);
    return keyed(12, {{0, at(rest)}, {3, at(point)}, {6, at(further)}, {9, at(point)}, {11, at(rest)}});
}

std::vector<Frame> deathRow(int which)
{
    const Pose rest = stance();
    if (which == 0) {
        const Pose c = crouch();
        Pose tip = c;
        tip.joint[Pelvis] = lean(40);
        tip.joint[UpperArmL] = limb(60, 40);
        tip.joint[UpperArmR] = limb(60, 40);
        levelFeet(tip);
        return keyed(5, {{0, at(c)}, {2, at(tip)}, {4, at(onFront())}});
    }
    if (which == 1) {
        Pose recoil = flinch(rest, 18, 0, 0, 0);
        Pose buckle = recoil;
        buckle.joint[Pelvis] = lean(-15);
        buckle.joint[ThighL] = limb(30, 5);
        buckle.joint[ThighR] = limb(25, 5);
        buckle.joint[ShinL] = knee(50);
        buckle.joint[ShinR] = knee(45);
        buckle.joint[UpperArmL] = limb(20, 50);
        buckle.joint[UpperArmR] = limb(20, 50);
        levelFeet(buckle);
        Pose falling = blendPose(buckle, onBack(), 0.5f);
        return keyed(6, {{0, at(rest)}, {1, at(recoil)}, {2, at(buckle)}, {3, at(falling, 2)},
                         {4, at(blendPose(falling, onBack(), 0.6f), 1)}, {5, at(onBack())}});
    }
    if (which == 2) {
        Pose clutch = rest;
        clutch.joint[Torso] = lean(20);
        clutch.joint[Head] = lean(15);
        for (int side = 0; side < 2; ++side) {   // both hands pressed to the chest
            const float s = side ? -1.0f : 1.0f;
            reach(clutch, side == 1, onBone(clutch, Torso, {5.6f, s * 2.6f, 12.0f}),
                  onBone(clutch, Torso, {0, s * 14, 2}), onBone(clutch, Torso, {5.4f, -s * 0.5f, 14.5f}));
        }
        Pose kneel = clutch;
        kneel.joint[ThighL] = limb(5, 4);
        kneel.joint[ThighR] = limb(0, 4);
        kneel.joint[ShinL] = knee(90);
        kneel.joint[ShinR] = knee(95);
        levelFeet(kneel, 60, 60);
        Pose topple = kneel;
        topple.joint[Pelvis] = lean(40);
        topple.joint[ThighL] = limb(-30, 4);
        topple.joint[ThighR] = limb(-35, 4);
        topple.joint[UpperArmL] = limb(70, 20);
        topple.joint[UpperArmR] = limb(60, 20);
        return keyed(6, {{0, at(rest)}, {1, at(clutch)}, {2, at(kneel)}, {3, at(topple)},
                         {4, at(blendPose(topple, onFront(), 0.6f))}, {5, at(onFront())}});
    }
    Pose twist = rest;
    twist.joint[Pelvis] = lean(0, 0, 40);
    twist.joint[Torso] = lean(-5, 8, 20);
    twist.joint[UpperArmL] = limb(20, 55);
    twist.joint[UpperArmR] = limb(10, 40);
    Pose sag = twist;
    sag.joint[Pelvis] = lean(0, 30, 70);
    sag.joint[ThighL] = limb(25, 10);
    sag.joint[ShinL] = knee(45);
    sag.joint[ShinR] = knee(30);
    levelFeet(sag);
    // On the right side, curled a little: knees forward, the upper arm
    // across the body, the lower one stretched above the head.
    Pose down = sag;
    down.joint[Pelvis] = lean(0, 86, 100);
    down.joint[Torso] = lean(8);
    down.joint[ThighL] = limb(40, -8);
    down.joint[ThighR] = limb(25, 0);
    down.joint[ShinL] = knee(60);
    down.joint[ShinR] = knee(35);
    down.joint[FootL] = {0, 30, 0};
    down.joint[FootR] = {0, 20, 0};
    down.joint[UpperArmL] = limb(45, -15);
    down.joint[ForearmL] = elbow(30);
    down.joint[UpperArmR] = limb(150, -10);
    down.joint[ForearmR] = elbow(10);
    down.joint[Head] = lean(0, -15);
    return keyed(8, {{0, at(rest)}, {2, at(twist)}, {4, at(sag)}, {6, at(blendPose(sag, down, 0.7f))},
                     {7, at(down)}});
}

Frame lyingStill()
{
    Pose p = onBack();
    p.joint[ThighR] = limb(45, 10);
    p.joint[ShinR] = knee(85);
    p.joint[Head] = lean(6, 0, -30);
    levelFeet(p, 10, 30);
    return at(p);
}

}  // namespace character
