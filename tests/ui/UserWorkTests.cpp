// What keeps a user's work: the question before Open, New or closing drops changes, files
// that are no tileset refused, what the reader had to guess shown, and where the file
// dialogs start.
#include "UiTestSupport.h"

#include <algorithm>
#include <functional>

#include "model/Globfun.h"
#include "platform/Text.h"
#include "support/TilesetBuilder.h"
#include "ui/frm2.h"
#include "ui/frm3.h"
#include "ui/frm5.h"

TEST_F(UiTest, ChangesAreDroppedOnlyWhenTheAnswerSaysSo)
{
    const std::string other = dir.Write("other.set", SampleSet());
    // The answer, the save dialog's file ("" cancels it; "!" first fails the settings'
    // checks), and whether the action goes on.
    const std::tuple<MsgResult, std::string, bool> answers[] = {{MsgResult::Yes, "saved.set", true},
        {MsgResult::Yes, "", false}, {MsgResult::Yes, "no/such/folder/x.set", false},
        {MsgResult::Yes, "!saved.set", false}, {MsgResult::No, "", true}, {MsgResult::Cancel, "", false}};
    const std::function<bool()> actions[] = {[&] { return OpenSet(other), Game().SetFilePath == other; },
        [&] { return F().Button1->click(), TS().TerrainList.Empty(); },
        [&] { return Form1->close(), Form1->isHidden(); }, [&] { return F().Exit1->trigger(), Form1->isHidden(); }};
    for (std::size_t a = 0; a < std::size(actions); ++a)
        for (auto [answer, file, goesOn] : answers) {
            SCOPED_TRACE(std::to_string(a) + " " + file);
            Restart();
            RemoveFile(dir.File("saved.set"));
            Form1->show();
            F().Button1->click();
            TextFile sample; // read without Open: the tileset is no longer the new one
            sample.OpenText(SampleSet());
            ReadSetFile(sample);
            if (file[0] == '!') F().NameEdit->clear();
            dialogs.QueueAnswer(answer);
            if (answer == MsgResult::Yes) dialogs.QueueFile(file.empty() ? std::nullopt : std::optional(dir.File(file)));
            EXPECT_EQ(actions[a](), goesOn);
            EXPECT_EQ(dialogs.boxes.at(0).text, "The tileset has changed. Do you want to save it ?");
            EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::YesNoCancel);
            EXPECT_EQ(FileExists(dir.File("saved.set")), file == "saved.set");
        }
}

TEST_F(UiTest, ValuesTypedIntoAnEditorAreAskedAboutAndYesTakesTheUserToThem)
{
    // The sample with a primary rule.
    const std::string rule = "[PRIMARY RULES]\r\nCount=1\r\n\r\n[PRIMARY RULE0]\r\nPlaced=Grass\r\nPlacedHeight=0\r\n"
                             "Adjacent=Water\r\nAdjacentHeight=0\r\nChanged=Sand\r\nChangedHeight=0\r\n";
    const std::string path = dir.Write("rural.set", FromQt(ToQt(SampleSet()).replace("[PRIMARY RULES]\r\nCount=0\r\n", ToQt(rule))));
    const std::string other = dir.Write("other.set", SampleSet());
    auto t = [] { return Form1->Fram21; };
    auto tiles = [] { return Form1->Fram41; };
    auto g = [] { return Form1->Fram51; };
    auto r = [] { return Form1->Fram31; };
    // What the user does; the editor named in the message and its button ("" asks nothing;
    // "saved" is a change that Save .SET writes, with the text the file then holds).
    const std::tuple<std::function<void()>, std::string, std::string> rows[] = {
        {[&] { t()->ListBox1->setCurrentRow(1), t()->LabeledEdit2->setText("5"); }, "terrain editor", "\"Apply\""},
        {[&] { t()->LabeledEdit3->setText("Road"); }, "crosser editor", "\"Add\""},
        {[&] { tiles()->ListView1->SelectNumber(0), tiles()->UpDown5->StepUp(); }, "tile editor", "\"Save Change\""},
        {[&] { tiles()->Button1Click(), tiles()->LabeledEdit1->setText("tnew"); }, "tile editor", "\"Add/Copy\""},
        {[&] { tiles()->ListView1->SelectNumber(1), tiles()->Button6Click(), tiles()->LabeledEdit10->setText("3"); },
         "door box", "the door's \"Save\""},
        {[&] { g()->ListView1->SelectNumber(1), g()->ListView3->setCurrentItem(g()->ListView3->Row(0)), g()->Button6Click(); },
         "group editor", "\"Save Change\""},
        {[&] { r()->ListView1->SelectNumber(0), r()->UpDown2->StepUp(); }, "rule editor", "\"Save\""},
        {[&] { F().NameEdit->setText("Renamed"); }, "saved", "Name=Renamed"},
        {[&] { tiles()->ListView1->SelectNumber(0), tiles()->UpDown5->StepUp(), tiles()->Button4Click(); }, "saved",
         "Orientation=90"},
        // Shown, typed back, stored, or taken back with Clear: nothing to ask.
        {[&] {
             t()->ListBox1->setCurrentRow(0), g()->ListView1->SelectNumber(0), r()->ListView1->SelectNumber(0);
             tiles()->ListView1->SelectNumber(0), tiles()->UpDown5->StepUp(), tiles()->UpDown5->StepDown();
             t()->LabeledEdit7->setText("x"), t()->LabeledEdit7->clear();
         }, "", ""},
        {[&] {
             r()->UpDown1->StepUp(), r()->Button6Click(), g()->LabeledEdit1->setText("x"), g()->Button7Click();
             tiles()->LabeledEdit1->setText("x"), tiles()->Button1Click();
         }, "", ""},
        {[&] { t()->ListBox1->setCurrentRow(2), t()->LabeledEdit2->setText("9"), t()->Button2Click(); }, "saved",
         "StrRef=9"}};
    const std::function<bool()> actions[] = {[&] { return OpenSet(other), Game().SetFilePath == other; },
        [&] { return F().Button1Click(), TS().TerrainList.Empty(); }, [&] { return Form1->close(), Form1->isHidden(); }};
    const MsgResult answers[] = {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
    for (std::size_t i = 0; i < std::size(rows); ++i)
        for (std::size_t a = 0; a < std::size(answers); ++a) {
            const auto& [type, editor, stored] = rows[i];
            const MsgResult answer = answers[a];
            SCOPED_TRACE(std::to_string(i) + " " + std::to_string(a));
            Restart();
            Form1->show();
            OpenSet(path);
            // Elsewhere, so that Yes has to bring the editor on show.
            Form1->PageControl1->setCurrentIndex(5);
            type();
            dialogs.Clear();
            RemoveFile(dir.File("saved.set"));
            const bool asked = !editor.empty(), saves = editor == "saved";
            if (asked) dialogs.QueueAnswer(answer);
            if (saves && answer == MsgResult::Yes) dialogs.QueueFile(dir.File("saved.set"));
            const bool goesOn = actions[(i + a) % 3]();
            EXPECT_EQ(goesOn, !asked || answer == MsgResult::No || (saves && answer == MsgResult::Yes));
            const std::vector<std::string> texts = dialogs.Texts();
            ASSERT_EQ(texts.size(), std::size_t(asked) + (asked && !saves && answer == MsgResult::Yes));
            if (asked) {
                EXPECT_EQ(texts[0], "The tileset has changed. Do you want to save it ?");
            }
            if (saves && answer == MsgResult::Yes) {
                EXPECT_NE(dir.Read("saved.set").find(stored), std::string::npos);
            }
            if (!asked || saves || answer != MsgResult::Yes) continue;
            // Nothing saved and nothing lost: the editor is on show and says how to store them.
            EXPECT_TRUE(dialogs.fileRequests.empty());
            EXPECT_NE(texts[1].find(editor), std::string::npos) << texts[1];
            EXPECT_NE(texts[1].find("Store them with " + stored + ","), std::string::npos) << texts[1];
            const auto unstored = Form1->FindUnstoredValues();
            ASSERT_TRUE(unstored);
            EXPECT_TRUE(unstored->editor->isVisibleTo(Form1));
        }
}

TEST_F(UiTest, AfterSaveToAnotherFolderTheEditorWorksOnTheSavedFile)
{
    TempDir other;
    for (const char* name : {"trl01_a01_01.mdl", "trl01_a02_01.mdl", "stray.mdl"}) dir.Write(name, "newmodel x\r\n");
    other.Write("other_stray.mdl", "newmodel y\r\n");
    Form1->show();
    OpenSet(dir.Write("rural.set", SampleSet()));
    TFram7& files = *Form1->Fram71;
    files.RadioButton4->setChecked(true);
    files.Button1->click();
    ASSERT_EQ(files.UnusedFiles.Count(), 1);
    // Path, folder, the tabs' folders, the Working Directory, the Import tab's and the
    // status bar's name.
    auto where = [&] {
        return Join(std::initializer_list<std::string>{Game().SetFilePath, Game().SetDir, Form1->Fram61->CurrentSetDir,
                        files.CurrentSetDir, Text(files.LabeledEdit1), Text(Form1->Fram61->LabeledEdit3),
                        FromQt(F().StatusPanel->text())}, "|");
    };
    const std::string copy = other.File("copy.set");
    const std::string there = Join(std::initializer_list<std::string>{copy, other.Path(), other.Path(), other.Path(),
                                       other.Path(), copy, "SET FILE : " + copy}, "|");
    dialogs.QueueFile(copy);
    F().Button2->click();
    EXPECT_EQ(where(), there);
    // What was found unused in the old folder is deleted nowhere; a search looks in the new one.
    EXPECT_TRUE(files.UnusedFiles.Empty() && files.Memo2->toPlainText().isEmpty());
    files.Button4->click();
    files.Button1->click();
    dialogs.QueueAnswer(MsgResult::Yes);
    files.Button4->click();
    EXPECT_TRUE(FileExists(dir.File("stray.mdl")) && !FileExists(other.File("other_stray.mdl")));

    // The next Save, Open and Import start there; a save that fails changes nothing; what
    // was saved is the baseline of the question.
    dialogs.Clear();
    for (QPushButton* b : {F().Button2, F().OpenButton, Form1->Fram61->Button1}) b->click();
    dialogs.QueueFile(other.File("no/such/folder/x.set"));
    F().Button2->click();
    EXPECT_EQ(where(), there);
    std::string starts;
    for (const auto& r : dialogs.fileRequests) starts += r.options.initialDir + "|" + r.options.fileName + " ";
    const std::string at = other.Path() + "|";
    EXPECT_EQ(starts, at + "copy.set " + at + " " + at + " " + at + "copy.set ");
    Form1->close();
    EXPECT_TRUE(Form1->isHidden());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Error on saving file !!!"});
}

TEST_F(UiTest, NothingIsAskedOfWhatWasOpenedOrSavedAndDialogsStartWhereTheTilesetIs)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    Form1->show();
    OpenSet(path);
    F().NameEdit->setText("Changed");
    F().NameEdit->setText("Rural");
    OpenSet(path);
    F().NameEdit->setText("Changed");
    TempDir other;
    dialogs.QueueFile(other.File("copy.set"));
    F().Button2->click();
    EXPECT_EQ(FromQt(F().StatusPanel->text()), "SET FILE : " + other.File("copy.set"));
    Form1->Fram61->Button1->click(); // cancelled
    dialogs.QueueFile(dir.Write("src/s.set", SampleSet()));
    Form1->Fram61->Button1->click();
    Form1->Fram61->Button1->click();
    Form1->close();
    EXPECT_TRUE(Form1->isHidden() && dialogs.boxes.empty());
    std::string starts;
    for (const auto& r : dialogs.fileRequests) starts += r.options.initialDir + "|" + r.options.fileName + " ";
    const std::string at = dir.Path() + "| ", there = other.Path() + "| ";
    EXPECT_EQ(starts, "| " + at + dir.Path() + "|rural.set " + there + there + dir.File("src") + "| ");
}

TEST_F(UiTest, AFileThatIsNoTilesetIsRefusedAndGuessesAreShownOnce)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    OpenSet(path);
    const std::string noSection = "it has no tileset section ([GENERAL], [TILES], ...).";
    const std::pair<std::string, std::string> refused[] = {
        {std::string("\x7f" "ELF\2\1\0\0\n[TILE0]\n", 16), "it holds binary data."},
        {"Name=x\n [GENERAL]\n[FOO]\n", noSection}, {"", noSection}};
    for (const auto& [bytes, why] : refused) {
        const std::string bad = dir.Write("bad.set", bytes);
        OpenSet(bad);
        dialogs.QueueFile(bad);
        Form1->Fram61->Button1->click();
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(2, bad + " is not a tileset: " + why));
        EXPECT_EQ(std::to_string(TS().TerrainList.Count()) + Game().SetFilePath + FromQt(F().StatusPanel->text()),
                  "3" + path + "SET FILE : " + path);
        EXPECT_FALSE(Form1->Fram61->Button2->isEnabled()) << "no source was opened";
        dialogs.Clear();
    }

    // A real-sized tileset cut short opens as far as it goes, with one message; more than
    // twenty findings are counted.
    BuildTileset({3, 2, 4, 300, 30});
    const int tiles = TS().TileList.Count();
    std::string cut = SetFileText(), many = "[TILE0]\n";
    cut.resize(cut.size() * 4 / 10);
    for (int i = 0; i < 25; ++i) many += "Sounds=x\n";
    dialogs.QueueAnswer(MsgResult::No);
    OpenSet(dir.Write("cut.set", cut));
    const std::string count = Format("Count=%d, but the file holds %d tile sections\n", tiles, TS().TileList.Count());
    EXPECT_NE(dialogs.Texts().back().find(count), std::string::npos) << dialogs.Texts().back();
    OpenSet(dir.Write("many.set", many));
    const std::string shown = dialogs.Texts().back();
    EXPECT_EQ(dialogs.boxes.size(), 3u) << "the question and one message per file";
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 22);
    EXPECT_TRUE(shown.starts_with("Not everything in " + dir.File("many.set") + " could be read as written:\n\nline 2:"));
    EXPECT_TRUE(shown.ends_with("\nline 21: Sounds=x: no whole number, read as 0\nand 5 more"));
}
