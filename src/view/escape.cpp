#include "view/escape.h"

#include "platform/platform.h"
#include "render/render_options.h"
#include "render/screen_quad.h"
#include "render/world_texture.h"
#include "state/game_state.h"
#include "view/scene.h"

#include <vector>

EscapeEffect escapeEffect;

namespace {

// What the blur pass of the last capture left bound and switched, before
// the capture put in its own.
GLint passTexture = 0;
GLboolean passDepthTest = GL_TRUE;

}  // namespace

bool advanceEscapeClock(EscapeEffect& effect, double now, int motionTime)
{
    effect.motionClock += static_cast<float>((now - effect.motionClockLast) / 10.0);
    effect.motionClockLast = static_cast<float>(now);
    return effect.motionClock > 0.005f + 0.002f * static_cast<float>(motionTime);
}

std::array<int, 4> blurLayerSlots(int captureIndex)
{
    switch (captureIndex) {
    case 0: return {3, 2, 0, 1};
    case 1: return {0, 1, 2, 3};
    case 2: return {1, 2, 3, 0};
    default: return {2, 3, 0, 1};
    }
}

void initEscapeEffect()
{
    // Placeholder images until the first capture redefines each slot at the
    // frame's size (600 wide, 800 high here; a capture makes it 800 x 600).
    // They are wholly black, and a black texture of one texel samples to the
    // same black everywhere: with the shortcuts the placeholders are 1 x 1
    // (12 bytes instead of 7.7 MB for the four).
    const int width = renderOptions.shortcuts ? 1 : 600, height = renderOptions.shortcuts ? 1 : 800;
    const std::vector<unsigned char> black(static_cast<std::size_t>(width) * height * 3, 0);
    for (GLuint& texture : escapeEffect.captureTextures) {
        glEnable(GL_TEXTURE_2D);
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    glEnable(GL_TEXTURE_2D);
    escapeEffect.tunnelTexture = loadWorldTexture("Textures/tunnel3.tga");
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glDisable(GL_TEXTURE_2D);
}

void captureFrame(GLuint texture)
{
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glViewport(0, 0, 800, 600);
    renderBlurScene();
    escapeEffect.motionClock = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &passTexture);
    passDepthTest = glIsEnabled(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 800, 600, 0);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    escapeEffect.captureIndex = (escapeEffect.captureIndex + 1) % 4;
}

void drawTexturedRect(GLuint texture, float red, float green, float blue, float alpha,
                      int x1, int y1, int x2, int y2)
{
    glLoadIdentity();
    glColor4f(red, green, blue, alpha);
    drawScreenQuad(texture, x1, y1, x2, y2);
}

void drawEscapeFrame()
{
    bool captured = false;
    int objectsInPass = 0;
    if (advanceEscapeClock(escapeEffect, glfwGetTime(), game.motionTime)) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const int objectsBefore = game.objectsDrawn;
        captureFrame(escapeEffect.captureTextures[escapeEffect.captureIndex]);
        objectsInPass = game.objectsDrawn - objectsBefore;
        captured = true;
    }

    // The live view, almost wholly covered by the layers below. Right after
    // a capture it is the captured picture itself (same camera, same clock),
    // still in the colour and depth buffers: only what the pass changes
    // besides the picture is done again, and the capture's own binding and
    // depth switch are put back as the pass left them.
    glClearColor(0, 0, 0, 0);
    if (captured && renderOptions.shortcuts && blurSceneRepeats()) {
        repeatBlurSceneEffects(objectsInPass);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(passTexture));
        if (passDepthTest)
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
    } else {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderBlurScene();
    }

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_NORMALIZE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 800, 600, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);

    const GLuint* slots = escapeEffect.captureTextures;
    if (game.tunnelTextured) {
        drawTexturedRect(slots[0], 1, 1, 1, 1, 0, 0, 260, 200);
        drawTexturedRect(slots[1], 1, 1, 1, 1, 260, 0, 520, 200);
        drawTexturedRect(slots[2], 1, 1, 1, 1, 520, 0, 780, 200);
        drawTexturedRect(slots[3], 1, 1, 1, 1, 0, 200, 260, 400);
    } else {
        const std::array<int, 4> order = blurLayerSlots(escapeEffect.captureIndex);
        const float alphas[4] = {0.8f, 0.7f, 0.6f, 0.5f};
        for (int i = 0; i < 4; ++i)
            drawTexturedRect(slots[order[i]], 1, 1, 1, alphas[i], 0, 0, 800, 600);
    }
    drawTexturedRect(escapeEffect.tunnelTexture, 0, 0, 1, 0.3f, 0, 0, 800, 600);

    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
