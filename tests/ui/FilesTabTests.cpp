// The Files/Textures tab over a built tileset folder and game archives: missing and unused
// files, textures per tile and for the whole tileset with their changes, the renamer, the
// converter through a stand-in program, stock models from the archives, and "See textures".
#include "UiTestSupport.h"

#include <sys/stat.h>

#include "platform/Text.h"
#include "support/TgaBuilder.h"
#include "support/TilesetBuilder.h"
#include "ui/DlgTextChange.h"

namespace {

std::string Tga(uint16_t w, uint16_t h, uint8_t bits)
{
    return TgaHeader(2, w, h, bits) + std::string(std::size_t(w) * h * bits / 8, '\x40');
}

const std::string Dashes67(67, '-'), Dashes46(46, '-');

class FilesTab : public UiTest {
protected:
    TempDir set, start;

    // Five tiles (the last two share the first's model file, and one only the archives
    // hold), their files in mixed case, and archives with game textures and a stock model.
    void SetUp() override
    {
        UiTest::SetUp();
        KeyBuilder key;
        const uint32_t b = key.AddBif("data.bif");
        key.Add("tt_stone", 3, b, 0).Add("tt_sand", 3, b, 1).Add("mi_b01", 3, b, 2);
        key.Add("tt_rock", 2002, b, 3).Add("tt_rock", 2016, b, 9);   // the walkmesh is not in the archive
        dir.Write("game/chitin.key", key.Build());
        dir.Write("game/data.bif", BifBuilder()
                                       .Add(0, 3, Tga(16, 16, 24))
                                       .Add(1, 3, Tga(32, 32, 32))
                                       .Add(2, 3, Tga(8, 8, 24))
                                       .Add(3, 2002, "newmodel tt_rock\r\n  bitmap tt_stone\r\n")
                                       .Build());
        Restart();
        Game().SetStartFolder(start.Path());
        set.Write("tcn01_a01.mdl", "newmodel tcn01_a01\r\n  bitmap tcn01_grass\r\n  bitmap tt_stone\r\n");
        set.Write("TCN01_a01.wok", "walkmesh\r\n");
        set.Write("tcn01_b01.mdl", "newmodel TCN01_B01\r\n  bitmap tcn01_grass\r\n  bitmap tcn01_gone\r\n"
                                   "  bitmap tcn01_bad\r\n  bitmap tt_sand\r\n");
        set.Write("tcn01_bin.mdl", std::string("\0\0\0\0binary", 10));
        set.Write("mi_a01.TGA", Tga(8, 8, 24));
        set.Write("tcn01_grass.tga", Tga(64, 32, 24));
        set.Write("tcn01_bad.tga", TgaHeader(2, 64, 64, 24));   // no pixels
        set.Write("tt_stone.tga", Tga(16, 16, 24));             // a custom copy of a game texture
        set.Write("tcn01_old.mdl", "newmodel tcn01_old\r\n");
        set.Write("stray.dds", "DDS ");
        std::string text = "[TILES]\r\nCount=6\r\n\r\n";
        const char* tiles[][2] = {{"tcn01_a01", "mi_a01"}, {"TCN01_B01", "mi_b01"}, {"tcn01_bin", "mi_a01"},
                                  {"TCN01_A01", "mi_a01"}, {"tt_rock", "mi_a01"}, {"tcn01_a01", "mi_a01"}};
        for (int i = 0; i < 6; ++i)
            text += Format("[TILE%d]\r\nModel=%s\r\nImageMap2D=%s\r\n\r\n", i, tiles[i][0], tiles[i][1]);
        OpenSet(set.Write("t.set", text));
    }

    TFram7& T() { return *Form1->Fram71; }
    static std::string Memo(const QPlainTextEdit* m) { return FromQt(m->toPlainText()); }
    static std::string Rows(const TListView* view)
    {
        std::string s;
        for (int i = 0; i < view->RowCount(); ++i)
            s += (i ? " " : "") + TListView::Text(view->Row(i), 0) + ":" + TListView::Text(view->Row(i), 1);
        return s;
    }
    void Pick(QListWidget* box, const char* name) { box->setCurrentItem(box->findItems(name, Qt::MatchExactly).value(0)); }
    void Pick(QComboBox* box, const char* name)
    {
        box->setCurrentIndex(box->findText(name));
        emit box->activated(box->currentIndex());
    }
    // The texture panels: kind, size, and the note of a picture that could not be read.
    std::string Shown() { return FromQt(T().Panel5->text() + "|" + T().Panel4->text() + "|" + T().Image1->text()); }
    std::string Notices()
    {
        std::string s;
        for (const std::string& t : dialogs.Texts()) s += t + "\n";
        dialogs.Clear();
        return s;
    }
};

} // namespace

TEST_F(FilesTab, MissingAndUnusedFilesAreReportedAndOnlyFilesStillUnusedAreDeleted)
{
    // Tile 3's model has a file of its own, told apart from tile 0's by case alone.
    set.Write("TCN01_A01.mdl", "newmodel x\r\n  bitmap tcn01_extra\r\n"), set.Write("tcn01_extra.tga", Tga(8, 8, 24));
    for (QCheckBox* kind : {T().CheckBox1, T().CheckBox2, T().CheckBox3, T().CheckBox4}) kind->setChecked(true);
    T().Button1->click();
    // The archives hold tile 1's minimap and tile 4's model and walkmesh; the game texture
    // tt_sand is not counted.
    EXPECT_EQ(Memo(T().Memo1), "Tile#1 - TCN01_B01 ----> .WOK : not found\n" + Dashes67 +
                                   "\nTile#2 - TCN01_BIN ----> .WOK : not found\n" + Dashes67 + "\n" + Dashes67 +
                                   "\n---TEXTURES REPORT-------------------------------------------------\n"
                                   "tcn01_gone----> TGA or DDS not found\n" + Dashes67 + "\n---3- Files not found");

    // The custom copy of the game texture is used; the binary model may name the DDS file.
    T().RadioButton4->setChecked(true);
    EXPECT_TRUE(T().GroupBox1->isHidden() && !T().GroupBox3->isHidden());
    const std::string notChecked = "\nstray.dds --> Not checked\n1 - Textures not checked: some MDL files are binary";
    T().Button1->click();
    EXPECT_EQ(Memo(T().Memo2), "tcn01_old.mdl --> Unused\n" + Dashes46 + "\n1 - Files unused" + notChecked);
    T().CheckBox7->setChecked(true), T().Button2->click(), Pick(T().ListBox2, "tcn01_extra");
    EXPECT_EQ(Rows(T().ListView2), "3:TCN01_A01");
    T().CheckBox11->setChecked(true);
    T().Button1->click();
    EXPECT_EQ(Memo(T().Memo2),
              "tcn01_old.mdl --> Unused\ntt_stone.tga --> Unused\n" + Dashes46 + "\n2 - Files unused" + notChecked);

    // Since the search a tile came in that uses the old model, and the box went off.
    dialogs.QueueAnswer(MsgResult::No);
    T().Button4->click();
    EXPECT_EQ(T().UnusedFiles.Count(), 2) << "No keeps the files and the list";
    AddTile(TS().TileList, "tcn01_old");
    T().CheckBox11->setChecked(false);
    dialogs.QueueAnswer(MsgResult::Yes);
    T().Button4->click();
    EXPECT_EQ(Notices(), "Confirm delete of unused files ?\nConfirm delete of unused files ?\n0 Files deleted\n");
    EXPECT_EQ(Memo(T().Memo2), "tcn01_old.mdl --> In use now, not deleted\ntt_stone.tga --> In use now, not deleted");
    T().CheckBox11->setChecked(true);
    T().Button1->click();
    dialogs.QueueAnswer(MsgResult::Yes);
    T().Button4->click();
    EXPECT_EQ(Notices(), "Confirm delete of unused files ?\n1 Files deleted\n");
    EXPECT_FALSE(FileExists(set.File("tt_stone.tga")));
    EXPECT_TRUE(FileExists(set.File("tcn01_old.mdl")) && FileExists(set.File("stray.dds")));
    T().Button4->click();
    EXPECT_TRUE(dialogs.boxes.empty()) << "nothing listed, nothing asked";
}

TEST_F(FilesTab, ATilesetOfOneTileIsSearchedAsAnyOther)
{
    // The three searches of the six-tile tileset first: nothing of them may stay.
    for (QCheckBox* kind : {T().CheckBox1, T().CheckBox2, T().CheckBox3, T().CheckBox4}) kind->setChecked(true);
    T().Button1->click();
    T().RadioButton4->setChecked(true);
    T().Button1->click();
    T().Button2->click();
    // One tile, in the same folder: its walkmesh and one texture are missing, and every file
    // the other tiles used is unused now.
    OpenSet(set.Write("one.set", "[GENERAL]\r\nName=one01\r\n\r\n[TILES]\r\nCount=1\r\n\r\n"
                                 "[TILE0]\r\nModel=tcn01_b01\r\nWalkMesh=msb01\r\nImageMap2D=mi_b01\r\n"));
    ASSERT_EQ(TS().TileList.Count(), 1);
    T().RadioButton3->setChecked(true);
    T().Button1->click();
    T().RadioButton4->setChecked(true);
    T().Button1->click();
    T().Button2->click();
    EXPECT_EQ(Memo(T().Memo1), "Tile#0 - TCN01_B01 ----> .WOK : not found\n" + Dashes67 + "\n" + Dashes67 +
                                   "\n---TEXTURES REPORT-------------------------------------------------\n"
                                   "tcn01_gone----> TGA or DDS not found\n" + Dashes67 + "\n---2- Files not found");
    EXPECT_EQ(Memo(T().Memo2), "mi_a01.TGA --> Unused\nstray.dds --> Unused\ntcn01_a01.mdl --> Unused\n"
                               "TCN01_a01.wok --> Unused\ntcn01_bin.mdl --> Unused\ntcn01_old.mdl --> Unused\n"
                               "tt_stone.tga --> Unused\n" + Dashes46 + "\n7 - Files unused");
    EXPECT_EQ(T().UnusedFiles.Count(), 7);
    EXPECT_EQ(Items(T().ListBox2) + "|" + Text(T().Edit1), "tcn01_bad tcn01_gone tcn01_grass tt_sand|4");

    // Its tile deleted, there is nothing to search, and nothing of the last search stays.
    TS().TileList.DeleteAt(0);
    T().Button1->click();
    EXPECT_EQ(Memo(T().Memo2) + std::to_string(T().UnusedFiles.Count()), "0");
}

TEST_F(FilesTab, TexturesOfEachTileAreListedAndPreviewed)
{
    T().RadioButton1->setChecked(true);
    EXPECT_FALSE(T().Panel1->isHidden() || T().CheckBox8->isHidden() || !T().Panel2->isHidden());
    EXPECT_EQ(Rows(T().ListView1), "0:tcn01_a01 1:TCN01_B01 2:tcn01_bin 3:TCN01_A01 4:tt_rock 5:tcn01_a01");
    // Tile, its textures, the model's state, the convert and import buttons, the first preview.
    const std::tuple<int, const char*, const char*, bool, bool, const char*> tiles[] = {
        {0, "tcn01_grass tt_stone", "", false, false, "Custom TGA Texture|64 x 32  24Bits|"},
        {1, "tcn01_bad tcn01_gone tcn01_grass tt_sand", "", false, false,
         "Error on opening file||Unreadable picture"},
        {2, "", "Binary MDL", false, false, "||"},
        {4, "", "Not found", false, true, "||"},
    };
    for (auto [n, textures, state, convert, import, preview] : tiles) {
        T().ListView1->SelectNumber(n);
        EXPECT_EQ(Items(T().ListBox1), textures) << n;
        EXPECT_EQ(Text(T().Edit4), std::to_string(T().ListBox1->count()));
        EXPECT_EQ(FromQt(T().Label2->text()), state) << n;
        EXPECT_EQ(!T().Button9->isHidden(), convert) << n;
        EXPECT_EQ(!T().Button10->isHidden(), import) << n;
        EXPECT_EQ(Shown(), preview) << n;
    }
    T().ListView1->SelectNumber(1);
    const std::pair<const char*, const char*> previews[] = {
        {"tcn01_gone", "File not found||"}, {"tt_sand", "TGA from NWN|32 x 32  32Bits|"}};
    for (auto [name, shown] : previews) {
        Pick(T().ListBox1, name);
        EXPECT_EQ(Shown(), shown) << name;
    }
    // A refill of the tile list: nothing is offered for a tile that may not be there.
    T().ListView1->SelectNumber(4);
    T().Button6->click();
    EXPECT_TRUE(T().Button10->isHidden() && T().ListBox1->count() == 0 && T().Label2->text().isEmpty());
    // A tile's Model changed on the Tiles tab: its row and its textures follow.
    T().ListView1->SelectNumber(0);
    TS().TileList.At(0)->Model = "tcn01_bin";
    T().TileModelChanged(0);
    EXPECT_EQ(TListView::Text(T().ListView1->SelectedRow(), 1) + "|" + FromQt(T().Label2->text()), "tcn01_bin|Binary MDL");
}

TEST_F(FilesTab, TextureChangesActOnWhatTheDialogWasOpenedForAndCountEachModelOnce)
{
    T().RadioButton1->setChecked(true);
    // A change that did nothing (the model lost the old name meanwhile) does not choose the
    // new name as if it had gone in.
    T().ListView1->SelectNumber(1);
    Pick(T().ListBox1, "tcn01_gone");
    T().Button5->click();
    const std::string b01 = set.Read("tcn01_b01.mdl");
    set.Write("tcn01_b01.mdl", "newmodel x\r\n  bitmap tcn01_bad\r\n  bitmap tt_sand\r\n");
    Form5->LabeledEdit1->setText("tt_sand"), Form5->Button1->click();
    EXPECT_EQ(Notices() + FromQt(T().ListBox1->currentItem()->text()), "0 changements done in TCN01_B01.mdl\ntcn01_bad");
    set.Write("tcn01_b01.mdl", b01);
    // A damaged texture: the dialog still resets its fields.
    Pick(T().ListBox1, "tcn01_bad");
    Form5->LabeledEdit1->setText("typed before");
    T().Button5->click();
    EXPECT_EQ(FromQt(Form5->Change->title() + "|" + Form5->Panel1->text() + "|" + Form5->Image1->text() + "|" +
                     Form5->GroupBox1->title()),
              "Change TGA custom texture||Unreadable picture|To");
    EXPECT_EQ(Text(Form5->LabeledEdit1), "");
    EXPECT_EQ(Items(Form5->ComboBox1), "tt_sand tt_stone");
    EXPECT_EQ(Items(Form5->ComboBox2), "stray.dds tcn01_bad.tga tcn01_grass.tga tt_stone.tga") << "no minimap";
    Form5->Button2->click();

    // One tile: the texture chosen in the tab changes after the dialog opened.
    T().ListView1->SelectNumber(0);
    Pick(T().ListBox1, "tcn01_grass");
    T().Button5->click();
    EXPECT_EQ(FromQt(Form5->windowTitle()), "Change \"tcn01_grass\" texture for tcn01_a01.mdl");
    EXPECT_EQ(FromQt(Form5->Panel1->text()), "64 x 32  24Bits");
    Pick(T().ListBox1, "tt_stone");
    Pick(Form5->ComboBox2, "tt_stone.tga");
    EXPECT_EQ(Text(Form5->LabeledEdit1) + "|" + FromQt(Form5->GroupBox1->title() + "|" + Form5->Panel2->text()),
              "tt_stone|To custom TGA texture|16 x 16  24Bits");
    Form5->Button1->click();
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(Notices(), "1 changements done in tcn01_a01.mdl\n");
    EXPECT_EQ(set.Read("tcn01_a01.mdl"), "newmodel tcn01_a01\r\n  bitmap tt_stone\r\n  bitmap tt_stone\r\n");
    EXPECT_EQ(Items(T().ListBox1) + "|" + FromQt(T().ListBox1->currentItem()->text()), "tt_stone|tt_stone")
        << "merged into the entry that was there, selected";

    // Every displayed tile: three rows share one model file, which counts once.
    T().CheckBox8->setChecked(true);
    T().Button5->click();
    EXPECT_EQ(FromQt(Form5->windowTitle()), "Change \"tt_stone\" texture for all displayed tiles");
    Form5->LabeledEdit1->setText("tcn01_grass");
    Form5->Button1->click();
    EXPECT_EQ(Notices(), "2 changements done in 1 Files\n");

    // The whole tileset, with the tiles that use the chosen texture.
    T().RadioButton2->setChecked(true);
    T().CheckBox7->setChecked(true);
    T().Button2->click();
    EXPECT_EQ(Items(T().ListBox2) + " " + Text(T().Edit1), "tcn01_bad tcn01_gone tcn01_grass tt_sand 4");
    Pick(T().ListBox2, "tcn01_grass");
    EXPECT_EQ(Rows(T().ListView2) + " " + Text(T().Edit2), "0:tcn01_a01 1:TCN01_B01 3:TCN01_A01 5:tcn01_a01 4");
    T().Button5->click();
    EXPECT_EQ(FromQt(Form5->windowTitle()), "Change \"tcn01_grass\" for all tileset");
    // A model with bare line feeds takes the change as well.
    set.Write("tcn01_bin.mdl", "newmodel tcn01_bin\n  bitmap tcn01_grass\n");
    Pick(Form5->ComboBox1, "tt_sand");
    EXPECT_EQ(Text(Form5->LabeledEdit1) + "|" + FromQt(Form5->GroupBox1->title() + "|" + Form5->Panel2->text()),
              "tt_sand|To NWN texture|32 x 32  32Bits");
    Form5->Button1->click();
    EXPECT_EQ(Notices(), "4 changements done in 3 Files.\n");
    EXPECT_EQ(Items(T().ListBox2) + "|" + FromQt(T().ListBox2->currentItem()->text()), "tcn01_bad tcn01_gone tt_sand|tt_sand");
    // Only the case changes: the entry stays, as typed.
    T().Button5->click(), Form5->LabeledEdit1->setText("TT_SAND"), Form5->Button1->click();
    EXPECT_EQ(Notices() + Items(T().ListBox2), "5 changements done in 3 Files.\ntcn01_bad tcn01_gone TT_SAND");
    // A change that replaces nothing leaves the list as it is.
    Pick(T().ListBox2, "tcn01_gone");
    T().Button5->click();
    TS().TileList.At(1)->Model = "elsewhere";
    Form5->LabeledEdit1->setText("tt_sand");
    Form5->Button1->click();
    EXPECT_EQ(Notices(), "0 changements done in 0 Files.\n");
    EXPECT_EQ(Items(T().ListBox2), "tcn01_bad tcn01_gone TT_SAND");
    // A dialog left open while another tileset is opened changes nothing there; no report,
    // texture list or preview of the last tileset stays.
    T().RadioButton4->click(), T().Button1->click(), T().RadioButton3->click(), T().CheckBox1->setChecked(true);
    T().Button1->click(), T().Button5->click(), Pick(T().ListBox2, "TT_SAND"); // previewed, not changed
    TempDir other;
    other.Write("x.mdl", "newmodel x\r\n  bitmap tcn01_gone\r\n");
    dialogs.QueueAnswer(MsgResult::No);
    OpenSet(other.Write("o.set", "[TILES]\r\nCount=1\r\n\r\n[TILE0]\r\nModel=x\r\n"));
    EXPECT_EQ(Memo(T().Memo1) + Memo(T().Memo2) + Items(T().ListBox1) + Items(T().ListBox2) + Shown() + Text(T().Edit1) +
                  std::to_string(T().TilesetTextures.Count() + T().UnusedFiles.Count() + !T().Image1->Image().isNull()),
              "||0");
    Form5->LabeledEdit1->setText("tt_sand");
    Form5->Button1->click();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"The tileset has changed. Do you want to save it ?"});
    EXPECT_EQ(other.Read("x.mdl"), "newmodel x\r\n  bitmap tcn01_gone\r\n");
}

TEST_F(FilesTab, TheRenamerTakesSafeFiveLetterPrefixesAndMovesTheTilesAlong)
{
    T().RadioButton5->setChecked(true);
    EXPECT_TRUE(T().Button1->isHidden() && !T().Button3->isHidden() && !T().GroupBox4->isHidden());
    EXPECT_EQ(Items(T().ComboBox1), "tcn01") << "models and walkmeshes, each prefix once whatever its case";
    T().CheckBox10->setChecked(false);
    EXPECT_EQ(Items(T().ComboBox1), "stray tcn01 tt_st");
    T().CheckBox10->setChecked(true);

    const std::pair<const char*, const char*> refused[] = {{"", "xyz02"}, {"tcn01", ""}, {"tcn01", "xyz0"},
        {"tcn01", "xyz023"}, {"tcn0", "xyz02"}, {"tcn01", "../ab"}, {"tcn01", "a\\bcd"}, {"tcn01", "ab..c"}};
    for (auto [from, to] : refused) {
        T().ComboBox1->setEditText(from);
        T().LabeledEdit3->setText(to);
        T().Button3->click();
    }
    EXPECT_EQ(Notices(), "You must choose a prefix to change\nYou must enter a prefix to change to\n"
                         "Prefix must be 5 letters length\nPrefix must be 5 letters length\n"
                         "Prefix must be 5 letters length\nPrefix must not hold \\, / or ..\n"
                         "Prefix must not hold \\, / or ..\nPrefix must not hold \\, / or ..\n");

    T().ComboBox1->setEditText("tcn01");
    T().LabeledEdit3->setText("xyz02");
    T().Button3->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(Memo(T().Memo3).substr(Memo(T().Memo3).rfind('\n') + 1), "4 files processed");
    EXPECT_EQ(ListFiles(set.Path()), (std::vector<std::string>{"mi_a01.TGA", "stray.dds", "t.set", "tcn01_bad.tga",
                                        "tcn01_bin.mdl", "tcn01_grass.tga", "tt_stone.tga", "xyz02_a01.mdl",
                                        "xyz02_a01.wok", "xyz02_b01.mdl", "xyz02_old.mdl"}));
    EXPECT_EQ(set.Read("xyz02_a01.mdl"), "newmodel xyz02_a01\r\n  bitmap tcn01_grass\r\n  bitmap tt_stone\r\n");
    EXPECT_EQ(Rows(T().ListView1), "0:xyz02_a01 1:xyz02_B01 2:tcn01_bin 3:xyz02_A01 4:tt_rock 5:xyz02_a01")
        << "the tiles follow their files whatever the letter case";
    EXPECT_EQ(Items(T().ComboBox1), "tcn01 xyz02");
    // No renamed file that a tile names is taken for unused.
    T().RadioButton4->setChecked(true);
    T().Button1->click();
    EXPECT_EQ(Memo(T().Memo2), "xyz02_old.mdl --> Unused\n" + Dashes46 + "\n1 - Files unused\nstray.dds --> Not checked\n"
                               "1 - Textures not checked: some MDL files are binary");

    // Binary models and textures too.
    T().CheckBox9->setChecked(false);
    T().CheckBox10->setChecked(false);
    T().ComboBox1->setEditText("tcn01");
    T().LabeledEdit3->setText("abc03");
    T().Button3->click();
    EXPECT_TRUE(FileExists(set.File("abc03_grass.tga")) && FileExists(set.File("abc03_bin.mdl")));
    EXPECT_EQ(TS().TileList.At(2)->Model, "abc03_bin");
    // Models of another prefix follow the textures the run renamed, and only those.
    EXPECT_EQ(set.Read("xyz02_b01.mdl"), "newmodel xyz02_B01\r\n  bitmap abc03_grass\r\n  bitmap tcn01_gone\r\n"
                                         "  bitmap abc03_bad\r\n  bitmap tt_sand\r\n");
    EXPECT_NE(Memo(T().Memo3).find("xyz02_b01.mdl ---> 2 bitmap lines changed\n"), std::string::npos);
}

TEST_F(FilesTab, TheConverterIsAwaitedAndStockModelsComeFromTheArchives)
{
    const std::string converter = start.Write("nwnmdlcomp.exe", "#!/bin/sh\nprintf 'newmodel x\\r\\n  bitmap tt_sand\\r\\n' > \"$3\"\n");
    chmod(converter.c_str(), 0755);
    Game().SetStartFolder(start.Path());
    T().RadioButton1->setChecked(true);
    T().ListView1->SelectNumber(2);
    ASSERT_FALSE(T().Button9->isHidden());
    T().Button9->click();
    EXPECT_EQ(Notices(), "\"tcn01_bin.mdl\" converted to ascii\n");
    EXPECT_EQ(Items(T().ListBox1) + "|" + FromQt(T().Label2->text()), "tt_sand|");
    start.Write("nwnmdlcomp.exe", "#!/bin/sh\nexit 0\n");
    set.Write("tcn01_bin.mdl", std::string(8, '\0'));
    T().ListView1Click();
    T().Button9->click();
    EXPECT_EQ(Notices(), "\"tcn01_bin.mdl\" not converted, still binary\n");
    EXPECT_EQ(FromQt(T().Label2->text()), "Binary MDL");

    // The archive's walkmesh cannot be extracted: a file left from before is not copied.
    start.Write("MMTEMP.TGA", "stale");
    T().ListView1->SelectNumber(4);
    T().Button10->click();
    EXPECT_EQ(Notices(), "1 Files copied :\n\n\ttt_rock.mdl\n");
    EXPECT_EQ(set.Read("tt_rock.mdl"), "newmodel tt_rock\r\n  bitmap tt_stone\r\n");
    EXPECT_FALSE(FileExists(set.File("tt_rock.wok")) || FileExists(start.File("MMTEMP.TGA")));
    EXPECT_EQ(Items(T().ListBox1) + "|" + FromQt(T().Label2->text()), "tt_stone|");
    EXPECT_TRUE(T().Button10->isHidden());
    T().Button10Click();
    EXPECT_EQ(Notices(), "Copy failed or file already exist\n") << "never overwritten";

    // A model named outside the folder (in the start folder beside it) is neither rewritten nor converted.
    const std::string model = "../" + FileNameOf(start.Path()) + "/victim", bytes = "newmodel v\r\n  bitmap tt_stone\r\n";
    start.Write("victim.mdl", bytes), start.Write("nwnmdlcomp.exe", "#!/bin/sh\nprintf converted > \"$3\"\n");
    TS().TileList.At(4)->Model = model;   // the selected tile
    T().ChangeTileTexture("x", {TextureChangeRequest::OneTile, Game().SetDir, "tt_stone", {model}});
    T().Button9Click();
    EXPECT_EQ(start.Read("victim.mdl"), bytes);
}

TEST_F(UiTest, WithoutAFolderNothingActsAndSeeTexturesFindsTheTileByNumber)
{
    TFram7& t = *Form1->Fram71;
    F().Button1->click();   // New: no folder yet
    for (char c = 'k'; c >= 'a'; --c) AddTile(TS().TileList, std::string(1, c));
    TS().TileList.Head()->FillMainLists();
    TempDir other;
    t.UnusedFiles.Add(other.Write("x.mdl", ""));
    t.CheckBox1->setChecked(true);
    t.ComboBox1->setEditText("abcde");
    t.LabeledEdit3->setText("fghij");
    t.ListView1->SelectNumber(0);
    for (QPushButton* b : {t.Button1, t.Button2, t.Button3, t.Button4, t.Button5, t.Button9, t.Button10}) b->click();
    t.RadioButton4->setChecked(true);
    t.Button1->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(FileExists(other.File("x.mdl")));

    // Sorted by model, then by number twice (2 before 10).
    t.ListView1ColumnClick(t.ListView1, 1);
    EXPECT_EQ(TListView::Text(t.ListView1->Row(0), 1), "a");
    for (int twice = 0; twice < 2; ++twice) t.ListView1ColumnClick(t.ListView1, 0);
    EXPECT_EQ(t.ListView1->Numbers(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    t.ListView1ColumnClick(t.ListView1, 1);
    Form1->Fram41->ListView1->SelectNumber(2);
    Form1->Fram41->Seetextures1->trigger();
    EXPECT_EQ(Form1->PageControl1->currentWidget(), Form1->TabSheet6);
    EXPECT_TRUE(t.RadioButton1->isChecked() && t.Panel2->isHidden());
    EXPECT_EQ(t.ListView1->SelectedNumber(), 2) << "the tile's row, not the row at that place";
    EXPECT_EQ(FromQt(t.Label2->text()), "Not found");

    // The Tiles tab's filter: only the tile whose Model starts with "c", and nothing offered
    // for the tile that was selected.
    Form1->Fram41->LabeledEdit11->setText("c");
    t.Button7->click();
    EXPECT_EQ(t.ListView1->Numbers(), std::vector<int>{8});
    EXPECT_EQ(Text(t.Edit3) + FromQt(t.Label2->text()), "1");
}
