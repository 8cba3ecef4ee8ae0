// What keeps a user's work: the question before Open, New or closing drops changes, files
// that are no tileset refused, what the reader had to guess shown, and where the file
// dialogs start.
#include "UiTestSupport.h"

#include <algorithm>
#include <functional>

#include "model/Globfun.h"
#include "platform/Text.h"
#include "support/TilesetBuilder.h"

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
    const std::string at = dir.Path() + "| ";
    EXPECT_EQ(starts, "| " + at + dir.Path() + "|rural.set " + at + at + dir.File("src") + "| ");
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
