// Writes the textures of the world and its props: ground, plank, mountain
// rock, beach sand, the eight water frames, the emitter crate, the particle
// glow and the tunnel picture. The painters live in their own files.
#include "assetgen.h"
#include "texture_painting.h"

#include <string>

bool generateTerrainTextures(const std::string& root)
{
    const std::string dir = root + "/Textures/";
    bool ok = true;
    ok = saveTga(paintGround(), dir + "hm5c.tga") && ok;
    ok = saveTga(paintWood(), dir + "wood.tga") && ok;
    ok = saveTga(paintMountainRock(), dir + "mountainsc.tga") && ok;
    ok = saveTga(paintBeachSand(), dir + "beachtex_COLOR.tga") && ok;
    for (int frame = 0; frame < 8; ++frame)
        ok = saveTga(paintWaterFrame(frame), dir + "water" + std::to_string(frame) + "_COLOR.tga") && ok;
    ok = saveTga(paintCrateFace(), dir + "box_COLOR.tga") && ok;
    // The glow and the tunnel are mostly black: run-length encoded.
    ok = saveTgaCompressed(paintParticleGlow(), dir + "Particle.tga") && ok;
    ok = saveTgaCompressed(paintTunnel(), dir + "tunnel3.tga") && ok;
    return ok;
}
