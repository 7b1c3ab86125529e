// The red laser beams: a chain of small crossed quads from the player to the
// hit (or the end of the reach), added onto the scene for 0.4 seconds.
#include "entities/shots.h"

#include "platform/gl.h"
#include "platform/platform.h"
#include "render/camera_view.h"
#include "render/render_options.h"
#include "render/stream_arrays.h"
#include "state/resources.h"

#include <cmath>
#include <vector>

ObjectList<ShotBeam> shotBeamList;

bool beamExpired(const ShotBeam& beam, double now)
{
    const float age = static_cast<float>(now - beam.fireTime);
    return beam.lifetime < age;
}

int beamSegments(const ShotBeam& beam)
{
    const float m = std::fmax(std::fabs(beam.endX - beam.startX),
                              std::fmax(std::fabs(beam.endY - beam.startY),
                                        std::fabs(beam.endZ - beam.startZ)));
    if (!(m > 0.0f))
        return 1;
    // One link every 0.01 units along the longest axis. A beam is never
    // longer than the reach, but a damaged one must not run away.
    const double n = m / 0.01;
    return n < 1.0e6 ? static_cast<int>(n) : 1000000;
}

namespace {

// Quads are sent in batches through vertex arrays, in exactly the order the
// chain is laid: per link one across x-y, one across y-z and one across x-z.
// Every quad is sent, even those the GL will clip or cull: which quads share
// a draw call can shift the rasteriser's rounding at the view's edge.
constexpr int quadsPerBatch = 10240;

struct BeamBatch {
    float positions[quadsPerBatch * 4 * 3];
    float texCoords[quadsPerBatch * 4 * 2];
    FixedArray fixedTexCoords;
};

BeamBatch& beamBatch()
{
    static BeamBatch* batch = nullptr;
    if (!batch) {
        batch = new BeamBatch;
        fillQuadTexCoords(batch->texCoords, quadsPerBatch);
    }
    return *batch;
}

void sendBatch(BeamBatch& batch, int quads)
{
    if (quads == 0)
        return;
    glTexCoordPointer(2, GL_FLOAT, 0, bindFixedArray(batch.fixedTexCoords, batch.texCoords, sizeof batch.texCoords));
    const StreamPart positions = {batch.positions, sizeof(float) * 12 * static_cast<std::size_t>(quads)};
    const void* pointer = nullptr;
    streamArrays(&positions, 1, &pointer);
    glVertexPointer(3, GL_FLOAT, 0, pointer);
    glDrawArrays(GL_QUADS, 0, quads * 4);
    // A software rasteriser keeps the binned triangles of every batch not yet
    // drawn (some 3 MB a batch); a full-length beam sent at once raised the
    // peak memory by about 30 MB. Waiting for each batch keeps one at a time
    // and costs little: sending the links, not filling them, is the work.
    if (renderOptions.shortcuts)
        glFinish();
}

// The chain of n links from the beam's start: at each link a quad across
// x-y, one across y-z and one across x-z, each 2w wide.
void sendLinks(const ShotBeam& beam, int n, float stepX, float stepY, float stepZ)
{
    BeamBatch& batch = beamBatch();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    float x = beam.startX, y = beam.startY, z = beam.startZ;
    const float w = 0.125f;
    int filled = 0;
    for (int i = 0; i < n; ++i) {
        const float quads[3][4][3] = {
            {{x - w, y - w, z}, {x + w, y - w, z}, {x + w, y + w, z}, {x - w, y + w, z}},   // x-y
            {{x, y - w, z - w}, {x, y - w, z + w}, {x, y + w, z + w}, {x, y + w, z - w}},   // y-z
            {{x - w, y, z - w}, {x - w, y, z + w}, {x + w, y, z + w}, {x + w, y, z - w}},   // x-z
        };
        for (int q = 0; q < 3; ++q) {
            float* v = batch.positions + filled * 4 * 3;
            for (const auto& c : quads[q]) {
                *v++ = c[0];
                *v++ = c[1];
                *v++ = c[2];
            }
            if (++filled == quadsPerBatch) {
                sendBatch(batch, filled);
                filled = 0;
            }
        }
        x += stepX;
        y += stepY;
        z += stepZ;
    }
    sendBatch(batch, filled);
    endStreamArrays();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    // As if sent one corner at a time: the last corner's coordinate stays current.
    glTexCoord2f(1.0f, 1.0f);
}

// Draws one beam; `links` false leaves out the chain itself but keeps every
// state change, for a beam whose chain is known to change no pixel.
bool drawBeam(const ShotBeam& beam, bool links)
{
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    applyCameraView();
    if (beamExpired(beam, glfwGetTime()))
        return true;

    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);

    const int n = beamSegments(beam);
    const float divisor = n > 0 ? static_cast<float>(n) : 1.0f;
    const float stepX = (beam.endX - beam.startX) / divisor;
    const float stepY = (beam.endY - beam.startY) / divisor;
    const float stepZ = (beam.endZ - beam.startZ) / divisor;

    glColor3f(1.0f, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, resources.particleTexture);
    if (links && n > 0)
        sendLinks(beam, n, stepX, stepY, stepZ);

    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    return false;
}

// Whether a fragment that exactly repeats an earlier one of the same frame
// is rejected: depth test on with GL_LESS and depth writes on, into a depth
// buffer. The repeat's depth then equals or exceeds what is stored there.
bool repeatsAreHidden()
{
    GLint bits = 0, func = 0;
    GLboolean writes = GL_FALSE;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
    return glIsEnabled(GL_DEPTH_TEST) && bits > 0 && func == GL_LESS && writes == GL_TRUE;
}

bool sameChain(const ShotBeam& a, const ShotBeam& b)
{
    return a.startX == b.startX && a.startY == b.startY && a.startZ == b.startZ &&
           a.endX == b.endX && a.endY == b.endY && a.endZ == b.endZ;
}

}  // namespace

bool drawShotBeam(const ShotBeam& beam) { return drawBeam(beam, true); }

void drawShotBeams()
{
    // Beams fired from the same place at the same aim have the same chain,
    // drawn with the same camera: every fragment of a later copy meets an
    // equal or nearer depth and is rejected, so only the first is sent.
    static std::vector<ShotBeam> drawn;
    drawn.clear();
    const bool hidden = renderOptions.shortcuts && repeatsAreHidden();
    forEach(shotBeamList, [hidden](ShotBeam& beam) {
        bool repeat = false;
        if (hidden)
            for (const ShotBeam& earlier : drawn)
                repeat = repeat || sameChain(earlier, beam);
        if (!drawBeam(beam, !repeat)) {
            if (hidden && !repeat)
                drawn.push_back(beam);
            return;
        }
        delete removeCurrent(shotBeamList);
    });
}
