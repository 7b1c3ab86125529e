// The game's object list: order, removal during a walk and outside one, the
// registry lookup by name identity, and that nothing leaks (this file is also
// built with AddressSanitizer as test_lists_asan).
#include "render/registry.h"
#include "state/object_list.h"

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

class ObjectListTest : public ::testing::Test {
protected:
    void SetUp() override { liveItems = 0; }
    void TearDown() override
    {
        freeList(list);
        EXPECT_EQ(liveItems, 0);
        EXPECT_EQ(countElements(list), 0);
    }
    void fill(int from, int to)
    {
        for (int i = from; i <= to; ++i)
            append(list, new Item(i));
    }
    ObjectList<Item> list;
};

}  // namespace

TEST_F(ObjectListTest, RemovalDuringAWalkVisitsEveryElementOnceAndKeepsTheRest)
{
    const struct {
        int count;
        std::vector<int> doomed, left;
    } cases[] = {
        {0, {}, {}},          {3, {1}, {2, 3}},    {5, {2, 3}, {1, 4, 5}},
        {3, {3}, {1, 2}},     {1, {1}, {}},        {4, {1, 2, 3, 4}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        freeList(list);
        fill(1, c.count);
        std::vector<int> visited;
        forEach(list, [&](Item& item) {
            visited.push_back(item.id);
            for (int d : c.doomed)
                if (d == item.id) {
                    Item* removed = removeCurrent(list);
                    EXPECT_EQ(removed, &item);
                    delete removed;
                    break;
                }
        });
        std::vector<int> all;
        for (int i = 1; i <= c.count; ++i)
            all.push_back(i);
        EXPECT_EQ(visited, all);
        EXPECT_EQ(ids(list), c.left);
        EXPECT_EQ(liveItems, static_cast<int>(c.left.size()));
        // A new element lands at the newest end, with the cursor on it.
        append(list, new Item(10));
        std::vector<int> after = c.left;
        after.push_back(10);
        EXPECT_EQ(ids(list), after);
        EXPECT_EQ(list.cursor->element->id, 10);
    }
    freeList(list);
    EXPECT_EQ(removeCurrent(list), nullptr);   // the empty list
}

TEST_F(ObjectListTest, RemovingOutsideAWalkAndFreeing)
{
    // As a destroyed enemy is: the cursor stands on it after a lookup walk.
    fill(1, 3);
    list.cursor = list.cursor->first->newer;
    delete removeCurrent(list);
    EXPECT_TRUE(list.cursor->occupied);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3}));
    // The newest, right after appending it; then an append from the oldest.
    append(list, new Item(4));
    delete removeCurrent(list);
    list.cursor = list.cursor->first;
    append(list, new Item(5));
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3, 5}));
    freeList(list);
    EXPECT_EQ(liveItems, 0);
    fill(1, 2);   // usable again; TearDown frees these
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
}

TEST(RegistryLookup, FindsTheOldestEntryOfTheSameNameConstant)
{
    // A fresh, empty registry in place of the game's.
    auto* saved = registry.cursor;
    registry.cursor = new ObjectListNode<RegistryEntry>;
    registry.cursor->first = registry.cursor;
    EXPECT_FALSE(findByName(skyName));
    const char* names[] = {enemyName, emitterName, skyName, emitterName};
    for (GLuint i = 0; i < 4; ++i)
        append(registry, new RegistryEntry{names[i], i + 1});
    for (auto [name, list] : {std::pair{emitterName, 2u}, {skyName, 3u}, {enemyName, 1u}}) {
        ASSERT_TRUE(findByName(name));
        EXPECT_EQ(registry.cursor->element->displayList, list);
    }
    freeList(registry);
    delete registry.cursor;
    registry.cursor = saved;
}
