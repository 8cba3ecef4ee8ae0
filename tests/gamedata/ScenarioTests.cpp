// The game data and asset-file operations run over the cases under tests/data/gamedata:
// each a list of steps and the transcript they must give (README.md there lists the steps).
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

#include "AssetTestSupport.h"
#include "support/FileSizeLimit.h"

namespace {

namespace fs = std::filesystem;

// Bytes on one line: \r, \n and \xNN stand for the bytes that are not printable.
std::string Escape(const std::string& bytes)
{
    if (bytes.empty()) return "(nothing)";
    std::string out;
    for (unsigned char c : bytes)
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c < 32 || c > 126 ? Format("\\x%02x", c) : std::string(1, char(c));
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) out += text[i];
        else if (text[++i] == 'r' || text[i] == 'n') out += text[i] == 'r' ? '\r' : '\n';
        else if (text[i] == 'x') out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16)), i += 2;
        else out += '\\', out += text[i];   // a backslash in a name
    }
    return out;
}

// The text after the first n words of a line.
std::string After(const std::string& line, int n)
{
    std::size_t p = 0;
    for (int i = 0; i < n && p != std::string::npos; ++i) p = line.find_first_not_of(' ', line.find(' ', p));
    return p == std::string::npos ? std::string() : line.substr(p);
}

template <class List>
std::string Join(const List& items, const char* separator = " ")
{
    std::string out;
    for (const std::string& item : items) out += (&item == &*items.begin() ? "" : separator) + item;
    return out;
}

class Scenario : public AssetTest, public ::testing::WithParamInterface<std::string> {
protected:
    // The game and tileset folders lie one below a folder of the test, so "../x" stays inside it.
    Scenario() : dir(game.File("g/")) { Game().GameDir = game.File("g"), fs::create_directory(Game().SetDir = set.File("in")); }
    std::string Run(const std::string& steps);
    bool Prepare(const std::vector<std::string>& w, const std::string& bytes);
    std::string Act(const std::vector<std::string>& w);
    std::string Picture(const TextureInfo& i) const
    {
        return Format("%d %dx%dx%d, ", i.status, i.width, i.height, i.bits) + (widgets.stretch ? "stretched, " : "unstretched, ") +
               Escape(widgets.shown);
    }

    const std::string dir;
    TempDir here;   // the current folder while a case runs
    TileDeleteReport deletion;
    ImportCopyReport import;
    std::map<std::string, KeyBuilder> keys;
    std::map<std::string, uint32_t> archiveAt;                       // key file and archive: its file-table position
    std::map<std::string, std::pair<BifBuilder, uint32_t>> bifs;     // archive: its resources and their count
    std::string key = "chitin.key", archive = "data/tiles.bif";
    std::map<std::string, TlkBuilder> tables;
    rlim_t fileLimit = 0;   // for the next action, as on a full disk
};

// A step that sets something up; false for an action.
bool Scenario::Prepare(const std::vector<std::string>& w, const std::string& bytes)
{
    const std::string& step = w[0];
    auto write = [&](const std::string& path, const std::string& data) { game.Write("g/" + path, data); };
    if (step == "set" || step == "source" || step == "here" || step == "outside")
        (step == "source" ? source : step == "here" ? here : set).Write((step == "set" ? "in/" : "") + w[1], bytes);
    else if (step == "file") write(w[1], bytes);
    else if (step == "link") fs::create_symlink(w[2], set.File("in/" + w[1]));
    else if (step == "tile" || step == "import") AddTile(w[1], w[2], step == "import");
    else if (step == "drop") TS().TileList.DeleteAt(StrToInt(w[1]));
    else if (step == "texture") import.ImportTextures.Add(w[1]);
    else if (step == "pick") widgets.names.Add(w[1]);
    else if (step == "refuse") widgets.failLoad = true;
    else if (step == "nofolder") Game().SetDir.clear();
    else if (step == "nogame") Game().GameDir.clear();
    else if (step == "full") fileLimit = std::stoul(w[1]);
    else if (step == "notemp") Game().TempFilePath = start.File("no/such/folder/MMTEMP.TGA");
    else if (step == "cut") write(w[1], game.Read("g/" + w[1]).substr(0, std::stoul(w[2])));
    else if (step == "remove") RemoveFile(dir + w[1]);
    else if (step == "tlk") write(w[1], tables[w[1]].Add(bytes).Build());
    else if (step == "answer") dialogs.QueueAnswer(w[1] == "Yes" ? MsgResult::Yes : w[1] == "No" ? MsgResult::No : MsgResult::YesToAll);
    else if (step == "patch") {
        std::string data = game.Read("g/" + w[1]);
        PatchU32(data, std::stoul(w[2], nullptr, 0), uint32_t(std::stoul(w[3], nullptr, 0)));
        write(w[1], data);
    } else if (step == "key") {
        key = w[1];
        archive = w[2];
    } else if (step == "res") {
        // Each archive holds its resources at 0, 1, ...; a key file names it in lower case with '\\'.
        std::string name = archive;
        for (char& c : name) c = c == '/' ? '\\' : LowerAscii(c);
        const std::string entry = key + " " + archive;
        if (!archiveAt.count(entry)) archiveAt[entry] = keys[key].AddBif(name);
        auto& [bif, count] = bifs[archive];
        keys[key].Add(w[1], uint16_t(StrToInt(w[2])), archiveAt[entry], count);
        bif.Add(count++, uint16_t(StrToInt(w[2])), bytes);
        write(key, keys[key].Build());
        write(archive, bif.Build());
    } else {
        return false;
    }
    return true;
}

// Runs one action and returns what it gave.
std::string Scenario::Act(const std::vector<std::string>& w)
{
    auto on = [&](const char* flag) { return std::find(w.begin(), w.end(), flag) != w.end(); };
    const std::string& step = w[0];
    const std::string from = on("archive") ? std::string(ArchiveSourceMarker) : source.Path();
    CBifResList& index = Game().BifResList;
    StringList prefixes;
    if (step == "delete") return IntToStr(DeleteTileFiles(TS().TileList.At(StrToInt(w[1])), on("ask"), deletion, widgets));
    if (step == "copy") return IntToStr(CopyImportTileFiles(StrToInt(w[1]), w[2], on("ask"), from, import, widgets));
    if (step == "copytextures") return IntToStr(CopyImportTextures(&import.ImportTextures, on("ask"), from, import));
    if (step == "rename") return IntToStr(RenameFilesPrefix(w[1], w[2], on("everywhere"), on("textures"), widgets, widgets));
    if (step == "prefixes") return Join(FindFilePrefixes(prefixes, on("textures")));
    if (step == "collect") return IntToStr(CollectMdlTextures(w[1], import.ImportTextures, on("game")));
    if (step == "collectall") return IntToStr(CollectAllTileTextures(&import.ImportTextures, widgets, on("game")));
    if (step == "replace") return IntToStr(ReplaceTextureInMdl(set.File("in/" + w[1]), w[2], w[3]));
    if (step == "prefix") return IntToStr(ReplacePrefixInFile(set.File("in/" + w[1]), w[2], w[3], on("everywhere")));
    if (step == "preview") return Picture(LoadTexturePreview(w[1], widgets));
    if (step == "showtexture") return Picture(index.LoadTileTexture(w[1], widgets));
    // The result, then what the action left (read once it has run).
    auto then = [](int result, const std::string& left) { return IntToStr(result) + ", " + Escape(left); };
    if (step == "showminimap") return then(index.LoadMinimapImage(w[1], widgets), widgets.shown);
    if (step == "importset") return then(index.OpenSetForImport(w[1], widgets), widgets.imported);
    if (step == "readkey") return IntToStr(index.ReadKeyFile(dir + w[1]));
    if (step == "extract") {
        const int r = w[1] == "mdl" ? index.ExtractMdl(w[2]) : w[1] == "wok" ? index.ExtractWok(w[2])
                    : w[1] == "minimap" ? index.ExtractMinimap(w[2]) : index.ExtractTileTga(w[2]);
        std::string temp;
        const bool made = ReadWholeFile(Game().TempFilePath, temp);
        RemoveFile(Game().TempFilePath);
        return IntToStr(r) + (made ? ", " + Escape(temp) : ", no temporary file");
    }
    if (step == "strref") {
        std::vector<std::string> texts;
        for (std::size_t i = 1; i < w.size() && !w[i].empty(); ++i) texts.push_back(w[i] + "=" + Escape(FindStrRefText(std::stoi(w[i]))));
        return Join(texts, "; ");
    }
    if (step == "locate") {
        // The settings store names the game folder, another folder, an empty one, or has no key.
        const std::string folder = w[1] == "other" ? source.Path() : w[1] == "empty" ? "" : game.File("g");
        const std::string ini = here.Write("registry.ini", w[1] == "nokey" ? "[SOFTWARE\\Tilvenna]\nNeverCopy=0\n"
                                                                          : "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + folder + "\n");
        setenv("TILVENNA_REGISTRY", ini.c_str(), 1);
        LocateGameAndOpenTlk();
        unsetenv("TILVENNA_REGISTRY");
        return (Game().GameDir == game.File("g") ? "the game folder" : Game().GameDir.empty() ? "no game folder" : "another folder") +
               std::string(Game().TlkOpen ? ", talk table open" : "");
    }
    if (step == "load") index.LoadGameKeyFiles(widgets);
    else if (step == "report") ReportMissingFiles(on("mdl"), on("wok"), on("minimap"), on("textures"), on("game"), widgets, widgets);
    else ADD_FAILURE() << "unknown step: " << step;
    return "";
}

std::string Scenario::Run(const std::string& steps)
{
    InFolder cwd(here.Path());
    std::string out;
    bool loaded = false;
    std::istringstream in(steps);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        if (w.empty() || w[0][0] == '#') continue;
        const std::string step = w[0];
        w.resize(std::max<std::size_t>(w.size(), 4));
        if (Prepare(w, Unescape(After(line, step == "res" ? 3 : 2)))) continue;
        // The index is read as at start-up before the first action that needs it.
        if (!loaded && step != "readkey" && step != "load") {
            FakeWidgets picks;
            Game().BifResList.LoadGameKeyFiles(picks);
        }
        loaded = true;
        dialogs.boxes.clear();
        FakeWidgets fresh;   // the pick-list stays, and a reader that refuses pictures
        std::swap(fresh.names, widgets.names);
        fresh.failLoad = widgets.failLoad;
        widgets = fresh;
        std::string result;
        try {
            std::optional<FileSizeLimit> limit;
            if (fileLimit) limit.emplace(fileLimit), fileLimit = 0;
            result = Act(w);
        } catch (const std::exception& e) {
            result = std::string("raised: ") + e.what();
        }
        if (step.rfind("copy", 0) == 0 && import.AskEachFile) result += ", ask each file";
        if (widgets.steps) result += Format("%s(%d steps)", result.empty() ? "" : " ", widgets.steps);
        out += "> " + line + "\n=" + (result.empty() ? "" : " " + result) + "\n";
        static const char* const buttons[] = {"OK", "Yes No", "Yes No Yes-to-all"};
        for (const auto& box : dialogs.boxes)
            out += Format("? %s%s: ", box.kind == MsgKind::Confirmation ? "" : "not a question, ", buttons[int(box.buttons)]) +
                   Escape(box.text) + "\n";
        for (const std::string& l : widgets.log) out += l + "\n";
    }
    // What the steps left.
    std::string models;
    for (const CTile* t : TS().TileList) models += " " + t->Model;
    if (!models.empty()) out += "tiles" + models + "\n";
    if (!widgets.names.Empty()) out += "picks " + Join(widgets.names) + "\n";
    const CBifResList& index = Game().BifResList;
    const std::pair<const char*, const StringList*> lists[] = {
        {"minimaps", &index.MinimapNames()}, {"sets", &index.SetNames()}, {"models", &index.MdlNames()},
        {"walkmeshes", &index.WokNames()}, {"textures", &index.TgaNames()}, {"archives", &index.BifNames()}};
    for (const auto& [label, list] : lists) {
        std::vector<std::string> names;
        for (const std::string& name : *list) names.push_back(Escape(name));
        if (!names.empty()) out += std::string("index ") + label + ": " + Join(names, ", ") + "\n";
    }
    if (deletion.DeletedFileCount || deletion.MissingFileCount)
        out += Format("deleted %d: %s\nmissing %d: %s\n", deletion.DeletedFileCount, Escape(deletion.DeletedFiles).c_str(),
                      deletion.MissingFileCount, Escape(deletion.MissingFiles).c_str());
    if (!import.FilesCopiedText.empty() || import.FilesNotFoundCount)
        out += Format("copied: %s\nnot found %d: %s\n", Escape(import.FilesCopiedText).c_str(), import.FilesNotFoundCount,
                      Escape(import.FilesNotFoundText).c_str());
    if (!import.ImportTextures.Empty()) out += "textures " + Join(import.ImportTextures) + "\n";
    for (const std::string& name : ListFiles(set.File("in"))) out += "set/" + name + ": " + Escape(set.Read("in/" + name)) + "\n";
    for (const std::string& name : ListFiles(set.Path())) out += "outside/" + name + ": " + Escape(set.Read(name)) + "\n";
    for (const std::string& name : ListFiles(start.Path())) out += "start/" + name + "\n";
    return out;
}

// A case is its steps up to the first empty line, then the transcript they must give.
TEST_P(Scenario, GivesItsTranscript)
{
    std::string text;
    ASSERT_TRUE(ReadWholeFile(DataPath("gamedata/" + GetParam()), text));
    const std::size_t end = text.find("\n\n");
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(Run(text.substr(0, end + 1)), text.substr(end + 2));
}

INSTANTIATE_TEST_SUITE_P(Cases, Scenario, ::testing::ValuesIn(ListFiles(DataPath("gamedata"), ".txt")),
                         [](const auto& info) { return std::regex_replace(info.param.substr(0, info.param.size() - 4), std::regex(R"(\W)"), "_"); });

}  // namespace
