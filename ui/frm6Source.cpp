// The Import tab's source: opening it from disk or the archives, reading and closing it,
// its panels, the information shown for a row, the views, sorting and the popup menu.
#include <filesystem>
#include <initializer_list>

#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "model/Globfun.h"
#include "platform/Text.h"
#include "ui/Busy.h"
#include "ui/EditorViews.h"
#include "ui/Modal.h"
#include "ui/SetBifOpen.h"
#include "ui/frm1.h"
#include "ui/frm4Pictures.h"
#include "ui/frm6.h"

namespace fs = std::filesystem;

namespace {

const char* const OpenFailed = "Error on opening Set File";

// The talk-table text of a StrRef held as text; "Bad strref" for one that is no number.
std::string strRefText(const std::string& text)
{
    int strref = 0;
    return TryStrToInt(text, strref) ? FindStrRefText(strref) : std::string("Bad strref");
}

QString number(int n)
{
    return QString::number(n);
}

// A folder as one path however it is written: whole, without "." or ".." parts or a
// trailing separator.
fs::path folderPath(const std::string& folder)
{
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(folder), ec).lexically_normal();
    if (!p.has_filename() && p.has_parent_path() && p != p.root_path()) p = p.parent_path();
    return p;
}

} // namespace

std::string ImportTilesetName(const CGeneral& general)
{
    const std::string& display = general.DisplayName;
    if (display.empty()) return general.UnlocalizedName.empty() ? general.Name : general.UnlocalizedName;
    int strref = 0;
    if (TryStrToInt(display, strref) && strref == -1) return general.UnlocalizedName;
    return strRefText(display);
}

void TFram6::Button1Click()
{
    // Where the last source came from, else the edited tileset's folder.
    FileDialogOptions options = OpenDialog1;
    options.initialDir = ImportSetDir.empty() || ImportSetDir == ArchiveSourceMarker ? CurrentSetDir : ImportSetDir;
    auto path = AppDialogs().OpenFile(options);
    // Refused before anything reads it, the previous source kept.
    if (!path || RefuseNonFile(*path, FileUse::Open)) return;
    TextFile file;
    if (!file.Open(*path, TextFile::Mode::Read)) {
        AppDialogs().Warning(OpenFailed);
        return;
    }
    // A file that is no tileset leaves the previous source as it was.
    if (!IsTilesetFile(file, *path)) return;
    // Always a whole path, so that a folder is never mistaken for the archive marker.
    std::error_code ec;
    const fs::path full = fs::absolute(fs::path(*path), ec);
    BusyCursor busy;
    StartSource((ec ? fs::path(*path) : full).parent_path().string(), *path);
    ReadImportSet(file);
}

bool TFram6::OpenArchivedSet(const std::string& name)
{
    // The tab starts over only once the tileset is out of the archives: a name that cannot
    // be extracted leaves the previous source as it was.
    struct Reader : ImportSetReader {
        TFram6& tab;
        std::string fileName;
        Reader(TFram6& t, std::string f) : tab(t), fileName(std::move(f)) {}
        void ReadImportSet(TextFile& file) override
        {
            tab.StartSource(std::string(ArchiveSourceMarker), fileName);
            tab.ReadImportSet(file);
        }
    } reader(*this, "NWNBIF : " + name + ".set");
    BusyCursor busy;
    if (Game().BifResList.OpenSetForImport(name, reader) == -1) {
        AppDialogs().Warning(OpenFailed);
        return false;
    }
    return true;
}

void TFram6::Button9Click()
{
    ShowModal(Form2);
    RadioButton3->setChecked(true);
    RadioButton3Click();
}

void TFram6::StartSource(const std::string& folder, const std::string& fileName)
{
    ImportSetDir = folder;
    LabeledEdit2->setText(ToQt(fileName));
    TS().ClearImport();
    ImportGeneral = std::make_unique<CGeneral>();
    enableSource(true);
    CheckBox6->setEnabled(!Game().MdlCompilerPath.empty());
    ShownTileCount = ShownGroupCount = -1;
    ListView2->clear();
    ListView3->clear();
    Edit3->clear();
    // Nothing of the previous source stays: its name, the names its pick-lists offered
    // and what its panels showed. The filter's own texts are settings and stay.
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6, ComboBox7, ComboBox8})
        ClearItemsKeepText(c);
    clearInformation();
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{LabeledEdit13, LabeledEdit14, Edit19, Edit20, Edit21})
        e->clear();
    ListBox1->clear();
}

void TFram6::ReadImportSet(TextFile& file)
{
    const SetFindings findings = ::ReadImportSet(file);
    // Empty for a source without [GENERAL]: its general settings start empty at each open.
    LabeledEdit1->setText(ToQt(ImportTilesetName(*ImportGeneral)));
    ApplyTileFilter();
    RadioButton2Click();
    // The count of the list on display, whichever lists the source filled.
    showCount();
    // What the reader had to guess, said as Open says it, under the name the tab shows.
    ShowSetFindings(FromQt(LabeledEdit2->text()), findings);
}

void TFram6::clearInformation()
{
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{LabeledEdit5, LabeledEdit6, LabeledEdit7, LabeledEdit8,
             LabeledEdit9, LabeledEdit10, LabeledEdit11, LabeledEdit12, LabeledEdit19, Edit7, Edit8, Edit9, Edit10,
             Edit11, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit22})
        e->clear();
    Image1->ClearPicture();
    Label1->clear();
    Label10->clear();
}

void TFram6::Button2Click()
{
    LabeledEdit1->clear();
    LabeledEdit2->clear();
    ListView2->clear();
    ListView3->clear();
    Edit3->clear();
    clearInformation();
    // The lists stay empty until the next open: a later switch to either mode (after the
    // archive dialog) counts no rows rather than those of the closed source.
    ShownTileCount = ShownGroupCount = 0;
    enableSource(false);
    CheckBox6->setEnabled(false);
}

bool TFram6::SourceInCurrentSetFolder() const
{
    if (CurrentSetDir.empty() || ImportSetDir.empty() || ImportSetDir == ArchiveSourceMarker) return false;
    std::error_code ec;
    if (fs::equivalent(fs::path(CurrentSetDir), fs::path(ImportSetDir), ec)) return true;
    return !ec ? false : folderPath(CurrentSetDir) == folderPath(ImportSetDir);
}

// ---- Modes and panels -------------------------------------------------------------------

void TFram6::showPanel(QGroupBox* panel)
{
    for (QGroupBox* b : {GroupBox3, GroupBox4, GroupBox5, GroupBox6}) b->setVisible(b == panel);
}

void TFram6::showCount()
{
    if (RadioButton3->isChecked())
        Edit3->setText(number(ShownTileCount == -1 ? ImportTiles.Count() : ShownTileCount));
    else
        Edit3->setText(number(ShownGroupCount == -1 ? ImportGroups.Count() : ShownGroupCount));
}

void TFram6::RadioButton3Click()
{
    ListView2->show();
    GroupBox1->show();
    ListView3->hide();
    GroupBox7->hide();
    RadioButton3->setChecked(true);
    showCount();
    showPanel(RadioButton1->isChecked() ? GroupBox4 : GroupBox3);
}

void TFram6::RadioButton4Click()
{
    ListView3->show();
    GroupBox7->show();
    ListView2->hide();
    GroupBox1->hide();
    RadioButton4->setChecked(true);
    showCount();
    showPanel(RadioButton1->isChecked() ? GroupBox6 : GroupBox5);
}

void TFram6::RadioButton1Click()
{
    RadioButton1->setChecked(true);
    showPanel(RadioButton3->isChecked() ? GroupBox4 : GroupBox6);
}

void TFram6::RadioButton2Click()
{
    RadioButton2->setChecked(true);
    showPanel(RadioButton3->isChecked() ? GroupBox3 : GroupBox5);
}

// ---- A row's information ------------------------------------------------------------------

void TFram6::ListView2SelectItem(TListView* sender)
{
    const bool tiles = RadioButton3->isChecked();
    if (sender != (tiles ? ListView2 : ListView3)) return;
    const QTreeWidgetItem* row = sender->SelectedRow();
    const std::optional<int> n = TListView::NumberOf(row);
    if (!n) return;
    if (tiles) {
        const CTile* tile = ImportTiles.At(*n);
        if (!tile) return;
        ShowInImportFrame(*tile);
        Label10->setText("Tile # " + row->text(0));
    } else {
        const CGroup* group = ImportGroups.At(*n);
        if (!group) return;
        ShowInImportFrame(*group);
        Label10->setText("Group # " + row->text(0));
    }
    RadioButton1->setChecked(true);
    showPanel(tiles ? GroupBox4 : GroupBox6);
    if (!tiles) {
        const std::string strref = FromQt(LabeledEdit14->text());
        Edit21->setText(ToQt(strref.empty() ? std::string("Bad strref") : strRefText(strref)));
    }
}

void TFram6::ShowInImportFrame(const CTile& tile)
{
    Edit17->setText(ToQt(tile.Model));
    const std::pair<TLabeledEdit*, const std::string*> texts[] = {{LabeledEdit5, &tile.TopLeft},
        {LabeledEdit6, &tile.TopRight}, {LabeledEdit7, &tile.BottomLeft}, {LabeledEdit8, &tile.BottomRight},
        {LabeledEdit9, &tile.Top}, {LabeledEdit10, &tile.Right}, {LabeledEdit11, &tile.Bottom},
        {LabeledEdit12, &tile.Left}};
    for (auto [edit, text] : texts) edit->setText(ToQt(*text));
    const std::pair<QLineEdit*, uint8_t> heights[] = {{Edit7, tile.TopLeftHeight}, {Edit8, tile.TopRightHeight},
        {Edit9, tile.BottomLeftHeight}, {Edit10, tile.BottomRightHeight}};
    for (auto [edit, height] : heights) edit->setText(height ? "1" : "0");
    Edit11->setText(ToQt(tile.PathNode));
    Edit14->setText(ToQt(tile.Orientation));
    Edit12->setText(ToQt(tile.VisibilityNode));
    Edit15->setText(ToQt(tile.VisibilityOrientation));
    Edit13->setText(ToQt(tile.DoorVisibilityNode));
    Edit16->setText(ToQt(tile.DoorVisibilityOrientation));
    LabeledEdit19->setText(number(tile.Doors));
    Edit22->setText(ToQt(tile.ImageMap2D));
    // A stock tileset has no folder: its minimaps come from the archives only.
    ShowMinimapPreview(ImportSetDir, tile.ImageMap2D, Image1, Label1, MinimapAsk::TileShown);
}

void TFram6::ShowInImportFrame(const CGroup& group)
{
    LabeledEdit13->setText(ToQt(group.Name));
    LabeledEdit14->setText(ToQt(group.StrRef));
    Edit19->setText(number(group.Rows));
    Edit20->setText(number(group.Columns));
    ListBox1->clear();
    for (const std::string& cell : group.Cells) {
        int n = -1;
        const CTile* tile = TryStrToInt(cell, n) ? ImportTiles.At(n) : nullptr;
        ListBox1->addItem(ToQt(tile ? tile->Model : std::string("NULL")));
    }
}

// ---- Views ----------------------------------------------------------------------------------

namespace {
template <class Entry, class Text>
int fillRows(TListView* view, const CPtrList<Entry>& entries, Text text)
{
    ListFill fill(view);
    int i = 0;
    for (const Entry* e : entries) fill.Add(i++, {text(*e)});
    return i;
}

template <class Entry>
StringList namesOf(const CPtrList<Entry>& entries)
{
    StringList names;
    for (const Entry* e : entries) names.Add(e->Name);
    return names;
}

const std::string& modelOf(const CTile& t)
{
    return t.Model;
}

const std::string& nameOf(const CGroup& g)
{
    return g.Name;
}
} // namespace

void TFram6::FillImportTiles()
{
    Edit3->setText(number(fillRows(ListView2, ImportTiles, modelOf)));
}

void TFram6::FillImportGroups()
{
    Edit3->setText(number(fillRows(ListView3, ImportGroups, nameOf)));
}

void TFram6::FillImportTerrains()
{
    const StringList names = namesOf(ImportTerrains);
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4}) AssignItems(c, names);
}

void TFram6::FillImportCrossers()
{
    const StringList names = namesOf(ImportCrossers);
    for (QComboBox* c : {ComboBox5, ComboBox6, ComboBox7, ComboBox8}) AssignItems(c, names);
}

void TFram6::FillCurrentTiles()
{
    Edit1->setText(number(FillTileRows(ListView1)));
}

void TFram6::ClearCurrentTiles()
{
    ListView1->clear();
    Edit1->setText("0");
}

void TFram6::FillCurrentGroups()
{
    Edit18->setText(number(fillRows(ListView4, TS().GroupList, nameOf)));
}

void TFram6::ClearImportGroupView()
{
    ListView4->clear();
    Edit18->setText("0");
}

// ---- Sorting and the popup menu -----------------------------------------------------------

void TFram6::ListView3ColumnClick(TListView* list, int column)
{
    SortColumn = column;
    list->SortRows([this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return ListView3Compare(a, b); });
}

int TFram6::ListView3Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const
{
    return SortColumn == 0 ? CompareRowNumbers(a, b) : CompareRowTexts(a, b, 1);
}

bool TFram6::PopupMenu1Popup(TListView* on)
{
    const bool selected = on->SelectedRow() != nullptr;
    ImportThisTile1->setVisible(selected && on == ListView2);
    ImportAllDisplayedTiles1->setVisible(selected && on == ListView2);
    ImportThisGroup1->setVisible(selected && on == ListView3);
    return selected;
}

