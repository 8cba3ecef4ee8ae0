// Start-up: the windows, their sizes and the state before a tileset is open.
#include "UiTestSupport.h"

#include <QTabBar>

#include "ui/DlgPathList.h"
#include "ui/DlgRenamerHelp.h"
#include "ui/DlgTextChange.h"
#include "ui/SetBifOpen.h"

TEST_F(UiTest, StartUpBuildsTheWindowsInTheEmptyState)
{
    StartEditor();
    ASSERT_NE(Form1, nullptr);
    EXPECT_TRUE(dialogs.boxes.empty()) << "the game was found, so no notice";
    EXPECT_EQ(Form1->windowTitle().toStdString(), "Tilvenna BETA 0.85");
    EXPECT_EQ(Form1->width(), 850);
    EXPECT_EQ(Form1->height(), 230);
    EXPECT_EQ(F().height(), 202);

    // The dialogs exist, hidden, with their captions.
    const std::pair<QWidget*, const char*> dialogsShown[] = {
        {Form2, "Open NWN Set File"}, {Form3, "Options"}, {Form4, "Path Node List"},
        {Form5, "Textures Selection"}, {Form6, "Files renamer infos"}};
    for (auto [w, caption] : dialogsShown) {
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->windowTitle().toStdString(), caption);
    }
    EXPECT_EQ(Form3->width(), 454);
    EXPECT_EQ(Form3->height(), 253);

    // The tabs: hidden, first active, captions and frames in order.
    QTabWidget* pages = Form1->findChild<QTabWidget*>("PageControl1");
    ASSERT_EQ(pages, Form1->PageControl1);
    EXPECT_TRUE(pages->isHidden());
    EXPECT_EQ(pages->currentIndex(), 0);
    const char* captions[] = {"Terrain / Crosser", "Tiles", "Groups", "Rules", "Import Tiles/Groups", "Files/Textures"};
    const char* frames[] = {"Fram21", "Fram41", "Fram51", "Fram31", "Fram61", "Fram71"};
    ASSERT_EQ(pages->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(pages->tabText(i).toStdString(), captions[i]);
        EXPECT_EQ(pages->widget(i)->objectName().toStdString(), "TabSheet" + std::to_string(i + 1));
        EXPECT_NE(pages->widget(i)->findChild<QWidget*>(frames[i]), nullptr) << frames[i];
    }
    EXPECT_EQ(pages->tabBar()->tabRect(0).width(), 131);
    EXPECT_EQ(pages->tabBar()->tabRect(0).height(), 30);

    // Only the file commands work before Open or New.
    EXPECT_FALSE(F().GroupBox1->isEnabled());
    EXPECT_FALSE(F().GroupBox2->isEnabled());
    EXPECT_FALSE(F().NameEdit->isEnabled());
    EXPECT_FALSE(F().DisplayEdit->isEnabled());
    EXPECT_FALSE(F().GrassCheck->isEnabled());
    EXPECT_FALSE(F().Button2->isEnabled());
    EXPECT_FALSE(F().Button5->isEnabled());
    EXPECT_TRUE(F().OpenButton->isEnabled());
    EXPECT_TRUE(F().Button1->isEnabled());
    EXPECT_TRUE(F().Button4->isEnabled());
    EXPECT_EQ(F().DisplayEdit->text().toStdString(), "-1");
    EXPECT_EQ(F().Edit1->text().toStdString(), "Unlocalized Name");

    // Game data and folders.
    GameData& game = Game();
    EXPECT_EQ(game.GameDir, gameDir);
    EXPECT_TRUE(game.TlkOpen);
    EXPECT_EQ(game.StartDir, std::filesystem::current_path().string());
    EXPECT_EQ(game.TempFilePath.substr(game.TempFilePath.size() - 11), "/MMTEMP.TGA");
    EXPECT_EQ(game.MdlCompilerPath, "") << "no converter in the start folder";
    EXPECT_FALSE(game.AutoConvertMdl);

    // Options at their first-run values.
    EXPECT_FALSE(Form1->Fram61->NeverCopy);
    EXPECT_FALSE(Form1->Fram61->NeverCheckDuplicate);
    EXPECT_TRUE(Form1->Fram61->NeverConfOnGroupTiles);
    EXPECT_FALSE(Form1->Fram41->NeverDelete);
}

TEST_F(UiTest, WithoutTheGameTheNoticeIsShownAndTheEditorStillStarts)
{
    dir.Write("registry.ini", "");
    StartEditor();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "NWN main directory not found in registry");
    EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);
    EXPECT_FALSE(Game().TlkOpen);
    EXPECT_EQ(Form1->height(), 230);
    // Every StrRef is then a bad one.
    F().DisplayEdit->setText("2");
    EXPECT_EQ(F().Edit1->text().toStdString(), "Bad strref");
}

TEST_F(UiTest, TheKeyFilesFillTheMinimapPickList)
{
    BifBuilder bif;
    bif.Add(0, 3, "tga bytes");
    bif.Add(1, 3, "tga bytes");
    WriteGameFile("data.bif", bif.Build());
    KeyBuilder key;
    uint32_t b = key.AddBif("data.bif");
    key.Add("mi_rural01", 3, b, 0).Add("tcn01_a01_01", 3, b, 1);
    WriteGameFile("chitin.key", key.Build());
    StartEditor();
    QComboBox* minimaps = Form1->Fram41->findChild<QComboBox*>("ComboBox17");
    ASSERT_NE(minimaps, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < minimaps->count(); ++i) names.push_back(minimaps->itemText(i).toStdString());
    EXPECT_EQ(names, std::vector<std::string>{"mi_rural01"});
}

TEST_F(UiTest, TheConverterBesideTheStartFolderIsFound)
{
    TempDir start;
    start.Write("nwnmdlcomp.exe", "x");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(start.Path());
    StartEditor();
    std::filesystem::current_path(saved);
    EXPECT_EQ(Game().MdlCompilerPath, start.Path() + "/nwnmdlcomp.exe");
    EXPECT_EQ(Game().TempFilePath, start.Path() + "/MMTEMP.TGA");
}

// Every caption shows whole and no two controls of a box cover each other.
TEST_F(UiTest, CaptionsShowWholeAndControlsDoNotOverlap)
{
    StartEditor();
    Form1->show();
    Form3->show();
    QWidget* boxes[] = {&F(), F().GroupBox1, F().GroupBox2, Form3->GroupBox2, Form3->GroupBox3, Form3};
    for (QWidget* box : boxes) {
        std::vector<QWidget*> controls;
        for (QWidget* w : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!w->isHidden() && !qobject_cast<QGroupBox*>(w)) controls.push_back(w);
        for (QWidget* w : controls) {
            const std::string name = w->objectName().toStdString();
            EXPECT_TRUE(box->rect().contains(w->geometry())) << name;
            if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << name << " cuts its caption";
            }
            for (QWidget* other : controls) {
                if (other != w && other->objectName() < w->objectName()) {
                    EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                        << name << " covers " << other->objectName().toStdString();
                }
            }
        }
    }
    Form3->hide();
}

namespace {
// The caption a control shows: a button's or label's text, a box's title, an edit's label.
std::string captionOf(QWidget* w)
{
    if (auto* e = dynamic_cast<TLabeledEdit*>(w)) return e->EditLabel->text().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    return "?";
}
}

TEST_F(UiTest, ControlsCarryTheirNamesAndCaptions)
{
    StartEditor();
    const std::pair<const char*, const char*> frame[] = {
        {"OpenButton", "Open"}, {"Button1", "New"}, {"Button2", "Save .SET"}, {"Button5", "Save .ITP"},
        {"Button4", "Options"}, {"GroupBox1", "General"}, {"NameEdit", "Name"}, {"TypeEdit", "Type"},
        {"VersionEdit", "Version"}, {"EnvMapEdit", "Env Map"}, {"BorderLabel", "Border Terrain"},
        {"DefaultLabel", "Default Terrain"}, {"FloorLabel", "Floor Terrain"},
        {"TransitionCheck", "Has Height Transition"}, {"TransitionEdit", "Transition"}, {"InteriorCheck", "Interior"},
        {"UnlocalEdit", "Unlocalized Name"}, {"DisplayEdit", "DisplayName"}, {"GrassCheck", "Grass"},
        {"GroupBox2", "Grass"}, {"DensityEdit", "Density"}, {"HeightEdit", "Height"}, {"DRedEdit", "Diffuse Red"},
        {"DGreenEdit", "Diffuse Green"}, {"DBlueEdit", "Diffuse Blue"}, {"ARedEdit", "Ambient Red"},
        {"AGreenEdit", "Ambient Green"}, {"ABlueEdit", "Ambient Blue"}, {"ResultLabel", "Result Color"}};
    for (auto [name, caption] : frame) {
        QWidget* w = F().findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(captionOf(w), caption) << name;
    }
    const std::pair<const char*, const char*> hints[] = {{"OpenButton", "Open a Set file"}, {"Button1", "New tileset"},
        {"Button2", "Save Set file"}, {"Button5", "Save ITP file"}, {"Button4", "Options"},
        {"Panel7", "Open Color-Picker"}, {"Panel8", "Open Color-Picker"}};
    for (auto [name, hint] : hints) EXPECT_EQ(F().findChild<QWidget*>(name)->toolTip().toStdString(), hint) << name;
    for (const char* bold : {"OpenButton", "Button1", "Button2", "Button5"})
        EXPECT_TRUE(F().findChild<QWidget*>(bold)->font().bold()) << bold;
    EXPECT_FALSE(F().Button4->font().bold());
    for (const char* name : {"Edit1", "DRedEdit", "ABlueEdit"})
        EXPECT_TRUE(F().findChild<QLineEdit*>(name)->isReadOnly()) << name;
    for (const char* name : {"Panel1", "Panel2", "Panel3", "Panel4", "Panel5", "Panel6", "UpDown1", "Image1", "StatusBar1"})
        EXPECT_NE(F().findChild<QWidget*>(name), nullptr) << name;

    const std::pair<const char*, const char*> options[] = {{"Button1", "OK"}, {"Button2", "Cancel"},
        {"GroupBox2", "Importing Tiles and Group"}, {"RadioButton1", "Copy files when importing"},
        {"RadioButton2", "Never copy files when importing"}, {"CheckBox1", "Ask Confirmation"},
        {"CheckBox3", "No confirm on import ALL Tiles/Groups"}, {"CheckBox4", "No confirm on import group tiles members"},
        {"CheckBox6", "No check for duplicate entries"}, {"GroupBox3", "Editing Tiles"},
        {"RadioButton3", "Delete files when delete a tile"}, {"RadioButton4", "Never delete files"},
        {"CheckBox2", "Ask Confirmation"}, {"CheckBox5", "No confirm on delete ALL tiles"}};
    for (auto [name, caption] : options) {
        QWidget* w = Form3->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(captionOf(w), caption) << name;
    }
}
