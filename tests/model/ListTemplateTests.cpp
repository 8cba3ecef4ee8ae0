#include <gtest/gtest.h>

#include "model/Class.h"
#include "model/Template.h"

namespace {
// Counts live items so the tests see what the list destroys.
struct Item {
    static inline int alive = 0;
    int v;
    explicit Item(int v) : v(v) { ++alive; }
    ~Item() { --alive; }
};
using List = CPtrList<Item>;

std::vector<int> walk(const List& l)
{
    std::vector<int> seen;
    while (Item* i = List::Next(l)) seen.push_back(i->v);
    return seen;
}

List* make(int n, int base = 0)
{
    auto* l = new List;
    for (int i = 0; i < n; ++i) l->Append(new Item(base + i));
    return l;
}
} // namespace

TEST(CPtrList, EmptyAndSingleElementLists)
{
    List empty;
    EXPECT_EQ(empty.lastIndex(), -1);
    EXPECT_EQ(empty.At(0), nullptr);
    EXPECT_EQ(empty.DeleteAt(0), -1);
    EXPECT_EQ(List::Next(empty), nullptr);
    EXPECT_FALSE(List::Walking());

    List one;
    one.Append(new Item(7));
    EXPECT_EQ(walk(one), std::vector<int>{7});
    EXPECT_FALSE(List::Walking()) << "a finished walk leaves the cursor idle";
    EXPECT_EQ(one.DeleteAt(0), 0);
    EXPECT_EQ(one.lastIndex(), -1);
    EXPECT_EQ(one.Head(), nullptr);
    EXPECT_EQ(one.Tail(), nullptr);
    EXPECT_EQ(Item::alive, 0);
}

TEST(CPtrList, DeleteAtClosesTheGapAndDestroysTheItem)
{
    std::unique_ptr<List> l(make(5));
    EXPECT_EQ(l->DeleteAt(5), -1);
    EXPECT_EQ(l->DeleteAt(-1), -1);
    EXPECT_EQ(l->DeleteAt(2), 2);
    EXPECT_EQ(l->At(2)->v, 3);
    EXPECT_EQ(l->lastIndex(), 3);
    EXPECT_EQ(Item::alive, 4);
    EXPECT_EQ(l->DeleteAt(0), 0);
    EXPECT_EQ(l->Head()->v, 1);
    EXPECT_EQ(l->DeleteAt(2), 2);
    EXPECT_EQ(l->Tail()->v, 3);
    EXPECT_EQ(walk(*l), (std::vector<int>{1, 3}));
    l.reset();
    EXPECT_EQ(Item::alive, 0);
}

TEST(CPtrList, TheCursorIsSharedByEveryListOfOneTypeAndSurvivesDeletion)
{
    std::unique_ptr<List> main(make(4)), import(make(2, 10));
    EXPECT_EQ(walk(*main), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(walk(*import), (std::vector<int>{10, 11})) << "a new walk starts from the first element";

    // Deleting the element a walk stands on, or one before it: the walk goes on with the
    // element that followed, skipping none.
    EXPECT_EQ(List::Next(*main)->v, 0);
    EXPECT_EQ(List::Next(*main)->v, 1);
    main->DeleteAt(1);
    EXPECT_EQ(List::Next(*main)->v, 2);
    main->DeleteAt(0);
    EXPECT_EQ(List::Next(*main)->v, 3);
    EXPECT_EQ(List::Next(*main), nullptr);

    // Emptying the list a walk stands on ends that walk: the next walk of another list
    // starts from that list's first element.
    std::unique_ptr<List> one(make(1, 20));
    EXPECT_EQ(List::Next(*one)->v, 20);
    one->DeleteAt(0);
    EXPECT_EQ(List::Next(*one), nullptr);
    EXPECT_FALSE(List::Walking());
    EXPECT_EQ(walk(*main), (std::vector<int>{2, 3}));

    // Destroying the list of an unfinished walk leaves the cursor idle, not dangling.
    EXPECT_EQ(List::Next(*import)->v, 10);
    import.reset();
    EXPECT_FALSE(List::Walking());
    EXPECT_EQ(walk(*main), (std::vector<int>{2, 3}));
}

TEST(CPtrList, EntryListsReleaseTheirDoorAndCellLists)
{
    CPtrList<CTile> tiles;
    auto* t = new CTile;
    t->DoorList = std::make_unique<StringList>(StringList{"door", "1", "2", "3", "0"});
    tiles.Append(t);
    tiles.Append(new CTile);
    EXPECT_EQ(tiles.At(0)->DoorsHeld(), 1);
    EXPECT_EQ(tiles.At(1)->DoorList, nullptr) << "no door list until the first door";
    EXPECT_EQ(tiles.DeleteAt(0), 0);
    EXPECT_EQ(tiles.Count(), 1);
}
