// The menu pages: a full-screen picture, and on the title and goal pages the
// three-sphere cursor that marks the selected item.
#include "hud/screens.h"

#include "platform/gl.h"
#include "state/game_state.h"
#include "state/resources.h"

namespace {

// The page picture on an 8 x 8 square 15 units in front of the eye, which
// covers the whole window under the game perspective.
void drawScreenPicture(GLuint texture, bool pausePage)
{
    glLoadIdentity();
    if (pausePage)
        glColor4f(1, 1, 1, 0);
    else
        glColor3f(1, 1, 1);
    glEnable(GL_COLOR_MATERIAL);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_POLYGON);
    glTexCoord2f(0, 0);
    glVertex3f(-4, -4, -15);
    glTexCoord2f(1, 0);
    glVertex3f(4, -4, -15);
    glTexCoord2f(1, 1);
    glVertex3f(4, 4, -15);
    glTexCoord2f(0, 1);
    glVertex3f(-4, 4, -15);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_COLOR_MATERIAL);
}

GLUquadric* cursorQuadric()
{
    static GLUquadric* quadric = nullptr;
    if (quadric == nullptr) {
        quadric = gluNewQuadric();
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricOrientation(quadric, GLU_OUTSIDE);
    }
    return quadric;
}

// A magenta ball with two small blue balls above it, step items down the page.
void drawMenuCursor(float step)
{
    glLoadIdentity();
    glTranslatef(-20.0f, -8.0f * step, -115.0f);
    GLUquadric* quadric = cursorQuadric();
    glColor3f(1, 0, 1);
    gluSphere(quadric, 3, 15, 10);
    glTranslatef(1.5f, 2.0f, 0.0f);
    glColor3f(0, 0, 1);
    gluSphere(quadric, 1.5, 15, 10);
    glTranslatef(-3.0f, 0.0f, 0.0f);
    glColor3f(0, 0, 1);
    gluSphere(quadric, 1.5, 15, 10);
    glDisable(GL_COLOR_MATERIAL);
}

}  // namespace

void drawTitleScreen()
{
    // Only three pictures exist; a difficulty outside 0..2 shows the nearest.
    const int page = game.difficulty < 0 ? 0 : (game.difficulty > 2 ? 2 : game.difficulty);
    drawScreenPicture(textureNameFromFloat(resources.titleTextures[page]), false);
    drawMenuCursor(game.menuCursor);
}

void drawGoalScreen()
{
    drawScreenPicture(resources.goalMenuTexture, false);
    drawMenuCursor(static_cast<float>(game.goalMode));
}

void drawPauseScreen()
{
    drawScreenPicture(resources.helpTexture, true);
}
