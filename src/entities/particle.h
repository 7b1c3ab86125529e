// One particle of an explosion burst: the record the particle systems
// (particles.h) advance and the copy counter (particle_copies.h) compares.
#pragma once

// Position and velocity are relative to the explosion centre; life drops by
// `fade` each step, the colour fades and the size shrinks with the life.
struct Particle {
    bool active;
    float life;
    float fade;
    float x, y, z;
    float velocityX, velocityY, velocityZ;
    float accelerationX, accelerationY, accelerationZ;
    float red, green, blue;
    float baseSize;
    float size;
};
