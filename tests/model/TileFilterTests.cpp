// The tile display filter's tests over a hand-checked set of tiles, and group membership.
#include <functional>

#include "ModelTestSupport.h"
#include "model/TileFilter.h"

using TileFilterTest = ModelTest;

namespace {

struct TileRow {
    const char* model;
    std::array<const char*, 4> corners;
    std::array<uint8_t, 4> heights;
    std::array<const char*, 4> edges;
    int doors;
};

// Tiles 1 and 3 are group members.
const TileRow Tiles[] = {
    {"ABC01", {"Grass", "Grass", "Rock", "Grass"}, {0, 0, 0, 0}, {"Road", "Road", "", ""}, 0},
    {"abx", {"Grass", "Water", "Grass", "Grass"}, {1, 0, 0, 0}, {"Road", "Wall", "", ""}, 1},
    {"a", {"Rock", "Rock", "Rock", "Rock"}, {1, 1, 1, 1}, {"", "", "", ""}, 0},
    {"abd", {"Water", "Water", "Water", "Water"}, {0, 1, 0, 1}, {"Wall", "", "Wall", ""}, 2},
    {"zz", {"Grass", "Grass", "Grass", "Grass"}, {0, 0, 0, 0}, {"", "", "", "Road"}, 0},
};

} // namespace

TEST_F(TileFilterTest, EachTestAndTheirCombinations)
{
    for (const TileRow& r : Tiles) {
        CTile* tile = AddTile(t.TileList, r.model);
        SetCorners(*tile, r.corners[0], r.corners[1], r.corners[2], r.corners[3]);
        tile->TopLeftHeight = r.heights[0], tile->TopRightHeight = r.heights[1];
        tile->BottomLeftHeight = r.heights[2], tile->BottomRightHeight = r.heights[3];
        tile->Top = r.edges[0], tile->Right = r.edges[1], tile->Bottom = r.edges[2], tile->Left = r.edges[3];
        tile->Doors = r.doors;
    }
    // "02" and " 4" are not the numbers' texts, so they name no tile.
    AddGroup(t.GroupList, "g1", {"1", "-1"});
    AddGroup(t.GroupList, "g2", {"3", "02", " 4"});
    using F = TileFilter;
    const auto both = GroupMembershipTest::Both;
    const std::pair<std::function<void(F&)>, const char*> cases[] = {
        {[](F&) {}, "0 2 4"},
        {[](F& f) { f.Groups = GroupMembershipTest::MembersOnly; }, "1 3"},
        {[&](F& f) { f.Groups = both; }, "0 1 2 3 4"},
        {[&](F& f) { f.Groups = both, f.Prefix = "ab"; }, "0 1 3"},
        {[&](F& f) { f.Groups = both, f.Prefix = "aBc0"; }, "0"},
        {[&](F& f) { f.Groups = both, f.Corners[0] = "Grass"; }, "0 1 4"},
        {[&](F& f) { f.Groups = both, f.Corners[0] = "Grass", f.Corners[2] = "Rock"; }, "0"},
        {[&](F& f) { f.Groups = both, f.Corners[0] = "grass"; }, ""},
        {[&](F& f) { f.Groups = both, f.CornerMode = true, f.Corners[0] = "Grass", f.Corners[3] = "Water"; }, "0 4"},
        {[&](F& f) { f.Groups = both, f.CornerMode = true, f.Corners[1] = "Rock"; }, "0 2"},
        {[&](F& f) { f.Groups = both, f.CornerMode = true, f.Corners[0] = "Rock", f.Corners[2] = "Grass"; }, "0"},
        {[&](F& f) { f.Groups = both, f.NoCrosser = true; }, "2"},
        {[&](F& f) { f.Groups = both, f.NoCrosser = true, f.Edges[0] = "Road"; }, "2"},
        {[&](F& f) { f.Groups = both, f.NoCrosser = true, f.EdgeMode = true, f.Edges[0] = "Road"; }, "2"},
        {[&](F& f) { f.Groups = both, f.Edges[0] = "Road"; }, "0 1"},
        {[&](F& f) { f.Groups = both, f.Edges[1] = "Wall"; }, "1"},
        {[&](F& f) { f.Groups = both, f.EdgeMode = true, f.Edges[0] = "Road"; }, "0 1 4"},
        {[&](F& f) { f.Groups = both, f.EdgeMode = true, f.Only = true, f.Edges[0] = "Road"; }, "0 4"},
        {[&](F& f) { f.Groups = both, f.EdgeMode = true, f.Only = true, f.Edges[1] = "Road"; }, "0 1 4"},
        {[&](F& f) { f.Groups = both, f.EdgeMode = true, f.Edges[3] = "Wall"; }, "0 2 4"},
        {[&](F& f) { f.Groups = both, f.EdgeMode = true, f.Edges[2] = "Wall"; }, "1 3"},
        {[&](F& f) { f.Groups = both, f.EdgeMode = true, f.Edges[0] = "Road", f.Edges[1] = "Wall"; }, "1"},
        {[&](F& f) { f.Groups = both, f.Heights[0] = 1; }, "1 2"},
        {[&](F& f) { f.Groups = both, f.Heights[0] = 0, f.Heights[1] = 1; }, "3"},
        {[&](F& f) { f.Groups = both, f.Doors = 0; }, "0 2 4"},
        {[&](F& f) { f.Groups = both, f.Doors = 2; }, "3"},
        {[](F& f) { f.Prefix = "ab", f.Corners[0] = "Grass"; }, "0"},
        {[&](F& f) { f.Groups = both, f.EdgeMode = true, f.Edges[0] = "Road", f.Heights[0] = 0, f.Doors = 0; }, "0 4"},
        {[](F& f) { f.Groups = GroupMembershipTest::MembersOnly, f.CornerMode = true, f.Corners[3] = "Grass"; }, "3"},
    };
    const GroupMembership members(t.GroupList, t.TileList.Count());
    int c = 0;
    for (const auto& [set, expected] : cases) {
        F f;
        set(f);
        std::string passed;
        for (int n = 0; n < t.TileList.Count(); ++n)
            if (TilePassesFilter(f, *t.TileList.At(n), n, members)) passed += (passed.empty() ? "" : " ") + std::to_string(n);
        EXPECT_EQ(passed, expected) << "case " << c;
        ++c;
    }
}

TEST_F(TileFilterTest, MembershipAgreesWithTheGroupLookUp)
{
    AddGroup(t.GroupList, "a", {"0", "-1", "02", " 3", "+4", "", "x", "99999999999"});
    AddGroup(t.GroupList, "b", {"5", "6", "7"});
    const GroupMembership members(t.GroupList, 6);
    for (int n = 0; n <= 7; ++n)
        EXPECT_EQ(members.Contains(n), n < 6 && FindGroupOfTile(n) >= 0) << n;
    EXPECT_FALSE(GroupMembership(t.GroupList, 0).Contains(0));
}
