// Test helpers for the generated character: generation into a scratch
// folder and the model read back through the formats layer.
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

// The model read back, with every frame's vertices beside its header.
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

// Reads the model through the formats layer (which checks every count,
// offset and index against the file) and then holds it to what the
// generator promises beyond that: no empty array, the header's frame size
// and end offset true to the file.
inline ::testing::AssertionResult parse(const std::vector<std::uint8_t>& bytes, Model& m)
{
    Md2Layout layout;
    Md2Data data;
    std::string error;
    if (!md2Check(bytes.data(), bytes.size(), layout, error) || !md2Read(bytes.data(), bytes.size(), data, error))
        return ::testing::AssertionFailure() << error;
    m.header = layout.header;
    const Md2Header& h = m.header;
    if (h.numSkins < 1 || h.numVertices <= 0 || h.numTexCoords <= 0 || h.numTriangles <= 0 || h.numFrames <= 0)
        return ::testing::AssertionFailure() << "empty section";
    if (static_cast<std::uint64_t>(h.frameSize) != layout.frameBytes)
        return ::testing::AssertionFailure() << "frame size " << h.frameSize;
    if (h.offsetEnd != static_cast<std::int64_t>(bytes.size()))
        return ::testing::AssertionFailure() << "end offset " << h.offsetEnd;
    m.skinName.assign(data.skins[0].name, strnlen(data.skins[0].name, md2SkinNameSize - 1));
    m.texCoords = std::move(data.texCoords);
    m.triangles = std::move(data.triangles);
    for (Md2Frame& frame : data.frames) {
        m.frames.push_back(frame.header);
        m.vertices.push_back(std::move(frame.vertices));
    }
    return ::testing::AssertionSuccess();
}

}  // namespace charactertest
