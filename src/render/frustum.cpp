#include "render/frustum.h"

#include "platform/gl.h"

#include <algorithm>
#include <cmath>
#include <limits>

float frustumPlanes[6][4] = {};

namespace {

// Builds the six planes from the rows of the clip matrix C (column-major,
// C[4j + i] is row i, column j) and scales each to a unit normal.
void planesFromClip(const float c[16], float planes[6][4])
{
    for (int j = 0; j < 4; ++j) {
        const float r0 = c[4 * j + 0];
        const float r1 = c[4 * j + 1];
        const float r2 = c[4 * j + 2];
        const float r3 = c[4 * j + 3];
        planes[0][j] = r3 - r0;   // right
        planes[1][j] = r3 + r0;   // left
        planes[2][j] = r3 + r1;   // bottom
        planes[3][j] = r3 - r1;   // top
        planes[4][j] = r3 - r2;   // far
        planes[5][j] = r3 + r2;   // near
    }
    for (int p = 0; p < 6; ++p) {
        const float length = std::sqrt(planes[p][0] * planes[p][0] + planes[p][1] * planes[p][1] +
                                       planes[p][2] * planes[p][2]);
        for (int j = 0; j < 4; ++j)
            planes[p][j] /= length;
    }
}

}  // namespace

void frustumFromMatrices(const float projection[16], const float modelview[16], float planes[6][4])
{
    float clip[16];
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += projection[4 * k + i] * modelview[4 * j + k];
            clip[4 * j + i] = sum;
        }
    planesFromClip(clip, planes);
}

void frustumFromPerspective(const float projection[16], const float modelview[16],
                            float planes[6][4])
{
    // A symmetric perspective fills only P[0], P[5], P[10], P[11] and P[14].
    float clip[16];
    for (int j = 0; j < 4; ++j) {
        const float* m = modelview + 4 * j;
        clip[4 * j + 0] = projection[0] * m[0];
        clip[4 * j + 1] = projection[5] * m[1];
        clip[4 * j + 2] = projection[10] * m[2] + projection[14] * m[3];
        clip[4 * j + 3] = projection[11] * m[2];
    }
    planesFromClip(clip, planes);
}

bool sphereInPlanes(const float planes[6][4], float x, float y, float z, float r)
{
    for (int p = 0; p < 6; ++p) {
        if (planes[p][0] * x + planes[p][1] * y + planes[p][2] * z + planes[p][3] <= -r)
            return false;
    }
    return true;
}

Sphere sphereAroundBox(const double low[3], const double high[3])
{
    Sphere s{static_cast<float>((low[0] + high[0]) / 2), static_cast<float>((low[1] + high[1]) / 2),
             static_cast<float>((low[2] + high[2]) / 2), 0.0f};
    // Measured from the centre as stored; the farthest corner decides.
    const double centre[3] = {s.x, s.y, s.z};
    double squared = 0;
    for (int i = 0; i < 3; ++i) {
        const double reach = std::max(high[i] - centre[i], centre[i] - low[i]);
        squared += reach * reach;
    }
    const float radius = static_cast<float>(std::sqrt(squared));
    s.radius = std::nextafter(radius, std::numeric_limits<float>::max());
    return s;
}

void extractFrustum()
{
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    frustumFromMatrices(projection, modelview, frustumPlanes);
}

void extractFrustumPerspective()
{
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    frustumFromPerspective(projection, modelview, frustumPlanes);
}

bool sphereInFrustum(float x, float y, float z, float r)
{
    return sphereInPlanes(frustumPlanes, x, y, z, r);
}
