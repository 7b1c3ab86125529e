// Writes the textures of the world and its props: ground, plank, mountain
// rock, beach sand, the eight water frames, the emitter crate, the particle
// glow and the tunnel picture. The painters live in their own files.
#include "assetgen.h"
#include "textures/textures.h"

#include <string>

bool generateTerrainTextures(const std::string& root)
{
    const std::string dir = root + "/Textures/";
    bool ok = true;
    // The rock, sand and tunnel pictures are painted finely and stored at
    // half the size, the water frames at half their length (t, along the
    // shore): the game shows them magnified or from afar and holds every
    // texture in memory with its mipmaps. The ground's paths and stones and
    // the water's thin bright lines across the shore keep their full size.
    ok = saveTga(paintGround(), dir + "hm5c.tga") && ok;
    ok = saveTga(paintWood(), dir + "wood.tga") && ok;
    ok = saveTga(reduced(paintMountainRock(), 2, 2), dir + "mountainsc.tga") && ok;
    ok = saveTga(reduced(paintBeachSand(), 2, 2), dir + "beachtex_COLOR.tga") && ok;
    for (int frame = 0; frame < 8; ++frame) {
        const std::string name = "water" + std::to_string(frame) + "_COLOR.tga";
        ok = saveTga(reduced(paintWaterFrame(frame), 1, 2), dir + name) && ok;
    }
    ok = saveTga(paintCrateFace(), dir + "box_COLOR.tga") && ok;
    // The glow and the tunnel are mostly black: run-length encoded.
    ok = saveTgaCompressed(paintParticleGlow(), dir + "Particle.tga") && ok;
    ok = saveTgaCompressed(reduced(paintTunnel(), 2, 2), dir + "tunnel3.tga") && ok;
    return ok;
}
