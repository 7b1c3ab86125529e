// The MD2 model file: the check over its bytes, the copy of its arrays and
// the writer.
#include "formats/file_formats.h"

#include <cstdio>
#include <cstring>

namespace {

bool fail(std::string& error, const char* why)
{
    error = why;
    return false;
}

// count x elementSize in bytes, false on a negative count or an overflow.
bool arrayBytes(std::int32_t count, std::uint64_t elementSize, std::uint64_t& bytes)
{
    if (count < 0)
        return false;
    return !__builtin_mul_overflow(static_cast<std::uint64_t>(count), elementSize, &bytes);
}

// An array of `bytes` bytes at `offset` lies wholly inside data of `size`
// bytes. An empty array is never read, so any offset will do.
bool inside(std::int32_t offset, std::uint64_t bytes, std::uint64_t size)
{
    if (bytes == 0)
        return true;
    if (offset < 0)
        return false;
    const std::uint64_t start = static_cast<std::uint64_t>(offset);
    return start <= size && bytes <= size - start;
}

template <typename T>
void copyArray(const std::uint8_t* data, std::int32_t offset, std::uint64_t bytes, std::vector<T>& into)
{
    into.resize(bytes / sizeof(T));
    if (bytes != 0)
        std::memcpy(into.data(), data + offset, bytes);
}

void putBytes(std::vector<std::uint8_t>& out, const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), p, p + size);
}

}  // namespace

bool md2Check(const std::uint8_t* data, std::size_t size, Md2Layout& layout, std::string& error)
{
    layout = Md2Layout{};
    if (data == nullptr || size < md2HeaderSize)
        return fail(error, "shorter than an MD2 header");
    Md2Header& h = layout.header;
    std::memcpy(&h, data, md2HeaderSize);
    if (h.magic != md2Magic || h.version != md2Version)
        return fail(error, "not an IDP2 model of version 8");

    // Every array must lie inside the data: a damaged count can then never
    // ask the loader for more memory than the file could fill.
    std::uint64_t allFrameBytes = 0;
    const bool sizesOk =
        arrayBytes(h.numTriangles, sizeof(Md2Triangle), layout.triangleBytes) &&
        arrayBytes(h.numTexCoords, sizeof(Md2TexCoord), layout.texCoordBytes) &&
        arrayBytes(h.numSkins, sizeof(Md2SkinName), layout.skinBytes) &&
        arrayBytes(h.numVertices, sizeof(Md2Vertex), layout.vertexBytes) &&
        !__builtin_add_overflow(layout.vertexBytes, sizeof(Md2FrameHeader), &layout.frameBytes) &&
        arrayBytes(h.numFrames, layout.frameBytes, allFrameBytes);
    if (!sizesOk)
        return fail(error, "a negative or oversized count");
    if (!inside(h.offsetFrames, allFrameBytes, size) || !inside(h.offsetSkins, layout.skinBytes, size) ||
        !inside(h.offsetTexCoords, layout.texCoordBytes, size) ||
        !inside(h.offsetTriangles, layout.triangleBytes, size))
        return fail(error, "an array lies past the end of the data");

    // Every corner must name a vertex and a texture coordinate that exist.
    for (std::int32_t i = 0; i < h.numTriangles; ++i) {
        Md2Triangle t;
        std::memcpy(&t, data + h.offsetTriangles + i * sizeof(Md2Triangle), sizeof t);
        for (int k = 0; k < 3; ++k) {
            if (t.vertex[k] < 0 || t.vertex[k] >= h.numVertices || t.texCoord[k] < 0 ||
                t.texCoord[k] >= h.numTexCoords)
                return fail(error, "a triangle names a vertex or texture coordinate that does not exist");
        }
    }
    return true;
}

bool md2Read(const std::uint8_t* data, std::size_t size, Md2Data& model, std::string& error)
{
    Md2Layout layout;
    if (!md2Check(data, size, layout, error))
        return false;
    const Md2Header& h = layout.header;
    model = Md2Data{};
    model.skinWidth = h.skinWidth;
    model.skinHeight = h.skinHeight;
    model.numVertices = h.numVertices;
    copyArray(data, h.offsetSkins, layout.skinBytes, model.skins);
    copyArray(data, h.offsetTexCoords, layout.texCoordBytes, model.texCoords);
    copyArray(data, h.offsetTriangles, layout.triangleBytes, model.triangles);
    model.frames.resize(static_cast<std::size_t>(h.numFrames));
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        Md2Frame& frame = model.frames[f];
        const std::uint8_t* at = data + h.offsetFrames + f * layout.frameBytes;
        std::memcpy(&frame.header, at, sizeof frame.header);
        frame.vertices.resize(static_cast<std::size_t>(h.numVertices));
        if (layout.vertexBytes != 0)
            std::memcpy(frame.vertices.data(), at + sizeof frame.header, layout.vertexBytes);
    }
    return true;
}

std::vector<std::uint8_t> md2Bytes(const Md2Data& model)
{
    Md2Header h{};
    h.magic = md2Magic;
    h.version = md2Version;
    h.skinWidth = model.skinWidth;
    h.skinHeight = model.skinHeight;
    h.frameSize = static_cast<std::int32_t>(sizeof(Md2FrameHeader) + sizeof(Md2Vertex) * model.numVertices);
    h.numSkins = static_cast<std::int32_t>(model.skins.size());
    h.numVertices = model.numVertices;
    h.numTexCoords = static_cast<std::int32_t>(model.texCoords.size());
    h.numTriangles = static_cast<std::int32_t>(model.triangles.size());
    h.numGlCommands = 0;
    h.numFrames = static_cast<std::int32_t>(model.frames.size());
    std::size_t at = md2HeaderSize;
    h.offsetSkins = static_cast<std::int32_t>(at);
    at += model.skins.size() * sizeof(Md2SkinName);
    h.offsetTexCoords = static_cast<std::int32_t>(at);
    at += model.texCoords.size() * sizeof(Md2TexCoord);
    h.offsetTriangles = static_cast<std::int32_t>(at);
    at += model.triangles.size() * sizeof(Md2Triangle);
    h.offsetFrames = static_cast<std::int32_t>(at);
    at += model.frames.size() * static_cast<std::size_t>(h.frameSize);
    h.offsetGlCommands = static_cast<std::int32_t>(at);
    h.offsetEnd = static_cast<std::int32_t>(at);

    std::vector<std::uint8_t> out;
    out.reserve(at);
    putBytes(out, &h, sizeof h);
    putBytes(out, model.skins.data(), model.skins.size() * sizeof(Md2SkinName));
    putBytes(out, model.texCoords.data(), model.texCoords.size() * sizeof(Md2TexCoord));
    putBytes(out, model.triangles.data(), model.triangles.size() * sizeof(Md2Triangle));
    for (const Md2Frame& f : model.frames) {
        putBytes(out, &f.header, sizeof f.header);
        putBytes(out, f.vertices.data(), f.vertices.size() * sizeof(Md2Vertex));
    }
    return out;
}

bool md2Write(const std::string& path, const Md2Data& model)
{
    const std::vector<std::uint8_t> bytes = md2Bytes(model);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = written && std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}
