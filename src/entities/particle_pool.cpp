// Where the particle systems live: each in its own anonymous mapping. The
// kernel hands out zero-filled pages on first touch, so a pool of 50,000
// records of which 3,000 are used costs the memory of the 3,000.
#include "entities/particles.h"

#include <sys/mman.h>

#include <new>

void* ParticleSystem::operator new(std::size_t size)
{
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    return memory;
}

void ParticleSystem::operator delete(void* memory, std::size_t size) noexcept
{
    if (memory != nullptr)
        munmap(memory, size);
}
