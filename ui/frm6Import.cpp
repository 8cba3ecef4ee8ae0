// The Import tab's imports: the selected tile or group, or every row on display, appended
// to the tileset being edited with the terrains and crossers they name, group cells
// renumbered to the tiles imported with them, the tiles' files copied into the tileset
// folder as the options and answers say, and a summary of what was done.
#include <algorithm>
#include <vector>

#include "gamedata/Filefun.h"
#include "model/Globfun.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "ui/Busy.h"
#include "ui/Sinks.h"
#include "ui/frm4.h"
#include "ui/frm6.h"
#include "ui/mainfrm.h"

namespace {

const char* const NoDestination = "No destination directory, associated tiles file cant be copied.\nTry to save your set file before importing tiles if you\nwant to automatically copy MDL,WOK and TGA files.";
// The question before a row's files, and the one before the files of every tile on display.
const char* const CopyQuestionOne = "Do you want to search and copy MDL,WOK,DDS and TGA files ?\n\n- Yes : copy confirmation will be need for each files found\n\n - Yes to all : no confirmation at all,files directly copied";
const char* const CopyQuestionAll = "Do you want to search and copy MDL,WOK,DDS and TGA files ?\n- Yes : copy confirmation will be need for each files found\n - Yes to all : no confirmation at all,files directly copied";
const char* const MembersOfThisGroup = "Do you want to import all the tiles associated to this group ?";
const char* const MembersOfThoseGroups = "Do you want to import all the tiles associated to those groups ?";
const char* const AllTiles = "Are you sure you want to import all displayed Tiles ?";
const char* const AllGroups = "Are you sure you want to import all displayed Groups ?";
const char* const Indent = "\n   ";

bool confirmed(const std::string& question)
{
    return AppDialogs().Message(MsgKind::Confirmation, question, MsgButtons::YesNo) == MsgResult::Yes;
}

bool importDuplicateTile(const CTile& source)
{
    return Form1->Options.NeverCheckDuplicate || !TileModelExists(source) ||
           confirmed("Tile model \"" + source.Model + "\" already used, import anyway ?");
}

bool importDuplicateGroup(const CGroup& source)
{
    return Form1->Options.NeverCheckDuplicate || !GroupNameExists(source) ||
           confirmed("A group named \"" + source.Name + "\" already exist, import anyway ?");
}

// The source tile each cell names, -1 where it names none: an empty cell, a number outside
// the source and a cell that is no number at all (a hand-made file) alike. Worked out before
// the group is appended, so such a cell can never leave a group half imported.
std::vector<int> memberNumbers(const CGroup& group, const CPtrList<CTile>& sourceTiles)
{
    std::vector<int> numbers;
    for (const std::string& cell : group.Cells) {
        int n = -1;
        numbers.push_back(TryStrToInt(cell, n) && sourceTiles.At(n) ? n : -1);
    }
    return numbers;
}

// One import, from its common start to its summary: whether files are copied, the answer to
// the copy question and the files copied so far.
class ImportRun {
public:
    // Files are copied unless the options say never, the source lies in the tileset folder
    // or the tileset has no folder yet, which the user is told before anything else.
    explicit ImportRun(TFram6& tab) : tab_(tab), report_(tab.CopyReport)
    {
        const EditorOptions& options = Form1->Options;
        if (options.NeverCopy) copy_ = false, answer_ = MsgResult::No;
        if (tab.SourceInCurrentSetFolder()) copy_ = false;
        if (tab.CurrentSetDir.empty() && !options.NeverCopy) {
            copy_ = false;
            AppDialogs().Information(NoDestination);
        }
    }

    void AskCopy(const char* question)
    {
        if (copy_ && !Form1->Options.NeverCopyConf)
            answer_ = AppDialogs().Message(MsgKind::Confirmation, question, MsgButtons::YesNoYesToAll);
    }

    bool FilesCopied() const { return copy_ && answer_ != MsgResult::No; }

    // Empties the last import's report; the asking carries on from the last answer.
    void StartReport()
    {
        report_.FilesCopiedText.clear();
        report_.FilesNotFoundText.clear();
        report_.FilesNotFoundCount = 0;
        report_.ImportTextures = StringList();
        tab_.ImportedTilesText.clear();
        tab_.ImportedGroupText.clear();
    }

    // Yes confirms every file, Yes to all none; No leaves the asking as it was.
    void SetAskEachFile()
    {
        if (answer_ != MsgResult::No) report_.AskEachFile = answer_ == MsgResult::Yes;
    }

    // Appends a copy of source tile n to the tile list, brings in the terrains and crossers
    // it names that the tileset lacks and copies its files when files are copied.
    CTile& ImportTile(int n, bool refreshViews = false)
    {
        auto* tile = new CTile;
        tile->CopyToMain(*TS().ImportTiles.At(n));
        if (refreshViews) tile->FillMainLists();
        if (tab_.AutoImportTerrainCrosser) AddMissingTerrainsAndCrossers(*tile);
        noteMissing({tile->TopLeft, tile->TopRight, tile->BottomLeft, tile->BottomRight}, TS().TerrainList, terrains_);
        noteMissing({tile->Top, tile->Right, tile->Bottom, tile->Left}, TS().CrosserList, crossers_);
        if (FilesCopied()) {
            // The flag is read at each call: an answer to one copy's questions carries on.
            copied_ += CopyImportTileFiles(n, tile->ImageMap2D, report_.AskEachFile, tab_.ImportSetDir, report_,
                                           Form1->Fram41->MiniMapList);
        }
        return *tile;
    }

    void CopyTextures()
    {
        if (FilesCopied())
            copied_ += CopyImportTextures(&report_.ImportTextures, report_.AskEachFile, tab_.ImportSetDir, report_);
    }

    // Appends a copy of the source group and, with members, a tile for each of its cells that
    // names a source tile, in cell order: such a cell gets the new tile's number, the others
    // "-1". Without members every cell is "-1": the numbers of tiles that would follow name
    // tiles the group never had, or none at all. The bar steps once per imported tile, or once
    // per cell with everyCell. Returns the tiles imported.
    int ImportGroup(const CGroup& source, bool members, TProgressSink& bar, bool everyCell, std::string* listed)
    {
        const std::vector<int> sourceTiles = memberNumbers(source, TS().ImportTiles);
        auto* group = new CGroup;
        group->CopyToMain(source);
        if (!members) {
            for (int i = 0; i < group->Cells.Count(); ++i) group->Cells.Put(i, "-1");
            return 0;
        }
        int imported = 0;
        for (int i = 0; i < int(sourceTiles.size()); ++i) {
            const int n = sourceTiles[std::size_t(i)];
            if (n < 0) {
                group->Cells.Put(i, "-1");
                if (everyCell) bar.StepIt();
                continue;
            }
            group->Cells.Put(i, IntToStr(TS().TileList.Count()));
            const CTile& tile = ImportTile(n);
            bar.StepIt();
            if (listed) *listed += Indent + tile.Model;
            ++imported;
        }
        return imported;
    }

    int Copied() const { return copied_; }
    const ImportCopyReport& Report() const { return report_; }

    // The end of a summary: the terrains and crossers that imported tiles name and the
    // tileset still lacks, with the automatic import off or the source lacking them too.
    std::string Missing() const
    {
        std::string text;
        for (auto [list, head] : {std::pair{&terrains_, "Terrains"}, {&crossers_, "Crossers"}}) {
            if (list->Empty()) continue;
            text += "\n\n" + std::string(head) + " not in this tileset :";
            for (const std::string& name : *list) text += Indent + name;
        }
        return text;
    }

private:
    // Adds each name that no entry of the tileset has, ignoring case, once.
    template <class Entry>
    static void noteMissing(std::initializer_list<std::string> names, const CPtrList<Entry>& entries,
                            StringList& missing)
    {
        for (const std::string& name : names) {
            const auto same = [&name](const Entry* e) { return EqualsNoCase(e->Name, name); };
            if (!name.empty() && missing.IndexOf(name) < 0 && std::none_of(entries.begin(), entries.end(), same))
                missing.Add(name);
        }
    }

    TFram6& tab_;
    ImportCopyReport& report_;
    bool copy_ = true;
    MsgResult answer_ = MsgResult::YesToAll;
    int copied_ = 0;
    StringList terrains_, crossers_;
};

void importSelectedTile(TFram6& tab, ImportRun& run)
{
    const auto row = tab.ListView2->SelectedNumber();
    const CTile* source = row ? tab.ImportTiles.At(*row) : nullptr;
    if (!source || !importDuplicateTile(*source)) return;
    run.AskCopy(CopyQuestionOne);
    run.StartReport();
    if (run.FilesCopied()) run.SetAskEachFile();
    BusyCursor busy;
    const CTile& tile = run.ImportTile(*row, true);
    run.CopyTextures();
    const std::string head = "Tile imported :\n\n   " + tile.Model;
    if (!run.FilesCopied()) {
        AppDialogs().Information(head + run.Missing());
        return;
    }
    const ImportCopyReport& r = run.Report();
    std::string text = head + "\n\n" + IntToStr(run.Copied()) + " Files copied :\n" + r.FilesCopiedText;
    if (r.FilesNotFoundCount != 0) text += "\n\n" + IntToStr(r.FilesNotFoundCount) + " Files not found :\n" + r.FilesNotFoundText;
    AppDialogs().Notice(text + run.Missing());
}

void importSelectedGroup(TFram6& tab, ImportRun& run)
{
    const auto row = tab.ListView3->SelectedNumber();
    const CGroup* source = row ? tab.ImportGroups.At(*row) : nullptr;
    if (!source || !importDuplicateGroup(*source)) return;
    const bool members = Form1->Options.NeverConfOnGroupTiles || confirmed(MembersOfThisGroup);
    if (members) run.AskCopy(CopyQuestionOne);
    run.StartReport();
    TProgressSink bar(tab.ProgressBar1);
    bar.SetMax(source->Cells.Count());
    tab.ImportedGroupText = Indent + source->Name;
    run.SetAskEachFile();
    BusyCursor busy;
    const int tiles = run.ImportGroup(*source, members, bar, false, &tab.ImportedTilesText);
    Views().FillGroups();
    const std::string groupPart = "Imported group :\n" + tab.ImportedGroupText;
    if (!members) {
        AppDialogs().Notice(groupPart);
        return;
    }
    run.CopyTextures();
    if (tiles > 0) Views().FillTiles();
    bar.SetPosition(0);

    const ImportCopyReport& r = run.Report();
    const std::string copied = IntToStr(run.Copied());
    std::string text;
    if (!run.FilesCopied())
        text = groupPart + "\n\nImported tiles :\n" + tab.ImportedTilesText;
    else if (r.FilesNotFoundCount != 0)
        text = groupPart + "\n\nImported tiles :\n" + tab.ImportedTilesText + "\n\n" + copied + " Files copied :\n" +
               r.FilesCopiedText + "\n\n" + IntToStr(r.FilesNotFoundCount) + " Files not found :\n" + r.FilesNotFoundText;
    else
        text = groupPart + "\n\nImported tiles\n" + tab.ImportedTilesText + "\n\n" + copied + " Files copied :\n" +
               r.FilesCopiedText;
    AppDialogs().Notice(text + run.Missing());
}

void importDisplayedTiles(TFram6& tab, ImportRun& run)
{
    if (!Form1->Options.NeverConfOnAllImport && !confirmed(AllTiles)) return;
    run.AskCopy(CopyQuestionAll);
    run.StartReport();
    run.SetAskEachFile();
    const std::vector<int> rows = tab.ListView2->Numbers();
    TProgressSink bar(tab.ProgressBar1);
    bar.SetMax(int(rows.size()));
    BusyCursor busy;
    int imported = 0;
    for (int n : rows) {
        const CTile* source = tab.ImportTiles.At(n);
        if (!source || !importDuplicateTile(*source)) continue;
        const CTile& tile = run.ImportTile(n);
        ++imported;
        tab.ImportedTilesText += Indent + tile.Model;
        bar.StepIt();
    }
    run.CopyTextures();
    if (imported > 0) Views().FillTiles();
    bar.SetPosition(0);

    const std::string n = IntToStr(imported);
    if (!run.FilesCopied()) {
        AppDialogs().Notice(n + " Tiles imported" + run.Missing());
        return;
    }
    const ImportCopyReport& r = run.Report();
    std::string text = n + " Tiles imported\n\n" + IntToStr(run.Copied()) + " Files copied to :\n" + tab.CurrentSetDir;
    if (r.FilesNotFoundCount != 0) text += "\n\n" + IntToStr(r.FilesNotFoundCount) + " Files not found.";
    AppDialogs().Notice(text + run.Missing());
}

void importDisplayedGroups(TFram6& tab, ImportRun& run)
{
    if (!Form1->Options.NeverConfOnAllImport && !confirmed(AllGroups)) return;
    const bool members = Form1->Options.NeverConfOnGroupTiles || confirmed(MembersOfThoseGroups);
    if (members) run.AskCopy(CopyQuestionOne);
    run.StartReport();
    run.SetAskEachFile();
    const std::vector<int> rows = tab.ListView3->Numbers();
    int steps = int(rows.size());
    for (int n : rows)
        if (const CGroup* g = tab.ImportGroups.At(n)) steps += g->Cells.Count();
    TProgressSink bar(tab.ProgressBar1);
    bar.SetMax(steps);
    BusyCursor busy;
    int groups = 0, tiles = 0;
    for (int n : rows) {
        bar.StepIt();
        const CGroup* source = tab.ImportGroups.At(n);
        if (!source || !importDuplicateGroup(*source)) continue;
        tiles += run.ImportGroup(*source, members, bar, true, nullptr);
        ++groups;
        // The texture list grows from group to group: each copy looks for all it holds.
        if (members) run.CopyTextures();
    }
    if (!TS().TileList.Empty()) Views().FillTiles();
    if (!TS().GroupList.Empty()) Views().FillGroups();
    bar.SetPosition(0);

    const std::string g = IntToStr(groups), t = IntToStr(tiles);
    std::string text;
    if (!members)
        text = g + " Imported groups";
    else if (!run.FilesCopied())
        text = g + " Groups imported\n" + t + " Tiles imported";
    else
        text = g + " Groups imported\n" + t + " Tiles imported\n" + IntToStr(run.Copied()) + " Files copied";
    if (members && run.FilesCopied() && run.Report().FilesNotFoundCount != 0)
        text += "\n" + IntToStr(run.Report().FilesNotFoundCount) + " Files not found";
    AppDialogs().Notice(text + run.Missing());
}

} // namespace

void TFram6::Button5Click()
{
    ImportRun run(*this);
    if (RadioButton3->isChecked())
        importSelectedTile(*this, run);
    else
        importSelectedGroup(*this, run);
}

void TFram6::Button8Click()
{
    ImportRun run(*this);
    if (RadioButton3->isChecked())
        importDisplayedTiles(*this, run);
    else
        importDisplayedGroups(*this, run);
}
