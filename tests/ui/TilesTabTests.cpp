// The Tiles tab: the editor stores every field, refuses an incomplete tile, works on the
// doors a tile really holds, sorts, adds and copies, and fits its popup to the list.
#include "UiTestSupport.h"

#include <functional>

#include "support/TilesetBuilder.h"
#include "ui/frm5.h"

namespace {

// The doors as the tile keeps them: count, strings, and the first unknown key of each door.
std::string doorsOf(const CTile& t)
{
    std::string s = std::to_string(t.Doors) + (t.DoorList ? ":" : ":none");
    for (const std::string& d : t.DoorList ? *t.DoorList : StringList()) s += d + ",";
    for (const KeyLines& k : t.UnknownDoorKeys) s += " " + (k.empty() ? std::string("-") : k[0]);
    return s;
}

} // namespace

class TilesTab : public UiTest {
protected:
    TFram4& T() { return *Form1->Fram41; }

    // A new tileset of three terrains, two crossers and four tiles with two doors each,
    // shown in the tab.
    void SetUp() override
    {
        UiTest::SetUp();
        F().Button1Click();
        BuildTileset({3, 2, 0, 4, 0});
        Refill();
    }
    void Refill()
    {
        Views().FillTerrains();
        Views().FillCrossers();
        Views().FillTiles();
    }
    CTile& Tile(int n) { return *TS().TileList.At(n); }
    void Select(int n) { ASSERT_TRUE(T().ListView1->SelectNumber(n)); }
    std::string Rows()
    {
        std::string s;
        for (int i = 0; i < T().ListView1->RowCount(); ++i) {
            const QTreeWidgetItem* row = T().ListView1->Row(i);
            s += FromQt(row->text(0)) + "=" + FromQt(row->text(1)) + (row->isSelected() ? "* " : " ");
        }
        return s;
    }
    // "Current/Total", the door box on or off, "new" when New can be pressed, the fields.
    std::string DoorView()
    {
        TFram4& f = T();
        std::string s = Text(f.Edit17) + "/" + Text(f.Edit18) + (f.Button8->isEnabled() ? " on" : " off") +
                        (f.Button6->isEnabled() ? " new " : " ");
        for (QLineEdit* e : std::initializer_list<QLineEdit*>{f.LabeledEdit10, f.Edit13, f.Edit14, f.Edit15, f.Edit16})
            s += Text(e) + ",";
        return s;
    }
};

TEST_F(TilesTab, SaveChangeStoresEveryFieldAndKeepsTheListAsItIs)
{
    TFram4& f = T();
    // Sorted by Model with tile 0 last; tile 2 has a walkmesh of its own, as every tile of
    // some tilesets has.
    Tile(0).Model = "zz";
    Tile(2).WalkMesh = "wm02";
    Tile(2).UnknownKeys = {"Future=1"};
    // Tile 3, shown first, differs from tile 2 in every field the editor shows.
    Tile(3).SourceLight1 = Tile(3).SourceLight2 = Tile(3).AnimLoop2 = 1;
    Tile(3).PathNode = "B", Tile(3).DoorVisibilityNode = "DV", Tile(3).DoorVisibilityOrientation = "180";
    Refill();
    f.ListView1ColumnClick(1);
    for (QComboBox* c : {f.ComboBox1, f.ComboBox12, f.ComboBox5, f.ComboBox16})
        EXPECT_EQ(c->count(), c == f.ComboBox1 || c == f.ComboBox12 ? 3 : 2) << "terrain and crosser names";

    using Edit = std::function<void()>;
    using Field = std::function<std::string(const CTile&)>;
    auto flag = [](uint8_t v) { return std::to_string(v); };
    const std::tuple<Edit, Field, std::string> cases[] = {
        {[&] { f.LabeledEdit1->setText("new01"); }, [](auto& t) { return t.Model; }, "new01"},
        {[&] { f.ComboBox1->setEditText("Terrain0"); }, [](auto& t) { return t.TopLeft; }, "Terrain0"},
        {[&] { f.ComboBox2->setCurrentIndex(1); }, [](auto& t) { return t.TopRight; }, "Terrain1"},
        {[&] { f.ComboBox3->setEditText("Lava"); }, [](auto& t) { return t.BottomLeft; }, "Lava"},
        {[&] { f.ComboBox4->setEditText("Terrain1"); }, [](auto& t) { return t.BottomRight; }, "Terrain1"},
        {[&] { f.UpDown1->StepUp(); }, [&](auto& t) { return flag(t.TopLeftHeight); }, "1"},
        {[&] { f.UpDown2->StepDown(); }, [&](auto& t) { return flag(t.TopRightHeight); }, "0"},
        {[&] { f.UpDown3->StepUp(); }, [&](auto& t) { return flag(t.BottomLeftHeight); }, "1"},
        {[&] { f.UpDown4->StepUp(); }, [&](auto& t) { return flag(t.BottomRightHeight); }, "1"},
        {[&] { f.ComboBox5->setCurrentIndex(0); }, [](auto& t) { return t.Top; }, "Crosser0"},
        {[&] { f.ComboBox6->setEditText("Crosser1"); }, [](auto& t) { return t.Right; }, "Crosser1"},
        {[&] { f.ComboBox7->setEditText("Road"); }, [](auto& t) { return t.Bottom; }, "Road"},
        {[&] { f.ComboBox8->setEditText("Crosser0"); }, [](auto& t) { return t.Left; }, "Crosser0"},
        {[&] { f.ComboBox18->setCurrentIndex(26); }, [](auto& t) { return t.PathNode; }, "a"},
        {[&] { f.UpDown5->StepUp(); }, [](auto& t) { return t.Orientation; }, "180"},
        {[&] { f.LabeledEdit4->setText("V"); }, [](auto& t) { return t.VisibilityNode; }, "V"},
        {[&] { f.Edit7->setText("270"); }, [](auto& t) { return t.VisibilityOrientation; }, "270"},
        {[&] { f.LabeledEdit5->setText("D"); }, [](auto& t) { return t.DoorVisibilityNode; }, "D"},
        {[&] { f.UpDown7->StepUp(); }, [](auto& t) { return t.DoorVisibilityOrientation; }, "90"},
        {[&] { f.ComboBox17->setEditText("mi_new"); }, [](auto& t) { return t.ImageMap2D; }, "mi_new"},
        {[&] { f.CheckBox6->click(); }, [&](auto& t) { return flag(t.MainLight1); }, "1"},
        {[&] { f.CheckBox7->click(); }, [&](auto& t) { return flag(t.MainLight2); }, "0"},
        {[&] { f.CheckBox8->click(); }, [&](auto& t) { return flag(t.SourceLight1); }, "1"},
        {[&] { f.CheckBox9->click(); }, [&](auto& t) { return flag(t.SourceLight2); }, "1"},
        {[&] { f.CheckBox1->click(); }, [&](auto& t) { return flag(t.AnimLoop1); }, "0"},
        {[&] { f.CheckBox2->click(); }, [&](auto& t) { return flag(t.AnimLoop2); }, "1"},
        {[&] { f.CheckBox3->click(); }, [&](auto& t) { return flag(t.AnimLoop3); }, "1"},
    };
    for (int n : {3, 2}) {
        Select(n);
        CTile shown;
        f.ReadFromFrame(shown);
        for (auto& [edit, field, expected] : cases) EXPECT_EQ(field(shown), field(Tile(n))) << n << ": " << expected;
        EXPECT_EQ(Text(f.LabeledEdit2), Tile(n).WalkMesh) << "the tile's own walkmesh, also an empty one";
    }
    for (auto& [edit, field, expected] : cases) {
        EXPECT_NE(field(Tile(2)), expected);
        edit();
    }
    f.Button4->click();
    for (auto& [edit, field, expected] : cases) EXPECT_EQ(field(Tile(2)), expected);
    EXPECT_EQ(Tile(2).WalkMesh, "wm02") << "not shown as editable, so never changed";
    EXPECT_EQ(std::to_string(Tile(2).Sounds) + doorsOf(Tile(2)) + Tile(2).UnknownKeys[0],
              "12:1,0.0,-5.0,0.0,90.0,1,5.0,0.0,0.0,2,Future=1") << "sounds, doors and other keys stay";
    EXPECT_EQ(Rows(), "1=big01_a1 2=new01* 3=big01_a3 0=zz ") << "the row changes in place";
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(TilesTab, AnIncompleteTileIsNeitherStoredNorAdded)
{
    TFram4& f = T();
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { f.LabeledEdit1->clear(); }, "Need a model"},
        {[&] { f.ComboBox4->setEditText(""); }, "All terrains not specified"},
        {[&] { f.ComboBox18->setCurrentIndex(-1); }, "Need a path node"},
        {[&] { f.Edit6->clear(); }, "Need an orientation for path node"},
        {[&] { f.LabeledEdit4->setText("V"), f.Edit7->clear(); }, "Need an orientation for visibility node"},
        {[&] { f.LabeledEdit5->setText("D"), f.Edit8->clear(); }, "Need an orientation for door node"},
    };
    for (auto& [edit, message] : cases) {
        Select(3);
        Select(1);
        f.LabeledEdit1->setText("changed");
        edit();
        f.Button4->click();
        f.Button2->click();
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(2, message));
        EXPECT_EQ(Tile(1).Model + std::to_string(TS().TileList.Count()), "big01_a14");
        dialogs.Clear();
    }
}

TEST_F(TilesTab, DoorsAreTheOnesATileReallyHolds)
{
    TFram4& f = T();
    // Tile 0 declares three doors but holds one; tile 1 holds three but declares one, the
    // second and third with keys of another tool; tile 3 holds four.
    Tile(0).Doors = 3;
    Tile(0).DoorList->Delete(9), Tile(0).DoorList->Delete(8), Tile(0).DoorList->Delete(7);
    Tile(0).DoorList->Delete(6), Tile(0).DoorList->Delete(5);
    Tile(1).Doors = 1;
    Tile(1).DoorList = std::make_unique<StringList>(StringList{"1", "1", "1", "1", "1", "2", "2", "2", "2", "2",
                                                               "3", "3", "3", "3", "3"});
    Tile(1).UnknownDoorKeys = {{"K1=x"}, {"K2=x"}, {"K3=x"}};
    for (int i = 0; i < 10; ++i) Tile(3).DoorList->Add("x");
    Tile(3).Doors = 4;

    Select(0);
    EXPECT_EQ(DoorView(), "1/1 on new 1,0.0,-5.0,0.0,90.0,");
    f.ListView1->clearSelection();
    f.Button9Click();
    EXPECT_EQ(doorsOf(Tile(0)), "3:1,0.0,-5.0,0.0,90.0,") << "no tile selected: nothing to delete";
    Select(0);
    f.Edit13->setText("4.5");
    f.Button8->click();
    EXPECT_EQ(doorsOf(Tile(0)), "1:1,4.5,-5.0,0.0,90.0,") << "saved door 1; Doors is what the tile holds";

    // A new door starts from the fields on show; deleting it before it is saved gives it up.
    f.Button6->click();
    EXPECT_EQ(DoorView(), "2/2 on 1,4.5,-5.0,0.0,90.0,");
    f.Button9->click();
    EXPECT_EQ(DoorView(), "1/1 on new 1,4.5,-5.0,0.0,90.0,");
    EXPECT_EQ(doorsOf(Tile(0)), "1:1,4.5,-5.0,0.0,90.0,");
    f.Button6->click();
    f.LabeledEdit10->setText("8");
    f.Button8->click();
    EXPECT_EQ(doorsOf(Tile(0)), "2:1,4.5,-5.0,0.0,90.0,8,4.5,-5.0,0.0,90.0,");
    f.UpDown8->StepDown();
    EXPECT_EQ(DoorView(), "1/2 on new 1,4.5,-5.0,0.0,90.0,");
    f.Button9->click();
    EXPECT_EQ(DoorView(), "1/1 on new 8,4.5,-5.0,0.0,90.0,");
    f.Button9->click();
    EXPECT_EQ(doorsOf(Tile(0)), "0:none");
    EXPECT_EQ(DoorView().substr(0, 9), "0/0 off n") << "no door: the box is off, New stays";

    // Tile 1 shows its one declared door; a new one becomes door 2, before the doors past
    // the count, which stay. Deleting a door takes its keys with it; those past the count
    // keep the door list when the last counted door goes.
    Select(1);
    EXPECT_EQ(DoorView(), "1/1 on new 1,1,1,1,1,");
    f.Button6->click();
    f.LabeledEdit10->setText("9");
    f.Button8->click();
    EXPECT_EQ(doorsOf(Tile(1)), "2:1,1,1,1,1,9,1,1,1,1,2,2,2,2,2,3,3,3,3,3, K1=x - K2=x K3=x");
    f.UpDown8->StepDown();
    f.Button9->click();
    f.Button9->click();
    EXPECT_EQ(doorsOf(Tile(1)), "0:2,2,2,2,2,3,3,3,3,3, K2=x K3=x");
    EXPECT_EQ(DoorView().substr(0, 9), "0/0 off n");

    // Four doors are as many as a tile takes: no fifth.
    Select(3);
    EXPECT_EQ(DoorView(), "1/4 on 1,0.0,-5.0,0.0,90.0,");
    f.Button6Click();
    EXPECT_EQ(DoorView(), "1/4 on 1,0.0,-5.0,0.0,90.0,");
    EXPECT_FALSE(f.NewDoorPending);
    EXPECT_EQ(doorsOf(Tile(3)), "4:1,0.0,-5.0,0.0,90.0,1,5.0,0.0,0.0,3,x,x,x,x,x,x,x,x,x,x,");
}

TEST_F(TilesTab, ListsSortByNumberOrModelAndAddCopiesTheEditor)
{
    TFram4& f = T();
    for (int i = 4; i < 11; ++i) AddTile(TS().TileList, i % 2 ? "B" + std::to_string(i) : "a" + std::to_string(i));
    Tile(1).UnknownKeys = {"Future=1"};
    Tile(1).WalkMesh = "rina_wm";
    Refill();
    f.ListView1ColumnClick(1);
    EXPECT_EQ(T().ListView1->Numbers(), (std::vector<int>{10, 4, 6, 8, 5, 7, 9, 0, 1, 2, 3}));
    f.ListView1ColumnClick(0);
    EXPECT_EQ(T().ListView1->Numbers(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    // A copy of tile 1 takes what the editor shows but no door.
    Select(1);
    f.Copythistile1->trigger();
    ASSERT_EQ(TS().TileList.Count(), 12);
    const CTile& copy = Tile(11);
    EXPECT_EQ(copy.Model + copy.WalkMesh + copy.TopRight + copy.Top + copy.UnknownKeys[0] + doorsOf(copy),
              "big01_a1rina_wmTerrain2Crosser1Future=10:none");
    EXPECT_EQ(T().ListView1->SelectedNumber(), 11);
    EXPECT_EQ(FromQt(f.Label1->text()) + Text(f.Edit1), "Tile # 1112");

    // Cleared, the editor makes a tile of its own.
    f.Button1->click();
    EXPECT_EQ(FromQt(f.Label1->text()) + Text(f.LabeledEdit2) + DoorView(), "No selectionmsb010/ off new ,,,,,");
    f.LabeledEdit1->setText("fresh");
    for (QComboBox* c : {f.ComboBox1, f.ComboBox2, f.ComboBox3, f.ComboBox4}) c->setCurrentIndex(0);
    f.ComboBox18->setCurrentIndex(0);
    f.Button2->click();
    EXPECT_EQ(Tile(12).Model + Tile(12).WalkMesh + Tile(12).BottomRight + Tile(12).PathNode + Tile(12).Orientation,
              "freshmsb01Terrain0A0");
    EXPECT_TRUE(Tile(12).UnknownKeys.empty());
}

TEST_F(TilesTab, PopupShowsWhatFitsTheList)
{
    TFram4& f = T();
    auto shown = [&] {
        f.PopupMenu1Popup();
        std::string s;
        for (QAction* a : f.PopupMenu1->actions())
            if (a->isVisible()) s += a->objectName().toStdString() + " ";
        return s;
    };
    EXPECT_EQ(shown(), "DeleteAll1 ");
    Select(0);
    EXPECT_EQ(shown(), "Copythistile1 Delete1 DeleteAll1 Seetextures1 ");
    // A refill from another tab drops the selection: nothing left to save or delete.
    Views().FillTiles();
    EXPECT_EQ(FromQt(f.Label1->text()) + std::to_string(f.Button3->isEnabled()) + std::to_string(f.Button4->isEnabled()),
              "No selection00");
    NewTileset();
    EXPECT_EQ(shown(), "");
}

TEST_F(TilesTab, APathNodeThatIsNoLetterIsKeptAndNodeAndDoorFieldsFilterKeys)
{
    TFram4& f = T();
    Tile(1).PathNode = "Q9";
    Tile(2).PathNode = "a";
    Select(1);
    EXPECT_EQ(FromQt(f.ComboBox18->currentText()), "Q9");
    f.Button4->click();
    EXPECT_EQ(Tile(1).PathNode, "Q9");
    Select(2);
    EXPECT_EQ(f.ComboBox18->currentIndex(), 26);
    EXPECT_EQ(f.ComboBox18->count(), 31) << "the other tile's own node is gone";
    Select(1);
    f.ComboBox18->setCurrentIndex(1);
    f.Button4->click();
    EXPECT_EQ(Tile(1).PathNode, "B");

    // Tab goes from the crossers through the minimap name to the path node.
    std::string order;
    for (QWidget* w = f.ComboBox8; order.size() < 30; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty()) order += FromQt(w->objectName()) + " ";
    EXPECT_EQ(order.substr(0, 32), "ComboBox8 ComboBox17 ComboBox18 ");

    // Typed keys: the other nodes take one character but no digit, the door fields numbers.
    const std::tuple<QLineEdit*, const char*, const char*> typed[] = {{f.LabeledEdit4, "1b2", "b"},
        {f.LabeledEdit5, "9-x", "-"}, {f.LabeledEdit10, "1-a.2", "12"}, {f.Edit13, "-1.a5", "-1.5"},
        {f.Edit16, "x90", "90"}};
    for (auto [edit, keys, shown] : typed) EXPECT_EQ(Typed(edit, keys), shown) << edit->objectName().toStdString();
}

// Open and New start from nothing: no editor keeps an entry of the last tileset for Add/Copy,
// and the display filters that are on apply to what is read (the Tiles tab's at Open only).
TEST_F(UiTest, NothingOfTheLastTilesetStaysInTheEditorsAfterOpenOrNew)
{
    TFram4& t = *Form1->Fram41;
    TFram5& g = *Form1->Fram51;
    const std::string path = dir.Write("rural.set", SampleSet());
    for (bool open : {true, false}) {
        OpenSet(path);
        t.CheckBox4->setChecked(open), t.RadioButton3->setChecked(true), t.LabeledEdit11->setText("trl01_a02");
        g.LabeledEdit5->setText("co"), g.Button8->click(), t.ListView1->SelectNumber(1), g.ListView1->SelectNumber(1);
        open ? OpenSet(path) : F().Button1Click();
        t.Button2Click(), g.Button1Click(); // Add/Copy: nothing to add
        EXPECT_EQ(FromQt(t.Label1->text() + t.LabeledEdit1->text() + t.ComboBox17->currentText() + "|" + g.Label1->text() +
                         g.LabeledEdit1->text() + (t.Button4->isEnabled() || g.Button2->isEnabled() ? " on" : "")),
                  "No selection|No selection");
        EXPECT_EQ(t.ListView1->Numbers().size() + g.ListView1->Numbers().size() + TS().TileList.Count() + TS().GroupList.Count(),
                  open ? 6u : 0u) << "the rows kept by the filters, and the entries read";
        t.CheckBox4->setChecked(false), g.Button9->click();
    }
}
