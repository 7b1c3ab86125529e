// The sound service on SDL's disk audio driver: what it plays is written to a
// file, which the tests read back and measure.
#include "state/game_state.h"
#include "state/resources.h"
#include "core/input.h"
#include "platform/platform.h"
#include "sound/audio_capture.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <iterator>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

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
    bool waitForOutput(double seconds)
    {
        return capture::waitUntil([&] { return capture::secondsWritten(output) >= seconds; });
    }
    // Waits until `channel` has finished and then `after` seconds more;
    // closes the device (which flushes the file) and reads what it wrote.
    std::vector<std::int16_t> finishAfter(int channel, double after)
    {
        EXPECT_TRUE(capture::waitUntil([channel] { return !soundtest::channelPlaying(channel); }));
        EXPECT_TRUE(waitForOutput(capture::secondsWritten(output) + after));
        soundtest::shutdown();
        return capture::readPcm(output);
    }
    // A song at 120 beats per minute (a beat is 0.5 s): one held A4 on an
    // organ, four beats (one bar, 2 s) unless told otherwise.
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
    // Opens the disk driver and starts the song with or without looping;
    // returns the second of output it started at.
    double startSong(bool loop, int beats = 4)
    {
        openDisk(2);
        music = FMUSIC_LoadSong(writeSong(beats).c_str());
        EXPECT_TRUE(music && FMUSIC_SetLooping(music, loop));
        const double startedAt = capture::secondsWritten(output);
        EXPECT_TRUE(FMUSIC_PlaySong(music));
        return startedAt;
    }

    FMUSIC_MODULE* music = nullptr;
    fs::path folder, output;
};

TEST_F(SoundService, OpensWithAtLeast32ChannelsAndOnlyOnce)
{
    openDisk(5, 8);
    EXPECT_GE(soundtest::mixingChannels(), 32);
    EXPECT_TRUE(FSOUND_Init(22050, 64, 0));   // already open: nothing changes
    EXPECT_GE(soundtest::mixingChannels(), 32);
    FSOUND_SAMPLE* beep = tone(440, 0.2);
    const int last = soundtest::mixingChannels() - 1;
    EXPECT_EQ((std::vector{FSOUND_PlaySound(last, beep), FSOUND_PlaySound(last + 1, beep), FSOUND_PlaySound(-7, beep)}),
              (std::vector{last, -1, -1}));
}

TEST_F(SoundService, LeavesInterruptAndTerminateToTheirDefaults)
{
    openDisk(0);
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(::sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

TEST_F(SoundService, PlayedSampleReachesTheDevice)
{
    openDisk(5);
    EXPECT_EQ(FSOUND_PlaySound(0, tone(440, 0.3)), 0);
    EXPECT_TRUE(soundtest::channelPlaying(0));
    const auto pcm = finishAfter(0, 0.2);
    // One stretch of sound, as long as the tone, at its pitch and level.
    const auto runs = capture::loudRuns(capture::windowLevels(pcm));
    ASSERT_EQ(runs.spans.size(), 1u);
    EXPECT_NEAR(runs.loudWindows * 0.01, 0.3, 0.03);
    const std::size_t middle = (runs.spans[0].first + 5) * capture::rate / 100;
    EXPECT_NEAR(capture::toneFrequency(pcm, middle, capture::rate / 5), 440.0, 10.0);
    EXPECT_NEAR(capture::peak(pcm), 16384, 600);
}

TEST_F(SoundService, MissingFilesGiveNullHandlesThatEveryCallAccepts)
{
    openDisk(5);
    const fs::path garbage = folder / "garbage.wav", missing = folder / "missing.wav";
    std::ofstream(garbage) << "not a sound at all";
    for (const char* name : {missing.c_str(), garbage.c_str(), static_cast<const char*>(nullptr)})
        EXPECT_TRUE(!FSOUND_Sample_Load(1, name, 0, 0, 0) && !FMUSIC_LoadSong(name)) << (name ? name : "null");
    EXPECT_EQ(FSOUND_PlaySound(0, nullptr), -1);
    // Pausing a channel with nothing on it works; channels that do not exist and null songs do not.
    EXPECT_EQ((std::vector<bool>{FSOUND_SetPaused(1, true), FSOUND_SetPaused(1, false), FSOUND_SetPaused(-1, true),
                                 FSOUND_SetPaused(1000, true), FMUSIC_SetLooping(nullptr, true), FMUSIC_PlaySong(nullptr),
                                 FMUSIC_SetPaused(nullptr, true)}),
              (std::vector<bool>{true, true, false, false, false, false, false}));
    ASSERT_TRUE(waitForOutput(0.2));
    EXPECT_FALSE(soundtest::channelPlaying(0) || soundtest::musicPlaying());
    EXPECT_EQ(capture::peak(finishAfter(0, 0)), 0);
}

TEST_F(SoundService, DamagedFilesGiveNullHandlesAndOneLineEachWhileTheGamePlaysOn)
{
    // The game's three sound files cut to half, as an unfinished download leaves them.
    std::vector<fs::path> halves;
    for (const char* name : {"explosion.mp3", "laserfire3.wav", "UFO.mid"}) {
        std::ifstream in(fs::path(ORBITOR_ASSET_DIR) / "Sound" / name, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        halves.push_back(folder / name);
        std::ofstream(halves.back(), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    openDisk(5);
    ::testing::internal::CaptureStderr();
    FSOUND_SAMPLE* explosion = FSOUND_Sample_Load(0, halves[0].c_str(), 0, 0, 0);
    FSOUND_SAMPLE* laser = FSOUND_Sample_Load(1, halves[1].c_str(), 0, 0, 0);
    FMUSIC_MODULE* music = FMUSIC_LoadSong(halves[2].c_str());
    // Start-up and play go on as with good files: a second of it.
    FMUSIC_SetLooping(music, true);
    FMUSIC_PlaySong(music);
    FSOUND_PlaySound(0, explosion);
    FSOUND_PlaySound(0, laser);
    const bool played = waitForOutput(capture::secondsWritten(output) + 1.0);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(played);
    EXPECT_TRUE(!explosion && !laser && !music);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = errors.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(errors.substr(at, end - at));
    ASSERT_EQ(lines.size(), 3u) << errors.substr(0, 500);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(lines[i].rfind("Sound file damaged: " + halves[i].string(), 0), 0u) << lines[i];
    EXPECT_EQ(capture::peak(finishAfter(0, 0)), 0);
}

TEST_F(SoundService, ChannelOnePausesAndResumes)
{
    openDisk(5);
    ASSERT_EQ(FSOUND_PlaySound(1, tone(300, 2.0)), 1);
    ASSERT_TRUE(waitForOutput(0.2));
    EXPECT_TRUE(FSOUND_SetPaused(1, true));
    EXPECT_TRUE(soundtest::channelPaused(1));
    ASSERT_TRUE(waitForOutput(capture::secondsWritten(output) + 1.0));   // a second of output while paused
    EXPECT_TRUE(soundtest::channelPlaying(1));
    EXPECT_TRUE(FSOUND_SetPaused(1, false));
    EXPECT_FALSE(soundtest::channelPaused(1));
    // The tone in two parts around a silence of about the paused time, and
    // all of it played: nothing was lost or repeated across the pause.
    const auto runs = capture::loudRuns(capture::windowLevels(finishAfter(1, 0)));
    ASSERT_EQ(runs.spans.size(), 2u);
    EXPECT_GT((runs.spans[1].first - runs.spans[0].second - 1) * 0.01, 0.8);
    EXPECT_NEAR(runs.loudWindows * 0.01, 2.0, 0.04);
}

TEST_F(SoundService, PlayingOnChannelZeroCutsOffTheSampleBefore)
{
    openDisk(5);
    FSOUND_SAMPLE *low = tone(220, 3.0), *high = tone(880, 0.25);
    ASSERT_EQ(FSOUND_PlaySound(0, low), 0);
    ASSERT_TRUE(waitForOutput(0.3));
    ASSERT_EQ(FSOUND_PlaySound(0, high), 0);
    const auto pcm = finishAfter(0, 0.3);
    // The low tone stops where the high one starts; after the high tone
    // nothing is left, although the low one had seconds to go.
    const auto runs = capture::loudRuns(capture::windowLevels(pcm));
    ASSERT_EQ(runs.spans.size(), 1u);
    EXPECT_TRUE(runs.loudWindows * 0.01 > 0.25 && runs.loudWindows * 0.01 < 1.0) << runs.loudWindows;
    const std::size_t lastFrame = (runs.spans[0].second + 1) * capture::rate / 100;
    const std::size_t firstFrame = runs.spans[0].first * capture::rate / 100;
    EXPECT_NEAR(capture::toneFrequency(pcm, lastFrame - capture::rate / 5, capture::rate / 6), 880.0, 20.0);
    EXPECT_NEAR(capture::toneFrequency(pcm, firstFrame + capture::rate / 100, capture::rate / 20), 220.0, 30.0);
}

TEST_F(SoundService, LoopingSongPlaysOnAndOn)
{
    const double startedAt = startSong(true);
    ASSERT_TRUE(waitForOutput(startedAt + 6.6));   // more than three passes of the 2-second song
    EXPECT_TRUE(soundtest::musicPlaying());
    soundtest::shutdown();
    const auto levels = capture::windowLevels(capture::readPcm(output));
    // Sound all the way through from the first note, the later passes as
    // loud as the first.
    std::size_t start = std::size_t(startedAt * 100);
    while (start < levels.size() && levels[start] <= 0.005)
        ++start;
    ASSERT_GE(levels.size(), start + 620);
    EXPECT_LT(start * 0.01, startedAt + 0.1);
    EXPECT_LE(std::count_if(levels.begin() + start, levels.begin() + start + 620, [](double l) { return l <= 0.005; }), 3);
    double first = 0, third = 0;
    for (std::size_t i = start + 50; i < start + 150; ++i) {
        first += levels[i];
        third += levels[i + 400];
    }
    EXPECT_GT(first, 0.02 * 100);
    EXPECT_NEAR(third / first, 1.0, 0.2);
}

TEST_F(SoundService, SongWithoutLoopingPlaysOnce)
{
    const double startedAt = startSong(false);
    ASSERT_TRUE(waitForOutput(startedAt + 5.5));
    EXPECT_FALSE(soundtest::musicPlaying());
    soundtest::shutdown();
    const auto pcm = capture::readPcm(output);
    const std::size_t second = std::size_t(capture::rate) * capture::channels;
    const std::size_t start = std::size_t(startedAt * capture::rate) * capture::channels;
    EXPECT_GT(capture::rms(pcm, start + second / 2, second), 0.02);    // 0.5 s to 1.5 s: the note
    EXPECT_LT(capture::rms(pcm, start + 4 * second, second), 0.001);   // 4 s to 5 s: over
}

TEST_F(SoundService, PKeyPausesTheMusicAndResumesItWhereItStopped)
{
    // A one-second note played once, paused by the game's P key half-way
    // through and resumed a second later.
    const double startedAt = startSong(false, 2);
    resources.music = music;
    sys::glfwSetKeyCallback(gameKeyHandler);
    ASSERT_TRUE(waitForOutput(startedAt + 0.5));
    sys::testSendKey('P', GLFW_PRESS);
    EXPECT_TRUE(soundtest::musicPaused() && !game.channelRunning);
    ASSERT_TRUE(waitForOutput(capture::secondsWritten(output) + 1.0));
    sys::testSendKey('P', GLFW_PRESS);
    EXPECT_FALSE(soundtest::musicPaused() || !game.channelRunning);
    EXPECT_TRUE(capture::waitUntil([] { return !soundtest::musicPlaying(); }));
    ASSERT_TRUE(waitForOutput(capture::secondsWritten(output) + 0.3));
    soundtest::shutdown();
    // The note in two parts around a silence of about the paused second, the
    // parts together as long as the note: it went on from where it stopped.
    const auto runs = capture::loudRuns(capture::windowLevels(capture::readPcm(output)));
    ASSERT_EQ(runs.spans.size(), 2u);
    EXPECT_GT((runs.spans[1].first - runs.spans[0].second - 1) * 0.01, 0.8);
    EXPECT_NEAR(runs.loudWindows * 0.01, 1.0, 0.15);
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
    EXPECT_EQ(soundtest::mixingChannels(), 0);
    EXPECT_EQ(FSOUND_Sample_Load(0, beep.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(FMUSIC_LoadSong(beep.c_str()), nullptr);
    EXPECT_EQ(FSOUND_PlaySound(0, nullptr), -1);
    EXPECT_EQ((std::vector<bool>{FSOUND_SetPaused(1, true), FSOUND_SetPaused(1, false), FMUSIC_SetLooping(nullptr, true),
                                 FMUSIC_PlaySong(nullptr), FMUSIC_SetPaused(nullptr, true), soundtest::channelPlaying(0),
                                 soundtest::musicPlaying()}),
              std::vector<bool>(7, false));
    soundtest::shutdown();
    fs::remove_all(beep.parent_path());
}

}   // namespace
