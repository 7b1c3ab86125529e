// The explosion bursts: four identical pools of particles that fly out of the
// explosion centre, fall, fade from yellow to red and shrink with their life.
#include "entities/particles.h"

#include "entities/particle_copies.h"
#include "platform/gl.h"
#include "render/camera_view.h"
#include "render/render_options.h"
#include "render/stream_arrays.h"
#include "state/game_state.h"
#include "state/resources.h"

#include <cstdlib>
#include <iostream>

void makeExplosionSystems()
{
    for (ParticleSystem*& system : resources.explosionSystems) {
        system = new ParticleSystem();
        system->count = 3000;
        system->slowdown = 0.4f;
        system->speedFactor = 5;
        system->biasX = 0.0f;
        system->biasY = 0.0f;
        system->startRed = 1.0f;
        system->startGreen = 1.0f;
        system->startBlue = 0.0f;
        system->fadeRed = 0.0f;
        system->fadeGreen = 0.4f;
        system->fadeBlue = 0.0f;
        resetParticles(*system);
    }
}

// Never more particles than the pool holds, whatever count says.
static int usedParticles(const ParticleSystem& system)
{
    if (system.count < 0)
        return 0;
    return system.count < particleCapacity ? system.count : particleCapacity;
}

void resetParticles(ParticleSystem& system)
{
    const float speed = static_cast<float>(system.speedFactor);
    const int n = usedParticles(system);
    for (int i = 0; i < n; ++i) {
        Particle& p = system.particles[i];
        p.active = true;
        p.life = 1.0f;
        // Each random number is drawn in its own statement: the order is part
        // of the burst's look.
        p.fade = static_cast<float>(std::rand() % 100) / speed + 0.01f;
        p.x = p.y = p.z = 0.0f;
        p.velocityX = static_cast<float>((std::rand() % 50) - 26) * speed;
        p.velocityY = static_cast<float>((std::rand() % 50) - 25) * speed;
        p.velocityZ = static_cast<float>((std::rand() % 50) - 25) * speed;
        p.accelerationX = 0.0f;
        p.accelerationY = -2.8f;
        p.accelerationZ = 0.0f;
        // Two more numbers per axis are drawn and left unused, so the
        // sequence stays the burst's own.
        for (int k = 0; k < 6; ++k)
            std::rand();
        p.red = system.startRed;
        p.green = system.startGreen;
        p.blue = system.startBlue;
        p.baseSize = 5.0f;
        p.size = 5.0f;
    }
}

void advanceParticle(const ParticleSystem& system, Particle& p)
{
    const float k = system.slowdown * 100.0f;
    p.x += p.velocityX / k;
    p.y += p.velocityY / k;
    p.z += p.velocityZ / k;
    p.velocityX += p.accelerationX;
    p.velocityY += p.accelerationY;
    p.velocityZ += p.accelerationZ;
    p.life -= p.fade;
    p.red -= system.fadeRed;
    if (p.red < 0.0f)
        p.red = 0.0f;
    p.green -= system.fadeGreen;
    if (p.green < 0.0f)
        p.green = 0.0f;
    p.blue -= system.fadeBlue;
    if (p.blue < 0.0f)
        p.blue = 0.0f;

    if (p.life >= 0.0f) {
        p.size = p.life * p.baseSize;
        return;
    }
    // Burnt out: it starts again from the centre with a new, slow fade, but
    // keeps its (negative) life, its colour and its last size.
    p.fade = static_cast<float>(std::rand() % 100) / 1000.0f + 0.003f;
    p.x = p.y = p.z = 0.0f;
    p.velocityX = static_cast<float>((std::rand() % 60) - 32) + system.biasX;
    p.velocityY = static_cast<float>((std::rand() % 60) - 30) + system.biasY;
    p.velocityZ = static_cast<float>((std::rand() % 60) - 30);
}

namespace {

// Particles are sent in batches through vertex arrays: per particle the two
// four-corner strips of its crossed quads, as the triangles a strip is made
// of ((0, 1, 2) and (2, 1, 3)), with the particle's colour at every corner.
constexpr int particlesPerBatch = 1024;
constexpr int cornersPerParticle = 8;
constexpr int indicesPerParticle = 12;

struct ParticleBatch {
    float positions[particlesPerBatch * cornersPerParticle * 3];
    float texCoords[particlesPerBatch * cornersPerParticle * 2];
    float colours[particlesPerBatch * cornersPerParticle * 4];
    GLushort indices[particlesPerBatch * indicesPerParticle];
    int used = 0;
    FixedArray fixedTexCoords;
};

ParticleBatch& particleBatch()
{
    static ParticleBatch* batch = nullptr;
    if (!batch) {
        batch = new ParticleBatch;
        fillQuadTexCoords(batch->texCoords, particlesPerBatch * 2);
        for (int q = 0; q < particlesPerBatch * 2; ++q) {
            const GLushort b = static_cast<GLushort>(q * 4);
            const GLushort strip[6] = {b, static_cast<GLushort>(b + 1), static_cast<GLushort>(b + 2),
                                       static_cast<GLushort>(b + 2), static_cast<GLushort>(b + 1),
                                       static_cast<GLushort>(b + 3)};
            for (int k = 0; k < 6; ++k)
                batch->indices[q * 6 + k] = strip[k];
        }
    }
    return *batch;
}

// Two crossed quads at the particle's place: one across x-y with its corner
// at the centre, one across y-z through the middle of the first.
void addParticle(ParticleBatch& batch, const Particle& p, float cx, float cy, float cz)
{
    const float s = p.size;
    const float h = s * 0.5f;
    const float corners[cornersPerParticle][3] = {
        {cx, cy, cz},         {cx + s, cy, cz},         {cx, cy + s, cz},         {cx + s, cy + s, cz},
        {cx + h, cy, cz - h}, {cx + h, cy, cz + h}, {cx + h, cy + s, cz - h}, {cx + h, cy + s, cz + h},
    };
    float* v = batch.positions + batch.used * cornersPerParticle * 3;
    float* c = batch.colours + batch.used * cornersPerParticle * 4;
    for (const auto& corner : corners) {
        *v++ = corner[0];
        *v++ = corner[1];
        *v++ = corner[2];
        *c++ = p.red;
        *c++ = p.green;
        *c++ = p.blue;
        *c++ = p.life;
    }
    ++batch.used;
}

void sendBatch(ParticleBatch& batch)
{
    if (batch.used == 0)
        return;
    glTexCoordPointer(2, GL_FLOAT, 0, bindFixedArray(batch.fixedTexCoords, batch.texCoords, sizeof batch.texCoords));
    const std::size_t corners = static_cast<std::size_t>(batch.used) * cornersPerParticle;
    const StreamPart parts[2] = {{batch.positions, sizeof(float) * 3 * corners},
                                 {batch.colours, sizeof(float) * 4 * corners}};
    const void* pointers[2];
    streamArrays(parts, 2, pointers);
    glVertexPointer(3, GL_FLOAT, 0, pointers[0]);
    glColorPointer(4, GL_FLOAT, 0, pointers[1]);
    glDrawElements(GL_TRIANGLES, batch.used * indicesPerParticle, GL_UNSIGNED_SHORT, batch.indices);
    batch.used = 0;
}

}  // namespace

void stepParticles(ParticleSystem& system)
{
    const float centreX = game.explosionX;
    const float centreY = game.explosionY;
    const float centreZ = game.explosionZ;

    glLoadIdentity();
    applyCameraView();
    glDisable(GL_CULL_FACE);

    // Every particle is drawn textured, filled, without depth test and added
    // onto the picture; the first one with the lighting found on entry, the
    // others unlit. That state is set once around the batches.
    ParticleBatch& batch = particleBatch();
    static ParticleCopies copies;
    bool drawing = false;
    bool firstLit = false;
    float lastColour[4] = {0, 0, 0, 0};
    const int n = usedParticles(system);
    for (int i = 0; i < n; ++i) {
        Particle& p = system.particles[i];
        if (!p.active)
            continue;
        if (i == 1)
            std::cout << p.size << std::endl;
        if (!drawing) {
            drawing = true;
            firstLit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, resources.particleTexture);
            glDisable(GL_DEPTH_TEST);
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            glEnableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glEnableClientState(GL_COLOR_ARRAY);
            copies.begin();
        }
        const float cx = p.x + centreX, cy = p.y + centreY, cz = p.z + centreZ;
        if (firstLit) {
            // Lit, unlike the rest: drawn on its own and not counted.
            addParticle(batch, p, cx, cy, cz);
            sendBatch(batch);
            endStreamArrays();
            glDisable(GL_LIGHTING);
            firstLit = false;
        } else if (!renderOptions.shortcuts || copies.needed(p, cx, cy, cz)) {
            addParticle(batch, p, cx, cy, cz);
            if (batch.used == particlesPerBatch)
                sendBatch(batch);
        }
        lastColour[0] = p.red;
        lastColour[1] = p.green;
        lastColour[2] = p.blue;
        lastColour[3] = p.life;
        advanceParticle(system, p);
    }
    if (drawing) {
        sendBatch(batch);
        endStreamArrays();
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        // As if sent one corner at a time: the last particle's colour and
        // the last corner's texture coordinate stay current.
        glColor4f(lastColour[0], lastColour[1], lastColour[2], lastColour[3]);
        glTexCoord2f(1.0f, 1.0f);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }

    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    system.frameCounter += 1;
}

void runParticles(ParticleSystem& system)
{
    if (system.frameCounter == 0)
        resetParticles(system);
    stepParticles(system);
}

void playExplosionFrame(ParticleSystem& system)
{
    resetParticles(system);
    if (system.frameCounter > 3) {
        system.frameCounter = 0;
        game.explosionPending = false;
    } else {
        stepParticles(system);
    }
    runParticles(system);
}
