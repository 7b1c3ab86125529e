// Copies of one particle quad stacked in the same place add the very same
// fragments. With additive blending into a colour buffer of at most b bits
// per channel and no depth test, each copy either leaves a channel alone or
// raises it, so after 2^b - 1 copies every channel they touch is saturated
// and further copies change nothing, whatever else is added in between.
// A burst starts with every particle in the centre, so most are such copies.
#pragma once

#include "entities/particle.h"

#include <functional>

// Which of the state queries the driver has, from its GL version and its
// extension list: asking for a value a driver does not know leaves
// GL_INVALID_ENUM behind.
struct CopyStateQueries {
    bool blendEquation = false;       // GL 1.4, ARB_imaging, EXT_blend_minmax or EXT_blend_subtract
    bool separateEquations = false;   // GL 2.0 or EXT_blend_equation_separate
    bool separateFactors = false;     // GL 1.4 or EXT_blend_func_separate
    bool colourClamping = false;      // GL 3.0 or ARB_color_buffer_float
    bool floatMode = false;           // ARB_color_buffer_float
    bool floatBuffers = false;        // GL 3.0: float colour buffers exist
};
// `version` is the GL_VERSION string ("major.minor ..."), `extensions` the
// space-separated GL_EXTENSIONS list (either may be null). Called by
// ParticleCopies::begin the first time it runs (and the tests).
CopyStateQueries copyStateQueries(const char* version, const char* extensions);

// How many copies of one quad can change the picture with the state that
// `get` reads (a glGetIntegerv of the given name), asking only the queries
// the driver has; what it cannot be asked is what a driver without the
// feature always does (the add equation, colours clamped, no float colour
// buffer). 0 when every copy must be drawn, as when the colour buffer might
// hold floats and nothing says whether it does.
struct CopyLimit {
    int copies = 0;
    bool clampsColour = true;   // vertex colours reach the rasteriser clamped to [0, 1]
};
// Called by ParticleCopies::begin every time, with a get that reads the
// current GL state (and by the tests with made-up states).
CopyLimit copyLimit(const CopyStateQueries& queries, const std::function<int(unsigned name)>& get);

// Counts the copies of the last few particle quads drawn in one batch run, so
// that stepParticles can leave out those that cannot change the picture.
class ParticleCopies {
public:
    // Reads the blending, depth, stencil and colour-buffer state that the
    // particles are about to be drawn with; copies are only ever skipped
    // when that state makes them invisible. Called by stepParticles once a
    // frame, when it sets up the state for its first drawn particle.
    void begin();

    // Whether the quads of this particle, drawn with its centre (cx, cy, cz),
    // still need drawing. Called by stepParticles for every unlit particle
    // before it adds the particle to its batch.
    bool needed(const Particle& p, float cx, float cy, float cz);

private:
    // One quad as the rasteriser sees it; equal keys make identical fragments.
    struct Key {
        float values[8];   // centre, size, colour as the rasteriser sees it
        // Equal in every value. Used by needed to find a key already counted.
        bool operator==(const Key& other) const;
    };

    // A colour value as the vertex carries it on: clamped to [0, 1] unless
    // clamping is off. Called by needed for the key's colour.
    float colour(float value) const;

    static constexpr int tracked = 8;
    Key keys[tracked] = {};
    int counts[tracked] = {};
    int entries = 0;
    int limit = 0;
    bool clampsColour = true;
    bool queriesKnown = false;   // the driver's queries, found at the first begin()
    CopyStateQueries queries;
};
