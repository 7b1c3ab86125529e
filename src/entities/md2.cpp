// The MD2 model record: its table of animation ranges, the file loader and
// the release of what was loaded.
//
// The loader reads the header, checks every count and offset against the
// size of the file before anything else is allocated, then reads the frames,
// skin names, texture coordinates and triangles in that order, and finally
// checks every triangle's indices. Any failure leaves the model holding
// nothing, with the file closed.
#include "entities/md2.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// First frame, last frame, frames per second of each animation row.
constexpr Md2Animation animationTable[md2AnimationCount] = {
    {0, 39, 9},     {40, 45, 10},   {46, 53, 10},   {54, 57, 7},    {58, 61, 7},
    {62, 65, 7},    {66, 71, 7},    {72, 83, 7},    {84, 94, 7},    {95, 111, 10},
    {112, 122, 7},  {123, 134, 6},  {135, 153, 10}, {154, 159, 7},  {160, 168, 10},
    {169, 172, 7},  {173, 177, 5},  {178, 183, 7},  {184, 189, 7},  {190, 197, 7},
    {198, 198, 5},
};

// Closes the file however load() leaves.
struct FileCloser {
    std::FILE* file;
    ~FileCloser()
    {
        if (file)
            std::fclose(file);
    }
};

// count x elementSize in bytes, false on a negative count or an overflow.
bool arrayBytes(std::int32_t count, std::uint64_t elementSize, std::uint64_t& bytes)
{
    if (count < 0)
        return false;
    return !__builtin_mul_overflow(static_cast<std::uint64_t>(count), elementSize, &bytes);
}

// An array of `bytes` bytes at `offset` lies wholly inside a file of
// `fileSize` bytes. An empty array is never read, so any offset will do.
bool insideFile(std::int32_t offset, std::uint64_t bytes, std::uint64_t fileSize)
{
    if (bytes == 0)
        return true;
    if (offset < 0)
        return false;
    const std::uint64_t start = static_cast<std::uint64_t>(offset);
    return start <= fileSize && bytes <= fileSize - start;
}

// Seeks to `offset` and reads exactly `bytes` bytes (nothing for 0 bytes).
bool readAt(std::FILE* file, std::int32_t offset, void* into, std::uint64_t bytes)
{
    if (bytes == 0)
        return true;
    if (std::fseek(file, offset, SEEK_SET) != 0)
        return false;
    return std::fread(into, 1, bytes, file) == bytes;
}

bool readNext(std::FILE* file, void* into, std::uint64_t bytes)
{
    return bytes == 0 || std::fread(into, 1, bytes, file) == bytes;
}

// The size of an open file in bytes; false when it cannot be told.
bool fileSizeOf(std::FILE* file, std::uint64_t& size)
{
    if (std::fseek(file, 0, SEEK_END) != 0)
        return false;
    const long end = std::ftell(file);
    if (end < 0 || std::fseek(file, 0, SEEK_SET) != 0)
        return false;
    size = static_cast<std::uint64_t>(end);
    return true;
}

}  // namespace

Md2Model::Md2Model()
{
    for (int row = 0; row < md2AnimationCount; ++row)
        animations[row] = animationTable[row];
    currentFrame = 0;
    lastAdvanceTime = 0;
}

void Md2Model::selectAnimation(int row)
{
    if (row < 0 || row >= md2AnimationCount)
        return;
    startFrame = animations[row].firstFrame;
    endFrame = animations[row].lastFrame;
    framesPerSecond = animations[row].framesPerSecond;
    nextFrame = animations[row].firstFrame + 1;
    animationIndex = row;
}

void Md2Model::release()
{
    // Frees whatever is held, so that a load that stopped half-way is undone
    // as well as a complete one. The frame pointer array was made with the
    // header's frame count and starts out all null.
    if (frameVertices) {
        const std::int32_t frameCount = header ? header->numFrames : 0;
        for (std::int32_t i = 0; i < frameCount; ++i)
            delete[] frameVertices[i];
    }
    delete[] triangles;
    delete[] texCoords;
    delete[] skins;
    delete[] frameVertices;
    delete[] frames;
    delete[] interpolated;
    delete header;
    triangles = nullptr;
    texCoords = nullptr;
    skins = nullptr;
    frameVertices = nullptr;
    frames = nullptr;
    interpolated = nullptr;
    header = nullptr;
}

bool Md2Model::load(const char* path)
{
    release();
    if (path == nullptr)
        return false;
    FileCloser closer{std::fopen(path, "rb")};
    std::FILE* file = closer.file;
    if (file == nullptr)
        return false;

    try {
        std::uint64_t fileSize = 0;
        if (!fileSizeOf(file, fileSize))
            return false;

        header = new Md2Header;
        if (!readNext(file, header, md2HeaderSize)) {
            release();
            return false;
        }
        const Md2Header& h = *header;
        if (h.magic != md2Magic || h.version != md2Version) {
            release();
            return false;
        }

        // Every array must lie inside the file before any of it is allocated:
        // a damaged count can then never ask for more memory than the file
        // could fill. The header's frame size is not consulted; frames are
        // 40 bytes of frame header and four bytes per vertex.
        std::uint64_t triangleBytes = 0, texCoordBytes = 0, skinBytes = 0;
        std::uint64_t vertexBytes = 0, frameBytes = 0, allFrameBytes = 0;
        const bool sizesOk =
            arrayBytes(h.numTriangles, sizeof(Md2Triangle), triangleBytes) &&
            arrayBytes(h.numTexCoords, sizeof(Md2TexCoord), texCoordBytes) &&
            arrayBytes(h.numSkins, sizeof(Md2SkinName), skinBytes) &&
            arrayBytes(h.numVertices, sizeof(Md2Vertex), vertexBytes) &&
            !__builtin_add_overflow(vertexBytes, sizeof(Md2FrameHeader), &frameBytes) &&
            h.numFrames >= 0 &&
            !__builtin_mul_overflow(static_cast<std::uint64_t>(h.numFrames), frameBytes,
                                    &allFrameBytes);
        if (!sizesOk || !insideFile(h.offsetFrames, allFrameBytes, fileSize) ||
            !insideFile(h.offsetSkins, skinBytes, fileSize) ||
            !insideFile(h.offsetTexCoords, texCoordBytes, fileSize) ||
            !insideFile(h.offsetTriangles, triangleBytes, fileSize)) {
            release();
            return false;
        }

        triangles = new Md2Triangle[h.numTriangles];
        texCoords = new Md2TexCoord[h.numTexCoords];
        skins = new Md2SkinName[h.numSkins];
        frames = new Md2FrameHeader[h.numFrames];
        frameVertices = new Md2Vertex*[h.numFrames]();

        bool ok = true;
        if (h.numFrames > 0)
            ok = std::fseek(file, h.offsetFrames, SEEK_SET) == 0;
        for (std::int32_t i = 0; ok && i < h.numFrames; ++i) {
            ok = readNext(file, &frames[i], sizeof(Md2FrameHeader));
            if (ok) {
                frameVertices[i] = new Md2Vertex[h.numVertices];
                ok = readNext(file, frameVertices[i], vertexBytes);
            }
        }
        ok = ok && readAt(file, h.offsetSkins, skins, skinBytes);
        ok = ok && readAt(file, h.offsetTexCoords, texCoords, texCoordBytes);
        ok = ok && readAt(file, h.offsetTriangles, triangles, triangleBytes);

        // Every corner must name a vertex and a texture coordinate that exist.
        for (std::int32_t i = 0; ok && i < h.numTriangles; ++i) {
            for (int k = 0; k < 3; ++k) {
                const std::int16_t v = triangles[i].vertex[k];
                const std::int16_t c = triangles[i].texCoord[k];
                if (v < 0 || v >= h.numVertices || c < 0 || c >= h.numTexCoords)
                    ok = false;
            }
        }
        if (!ok) {
            release();
            return false;
        }

        // The blend target; without frames there is nothing to blend.
        interpolated = new Md2Vertex[h.numFrames > 0 ? h.numVertices : 0]();
        return true;
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
}
