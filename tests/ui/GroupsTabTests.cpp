// The Groups tab: members checked against Rows x Columns, the StrRef's text, the filter,
// and deleting a group with its member tiles.
#include "UiTestSupport.h"

#include "support/TilesetBuilder.h"
#include "ui/frm5.h"

class GroupsTab : public UiTest {
protected:
    // A new tileset of six tiles t0 to t5 and the groups given (name, rows, columns, cells).
    void Build(std::vector<std::tuple<std::string, int, int, StringList>> groups)
    {
        NewTileset();
        for (int i = 0; i < 6; ++i) AddTile(TS().TileList, "t" + std::to_string(i));
        for (auto& [name, rows, columns, cells] : groups) {
            CGroup* g = AddGroup(TS().GroupList, name, cells);
            g->Rows = rows, g->Columns = columns;
        }
        Views().FillTiles();
        Views().FillGroups();
    }
};

TEST_F(GroupsTab, MembersMustFillRowsTimesColumnsExactly)
{
    TFram5& g = *Form1->Fram51;
    // Members added at 2 x 2 (-1: "< NULL"), then Name, Rows, Columns; the boxes shown; the
    // cells of the group added ("" when none is).
    const std::tuple<std::vector<int>, const char*, const char*, const char*, std::string, std::string> cases[] = {
        {{0, 1, 2}, "G", "2", "2", "Number of tiles too low", ""},
        {{0, 1, 2, 3}, "G", "1", "2", "Too much tiles !", ""},
        {{0, -1}, "", "1", "2", "Group need a name !", ""},
        {{0, 1, 2, -1, 4}, "G", "2", "2", "Maximum tiles", "0 1 2 -1"},
        {{5, -1}, "G", "2", "1", "", "5 -1"},
        // 65536 x 65536 wraps to 0 in 32 bits, which no members would have matched.
        {{}, "G", "65536", "65536", "Number of tiles too low", ""},
    };
    for (auto& [members, name, rows, columns, boxes, cells] : cases) {
        Build({});
        dialogs.Clear();
        g.LabeledEdit3->setText("2"), g.LabeledEdit4->setText("2");
        for (int m : members) m < 0 ? g.Button5Click() : (g.ListView2->SelectNumber(m), g.Button4Click());
        g.LabeledEdit1->setText(name), g.LabeledEdit3->setText(rows), g.LabeledEdit4->setText(columns);
        g.Button1Click();
        EXPECT_EQ(dialogs.Texts().empty() ? "" : dialogs.Texts()[0], boxes) << name << rows << "x" << columns;
        const CGroup* added = TS().GroupList.Head();
        EXPECT_EQ(added ? Join(added->Cells.Items()) : "", cells);
        EXPECT_EQ(FromQt(g.Label1->text()), added ? "Group # 0" : "No selection");
    }
}

TEST_F(GroupsTab, CopyKeepsUnknownKeysSaveRenamesTheRowAndStrRefShowsItsText)
{
    TFram5& g = *Form1->Fram51;
    Build({{"Shore", 1, 1, {"3"}}});
    TS().GroupList.Head()->UnknownKeys = {"Future=1"};
    ASSERT_TRUE(g.ListView1->SelectNumber(0));
    EXPECT_EQ(Join(g.ListView3->Numbers()) + " " + TListView::Text(g.ListView3->Row(0), 1), "3 t3");
    g.LabeledEdit1->setText("Coast");
    g.Button1Click();
    EXPECT_EQ(TS().GroupList.At(1)->UnknownKeys, KeyLines{"Future=1"});
    EXPECT_EQ(TListView::Text(g.ListView1->SelectedRow(), 1), "Coast");
    g.LabeledEdit1->setText("Cliff");
    g.Button2Click();
    EXPECT_EQ(TS().GroupList.At(1)->Name + TListView::Text(g.ListView1->Row(1), 1) +
                  TListView::Text(Form1->Fram61->ListView4->Row(1), 1), "CliffCliffCliff");

    // The StrRef box as typed or as a file had it; the talk table holds 1 to 12.
    const std::pair<const char*, const char*> strrefs[] = {
        {"2", "text 2"}, {"13", "Bad strref"}, {"", "Bad strref"}, {"-", "Bad strref"}, {"12a", "Bad strref"}};
    for (auto [typed, shown] : strrefs) {
        g.LabeledEdit2->setText(typed);
        EXPECT_EQ(Text(g.Edit2), shown) << typed;
    }
}

TEST_F(GroupsTab, FilterKeepsTheGroupsThatPassAndClearShowsAll)
{
    TFram5& g = *Form1->Fram51;
    // 4 x 1073741825 wraps to 4 in 32 bits.
    Build({{"Road", 2, 2, {"0", "1", "2", "3"}}, {"river", 1, 4, {"4", "-1", "-1", "-1"}}, {"Rock", 1, 1, {"-1"}},
           {"Huge", 4, 1073741825, {"5"}}});
    TS().TileList.At(4)->Model = "Water";
    // Name first letters, a tile member's first letters, tiles in group; the rows shown.
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"", "", "-1", "0 1 2 3/4"}, {"r", "", "-1", "0 1 2/3"}, {"", "", "4", "0 1/2"},
        {"", "wAT", "-1", "1/1"},    {"RO", "", "0", "0 2/2"},   {"ro", "t", "1", "/0"},
    };
    for (auto [name, member, size, rows] : cases) {
        g.LabeledEdit5->setText(name), g.LabeledEdit6->setText(member), g.LabeledEdit7->setText(size);
        g.Button8Click();
        EXPECT_EQ(Join(g.ListView1->Numbers()) + "/" + Text(g.Edit1), rows) << name << "/" << member << "/" << size;
    }
    // Filtered by "r", a group deleted without its tiles leaves the filtered list.
    g.LabeledEdit5->setText("r"), g.LabeledEdit6->clear(), g.LabeledEdit7->setText("-1");
    g.Button8Click();
    ASSERT_TRUE(g.ListView1->SelectNumber(2));
    dialogs.QueueAnswer(MsgResult::No);
    g.Button3Click();
    EXPECT_EQ(Join(g.ListView1->Numbers()), "0 1");
    g.Button9Click();
    EXPECT_EQ(Join(g.ListView1->Numbers()) + Text(g.LabeledEdit7), "0 1 2-1");
    g.ListView1ColumnClick(g.ListView1, 1);
    EXPECT_EQ(Join(g.ListView1->Numbers()), "2 1 0") << "Huge, river, Road";
}

TEST_F(GroupsTab, DeletingAGroupWithItsTilesKeepsTheOtherCellsOnTheirTiles)
{
    TFram5& g = *Form1->Fram51;
    // The deleted group's cells, the answer; the tiles left, the other group's cells
    // (5 2 3 -1 before), the groups left, the boxes after the question.
    const std::tuple<StringList, MsgResult, const char*, const char*, int, std::string> cases[] = {
        {{"4", "2", "-1"}, MsgResult::Yes, "t0 t1 t3 t5", "3 -1 2 -1", 1, ""},
        {{"1", "1"}, MsgResult::Yes, "t0 t2 t3 t4 t5", "4 1 2 -1", 1, ""},
        {{"4", "2", "-1"}, MsgResult::No, "t0 t1 t2 t3 t4 t5", "5 2 3 -1", 1, ""},
        {{"99", "0", "-7"}, MsgResult::Yes, "t1 t2 t3 t4 t5", "4 1 2 -1", 1, ""},
        {{"4", "x", "2"}, MsgResult::Yes, "t0 t1 t2 t3 t4 t5", "5 2 3 -1", 2,
         "Group #0 holds the cell \"x\", which is no tile number: its cells could not follow the tiles.\n"
         "Nothing was deleted."},
        {{"0", "1", "2", "3", "4", "5"}, MsgResult::Yes, "", "-1 -1 -1 -1", 1, ""},
    };
    for (auto& [cells, answer, tiles, other, groups, box] : cases) {
        Build({{"Doomed", 1, 1, cells}, {"Other", 2, 2, {"5", "2", "3", "-1"}}});
        dialogs.Clear();
        ASSERT_TRUE(g.ListView1->SelectNumber(0));
        dialogs.QueueAnswer(answer);
        g.Button3Click();
        std::vector<std::string> boxes{"Do you want to delete Tiles members from tiles list ?"};
        if (!box.empty()) boxes.push_back(box);
        EXPECT_EQ(dialogs.Texts(), boxes);
        std::vector<std::string> models;
        for (const CTile* t : TS().TileList) models.push_back(t->Model);
        EXPECT_EQ(Join(models), tiles);
        EXPECT_EQ(Join(TS().GroupList.Tail()->Cells.Items()), other) << tiles;
        // The views show what is left: the tiles in both tabs, the groups.
        const std::string n = std::to_string(models.size());
        EXPECT_EQ(Text(Form1->Fram41->Edit1) + std::to_string(g.ListView2->RowCount()) + Text(g.Edit1),
                  n + n + std::to_string(groups));
        EXPECT_EQ(TS().GroupList.Count(), groups);
    }
}
