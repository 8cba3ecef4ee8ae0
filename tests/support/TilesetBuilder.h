#pragma once
// Builds tileset entries in memory, for the model's tests and the .set benchmark.
#include <memory>
#include <string>

#include "model/Globfun.h"

template <class Entry> // CTerrain or CCrosser
Entry* AddNamed(CPtrList<Entry>& list, std::string name, std::string strRef = "", std::string unlocalized = "")
{
    auto* e = new Entry;
    e->Name = std::move(name), e->StrRef = std::move(strRef), e->UnlocalizedName = std::move(unlocalized);
    list.Append(e);
    return e;
}

// A tile with a door for every five strings; Doors counts them.
inline CTile* AddTile(CPtrList<CTile>& list, std::string model, StringList doors = {})
{
    auto* t = new CTile;
    t->Model = std::move(model);
    if (!doors.Empty()) t->DoorList = std::make_unique<StringList>(std::move(doors));
    t->Doors = t->DoorsHeld();
    list.Append(t);
    return t;
}

inline CGroup* AddGroup(CPtrList<CGroup>& list, std::string name, StringList cells)
{
    auto* g = new CGroup;
    g->Name = std::move(name);
    g->Cells = std::move(cells);
    list.Append(g);
    return g;
}

inline CRules* AddRule(CPtrList<CRules>& list, std::string placed, std::string adjacent, std::string changed)
{
    auto* r = new CRules;
    r->Placed = std::move(placed), r->Adjacent = std::move(adjacent), r->Changed = std::move(changed);
    list.Append(r);
    return r;
}

inline void SetCorners(CTile& t, std::string tl, std::string tr, std::string bl, std::string br)
{
    t.TopLeft = std::move(tl), t.TopRight = std::move(tr), t.BottomLeft = std::move(bl), t.BottomRight = std::move(br);
}

// How many entries of each kind; terrains, crossers and tiles at least 1.
struct TilesetShape {
    int terrains, crossers, rules, tiles, groups;
};

// Fills General and the (empty) main lists with entries that between them use every field
// and every optional line of the format. Every tile has two doors, every group four cells.
inline void BuildTileset(const TilesetShape& shape)
{
    Tileset& t = TS();
    CGeneral& g = *t.General;
    g.Name = "BIG01", g.Type = "SET", g.Version = "V1.0", g.EnvMap = "evmap_big01", g.Transition = "5";
    g.HasHeightTransition = 1, g.DisplayName = "63000", g.UnlocalizedName = "Big";
    g.Border = g.Default = "Terrain0", g.Floor = "Terrain1";
    g.Grass = 1, g.Density = "5.0", g.Height = "0.7";
    g.AmbientRed = g.AmbientGreen = g.AmbientBlue = "0.5", g.DiffuseRed = g.DiffuseGreen = g.DiffuseBlue = "0.8";
    auto terrain = [&](int i) { return "Terrain" + std::to_string(i % shape.terrains); };
    for (int i = 0; i < shape.terrains; ++i)
        AddNamed(t.TerrainList, terrain(i), i % 2 ? "" : std::to_string(1000 + i), i % 3 ? "" : "Unloc");
    for (int i = 0; i < shape.crossers; ++i)
        AddNamed(t.CrosserList, "Crosser" + std::to_string(i), i % 2 ? "" : std::to_string(2000 + i));
    for (int i = 0; i < shape.rules; ++i) {
        CRules* r = AddRule(i < shape.rules / 2 ? t.PrimaryRuleList : t.SecondaryRuleList, terrain(i), terrain(i + 1),
                            i % 3 ? terrain(i + 2) : "");
        r->PlacedHeight = r->AdjacentHeight = r->ChangedHeight = std::to_string(i % 2);
    }
    for (int i = 0; i < shape.tiles; ++i) {
        CTile* tile = AddTile(t.TileList, "big01_a" + std::to_string(i),
                              {"1", "0.0", "-5.0", "0.0", "90.0", "1", "5.0", "0.0", "0.0", std::to_string(i)});
        tile->WalkMesh = i % 2 ? "" : "msb01";
        SetCorners(*tile, terrain(i), terrain(i + 1), terrain(i + 2), terrain(i + 3));
        tile->TopLeftHeight = i & 1, tile->TopRightHeight = (i >> 1) & 1;
        tile->BottomLeftHeight = (i >> 2) & 1, tile->BottomRightHeight = (i >> 3) & 1;
        auto crosser = [&](int k) { return "Crosser" + std::to_string((i + k) % shape.crossers); };
        if (i % 2) tile->Top = crosser(0), tile->Right = crosser(1), tile->Bottom = crosser(2), tile->Left = crosser(3);
        tile->MainLight1 = i & 1, tile->MainLight2 = (i >> 1) & 1;
        tile->SourceLight1 = (i >> 2) & 1, tile->SourceLight2 = (i >> 3) & 1;
        tile->AnimLoop1 = (i >> 1) & 1, tile->AnimLoop2 = (i >> 2) & 1, tile->AnimLoop3 = i & 1;
        tile->Sounds = i % 5 - 1;
        tile->PathNode = "A", tile->Orientation = "90";
        if (i % 3 == 0) tile->VisibilityNode = "A", tile->VisibilityOrientation = "0";
        if (i % 3 == 1) tile->DoorVisibilityNode = "DV", tile->DoorVisibilityOrientation = "180";
        tile->ImageMap2D = "MI_" + tile->Model;
    }
    for (int i = 0; i < shape.groups; ++i) {
        StringList cells;
        for (int c = 0; c < 4; ++c) cells.Add(c == 3 ? "-1" : std::to_string((i * 4 + c) % shape.tiles));
        CGroup* grp = AddGroup(t.GroupList, "Group" + std::to_string(i), std::move(cells));
        grp->StrRef = i % 2 ? "" : std::to_string(3000 + i);
        grp->Rows = grp->Columns = 2;
    }
}
