#include "render/registry.h"

#include "render/camera_view.h"
#include "render/frustum.h"
#include "state/game_state.h"

ObjectList<RegistryEntry> registry;

void registerDisplayList(const char* name, void (*compile)())
{
    auto* entry = new RegistryEntry;
    append(registry, entry);
    entry->displayList = glGenLists(1);
    glNewList(entry->displayList, GL_COMPILE);
    compile();
    glEndList();
    entry->name = name;
}

bool findByName(const char* name)
{
    ObjectListNode<RegistryEntry>* node = registry.cursor;
    if (!node->occupied)
        return false;
    // Oldest first; names are the shared constants, so compare the pointers.
    node = node->first;
    while (true) {
        registry.cursor = node;
        if (node->element->name == name)
            return true;
        if (!node->hasNewer)
            return false;
        node = node->newer;
    }
}

void applyObjectPlacement(float x, float y, float z, float rotationX, float rotationY,
                          float rotationZ)
{
    glTranslatef(x, y, z);
    if (rotationZ != 0.0f)
        glRotatef(rotationZ, 0.0f, 0.0f, 1.0f);
    if (rotationY != 0.0f)
        glRotatef(rotationY, 0.0f, 1.0f, 0.0f);
    if (rotationX != 0.0f)
        glRotatef(rotationX, 1.0f, 0.0f, 0.0f);
}

bool drawRegistered(float x, float y, float z, float rotationX, float rotationY, float rotationZ)
{
    const ObjectListNode<RegistryEntry>* node = registry.cursor;
    if (!node->occupied)
        return false;
    const RegistryEntry& entry = *node->element;

    glLoadIdentity();
    applyCameraView();
    applyObjectPlacement(x, y, z, rotationX, rotationY, rotationZ);

    if (!game.cullingEnabled) {
        glCallList(entry.displayList);
        glDisable(GL_TEXTURE_2D);
        return true;
    }
    if (entry.name == emitterName || entry.name == enemyName) {
        // Emitters and enemies are culled as spheres of radius 50.
        if (sphereInFrustum(x, y, z, 50.0f)) {
            glCallList(entry.displayList);
            ++game.objectsDrawn;
            glDisable(GL_TEXTURE_2D);
        }
        return true;
    }
    glCallList(entry.displayList);
    glDisable(GL_TEXTURE_2D);
    return true;
}
