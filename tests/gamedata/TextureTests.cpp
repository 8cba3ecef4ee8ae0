// Texture names in text models: collecting, replacing in place and previewing.
#include "AssetTestSupport.h"
#include "support/FileSizeLimit.h"

namespace {

class Textures : public AssetTest {};

TEST_F(Textures, CollectsBitmapNamesFromCrLfAndLfModels)
{
    const std::string body = "  bitmap tex_a@Bitmap Tex_B@bitmap tex_a@   BITMAP tex_c@bitmap NULL@node bitmap_x@"
                             "bitmap bitmap_tex@bitmap@bitmap @# no texture here@bitmap tex_last";
    for (const std::string eol : {"\r\n", "\n"}) {
        std::string model = body;
        for (auto p = model.find('@'); p != std::string::npos; p = model.find('@')) model.replace(p, 1, eol);
        set.Write("TCN01_A.MDL", model);
        StringList names{"TEX_C"};
        EXPECT_EQ(CollectMdlTextures("tcn01_a", names, true), 5) << "line end " << eol.size();
        EXPECT_EQ(names.Items(), (std::vector<std::string>{"TEX_C", "tex_a", "Tex_B", "x", "bitmap_tex", "tex_last"}))
            << "names keep their case, \"NULL\" and names already listed are left out, the word counts "
               "anywhere in a line, and the last line keeps its last letter without a line end";
    }
}

TEST_F(Textures, BinaryMissingShortAndGameTextures)
{
    StringList names;
    set.Write("bin.mdl", BinaryModel());
    EXPECT_EQ(CollectMdlTextures("bin", names, true), -1);
    EXPECT_EQ(CollectMdlTextures("absent", names, true), -2);
    set.Write("short.mdl", "ab");
    EXPECT_EQ(CollectMdlTextures("short", names, true), 0) << "too short to be binary, and no names";
    set.Write("zero.mdl", std::string(3, '\0'));
    EXPECT_EQ(CollectMdlTextures("zero", names, true), 0);
    EXPECT_TRUE(names.Empty());

    BuildArchives({{"tcn01_stone", ResTypeTga, TgaFile(8, 8, 24)}});
    set.Write("t.mdl", AsciiModel({"TCN01_STONE", "custom"}));
    EXPECT_EQ(CollectMdlTextures("t", names, false), 1);
    EXPECT_EQ(names.Items(), std::vector<std::string>{"custom"});
    EXPECT_EQ(CollectMdlTextures("t", names, true), 1);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"custom", "TCN01_STONE"}));

    // Without a tileset folder nothing is taken from the current folder.
    set.Write("tex.tga", TgaFile(8, 8, 24));
    InFolder here(set.Path());
    Game().SetDir.clear();
    EXPECT_EQ(CollectMdlTextures("t", names, true), -2);
    RecordingImageBox box;
    EXPECT_EQ(LoadTexturePreview("tex", box).status, -1);
}

TEST_F(Textures, CollectsEveryTileOnceWithOneStepPerTile)
{
    AddTile("m1", "mi1");
    AddTile("M2", "mi2");
    AddTile("m1", "mi1");
    AddTile("gone", "mi3");
    set.Write("m1.mdl", AsciiModel({"shared", "one"}));
    set.Write("m2.MDL", AsciiModel({"two", "SHARED"}, "\n"));
    RecordingProgress bar;
    StringList names;
    EXPECT_EQ(CollectAllTileTextures(&names, bar, true), 3);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"shared", "one", "two"}));
    EXPECT_EQ(bar.steps, 4);
    EXPECT_EQ(CollectAllTileTextures(nullptr, bar, true), -1);
}

TEST_F(Textures, ReplacesOnlyWholeNamesBeforeACarriageReturn)
{
    const std::string model = "newmodel x\r\n  bitmap old_tex\r\n  bitmap old_tex2\r\n  BITMAP OLD_TEX\r\n"
                              "  texture old_tex\r\n  bitmap old_tex";
    std::string path = set.Write("Tile.MDL", model);
    EXPECT_EQ(ReplaceTextureInMdl(set.File("tile.mdl"), "old_tex", "a_much_longer_texture"), 2);
    EXPECT_EQ(set.Read("Tile.MDL"),
              "newmodel x\r\n  bitmap a_much_longer_texture\r\n  bitmap old_tex2\r\n  BITMAP a_much_longer_texture\r\n"
              "  texture old_tex\r\n  bitmap old_tex");
    EXPECT_EQ(ReplaceTextureInMdl(path, "A_MUCH_LONGER_TEXTURE", "t"), 2);
    EXPECT_EQ(set.Read("Tile.MDL"),
              "newmodel x\r\n  bitmap t\r\n  bitmap old_tex2\r\n  BITMAP t\r\n  texture old_tex\r\n  bitmap old_tex");
    EXPECT_FALSE(FileExists(path + ".tmp~"));

    const std::string lf = AsciiModel({"old_tex"}, "\n");
    set.Write("lf.mdl", lf);
    EXPECT_EQ(ReplaceTextureInMdl(set.File("lf.mdl"), "old_tex", "new_tex"), 0);
    EXPECT_EQ(set.Read("lf.mdl"), lf) << "bare line feeds: nothing counts";

    set.Write("bin.mdl", BinaryModel("bitmap old_tex\r\n"));
    EXPECT_EQ(ReplaceTextureInMdl(set.File("bin.mdl"), "old_tex", "new_tex"), 0);
    EXPECT_EQ(set.Read("bin.mdl"), BinaryModel("bitmap old_tex\r\n"));
    EXPECT_EQ(ReplaceTextureInMdl(set.File("absent.mdl"), "old_tex", "new_tex"), 0);
    EXPECT_EQ(ReplaceTextureInMdl(path, "", "new_tex"), 0) << "an empty name ends and changes nothing";
    set.Write("b.mdl", "bitmap x\r");
    EXPECT_EQ(ReplaceTextureInMdl(set.File("b.mdl"), "x", "yy"), 1) << "a name right before the last byte";
    EXPECT_EQ(set.Read("b.mdl"), "bitmap yy\r");
    set.Write("c.mdl", "bitmap x");
    EXPECT_EQ(ReplaceTextureInMdl(set.File("c.mdl"), "x", "yy"), 0) << "no byte after the name";
}

TEST_F(Textures, AFailedRewriteLeavesTheModelWhole)
{
    const std::string model = "  bitmap old_tex\r\n" + std::string(4096, '#') + "\r\n";
    std::string path = set.Write("big.mdl", model);
    int n = 0;
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        n = ReplaceTextureInMdl(path, "old_tex", "new_tex");
    }
    EXPECT_EQ(n, 0);
    EXPECT_EQ(set.Read("big.mdl"), model);
    EXPECT_FALSE(FileExists(path + ".tmp~"));

    if (geteuid() != 0) {
        chmod(path.c_str(), 0444);
        EXPECT_EQ(ReplaceTextureInMdl(path, "old_tex", "new_tex"), 0) << "a read-only model is left alone";
        EXPECT_EQ(set.Read("big.mdl"), model);
    }
}

TEST_F(Textures, PreviewsFolderTgaDdsAndGameTextures)
{
    RecordingImageBox box;
    std::string big = set.Write("Big.TGA", TgaFile(256, 256, 32));
    box.stretch = false;
    TextureInfo info = LoadTexturePreview("big", box);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.width, 256);
    EXPECT_EQ(info.height, 256);
    EXPECT_EQ(info.bits, 32);
    EXPECT_TRUE(box.stretch) << "larger than 128: stretched";
    EXPECT_EQ(box.loadedPath, big);

    set.Write("small.tga", TgaFile(64, 64, 24));
    info = LoadTexturePreview("small", box);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.width, 64);
    EXPECT_FALSE(box.stretch);
    info = LoadTexturePreview("SMALL.tga", box);
    EXPECT_EQ(info.status, 0) << "a name with its extension is found in the folder";
    EXPECT_EQ(info.bits, 24);

    set.Write("tex.dds", "DDS ");
    set.Write("both.dds", "DDS "), set.Write("both.tga", TgaFile(8, 8, 24));
    int clears = box.clears;
    info = LoadTexturePreview("tex", box);
    EXPECT_EQ(info.status, 1);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(box.clears, clears + 1);
    EXPECT_EQ(LoadTexturePreview("both.dds", box).status, 1) << "a .dds name skips the TGA";

    set.Write("cut.tga", std::string(10, 'x'));
    int loads = box.loads;
    info = LoadTexturePreview("cut", box);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(box.loads, loads) << "a file shorter than its header is not shown";

    BuildArchives({{"tcn01_game", ResTypeTga, TgaFile(32, 16, 24)}});
    box.stretch = true;
    info = LoadTexturePreview("tcn01_game", box);
    EXPECT_EQ(info.status, 2);
    EXPECT_EQ(info.width, 32);
    EXPECT_EQ(info.height, 16);
    EXPECT_FALSE(box.stretch);
    EXPECT_EQ(box.shown, TgaFile(32, 16, 24));
    EXPECT_EQ(LoadTexturePreview("tcn01_game.tga", box).status, -1) << "the archives are asked for the name as given";
    clears = box.clears;
    EXPECT_EQ(LoadTexturePreview("nowhere", box).status, -1);
    EXPECT_EQ(box.clears, clears + 1);
}

TEST_F(Textures, ListsAssetFilesSorted)
{
    set.Write("b.WOK", ""), set.Write("a.mdl", ""), set.Write("C.Tga", ""), set.Write("d.dds", "");
    set.Write("e.txt", ""), set.Write("ga", ""), set.Write("xmdl", "");
    StringList list{"kept"};
    EXPECT_EQ(ListAssetFiles(set.Path(), &list), 0);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"kept", "a.mdl", "b.WOK", "C.Tga", "d.dds", "xmdl"}));
    EXPECT_EQ(ListAssetFiles(set.File("none"), &list), -1);
    EXPECT_EQ(ListAssetFiles(set.Path(), nullptr), -1);
}

}  // namespace
