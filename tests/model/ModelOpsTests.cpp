// The operations on the tileset as a whole.
#include "ModelTestSupport.h"
#include "platform/Text.h"

namespace {

using ModelOps = ModelTest;

CTile* tileIn(CPtrList<CTile>& list, const std::string& model)
{
    auto* t = new CTile;
    t->Model = model;
    list.Append(t);
    return t;
}

CGroup* groupIn(CPtrList<CGroup>& list, const std::string& name, std::initializer_list<std::string> cells)
{
    auto* g = new CGroup;
    g->Name = name;
    for (const auto& c : cells) g->Cells.Add(c);
    list.Append(g);
    return g;
}

template <class Entry>
Entry* namedIn(CPtrList<Entry>& list, const std::string& name, const std::string& strRef = "")
{
    auto* e = new Entry;
    e->Name = name;
    e->StrRef = strRef;
    list.Append(e);
    return e;
}

void corners(CTile& t, const char* tl, const char* tr, const char* bl, const char* br)
{
    t.TopLeft = tl;
    t.TopRight = tr;
    t.BottomLeft = bl;
    t.BottomRight = br;
}

} // namespace

TEST_F(ModelOps, ResetTilesetEmptiesTheMainTilesetOnly)
{
    Tileset& t = TS();
    t.General->Name = "old";
    const CGeneral* oldGeneral = t.General.get();
    namedIn(t.TerrainList, "A");
    namedIn(t.CrosserList, "B");
    t.PrimaryRuleList.Append(new CRules);
    t.SecondaryRuleList.Append(new CRules);
    tileIn(t.TileList, "m");
    groupIn(t.GroupList, "g", {"0"});
    tileIn(t.ImportTiles, "i");
    t.ImportGeneral->Name = "import";

    ResetTileset();
    EXPECT_NE(t.General.get(), oldGeneral);
    EXPECT_EQ(t.General->Name, "");
    EXPECT_EQ(t.TerrainList.Count() + t.CrosserList.Count() + t.PrimaryRuleList.Count() +
                  t.SecondaryRuleList.Count() + t.TileList.Count() + t.GroupList.Count(),
              0);
    EXPECT_EQ(t.ImportTiles.Count(), 1);
    EXPECT_EQ(t.ImportGeneral->Name, "import");
    EXPECT_EQ(views.calls, std::vector<std::string>{"ClearUnusedFiles"});
}

TEST_F(ModelOps, RenumberingAfterADeletedTile)
{
    Tileset& t = TS();
    for (int i = 0; i < 6; ++i) tileIn(t.TileList, "t" + std::to_string(i));
    CGroup* a = groupIn(t.GroupList, "a", {"2", "3", "5", "-1"});
    CGroup* b = groupIn(t.GroupList, "b", {"4", "0", " 3 ", "10"});
    EXPECT_EQ(RenumberGroupTilesAfterDelete(3), 0);
    EXPECT_EQ(cellsOf(*a), (std::vector<std::string>{"2", "-1", "4", "-1"}));
    EXPECT_EQ(cellsOf(*b), (std::vector<std::string>{"3", "0", "-1", "9"}));

    // Deleting tile 0 moves every cell down, "-1" stays.
    EXPECT_EQ(RenumberGroupTilesAfterDelete(0), 0);
    EXPECT_EQ(cellsOf(*a), (std::vector<std::string>{"1", "-1", "3", "-1"}));
    EXPECT_EQ(cellsOf(*b), (std::vector<std::string>{"2", "-1", "-1", "8"}));
}

TEST_F(ModelOps, RenumberingWithACellThatIsNoNumberChangesNothing)
{
    Tileset& t = TS();
    CGroup* a = groupIn(t.GroupList, "a", {"2", "3", "5"});
    CGroup* b = groupIn(t.GroupList, "b", {"4", "x7"});
    EXPECT_THROW(RenumberGroupTilesAfterDelete(1), EConvertError);
    EXPECT_EQ(cellsOf(*a), (std::vector<std::string>{"2", "3", "5"}));
    EXPECT_EQ(cellsOf(*b), (std::vector<std::string>{"4", "x7"}));
}

TEST_F(ModelOps, LookUpsAnswerTheLastMatch)
{
    Tileset& t = TS();
    groupIn(t.GroupList, "g0", {"1"});
    groupIn(t.GroupList, "g1", {"7", "2"});
    groupIn(t.GroupList, "g2", {"07"});
    groupIn(t.GroupList, "g3", {"-1"});
    groupIn(t.GroupList, "g4", {"3", "7"});
    EXPECT_EQ(FindGroupOfTile(7), 4);
    EXPECT_EQ(FindGroupOfTile(2), 1);
    EXPECT_EQ(FindGroupOfTile(5), -1);
    EXPECT_EQ(FindImportGroupOfTile(7), -1) << "the import groups are another list";
    groupIn(t.ImportGroups, "i0", {"7"});
    groupIn(t.ImportGroups, "i1", {"07"});
    EXPECT_EQ(FindImportGroupOfTile(7), 0) << "cells compare as whole texts";

    tileIn(t.TileList, "NULL");
    tileIn(t.TileList, "tm01");
    tileIn(t.TileList, "TM01");
    tileIn(t.TileList, "tm01");
    EXPECT_EQ(FindTileByModel("tm01"), 3);
    EXPECT_EQ(FindTileByModel("TM01"), 2);
    EXPECT_EQ(FindTileByModel("NULL"), -1);
    EXPECT_EQ(FindTileByModel("tm0"), -1);

    CTile probe;
    probe.Model = "Tm01";
    EXPECT_FALSE(TileModelExists(probe));
    probe.Model = "TM01";
    EXPECT_TRUE(TileModelExists(probe));
    CGroup named;
    named.Name = "G4";
    EXPECT_FALSE(GroupNameExists(named));
    named.Name = "g4";
    EXPECT_TRUE(GroupNameExists(named));
}

TEST_F(ModelOps, ModelPrefixTestsOverGroupCells)
{
    Tileset& t = TS();
    tileIn(t.TileList, "ttr01_a01");
    tileIn(t.TileList, "TTR02_b01");
    tileIn(t.ImportTiles, "src_x");

    EXPECT_TRUE(GroupHasModelPrefix({"-1", "1"}, "ttr02"));
    EXPECT_FALSE(GroupHasModelPrefix({"-1", "0", "5"}, "ttr02")) << "a cell past the list names no tile";
    EXPECT_FALSE(GroupHasModelPrefix({"0"}, "ttr01_a01_x")) << "a prefix longer than the model";
    EXPECT_TRUE(GroupHasModelPrefix({"-1", "0"}, ""));
    EXPECT_FALSE(GroupHasModelPrefix({"-1", "9"}, "")) << "empty prefix needs a cell naming a tile";
    EXPECT_FALSE(GroupHasModelPrefix({}, ""));
    EXPECT_TRUE(GroupHasModelPrefix({"0", "zz"}, "ttr")) << "cells are looked at in order up to the first that qualifies";
    EXPECT_THROW(GroupHasModelPrefix({"zz", "0"}, "ttr"), EConvertError);

    EXPECT_TRUE(ImportGroupHasModelPrefix({"0"}, "SRC"));
    EXPECT_FALSE(ImportGroupHasModelPrefix({"1"}, "ttr"));
}

TEST_F(ModelOps, RenameTerrainEverywhere)
{
    Tileset& t = TS();
    corners(*tileIn(t.TileList, "a"), "Grass", "Grass", "grass", "Water");
    corners(*tileIn(t.TileList, "b"), "Water", "Water", "Grass", "Grass");
    CTerrain* entry = namedIn(t.TerrainList, "grass");
    CTerrain* other = namedIn(t.TerrainList, "Water");
    auto* rule = new CRules;
    rule->Placed = "Grass";
    rule->Adjacent = "Water";
    rule->Changed = "Grass";
    rule->PlacedHeight = "Grass";
    t.PrimaryRuleList.Append(rule);
    auto* secondary = new CRules;
    secondary->Placed = "Grass";
    t.SecondaryRuleList.Append(secondary);
    t.General->Border = "Grass";

    EXPECT_EQ(RenameTerrainEverywhere("Grass", "Lawn"), 4 + 2);
    EXPECT_EQ(t.TileList.At(0)->TopLeft, "Lawn");
    EXPECT_EQ(t.TileList.At(0)->TopRight, "Lawn");
    EXPECT_EQ(t.TileList.At(0)->BottomLeft, "grass") << "corners compare with case";
    EXPECT_EQ(t.TileList.At(1)->BottomRight, "Lawn");
    EXPECT_EQ(entry->Name, "Lawn") << "the entry compares without case";
    EXPECT_EQ(other->Name, "Water");
    EXPECT_EQ(rule->Placed, "Lawn");
    EXPECT_EQ(rule->Adjacent, "Water");
    EXPECT_EQ(rule->Changed, "Lawn");
    EXPECT_EQ(rule->PlacedHeight, "Grass");
    EXPECT_EQ(secondary->Placed, "Grass");
    EXPECT_EQ(t.General->Border, "Grass");
    EXPECT_EQ(views.calls, (std::vector<std::string>{"ClearTileEditorFields", "FillTerrains", "FillRules"}));

    // Without terrains and rules only the tiles change and no list view is refilled.
    ResetAllModelData();
    views.calls.clear();
    corners(*tileIn(t.TileList, "c"), "Sand", "x", "x", "Sand");
    EXPECT_EQ(RenameTerrainEverywhere("Sand", "Dune"), 2);
    EXPECT_EQ(views.calls, std::vector<std::string>{"ClearTileEditorFields"});
    EXPECT_EQ(RenameTerrainEverywhere("Nothing", "Else"), 0);
}

TEST_F(ModelOps, RenameCrosserEverywhere)
{
    Tileset& t = TS();
    CTile* a = tileIn(t.TileList, "a");
    a->Top = "Road";
    a->Right = "road";
    a->Bottom = "Road";
    CTile* b = tileIn(t.TileList, "b");
    b->Left = "Road";
    CCrosser* entry = namedIn(t.CrosserList, "ROAD");

    EXPECT_EQ(RenameCrosserEverywhere("Road", "Path"), 3);
    EXPECT_EQ(a->Top, "Path");
    EXPECT_EQ(a->Right, "road");
    EXPECT_EQ(a->Bottom, "Path");
    EXPECT_EQ(b->Left, "Path");
    EXPECT_EQ(entry->Name, "Path");
    EXPECT_EQ(views.calls, (std::vector<std::string>{"FillCrossers", "ClearTileEditorFields"}));
}

TEST_F(ModelOps, MissingTerrainsAndCrossersComeFromTheImportTileset)
{
    Tileset& t = TS();
    namedIn(t.TerrainList, "Rock");
    namedIn(t.CrosserList, "Road");
    namedIn(t.ImportTerrains, "Sand", "11");
    namedIn(t.ImportTerrains, "Rock", "12");
    namedIn(t.ImportCrossers, "", "20");
    namedIn(t.ImportCrossers, "Wall", "21");
    CTile* src = tileIn(t.ImportTiles, "s");
    corners(*src, "Sand", "Sand", "Rock", "Rock");
    src->Top = "Wall";

    AddMissingTerrainsAndCrossers(*src);
    ASSERT_EQ(t.TerrainList.Count(), 2);
    EXPECT_EQ(t.TerrainList.At(1)->Name, "Sand");
    EXPECT_EQ(t.TerrainList.At(1)->StrRef, "11");
    ASSERT_EQ(t.CrosserList.Count(), 2) << "empty edges bring in no crosser";
    EXPECT_EQ(t.CrosserList.At(1)->Name, "Wall");
    EXPECT_EQ(t.CrosserList.At(1)->StrRef, "21");
    EXPECT_EQ(views.calls, (std::vector<std::string>{"FillTerrains", "FillCrossers"}));

    // Names differing only in case: missing from the main names ignoring case, copied the
    // same way, once.
    ResetAllModelData();
    views.calls.clear();
    namedIn(t.TerrainList, "ROCK");
    namedIn(t.ImportTerrains, "Sand", "1");
    namedIn(t.ImportTerrains, "SAND", "2");
    CTile* lower = tileIn(t.ImportTiles, "l");
    corners(*lower, "sand", "SAND", "rock", "Rock");
    AddMissingTerrainsAndCrossers(*lower);
    ASSERT_EQ(t.TerrainList.Count(), 2);
    EXPECT_EQ(t.TerrainList.At(1)->Name, "Sand");
    EXPECT_EQ(t.TerrainList.At(1)->StrRef, "1");
    EXPECT_EQ(t.CrosserList.Count(), 0);
    EXPECT_EQ(views.calls, std::vector<std::string>{"FillTerrains"});
}

TEST_F(ModelOps, CopyToMainOfTilesAndGroups)
{
    Tileset& t = TS();
    CTile src;
    src.Model = "m";
    src.TopLeft = "Grass";
    src.BottomRightHeight = 1;
    src.MainLight1 = 1;
    src.AnimLoop3 = 1;
    src.Doors = 2;
    src.Sounds = 4;
    src.DoorVisibilityOrientation = "90";
    src.DoorList = std::make_unique<StringList>(
        StringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    auto* copy = new CTile;
    copy->CopyToMain(src);
    ASSERT_EQ(t.TileList.Tail(), copy);
    EXPECT_EQ(copy->Model, "m");
    EXPECT_EQ(copy->TopLeft, "Grass");
    EXPECT_EQ(copy->BottomRightHeight, 1);
    EXPECT_EQ(copy->MainLight1, 1);
    EXPECT_EQ(copy->MainLight2, 0);
    EXPECT_EQ(copy->AnimLoop3, 1);
    EXPECT_EQ(copy->Sounds, 4);
    EXPECT_EQ(copy->DoorVisibilityOrientation, "90");
    EXPECT_EQ(copy->Doors, 2);
    EXPECT_EQ(*copy->DoorList, *src.DoorList);

    // More doors counted than held: only whole doors are copied.
    src.Doors = 3;
    src.DoorList = std::make_unique<StringList>(StringList{"1", "2", "3", "4", "5", "6", "7"});
    auto* partial = new CTile;
    partial->CopyToMain(src);
    EXPECT_EQ(partial->DoorList->Items(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));

    src.DoorList.reset();
    auto* doorless = new CTile;
    doorless->CopyToMain(src);
    EXPECT_EQ(doorless->Doors, 0);
    EXPECT_EQ(doorless->DoorList, nullptr);

    // Cells numbered after the main tiles as they are before the group's tiles arrive.
    while (t.TileList.Count() < 12) tileIn(t.TileList, "x");
    CGroup gsrc;
    gsrc.Name = "G";
    gsrc.StrRef = "5";
    gsrc.Rows = 2;
    gsrc.Columns = 2;
    for (const char* c : {"3", "-1", "0", "1"}) gsrc.Cells.Add(c);
    auto* g = new CGroup;
    g->CopyToMain(gsrc);
    ASSERT_EQ(t.GroupList.Tail(), g);
    EXPECT_EQ(cellsOf(*g), (std::vector<std::string>{"12", "13", "14", "15"}));
    EXPECT_EQ(g->Rows, 2);
    EXPECT_EQ(g->StrRef, "5");
}

TEST_F(ModelOps, ViewOperationsReachTheViews)
{
    ClearTileLists();
    ClearTerrainCombos();
    ClearCrosserCombos();
    ClearImportGroupView();
    RefillTileLists();
    EXPECT_EQ(views.calls, (std::vector<std::string>{"ClearTileLists", "ClearTerrainCombos", "ClearCrosserCombos",
                                                     "ClearImportGroupView", "RefillTileLists"}));
}
