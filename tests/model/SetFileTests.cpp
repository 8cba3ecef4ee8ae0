// Reading and writing whole .set files.
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "ModelTestSupport.h"
#include "platform/Files.h"
#include "support/FileSizeLimit.h"

namespace fs = std::filesystem;

namespace {

using SetFile = ModelTest;

fs::path dataFolder()
{
    const char* data = std::getenv("TILVENNA_TEST_DATA");
    return fs::path(data ? data : "tests/data") / "set";
}

std::string readFile(const fs::path& path)
{
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path.string(), text)) << path;
    return text;
}

int filesIn(const std::string& folder)
{
    return int(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

} // namespace

// tests/data/set/NAME.set, read and written again, gives NAME.out.set (or itself), and
// notes what NAME.findings says (NAME.out.findings for the rewrite); see the README there
// for what each file holds.
TEST_F(SetFile, GoldenFilesAreRewrittenAsExpected)
{
    const fs::path folder = dataFolder();
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(".set") || name.ends_with(".out.set")) continue;
        SCOPED_TRACE(name);
        ++cases;
        const std::string input = readFile(entry.path());
        const fs::path out = folder / (name.substr(0, name.size() - 4) + ".out.set");
        const std::string expected = fs::exists(out) ? readFile(out) : input;
        // The findings beside a file, one "line: text" a line; none without them.
        auto noted = [](fs::path p) { return fs::exists(p.replace_extension(".findings")) ? readFile(p) : ""; };
        const std::string findings = noted(entry.path());
        // As stored, with CR LF line ends, and the expected text, which is its own rewrite.
        for (auto [text, notes] : {std::pair{input, findings},
                 {std::regex_replace(input, std::regex("\r?\n"), "\r\n"), findings},
                 {expected, fs::exists(out) ? noted(out) : findings}}) {
            std::string shown;
            for (const SetFinding& f : readSet(text)) shown += std::to_string(f.line) + ": " + f.text + "\n";
            EXPECT_EQ(shown, notes);
            EXPECT_EQ(writeSet(), expected);
        }
    }
    EXPECT_GE(cases, 10);
}

TEST_F(SetFile, SampleTilesetSurvivesWriteAndReadFromDisk)
{
    BuildTileset({3, 2, 4, 4, 2});
    const std::string first = writeSet("first.set");
    TextFile in;
    ASSERT_TRUE(in.Open(dir.File("first.set"), TextFile::Mode::Read));
    ResetTileset();
    ReadSetFile(in);
    EXPECT_EQ(writeSet("second.set"), first);
}

TEST_F(SetFile, ReaderRaisesFlagsAndRefillsEveryViewInOrder)
{
    TextFile f;
    f.OpenText("[SECONDARY RULE0]\nPlaced=A\n");
    ReadSetFile(f);
    EXPECT_EQ(views.calls,
              (Texts{"FillGeneral", "FillTerrains", "FillCrossers", "FillRules", "FillTiles", "FillGroups"}))
        << "empty lists are refilled too, so no view keeps an earlier file's rows";
    // Tiles, terrains, crossers, groups; each lowered right after its views are refilled.
    EXPECT_EQ(views.flags, (Texts{"TTCG", "TTCG", "T-CG", "T--G", "T--G", "---G"}));
    EXPECT_FALSE(t.ReadTilesIntoMain || t.ReadTerrainsIntoMain || t.ReadCrossersIntoMain || t.ReadGroupsIntoMain);
}

TEST_F(SetFile, ImportReaderFillsOnlyTheImportLists)
{
    AddNamed(t.TerrainList, "MainTerrain");
    views.calls.clear();
    TextFile f;
    f.OpenText(readFile(dataFolder() / "import.set"));
    ReadImportSet(f);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(t.ImportGeneral->Name, "Src");
    EXPECT_EQ(t.ImportGeneral->Density, "") << "[GRASS] is not read";
    EXPECT_EQ((std::vector{t.ImportTerrains.Count(), t.ImportCrossers.Count(), t.ImportGroups.Count()}),
              (std::vector{1, 1, 1}));
    // [TILE1] before [TILE1234], each with the door that names it or follows it.
    ASSERT_EQ(t.ImportTiles.Count(), 2);
    EXPECT_EQ(t.ImportTiles.At(0)->Model + t.ImportTiles.At(1)->Model, "s1s0");
    EXPECT_EQ(t.ImportTiles.At(0)->DoorList->Items(), (Texts{"6", "7", "8", "9", "0"}));
    EXPECT_EQ(t.ImportTiles.At(1)->DoorList->Items(), (Texts{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(t.TerrainList.Count() + t.TileList.Count() + t.PrimaryRuleList.Count() + t.SecondaryRuleList.Count(), 1);
    EXPECT_EQ(views.calls, (Texts{"FillImportGroups", "FillImportTerrains", "FillImportCrossers"}));

    // The next source, opened as the Import tab does: its lists replace the earlier ones;
    // without groups, terrains or crossers it refills none of their views, and without a
    // [GENERAL] section it keeps the earlier general settings. Its comments are not the
    // edited tileset's.
    t.ClearImport();
    views.calls.clear();
    t.Comments = {"; ours"};
    TextFile g;
    g.OpenText("; theirs\n[TILE0]\nModel=x\n");
    ReadImportSet(g);
    EXPECT_EQ(t.Comments, Texts{"; ours"});
    EXPECT_EQ(t.ImportTiles.Count(), 1);
    EXPECT_EQ(t.ImportTerrains.Count() + t.ImportCrossers.Count() + t.ImportGroups.Count(), 0);
    EXPECT_EQ(t.ImportGeneral->Name, "Src");
    EXPECT_TRUE(views.calls.empty());

    // A source as a text editor leaves it (a byte-order mark, empty lines inside sections,
    // comments after headers) is read whole, as Open reads it.
    t.ClearImport();
    TextFile h;
    h.OpenText(readFile(dataFolder() / "text-editor.set"));
    EXPECT_TRUE(ReadImportSet(h).empty());
    EXPECT_EQ(t.ImportGeneral->Name + " " + t.ImportGeneral->Floor, "TTE01 Stone");
    EXPECT_EQ((std::vector{t.ImportTerrains.Count(), t.ImportCrossers.Count(), t.ImportTiles.Count()}),
              (std::vector{2, 1, 3}));
    ASSERT_EQ(t.ImportGroups.Count(), 1);
    EXPECT_EQ(t.ImportGroups.At(0)->Cells.Items(), (Texts{"0", "1", "2"}));
    EXPECT_EQ(t.ImportTiles.At(0)->DoorList->Items(), (Texts{"3", "0.0", "-5.0", "0.0", "90.0"}));
}

TEST_F(SetFile, WriterRefusesMoreTilesThanTheFormatHolds)
{
    for (int i = 0; i < MaxSetTiles + 1; ++i) AddTile(t.TileList, "t");
    const std::string keep = dir.Write("keep.set", "old contents");
    std::string error;
    for (const std::string& path : {keep, dir.File("new.set")}) {
        TextFile f;
        ASSERT_TRUE(f.Open(path, TextFile::Mode::Write));
        EXPECT_FALSE(WriteSetFile(f, error));
        EXPECT_NE(error.find("10000"), std::string::npos) << error;
        EXPECT_FALSE(f.IsOpen());
    }
    EXPECT_EQ(dir.Read("keep.set"), "old contents");
    EXPECT_EQ(filesIn(dir.Path()), 1) << "no new file, no temporary left";

    // One tile fewer is the largest tileset that reads back whole.
    t.TileList.DeleteAt(0);
    const std::string out = writeSet("max.set");
    EXPECT_NE(out.find("[TILE9999]\r\n"), std::string::npos);
    readSet(out);
    EXPECT_EQ(t.TileList.Count(), MaxSetTiles);
}

TEST_F(SetFile, FailedWriteIsReportedAndTheFrameIsReadFirst)
{
    // The disk fills up while the new text is written: the old file stays as it was.
    const std::string old = dir.Write("old.set", "old contents");
    TextFile full;
    ASSERT_TRUE(full.Open(old, TextFile::Mode::Write));
    std::string error;
    bool saved = true;
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        saved = WriteSetFile(full, error);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, "Error on saving file !!!");
    EXPECT_EQ(dir.Read("old.set"), "old contents");
    EXPECT_EQ(filesIn(dir.Path()), 1) << "no temporary left";

    error.clear();
    TextFile closed;
    EXPECT_FALSE(WriteSetFile(closed, error)) << "a file that is not open is not reported as saved";
    EXPECT_EQ(error, "Error on saving file !!!");
    views.frameName = "FromFrame";
    EXPECT_NE(writeSet().find("[GENERAL]\r\nName=FromFrame\r\n"), std::string::npos);
}
