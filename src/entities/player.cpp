// The player's character: made once at start-up, its MD2 model loaded, then
// switched between the standing and running animations on the movement tick
// and drawn in front of the eye with its shadow.
#include "entities/player.h"

#include "entities/md2.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "state/game_state.h"
#include "state/resources.h"

namespace {

const char* const playerName = "Orbitor";
const char* const playerModelPath = "Modells/tris.md2";
// Kept with the object; the skin actually drawn is resources.playerSkinTexture.
const char* const playerTextureName = "hueteotl.tga";

constexpr int standingRow = 0;   // frames 0-39
constexpr int runningRow = 1;    // frames 40-45

}  // namespace

Character* makePlayer(float x, float y, float z, float rotationX, float rotationY,
                      float rotationZ, float traceValue, float speed)
{
    return new Character(playerName, playerModelPath, playerTextureName, x, y, z, rotationX,
                         rotationY, rotationZ, traceValue, 1, speed, animationRunning, 0);
}

void loadPlayerModel()
{
    Character* player = resources.player;
    if (player == nullptr || player->model == nullptr)
        return;
    // A missing or damaged file leaves the model unloaded; the game then
    // runs without the character on screen.
    player->model->load(player->modelPath);
    player->animationState = animationStanding;
    player->model->selectAnimation(standingRow);
}

void updatePlayerAnimation(bool moved)
{
    Character* player = resources.player;
    if (player == nullptr || player->model == nullptr)
        return;
    if (!moved && game.runningAnimation) {
        player->animationState = animationStanding;
        player->model->selectAnimation(standingRow);
        game.runningAnimation = false;
    } else if (moved && !game.runningAnimation) {
        player->animationState = animationRunning;
        player->model->selectAnimation(runningRow);
        game.runningAnimation = true;
    }
}

void drawCharacter(Character& character)
{
    if (character.animationState == animationNone || character.model == nullptr)
        return;
    const float t = static_cast<float>(glfwGetTime());
    if (t > 0)
        character.model->animate(t);
    glPushMatrix();
    character.model->draw(character.x, character.y, character.z, 1.0f);
    glPopMatrix();
}

void drawPlayerShadow()
{
    Character* player = resources.player;
    if (player == nullptr || player->model == nullptr || player->animationState == animationNone)
        return;
    const float t = static_cast<float>(glfwGetTime());
    player->model->drawShadow(t, player->x, player->y, player->z, 1.0f);
}
