// The general settings frame: Open, New, the general and grass settings with the colour
// picker, Save .SET with its checks, and Save .ITP.
#include "UiTestSupport.h"

#include <QMouseEvent>
#include <optional>

#include "gamedata/Citp.h"
#include "model/Globfun.h"
#include "platform/TextFile.h"
#include "support/FileSizeLimit.h"
#include "support/FilesLocked.h"

TEST_F(UiTest, OpenShowsTheFileAndTheGrassBoxAndColourPickerChangeIt)
{
    F().OpenButton->click(); // cancelled: nothing happens
    OpenSet(dir.File("missing.set"));
    ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{"Error on opening file !!!"});
    EXPECT_EQ(EditorState(), EmptyState);
    EXPECT_EQ(Game().SetFilePath, "");

    // The grass settings as the file has them: a channel that is no number shows no colour
    // and leaves the result without one; one above 1 stays within its own; grass off
    // empties the edits and the panels. The folder's name is longer than a fixed buffer
    // would take: paths are never cut.
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"Green=0.500", "Green=x", "on:15.0,0.5,1.000,x,0.250,0.500,0.250,0.100,|ff,-,3f0000,-,7f,3f00,190000,193f7f,"},
        {"Red=0.500", "Red=7",
         "on:15.0,0.5,1.000,0.500,0.250,7,0.250,0.100,|ff,7f00,3f0000,3f7fff,ff,3f00,190000,193fff,"},
        {"Grass=1", "Grass=0", "off:,,,,,,,,|-,-,-,-,-,-,-,-,"},
        {"", "", "on:15.0,0.5,1.000,0.500,0.250,0.500,0.250,0.100,|ff,7f00,3f0000,3f7fff,7f,3f00,190000,193f7f,"}};
    const std::string folder = dir.File(std::string(140, 'f'));
    dialogs.Clear();
    for (auto [from, to, grass] : cases) {
        std::string set = SampleSet();
        OpenSet(dir.Write(std::string(140, 'f') + "/rural.set", set.replace(set.find(from), from.size(), to)));
        EXPECT_EQ(Grass(), grass) << to;
        EXPECT_EQ(F().DensityEdit->isEnabled(), to != "Grass=0");
        EXPECT_EQ(TS().TerrainList.Count(), 3) << "the rest of the file is read";
    }
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(EditorState(), Editing + " DensityEdit") << "New stays off after Open";
    EXPECT_EQ(Game().SetFilePath, folder + "/rural.set");
    for (const std::string& d : {Game().SetDir, Form1->Fram61->CurrentSetDir, Form1->Fram71->CurrentSetDir})
        EXPECT_EQ(d, folder);
    EXPECT_EQ(Text(F().Edit1), "text 2") << "the DisplayName's StrRef text";

    // The grass box sets the entry's flag; the controls follow it (see the typing case).
    for (bool on : {false, true}) {
        F().GrassCheck->setChecked(on);
        EXPECT_EQ(TS().General->Grass, on);
    }

    // The picker starts from the clicked panel's colour. Diffuse pure white, then ambient
    // 0x00BBGGRR red 128, green 64, blue 26.
    dialogs.QueueColour(0x00FFFFFFu);
    F().Panel7Click(F().Panel7);
    EXPECT_EQ(Grass(), "on:15.0,0.5,1.000,1.000,1.000,0.500,0.250,0.100,|ff,ff00,ff0000,ffffff,7f,3f00,190000,193f7f,");
    dialogs.QueueColour(0x001A4080u);
    F().Panel7Click(F().Panel8);
    EXPECT_EQ(Grass(), "on:15.0,0.5,1.000,1.000,1.000,0.500,0.250,0.100,|ff,ff00,ff0000,ffffff,80,4000,1a0000,1a4080,");
    // Black, by a click on the panel itself; then a cancelled pick changes nothing.
    dialogs.QueueColour(0u);
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(F().Panel7, &click);
    F().Panel7Click(F().Panel8);
    EXPECT_EQ(dialogs.colourRequests, (std::vector<uint32_t>{0x3F7FFF, 0x193F7F, 0xFFFFFF, 0x1A4080}));
    EXPECT_EQ(Grass(), "on:15.0,0.5,0.000,0.000,0.000,0.500,0.250,0.100,|0,0,0,0,80,4000,1a0000,1a4080,");
}

TEST_F(UiTest, NewStartsAnEmptyTilesetThatTakesTheFolderItIsSavedInto)
{
    F().NameEdit->setText("kept");
    F().Button1->click();
    EXPECT_EQ(EditorState(), Editing + " Button1") << "New stays on; the grass controls wait for the grass box";
    EXPECT_EQ(Text(F().NameEdit), "kept") << "the frame keeps its texts";

    // Settings and terrains read without Open, so the tileset still has no folder; saved
    // elsewhere a second time, it takes that one.
    TextFile file;
    ASSERT_TRUE(file.Open(dir.Write("rural.set", SampleSet()), TextFile::Mode::Read));
    ReadSetFile(file);
    TempDir target, elsewhere;
    dialogs.QueueFile(target.File("new.set"));
    F().Button2->click();
    dialogs.QueueFile(elsewhere.File("copy.set"));
    F().Button2->click();
    EXPECT_TRUE(FileExists(target.File("new.set")) && FileExists(elsewhere.File("copy.set")));
    EXPECT_EQ(Game().SetFilePath, elsewhere.File("copy.set"));
    for (const std::string& d : {Game().SetDir, Form1->Fram61->CurrentSetDir, Form1->Fram71->CurrentSetDir,
             Text(Form1->Fram71->LabeledEdit1)})
        EXPECT_EQ(d, elsewhere.Path());
}

TEST_F(UiTest, EditsShowTheirStrRefTextAndTakeOnlyTheirKeys)
{
    // Text set, then a step of the up-down (-1 .. 32767): the text and its StrRef's text.
    // Texts on the way to a number and numbers past the table's end are no error; from a
    // text that is no number the up-down steps from the last position it set.
    const std::tuple<const char*, int, const char*> display[] = {{"12", 0, "12 text 12"}, {"0", 0, "0 Bad Strref"},
        {"-1", 0, "-1 Unlocalized Name"}, {"-5", 0, "-5 Bad Strref"}, {"13", 0, "13 Bad strref"},
        {"-", 0, "- Bad Strref"}, {"", 0, " Bad Strref"}, {"99999999999", 0, "99999999999 Bad Strref"},
        {"32767", +1, "32767 Bad strref"}, {"x", -1, "32766 Bad strref"}, {"-1", -1, "-1 Unlocalized Name"},
        {"0", +1, "1 text 1"}};
    for (auto [text, step, shown] : display) {
        F().DisplayEdit->setText(text);
        if (step) step > 0 ? F().UpDown1->StepUp() : F().UpDown1->StepDown();
        EXPECT_EQ(Text(F().DisplayEdit) + " " + Text(F().Edit1), shown) << text << " " << step;
    }
    EXPECT_TRUE(dialogs.boxes.empty());

    // Typed keys: grass values take digits and '.', at most five; the type at most three
    // characters; the StrRef text and the colour values none.
    F().Button1->click();
    F().GrassCheck->setChecked(true);
    const std::tuple<QLineEdit*, const char*, const char*> typed[] = {{F().DisplayEdit, "-a1.2", "-12"},
        {F().TransitionEdit, "x5-", "5-"}, {F().DensityEdit, "1-2.5e67", "12.56"}, {F().TypeEdit, "SETX", "SET"},
        {F().Edit1, "12", ""}, {F().DRedEdit, "1", ""}, {F().ABlueEdit, "1", ""}};
    for (auto [edit, keys, shown] : typed) EXPECT_EQ(Typed(edit, keys), shown) << edit->objectName().toStdString();
    F().VersionEdit->setText("V1.0.12");
    EXPECT_EQ(Text(F().VersionEdit), "V1.0.12") << "a longer text from a file is kept whole";
}

TEST_F(UiTest, SaveChecksTheSettingsInOrderAndTheFirstFailureWins)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    const MsgKind E = MsgKind::Error, I = MsgKind::Information;
    const std::tuple<const char*, const char*, const char*, MsgKind> checks[] = {
        {"NameEdit", "", "TileSet need a Name", E}, {"TypeEdit", "", "TileSet need a Type", E},
        {"VersionEdit", "", "TileSet need a Version", E}, {"EnvMapEdit", "", "TileSet need an Environment Map ", E},
        {"TransitionEdit", "", "TileSet need a transition value", E},
        {"BorderCombo", "", "TileSet Border terrain not defined", E},
        {"DefaultCombo", "", "TileSet Default terrain not defined", E},
        {"FloorCombo", "", "TileSet Floor terrain not defined", E},
        {"UnlocalEdit", "", "You have specified -1 in Display Name\nso Tileset need an Unlocalized Name", I},
        {"BorderCombo", "Mud", "TileSet Border Terrain is not valid", I},
        {"DefaultCombo", "Mud", "TileSet Default Terrain is not valid", I},
        {"FloorCombo", "Mud", "TileSet Floor Terrain is not valid", I}};
    // Break check i and every later one at once (the later ones first, so that a later
    // break of the same control gives way): check i must be the one reported.
    for (std::size_t i = 0; i < std::size(checks); ++i) {
        if (i) dialogs.QueueAnswer(MsgResult::No); // the edits of the last case
        OpenSet(path);
        F().DisplayEdit->setText("-1");
        for (std::size_t j = std::size(checks); j-- > i;) {
            QWidget* w = F().findChild<QWidget*>(std::get<0>(checks[j]));
            w->setProperty(qobject_cast<QComboBox*>(w) ? "currentText" : "text", std::get<1>(checks[j]));
        }
        dialogs.Clear();
        F().Button2->click();
        ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{std::get<2>(checks[i])}) << "check " << i + 1;
        EXPECT_EQ(dialogs.boxes[0].kind, std::get<3>(checks[i]));
        EXPECT_TRUE(dialogs.fileRequests.empty()) << "no save dialog after a failed check";
    }

    // Check 9 takes any negative DisplayName, and one that is no number, but not a StrRef;
    // terrain names compare without regard to case.
    dialogs.QueueAnswer(MsgResult::No);
    OpenSet(path);
    dialogs.Clear();
    F().BorderCombo->setEditText("gRASS");
    F().FloorCombo->setEditText("WATER");
    F().UnlocalEdit->clear();
    for (const char* display : {"-7", "", "-", "abc", "0"}) {
        F().DisplayEdit->setText(display);
        EXPECT_EQ(F().ValidateTileset(), *display == '0') << display;
    }
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(4, std::get<2>(checks[8])));
}

TEST_F(UiTest, SaveWritesTheSetAndThePaletteAndAFailedSaveLeavesTheOldFileWhole)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    OpenSet(path);
    dialogs.Clear();
    // Unchanged, the file comes back byte for byte.
    dialogs.QueueFile(dir.File("same.set"));
    F().Button2->click();
    EXPECT_TRUE(dialogs.fileRequests.at(0).save && dialogs.fileRequests[0].options.overwritePrompt);
    EXPECT_EQ(dir.Read("same.set"), SampleSet());

    // Edits reach the file, which the editor then works on.
    F().NameEdit->setText(QString::fromLatin1("Caf\xe9"));
    F().InteriorCheck->setChecked(true);
    F().GrassCheck->setChecked(false);
    F().UnlocalEdit->clear();
    F().DisplayEdit->setText("12");
    TempDir other;
    dialogs.QueueFile(other.File("edited.set"));
    F().Button2->click();
    const std::string written = other.Read("edited.set");
    for (const char* part :
         {"Name=Caf\xe9\r\n", "Interior=1\r\n", "DisplayName=12\r\n", "[GRASS]\r\nGrass=0\r\n\r\n[TERRAIN TYPES]"})
        EXPECT_NE(written.find(part), std::string::npos) << part;
    EXPECT_EQ(written.find("UnlocalizedName=Rural"), std::string::npos);
    EXPECT_EQ(Game().SetDir, other.Path());
    EXPECT_EQ(Game().SetFilePath, other.File("edited.set"));

    // A place that cannot take a file, then a write that fails half way (a file size limit,
    // which holds for root too).
    dialogs.QueueFile(dir.File("no/such/folder/x.set"));
    F().Button2->click();
    dialogs.QueueFile(path);
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        F().Button2->click();
    }
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{
                                   "Error on saving file !!!\n" + dir.File("no/such/folder/x.set") + ": No such file or directory",
                                   "Error on saving file !!!\n" + path + ": File too large"}));
    EXPECT_EQ(dir.Read("rural.set"), SampleSet());

    // Save .ITP: the dialog starts in the tileset's folder with a name after the tileset's.
    dialogs.Clear();
    F().Button5->click(); // cancelled
    const FileDialogOptions itp = dialogs.fileRequests.at(0).options;
    EXPECT_TRUE(dialogs.fileRequests[0].save && itp.overwritePrompt);
    EXPECT_EQ(itp.initialDir + "|" + itp.fileName, other.Path() + "|Caf\xe9palstd.itp");

    // No validation: an empty name is no obstacle. Height transitions bring "raiselower";
    // without them the steps give the palette below, in their order.
    F().NameEdit->clear();
    dialogs.QueueFile(dir.File("with.itp"));
    F().Button5->click();
    EXPECT_EQ(dialogs.fileRequests.back().options.fileName, "palstd.itp");
    F().TransitionCheck->setChecked(false);
    dialogs.QueueFile(dir.File("without.itp"));
    F().Button5->click();
    EXPECT_NE(dir.Read("with.itp").find("raiselower"), std::string::npos);
    ITPExporter palette;
    palette.BeginMain();
    palette.AddCategory0();
    palette.AddSingleTileGroups();
    palette.AddCategory1();
    palette.AddMultiTileGroups();
    palette.AddCategory2();
    palette.AddTerrainEntries(false);
    EXPECT_EQ(dir.Read("without.itp"), palette.FileBytes());

    // A handler's error is shown, and nothing is written.
    TS().TerrainList.At(0)->StrRef = "abc";
    dialogs.QueueFile(dir.File("bad.itp"));
    F().Button5->click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_NE(dialogs.boxes[0].text.find("abc"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.File("bad.itp")));
}

TEST_F(UiTest, AFailedSaveSaysWhereAndWhyAndTheTilesetStaysAsItWas)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    OpenSet(path);
    F().NameEdit->setText("Changed");
    dir.Write("plain.txt", "not a folder");
    TempDir locked;
    // Where the save goes, and the system's reason.
    const std::pair<std::string, const char*> cases[] = {{dir.File("gone/x"), "No such file or directory"},
        {dir.File("plain.txt/x"), "Not a directory"}, {locked.File("x"), "Permission denied"}};
    dialogs.Clear();
    std::vector<std::string> expected;
    for (const auto& [target, why] : cases) {
        // The other folders are root's alone: locked is locked only while it is saved to.
        std::optional<FilesLocked> lock;
        if (target == locked.File("x")) {
            ASSERT_TRUE(lock.emplace(locked, std::initializer_list<const char*>{"."}).ok);
        }
        dialogs.QueueFile(target + ".set");
        F().Button2->click();
        dialogs.QueueFile(target + ".itp");
        F().Button5->click();
        expected.push_back("Error on saving file !!!\n" + target + ".set: " + why);
        expected.push_back("Error on writing ITP file\n" + target + ".itp: " + why);
    }
    EXPECT_EQ(dialogs.Texts(), expected);
    EXPECT_EQ(dialogs.boxes.at(0).kind, MsgKind::Warning);
    EXPECT_TRUE(ListFiles(locked.Path()).empty()) << "no file, not even a temporary one";
    EXPECT_TRUE(F().TilesetChanged()) << "the changes are still unsaved";
    EXPECT_EQ(Game().SetFilePath + "|" + FromQt(F().StatusPanel->text()), path + "|SET FILE : " + path);
    EXPECT_EQ(dir.Read("rural.set"), SampleSet());
}
