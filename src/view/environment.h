// The chaser's mirror sphere with its dynamic cube map, and the environment
// debugging view of six captured directions.
#pragma once

#include "platform/gl.h"

// Side of every captured face, in pixels.
inline constexpr int environmentFaceSize = 100;

// The camera of one captured face.
struct CaptureCamera {
    double x, z;       // where the eye stands (whole units)
    double pitch;
    float heading;
};

// The six views of the chaser's cube map (targets +X, -X, +Y, -Y, +Z, -Z) and
// of the debugging view (up; heading 270, 0, 90, 180; down).
extern const CaptureCamera cubeFaceViews[6];
extern const CaptureCamera debugViews[6];
extern const GLenum cubeFaceTargets[6];

// A capture position is truncated toward zero to a whole unit. Called by
// captureEnvironment for the x and z of every capture.
double capturePosition(float value);

// Start-up: the cube map, the sphere's quadric and the six view textures.
// Called once by start-up, after the start textures.
void setupEnvironmentMap();
// Renders the six faces (the chaser's cube map, or while the environment
// view is on the six debugging textures). Leaves the viewport at 100 x 100
// and the capture projection: the caller restores the game's. Called by the
// frame loop first thing in a frame: through updateChaser's capture when the
// chaser enters and on every eighth step, and every frame while the
// environment view is on.
void captureEnvironment();
// The cube map's texture name. For the tests; nothing in the game asks.
GLuint environmentCubeMapTexture();
// The cameras the last capture used, face by face. For the tests; nothing in
// the game asks.
const CaptureCamera* lastCaptureCameras();
// Draws the chaser's mirror sphere at (chaserX, -15, chaserZ). Called by the
// scene pass after the game view while the chaser is active.
void drawChaserSphere();
