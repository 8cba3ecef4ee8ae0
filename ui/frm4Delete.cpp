// The Tiles tab's deletions: the selected tile ("Del Selected") and every tile the list
// shows ("Delete Displayed"). The groups' cells follow the tiles that go, the tiles' files
// in the tileset folder go too when the options and answers say so, and a report tells
// what was done.
#include <algorithm>

#include "gamedata/GameData.h"
#include "model/Globfun.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "ui/App.h"
#include "ui/Busy.h"
#include "ui/Sinks.h"
#include "ui/frm4.h"
#include "ui/frm5.h"
#include "ui/mainfrm.h"

namespace {

const char* const AssetQuestion = "Do you want to delete MDL,WOK and TGA for this tile ?\n(note that if any of this file is used by another tile it\nwill not be deleted.)";
const char* const AllQuestion = "Do you really want to delete all displayed Tiles ?\nNOTE : you will get no warning message if tiles are used by groups";
const char* const FolderNotListed = "The tileset folder could not be listed: no file deleted";

// "Del Selected": what became of the tile and its files; empty when there is nothing to say.
std::string oneTileReport(const std::string& model, bool filesAsked, const TileDeleteReport& r, bool unlisted)
{
    if (!filesAsked) return "Tile deleted :\n\n" + model;
    const std::string missing = IntToStr(r.MissingFileCount);
    std::string s;
    if (r.MissingFileCount > 0 && r.DeletedFileCount > 0)
        s = "Tile deleted :\n\n   " + model + "\n\nFiles Deleted :\n" + r.DeletedFiles + "\n\n" + missing +
            " Files not found :\n" + r.MissingFiles;
    else if (r.MissingFileCount > 0)
        s = "Tile deleted :\n\n   " + model + "\n\n" + missing + " Files not found :\n" + r.MissingFiles;
    else if (r.DeletedFileCount > 0)
        s = "Tile deleted :\n\n   " + model + "\n\nFiles Deleted :\n" + r.DeletedFiles;
    // Files could not even be looked for: that is said rather than nothing.
    if (unlisted) s = (s.empty() ? "Tile deleted :\n\n   " + model : s) + "\n\n" + FolderNotListed;
    return s;
}

// "Delete Displayed": the counts only.
std::string manyTilesReport(int tiles, bool filesAsked, const TileDeleteReport& r, bool unlisted)
{
    const std::string n = IntToStr(tiles);
    if (!filesAsked) return n + " Tiles deleted";
    const std::string deleted = IntToStr(r.DeletedFileCount), missing = IntToStr(r.MissingFileCount);
    std::string s;
    if (r.MissingFileCount > 0 && r.DeletedFileCount > 0)
        s = n + " Tiles deleted\n" + deleted + " Files Deleted\n" + missing + " Files not found";
    else if (r.MissingFileCount > 0)
        s = n + " Tiles deleted\n" + missing + " Files not found";
    else if (r.DeletedFileCount > 0)
        s = n + " Tiles deleted\n" + deleted + " Files Deleted";
    if (unlisted) s = (s.empty() ? n + " Tiles deleted" : s) + "\n" + FolderNotListed;
    return s;
}

void report(const std::string& text)
{
    if (!text.empty()) AppDialogs().Notice(text);
}

} // namespace

void TFram4::connectDeletions()
{
    connect(Button3, &QPushButton::clicked, this, Guard([this] { Button3Click(); }));
    connect(Button10, &QPushButton::clicked, this, Guard([this] { Button10Click(); }));
    connect(Delete1, &QAction::triggered, this, Guard([this] { Button3Click(); }));
    connect(DeleteAll1, &QAction::triggered, this, Guard([this] { Button10Click(); }));
}

bool TFram4::CheckGroupCellsBeforeDelete()
{
    int g = 0;
    for (const CGroup* group : TS().GroupList) {
        int n = 0;
        for (const std::string& cell : group->Cells) {
            if (!TryStrToInt(cell, n)) {
                AppDialogs().Error("Group #" + IntToStr(g) + " holds the cell \"" + cell +
                                   "\", which is no tile number: its cells could not follow the tiles.\n"
                                   "Nothing was deleted.");
                return false;
            }
        }
        ++g;
    }
    return true;
}

int TFram4::RemoveTiles(std::vector<int> numbers)
{
    CPtrList<CTile>& tiles = TS().TileList;
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::erase_if(numbers, [&](int n) { return !tiles.At(n); });
    // Ascending, each removal moves the later tiles down by one: the k-th goes at n - k.
    int k = 0;
    for (int n : numbers) {
        tiles.DeleteAt(n - k);
        RenumberGroupTilesAfterDelete(n - k);
        ++k;
    }
    return k;
}

void TFram4::RerunDisplayFilter()
{
    FilterTileList(ListView1, Edit1);
}

TFram4::AssetAnswer TFram4::askAssetQuestion()
{
    // A tileset never saved has no folder, so no files to delete.
    if (Game().SetDir.empty()) return AssetAnswer::Keep;
    const EditorOptions& options = Form1->Options;
    if (options.NeverDelete) return AssetAnswer::Keep;
    if (options.NeverDeleteConf) return AssetAnswer::DeleteAll;
    switch (AppDialogs().Message(MsgKind::Warning, AssetQuestion, MsgButtons::YesNoYesToAll)) {
    case MsgResult::Yes:
        return AssetAnswer::AskEachFile;
    case MsgResult::YesToAll:
        return AssetAnswer::DeleteAll;
    default:
        return AssetAnswer::Keep;
    }
}

bool TFram4::deleteAssetFiles(const CTile& tile, AssetAnswer answer)
{
    if (answer == AssetAnswer::Keep) return true;
    return DeleteTileFiles(&tile, answer == AssetAnswer::AskEachFile, DeleteReport, MiniMapList) >= 0;
}

void TFram4::showTilesAfterDelete()
{
    CPtrList<CTile>& tiles = TS().TileList;
    if (tiles.Empty()) {
        ListView1->clear();
        Edit1->setText("0");
        ClearTileLists();
    } else if (FilterActive) {
        RerunDisplayFilter();
        RefillTileLists();
    } else {
        tiles.Head()->FillMainLists();
    }
}

void TFram4::Button3Click()
{
    const auto n = ListView1->SelectedNumber();
    if (!n) return;
    Form1->Fram51->ClearGroupFields();
    DeleteReport = {};
    const CTile* tile = TS().TileList.At(*n);
    if (!tile || !CheckGroupCellsBeforeDelete()) return;
    const std::string model = tile->Model;
    const int group = FindGroupOfTile(*n);
    if (group != -1 &&
        AppDialogs().Message(MsgKind::Warning,
                             "This tile is used for group #" + IntToStr(group) + "\nDo you really want to delete it ?",
                             MsgButtons::YesNo) != MsgResult::Yes)
        return;
    RenumberGroupTilesAfterDelete(*n);
    const AssetAnswer answer = askAssetQuestion();
    const bool listed = deleteAssetFiles(*tile, answer);
    TS().TileList.DeleteAt(*n);
    ListView1->clear();
    ClearTileFields();
    showTilesAfterDelete();
    report(oneTileReport(model, answer != AssetAnswer::Keep, DeleteReport, !listed));
}

void TFram4::Button10Click()
{
    Form1->Fram51->ClearGroupFields();
    DeleteReport = {};
    const std::vector<int> shown = ListView1->Numbers();
    if (shown.empty() || !CheckGroupCellsBeforeDelete()) return;
    if (!Form1->Options.NeverConfOnAllDelete &&
        AppDialogs().Message(MsgKind::Confirmation, AllQuestion, MsgButtons::YesNo) != MsgResult::Yes)
        return;
    const AssetAnswer answer = askAssetQuestion();

    BusyCursor busy;
    TProgressSink bar(ProgressBar1);
    bar.SetMax(int(shown.size()));
    std::vector<int> doomed;
    bool listed = true;
    for (int n : shown) {
        bar.StepIt();
        const CTile* tile = TS().TileList.At(n);
        if (!tile) continue;
        // Every tile is still in the list: a file another displayed tile uses stays.
        if (!deleteAssetFiles(*tile, answer)) listed = false;
        doomed.push_back(n);
    }
    const int deleted = RemoveTiles(doomed);
    bar.SetPosition(0);
    showTilesAfterDelete();
    report(manyTilesReport(deleted, answer != AssetAnswer::Keep, DeleteReport, !listed));
}
