// The archive index over built game folders: override order, the five kinds, extraction,
// and damaged key and archive files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "gamedata/GameData.h"
#include "platform/Files.h"
#include "Recorders.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> Names(const StringList& l)
{
    return l.Items();
}

// A TGA header of the given size followed by a little pixel data.
std::string Tga(uint16_t w, uint16_t h, uint8_t bits)
{
    std::string t(18, '\0');
    t[2] = 2;
    t[12] = char(w & 0xFF), t[13] = char(w >> 8);
    t[14] = char(h & 0xFF), t[15] = char(h >> 8);
    t[16] = char(bits);
    return t + "pixels";
}

class Archives : public ::testing::Test {
protected:
    Archives() { gd.SetStartFolder(start.Path()); }

    // An installation with all four key files. Names overlap between them so the reading
    // order decides which archive a look-up reaches.
    void BuildGame()
    {
        gd.GameDir = game.Path();
        {
            KeyBuilder k;
            k.AddBif("data\\xp2.bif");
            k.Add("tcn01_a01_01", ResTypeMdl, 0, 0).Add("ttr01", ResTypeSet, 0, 1);
            game.Write("xp2.key", k.Build());
            game.Write("data/xp2.bif", BifBuilder().Add(0, ResTypeMdl, "xp2 a01_01").Add(1, ResTypeSet, "[GENERAL]\r\nName=TTR01\r\n").Build());
        }
        {
            KeyBuilder k;
            k.AddBif("data\\patch.bif");
            k.Add("tcn01_a01_02", ResTypeMdl, 0, 0).Add("tcn01_a01_01", ResTypeMdl, 0, 1);
            game.Write("xp1patch.key", k.Build());
            game.Write("data/patch.bif", BifBuilder().Add(0, ResTypeMdl, "patch a01_02").Add(1, ResTypeMdl, "patch a01_01").Build());
        }
        {
            KeyBuilder k;
            k.AddBif("data\\xp1.bif");
            k.Add("tcn01_b", ResTypeMdl, 0, 0).Add("mi_xp1", ResTypeTga, 0, 1).Add("tcn01_a01_02", ResTypeMdl, 0, 2);
            // The key file names its archive and itself in lower case; the disk has mixed case.
            game.Write("XP1.key", k.Build());
            game.Write("data/Xp1.Bif", BifBuilder().Add(0, ResTypeMdl, "xp1 b").Add(1, ResTypeTga, Tga(16, 16, 24)).Add(2, ResTypeMdl, "xp1 a01_02").Build());
        }
        {
            KeyBuilder k;
            k.AddBif("data\\models_01.bif");
            k.AddBif("data\\textures.bif");
            k.Add("tcn01_a01_01", ResTypeMdl, 0, 0)
                .Add("tcn01_a01_02", ResTypeMdl, 0, 1)
                .Add("tcn01_b", ResTypeMdl, 0, 2)
                .Add("TTR01", ResTypeSet, 0, 3)      // already listed from xp2.key
                .Add("tcn01", ResTypeSet, 0, 4)
                .Add("tcn01_a01_01", ResTypeWok, 0, 5)
                .Add("Tcn01_upper", ResTypeMdl, 0, 6) // upper case first letter: not a tile
                .Add("acn01", ResTypeMdl, 0, 7)
                .Add("tdoor", 2017, 0, 8)             // a type the editor does not use
                .Add("mi_tcn01", ResTypeTga, 1, 0)
                .Add("mil_tcn01", ResTypeTga, 1, 1)   // "mil" is not a minimap
                .Add("mi", ResTypeTga, 1, 2)
                .Add("MI_UPPER", ResTypeTga, 1, 3)
                .Add("tcn01_grass", ResTypeTga, 1, 4)
                .Add("tcn01_a01_01", ResTypeTga, 1, 5);
            game.Write("chitin.key", k.Build());
            BifBuilder models, textures;
            for (uint32_t i = 0; i < 9; ++i) models.Add(i, ResTypeMdl, "chitin model " + std::to_string(i));
            for (uint32_t i = 0; i < 6; ++i) textures.Add(1 << 20 | i, ResTypeTga, i == 4 ? Tga(64, 32, 32) : Tga(8, 8, 8) + std::to_string(i));
            game.Write("data/models_01.bif", models.Build());
            game.Write("data/textures.bif", textures.Build());
        }
    }

    std::string Temp() const
    {
        std::string s;
        return ReadWholeFile(gd.TempFilePath, s) ? s : "<no temporary file>";
    }

    TempDir game, start;
    GameData gd;
};

TEST_F(Archives, KeyFilesAreReadInOverrideOrderIntoFiveKinds)
{
    BuildGame();
    RecordingPickList picks;
    picks.names = {"stale"};
    gd.BifResList.LoadGameKeyFiles(picks);
    const CBifResList& idx = gd.BifResList;

    using V = std::vector<std::string>;
    EXPECT_EQ(Names(idx.MdlNames()), (V{"tcn01_a01_01", "tcn01_a01_02", "tcn01_a01_01", "tcn01_b", "tcn01_a01_02",
                                        "tcn01_a01_01", "tcn01_a01_02", "tcn01_b"}));
    EXPECT_EQ(Names(idx.SetNames()), (V{"ttr01", "tcn01"}));
    EXPECT_EQ(Names(idx.MinimapNames()), (V{"mi_xp1", "mi_tcn01", "mi"}));
    EXPECT_EQ(Names(idx.WokNames()), (V{"tcn01_a01_01"}));
    EXPECT_EQ(Names(idx.TgaNames()), (V{"tcn01_grass", "tcn01_a01_01"}));
    EXPECT_EQ(Names(idx.BifNames()), (V{"data\\models_01.bif", "data\\textures.bif"}));
    EXPECT_EQ(picks.clears, 1);
    EXPECT_EQ(picks.names, (V{"mi_xp1", "mi_tcn01", "mi"}));

    // Name and entry lists stay parallel.
    EXPECT_EQ(idx.MdlEntries().Count(), idx.MdlNames().Count());
    EXPECT_EQ(idx.TgaEntries().Count(), idx.TgaNames().Count());
    const _KeyEntry* grass = idx.TgaEntries().At(0);
    ASSERT_NE(grass, nullptr);
    EXPECT_EQ(grass->ResRef, "tcn01_grass");
    EXPECT_EQ(grass->ResType, ResTypeTga);
    EXPECT_EQ(grass->BifIndex, 1);
    EXPECT_EQ(grass->ResIndex, 4);
    EXPECT_EQ(grass->BifName, "data\\textures.bif");

    // The first key file read wins; look-ups ignore case.
    ASSERT_EQ(gd.BifResList.ExtractMdl("TCN01_A01_01"), 0);
    EXPECT_EQ(Temp(), "xp2 a01_01");
    ASSERT_EQ(gd.BifResList.ExtractMdl("tcn01_a01_02"), 0);
    EXPECT_EQ(Temp(), "patch a01_02");
    ASSERT_EQ(gd.BifResList.ExtractMdl("tcn01_b"), 0);
    EXPECT_EQ(Temp(), "xp1 b");
    ASSERT_EQ(gd.BifResList.ExtractWok("Tcn01_A01_01"), 0);
    EXPECT_EQ(Temp(), "chitin model 5");
    ASSERT_EQ(gd.BifResList.ExtractMinimap("MI_TCN01"), 0);
    EXPECT_EQ(Temp(), Tga(8, 8, 8) + "0");
    ASSERT_EQ(gd.BifResList.ExtractTileTga("tcn01_a01_01"), 0);
    EXPECT_EQ(Temp(), Tga(8, 8, 8) + "5");

    EXPECT_TRUE(idx.HasMdl("TCN01_B"));
    EXPECT_TRUE(idx.HasMinimap("mi"));
    EXPECT_TRUE(idx.HasWok("tcn01_a01_01"));
    EXPECT_TRUE(idx.HasTileTga("TCN01_GRASS"));
    EXPECT_FALSE(idx.HasMinimap("mil_tcn01"));
    EXPECT_FALSE(idx.HasMinimap("MI_UPPER"));
    EXPECT_FALSE(idx.HasTileTga("mi_tcn01"));
    EXPECT_FALSE(idx.HasMdl("Tcn01_upper"));
    EXPECT_FALSE(idx.HasMdl("acn01"));
    EXPECT_FALSE(idx.HasWok("tcn01_a01_02"));
    EXPECT_FALSE(idx.HasMdl("tdoor"));
    EXPECT_EQ(gd.BifResList.ExtractMdl("acn01"), -1);
}

TEST_F(Archives, WithoutGameFolderNothingIsIndexed)
{
    BuildGame();
    gd.GameDir.clear();
    RecordingPickList picks;
    picks.names = {"stale"};
    gd.BifResList.LoadGameKeyFiles(picks);
    EXPECT_TRUE(picks.names.empty());
    EXPECT_EQ(gd.BifResList.MdlNames().Count(), 0);
    EXPECT_FALSE(gd.BifResList.HasMdl("tcn01_a01_01"));
    EXPECT_EQ(gd.BifResList.ExtractMdl("tcn01_a01_01"), -1);

    // A missing key file is skipped; the others are read.
    TempDir partial;
    gd.GameDir = partial.Path();
    KeyBuilder k;
    k.AddBif("data\\a.bif");
    k.Add("tcn01_x", ResTypeMdl, 0, 0);
    partial.Write("xp1.key", k.Build());
    gd.BifResList.LoadGameKeyFiles(picks);
    EXPECT_TRUE(gd.BifResList.HasMdl("tcn01_x"));
    EXPECT_EQ(gd.BifResList.ReadKeyFile(partial.File("chitin.key")), -1);
    EXPECT_EQ(gd.BifResList.ReadKeyFile(partial.Path()), -1);   // a folder is no key file
}

TEST_F(Archives, FullLengthNamesAndHighBitsInResourceIds)
{
    gd.GameDir = game.Path();
    KeyBuilder k;
    for (int i = 0; i < 6; ++i) k.AddBif("data\\bif" + std::to_string(i) + ".bif");
    // Bits 14 to 19 of a ResID are not part of the index.
    k.AddKey("tcn01_a01_01wxyz", ResTypeMdl, 5u << 20 | 0x3Fu << 14 | 0x3ABC);
    k.AddKey("tcn01_a01_01wxy", ResTypeMdl, 5u << 20 | 0x2000);
    k.AddKey("tcn01_far", ResTypeMdl, 4095u << 20 | 1);          // no such archive
    k.AddKey("tcn01_six", ResTypeMdl, 6u << 20 | 1);             // one past the last archive
    std::string key = game.Write("chitin.key", k.Build());
    game.Write("Data/BIF5.bif", BifBuilder()
                                    .Add(5u << 20 | 0x0ABC, ResTypeMdl, "other index")
                                    .Add(5u << 20 | 0x3ABC, ResTypeMdl, "index 15036")
                                    .Add(5u << 20 | 0x2000, ResTypeMdl, "index 8192")
                                    .Build());
    ASSERT_EQ(gd.BifResList.ReadKeyFile(key), 0);
    const CBifResList& idx = gd.BifResList;
    ASSERT_EQ(idx.MdlNames().Count(), 2);
    EXPECT_EQ(idx.MdlNames()[0], "tcn01_a01_01wxyz");
    EXPECT_EQ(idx.MdlNames()[0].size(), 16u);
    const _KeyEntry* e = idx.MdlEntries().At(0);
    EXPECT_EQ(e->BifIndex, 5);
    EXPECT_EQ(e->ResIndex, 0x3ABC);
    EXPECT_EQ(e->BifName, "data\\bif5.bif");

    ASSERT_EQ(gd.BifResList.ExtractMdl("TCN01_A01_01WXYZ"), 0);
    EXPECT_EQ(Temp(), "index 15036");
    ASSERT_EQ(gd.BifResList.ExtractMdl("tcn01_a01_01wxy"), 0);
    EXPECT_EQ(Temp(), "index 8192");
    EXPECT_FALSE(idx.HasMdl("tcn01_far"));
    EXPECT_FALSE(idx.HasMdl("tcn01_six"));

    // An archive name past the 63 characters a fixed buffer held is kept whole.
    const std::string longName = "data\\" + std::string(100, 'l') + ".bif";
    KeyBuilder k2;
    k2.AddBif(longName);
    k2.Add("tcn01_long", ResTypeMdl, 0, 0);
    game.Write("data/" + std::string(100, 'l') + ".bif", BifBuilder().Add(0, ResTypeMdl, "from the long name").Build());
    CBifResList idx2(gd);
    ASSERT_EQ(idx2.ReadKeyFile(game.Write("long.key", k2.Build())), 0);
    EXPECT_EQ(idx2.BifNames()[0], longName);
    ASSERT_EQ(idx2.ExtractMdl("tcn01_long"), 0);
    EXPECT_EQ(Temp(), "from the long name");
}

TEST_F(Archives, DamagedKeyFilesAreReadAsFarAsTheyHold)
{
    gd.GameDir = game.Path();
    KeyBuilder k;
    k.AddBif("data\\good.bif");
    k.AddBif("data\\lost.bif");
    k.Add("tcn01_good", ResTypeMdl, 0, 0).Add("tcn01_lost", ResTypeMdl, 1, 0).Add("tcn01_last", ResTypeMdl, 0, 1);
    const std::string built = k.Build();

    {   // The second archive's name lies outside the file: its keys are dropped.
        std::string bytes = built;
        PatchU32(bytes, 64 + 12 + 4, 0xFFFFFF00u);
        CBifResList idx(gd);
        EXPECT_EQ(idx.ReadKeyFile(game.Write("a.key", bytes)), 0);
        EXPECT_EQ(Names(idx.MdlNames()), (std::vector<std::string>{"tcn01_good", "tcn01_last"}));
        EXPECT_EQ(Names(idx.BifNames()), (std::vector<std::string>{"data\\good.bif", ""}));
    }
    {   // Counts far beyond the file: what lies inside is read, nothing past it.
        std::string bytes = built;
        PatchU32(bytes, 8, 0xFFFFFFFFu);
        PatchU32(bytes, 12, 0xFFFFFFFFu);
        CBifResList idx(gd);
        EXPECT_EQ(idx.ReadKeyFile(game.Write("b.key", bytes)), 0);
        EXPECT_TRUE(idx.HasMdl("tcn01_good"));
        EXPECT_TRUE(idx.HasMdl("tcn01_last"));
    }
    {   // The key table lies past the end, or runs off it half-way through an entry.
        std::string bytes = built;
        PatchU32(bytes, 20, 0xFFFFFFF0u);
        CBifResList idx(gd);
        EXPECT_EQ(idx.ReadKeyFile(game.Write("c.key", bytes)), 0);
        EXPECT_EQ(idx.MdlNames().Count(), 0);
        EXPECT_EQ(idx.BifNames().Count(), 2);

        CBifResList idx2(gd);
        EXPECT_EQ(idx2.ReadKeyFile(game.Write("d.key", built.substr(0, built.size() - 5))), 0);
        EXPECT_EQ(Names(idx2.MdlNames()), (std::vector<std::string>{"tcn01_good", "tcn01_lost"}));
    }
    {   // A header cut short, an empty file, a file of garbage.
        CBifResList idx(gd);
        EXPECT_EQ(idx.ReadKeyFile(game.Write("e.key", built.substr(0, 23))), -1);
        EXPECT_EQ(idx.ReadKeyFile(game.Write("f.key", "")), -1);
        EXPECT_EQ(idx.ReadKeyFile(game.Write("g.key", std::string(200, '\xFF'))), 0);
        EXPECT_EQ(idx.MdlNames().Count(), 0);
    }
}

TEST_F(Archives, DamagedArchivesFailExtractionWithoutATemporaryFile)
{
    gd.GameDir = game.Path();
    KeyBuilder k;
    k.AddBif("data\\cut.bif");
    k.AddBif("data\\absent.bif");
    k.AddBif("data\\short.bif");
    k.AddBif("data\\huge.bif");
    k.AddBif("..\\outside.bif");
    k.Add("tcn01_cut", ResTypeMdl, 0, 0)
        .Add("tcn01_notin", ResTypeMdl, 0, 7)
        .Add("tcn01_absent", ResTypeMdl, 1, 0)
        .Add("tcn01_short", ResTypeMdl, 2, 0)
        .Add("tcn01_huge", ResTypeMdl, 3, 1)
        .Add("tcn01_empty", ResTypeMdl, 3, 2)
        .Add("tcn01_outside", ResTypeMdl, 4, 0);
    std::string bif = BifBuilder().Add(0, ResTypeMdl, "0123456789").Build();
    PatchU32(bif, 20 + 8, 1000);                                  // FileSize beyond the file
    game.Write("data/cut.bif", bif);
    game.Write("data/short.bif", "BIFFV1  \x01");
    std::string huge = BifBuilder().Add(0, ResTypeMdl, "a").Add(1, ResTypeMdl, "found").Add(2, ResTypeMdl, "").Build();
    PatchU32(huge, 8, 0xFFFFFFFFu);                               // VariableResourceCount
    game.Write("data/huge.bif", huge);
    TempDir outside;
    ASSERT_EQ(gd.BifResList.ReadKeyFile(game.Write("chitin.key", k.Build())), 0);

    CBifResList& idx = gd.BifResList;
    for (const char* name : {"tcn01_cut", "tcn01_notin", "tcn01_absent", "tcn01_short", "tcn01_outside"}) {
        EXPECT_TRUE(idx.HasMdl(name)) << name;
        EXPECT_EQ(idx.ExtractMdl(name), -1) << name;
        EXPECT_FALSE(FileExists(gd.TempFilePath)) << name;
    }
    ASSERT_EQ(idx.ExtractMdl("tcn01_huge"), 0);
    EXPECT_EQ(Temp(), "found");
    ASSERT_EQ(idx.ExtractMdl("tcn01_empty"), 0);
    EXPECT_EQ(Temp(), "");
    EXPECT_EQ(idx.ExtractToTemp(nullptr), -1);

    // A temporary file that cannot be written.
    gd.TempFilePath = start.File("no/such/folder/MMTEMP.TGA");
    EXPECT_EQ(idx.ExtractMdl("tcn01_huge"), -1);
}

TEST_F(Archives, PreviewsAndImportReadTheTemporaryFileAndRemoveIt)
{
    BuildGame();
    RecordingPickList picks;
    gd.BifResList.LoadGameKeyFiles(picks);
    CBifResList& idx = gd.BifResList;

    RecordingImageBox box;
    EXPECT_EQ(idx.LoadMinimapImage("mi_xp1", box), 0);
    EXPECT_EQ(box.shown, Tga(16, 16, 24));
    EXPECT_EQ(box.loadedPath, gd.TempFilePath);
    EXPECT_FALSE(FileExists(gd.TempFilePath));
    RecordingImageBox untouched;
    EXPECT_EQ(idx.LoadMinimapImage("mi_nothere", untouched), -1);
    EXPECT_EQ(untouched.loads + untouched.clears, 0);

    // A picture the reader refuses: its error goes on, the temporary file goes away.
    RecordingImageBox refusing;
    refusing.failLoad = true;
    EXPECT_THROW(idx.LoadMinimapImage("mi_tcn01", refusing), std::runtime_error);
    EXPECT_FALSE(FileExists(gd.TempFilePath));

    RecordingImageBox tex;
    TextureInfo info = idx.LoadTileTexture("TCN01_GRASS", tex);
    EXPECT_EQ(info.status, 2);
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 32);
    EXPECT_EQ(info.bits, 32);
    EXPECT_FALSE(tex.stretch);
    EXPECT_EQ(tex.shown, Tga(64, 32, 32));
    EXPECT_FALSE(FileExists(gd.TempFilePath));
    EXPECT_EQ(idx.LoadTileTexture("tcn01_none", tex).status, -1);
    EXPECT_EQ(tex.loads, 1);

    RecordingSetReader reader;
    EXPECT_EQ(idx.OpenSetForImport("TTR01", reader), 0);
    EXPECT_EQ(reader.runs, 1);
    EXPECT_EQ(reader.lines, (std::vector<std::string>{"[GENERAL]\n", "Name=TTR01\n"}));
    EXPECT_FALSE(FileExists(gd.TempFilePath));
    EXPECT_EQ(idx.OpenSetForImport("tno01", reader), -1);
    EXPECT_EQ(reader.runs, 1);
}

TEST_F(Archives, TextureTooShortForAHeaderIsNotShown)
{
    gd.GameDir = game.Path();
    KeyBuilder k;
    k.AddBif("data\\t.bif");
    k.Add("tstub", ResTypeTga, 0, 0).Add("tset", ResTypeSet, 0, 1);
    game.Write("data/t.bif", BifBuilder().Add(0, ResTypeTga, "short tga").Build());
    ASSERT_EQ(gd.BifResList.ReadKeyFile(game.Write("chitin.key", k.Build())), 0);
    RecordingImageBox box;
    box.shown = "old";
    EXPECT_EQ(gd.BifResList.LoadTileTexture("tstub", box).status, -1);
    EXPECT_EQ(box.loads, 0);
    EXPECT_EQ(box.clears, 1);
    EXPECT_FALSE(FileExists(gd.TempFilePath));
    // A listed tileset whose archive lacks it: the reader is not run.
    RecordingSetReader reader;
    EXPECT_EQ(gd.BifResList.OpenSetForImport("tset", reader), -1);
    EXPECT_EQ(reader.runs, 0);
}

TEST(StartFolder, TemporaryFileAndConverterPaths)
{
    TempDir start;
    GameData gd;
    gd.SetStartFolder(start.Path());
    EXPECT_EQ(gd.StartDir, start.Path());
    EXPECT_EQ(gd.TempFilePath, start.Path() + "/MMTEMP.TGA");
    EXPECT_EQ(gd.MdlCompilerPath, "");
    start.Write("nwnmdlcomp.exe", "MZ");
    gd.SetStartFolder(start.Path());
    EXPECT_EQ(gd.MdlCompilerPath, start.Path() + "/nwnmdlcomp.exe");

    // A start folder the editor cannot write to: a folder of its own in the system's
    // temporary folder, never a fixed name there that another user could plant a link on.
    std::string privateFolder;
    {
        GameData gone;
        gone.SetStartFolder(start.File("removed"));
        privateFolder = ParentFolder(gone.TempFilePath);
        EXPECT_EQ(ParentFolder(privateFolder), WritableFolderOr(""));
        EXPECT_EQ(FileNameOf(gone.TempFilePath), "MMTEMP.TGA");
        struct stat st {};
        ASSERT_EQ(stat(privateFolder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        ASSERT_TRUE(WriteFileAtomic(gone.TempFilePath, "left by an extraction"));
        GameData other;
        other.SetStartFolder(start.File("removed"));
        EXPECT_NE(other.TempFilePath, gone.TempFilePath);
    }
    EXPECT_FALSE(IsDirectory(privateFolder));   // removed with the game data
    if (geteuid() != 0) {
        std::string ro = start.File("readonly");
        ASSERT_EQ(mkdir(ro.c_str(), 0555), 0);
        GameData locked;
        locked.SetStartFolder(ro);
        EXPECT_NE(ParentFolder(locked.TempFilePath), ro);
    }
}

} // namespace
