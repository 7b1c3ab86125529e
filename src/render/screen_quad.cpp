#include "render/screen_quad.h"

void drawScreenQuad(GLuint texture, int x1, int y1, int x2, int y2)
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2i(x1, y1);
    glTexCoord2f(0, 0);
    glVertex2i(x1, y2);
    glTexCoord2f(1, 0);
    glVertex2i(x2, y2);
    glTexCoord2f(1, 1);
    glVertex2i(x2, y1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
