// Drawing the blended MD2 frame: the skinned model, placed relative to the
// eye so it stays in front of the camera, and its flat black shadow.
#include "entities/md2.h"

#include "core/game_state.h"
#include "platform/gl.h"

namespace {

// Model units to view units, before the caller's own scale factor.
constexpr double modelUnit = 0.025;
// The shadow turns about a pivot this far along the model's z axis.
constexpr float shadowPivot = 0.575f;

// Sends every triangle corner of the interpolated frame, with or without
// its skin coordinate.
void sendTriangles(const Md2Model& model, float x, float y, float z, float scale, bool textured)
{
    const double factor = static_cast<double>(scale) * modelUnit;
    glBegin(GL_TRIANGLES);
    for (std::int32_t i = 0; i < model.header->numTriangles; ++i) {
        for (int k = 0; k < 3; ++k) {
            const Md2Corner c = model.corner(i, k);
            if (textured)
                glTexCoord2f(c.s, c.t);
            glVertex3d(x + c.x * factor, y + c.y * factor, z + c.z * factor);
        }
    }
    glEnd();
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
    glBindTexture(GL_TEXTURE_2D, game.playerSkinTexture);
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
