// Shots: the laser fired along the view, its hit test and its red beams.
#pragma once

#include "state/object_list.h"

struct ShotBeam {
    float endX, endY, endZ;
    float startX, startY, startZ;
    float fireTime;     // glfwGetTime seconds
    float lifetime;     // 0.4 seconds
};

extern ObjectList<ShotBeam> shotBeamList;

// A heading brought into [0, 360).
float normalizedHeading(float heading);
// Direction code of a heading (degrees): 6, 7, 5, 8 on the axes 0, 90, 180,
// 270; 1 to 4 for the quadrants between.
int directionCode(float heading);
// Quadrant 1..4 of an offset (dx, dz) from the player.
int quadrantOf(float dx, float dz);
// Whether a direction code accepts a quadrant.
bool quadrantAccepted(int code, int quadrant);
// Tests the enemy under the enemy list's cursor: its 3-D distance, or -1.
float hitDistance(int code, float px, float pz, float eyeHeight, float pitch, float reach,
                  float ux, float uz);
// Fires one shot from the player along the view (the heading is brought
// into [0, 360) first).
void fireShot();
void addShotBeam(float endX, float endY, float endZ, float startX, float startY, float startZ,
                 float fireTime);
// Whether a beam has outlived its lifetime at time `now`.
bool beamExpired(const ShotBeam& beam, double now);
// Links in a beam's chain: one per 0.01 units along its longest axis
// (1 for a beam of no length).
int beamSegments(const ShotBeam& beam);
// Draws one beam; true, drawing nothing, when it has expired.
bool drawShotBeam(const ShotBeam& beam);
// Draws every beam and removes the expired ones.
void drawShotBeams();
