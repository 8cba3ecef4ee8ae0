// A tileset changed by hand in a text editor reads as the game reads it: as an INI file,
// every section looked up by its name, every key by its name, blanks around names and values
// ignored.
#include <algorithm>
#include <functional>
#include <regex>

#include "ModelTestSupport.h"
#include "platform/Text.h"

namespace {

using HandEdit = ModelTest;

std::string withoutCR(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// Where a section stands in text: from its header line to the next header.
std::pair<std::size_t, std::size_t> sectionAt(const std::string& text, const std::string& header)
{
    const std::size_t at = text.find("\n" + header + "\n");
    EXPECT_NE(at, std::string::npos) << header;
    const std::size_t end = text.find("\n[", at + 1);
    return {at + 1, end == std::string::npos ? text.size() : end + 1};
}

std::string cut(std::string& text, const std::string& header)
{
    const auto [at, end] = sectionAt(text, header);
    std::string section = text.substr(at, end - at);
    text.erase(at, end - at);
    return section;
}

// The sections named, cut out in turn and put back before the section before.
std::string moveBefore(std::string text, std::initializer_list<std::string> headers, const std::string& before)
{
    std::string moved;
    for (const std::string& h : headers) moved += cut(text, h);
    return text.insert(sectionAt(text, before).first, moved);
}

std::string moveToEnd(std::string text, std::initializer_list<std::string> headers)
{
    for (const std::string& h : headers) text += cut(text, h);
    return text;
}

// The first from in the section of header becomes to.
std::string inSection(std::string text, const std::string& header, const std::string& from, const std::string& to)
{
    const auto [at, end] = sectionAt(text, header);
    const std::size_t found = text.find(from, at);
    EXPECT_LT(found, end) << from << " in " << header;
    return text.replace(found, from.size(), to);
}

std::string reverseSections(const std::string& text)
{
    std::vector<std::string> sections;
    std::size_t at = text.find("\n[") + 1;
    const std::string head = text.substr(0, at);
    while (at < text.size()) {
        const std::size_t end = std::min(text.find("\n[", at), text.size() - 1) + 1;
        sections.push_back(text.substr(at, end - at));
        at = end;
    }
    std::string out = head;
    for (auto s = sections.rbegin(); s != sections.rend(); ++s) out += *s;
    return out;
}

// Every tile's model and doors and every group's cells, in their places.
std::string Placed(const CPtrList<CTile>& tiles, const CPtrList<CGroup>& groups)
{
    std::string s;
    auto add = [&](const StringList& l) {
        for (const std::string& v : l.Items()) s += " " + v;
        s += ";";
    };
    for (const CTile* t : tiles) {
        s += t->Model;
        add(t->DoorList ? *t->DoorList : StringList{});
    }
    for (const CGroup* g : groups) s += g->Name, add(g->Cells);
    return s;
}

} // namespace

TEST_F(HandEdit, ATilesetEditedByHandReadsAsTheGameReadsIt)
{
    // Twelve tiles of two doors each (door 1 of tile i turned i degrees), four groups, three
    // terrains, two crossers, three rules of each kind, as the editor writes them.
    const TilesetShape shape{3, 2, 6, 12, 4};
    BuildTileset(shape);
    const std::string original = withoutCR(writeSet());

    using Edit = std::function<std::string(std::string)>;
    auto put = [](const char* header, const char* from, const char* to) -> Edit {
        return [=](std::string s) { return inSection(std::move(s), header, from, to); };
    };
    struct Case {
        const char* what;
        Edit edit;
        Texts findings;
        // What the file now says, made in the tileset the original was written from.
        std::function<void(Tileset&)> expected = [](Tileset&) {};
    };
    const Case cases[] = {
        // Blanks before a line, around '=' and after a value are none of the key or value.
        {"a tile's Model indented", put("[TILE3]", "Model=", "  Model="), {}},
        {"a tile's Model after a tab", put("[TILE3]", "Model=", "\tModel="), {}},
        {"a terrain's Name indented", put("[TERRAIN1]", "Name=", "  Name="), {}},
        {"a group's Rows indented", put("[GROUP1]", "Rows=", "  Rows="), {}},
        {"a rule's Adjacent indented", put("[PRIMARY RULE1]", "Adjacent=", "  Adjacent="), {}},
        {"a tile's height and orientation indented",
         [&](std::string s) {
             return inSection(inSection(s, "[TILE5]", "TopLeftHeight=", " TopLeftHeight="), "[TILE5]", "\nOrientation=",
                              "\n  Orientation=");
         },
         {}},
        {"[GENERAL]'s Name indented", put("[GENERAL]", "Name=", "  Name="), {}},
        {"a blank before a tile's header", put("[TILE5]", "[TILE5]", " [TILE5]"), {}},
        {"blanks around '='", put("[TILE3]", "Model=", "Model = "), {}},
        {"blanks after values",
         [&](std::string s) { return inSection(put("[TILE3]", "big01_a3", "big01_a3   ")(s), "[GRASS]", "5.0", "5.0\t"); },
         {}},
        {"every line indented", [](std::string s) { return std::regex_replace(s, std::regex("\n([^;\n])"), "\n\t$1"); }, {}},
        {"an indented comment inside a tile", put("[TILE2]", "Sounds=", "   ; Sounds=old\nSounds="), {}},

        // Numbered sections in any order take the places their numbers give.
        {"[TILE4] before [TILE3]", [](std::string s) { return moveBefore(s, {"[TILE4]"}, "[TILE3]"); }, {}},
        {"a tile with its doors before the tile before it",
         [](std::string s) { return moveBefore(s, {"[TILE4]", "[TILE4DOOR0]", "[TILE4DOOR1]"}, "[TILE3]"); }, {}},
        {"[GROUP3] before [GROUP1]", [](std::string s) { return moveBefore(s, {"[GROUP3]"}, "[GROUP1]"); }, {}},
        {"[TERRAIN1] before [TERRAIN0]", [](std::string s) { return moveBefore(s, {"[TERRAIN1]"}, "[TERRAIN0]"); }, {}},
        {"[CROSSER1] before [CROSSER0]", [](std::string s) { return moveBefore(s, {"[CROSSER1]"}, "[CROSSER0]"); }, {}},
        {"[PRIMARY RULE2] before [PRIMARY RULE0]",
         [](std::string s) { return moveBefore(s, {"[PRIMARY RULE2]"}, "[PRIMARY RULE0]"); }, {}},
        {"[SECONDARY RULE1] before [SECONDARY RULE0]",
         [](std::string s) { return moveBefore(s, {"[SECONDARY RULE1]"}, "[SECONDARY RULE0]"); }, {}},
        {"every section in reverse order", reverseSections, {}},

        // A door's values by their keys; a door belongs to the tile its header names.
        {"a door's keys in reverse order and lower case",
         [](std::string s) {
             return inSection(s, "[TILE6DOOR1]", "Type=1\nX=5.0\nY=0.0\nZ=0.0\nOrientation=6",
                              "orientation=6\nz=0.0\ny=0.0\nx=5.0\nTYPE=1");
         },
         {}},
        {"Y before X", put("[TILE6DOOR0]", "X=0.0\nY=-5.0", "Y=-5.0\nX=0.0"), {}},
        {"a key of another tool first in a door", put("[TILE7DOOR0]", "Type=", "NewKey=42\nType="), {},
         [](Tileset& t) { t.TileList.At(7)->UnknownDoorKeys = {{"NewKey=42"}}; }},
        {"a line without '=' in a door", put("[TILE7DOOR0]", "X=", "locked\nX="), {"locked: no key line, dropped"}},
        {"every door at the end of the file",
         [&](std::string s) {
             for (int i = 0; i < shape.tiles; ++i) s = moveToEnd(s, {Format("[TILE%dDOOR0]", i), Format("[TILE%dDOOR1]", i)});
             return s;
         },
         {}},
        {"a door before its tile", [](std::string s) { return moveBefore(s, {"[TILE5DOOR1]"}, "[TILE5]"); }, {}},
        {"a door after another tile", [](std::string s) { return moveBefore(s, {"[TILE2DOOR0]"}, "[TILE9]"); }, {}},
        {"[TILE11DOOR1] before [TILE11DOOR0]",
         [](std::string s) { return moveBefore(s, {"[TILE11DOOR1]"}, "[TILE11DOOR0]"); }, {}},
        {"a door of a tile the file does not have", put("[TILE11DOOR1]", "[TILE11DOOR1]", "[TILE12DOOR1]"),
         {"[TILE12DOOR1]: the file has no [TILE12], the door is skipped"},
         [](Tileset& t) { t.TileList.At(11)->DeleteDoor(1); }},

        // A key or section given twice keeps the later value, and says so.
        {"Model given twice", put("[TILE3]", "ImageMap2D=", "Model=big01_dupe\nImageMap2D="),
         {"Model is given twice in [TILE3]; the later value, big01_dupe, is kept"},
         [](Tileset& t) { t.TileList.At(3)->Model = "big01_dupe"; }},
        {"X given twice", put("[TILE7DOOR0]", "Orientation=", "X=9.0\nOrientation="),
         {"X is given twice in [TILE7DOOR0]; the later value, 9.0, is kept"},
         [](Tileset& t) { t.TileList.At(7)->DoorList->Put(1, "9.0"); }},
        {"a second [GENERAL] at the end", [](std::string s) { return s + "[GENERAL]\nName=Other\nType=SET\n"; },
         {"[GENERAL] is given a second time: its keys are read too, and a key given in both keeps the later value",
          "Name is given twice in [GENERAL]; the later value, Other, is kept"},
         [](Tileset& t) { t.General->Name = "Other"; }},
        {"a second [GRASS] at the end", [](std::string s) { return s + "[grass]\nDensity=\n"; },
         {"[grass] is given a second time: its keys are read too, and a key given in both keeps the later value",
          "Density is given twice in [grass]; the later, empty value is kept"},
         [](Tileset& t) { t.General->Density = ""; }},

        // A number missing, given twice or not given: the places close up, and the first
        // section out of its place is named.
        {"no [TILE2]",
         [](std::string s) {
             for (const char* h : {"[TILE2]", "[TILE2DOOR0]", "[TILE2DOOR1]"}) cut(s, h);
             return s;
         },
         {"[TILES] Count=12, but the file holds 11 tile sections", "[TILE3] is read as tile 2: the file has no [TILE2]"},
         [](Tileset& t) { t.TileList.DeleteAt(2); }},
        {"[TILE2] given twice",
         [](std::string s) { return inSection(s, "[TILE3]", "[TILE3]", "[TILE2]"); },
         {"[TILE2] is given twice; the later one is read as tile 3",
          "[TILE3DOOR0]: the file has no [TILE3], the door is skipped",
          "[TILE3DOOR1]: the file has no [TILE3], the door is skipped"},
         [](Tileset& t) { t.TileList.At(3)->DeleteDoor(1), t.TileList.At(3)->DeleteDoor(0); }},
        {"a group without a number", put("[GROUP1]", "[GROUP1]", "[GROUPx]"),
         {"[GROUPx]: no number the game reads; read as group 3, after the numbered ones",
          "[GROUP2] is read as group 1: the file has no [GROUP1]"},
         [](Tileset& t) { t.GroupList.Rearrange(1, {1, 2, 0}); }},
        {"a door missing", [](std::string s) { return cut(s, "[TILE4DOOR0]"), s; },
         {"[TILE4DOOR1] is read as door 0: the file has no [TILE4DOOR0]"},
         [](Tileset& t) { t.TileList.At(4)->DeleteDoor(0); }},
        {"a door without its Z",
         [](std::string s) { return inSection(s, "[TILE4DOOR0]", "Z=0.0\n", ""); },
         {"door section with 4 of its five keys, without Z: no door read",
          "[TILE4DOOR1] is read as door 0: [TILE4DOOR0] was not read"},
         [](Tileset& t) { t.TileList.At(4)->DeleteDoor(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetTileset();
        BuildTileset(shape);
        c.expected(t);
        const std::string expected = withoutCR(writeSet());
        const std::string edited = c.edit(original);
        ASSERT_NE(edited, original);

        Texts noted;
        for (const SetFinding& f : readSet(edited)) noted.push_back(f.text);
        EXPECT_EQ(noted, c.findings);
        EXPECT_EQ(withoutCR(writeSet()), expected);

        // The Import tab's reader places every tile, door and group as Open does.
        const std::string opened = Placed(t.TileList, t.GroupList);
        t.ClearImport();
        TextFile f;
        f.OpenText(edited);
        ReadImportSet(f);
        EXPECT_EQ(Placed(t.ImportTiles, t.ImportGroups), opened);
    }
}

// A door section's five values come by their names; the tile gets the door whole.
TEST_F(HandEdit, ADoorSectionIsReadByItsKeysWhereverTheyStand)
{
    const struct {
        const char* lines;
        Texts door; // empty: no door
        Texts unknown;
    } cases[] = {
        {"Type=1\nX=2\nY=3\nZ=4\nOrientation=5\n", {"1", "2", "3", "4", "5"}, {}},
        {"  orientation = 5 \n\n; a note\nZ=4\nNewKey=42\ny=3\nX=2\nTYPE=1\n", {"1", "2", "3", "4", "5"}, {"NewKey=42"}},
        {"Type=1\nX=2\nY=3\nZ=4\n[TILE0DOOR1]\nOrientation=5\n", {}, {}},
        {"Type=1\nX=2\nX=7\nY=3\nZ=4\nOrientation=5", {"1", "7", "3", "4", "5"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        CTile tile;
        TextFile f;
        f.OpenText(std::string(c.lines));
        tile.ReadDoorSection(f);
        EXPECT_EQ(tile.DoorList ? tile.DoorList->Items() : Texts{}, c.door);
        EXPECT_EQ(tile.UnknownDoorKeys.empty() ? Texts{} : tile.UnknownDoorKeys[0], c.unknown);
    }
}
