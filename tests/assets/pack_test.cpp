// The generated pack as a player gets it (build/assets/): every file the game
// loads is there and passes the game's own loader, the character's rows fit
// the game's animation table, the menu labels sit on the cursor's rows, the
// goal page prints the game's goals and the sounds and the music are heard.
// How the pictures look, the character's place in the view included, is the
// preview's business (./play --preview).
#include "core/menu.h"
#include "core/rules.h"
#include "entities/md2.h"
#include "game/startup.h"
#include "hud/screens.h"
#include "pages/menu_pages.h"
#include "platform/gl.h"
#include "platform/platform.h"
#include "platform/texture_decode.h"
#include "render/projection.h"
#include "sound/audio_capture.h"
#include "sound/sound.h"
#include "sound/sound_check.h"
#include "state/game_state.h"
#include "state/resources.h"
#include "support/pixels.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

enum class Loader { texture, model, sample, song, font };

struct PackFile {
    const char* path;   // as the game opens it, from the pack folder
    Loader loader;
};

// Every file the game opens, with the loader that reads it.
const PackFile packFiles[] = {
    {"Textures/hm5c.tga", Loader::texture},          {"Textures/wood.tga", Loader::texture},
    {"Textures/mountainsc.tga", Loader::texture},    {"Textures/beachtex_COLOR.tga", Loader::texture},
    {"Textures/water0_COLOR.tga", Loader::texture},  {"Textures/water1_COLOR.tga", Loader::texture},
    {"Textures/water2_COLOR.tga", Loader::texture},  {"Textures/water3_COLOR.tga", Loader::texture},
    {"Textures/water4_COLOR.tga", Loader::texture},  {"Textures/water5_COLOR.tga", Loader::texture},
    {"Textures/water6_COLOR.tga", Loader::texture},  {"Textures/water7_COLOR.tga", Loader::texture},
    {"Textures/front_Color.tga", Loader::texture},   {"Textures/Mback_Color.tga", Loader::texture},
    {"Textures/Mtop.tga", Loader::texture},          {"Textures/Mleft_Color.tga", Loader::texture},
    {"Textures/right_Color.tga", Loader::texture},   {"Textures/box_COLOR.tga", Loader::texture},
    {"Textures/Particle.tga", Loader::texture},      {"Textures/tunnel3.tga", Loader::texture},
    {"Textures/hueteotl.tga", Loader::texture},      {"Textures/sp1.tga", Loader::texture},
    {"Textures/sp2.tga", Loader::texture},           {"Textures/sp3.tga", Loader::texture},
    {"Textures/sp4.tga", Loader::texture},           {"Textures/spHelp.tga", Loader::texture},
    {"Modells/tris.md2", Loader::model},             {"Sound/explosion.mp3", Loader::sample},
    {"Sound/laserfire3.wav", Loader::sample},        {"Sound/UFO.mid", Loader::song},
    {"Sound/orbitor.sf2", Loader::font},
};

// Runs in the pack folder, as the game does; the sound service on the
// silent device unless a test opens another.
class Pack : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::current_path(assetDir());
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        game = GameState{};
    }
    void TearDown() override
    {
        soundtest::shutdown();
        sys::glfwSetKeyCallback(nullptr);
        game = GameState{};
    }
};

class PackFiles : public Pack, public ::testing::WithParamInterface<PackFile> {};

TEST_P(PackFiles, LoadThroughTheGamesLoader)
{
    const PackFile& file = GetParam();
    ASSERT_TRUE(fs::is_regular_file(file.path)) << file.path << " is missing";
    std::string error;
    switch (file.loader) {
    case Loader::texture: {
        sys::DecodedPicture picture;
        EXPECT_TRUE(sys::readTexturePicture(file.path, picture, error)) << error;
        EXPECT_GE(picture.channels, 3);
        break;
    }
    case Loader::model: {
        Md2Model model;
        ASSERT_TRUE(model.load(file.path));
        EXPECT_TRUE(model.drawable());
        break;
    }
    case Loader::sample: {
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(0, file.path, 0, 0, 0);
        ASSERT_NE(sample, nullptr);
        std::vector<std::int16_t> pcm;
        int rate = 0, channels = 0;
        ASSERT_TRUE(soundtest::samplePcm(sample, pcm, rate, channels));
        EXPECT_GT(capture::peak(pcm), 8000) << "too quiet to hear";
        break;
    }
    case Loader::song: {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(readSoundFile(file.path, SoundFileKind::song, bytes));
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        EXPECT_NE(FMUSIC_LoadSong(file.path), nullptr);
        break;
    }
    case Loader::font: {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(readSoundFile(file.path, SoundFileKind::font, bytes));
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(Generated, PackFiles, ::testing::ValuesIn(packFiles), [](const auto& info) {
    std::string name = info.param.path;
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name;
});

// Each row of the game's animation table lies inside the file, and its
// frames are the generator's frames of one row, numbered from 01: a row
// that came out a frame longer or shorter would make the player run with a
// frame of another row.
TEST_F(Pack, CharacterFramesFollowTheGamesAnimationRows)
{
    Md2Model model;
    ASSERT_TRUE(model.load("Modells/tris.md2"));
    std::set<std::string> rowNames;
    for (const Md2Animation& row : model.animations) {
        ASSERT_LT(row.lastFrame, model.header->numFrames);
        const std::string first = model.frames[row.firstFrame].name;
        const std::string name = first.substr(0, first.size() - 2);
        EXPECT_TRUE(rowNames.insert(name).second) << name << " names two rows";
        for (int f = row.firstFrame; f <= row.lastFrame; ++f) {
            char expected[md2FrameNameSize + 4];
            std::snprintf(expected, sizeof expected, "%s%02d", name.c_str(), f - row.firstFrame + 1);
            EXPECT_EQ(std::string(model.frames[f].name), expected) << "frame " << f;
        }
    }
    EXPECT_EQ(model.header->numFrames, model.animations[md2AnimationCount - 1].lastFrame + 1);
}

// On every title page and the goal page, with the cursor moved down by the
// menu's own keys: a label right of the cursor ball on its row, and no text
// in the ball's column or in the gap before the label.
TEST_F(Pack, MenuLabelsSitOnTheCursorRows)
{
    if (!openTestWindow())
        GTEST_SKIP() << "no display";
    loadStartTextures();
    sys::glfwSetKeyCallback(menuKeyHandler);
    for (int page = 0; page < 4; ++page) {
        game = GameState{};
        game.inGoalMenu = page == 3;
        game.difficulty = page % 3;
        for (int item = 0;; ++item) {
            resetProjection();
            glDisable(GL_DEPTH_TEST);   // as in the menu: a game turns both on
            glDisable(GL_LIGHTING);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            game.inGoalMenu ? drawGoalScreen() : drawTitleScreen();
            const Frame frame = grabFrame();
            const Box ball = boxOf(frame, isMagenta);
            ASSERT_FALSE(ball.empty());
            const int row = (ball.top + ball.bottom) / 2;
            EXPECT_LE(countPixels(frame, isWhite, ball.left - 10, ball.top, ball.right + 15, ball.bottom), 6)
                << "page " << page << " item " << item;
            EXPECT_GT(countPixels(frame, isWhite, ball.right + 16, row - 16, ball.right + 140, row + 16), 150)
                << "page " << page << " item " << item;
            const float cursor = game.inGoalMenu ? float(game.goalMode) : game.menuCursor;
            sys::testSendKey('S', GLFW_PRESS);
            sys::testSendKey('S', GLFW_RELEASE);
            if ((game.inGoalMenu ? float(game.goalMode) : game.menuCursor) == cursor)
                break;
        }
    }
}

TEST_F(Pack, GoalPagePrintsTheGamesGoals)
{
    for (int d = 0; d < 3; ++d) {
        const DifficultyParameters rules = difficultyParameters(d);
        const GoalPageLimits page = goalPageLimits(d);
        EXPECT_EQ(page.kills, rules.killGoal) << d;
        EXPECT_EQ(page.score, rules.scoreGoal) << d;
        EXPECT_EQ(float(page.seconds), rules.timeGoal) << d;
    }
}

// The tune through the sound service, as the game starts it: every second
// of the opening is heard.
TEST_F(Pack, MusicIsHeardThroughout)
{
    const fs::path output = capture::scratchFolder("pack-music") / "music.raw";
    capture::useDiskDriver(output, 2);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FMUSIC_MODULE* music = FMUSIC_LoadSong("Sound/UFO.mid");
    ASSERT_NE(music, nullptr);
    FMUSIC_SetLooping(music, true);
    const double startedAt = capture::secondsWritten(output);
    ASSERT_TRUE(FMUSIC_PlaySong(music));
    ASSERT_TRUE(capture::waitUntil([&] { return capture::secondsWritten(output) >= startedAt + 8.0; }, 60.0));
    soundtest::shutdown();
    const auto pcm = capture::readPcm(output);
    const std::size_t second = std::size_t(capture::rate) * capture::channels;
    const std::size_t start = std::size_t(startedAt * capture::rate) * capture::channels;
    for (int s = 0; s < 8; ++s)
        EXPECT_GT(capture::rms(pcm, start + s * second, second), 0.01) << "second " << s;
    EXPECT_LT(capture::peak(pcm), 32767) << "clipped";
    fs::remove_all(output.parent_path());
}

}  // namespace
