// The Files/Textures tab's texture tools: the tiles and the textures their models name,
// previews, texture changes, the model converter and stock models from the archives.
#include <QSignalBlocker>
#include <unordered_map>
#include <unordered_set>

#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "ui/App.h"
#include "ui/Busy.h"
#include "ui/DlgTextChange.h"
#include "ui/EditorViews.h"
#include "ui/Sinks.h"
#include "ui/TexturePreview.h"
#include "ui/frm4.h"
#include "ui/frm7.h"
#include "ui/mainfrm.h"

namespace {

QLineEdit* makeCount(QWidget* parent, const char* name, int x, int y)
{
    auto* edit = MakeNamed<QLineEdit>(parent, name);
    edit->setReadOnly(true);
    edit->setGeometry(x, y, 50, 22);
    return edit;
}

QLabel* makePanel(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* panel = MakeNamed<QLabel>(parent, name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(x, y, w, 22);
    return panel;
}

void fillBox(QListWidget* box, const StringList& items)
{
    box->clear();
    QStringList texts;
    texts.reserve(items.Count());
    for (const std::string& item : items) texts << ToQt(item);
    box->addItems(texts);
}

std::string selectedText(const QListWidget* box)
{
    const QListWidgetItem* item = box->currentItem();
    return item && item->isSelected() ? FromQt(item->text()) : std::string();
}

// The texture names of one model, the game's included; empty for a model that cannot be read.
StringList texturesOf(const std::string& model)
{
    StringList names;
    CollectMdlTextures(model, names, true);
    return names;
}

// A model whose name would lead out of the folder is none of its files: nothing changes.
int replaceInModel(const std::string& model, const std::string& oldName, const std::string& newName)
{
    const auto path = JoinFileName(Game().SetDir, model + ".mdl");
    return path ? ReplaceTextureInMdl(*path, oldName, newName) : 0;
}

// The models of the list naming oldName each get newName in its place, each model once
// however many tiles use it. The replacements, and the models that changed.
struct ChangeCount {
    int replaced = 0;
    int files = 0;
};

ChangeCount replaceInModels(const std::vector<std::string>& models, const std::string& oldName,
                            const std::string& newName, ProgressSink& bar)
{
    ChangeCount count;
    std::unordered_set<std::string> done;
    for (const std::string& model : models) {
        bar.StepIt();
        // The folder finds files whatever their case, so "A" and "a" are one model file.
        if (!done.insert(LowerAscii(model)).second || texturesOf(model).IndexOf(oldName) < 0) continue;
        const int n = replaceInModel(model, oldName, newName);
        count.replaced += n;
        if (n > 0) ++count.files;
    }
    bar.SetPosition(0);
    return count;
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

void TFram7::buildTextures()
{
    GroupBox2 = MakeNamed<QGroupBox>(this, "GroupBox2", "Textures");
    GroupBox2->setGeometry(390, 4, 456, 160);
    QWidget* g = GroupBox2;
    RadioButton1 = MakeNamed<QRadioButton>(g, "RadioButton1", "Per Tile");
    RadioButton1->setGeometry(8, 24, 100, 20);
    RadioButton2 = MakeNamed<QRadioButton>(g, "RadioButton2", "Entire TileSet");
    RadioButton2->setGeometry(8, 48, 110, 20);
    RadioButton2->setChecked(true);
    GroupRadioButtons({RadioButton1, RadioButton2});
    Panel3 = MakeNamed<QFrame>(g, "Panel3");
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Sunken);
    Panel3->setGeometry(124, 16, 134, 134);
    Image1 = new TImage(Panel3, "Image1");
    Image1->setGeometry(3, 3, 128, 128);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setCursor(Qt::PointingHandCursor);
    Panel4 = makePanel(g, "Panel4", 266, 20, 182);
    Panel5 = makePanel(g, "Panel5", 266, 46, 182);
    Button5 = MakeNamed<QPushButton>(g, "Button5", "Change this texture");
    Button5->setToolTip("Change the bitmap in MDL file");
    Button5->setGeometry(266, 80, 182, 28);
    CheckBox8 = MakeNamed<QCheckBox>(g, "CheckBox8", "For all displayed tiles");
    CheckBox8->setGeometry(266, 116, 182, 20);
    CheckBox8->hide();
}

void TFram7::buildPerTile()
{
    Panel1 = MakeNamed<QFrame>(this, "Panel1");
    Panel1->setGeometry(390, 168, 456, 284);
    QWidget* p = Panel1;
    ListView1 = new TListView(p, "ListView1", {{"Tiles #", 45}, {"Model", 104}});
    ListView1->setGeometry(4, 4, 170, 206);
    Edit3 = makeCount(p, "Edit3", 4, 216);
    Button6 = MakeNamed<QPushButton>(p, "Button6", "Clear");
    Button6->setGeometry(60, 214, 114, 26);
    Button7 = MakeNamed<QPushButton>(p, "Button7", "Apply filter from tiles page");
    Button7->setGeometry(4, 246, 170, 26);
    Label2 = MakeNamed<QLabel>(p, "Label2");
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(180, 4, 150, 18);
    StaticText2 = MakeNamed<QLabel>(p, "StaticText2", "Textures used in tile");
    StaticText2->setGeometry(180, 24, 150, 16);
    ListBox1 = MakeNamed<QListWidget>(p, "ListBox1");
    ListBox1->setGeometry(180, 42, 150, 168);
    Edit4 = makeCount(p, "Edit4", 180, 216);
    ProgressBar4 = MakeNamed<QProgressBar>(p, "ProgressBar4");
    ProgressBar4->setTextVisible(false);
    ProgressBar4->setRange(0, 1);
    ProgressBar4->setGeometry(180, 252, 268, 14);
    Button9 = MakeNamed<QPushButton>(p, "Button9", "Convert MDL to Ascii");
    Button9->setGeometry(336, 42, 116, 28);
    Button10 = MakeNamed<QPushButton>(p, "Button10", "Import MDL/WOK");
    Button10->setGeometry(336, 76, 116, 28);
    Button9->hide();
    Button10->hide();
    Panel1->hide();
}

void TFram7::buildEntireTileset()
{
    Panel2 = MakeNamed<QFrame>(this, "Panel2");
    Panel2->setGeometry(390, 168, 456, 284);
    QWidget* p = Panel2;
    Button2 = MakeNamed<QPushButton>(p, "Button2", "Search");
    Button2->setToolTip("Search all textures used in tileset and show them");
    Button2->setGeometry(4, 2, 80, 26);
    CheckBox6 = MakeNamed<QCheckBox>(p, "CheckBox6", "Only custom textures");
    CheckBox6->setGeometry(4, 30, 176, 20);
    ListBox2 = MakeNamed<QListWidget>(p, "ListBox2");
    ListBox2->setGeometry(4, 52, 176, 158);
    Edit1 = makeCount(p, "Edit1", 4, 216);
    ProgressBar2 = MakeNamed<QProgressBar>(p, "ProgressBar2");
    ProgressBar2->setTextVisible(false);
    ProgressBar2->setRange(0, 1);
    ProgressBar2->setGeometry(4, 252, 444, 14);
    CheckBox7 = MakeNamed<QCheckBox>(p, "CheckBox7", "Show tiles using selected texture");
    CheckBox7->setGeometry(188, 30, 260, 20);
    ListView2 = new TListView(p, "ListView2", {{"Tiles #", 45}, {"Model", 104}});
    ListView2->setGeometry(188, 52, 260, 158);
    Edit2 = makeCount(p, "Edit2", 188, 216);
}

void TFram7::connectTextures()
{
    connect(RadioButton1, &QRadioButton::toggled, this, Guard([this] { if (RadioButton1->isChecked()) RadioButton1Click(); }));
    connect(RadioButton2, &QRadioButton::toggled, this, Guard([this] { if (RadioButton2->isChecked()) RadioButton2Click(); }));
    connect(Button6, &QPushButton::clicked, this, Guard([this] { Button6Click(); }));
    connect(Button7, &QPushButton::clicked, this, Guard([this] { Button7Click(); }));
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, Guard([this] { ListView1Click(); }));
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, Guard([this] { ListBox1Click(ListBox1); }));
    connect(ListBox2, &QListWidget::itemSelectionChanged, this, Guard([this] { ListBox1Click(ListBox2); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
    Image1->OnClick = Guard([this] { Image1Click(); });
    connect(Button5, &QPushButton::clicked, this, Guard([this] { Button5Click(); }));
    connect(Button9, &QPushButton::clicked, this, Guard([this] { Button9Click(); }));
    connect(Button10, &QPushButton::clicked, this, Guard([this] { Button10Click(); }));
    for (TListView* view : {ListView1, ListView2})
        view->OnColumnClick = [this, view](int c) { Guard([&] { ListView1ColumnClick(view, c); })(); };
}

// ---- The tile list -----------------------------------------------------------------------

void TFram7::FillTileList()
{
    Edit3->setText(QString::number(FillTileRows(ListView1)));
    resetTileTextures();
    // Tiles come with a new tileset or an import, and so may files with other prefixes.
    if (RadioButton5->isChecked()) refillPrefixes();
}

void TFram7::TileModelChanged(int tile)
{
    if (const CTile* t = TS().TileList.At(tile)) ShowTextInRows(ListView1, tile, t->Model);
    if (ListView1->SelectedNumber() == tile) ListView1Click();
}

void TFram7::ClearTileList()
{
    ListView1->clear();
    Edit3->setText("0");
    resetTileTextures();
}

// The rows may now be other tiles: nothing shown or offered for the tile that was selected.
void TFram7::resetTileTextures()
{
    TileTextures.Clear();
    ListBox1->clear();
    Edit4->clear();
    Label2->clear();
    Button9->hide();
    Button10->hide();
    if (RadioButton1->isChecked()) {
        Image1->ClearPicture();
        Panel4->clear();
        Panel5->clear();
    }
}

const CTile* TFram7::selectedTile() const
{
    auto n = ListView1->SelectedNumber();
    return n ? TS().TileList.At(*n) : nullptr;
}

void TFram7::Button6Click()
{
    FillTileList();
}

void TFram7::Button7Click()
{
    Form1->Fram41->FilterTileList(ListView1, Edit3);
    resetTileTextures();
}

void TFram7::ListView1ColumnClick(TListView* sender, int column)
{
    SortColumn = column;
    sender->SortRows([this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return ListView1Compare(a, b); });
}

int TFram7::ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const
{
    return SortColumn != 0 ? CompareRowTexts(a, b, 1) : CompareRowNumbers(a, b);
}

// ---- Textures ----------------------------------------------------------------------------

// The two radio buttons are a set, so checking one unchecks the other.
void TFram7::RadioButton1Click()
{
    Panel1->show();
    Panel2->hide();
    CheckBox8->show();
}

void TFram7::RadioButton2Click()
{
    Panel1->hide();
    Panel2->show();
    CheckBox8->hide();
}

void TFram7::ListView1Click()
{
    if (const CTile* tile = selectedTile()) showTexturesOfTile(*tile);
}

void TFram7::showTexturesOfTile(const CTile& tile)
{
    Image1->ClearPicture();
    Panel4->clear();
    Panel5->clear();
    TileTextures.Clear();
    const int r = CollectMdlTextures(tile.Model, TileTextures, true);
    TileTextures.Sort();
    Label2->setText(r == -1 ? "Binary MDL" : r == -2 ? "Not found" : "");
    Button9->setVisible(r == -1 && !Game().MdlCompilerPath.empty());
    Button10->setVisible(r == -2 && Game().BifResList.HasMdl(tile.Model));
    fillBox(ListBox1, TileTextures);
    if (ListBox1->count() > 0) ListBox1->setCurrentRow(0);
    Edit4->setText(QString::number(ListBox1->count()));
}

void TFram7::ListBox1Click(QListWidget* sender)
{
    const std::string name = selectedText(sender);
    if (name.empty()) return;
    // A file the reader refused is found but no texture: said as the texture dialog says it.
    const TexturePreview preview = PreviewTexture(Image1, name);
    Panel4->setText(ToQt(preview.SizeText()));
    switch (preview.unreadable ? -2 : preview.info.status) {
    case 0: Panel5->setText("Custom TGA Texture"); break;
    case 1: Panel5->setText("Custom DDS Texture"); break;
    case 2: Panel5->setText("TGA from NWN"); break;
    case -1: Panel5->setText("File not found"); break;
    default: Panel5->setText("Error on opening file"); break;
    }
    if (sender != ListBox2 || !CheckBox7->isChecked()) return;

    BusyCursor busy;
    TProgressSink bar(ProgressBar2);
    bar.SetMax(TS().TileList.lastIndex());
    std::unordered_map<std::string, bool> uses;   // by Model as written: tiles often share one
    int rows = 0;
    {
        ListFill fill(ListView2);
        int n = 0;
        for (const CTile* tile : TS().TileList) {
            bar.StepIt();
            auto [at, fresh] = uses.try_emplace(tile->Model, false);
            if (fresh) at->second = texturesOf(tile->Model).IndexOf(name) >= 0;
            if (at->second) fill.Add(n, {tile->Model}), ++rows;
            ++n;
        }
    }
    bar.SetPosition(0);
    Edit2->setText(QString::number(rows));
}

void TFram7::Button2Click()
{
    if (!haveFolder()) return;
    ListBox2->clear();
    TilesetTextures.Clear();
    if (TS().TileList.Empty()) return;
    BusyCursor busy;
    TProgressSink bar(ProgressBar2);
    bar.SetMax(TS().TileList.lastIndex());
    CollectAllTileTextures(&TilesetTextures, bar, !CheckBox6->isChecked());
    TilesetTextures.Sort();
    fillBox(ListBox2, TilesetTextures);
    Edit1->setText(QString::number(TilesetTextures.Count()));
    bar.SetPosition(0);
}

void TFram7::Image1Click()
{
    Image1->SetStretch(!Image1->Stretch());
}

void TFram7::selectTexture(QListWidget* box, const std::string& name)
{
    const auto found = box->findItems(ToQt(name), Qt::MatchFixedString);
    if (!found.isEmpty()) box->setCurrentItem(found.first());
}

// ---- Texture changes ---------------------------------------------------------------------

void TFram7::Button5Click()
{
    if (!haveFolder()) return;
    TextureChangeRequest request;
    request.folder = Game().SetDir;
    std::string caption;
    if (RadioButton1->isChecked() && !(request.oldTexture = selectedText(ListBox1)).empty()) {
        if (CheckBox8->isChecked()) {
            request.scope = TextureChangeRequest::DisplayedTiles;
            for (int n : ListView1->Numbers())
                if (const CTile* tile = TS().TileList.At(n)) request.models.push_back(tile->Model);
            caption = "Change " + quoted(request.oldTexture) + " texture for all displayed tiles";
        } else {
            const CTile* tile = selectedTile();
            if (!tile) return;
            request.scope = TextureChangeRequest::OneTile;
            request.models = {tile->Model};
            caption = "Change " + quoted(request.oldTexture) + " texture for " + tile->Model + ".mdl";
        }
    } else if (RadioButton2->isChecked() && !(request.oldTexture = selectedText(ListBox2)).empty()) {
        request.scope = TextureChangeRequest::WholeTileset;
        caption = "Change " + quoted(request.oldTexture) + " for all tileset";
    } else {
        return;
    }
    Form5->Open(request, caption);
}

void TFram7::ChangeTileTexture(const std::string& newName, const TextureChangeRequest& request)
{
    if (!haveFolder() || request.folder != Game().SetDir || request.oldTexture.empty() || request.models.empty())
        return;
    std::string notice;
    int replaced = 0;
    if (request.scope == TextureChangeRequest::OneTile) {
        const std::string& model = request.models.front();
        replaced = replaceInModel(model, request.oldTexture, newName);
        notice = IntToStr(replaced) + " changements done in " + model + ".mdl";
    } else {
        BusyCursor busy;
        TProgressSink bar(ProgressBar4);
        bar.SetMax(int(request.models.size()));
        const ChangeCount count = replaceInModels(request.models, request.oldTexture, newName, bar);
        replaced = count.replaced;
        notice = IntToStr(count.replaced) + " changements done in " + IntToStr(count.files) + " Files";
    }
    // The list shows what the selected tile's model names now. The new name is chosen only
    // when it went in; after a change that did nothing the old one stays chosen.
    if (const CTile* tile = selectedTile()) {
        showTexturesOfTile(*tile);
        selectTexture(ListBox1, replaced > 0 ? newName : request.oldTexture);
    }
    AppDialogs().Notice(notice);
}

void TFram7::ChangeTilesetTexture(const std::string& newName, const TextureChangeRequest& request)
{
    const std::string& oldName = request.oldTexture;
    if (!haveFolder() || request.folder != Game().SetDir || oldName.empty()) return;
    std::vector<std::string> models;
    for (const CTile* tile : TS().TileList) models.push_back(tile->Model);
    ChangeCount count;
    {
        BusyCursor busy;
        TProgressSink bar(ProgressBar2);
        bar.SetMax(TS().TileList.lastIndex());
        count = replaceInModels(models, oldName, newName, bar);
    }
    // The list entry follows only a change that was made: renamed, or merged into the
    // entry already there.
    if (count.replaced > 0) {
        if (const int at = TilesetTextures.IndexOf(oldName); at >= 0) {
            // A new name that differs only in case is this same entry, not another one.
            const int there = TilesetTextures.IndexOf(newName);
            if (there < 0 || there == at) TilesetTextures.Put(at, newName);
            else TilesetTextures.Delete(at);
        }
        TilesetTextures.Sort();
        fillBox(ListBox2, TilesetTextures);
        Edit1->setText(QString::number(TilesetTextures.Count()));
        selectTexture(ListBox2, newName);
    }
    AppDialogs().Notice(IntToStr(count.replaced) + " changements done in " + IntToStr(count.files) + " Files.");
}

// ---- Converter and stock models ----------------------------------------------------------

void TFram7::Button9Click()
{
    const CTile* tile = selectedTile();
    if (!tile || !haveFolder() || Game().MdlCompilerPath.empty()) return;
    const std::string model = tile->Model;
    const std::string& dir = Game().SetDir;
    // "-de %s %s" with the model's path twice; the window repaints and shows a busy cursor
    // while the converter is awaited.
    // The converter rewrites the file it is given: never one outside the folder.
    std::optional<std::string> path = FindNoCase(dir, model + ".mdl");
    if (!path) path = JoinFileName(dir, model + ".mdl");
    if (path) RunModelConverter(*path);
    StringList names;
    const bool text = CollectMdlTextures(model, names, true) >= 0;
    AppDialogs().Notice(quoted(model + ".mdl") + (text ? " converted to ascii" : " not converted, still binary"));
    if (const CTile* now = selectedTile()) showTexturesOfTile(*now);
}

void TFram7::Button10Click()
{
    const CTile* tile = selectedTile();
    if (!tile || !haveFolder()) return;
    GameData& game = Game();
    const std::string model = tile->Model;
    std::string message;
    int copied = 0;
    for (const char* ext : {".mdl", ".wok"}) {
        const std::string name = model + ext;
        const auto target = JoinFileName(game.SetDir, name);
        if (!target) continue;   // a name that would lead out of the folder is never written
        // A file left by an earlier extraction must never be taken for this one.
        if (!game.TempFilePath.empty()) RemoveFile(game.TempFilePath);
        const int got = ext[1] == 'm' ? game.BifResList.ExtractMdl(model) : game.BifResList.ExtractWok(model);
        if (got == 0 && !FindNoCase(game.SetDir, name) &&
            CopyNoOverwrite(game.TempFilePath, *target)) {
            message += "\n\t" + name;
            ++copied;
        }
        if (!game.TempFilePath.empty()) RemoveFile(game.TempFilePath);
    }
    if (copied < 1) AppDialogs().Notice("Copy failed or file already exist");
    else AppDialogs().Notice(IntToStr(copied) + " Files copied :\n" + message);
    Button10->hide();
    if (const CTile* now = selectedTile()) showTexturesOfTile(*now);
}

// ---- See textures ------------------------------------------------------------------------

void TFram7::SeeTileTextures(int tileNumber)
{
    Form1->PageControl1->setCurrentWidget(Form1->TabSheet6);
    RadioButton1->setChecked(true);
    if (!ListView1->RowOfNumber(tileNumber)) FillTileList();   // filtered out of the list
    {
        // The handler runs once below, also when that row was already selected.
        const QSignalBlocker quiet(ListView1);
        ListView1->SelectNumber(tileNumber);
    }
    if (!selectedTile()) return;
    ListView1Click();
    if (ListBox1->count() > 0) ListBox1->setFocus();
}
