// The general settings frame: Open, New, the general view and Save .SET with its checks.
#include "UiTestSupport.h"

#include "gamedata/Citp.h"
#include "platform/Files.h"
#include "support/FileSizeLimit.h"

namespace {
std::string text(const QLineEdit* e)
{
    return e->text().toStdString();
}
std::string text(const QComboBox* c)
{
    return c->currentText().toStdString();
}
}

TEST_F(UiTest, OpenShowsTheGeneralSettingsAndGrowsTheWindow)
{
    StartEditor();
    const std::string path = WriteSet("rural.set", SampleSet);
    OpenSet(path);
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_FALSE(dialogs.fileRequests[0].save);
    EXPECT_EQ(dialogs.fileRequests[0].options.filter, "Fichiers SET (*.set)|*.set;*.SET");
    EXPECT_EQ(dialogs.fileRequests[0].options.defaultExt, "set");

    EXPECT_EQ(Form1->height(), 690);
    EXPECT_EQ(Form1->width(), 850);
    EXPECT_FALSE(Form1->PageControl1->isHidden());
    EXPECT_TRUE(F().GroupBox1->isEnabled());
    EXPECT_TRUE(F().NameEdit->isEnabled());
    EXPECT_TRUE(F().Button2->isEnabled());
    EXPECT_TRUE(F().Button5->isEnabled());
    EXPECT_TRUE(F().GrassCheck->isEnabled());
    EXPECT_FALSE(F().Button1->isEnabled()) << "New stays off after Open";

    EXPECT_EQ(Game().SetFilePath, path);
    EXPECT_EQ(Game().SetDir, dir.Path());
    EXPECT_EQ(Form1->Fram61->CurrentSetDir, dir.Path());
    EXPECT_EQ(Form1->Fram71->CurrentSetDir, dir.Path());

    EXPECT_EQ(text(F().NameEdit), "Rural");
    EXPECT_EQ(text(F().TypeEdit), "SET");
    EXPECT_EQ(text(F().VersionEdit), "V1.0");
    EXPECT_EQ(text(F().EnvMapEdit), "evmap_rur");
    EXPECT_EQ(text(F().TransitionEdit), "5");
    EXPECT_EQ(text(F().UnlocalEdit), "Rural Land");
    EXPECT_EQ(text(F().DisplayEdit), "2");
    EXPECT_EQ(text(F().Edit1), "text 2") << "the DisplayName's StrRef text";
    EXPECT_EQ(text(F().BorderCombo), "Grass");
    EXPECT_EQ(text(F().DefaultCombo), "Grass");
    EXPECT_EQ(text(F().FloorCombo), "Water");
    EXPECT_TRUE(F().TransitionCheck->isChecked());
    EXPECT_FALSE(F().InteriorCheck->isChecked());

    // Grass on: the values, the channel panels and the result colours.
    EXPECT_TRUE(F().GrassCheck->isChecked());
    EXPECT_TRUE(F().DensityEdit->isEnabled());
    EXPECT_TRUE(F().Panel7->isEnabled());
    EXPECT_EQ(text(F().DensityEdit), "15.0");
    EXPECT_EQ(text(F().HeightEdit), "0.5");
    EXPECT_EQ(text(F().DRedEdit), "1.000");
    EXPECT_EQ(text(F().DGreenEdit), "0.000");
    EXPECT_EQ(text(F().ARedEdit), "0.500");
    EXPECT_EQ(text(F().ABlueEdit), "0.100");
    EXPECT_EQ(F().Panel1->Color(), 0xFFu);
    EXPECT_EQ(F().Panel3->Color(), 0u);
    EXPECT_EQ(F().Panel7->Color(), 0x0000FFu) << "pure red diffuse";
    EXPECT_EQ(F().Panel2->Color(), 127u);
    EXPECT_EQ(F().Panel4->Color(), 63u << 8);
    EXPECT_EQ(F().Panel6->Color(), 25u << 16);
    EXPECT_EQ(F().Panel8->Color(), 127u | 63u << 8 | 25u << 16);

    // The model holds the file.
    EXPECT_EQ(TS().TerrainList.Count(), 2);
    EXPECT_EQ(TS().General->Name, "Rural");
}

TEST_F(UiTest, OpenWithGrassOffEmptiesAndDisablesTheGrassControls)
{
    StartEditor();
    OpenSet(WriteSet("a.set", SampleSet));
    std::string noGrass = SampleSet;
    noGrass.replace(noGrass.find("Grass=1"), 7, "Grass=0");
    // A second window run: Open is off after the first, so open through the handler.
    dialogs.QueueFile(WriteSet("b.set", noGrass));
    F().OpenButtonClick();
    EXPECT_FALSE(F().GrassCheck->isChecked());
    EXPECT_FALSE(F().DensityEdit->isEnabled());
    EXPECT_FALSE(F().Panel8->isEnabled());
    const uint32_t face = VclFromColor(Form1->palette().color(QPalette::Window));
    for (TLabeledEdit* e : {F().DensityEdit, F().HeightEdit, F().DRedEdit, F().DGreenEdit, F().DBlueEdit,
                            F().ARedEdit, F().AGreenEdit, F().ABlueEdit})
        EXPECT_EQ(text(e), "") << e->objectName().toStdString();
    for (TColorPanel* p : {F().Panel1, F().Panel2, F().Panel3, F().Panel4, F().Panel5, F().Panel6, F().Panel7,
                           F().Panel8})
        EXPECT_EQ(p->Color(), face) << p->objectName().toStdString();

    // Turning grass on enables the controls and sets the entry's flag.
    F().GrassCheck->setChecked(true);
    EXPECT_EQ(TS().General->Grass, 1);
    EXPECT_TRUE(F().DensityEdit->isEnabled());
    F().GrassCheck->setChecked(false);
    EXPECT_EQ(TS().General->Grass, 0);
    EXPECT_FALSE(F().DensityEdit->isEnabled());
}

TEST_F(UiTest, GrassValuesThatAreNoNumbersShowWithoutBreakingTheOpen)
{
    StartEditor();
    std::string odd = SampleSet;
    odd.replace(odd.find("DiffuseGreen=0.000"), 18, "DiffuseGreen=abc");
    odd.replace(odd.find("AmbientRed=0.500"), 16, "AmbientRed=7");
    OpenSet(WriteSet("odd.set", odd));
    EXPECT_TRUE(dialogs.boxes.empty());
    const uint32_t face = VclFromColor(Form1->palette().color(QPalette::Window));
    EXPECT_EQ(text(F().DGreenEdit), "abc");
    EXPECT_EQ(F().Panel3->Color(), face);
    EXPECT_EQ(F().Panel7->Color(), face) << "the result needs three numbers";
    EXPECT_EQ(F().Panel2->Color(), 0xFFu) << "a value above 1 stays within its channel";
    EXPECT_EQ(TS().TerrainList.Count(), 2) << "the rest of the file was read";
}

TEST_F(UiTest, OpenThatFailsOrIsCancelledChangesNothing)
{
    StartEditor();
    F().OpenButton->click(); // cancelled: no file queued
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(Form1->height(), 230);

    OpenSet(dir.File("missing.set"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Error on opening file !!!");
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(Form1->height(), 230);
    EXPECT_TRUE(Form1->PageControl1->isHidden());
    EXPECT_TRUE(F().Button1->isEnabled());
    EXPECT_EQ(Game().SetFilePath, "");
}

TEST_F(UiTest, NewShowsTheTabsAndKeepsNewEnabled)
{
    StartEditor();
    F().NameEdit->setText("kept");
    F().Button1->click();
    EXPECT_EQ(Form1->height(), 690);
    EXPECT_FALSE(Form1->PageControl1->isHidden());
    EXPECT_TRUE(F().GroupBox1->isEnabled());
    EXPECT_TRUE(F().GroupBox2->isEnabled());
    EXPECT_TRUE(F().NameEdit->isEnabled());
    EXPECT_TRUE(F().GrassCheck->isEnabled());
    EXPECT_TRUE(F().Button2->isEnabled());
    EXPECT_TRUE(F().Button1->isEnabled());
    EXPECT_FALSE(F().DensityEdit->isEnabled()) << "grass controls wait for the grass box";
    EXPECT_EQ(text(F().NameEdit), "kept") << "the frame keeps its texts";
    EXPECT_EQ(Game().SetDir, "");
    EXPECT_TRUE(TS().TerrainList.Empty());
}

TEST_F(UiTest, DisplayNameShowsItsStrRefText)
{
    StartEditor();
    auto shows = [&](const char* t) {
        F().DisplayEdit->setText(t);
        return text(F().Edit1);
    };
    EXPECT_EQ(shows("12"), "text 12");
    EXPECT_EQ(shows("0"), "Bad Strref");
    EXPECT_EQ(shows("-1"), "Unlocalized Name");
    EXPECT_EQ(shows("-5"), "Bad Strref");
    EXPECT_EQ(shows("13"), "Bad strref") << "past the table's end";
    // Texts on the way to a number are no error.
    EXPECT_EQ(shows("-"), "Bad Strref");
    EXPECT_EQ(shows(""), "Bad Strref");
    EXPECT_EQ(shows("99999999999"), "Bad Strref");
    EXPECT_TRUE(dialogs.boxes.empty());

    // The up-down steps the number within -1 .. 32767.
    F().DisplayEdit->setText("-1");
    F().UpDown1->StepDown();
    EXPECT_EQ(text(F().DisplayEdit), "-1");
    F().UpDown1->StepUp();
    F().UpDown1->StepUp();
    EXPECT_EQ(text(F().DisplayEdit), "1");
    EXPECT_EQ(text(F().Edit1), "text 1");
    F().DisplayEdit->setText("32767");
    F().UpDown1->StepUp();
    EXPECT_EQ(text(F().DisplayEdit), "32767");
    F().DisplayEdit->setText("x");
    F().UpDown1->StepDown();
    EXPECT_EQ(text(F().DisplayEdit), "32766") << "a text that is no number steps from the last position";
}

TEST_F(UiTest, KeyFiltersSwallowKeysThatAreNotAllowed)
{
    StartEditor();
    F().Button1->click();
    auto type = [](QLineEdit* e, const QString& keys) {
        for (QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &press);
        }
    };
    F().DisplayEdit->clear();
    type(F().DisplayEdit, "-a1.2");
    EXPECT_EQ(text(F().DisplayEdit), "-12");
    F().TransitionEdit->clear();
    type(F().TransitionEdit, "x5-");
    EXPECT_EQ(text(F().TransitionEdit), "5-");
    F().GrassCheck->setChecked(true);
    F().DensityEdit->clear();
    type(F().DensityEdit, "1-2.5e67");
    EXPECT_EQ(text(F().DensityEdit), "12.56") << "digits and '.', at most five";
    F().TypeEdit->clear();
    type(F().TypeEdit, "SETX");
    EXPECT_EQ(text(F().TypeEdit), "SET");
    // A longer text from a file is kept whole.
    F().VersionEdit->setText("V1.0.12");
    EXPECT_EQ(text(F().VersionEdit), "V1.0.12");
}

// Fills the frame so that every check passes.
static void fillValid(TFram1& f)
{
    f.NameEdit->setText("Rural");
    f.TypeEdit->setText("SET");
    f.VersionEdit->setText("V1.0");
    f.EnvMapEdit->setText("evmap");
    f.TransitionEdit->setText("5");
    f.BorderCombo->setEditText("Grass");
    f.DefaultCombo->setEditText("Grass");
    f.FloorCombo->setEditText("Water");
    f.DisplayEdit->setText("-1");
    f.UnlocalEdit->setText("Rural Land");
}

TEST_F(UiTest, SaveChecksTheSettingsInOrderAndTheFirstFailureWins)
{
    StartEditor();
    OpenSet(WriteSet("rural.set", SampleSet));
    dialogs.Clear();
    struct Step {
        std::function<void(TFram1&)> breakIt;
        const char* message;
        MsgKind kind;
    };
    const std::vector<Step> steps = {
        {[](TFram1& f) { f.NameEdit->clear(); }, "TileSet need a Name", MsgKind::Error},
        {[](TFram1& f) { f.TypeEdit->clear(); }, "TileSet need a Type", MsgKind::Error},
        {[](TFram1& f) { f.VersionEdit->clear(); }, "TileSet need a Version", MsgKind::Error},
        {[](TFram1& f) { f.EnvMapEdit->clear(); }, "TileSet need an Environment Map ", MsgKind::Error},
        {[](TFram1& f) { f.TransitionEdit->clear(); }, "TileSet need a transition value", MsgKind::Error},
        {[](TFram1& f) { f.BorderCombo->setEditText(""); }, "TileSet Border terrain not defined", MsgKind::Error},
        {[](TFram1& f) { f.DefaultCombo->setEditText(""); }, "TileSet Default terrain not defined", MsgKind::Error},
        {[](TFram1& f) { f.FloorCombo->setEditText(""); }, "TileSet Floor terrain not defined", MsgKind::Error},
        {[](TFram1& f) { f.UnlocalEdit->clear(); },
         "You have specified -1 in Display Name\nso Tileset need an Unlocalized Name", MsgKind::Information},
        {[](TFram1& f) { f.BorderCombo->setEditText("Sand"); }, "TileSet Border Terrain is not valid",
         MsgKind::Information},
        {[](TFram1& f) { f.DefaultCombo->setEditText("Sand"); }, "TileSet Default Terrain is not valid",
         MsgKind::Information},
        {[](TFram1& f) { f.FloorCombo->setEditText("Sand"); }, "TileSet Floor Terrain is not valid",
         MsgKind::Information},
    };
    // Break check i and every later one at once (the later ones first, so that a later
    // break of the same control gives way): check i must be the one reported.
    for (std::size_t i = 0; i < steps.size(); ++i) {
        fillValid(F());
        for (std::size_t j = steps.size(); j-- > i;) steps[j].breakIt(F());
        dialogs.Clear();
        F().Button2->click();
        ASSERT_EQ(dialogs.boxes.size(), 1u) << "check " << i + 1;
        EXPECT_EQ(dialogs.boxes[0].text, steps[i].message);
        EXPECT_EQ(dialogs.boxes[0].kind, steps[i].kind);
        EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_TRUE(dialogs.fileRequests.empty()) << "no save dialog after a failed check";
    }

    // Check 9 with other DisplayNames: any negative number, or no number at all, needs the
    // unlocalized name; a StrRef does not.
    for (const char* display : {"-7", "", "-", "abc"}) {
        fillValid(F());
        F().UnlocalEdit->clear();
        F().DisplayEdit->setText(display);
        dialogs.Clear();
        EXPECT_FALSE(F().ValidateTileset()) << display;
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Information) << display;
    }
    fillValid(F());
    F().UnlocalEdit->clear();
    F().DisplayEdit->setText("0");
    dialogs.Clear();
    EXPECT_TRUE(F().ValidateTileset());

    // Terrain names compare without regard to case.
    fillValid(F());
    F().BorderCombo->setEditText("gRASS");
    F().FloorCombo->setEditText("WATER");
    dialogs.Clear();
    EXPECT_TRUE(F().ValidateTileset());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(UiTest, SaveWritesTheFileAsOpenedAndEditedSettings)
{
    StartEditor();
    const std::string path = WriteSet("rural.set", SampleSet);
    OpenSet(path);
    dialogs.Clear();

    // Unchanged, the file comes back byte for byte.
    const std::string same = dir.File("same.set");
    dialogs.QueueFile(same);
    F().Button2->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.fileRequests[0].save);
    EXPECT_TRUE(dialogs.fileRequests[0].options.overwritePrompt);
    EXPECT_EQ(dialogs.fileRequests[0].options.defaultExt, "*.set");
    EXPECT_EQ(dialogs.fileRequests[0].options.filter, "Fichiers SET (*.set)|*.set;*.SET");
    EXPECT_EQ(dir.Read("same.set"), WithCrLf(SampleSet));

    // Edits reach the file; the opened tileset keeps its folder when saved elsewhere.
    F().NameEdit->setText(QString::fromLatin1("Caf\xe9"));
    F().InteriorCheck->setChecked(true);
    F().GrassCheck->setChecked(false);
    F().UnlocalEdit->clear();
    F().DisplayEdit->setText("12");
    TempDir other;
    dialogs.QueueFile(other.File("edited.set"));
    F().Button2->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    const std::string written = other.Read("edited.set");
    EXPECT_NE(written.find("Name=Caf\xe9\r\n"), std::string::npos) << "bytes go out as they were typed";
    EXPECT_NE(written.find("Interior=1\r\n"), std::string::npos);
    EXPECT_NE(written.find("DisplayName=12\r\n"), std::string::npos);
    EXPECT_EQ(written.find("UnlocalizedName=Rural"), std::string::npos);
    EXPECT_NE(written.find("[GRASS]\r\nGrass=0\r\n\r\n[TERRAIN TYPES]"), std::string::npos);
    EXPECT_EQ(Game().SetDir, dir.Path());
    EXPECT_EQ(Game().SetFilePath, path);
}

TEST_F(UiTest, ANewTilesetTakesTheFolderItIsFirstSavedInto)
{
    StartEditor();
    F().Button1->click();
    fillValid(F());
    // The terrains the combos name.
    for (const char* n : {"Grass", "Water"}) {
        auto* t = new CTerrain;
        t->Name = n;
        TS().TerrainList.Append(t);
    }
    TempDir target;
    dialogs.QueueFile(target.File("new.set"));
    F().Button2->click();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(FileExists(target.File("new.set")));
    EXPECT_EQ(Game().SetDir, target.Path());
    EXPECT_EQ(Game().SetFilePath, target.File("new.set"));
    EXPECT_EQ(Form1->Fram61->CurrentSetDir, target.Path());
    EXPECT_EQ(Form1->Fram71->CurrentSetDir, target.Path());

    // The second save elsewhere keeps it.
    TempDir elsewhere;
    dialogs.QueueFile(elsewhere.File("copy.set"));
    F().Button2->click();
    EXPECT_EQ(Game().SetDir, target.Path());
}

TEST_F(UiTest, AFailedSaveSaysSoAndLeavesTheOldFileWhole)
{
    StartEditor();
    OpenSet(WriteSet("rural.set", SampleSet));
    dialogs.Clear();

    // A place that cannot take a file.
    dialogs.QueueFile(dir.File("no/such/folder/x.set"));
    F().Button2->click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Error on saving file !!!");
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Warning);

    // A write that fails half way (a file size limit, which holds for root too).
    const std::string old = dir.Write("old.set", "old contents");
    dialogs.Clear();
    dialogs.QueueFile(old);
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        F().Button2->click();
    }
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Error on saving file !!!");
    EXPECT_EQ(dir.Read("old.set"), "old contents");
}

TEST_F(UiTest, SaveItpWritesThePaletteWhereTheDialogSays)
{
    StartEditor();
    OpenSet(WriteSet("rural.set", SampleSet));
    dialogs.Clear();

    F().Button5->click(); // cancelled
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const FileDialogOptions& o = dialogs.fileRequests[0].options;
    EXPECT_TRUE(dialogs.fileRequests[0].save);
    EXPECT_EQ(o.initialDir, dir.Path());
    EXPECT_EQ(o.fileName, "Ruralpalstd.itp");
    EXPECT_EQ(o.filter, "Fichiers ITP (*.itp)|*.itp;*.ITP");
    EXPECT_EQ(o.defaultExt, "*.itp");
    EXPECT_TRUE(o.overwritePrompt);
    EXPECT_FALSE(FileExists(dir.File("Ruralpalstd.itp")));

    // No validation: an empty name is no obstacle. Height transitions bring "raiselower".
    F().NameEdit->clear();
    dialogs.QueueFile(dir.File("with.itp"));
    F().Button5->click();
    EXPECT_EQ(dialogs.fileRequests.back().options.fileName, "palstd.itp");
    F().TransitionCheck->setChecked(false);
    dialogs.QueueFile(dir.File("without.itp"));
    F().Button5->click();
    EXPECT_TRUE(dialogs.boxes.empty());

    const std::string with = dir.Read("with.itp"), without = dir.Read("without.itp");
    EXPECT_EQ(with.substr(0, 8), "ITP V3.2");
    EXPECT_NE(with.find("raiselower"), std::string::npos);
    EXPECT_EQ(without.find("raiselower"), std::string::npos);
    EXPECT_NE(without.find("eraser"), std::string::npos);
    ITPExporter expected;
    expected.BeginMain();
    expected.AddCategory0();
    expected.AddSingleTileGroups();
    expected.AddCategory1();
    expected.AddMultiTileGroups();
    expected.AddCategory2();
    expected.AddTerrainEntries(false);
    EXPECT_EQ(without, expected.FileBytes());
}

TEST_F(UiTest, AHandlerErrorIsShownAndTheEditorGoesOn)
{
    StartEditor();
    OpenSet(WriteSet("rural.set", SampleSet));
    TS().TerrainList.At(0)->StrRef = "abc";
    dialogs.Clear();
    dialogs.QueueFile(dir.File("bad.itp"));
    F().Button5->click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_NE(dialogs.boxes[0].text.find("abc"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.File("bad.itp")));

    // The next command works as ever.
    TS().TerrainList.At(0)->StrRef = "1";
    dialogs.QueueFile(dir.File("good.itp"));
    F().Button5->click();
    EXPECT_TRUE(FileExists(dir.File("good.itp")));
}
