#include "render/stream_arrays.h"

#include <cstdint>
#include <vector>

namespace {

// Enough buffers for everything one frame streams (a full-length beam is
// about fifteen blocks); past that the ring wraps, and the GL waits for the
// buffer's earlier drawing before overwriting it, which costs time, not
// correctness.
constexpr std::size_t ringSize = 24;

struct Ring {
    std::vector<GLuint> buffers;
    std::size_t next = 0;
};

Ring& ring()
{
    static Ring* r = new Ring;
    return *r;
}

bool buffersAvailable()
{
    static const bool available = glGenBuffers != nullptr && glBindBuffer != nullptr &&
                                  glBufferData != nullptr && glBufferSubData != nullptr;
    return available;
}

}  // namespace

void streamArrays(const StreamPart* parts, int count, const void** pointers)
{
    std::size_t total = 0;
    for (int i = 0; i < count; ++i)
        total += (parts[i].bytes + 15) & ~static_cast<std::size_t>(15);
    if (!buffersAvailable() || total > streamBlockBytes) {
        if (buffersAvailable())
            glBindBuffer(GL_ARRAY_BUFFER, 0);
        for (int i = 0; i < count; ++i)
            pointers[i] = parts[i].data;
        return;
    }
    Ring& r = ring();
    if (r.next == r.buffers.size() && r.buffers.size() < ringSize) {
        GLuint name = 0;
        glGenBuffers(1, &name);
        glBindBuffer(GL_ARRAY_BUFFER, name);
        glBufferData(GL_ARRAY_BUFFER, streamBlockBytes, nullptr, GL_STREAM_DRAW);
        r.buffers.push_back(name);
    }
    const GLuint buffer = r.buffers[r.next % r.buffers.size()];
    r.next = (r.next + 1) % ringSize;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    std::size_t offset = 0;
    for (int i = 0; i < count; ++i) {
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset),
                        static_cast<GLsizeiptr>(parts[i].bytes), parts[i].data);
        pointers[i] = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset));
        // Each part starts on a 16-byte boundary.
        offset += (parts[i].bytes + 15) & ~static_cast<std::size_t>(15);
    }
}

void restartStreamRing() { ring().next = 0; }

void endStreamArrays()
{
    if (buffersAvailable())
        glBindBuffer(GL_ARRAY_BUFFER, 0);
}

const void* bindFixedArray(FixedArray& fixed, const void* data, std::size_t bytes)
{
    if (!buffersAvailable())
        return data;
    if (!fixed.made) {
        glGenBuffers(1, &fixed.buffer);
        glBindBuffer(GL_ARRAY_BUFFER, fixed.buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
        fixed.made = true;
        return nullptr;
    }
    glBindBuffer(GL_ARRAY_BUFFER, fixed.buffer);
    return nullptr;
}

void fillQuadTexCoords(float* texCoords, int quads)
{
    constexpr float corner[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int q = 0; q < quads; ++q)
        for (int c = 0; c < 4; ++c) {
            texCoords[(q * 4 + c) * 2] = corner[c][0];
            texCoords[(q * 4 + c) * 2 + 1] = corner[c][1];
        }
}
