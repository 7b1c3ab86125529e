// The MD2 model record: its table of animation ranges, the file loader and
// the release of what was loaded.
//
// The loader reads the file whole and takes the model from its bytes: the
// formats layer checks the header, every count, offset and triangle index
// against the size of the file before anything is allocated, then the
// frames, skin names, texture coordinates and triangles are copied in that
// order. Any failure leaves the model holding nothing, with the file closed.
#include "entities/md2.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
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
    // Every count, offset and triangle index is checked against the size of
    // the data before anything is allocated.
    Md2Layout layout;
    std::string error;
    if (!md2Check(data, size, layout, error))
        return false;

    try {
        header = new Md2Header(layout.header);
        const Md2Header& h = *header;
        triangles = new Md2Triangle[h.numTriangles];
        texCoords = new Md2TexCoord[h.numTexCoords];
        skins = new Md2SkinName[h.numSkins];
        frames = new Md2FrameHeader[h.numFrames];
        frameVertices = new Md2Vertex*[h.numFrames]();

        std::uint64_t at = static_cast<std::uint64_t>(h.offsetFrames);
        for (std::int32_t i = 0; i < h.numFrames; ++i) {
            copyAt(data, at, &frames[i], sizeof(Md2FrameHeader));
            frameVertices[i] = new Md2Vertex[h.numVertices];
            copyAt(data, at + sizeof(Md2FrameHeader), frameVertices[i], layout.vertexBytes);
            at += layout.frameBytes;
        }
        copyAt(data, static_cast<std::uint64_t>(h.offsetSkins), skins, layout.skinBytes);
        copyAt(data, static_cast<std::uint64_t>(h.offsetTexCoords), texCoords, layout.texCoordBytes);
        copyAt(data, static_cast<std::uint64_t>(h.offsetTriangles), triangles, layout.triangleBytes);

        // The blend target; without frames there is nothing to blend.
        interpolated = new Md2Vertex[h.numFrames > 0 ? h.numVertices : 0]();
        return true;
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
}
