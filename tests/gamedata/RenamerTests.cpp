// The prefix renamer refreshes the tile views (its cases lie under tests/data/gamedata).
#include "AssetTestSupport.h"

namespace {

class CountingViews : public ModelViews {
public:
    void FillTiles() override { ++fills; }
    int fills = 0;
};

class Renamer : public AssetTest {
protected:
    void SetUp() override { SetModelViews(&views); }
    void TearDown() override { SetModelViews(nullptr); }

    CountingViews views;
};

TEST_F(Renamer, TileViewsAreRefilledOnceWhenThereAreTiles)
{
    set.Write("tcn01_a.mdl", "newmodel tcn01_a\r\n");
    EXPECT_EQ(RenameFilesPrefix("tcn01", "ab", false, false, widgets, widgets), 1);
    EXPECT_EQ(views.fills, 0) << "no tile to ask";
    AddTile("ab_a", "mi");
    EXPECT_EQ(RenameFilesPrefix("ab", "cd", false, false, widgets, widgets), 1);
    EXPECT_EQ(views.fills, 1);
    EXPECT_EQ(TS().TileList.At(0)->Model, "cd_a");
}

}  // namespace
