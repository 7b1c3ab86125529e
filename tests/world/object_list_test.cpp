// The game's object list: order, removal during a walk, the registry lookup
// by name identity, and that nothing leaks (this file is also built with
// AddressSanitizer as test_lists_asan).
#include "state/object_list.h"
#include "render/registry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int liveItems = 0;

struct Item {
    int id;
    explicit Item(int id_) : id(id_) { ++liveItems; }
    ~Item() { --liveItems; }
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;
};

std::vector<int> ids(ObjectList<Item>& list)
{
    std::vector<int> out;
    forEach(list, [&](Item& item) { out.push_back(item.id); });
    return out;
}

// Every node names the oldest as First, and the links agree both ways.
void expectConsistent(ObjectList<Item>& list)
{
    ObjectListNode<Item>* node = list.cursor;
    while (node->hasOlder)
        node = node->older;
    ObjectListNode<Item>* oldest = node;
    EXPECT_FALSE(oldest->hasOlder);
    if (!oldest->occupied) {   // the empty list: one bare node
        EXPECT_FALSE(oldest->hasNewer);
        EXPECT_EQ(oldest->first, oldest);
        return;
    }
    for (ObjectListNode<Item>* n = oldest; n; n = n->hasNewer ? n->newer : nullptr) {
        EXPECT_EQ(n->first, oldest);
        EXPECT_TRUE(n->occupied);
        EXPECT_NE(n->element, nullptr);
        if (n->hasNewer) {
            ASSERT_TRUE(n->newer->hasOlder);
            EXPECT_EQ(n->newer->older, n);
        }
    }
}

class ObjectListTest : public ::testing::Test {
protected:
    void SetUp() override { liveItems = 0; }
    void TearDown() override
    {
        freeList(list);
        EXPECT_EQ(liveItems, 0);
        EXPECT_EQ(countElements(list), 0);
    }
    void fill(int count)
    {
        for (int i = 1; i <= count; ++i)
            append(list, new Item(i));
    }
    // Walks the list, removing (and freeing) the elements whose ids are
    // given; returns the ids visited, in order.
    std::vector<int> walkRemoving(std::vector<int> doomed)
    {
        std::vector<int> visited;
        forEach(list, [&](Item& item) {
            visited.push_back(item.id);
            for (int d : doomed)
                if (d == item.id) {
                    Item* removed = removeCurrent(list);
                    EXPECT_EQ(removed, &item);
                    delete removed;
                    break;
                }
        });
        return visited;
    }
    ObjectList<Item> list;
};

}  // namespace

TEST_F(ObjectListTest, EmptyListVisitsNothing)
{
    EXPECT_EQ(countElements(list), 0);
    EXPECT_FALSE(list.cursor->occupied);
    EXPECT_EQ(removeCurrent(list), nullptr);
    EXPECT_EQ(ids(list), std::vector<int>{});
}

TEST_F(ObjectListTest, AppendKeepsOldestFirstAndCursorOnNewest)
{
    fill(4);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.cursor->element->id, 4);
    EXPECT_FALSE(list.cursor->hasNewer);
    expectConsistent(list);
    // Appending works from wherever the cursor stands.
    list.cursor = list.cursor->first;
    append(list, new Item(5));
    EXPECT_EQ(list.cursor->element->id, 5);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(ObjectListTest, RemovingTheFirstDuringAWalk)
{
    fill(3);
    EXPECT_EQ(walkRemoving({1}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ids(list), (std::vector<int>{2, 3}));
    expectConsistent(list);
    EXPECT_EQ(list.cursor->first->element->id, 2);
    EXPECT_EQ(liveItems, 2);
}

TEST_F(ObjectListTest, RemovingTheMiddleDuringAWalk)
{
    fill(5);
    EXPECT_EQ(walkRemoving({2, 3}), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ids(list), (std::vector<int>{1, 4, 5}));
    expectConsistent(list);
}

TEST_F(ObjectListTest, RemovingTheLastDuringAWalk)
{
    fill(3);
    EXPECT_EQ(walkRemoving({3}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
    expectConsistent(list);
    append(list, new Item(4));
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2, 4}));
    expectConsistent(list);
}

TEST_F(ObjectListTest, RemovingTheOnlyElementLeavesAnEmptyList)
{
    fill(1);
    EXPECT_EQ(walkRemoving({1}), (std::vector<int>{1}));
    EXPECT_EQ(countElements(list), 0);
    EXPECT_FALSE(list.cursor->occupied);
    append(list, new Item(7));
    EXPECT_EQ(ids(list), (std::vector<int>{7}));
    expectConsistent(list);
}

TEST_F(ObjectListTest, RemovingEverythingThenAppending)
{
    fill(4);
    EXPECT_EQ(walkRemoving({1, 2, 3, 4}), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(countElements(list), 0);
    EXPECT_EQ(liveItems, 0);
    fill(2);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
    expectConsistent(list);
}

TEST_F(ObjectListTest, AppendAfterRemovalLinksIntoTheList)
{
    // After each kind of removal, a new element lands at the newest end.
    fill(3);
    walkRemoving({2});
    append(list, new Item(10));
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3, 10}));
    walkRemoving({1});
    append(list, new Item(11));
    EXPECT_EQ(ids(list), (std::vector<int>{3, 10, 11}));
    expectConsistent(list);
}

TEST_F(ObjectListTest, RemovingOutsideAWalk)
{
    // As a destroyed enemy is: the cursor stands on it after a lookup walk.
    fill(3);
    list.cursor = list.cursor->first->newer;   // on element 2
    ASSERT_EQ(list.cursor->element->id, 2);
    delete removeCurrent(list);
    EXPECT_TRUE(list.cursor->occupied);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3}));
    // The newest, right after appending it.
    append(list, new Item(4));
    delete removeCurrent(list);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3}));
    append(list, new Item(5));
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3, 5}));
    expectConsistent(list);
}

TEST_F(ObjectListTest, FreeListFreesEveryElementAndNode)
{
    fill(6);
    walkRemoving({4});
    EXPECT_EQ(liveItems, 5);
    freeList(list);
    EXPECT_EQ(liveItems, 0);
    EXPECT_EQ(countElements(list), 0);
    fill(2);   // usable again; TearDown frees these
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
}

// The registry lookup walks the global registry; these tests put a fresh,
// empty registry in its place and restore the game's afterwards.
class RegistryLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = registry.cursor;
        registry.cursor = new ObjectListNode<RegistryEntry>;
        registry.cursor->first = registry.cursor;
    }
    void TearDown() override
    {
        freeList(registry);
        delete registry.cursor;
        registry.cursor = saved;
    }
    static RegistryEntry* entry(const char* name, GLuint list)
    {
        auto* e = new RegistryEntry;
        e->name = name;
        e->displayList = list;
        return e;
    }
    ObjectListNode<RegistryEntry>* saved = nullptr;
};

TEST_F(RegistryLookupTest, EmptyRegistryFindsNothing)
{
    EXPECT_FALSE(findByName(skyName));
    EXPECT_FALSE(findByName(enemyName));
}

TEST_F(RegistryLookupTest, FindsTheOldestMatchAndLeavesTheCursorOnIt)
{
    append(registry, entry(enemyName, 1));
    append(registry, entry(emitterName, 2));
    append(registry, entry(skyName, 3));
    append(registry, entry(emitterName, 4));

    ASSERT_TRUE(findByName(emitterName));
    EXPECT_EQ(registry.cursor->element->displayList, 2u);
    ASSERT_TRUE(findByName(skyName));
    EXPECT_EQ(registry.cursor->element->displayList, 3u);
    ASSERT_TRUE(findByName(enemyName));
    EXPECT_EQ(registry.cursor->element->displayList, 1u);
    // After a failed search the cursor rests on the newest entry.
    EXPECT_FALSE(findByName("Chaser"));
    EXPECT_FALSE(registry.cursor->hasNewer);
    // An append after a lookup still goes to the newest end.
    ASSERT_TRUE(findByName(enemyName));
    append(registry, entry(skyName, 5));
    ASSERT_TRUE(findByName(skyName));
    EXPECT_EQ(registry.cursor->element->displayList, 3u);
}

TEST_F(RegistryLookupTest, NamesAreComparedByIdentityNotText)
{
    append(registry, entry(skyName, 9));
    char sameText[] = "DaySky";
    ASSERT_NE(static_cast<const char*>(sameText), skyName);
    EXPECT_FALSE(findByName(sameText));
    EXPECT_TRUE(findByName(skyName));
}
