// The Tiles tab's display filter box as a user drives it, and the filter run into another
// tab's list.
#include "UiTestSupport.h"

#include "support/TilesetBuilder.h"

class TileFilterTab : public UiTest {
protected:
    TFram4& T() { return *Form1->Fram41; }

    // Six tiles; crossers on the odd ones, corner TopLeft high on the odd ones too; one
    // group of tiles 0 to 2.
    void SetUp() override
    {
        UiTest::SetUp();
        F().Button1Click();
        BuildTileset({3, 2, 0, 6, 1});
        Views().FillTiles();
        ASSERT_TRUE(T().ListView1->SelectNumber(1));
    }
    std::string Rows(const TListView* view)
    {
        std::string s;
        for (int n : view->Numbers()) s += std::to_string(n) + " ";
        return s + "= " + Text(T().Edit1);
    }
    std::string Labels()
    {
        std::string s;
        for (QLabel* l : {T().Label3, T().Label7, T().Label10}) s += FromQt(l->text()) + (l->isEnabled() ? "," : "-,");
        return s;
    }
};

TEST_F(TileFilterTab, EnableApplySwitchesAndClear)
{
    TFram4& f = T();
    EXPECT_FALSE(f.Button5->isEnabled());
    f.CheckBox4->click();
    EXPECT_TRUE(f.FilterActive && f.Button5->isEnabled() && f.ComboBox13->isEnabled());
    EXPECT_EQ(Rows(f.ListView1), "0 1 2 3 4 5 = 6") << "enabling does not filter yet";

    f.Button5->click();
    EXPECT_EQ(Rows(f.ListView1), "3 4 5 = 3") << "only tiles no group uses";
    EXPECT_EQ(FromQt(f.Label1->text()), "No selection");
    f.LabeledEdit11->setText("BIG01_A4");
    EXPECT_EQ(Rows(f.ListView1), "4 = 1") << "typing filters";

    f.CheckBox10->click();
    EXPECT_TRUE(f.CheckBox12->isVisibleTo(&f));
    EXPECT_EQ(Labels(), "Top Left,THIS,BUT NOT,");
    f.CheckBox12->click();
    EXPECT_EQ(Labels(), "Top Left,THIS,BUT NOT-,");
    f.CheckBox11->click();
    EXPECT_FALSE(f.CheckBox10->isChecked() || f.CheckBox10->isEnabled() || f.CheckBox12->isChecked());
    EXPECT_FALSE(f.CheckBox12->isVisibleTo(&f) || f.ComboBox13->isEnabled());
    EXPECT_EQ(Labels(), "Top Left,Top-,Left-,");
    f.CheckBox5->click();
    EXPECT_EQ(Labels(), "THIS,Top-,Left-,");

    // No crosser, members or not: the even tiles. A height that is no number means any.
    f.RadioButton3->click();
    f.Edit9->setText("x");
    f.LabeledEdit11->setText("big01_a");
    EXPECT_EQ(Rows(f.ListView1), "0 2 4 = 3");
    f.Edit9->setText("1");
    f.Button5->click();
    EXPECT_EQ(Rows(f.ListView1), "= 0");
    EXPECT_TRUE(dialogs.boxes.empty());

    f.CheckBox4->click();
    EXPECT_FALSE(f.FilterActive || f.Button5->isEnabled());
    EXPECT_EQ(Rows(f.ListView1), "0 1 2 3 4 5 = 6");
    f.CheckBox4->click();
    EXPECT_FALSE(f.ComboBox13->isEnabled()) << "No Crosser still holds the crosser boxes off";

    f.Button7->click();
    EXPECT_EQ(Labels(), "Top Left,Top,Left,");
    EXPECT_TRUE(f.ComboBox13->isEnabled() && f.CheckBox10->isEnabled() && f.RadioButton3->isChecked());
    EXPECT_FALSE(f.CheckBox5->isChecked() || f.CheckBox11->isChecked() || f.LabeledEdit11->text() != "");
    EXPECT_EQ(Text(f.Edit9) + Text(f.LabeledEdit6), "-1-1");
    EXPECT_EQ(Rows(f.ListView1), "0 1 2 3 4 5 = 6");
}

TEST_F(TileFilterTab, FilteringAnotherListLeavesTheTilesTabAlone)
{
    TFram4& f = T();
    TListView other(nullptr, "ListView1", {{"Tiles #", 45}, {"Model", 104}});
    QLineEdit count;
    f.LabeledEdit6->setText("2");
    EXPECT_EQ(f.FilterTileList(&other, &count), 3);
    EXPECT_EQ(Rows(&other), "3 4 5 = 6");
    EXPECT_EQ(Text(&count), "3");
    EXPECT_FALSE(f.FilterActive);
    EXPECT_EQ(Rows(f.ListView1), "0 1 2 3 4 5 = 6");
    EXPECT_EQ(FromQt(f.Label1->text()) + " " + Text(f.LabeledEdit1), "Tile # 1 big01_a1") << "the editor keeps its tile";
    f.LabeledEdit6->setText("0");
    EXPECT_EQ(f.FilterTileList(&other, nullptr), 0);
}
