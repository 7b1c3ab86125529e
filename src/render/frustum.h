// The view volume of the current camera as six planes, and a sphere test.
#pragma once

// Planes (a, b, c, d) with a unit normal pointing inside, in the order
// right, left, bottom, top, far, near; all zero before the first extraction.
extern float frustumPlanes[6][4];

// Pure maths: the planes of projection P and model-view M (column-major).
// Called by extractFrustum (and the tests).
void frustumFromMatrices(const float projection[16], const float modelview[16], float planes[6][4]);
// The same, using only the entries a symmetric perspective fills (0, 5, 10, 11,
// 14). Called by extractFrustumPerspective.
void frustumFromPerspective(const float projection[16], const float modelview[16],
                            float planes[6][4]);
// True unless the sphere lies wholly outside one of the planes (distance <= -r).
// Called by sphereInFrustum (and the tests).
bool sphereInPlanes(const float planes[6][4], float x, float y, float z, float r);

// A bounding sphere: centre and radius.
struct Sphere {
    float x, y, z, radius;
};
// Pure: the sphere about the centre of the box low..high that reaches all
// its corners (the radius rounded up, so that no corner lies outside).
// Called at start-up by terrainSpheres and waterBounds.
Sphere sphereAroundBox(const double low[3], const double high[3]);

// Reads the current GL matrices into frustumPlanes, from any projection.
// Called once by start-up, before the water is loaded.
void extractFrustum();
// The same for the game's symmetric perspective. Called by each scene pass
// (game view, cube face, blur view) once its camera is set, before the sea.
void extractFrustumPerspective();
// sphereInPlanes against frustumPlanes. Called by the scene passes for the
// sea, by drawWorld for the beach and each mountain, and by drawRegistered
// for emitters and enemies.
bool sphereInFrustum(float x, float y, float z, float r);
