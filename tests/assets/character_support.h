// Test helpers for the generated character: generation into a scratch
// folder and an MD2 reader that checks every count and offset against the
// file before using it.
#pragma once

#include "assetgen.h"
#include "formats/file_formats.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace charactertest {

namespace fs = std::filesystem;

inline std::vector<std::uint8_t> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline fs::path generateInto(const std::string& name)
{
    // One folder per process: ctest runs the cases of a suite side by side.
    const fs::path root =
        fs::temp_directory_path() / ("orbitor_character_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Modells");
    fs::create_directories(root / "Textures");
    EXPECT_TRUE(generateCharacter(root.string()));
    return root;
}

struct Vertex {
    double x, y, z;
};

// The model read back field by field; every count and offset is checked
// against the file before it is used.
struct Model {
    Md2Header header{};
    std::vector<Md2TexCoord> texCoords;
    std::vector<Md2Triangle> triangles;
    std::vector<Md2FrameHeader> frames;
    std::vector<std::vector<Md2Vertex>> vertices;
    std::string skinName;

    // Position decoded the way the game does it: frame 0's scale and translate.
    Vertex decode(int frame, int vertex) const
    {
        const Md2Vertex& v = vertices[frame][vertex];
        const Md2FrameHeader& f0 = frames[0];
        return {v.v[0] * f0.scale[0] + f0.translate[0], v.v[1] * f0.scale[1] + f0.translate[1],
                v.v[2] * f0.scale[2] + f0.translate[2]};
    }
};

inline bool inside(const std::vector<std::uint8_t>& bytes, std::int64_t offset, std::int64_t size)
{
    return offset >= 0 && size >= 0 && offset + size <= static_cast<std::int64_t>(bytes.size());
}

inline ::testing::AssertionResult parse(const std::vector<std::uint8_t>& bytes, Model& m)
{
    if (bytes.size() < md2HeaderSize)
        return ::testing::AssertionFailure() << "shorter than a header";
    std::memcpy(&m.header, bytes.data(), md2HeaderSize);
    const Md2Header& h = m.header;
    if (h.magic != md2Magic || h.version != md2Version)
        return ::testing::AssertionFailure() << "magic or version";
    if (h.numSkins < 1 || h.numVertices <= 0 || h.numTexCoords <= 0 || h.numTriangles <= 0 || h.numFrames <= 0)
        return ::testing::AssertionFailure() << "empty section";
    const std::int64_t frameSize = 40 + 4 * static_cast<std::int64_t>(h.numVertices);
    if (h.frameSize != frameSize)
        return ::testing::AssertionFailure() << "frame size " << h.frameSize;
    if (!inside(bytes, h.offsetSkins, 64LL * h.numSkins) || !inside(bytes, h.offsetTexCoords, 4LL * h.numTexCoords) ||
        !inside(bytes, h.offsetTriangles, 12LL * h.numTriangles) ||
        !inside(bytes, h.offsetFrames, frameSize * h.numFrames) || h.offsetEnd != static_cast<std::int64_t>(bytes.size()))
        return ::testing::AssertionFailure() << "section outside the file";
    m.skinName.assign(reinterpret_cast<const char*>(bytes.data() + h.offsetSkins), 63);
    m.skinName = m.skinName.c_str();
    m.texCoords.resize(h.numTexCoords);
    std::memcpy(m.texCoords.data(), bytes.data() + h.offsetTexCoords, 4ull * h.numTexCoords);
    m.triangles.resize(h.numTriangles);
    std::memcpy(m.triangles.data(), bytes.data() + h.offsetTriangles, 12ull * h.numTriangles);
    for (int f = 0; f < h.numFrames; ++f) {
        const std::uint8_t* p = bytes.data() + h.offsetFrames + f * frameSize;
        Md2FrameHeader fh;
        std::memcpy(&fh, p, sizeof fh);
        m.frames.push_back(fh);
        std::vector<Md2Vertex> v(h.numVertices);
        std::memcpy(v.data(), p + 40, 4ull * h.numVertices);
        m.vertices.push_back(std::move(v));
    }
    return ::testing::AssertionSuccess();
}

}  // namespace charactertest
