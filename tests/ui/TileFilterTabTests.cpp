// The Tiles tab's display filter: run into another tab's list, and its box as a user drives it.
#include "UiTestSupport.h"

#include "support/TilesetBuilder.h"

static std::string rows(const TListView* view, const QLineEdit* count)
{
    return Join(view->Numbers()) + " = " + FromQt(count->text());
}

// Label3, Label7, then whether "All instances of", "only" (shown), ComboBox13, ComboBox14 are on.
static std::string modes(const TFram4& f)
{
    std::string s = FromQt(f.Label3->text() + "," + f.Label7->text() + ",");
    for (bool on : {f.CheckBox10->isEnabled(), f.CheckBox12->isVisibleTo(&f), f.ComboBox13->isEnabled(),
                    f.ComboBox14->isEnabled()})
        s += on ? "1" : "0";
    return s;
}

TEST_F(UiTest, TileDisplayFilter)
{
    // Six tiles with two doors each, crossers and a high TopLeft on the odd ones; one group
    // of tiles 0 to 2; tile 1 shown.
    F().Button1Click();
    BuildTileset({3, 2, 0, 6, 1});
    Views().FillTiles();
    TFram4& f = *Form1->Fram41;
    ASSERT_TRUE(f.ListView1->SelectNumber(1));
    TListView other(nullptr, "ListView1", {{"Tiles #", 45}, {"Model", 104}});
    QLineEdit count;
    f.LabeledEdit6->setText("2");
    EXPECT_EQ(f.FilterTileList(&other, &count), 3);
    EXPECT_EQ(rows(&other, &count) + " " + rows(f.ListView1, f.Edit1), "3 4 5 = 3 0 1 2 3 4 5 = 6");
    EXPECT_EQ(FromQt(f.Label1->text() + f.LabeledEdit1->text()) + (f.FilterActive ? " active" : ""), "Tile # 1big01_a1")
        << "the Tiles tab stays";

    f.CheckBox4->click();
    EXPECT_EQ(rows(f.ListView1, f.Edit1), "0 1 2 3 4 5 = 6") << "enabling does not filter yet";
    f.Button5->click();
    EXPECT_EQ(rows(f.ListView1, f.Edit1) + FromQt(f.Label1->text()), "3 4 5 = 3No selection");
    f.CheckBox10->click(), f.CheckBox12->click();
    EXPECT_EQ(modes(f), "Top Left,THIS,1110");
    f.CheckBox11->click();
    f.CheckBox5->click(), f.RadioButton3->click(), f.Edit9->setText("x");
    f.LabeledEdit11->setText("big01_a");
    EXPECT_EQ(rows(f.ListView1, f.Edit1), "0 2 4 = 3") << "no crosser, members or not; a height not a number is any";

    f.CheckBox4->click();
    EXPECT_FALSE(f.FilterActive || f.Button5->isEnabled() || rows(f.ListView1, f.Edit1) != "0 1 2 3 4 5 = 6");
    f.CheckBox4->click();
    EXPECT_EQ(modes(f), "THIS,Top,0000") << "No Crosser still holds the crosser boxes off";
    f.Button7->click();
    EXPECT_EQ(modes(f) + FromQt(f.Edit9->text() + f.LabeledEdit6->text()), "Top Left,Top,1011-1-1");
    EXPECT_EQ(rows(f.ListView1, f.Edit1), "0 1 2 3 4 5 = 6");
    EXPECT_TRUE(f.RadioButton3->isChecked() && f.FilterActive && dialogs.boxes.empty()) << "kept; no box shown";
}
