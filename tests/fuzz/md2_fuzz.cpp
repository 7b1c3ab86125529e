// Fuzz target: MD2 bytes through the model loader. A rejected model holds
// nothing; a loaded one is played the way the game reads it (every frame
// blended with another, the animation rows with the clock running on, every
// triangle corner decoded), and loading the same bytes again, over what a
// model already holds, gives the same answer.
#include "entities/md2.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

unsigned exercise(Md2Model& model)
{
    unsigned sum = 0;
    const Md2Header& h = *model.header;
    auto readCorners = [&] {
        if (!model.drawable())
            return;
        for (std::int32_t i = 0; i < h.numTriangles; ++i)
            for (int k = 0; k < 3; ++k) {
                const Md2Corner c = model.corner(i, k);
                sum += static_cast<unsigned>(std::isfinite(c.s) + std::isfinite(c.t)) +
                       static_cast<unsigned>(c.x != c.y);
            }
    };
    // Frame pairs, bounded so that a model of many frames stays quick.
    const std::int32_t step = h.numFrames > 64 ? h.numFrames / 64 : 1;
    for (std::int32_t f = 0; f < h.numFrames; f += step) {
        model.currentFrame = f;
        model.nextFrame = h.numFrames - 1 - f;
        model.interpolation = 0.5f;
        model.interpolate();
        readCorners();
    }
    // The rows as the game selects them (standing, running, the last one).
    float t = 0.0f;
    for (int row : {0, 1, 20, 12}) {
        model.selectAnimation(row);
        for (int s = 0; s < 4; ++s) {
            model.interpolate();   // before any animate, as with a clock at 0
            t += 0.07f;
            model.animate(t);
            model.interpolate();
            readCorners();
        }
    }
    if (model.drawable())
        for (std::int32_t i = 0; i < h.numVertices; ++i)
            sum += model.interpolated[i].v[0];
    return sum;
}

bool holdsNothing(const Md2Model& m)
{
    return !m.header && !m.skins && !m.triangles && !m.texCoords && !m.frames && !m.frameVertices &&
           !m.interpolated;
}

Md2Model reused;   // loads over whatever the last input left

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Md2Model model;
    const bool ok = model.loadBytes(data, size);
    if (ok != reused.loadBytes(data, size))
        std::abort();   // the same bytes loaded twice disagree
    if (!ok) {
        if (!holdsNothing(model) || !holdsNothing(reused))
            std::abort();
        return 0;
    }
    volatile unsigned keep = exercise(model) + exercise(reused);
    (void)keep;
    return 0;
}
