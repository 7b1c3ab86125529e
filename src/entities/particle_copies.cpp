#include "entities/particle_copies.h"

#include "platform/gl.h"

#include <cstring>
#include <initializer_list>

bool ParticleCopies::Key::operator==(const Key& other) const
{
    return std::memcmp(values, other.values, sizeof values) == 0;
}

void ParticleCopies::begin()
{
    entries = 0;
    limit = 0;
    GLint equation = 0, equationAlpha = 0, clamp = GL_TRUE;
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &equation);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &equationAlpha);
    glGetIntegerv(GL_CLAMP_VERTEX_COLOR, &clamp);
    clampsColour = clamp == GL_TRUE;
    GLint src = 0, dst = 0, srcAlpha = 0, dstAlpha = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &src);
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &srcAlpha);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &dstAlpha);
    GLboolean floatColour = GL_FALSE;
    glGetBooleanv(GL_RGBA_FLOAT_MODE_ARB, &floatColour);
    int bits = 0;
    for (GLenum channel : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS}) {
        GLint b = 0;
        glGetIntegerv(channel, &b);
        bits = b > bits ? b : bits;
    }
    const bool additive = glIsEnabled(GL_BLEND) && equation == GL_FUNC_ADD &&
                          equationAlpha == GL_FUNC_ADD && src == GL_ONE && dst == GL_ONE &&
                          srcAlpha == GL_ONE && dstAlpha == GL_ONE;
    const bool plain = !glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_STENCIL_TEST) &&
                       !glIsEnabled(GL_COLOR_LOGIC_OP) && floatColour == GL_FALSE;
    if (additive && plain && bits > 0 && bits <= 16)
        limit = (1 << bits) - 1;
}

bool ParticleCopies::needed(const Particle& p, float cx, float cy, float cz)
{
    if (limit == 0)
        return true;
    const Key key{{cx, cy, cz, p.size, colour(p.red), colour(p.green), colour(p.blue), colour(p.life)}};
    int slot = -1, weakest = 0;
    for (int i = 0; i < entries; ++i) {
        if (keys[i] == key) {
            slot = i;
            break;
        }
        if (counts[i] < counts[weakest])
            weakest = i;
    }
    if (slot < 0) {
        // A new key takes a free slot, or the one seen least so far; its
        // count starts again, which only ever draws more copies than needed.
        slot = entries < tracked ? entries++ : weakest;
        keys[slot] = key;
        counts[slot] = 0;
    }
    if (counts[slot] >= limit)
        return false;
    ++counts[slot];
    return true;
}

// The colour a vertex carries on: clamped to [0, 1] unless clamping is off.
float ParticleCopies::colour(float value) const
{
    if (!clampsColour)
        return value;
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}
