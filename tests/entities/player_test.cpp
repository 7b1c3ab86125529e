// The player's character: its construction and console lines, loading its
// model, and switching between standing and running.
#include "entities/player.h"

#include "state/game_state.h"
#include "state/resources.h"
#include "entities/md2.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Makes the player as start-up does and restores the game state afterwards.
class PlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedPlayer = resources.player;
        savedRunning = game.runningAnimation;
        testing::internal::CaptureStderr();
        resources.player = makePlayer(0, 0, 0, 0, 0, 0, 1.0f, 0.2f);
        constructionLines = testing::internal::GetCapturedStderr();
        game.runningAnimation = false;
    }
    void TearDown() override
    {
        delete resources.player;
        resources.player = savedPlayer;
        game.runningAnimation = savedRunning;
    }

    Character* savedPlayer = nullptr;
    bool savedRunning = false;
    std::string constructionLines;
};

}  // namespace

TEST_F(PlayerTest, ConstructionWritesKostrAndTheTraceValue)
{
    EXPECT_EQ(constructionLines, "kostr\n1\n");
}

TEST_F(PlayerTest, ConstructionSetsThePlayersValues)
{
    const Character& p = *resources.player;
    EXPECT_STREQ(p.name, "Orbitor");
    EXPECT_STREQ(p.modelPath, "Modells/tris.md2");
    EXPECT_STREQ(p.textureName, "hueteotl.tga");
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.z, 0.0f);
    EXPECT_EQ(p.hitPoints, 1);
    EXPECT_FLOAT_EQ(p.speed, 0.2f);
    EXPECT_EQ(p.animationState, animationRunning);   // until the model is loaded
    EXPECT_EQ(p.points, 0);
    ASSERT_NE(p.model, nullptr);
    EXPECT_FALSE(p.model->loaded());
}

TEST_F(PlayerTest, OtherTraceValuesArePrintedInTheDefaultFormat)
{
    testing::internal::CaptureStderr();
    Character* other = makePlayer(1, 2, 3, 0, 0, 0, -1.5f, 0.2f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "kostr\n-1.5\n");
    EXPECT_EQ(other->x, 1.0f);
    EXPECT_EQ(other->z, 3.0f);
    delete other;
}

TEST_F(PlayerTest, LoadingTheModelSelectsStanding)
{
    // Whether or not Modells/tris.md2 is present in the working directory,
    // the player ends up standing with row 0 selected.
    loadPlayerModel();
    const Md2Model& m = *resources.player->model;
    EXPECT_EQ(resources.player->animationState, animationStanding);
    EXPECT_EQ(m.animationIndex, 0);
    EXPECT_EQ(m.startFrame, 0);
    EXPECT_EQ(m.endFrame, 39);
    EXPECT_EQ(m.framesPerSecond, 9);
    EXPECT_EQ(m.nextFrame, 1);
    EXPECT_EQ(m.currentFrame, 0);
    EXPECT_FALSE(game.runningAnimation);
}

TEST_F(PlayerTest, AnimationSwitchesOnlyWhenMovingChanges)
{
    loadPlayerModel();
    Md2Model& m = *resources.player->model;

    updatePlayerAnimation(false);   // standing and not moving: nothing
    EXPECT_EQ(resources.player->animationState, animationStanding);
    EXPECT_EQ(m.animationIndex, 0);
    EXPECT_FALSE(game.runningAnimation);

    updatePlayerAnimation(true);    // starts running
    EXPECT_EQ(resources.player->animationState, animationRunning);
    EXPECT_EQ(m.animationIndex, 1);
    EXPECT_EQ(m.startFrame, 40);
    EXPECT_EQ(m.endFrame, 45);
    EXPECT_EQ(m.nextFrame, 41);
    EXPECT_TRUE(game.runningAnimation);

    // Keeps running: the frames already playing are not restarted.
    m.currentFrame = 43;
    m.nextFrame = 44;
    updatePlayerAnimation(true);
    EXPECT_EQ(m.currentFrame, 43);
    EXPECT_EQ(m.nextFrame, 44);
    EXPECT_EQ(resources.player->animationState, animationRunning);

    // Stops: back to standing once, and not straight back to running in the
    // same call.
    updatePlayerAnimation(false);
    EXPECT_EQ(resources.player->animationState, animationStanding);
    EXPECT_EQ(m.animationIndex, 0);
    EXPECT_EQ(m.nextFrame, 1);
    EXPECT_EQ(m.currentFrame, 43);   // kept, blended into the standing frames
    EXPECT_FALSE(game.runningAnimation);

    m.nextFrame = 7;
    updatePlayerAnimation(false);
    EXPECT_EQ(m.nextFrame, 7);
}

TEST_F(PlayerTest, WithoutAPlayerNothingHappens)
{
    Character* made = resources.player;
    resources.player = nullptr;
    loadPlayerModel();
    updatePlayerAnimation(true);
    drawPlayerShadow();
    EXPECT_FALSE(game.runningAnimation);
    resources.player = made;
}
