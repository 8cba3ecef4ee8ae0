// Start-up: the windows, the state before a tileset is open, the game data it finds, the
// layout and the one table of control names, captions and hints.
#include "UiTestSupport.h"

#include <filesystem>

#include <QRadioButton>

#include "ui/DlgPathList.h"
#include "ui/DlgRenamerHelp.h"
#include "ui/DlgTextChange.h"
#include "ui/SetBifOpen.h"
#include "ui/frm2.h"
#include "ui/frm3.h"
#include "ui/frm5.h"

TEST_F(UiTest, StartUpFindsWhatTheFoldersHoldAndShowsTheEmptyState)
{
    EXPECT_EQ(EditorState(), EmptyState);
    EXPECT_EQ(Form1->windowTitle(), "Tilvenna BETA 0.85");
    EXPECT_EQ(Game().MdlCompilerPath, "") << "no converter in the start folder, and no error either";
    EXPECT_TRUE(dialogs.boxes.empty()) << "the game was found, so no notice";

    // The key files fill the minimap pick-list, with the minimaps only; the start folder
    // holds the temporary file and may hold the converter.
    KeyBuilder key;
    const uint32_t b = key.AddBif("data.bif");
    key.Add("mi_rural01", 3, b, 0).Add("tcn01_a01_01", 3, b, 1);
    dir.Write("game/chitin.key", key.Build());
    TempDir start;
    start.Write("nwnmdlcomp.exe", "x");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(start.Path());
    Restart();
    std::filesystem::current_path(saved);
    // One item: a second would not be empty.
    EXPECT_EQ(Form1->Fram41->ComboBox17->itemText(0) + "|" + Form1->Fram41->ComboBox17->itemText(1), "mi_rural01|");
    EXPECT_EQ(Game().StartDir, start.Path());
    EXPECT_EQ(Game().MdlCompilerPath, start.Path() + "/nwnmdlcomp.exe");
    EXPECT_EQ(Game().TempFilePath, start.Path() + "/MMTEMP.TGA");

    // Without the game a notice is shown, every StrRef is a bad one, and the editor starts.
    dir.Write("registry.ini", "");
    Restart();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"NWN main directory not found in registry"});
    EXPECT_EQ(EditorState(), EmptyState);
    F().DisplayEdit->setText("2");
    EXPECT_EQ(Text(F().Edit1), "Bad strref");
}

// Each set of radio buttons keeps its choice: a button clicked twice stays checked, and no
// other set changes with it.
TEST_F(UiTest, ARadioButtonChangesOnlyItsOwnSet)
{
    OpenSet(dir.Write("r.set", SampleSet()));
    dialogs.QueueFile(dir.File("r.set")), Form1->Fram61->Button1->click(); // a source turns the Import tab's on
    const QList<QRadioButton*> all = Form1->findChildren<QRadioButton*>();
    for (QRadioButton* r : all) {
        auto others = [&] {
            std::string s;
            for (QRadioButton* o : all) s += o->parent() == r->parent() ? '-' : o->isChecked() ? '1' : '0';
            return s;
        };
        const std::string before = others();
        if (r->isEnabled()) r->click(), r->click();
        EXPECT_TRUE(!r->isEnabled() || (r->isChecked() && others() == before)) << FromQt(r->objectName());
    }
}

// Every caption shows whole and no two controls of a box cover each other.
TEST_F(UiTest, CaptionsShowWholeAndControlsDoNotOverlap)
{
    Form1->show();
    Form3->show();
    F().Button1Click(); // the tabs at their size
    // a page is laid out once shown
    for (QWidget* sheet : {Form1->TabSheet5, Form1->TabSheet6, Form1->TabSheet2, Form1->TabSheet3, Form1->TabSheet4}) {
        Form1->PageControl1->setCurrentWidget(sheet);
        QApplication::processEvents();
    }
    TFram2& t = *Form1->Fram21;
    TFram3& r = *Form1->Fram31;
    TFram6& i = *Form1->Fram61;
    TFram7& files = *Form1->Fram71;
    TFram4& tiles = *Form1->Fram41;
    TFram5& groups = *Form1->Fram51;
    tiles.PageControl1->setCurrentIndex(1);
    QApplication::processEvents();
    Form4->show();
    for (QWidget* box : std::initializer_list<QWidget*>{&F(), F().GroupBox1, F().GroupBox2, Form3->GroupBox2,
             Form3->GroupBox3, Form3, &t, t.Panel1, t.Panel2, t.GroupBox1, &r, r.RadioGroup1, r.Panel1, r.GroupBox2, &i,
             i.GroupBox2, i.GroupBox3, i.GroupBox4, i.GroupBox5, i.GroupBox6, Form2,
             &files, files.GroupBox1, files.GroupBox2, files.GroupBox3, files.GroupBox4, files.Panel1, files.Panel2,
             Form5, Form5->Change, Form5->GroupBox1, Form6, &tiles, tiles.GeneralPage, tiles.PropertiesPage,
             tiles.GroupBox3, tiles.GroupBox4, &groups, groups.GroupBox1, groups.GroupBox2, Form4}) {
        std::vector<QWidget*> controls;
        for (QWidget* w : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!w->isHidden() && !qobject_cast<QGroupBox*>(w)) controls.push_back(w);
        for (QWidget* w : controls) {
            const std::string name = w->objectName().toStdString();
            const bool captioned = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
            EXPECT_TRUE(box->rect().contains(w->geometry())) << name;
            EXPECT_TRUE(!captioned || w->width() >= w->sizeHint().width()) << name << " cuts its caption";
            for (QWidget* other : controls)
                EXPECT_FALSE(other->objectName() < w->objectName() && w->geometry().intersects(other->geometry()))
                    << name << " covers " << other->objectName().toStdString();
        }
    }
}

namespace {
// The caption a control shows: a labelled edit's label, a tab's caption, else a box's
// title, the text of a button, label, menu entry or plain edit, or a window's title.
std::string captionOf(QObject* o)
{
    if (auto* e = dynamic_cast<TLabeledEdit*>(o)) return FromQt(e->EditLabel->text());
    if (int i = Form1->PageControl1->indexOf(qobject_cast<QWidget*>(o)); i >= 0)
        return FromQt(Form1->PageControl1->tabText(i));
    for (const char* caption : {"title", "text", "windowTitle"})
        if (QVariant v = o->property(caption); v.isValid()) return FromQt(v.toString());
    return "";
}

// Rows "name=caption=hint" with ';' between; a missing caption or hint is an empty one.
void expectControls(QObject* owner, const QString& table)
{
    for (const QString& row : table.split(';')) {
        const QStringList cell = row.split('=');
        const std::string name = cell[0].toStdString();
        QObject* o = owner->findChild<QObject*>(cell[0]);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_EQ(captionOf(o), cell.value(1).toStdString()) << name;
        EXPECT_EQ(o->isWidgetType() ? static_cast<QWidget*>(o)->toolTip() : "", cell.value(2)) << name;
    }
}
}

TEST_F(UiTest, ControlsCarryTheirNamesCaptionsAndHints)
{
    expectControls(&F(),
        "OpenButton=Open=Open a Set file;Button1=New=New tileset;Button2=Save .SET=Save Set file;"
        "Button5=Save .ITP=Save ITP file;Button4=Options=Options;Panel7==Open Color-Picker;Panel8==Open Color-Picker;"
        "GroupBox1=General;NameEdit=Name;TypeEdit=Type;VersionEdit=Version;EnvMapEdit=Env Map;BorderCombo;"
        "BorderLabel=Border Terrain;DefaultCombo;DefaultLabel=Default Terrain;FloorCombo;FloorLabel=Floor Terrain;"
        "TransitionCheck=Has Height Transition;TransitionEdit=Transition;InteriorCheck=Interior;"
        "UnlocalEdit=Unlocalized Name;DisplayEdit=DisplayName;UpDown1;Edit1=Unlocalized Name;Image1;GrassCheck=Grass;"
        "GroupBox2=Grass;DensityEdit=Density;HeightEdit=Height;DRedEdit=Diffuse Red;DGreenEdit=Diffuse Green;"
        "DBlueEdit=Diffuse Blue;ARedEdit=Ambient Red;AGreenEdit=Ambient Green;ABlueEdit=Ambient Blue;Panel1;Panel2;"
        "Panel3;Panel4;Panel5;Panel6;ResultLabel=Result Color;StatusBar1;PopupMenu1;Options1=&Options;About1=About;"
        "Exit1=&Exit");
    expectControls(Form3,
        "Button1=OK;Button2=Cancel;GroupBox2=Importing Tiles and Group;RadioButton1=Copy files when importing;"
        "RadioButton2=Never copy files when importing;CheckBox1=Ask Confirmation;"
        "CheckBox3=No confirm on import ALL Tiles/Groups;CheckBox4=No confirm on import group tiles members;"
        "CheckBox6=No check for duplicate entries;GroupBox3=Editing Tiles;"
        "RadioButton3=Delete files when delete a tile;RadioButton4=Never delete files;CheckBox2=Ask Confirmation;"
        "CheckBox5=No confirm on delete ALL tiles");
    expectControls(Form1,
        "TabSheet1=Terrain / Crosser;TabSheet2=Tiles;TabSheet3=Groups;TabSheet4=Rules;TabSheet5=Import Tiles/Groups;"
        "TabSheet6=Files/Textures;Form2=Open NWN Set File;Form3=Options;Form4=Path Node List;Form5=Textures Selection;"
        "Form6=Files renamer infos");
    // The tabs in order, each holding its frame.
    const char* frames[] = {"Fram21", "Fram41", "Fram51", "Fram31", "Fram61", "Fram71"};
    for (int i = 0; i < 6; ++i) expectControls(Form1->PageControl1->widget(i), frames[i]);
}
