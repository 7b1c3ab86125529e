// The painters of the world's textures (ground, plank, rock, sand, water,
// emitter crate, particle glow, tunnel picture and the five sky faces).
// Every painter is deterministic: it draws from fixed seeds only.
#pragma once

#include "common/painting.h"

// Terrain and prop painters (sizes are fixed by each painter; the rock, sand
// and tunnel pictures are stored at half the size and the water frames at
// half the height, see generateTerrainTextures).
Image paintGround();                 // hm5c: 1024 x 1024 over the whole ground slab
Image paintWood();                   // wood: 1024 x 128, grain along s (the plank's length)
Image paintMountainRock();           // mountainsc: 256 x 2048 (s up the slope, t along the range)
Image paintBeachSand();              // beachtex: 256 x 1024 (s from the sea up to the ground)
Image paintWaterFrame(int frame);    // waterN: 128 x 1024, frames 0..7 loop
Image paintCrateFace();              // box: 256 x 256
Image paintParticleGlow();           // Particle: 128 x 128
Image paintTunnel();                 // tunnel3: 512 x 512

// The sky box: five faces of a cube around the eye (y up, heading 0 looks
// along -z), each texel coloured from one sky model at its direction.
enum class SkyFace { front, back, left, right, top };
struct SkyDirection {
    float x, y, z;
};
// The point of the box face (half-size 1) at texture coordinate (s, t),
// interpolated between the face's four corners.
SkyDirection skyFacePoint(SkyFace face, float s, float t);
// The sky's texture colour seen along `d` (any length). The game draws the
// sky modulated by its haze colour, so these are factors of that colour.
Colour skyTextureColour(SkyDirection d);
Image paintSkyFace(SkyFace face, int size);
