// Shots: the laser fired along the view, its hit test and its red beams.
#pragma once

#include "state/object_list.h"

// One red beam from the gun to where the shot ended, in world units.
struct ShotBeam {
    float endX, endY, endZ;
    float startX, startY, startZ;
    float fireTime;     // glfwGetTime seconds
    float lifetime;     // 0.4 seconds
};

// The beams still shown, oldest first; drawShotBeams removes the expired.
extern ObjectList<ShotBeam> shotBeamList;

// A heading brought into [0, 360). Called by fireShot before the hit test.
float normalizedHeading(float heading);
// Direction code of a heading (degrees): 6, 7, 5, 8 on the axes 0, 90, 180,
// 270; 1 to 4 for the quadrants between. Called by fireShot, once a shot.
int directionCode(float heading);
// Quadrant 1..4 of an offset (dx, dz) from the player. Called by hitDistance.
int quadrantOf(float dx, float dz);
// Whether a direction code accepts a quadrant. Called by hitDistance, for the
// enemy's quadrant and, on a shot along an axis, the one across it.
bool quadrantAccepted(int code, int quadrant);
// Tests the enemy under the enemy list's cursor: its 3-D distance, or -1.
// Called by fireShot for every enemy as it walks the enemy list.
float hitDistance(int code, float px, float pz, float eyeHeight, float pitch, float reach,
                  float ux, float uz);
// Fires one shot from the player along the view (the heading is brought
// into [0, 360) first): the nearest enemy hit within reach loses a hit point,
// explodes and, at none left, is removed and scored; a beam is added either
// way. Called by the frame loop once a frame, after light 0, while fire is
// held and the current FPS interval has not fired yet.
void fireShot();
// Appends a beam fired at `fireTime` to the beam list. Called by fireShot.
void addShotBeam(float endX, float endY, float endZ, float startX, float startY, float startZ,
                 float fireTime);
// Whether a beam has outlived its lifetime at time `now`. Called by
// drawShotBeams and drawShotBeam for each beam, before anything is sent.
bool beamExpired(const ShotBeam& beam, double now);
// Links in a beam's chain: one per 0.01 units along its longest axis
// (1 for a beam of no length). Called by drawShotBeams and drawShotBeam for
// each beam still alive.
int beamSegments(const ShotBeam& beam);
// Draws one beam; true, drawing nothing, when it has expired. The game draws
// its beams through drawShotBeams; this one is for the tests.
bool drawShotBeam(const ShotBeam& beam);
// Draws every beam and removes the expired ones; a beam that repeats an
// earlier one's chain under a depth test that hides it sends no links.
// Called by the game view's scene pass, after the player's shadow.
void drawShotBeams();
