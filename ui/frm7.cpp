// The Files/Textures tab: the frame, its modes, the missing and unused files, the renamer.
// The texture tools are in frm7Textures.cpp.
#include "ui/frm7.h"

#include <unordered_set>

#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "ui/App.h"
#include "ui/Busy.h"
#include "ui/DlgRenamerHelp.h"
#include "ui/Sinks.h"

namespace {

QPlainTextEdit* makeMemo(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* memo = MakeNamed<QPlainTextEdit>(parent, name);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setGeometry(x, y, w, h);
    return memo;
}

QProgressBar* makeBar(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* bar = MakeNamed<QProgressBar>(parent, name);
    bar->setTextVisible(false);
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setGeometry(x, y, w, 14);
    return bar;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, int x, int y, int w)
{
    auto* box = MakeNamed<QCheckBox>(parent, name, caption);
    box->setGeometry(x, y, w, 20);
    return box;
}

// What the tiles use as they are now: their models and minimaps, and the textures their
// text models name, the game's own included (a custom file of a game texture's name is the
// one the game shows, so it is in use). Names in lower case.
class FilesInUse {
public:
    explicit FilesInUse(ProgressSink& bar)
    {
        StringList textures;
        std::unordered_set<std::string> read;
        for (const CTile* tile : TS().TileList) {
            bar.StepIt();
            models_.insert(LowerAscii(tile->Model));
            minimaps_.insert(LowerAscii(tile->ImageMap2D));
            // By the name as written: two files may differ only in case, and the folder
            // look-up takes the exact one first.
            if (!read.insert(tile->Model).second) continue;
            if (CollectMdlTextures(tile->Model, textures, true) == -1) someBinary_ = true;
        }
        for (const std::string& t : textures) textures_.insert(LowerAscii(t));
    }

    enum Verdict { Used, Unused, NotChecked };

    // An asset file of the tileset folder, by name. gameDuplicatesUnused: a file whose name
    // the archives hold as a tile model, minimap, walkmesh or texture is not needed.
    Verdict Judge(const std::string& name, bool gameDuplicatesUnused) const
    {
        const std::string base = name.size() < 4 ? std::string() : name.substr(0, name.size() - 4);
        if (gameDuplicatesUnused) {
            const CBifResList& archives = Game().BifResList;
            if (archives.HasMdl(base) || archives.HasMinimap(base) || archives.HasWok(base) ||
                archives.HasTileTga(base))
                return Unused;
        }
        const std::string key = LowerAscii(base);
        if (models_.count(key) || minimaps_.count(key) || textures_.count(key)) return Used;
        // A binary model may name it: nobody can tell, so it is never taken for unused.
        const std::string ext = LowerAscii(GetExtension3(name));
        if (someBinary_ && (ext == "tga" || ext == "dds")) return NotChecked;
        return Unused;
    }

private:
    std::unordered_set<std::string> models_, minimaps_, textures_;
    bool someBinary_ = false;
};

} // namespace

TFram7::TFram7(QWidget* parent) : QWidget(parent)
{
    setObjectName("Fram71");
    buildFilesPart();
    buildRenamer();
    buildTextures();
    buildPerTile();
    buildEntireTileset();
    connectTextures();

    StaticText1 = MakeNamed<QLabel>(this, "StaticText1", " Only support ASCII .MDL and TGA textures");
    StaticText1->setFrameShape(QFrame::Panel);
    StaticText1->setFrameShadow(QFrame::Sunken);
    StaticText1->setGeometry(4, 434, 380, 18);
}

void TFram7::buildFilesPart()
{
    LabeledEdit1 = new TLabeledEdit(this, "LabeledEdit1", "Working Directory");
    LabeledEdit1->Place(8, 20, 376);
    LabeledEdit1->setReadOnly(true);

    RadioButton3 = MakeNamed<QRadioButton>(this, "RadioButton3", "Missing Files");
    RadioButton3->setGeometry(8, 46, 110, 20);
    RadioButton4 = MakeNamed<QRadioButton>(this, "RadioButton4", "Unused Files");
    RadioButton4->setGeometry(8, 66, 110, 20);
    RadioButton5 = MakeNamed<QRadioButton>(this, "RadioButton5", "Files renamer");
    RadioButton5->setGeometry(124, 46, 110, 20);
    RadioButton3->setChecked(true);
    GroupRadioButtons({RadioButton3, RadioButton4, RadioButton5});
    Button1 = MakeNamed<QPushButton>(this, "Button1", "Search");
    Button1->setGeometry(296, 48, 88, 28);
    Button3 = MakeNamed<QPushButton>(this, "Button3", "Rename");
    Button3->setGeometry(296, 48, 88, 28);
    Button3->hide();

    GroupBox1 = MakeNamed<QGroupBox>(this, "GroupBox1", "Missing Files");
    GroupBox1->setGeometry(4, 88, 380, 342);
    CheckBox1 = makeCheck(GroupBox1, "CheckBox1", "MDL", 8, 20, 56);
    CheckBox2 = makeCheck(GroupBox1, "CheckBox2", "WOK", 66, 20, 56);
    CheckBox3 = makeCheck(GroupBox1, "CheckBox3", "Minimap", 124, 20, 80);
    CheckBox4 = makeCheck(GroupBox1, "CheckBox4", "Textures", 206, 20, 80);
    CheckBox5 = makeCheck(GroupBox1, "CheckBox5", "Consider as missing all NWN files", 8, 42, 300);
    Memo1 = makeMemo(GroupBox1, "Memo1", 8, 66, 364, 246);
    ProgressBar1 = makeBar(GroupBox1, "ProgressBar1", 8, 320, 364);

    GroupBox3 = MakeNamed<QGroupBox>(this, "GroupBox3", "Unused Files");
    GroupBox3->setGeometry(4, 88, 380, 342);
    Memo2 = makeMemo(GroupBox3, "Memo2", 8, 20, 364, 246);
    ProgressBar3 = makeBar(GroupBox3, "ProgressBar3", 8, 272, 364);
    CheckBox11 = makeCheck(GroupBox3, "CheckBox11", "Consider NWN duplicate files as unused", 8, 290, 364);
    Button4 = MakeNamed<QPushButton>(GroupBox3, "Button4", "Delete all unused files");
    Button4->setGeometry(8, 312, 180, 26);
    GroupBox3->hide();

    connect(RadioButton3, &QRadioButton::toggled, this, Guard([this] { if (RadioButton3->isChecked()) RadioButton3Click(); }));
    connect(RadioButton4, &QRadioButton::toggled, this, Guard([this] { if (RadioButton4->isChecked()) RadioButton4Click(); }));
    connect(RadioButton5, &QRadioButton::toggled, this, Guard([this] { if (RadioButton5->isChecked()) RadioButton5Click(); }));
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button4, &QPushButton::clicked, this, Guard([this] { Button4Click(); }));
}

void TFram7::buildRenamer()
{
    GroupBox4 = MakeNamed<QGroupBox>(this, "GroupBox4", "Files prefix renamer");
    GroupBox4->setGeometry(4, 88, 380, 342);
    QWidget* g = GroupBox4;
    Label1 = MakeNamed<QLabel>(g, "Label1", "WARNING : this tools will renamed ALL the files found in the working directory.");
    Label1->setWordWrap(true);
    Label1->setGeometry(8, 18, 364, 32);
    StaticText3 = MakeNamed<QLabel>(g, "StaticText3", "Prefix found");
    StaticText3->setGeometry(8, 54, 100, 16);
    ComboBox1 = MakeNamed<QComboBox>(g, "ComboBox1");
    MakeEditablePickList(ComboBox1);
    ComboBox1->setGeometry(8, 70, 100, 22);
    LabeledEdit3 = new TLabeledEdit(g, "LabeledEdit3", "Change to");
    LabeledEdit3->Place(120, 70, 100);
    Button8 = MakeNamed<QPushButton>(g, "Button8", "More infos");
    Button8->setGeometry(284, 66, 88, 28);
    CheckBox9 = makeCheck(g, "CheckBox9", "Skip bitmap line in MDL file.", 8, 100, 300);
    CheckBox10 = makeCheck(g, "CheckBox10", "Skip all TGA/DDS files.", 8, 122, 300);
    CheckBox9->setChecked(true);
    CheckBox10->setChecked(true);
    Memo3 = makeMemo(g, "Memo3", 8, 144, 364, 170);
    ProgressBar5 = makeBar(g, "ProgressBar5", 8, 320, 364);
    GroupBox4->hide();

    connect(CheckBox10, &QCheckBox::toggled, this, Guard([this] { CheckBox10Click(); }));
    connect(Button8, &QPushButton::clicked, this, Guard([this] { Button8Click(); }));
    connect(Button3, &QPushButton::clicked, this, Guard([this] { Button3Click(); }));
}

bool TFram7::haveFolder() const
{
    const std::string& dir = Game().SetDir;
    return !dir.empty() && IsDirectory(dir);
}

// ---- Modes -----------------------------------------------------------------------------

void TFram7::RadioButton3Click()
{
    GroupBox1->show();
    GroupBox3->hide();
    GroupBox4->hide();
    Button1->show();
    Button3->hide();
}

void TFram7::RadioButton4Click()
{
    GroupBox3->show();
    GroupBox1->hide();
    GroupBox4->hide();
    Button1->show();
    Button3->hide();
}

void TFram7::RadioButton5Click()
{
    GroupBox1->hide();
    GroupBox3->hide();
    GroupBox4->show();
    Button1->hide();
    Button3->show();
    refillPrefixes();
}

// ---- Missing and unused files ----------------------------------------------------------

void TFram7::Button1Click()
{
    if (!haveFolder()) return;
    const CPtrList<CTile>& tiles = TS().TileList;
    if (RadioButton3->isChecked()) {
        const bool mdl = CheckBox1->isChecked(), wok = CheckBox2->isChecked(), minimap = CheckBox3->isChecked(),
                   textures = CheckBox4->isChecked();
        if (!(mdl || wok || minimap || textures)) return;
        Memo1->clear();
        if (tiles.Empty()) return;
        BusyCursor busy;
        TProgressSink bar(ProgressBar1);
        TMemoSink memo(Memo1);
        ReportMissingFiles(mdl, wok, minimap, textures, CheckBox5->isChecked(), bar, memo);
        return;
    }
    if (!RadioButton4->isChecked()) return;
    // Nothing of an earlier search stays, also when there is no tile to search for.
    Memo2->clear();
    UnusedFiles.Clear();
    if (tiles.Empty()) return;
    BusyCursor busy;
    TProgressSink bar(ProgressBar3);
    bar.SetMax(tiles.lastIndex());
    const FilesInUse inUse(bar);
    StringList files;
    ListAssetFiles(Game().SetDir, &files);
    TMemoSink memo(Memo2);
    std::vector<std::string> unchecked;
    for (const std::string& name : files) {
        switch (inUse.Judge(name, CheckBox11->isChecked())) {
        case FilesInUse::Unused:
            memo.AddLine(name + " --> Unused");
            UnusedFiles.Add(JoinPath(Game().SetDir, name));
            break;
        case FilesInUse::NotChecked: unchecked.push_back(name); break;
        case FilesInUse::Used: break;
        }
    }
    memo.AddLine(std::string(46, '-'));
    memo.AddLine(IntToStr(UnusedFiles.Count()) + " - Files unused");
    if (!unchecked.empty()) {
        for (const std::string& name : unchecked) memo.AddLine(name + " --> Not checked");
        memo.AddLine(IntToStr(long(unchecked.size())) + " - Textures not checked: some MDL files are binary");
    }
    bar.SetPosition(0);
}

void TFram7::Button4Click()
{
    if (UnusedFiles.Empty() || !haveFolder()) return;
    if (AppDialogs().Message(MsgKind::Warning, "Confirm delete of unused files ?", MsgButtons::YesNo) != MsgResult::Yes)
        return;
    BusyCursor busy;
    // Checked again as the tileset is now: a tile added or a model changed since the
    // search may use a file the search found unused.
    TProgressSink bar(ProgressBar3);
    bar.SetMax(TS().TileList.lastIndex());
    const FilesInUse inUse(bar);
    int deleted = 0;
    std::vector<std::string> kept;
    for (const std::string& path : UnusedFiles) {
        const std::string name = FileNameOf(path);
        if (inUse.Judge(name, CheckBox11->isChecked()) != FilesInUse::Unused) kept.push_back(name);
        else if (FileExists(path) && RemoveFile(path)) ++deleted;
    }
    bar.SetPosition(0);
    UnusedFiles.Clear();
    Memo2->clear();
    TMemoSink memo(Memo2);
    for (const std::string& name : kept) memo.AddLine(name + " --> In use now, not deleted");
    AppDialogs().Notice(IntToStr(deleted) + " Files deleted");
}

void TFram7::ForgetTileset()
{
    UnusedFiles.Clear();
    TilesetTextures.Clear();
    for (QPlainTextEdit* report : {Memo1, Memo2, Memo3}) report->clear();
    ListBox2->clear();
    ListView2->clear();
    Edit1->clear();
    Edit2->clear();
    Image1->ClearPicture();
    Panel4->clear();
    Panel5->clear();
    resetTileTextures();
}

// ---- Prefix renamer ----------------------------------------------------------------------

namespace {
// Usable as the start of a file name in the tileset folder: no folder part, no way out of it.
bool safeInFileName(const std::string& prefix)
{
    if (prefix.find_first_of("/\\") != std::string::npos || prefix.find("..") != std::string::npos) return false;
    for (unsigned char c : prefix)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}
}

void TFram7::refillPrefixes()
{
    StringList prefixes;
    FindFilePrefixes(prefixes, !CheckBox10->isChecked());
    AssignItems(ComboBox1, prefixes);
}

void TFram7::CheckBox10Click()
{
    refillPrefixes();
}

void TFram7::Button8Click()
{
    Form6->show();
    Form6->raise();
}

void TFram7::Button3Click()
{
    if (!haveFolder()) return;
    const std::string oldPrefix = FromQt(ComboBox1->currentText());
    const std::string newPrefix = FromQt(LabeledEdit3->text());
    const char* refusal = oldPrefix.empty()                               ? "You must choose a prefix to change"
                          : newPrefix.empty()                             ? "You must enter a prefix to change to"
                          : newPrefix.size() != 5 || oldPrefix.size() != 5 ? "Prefix must be 5 letters length"
                          : !safeInFileName(oldPrefix) || !safeInFileName(newPrefix)
                              ? "Prefix must not hold \\, / or .."
                              : nullptr;
    if (refusal) {
        AppDialogs().Notice(refusal);
        return;
    }
    BusyCursor busy;
    TProgressSink bar(ProgressBar5);
    TMemoSink memo(Memo3);
    const int n = RenameFilesPrefix(oldPrefix, newPrefix, !CheckBox9->isChecked(), !CheckBox10->isChecked(), bar, memo);
    memo.AddLine(IntToStr(n) + " files processed");
    refillPrefixes();
}
