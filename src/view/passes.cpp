#include "view/passes.h"

#include "hud/hud.h"
#include "hud/score.h"
#include "platform/gl.h"
#include "render/lighting.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "view/environment.h"
#include "view/escape.h"
#include "view/scene.h"

namespace {

// The environment view's tiles as an unfolded cube: up; then heading 270,
// 0, 90, 180 in a row; then down.
const int environmentTiles[6][4] = {
    {208, 0, 416, 200}, {0, 200, 208, 400},   {208, 200, 416, 400},
    {416, 200, 624, 400}, {624, 200, 832, 400}, {208, 400, 416, 600},
};

}  // namespace

void drawScenePass()
{
    if (game.escapeMode) {
        drawEscapeFrame();
        return;
    }
    renderScene();
    if (game.chaserActive)
        drawChaserSphere();
    if (game.showEnvironment) {
        for (int i = 0; i < 6; ++i) {
            const int* r = environmentTiles[i];
            drawScreenTile(resources.environmentViewTextures[i], r[0], r[1], r[2], r[3]);
        }
    }
}

void drawOverlay()
{
    if (game.lightingEnabled)
        setLighting(false);
    glColor3f(1, 1, 1);
    glDisable(GL_DEPTH_TEST);
    drawLifeMarkers();
    drawScore();
    drawHeadingCompass();
    if (!game.escapeMode)
        drawCrosshair(float(screenWidth), float(screenHeight), 400, 300);
    drawHudTexts();
    glEnable(GL_DEPTH_TEST);
}
