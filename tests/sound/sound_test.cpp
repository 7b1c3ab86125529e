// The sound service on SDL's disk audio driver: what it plays is written to a
// file, which the tests read back and measure.
#include "sound/audio_capture.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

// A one-bar song at 120 beats per minute (2 s): a held A4 on an organ.
std::vector<std::uint8_t> oneBarSong()
{
    return {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,          // format 0, one track, 480 ticks
        'M', 'T', 'r', 'k', 0, 0, 0, 23,                               //
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,                      // 500000 us a quarter
        0x00, 0xC0, 16,                                                // drawbar organ
        0x00, 0x90, 69, 100,                                           // A4 on
        0x8F, 0x00, 0x80, 69, 0,                                       // after 1920 ticks: off
        0x00, 0xFF, 0x2F, 0x00,                                        // end of track
    };
}

class SoundService : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = capture::scratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        output = folder / "mixed.raw";
    }
    void TearDown() override
    {
        soundtest::shutdown();
        if (std::getenv("ORBITOR_KEEP_SOUND") == nullptr)   // set it to listen to the captures
            fs::remove_all(folder);
    }
    // Opens the service on the disk driver.
    void openDisk(int delayMs)
    {
        capture::useDiskDriver(output, delayMs);
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    }
    fs::path tone(const std::string& name, double frequency, double seconds)
    {
        const fs::path file = folder / name;
        capture::writeToneWav(file, frequency, seconds);
        return file;
    }
    // Closes the device (which flushes the file) and reads what it wrote.
    std::vector<std::int16_t> finish()
    {
        soundtest::shutdown();
        return capture::readPcm(output);
    }
    bool waitForOutput(double seconds)
    {
        return capture::waitUntil([&] { return capture::secondsWritten(output) >= seconds; });
    }

    fs::path folder, output;
};

TEST_F(SoundService, OpensWithAtLeast32ChannelsAndOnlyOnce)
{
    capture::useDiskDriver(output, 5);
    ASSERT_TRUE(FSOUND_Init(44100, 8, 0));
    EXPECT_GE(soundtest::mixingChannels(), 32);
    EXPECT_TRUE(FSOUND_Init(22050, 64, 0));   // already open: nothing changes
    EXPECT_GE(soundtest::mixingChannels(), 32);
    FSOUND_SAMPLE* beep = FSOUND_Sample_Load(0, tone("beep.wav", 440, 0.2).c_str(), 0, 0, 0);
    ASSERT_NE(beep, nullptr);
    const int last = soundtest::mixingChannels() - 1;
    EXPECT_EQ(FSOUND_PlaySound(last, beep), last);
    EXPECT_EQ(FSOUND_PlaySound(last + 1, beep), -1);
    EXPECT_EQ(FSOUND_PlaySound(-7, beep), -1);
}

TEST_F(SoundService, PlayedSampleReachesTheDevice)
{
    openDisk(5);
    FSOUND_SAMPLE* beep = FSOUND_Sample_Load(0, tone("beep.wav", 440, 0.3).c_str(), 0, 0, 0);
    ASSERT_NE(beep, nullptr);
    EXPECT_EQ(FSOUND_PlaySound(0, beep), 0);
    EXPECT_TRUE(soundtest::channelPlaying(0));
    ASSERT_TRUE(capture::waitUntil([] { return !soundtest::channelPlaying(0); }));
    ASSERT_TRUE(waitForOutput(0.5));
    const auto pcm = finish();

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
    const fs::path garbage = folder / "garbage.wav";
    std::ofstream(garbage) << "not a sound at all";
    EXPECT_EQ(FSOUND_Sample_Load(0, (folder / "missing.wav").c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Sample_Load(1, garbage.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Sample_Load(1, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(FMUSIC_LoadSong((folder / "missing.mid").c_str()), nullptr);
    EXPECT_EQ(FMUSIC_LoadSong(garbage.c_str()), nullptr);
    EXPECT_EQ(FMUSIC_LoadSong(nullptr), nullptr);

    EXPECT_EQ(FSOUND_PlaySound(0, nullptr), -1);
    EXPECT_TRUE(FSOUND_SetPaused(1, true));
    EXPECT_TRUE(FSOUND_SetPaused(1, false));
    EXPECT_FALSE(FSOUND_SetPaused(-1, true));
    EXPECT_FALSE(FSOUND_SetPaused(1000, true));
    EXPECT_FALSE(FMUSIC_SetLooping(nullptr, true));
    EXPECT_FALSE(FMUSIC_PlaySong(nullptr));
    ASSERT_TRUE(waitForOutput(0.2));
    EXPECT_FALSE(soundtest::channelPlaying(0));
    EXPECT_FALSE(soundtest::musicPlaying());
    EXPECT_EQ(capture::peak(finish()), 0);
}

TEST_F(SoundService, ChannelOnePausesAndResumes)
{
    openDisk(5);
    FSOUND_SAMPLE* hum = FSOUND_Sample_Load(1, tone("hum.wav", 300, 2.0).c_str(), 0, 0, 0);
    ASSERT_NE(hum, nullptr);
    ASSERT_EQ(FSOUND_PlaySound(1, hum), 1);
    ASSERT_TRUE(waitForOutput(0.2));

    EXPECT_TRUE(FSOUND_SetPaused(1, true));
    EXPECT_TRUE(soundtest::channelPaused(1));
    EXPECT_TRUE(soundtest::channelPlaying(1));
    const double pausedAt = capture::secondsWritten(output);
    ASSERT_TRUE(waitForOutput(pausedAt + 1.0));   // a second of output while paused
    EXPECT_TRUE(soundtest::channelPlaying(1));

    EXPECT_TRUE(FSOUND_SetPaused(1, false));
    EXPECT_FALSE(soundtest::channelPaused(1));
    ASSERT_TRUE(capture::waitUntil([] { return !soundtest::channelPlaying(1); }));
    const auto pcm = finish();

    // The tone in two parts around a silence of about the paused time, and
    // all of it played: nothing was lost or repeated across the pause.
    const auto runs = capture::loudRuns(capture::windowLevels(pcm));
    ASSERT_EQ(runs.spans.size(), 2u);
    const double gap = (runs.spans[1].first - runs.spans[0].second - 1) * 0.01;
    EXPECT_GT(gap, 0.8);
    EXPECT_NEAR(runs.loudWindows * 0.01, 2.0, 0.04);
}

TEST_F(SoundService, PlayingOnChannelZeroCutsOffTheSampleBefore)
{
    openDisk(5);
    FSOUND_SAMPLE* low = FSOUND_Sample_Load(0, tone("low.wav", 220, 3.0).c_str(), 0, 0, 0);
    FSOUND_SAMPLE* high = FSOUND_Sample_Load(1, tone("high.wav", 880, 0.25).c_str(), 0, 0, 0);
    ASSERT_NE(low, nullptr);
    ASSERT_NE(high, nullptr);
    ASSERT_EQ(FSOUND_PlaySound(0, low), 0);
    ASSERT_TRUE(waitForOutput(0.3));
    ASSERT_EQ(FSOUND_PlaySound(0, high), 0);
    ASSERT_TRUE(capture::waitUntil([] { return !soundtest::channelPlaying(0); }));
    const double end = capture::secondsWritten(output);
    ASSERT_TRUE(waitForOutput(end + 0.3));
    const auto pcm = finish();

    // The low tone stops where the high one starts; after the high tone
    // nothing is left, although the low one had seconds to go.
    const auto runs = capture::loudRuns(capture::windowLevels(pcm));
    ASSERT_EQ(runs.spans.size(), 1u);
    const double played = runs.loudWindows * 0.01;
    EXPECT_GT(played, 0.25);
    EXPECT_LT(played, 1.0);
    const std::size_t lastFrame = (runs.spans[0].second + 1) * capture::rate / 100;
    const std::size_t firstFrame = runs.spans[0].first * capture::rate / 100;
    EXPECT_NEAR(capture::toneFrequency(pcm, lastFrame - capture::rate / 5, capture::rate / 6), 880.0, 20.0);
    EXPECT_NEAR(capture::toneFrequency(pcm, firstFrame + capture::rate / 100, capture::rate / 20), 220.0, 30.0);
}

TEST_F(SoundService, LoopingSongPlaysOnAndOn)
{
    const fs::path song = folder / "bar.mid";
    const auto bytes = oneBarSong();
    std::ofstream(song, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    openDisk(2);
    FMUSIC_MODULE* music = FMUSIC_LoadSong(song.c_str());
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(FMUSIC_SetLooping(music, true));
    const double startedAt = capture::secondsWritten(output);
    EXPECT_TRUE(FMUSIC_PlaySong(music));
    ASSERT_TRUE(waitForOutput(startedAt + 6.6));   // more than three passes of the 2-second song
    EXPECT_TRUE(soundtest::musicPlaying());
    const auto levels = capture::windowLevels(finish());

    // Sound all the way through from the first note, the later passes as
    // loud as the first.
    std::size_t start = std::size_t(startedAt * 100);
    while (start < levels.size() && levels[start] <= 0.005)
        ++start;
    ASSERT_GE(levels.size(), start + 620);
    EXPECT_LT(start * 0.01, startedAt + 0.1);
    std::size_t quiet = 0;
    for (std::size_t i = start; i < start + 620; ++i)
        quiet += levels[i] <= 0.005;
    EXPECT_LE(quiet, 3u);
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
    const fs::path song = folder / "bar.mid";
    const auto bytes = oneBarSong();
    std::ofstream(song, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    openDisk(2);
    FMUSIC_MODULE* music = FMUSIC_LoadSong(song.c_str());
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(FMUSIC_SetLooping(music, false));
    const double startedAt = capture::secondsWritten(output);
    EXPECT_TRUE(FMUSIC_PlaySong(music));
    ASSERT_TRUE(waitForOutput(startedAt + 5.5));
    EXPECT_FALSE(soundtest::musicPlaying());
    const auto pcm = finish();
    const std::size_t second = std::size_t(capture::rate) * capture::channels;
    const std::size_t start = std::size_t(startedAt * capture::rate) * capture::channels;
    EXPECT_GT(capture::rms(pcm, start + second / 2, second), 0.02);    // 0.5 s to 1.5 s: the note
    EXPECT_LT(capture::rms(pcm, start + 4 * second, second), 0.001);   // 4 s to 5 s: over
}

TEST(SoundWithoutDevice, EveryCallDoesNothing)
{
    ::setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    const fs::path folder = capture::scratchFolder("no-device");
    capture::writeToneWav(folder / "beep.wav", 440, 0.1);

    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_FALSE(soundtest::deviceOpen());
    EXPECT_EQ(soundtest::mixingChannels(), 0);
    FSOUND_SAMPLE* beep = FSOUND_Sample_Load(0, (folder / "beep.wav").c_str(), 0, 0, 0);
    EXPECT_EQ(beep, nullptr);
    EXPECT_EQ(FSOUND_PlaySound(0, beep), -1);
    EXPECT_FALSE(FSOUND_SetPaused(1, true));
    EXPECT_FALSE(FSOUND_SetPaused(1, false));
    FMUSIC_MODULE* music = FMUSIC_LoadSong((folder / "beep.wav").c_str());
    EXPECT_EQ(music, nullptr);
    EXPECT_FALSE(FMUSIC_SetLooping(music, true));
    EXPECT_FALSE(FMUSIC_PlaySong(music));
    EXPECT_FALSE(soundtest::channelPlaying(0));
    EXPECT_FALSE(soundtest::musicPlaying());
    soundtest::shutdown();
    fs::remove_all(folder);
}

}   // namespace
