// What the cases under tests/data/gamedata cannot show: the model converter, files that
// cannot be removed or written, and absent lists.
#include <chrono>

#include "AssetTestSupport.h"
#include "support/FileSizeLimit.h"
#include "support/FilesLocked.h"

namespace {

// An import tile whose model is binary, copied with the converter on.
class Converter : public AssetTest {
protected:
    Converter()
    {
        Game().AutoConvertMdl = true;
        AddTile("tcn01_bin", "mi_bin", true);
        source.Write("tcn01_bin.mdl", binary);
    }
    // A stand-in converter in the start folder: a script that records its arguments and
    // folder, then writes the text model over the model it was given.
    void Install(const std::string& asciiModel, const std::string& delay = "0")
    {
        start.Write("converted.txt", asciiModel);
        std::string script = "#!/bin/sh\nsleep " + delay + "\nprintf '%s|' \"$@\" > \"" + start.File("args.txt") +
                             "\"\npwd > \"" + start.File("cwd.txt") + "\"\ncat \"" + start.File("converted.txt") + "\" > \"$3\"\n";
        chmod(start.Write("nwnmdlcomp.exe", script).c_str(), 0755);
        Game().SetStartFolder(start.Path());
    }
    const std::string binary{"\0\0\0\0 binary model", 17};   // its first u32 is 0
    ImportCopyReport report;
};

TEST_F(Converter, IsAwaitedBeforeTheModelIsScanned)
{
    // The tileset folder has a blank in its name: the converter gets its path as one argument.
    Game().SetDir = set.File("my set");
    std::filesystem::create_directory(Game().SetDir);
    Install("x\r\n  bitmap conv_tex\r\n", "0.3");
    EXPECT_EQ(CopyImportTileFiles(0, "mi_bin", false, source.Path(), report, widgets), 1);
    EXPECT_EQ(report.ImportTextures.Items(), std::vector<std::string>{"conv_tex"});
    const std::string model = Game().SetDir + "/tcn01_bin.mdl";
    EXPECT_EQ(start.Read("args.txt"), "-de|" + model + "|" + model + "|");
    EXPECT_EQ(start.Read("cwd.txt"), start.Path() + "\n");

    // A model that was already there is not converted again.
    RemoveFile(start.File("args.txt"));
    EXPECT_EQ(CopyImportTileFiles(0, "mi_bin", false, source.Path(), report, widgets), 0);
    EXPECT_FALSE(FileExists(start.File("args.txt")));
}

TEST_F(Converter, AnAbsentOrHangingOneIsNoError)
{
    EXPECT_EQ(CopyImportTileFiles(0, "mi_bin", false, source.Path(), report, widgets), 1);
    EXPECT_TRUE(report.ImportTextures.Empty()) << "a binary model lists nothing";

    Install("late", "5");
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunModelConverter(set.File("tcn01_bin.mdl"), std::chrono::milliseconds(200)));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(4));
    EXPECT_EQ(set.Read("tcn01_bin.mdl"), binary) << "the stopped converter wrote nothing";
    Install("now");
    EXPECT_TRUE(RunModelConverter(set.File("tcn01_bin.mdl")));
    EXPECT_EQ(set.Read("tcn01_bin.mdl"), "now");
}

TEST_F(AssetTest, AFailedDeletionIsNotReportedAsDone)
{
    CTile* tile = AddTile("tcn01_a", "mi_a");
    for (const char* name : {"TCN01_A.MDL", "tcn01_a.wok", "mi_a.tga"}) set.Write(name, name);
    // Root can remove any file but an immutable one; anyone else none in a read-only folder.
    const bool root = geteuid() == 0;
    const std::string lock = root ? "chattr +i '" + set.File("TCN01_A.MDL") + "'" : "chmod 555 '" + set.Path() + "'";
    if (std::system((lock + " 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "cannot make a file undeletable here";
    TileDeleteReport report;
    const int n = DeleteTileFiles(tile, false, report, widgets);
    EXPECT_EQ(std::system((root ? "chattr -i '" + set.File("TCN01_A.MDL") + "'" : "chmod 755 '" + set.Path() + "'").c_str()), 0);
    EXPECT_EQ(report.DeletedFiles, root ? "\n   mi_a.tga\n   tcn01_a.wok" : "");
    EXPECT_EQ(report.DeletedFileCount, n);
    EXPECT_EQ(report.MissingFileCount, 0);
    EXPECT_TRUE(FileExists(set.File("TCN01_A.MDL")));
}

TEST_F(AssetTest, AFailedRewriteLeavesTheModelWhole)
{
    const std::string model = "  bitmap tcn01_tex\r\n" + std::string(4096, '#') + "\r\n";
    const std::string path = set.Write("tcn01_a.mdl", model);
    int replaced = -1, renamed = -1;
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        replaced = ReplaceTextureInMdl(path, "tcn01_tex", "tcn02_tex");
        renamed = ReplacePrefixInFile(path, "tcn01", "tcn02", true);
    }
    EXPECT_EQ(replaced + renamed, 0);
    EXPECT_EQ(set.Read("tcn01_a.mdl"), model);
    EXPECT_EQ(SetFiles(), std::vector<std::string>{"tcn01_a.mdl"}) << "no temporary file left behind";
}

TEST_F(AssetTest, AbsentListsAndEmptyNames)
{
    set.Write("a.mdl", "bitmap x\r");
    StringList none;
    ImportCopyReport report;
    EXPECT_EQ(ListAssetFiles(set.File("none"), &none) + ListAssetFiles(set.Path(), nullptr), -2);
    EXPECT_EQ(CollectAllTileTextures(nullptr, widgets, true) + CopyImportTextures(nullptr, false, source.Path(), report), -2);
    EXPECT_EQ(CopyImportTextures(&none, false, source.Path(), report), 0);
    // An empty name would match everywhere and never move a rewrite on.
    EXPECT_EQ(ReplaceTextureInMdl(set.File("a.mdl"), "", "y") + ReplacePrefixInFile(set.File("a.mdl"), "", "y", true), 0);
    EXPECT_EQ(set.Read("a.mdl"), "bitmap x\r");
}

TEST_F(AssetTest, AModelThatCannotBeWrittenStaysWithItsWalkmeshAndTiles)
{
    for (const char* name : {"tcn01_a.mdl", "tcn01_a.wok", "tcn01_b.mdl", "tcn01_b.wok", "tcn01_c.mdl"})
        set.Write(name, "newmodel " + std::string(name, 7) + "\n");
    for (const char* model : {"tcn01_a", "TCN01_B", "tcn01_c"}) AddTile(model, "mi");
    std::string text;
    {
        FilesLocked lock(set, {"tcn01_a.mdl", "tcn01_b.wok"});
        if (!lock.ok) GTEST_SKIP() << "cannot lock files here";
        text = IntToStr(RenameFilesPrefix("tcn01", "xyz99", false, false, widgets, widgets)) + "\n";
    }
    for (const std::string& line : widgets.log) text += line + "\n";
    for (const CTile* tile : TS().TileList) text += tile->Model + " ";
    const std::string dashes(42, '-'), locked = " ---> Cannot be opened for reading and writing, not renamed\n";
    EXPECT_EQ(text, "1\nmax 5\ntcn01_a.mdl" + locked + dashes +
                        "\nFAILED : tcn01_b.mdl --> xyz99_b.mdl (its walkmesh tcn01_b.wok cannot be renamed with it)\n" +
                        dashes + "\ntcn01_b.wok" + locked + dashes + "\nSUCESS : tcn01_c.mdl --> xyz99_c.mdl\n" + dashes +
                        "\npos 0\ntcn01_a TCN01_B xyz99_c ");
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"tcn01_a.mdl", "tcn01_a.wok", "tcn01_b.mdl", "tcn01_b.wok", "xyz99_c.mdl"}));

    // A folder that cannot be written takes neither a rewritten model nor a new name.
    set.Write("xyz99_t.tga", "t");
    widgets.log.clear();
    {
        FilesLocked lock(set, {"."});
        text = IntToStr(RenameFilesPrefix("xyz99", "tcn01", false, true, widgets, widgets));
    }
    for (const std::string& line : widgets.log) text += line.rfind("FAILED", 0) == 0 ? "\n" + line : "";
    EXPECT_EQ(text, "0\nFAILED : xyz99_c.mdl --> tcn01_c.mdl (the folder cannot be written)"
                    "\nFAILED : xyz99_t.tga --> tcn01_t.tga (the folder cannot be written)");
}

}  // namespace
