#include "game/title_menu.h"

#include "hud/screens.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "render/world_texture.h"
#include "state/game_state.h"

void runTitleMenu()
{
    while (!game.gameStartRequested && !game.quitRequested) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (game.inGoalMenu)
            drawGoalScreen();
        else
            drawTitleScreen();
        glfwSwapBuffers();
        // The page is on screen: the textures' other levels can be built now.
        buildPendingMipmaps();
        if (!game.quitRequested &&
            (glfwGetKey(GLFW_KEY_ESC) == GLFW_PRESS || !glfwGetWindowParam(GLFW_OPENED)))
            game.quitRequested = true;
    }
}
