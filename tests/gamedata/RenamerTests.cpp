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

}  // namespace
