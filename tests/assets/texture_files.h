// Helpers of the texture tests: the generated textures (made once per test
// process in a scratch folder) and a reader for the TGA files they are.
#pragma once

#include "assetgen.h"
#include "formats/file_formats.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace texturetest {

namespace fs = std::filesystem;

struct Expected {
    const char* name;
    int width, height;
};

// The five sky faces: front, back, top, left, right.
inline const Expected skyFiles[] = {
    {"front_Color.tga", 512, 512}, {"Mback_Color.tga", 512, 512}, {"Mtop.tga", 512, 512},
    {"Mleft_Color.tga", 512, 512}, {"right_Color.tga", 512, 512},
};

inline std::vector<std::uint8_t> fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An empty scratch folder with Textures/ inside, named after `tag`.
inline fs::path makeTextureRoot(const std::string& tag)
{
    const fs::path dir = fs::temp_directory_path() / ("orbitor_textures_" + tag + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "Textures");
    return dir;
}

// The scratch folder the tests generate into; it goes away when the test
// process ends.
inline const fs::path& scratchFolder()
{
    struct Scratch {
        fs::path dir = makeTextureRoot("shared");
        ~Scratch() { fs::remove_all(dir); }
    };
    static const Scratch scratch;
    return scratch.dir;
}

// The terrain (and prop) textures and the sky faces, each generated into the
// scratch folder on first use (ctest runs every test in a process of its
// own, so each generates only what it reads). False when generation failed.
inline bool terrainTexturesReady()
{
    static const bool ready = generateTerrainTextures(scratchFolder().string());
    return ready;
}
inline bool skyTexturesReady()
{
    static const bool ready = generateSkyTextures(scratchFolder().string());
    return ready;
}

inline fs::path textureFile(const char* name) { return scratchFolder() / "Textures" / name; }

// A decoded TGA as RGB bytes, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    const std::uint8_t* at(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

// Reads a true-colour 24-bit TGA as the generator writes it (plain or
// run-length encoded).
inline Picture readPicture(const fs::path& path)
{
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    TgaInfo info;
    std::string error;
    Picture p;
    if (!tgaCheck(bytes.data(), bytes.size(), info, error) || info.bitsPerPixel != 24 ||
        (info.imageType != tgaTrueColour && info.imageType != tgaRleTrueColour)) {
        ADD_FAILURE() << path << ": " << error;
        return p;
    }
    const std::size_t count = std::size_t(info.width) * info.height;
    std::vector<std::uint8_t> bgr;
    bgr.reserve(count * 3);
    std::size_t at = info.pixelDataOffset;
    if (info.imageType == tgaTrueColour) {
        bgr.assign(bytes.begin() + at, bytes.begin() + at + count * 3);
    } else {
        // tgaCheck has made sure every packet lies inside the data.
        while (bgr.size() < count * 3) {
            const int header = bytes[at++];
            const int run = (header & 0x7f) + 1;
            if (header & 0x80) {
                for (int k = 0; k < run; ++k)
                    bgr.insert(bgr.end(), bytes.begin() + at, bytes.begin() + at + 3);
                at += 3;
            } else {
                bgr.insert(bgr.end(), bytes.begin() + at, bytes.begin() + at + 3 * run);
                at += 3 * run;
            }
        }
    }
    p.width = info.width;
    p.height = info.height;
    p.rgb.resize(count * 3);
    for (int y = 0; y < p.height; ++y) {
        const int fileRow = info.topOrigin ? y : p.height - 1 - y;
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* s = &bgr[(std::size_t(fileRow) * p.width + x) * 3];
            std::uint8_t* d = &p.rgb[(std::size_t(y) * p.width + x) * 3];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
    return p;
}

inline double pixelDifference(const std::uint8_t* a, const std::uint8_t* b)
{
    return (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2])) / 3.0;
}

inline double meanDifference(const Picture& a, const Picture& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        sum += std::abs(a.rgb[i] - b.rgb[i]);
    return sum / double(a.rgb.size());
}

inline double luminance(const std::uint8_t* p) { return 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]; }

}  // namespace texturetest
