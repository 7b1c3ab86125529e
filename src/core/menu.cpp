#include "core/menu.h"

#include "platform/platform.h"
#include "sound/sound.h"
#include "state/game_state.h"
#include "state/resources.h"

void menuKeyHandler(int key, int action)
{
    if (action != GLFW_RELEASE)
        return;
    switch (key) {
    case 'W':
        if (game.inGoalMenu) {
            if (game.goalMode > 0)
                game.goalMode -= 1;
        } else if (game.menuCursor > 0) {
            game.menuCursor -= 1;
        }
        break;
    case 'S':
        if (game.inGoalMenu) {
            if (game.goalMode < 4)
                game.goalMode += 1;
        } else if (game.menuCursor < 3) {
            game.menuCursor += 1;
        }
        break;
    case 'A':
        game.inGoalMenu = false;
        break;
    case 'D':
        FSOUND_PlaySound(0, resources.laserSample);   // the click
        if (game.inGoalMenu)
            break;
        switch (static_cast<int>(game.menuCursor)) {
        case 0: game.gameStartRequested = true; break;
        case 1: game.inGoalMenu = true; break;
        case 2: game.difficulty = (game.difficulty + 1) % 3; break;
        case 3: game.quitRequested = true; break;
        default: break;
        }
        break;
    default:
        break;
    }
}
