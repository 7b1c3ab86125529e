// The particle pools: a system holds 50,000 records but the game uses 3,000
// of each; the pages of records never used must never be touched, so they
// take no memory, and they read as zero when they are.
#include "entities/particles.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

// How many of the whole pages in [from, to) are resident.
std::size_t residentPages(const void* from, const void* to)
{
    const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(from) + page - 1) / page * page;
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(to) / page * page;
    if (last <= first)
        return 0;
    std::vector<unsigned char> flags((last - first) / page);
    if (mincore(reinterpret_cast<void*>(first), last - first, flags.data()) != 0)
        return flags.size();   // cannot tell: count every page
    std::size_t resident = 0;
    for (unsigned char f : flags)
        resident += f & 1u;
    return resident;
}

}  // namespace

TEST(ParticlePool, RecordsPastTheUsedOnesAreNeverTouched)
{
    std::unique_ptr<ParticleSystem> system(new ParticleSystem());
    system->count = 3000;
    resetParticles(*system);
    const Particle* used = system->particles;
    const Particle* unused = system->particles + 3000;
    const Particle* end = system->particles + particleCapacity;
    // The used records are there; of the rest, not one page.
    EXPECT_GT(residentPages(used, unused), 0u);
    EXPECT_EQ(residentPages(unused, end), 0u);
    // The settings after the pool were set by the constructor.
    EXPECT_EQ(system->frameCounter, 0);
    EXPECT_FLOAT_EQ(system->slowdown, 0.8f);
}

TEST(ParticlePool, UnusedRecordsReadAsZero)
{
    std::unique_ptr<ParticleSystem> system(new ParticleSystem());
    for (int i : {0, 2999, 3000, 25000, particleCapacity - 1}) {
        const Particle& p = system->particles[i];
        EXPECT_FALSE(p.active) << i;
        EXPECT_EQ(p.life + p.size + p.x + p.velocityY + p.red, 0.0f) << i;
    }
}
