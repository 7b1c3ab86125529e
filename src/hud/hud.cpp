// Text lines, screen tiles and the key-help texts of the overlay.
#include "hud/hud.h"

#include "platform/bitmap_font.h"
#include "render/screen_quad.h"
#include "state/game_state.h"

#include <cmath>
#include <cstdio>
#include <cstring>

void* hudLargeFont() { return bitmapFontTimesRoman24(); }
void* hudSmallFont() { return bitmapFontTimesRoman10(); }

void drawTextLine(int x, int y, int red, int blue, void* font, const char* text)
{
    glLoadIdentity();
    glColor3f(static_cast<float>(red), 0.0f, static_cast<float>(blue));
    glOrtho(-600, 600, -800, 800, 1, 300);
    glRasterPos3f(static_cast<float>(x), static_cast<float>(y), -1.0f);
    if (text == nullptr)
        return;
    const std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i < length; ++i)
        drawBitmapCharacter(font, static_cast<unsigned char>(text[i]));
}

void drawScreenTile(GLuint texture, int x1, int y1, int x2, int y2)
{
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 800, 600, 0, 0, 1);   // pixels, origin top-left, y downward
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    drawScreenQuad(texture, x1, y1, x2, y2);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_COLOR_MATERIAL);
    // Lighting back on only while the player has it on: the overlay drawn
    // next relies on the state the lighting switch describes.
    if (game.lightingEnabled)
        glEnable(GL_LIGHTING);
}

void drawHudTexts()
{
    if (game.chaserActive)
        drawTextLine(-155, 150, 1, 0, hudLargeFont(), "WATCH OUT!!! A VOZODADAV IS HERE!!!");
    else
        drawTextLine(-155, 150, 0, 1, hudLargeFont(), "Hier kann Ihre Werbung stehen");

    if (game.showFps) {
        char figure[64];
        std::snprintf(figure, sizeof figure, "%.2f", game.fps);
        drawTextLine(100, 140, 0, 1, hudLargeFont(), figure);
    }

    void* small = hudSmallFont();
    if (game.escapeMode) {
        drawTextLine(-155, 132, 0, 1, small, "Escape Mode ON (Press E)");
        drawTextLine(-155, 122, 0, 1, small, "Show Textures (Press T)");
        drawTextLine(-155, 112, 0, 1, small, "+/- Motion Time (G/H)");
        return;
    }
    drawTextLine(-155, 132, 0, 1, small, "Escape Mode OFF (Press E)");
    if (!game.showEnvironment) {
        drawTextLine(-155, 122, 0, 1, small, "Show Environement Texture OFF (Press T)");
        return;
    }
    drawTextLine(-155, 122, 0, 1, small, "Show Environement Texture ON (Press T)");
    drawTextLine(-155, 112, 0, 1, small, "+/- X-Direction Environement Texture (G/H)");
    drawTextLine(-155, 102, 0, 1, small, "+/- Y-Direction Environement Texture (V/B)");
}
