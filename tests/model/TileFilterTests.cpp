// The tile display filter's tests over a hand-checked set of tiles, group membership with them.
#include <functional>

#include "ModelTestSupport.h"
#include "model/TileFilter.h"

using TileFilterTest = ModelTest;
using Names = std::array<std::string, 4>;

TEST_F(TileFilterTest, EachTestAndTheirCombinations)
{
    auto add = [&](const char* model, Names c, std::array<uint8_t, 4> h, Names e, int doors) {
        CTile* x = AddTile(t.TileList, model);
        SetCorners(*x, c[0], c[1], c[2], c[3]);
        x->TopLeftHeight = h[0], x->TopRightHeight = h[1], x->BottomLeftHeight = h[2], x->BottomRightHeight = h[3];
        x->Top = e[0], x->Right = e[1], x->Bottom = e[2], x->Left = e[3], x->Doors = doors;
    };
    add("ABC01", {"Grass", "Grass", "Rock", "Grass"}, {0, 0, 0, 0}, {"Road", "Road", "", ""}, 0);
    add("abx", {"Grass", "Water", "Grass", "Grass"}, {1, 0, 0, 0}, {"Road", "Wall", "", ""}, 1);
    add("a", {"Rock", "Rock", "Rock", "Rock"}, {1, 1, 1, 1}, {"", "", "", ""}, 0);
    add("abd", {"Water", "Water", "Water", "Water"}, {0, 1, 0, 1}, {"Wall", "", "Wall", ""}, 2);
    add("zz", {"Grass", "Grass", "Grass", "Grass"}, {0, 0, 0, 0}, {"", "", "", "Road"}, 0);
    // Tiles 1 and 3 are members: a cell names a tile by its number's text, as the look-up of
    // a tile's group compares; 5 is no tile.
    AddGroup(t.GroupList, "g1", {"1", "-1", "02", " 4", "+0", "", "x", "99999999999"});
    AddGroup(t.GroupList, "g2", {"3", "5"});
    using F = TileFilter;
    // Members or not, unless a case says otherwise.
    const std::pair<std::function<void(F&)>, std::vector<int>> cases[] = {
        {[](F& f) { f.Groups = GroupMembershipTest::NonMembersOnly; }, {0, 2, 4}},
        {[](F& f) { f.Groups = GroupMembershipTest::MembersOnly; }, {1, 3}},
        {[](F& f) { f.Prefix = "aB"; }, {0, 1, 3}},
        {[](F& f) { f.Corners[0] = "Grass", f.Corners[2] = "Rock"; }, {0}},
        {[](F& f) { f.CornerMode = true, f.Corners[0] = "Grass", f.Corners[3] = "Water"; }, {0, 4}},
        {[](F& f) { f.NoCrosser = f.EdgeMode = true, f.Edges[0] = "Road"; }, {2}},
        {[](F& f) { f.Edges[0] = "Road", f.Edges[1] = "Wall"; }, {1}},
        {[](F& f) { f.EdgeMode = true, f.Edges[0] = "Road"; }, {0, 1, 4}},
        {[](F& f) { f.EdgeMode = f.Only = true, f.Edges[0] = "Road"; }, {0, 4}},
        {[](F& f) { f.EdgeMode = true, f.Edges[3] = "Wall"; }, {0, 2, 4}},
        {[](F& f) { f.Heights[0] = 0, f.Doors = 0; }, {0, 4}},
        {[](F& f) { f.Groups = GroupMembershipTest::MembersOnly, f.CornerMode = true, f.Corners[3] = "Grass"; }, {3}},
    };
    const GroupMembership members(t.GroupList, t.TileList.Count());
    for (int n = 0; n <= 5; ++n) EXPECT_EQ(members.Contains(n), n < 5 && FindGroupOfTile(n) >= 0) << n;
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        F f;
        f.Groups = GroupMembershipTest::Both;
        cases[c].first(f);
        std::vector<int> passed;
        for (int n = 0; n < t.TileList.Count(); ++n)
            if (TilePassesFilter(f, *t.TileList.At(n), n, members)) passed.push_back(n);
        EXPECT_EQ(passed, cases[c].second) << "case " << c;
    }
}
