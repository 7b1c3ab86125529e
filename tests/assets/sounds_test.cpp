// The generated sound files: the two effects decode through the sound
// service to sound of the intended length, the music is a well-formed
// Standard MIDI File of more than a minute that plays, and every run writes
// the same bytes.
#include "assetgen.h"
#include "sound/audio_capture.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- A small Standard MIDI File reader ----------------------------------------

struct MidiNote {
    int track, channel, pitch;
    std::uint32_t on, off;
};

struct MidiSummary {
    int format = -1, trackCount = 0, division = 0;
    std::vector<std::uint32_t> trackEnds;                   // tick of each end-of-track event
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tempos;   // tick, microseconds a quarter
    std::set<int> programChannels;                          // channels given a program
    std::vector<MidiNote> notes;
    int unmatchedNoteOffs = 0, hangingNotes = 0;
    std::uint32_t timeSignatureNumerator = 4;

    double secondsAt(std::uint32_t tick) const
    {
        double seconds = 0, usPerQuarter = 500000;
        std::uint32_t last = 0;
        for (const auto& [at, tempo] : tempos) {
            if (at >= tick)
                break;
            seconds += double(at - last) * usPerQuarter / 1e6 / division;
            last = at;
            usPerQuarter = tempo;
        }
        return seconds + double(tick - last) * usPerQuarter / 1e6 / division;
    }
};

// Reads the whole file; every chunk, event and length is checked against the
// bytes that are there. Fails the test at the first fault.
void readMidi(const std::vector<std::uint8_t>& data, MidiSummary& out)
{
    std::size_t pos = 0;
    auto need = [&](std::size_t n) { return pos + n <= data.size(); };
    auto be = [&](int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | data[pos++];
        return v;
    };
    ASSERT_TRUE(need(14));
    ASSERT_EQ(std::string(data.begin(), data.begin() + 4), "MThd");
    pos = 4;
    ASSERT_EQ(be(4), 6u);
    out.format = int(be(2));
    out.trackCount = int(be(2));
    out.division = int(be(2));
    ASSERT_GT(out.division, 0);
    ASSERT_LT(out.division, 0x8000);   // ticks per quarter, not time code

    for (int t = 0; t < out.trackCount; ++t) {
        ASSERT_TRUE(need(8)) << "track " << t;
        ASSERT_EQ(std::string(data.begin() + pos, data.begin() + pos + 4), "MTrk") << "track " << t;
        pos += 4;
        const std::size_t length = be(4);
        ASSERT_TRUE(need(length)) << "track " << t;
        const std::size_t end = pos + length;
        std::uint32_t tick = 0;
        int running = 0;
        bool ended = false;
        std::map<std::pair<int, int>, std::vector<std::uint32_t>> sounding;   // channel, pitch
        auto varLength = [&](std::uint32_t& v) {
            v = 0;
            for (int i = 0; i < 4; ++i) {
                if (pos >= end)
                    return false;
                const std::uint8_t b = data[pos++];
                v = (v << 7) | (b & 0x7F);
                if (!(b & 0x80))
                    return true;
            }
            return false;
        };
        while (pos < end) {
            ASSERT_FALSE(ended) << "events after the end of track " << t;
            std::uint32_t delta = 0;
            ASSERT_TRUE(varLength(delta));
            tick += delta;
            ASSERT_LT(pos, end);
            int status = data[pos];
            if (status & 0x80)
                ++pos;
            else
                status = running;   // running status
            ASSERT_NE(status, 0) << "data byte without a status in track " << t;
            if (status == 0xFF) {
                ASSERT_LT(pos, end);
                const int type = data[pos++];
                std::uint32_t size = 0;
                ASSERT_TRUE(varLength(size));
                ASSERT_LE(pos + size, end);
                if (type == 0x2F) {
                    ASSERT_EQ(size, 0u);
                    ended = true;
                    out.trackEnds.push_back(tick);
                } else if (type == 0x51) {
                    ASSERT_EQ(size, 3u);
                    out.tempos.push_back({tick, (data[pos] << 16) | (data[pos + 1] << 8) | data[pos + 2]});
                } else if (type == 0x58) {
                    ASSERT_EQ(size, 4u);
                    out.timeSignatureNumerator = data[pos];
                }
                pos += size;
                running = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                std::uint32_t size = 0;
                ASSERT_TRUE(varLength(size));
                ASSERT_LE(pos + size, end);
                pos += size;
                running = 0;
            } else {
                ASSERT_LT(status, 0xF0);
                running = status;
                const int kind = status & 0xF0, channel = status & 0x0F;
                const std::size_t size = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                ASSERT_LE(pos + size, end);
                for (std::size_t i = 0; i < size; ++i)
                    ASSERT_LT(data[pos + i], 0x80);
                const int a = data[pos], b = size > 1 ? data[pos + 1] : 0;
                pos += size;
                if (kind == 0xC0)
                    out.programChannels.insert(channel);
                if (kind == 0x90 && b > 0) {
                    sounding[{channel, a}].push_back(tick);
                } else if (kind == 0x80 || kind == 0x90) {
                    auto& open = sounding[{channel, a}];
                    if (open.empty()) {
                        ++out.unmatchedNoteOffs;
                    } else {
                        out.notes.push_back({t, channel, a, open.front(), tick});
                        open.erase(open.begin());
                    }
                }
            }
        }
        ASSERT_TRUE(ended) << "track " << t << " has no end-of-track event";
        for (const auto& [key, open] : sounding)
            out.hangingNotes += int(open.size());
    }
    ASSERT_EQ(pos, data.size()) << "bytes after the last track";
}

// ---- Tests ---------------------------------------------------------------------

class GeneratedSounds : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root = capture::scratchFolder("generated-sounds");
        fs::create_directories(root / "Sound");
        generated = generateSounds(root.string());
    }
    static void TearDownTestSuite() { fs::remove_all(root); }
    void SetUp() override { ASSERT_TRUE(generated); }
    void TearDown() override { soundtest::shutdown(); }

    // Loads a sample through the service (on the silent dummy device) and
    // gives it back as the device would play it.
    static void decode(const char* name, std::vector<std::int16_t>& pcm, int& rate, int& channels)
    {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(0, (root / "Sound" / name).c_str(), 0, 0, 0);
        ASSERT_NE(sample, nullptr) << name;
        ASSERT_TRUE(soundtest::samplePcm(sample, pcm, rate, channels));
        ASSERT_GT(rate, 0);
        ASSERT_GT(channels, 0);
    }

    static inline fs::path root;
    static inline bool generated = false;
};

TEST_F(GeneratedSounds, LaserIsAShortSixteenBitWavZap)
{
    const auto bytes = readBytes(root / "Sound" / "laserfire3.wav");
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    auto le = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | bytes[at + i];
        return v;
    };
    EXPECT_EQ(le(20, 2), 1u);       // PCM
    EXPECT_EQ(le(24, 4), 44100u);   // rate
    EXPECT_EQ(le(34, 2), 16u);      // bits

    std::vector<std::int16_t> pcm;
    int rate = 0, channels = 0;
    decode("laserfire3.wav", pcm, rate, channels);
    const double seconds = double(pcm.size()) / channels / rate;
    EXPECT_GE(seconds, 0.3);
    EXPECT_LE(seconds, 0.5);
    EXPECT_GT(capture::peak(pcm), 16000);   // loud, and not clipped
    EXPECT_LT(capture::peak(pcm), 32700);
    // A zap: strong at once, dying away by the end.
    const std::size_t tenth = std::size_t(rate / 10) * channels;
    EXPECT_GT(capture::rms(pcm, 0, tenth), 0.15);
    EXPECT_LT(capture::rms(pcm, pcm.size() - tenth, tenth), capture::rms(pcm, 0, tenth) / 8);
}

TEST_F(GeneratedSounds, ExplosionIsAboutOneSecondOfMp3)
{
    const auto bytes = readBytes(root / "Sound" / "explosion.mp3");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);   // starts with a frame, no tag in front
    EXPECT_EQ(bytes[1] & 0xE0, 0xE0);

    std::vector<std::int16_t> pcm;
    int rate = 0, channels = 0;
    decode("explosion.mp3", pcm, rate, channels);
    const double seconds = double(pcm.size()) / channels / rate;
    EXPECT_GE(seconds, 0.9);
    EXPECT_LE(seconds, 1.1);
    EXPECT_GT(capture::peak(pcm), 20000);
    // A burst that decays: the first fifth of a second far louder than the last.
    const std::size_t fifth = std::size_t(rate / 5) * channels;
    const double start = capture::rms(pcm, 0, fifth), end = capture::rms(pcm, pcm.size() - fifth, fifth);
    EXPECT_GT(start, 0.1);
    EXPECT_LT(end, start / 6);
    EXPECT_GT(end, 0.0);
}

TEST_F(GeneratedSounds, MusicIsAWellFormedLoopOfMoreThanAMinute)
{
    MidiSummary midi;
    readMidi(readBytes(root / "Sound" / "UFO.mid"), midi);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(midi.format, 1);
    EXPECT_GE(midi.trackCount, 4);
    ASSERT_EQ(int(midi.trackEnds.size()), midi.trackCount);
    ASSERT_FALSE(midi.tempos.empty());

    // Every part ends on the same bar line, so the loop keeps its beat.
    const std::uint32_t end = midi.trackEnds[0];
    for (std::uint32_t trackEnd : midi.trackEnds)
        EXPECT_EQ(trackEnd, end);
    EXPECT_EQ(end % (midi.timeSignatureNumerator * midi.division), 0u);
    EXPECT_GE(midi.secondsAt(end), 60.0);
    EXPECT_LE(midi.secondsAt(end), 180.0);

    // No note is left sounding into the repeat.
    EXPECT_EQ(midi.hangingNotes, 0);
    EXPECT_EQ(midi.unmatchedNoteOffs, 0);
    std::set<int> channels;
    std::uint32_t lastOff = 0;
    for (const MidiNote& note : midi.notes) {
        channels.insert(note.channel);
        lastOff = std::max(lastOff, note.off);
        EXPECT_GT(note.off, note.on);
    }
    EXPECT_LE(lastOff, end);
    EXPECT_GE(midi.notes.size(), 500u);
    // Bass, pad and melody on their own instruments, and drums.
    EXPECT_GE(midi.programChannels.size(), 3u);
    EXPECT_GE(channels.size(), 4u);
    EXPECT_TRUE(channels.count(9));
    for (int channel : channels) {
        if (channel != 9) {
            EXPECT_TRUE(midi.programChannels.count(channel)) << "channel " << channel << " has no program";
        }
    }
}

TEST_F(GeneratedSounds, MusicPlaysThroughTheSoundService)
{
    const fs::path output = root / "music.raw";
    capture::useDiskDriver(output, 2);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FMUSIC_MODULE* music = FMUSIC_LoadSong((root / "Sound" / "UFO.mid").c_str());
    ASSERT_NE(music, nullptr);
    FMUSIC_SetLooping(music, true);
    const double startedAt = capture::secondsWritten(output);
    ASSERT_TRUE(FMUSIC_PlaySong(music));
    ASSERT_TRUE(capture::waitUntil([&] { return capture::secondsWritten(output) >= startedAt + 12.0; }, 60.0));
    EXPECT_TRUE(soundtest::musicPlaying());
    soundtest::shutdown();
    const auto pcm = capture::readPcm(output);
    const std::size_t second = std::size_t(capture::rate) * capture::channels;
    const std::size_t start = std::size_t(startedAt * capture::rate) * capture::channels;
    // Every second of the opening has sound, at a sensible level.
    for (int s = 0; s < 12; ++s)
        EXPECT_GT(capture::rms(pcm, start + s * second, second), 0.01) << "second " << s;
    EXPECT_LT(capture::peak(pcm), 32767);
}

TEST_F(GeneratedSounds, SameBytesEveryRun)
{
    const fs::path again = capture::scratchFolder("generated-sounds-again");
    fs::create_directories(again / "Sound");
    ASSERT_TRUE(generateSounds(again.string()));
    for (const char* name : {"explosion.mp3", "laserfire3.wav", "UFO.mid"}) {
        const auto first = readBytes(root / "Sound" / name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_TRUE(first == readBytes(again / "Sound" / name)) << name;
    }
    fs::remove_all(again);
}

}   // namespace
