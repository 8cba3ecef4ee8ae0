#include "model/Tileset.h"

Tileset& TS()
{
    static Tileset tileset;
    return tileset;
}

void ResetAllModelData()
{
    Tileset& t = TS();
    t.General = std::make_unique<CGeneral>();
    t.TerrainList.Clear();
    t.CrosserList.Clear();
    t.PrimaryRuleList.Clear();
    t.SecondaryRuleList.Clear();
    t.TileList.Clear();
    t.GroupList.Clear();
    t.ImportGeneral = std::make_unique<CGeneral>();
    t.ImportTerrains.Clear();
    t.ImportCrossers.Clear();
    t.ImportTiles.Clear();
    t.ImportGroups.Clear();
    t.ReadTerrainsIntoMain = t.ReadCrossersIntoMain = t.ReadTilesIntoMain = t.ReadGroupsIntoMain = false;
}

StringList ModelViews::MainTerrainNames()
{
    StringList names;
    for (const CTerrain* t : TS().TerrainList) names.Add(t->Name);
    return names;
}

StringList ModelViews::MainCrosserNames()
{
    StringList names;
    for (const CCrosser* c : TS().CrosserList) names.Add(c->Name);
    return names;
}

namespace {
ModelViews silentViews;
ModelViews* currentViews = nullptr;
}

ModelViews& Views()
{
    return currentViews ? *currentViews : silentViews;
}

void SetModelViews(ModelViews* views)
{
    currentViews = views;
}
