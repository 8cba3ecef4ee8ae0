// The prefix renamer over a folder with mixed-case names, text and binary models and tiles.
#include <filesystem>

#include "AssetTestSupport.h"
#include "support/RecordingViews.h"

namespace {

const std::string Dashes42(42, '-');

class Renamer : public AssetTest {
protected:
    void SetUp() override { SetModelViews(&views); }
    void TearDown() override { SetModelViews(nullptr); }

    void WriteTileset()
    {
        set.Write("tcn01_a01.mdl", "newmodel tcn01_a01\r\n  bitmap tcn01_grass\r\nnode dummy tcn01_a01\r\n");
        set.Write("tcn01_a01.wok", "tcn01_a01 walkmesh\r\n");
        set.Write("TCN01_B01.MDL", "newmodel TCN01_B01\n  bitmap tcn01_stone\n");
        set.Write("tcn01_b01.wok", "TCN01_B01 walkmesh");
        set.Write("tcn01_bin.mdl", BinaryModel("tcn01_bin bitmap tcn01_grass\r\n"));
        set.Write("tcn01_bin.wok", "tcn01_bin walkmesh");
        set.Write("tcn01_grass.tga", TgaFile(8, 8, 24));
        set.Write("other.mdl", "newmodel other tcn01\r\n");
        set.Write("mi_tcn01.tga", TgaFile(8, 8, 24));
        set.Write("notes.txt", "tcn01");
        a1 = AddTile("tcn01_a01", "mi_tcn01");
        a2 = AddTile("tcn01_a01", "mi_tcn01");
        a3 = AddTile("TCN01_a01", "mi_tcn01");
        bin = AddTile("tcn01_bin", "mi_tcn01");
        b = AddTile("TCN01_B01", "mi_tcn01");
    }

    RecordingViews views;
    RecordingProgress bar;
    RecordingMemo memo;
    CTile *a1 = nullptr, *a2 = nullptr, *a3 = nullptr, *bin = nullptr, *b = nullptr;
};

TEST_F(Renamer, OffersPrefixesWithoutMinimaps)
{
    set.Write("tcn01_a.mdl", ""), set.Write("TCN01_a.wok", ""), set.Write("mi_tcn01.tga", "");
    set.Write("MI_x.dds", ""), set.Write("abcde_tex.tga", ""), set.Write("zz.mdl", ""), set.Write("wxyz1.txt", "");
    StringList out;
    EXPECT_EQ(&FindFilePrefixes(out, false), &out);
    EXPECT_EQ(out.Items(), (std::vector<std::string>{"tcn01", "zz.md"}));
    out.Clear();
    EXPECT_EQ(FindFilePrefixes(out, true).Items(), (std::vector<std::string>{"abcde", "tcn01", "zz.md"}));
}

TEST_F(Renamer, SkipsTexturesAndBitmapLinesAndLeavesBinaryModelsAlone)
{
    WriteTileset();
    EXPECT_EQ(RenameFilesPrefix("TCN01", "ttz02", false, false, bar, memo), 4);
    std::vector<std::string> log = {
        "SUCESS : tcn01_a01.mdl --> ttz02_a01.mdl", Dashes42,
        "SUCESS : tcn01_a01.wok --> ttz02_a01.wok", Dashes42,
        "SUCESS : TCN01_B01.MDL --> ttz02_B01.MDL", Dashes42,
        "SUCESS : tcn01_b01.wok --> ttz02_b01.wok", Dashes42,
        "tcn01_bin.mdl ---> Non ascii file, not renamed", Dashes42,
    };
    EXPECT_EQ(memo.lines, log);
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"mi_tcn01.tga", "notes.txt", "other.mdl", "tcn01_bin.mdl",
                                                    "tcn01_bin.wok", "tcn01_grass.tga", "ttz02_a01.mdl",
                                                    "ttz02_a01.wok", "ttz02_B01.MDL", "ttz02_b01.wok"}));
    EXPECT_EQ(set.Read("ttz02_a01.mdl"), "newmodel ttz02_a01\r\n  bitmap tcn01_grass\r\nnode dummy ttz02_a01\r\n");
    EXPECT_EQ(set.Read("ttz02_a01.wok"), "ttz02_a01 walkmesh\r\n");
    EXPECT_EQ(set.Read("ttz02_B01.MDL"), "newmodel ttz02_B01\n  bitmap tcn01_stone\n");
    EXPECT_EQ(set.Read("tcn01_bin.mdl"), BinaryModel("tcn01_bin bitmap tcn01_grass\r\n"));
    EXPECT_EQ(set.Read("other.mdl"), "newmodel other tcn01\r\n") << "a file not renamed is not rewritten";
    EXPECT_EQ(a1->Model, "ttz02_a01");
    EXPECT_EQ(a2->Model, "ttz02_a01");
    EXPECT_EQ(a3->Model, "TCN01_a01") << "a Model differing in case from the file stays";
    EXPECT_EQ(bin->Model, "tcn01_bin");
    EXPECT_EQ(b->Model, "ttz02_B01");
    EXPECT_EQ(bar.log, (std::vector<std::string>{"max 9", "pos 0"}));
    EXPECT_EQ(bar.steps, 9);
    EXPECT_EQ(views.calls, std::vector<std::string>{"FillTiles"});
}

TEST_F(Renamer, EverywhereRenamesTexturesBinaryFilesAndBitmapLines)
{
    WriteTileset();
    EXPECT_EQ(RenameFilesPrefix("tcn01", "xyz99", true, true, bar, memo), 7);
    EXPECT_EQ(set.Read("xyz99_a01.mdl"), "newmodel xyz99_a01\r\n  bitmap xyz99_grass\r\nnode dummy xyz99_a01\r\n");
    EXPECT_EQ(set.Read("xyz99_bin.mdl"), BinaryModel("xyz99_bin bitmap xyz99_grass\r\n"))
        << "a binary file keeps its length";
    EXPECT_TRUE(FileExists(set.File("xyz99_grass.tga")));
    EXPECT_TRUE(FileExists(set.File("mi_tcn01.tga")));
    EXPECT_EQ(bin->Model, "xyz99_bin");
}

TEST_F(Renamer, PrefixesOfOtherLengthsKeepTheRestOfTheName)
{
    WriteTileset();
    EXPECT_EQ(RenameFilesPrefix("tcn01_", "ab", true, true, bar, memo), 5);
    EXPECT_EQ(SetFiles(), (std::vector<std::string>{"aba01.mdl", "aba01.wok", "abB01.MDL", "abb01.wok",
                                                    "abgrass.tga", "mi_tcn01.tga", "notes.txt", "other.mdl",
                                                    "tcn01_bin.mdl", "tcn01_bin.wok"}))
        << "the binary model and its walkmesh: renaming inside would change their length";
    EXPECT_EQ(memo.lines.at(8), "tcn01_bin.mdl ---> Non ascii file, not renamed");
    EXPECT_EQ(set.Read("aba01.mdl"), "newmodel aba01\r\n  bitmap abgrass\r\nnode dummy aba01\r\n");
    EXPECT_EQ(a1->Model, "aba01");

    memo.lines.clear();
    EXPECT_EQ(RenameFilesPrefix("ab", "longer_", false, true, bar, memo), 5);
    EXPECT_TRUE(FileExists(set.File("longer_a01.mdl")));
    EXPECT_TRUE(FileExists(set.File("longer_grass.tga")));
    EXPECT_EQ(a1->Model, "longer_a01");
}

TEST_F(Renamer, ARenameNeverReplacesAFile)
{
    set.Write("tcn01_a.mdl", "newmodel tcn01_a\r\n");
    set.Write("tcn01_a.wok", "walk tcn01_a\r\n");
    set.Write("XYZ99_A.MDL", "someone else's model");
    CTile* t = AddTile("tcn01_a", "mi");
    EXPECT_EQ(RenameFilesPrefix("tcn01", "xyz99", false, true, bar, memo), 0);
    EXPECT_EQ(memo.lines, (std::vector<std::string>{"FAILED : tcn01_a.mdl --> xyz99_a.mdl", Dashes42}))
        << "the walkmesh of a model that was not renamed is left alone without a line";
    EXPECT_EQ(set.Read("XYZ99_A.MDL"), "someone else's model");
    EXPECT_EQ(set.Read("tcn01_a.mdl"), "newmodel tcn01_a\r\n");
    EXPECT_EQ(t->Model, "tcn01_a");

    // A link that leads nowhere is not a file of the listing, but it stays all the same.
    set.Write("tcn01_b.mdl", "newmodel tcn01_b\r\n");
    std::filesystem::create_symlink("elsewhere.mdl", set.File("xyz99_b.mdl"));
    memo.lines.clear();
    EXPECT_EQ(RenameFilesPrefix("tcn01", "xyz99", false, true, bar, memo), 0);
    EXPECT_EQ(memo.lines.at(2), "FAILED : tcn01_b.mdl --> xyz99_b.mdl");
    EXPECT_TRUE(std::filesystem::is_symlink(set.File("xyz99_b.mdl")));
    EXPECT_EQ(set.Read("tcn01_b.mdl"), "newmodel tcn01_b\r\n");
}

TEST_F(Renamer, TheSamePrefixEnds)
{
    WriteTileset();
    EXPECT_EQ(RenameFilesPrefix("tcn01", "tcn01", false, true, bar, memo), 5);
    EXPECT_EQ(set.Read("tcn01_a01.mdl"), "newmodel tcn01_a01\r\n  bitmap tcn01_grass\r\nnode dummy tcn01_a01\r\n");
    EXPECT_EQ(a1->Model, "tcn01_a01");

    // Only the letter case changes: the files take the prefix exactly as typed.
    memo.lines.clear();
    EXPECT_EQ(RenameFilesPrefix("tcn01", "TCN01", false, true, bar, memo), 5);
    EXPECT_TRUE(FileExists(set.File("TCN01_a01.mdl")));
    EXPECT_TRUE(FileExists(set.File("TCN01_grass.tga")));
    EXPECT_EQ(set.Read("TCN01_a01.mdl"), "newmodel TCN01_a01\r\n  bitmap tcn01_grass\r\nnode dummy TCN01_a01\r\n");
    EXPECT_EQ(a1->Model, "TCN01_a01");
}

TEST_F(Renamer, ContentRewritesAndHelpers)
{
    std::string p = set.Write("m.mdl", "bitmap aaaaaab\r\naaaaa\r\n");
    EXPECT_EQ(ReplacePrefixInFile(p, "aaaaa", "zzzzz", false), 1) << "a name on a bitmap line stays whole";
    EXPECT_EQ(set.Read("m.mdl"), "bitmap aaaaaab\r\nzzzzz\r\n");
    EXPECT_EQ(ReplacePrefixInFile(p, "", "zzzzz", true), 0);
    EXPECT_EQ(ReplacePrefixInFile(set.File("M.MDL"), "ZZZZZ", "yy", true), 1) << "found in any letter case";
    EXPECT_EQ(set.Read("m.mdl"), "bitmap aaaaaab\r\nyy\r\n");
    EXPECT_EQ(ReplacePrefixInFile(set.File("none.mdl"), "a", "b", true), 0);
    set.Write("b.mdl", BinaryModel("abcde"));
    EXPECT_EQ(ReplacePrefixInFile(set.File("b.mdl"), "abcde", "vwxyz", false), 0);
    EXPECT_EQ(ReplacePrefixInFile(set.File("b.mdl"), "abcde", "vw", true), 0);
    EXPECT_EQ(ReplacePrefixInFile(set.File("b.mdl"), "abcde", "vwxyz", true), 1);
    EXPECT_EQ(set.Read("b.mdl"), BinaryModel("vwxyz"));
    set.Write("bwm.wok", std::string("BWM V1.0\0\0\0\x01tcn01", 17));
    EXPECT_EQ(ReplacePrefixInFile(set.File("bwm.wok"), "tcn01", "ab", true), 0) << "binary walkmesh";

    EXPECT_EQ(GetExtension3("model.MDL"), "MDL");
    EXPECT_EQ(GetExtension3("ab"), "ab");
    EXPECT_EQ(CopyLeft("tcn01_a01", 5), "tcn01");
    EXPECT_EQ(CopyLeft("tc", 5), "tc");
    EXPECT_EQ(ChangePrefix("tcn01_a01.mdl", 5, "ab"), "ab_a01.mdl");
    EXPECT_EQ(ChangePrefix("ab", 5, "xyz"), "xyz");
}

}  // namespace
