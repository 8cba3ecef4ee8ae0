#pragma once
// The tile display filter as plain data: the criteria a tab's filter box holds, which tiles
// the groups use, and the test of one tile. The Tiles tab, the Import tab (over the source
// tileset) and the Files/Textures tab (over the Tiles tab's criteria) share it.
#include <array>
#include <string>
#include <vector>

#include "model/Class.h"
#include "model/Template.h"

enum class GroupMembershipTest { NonMembersOnly, MembersOnly, Both };

struct TileFilter {
    // Model must begin with it, ignoring case; empty: any.
    std::string Prefix;
    // TopLeft, TopRight, BottomLeft, BottomRight; with CornerMode on they are THIS, AND,
    // AND, BUT NOT over all four corners. Empty: no test.
    std::array<std::string, 4> Corners;
    bool CornerMode = false;
    // Heights of the corners in the same order; -1: any.
    std::array<int, 4> Heights{-1, -1, -1, -1};
    // Top, Right, Bottom, Left; with EdgeMode on THIS, AND, AND, BUT NOT over all four edges.
    std::array<std::string, 4> Edges;
    bool EdgeMode = false;
    // In edge mode: no edge may hold another crosser than THIS.
    bool Only = false;
    // Every edge empty; the edge names are then not tested.
    bool NoCrosser = false;
    // The tile's door count; -1: any.
    int Doors = -1;
    GroupMembershipTest Groups = GroupMembershipTest::NonMembersOnly;
};

// The tile numbers the cells of a list of groups name, gathered once so that a filter run
// costs one pass over the cells rather than one per tile. A cell names tile n exactly when
// its text is n in decimal, as FindGroupOfTile compares; cells naming no tile below
// tileCount ("-1", numbers past the list, other texts) are passed over.
class GroupMembership {
public:
    GroupMembership(const CPtrList<CGroup>& groups, int tileCount);
    bool Contains(int tile) const { return tile >= 0 && tile < int(used_.size()) && used_[std::size_t(tile)]; }

private:
    std::vector<bool> used_;
};

// The filter's tests in their order: Model prefix, corner names, no crosser, edge names,
// corner heights, edge mode, corner mode, doors, group membership. n is the tile's number.
bool TilePassesFilter(const TileFilter& filter, const CTile& tile, int n, const GroupMembership& groups);
