// The Import tab: a source tileset opened from disk or out of the game archives, its lists,
// panels and information, the display filters and the sorting of both lists.
#include "UiTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <functional>

#include "gamedata/Bifclass.h"
#include "model/Globfun.h"
#include "platform/Text.h"
#include "support/TgaBuilder.h"
#include "support/TilesetBuilder.h"
#include "ui/SetBifOpen.h"

namespace {

// A source tileset: its [GENERAL] keys (no section when empty), then one section per
// terrain or crosser name and per tile or group body; grass and a rule that are skipped.
std::string Source(const std::string& general, const std::vector<std::string>& terrains,
                   const std::vector<std::string>& crossers, const std::vector<std::string>& tiles,
                   const std::vector<std::string>& groups)
{
    std::string s = general.empty() ? "" : "[GENERAL]\n" + general + "\n\n";
    s += "[GRASS]\nGrass=1\n\n[PRIMARY RULES]\nCount=1\n\n[PRIMARY RULE0]\nPlaced=Rock\n\n";
    auto sections = [&s](const char* header, const std::vector<std::string>& bodies, const char* key) {
        for (std::size_t i = 0; i < bodies.size(); ++i)
            s += "[" + std::string(header) + std::to_string(i) + "]\n" + key + bodies[i] + "\n\n";
    };
    sections("TERRAIN", terrains, "Name=");
    sections("CROSSER", crossers, "Name=");
    sections("TILE", tiles, "");
    sections("GROUP", groups, "");
    return s;
}

// Five tiles, of which only tsa_d01 is in no group, and three groups; Brook holds a cell of
// a hand-made file that is no number.
const std::string Full = Source("Name=SRC01\nDisplayName=-1\nUnlocalizedName=Source One", {"Grass", "Water"},
    {"Road"},
    {"Model=tsa_b02\nTopLeft=Grass\nTopLeftHeight=1\nTopRight=Water\nTop=Road\nDoors=1\nImageMap2D=mi_src\n"
     "[TILE0DOOR0]\nType=1\nX=0.0\nY=-5.0\nZ=0.0\nOrientation=90.0",
        "Model=TSA_a10", "Model=tsa_c01", "Model=x", "Model=tsa_d01\nImageMap2D=mi_stock"},
    {"Name=Bridge\nStrRef=5\nRows=1\nColumns=2\nTile0=1\nTile1=2", "Name=arch\nStrRef=abc\nRows=1\nColumns=1\nTile0=3",
        "Name=Brook\nRows=2\nColumns=2\nTile0=abc\nTile1=0\nTile2=-1\nTile3=9"});

} // namespace

class ImportTab : public UiTest {
protected:
    TFram6& I() { return *Form1->Fram61; }

    std::string OpenSource(const std::string& name, const std::string& text)
    {
        const std::string path = dir.Write(name, text);
        dialogs.QueueFile(path);
        I().Button1->click();
        return path;
    }

    // The panels on show, the list on show and its count.
    std::string Shown()
    {
        std::string s;
        for (QGroupBox* b : {I().GroupBox3, I().GroupBox4, I().GroupBox5, I().GroupBox6})
            if (!b->isHidden()) s += b->objectName().toStdString() + " ";
        const TListView* list = I().ListView2->isHidden() ? I().ListView3 : I().ListView2;
        return s + list->objectName().toStdString() + ":" + Column(list) + " #" + Text(I().Edit3);
    }
};

TEST_F(ImportTab, ASourceFromDiskFillsTheTabAndAFailedOrBareOneNeverShowsAnEarlierOne)
{
    OpenSet(dir.Write("main/rural.set", SampleSet()));
    EXPECT_EQ(Text(I().LabeledEdit3), dir.File("main/rural.set")) << "Open names the edited tileset here";
    TS().TileList.At(1)->Model = "renamed";
    Form1->Views().TileModelChanged(1);
    EXPECT_EQ(TListView::Text(I().ListView1->Row(1), 1), "renamed") << "a tile saved in the Tiles tab";
    dialogs.QueueFile(std::nullopt);
    I().Button1->click();
    EXPECT_FALSE(I().Button2->isEnabled()) << "a cancelled open changes nothing";

    const std::string path = OpenSource("src/full.set", Full);
    EXPECT_EQ(Text(I().LabeledEdit2) + "|" + I().ImportSetDir + "|" + Text(I().LabeledEdit1),
        path + "|" + dir.File("src") + "|Source One");
    EXPECT_EQ(Items(I().ComboBox4) + "|" + Items(I().ComboBox8), "Grass Water|Road");
    EXPECT_EQ(Shown(), "GroupBox3 ListView2:4 #1") << "at first only the tiles no source group uses";
    EXPECT_EQ(Column(I().ListView3) + " " + std::to_string(I().ShownGroupCount), "0 1 2 -1");
    EXPECT_EQ(TS().TileList.Count(), 2) << "the edited tileset keeps its own tiles";
    EXPECT_TRUE(I().GroupBox2->isEnabled() && I().Button2->isEnabled() && I().RadioButton4->isEnabled());
    EXPECT_FALSE(I().CheckBox6->isEnabled()) << "no model converter";

    dialogs.QueueFile(dir.File("nowhere.set"));
    I().Button1->click();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Error on opening Set File"});
    EXPECT_EQ(Text(I().LabeledEdit2) + " " + Column(I().ListView3), path + " 0 1 2") << "the source stays";

    // A source without [GENERAL], terrains, crossers or groups after the full one.
    OpenSource("src/full.set", Full);
    I().ComboBox1->setEditText("Grass");
    OpenSource("bare.set", Source("", {}, {}, {"Model=bare01"}, {}));
    EXPECT_EQ(Text(I().LabeledEdit1) + Items(I().ComboBox1) + "|" + Items(I().ComboBox5) + Column(I().ListView3), "|");
    EXPECT_EQ(FromQt(I().ComboBox1->currentText()), "Grass") << "the filter's own text is a setting";
    EXPECT_EQ(TS().ImportTerrains.Count() + TS().ImportGroups.Count(), 0);

    // The name a [GENERAL] gives, from the talk table or the names.
    const std::pair<const char*, const char*> names[] = {{"DisplayName=-1\nUnlocalizedName=Foo", "Foo"},
        {"DisplayName=5\nUnlocalizedName=Foo", "text 5"}, {"DisplayName=63000", "Bad strref"},
        {"DisplayName=abc", "Bad strref"}, {"UnlocalizedName=Foo\nName=N", "Foo"}, {"Name=N", "N"},
        {"Name=N\n\n[GENERAL]\nName=Second", "Second"}};
    for (auto [general, shown] : names) {
        OpenSource("named.set", Source(general, {}, {}, {}, {}));
        EXPECT_EQ(Text(I().LabeledEdit1), shown) << general;
    }
    // No conversion error on the way; the source with [GENERAL] twice says which Name it kept.
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_NE(dialogs.Texts()[1].find("line 5: Name is given twice in [GENERAL]; the later value, Second, is kept"),
              std::string::npos)
        << dialogs.Texts()[1];

    I().Button2->click();
    EXPECT_EQ(Text(I().LabeledEdit1) + Text(I().LabeledEdit2) + Column(I().ListView2) + Text(I().Edit3), "");
    EXPECT_FALSE(I().GroupBox2->isEnabled() || I().Button2->isEnabled() || I().RadioButton3->isEnabled());
}

TEST_F(ImportTab, AStockTilesetComesOutOfTheArchivesAndItsMarkerIsNoFolder)
{
    // A stock tileset in the archives, a name the archives list but cannot give, and a
    // minimap; read at the next start.
    KeyBuilder key;
    const uint32_t b = key.AddBif("data\\Sets.bif");
    key.Add("tsa01", ResTypeSet, b, 0).Add("tsb01", ResTypeSet, b, 7).Add("mi_stock", ResTypeTga, b, 1);
    dir.Write("game/chitin.key", key.Build());
    dir.Write("game/data/sets.bif",
        BifBuilder().Add(0, ResTypeSet, Full).Add(1, ResTypeTga, TgaHeader(2, 1, 1, 24) + "abc").Build());
    Restart();
    auto pick = [this](int row) {
        modals.Queue([row](QDialog& d) { PickRow(d, "ListBox1", row), Press(d, "Button1"); });
        I().Button9->click();
    };
    // Cancel before any source: the empty tile list.
    modals.Queue([](QDialog& d) { Press(d, "Button2"); });
    I().Button9->click();
    EXPECT_EQ(Shown(), "GroupBox4 ListView2: #0");

    pick(0);
    EXPECT_EQ(Text(I().LabeledEdit2) + "|" + I().ImportSetDir, "NWNBIF : tsa01.set|NWNBIF");
    EXPECT_TRUE(I().RadioButton3->isChecked() && !I().GroupBox3->isHidden());
    EXPECT_EQ(Form2->ListBox1->count(), 2) << "shown twice, listed once";

    // Listed but not in its archive: the same warning as a file, and the source stays.
    pick(1);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Error on opening Set File"});
    EXPECT_EQ(Text(I().LabeledEdit2) + "|" + std::to_string(TS().ImportTiles.Count()), "NWNBIF : tsa01.set|5");

    // A folder named like the marker is never looked in: the minimaps come from the
    // archives, or are not found.
    dir.Write("start/NWNBIF/mi_src.tga", TgaHeader(2, 1, 1, 24) + "abc");
    I().RadioButton7->click();
    I().Button3->click();
    for (auto [tile, label] : {std::pair{0, "TGA not found"}, {4, "TGA from NWN"}}) {
        I().ListView2->SelectNumber(tile);
        EXPECT_EQ(FromQt(I().Label1->text()), label) << tile;
        EXPECT_EQ(I().Image1->Image().isNull(), tile == 0);
    }
    I().CurrentSetDir = dir.Path();
    EXPECT_FALSE(I().SourceInCurrentSetFolder());
    I().Button2->click(), pick(1);
    EXPECT_EQ(Text(I().Edit3), "0") << "a closed source's count is not shown";
}

TEST_F(ImportTab, ASourceCutShortSaysSoAsOpenDoes)
{
    // A real-sized tileset of 16 tiles, cut after its eighth, from disk and from the archives.
    F().Button1Click();
    BuildTileset({3, 2, 4, 16, 4});
    std::string cut = SetFileText();
    cut.resize(cut.find("[TILE8]"));
    KeyBuilder key;
    key.Add("tcut01", ResTypeSet, key.AddBif("data\\Sets.bif"), 0);
    dir.Write("game/chitin.key", key.Build());
    dir.Write("game/data/sets.bif", BifBuilder().Add(0, ResTypeSet, cut).Build());
    Restart();

    const std::string path = OpenSource("src/cut.set", cut);
    modals.Queue([](QDialog& d) { PickRow(d, "ListBox1", 0), Press(d, "Button1"); });
    I().Button9->click();
    // The Count line follows the [TILES] header.
    const long count = std::count(cut.begin(), cut.begin() + long(cut.find("[TILES]")), '\n') + 2;
    const std::string found = Format(" could be read as written:\n\nline %ld: [TILES] Count=16, but the file holds 8 "
                                     "tile sections", count);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    const std::string names[] = {path, "NWNBIF : tcut01.set"};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(dialogs.boxes[i].kind, MsgKind::Warning);
        EXPECT_EQ(dialogs.boxes[i].text, "Not everything in " + names[i] + found);
    }
    EXPECT_EQ(TS().ImportTiles.Count(), 8) << "read as far as it goes";

    // A whole source says nothing.
    dialogs.Clear();
    OpenSource("src/full.set", Full);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ImportTab, TheSourceFolderIsComparedAsAFolder)
{
    std::filesystem::create_directory_symlink(dir.File("a"), dir.File("link"));
    OpenSet(dir.Write("a/rural.set", SampleSet()));
    const std::pair<const char*, bool> sources[] = {
        {"a/src.set", true}, {"a/../a/./src.set", true}, {"link/src.set", true}, {"b/src.set", false}};
    for (auto [source, same] : sources) {
        OpenSource(source, Full);
        EXPECT_EQ(I().SourceInCurrentSetFolder(), same) << source;
    }
}

TEST_F(ImportTab, PanelsFollowTheModesAndARowShowsItsEntry)
{
    dir.Write("mi_SRC.TGA", TgaHeader(2, 1, 1, 24) + "abc");
    OpenSource("src.set", Full);
    // Mode, panel, then what shows.
    const std::tuple<QRadioButton*, QRadioButton*, std::string> steps[] = {
        {I().RadioButton3, I().RadioButton1, "GroupBox4 ListView2"}, {I().RadioButton4, I().RadioButton1,
        "GroupBox6 ListView3:0 1 2 #3"}, {I().RadioButton4, I().RadioButton2, "GroupBox5 ListView3:0 1 2 #3"},
        {I().RadioButton3, I().RadioButton2, "GroupBox3 ListView2"}};
    for (auto [mode, panel, shown] : steps) {
        mode->click();
        panel->click();
        EXPECT_EQ(Shown().substr(0, shown.size()), shown);
        EXPECT_EQ(I().GroupBox1->isHidden(), mode == I().RadioButton4);
        EXPECT_EQ(I().GroupBox7->isHidden(), mode == I().RadioButton3);
    }

    I().RadioButton7->click();
    I().Button3->click();
    EXPECT_FALSE(I().PopupMenu1Popup(I().ListView2)) << "no item without a selected row";
    I().ListView2->SelectNumber(0);
    EXPECT_EQ(Shown().substr(0, 10), "GroupBox4 ");
    EXPECT_EQ(FromQt(I().Label10->text()) + Text(I().Edit17) + Text(I().LabeledEdit5) + Text(I().LabeledEdit6) +
                  Text(I().Edit7) + Text(I().Edit8) + Text(I().LabeledEdit9) + Text(I().LabeledEdit19) + "|" +
                  Text(I().Edit22) + "|" + FromQt(I().Label1->text()),
        "Tile # 0tsa_b02GrassWater10Road1|mi_src|") << "the minimap from the source's folder, any case";
    EXPECT_FALSE(I().Image1->Image().isNull());
    EXPECT_TRUE(I().PopupMenu1Popup(I().ListView2));
    EXPECT_TRUE(I().ImportAllDisplayedTiles1->isVisible() && !I().ImportThisGroup1->isVisible());

    // Groups: the members by the source's tiles, and the StrRef's text.
    I().RadioButton4->click();
    const std::tuple<int, const char*, const char*> groups[] = {
        {0, "TSA_a10,tsa_c01", "text 5"}, {1, "x", "Bad strref"}, {2, "NULL,tsa_b02,NULL,NULL", "Bad strref"}};
    for (auto [group, members, strref] : groups) {
        I().ListView3->SelectNumber(group);
        EXPECT_EQ(Items(I().ListBox1, ",") + "|" + Text(I().Edit21) + "|" + FromQt(I().Label10->text()),
            members + std::string("|") + strref + "|Group # " + std::to_string(group));
    }
    EXPECT_TRUE(I().PopupMenu1Popup(I().ListView3) && I().ImportThisGroup1->isVisible() &&
                !I().ImportThisTile1->isVisible());
}

TEST_F(ImportTab, BothListsSortByNumberOrByTextIgnoringCase)
{
    OpenSource("src.set", Full);
    I().RadioButton7->click();
    I().Button3->click();
    const std::tuple<TListView*, int, const char*> clicks[] = {
        {I().ListView2, 1, "1 0 2 4 3"}, {I().ListView2, 0, "0 1 2 3 4"}, {I().ListView3, 1, "1 0 2"}};
    for (auto [list, column, rows] : clicks) {
        list->OnColumnClick(column);
        EXPECT_EQ(Column(list), rows);
    }
}

TEST_F(ImportTab, TheGroupFilterTestsNameSizeAndMembers)
{
    OpenSource("src.set", Full);
    I().RadioButton4->click();
    // Name prefix, tiles count, member prefix, then the rows shown ("=" when the list stays).
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {{"b", "-1", "", "0 2"},
        {"", "2", "", "0"}, {"", "4", "", "2"}, {"", "0", "", "0 1 2"}, {"", "-1", "X", "1"}, {"", "", "tsa_b", "2"},
        {"", "abc", "", "="}, {"BRI", "2", "tsa", "0"}, {"", "", "none", ""}};
    std::string before;
    for (auto [name, count, member, rows] : cases) {
        I().LabeledEdit15->setText(name);
        I().LabeledEdit18->setText(count);
        I().LabeledEdit17->setText(member);
        I().Button6->click();
        EXPECT_EQ(Column(I().ListView3), std::string(rows) == "=" ? before : rows) << name << count << member;
        EXPECT_EQ(Text(I().Edit3), std::to_string(I().ListView3->RowCount()));
        before = Column(I().ListView3);
    }
    EXPECT_TRUE(dialogs.boxes.empty()) << "a count that is no number is no error";
    I().Button7->click();
    EXPECT_EQ(Text(I().LabeledEdit15) + Text(I().LabeledEdit17) + Text(I().LabeledEdit18), "-1");
    EXPECT_EQ(Shown(), "GroupBox5 ListView3:0 1 2 #3");
    I().RadioButton3->click();
    EXPECT_EQ(Text(I().Edit3), std::to_string(I().ShownTileCount)) << "each list keeps its own count";
}

TEST_F(ImportTab, TheTileFilterSwitchesAndResetSetItsControlsAndTheOptionsTheirFlags)
{
    Game().MdlCompilerPath = dir.File("nwnmdlcomp.exe");
    OpenSource("src.set", Full);
    TFram6& i = I();
    // The eight labels ('-' when disabled), then CheckBox4, CheckBox5, ComboBox5 and
    // ComboBox6 enabled or disabled, and whether "only" shows.
    auto state = [&i] {
        std::string s;
        for (QLabel* l : {i.Label2, i.Label3, i.Label4, i.Label5, i.Label6, i.Label7, i.Label8, i.Label9})
            s += FromQt(l->text()) + (l->isEnabled() ? "," : "-,");
        for (QWidget* w : std::initializer_list<QWidget*>{i.CheckBox4, i.CheckBox5, i.ComboBox5, i.ComboBox6})
            s += w->isEnabled() ? "e" : "d";
        return s + (i.CheckBox5->isHidden() ? " hidden" : " shown");
    };
    const std::string corners = "THIS,AND,AND,BUT NOT,";
    const std::tuple<QCheckBox*, bool, std::string> steps[] = {
        {i.CheckBox2, true, corners + "Top,Right,Bottom,Left,eeee hidden"},
        {i.CheckBox4, true, corners + "THIS,AND,AND,BUT NOT,eeee shown"},
        {i.CheckBox5, true, corners + "THIS,AND-,AND-,BUT NOT-,eeed shown"},
        {i.CheckBox3, true, corners + "Top-,Right-,Bottom-,Left-,dedd hidden"},
        {i.CheckBox3, false, corners + "Top,Right,Bottom,Left,eeee hidden"},
        {i.CheckBox2, false, "TopLeft,TopRight,BottomLeft,BottomRight,Top,Right,Bottom,Left,eeee hidden"}};
    for (auto [box, on, shown] : steps) {
        box->setChecked(on);
        EXPECT_EQ(state(), shown) << box->objectName().toStdString() << on;
    }
    EXPECT_FALSE(i.CheckBox4->isChecked() || i.CheckBox5->isChecked());

    i.CheckBox3->setChecked(true);
    i.Edit2->setText("1");
    i.LabeledEdit4->setText("tsa");
    i.LabeledEdit16->setText("2");
    i.ComboBox1->setEditText("Grass");
    i.RadioButton6->click();
    i.Button4->click();
    EXPECT_EQ(state(), "Top Left,Top Right,Bottom Left,Bottom Right,Top,Right,Bottom,Left,eeee hidden");
    EXPECT_EQ(Text(i.Edit2) + Text(i.LabeledEdit4) + Text(i.LabeledEdit16) + FromQt(i.ComboBox1->currentText()), "-1-1");
    EXPECT_EQ(Items(i.ComboBox1), "Grass Water") << "the source's names stay on offer";
    EXPECT_TRUE(i.RadioButton6->isChecked()) << "the membership choice stays";
    EXPECT_EQ(Shown(), "GroupBox3 ListView2:0 1 2 3 4 #5");
    EXPECT_EQ(i.ShownTileCount, -1);

    for (bool on : {true, false}) {
        i.CheckBox1->setChecked(on);
        i.CheckBox6->setChecked(on);
        EXPECT_EQ(i.AutoImportTerrainCrosser, on);
        EXPECT_EQ(Game().AutoConvertMdl, on);
    }
    EXPECT_TRUE(i.CheckBox6->isEnabled()) << "the converter is there";
}

TEST_F(ImportTab, TheTileFilterRunsTheTilesTabsTestsOverTheSourceAndItsGroupsOnly)
{
    OpenSet(dir.Write("rural.set", SampleSet()));
    OpenSource("src.set", Full);
    TFram6& i = I();
    i.RadioButton6->click();
    i.Button3->click();
    EXPECT_EQ(Column(i.ListView2) + " #" + Text(i.Edit3), "0 1 2 3 #4") << "members of the source's groups";
    i.RadioButton7->click();
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { i.LabeledEdit4->setText("TSA_"); }, "0 1 2 4"},
        {[&] { i.ComboBox1->setEditText("Grass"), i.ComboBox2->setEditText("Water"); }, "0"},
        {[&] { i.Edit2->setText("1"); }, "0"},
        {[&] { i.Edit4->setText("1"); }, ""},
        {[&] { i.ComboBox5->setEditText("Road"); }, "0"},
        {[&] { i.ComboBox5->setEditText("Road"), i.CheckBox3->setChecked(true); }, "1 2 3 4"},
        {[&] { i.CheckBox4->setChecked(true), i.ComboBox8->setEditText("Road"); }, "1 2 3 4"},
        {[&] { i.CheckBox2->setChecked(true), i.ComboBox1->setEditText("Water"); }, "0"},
        {[&] { i.LabeledEdit16->setText("0"); }, "1 2 3 4"}};
    for (auto& [set, rows] : cases) {
        i.Button4->click();
        set();
        i.Button3->click();
        EXPECT_EQ(Column(i.ListView2), rows);
        EXPECT_EQ(Text(i.Edit3), std::to_string(i.ListView2->RowCount()));
    }
    EXPECT_EQ(Text(Form1->Fram41->Edit1) + Column(Form1->Fram41->ListView1), "20 1") << "the Tiles tab is not touched";
    EXPECT_FALSE(Form1->Fram41->FilterActive);
}
