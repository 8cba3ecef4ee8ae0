// Deleting, copying and reporting the tiles' asset files in temporary folders with
// mixed-case names, shared files, scripted answers and a stand-in model converter.
#include <chrono>
#include <filesystem>
#include <unistd.h>

#include "AssetTestSupport.h"

namespace {

const std::string Dashes67(67, '-');

// The tileset of most deletion cases: two tiles share a model, two share a minimap.
class DeleteFiles : public AssetTest {
protected:
    void SetUp() override
    {
        a = AddTile("tcn01_a01_01", "mi_a01");
        b = AddTile("tcn01_a01_01", "mi_b");
        c = AddTile("tcn01_c", "MI_A01");
        set.Write("TCN01_A01_01.MDL", "model a");
        set.Write("tcn01_a01_01.wok", "wok a");
        set.Write("Mi_A01.tga", "map a");
        set.Write("mi_b.tga", "map b");
        set.Write("notes.txt", "keep");
        minimaps.names = {"mi_a01", "mi_b"};
    }
    CTile *a = nullptr, *b = nullptr, *c = nullptr;
    TileDeleteReport report;
};

TEST_F(DeleteFiles, SharedFilesStayAndOnlyRealDeletionsAreReported)
{
    // b shares its model with a: only its own minimap goes, without questions.
    EXPECT_EQ(DeleteTileFiles(b, false, report, minimaps), 1);
    EXPECT_EQ(report.DeletedFileCount, 1);
    EXPECT_EQ(report.DeletedFiles, "\n   mi_b.tga");
    EXPECT_EQ(report.MissingFileCount, 0) << "a shared model is neither deleted nor missing";
    EXPECT_EQ(minimaps.names, std::vector<std::string>{"mi_a01"});
    EXPECT_TRUE(dialogs.boxes.empty());
    TS().TileList.DeleteAt(1);

    // a keeps its minimap (c uses it in another letter case); its model goes now that b is gone.
    EXPECT_EQ(DeleteTileFiles(a, false, report, minimaps), 2);
    EXPECT_EQ(report.DeletedFiles, "\n   mi_b.tga\n   tcn01_a01_01.mdl\n   tcn01_a01_01.wok")
        << "logged under the names the tile gives, in listing order";
    EXPECT_EQ(report.DeletedFileCount, 3);
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"Mi_A01.tga", "notes.txt"}));
    TS().TileList.DeleteAt(0);

    // c's model and walkmesh are missing; its minimap is now its own.
    EXPECT_EQ(DeleteTileFiles(c, false, report, minimaps), 1);
    EXPECT_EQ(report.MissingFileCount, 2);
    EXPECT_EQ(report.MissingFiles, "\n   tcn01_c.mdl\n   tcn01_c.wok");
    EXPECT_EQ(report.DeletedFiles, "\n   mi_b.tga\n   tcn01_a01_01.mdl\n   tcn01_a01_01.wok\n   MI_A01.tga");
    EXPECT_EQ(minimaps.names, std::vector<std::string>{}) << "the pick-list loses the deleted minimap";
    EXPECT_EQ(SetFiles(), std::vector<std::string>{"notes.txt"});
}

TEST_F(DeleteFiles, AnswersSteerEachFile)
{
    // a alone in the list: nothing it names is shared.
    TS().TileList.DeleteAt(2);
    TS().TileList.DeleteAt(1);
    // Listing order: Mi_A01.tga, TCN01_A01_01.MDL, tcn01_a01_01.wok.
    dialogs.QueueAnswer(MsgResult::No);
    dialogs.QueueAnswer(MsgResult::Yes);
    dialogs.QueueAnswer(MsgResult::No);
    EXPECT_EQ(DeleteTileFiles(a, true, report, minimaps), 1);
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[0].text, "mi_a01.TGA file found, delete it ?(not used by another tile)");
    EXPECT_EQ(dialogs.boxes[1].text, "tcn01_a01_01.MDL file found, delete it ?");
    EXPECT_EQ(dialogs.boxes[2].text, "tcn01_a01_01.WOK file found, delete it ?");
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::YesNoYesToAll);
    EXPECT_EQ(report.DeletedFiles, "\n   tcn01_a01_01.mdl");
    EXPECT_EQ(report.MissingFileCount, 0) << "a kept file is not missing";
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"Mi_A01.tga", "mi_b.tga", "notes.txt", "tcn01_a01_01.wok"}));
    EXPECT_EQ(minimaps.names, (std::vector<std::string>{"mi_a01", "mi_b"}));
}

TEST_F(DeleteFiles, YesToAllMidWayAndAtTheFirstQuestion)
{
    TS().TileList.DeleteAt(2);
    TS().TileList.DeleteAt(1);
    // No to the minimap, Yes to all at the model: the walkmesh goes without a question.
    dialogs.QueueAnswer(MsgResult::No);
    dialogs.QueueAnswer(MsgResult::YesToAll);
    EXPECT_EQ(DeleteTileFiles(a, true, report, minimaps), 2);
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"Mi_A01.tga", "mi_b.tga", "notes.txt"}));

    // Yes to all at the first question deletes the three files of the next tile.
    set.Write("t2.mdl", "m"), set.Write("T2.WOK", "w"), set.Write("mi_t2.tga", "t");
    CTile* t2 = AddTile("t2", "mi_t2");
    dialogs.Clear();
    dialogs.QueueAnswer(MsgResult::YesToAll);
    TileDeleteReport r2;
    EXPECT_EQ(DeleteTileFiles(t2, true, r2, minimaps), 3);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(r2.DeletedFileCount, 3);
    EXPECT_EQ(r2.DeletedFiles, "\n   mi_t2.tga\n   t2.mdl\n   t2.wok");
}

TEST_F(DeleteFiles, ArchiveMinimapsAndUnlistableFolders)
{
    BuildArchives({{"mi_gone", ResTypeTga, TgaFile(16, 16, 24)}});
    CTile* d = AddTile("tcn01_d", "mi_gone");
    EXPECT_EQ(DeleteTileFiles(d, false, report, minimaps), 0);
    EXPECT_EQ(report.MissingFiles, "\n   tcn01_d.mdl\n   tcn01_d.wok") << "the game holds the minimap";
    EXPECT_EQ(report.MissingFileCount, 2);

    Game().SetDir = set.File("no such folder");
    TileDeleteReport r2;
    EXPECT_EQ(DeleteTileFiles(a, false, r2, minimaps), -1);
    EXPECT_EQ(r2.MissingFileCount, 0);
    EXPECT_EQ(r2.DeletedFileCount, 0);
}

TEST_F(DeleteFiles, AFailedDeletionIsNotReportedAsDone)
{
    TS().TileList.DeleteAt(2);
    TS().TileList.DeleteAt(1);
    Undeletable locked(set.File("TCN01_A01_01.MDL"), set.Path());
    if (!locked.ok) GTEST_SKIP() << "cannot make a file undeletable here";
    int n = DeleteTileFiles(a, false, report, minimaps);
    // Root can still remove the other two files; a normal user none.
    EXPECT_EQ(report.DeletedFiles, geteuid() == 0 ? "\n   mi_a01.tga\n   tcn01_a01_01.wok" : "");
    EXPECT_EQ(n, geteuid() == 0 ? 2 : 0);
    EXPECT_EQ(report.DeletedFileCount, n);
    EXPECT_EQ(report.MissingFileCount, 0);
    EXPECT_TRUE(FileExists(set.File("TCN01_A01_01.MDL")));
}

class ImportFiles : public AssetTest {
protected:
    ImportCopyReport report;
};

TEST_F(ImportFiles, CopiesFromAFolderWithoutOverwritingAndCollectsTextures)
{
    AddImportTile("tcn01_x", "mi_x");
    AddImportTile("tcn01_y", "mi_y");
    source.Write("TCN01_X.MDL", AsciiModel({"tcn01_tex1", "NULL", "Tcn01_Tex2", "tcn01_tex1"}, "\n"));
    source.Write("tcn01_x.wok", "new wok");
    source.Write("MI_X.TGA", TgaFile(16, 16, 24));
    source.Write("TCN01_TEX1.tga", "t1");
    source.Write("tcn01_tex1.dds", "d1");
    source.Write("tcn01_tex2.Tga", "t2");
    source.Write("tcn01_other.tga", "other");
    source.Write("tcn01_y.WOK", "wok y");
    source.Write("tga", "no name before the extension"), source.Write(".dds", "nor here");
    set.Write("tcn01_x.WOK", "old wok");

    EXPECT_EQ(CopyImportTileFiles(0, "mi_x", false, source.Path(), report, minimaps), 2);
    EXPECT_EQ(report.FilesCopiedText, "\n   mi_x.tga\n   tcn01_x.mdl");
    EXPECT_EQ(report.FilesNotFoundCount, 0) << "a file already there is neither copied nor missing";
    EXPECT_EQ(set.Read("tcn01_x.WOK"), "old wok");
    EXPECT_FALSE(FileExists(set.File("tcn01_x.wok"))) << "no second walkmesh in another letter case";
    EXPECT_EQ(set.Read("tcn01_x.mdl"), source.Read("TCN01_X.MDL"));
    EXPECT_EQ(report.ImportTextures.Items(), (std::vector<std::string>{"tcn01_tex1", "Tcn01_Tex2"}));
    EXPECT_EQ(minimaps.names, std::vector<std::string>{"mi_x"});

    EXPECT_EQ(CopyImportTextures(&report.ImportTextures, false, source.Path(), report), 3);
    EXPECT_EQ(report.FilesCopiedText,
              "\n   mi_x.tga\n   tcn01_x.mdl\n   tcn01_tex1.dds\n   TCN01_TEX1.tga\n   tcn01_tex2.Tga");
    EXPECT_FALSE(FileExists(set.File("tcn01_other.tga")));
    EXPECT_EQ(CopyImportTextures(&report.ImportTextures, false, source.Path(), report), 0) << "never overwrites";
    EXPECT_EQ(CopyImportTextures(nullptr, false, source.Path(), report), -1);
    StringList none;
    EXPECT_EQ(CopyImportTextures(&none, false, source.Path(), report), 0);

    // The second tile has only its walkmesh.
    EXPECT_EQ(CopyImportTileFiles(1, "mi_y", false, source.Path(), report, minimaps), 1);
    EXPECT_EQ(report.FilesNotFoundCount, 2);
    EXPECT_EQ(report.FilesNotFoundText, "\n   tcn01_y.mdl\n   mi_y.tga");
    EXPECT_EQ(CopyImportTileFiles(2, "mi_z", false, source.Path(), report, minimaps), 0);
    EXPECT_EQ(CopyImportTileFiles(-1, "mi_z", false, source.Path(), report, minimaps), 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ImportFiles, QuestionsAndTheAskFlag)
{
    AddImportTile("tcn01_q", "mi_q");
    source.Write("tcn01_q.mdl", AsciiModel({"q_tex"}));
    source.Write("tcn01_q.wok", "w");
    source.Write("mi_q.tga", "t");
    source.Write("q_tex.tga", "t"), source.Write("q_tex.dds", "d");

    // Listing order: mi_q.tga, tcn01_q.mdl, tcn01_q.wok. No, then Yes to all mid-way.
    dialogs.QueueAnswer(MsgResult::No);
    dialogs.QueueAnswer(MsgResult::YesToAll);
    report.AskEachFile = true;
    EXPECT_EQ(CopyImportTileFiles(0, "mi_q", true, source.Path(), report, minimaps), 2);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "mi_q.TGA file found, try to copy it ?\n NOTE : the file will not be copied if already exist");
    EXPECT_EQ(dialogs.boxes[1].text,
              "tcn01_q.MDL file found, try to copy it ?\n NOTE : the file will not be copied if already exist");
    EXPECT_FALSE(report.AskEachFile) << "Yes to all clears the Import tab's flag";
    EXPECT_EQ(report.FilesNotFoundCount, 0) << "a refused file is not missing";
    EXPECT_TRUE(minimaps.names.empty()) << "a refused minimap is not added";
    EXPECT_FALSE(FileExists(set.File("mi_q.tga")));

    dialogs.Clear();
    dialogs.QueueAnswer(MsgResult::Yes);
    dialogs.QueueAnswer(MsgResult::No);
    EXPECT_EQ(CopyImportTextures(&report.ImportTextures, true, source.Path(), report), 1);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "q_tex.dds file found, try to copy it ?\n NOTE : the file will not be copied if already exist");
    EXPECT_TRUE(report.AskEachFile) << "Yes sets the flag";
    EXPECT_TRUE(FileExists(set.File("q_tex.dds")));
    EXPECT_FALSE(FileExists(set.File("q_tex.tga")));
}

TEST_F(ImportFiles, ArchiveSourceIsNeverAFolderOnDisk)
{
    BuildArchives({{"tcn01_z", ResTypeMdl, AsciiModel({"z_tex"})},
                   {"tcn01_z", ResTypeWok, "archive wok"},
                   {"mi_z", ResTypeTga, TgaFile(8, 8, 24)}});
    AddImportTile("tcn01_z", "mi_z");
    AddImportTile("tcn01_none", "mi_none");
    // A folder called like the marker, in the current folder, holding other files.
    TempDir cwd;
    cwd.Write("NWNBIF/tcn01_z.mdl", "folder model");
    cwd.Write("NWNBIF/tcn01_none.mdl", "folder model");
    cwd.Write("NWNBIF/z_tex.tga", "folder texture");
    InFolder here(cwd.Path());
    set.Write("TCN01_Z.WOK", "already here");

    EXPECT_EQ(CopyImportTileFiles(0, "mi_z", false, "NWNBIF", report, minimaps), 2);
    EXPECT_EQ(set.Read("tcn01_z.mdl"), AsciiModel({"z_tex"}));
    EXPECT_EQ(set.Read("TCN01_Z.WOK"), "already here");
    EXPECT_EQ(set.Read("mi_z.tga"), TgaFile(8, 8, 24));
    EXPECT_EQ(report.FilesCopiedText, "\n   tcn01_z.mdl\n   mi_z.tga");
    EXPECT_EQ(report.FilesNotFoundCount, 0);
    EXPECT_FALSE(FileExists(Game().TempFilePath)) << "the temporary file is removed";
    EXPECT_TRUE(report.ImportTextures.Empty()) << "only models copied from a folder are scanned";

    EXPECT_EQ(CopyImportTileFiles(1, "mi_none", false, "NWNBIF", report, minimaps), 0);
    EXPECT_EQ(report.FilesNotFoundText, "\n   tcn01_none.mdl\n   tcn01_none.wok\n   mi_none.tga");
    StringList textures{"z_tex"};
    EXPECT_EQ(CopyImportTextures(&textures, false, "NWNBIF", report), 0);
    EXPECT_FALSE(FileExists(set.File("z_tex.tga")));
    EXPECT_FALSE(FileExists(set.File("tcn01_none.mdl")));

    // Archive questions name the files the same way; No leaves the kind done.
    ImportCopyReport r2;
    Game().SetDir = cwd.File("second");
    std::filesystem::create_directory(Game().SetDir);
    dialogs.QueueAnswer(MsgResult::Yes);
    dialogs.QueueAnswer(MsgResult::No);
    dialogs.QueueAnswer(MsgResult::Yes);
    EXPECT_EQ(CopyImportTileFiles(0, "mi_z", true, "NWNBIF", r2, minimaps), 2);
    EXPECT_EQ(dialogs.Texts()[1],
              "tcn01_z.WOK file found, try to copy it ?\n NOTE : the file will not be copied if already exist");
    EXPECT_EQ(r2.FilesNotFoundCount, 0);
    EXPECT_EQ(r2.FilesCopiedText, "\n   tcn01_z.mdl\n   mi_z.tga");
    EXPECT_TRUE(r2.AskEachFile);
}

TEST_F(ImportFiles, TheConverterIsAwaitedBeforeTheModelIsScanned)
{
    // The tileset folder has a blank in its name: the converter gets its path as one argument.
    std::string setDir = set.File("my set");
    std::filesystem::create_directory(setDir);
    Game().SetDir = setDir;
    InstallConverter(AsciiModel({"conv_tex"}), "0.3");
    Game().AutoConvertMdl = true;
    AddImportTile("tcn01_bin", "mi_bin");
    source.Write("tcn01_bin.mdl", BinaryModel());

    EXPECT_EQ(CopyImportTileFiles(0, "mi_bin", false, source.Path(), report, minimaps), 1);
    EXPECT_EQ(report.ImportTextures.Items(), std::vector<std::string>{"conv_tex"});
    std::string model = setDir + "/tcn01_bin.mdl";
    EXPECT_EQ(start.Read("args.txt"), "-de|" + model + "|" + model + "|");
    EXPECT_EQ(start.Read("cwd.txt"), start.Path() + "\n");

    // A model that was already there is not converted again.
    std::filesystem::remove(start.File("args.txt"));
    ImportCopyReport r2;
    EXPECT_EQ(CopyImportTileFiles(0, "mi_bin", false, source.Path(), r2, minimaps), 0);
    EXPECT_FALSE(FileExists(start.File("args.txt")));
}

TEST_F(ImportFiles, AnAbsentOrHangingConverterIsNoError)
{
    Game().AutoConvertMdl = true;
    ASSERT_TRUE(Game().MdlCompilerPath.empty());
    AddImportTile("tcn01_bin", "mi_bin");
    source.Write("tcn01_bin.mdl", BinaryModel());
    EXPECT_EQ(CopyImportTileFiles(0, "mi_bin", false, source.Path(), report, minimaps), 1);
    EXPECT_TRUE(report.ImportTextures.Empty()) << "a binary model lists nothing";
    EXPECT_EQ(set.Read("tcn01_bin.mdl"), BinaryModel());

    InstallConverter(AsciiModel({"late"}), "5");
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunModelConverter(set.File("tcn01_bin.mdl"), std::chrono::milliseconds(200)));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(4));
    EXPECT_EQ(set.Read("tcn01_bin.mdl"), BinaryModel()) << "the stopped converter wrote nothing";

    InstallConverter(AsciiModel({"now"}));
    EXPECT_TRUE(RunModelConverter(set.File("tcn01_bin.mdl")));
    EXPECT_EQ(set.Read("tcn01_bin.mdl"), AsciiModel({"now"}));
}

class MissingReport : public AssetTest {
protected:
    void SetUp() override
    {
        BuildArchives({{"tcn01_b", ResTypeMdl, "m"},
                       {"mi_c", ResTypeTga, TgaFile(8, 8, 24)},
                       {"tex_game", ResTypeTga, TgaFile(8, 8, 24)}});
        AddTile("tcn01_a", "mi_a");
        AddTile("tcn01_b", "mi_b");
        AddTile("tcn01_c", "mi_c");
        set.Write("TCN01_A.mdl", AsciiModel({"tex_dds", "tex_tga", "tex_gone", "NULL", "tex_game"}));
        set.Write("tcn01_a.WOK", "w");
        set.Write("Mi_A.tga", "t");
        set.Write("tcn01_c.mdl", AsciiModel({"tex_tga"}, "\n"));
        set.Write("TEX_DDS.DDS", "d");
        set.Write("tex_tga.tga", "t");
        set.Write("dds", "no name before the extension");
    }
    RecordingProgress bar;
    RecordingMemo memo;
};

TEST_F(MissingReport, ListsWhatTheFolderLacksWithoutGameFiles)
{
    ReportMissingFiles(true, true, true, true, false, bar, memo);
    std::vector<std::string> expected = {
        "Tile#1 - TCN01_B ----> .WOK : not found",
        "Tile#1 - TCN01_B ----> mi_b.TGA : not found",
        Dashes67,
        "Tile#2 - TCN01_C ----> .WOK : not found",
        Dashes67,
        Dashes67,
        "---TEXTURES REPORT-------------------------------------------------",
        "tex_gone----> TGA or DDS not found",
        Dashes67,
        "---4- Files not found",
    };
    EXPECT_EQ(memo.lines, expected);
    EXPECT_EQ(bar.log, (std::vector<std::string>{"max 4", "pos 0"}));
    EXPECT_EQ(bar.steps, 6) << "one step per tile for the textures and one for the files";
}

TEST_F(MissingReport, CountsGameFilesWhenAsked)
{
    ReportMissingFiles(true, true, true, true, true, bar, memo);
    std::vector<std::string> expected = {
        "Tile#1 - TCN01_B ----> .MDL : not found",
        "Tile#1 - TCN01_B ----> .WOK : not found",
        "Tile#1 - TCN01_B ----> mi_b.TGA : not found",
        Dashes67,
        "Tile#2 - TCN01_C ----> .WOK : not found",
        "Tile#2 - TCN01_C ----> mi_c.TGA : not found",
        Dashes67,
        Dashes67,
        "---TEXTURES REPORT-------------------------------------------------",
        "tex_gone----> TGA or DDS not found",
        Dashes67,
        "tex_game----> TGA or DDS not found",
        Dashes67,
        "---7- Files not found",
    };
    EXPECT_EQ(memo.lines, expected);
}

TEST_F(MissingReport, DisabledKindsCountAsFound)
{
    ReportMissingFiles(false, false, true, false, false, bar, memo);
    EXPECT_EQ(memo.lines, (std::vector<std::string>{"Tile#1 - TCN01_B ----> mi_b.TGA : not found", Dashes67,
                                                     "---1- Files not found"}));
    EXPECT_EQ(bar.log, (std::vector<std::string>{"max 2", "pos 0"}));
    EXPECT_EQ(bar.steps, 3);

    memo.lines.clear();
    ReportMissingFiles(false, false, false, false, false, bar, memo);
    EXPECT_EQ(memo.lines, std::vector<std::string>{"---0- Files not found"});
}

}  // namespace
