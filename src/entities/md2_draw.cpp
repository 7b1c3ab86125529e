// Drawing the blended MD2 frame: the skinned model, placed relative to the
// eye so it stays in front of the camera, and its flat black shadow.
#include "entities/md2.h"

#include "platform/gl.h"
#include "render/stream_arrays.h"
#include "state/game_state.h"
#include "state/resources.h"

#include <vector>

namespace {

// Model units to view units, before the caller's own scale factor.
constexpr double modelUnit = 0.025;
// The shadow turns about a pivot this far along the model's z axis.
constexpr float shadowPivot = 0.575f;

// The corners of the interpolated frame as client arrays, reused from
// drawing to drawing.
std::vector<float> cornerPositions;
std::vector<float> cornerTexCoords;

// Sends every triangle corner of the interpolated frame, in file order, with
// or without its skin coordinate. Each position is worked out in double
// precision and handed over as the float the GL keeps of it.
void sendTriangles(const Md2Model& model, float x, float y, float z, float scale, bool textured)
{
    const double factor = static_cast<double>(scale) * modelUnit;
    const std::int32_t triangles = model.header->numTriangles;
    if (triangles <= 0)
        return;
    const std::size_t corners = static_cast<std::size_t>(triangles) * 3;
    cornerPositions.resize(corners * 3);
    cornerTexCoords.resize(corners * 2);
    float* v = cornerPositions.data();
    float* t = cornerTexCoords.data();
    for (std::int32_t i = 0; i < triangles; ++i) {
        for (int k = 0; k < 3; ++k) {
            const Md2Corner c = model.corner(i, k);
            *t++ = c.s;
            *t++ = c.t;
            *v++ = static_cast<float>(x + c.x * factor);
            *v++ = static_cast<float>(y + c.y * factor);
            *v++ = static_cast<float>(z + c.z * factor);
        }
    }
    const StreamPart parts[2] = {{cornerPositions.data(), sizeof(float) * cornerPositions.size()},
                                 {cornerTexCoords.data(), sizeof(float) * cornerTexCoords.size()}};
    const void* pointers[2];
    streamArrays(parts, textured ? 2 : 1, pointers);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, pointers[0]);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, pointers[1]);
    }
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(corners));
    endStreamArrays();
    glDisableClientState(GL_VERTEX_ARRAY);
    if (textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        // As if sent one corner at a time: the last coordinate stays current.
        glTexCoord2f(t[-2], t[-1]);
    }
}

}  // namespace

void Md2Model::draw(float x, float y, float z, float scale)
{
    // Without a loaded model with frames the character is simply not drawn.
    if (!drawable())
        return;
    interpolate();

    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    // Relative to the eye: only the pitch of the view applies, never the
    // player's position or heading. The model's z-up axes turn to y-up.
    glRotated(game.pitch, 1.0, 0.0, 0.0);
    glTranslatef(0.0f, -1.0f, -1.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);

    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, resources.playerSkinTexture);
    glEnable(GL_TEXTURE_2D);
    if (game.modelTranslucent) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4f(1.0f, 1.0f, 1.0f, 0.8f);
    }

    sendTriangles(*this, x, y, z, scale, true);

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    if (game.lightingEnabled)
        glEnable(GL_LIGHTING);
}

void Md2Model::drawShadow(float t, float x, float y, float z, float scale)
{
    if (!drawable())
        return;
    if (t > 0)
        animate(t);
    glPushMatrix();
    interpolate();
    if (game.lightingEnabled) {
        glLoadIdentity();
        glLoadIdentity();
        glRotated(game.pitch, 1.0, 0.0, 0.0);
        glTranslatef(0.0f, -1.0f, -0.01f);
        glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);
        glTranslatef(0.0f, 0.0f, -shadowPivot);
        glRotatef(static_cast<float>(225.0 - game.heading), 1.0f, 0.0f, 0.0f);
        glTranslatef(0.0f, 0.0f, shadowPivot);
        // Black; blending and depth state are the calling scene pass's.
        glColor3f(0.0f, 0.0f, 0.0f);
        sendTriangles(*this, x, y, z, scale, false);
    }
    glPopMatrix();
}
