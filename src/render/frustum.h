// The view volume of the current camera as six planes, and a sphere test.
#pragma once

// Planes (a, b, c, d) with a unit normal pointing inside, in the order
// right, left, bottom, top, far, near; all zero before the first extraction.
extern float frustumPlanes[6][4];

// Pure maths: the planes of projection P and model-view M (column-major).
void frustumFromMatrices(const float projection[16], const float modelview[16], float planes[6][4]);
// The same, using only the entries a symmetric perspective fills (0, 5, 10, 11, 14).
void frustumFromPerspective(const float projection[16], const float modelview[16],
                            float planes[6][4]);
// True unless the sphere lies wholly outside one of the planes (distance <= -r).
bool sphereInPlanes(const float planes[6][4], float x, float y, float z, float r);

// Read the current GL matrices into frustumPlanes.
void extractFrustum();
void extractFrustumPerspective();
bool sphereInFrustum(float x, float y, float z, float r);
