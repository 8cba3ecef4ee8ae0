#include "model/Tileset.h"

Tileset& TS()
{
    static Tileset tileset;
    return tileset;
}

void Tileset::ClearMain()
{
    General = std::make_unique<CGeneral>();
    TerrainList.Clear();
    CrosserList.Clear();
    PrimaryRuleList.Clear();
    SecondaryRuleList.Clear();
    TileList.Clear();
    GroupList.Clear();
    Comments.clear();
}

void Tileset::ClearImport()
{
    ImportTerrains.Clear();
    ImportCrossers.Clear();
    ImportTiles.Clear();
    ImportGroups.Clear();
}

void ResetAllModelData()
{
    Tileset& t = TS();
    t.ClearMain();
    t.ClearImport();
    t.ImportGeneral = std::make_unique<CGeneral>();
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
