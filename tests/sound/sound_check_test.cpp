// The sound files' byte checks: the game's generated sounds and the fuzz
// seeds pass; the same files cut short, with lengths that do not fit, or
// with bad magic are refused.
#include "sound/sound_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The asset generator's files, in the asset folder the tests run in.
const fs::path assets = ORBITOR_ASSET_DIR "/Sound";

SoundFileKind kindOf(const fs::path& file)
{
    if (file.extension() == ".sf2")
        return SoundFileKind::font;
    return file.extension() == ".mid" ? SoundFileKind::song : SoundFileKind::sample;
}

void put32(Bytes& b, std::size_t at, std::uint32_t v, bool bigEndian)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * (bigEndian ? 3 - i : i)));
}

std::size_t find(const Bytes& b, const char* tag, std::size_t from = 0)
{
    for (std::size_t i = from; i + 4 <= b.size(); ++i)
        if (std::equal(tag, tag + 4, b.begin() + std::ptrdiff_t(i)))
            return i;
    ADD_FAILURE() << tag << " not found";
    return 0;
}

TEST(SoundFileCheck, TheGeneratedSoundsAndTheFuzzSeedsPass)
{
    std::vector<fs::path> files;
    for (const char* name : {"explosion.mp3", "laserfire3.wav", "UFO.mid", "orbitor.sf2"})
        files.push_back(assets / name);
    for (const auto& entry : fs::directory_iterator(ORBITOR_SOURCE_DIR "/tests/fuzz/corpus/sound"))
        files.push_back(entry.path());
    for (const fs::path& file : files) {
        const Bytes bytes = readFile(file);
        std::string error;
        EXPECT_TRUE(!bytes.empty() && soundFileCheck(kindOf(file), bytes.data(), bytes.size(), error))
            << file << ": " << error;
    }
    // A chunk of odd length is followed by its pad byte, as in any WAV.
    Bytes wav = readFile(assets / "laserfire3.wav");
    wav.insert(wav.begin() + std::ptrdiff_t(find(wav, "data")), {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0});
    put32(wav, 4, std::uint32_t(wav.size() - 8), false);
    std::string error;
    EXPECT_TRUE(soundFileCheck(SoundFileKind::sample, wav.data(), wav.size(), error)) << error;
    // A font whose first sample ends with the sample data.
    Bytes font = readFile(assets / "orbitor.sf2");
    const std::size_t smpl = find(font, "smpl");
    put32(font, find(font, "shdr") + 8 + 24, std::uint32_t(font[smpl + 4] | font[smpl + 5] << 8 | font[smpl + 6] << 16) / 2, false);
    EXPECT_TRUE(soundFileCheck(SoundFileKind::font, font.data(), font.size(), error)) << error;
    // The closing sample record is no sample: what it holds is not looked at.
    const std::size_t shdr = find(font, "shdr"), records = (font[shdr + 4] | font[shdr + 5] << 8) / 46;
    put32(font, shdr + 8 + (records - 1) * 46 + 24, 0xFFFFFFFF, false);
    EXPECT_TRUE(soundFileCheck(SoundFileKind::font, font.data(), font.size(), error)) << error;
    // Three MPEG-1 layer III frames of 224 kbit/s at 44.1 kHz: 731 bytes each.
    Bytes mp3(3 * 731);
    for (std::size_t at = 0; at < mp3.size(); at += 731)
        std::copy_n(std::begin({0xFF, 0xFB, 0xC0, 0x00}), 4, mp3.begin() + std::ptrdiff_t(at));
    EXPECT_TRUE(soundFileCheck(SoundFileKind::sample, mp3.data(), mp3.size(), error)) << error;
}

struct Damage {
    const char* name;
    const char* file;
    std::function<void(Bytes&)> damage;
};

const Damage damages[] = {
    // Cut short, as an unfinished download leaves a file.
    {"WavEmpty", "laserfire3.wav", [](Bytes& b) { b.clear(); }},
    {"WavHeaderOnly", "laserfire3.wav", [](Bytes& b) { b.resize(20); }},
    {"WavHalf", "laserfire3.wav", [](Bytes& b) { b.resize(b.size() / 2); }},
    {"Mp3Half", "explosion.mp3", [](Bytes& b) { b.resize(b.size() / 2); }},
    {"Mp3LastByteMissing", "explosion.mp3", [](Bytes& b) { b.pop_back(); }},
    {"MidiHalf", "UFO.mid", [](Bytes& b) { b.resize(b.size() / 2); }},
    {"MidiLastByteMissing", "UFO.mid", [](Bytes& b) { b.pop_back(); }},
    {"FontHalf", "orbitor.sf2", [](Bytes& b) { b.resize(b.size() / 2); }},
    {"FontLastByteMissing", "orbitor.sf2", [](Bytes& b) { b.pop_back(); }},
    // Lengths that do not fit the file or each other.
    {"WavRiffLongerThanTheFile", "laserfire3.wav", [](Bytes& b) { put32(b, 4, std::uint32_t(b.size()), false); }},
    {"WavDataLongerThanTheRiff", "laserfire3.wav",
     [](Bytes& b) { put32(b, find(b, "data") + 4, std::uint32_t(b.size()), false); }},
    {"WavFormatChunkTooShort", "laserfire3.wav", [](Bytes& b) { put32(b, find(b, "fmt ") + 4, 8, false); }},
    {"WavNoChannels", "laserfire3.wav", [](Bytes& b) { b[find(b, "fmt ") + 10] = 0; }},
    {"Mp3Id3TagLongerThanTheFile", "explosion.mp3",
     [](Bytes& b) { b.insert(b.begin(), {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}); }},
    {"Mp3BadBitrate", "explosion.mp3", [](Bytes& b) { b[2] |= 0xF0; }},
    {"Mp3ReservedVersion", "explosion.mp3", [](Bytes& b) { b[1] = (b[1] & 0xE7) | 0x08; }},
    {"Mp3FrameWithoutItsSync", "explosion.mp3", [](Bytes& b) { b[1] &= 0x1F; }},
    {"Mp3GarbageAfterTheFrames", "explosion.mp3", [](Bytes& b) { b.insert(b.end(), 40, 0x55); }},
    {"MidiHeaderLengthSeven", "UFO.mid", [](Bytes& b) { put32(b, 4, 7, true); }},
    {"MidiFormatThree", "UFO.mid", [](Bytes& b) { b[9] = 3; }},
    {"MidiOneTrackMoreThanTheFileHolds", "UFO.mid", [](Bytes& b) { ++b[11]; }},
    {"MidiTrackLongerThanTheFile", "UFO.mid", [](Bytes& b) { put32(b, find(b, "MTrk") + 4, 0x7FFFFFFF, true); }},
    {"MidiTrackOneByteShort", "UFO.mid",
     [](Bytes& b) {
         const std::size_t at = find(b, "MTrk") + 4;
         put32(b, at, (b[at] << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]) - 1, true);
     }},
    {"MidiLastTrackWithoutItsEnd", "UFO.mid",
     [](Bytes& b) { std::copy_n(std::begin({0x80, 69, 0}), 3, b.end() - 3); }},   // a note-off instead
    {"MidiTimeInSmpteFrames", "UFO.mid", [](Bytes& b) { b[12] = 0xE7; }},
    // Not the file the name says.
    {"WavBadMagic", "laserfire3.wav", [](Bytes& b) { b[0] = 'X'; }},
    {"MidiBadMagic", "UFO.mid", [](Bytes& b) { b[3] = 'x'; }},
    {"FontNotASoundFont", "orbitor.sf2", [](Bytes& b) { b[find(b, "sfbk") + 3] = 'x'; }},
    {"FontWithoutItsVersion", "orbitor.sf2", [](Bytes& b) { b[find(b, "ifil") + 3] = 'x'; }},
    {"FontSampleBeyondTheData", "orbitor.sf2", [](Bytes& b) { put32(b, find(b, "shdr") + 8 + 24, 0x7FFFFFFF, false); }},
    {"MidiGivenAWav", "UFO.mid", [](Bytes& b) { b = readFile(assets / "laserfire3.wav"); }},
};

TEST(SoundFileCheck, DamagedFilesAreRefusedWithAReason)
{
    for (const Damage& d : damages) {
        const fs::path file = assets / d.file;
        Bytes bytes = readFile(file);
        ASSERT_GT(bytes.size(), 1000u) << file;
        d.damage(bytes);
        std::string error;
        EXPECT_FALSE(soundFileCheck(kindOf(file), bytes.data(), bytes.size(), error)) << d.name;
        EXPECT_FALSE(error.empty()) << d.name;
    }
}

}  // namespace
