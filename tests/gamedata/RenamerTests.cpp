// The prefix renamer refreshes the tile views (its cases lie under tests/data/gamedata).
#include "AssetTestSupport.h"
#include "support/RecordingViews.h"

namespace {

class Renamer : public AssetTest {
protected:
    void SetUp() override { SetModelViews(&views); }
    void TearDown() override { SetModelViews(nullptr); }

    RecordingViews views;
};

TEST_F(Renamer, TileViewsAreRefilledOnceWhenThereAreTiles)
{
    set.Write("tcn01_a.mdl", "newmodel tcn01_a\r\n");
    EXPECT_EQ(RenameFilesPrefix("tcn01", "ab", false, false, widgets, widgets), 1);
    EXPECT_TRUE(views.calls.empty()) << "no tile to ask";
    AddTile("ab_a", "mi");
    EXPECT_EQ(RenameFilesPrefix("ab", "cd", false, false, widgets, widgets), 1);
    EXPECT_EQ(views.calls, std::vector<std::string>{"FillTiles"});
    EXPECT_EQ(TS().TileList.At(0)->Model, "cd_a");
}

// Textures the run renames are followed by every text model of the folder, its own prefix
// or another, whatever the "bitmap" box says; a texture only the game has changes only in
// the renamed models, and only when the box lets the run change "bitmap" lines.
TEST_F(Renamer, ModelsFollowTheTexturesTheRunRenames)
{
    struct Case {
        bool everywhere;
        const char* prefixModel;   // trx01_a01_01.mdl afterwards
        std::vector<std::string> log;
    };
    const std::string dashes(42, '-');
    const Case cases[] = {
        {false, "newmodel trx01_a01_01\r\n  bitmap trx01_tex\r\n  bitmap trc01_game\r\n",
         {"trx01_a01_01.mdl ---> 1 bitmap line changed", "zzz01_a01_01.mdl ---> 1 bitmap line changed"}},
        {true, "newmodel trx01_a01_01\r\n  bitmap trx01_tex\r\n  bitmap trx01_game\r\n",
         {"zzz01_a01_01.mdl ---> 1 bitmap line changed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.everywhere ? "bitmap lines not skipped" : "bitmap lines skipped");
        for (const std::string& f : SetFiles()) std::filesystem::remove(set.File(f));
        set.Write("trc01_a01_01.mdl", "newmodel trc01_a01_01\r\n  bitmap trc01_tex\r\n  bitmap trc01_game\r\n");
        set.Write("zzz01_a01_01.mdl", "newmodel zzz01_a01_01\n  bitmap TRC01_TEX\n  bitmap trc01_game\n");
        set.Write("trc01_tex.tga", "texture");
        widgets.log.clear();

        EXPECT_EQ(RenameFilesPrefix("trc01", "trx01", c.everywhere, true, widgets, widgets), 2);
        EXPECT_EQ(SetFiles(), (std::vector<std::string>{"trx01_a01_01.mdl", "trx01_tex.tga", "zzz01_a01_01.mdl"}));
        EXPECT_EQ(set.Read("trx01_a01_01.mdl"), c.prefixModel);
        EXPECT_EQ(set.Read("zzz01_a01_01.mdl"), "newmodel zzz01_a01_01\n  bitmap trx01_tex\n  bitmap trc01_game\n");
        // Every texture a model names lies in the folder, or only the game has it.
        for (const char* model : {"trx01_a01_01", "zzz01_a01_01"}) {
            StringList names;
            EXPECT_EQ(CollectMdlTextures(model, names, true), 2);
            for (const std::string& name : names)
                EXPECT_TRUE(name.ends_with("_game") || FileExists(set.File(name + ".tga"))) << model << " names " << name;
        }
        std::vector<std::string> tail;
        for (const std::string& line : c.log) tail.insert(tail.end(), {line, dashes});
        tail.push_back("pos 0");
        ASSERT_GE(widgets.log.size(), tail.size());
        EXPECT_EQ(std::vector<std::string>(widgets.log.end() - std::ptrdiff_t(tail.size()), widgets.log.end()), tail);
    }
}

}  // namespace
