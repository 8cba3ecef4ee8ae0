// The Import tab's imports, run over the cases of tests/data/ui/import (its README gives the
// format): the questions and summaries, what is appended, the files copied, the views.
#include "UiTestSupport.h"

#include <filesystem>
#include <sstream>

#include "gamedata/Bifclass.h"
#include "ui/frm2.h"
#include "ui/frm5.h"

namespace {

// The texts of the items after the first n, by commas.
template <class List, class Text>
std::string Appended(const List& list, int n, Text text)
{
    std::string s;
    int i = 0;
    for (const auto& item : list)
        if (i++ >= n) s += (i > n + 1 ? "," : "") + text(item);
    return s;
}

} // namespace

TEST_F(UiTest, ImportsFollowTheirCases)
{
    KeyBuilder key;
    const uint32_t b = key.AddBif("data\\sets.bif");
    key.Add("tsz01", ResTypeSet, b, 0).Add("tsa_z", ResTypeMdl, b, 1).Add("tsa_z", ResTypeWok, b, 2).Add("mi_z", ResTypeTga, b, 3);
    dir.Write("game/chitin.key", key.Build());
    dir.Write("game/data/sets.bif", BifBuilder().Add(0, ResTypeSet, "[TILE0]\nModel=tsa_z\nImageMap2D=mi_z\n").Add(1, ResTypeMdl, "z")
        .Add(2, ResTypeWok, "w").Add(3, ResTypeTga, "t").Build());
    const char* data = std::getenv("TILVENNA_TEST_DATA");
    const std::string root = std::string(data ? data : "tests/data") + "/ui/import";
    std::string cases;
    ASSERT_TRUE(ReadWholeFile(root + "/cases.txt", cases));
    int i = 0;
    for (std::size_t at = 0, end = 0; at < cases.size(); at = end + 2) {
        end = std::min(cases.find("\n\n", at), cases.size());
        std::string expected = cases.substr(at, end - at);
        while (expected[0] == '#') expected.erase(0, expected.find('\n') + 1);
        if (expected.back() == '\n') expected.pop_back();
        const std::string rel = "m" + std::to_string(i++);
        std::istringstream head(expected);
        std::string flags, action, answers;
        head >> flags >> action >> answers;
        auto has = [&flags](char f) { return flags.find(f) != std::string::npos; };
        Restart();
        F().Button1Click();
        if (!has('n')) OpenSet(dir.Write(rel + "/rural.set", SampleSet())), dir.Write(rel + "/TSA_A01.WOK", "old");
        const std::string from = dir.File(has('s') ? rel : "src" + rel);
        std::filesystem::copy(root + "/source", from, std::filesystem::copy_options::recursive);
        TFram6& tab = *Form1->Fram61;
        if (has('a')) modals.Queue([](QDialog& d) { PickRow(d, "ListBox1", 0), Press(d, "Button1"); });
        else dialogs.QueueFile(from + "/src.set");
        (has('a') ? tab.Button9 : tab.Button1)->click();
        Form1->Options = {has('N'), has('C'), has('A'), has('D'), false, false, false, !has('g')};
        tab.CheckBox1->setChecked(!has('x'));
        tab.RadioButton7->click(), tab.Button3->click();
        if (std::tolower(action[0]) == 'g') tab.RadioButton4->click();
        if (action.size() > 1) (action[0] == 't' ? tab.ListView2 : tab.ListView3)->SelectNumber(action[1] - '0');
        for (char a : answers)
            if (a != '-') dialogs.QueueAnswer(a == 'Y' ? MsgResult::Yes : a == 'N' ? MsgResult::No : MsgResult::YesToAll);
        (std::isupper(action[0]) ? tab.Button8 : tab.Button5)->click();

        std::string shown = flags + " " + action + " " + answers + "\n", files;
        for (const auto& box : dialogs.boxes)
            shown += (box.kind == MsgKind::Information ? "i" : box.kind == MsgKind::Plain ? "=" : box.buttons == MsgButtons::YesNo ? "?" : "??") +
                     FromQt(ToQt(box.text).replace("\n", "\\n").replace(ToQt(dir.File(rel)), "@")) + "\n";
        for (const std::string& f : ListFiles(dir.File(rel)))
            if (f != "rural.set" && f != "src.set" && f != "TSA_A01.WOK") files += (files.empty() ? "" : " ") + f;
        const Tileset& t = TS();
        const int old = has('n') ? 0 : 1;
        auto name = [](const auto* e) { return e->Name; };
        shown += Appended(t.TileList, 2 * old, [](const CTile* e) { return e->Model; }) + "|" + Appended(t.GroupList, 2 * old,
            [](const CGroup* g) { return g->Name + "=" + Appended(g->Cells, 0, [](const std::string& c) { return c; }); }) + "|" +
            Appended(t.TerrainList, 3 * old, name) + "," + Appended(t.CrosserList, 0, name) + "|" + files + "|bar " +
            std::to_string(tab.ProgressBar1->maximum());
        EXPECT_EQ(shown, expected);
        EXPECT_TRUE(tab.ProgressBar1->value() == 0 && dialogs.answers.empty() && (has('n') || dir.Read(rel + "/TSA_A01.WOK") == "old"))
            << expected;
        // Every tab shows what the tileset now holds.
        for (auto [edit, n] : {std::pair{Form1->Fram41->Edit1, t.TileList.Count()}, {tab.Edit1, t.TileList.Count()}, {Form1->Fram71->Edit3,
                 t.TileList.Count()}, {Form1->Fram51->Edit1, t.GroupList.Count()}, {tab.Edit18, t.GroupList.Count()}, {Form1->Fram21->Edit3,
                 t.TerrainList.Count()}, {Form1->Fram21->Edit4, t.CrosserList.Count()}})
            EXPECT_EQ(Text(edit), std::to_string(n)) << expected << edit->objectName().toStdString();
    }
    EXPECT_EQ(i, 21) << "every case ran";
}
