// The game's lists live beside their records (emitters, enemies, shot beams,
// the registry); this frees them all at exit.
#include "game/object_lists.h"

#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/shots.h"
#include "render/registry.h"

void freeAllLists()
{
    freeList(emitterList);
    freeList(enemyList);
    freeList(shotBeamList);
    freeList(registry);
}
