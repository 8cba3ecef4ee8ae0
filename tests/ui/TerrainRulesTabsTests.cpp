// The Terrain / Crosser tab (add, apply, rename everywhere, delete, StrRef texts) and the
// Rules tab (add, save, delete, filter, sorting).
#include "UiTestSupport.h"

#include <QKeyEvent>
#include <cstring>
#include <functional>

#include "ui/frm2.h"
#include "ui/frm3.h"

namespace {
// rural.set with a crosser on tile 0's top edge, twelve primary rules placing Grass, sand,
// Water and grass in turn with heights 0 and 1, and two secondary rules placing Sand and
// Grass.
std::string RuleSet()
{
    std::string set = SampleSet();
    std::string add = "[CROSSER0]\nName=Road\nStrRef=abc\n\n";
    const char* placed[] = {"Grass", "sand", "Water", "grass"};
    for (int i = 0; i < 12; ++i)
        add += "[PRIMARY RULE" + std::to_string(i) + "]\nPlaced=" + placed[i % 4] + "\nPlacedHeight=" +
               std::to_string(i % 2) + "\nAdjacent=Water\nAdjacentHeight=0\nChanged=Grass\nChangedHeight=1\n\n";
    for (int i = 0; const char* s : {"Sand", "Grass"})
        add += "[SECONDARY RULE" + std::to_string(i++) + "]\nPlaced=" + s + "\nPlacedHeight=0\nAdjacent=" + s +
               "\nAdjacentHeight=0\nChanged=Grass\nChangedHeight=0\n\n";
    set.insert(set.find("[TILES]"), add);
    for (auto [index, count] : {std::pair{"CROSSER TYPES]\r\nCount=", "1"}, {"PRIMARY RULES]\r\nCount=", "12"},
             {"SECONDARY RULES]\r\nCount=", "2"}})
        set.replace(set.find(index) + std::strlen(index), 1, count);
    return set.replace(set.find("Top=\r\n"), 6, "Top=Road\r\n");
}

// The numbers of a view's rows in display order, or one column's texts.
std::string Rows(const TListView* v, int column = 0) { return Column(v, column, ","); }

std::string RuleText(const CRules* r)
{
    return r->Placed + r->PlacedHeight + r->Adjacent + r->AdjacentHeight + r->Changed + r->ChangedHeight;
}
}

class TabsTest : public UiTest {
protected:
    TFram2& T() { return *Form1->Fram21; }
    TFram3& R() { return *Form1->Fram31; }
    void Edit(QLineEdit* name, QLineEdit* strref, QLineEdit* unlocalized, const char* n, const char* s, const char* u)
    {
        name->setText(n), strref->setText(s), unlocalized->setText(u);
    }
};

TEST_F(TabsTest, TerrainsAndCrossersAreAddedChangedAndDeletedAndANewTilesetSaves)
{
    F().Button1Click();
    struct Side {
        QListWidget* list;
        QLineEdit *count, *name, *strref, *unlocalized;
        QPushButton *add, *apply, *remove;
        std::function<const CNamedType*(int)> at;
        std::vector<QComboBox*> pickLists;
    };
    const Side sides[] = {
        {T().ListBox1, T().Edit3, T().LabeledEdit1, T().LabeledEdit2, T().LabeledEdit7, T().Button1, T().Button2,
         T().Button3, [](int i) { return TS().TerrainList.At(i); },
         {F().BorderCombo, F().DefaultCombo, F().FloorCombo, R().ComboBox1, R().ComboBox2, R().ComboBox3}},
        {T().ListBox2, T().Edit4, T().LabeledEdit3, T().LabeledEdit4, T().LabeledEdit8, T().Button4, T().Button5,
         T().Button6, [](int i) { return TS().CrosserList.At(i); }, {}},
    };
    for (const Side& s : sides) {
        s.add->click(); // no name: nothing
        for (const char* name : {"Grass", "Grass", "Sand"}) {
            Edit(s.name, s.strref, s.unlocalized, name, "1", "typed");
            s.add->click();
        }
        EXPECT_EQ(Text(s.count), "3");
        EXPECT_EQ(Text(s.name) + Text(s.strref), "") << "a refill empties the editor";
        EXPECT_EQ(s.at(0)->StrRef + s.at(1)->Name + s.at(1)->UnlocalizedName, "1Grass")
            << "Add takes no unlocalized name";
        for (QComboBox* c : s.pickLists) EXPECT_EQ(Items(c, ","), "Grass,Grass,Sand") << c->objectName().toStdString();

        // Apply needs a name and a row; an unchanged name asks nothing.
        s.name->setText("Lawn");
        s.apply->click();
        s.list->setCurrentRow(2);
        EXPECT_EQ(Text(s.name) + Text(s.strref), "Sand1");
        Edit(s.name, s.strref, s.unlocalized, "Sand", "7", "Dune");
        s.apply->click();
        EXPECT_EQ(s.at(2)->Name + s.at(2)->StrRef + s.at(2)->UnlocalizedName, "Sand7Dune");

        // Delete needs a row; the last one empties every view of the kind.
        s.remove->click();
        for (int left : {2, 1, 0}) {
            s.list->setCurrentRow(0);
            s.remove->click();
            EXPECT_EQ(s.list->count(), left);
            EXPECT_EQ(Text(s.count), std::to_string(left));
        }
        EXPECT_EQ(Text(s.name), "");
        for (QComboBox* c : s.pickLists) EXPECT_EQ(c->count(), 0) << c->objectName().toStdString();
    }
    EXPECT_TRUE(dialogs.boxes.empty());

    // A tileset started with New gets its terrains and saves.
    Edit(T().LabeledEdit1, T().LabeledEdit2, T().LabeledEdit7, "Grass", "", "");
    T().Button1->click();
    for (QLineEdit* e : {F().NameEdit, F().TypeEdit, F().VersionEdit, F().EnvMapEdit, F().TransitionEdit,
                         F().UnlocalEdit})
        e->setText("x");
    for (QComboBox* c : {F().BorderCombo, F().DefaultCombo, F().FloorCombo}) c->setEditText("grass");
    dialogs.QueueFile(dir.File("new.set"));
    F().Button2->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_NE(dir.Read("new.set").find("[TERRAIN0]\r\nName=Grass\r\n\r\n"), std::string::npos);
}

TEST_F(TabsTest, ARenameReachesTilesBothRuleListsAndTheGeneralSettingsAndTheFileSaves)
{
    OpenSet(dir.Write("rules.set", RuleSet()));
    // Apply with a new name and Yes: four corners, eighteen primary rule fields (six of them
    // written "grass") and four secondary ones, and the Border; the StrRef and Unlocalized
    // Name typed stay.
    T().ListBox1->setCurrentRow(0);
    Edit(T().LabeledEdit1, T().LabeledEdit2, T().LabeledEdit7, "Lawn", "2", "Green");
    dialogs.QueueAnswer(MsgResult::Yes);
    T().Button2->click();
    ASSERT_EQ(dialogs.Texts(), (std::vector<std::string>{
                                   "Do you want to rename all references to\n this terrain in Rules and Tiles list ?",
                                   "27 changements done."}));
    const CTerrain* grass = TS().TerrainList.At(0);
    EXPECT_EQ(grass->Name + grass->StrRef + grass->UnlocalizedName, "Lawn2Green");
    EXPECT_EQ(TS().TileList.At(1)->TopRight, "Lawn");
    EXPECT_EQ(RuleText(TS().PrimaryRuleList.At(1)) + RuleText(TS().SecondaryRuleList.At(0)),
              "sand1Water0Lawn1Sand0Sand0Lawn0");
    EXPECT_EQ(Rows(R().ListView1, 5), "Lawn,Lawn,Lawn,Lawn,Lawn,Lawn,Lawn,Lawn,Lawn,Lawn,Lawn,Lawn");
    EXPECT_EQ(FromQt(F().BorderCombo->currentText()) + Text(F().NameEdit), "LawnRural");
    EXPECT_EQ(Items(F().FloorCombo, ","), "Lawn,Water,Sand");
    dialogs.Clear();
    dialogs.QueueFile(dir.File("saved.set"));
    F().Button2->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_NE(dir.Read("saved.set").find("Border=Lawn\r\n"), std::string::npos);

    // No renames the entry alone; a crosser's question names the tiles only.
    T().ListBox1->setCurrentRow(0);
    T().LabeledEdit1->setText("Turf");
    dialogs.QueueAnswer(MsgResult::No);
    T().Button2->click();
    EXPECT_EQ(TS().TerrainList.At(0)->Name + TS().TileList.At(0)->TopLeft, "TurfLawn");
    T().ListBox2->setCurrentRow(0);
    T().LabeledEdit3->setText("Path");
    dialogs.QueueAnswer(MsgResult::Yes);
    T().Button5->click();
    EXPECT_EQ(dialogs.boxes.back().text, "1 changements done.");
    EXPECT_EQ(TS().TileList.At(0)->Top + Text(T().Edit4), "Path1");

    // The mass renamer: "Change" offers what the tiles use, "To" the listed names.
    const std::tuple<QRadioButton*, const char*, const char*, const char*, const char*> renames[] = {
        {T().RadioButton2, "Path", "Path", "Trail", "1 occurences found and changed."},
        {T().RadioButton1, "Lawn,Water", "Turf,Water,Sand", "Turf", "27 occurences found and changed."},
        {T().RadioButton1, "Turf,Water", "Turf,Water,Sand", "", "27 occurences found and changed."},
    };
    for (auto [mode, from, to, newName, result] : renames) {
        mode->click();
        T().ComboBox1Enter(T().ComboBox1);
        T().ComboBox1Enter(T().ComboBox2);
        EXPECT_EQ(Items(T().ComboBox1, ",") + "|" + Items(T().ComboBox2, ","), std::string(from) + "|" + to);
        T().ComboBox1->setEditText(T().ComboBox1->itemText(0));
        T().ComboBox2->setEditText(newName);
        T().Button7->click();
        EXPECT_EQ(FromQt(T().Label3->text()), result) << newName;
    }
    EXPECT_EQ(TS().TileList.At(0)->Top + TS().PrimaryRuleList.At(3)->Placed + TS().SecondaryRuleList.At(1)->Changed,
              "TrailTurfTurf");
}

TEST_F(TabsTest, StrRefTextsShowTheTalkTableOrBadStrref)
{
    OpenSet(dir.Write("rules.set", RuleSet()));
    T().ListBox2->setCurrentRow(0);
    EXPECT_EQ(Text(T().Edit2), "Bad strref") << "a file's StrRef that is no number";
    const std::pair<const char*, const char*> cases[] = {
        {"12", "text 12"}, {"-", "Bad strref"}, {"", "Bad strref"}, {"1x", "Bad strref"}, {"13", "Bad strref"}};
    for (auto [strref, shown] : cases) {
        T().LabeledEdit2->setText(strref);
        EXPECT_EQ(Text(T().Edit1), shown) << strref;
    }
    // Typing: digits only.
    EXPECT_EQ(Typed(T().LabeledEdit4, "4-a2") + " " + Text(T().Edit2), "42 Bad strref");
}

TEST_F(TabsTest, RulesAreAddedSavedAndDeletedInTheListTheyCameFrom)
{
    OpenSet(dir.Write("rules.set", RuleSet()));
    TFram3& r = R();
    // Shown from a primary row, then "Secondary" shown with no row selected there: Save and
    // Delete change no rule, not even the one the editor came from.
    r.ListView1->SelectNumber(1);
    EXPECT_EQ(FromQt(r.Label1->text()) + Text(r.Edit1) + Text(r.Edit3), "Rule # 111");
    EXPECT_TRUE(r.Button2->isEnabled() && r.Button3->isEnabled());
    r.RadioButton2->setChecked(true);
    EXPECT_TRUE(r.Panel1->isHidden() && !r.Panel2->isHidden());
    r.ComboBox1->setEditText("Water");
    r.Button2Click(), r.Button3Click();
    EXPECT_EQ(RuleText(TS().PrimaryRuleList.At(1)) + Rows(r.ListView2), "sand1Water0Grass10,1");
    r.ListView2->SelectNumber(0);
    r.ComboBox1->setEditText("Water");
    r.Button2->click();
    EXPECT_EQ(RuleText(TS().SecondaryRuleList.At(0)), "Water0Sand0Grass0");
    EXPECT_FALSE(r.Button2->isEnabled());

    // Save changes nothing without the three names, and says which is missing, or without
    // the rule's row; Delete needs a row of the shown view.
    r.ListView2->SelectNumber(1);
    r.ComboBox3->setEditText("");
    r.Button2Click();
    r.ListView2->clearSelection();
    r.ComboBox3->setEditText("Sand");
    r.Button2Click();
    r.Button3Click();
    EXPECT_EQ(RuleText(TS().SecondaryRuleList.At(1)) + Rows(r.ListView2), "Grass0Grass0Grass00,1");
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Rule not saved, no name given for :\n   Changed for"});

    // Add goes to the shown list under the next number; Delete closes the gap.
    r.Button1Click();
    r.ListView2->SelectNumber(0);
    r.Button3->click();
    EXPECT_EQ(Rows(r.ListView2) + " " + Rows(r.ListView2, 1) + " " + Rows(r.ListView2, 5),
              "0,1 Grass,Grass Grass,Sand");
    EXPECT_EQ(r.ListView1->RowCount(), 12);

    // The popup offers "&Delete" only on a selected primary row.
    r.RadioButton1->setChecked(true);
    r.PopupMenu1Popup();
    EXPECT_FALSE(r.Delete1->isVisible());
    r.ListView1->SelectNumber(11);
    r.PopupMenu1Popup();
    EXPECT_TRUE(r.Delete1->isVisible());
    r.Delete1->trigger();
    EXPECT_EQ(TS().PrimaryRuleList.Count(), 11);
}

TEST_F(TabsTest, TheFilterNarrowsTheShownRulesAndTheColumnsSort)
{
    OpenSet(dir.Write("rules.set", RuleSet()));
    TFram3& r = R();
    EXPECT_FALSE(r.ComboBox4->isEnabled());
    r.ComboBox4->setEditText("Grass");
    r.CheckBox7->setChecked(true);
    EXPECT_EQ(Rows(r.ListView1), "0,4,8") << "exact names; rows keep their numbers";
    OpenSet(dir.File("rules.set"));
    EXPECT_EQ(Rows(r.ListView1), "0,4,8") << "opened again, the filter that is on applies";
    r.Edit4->setText("1");
    r.Button4->click();
    EXPECT_EQ(Rows(r.ListView1), "");
    r.Button5->click();
    EXPECT_EQ(Text(r.Edit4) + FromQt(r.ComboBox4->currentText()) + " " + Rows(r.ListView1), "-1 ");
    r.ComboBox5->setEditText("Water");
    r.Edit6->setText("1");
    r.Button4->click();
    EXPECT_EQ(r.ListView1->RowCount(), 12);
    EXPECT_EQ(r.ListView2->RowCount(), 2) << "the other view is left alone";

    // While filtering, a change re-runs the filter.
    r.ComboBox4->setEditText("sand");
    r.ComboBox1->setEditText("sand"), r.ComboBox2->setEditText("Water"), r.ComboBox3->setEditText("Grass");
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier); // the height's arrow key, in its read-only edit
    QApplication::sendEvent(r.Edit3, &up);
    r.Button1Click();
    EXPECT_EQ(Rows(r.ListView1), "1,5,9,12");
    // A saved rule the filter no longer keeps leaves the view.
    r.ListView1->SelectNumber(5);
    r.ComboBox1->setEditText("Water");
    r.Button2->click();
    EXPECT_EQ(Rows(r.ListView1), "1,9,12");
    r.CheckBox7->setChecked(false);
    EXPECT_EQ(r.ListView1->RowCount(), 13);
    EXPECT_FALSE(r.Button4->isEnabled());

    // Sorting: the Placed texts ignoring case, then the numbers again past 9.
    r.ListView1->OnColumnClick(1);
    EXPECT_EQ(Rows(r.ListView1, 1), "Grass,grass,Grass,grass,Grass,grass,sand,sand,sand,Water,Water,Water,Water");
    r.ListView1->OnColumnClick(0);
    EXPECT_EQ(Rows(r.ListView1), "0,1,2,3,4,5,6,7,8,9,10,11,12");
    r.RadioButton2->setChecked(true);
    r.ListView2->OnColumnClick(1);
    EXPECT_EQ(Rows(r.ListView2, 1), "Grass,Sand");
}
