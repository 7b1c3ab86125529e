// Small MD2 models built byte by byte for the loader, animation, drawing and
// fuzz tests, with helpers to damage them and to write them to a file.
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

struct TestFrame {
    Md2FrameHeader header{};
    std::vector<Md2Vertex> vertices;
};

struct TestModel {
    std::int32_t skinWidth = 64;
    std::int32_t skinHeight = 32;
    std::int32_t numVertices = 0;
    std::vector<Md2SkinName> skins;
    std::vector<Md2TexCoord> texCoords;
    std::vector<Md2Triangle> triangles;
    std::vector<TestFrame> frames;   // each with numVertices vertices
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

inline void putBytes(std::vector<std::uint8_t>& out, const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), p, p + size);
}

// The file: header, skin names, texture coordinates, triangles, then the
// frames back to back (so a file cut short loses frame data first).
inline std::vector<std::uint8_t> md2Bytes(const TestModel& m)
{
    Md2Header h{};
    h.magic = md2Magic;
    h.version = md2Version;
    h.skinWidth = m.skinWidth;
    h.skinHeight = m.skinHeight;
    h.frameSize = static_cast<std::int32_t>(sizeof(Md2FrameHeader) + 4 * m.numVertices);
    h.numSkins = static_cast<std::int32_t>(m.skins.size());
    h.numVertices = m.numVertices;
    h.numTexCoords = static_cast<std::int32_t>(m.texCoords.size());
    h.numTriangles = static_cast<std::int32_t>(m.triangles.size());
    h.numGlCommands = 0;
    h.numFrames = static_cast<std::int32_t>(m.frames.size());
    std::size_t at = md2HeaderSize;
    h.offsetSkins = static_cast<std::int32_t>(at);
    at += m.skins.size() * sizeof(Md2SkinName);
    h.offsetTexCoords = static_cast<std::int32_t>(at);
    at += m.texCoords.size() * sizeof(Md2TexCoord);
    h.offsetTriangles = static_cast<std::int32_t>(at);
    at += m.triangles.size() * sizeof(Md2Triangle);
    h.offsetFrames = static_cast<std::int32_t>(at);
    at += m.frames.size() * static_cast<std::size_t>(h.frameSize);
    h.offsetGlCommands = static_cast<std::int32_t>(at);
    h.offsetEnd = static_cast<std::int32_t>(at);

    std::vector<std::uint8_t> out;
    putBytes(out, &h, sizeof h);
    putBytes(out, m.skins.data(), m.skins.size() * sizeof(Md2SkinName));
    putBytes(out, m.texCoords.data(), m.texCoords.size() * sizeof(Md2TexCoord));
    putBytes(out, m.triangles.data(), m.triangles.size() * sizeof(Md2Triangle));
    for (const TestFrame& f : m.frames) {
        putBytes(out, &f.header, sizeof f.header);
        putBytes(out, f.vertices.data(), f.vertices.size() * sizeof(Md2Vertex));
    }
    return out;
}

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
