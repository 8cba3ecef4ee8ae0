// What keeps a user's work: the question before Open, New or closing drops changes, files
// that are no tileset refused, what the reader had to guess shown, and where the file
// dialogs start.
#include "UiTestSupport.h"

#include <algorithm>
#include <functional>

#include "model/Globfun.h"
#include "platform/Text.h"
#include "support/SpecialFiles.h"
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
    const std::string path = dir.Write("rural.set", FromQt(ToQt(SampleSet()).replace("[PRIMARY RULES]\r\nCount=0",
        "[PRIMARY RULES]\r\nCount=1\r\n\r\n[PRIMARY RULE0]\r\nPlaced=Grass\r\nAdjacent=Water\r\nChanged=Sand")));
    const std::string other = dir.Write("other.set", SampleSet());
    auto t = [] { return Form1->Fram21; };
    auto tiles = [] { return Form1->Fram41; };
    auto g = [] { return Form1->Fram51; };
    // What the user does; the editor named and the button it names ("" asks nothing; "saved"
    // is a change Save .SET writes, with a text of the file).
    const std::tuple<std::function<void()>, std::string, std::string> rows[] = {
        {[&] { t()->ListBox1->setCurrentRow(1), t()->LabeledEdit2->setText("5"); }, "terrain editor", "\"Apply\""},
        {[&] { t()->LabeledEdit3->setText("Road"); }, "crosser editor", "\"Add\""},
        {[&] { tiles()->ListView1->SelectNumber(0), tiles()->UpDown5->StepUp(); }, "tile editor", "\"Save Change\""},
        {[&] { tiles()->Button1Click(), tiles()->LabeledEdit1->setText("tnew"); }, "tile editor", "\"Add/Copy\""},
        {[&] { tiles()->ListView1->SelectNumber(1), tiles()->Button6Click(), tiles()->Edit13->setText("3"); },
         "door box", "the door's \"Save\""},
        {[&] { g()->ListView1->SelectNumber(1), g()->ListView3->setCurrentItem(g()->ListView3->Row(0)); // a member
               g()->Button6Click(); }, "group editor", "\"Save Change\""},
        {[&] { Form1->Fram31->ListView1->SelectNumber(0), Form1->Fram31->UpDown2->StepUp(); }, "rule editor", "\"Save\""},
        {[&] { F().NameEdit->setText("Renamed"); }, "saved", "Name=Renamed"},
        {[&] { t()->ListBox1->setCurrentRow(2), t()->LabeledEdit2->setText("9"), t()->Button2Click(); // stored
               tiles()->ListView1->SelectNumber(0), tiles()->UpDown5->StepUp(), tiles()->Button4Click(); }, "saved", "StrRef=9"},
        {[&] { g()->ListView1->SelectNumber(0), tiles()->ListView1->SelectNumber(0), tiles()->UpDown5->StepUp(); // shown,
               tiles()->UpDown5->StepDown(), g()->LabeledEdit1->setText("x"), g()->Button7Click(); // typed back, cleared
         }, "", ""}};
    const std::function<bool()> actions[] = {[&] { return OpenSet(other), Game().SetFilePath == other; },
        [&] { return F().Button1Click(), TS().TerrainList.Empty(); }, [&] { return Form1->close(), Form1->isHidden(); }};
    const MsgResult answers[] = {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
    for (std::size_t i = 0; i < std::size(rows) * 3; ++i) {
        const auto& [type, editor, stored] = rows[i / 3];
        const bool asked = !editor.empty(), saves = editor == "saved", yes = answers[i % 3] == MsgResult::Yes;
        SCOPED_TRACE(std::to_string(i));
        Restart(), Form1->show(), OpenSet(path);
        // On another tab, so that Yes has to show the editor.
        Form1->PageControl1->setCurrentIndex(5), type(), dialogs.Clear();
        if (asked) dialogs.QueueAnswer(answers[i % 3]);
        if (saves && yes) dialogs.QueueFile(dir.File("saved.set"));
        EXPECT_EQ(actions[(i / 3 + i % 3) % 3](), !asked || answers[i % 3] == MsgResult::No || (saves && yes));
        ASSERT_EQ(dialogs.boxes.size(), asked + (asked && !saves && yes));
        EXPECT_TRUE(!(saves && yes) || dir.Read("saved.set").find(stored) != std::string::npos);
        if (dialogs.boxes.size() < 2) continue;
        // Nothing saved and nothing lost: the editor is on show, and says how to store them.
        const std::string said = dialogs.boxes[1].text;
        EXPECT_TRUE(said.find(editor) < said.size() && said.find("with " + stored + ",") < said.size()) << said;
        EXPECT_TRUE(dialogs.fileRequests.empty() && Form1->FindUnstoredValues().value().editor->isVisibleTo(Form1));
    }
}

TEST_F(UiTest, ASaveTakesTheUserToValuesTypedAndNotStoredAndWritesThemOnceStored)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    auto t = [] { return Form1->Fram21; };
    auto tiles = [] { return Form1->Fram41; };
    auto g = [] { return Form1->Fram51; };
    // What the user types, what is then said, the editor's button that stores it, and a text
    // both the .set and the palette hold once it is stored (tile 1 is the one-cell group's
    // picture; the group and the terrain have no StrRef, so the palette names them).
    const std::tuple<std::function<void()>, std::string, std::function<void()>, std::string> rows[] = {
        {[&] { tiles()->ListView1->SelectNumber(1), tiles()->LabeledEdit1->setText("trl01_zz_01"); },
         "The tile editor of the \"Tiles\" tab holds values that are not stored. Store them with \"Save Change\", "
         "or take them back, before the tileset is saved.", [&] { tiles()->Button4->click(); }, "trl01_zz_01"},
        {[&] { g()->ListView1->SelectNumber(0), g()->LabeledEdit1->setText("Isle"); },
         "The group editor of the \"Groups\" tab holds values that are not stored. Store them with \"Save Change\", "
         "or take them back, before the tileset is saved.", [&] { g()->Button2->click(); }, "Isle"},
        {[&] { t()->ListBox1->setCurrentRow(1), t()->LabeledEdit7->setText("Lake Water"); },
         "The terrain editor of the \"Terrain / Crosser\" tab holds values that are not stored. Store them with "
         "\"Apply\", or take them back, before the tileset is saved.", [&] { t()->Button2->click(); }, "Lake Water"}};
    for (const auto& [type, said, store, stored] : rows)
        // Save .SET; the same with settings its checks refuse, which come after; Save .ITP.
        for (std::string name : {"saved.set", "!saved.set", "saved.itp"}) {
            SCOPED_TRACE(said.substr(0, 20) + name);
            Restart(), Form1->show(), OpenSet(path);
            const bool refused = name[0] == '!', set = name.ends_with(".set");
            if (refused) name.erase(0, 1);
            QPushButton* command = set ? F().Button2 : F().Button5;
            const std::string file = dir.File(name);
            RemoveFile(file);
            // On another tab, so that the editor has to be shown.
            Form1->PageControl1->setCurrentIndex(5), type(), dialogs.Clear();
            if (refused) F().NameEdit->clear();
            dialogs.QueueFile(file); // what the save dialog would answer, were it shown
            command->click();
            EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{said});
            EXPECT_TRUE(dialogs.boxes.size() == 1 && dialogs.boxes[0].kind == MsgKind::Information);
            EXPECT_TRUE(dialogs.fileRequests.empty()) << "no save dialog";
            EXPECT_FALSE(FileExists(file));
            EXPECT_TRUE(Form1->FindUnstoredValues().value().editor->isVisibleTo(Form1));
            if (refused) F().NameEdit->setText("Rural");
            store(), dialogs.Clear();
            dialogs.QueueFile(file);
            command->click();
            EXPECT_TRUE(dialogs.boxes.empty() && dialogs.fileRequests.size() == 1u);
            EXPECT_NE(dir.Read(name).find(stored), std::string::npos);
        }
}

TEST_F(UiTest, NothingIsAskedOfWhatWasOpenedOrSavedAndTheEditorWorksWhereTheFileWasSaved)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    TempDir other;
    dir.Write("stray.mdl", "x"), other.Write("other.mdl", "x");
    TFram7& files = *Form1->Fram71;
    Form1->show();
    OpenSet(path);
    F().NameEdit->setText("Changed");
    F().NameEdit->setText("Rural");
    OpenSet(path);
    F().NameEdit->setText("Changed");
    files.RadioButton4->setChecked(true), files.Button1->click();
    dialogs.QueueFile(other.File("copy.set"));
    F().Button2->click();
    EXPECT_EQ(FromQt(F().StatusPanel->text() + "|" + Form1->Fram61->LabeledEdit3->text()) + "|" + Game().SetFilePath,
              "SET FILE : " + other.File("copy.set") + "|" + other.File("copy.set") + "|" + other.File("copy.set"));
    // What was found in the last folder is forgotten; a search looks in the new one.
    EXPECT_TRUE(files.UnusedFiles.Empty());
    files.Button1->click();
    EXPECT_EQ(Join(files.UnusedFiles), other.File("other.mdl"));
    for (QPushButton* cancelled : {F().Button2, F().OpenButton, Form1->Fram61->Button1}) cancelled->click();
    dialogs.QueueFile(dir.Write("src/s.set", SampleSet()));
    Form1->Fram61->Button1->click();
    Form1->Fram61->Button1->click();
    Form1->close();
    EXPECT_TRUE(Form1->isHidden() && dialogs.boxes.empty());
    std::string starts;
    for (const auto& r : dialogs.fileRequests) starts += r.options.initialDir + "|" + r.options.fileName + " ";
    const std::string at = dir.Path() + "| ", there = other.Path() + "| ";
    EXPECT_EQ(starts, "| " + at + dir.Path() + "|rural.set " + other.Path() + "|copy.set " + there + there + there +
                          dir.File("src") + "| ");
}

TEST_F(UiTest, AFileThatIsNoTilesetIsRefusedAndGuessesAreShownOnce)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    OpenSet(path);
    const std::string noSection = "it has no tileset section ([GENERAL], [TILES], ...).";
    const std::pair<std::string, std::string> refused[] = {
        {std::string("\x7f" "ELF\2\1\0\0\n[TILE0]\n", 16), "it holds binary data."},
        {"Name=x\n[ GENERAL]\n[FOO]\n", noSection}, {"", noSection}};
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

TEST_F(UiTest, APathThatIsNoFileIsRefusedAtOnceAndTheTilesetStays)
{
    const std::string path = dir.Write("rural.set", SampleSet());
    OpenSet(path);
    F().NameEdit->setText("Changed");
    NamedPipe pipe(dir.File("pipe.set"));
    ASSERT_TRUE(pipe.Made() && MakeSocketFile(dir.File("sock.set")));
    std::filesystem::create_directory(dir.File("folder.set"));
    // A name that only leads to one of the kernel's files (/proc/kmsg waits for good).
    std::filesystem::create_symlink("/proc/self/status", dir.File("proc.set"));
    // Open, the Import tab's Open Set File, Save .SET and Save .ITP, each given what it
    // could otherwise wait on or replace. A device is only opened: a save test that went
    // wrong must not replace /dev/null.
    const std::pair<std::string, const char*> paths[] = {{pipe.Path(), "a named pipe"},
        {dir.File("folder.set"), "a folder"}, {dir.File("sock.set"), "a socket"},
        {dir.File("proc.set"), "a /proc entry"}, {"/dev/null", "a device"}};
    for (QPushButton* command : {F().OpenButton, Form1->Fram61->Button1, F().Button2, F().Button5}) {
        const bool save = command == F().Button2 || command == F().Button5;
        for (const auto& [target, kind] : paths) {
            if (save && target == "/dev/null") continue;
            SCOPED_TRACE(command->objectName().toStdString() + " " + target);
            dialogs.Clear();
            // Open asks about the changes first; answered No, they stay all the same.
            if (command == F().OpenButton) dialogs.QueueAnswer(MsgResult::No);
            dialogs.QueueFile(target);
            command->click();
            EXPECT_EQ(dialogs.boxes.back().text,
                      (save ? "Cannot save to " : "Cannot open ") + target + ": it is " + kind + ", not a file.");
            EXPECT_EQ(dialogs.boxes.back().kind, MsgKind::Warning);
            EXPECT_EQ(dialogs.boxes.size(), command == F().OpenButton ? 2u : 1u);
        }
    }
    EXPECT_FALSE(pipe.ReaderWaited()) << "nothing opened the pipe";
    EXPECT_EQ(NonFileKind(pipe.Path()) + "," + NonFileKind(dir.File("sock.set")), "a named pipe,a socket");
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("folder.set")));
    EXPECT_EQ(Game().SetFilePath + "|" + FromQt(F().StatusPanel->text()) + "|" + Text(F().NameEdit),
              path + "|SET FILE : " + path + "|Changed");
    EXPECT_TRUE(F().TilesetChanged() && !Form1->Fram61->Button2->isEnabled()) << "no source was opened";
}
