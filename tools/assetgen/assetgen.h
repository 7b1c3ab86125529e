// The asset generator: writes the game's whole asset pack (textures, the
// character model, sounds and music) into one folder, deterministically.
#pragma once

#include <string>

// Each writes its files under `root` (which has Textures/, Modells/ and
// Sound/ already) and returns false after printing what failed.
bool generateTerrainTextures(const std::string& root);   // ground, wood, rock, sand, water, box, particle, tunnel
bool generateSkyTextures(const std::string& root);       // the five sky faces
bool generateMenuPages(const std::string& root);         // sp1..sp4, spHelp
bool generateCharacter(const std::string& root);         // tris.md2 and hueteotl.tga
bool generateSounds(const std::string& root);            // explosion.mp3, laserfire3.wav, UFO.mid, orbitor.sf2
// The desktop icons, outside the asset pack: NxN/apps/orbitor.png under
// `root` for each icon size, laid out as in the hicolor icon theme.
bool generateIcons(const std::string& root);
