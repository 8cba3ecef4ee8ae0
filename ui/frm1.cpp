#include "ui/frm1.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <optional>

#include "gamedata/Citp.h"
#include "gamedata/GameData.h"
#include "model/Globfun.h"
#include "model/Tileset.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "ui/App.h"
#include "ui/Busy.h"
#include "ui/DlgOptions.h"
#include "ui/frm4.h"
#include "ui/frm6.h"
#include "ui/frm7.h"
#include "ui/mainfrm.h"

namespace {

// Key filter A (grass values) and B (transition, DisplayName).
// Key filter A (DBlueEditKeyPress): the eight grass edits take digits and '.'.
const std::string DBlueEditKeyPress = "0123456789.";
// Key filter B (TransitionEditKeyPress): TransitionEdit and DisplayEdit take digits and '-'.
const std::string TransitionEditKeyPress = "0123456789-";

const char* const SaveQuestion = "The tileset has changed. Do you want to save it ?";
const char* const SaveFailed = "Error on saving file !!!";
// Findings shown in one message at most; the rest are counted.
constexpr std::size_t FindingsShown = 20;

uint32_t windowColour()
{
    const QWidget* w = Form1 ? static_cast<const QWidget*>(Form1) : nullptr;
    return VclFromColor(w ? w->palette().color(QPalette::Window) : QApplication::palette().color(QPalette::Window));
}

// A channel's text as a colour byte: the number times 255, truncated, kept within a byte.
// None for a text that is not a number.
std::optional<uint32_t> channelByte(const std::string& text)
{
    double v = 0;
    try {
        v = StrToFloat(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    double scaled = std::trunc(v * 255.0);
    if (!(scaled >= 0)) scaled = 0;
    if (scaled > 255) scaled = 255;
    return uint32_t(scaled);
}

QPushButton* commandButton(QWidget* parent, const char* name, const char* caption, const char* hint)
{
    auto* b = MakeNamed<QPushButton>(parent, name, caption);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    b->setToolTip(hint);
    return b;
}

QPixmap banner(int w, int h)
{
    QPixmap pm(w, h);
    QPainter p(&pm);
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, QColor(40, 70, 40));
    g.setColorAt(1, QColor(150, 120, 60));
    p.fillRect(pm.rect(), g);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(h * 2 / 3);
    p.setFont(f);
    p.setPen(QColor(240, 230, 200));
    p.drawText(pm.rect(), Qt::AlignCenter, QString::fromLatin1(AppTitle));
    return pm;
}

} // namespace

bool IsTilesetFile(const TextFile& file, const std::string& path)
{
    switch (CheckSetText(file.Contents())) {
    case SetTextCheck::Tileset: return true;
    case SetTextCheck::Binary:
        AppDialogs().Warning(path + " is not a tileset: it holds binary data.");
        return false;
    case SetTextCheck::NoSection:
        AppDialogs().Warning(path + " is not a tileset: it has no tileset section ([GENERAL], [TILES], ...).");
        return false;
    }
    return false;
}

void ShowSetFindings(const std::string& path, const SetFindings& findings)
{
    if (findings.empty()) return;
    std::string text = "Not everything in " + path + " could be read as written:\n";
    for (std::size_t i = 0; i < findings.size() && i < FindingsShown; ++i)
        text += Format("\nline %ld: ", findings[i].line) + findings[i].text;
    if (findings.size() > FindingsShown) text += Format("\nand %zu more", findings.size() - FindingsShown);
    AppDialogs().Warning(text);
}

std::string FormatColorValue(std::string t)
{
    if (t == "1") return "1.000";
    if (t == "0") return "0.000";
    if (t.size() < 2) t.resize(2, '0');
    t[1] = '.';
    if (t.size() > 5) t.resize(5);
    // Shorter texts are padded to "d.ddd"; for three characters and four this is the
    // "00" and "0" the format asks for.
    if (t.size() < 5) t.resize(5, '0');
    if (t[4] == '1') t[4] = '0';
    return t;
}

std::string ColorComponentText(uint32_t component)
{
    // The product in extended precision, shown with 15 significant digits, as the colour
    // values have always been written.
    long double v = (long double)component * 0.00392156862745098L;
    return FormatColorValue(Format("%.15Lg", v));
}

TFram1::TFram1(QWidget* parent) : QWidget(parent)
{
    setObjectName("Fram11");
    resize(TForm1::WindowWidth, FrameHeight);
    buildGeneralBox();
    buildGrassBox();
    buildCommands();

    StatusBar1 = MakeNamed<QStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel = MakeNamed<QLabel>(StatusBar1, "StatusPanel");
    StatusPanel->setMinimumWidth(50);
    StatusBar1->addWidget(StatusPanel, 1);
    StatusBar1->setGeometry(0, FrameHeight - 22, TForm1::WindowWidth, 22);

    OpenDialog1.defaultExt = "set";
    OpenDialog1.filter = "Fichiers SET (*.set)|*.set;*.SET";
    SaveDialog1.defaultExt = "*.set"; // the Qt dialog takes the suffix from it
    SaveDialog1.filter = "Fichiers SET (*.set)|*.set;*.SET";
    SaveDialog1.overwritePrompt = true;
    SaveDialog2.defaultExt = "*.itp";
    SaveDialog2.filter = "Fichiers ITP (*.itp)|*.itp;*.ITP";
    SaveDialog2.overwritePrompt = true;

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu1->popup(mapToGlobal(p)); });
}

void TFram1::buildGeneralBox()
{
    GroupBox1 = MakeNamed<QGroupBox>(this, "GroupBox1", "General");
    GroupBox1->setGeometry(4, 2, 426, 176);
    QWidget* g = GroupBox1;

    NameEdit = new TLabeledEdit(g, "NameEdit", "Name");
    NameEdit->Place(8, 34, 120);
    TypeEdit = new TLabeledEdit(g, "TypeEdit", "Type");
    TypeEdit->Place(134, 34, 40);
    LimitTyping(TypeEdit, 3);
    VersionEdit = new TLabeledEdit(g, "VersionEdit", "Version");
    VersionEdit->Place(180, 34, 52);
    LimitTyping(VersionEdit, 5);
    EnvMapEdit = new TLabeledEdit(g, "EnvMapEdit", "Env Map");
    EnvMapEdit->Place(238, 34, 90);
    TransitionEdit = new TLabeledEdit(g, "TransitionEdit", "Transition");
    TransitionEdit->Place(334, 34, 84);
    InstallKeyFilter(TransitionEdit, TransitionEditKeyPress);

    auto combo = [g](QComboBox*& box, QLabel*& label, const char* name, const char* labelName, const char* caption,
                     int x, int w) {
        box = MakeNamed<QComboBox>(g, name);
        MakeEditablePickList(box);
        box->setGeometry(x, 76, w, 22);
        label = MakeNamed<QLabel>(g, labelName, caption);
        label->setGeometry(x, 60, w, 16);
    };
    combo(BorderCombo, BorderLabel, "BorderCombo", "BorderLabel", "Border Terrain", 8, 130);
    combo(DefaultCombo, DefaultLabel, "DefaultCombo", "DefaultLabel", "Default Terrain", 144, 136);
    combo(FloorCombo, FloorLabel, "FloorCombo", "FloorLabel", "Floor Terrain", 286, 132);

    UnlocalEdit = new TLabeledEdit(g, "UnlocalEdit", "Unlocalized Name");
    // Room for the longer names of community tilesets, such as "+ Complete Rural\City".
    UnlocalEdit->Place(8, 118, 170);
    DisplayEdit = new TLabeledEdit(g, "DisplayEdit", "DisplayName");
    DisplayEdit->Place(184, 118, 52);
    DisplayEdit->setText("-1");
    InstallKeyFilter(DisplayEdit, TransitionEditKeyPress);
    UpDown1 = new TUpDown(g, "UpDown1", DisplayEdit, -1, 32767);
    UpDown1->PlaceBesideAssociate();
    Edit1 = MakeNamed<QLineEdit>(g, "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setGeometry(258, 118, 160, 22);

    TransitionCheck = MakeNamed<QCheckBox>(g, "TransitionCheck", "Has Height Transition");
    TransitionCheck->setGeometry(8, 148, 156, 20);
    InteriorCheck = MakeNamed<QCheckBox>(g, "InteriorCheck", "Interior");
    InteriorCheck->setGeometry(166, 148, 74, 20);
    Image1 = MakeNamed<QLabel>(g, "Image1");
    Image1->setGeometry(242, 146, 176, 24);
    Image1->setPixmap(banner(176, 24));

    // Editing starts with Open or New.
    enableInside(GroupBox1, false);

    connect(DisplayEdit, &QLineEdit::textChanged, this, Guard([this] { DisplayEditChange(); }));
    DisplayEditChange();
}

void TFram1::buildGrassBox()
{
    GroupBox2 = MakeNamed<QGroupBox>(this, "GroupBox2", "Grass");
    GroupBox2->setGeometry(436, 2, 314, 176);
    QWidget* g = GroupBox2;

    DensityEdit = new TLabeledEdit(g, "DensityEdit", "Density");
    DensityEdit->Place(8, 34, 50);
    HeightEdit = new TLabeledEdit(g, "HeightEdit", "Height");
    HeightEdit->Place(100, 34, 50);

    auto channel = [g](TLabeledEdit*& edit, TColorPanel*& panel, const char* editName, const char* caption,
                       const char* panelName, int x, int y) {
        edit = new TLabeledEdit(g, editName, caption);
        edit->Place(x, y, 50);
        edit->setReadOnly(true);
        panel = new TColorPanel(g, panelName);
        panel->setGeometry(x + 52, y, 12, 22);
    };
    // Columns 96 apart leave room for the longest caption, "Ambient Green", and a gap
    // before the next one.
    channel(DRedEdit, Panel1, "DRedEdit", "Diffuse Red", "Panel1", 8, 76);
    channel(DGreenEdit, Panel3, "DGreenEdit", "Diffuse Green", "Panel3", 104, 76);
    channel(DBlueEdit, Panel5, "DBlueEdit", "Diffuse Blue", "Panel5", 200, 76);
    channel(ARedEdit, Panel2, "ARedEdit", "Ambient Red", "Panel2", 8, 118);
    channel(AGreenEdit, Panel4, "AGreenEdit", "Ambient Green", "Panel4", 104, 118);
    channel(ABlueEdit, Panel6, "ABlueEdit", "Ambient Blue", "Panel6", 200, 118);
    for (TLabeledEdit* e : {DensityEdit, HeightEdit, DRedEdit, DGreenEdit, DBlueEdit, ARedEdit, AGreenEdit, ABlueEdit})
        InstallKeyFilter(e, DBlueEditKeyPress, 5);

    ResultLabel = MakeNamed<QLabel>(g, "ResultLabel", "Result Color");
    ResultLabel->setGeometry(224, 42, 84, 16);
    ResultLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Panel7 = new TColorPanel(g, "Panel7");
    Panel7->setGeometry(284, 60, 26, 38);
    Panel8 = new TColorPanel(g, "Panel8");
    Panel8->setGeometry(284, 102, 26, 38);
    const uint32_t face = windowColour();
    for (TColorPanel* p : {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6, Panel7, Panel8}) p->SetColor(face);
    for (TColorPanel* p : {Panel7, Panel8}) {
        p->setCursor(Qt::PointingHandCursor);
        p->setToolTip("Open Color-Picker");
        p->OnClick = Guard([this, p] { Panel7Click(p); });
    }
    enableInside(GroupBox2, false);

    GrassCheck = MakeNamed<QCheckBox>(this, "GrassCheck", "Grass");
    GrassCheck->setGeometry(680, 0, 66, 18);
    GrassCheck->setEnabled(false);
    // The handler runs whenever the box changes, by code too.
    connect(GrassCheck, &QCheckBox::toggled, this, Guard([this] { GrassCheckClick(); }));
}

void TFram1::buildCommands()
{
    OpenButton = commandButton(this, "OpenButton", "Open", "Open a Set file");
    OpenButton->setGeometry(756, 6, 88, 28);
    Button1 = commandButton(this, "Button1", "New", "New tileset");
    Button1->setGeometry(756, 38, 88, 28);
    Button2 = commandButton(this, "Button2", "Save .SET", "Save Set file");
    Button2->setGeometry(756, 70, 88, 28);
    Button2->setEnabled(false);
    Button5 = commandButton(this, "Button5", "Save .ITP", "Save ITP file");
    Button5->setGeometry(756, 102, 88, 28);
    Button5->setEnabled(false);
    Button4 = MakeNamed<QPushButton>(this, "Button4", "Options");
    Button4->setToolTip("Options");
    Button4->setGeometry(756, 140, 88, 28);

    connect(OpenButton, &QPushButton::clicked, this, Guard([this] { OpenButtonClick(); }));
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
    connect(Button5, &QPushButton::clicked, this, Guard([this] { Button5Click(); }));
    connect(Button4, &QPushButton::clicked, this, Guard([this] { Button4Click(); }));

    PopupMenu1 = MakeNamed<QMenu>(this, "PopupMenu1");
    Options1 = PopupMenu1->addAction("&Options");
    Options1->setObjectName("Options1");
    About1 = PopupMenu1->addAction("About");
    About1->setObjectName("About1");
    Exit1 = PopupMenu1->addAction("&Exit");
    Exit1->setObjectName("Exit1");
    connect(Options1, &QAction::triggered, this, Guard([this] { Options1Click(); }));
    connect(About1, &QAction::triggered, this, Guard([this] { About1Click(); }));
    connect(Exit1, &QAction::triggered, this, Guard([this] { Exit1Click(); }));
}

void TFram1::enableInside(QGroupBox* box, bool on)
{
    for (QWidget* w : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(on);
}

void TFram1::showSetFolder()
{
    const std::string& dir = Game().SetDir;
    Form1->Fram61->CurrentSetDir = dir;
    Form1->Fram71->CurrentSetDir = dir;
    Form1->Fram71->LabeledEdit1->setText(ToQt(dir));
}

// Open and New both leave the empty state the same way: the tabs show, the window grows
// and the general settings, the grass box and the save commands can be used. The grass
// controls themselves wait for the grass check box.
void TFram1::startEditing()
{
    Form1->PageControl1->show();
    enableInside(GroupBox1, true);
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBox1, GroupBox2, Button2, Button5, GrassCheck})
        w->setEnabled(true);
    Form1->SetWindowHeight(TForm1::EditingHeight);
}

void TFram1::showFileName(const std::string& path)
{
    StatusPanel->setText("SET FILE : " + ToQt(path));
}

bool TFram1::takeFile(const std::string& path)
{
    GameData& game = Game();
    const std::string before = game.SetDir;
    game.SetFilePath = path;
    std::error_code ec;
    auto full = std::filesystem::absolute(std::filesystem::path(path), ec);
    game.SetDir = (ec ? std::filesystem::path(path) : full).parent_path().string();
    showSetFolder();
    Form1->Fram61->LabeledEdit3->setText(ToQt(path));
    return game.SetDir != before;
}

void TFram1::OpenButtonClick()
{
    if (!AskToSaveChanges()) return;
    // The folder of the tileset last opened (or first saved).
    FileDialogOptions options = OpenDialog1;
    options.initialDir = Game().SetDir;
    auto path = AppDialogs().OpenFile(options);
    // A named pipe would hold the editor for good: refused before anything reads it.
    if (!path || RefuseNonFile(*path, FileUse::Open)) return;
    TextFile file;
    if (!file.Open(*path, TextFile::Mode::Read)) {
        AppDialogs().Warning("Error on opening file !!!");
        return;
    }
    // Read and checked before anything of the open tileset is given up.
    if (!IsTilesetFile(file, *path)) return;
    takeFile(*path);
    startEditing();
    // Open, unlike New, turns New off for the rest of the run.
    Button1->setEnabled(false);
    SetFindings findings;
    {
        // A large tileset fills thousands of rows in the tabs.
        BusyCursor busy;
        ResetTileset();
        findings = ReadSetFile(file);
        savedText_ = SetFileText();
    }
    showFileName(*path);
    ShowSetFindings(*path, findings);
}

void TFram1::Button1Click()
{
    if (!AskToSaveChanges()) return;
    ResetTileset();
    // Empty every list view, as reading a file does at its end, so nothing of an earlier
    // tileset stays on show. The frame's own controls keep their texts.
    ModelViews& views = Views();
    views.FillTerrains();
    views.FillCrossers();
    views.FillRules();
    views.FillTiles();
    views.FillGroups();
    startEditing();
    savedText_ = SetFileText();
}

bool TFram1::fail(MsgKind kind, const char* message)
{
    AppDialogs().Message(kind, message, MsgButtons::Ok);
    return false;
}

bool TFram1::ValidateTileset()
{
    if (NameEdit->text().isEmpty()) return fail(MsgKind::Error, "TileSet need a Name");
    if (TypeEdit->text().isEmpty()) return fail(MsgKind::Error, "TileSet need a Type");
    if (VersionEdit->text().isEmpty()) return fail(MsgKind::Error, "TileSet need a Version");
    if (EnvMapEdit->text().isEmpty()) return fail(MsgKind::Error, "TileSet need an Environment Map ");
    if (TransitionEdit->text().isEmpty()) return fail(MsgKind::Error, "TileSet need a transition value");
    if (BorderCombo->currentText().isEmpty()) return fail(MsgKind::Error, "TileSet Border terrain not defined");
    if (DefaultCombo->currentText().isEmpty()) return fail(MsgKind::Error, "TileSet Default terrain not defined");
    if (FloorCombo->currentText().isEmpty()) return fail(MsgKind::Error, "TileSet Floor terrain not defined");
    // Without a usable StrRef (negative, or no number at all) the game needs the
    // unlocalized name.
    int strref = 0;
    if (UnlocalEdit->text().isEmpty() && (!TryStrToInt(FromQt(DisplayEdit->text()), strref) || strref < 0))
        return fail(MsgKind::Information,
                    "You have specified -1 in Display Name\nso Tileset need an Unlocalized Name");
    const StringList terrains = Views().MainTerrainNames();
    if (terrains.IndexOf(FromQt(BorderCombo->currentText())) < 0)
        return fail(MsgKind::Information, "TileSet Border Terrain is not valid");
    if (terrains.IndexOf(FromQt(DefaultCombo->currentText())) < 0)
        return fail(MsgKind::Information, "TileSet Default Terrain is not valid");
    if (terrains.IndexOf(FromQt(FloorCombo->currentText())) < 0)
        return fail(MsgKind::Information, "TileSet Floor Terrain is not valid");
    return true;
}

void TFram1::Button2Click()
{
    SaveSetFile();
}

bool TFram1::SaveSetFile()
{
    if (showUnstoredValues()) return false;
    if (!ValidateTileset()) return false;
    // In the tileset's folder, under its own name.
    FileDialogOptions options = SaveDialog1;
    options.initialDir = Game().SetDir;
    if (!Game().SetFilePath.empty())
        options.fileName = std::filesystem::path(Game().SetFilePath).filename().string();
    auto path = AppDialogs().SaveFile(options);
    // A save would replace a named pipe or a device by a file.
    if (!path || RefuseNonFile(*path, FileUse::Save)) return false;
    TextFile file;
    if (!file.Open(*path, TextFile::Mode::Write)) {
        AppDialogs().Warning(FileErrorText(SaveFailed, *path, file.Error()));
        return false;
    }
    std::string error;
    if (!WriteSetFile(file, error)) {
        // A write the system refused has its reason; a tileset that cannot be written at all
        // says why in its own words.
        AppDialogs().Warning(file.Error() ? FileErrorText(SaveFailed, *path, file.Error()) : error);
        return false;
    }
    savedText_ = file.Written();
    showFileName(*path);
    // The saved file is the one the editor works on from now, as if it had been opened:
    // the next save proposes it, and the tiles' files are looked for, copied, renamed and
    // deleted in its folder. What was found in the last folder is no longer true.
    if (takeFile(*path)) {
        Form1->Fram71->ForgetTileset();
        Form1->Fram41->FolderChanged();
    }
    return true;
}

bool TFram1::TilesetChanged()
{
    return savedText_ && SetFileText() != *savedText_;
}

bool TFram1::showUnstoredValues()
{
    const std::optional<UnstoredValues> unstored = Form1->FindUnstoredValues();
    if (!unstored) return false;
    // Whether they change the entry shown or make a new one, and with what checks, is the
    // editor's button to decide: the user is taken there, and nothing is saved.
    BringToControl(unstored->editor);
    AppDialogs().Information(unstored->message);
    return true;
}

bool TFram1::AskToSaveChanges()
{
    if (!Form1->FindUnstoredValues() && !TilesetChanged()) return true;
    switch (AppDialogs().Message(MsgKind::Confirmation, SaveQuestion, MsgButtons::YesNoCancel)) {
    // Typed values not stored stop the save, which takes the user to them.
    case MsgResult::Yes: return SaveSetFile();
    case MsgResult::No: return true;
    default: return false;
    }
}

void TFram1::Button5Click()
{
    if (showUnstoredValues()) return;
    FileDialogOptions options = SaveDialog2;
    options.initialDir = Game().SetDir;
    options.fileName = FromQt(NameEdit->text()) + "palstd.itp";
    auto path = AppDialogs().SaveFile(options);
    if (!path || RefuseNonFile(*path, FileUse::Save)) return;
    ITPExporter palette;
    palette.BeginMain();
    palette.AddCategory0();
    palette.AddSingleTileGroups();
    palette.AddCategory1();
    palette.AddMultiTileGroups();
    palette.AddCategory2();
    palette.AddTerrainEntries(TransitionCheck->isChecked());
    palette.WriteFile(*path);
}

void TFram1::Button4Click()
{
    Form3->show();
    Form3->raise();
    Form3->activateWindow();
}

void TFram1::Options1Click()
{
    Button4Click();
}

void TFram1::About1Click()
{
    AppDialogs().Information(AppTitle);
}

void TFram1::Exit1Click()
{
    Form1->close();
}

void TFram1::GrassCheckClick()
{
    TS().General->Grass = GrassCheck->isChecked() ? 1 : 0;
    enableInside(GroupBox2, GrassCheck->isChecked());
}

void TFram1::DisplayEditChange()
{
    const std::string text = FromQt(DisplayEdit->text());
    int strref = 0;
    // A text on its way to a number ("-", nothing yet) is no StrRef either.
    if (!text.empty() && TryStrToInt(text, strref) && strref > 0)
        Edit1->setText(ToQt(FindStrRefText(strref)));
    else
        Edit1->setText("Bad Strref");
    if (text == "-1") Edit1->setText("Unlocalized Name");
}

void TFram1::Panel7Click(TColorPanel* sender)
{
    // ColorDialog1: preset with the clicked panel's colour; cancelled, nothing changes.
    const std::optional<uint32_t> ColorDialog1 = AppDialogs().PickColour(sender->Color());
    if (!ColorDialog1) return;
    const uint32_t c = *ColorDialog1 & 0x00FFFFFF;
    const uint32_t r = c & 0xFF, g = c & 0xFF00, b = c & 0xFF0000;
    const bool ambient = sender == Panel8;
    (ambient ? Panel2 : Panel1)->SetColor(r);
    (ambient ? Panel4 : Panel3)->SetColor(g);
    (ambient ? Panel6 : Panel5)->SetColor(b);
    (ambient ? Panel8 : Panel7)->SetColor(c);
    (ambient ? ARedEdit : DRedEdit)->setText(ToQt(ColorComponentText(r)));
    (ambient ? AGreenEdit : DGreenEdit)->setText(ToQt(ColorComponentText(g >> 8)));
    (ambient ? ABlueEdit : DBlueEdit)->setText(ToQt(ColorComponentText(b >> 16)));
}

void TFram1::ShowGeneral(const CGeneral& general)
{
    NameEdit->setText(ToQt(general.Name));
    TypeEdit->setText(ToQt(general.Type));
    VersionEdit->setText(ToQt(general.Version));
    EnvMapEdit->setText(ToQt(general.EnvMap));
    InteriorCheck->setChecked(general.Interior != 0);
    TransitionCheck->setChecked(general.HasHeightTransition != 0);
    TransitionEdit->setText(ToQt(general.Transition));
    // The StrRef text is refreshed even when the text stays the same.
    const QString display = ToQt(general.DisplayName);
    if (DisplayEdit->text() == display)
        DisplayEditChange();
    else
        DisplayEdit->setText(display);
    UnlocalEdit->setText(ToQt(general.UnlocalizedName));
    BorderCombo->setEditText(ToQt(general.Border));
    DefaultCombo->setEditText(ToQt(general.Default));
    FloorCombo->setEditText(ToQt(general.Floor));

    // The check box's handler writes Grass into the tileset's entry, which may be this one:
    // take the values first.
    const bool grass = general.Grass != 0;
    const std::string density = general.Density, height = general.Height;
    const std::string diffuse[3] = {general.DiffuseRed, general.DiffuseGreen, general.DiffuseBlue};
    const std::string ambient[3] = {general.AmbientRed, general.AmbientGreen, general.AmbientBlue};
    const uint32_t face = windowColour();

    if (grass) {
        GrassCheck->setChecked(true);
        enableInside(GroupBox2, true);
        // A channel shows its own panel and text; the result panel needs all three numbers,
        // and shows the window colour otherwise.
        auto channel = [face](const std::string& text, TColorPanel* panel, int shift, TLabeledEdit* edit) {
            if (text.empty()) return;
            auto v = channelByte(text);
            panel->SetColor(v ? *v << shift : face);
            edit->setText(ToQt(text));
        };
        auto result = [face](const std::string (&rgb)[3], TColorPanel* panel) {
            auto r = channelByte(rgb[0]), g = channelByte(rgb[1]), b = channelByte(rgb[2]);
            panel->SetColor(r && g && b ? *r | *g << 8 | *b << 16 : face);
        };
        channel(diffuse[2], Panel5, 16, DBlueEdit);
        channel(diffuse[1], Panel3, 8, DGreenEdit);
        channel(diffuse[0], Panel1, 0, DRedEdit);
        result(diffuse, Panel7);
        channel(ambient[0], Panel2, 0, ARedEdit);
        channel(ambient[1], Panel4, 8, AGreenEdit);
        channel(ambient[2], Panel6, 16, ABlueEdit);
        result(ambient, Panel8);
        DensityEdit->setText(ToQt(density));
        HeightEdit->setText(ToQt(height));
    } else {
        GrassCheck->setChecked(false);
        enableInside(GroupBox2, false);
        for (TLabeledEdit* e : {DensityEdit, HeightEdit, DRedEdit, DGreenEdit, DBlueEdit, ARedEdit, AGreenEdit, ABlueEdit})
            e->clear();
        for (TColorPanel* p : {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6, Panel7, Panel8}) p->SetColor(face);
    }
}

void TFram1::ReadGeneral(CGeneral& general) const
{
    general.Name = FromQt(NameEdit->text());
    general.Type = FromQt(TypeEdit->text());
    general.Version = FromQt(VersionEdit->text());
    general.EnvMap = FromQt(EnvMapEdit->text());
    general.Interior = InteriorCheck->isChecked() ? 1 : 0;
    general.HasHeightTransition = TransitionCheck->isChecked() ? 1 : 0;
    general.Transition = FromQt(TransitionEdit->text());
    general.DisplayName = FromQt(DisplayEdit->text());
    general.UnlocalizedName = FromQt(UnlocalEdit->text());
    general.Border = FromQt(BorderCombo->currentText());
    general.Default = FromQt(DefaultCombo->currentText());
    general.Floor = FromQt(FloorCombo->currentText());
    general.Grass = GrassCheck->isChecked() ? 1 : 0;
    general.Density = FromQt(DensityEdit->text());
    general.Height = FromQt(HeightEdit->text());
    general.AmbientRed = FromQt(ARedEdit->text());
    general.AmbientGreen = FromQt(AGreenEdit->text());
    general.AmbientBlue = FromQt(ABlueEdit->text());
    general.DiffuseRed = FromQt(DRedEdit->text());
    general.DiffuseGreen = FromQt(DGreenEdit->text());
    general.DiffuseBlue = FromQt(DBlueEdit->text());
}

void TFram1::SetTerrainNames(const StringList& names)
{
    for (QComboBox* c : {BorderCombo, DefaultCombo, FloorCombo}) AssignItems(c, names);
}
