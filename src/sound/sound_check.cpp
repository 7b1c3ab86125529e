// The byte checks of the WAV, MP3, MIDI and SoundFont files (sound_check.h).
// Every read is bounded by the size given; a failed check says why.
#include "sound/sound_check.h"

#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

bool fail(std::string& error, const char* why)
{
    error = why;
    return false;
}

std::uint32_t le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const std::uint8_t* p) { return le16(p) | (le16(p + 2) << 16); }
std::uint32_t be16(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }
std::uint32_t be32(const std::uint8_t* p) { return (be16(p) << 16) | be16(p + 2); }

bool tagIs(const std::uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// ---- WAV ----------------------------------------------------------------------

constexpr std::uint32_t wavPcm = 1;
constexpr std::uint32_t wavFloat = 3;
constexpr std::uint32_t wavExtensible = 0xFFFE;
constexpr std::uint32_t wavMaxChannels = 8;
constexpr std::uint32_t wavMaxRate = 768000;

// The "fmt " chunk's body: the sample format and its block alignment.
bool wavFormatSane(const std::uint8_t* fmt, std::uint32_t length, std::uint32_t& blockAlign,
                   std::string& error)
{
    if (length < 16)
        return fail(error, "format chunk too short");
    std::uint32_t tag = le16(fmt);
    const std::uint32_t channels = le16(fmt + 2);
    const std::uint32_t rate = le32(fmt + 4);
    blockAlign = le16(fmt + 12);
    const std::uint32_t bits = le16(fmt + 14);
    if (tag == wavExtensible) {
        if (length < 40)
            return fail(error, "extensible format chunk too short");
        tag = le16(fmt + 24);   // the sub-format's first two bytes
    }
    if (tag == wavPcm) {
        if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return fail(error, "PCM sample size not 8, 16, 24 or 32 bits");
    } else if (tag == wavFloat) {
        if (bits != 32 && bits != 64)
            return fail(error, "floating-point sample size not 32 or 64 bits");
    } else {
        return fail(error, "sample format neither PCM nor floating point");
    }
    if (channels == 0 || channels > wavMaxChannels)
        return fail(error, "bad channel count");
    if (rate == 0 || rate > wavMaxRate)
        return fail(error, "bad sample rate");
    if (blockAlign != channels * bits / 8)
        return fail(error, "block size does not match the channels and sample size");
    return true;
}

// ---- MPEG audio -----------------------------------------------------------------

constexpr std::size_t id3HeaderSize = 10;
constexpr std::size_t id3v1Size = 128;

struct MpegFrame {
    int version;   // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer;     // 1, 2 or 3
    int rateIndex;
    std::size_t length;   // bytes, header included
};

// Kilobits per second by [MPEG-1?][layer - 1][index]; index 0 (free format)
// and 15 are not taken.
constexpr int bitrates[2][3][15] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
};
constexpr int sampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

bool mpegFrameHeader(const std::uint8_t* p, MpegFrame& frame)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    frame.version = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    frame.rateIndex = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    if (frame.version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        frame.rateIndex == 3 || (p[3] & 3) == 2)
        return false;
    frame.layer = 4 - layerBits;
    const bool mpeg1 = frame.version == 3;
    const long bitrate = bitrates[mpeg1][frame.layer - 1][bitrateIndex] * 1000L;
    const long rate = sampleRates[frame.version][frame.rateIndex];
    if (frame.layer == 1)
        frame.length = static_cast<std::size_t>((12 * bitrate / rate + padding) * 4);
    else if (frame.layer == 3 && !mpeg1)
        frame.length = static_cast<std::size_t>(72 * bitrate / rate + padding);
    else
        frame.length = static_cast<std::size_t>(144 * bitrate / rate + padding);
    return true;
}

// ---- MIDI -----------------------------------------------------------------------

constexpr std::size_t chunkHeaderSize = 8;
constexpr std::size_t maxSoundFileSize = INT_MAX;   // the mixer counts bytes in an int
constexpr std::size_t midiHeaderLength = 6;

// A variable-length quantity of at most four bytes, within [at, end).
bool readVarLength(const std::uint8_t* data, std::size_t& at, std::size_t end, std::uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end)
            return false;
        const std::uint8_t byte = data[at++];
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

// The data length a meta event of this type must have; -1 for any length.
int metaLength(std::uint8_t type)
{
    switch (type) {
    case 0x2F: return 0;   // end of track
    case 0x51: return 3;   // tempo
    case 0x54: return 5;   // SMPTE offset
    case 0x58: return 4;   // time signature
    case 0x59: return 2;   // key signature
    default: return -1;
    }
}

// The events of one track, in data[begin, end).
bool midiTrackSane(const std::uint8_t* data, std::size_t begin, std::size_t end, std::string& error)
{
    std::size_t at = begin;
    std::uint8_t running = 0;   // the running status; 0 while none holds
    while (at < end) {
        std::uint32_t delta = 0;
        if (!readVarLength(data, at, end, delta))
            return fail(error, "bad delta time in a track");
        if (at >= end)
            return fail(error, "track ends inside an event");
        std::uint8_t status = data[at];
        if (status & 0x80)
            ++at;
        else if (running == 0)
            return fail(error, "event without a status in a track");
        else
            status = running;

        if (status == 0xFF) {
            running = 0;
            if (at >= end)
                return fail(error, "track ends inside an event");
            const std::uint8_t type = data[at++];
            std::uint32_t length = 0;
            if (!readVarLength(data, at, end, length) || length > end - at)
                return fail(error, "meta event runs past the end of its track");
            const int expected = metaLength(type);
            if (expected >= 0 && length != static_cast<std::uint32_t>(expected))
                return fail(error, "meta event of the wrong length");
            if (type == 0x51 && data[at] == 0 && data[at + 1] == 0 && data[at + 2] == 0)
                return fail(error, "tempo of zero");
            at += length;
            if (type == 0x2F) {
                if (at != end)
                    return fail(error, "events after the end of a track");
                return true;
            }
        } else if (status == 0xF0) {
            running = 0;
            std::uint32_t length = 0;
            if (!readVarLength(data, at, end, length) || length > end - at)
                return fail(error, "system exclusive event runs past the end of its track");
            at += length;
        } else if (status >= 0xF1) {
            return fail(error, "system event in a track");
        } else {
            running = status;
            const std::size_t dataBytes = (status & 0xE0) == 0xC0 ? 1 : 2;   // program, pressure: 1
            if (dataBytes > end - at)
                return fail(error, "channel event runs past the end of its track");
            for (std::size_t i = 0; i < dataBytes; ++i)
                if (data[at + i] & 0x80)
                    return fail(error, "channel event with a data byte above 127");
            at += dataBytes;
        }
    }
    return fail(error, "track without an end-of-track event");
}


// ---- SoundFont 2 ------------------------------------------------------------------

// The record arrays of the "pdta" list, in the order the format stores them,
// and the bytes of one record of each.
enum Sf2Array { phdr, pbag, pmod, pgen, inst, ibag, imod, igen, shdr, sf2ArrayCount };
constexpr const char* sf2ArrayTags[sf2ArrayCount] = {"phdr", "pbag", "pmod", "pgen", "inst",
                                                     "ibag", "imod", "igen", "shdr"};
constexpr std::size_t sf2RecordSizes[sf2ArrayCount] = {38, 4, 10, 4, 22, 4, 10, 4, 46};
constexpr std::uint32_t sf2GenInstrument = 41;
constexpr std::uint32_t sf2GenSampleId = 53;
constexpr std::uint32_t sf2RomSample = 0x8000;

struct Sf2Records {
    const std::uint8_t* first = nullptr;
    std::size_t size = 0, count = 0;
    const std::uint8_t* operator[](std::size_t i) const { return first + i * size; }
};

// Calls visit(tag, body, length) for each chunk in [at, end); false when a
// chunk runs past the end.
template <typename Visit>
bool riffChunks(const std::uint8_t* data, std::uint64_t at, std::uint64_t end, Visit visit, std::string& error)
{
    while (at < end) {
        if (end - at < chunkHeaderSize)
            return fail(error, "chunk header cut short");
        const std::uint64_t length = le32(data + at + 4), body = at + chunkHeaderSize;
        if (length > end - body)
            return fail(error, "chunk runs past the end of its list");
        if (!visit(data + at, body, length))
            return false;
        at = body + length + (length & 1);
    }
    return true;
}

// One level of zones (presets or instruments): each header's bag index and
// each bag's generator and modulator indices ascend and stay within the
// next array, whose last record ends the list.
bool sf2ZonesSane(const Sf2Records& headers, std::size_t bagField, const Sf2Records& bags,
                  const Sf2Records& generators, const Sf2Records& modulators, std::string& error)
{
    for (std::size_t i = 0, last = 0; i < headers.count; ++i) {
        const std::size_t bag = le16(headers[i] + bagField);
        if (bag < last || bag >= bags.count)
            return fail(error, "SoundFont zone index out of order or past its list");
        last = bag;
    }
    for (std::size_t i = 0, lastGen = 0, lastMod = 0; i < bags.count; ++i) {
        const std::size_t gen = le16(bags[i]), mod = le16(bags[i] + 2);
        if (gen < lastGen || gen >= generators.count || mod < lastMod || mod >= modulators.count)
            return fail(error, "SoundFont generator or modulator index out of order or past its list");
        lastGen = gen;
        lastMod = mod;
    }
    return true;
}

// Every generator of `records` with operator `op` names a record before the
// last of `target` (whose last record only ends the list).
bool sf2ReferencesSane(const Sf2Records& records, std::uint32_t op, const Sf2Records& target, std::string& error)
{
    for (std::size_t i = 0; i < records.count; ++i)
        if (le16(records[i]) == op && le16(records[i] + 2) + 1 >= target.count)
            return fail(error, "SoundFont zone names an instrument or sample that is not there");
    return true;
}

}  // namespace

bool wavCheck(const std::uint8_t* data, std::size_t size, std::string& error)
{
    if (data == nullptr || size < 12 || !tagIs(data, "RIFF") || !tagIs(data + 8, "WAVE"))
        return fail(error, "not a RIFF WAVE file");
    const std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(le32(data + 4));
    if (riffEnd > size)
        return fail(error, "RIFF size runs past the end of the file");

    bool haveFormat = false, haveData = false;
    std::uint32_t blockAlign = 0;
    std::uint64_t at = 12;
    while (at < riffEnd) {
        if (riffEnd - at < chunkHeaderSize)
            return fail(error, "chunk header cut short");
        const std::uint8_t* chunk = data + at;
        const std::uint64_t length = le32(chunk + 4);
        const std::uint64_t body = at + chunkHeaderSize;
        if (length > riffEnd - body)
            return fail(error, "chunk runs past the end of the RIFF");
        if (tagIs(chunk, "fmt ")) {
            if (haveFormat)
                return fail(error, "two format chunks");
            if (!wavFormatSane(data + body, static_cast<std::uint32_t>(length), blockAlign, error))
                return false;
            haveFormat = true;
        } else if (tagIs(chunk, "data") && !haveData) {
            if (!haveFormat)
                return fail(error, "data chunk before the format chunk");
            if (length == 0 || length % blockAlign != 0)
                return fail(error, "data chunk not of whole sample frames");
            haveData = true;
        }
        at = body + length + (length & 1);   // chunks are padded to even lengths
    }
    if (!haveData)
        return fail(error, "no data chunk");
    return true;
}

bool mp3Check(const std::uint8_t* data, std::size_t size, std::string& error)
{
    if (data == nullptr)
        return fail(error, "empty");
    std::size_t at = 0;
    if (size >= id3HeaderSize && std::memcmp(data, "ID3", 3) == 0) {
        if (data[3] < 2 || data[3] > 4 || data[4] == 0xFF)
            return fail(error, "unknown ID3v2 version");
        std::size_t tagSize = 0;
        for (int i = 6; i < 10; ++i) {
            if (data[i] & 0x80)
                return fail(error, "bad ID3v2 tag size");
            tagSize = (tagSize << 7) | data[i];
        }
        tagSize += id3HeaderSize;
        if (data[3] == 4 && (data[5] & 0x10))
            tagSize += id3HeaderSize;   // the footer
        if (tagSize > size)
            return fail(error, "ID3v2 tag runs past the end of the file");
        at = tagSize;
    }
    // An ID3v1 tag may close the file.
    std::size_t end = size;
    if (end - at >= id3v1Size && std::memcmp(data + end - id3v1Size, "TAG", 3) == 0)
        end -= id3v1Size;

    MpegFrame first{};
    std::size_t frames = 0;
    while (at < end) {
        MpegFrame frame{};
        if (end - at < 4 || !mpegFrameHeader(data + at, frame))
            return fail(error, frames == 0 ? "no MPEG audio frame where the audio starts"
                                           : "bad MPEG audio frame header");
        if (frames == 0)
            first = frame;
        else if (frame.version != first.version || frame.layer != first.layer ||
                 frame.rateIndex != first.rateIndex)
            return fail(error, "MPEG audio frames of different kinds");
        if (frame.length > end - at)
            return fail(error, "MPEG audio frame runs past the end of the file");
        at += frame.length;
        ++frames;
    }
    if (frames == 0)
        return fail(error, "no MPEG audio frames");
    return true;
}

bool midiCheck(const std::uint8_t* data, std::size_t size, std::string& error)
{
    if (data == nullptr || size < chunkHeaderSize + midiHeaderLength || !tagIs(data, "MThd"))
        return fail(error, "not a Standard MIDI File");
    if (be32(data + 4) != midiHeaderLength)
        return fail(error, "MIDI header length not 6");
    const std::uint32_t format = be16(data + 8);
    const std::uint32_t tracks = be16(data + 10);
    const std::uint32_t division = be16(data + 12);
    if (format > 2)
        return fail(error, "MIDI format not 0, 1 or 2");
    if (tracks == 0 || (format == 0 && tracks != 1))
        return fail(error, "bad MIDI track count");
    if (division == 0 || (division & 0x8000))
        return fail(error, "MIDI time division not in ticks per quarter note");

    std::uint32_t found = 0;
    std::size_t at = chunkHeaderSize + midiHeaderLength;
    while (at < size) {
        if (size - at < chunkHeaderSize)
            return fail(error, "chunk header cut short");
        for (int i = 0; i < 4; ++i)
            if (data[at + i] < 0x20 || data[at + i] > 0x7E)
                return fail(error, "chunk without a name");
        const std::size_t length = be32(data + at + 4);
        const std::size_t body = at + chunkHeaderSize;
        if (length > size - body)
            return fail(error, "chunk runs past the end of the file");
        if (tagIs(data + at, "MTrk")) {
            if (!midiTrackSane(data, body, body + length, error))
                return false;
            ++found;
        }
        at = body + length;
    }
    if (found != tracks)
        return fail(error, "MIDI track count does not match the tracks in the file");
    return true;
}

bool sf2Check(const std::uint8_t* data, std::size_t size, std::string& error)
{
    if (data == nullptr || size < 12 || !tagIs(data, "RIFF") || !tagIs(data + 8, "sfbk"))
        return fail(error, "not a RIFF SoundFont file");
    const std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(le32(data + 4));
    if (riffEnd > size)
        return fail(error, "RIFF size runs past the end of the file");
    bool haveVersion = false;
    std::uint64_t sampleCount = 0;
    bool haveSamples = false;
    Sf2Records arrays[sf2ArrayCount];
    const bool walked = riffChunks(data, 12, riffEnd, [&](const std::uint8_t* list, std::uint64_t body,
                                                          std::uint64_t length) {
        if (!tagIs(list, "LIST") || length < 4)
            return true;
        const std::uint8_t* type = data + body;
        return riffChunks(data, body + 4, body + length, [&](const std::uint8_t* chunk, std::uint64_t at,
                                                             std::uint64_t bytes) {
            if (tagIs(type, "INFO") && tagIs(chunk, "ifil")) {
                if (bytes != 4 || le16(data + at) != 2)
                    return fail(error, "not a version 2 SoundFont");
                haveVersion = true;
            } else if (tagIs(type, "sdta") && tagIs(chunk, "smpl")) {
                sampleCount = bytes / 2;
                haveSamples = true;
            } else if (tagIs(type, "pdta")) {
                for (int a = 0; a < sf2ArrayCount; ++a)
                    if (tagIs(chunk, sf2ArrayTags[a])) {
                        if (bytes % sf2RecordSizes[a] != 0)
                            return fail(error, "SoundFont list of broken records");
                        arrays[a] = {data + at, sf2RecordSizes[a], static_cast<std::size_t>(bytes / sf2RecordSizes[a])};
                    }
            }
            return true;
        }, error);
    }, error);
    if (!walked)
        return false;
    if (!haveVersion || !haveSamples)
        return fail(error, "SoundFont without its version or its samples");
    for (const Sf2Records& array : arrays)
        if (array.count == 0)
            return fail(error, "SoundFont without one of its lists");   // each ends with a record
    if (!sf2ZonesSane(arrays[phdr], 24, arrays[pbag], arrays[pgen], arrays[pmod], error) ||
        !sf2ZonesSane(arrays[inst], 20, arrays[ibag], arrays[igen], arrays[imod], error) ||
        !sf2ReferencesSane(arrays[pgen], sf2GenInstrument, arrays[inst], error) ||
        !sf2ReferencesSane(arrays[igen], sf2GenSampleId, arrays[shdr], error))
        return false;
    for (std::size_t i = 0; i + 1 < arrays[shdr].count; ++i) {
        const std::uint8_t* sample = arrays[shdr][i];
        if ((le16(sample + 44) & sf2RomSample) == 0 &&
            (le32(sample + 20) > le32(sample + 24) || le32(sample + 24) > sampleCount))
            return fail(error, "SoundFont sample runs past the sample data");
    }
    return true;
}

bool soundFileCheck(SoundFileKind kind, const std::uint8_t* data, std::size_t size, std::string& error)
{
    if (kind == SoundFileKind::song)
        return midiCheck(data, size, error);
    if (kind == SoundFileKind::font)
        return sf2Check(data, size, error);
    if (data != nullptr && size >= 4 && tagIs(data, "RIFF"))
        return wavCheck(data, size, error);
    return mp3Check(data, size, error);
}

void reportDamagedSoundFile(const char* name, const std::string& why)
{
    std::fprintf(stderr, "Sound file damaged: %s (%s)\n", name, why.c_str());
}

bool readSoundFile(const char* name, SoundFileKind kind, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (name == nullptr)
        return false;
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr)
        return false;
    struct stat status {};
    bool readable = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
    if (readable) {
        try {
            bytes.resize(static_cast<std::size_t>(status.st_size));
        } catch (const std::bad_alloc&) {
            readable = false;
        }
    }
    readable = readable && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    if (!readable) {
        bytes.clear();
        return false;
    }
    std::string error;
    if (bytes.size() > maxSoundFileSize)
        error = "larger than the mixer reads";
    if (!error.empty() || !soundFileCheck(kind, bytes.data(), bytes.size(), error)) {
        reportDamagedSoundFile(name, error);
        bytes.clear();
        return false;
    }
    return true;
}
