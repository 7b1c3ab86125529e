// The MD2 model's frame advance, the blend of two key frames on the packed
// vertex bytes, and the decoding of one triangle corner for drawing. No GL
// here, so all of it runs without a window.
#include "entities/md2.h"

#include <cstdint>

namespace {

std::int32_t frameCountOf(const Md2Header* header)
{
    return header ? header->numFrames : 0;
}

// A frame number the file does not have plays as frame 0.
std::int32_t foldFrame(std::int32_t frame, std::int32_t frameCount)
{
    return (frame < 0 || frame > frameCount - 1) ? 0 : frame;
}

// s / size (or t / size) as the skin coordinate; a skin without width or
// height maps everything to its first texel row or column.
float skinFraction(std::int16_t texel, std::int32_t size)
{
    if (size <= 0)
        return 0.0f;
    return static_cast<float>(static_cast<double>(texel) / static_cast<double>(size));
}

}  // namespace

void Md2Model::animate(float t)
{
    // A rate of 0 (or less) never advances.
    if (framesPerSecond > 0 && t - lastAdvanceTime > 1.0 / framesPerSecond) {
        currentFrame = nextFrame;
        ++nextFrame;
        if (nextFrame > endFrame)
            nextFrame = startFrame;
        lastAdvanceTime = t;
    }
    const std::int32_t frameCount = frameCountOf(header);
    if (currentFrame > frameCount - 1)
        currentFrame = 0;
    if (nextFrame > frameCount - 1)
        nextFrame = 0;
    interpolation = (t - lastAdvanceTime) * static_cast<float>(framesPerSecond);
}

void Md2Model::interpolate()
{
    if (!drawable())
        return;
    // The frame numbers may not have passed through animate() yet (a range
    // just selected, or a clock still at 0): fold them the same way here so
    // the blend never reads a frame the file does not have.
    const std::int32_t frameCount = header->numFrames;
    const Md2Vertex* current = frameVertices[foldFrame(currentFrame, frameCount)];
    const Md2Vertex* next = frameVertices[foldFrame(nextFrame, frameCount)];
    const std::int32_t vertexCount = header->numVertices;
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            const int from = current[i].v[axis];
            const int difference = next[i].v[axis] - from;
            float value = static_cast<float>(from) + static_cast<float>(difference) * interpolation;
            // Only a fraction outside 0..1 (a clock that went backwards) can
            // leave the byte range; keep such values in it.
            if (!(value > 0.0f))
                value = 0.0f;
            else if (value > 255.0f)
                value = 255.0f;
            // Truncated toward zero.
            interpolated[i].v[axis] = static_cast<std::uint8_t>(static_cast<int>(value));
        }
        interpolated[i].normalIndex = current[i].normalIndex;
    }
}

Md2Corner Md2Model::corner(int triangle, int k) const
{
    const Md2Triangle& tri = triangles[triangle];
    const Md2TexCoord& texel = texCoords[tri.texCoord[k]];
    const Md2Vertex& vertex = interpolated[tri.vertex[k]];
    // Every frame is decoded with frame 0's scale and translate.
    const Md2FrameHeader& frame0 = frames[0];
    Md2Corner c;
    c.s = skinFraction(texel.s, header->skinWidth);
    c.t = 1.0f - skinFraction(texel.t, header->skinHeight);
    c.x = static_cast<float>(vertex.v[0]) * frame0.scale[0] + frame0.translate[0];
    c.y = static_cast<float>(vertex.v[1]) * frame0.scale[1] + frame0.translate[1];
    c.z = static_cast<float>(vertex.v[2]) * frame0.scale[2] + frame0.translate[2];
    return c;
}
