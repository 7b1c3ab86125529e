#include "render/view_volume.h"

#include <cmath>

ClipMatrix currentClipMatrix()
{
    GLdouble projection[16], modelView[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    ClipMatrix clip{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + i] * modelView[j * 4 + k];
            clip.m[i][j] = sum;
        }
    return clip;
}

unsigned clipOutcode(const ClipMatrix& clip, float x, float y, float z)
{
    const double v[4] = {x, y, z, 1.0};
    double out[4], size[4];
    for (int i = 0; i < 4; ++i) {
        double sum = 0.0, magnitude = 0.0;
        for (int j = 0; j < 4; ++j) {
            const double term = clip.m[i][j] * v[j];
            sum += term;
            magnitude += std::fabs(term);
        }
        out[i] = sum;
        size[i] = magnitude;
    }
    // The GL works in single precision, with a relative rounding of about
    // 6e-8 on each term: the margin is well over a thousand times that.
    const double w = out[3];
    unsigned code = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const double margin = 1e-4 * (size[axis] + size[3]) + 1e-6;
        if (out[axis] - w > margin)
            code |= 1u << (axis * 2);
        if (-out[axis] - w > margin)
            code |= 1u << (axis * 2 + 1);
    }
    return code;
}

bool outsideView(const ClipMatrix& clip, const float* corners, int count)
{
    unsigned shared = 0x3f;
    for (int c = 0; c < count && shared != 0; ++c)
        shared &= clipOutcode(clip, corners[c * 3], corners[c * 3 + 1], corners[c * 3 + 2]);
    return shared != 0;
}
