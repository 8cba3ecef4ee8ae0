// The Tiles tab's deletions: the questions, the tiles and group cells left, the files
// removed or kept, and each report.
#include "UiTestSupport.h"

#include <filesystem>

#include "support/TilesetBuilder.h"
#include "ui/frm5.h"

namespace {
enum : int { NeverDelete = 1, NeverDeleteConf = 2, NeverConfOnAllDelete = 4, NoFolder = 8, LostFolder = 16 };
constexpr int Filtered = 32; // the Tiles tab's filter is on
const char* const Files[] = {"a.mdl", "a.wok", "ma.tga", "b.mdl", "c.mdl", "c.wok"};
}

class TileDeletion : public UiTest {
protected:
    std::string setDir = dir.File("set");

    // Tiles a (minimap ma), b (mb), c (ma), a (md); a group of 1, 2, -1, 3; the Files.
    void Build(int flags)
    {
        ResetAllModelData();
        std::filesystem::remove_all(setDir);
        for (const char* f : Files) dir.Write(std::string("set/") + f, "x");
        for (auto [model, minimap] : {std::pair{"a", "ma"}, {"b", "mb"}, {"c", "ma"}, {"a", "md"}})
            AddTile(TS().TileList, model)->ImageMap2D = minimap;
        AddGroup(TS().GroupList, "G", {"1", "2", "-1", "3"});
        Game().SetDir = flags & NoFolder ? "" : flags & LostFolder ? dir.File("gone") : setDir;
        EditorOptions& o = Form1->Options;
        o.NeverDelete = flags & NeverDelete, o.NeverDeleteConf = flags & NeverDeleteConf;
        o.NeverConfOnAllDelete = flags & NeverConfOnAllDelete, Form1->Fram41->FilterActive = flags & Filtered;
        Views().FillTiles();
        Views().FillGroups();
    }
    // The tiles' models, the group's cells and the files that went.
    std::string State()
    {
        std::string s;
        for (const CTile* t : TS().TileList) s += t->Model;
        for (const std::string& c : TS().GroupList.Head()->Cells) s += " " + c;
        for (const char* f : Files)
            if (!FileExists(dir.File("set/") + f)) s += std::string(" -") + f;
        return s;
    }
};

TEST_F(TileDeletion, QuestionsTilesCellsFilesAndReports)
{
    const std::string asset = "Do you want to delete MDL,WOK and TGA for this tile ?\n(note that if any of this file "
                              "is used by another tile it\nwill not be deleted.)";
    const std::string all = "Do you really want to delete all displayed Tiles ?\nNOTE : you will get no warning "
                            "message if tiles are used by groups";
    const std::string used = "This tile is used for group #0\nDo you really want to delete it ?";
    const std::string lost = "The tileset folder could not be listed: no file deleted";
    const std::string one = "Tile deleted :\n\n", del = "\n\nFiles Deleted :\n\n   ";
    const std::string missing = "\n\n2 Files not found :\n\n   b.wok\n   mb.tga";
    const int noAsking = NeverConfOnAllDelete | NeverDeleteConf;
    using R = MsgResult;
    // Options; the displayed rows (one for "Del Selected", -1 after it for the whole list
    // and "Delete Displayed"); the answers; the boxes shown; the tiles, cells and files left.
    const std::tuple<int, std::vector<int>, std::vector<R>, std::vector<std::string>, std::string> cases[] = {
        {NeverDelete, {1}, {R::Yes}, {used, one + "b"}, "aca -1 1 -1 2"},
        {0, {1}, {R::No}, {used}, "abca 1 2 -1 3"},
        {0, {1}, {R::Yes, R::YesToAll}, {used, asset, one + "   b" + del + "b.mdl" + missing}, "aca -1 1 -1 2 -b.mdl"},
        // Its model is tile 3's, its minimap tile 2's: nothing to delete, nothing missing.
        {0, {0}, {R::Yes}, {asset}, "bca 0 1 -1 2"},
        {0, {2}, {R::Yes, R::Yes, R::Yes, R::No},
         {used, asset, "c.MDL file found, delete it ?", "c.WOK file found, delete it ?", one + "   c" + del + "c.mdl"},
         "aba 1 -1 -1 2 -c.mdl"},
        {NeverDeleteConf, {3}, {R::Yes}, {used, one + "   a\n\n1 Files not found :\n\n   md.tga"}, "abc 1 2 -1 -1"},
        {NoFolder, {1}, {R::Yes}, {used, one + "b"}, "aca -1 1 -1 2"},
        // The filter runs again: it keeps the tiles no group uses, tile 0 alone.
        {NeverDelete | Filtered, {1}, {R::Yes}, {used, one + "b"}, "aca -1 1 -1 2"},
        {LostFolder, {1}, {R::Yes, R::YesToAll}, {used, asset, one + "   b\n\n" + lost}, "aca -1 1 -1 2"},
        // Every tile: files another tile uses stay, as all are still there when checked.
        {noAsking, {3, 2, 1, 0, -1}, {}, {"4 Tiles deleted\n3 Files Deleted\n3 Files not found"},
         " -1 -1 -1 -1 -b.mdl -c.mdl -c.wok"},
        {0, {0, 1, 2, 3, -1}, {R::No}, {all}, "abca 1 2 -1 3"},
        {0, {3, 1, -1}, {R::Yes, R::No}, {all, asset, "2 Tiles deleted"}, "ac -1 1 -1 -1"},
        {0, {3, 1, -1}, {R::Yes, R::YesToAll}, {all, asset, "2 Tiles deleted\n1 Files Deleted\n3 Files not found"},
         "ac -1 1 -1 -1 -b.mdl"},
        {noAsking, {2, -1}, {}, {"1 Tiles deleted\n2 Files Deleted"}, "aba 1 -1 -1 2 -c.mdl -c.wok"},
        {noAsking, {3, -1}, {}, {"1 Tiles deleted\n1 Files not found"}, "abc 1 2 -1 -1"},
        {noAsking, {0, -1}, {}, {}, "bca 0 1 -1 2"},
        {NeverConfOnAllDelete | NoFolder, {0, 1, -1}, {}, {"2 Tiles deleted"}, "ca -1 0 -1 1"},
        {NeverConfOnAllDelete | LostFolder, {0, -1}, {R::YesToAll}, {asset, "1 Tiles deleted\n" + lost},
         "bca 0 1 -1 2"},
    };
    for (auto& [flags, rows, answers, boxes, state] : cases) {
        Build(flags);
        TFram4& t = *Form1->Fram41;
        const bool displayed = rows.back() == -1;
        // The list shows the given rows in that order, as a filter and a sort would leave it.
        for (ListFill fill(t.ListView1); int n : rows)
            if (n >= 0) fill.Add(n, {TS().TileList.At(n)->Model});
        if (!displayed) t.ListView1->SelectNumber(rows[0]);
        dialogs.Clear();
        for (R r : answers) dialogs.QueueAnswer(r);
        displayed ? t.Button10Click() : t.Button3Click();
        EXPECT_EQ(dialogs.Texts(), boxes) << state;
        EXPECT_EQ(State(), state);
        const std::string n = std::to_string(TS().TileList.Count()), shown = flags & Filtered ? "1" : n;
        EXPECT_EQ(Text(t.Edit1) + "/" + std::to_string(t.ProgressBar1->value()) +
                      std::to_string(Form1->Fram51->ListView2->RowCount()), shown + "/0" + n) << state;
    }
}
