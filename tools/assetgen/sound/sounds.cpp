// Writes the sound files of the asset pack: the explosion (MP3, encoded with
// LAME here), the laser (16-bit PCM WAV) and the music (Standard MIDI File).
#include "assetgen.h"
#include "sound/sounds.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

void putLe16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(tag[i]));
}

std::int16_t toPcm16(float s)
{
    return std::int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}   // namespace

std::vector<std::uint8_t> wavBytes(const std::vector<float>& samples, int rate)
{
    const std::uint32_t dataSize = std::uint32_t(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    putLe32(out, 36 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLe32(out, 16);                   // size of the format chunk
    putLe16(out, 1);                    // PCM
    putLe16(out, 1);                    // mono
    putLe32(out, std::uint32_t(rate));
    putLe32(out, std::uint32_t(rate) * 2);   // bytes per second
    putLe16(out, 2);                    // bytes per frame
    putLe16(out, 16);                   // bits per sample
    putTag(out, "data");
    putLe32(out, dataSize);
    for (float s : samples)
        putLe16(out, std::uint16_t(toPcm16(s)));
    return out;
}

bool mp3Bytes(const std::vector<float>& samples, int rate, std::vector<std::uint8_t>& out,
              std::string& error)
{
    lame_t lame = lame_init();
    if (lame == nullptr) {
        error = "cannot start the MP3 encoder";
        return false;
    }
    // Fixed settings throughout: constant 128 kbit/s mono, no ID3 tags, and an
    // Info frame carrying the encoder delay and padding for gapless decoding.
    lame_set_num_channels(lame, 1);
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_mode(lame, MONO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, 128);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        error = "the MP3 encoder refused its settings";
        return false;
    }
    std::vector<short> pcm(samples.size());
    std::transform(samples.begin(), samples.end(), pcm.begin(), toPcm16);
    std::vector<unsigned char> buffer(samples.size() * 5 / 4 + 7200);
    const int encoded =
        lame_encode_buffer(lame, pcm.data(), pcm.data(), int(pcm.size()), buffer.data(), int(buffer.size()));
    if (encoded < 0) {
        lame_close(lame);
        error = "MP3 encoding failed";
        return false;
    }
    const int flushed = lame_encode_flush(lame, buffer.data() + encoded, int(buffer.size()) - encoded);
    if (flushed < 0) {
        lame_close(lame);
        error = "MP3 encoding failed at the end";
        return false;
    }
    out.assign(buffer.begin(), buffer.begin() + encoded + flushed);
    // The stream began with a placeholder frame; the finished Info frame
    // replaces it.
    unsigned char tag[2880];
    const std::size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    lame_close(lame);
    if (tagSize == 0 || tagSize > sizeof tag || tagSize > out.size()) {
        error = "the MP3 encoder gave no Info frame";
        return false;
    }
    std::copy(tag, tag + tagSize, out.begin());
    return true;
}

bool generateSounds(const std::string& root)
{
    const std::string folder = root + "/Sound/";
    bool ok = writeFile(folder + "laserfire3.wav", wavBytes(synthLaser(soundRate), soundRate));

    std::vector<std::uint8_t> mp3;
    std::string error;
    if (mp3Bytes(synthExplosion(soundRate), soundRate, mp3, error)) {
        ok = writeFile(folder + "explosion.mp3", mp3) && ok;
    } else {
        std::fprintf(stderr, "assetgen: explosion.mp3: %s\n", error.c_str());
        ok = false;
    }

    const std::vector<std::uint8_t> music = composeMusic();
    ok = writeFile(folder + "UFO.mid", music) && ok;
    // The music's instruments, and nothing else.
    ok = writeFile(folder + "orbitor.sf2", soundFontFor(music)) && ok;
    return ok;
}
