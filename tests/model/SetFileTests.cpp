// Reading and writing whole .set files.
#include <filesystem>

#include "ModelTestSupport.h"
#include "platform/Text.h"
#include "support/FileSizeLimit.h"

namespace {

using SetFile = ModelTest;

CTerrain* addTerrain(const std::string& name, const std::string& strRef = "", const std::string& unloc = "")
{
    auto* t = new CTerrain;
    t->Name = name;
    t->StrRef = strRef;
    t->UnlocalizedName = unloc;
    TS().TerrainList.Append(t);
    return t;
}

CTile* addTile(const std::string& model)
{
    auto* t = new CTile;
    t->Model = model;
    TS().TileList.Append(t);
    return t;
}

CGroup* addGroup(const std::string& name, std::initializer_list<std::string> cells)
{
    auto* g = new CGroup;
    g->Name = name;
    for (const auto& c : cells) g->Cells.Add(c);
    TS().GroupList.Append(g);
    return g;
}

void addDoor(CTile& t, std::initializer_list<std::string> five)
{
    if (!t.DoorList) t.DoorList = std::make_unique<StringList>();
    for (const auto& v : five) t.DoorList->Add(v);
}

// A tileset that uses every field and every optional line of the format.
void buildRichTileset()
{
    CGeneral& g = *TS().General;
    g.Name = "TTR01";
    g.Type = "SET";
    g.Version = "V1.0";
    g.Interior = 0;
    g.HasHeightTransition = 1;
    g.EnvMap = "evmap_ttr01";
    g.Transition = "5";
    g.DisplayName = "63000";
    g.Border = "Grass";
    g.Default = "Grass";
    g.Floor = "Dirt";
    g.Grass = 1;
    g.Density = "5.0";
    g.Height = "0.7";
    g.AmbientRed = "0.5";
    g.AmbientGreen = "0.6";
    g.AmbientBlue = "0.4";
    g.DiffuseRed = "0.8";
    g.DiffuseGreen = "0.9";
    g.DiffuseBlue = "0.7";

    addTerrain("Grass", "1001");
    addTerrain("Trees", "", "Dark Trees");
    addTerrain("Water");
    auto* road = new CCrosser;
    road->Name = "Road";
    road->StrRef = "2001";
    TS().CrosserList.Append(road);
    auto* stream = new CCrosser;
    stream->Name = "Stream";
    TS().CrosserList.Append(stream);

    auto rule = [](bool primary, const char* p, const char* a, const char* c) {
        auto* r = new CRules;
        r->Placed = p;
        r->PlacedHeight = "0";
        r->Adjacent = a;
        r->AdjacentHeight = "1";
        r->Changed = c;
        r->ChangedHeight = "0";
        (primary ? TS().PrimaryRuleList : TS().SecondaryRuleList).Append(r);
    };
    rule(true, "Grass", "Water", "Grass");
    rule(true, "Trees", "Grass", "");
    rule(false, "Water", "Trees", "Grass");

    CTile* t0 = addTile("ttr01_a01_01");
    t0->WalkMesh = "msb01";
    t0->TopLeft = t0->TopRight = "Grass";
    t0->BottomLeft = t0->BottomRight = "Trees";
    t0->TopRightHeight = 1;
    t0->Top = "Road";
    t0->Left = "Stream";
    t0->MainLight1 = 1;
    t0->SourceLight2 = 1;
    t0->AnimLoop2 = 1;
    t0->Doors = 2;
    t0->Sounds = -1;
    t0->PathNode = "A";
    t0->Orientation = "90";
    t0->VisibilityNode = "A";
    t0->VisibilityOrientation = "0";
    t0->ImageMap2D = "MI_ttr01_a01_01";
    addDoor(*t0, {"1", "0.0", "-5.0", "0.0", "90.0"});
    addDoor(*t0, {"1", "5.0", "0.0", "0.0", "180.0"});

    CTile* t1 = addTile("ttr01_a02_01");
    t1->TopLeft = t1->TopRight = t1->BottomLeft = t1->BottomRight = "Water";
    t1->BottomLeftHeight = t1->BottomRightHeight = 1;
    t1->PathNode = "B";
    t1->Orientation = "0";
    t1->ImageMap2D = "MI_ttr01_a02_01";

    CTile* t2 = addTile("ttr01_z01_01");
    t2->TopLeft = t2->TopRight = t2->BottomLeft = t2->BottomRight = "Grass";
    t2->AnimLoop1 = t2->AnimLoop3 = 1;
    t2->MainLight2 = t2->SourceLight1 = 1;
    t2->Doors = 1;
    t2->PathNode = "C";
    t2->Orientation = "270";
    t2->DoorVisibilityNode = "DV";
    t2->DoorVisibilityOrientation = "180";
    t2->ImageMap2D = "MI_ttr01_z01_01";
    addDoor(*t2, {"4", "1.5", "2.5", "0.0", "0.0"});

    CGroup* g0 = addGroup("Big Hill", {"0", "-1", "2", "1"});
    g0->StrRef = "3001";
    g0->Rows = 2;
    g0->Columns = 2;
    CGroup* g1 = addGroup("Pair", {"2", "0"});
    g1->Rows = 1;
    g1->Columns = 2;
}

} // namespace

TEST_F(SetFile, NewEmptyTilesetIsWrittenAsTheGoldenText)
{
    ResetTileset();
    views.calls.clear();
    const std::string expected =
        "; created with Tilvenna Beta 0.85\r\n"
        "\r\n"
        "[GENERAL]\r\n"
        "Name=\r\n"
        "Type=\r\n"
        "Version=\r\n"
        "Interior=0\r\n"
        "HasHeightTransition=0\r\n"
        "EnvMap=\r\n"
        "Transition=\r\n"
        "Border=\r\n"
        "Default=\r\n"
        "Floor=\r\n"
        "\r\n"
        "[GRASS]\r\n"
        "Grass=0\r\n"
        "\r\n"
        "[TERRAIN TYPES]\r\n"
        "Count=0\r\n"
        "\r\n"
        "[CROSSER TYPES]\r\n"
        "Count=0\r\n"
        "\r\n"
        "[PRIMARY RULES]\r\n"
        "Count=0\r\n"
        "\r\n"
        "[SECONDARY RULES]\r\n"
        "Count=0\r\n"
        "\r\n"
        "[TILES]\r\n"
        "Count=0\r\n"
        "\r\n"
        "[GROUPS]\r\n"
        "Count=0\r\n"
        "\r\n";
    EXPECT_EQ(writeSet(), expected);
    EXPECT_EQ(views.calls, std::vector<std::string>{"ReadGeneralFromFrame"});
}

TEST_F(SetFile, SmallTilesetIsWrittenInTheGameLayout)
{
    TS().General->Name = "x";
    TS().General->Interior = 1;
    TS().General->UnlocalizedName = "Mine";
    addTerrain("Grass", "", "Lawn");
    auto* r = new CRules;
    r->Placed = "Grass";
    TS().SecondaryRuleList.Append(r);
    CTile* t = addTile("m0");
    t->Doors = 1;
    addDoor(*t, {"1", "2", "3", "4", "5"});
    addGroup("G", {"0", "-1"})->StrRef = "7";

    const std::string expected = crlf(
        "; created with Tilvenna Beta 0.85\n\n"
        "[GENERAL]\nName=x\nType=\nVersion=\nInterior=1\nHasHeightTransition=0\nEnvMap=\nTransition=\n"
        "UnlocalizedName=Mine\nBorder=\nDefault=\nFloor=\n\n"
        "[GRASS]\nGrass=0\n\n"
        "[TERRAIN TYPES]\nCount=1\n\n"
        "[TERRAIN0]\nName=Grass\nUnlocalizedName=Lawn\n\n"
        "[CROSSER TYPES]\nCount=0\n\n"
        "[PRIMARY RULES]\nCount=0\n\n"
        "[SECONDARY RULES]\nCount=1\n\n"
        "[SECONDARY RULE0]\nPlaced=Grass\nPlacedHeight=\nAdjacent=\nAdjacentHeight=\nChanged=\nChangedHeight=\n\n"
        "[TILES]\nCount=1\n\n"
        "[TILE0]\nModel=m0\nWalkMesh=\nTopLeft=\nTopLeftHeight=0\nTopRight=\nTopRightHeight=0\n"
        "BottomLeft=\nBottomLeftHeight=0\nBottomRight=\nBottomRightHeight=0\n"
        "Top=\nRight=\nBottom=\nLeft=\n"
        "MainLight1=0\nMainLight2=0\nSourceLight1=0\nSourceLight2=0\n"
        "AnimLoop1=0\nAnimLoop2=0\nAnimLoop3=0\nDoors=1\nSounds=0\nPathNode=\nOrientation=\nImageMap2D=\n\n"
        "[TILE0DOOR0]\nType=1\nX=2\nY=3\nZ=4\nOrientation=5\n\n"
        "[GROUPS]\nCount=1\n\n"
        "[GROUP0]\nName=G\nStrRef=7\nRows=0\nColumns=0\nTile0=0\nTile1=-1\n\n");
    EXPECT_EQ(writeSet(), expected);
}

TEST_F(SetFile, RichTilesetSurvivesWriteReadWrite)
{
    buildRichTileset();
    const std::string first = writeSet("first.set");
    ASSERT_NE(first.find("[TILE0DOOR1]\r\n"), std::string::npos);
    ASSERT_NE(first.find("DoorVisibilityOrientation=180\r\n"), std::string::npos);
    EXPECT_EQ(first.find("\n\n"), std::string::npos) << "every line end is CR LF";

    // Read from disk, as the editor does, and write again.
    TextFile in;
    ASSERT_TRUE(in.Open(dir.File("first.set"), TextFile::Mode::Read));
    ResetTileset();
    ReadSetFile(in);
    const Tileset& t = TS();
    ASSERT_EQ(t.TileList.Count(), 3);
    EXPECT_EQ(t.TerrainList.Count(), 3);
    EXPECT_EQ(t.CrosserList.Count(), 2);
    EXPECT_EQ(t.PrimaryRuleList.Count(), 2);
    EXPECT_EQ(t.SecondaryRuleList.Count(), 1);
    EXPECT_EQ(t.SecondaryRuleList.At(0)->Placed, "Water");
    EXPECT_EQ(t.General->DiffuseBlue, "0.7");
    EXPECT_EQ(t.General->HasHeightTransition, 1);
    EXPECT_EQ(t.TileList.At(0)->DoorList->Items(),
              (std::vector<std::string>{"1", "0.0", "-5.0", "0.0", "90.0", "1", "5.0", "0.0", "0.0", "180.0"}));
    EXPECT_EQ(t.TileList.At(0)->Sounds, -1);
    EXPECT_EQ(t.TileList.At(1)->DoorList, nullptr);
    EXPECT_EQ(t.TileList.At(2)->DoorVisibilityNode, "DV");
    EXPECT_EQ(cellsOf(*t.GroupList.At(0)), (std::vector<std::string>{"0", "-1", "2", "1"}));
    EXPECT_EQ(t.GroupList.At(1)->StrRef, "");

    EXPECT_EQ(writeSet("second.set"), first);

    // The same text with LF line ends reads into the same tileset.
    std::string lf;
    for (char c : first)
        if (c != '\r') lf.push_back(c);
    readSet(lf);
    EXPECT_EQ(writeSet("third.set"), first);
}

TEST_F(SetFile, ReaderRaisesFlagsAndRefillsEveryViewInOrder)
{
    ResetTileset();
    views.calls.clear();
    views.flagsAtCall.clear();
    TextFile f;
    f.OpenText("[SECONDARY RULE0]\nPlaced=A\n");
    ReadSetFile(f);
    EXPECT_EQ(views.calls, (std::vector<std::string>{"FillGeneral", "FillTerrains", "FillCrossers", "FillRules",
                                                     "FillTiles", "FillGroups"}))
        << "empty lists are refilled too, so no view keeps an earlier file's rows";
    // Tiles, terrains, crossers, groups; each lowered right after its views are refilled.
    EXPECT_EQ(views.flagsAtCall, (std::vector<std::string>{"TTCG", "TTCG", "T-CG", "T--G", "T--G", "---G"}));
    const Tileset& t = TS();
    EXPECT_FALSE(t.ReadTilesIntoMain || t.ReadTerrainsIntoMain || t.ReadCrossersIntoMain || t.ReadGroupsIntoMain);
    EXPECT_EQ(t.SecondaryRuleList.Count(), 1);
    EXPECT_EQ(t.PrimaryRuleList.Count(), 0);
    EXPECT_FALSE(f.IsOpen());

    // After the read, section readers go back to the Import tab's lists.
    TextFile more;
    more.OpenText("Name=x\n");
    (new CTerrain)->ReadFromSet(more);
    EXPECT_EQ(t.TerrainList.Count(), 0);
    EXPECT_EQ(t.ImportTerrains.Count(), 1);
}

TEST_F(SetFile, HeadersAreDispatchedByTheirRules)
{
    const std::string text =
        "; created with an old tool\n"
        "Name=BeforeAnyHeader\n"
        "[GENERAL]\nName=First\nType=One\n\n"
        "[TERRAIN TYPES]\nCount=3\n\n"
        "[terrain7]\nName=Grass\n\n"
        "[GROUPS]\nCount=1\n\n"
        "[GROUP9]\nName=Early\nRows=1\nColumns=2\nTile0=1\nTile1=0\n\n"
        "[TILE0DOOR0]\nType=99\nX=1\nY=2\nZ=3\nOrientation=4\n\n"
        "[TILES]\nCount=2\n\n"
        "[TILE5]\nModel=tA\nDoors=1\n\n"
        "[TILE3DOOR7]\nType=1\nX=2.5\nY=3\nZ=0\nOrientation=90\n\n"
        "[TILE9999]\nModel=tB\n\n"
        "[TILE12345]\nType=2\nX=a\nY=b\nZ=c\nOrientation=d\n\n"
        " [TILE0]\nModel=NotATile\n\n"
        "[GENERAL]\nType=Two\n\n"
        "[PRIMARY RULES]\nCount=0\n\n"
        "[CROSSER TYPES]\nCount=0\n";
    for (const std::string& input : {text, crlf(text)}) {
        SCOPED_TRACE(input.find('\r') == std::string::npos ? "LF" : "CR LF");
        readSet(input);
        const Tileset& t = TS();
        EXPECT_EQ(t.General->Name, "First");
        EXPECT_EQ(t.General->Type, "Two") << "a second [GENERAL] overwrites key by key";
        ASSERT_EQ(t.TerrainList.Count(), 1);
        EXPECT_EQ(t.TerrainList.At(0)->Name, "Grass");
        EXPECT_EQ(t.CrosserList.Count(), 0);
        EXPECT_EQ(t.PrimaryRuleList.Count(), 0);
        ASSERT_EQ(t.GroupList.Count(), 1);
        EXPECT_EQ(cellsOf(*t.GroupList.At(0)), (std::vector<std::string>{"1", "0"}));
        ASSERT_EQ(t.TileList.Count(), 2);
        const CTile& a = *t.TileList.At(0);
        const CTile& b = *t.TileList.At(1);
        EXPECT_EQ(a.Model, "tA");
        EXPECT_EQ(b.Model, "tB") << "a line with a blank before '[' is no header";
        ASSERT_TRUE(a.DoorList);
        EXPECT_EQ(a.DoorList->Items(), (std::vector<std::string>{"1", "2.5", "3", "0", "90"}))
            << "a door belongs to the last tile read, whatever its header says";
        ASSERT_TRUE(b.DoorList);
        EXPECT_EQ(b.DoorList->Items(), (std::vector<std::string>{"2", "a", "b", "c", "d"}))
            << "a five-digit tile header is a door header";
    }
}

TEST_F(SetFile, GeneralKeysFollowTheirPrefixRules)
{
    readSet("[GENERAL]\n"
            "NAME=Rural\n"
            "Interior=2\n"
            "HasHeightTransition=1\n"
            " Type=skipped\n"
            "Version= v 1 \n"
            "Transition=a=b\n"
            "Height=0.25\n"
            "EnvMap=\n"
            "EnvMap=env\n"
            "Default=Stone\n"
            "Default\n"
            "[GRASS]\n"
            "Grass=yes\n"
            "Floor=Stone");
    const CGeneral& g = *TS().General;
    EXPECT_EQ(g.Name, "Rural");
    EXPECT_EQ(g.Interior, 1);
    EXPECT_EQ(g.HasHeightTransition, 1);
    EXPECT_EQ(g.Type, "") << "a key line starting with a blank is skipped";
    EXPECT_EQ(g.Version, " v 1 ") << "blanks in a value are kept";
    EXPECT_EQ(g.Transition, "a=b");
    EXPECT_EQ(g.Height, "0.25") << "sections are not told apart";
    EXPECT_EQ(g.EnvMap, "env");
    EXPECT_EQ(g.Default, "") << "a key line without '=' gives an empty value";
    EXPECT_EQ(g.Grass, 0) << "a value without digits is 0";
    EXPECT_EQ(g.Floor, "Stone") << "last line without line end";

    readSet("[GENERAL]\nNames=x\n");
    EXPECT_EQ(TS().General->Name, "x");

    const std::string out = writeSet();
    EXPECT_NE(out.find("\r\nInterior=0\r\n"), std::string::npos);
    EXPECT_EQ(out.find("DisplayName"), std::string::npos);
    EXPECT_NE(out.find("[GRASS]\r\nGrass=0\r\n\r\n[TERRAIN TYPES]"), std::string::npos);
}

TEST_F(SetFile, TerrainAndRuleSectionsAreRenumberedAndKeepTheirKeys)
{
    readSet("[TERRAIN2]\nName=A\n\n"
            "[TERRAIN5]\nStrR=5\nName=B\nUnlo=U\n\n"
            "[TERRAIN9]\nName=C\n"
            "[SECONDARY RULE4]\nPlaced=Grass\nPlacedHeight=1\nAdjacent =Water\nAdjacent=Trees\n"
            "AdjacentHeight=0\nChanged=\nChangedHeight=0\n");
    const std::string out = writeSet();
    EXPECT_NE(out.find(crlf("[TERRAIN TYPES]\nCount=3\n\n"
                            "[TERRAIN0]\nName=A\n\n"
                            "[TERRAIN1]\nName=B\nStrRef=5\nUnlocalizedName=U\n\n"
                            "[TERRAIN2]\nName=C\n\n[CROSSER TYPES]")),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(crlf("[SECONDARY RULES]\nCount=1\n\n"
                            "[SECONDARY RULE0]\nPlaced=Grass\nPlacedHeight=1\nAdjacent=Trees\n"
                            "AdjacentHeight=0\nChanged=\nChangedHeight=0\n\n[TILES]")),
              std::string::npos)
        << out;
}

TEST_F(SetFile, TileSectionsAndDoorsFollowTheirRules)
{
    readSet("[TILE0]\n"
            "Model=tm01\n"
            "\n"
            "TopLeft=Grass\n"
            "TopLeftHeight=1\n"
            "TopRight=Trees\n"
            "MainLight1=3\n"
            "AnimLoop1=0\nAnimLoop2=1\nAnimLoop3=0\n"
            "Doors=2\n"
            "VisibilityOrientation=5\n"
            "[TILE0DOOR0]\nZ=1\nType=7\nX=2\nOrientation=3\nY=4\n"
            "[TILE1]\nModel=tm02\nDoors=0\nSounds=99999999999\n"
            "[TILE2]\nModel=tm03\nDoors=-99999999999\nSounds=-99999999999\n"
            "[TILE2DOOR0]\nType=1\nX=1\nY=1\nZ=1\nOrientation=1\n"
            "[TILE1DOOR0]\nType=1\nX=1\nY=1\nZ=1\nOrientation=1\n");
    const Tileset& t = TS();
    ASSERT_EQ(t.TileList.Count(), 3);
    const CTile& a = *t.TileList.At(0);
    EXPECT_EQ(a.Model, "tm01");
    EXPECT_EQ(t.TileList.At(1)->Sounds, 2147483647) << "numbers that overflow saturate";
    EXPECT_EQ(t.TileList.At(2)->Doors, -2147483647 - 1);
    EXPECT_EQ(t.TileList.At(2)->Sounds, -2147483647 - 1);
    EXPECT_EQ(a.TopLeft, "Grass") << "empty lines inside a tile do not end it";
    EXPECT_EQ(a.TopLeftHeight, 1);
    EXPECT_EQ(a.TopRight, "Trees");
    EXPECT_EQ(a.Top, "");
    EXPECT_EQ(a.MainLight1, 1);
    EXPECT_EQ(a.DoorList->Items(), (std::vector<std::string>{"1", "7", "2", "3", "4"}))
        << "door values are taken by line position";

    const std::string out = writeSet();
    const std::string tiles = out.substr(out.find("[TILE0]"), out.find("[GROUPS]") - out.find("[TILE0]"));
    EXPECT_EQ(tiles, crlf("[TILE0]\nModel=tm01\nWalkMesh=\nTopLeft=Grass\nTopLeftHeight=1\nTopRight=Trees\n"
                          "TopRightHeight=0\nBottomLeft=\nBottomLeftHeight=0\nBottomRight=\nBottomRightHeight=0\n"
                          "Top=\nRight=\nBottom=\nLeft=\nMainLight1=1\nMainLight2=0\nSourceLight1=0\n"
                          "SourceLight2=0\nAnimLoop1=0\nAnimLoop2=1\nAnimLoop3=0\nDoors=2\nSounds=0\nPathNode=\n"
                          "Orientation=\nImageMap2D=\n\n"
                          "[TILE0DOOR0]\nType=1\nX=7\nY=2\nZ=3\nOrientation=4\n\n"
                          "[TILE1]\nModel=tm02\nWalkMesh=\nTopLeft=\nTopLeftHeight=0\nTopRight=\n"
                          "TopRightHeight=0\nBottomLeft=\nBottomLeftHeight=0\nBottomRight=\nBottomRightHeight=0\n"
                          "Top=\nRight=\nBottom=\nLeft=\nMainLight1=0\nMainLight2=0\nSourceLight1=0\n"
                          "SourceLight2=0\nAnimLoop1=0\nAnimLoop2=0\nAnimLoop3=0\nDoors=0\nSounds=2147483647\n"
                          "PathNode=\nOrientation=\nImageMap2D=\n\n"
                          "[TILE2]\nModel=tm03\nWalkMesh=\nTopLeft=\nTopLeftHeight=0\nTopRight=\n"
                          "TopRightHeight=0\nBottomLeft=\nBottomLeftHeight=0\nBottomRight=\nBottomRightHeight=0\n"
                          "Top=\nRight=\nBottom=\nLeft=\nMainLight1=0\nMainLight2=0\nSourceLight1=0\n"
                          "SourceLight2=0\nAnimLoop1=0\nAnimLoop2=0\nAnimLoop3=0\nDoors=-2147483648\n"
                          "Sounds=-2147483648\nPathNode=\nOrientation=\nImageMap2D=\n\n"));
}

TEST_F(SetFile, ShortDoorSectionsKeepOnlyWholeDoors)
{
    readSet("[TILE0]\nModel=a\nDoors=2\n"
            "[TILE0DOOR0]\nType=1\nX=2\n"
            "[TILE1]\nModel=b\nDoors=1\n"
            "[TILE1DOOR0]\nType=1\n\nX=2\nY=3\nZ=4\n"
            "[TILE1DOOR1]\nType=5\nX=6\nY=7\nZ=8");
    const Tileset& t = TS();
    ASSERT_EQ(t.TileList.Count(), 2) << "the header after a short door is still read";
    EXPECT_EQ(t.TileList.At(0)->DoorsHeld(), 0);
    EXPECT_EQ(t.TileList.At(1)->Model, "b");
    ASSERT_TRUE(t.TileList.At(1)->DoorList);
    EXPECT_EQ(t.TileList.At(1)->DoorList->Items(), (std::vector<std::string>{"1", "", "2", "3", "4"}))
        << "a full section is read by line position, empty lines too; the cut one adds nothing";
    const std::string out = writeSet();
    EXPECT_EQ(out.find("[TILE0DOOR"), std::string::npos);
    EXPECT_NE(out.find("[TILE1DOOR0]\r\nType=1\r\nX=\r\nY=2\r\n"), std::string::npos);
    EXPECT_EQ(out.find("[TILE1DOOR1]"), std::string::npos);

    readSet("[TILE0]\nModel=z\nDoors=1\n[TILE0DOOR0]\nType=1\nX=2\nY=3\nZ=4\nOrientation=90");
    EXPECT_EQ(TS().TileList.At(0)->DoorList->Items(), (std::vector<std::string>{"1", "2", "3", "4", "90"}))
        << "a whole door whose last line has no line end";
}

TEST_F(SetFile, GroupSectionsFollowTheirRules)
{
    readSet("[GROUP0]\nName=g\nRows=2x\nColumns=2\n"
            "Tile3=5\nTile0=NULL\nTile1=null\nTile2=Nullx\nTiles=4\nTile5=-1\n"
            "\nTile6=9\n"
            "[GROUP1]\nName=last\nTile0=1");
    const Tileset& t = TS();
    ASSERT_EQ(t.GroupList.Count(), 2);
    EXPECT_EQ(t.GroupList.At(0)->Rows, 2);
    EXPECT_EQ(cellsOf(*t.GroupList.At(0)), (std::vector<std::string>{"5", "-1", "-1", "-1", "4", "-1"}))
        << "cells in line order; the one after the empty line is lost";
    EXPECT_EQ(cellsOf(*t.GroupList.At(1)), std::vector<std::string>{"1"});
    const std::string out = writeSet();
    EXPECT_NE(out.find(crlf("[GROUP0]\nName=g\nRows=2\nColumns=2\nTile0=5\nTile1=-1\nTile2=-1\nTile3=-1\n"
                            "Tile4=4\nTile5=-1\n\n[GROUP1]\nName=last\nRows=0\nColumns=0\nTile0=1\n\n")),
              std::string::npos)
        << out;
}

TEST_F(SetFile, LongLinesAreReadWhole)
{
    // Read in pieces of 62 characters, the rest of each of these lines would pass for a
    // header, an empty line or a key of its own.
    const std::string name61(61, 'n');
    const std::string groupName = std::string(57, 'g');               // "Name=" + 57 = 62 characters
    const std::string bracket = std::string(57, 'x') + "[TILE0]";      // '[' at character 63
    const std::string model = std::string(56, 'm') + "Model=wrong";  // piece two: "Model=wrong"
    readSet("[TERRAIN0]\nName=" + bracket + "\nStrRef=12\n\n"
            "[GROUP0]\nName=" + groupName + "\nTile0=1\n\n"
            "[TILE0]\nModel=" + model + "\nImageMap2D=" + name61 + name61 + "\n");
    const Tileset& t = TS();
    ASSERT_EQ(t.TerrainList.Count(), 1);
    EXPECT_EQ(t.TerrainList.At(0)->Name, bracket);
    EXPECT_EQ(t.TerrainList.At(0)->StrRef, "12");
    EXPECT_EQ(cellsOf(*t.GroupList.At(0)), std::vector<std::string>{"1"});
    EXPECT_EQ(t.GroupList.At(0)->Name, groupName);
    ASSERT_EQ(t.TileList.Count(), 1);
    EXPECT_EQ(t.TileList.At(0)->Model, model);
    EXPECT_EQ(t.TileList.At(0)->ImageMap2D, name61 + name61);

    const std::string first = writeSet("a.set");
    readSet(first);
    EXPECT_EQ(writeSet("b.set"), first);
}

TEST_F(SetFile, WriterRefusesMoreTilesThanTheFormatHolds)
{
    for (int i = 0; i < MaxSetTiles + 1; ++i) addTile("t");
    const std::string keep = dir.Write("keep.set", "old contents");
    TextFile f;
    ASSERT_TRUE(f.Open(keep, TextFile::Mode::Write));
    std::string error;
    EXPECT_FALSE(WriteSetFile(f, error));
    EXPECT_NE(error.find("10000"), std::string::npos) << error;
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(dir.Read("keep.set"), "old contents");

    TextFile fresh;
    ASSERT_TRUE(fresh.Open(dir.File("new.set"), TextFile::Mode::Write));
    EXPECT_FALSE(WriteSetFile(fresh, error));
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.set")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator{}), 1) << "no temporary left";

    // One tile fewer is the largest tileset that reads back whole.
    TS().TileList.DeleteAt(0);
    const std::string out = writeSet("max.set");
    EXPECT_NE(out.find("[TILE9999]\r\n"), std::string::npos);
    readSet(out);
    EXPECT_EQ(TS().TileList.Count(), MaxSetTiles);
}

TEST_F(SetFile, FailedWriteIsReportedAndTheFrameIsReadFirst)
{
    views.hasFrameName = true;
    views.frameName = "FromFrame";
    EXPECT_EQ(writeSet().find("Name=FromFrame\r\n"), std::string("; created with Tilvenna Beta 0.85\r\n\r\n[GENERAL]\r\n").size());

    // The target turns into a folder before the text is put in place: the rename fails.
    TextFile f;
    ASSERT_TRUE(f.Open(dir.File("gone.set"), TextFile::Mode::Write));
    std::filesystem::create_directory(dir.File("gone.set"));
    std::string error;
    EXPECT_FALSE(WriteSetFile(f, error));
    EXPECT_EQ(error, "Error on saving file !!!");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("gone.set")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("gone.set.tmp~")));

    // The disk fills up while the new text is written: the old file stays as it was.
    const std::string old = dir.Write("old.set", "old contents");
    TextFile full;
    ASSERT_TRUE(full.Open(old, TextFile::Mode::Write));
    bool saved = true;
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        saved = WriteSetFile(full, error);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, "Error on saving file !!!");
    EXPECT_EQ(dir.Read("old.set"), "old contents");
    EXPECT_FALSE(std::filesystem::exists(old + ".tmp~"));

    TextFile closed;
    EXPECT_FALSE(WriteSetFile(closed, error)) << "a file that is not open is not reported as saved";
}

TEST_F(SetFile, ImportReaderFillsOnlyTheImportLists)
{
    addTerrain("MainTerrain");
    views.calls.clear();
    const std::string source =
        "[TILE0DOOR0]\nType=9\nX=9\nY=9\nZ=9\nOrientation=9\n"
        "[GENERAL]\nName=Src\nDisplayName=-1\n"
        "[GRASS]\nGrass=1\nDensity=3\n\n"
        "[TERRAIN TYPES]\nCount=1\n\n[TERRAIN0]\nName=Sand\n\n"
        "[CROSSER TYPES]\nCount=1\n\n[CROSSER0]\nName=Wall\n\n"
        "[PRIMARY RULES]\nCount=1\n\n[PRIMARY RULE0]\nPlaced=Sand\n\n"
        "[SECONDARY RULES]\nCount=1\n\n[SECONDARY RULE0]\nPlaced=Sand\n\n"
        "[TILES]\nCount=2\n\n"
        "[TILE1234]\nModel=s0\nDoors=1\n\n"
        "[TILE0DOOR0]\nType=1\nX=2\nY=3\nZ=4\nOrientation=5\n\n"
        "[TILE1]\nModel=s1\n\n"
        "[TILE12345]\nType=6\nX=7\nY=8\nZ=9\nOrientation=0\n\n"
        "[GROUPS]\nCount=1\n\n[GROUP0]\nName=SrcGroup\nTile0=1\n";
    TextFile f;
    f.OpenText(source);
    ReadImportSet(f);
    EXPECT_FALSE(f.IsOpen());
    const Tileset& t = TS();
    EXPECT_EQ(t.ImportGeneral->Name, "Src");
    EXPECT_EQ(t.ImportGeneral->Grass, 0) << "[GRASS] is not read";
    EXPECT_EQ(t.ImportGeneral->Density, "");
    ASSERT_EQ(t.ImportTerrains.Count(), 1);
    EXPECT_EQ(t.ImportCrossers.Count(), 1);
    ASSERT_EQ(t.ImportTiles.Count(), 2);
    EXPECT_EQ(t.ImportTiles.At(0)->DoorList->Items(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(t.ImportTiles.At(1)->DoorList->Items(), (std::vector<std::string>{"6", "7", "8", "9", "0"}));
    EXPECT_EQ(t.ImportGroups.Count(), 1);
    EXPECT_EQ(t.TerrainList.Count(), 1);
    EXPECT_EQ(t.TileList.Count(), 0);
    EXPECT_EQ(t.PrimaryRuleList.Count() + t.SecondaryRuleList.Count(), 0);
    EXPECT_EQ(views.calls, (std::vector<std::string>{"FillImportGroups", "FillImportTerrains", "FillImportCrossers"}));

    // The next source, opened as the Import tab does: its lists replace the earlier ones;
    // without groups, terrains or crossers it refills none of their views, and without a
    // [GENERAL] section it keeps the earlier general settings.
    TS().ClearImport();
    views.calls.clear();
    TextFile g;
    g.OpenText("[TILE0]\nModel=x\n");
    ReadImportSet(g);
    ASSERT_EQ(t.ImportTiles.Count(), 1);
    EXPECT_EQ(t.ImportTiles.At(0)->Model, "x");
    EXPECT_EQ(t.ImportTerrains.Count() + t.ImportCrossers.Count() + t.ImportGroups.Count(), 0);
    EXPECT_EQ(t.ImportGeneral->Name, "Src");
    EXPECT_TRUE(views.calls.empty());
}

TEST_F(SetFile, EveryByteOfAValueSurvivesARoundTrip)
{
    const std::string odd("For\xEAt\0x\x01\r", 10);
    addTerrain(odd, "", odd);
    addGroup("g", {odd});
    CTile* t = addTile(odd);
    t->Doors = 1;
    addDoor(*t, {odd, "", "", "", odd});
    const std::string first = writeSet("a.set");
    readSet(first);
    const Tileset& ts = TS();
    EXPECT_EQ(ts.TerrainList.At(0)->Name, odd);
    EXPECT_EQ(ts.TerrainList.At(0)->UnlocalizedName, odd);
    EXPECT_EQ(ts.GroupList.At(0)->Cells[0], odd);
    EXPECT_EQ(ts.TileList.At(0)->Model, odd);
    EXPECT_EQ(ts.TileList.At(0)->DoorList->Get(4), odd);
    EXPECT_EQ(writeSet("b.set"), first);
}
