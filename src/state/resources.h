// What start-up makes once and keeps until exit: texture names, the player's
// model object, the explosion systems and the sound handles. A new game or a
// test resets `game` (state/game_state.h) and leaves these alone.
#pragma once

#include "platform/gl.h"

struct Character;
struct ParticleSystem;
struct FSOUND_SAMPLE;
struct FMUSIC_MODULE;

struct Resources {
    // --- Made by start-up's own steps ------------------------------------
    Character* player = nullptr;                // the player's animated model object
    ParticleSystem* explosionSystems[4] = {nullptr, nullptr, nullptr, nullptr};

    // --- Textures and sounds made at start --------------------------------
    GLuint playerSkinTexture = 0;
    GLuint particleTexture = 0;
    float titleTextures[3] = {0, 0, 0};         // texture names stored as floats
    GLuint helpTexture = 0;
    GLuint goalMenuTexture = 0;
    GLuint environmentViewTextures[6] = {0, 0, 0, 0, 0, 0};
    FSOUND_SAMPLE* explosionSample = nullptr;
    FSOUND_SAMPLE* laserSample = nullptr;
    FMUSIC_MODULE* music = nullptr;
};

// The one set of resources (resources.cpp).
extern Resources resources;

// A texture name kept in a float (as titleTextures holds them) and back.
// textureNameToFloat is called by loadStartTextures for the three title
// pictures; textureNameFromFloat by drawTitleScreen for the page it shows.
float textureNameToFloat(GLuint name);
GLuint textureNameFromFloat(float value);
