// The drawn markers of the overlay: crosshair, life hearts, heading compass.
#include "hud/hud.h"

#include "state/game_state.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr int circleVertices = 50;
constexpr float fullTurn = 6.2831853f;

// A filled heart: two round lobes and a pointed pentagon below them.
void drawHeart(float cx, float cy, float z)
{
    for (float lobe : {cx - 1.0f, cx + 1.0f}) {
        glBegin(GL_POLYGON);
        for (int k = 0; k < circleVertices; ++k) {
            const float a = k * fullTurn / circleVertices;
            glVertex3f(lobe + std::cos(a), cy + std::sin(a), z);
        }
        glEnd();
    }
    glBegin(GL_POLYGON);
    glVertex3f(cx, cy - 3.0f, z);
    glVertex3f(cx + 1.9f, cy - 0.4f, z);
    glVertex3f(cx + 1.9f, cy, z);
    glVertex3f(cx - 1.9f, cy, z);
    glVertex3f(cx - 1.9f, cy - 0.4f, z);
    glEnd();
}

}  // namespace

void drawCrosshair(float width, float height, float x, float y)
{
    // 15 and 11 pixels per unit across and down at depth 100.
    const float cx = (x - width * 0.5f) / 15.0f;
    const float cy = (y - height * 0.5f) / 11.0f;

    glLoadIdentity();
    glColor3f(1, 1, 1);
    glBegin(GL_LINES);
    glVertex3f(cx + 1, -cy - 1, -100);
    glVertex3f(cx - 1, -cy + 1, -100);
    glVertex3f(cx + 1, -cy + 1, -100);
    glVertex3f(cx - 1, -cy - 1, -100);
    glEnd();

    glLoadIdentity();
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < circleVertices; ++i) {
        const float a = i * fullTurn / circleVertices;
        glVertex3f(cx + std::cos(a), std::sin(a) - cy, -100);
    }
    glEnd();
}

void drawLifeMarkers()
{
    glLoadIdentity();
    glColor3f(1, 0, 0);
    for (int i = 0; i < game.lives; ++i)
        drawHeart(-50.0f + 5.0f * i, 50.0f, -200.0f);
    glColor3f(1, 1, 1);
}

void drawHeadingCompass()
{
    const float r = game.heading * 3.14159265f / 180.0f;
    const float d = static_cast<float>(2.0 * (1.0 - std::fabs(game.pitch) / 100.0));
    glLoadIdentity();
    glColor3f(0, 0, 1);
    glBegin(GL_LINES);
    glVertex3f(24, 19, -100);
    glVertex3f(24 + d * std::sin(r), 19 + d * std::cos(r), -100);
    glEnd();
    glBegin(GL_LINE_LOOP);
    for (int k = 0; k < circleVertices; ++k) {
        const float a = k * fullTurn / circleVertices;
        glVertex3f(24 + 2 * std::cos(a), 19 + 2 * std::sin(a), -100);
    }
    glEnd();
}
