// What the cases under tests/data/gamedata cannot show of the archive index: resource IDs
// with bits above the index, and the temporary file's folder.
#include <sys/stat.h>

#include "AssetTestSupport.h"

namespace {

TEST_F(AssetTest, ResourceIndicesTakeTheLowFourteenBitsOnly)
{
    Game().GameDir = game.Path();
    KeyBuilder k;
    for (int i = 0; i < 6; ++i) k.AddBif("data\\bif" + std::to_string(i) + ".bif");
    k.AddKey("tcn01_high", ResTypeMdl, 5u << 20 | 0x3Fu << 14 | 0x3ABC);   // bits 14 to 19 are no index
    k.AddKey("tcn01_8192", ResTypeMdl, 5u << 20 | 0x2000);
    game.Write("chitin.key", k.Build());
    game.Write("Data/BIF5.bif", BifBuilder().Add(5u << 20 | 0x0ABC, ResTypeMdl, "other index")
                                    .Add(5u << 20 | 0x3ABC, ResTypeMdl, "index 15036").Add(0x2000, ResTypeMdl, "index 8192").Build());
    Game().BifResList.LoadGameKeyFiles(widgets);
    EXPECT_EQ(Game().BifResList.MdlEntries().At(0)->BifIndex, 5);
    for (auto [name, data] : {std::pair{"tcn01_high", "index 15036"}, {"tcn01_8192", "index 8192"}}) {
        EXPECT_EQ(Game().BifResList.ExtractMdl(name), 0) << name;
        EXPECT_EQ(start.Read("MMTEMP.TGA"), data);
    }
    EXPECT_EQ(Game().BifResList.ExtractToTemp(nullptr), -1);
}

TEST(StartFolder, AnUnwritableOneGetsAPrivateTemporaryFolder)
{
    // Never a fixed name in the system's temporary folder, where another user could plant
    // a link; the folder goes with the game data.
    TempDir start;
    std::string own;
    {
        GameData gone, other;
        gone.SetStartFolder(start.File("removed"));
        other.SetStartFolder(start.File("removed"));
        own = ParentFolder(gone.TempFilePath);
        EXPECT_EQ(FileNameOf(gone.TempFilePath), "MMTEMP.TGA");
        EXPECT_EQ(ParentFolder(own), WritableFolderOr(""));
        EXPECT_NE(ParentFolder(other.TempFilePath), own);
        struct stat st {};
        ASSERT_EQ(stat(own.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        ASSERT_TRUE(WriteFileAtomic(gone.TempFilePath, "left by an extraction"));
    }
    EXPECT_FALSE(IsDirectory(own));
}

}  // namespace
