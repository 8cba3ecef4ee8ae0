#include <gtest/gtest.h>

#include <memory>
#include <vector>

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
using Values = std::vector<int>;

Values walk(const List& l)
{
    Values seen;
    while (Item* i = List::Next(l)) seen.push_back(i->v);
    return seen;
}

std::unique_ptr<List> make(int n, int base = 0)
{
    auto l = std::make_unique<List>();
    for (int i = 0; i < n; ++i) l->Append(new Item(base + i));
    return l;
}
} // namespace

TEST(CPtrList, DeleteAtClosesTheGapAndDestroysTheItem)
{
    auto l = make(5);
    EXPECT_EQ(l->DeleteAt(5), -1);
    EXPECT_EQ(l->DeleteAt(-1), -1);
    EXPECT_EQ(l->DeleteAt(2), 2);
    EXPECT_EQ(l->At(2)->v, 3);
    EXPECT_EQ(Item::alive, 4);
    EXPECT_EQ(l->DeleteAt(0), 0);
    EXPECT_EQ(l->Head()->v, 1);
    EXPECT_EQ(l->DeleteAt(2), 2);
    EXPECT_EQ(l->Tail()->v, 3);
    EXPECT_EQ(walk(*l), (Values{1, 3}));

    // Emptied, the list is as new: nothing at 0, nothing to delete, no walk.
    l->DeleteAt(1), l->DeleteAt(0);
    EXPECT_EQ(l->lastIndex(), -1);
    EXPECT_EQ(l->At(0), nullptr);
    EXPECT_EQ(l->DeleteAt(0), -1);
    EXPECT_EQ(List::Next(*l), nullptr);
    EXPECT_EQ(Item::alive, 0);
    l = make(1, 7);
    EXPECT_EQ(walk(*l), Values{7});
    l.reset();
    EXPECT_EQ(Item::alive, 0) << "the list destroys its items";
}

TEST(CPtrList, TheCursorIsSharedByEveryListOfOneTypeAndSurvivesDeletion)
{
    auto main = make(4), import = make(2, 10);
    EXPECT_EQ(walk(*main), (Values{0, 1, 2, 3}));
    EXPECT_EQ(walk(*import), (Values{10, 11})) << "a new walk starts from the first element";

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
    auto one = make(1, 20);
    EXPECT_EQ(List::Next(*one)->v, 20);
    one->DeleteAt(0);
    EXPECT_EQ(List::Next(*one), nullptr);
    EXPECT_EQ(walk(*main), (Values{2, 3}));

    // Destroying the list of an unfinished walk leaves the cursor idle, not dangling.
    EXPECT_EQ(List::Next(*import)->v, 10);
    import.reset();
    EXPECT_FALSE(List::Walking());
    EXPECT_EQ(walk(*main), (Values{2, 3}));
}
