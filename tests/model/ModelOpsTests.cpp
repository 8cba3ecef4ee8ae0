// The operations on the tileset as a whole.
#include <tuple>

#include "ModelTestSupport.h"
#include "platform/Text.h"

using ModelOps = ModelTest;

TEST_F(ModelOps, ResetTilesetEmptiesTheMainTilesetOnly)
{
    BuildTileset({2, 2, 2, 2, 2});
    t.Comments = {"; Created By: someone"};
    AddTile(t.ImportTiles, "i");
    t.ImportGeneral->Name = "import";

    ResetTileset();
    EXPECT_EQ(t.General->Name, "");
    EXPECT_EQ(t.TerrainList.Count() + t.CrosserList.Count() + t.PrimaryRuleList.Count() +
                  t.SecondaryRuleList.Count() + t.TileList.Count() + t.GroupList.Count() + t.Comments.size(),
              0);
    EXPECT_EQ(t.ImportTiles.Count(), 1);
    EXPECT_EQ(t.ImportGeneral->Name, "import");

    // The view operations of several tabs reach the views, each its own.
    ClearTileLists(), ClearTerrainCombos(), ClearCrosserCombos(), ClearImportGroupView(), RefillTileLists();
    EXPECT_EQ(views.calls, (Texts{"TilesetReset", "ClearTileLists", "ClearTerrainCombos", "ClearCrosserCombos",
                                  "ClearImportGroupView", "RefillTileLists"}));
}

TEST_F(ModelOps, RenumberingAfterADeletedTile)
{
    CGroup* a = AddGroup(t.GroupList, "a", {"2", "3", "5", "-1"});
    CGroup* b = AddGroup(t.GroupList, "b", {"4", "0", " 3 ", "10"});
    EXPECT_EQ(RenumberGroupTilesAfterDelete(3), 0);
    EXPECT_EQ(a->Cells.Items(), (Texts{"2", "-1", "4", "-1"}));
    EXPECT_EQ(b->Cells.Items(), (Texts{"3", "0", "-1", "9"}));

    // A cell that is no number is found before any group changes.
    AddGroup(t.GroupList, "c", {"4", "x7"});
    EXPECT_THROW(RenumberGroupTilesAfterDelete(0), EConvertError);
    EXPECT_EQ(a->Cells.Items(), (Texts{"2", "-1", "4", "-1"}));
}

TEST_F(ModelOps, LookUpsAnswerTheLastMatch)
{
    for (const StringList& cells : {StringList{"1"}, {"7", "2"}, {"07"}, {"-1"}, {"3", "7"}})
        AddGroup(t.GroupList, "g" + std::to_string(t.GroupList.Count()), cells);
    EXPECT_EQ(FindGroupOfTile(7), 4);
    EXPECT_EQ(FindGroupOfTile(2), 1);
    EXPECT_EQ(FindGroupOfTile(5), -1);
    AddGroup(t.ImportGroups, "i0", {"7"});
    AddGroup(t.ImportGroups, "i1", {"07"});
    EXPECT_EQ(FindImportGroupOfTile(7), 0) << "the import groups, whose cells compare as whole texts";

    for (const char* model : {"NULL", "tm01", "TM01", "tm01"}) AddTile(t.TileList, model);
    EXPECT_EQ(FindTileByModel("tm01"), 3);
    EXPECT_EQ(FindTileByModel("TM01"), 2);
    EXPECT_EQ(FindTileByModel("NULL"), -1);
    EXPECT_EQ(FindTileByModel("tm0"), -1);

    // Models and group names compare with case.
    CTile probe;
    CGroup named;
    probe.Model = "Tm01", named.Name = "G4";
    EXPECT_FALSE(TileModelExists(probe) || GroupNameExists(named));
    probe.Model = "TM01", named.Name = "g4";
    EXPECT_TRUE(TileModelExists(probe) && GroupNameExists(named));
}

TEST_F(ModelOps, ModelPrefixTestsOverGroupCells)
{
    AddTile(t.TileList, "ttr01_a01");
    AddTile(t.TileList, "TTR02_b01");
    AddTile(t.ImportTiles, "src_x");
    const std::tuple<StringList, const char*, bool> cases[] = {
        {{"-1", "1"}, "ttr02", true},
        {{"-1", "0", "5"}, "ttr02", false}, // a cell past the list names no tile
        {{"0"}, "ttr01_a01_x", false},      // a prefix longer than the model
        {{"-1", "0"}, "", true},
        {{"-1", "9"}, "", false},           // an empty prefix needs a cell naming a tile
        {{}, "", false},
        {{"0", "zz"}, "ttr", true},
        {{"zz", "1"}, "ttr02", true},       // a cell that is no number names no tile
        {{"zz"}, "", false},
    };
    for (const auto& [cells, prefix, has] : cases) EXPECT_EQ(GroupHasModelPrefix(cells, prefix), has) << prefix;
    EXPECT_TRUE(ImportGroupHasModelPrefix({"0"}, "SRC"));
    EXPECT_FALSE(ImportGroupHasModelPrefix({"1"}, "ttr"));
}

TEST_F(ModelOps, RenameTerrainEverywhere)
{
    SetCorners(*AddTile(t.TileList, "a"), "Grass", "Grass", "grass", "Water");
    SetCorners(*AddTile(t.TileList, "b"), "Water", "Water", "Grass", "Grass");
    CTerrain* entry = AddNamed(t.TerrainList, "grass");
    CTerrain* other = AddNamed(t.TerrainList, "Water");
    CRules* rule = AddRule(t.PrimaryRuleList, "Grass", "Water", "Grass");
    rule->PlacedHeight = "Grass";
    CRules* secondary = AddRule(t.SecondaryRuleList, "Grass", "grass", "Grass");
    t.General->Border = "Grass";
    t.General->Default = "GRASS";
    t.General->Floor = "Water";

    // Every field matches without case, as the game matches names, and takes the new name
    // as typed: none is left naming a terrain that is gone.
    EXPECT_EQ(RenameTerrainEverywhere("Grass", "Lawn"), 5 + 2 + 3 + 2);
    const CTile& a = *t.TileList.At(0);
    EXPECT_EQ((Texts{a.TopLeft, a.TopRight, a.BottomLeft, a.BottomRight}), (Texts{"Lawn", "Lawn", "Lawn", "Water"}));
    EXPECT_EQ(entry->Name, "Lawn") << "the entry compares without case";
    EXPECT_EQ(other->Name, "Water");
    EXPECT_EQ((Texts{rule->Placed, rule->PlacedHeight, rule->Adjacent, rule->Changed}),
              (Texts{"Lawn", "Grass", "Water", "Lawn"}));
    EXPECT_EQ((Texts{secondary->Placed, secondary->Adjacent, secondary->Changed}), (Texts{"Lawn", "Lawn", "Lawn"}));
    EXPECT_EQ((Texts{t.General->Border, t.General->Default, t.General->Floor}), (Texts{"Lawn", "Lawn", "Water"}))
        << "the general settings compare without case, as their check against the terrains does";
    EXPECT_EQ(views.calls,
              (Texts{"ClearTileEditorFields", "ReadGeneralFromFrame", "FillGeneral", "FillTerrains", "FillRules"}));

    // The general settings are read from the frame first and given back only when they change;
    // an entry's own name may be passed, and the rules are refilled when either list has some.
    views.calls.clear();
    views.frameName = "Framed";
    t.PrimaryRuleList.Clear();
    t.General->Border = t.General->Default = "Water";
    EXPECT_EQ(RenameTerrainEverywhere(entry->Name, "Turf"), 5 + 3);
    EXPECT_EQ(t.General->Name + " " + entry->Name + " " + a.TopLeft + " " + secondary->Placed, "Framed Turf Turf Turf");
    EXPECT_EQ(views.calls, (Texts{"ClearTileEditorFields", "ReadGeneralFromFrame", "FillTerrains", "FillRules"}));
}

TEST_F(ModelOps, RenameCrosserEverywhere)
{
    CTile* a = AddTile(t.TileList, "a");
    a->Top = a->Bottom = "Road";
    a->Right = "road";
    CTile* b = AddTile(t.TileList, "b");
    b->Left = "Road";
    CCrosser* entry = AddNamed(t.CrosserList, "ROAD");

    EXPECT_EQ(RenameCrosserEverywhere("Road", "Path"), 4);
    EXPECT_EQ((Texts{a->Top, a->Right, a->Bottom, b->Left}), (Texts{"Path", "Path", "Path", "Path"}));
    EXPECT_EQ(entry->Name, "Path");
    EXPECT_EQ(views.calls, (Texts{"FillCrossers", "ClearTileEditorFields"}));

    // A rename in letter case only counts the fields it really changed.
    a->Right = "PATH";
    EXPECT_EQ(RenameCrosserEverywhere("path", "Path"), 1);
    EXPECT_EQ((Texts{a->Top, a->Right, a->Bottom, b->Left}), (Texts{"Path", "Path", "Path", "Path"}));
}

TEST_F(ModelOps, MissingTerrainsAndCrossersComeFromTheImportTileset)
{
    AddNamed(t.TerrainList, "Rock");
    AddNamed(t.CrosserList, "Road");
    AddNamed(t.ImportTerrains, "Sand", "11");
    AddNamed(t.ImportTerrains, "Rock", "12");
    AddNamed(t.ImportCrossers, "", "20");
    AddNamed(t.ImportCrossers, "Wall", "21");
    CTile* src = AddTile(t.ImportTiles, "s");
    SetCorners(*src, "Sand", "Sand", "Rock", "Rock");
    src->Top = "Wall";

    AddMissingTerrainsAndCrossers(*src);
    ASSERT_EQ(t.TerrainList.Count(), 2);
    EXPECT_EQ(t.TerrainList.At(1)->Name + t.TerrainList.At(1)->StrRef, "Sand11");
    ASSERT_EQ(t.CrosserList.Count(), 2) << "empty edges bring in no crosser";
    EXPECT_EQ(t.CrosserList.At(1)->Name + t.CrosserList.At(1)->StrRef, "Wall21");
    EXPECT_EQ(views.calls, (Texts{"FillTerrains", "FillCrossers"}));

    // Names differing only in case: missing from the main names ignoring case, copied the
    // same way, once.
    ResetAllModelData();
    views.calls.clear();
    AddNamed(t.TerrainList, "ROCK");
    AddNamed(t.ImportTerrains, "Sand", "1")->UnknownKeys = {"FootstepSound=sand"};
    AddNamed(t.ImportTerrains, "SAND", "2");
    CTile* lower = AddTile(t.ImportTiles, "l");
    SetCorners(*lower, "sand", "SAND", "rock", "Rock");
    AddMissingTerrainsAndCrossers(*lower);
    ASSERT_EQ(t.TerrainList.Count(), 2);
    EXPECT_EQ(t.TerrainList.At(1)->Name + t.TerrainList.At(1)->StrRef, "Sand1");
    EXPECT_EQ(t.TerrainList.At(1)->UnknownKeys, Texts{"FootstepSound=sand"});
    EXPECT_EQ(t.CrosserList.Count(), 0);
    EXPECT_EQ(views.calls, Texts{"FillTerrains"});
}

TEST_F(ModelOps, CopyToMainOfTilesAndGroups)
{
    // Every field and door of a tile, as the writer shows them.
    auto written = [&](CTile& tile) {
        TextFile f;
        EXPECT_TRUE(f.Open(dir.File("tile.set"), TextFile::Mode::Write));
        tile.WriteToSet(f, 0);
        return f.Written();
    };
    BuildTileset({1, 4, 0, 16, 0});
    // Keys of other tools go along: the tile's, and those of its second door only, which
    // is past the count and goes as the file had it.
    t.TileList.At(5)->UnknownKeys = {"Tag=corner", "Ambience=3"};
    t.TileList.At(5)->UnknownDoorKeys = {{}, {"Locked=1"}};
    t.TileList.At(5)->Doors = 1;
    t.TileList.At(5)->DoorLines = {{}, {"Z=0.0", "Type=1", "X=5.0", "Y=0.0", "Orientation=5"}};
    for (int i = 0; i < 16; ++i) {
        auto* copy = new CTile;
        copy->CopyToMain(*t.TileList.At(i));
        ASSERT_EQ(t.TileList.Tail(), copy);
        EXPECT_EQ(written(*copy), written(*t.TileList.At(i)));
    }

    // More doors counted than held: only whole doors are copied. No door list, no doors.
    CTile src;
    src.Doors = 3;
    src.DoorList = std::make_unique<StringList>(StringList{"1", "2", "3", "4", "5", "6", "7"});
    (new CTile)->CopyToMain(src);
    EXPECT_EQ(t.TileList.Tail()->DoorList->Items(), (Texts{"1", "2", "3", "4", "5"}));
    src.DoorList.reset();
    (new CTile)->CopyToMain(src);
    EXPECT_EQ(t.TileList.Tail()->Doors, 0);
    EXPECT_EQ(t.TileList.Tail()->DoorList, nullptr);

    // Cells numbered after the main tiles as they are before the group's tiles arrive.
    while (t.TileList.Count() > 12) t.TileList.DeleteAt(0);
    CGroup* source = AddGroup(t.ImportGroups, "G", {"3", "-1", "0", "1"});
    source->StrRef = "5";
    source->UnknownKeys = {"Flags=1"};
    source->Rows = source->Columns = 2;
    auto* g = new CGroup;
    g->CopyToMain(*source);
    ASSERT_EQ(t.GroupList.Tail(), g);
    EXPECT_EQ(g->Cells.Items(), (Texts{"12", "13", "14", "15"}));
    EXPECT_EQ(g->Name + g->StrRef + std::to_string(g->Rows) + std::to_string(g->Columns), "G522");
    EXPECT_EQ(g->UnknownKeys, Texts{"Flags=1"});
}
