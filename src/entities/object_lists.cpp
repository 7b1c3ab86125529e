// The game's lists, made empty before main() and freed at exit.
#include "entities/emitters.h"
#include "entities/enemies.h"
#include "entities/registry.h"
#include "entities/shots.h"
#include "entities/object_lists.h"

ObjectList<Emitter> emitterList;
ObjectList<Character> enemyList;
ObjectList<ShotBeam> shotBeamList;
ObjectList<RegistryEntry> registry;

void freeAllLists()
{
    freeList(emitterList);
    freeList(enemyList);
    freeList(shotBeamList);
    freeList(registry);
}
