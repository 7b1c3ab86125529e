// The game's own doubly linked list of owned elements, reached through one
// cursor per list. Elements are kept oldest first; an empty list is a single
// node that is not occupied. Walks, lookups and appends all move the cursor,
// so two walks of the same list must never interleave.
//
// Removing the element under the cursor during a walk is allowed: the walk
// goes on with the element that followed it.
#pragma once

#include <functional>

template <class T>
// One node: its links, whether they and the element are there, the element.
struct ObjectListNode {
    ObjectListNode* newer = nullptr;
    ObjectListNode* older = nullptr;
    ObjectListNode* first = nullptr;   // the oldest node; the same in every node
    bool hasNewer = false;
    bool hasOlder = false;
    bool occupied = false;
    T* element = nullptr;              // owned
    double lastRelease = 0.0;          // emitter list: time of the emitter's last release
};

template <class T>
// A list is its cursor; every node reaches the oldest through `first`.
struct ObjectList {
    ObjectListNode<T>* cursor;

    ObjectList() : cursor(new ObjectListNode<T>) { cursor->first = cursor; }
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    // Lists live until exit, where freeList empties them; this only catches
    // what is left (a list made by a test).
    ~ObjectList() { freeList(*this); delete cursor; }
};

// Appends an element at the newest end; the cursor ends on it.
template <class T>
// Appends an element at the newest end; the cursor ends on it. Called by the
// makers of list elements: registerDisplayList, addEmitter, spawnEnemy and
// addShotBeam.
void append(ObjectList<T>& list, T* element)
{
    ObjectListNode<T>* node = list.cursor;
    while (node->hasNewer)
        node = node->newer;
    if (node->occupied) {
        auto* added = new ObjectListNode<T>;
        added->older = node;
        added->hasOlder = true;
        added->first = node->first;
        node->newer = added;
        node->hasNewer = true;
        node = added;
    } else {
        node->first = node;
    }
    node->element = element;
    node->occupied = true;
    list.cursor = node;
}

// Visits every element, oldest first, with the cursor on the visited node.
// The visitor may remove the visited element with removeCurrent.
template <class T, class Visitor>
// Visits every element, oldest first, with the cursor on the visited node.
// The visitor may remove the visited element with removeCurrent. Called by
// the walks of the lists: tickEmitters, stepEnemies, fireShot (finding its
// target, then removing it), drawShotBeams and drawObjects; and by
// countElements.
void forEach(ObjectList<T>& list, Visitor&& visit)
{
    if (!list.cursor->occupied)
        return;
    ObjectListNode<T>* node = list.cursor->first;
    while (node) {
        list.cursor = node;
        ObjectListNode<T>* next = node->hasNewer ? node->newer : nullptr;
        visit(*node->element);
        node = next;
    }
}

// Number of elements (walks the list; moves the cursor).
template <class T>
// Number of elements (walks the list; moves the cursor). For the tests; the
// game never counts a list.
int countElements(ObjectList<T>& list)
{
    int n = 0;
    forEach(list, [&](T&) { ++n; });
    return n;
}

// Unlinks the node under the cursor and hands its element to the caller, who
// disposes of it. The cursor then rests on a node still in the list (the one
// before, or else the one after); removing the only element leaves the empty
// node. Returns nullptr when the cursor's node holds nothing.
template <class T>
// Unlinks the node under the cursor and hands its element to the caller, who
// disposes of it. The cursor then rests on a node still in the list (the one
// before, or else the one after); removing the only element leaves the empty
// node. Returns nullptr when the cursor's node holds nothing. Called from
// inside forEach by stepEnemies (an enemy that caught the player), fireShot
// (a destroyed enemy) and drawShotBeams (an expired beam).
T* removeCurrent(ObjectList<T>& list)
{
    ObjectListNode<T>* node = list.cursor;
    if (!node->occupied)
        return nullptr;
    T* element = node->element;
    node->element = nullptr;
    if (!node->hasOlder && !node->hasNewer) {
        node->occupied = false;
        node->first = node;
        return element;
    }
    ObjectListNode<T>* older = node->hasOlder ? node->older : nullptr;
    ObjectListNode<T>* newer = node->hasNewer ? node->newer : nullptr;
    if (older) {
        older->newer = newer;
        older->hasNewer = newer != nullptr;
    }
    if (newer) {
        newer->older = older;
        newer->hasOlder = older != nullptr;
    }
    if (!older) {
        // The oldest node went: every remaining node names the new first.
        for (ObjectListNode<T>* n = newer; n; n = n->hasNewer ? n->newer : nullptr)
            n->first = newer;
    }
    list.cursor = older ? older : newer;
    delete node;
    return element;
}

// Frees every node and element; the list is empty afterwards.
template <class T>
// Frees every node and element; the list is empty afterwards. Called by
// freeAllLists at exit, and by a list's destructor for what is left.
void freeList(ObjectList<T>& list)
{
    ObjectListNode<T>* keep = list.cursor->first;
    ObjectListNode<T>* node = keep;
    while (node) {
        ObjectListNode<T>* next = node->hasNewer ? node->newer : nullptr;
        delete node->element;
        if (node != keep)
            delete node;
        node = next;
    }
    *keep = ObjectListNode<T>{};
    keep->first = keep;
    list.cursor = keep;
}
