// The on-disk layouts of the files the game reads, in one place, shared by the
// game's loaders and by the asset generator that writes them. All numbers in
// these files are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Truevision TGA
// ---------------------------------------------------------------------------
inline constexpr std::size_t tgaHeaderSize = 18;

enum TgaImageType : std::uint8_t {
    tgaNoImage = 0,
    tgaColourMapped = 1,
    tgaTrueColour = 2,
    tgaGreyscale = 3,
    tgaRleColourMapped = 9,
    tgaRleTrueColour = 10,
    tgaRleGreyscale = 11,
};

// Descriptor bit 5: the first stored row is the top row.
inline constexpr std::uint8_t tgaTopOrigin = 0x20;

struct TgaInfo {
    int width = 0;
    int height = 0;
    int imageType = 0;
    int bitsPerPixel = 0;
    bool topOrigin = false;
    std::size_t pixelDataOffset = 0;   // first byte of the pixel data
};

// Checks that the bytes hold a whole TGA image of one of the kinds the game
// takes (true colour 24/32-bit, colour-mapped 8-bit, greyscale 8-bit; plain or
// run-length encoded) and that no part of it lies past the end of the data.
// On failure returns false and says why in `error`.
bool tgaCheck(const std::uint8_t* data, std::size_t size, TgaInfo& info, std::string& error);

// Writes a true-colour TGA. `pixels` holds width x height pixels of `channels`
// bytes (3: R,G,B or 4: R,G,B,A), top row first. With `rle` the pixel data is
// run-length encoded. Returns false when the file cannot be written in full
// (a write, the flush or the close failing, as on a full disk).
bool tgaWrite(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& pixels, bool rle = false);

// ---------------------------------------------------------------------------
// MD2 key-frame model
// ---------------------------------------------------------------------------
inline constexpr std::int32_t md2Magic = 0x32504449;   // "IDP2"
inline constexpr std::int32_t md2Version = 8;
inline constexpr std::size_t md2HeaderSize = 68;
inline constexpr std::size_t md2SkinNameSize = 64;
inline constexpr std::size_t md2FrameNameSize = 16;

struct Md2Header {
    std::int32_t magic;
    std::int32_t version;
    std::int32_t skinWidth;
    std::int32_t skinHeight;
    std::int32_t frameSize;
    std::int32_t numSkins;
    std::int32_t numVertices;
    std::int32_t numTexCoords;
    std::int32_t numTriangles;
    std::int32_t numGlCommands;
    std::int32_t numFrames;
    std::int32_t offsetSkins;
    std::int32_t offsetTexCoords;
    std::int32_t offsetTriangles;
    std::int32_t offsetFrames;
    std::int32_t offsetGlCommands;
    std::int32_t offsetEnd;
};
static_assert(sizeof(Md2Header) == md2HeaderSize);

struct Md2SkinName {
    char name[md2SkinNameSize];
};
static_assert(sizeof(Md2SkinName) == 64);

struct Md2TexCoord {       // in texels
    std::int16_t s;
    std::int16_t t;
};
static_assert(sizeof(Md2TexCoord) == 4);

struct Md2Triangle {       // corner k uses vertex[k] and texCoord[k]
    std::int16_t vertex[3];
    std::int16_t texCoord[3];
};
static_assert(sizeof(Md2Triangle) == 12);

struct Md2FrameHeader {    // followed by numVertices packed vertices
    float scale[3];
    float translate[3];
    char name[md2FrameNameSize];
};
static_assert(sizeof(Md2FrameHeader) == 40);

struct Md2Vertex {         // position = byte * scale + translate
    std::uint8_t v[3];
    std::uint8_t normalIndex;
};
static_assert(sizeof(Md2Vertex) == 4);

// A whole model as the writer takes it and the reader gives it back.
struct Md2Frame {
    Md2FrameHeader header{};
    std::vector<Md2Vertex> vertices;   // numVertices of them
};

struct Md2Data {
    std::int32_t skinWidth = 0;
    std::int32_t skinHeight = 0;
    std::int32_t numVertices = 0;
    std::vector<Md2SkinName> skins;
    std::vector<Md2TexCoord> texCoords;
    std::vector<Md2Triangle> triangles;
    std::vector<Md2Frame> frames;
};

// Where the arrays of a checked MD2 file lie: the header (its offsets) and
// the size in bytes of each array. Frames are stored back to back from
// offsetFrames, frameBytes apart.
struct Md2Layout {
    Md2Header header{};
    std::uint64_t skinBytes = 0;
    std::uint64_t texCoordBytes = 0;
    std::uint64_t triangleBytes = 0;
    std::uint64_t vertexBytes = 0;   // one frame's vertices
    std::uint64_t frameBytes = 0;    // one frame: its header and its vertices
};

// Checks that the bytes hold an MD2 model the game can take: magic "IDP2",
// version 8, no negative count, every array (skin names, texture
// coordinates, triangles, frames) wholly inside the data, and every
// triangle corner naming a vertex and a texture coordinate that exist. The
// header's frame size is not consulted: a frame is its 40-byte header and
// four bytes per vertex. On failure returns false and says why in `error`.
// Called by the model loader (entities/md2.cpp) before it allocates
// anything, by md2Read, and by the character tests for the header.
bool md2Check(const std::uint8_t* data, std::size_t size, Md2Layout& layout, std::string& error);

// Checks the bytes as md2Check does and copies the arrays into `model`.
// Called by the tests that read back the generated character.
bool md2Read(const std::uint8_t* data, std::size_t size, Md2Data& model, std::string& error);

// The file's bytes: header, skin names, texture coordinates, triangles, then
// the frames back to back (the GL command list is left empty). Called by
// md2Write, and by the model tests and the fuzz seed maker, which damage or
// store the bytes themselves.
std::vector<std::uint8_t> md2Bytes(const Md2Data& model);

// Writes md2Bytes(model) to `path`. Returns false when the file cannot be
// written in full. Called by the asset generator for the player's model.
bool md2Write(const std::string& path, const Md2Data& model);
