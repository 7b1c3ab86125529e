#include "entities/particle_copies.h"

#include "platform/gl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

bool ParticleCopies::Key::operator==(const Key& other) const
{
    return std::memcmp(values, other.values, sizeof values) == 0;
}

namespace {

bool hasExtension(const char* extensions, const char* name)
{
    const std::size_t length = std::strlen(name);
    for (const char* at = extensions; at != nullptr && (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        if (starts && (at[length] == ' ' || at[length] == '\0'))
            return true;
    }
    return false;
}

}   // namespace

CopyStateQueries copyStateQueries(const char* version, const char* extensions)
{
    int major = 0, minor = 0;
    if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2)
        major = minor = 0;
    const auto atLeast = [&](int wantMajor, int wantMinor) {
        return major > wantMajor || (major == wantMajor && minor >= wantMinor);
    };
    const auto has = [&](const char* name) { return hasExtension(extensions, name); };
    CopyStateQueries q;
    q.blendEquation = atLeast(1, 4) || has("GL_ARB_imaging") || has("GL_EXT_blend_minmax") ||
                      has("GL_EXT_blend_subtract");
    q.separateEquations = atLeast(2, 0) || has("GL_EXT_blend_equation_separate");
    q.separateFactors = atLeast(1, 4) || has("GL_EXT_blend_func_separate");
    q.colourClamping = atLeast(3, 0) || has("GL_ARB_color_buffer_float");
    q.floatMode = has("GL_ARB_color_buffer_float");
    q.floatBuffers = atLeast(3, 0) || q.floatMode;
    return q;
}

CopyLimit copyLimit(const CopyStateQueries& queries, const std::function<int(unsigned name)>& get)
{
    CopyLimit result;
    // Without a float colour buffer, or without a way to tell, the copies
    // saturate nothing for sure: every one is drawn.
    if (queries.floatBuffers && (!queries.floatMode || get(GL_RGBA_FLOAT_MODE_ARB) != GL_FALSE))
        return result;
    const int equation = queries.blendEquation ? get(GL_BLEND_EQUATION_RGB) : GL_FUNC_ADD;
    const int equationAlpha = queries.separateEquations ? get(GL_BLEND_EQUATION_ALPHA) : equation;
    result.clampsColour = !queries.colourClamping || get(GL_CLAMP_VERTEX_COLOR) == GL_TRUE;
    const int src = get(queries.separateFactors ? GL_BLEND_SRC_RGB : GL_BLEND_SRC);
    const int dst = get(queries.separateFactors ? GL_BLEND_DST_RGB : GL_BLEND_DST);
    const int srcAlpha = queries.separateFactors ? get(GL_BLEND_SRC_ALPHA) : src;
    const int dstAlpha = queries.separateFactors ? get(GL_BLEND_DST_ALPHA) : dst;
    int bits = 0;
    for (GLenum channel : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS})
        bits = std::max(bits, get(channel));
    const bool additive = get(GL_BLEND) && equation == GL_FUNC_ADD && equationAlpha == GL_FUNC_ADD &&
                          src == GL_ONE && dst == GL_ONE && srcAlpha == GL_ONE && dstAlpha == GL_ONE;
    const bool plain = !get(GL_DEPTH_TEST) && !get(GL_STENCIL_TEST) && !get(GL_COLOR_LOGIC_OP);
    if (additive && plain && bits > 0 && bits <= 16)
        result.copies = (1 << bits) - 1;
    return result;
}

void ParticleCopies::begin()
{
    entries = 0;
    if (!queriesKnown) {
        queries = copyStateQueries(reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                                   reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
        queriesKnown = true;
    }
    const CopyLimit found = copyLimit(queries, [](unsigned name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return int(value);
    });
    limit = found.copies;
    clampsColour = found.clampsColour;
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
