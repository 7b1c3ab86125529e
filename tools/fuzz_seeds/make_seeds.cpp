// Writes the fuzz targets' seed corpora: small files of every kind each
// loader takes, made by the game's own writers and the tests' builders.
// Usage: fuzz_seeds CORPUS_FOLDER   (tools/fuzz seeds builds and runs it)
#include "support/md2_models.h"
#include "formats/file_formats.h"
#include "formats/tga_test_bytes.h"
#include "sound/sounds.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

bool write(const fs::path& file, const Bytes& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bool(out);
}

void textures(const fs::path& folder, bool& ok)
{
    using namespace tgabytes;
    const Picture p;
    struct Kind {
        const char* name;
        Bytes bytes;
    } kinds[] = {
        {"rgb24_bottom.tga", trueColourFile(p, 24, false, false)},
        {"rgb24_top_rle.tga", trueColourFile(p, 24, true, true)},
        {"rgba32_top_id.tga", trueColourFile(p, 32, true, false, 5)},
        {"rgba32_bottom_rle.tga", trueColourFile(p, 32, false, true)},
        {"grey_top.tga", greyFile(p, true, false)},
        {"grey_bottom_rle.tga", greyFile(p, false, true)},
        {"mapped24_bottom.tga", colourMappedFile(p, 24, false, false)},
        {"mapped16_top_rle.tga", colourMappedFile(p, 16, true, true)},
        {"mapped32_top_first3.tga", colourMappedFile(p, 32, true, false, 3)},
        {"mapped24_bottom_rle_first7.tga", colourMappedFile(p, 24, false, true, 7)},
    };
    for (const Kind& k : kinds)
        ok = write(folder / k.name, k.bytes) && ok;
    // The game's own writer, as the asset generator uses it.
    ok = tgaWrite((folder / "written_rle.tga").string(), p.width, p.height, 4, p.rgba, true) && ok;
}

void models(const fs::path& folder, bool& ok)
{
    TestModel mixed;
    mixed.skinWidth = 32;
    mixed.skinHeight = 16;
    mixed.numVertices = 6;
    mixed.skins = {skinName("a.pcx"), skinName("b.pcx")};
    mixed.texCoords = {{0, 0}, {31, 0}, {31, 15}, {0, 15}, {16, 8}};
    mixed.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 3}, {0, 2, 3}},
                       {{3, 4, 5}, {4, 3, 1}}, {{5, 4, 1}, {2, 4, 0}}};
    for (int f = 0; f < 3; ++f) {
        TestFrame frame;
        frame.header = frameHeader(0.1f * (f + 1), -3.0f * f, "f");
        for (int i = 0; i < mixed.numVertices; ++i)
            frame.vertices.push_back({{std::uint8_t(f * 5 + i), std::uint8_t(255 - f - i), std::uint8_t(f * i)},
                                      std::uint8_t(i)});
        mixed.frames.push_back(frame);
    }
    ok = write(folder / "square_0_frames.md2", md2Bytes(squareModel(0))) && ok;
    ok = write(folder / "square_1_frame.md2", md2Bytes(squareModel(1))) && ok;
    ok = write(folder / "square_3_frames.md2", md2Bytes(squareModel(3))) && ok;
    ok = write(folder / "two_skins_3_frames.md2", md2Bytes(mixed)) && ok;
}

// Silent MPEG-1 Layer III frames at 32 kbit/s and 48 kHz (96 bytes each).
Bytes silentMpegFrames(int count)
{
    Bytes out;
    for (int i = 0; i < count; ++i) {
        const Bytes header = {0xFF, 0xFB, 0x14, 0xC4};   // no CRC, 32 kbit/s, 48 kHz, mono
        out.insert(out.end(), header.begin(), header.end());
        out.resize(out.size() + 92, 0);
    }
    return out;
}

void sounds(const fs::path& folder, bool& ok)
{
    std::vector<float> tone(400);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = 0.5f * std::sin(0.3f * float(i));
    ok = write(folder / "tone.wav", wavBytes({tone.begin(), tone.begin() + 60}, 8000)) && ok;
    Bytes mp3;
    std::string error;
    ok = mp3Bytes(tone, 8000, mp3, error) && write(folder / "tone_lame.mp3", mp3) && ok;

    ok = write(folder / "silent.mp3", silentMpegFrames(2)) && ok;
    Bytes tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 10};   // ID3v2.3, 10 bytes of frames
    tagged.insert(tagged.end(), {'T', 'I', 'T', '2', 0, 0, 0, 0, 0, 0});
    const Bytes frames = silentMpegFrames(3);
    tagged.insert(tagged.end(), frames.begin(), frames.end());
    Bytes v1(128, 0);
    v1[0] = 'T', v1[1] = 'A', v1[2] = 'G';
    tagged.insert(tagged.end(), v1.begin(), v1.end());
    ok = write(folder / "tagged.mp3", tagged) && ok;

    // A one-bar song (format 0): tempo, program, one note, end of track.
    const Bytes bar = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                       'M', 'T', 'r', 'k', 0, 0, 0, 23,
                       0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
                       0x00, 0xC0, 16,
                       0x00, 0x90, 69, 100,
                       0x8F, 0x00, 0x80, 69, 0,
                       0x00, 0xFF, 0x2F, 0x00};
    ok = write(folder / "bar.mid", bar) && ok;
    // Format 1, two tracks: a tempo map with a time and key signature; notes
    // in running status, a controller, pitch bend, a system exclusive event
    // and a text event; an unknown chunk between them.
    auto chunk = [](const char* name, const Bytes& body) {
        Bytes out(name, name + 4);
        for (int shift : {24, 16, 8, 0})
            out.push_back(std::uint8_t(body.size() >> shift));
        out.insert(out.end(), body.begin(), body.end());
        return out;
    };
    Bytes two = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x00, 0x60};
    for (const Bytes& c : {chunk("MTrk", {0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8,
                                          0x00, 0xFF, 0x59, 0x02, 0, 0,
                                          0x00, 0xFF, 0x2F, 0x00}),
                           chunk("Xyzw", {1, 2}),
                           chunk("MTrk", {0x00, 0xFF, 0x01, 0x02, 'h', 'i',
                                          0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7,
                                          0x00, 0xB1, 7, 100,
                                          0x00, 0x91, 60, 90, 0x30, 64, 90,
                                          0x30, 0xE1, 0x00, 0x40,
                                          0x60, 0x81, 60, 0, 0x00, 64, 0,
                                          0x00, 0xFF, 0x2F, 0x00})})
        two.insert(two.end(), c.begin(), c.end());
    ok = write(folder / "two_tracks.mid", two) && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    bool ok = true;
    for (const char* kind : {"tga", "md2", "sound"})
        fs::create_directories(root / kind);
    textures(root / "tga", ok);
    models(root / "md2", ok);
    sounds(root / "sound", ok);
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: a seed could not be made\n");
    return ok ? 0 : 1;
}
