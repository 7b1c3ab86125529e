// The MD2 model record: its table of animation ranges, the file loader and
// the release of what was loaded.
//
// The loader reads the file whole and takes the model from its bytes: the
// header, then every count and offset checked against the size of the file
// before anything else is allocated, then the frames, skin names, texture
// coordinates and triangles in that order, and finally every triangle's
// indices. Any failure leaves the model holding nothing, with the file closed.
#include "entities/md2.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

// First frame, last frame, frames per second of each animation row.
constexpr Md2Animation animationTable[md2AnimationCount] = {
    {0, 39, 9},     {40, 45, 10},   {46, 53, 10},   {54, 57, 7},    {58, 61, 7},
    {62, 65, 7},    {66, 71, 7},    {72, 83, 7},    {84, 94, 7},    {95, 111, 10},
    {112, 122, 7},  {123, 134, 6},  {135, 153, 10}, {154, 159, 7},  {160, 168, 10},
    {169, 172, 7},  {173, 177, 5},  {178, 183, 7},  {184, 189, 7},  {190, 197, 7},
    {198, 198, 5},
};

// Reads a regular file whole; false when it cannot be opened or read, or is
// not a regular file (a folder opens like one on Linux).
bool readWholeFile(const char* path, std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    struct stat status {};
    bool ok = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0;
    if (ok) {
        try {
            bytes.resize(static_cast<std::size_t>(status.st_size));
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    ok = ok && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return ok;
}

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

// Copies `bytes` bytes from `offset` of the data (checked to lie inside it).
void copyAt(const std::uint8_t* data, std::uint64_t offset, void* into, std::uint64_t bytes)
{
    if (bytes != 0)
        std::memcpy(into, data + offset, bytes);
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
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes))
        return false;
    return loadBytes(bytes.data(), bytes.size());
}

bool Md2Model::loadBytes(const std::uint8_t* data, std::size_t size)
{
    release();
    if (data == nullptr && size != 0)
        return false;
    const std::uint64_t fileSize = size;
    if (fileSize < md2HeaderSize)
        return false;

    try {
        header = new Md2Header;
        std::memcpy(header, data, md2HeaderSize);
        const Md2Header& h = *header;
        if (h.magic != md2Magic || h.version != md2Version) {
            release();
            return false;
        }

        // Every array must lie inside the file before any of it is allocated:
        // a damaged count can then never ask for more memory than the file
        // could fill. The header's frame size is not consulted; frames are
        // 40 bytes of frame header and four bytes per vertex, back to back.
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

        std::uint64_t at = static_cast<std::uint64_t>(h.offsetFrames);
        for (std::int32_t i = 0; i < h.numFrames; ++i) {
            copyAt(data, at, &frames[i], sizeof(Md2FrameHeader));
            frameVertices[i] = new Md2Vertex[h.numVertices];
            copyAt(data, at + sizeof(Md2FrameHeader), frameVertices[i], vertexBytes);
            at += frameBytes;
        }
        copyAt(data, static_cast<std::uint64_t>(h.offsetSkins), skins, skinBytes);
        copyAt(data, static_cast<std::uint64_t>(h.offsetTexCoords), texCoords, texCoordBytes);
        copyAt(data, static_cast<std::uint64_t>(h.offsetTriangles), triangles, triangleBytes);

        // Every corner must name a vertex and a texture coordinate that exist.
        bool ok = true;
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
