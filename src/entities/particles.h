// Particle systems: the explosion bursts. Four identical systems are made at
// start-up and used in turn.
#pragma once

#include "entities/particle.h"

#include <cstddef>
#include <cstdint>

inline constexpr int particleCapacity = 50000;

// The pool is fixed at particleCapacity records, of which a system uses its
// first `count`. A system is made with new only: its memory is mapped fresh
// from the kernel, zero-filled, and the constructor leaves the records alone,
// so the pages of records never used are never touched and take no memory
// (particle_pool.cpp).
struct ParticleSystem {
    ParticleSystem() {}
    // The system's own mapping and its unmapping (particle_pool.cpp). The game
    // makes its four systems in makeExplosionSystems and keeps them until exit;
    // only the tests delete one.
    static void* operator new(std::size_t size);
    static void operator delete(void* memory, std::size_t size) noexcept;

    Particle particles[particleCapacity];
    std::int32_t count = 2000;
    float slowdown = 0.8f;
    std::int32_t speedFactor = 5;
    float biasX = 0, biasY = 0;
    std::int32_t frameCounter = 0;
    float startRed = 1.0f, startGreen = 1.0f, startBlue = 0.0f;
    float fadeRed = 0, fadeGreen = 0, fadeBlue = 0;
};

// Start-up: makes the four explosion systems with the game's parameters and
// resets each once. Called once by start-up, first of all, before the window
// opens.
void makeExplosionSystems();
// Puts every particle the system uses back at the centre, active, with full
// life, a fresh random fade and velocity, and the start colour. Called by
// makeExplosionSystems, and by playExplosionFrame and runParticles on each
// explosion frame.
void resetParticles(ParticleSystem& system);
// One particle's advance (no drawing): position, velocity, life, colour and
// size; a particle whose life ran out is respawned at the centre. Called by
// stepParticles for every active particle, after drawing it (and the tests).
void advanceParticle(const ParticleSystem& system, Particle& particle);
// Draws every active particle at the explosion centre, advances it one step,
// counts the frame. Called by playExplosionFrame and runParticles.
void stepParticles(ParticleSystem& system);
// Resets the system when it has not run a frame yet, then steps it. Called
// by playExplosionFrame at its end.
void runParticles(ParticleSystem& system);
// One frame of a pending explosion; ends it after three frames. Called by the
// frame loop once a frame while an explosion is pending, after the overlay,
// with the system whose turn it is.
void playExplosionFrame(ParticleSystem& system);
