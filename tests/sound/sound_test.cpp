// The sound service on SDL's disk audio driver: what it plays is written to a
// file, which the tests read back and measure.
#include "core/input.h"
#include "platform/platform.h"
#include "sound/audio_capture.h"
#include "sound/sound.h"
#include "state/game_state.h"
#include "state/resources.h"

#include <gtest/gtest.h>

#include <csignal>
#include <iterator>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// SIGINT and SIGTERM as the program found them, before any SDL call (a shell
// starts a program in the background with SIGINT ignored).
std::pair<void (*)(int), void (*)(int)> signalHandlers()
{
    struct sigaction interrupt {}, terminate {};
    ::sigaction(SIGINT, nullptr, &interrupt);
    ::sigaction(SIGTERM, nullptr, &terminate);
    return {interrupt.sa_handler, terminate.sa_handler};
}
const auto handlersAtStart = signalHandlers();

class SoundService : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = capture::scratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        output = folder / "mixed.raw";
    }
    void TearDown() override
    {
        sys::glfwSetKeyCallback(nullptr);
        game = GameState{};
        resources.music = nullptr;
        ::unsetenv("SDL_SOUNDFONTS");
        soundtest::shutdown();
        if (std::getenv("ORBITOR_KEEP_SOUND") == nullptr)   // set it to listen to the captures
            fs::remove_all(folder);
    }
    // Opens the service on the disk driver.
    void openDisk(int delayMs, int mixChannels = 32)
    {
        capture::useDiskDriver(output, delayMs);
        ASSERT_TRUE(FSOUND_Init(44100, mixChannels, 0));
    }
    FSOUND_SAMPLE* tone(double frequency, double seconds)
    {
        const fs::path file = folder / ("tone" + std::to_string(int(frequency)) + ".wav");
        capture::writeToneWav(file, frequency, seconds);
        return FSOUND_Sample_Load(0, file.c_str(), 0, 0, 0);
    }
    // Waits until the device has written `seconds` of sound in all.
    bool waitFor(double seconds)
    {
        return capture::waitUntil([&] { return capture::secondsWritten(output) >= seconds; });
    }
    bool waitMore(double seconds) { return waitFor(capture::secondsWritten(output) + seconds); }
    // A song at 120 beats per minute (a beat is 0.5 s): one held A4 on an
    // organ for `beats` beats.
    fs::path writeSong(int beats = 4)
    {
        const int ticks = beats * 480;
        const std::uint8_t bytes[] = {
            'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,   // format 0, one track, 480 ticks
            'M', 'T', 'r', 'k', 0, 0, 0, 23,
            0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,   // 500000 us a quarter
            0x00, 0xC0, 16,                             // drawbar organ
            0x00, 0x90, 69, 100,                        // A4 on
            std::uint8_t(0x80 | ticks >> 7), std::uint8_t(ticks & 0x7F), 0x80, 69, 0,   // after the beats: off
            0x00, 0xFF, 0x2F, 0x00};                    // end of track
        const fs::path song = folder / "song.mid";
        std::ofstream(song, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
        return song;
    }
    // Starts the song with or without looping; returns the second of output
    // it started at.
    double startSong(bool loop, int beats = 4)
    {
        music = FMUSIC_LoadSong(writeSong(beats).c_str());
        EXPECT_TRUE(music && FMUSIC_SetLooping(music, loop));
        const double startedAt = capture::secondsWritten(output);
        EXPECT_TRUE(FMUSIC_PlaySong(music));
        return startedAt;
    }

    FMUSIC_MODULE* music = nullptr;
    fs::path folder, output;
};

TEST_F(SoundService, OpensOnceWithAtLeast32ChannelsLeavingInterruptAndTerminateAsFound)
{
    openDisk(5, 8);
    EXPECT_TRUE(FSOUND_Init(22050, 64, 0));   // already open: nothing changes
    EXPECT_GE(soundtest::mixingChannels(), 32);
    FSOUND_SAMPLE* beep = tone(440, 0.2);
    const int last = soundtest::mixingChannels() - 1;
    EXPECT_EQ((std::vector{FSOUND_PlaySound(last, beep), FSOUND_PlaySound(last + 1, beep), FSOUND_PlaySound(-7, beep)}),
              (std::vector{last, -1, -1}));
    // Ctrl+C and kill still end the game: SDL has put no handlers of its own in.
    EXPECT_EQ(signalHandlers(), handlersAtStart);
}

TEST_F(SoundService, PlayedSampleReachesTheDeviceUntilTheNextOnItsChannelCutsItOff)
{
    // A three-second tone, after 0.3 s a quarter-second one on the same
    // channel: the channel falls silent a quarter-second later; the tones
    // reach the device at their level.
    openDisk(5);
    FSOUND_SAMPLE *low = tone(220, 3.0), *high = tone(880, 0.25);
    ASSERT_EQ(FSOUND_PlaySound(0, low), 0);
    ASSERT_TRUE(soundtest::channelPlaying(0) && waitMore(0.3));
    ASSERT_EQ(FSOUND_PlaySound(0, high), 0);
    const double cutAt = capture::secondsWritten(output);
    EXPECT_TRUE(capture::waitUntil([] { return !soundtest::channelPlaying(0); }));
    soundtest::shutdown();   // which flushes the file
    const auto pcm = capture::readPcm(output);
    EXPECT_NEAR(pcm.size() / 2.0 / capture::rate - cutAt, 0.25, 0.1);
    EXPECT_NEAR(capture::peak(pcm), 16384, 600);
}

TEST_F(SoundService, MissingAndDamagedFilesGiveNullHandlesThatEveryCallAcceptsAndOneLineEach)
{
    // The game's three sound files cut to half, as an unfinished download
    // leaves them; a file that is no sound; one that is not there.
    std::vector<fs::path> halves;
    for (const char* name : {"explosion.mp3", "laserfire3.wav", "UFO.mid"}) {
        std::ifstream in(fs::path(ORBITOR_ASSET_DIR) / "Sound" / name, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        std::ofstream(halves.emplace_back(folder / name), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    const fs::path garbage = folder / "garbage.wav", missing = folder / "missing.wav";
    std::ofstream(garbage) << "not a sound at all";
    openDisk(5);
    ::testing::internal::CaptureStderr();
    FSOUND_SAMPLE* explosion = FSOUND_Sample_Load(0, halves[0].c_str(), 0, 0, 0);
    FSOUND_SAMPLE* laser = FSOUND_Sample_Load(1, halves[1].c_str(), 0, 0, 0);
    FMUSIC_MODULE* song = FMUSIC_LoadSong(halves[2].c_str());
    std::istringstream errors(::testing::internal::GetCapturedStderr());
    EXPECT_TRUE(!explosion && !laser && !song);
    for (const char* name : {missing.c_str(), garbage.c_str(), static_cast<const char*>(nullptr)})
        EXPECT_TRUE(!FSOUND_Sample_Load(1, name, 0, 0, 0) && !FMUSIC_LoadSong(name)) << (name ? name : "null");
    std::size_t lines = 0;
    for (std::string line; std::getline(errors, line); ++lines)
        EXPECT_TRUE(lines < 3 && line.starts_with("Sound file damaged: " + halves[lines].string())) << line;
    EXPECT_EQ(lines, 3u);
    // Start-up and play go on as with good files, silently.
    EXPECT_EQ((std::vector<bool>{FMUSIC_SetLooping(song, true), FMUSIC_PlaySong(song), FSOUND_PlaySound(0, explosion) >= 0,
                                 FSOUND_SetPaused(1, true), FSOUND_SetPaused(1, false), FSOUND_SetPaused(-1, true),
                                 FSOUND_SetPaused(1000, true), FMUSIC_SetPaused(song, true), soundtest::musicPlaying()}),
              (std::vector<bool>{false, false, false, true, true, false, false, false, false}));
}

TEST_F(SoundService, PKeyPausesChannelOneAndTheMusicAndResumesThemWhereTheyStopped)
{
    // A one-second tone on channel 1 and a one-second note played once,
    // paused by the game's P key half-way through and resumed a second
    // later: the tone ends half a second after.
    openDisk(2);
    FSOUND_SAMPLE* beep = tone(300, 1.0);
    const double startedAt = startSong(false, 2);
    ASSERT_EQ(FSOUND_PlaySound(1, beep), 1);
    resources.music = music;
    sys::glfwSetKeyCallback(gameKeyHandler);
    ASSERT_TRUE(waitFor(startedAt + 0.5));
    sys::testSendKey('P', GLFW_PRESS);
    EXPECT_TRUE(soundtest::musicPaused() && soundtest::channelPaused(1) && !game.channelRunning);
    ASSERT_TRUE(waitMore(1.0));
    EXPECT_TRUE(soundtest::channelPlaying(1) && soundtest::musicPlaying());
    sys::testSendKey('P', GLFW_PRESS);
    const double resumedAt = capture::secondsWritten(output);
    EXPECT_FALSE(soundtest::musicPaused() || soundtest::channelPaused(1) || !game.channelRunning);
    EXPECT_TRUE(capture::waitUntil([] { return !soundtest::channelPlaying(1); }));
    EXPECT_NEAR(capture::secondsWritten(output) - resumedAt, 0.5, 0.15);
}

TEST_F(SoundService, SongSoundsFromItsStartAndLoopsOnOrPlaysOnce)
{
    // The two-second song: sounding at once; after its end still playing and
    // sounding only when it loops.
    for (const bool loop : {true, false}) {
        openDisk(2);
        const double startedAt = startSong(loop);
        ASSERT_TRUE(waitFor(startedAt + 5.0));
        EXPECT_EQ(soundtest::musicPlaying(), loop);
        soundtest::shutdown();
        const auto pcm = capture::readPcm(output);
        const auto level = [&](double s) { return capture::rms(pcm, std::size_t(s * capture::rate) * 2, capture::rate / 5); };
        EXPECT_GT(level(startedAt + 0.05), 0.02) << loop;
        EXPECT_EQ(level(startedAt + 4.6) > 0.01, loop) << level(startedAt + 4.6);
        fs::remove(output);
    }
}

TEST_F(SoundService, MissingSoundFontIsNamedOnceOnStandardError)
{
    const std::string missing = (folder / "no-such-font.sf2").string();
    for (const char* fonts : {static_cast<const char*>(nullptr), missing.c_str()}) {
        if (fonts != nullptr)
            ::setenv("SDL_SOUNDFONTS", fonts, 1);
        openDisk(5);
        ::testing::internal::CaptureStderr();
        FMUSIC_LoadSong(writeSong().c_str());
        FMUSIC_LoadSong(writeSong().c_str());
        // The synthesiser may add complaints of its own (lines of its name).
        std::istringstream lines(::testing::internal::GetCapturedStderr());
        int named = 0;
        for (std::string line; std::getline(lines, line);) {
            named += line == "Sound font not found: " + missing + " (music will be silent)";
            EXPECT_TRUE(fonts && (line.starts_with("fluidsynth:") || line.starts_with("Sound font"))) << line;
        }
        EXPECT_EQ(named, fonts ? 1 : 0);
        soundtest::shutdown();
    }
}

TEST(SoundWithoutDevice, EveryCallDoesNothing)
{
    ::setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    const fs::path beep = capture::scratchFolder("no-device") / "beep.wav";
    capture::writeToneWav(beep, 440, 0.1);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0) || soundtest::deviceOpen());
    EXPECT_EQ(std::tuple(soundtest::mixingChannels(), FSOUND_Sample_Load(0, beep.c_str(), 0, 0, 0), FMUSIC_LoadSong(beep.c_str())),
              std::tuple(0, nullptr, nullptr));
    EXPECT_EQ((std::vector<bool>{FSOUND_SetPaused(1, true), FSOUND_SetPaused(1, false), soundtest::channelPlaying(0),
                                 soundtest::musicPlaying()}),
              std::vector<bool>(4, false));
    soundtest::shutdown();
    fs::remove_all(beep.parent_path());
}

}   // namespace
