// The explosion bursts: four identical pools of particles that fly out of the
// explosion centre, fall, fade from yellow to red and shrink with their life.
#include "entities/particles.h"

#include "core/camera.h"
#include "core/game_state.h"
#include "platform/gl.h"

#include <cstdlib>
#include <iostream>

void makeExplosionSystems()
{
    for (ParticleSystem*& system : game.explosionSystems) {
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

// Two crossed quads at the particle's place, added onto what is drawn.
static void drawParticle(const Particle& p, float cx, float cy, float cz)
{
    const float s = p.size;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, game.particleTexture);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);

    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(cx, cy, cz);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(cx + s, cy, cz);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(cx, cy + s, cz);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(cx + s, cy + s, cz);
    glEnd();

    glBindTexture(GL_TEXTURE_2D, game.particleTexture);
    const float h = s * 0.5f;
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(cx + h, cy, cz - h);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(cx + h, cy, cz + h);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(cx + h, cy + s, cz - h);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(cx + h, cy + s, cz + h);
    glEnd();

    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void stepParticles(ParticleSystem& system)
{
    const float centreX = game.explosionX;
    const float centreY = game.explosionY;
    const float centreZ = game.explosionZ;

    glLoadIdentity();
    applyCameraView();
    glDisable(GL_CULL_FACE);

    const int n = usedParticles(system);
    for (int i = 0; i < n; ++i) {
        Particle& p = system.particles[i];
        if (!p.active)
            continue;
        glColor4f(p.red, p.green, p.blue, p.life);
        if (i == 1)
            std::cout << p.size << std::endl;
        drawParticle(p, p.x + centreX, p.y + centreY, p.z + centreZ);
        advanceParticle(system, p);
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
