// Small MD2 models for the loader, animation, drawing and fuzz tests, built
// as the formats layer's Md2Data and turned into bytes by its md2Bytes.
#pragma once

#include "formats/file_formats.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

using TestFrame = Md2Frame;

// A test model starts with a 64 x 32 skin.
struct TestModel : Md2Data {
    TestModel()
    {
        skinWidth = 64;
        skinHeight = 32;
    }
};

// Writes the bytes to a file of this process in the temporary directory.
inline std::string writeModelFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
        ("orbitor_md2_" + std::to_string(::getpid()) + "_" + name + ".md2");
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

inline Md2SkinName skinName(const char* text)
{
    Md2SkinName s{};
    std::strncpy(s.name, text, sizeof s.name - 1);
    return s;
}

inline Md2FrameHeader frameHeader(float scale, float translate, const char* name)
{
    Md2FrameHeader f{};
    for (int i = 0; i < 3; ++i) {
        f.scale[i] = scale;
        f.translate[i] = translate;
    }
    std::strncpy(f.name, name, sizeof f.name - 1);
    return f;
}

// A square of two triangles (4 vertices, 4 texture coordinates, one skin
// name) with `frameCount` frames. Vertex i of frame f has the bytes
// (f + i, 2f + i, 3f + i), frame f the scale 0.5 + f and translate -10 f.
inline TestModel squareModel(int frameCount)
{
    TestModel m;
    m.numVertices = 4;
    m.skins = {skinName("players/test/skin.pcx")};
    m.texCoords = {{0, 0}, {64, 0}, {64, 32}, {0, 32}};
    m.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 3}, {0, 2, 3}}};
    for (int f = 0; f < frameCount; ++f) {
        TestFrame frame;
        frame.header = frameHeader(0.5f + f, -10.0f * f, ("frame" + std::to_string(f)).c_str());
        for (int i = 0; i < m.numVertices; ++i)
            frame.vertices.push_back({{std::uint8_t(f + i), std::uint8_t(2 * f + i), std::uint8_t(3 * f + i)},
                                      std::uint8_t(i)});
        m.frames.push_back(frame);
    }
    return m;
}
