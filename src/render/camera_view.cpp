#include "render/camera_view.h"

#include "platform/gl.h"
#include "state/game_state.h"

void applyCameraView()
{
    // The middle pair of translations cancels; the net view is: pitch about
    // x, heading about y, then the eye moved to the player's position.
    glRotated(game.pitch, 1.0, 0.0, 0.0);
    glTranslated(-game.playerX, -eyeHeight, -game.playerZ);
    glTranslated(game.playerX, eyeHeight, game.playerZ);
    glRotatef(game.heading, 0.0f, 1.0f, 0.0f);
    glTranslated(-game.playerX, -eyeHeight, -game.playerZ);
}
