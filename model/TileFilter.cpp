// The tile display filter's tests over one tile, and the tiles the groups use.
#include "model/TileFilter.h"

#include "platform/Text.h"

namespace {

// The tile number a cell names, as the canonical decimal text of it; -1 for anything else
// ("-1", "007", " 5", "x"). Ten digits at most, so the value cannot overflow.
long long cellTile(const std::string& cell)
{
    if (cell.empty() || cell.size() > 10 || (cell[0] == '0' && cell.size() > 1)) return -1;
    long long v = 0;
    for (char c : cell) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool onAny(const std::string& name, const std::array<const std::string*, 4>& places)
{
    for (const std::string* p : places)
        if (*p == name) return true;
    return false;
}

// THIS, AND, AND each on some place when given; BUT NOT on none.
bool allInstancesOf(const std::array<std::string, 4>& names, const std::array<const std::string*, 4>& places)
{
    for (int i = 0; i < 3; ++i)
        if (!names[std::size_t(i)].empty() && !onAny(names[std::size_t(i)], places)) return false;
    return names[3].empty() || !onAny(names[3], places);
}

} // namespace

GroupMembership::GroupMembership(const CPtrList<CGroup>& groups, int tileCount)
    : used_(std::size_t(tileCount > 0 ? tileCount : 0), false)
{
    for (const CGroup* g : groups)
        for (const std::string& cell : g->Cells) {
            const long long n = cellTile(cell);
            if (n >= 0 && n < tileCount) used_[std::size_t(n)] = true;
        }
}

bool TilePassesFilter(const TileFilter& f, const CTile& t, int n, const GroupMembership& groups)
{
    const std::array<const std::string*, 4> corners = {&t.TopLeft, &t.TopRight, &t.BottomLeft, &t.BottomRight};
    const std::array<const std::string*, 4> edges = {&t.Top, &t.Right, &t.Bottom, &t.Left};
    const std::array<int, 4> heights = {t.TopLeftHeight, t.TopRightHeight, t.BottomLeftHeight, t.BottomRightHeight};

    if (!f.Prefix.empty() && !StartsWithNoCase(t.Model, f.Prefix)) return false;
    if (!f.CornerMode)
        for (std::size_t i = 0; i < 4; ++i)
            if (!f.Corners[i].empty() && f.Corners[i] != *corners[i]) return false;
    if (f.NoCrosser)
        for (const std::string* e : edges)
            if (!e->empty()) return false;
    if (!f.NoCrosser && !f.EdgeMode)
        for (std::size_t i = 0; i < 4; ++i)
            if (!f.Edges[i].empty() && f.Edges[i] != *edges[i]) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (f.Heights[i] != -1 && f.Heights[i] != heights[i]) return false;
    if (f.EdgeMode && !f.NoCrosser) {
        if (!allInstancesOf(f.Edges, edges)) return false;
        if (f.Only && !f.Edges[0].empty())
            for (const std::string* e : edges)
                if (!e->empty() && *e != f.Edges[0]) return false;
    }
    if (f.CornerMode && !allInstancesOf(f.Corners, corners)) return false;
    if (f.Doors != -1 && f.Doors != t.Doors) return false;
    switch (f.Groups) {
    case GroupMembershipTest::NonMembersOnly: return !groups.Contains(n);
    case GroupMembershipTest::MembersOnly: return groups.Contains(n);
    case GroupMembershipTest::Both: break;
    }
    return true;
}
