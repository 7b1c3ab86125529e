// Small MD2 models for the loader, animation, drawing and fuzz tests, with
// helpers to damage their bytes and to write them to a file.
#pragma once

#include "formats/file_formats.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

// The models are written by the formats layer's md2Bytes; a test model
// starts with a 64 x 32 skin.
using TestFrame = Md2Frame;

struct TestModel : Md2Data {
    TestModel()
    {
        skinWidth = 64;
        skinHeight = 32;
    }
};

// Where each header field lies in the file.
inline constexpr std::size_t fieldVersion = offsetof(Md2Header, version);
inline constexpr std::size_t fieldSkinWidth = offsetof(Md2Header, skinWidth);
inline constexpr std::size_t fieldSkinHeight = offsetof(Md2Header, skinHeight);
inline constexpr std::size_t fieldFrameSize = offsetof(Md2Header, frameSize);
inline constexpr std::size_t fieldNumSkins = offsetof(Md2Header, numSkins);
inline constexpr std::size_t fieldNumVertices = offsetof(Md2Header, numVertices);
inline constexpr std::size_t fieldNumTexCoords = offsetof(Md2Header, numTexCoords);
inline constexpr std::size_t fieldNumTriangles = offsetof(Md2Header, numTriangles);
inline constexpr std::size_t fieldNumFrames = offsetof(Md2Header, numFrames);
inline constexpr std::size_t fieldOffsetSkins = offsetof(Md2Header, offsetSkins);
inline constexpr std::size_t fieldOffsetTexCoords = offsetof(Md2Header, offsetTexCoords);
inline constexpr std::size_t fieldOffsetTriangles = offsetof(Md2Header, offsetTriangles);
inline constexpr std::size_t fieldOffsetFrames = offsetof(Md2Header, offsetFrames);

inline void setField(std::vector<std::uint8_t>& bytes, std::size_t field, std::int32_t value)
{
    std::memcpy(bytes.data() + field, &value, sizeof value);
}

inline std::int32_t getField(const std::vector<std::uint8_t>& bytes, std::size_t field)
{
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + field, sizeof value);
    return value;
}

// Writes the bytes to a file of this process in the temporary directory.
inline std::string writeModelFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
        ("orbitor_md2_" + std::to_string(::getpid()) + "_" + name + ".md2");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
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
// (f + i, 2f + i, 3f + i) modulo 256, so every frame is told apart.
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
        for (int i = 0; i < m.numVertices; ++i) {
            Md2Vertex v{};
            v.v[0] = static_cast<std::uint8_t>(f + i);
            v.v[1] = static_cast<std::uint8_t>(2 * f + i);
            v.v[2] = static_cast<std::uint8_t>(3 * f + i);
            v.normalIndex = static_cast<std::uint8_t>(i);
            frame.vertices.push_back(v);
        }
        m.frames.push_back(frame);
    }
    return m;
}
