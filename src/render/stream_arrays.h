// Vertex arrays for geometry that changes from draw to draw (water, beams,
// particles, the animated model). The data is copied into a ring of buffer
// objects that are reused from frame to frame, so no memory is allocated
// per draw; without buffer objects (a GL before 1.5) the arrays are handed
// over from client memory as they are. Either way the GL sees the very same
// vertices.
#pragma once

#include "platform/gl.h"

#include <cstddef>

// The largest block of vertex data one streamArrays call takes, in bytes.
inline constexpr std::size_t streamBlockBytes = 512 * 1024;

// One block of vertex data to stream: where it is and how many bytes.
struct StreamPart {
    const void* data;
    std::size_t bytes;
};

// Copies the parts (each rounded up to 16 bytes, together at most
// streamBlockBytes) into the next buffer of the ring and binds it as
// GL_ARRAY_BUFFER; `pointers` receives, per part, what to pass to
// glVertexPointer and its kin. Larger data is handed over from client
// memory instead. Called by every streamed draw: drawWater, the particle
// and beam batches, and the model's triangles.
void streamArrays(const StreamPart* parts, int count, const void** pointers);

// From here on the ring starts again at its first buffer, so that it holds
// only as many buffers as one frame uses (a frame's drawing is finished once
// its picture is swapped onto the screen, so nothing waits). Without it the
// ring would pass through all its buffers, 12 MB, whatever a frame needs.
// Called by the frame loop at the start of every frame.
void restartStreamRing();

// Binds no array buffer again, as the rest of the game expects. Called by
// each of those draws once its arrays are drawn.
void endStreamArrays();

// Vertex data that never changes (a texture coordinate pattern, say), kept
// in a buffer object of its own from the first use on.
struct FixedArray {
    GLuint buffer = 0;
    bool made = false;
};

// Fills the texture coordinates of `quads` quads laid one after another,
// every quad through (0, 0), (1, 0), (0, 1), (1, 1): 8 floats a quad.
// Called once by the particle and the beam batches when they are made.
void fillQuadTexCoords(float* texCoords, int quads);

// Binds the fixed data (uploading it the first time) as GL_ARRAY_BUFFER and
// returns what to pass to gl*Pointer for it; without buffer objects, the
// data itself. Called by the particle and the beam batches for their texture
// coordinates each time they send a batch.
const void* bindFixedArray(FixedArray& fixed, const void* data, std::size_t bytes);
