// The palette writer, checked by reading its output back with an independent GFF reader
// and against a palette worked out by hand.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "gamedata/Citp.h"
#include "platform/ByteIO.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/GffReader.h"
#include "support/TempDir.h"

namespace {

void AddTile(Tileset& ts, const std::string& model)
{
    auto* t = new CTile;
    t->Model = model;
    ts.TileList.Append(t);
}

void AddGroup(Tileset& ts, const std::string& name, const std::string& strRef, std::vector<std::string> cells)
{
    auto* g = new CGroup;
    g->Name = name;
    g->StrRef = strRef;
    g->Rows = 1;
    g->Columns = int32_t(cells.size());
    for (auto& c : cells) g->Cells.Add(c);
    ts.GroupList.Append(g);
}

template <class Entry>
void AddNamed(CPtrList<Entry>& list, const std::string& name, const std::string& strRef, const std::string& unlocalized = {})
{
    auto* e = new Entry;
    e->Name = name;
    e->StrRef = strRef;
    e->UnlocalizedName = unlocalized;
    list.Append(e);
}

// Runs the steps in the order the general frame runs them.
void RunSteps(ITPExporter& x, bool transition)
{
    x.BeginMain();
    x.AddCategory0();
    x.AddSingleTileGroups();
    x.AddCategory1();
    x.AddMultiTileGroups();
    x.AddCategory2();
    x.AddTerrainEntries(transition);
}

std::string Export(const Tileset& ts, bool transition)
{
    ITPExporter x(ts);
    RunSteps(x, transition);
    return x.FileBytes();
}

// The tileset of tests/data/itp/README.md.
void BuildSmall(Tileset& ts)
{
    AddTile(ts, "ta");
    AddTile(ts, "tb");
    AddTile(ts, "tc");
    AddGroup(ts, "One", "-1", {"1"});
    AddGroup(ts, "Two", "7", {"0", "2"});
    AddNamed(ts.TerrainList, "grass", "0");
    AddNamed(ts.CrosserList, "road", "500");
}

// A palette entry as a short text: "STRREF 7 ta", "NAME One tb".
std::string Describe(const GffStruct& s)
{
    std::string out;
    for (const GffField& f : s.fields) {
        if (!out.empty()) out += ' ';
        if (f.label == "RESREF") {
            EXPECT_EQ(f.type, ITPExporter::TypeResRef);
            out += f.text;
        } else if (f.label == "STRREF") {
            EXPECT_EQ(f.type, ITPExporter::TypeDword);
            out += "STRREF " + std::to_string(f.value);
        } else if (f.label == "NAME") {
            EXPECT_EQ(f.type, ITPExporter::TypeExoString);
            out += "NAME " + f.text;
        } else {
            out += "?" + f.label;
        }
    }
    return out;
}

struct Category {
    uint64_t strRef = 0, id = 0;
    std::vector<std::string> entries;
};

// Reads a palette and checks the shape every palette has; returns its three categories.
std::vector<Category> ReadPalette(const std::string& bytes, GffFile* out = nullptr)
{
    GffFile f = ReadGff(bytes);
    EXPECT_EQ(f.header.fileType, "ITP ");
    EXPECT_EQ(f.top.type, 0xFFFFFFFFu);
    EXPECT_EQ(f.top.Labels(), std::vector<std::string>{"MAIN"});
    // Nothing is written that the tree does not reach.
    EXPECT_EQ(f.structsReached, f.header.structCount);
    EXPECT_EQ(f.fieldsReached, f.header.fieldCount);
    std::vector<Category> cats;
    const GffField* main = f.top.Find("MAIN");
    if (!main) return cats;
    EXPECT_EQ(main->type, ITPExporter::TypeList);
    for (const GffStruct& c : main->structs) {
        EXPECT_EQ(c.type, 0u);
        EXPECT_EQ(c.Labels(), (std::vector<std::string>{"STRREF", "ID", "LIST"}));
        Category cat;
        cat.strRef = c.fields.at(0).value;
        cat.id = c.fields.at(1).value;
        EXPECT_EQ(c.fields.at(1).type, ITPExporter::TypeByte);
        EXPECT_EQ(c.fields.at(2).type, ITPExporter::TypeList);
        for (const GffStruct& e : c.fields.at(2).structs) {
            EXPECT_EQ(e.type, 0u);
            EXPECT_EQ(e.fields.size(), 2u);
            cat.entries.push_back(Describe(e));
        }
        cats.push_back(cat);
    }
    if (out) *out = f;
    return cats;
}

std::string ReadGolden(const std::string& name)
{
    // ctest names the data folder; run by hand, the test finds it beside its source.
    const char* env = std::getenv("TILVENNA_TEST_DATA");
    std::string dir = env ? env : ParentFolder(ParentFolder(__FILE__)) + "/data";
    std::string text;
    if (!ReadWholeFile(dir + "/itp/" + name, text)) {
        ADD_FAILURE() << "cannot read golden file " << name;
        return {};
    }
    // Two hex digits are a byte, "text" its ASCII bytes, '#' starts a comment.
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (c == '"') {
            std::size_t end = text.find('"', i + 1);
            if (end == std::string::npos) {
                ADD_FAILURE() << "unclosed quote";
                return {};
            }
            bytes += text.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            if (i + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
                ADD_FAILURE() << "odd hex digit at " << i;
                return {};
            }
            bytes += char(std::stoi(text.substr(i, 2), nullptr, 16));
            i += 2;
        } else {
            ++i;
        }
    }
    return bytes;
}

class ItpTest : public ::testing::Test {
protected:
    void SetUp() override { SetAppDialogs(&dialogs); }
    void TearDown() override { SetAppDialogs(nullptr); }
    ScriptedDialogs dialogs;
};

TEST_F(ItpTest, MatchesTheHandWrittenPaletteByteForByte)
{
    Tileset ts;
    BuildSmall(ts);
    std::string golden = ReadGolden("small.itp.hex");
    ASSERT_EQ(golden.size(), 723u);

    TempDir dir;
    ITPExporter x(ts);
    RunSteps(x, true);
    ASSERT_TRUE(x.WriteFile(dir.File("smallpalstd.itp")));
    std::string written = dir.Read("smallpalstd.itp");
    ASSERT_EQ(written.size(), golden.size());
    for (std::size_t i = 0; i < golden.size(); ++i)
        ASSERT_EQ(uint8_t(written[i]), uint8_t(golden[i])) << "first difference at byte " << i;
    EXPECT_TRUE(dialogs.boxes.empty());

    // Writing the same tileset again gives the same bytes, also over the old file.
    ITPExporter again(ts);
    RunSteps(again, true);
    ASSERT_TRUE(again.WriteFile(dir.File("smallpalstd.itp")));
    EXPECT_EQ(dir.Read("smallpalstd.itp"), golden);
    EXPECT_FALSE(FileExists(dir.File("smallpalstd.itp.tmp~")));
}

TEST_F(ItpTest, TreeHoldsGroupsTerrainsAndCrossersInListOrder)
{
    Tileset ts;
    for (const char* m : {"t00", "t01", "t02", "t03", "t04"}) AddTile(ts, m);
    AddGroup(ts, "Big", "", {"2", "3", "4", "0"});     // multi, no StrRef -> NAME
    AddGroup(ts, "Lone", "1234", {"4"});                // single, STRREF
    AddGroup(ts, "Empty", "5", {});                     // no cell: in neither category
    AddGroup(ts, "Zero", "0", {"1"});                   // a group's "0" is a StrRef
    AddGroup(ts, "Pair", "-1", {"3", "1"});             // multi, "-1" -> NAME
    AddNamed(ts.TerrainList, "rock", "0", "Rocky");     // "0": NAME = UnlocalizedName
    AddNamed(ts.TerrainList, "mud", "-1");              // NAME = Name
    AddNamed(ts.TerrainList, "water", "6000", "Wet");   // STRREF wins over the name
    AddNamed(ts.CrosserList, "wall", "");               // NAME = Name
    AddNamed(ts.CrosserList, "stream", "-1", "Brook");  // NAME = UnlocalizedName

    for (bool transition : {true, false}) {
        SCOPED_TRACE(transition ? "with height transition" : "without height transition");
        GffFile file;
        std::vector<Category> cats = ReadPalette(Export(ts, transition), &file);
        ASSERT_EQ(cats.size(), 3u);
        EXPECT_EQ(cats[0].strRef, 63261u);
        EXPECT_EQ(cats[0].id, 0u);
        EXPECT_EQ(cats[0].entries, (std::vector<std::string>{"STRREF 1234 t04", "STRREF 0 t01"}));
        EXPECT_EQ(cats[1].strRef, 63262u);
        EXPECT_EQ(cats[1].id, 1u);
        EXPECT_EQ(cats[1].entries, (std::vector<std::string>{"NAME Big t02", "NAME Pair t03"}));
        EXPECT_EQ(cats[2].strRef, 8282u);
        EXPECT_EQ(cats[2].id, 2u);
        std::vector<std::string> terrains{"NAME Rocky rock", "NAME mud mud",         "STRREF 6000 water",
                                          "NAME wall wall",  "NAME Brook stream",    "STRREF 63291 eraser"};
        if (transition) terrains.push_back("STRREF 63292 raiselower");
        EXPECT_EQ(cats[2].entries, terrains);
        // Six labels, each once, in the order of first use: the first group entry has a
        // StrRef, so RESREF comes before NAME here (the golden file has the other order).
        EXPECT_EQ(file.labels, (std::vector<std::string>{"MAIN", "STRREF", "ID", "LIST", "RESREF", "NAME"}));
    }
}

TEST_F(ItpTest, NoGroupsGivesEmptyGroupCategoriesAndStillTheEraser)
{
    Tileset ts;
    GffFile file;
    std::vector<Category> cats = ReadPalette(Export(ts, false), &file);
    ASSERT_EQ(cats.size(), 3u);
    EXPECT_TRUE(cats[0].entries.empty());
    EXPECT_TRUE(cats[1].entries.empty());
    EXPECT_EQ(cats[2].entries, std::vector<std::string>{"STRREF 63291 eraser"});
    // No NAME entry, so five labels.
    EXPECT_EQ(file.labels, (std::vector<std::string>{"MAIN", "STRREF", "ID", "LIST", "RESREF"}));
    const GffHeader& h = file.header;
    EXPECT_EQ(h.structOffset, 56u);
    EXPECT_EQ(h.fieldOffset, h.structOffset + 12 * h.structCount);
    EXPECT_EQ(h.labelOffset, h.fieldOffset + 12 * h.fieldCount);
    EXPECT_EQ(h.fieldDataOffset, h.labelOffset + 16 * h.labelCount);
    EXPECT_EQ(h.fieldIndicesOffset, h.fieldDataOffset + h.fieldDataCount);
    EXPECT_EQ(h.listIndicesOffset, h.fieldIndicesOffset + h.fieldIndicesCount);
}

TEST_F(ItpTest, GroupWhoseFirstCellNamesNoTileTakesTheFirstCellThatDoes)
{
    Tileset ts;
    AddTile(ts, "a0");
    AddTile(ts, "a1");
    AddGroup(ts, "Lshape", "-1", {"-1", "1", "0", "-1"});   // empty first cell
    AddGroup(ts, "Gone", "-1", {"7", "0"});                 // first cell past the tiles
    AddGroup(ts, "Junk", "-1", {"x", "-1"});                // no cell names a tile: left out
    AddGroup(ts, "Hole", "-1", {"-1"});                     // one empty cell: left out
    AddGroup(ts, "Far", "-1", {"2"});                       // one cell past the tiles: left out
    AddGroup(ts, "Ok", "-1", {"0"});

    std::vector<Category> cats = ReadPalette(Export(ts, false));
    ASSERT_EQ(cats.size(), 3u);
    EXPECT_EQ(cats[0].entries, std::vector<std::string>{"NAME Ok a0"});
    EXPECT_EQ(cats[1].entries, (std::vector<std::string>{"NAME Lshape a1", "NAME Gone a0"}));

    ITPExporter x(ts);
    EXPECT_FALSE(x.GroupResRef(*ts.GroupList.At(2)).has_value());
    EXPECT_EQ(x.GroupResRef(*ts.GroupList.At(5)), std::optional<std::string>("a0"));
}

TEST_F(ItpTest, StrRefThatIsNoNumberRaisesTheConversionError)
{
    for (int which = 0; which < 2; ++which) {
        Tileset ts;
        AddTile(ts, "a0");
        if (which == 0)
            AddGroup(ts, "G", "12abc", {"0"});
        else
            AddNamed(ts.TerrainList, "t", "abc");
        ITPExporter x(ts);
        EXPECT_THROW(RunSteps(x, false), EConvertError);
    }
}

TEST_F(ItpTest, FailedWriteIsReportedAndLeavesOldFileWhole)
{
    Tileset ts;
    BuildSmall(ts);
    TempDir dir;

    // A folder that does not exist.
    ITPExporter x(ts);
    RunSteps(x, true);
    EXPECT_FALSE(x.WriteFile(dir.File("missing/pal.itp")));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Error on writing ITP file");
    EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);

    // A path taken by a folder with a file in it: the write fails and the folder stays.
    std::string taken = dir.File("taken.itp");
    ASSERT_TRUE(std::system(("mkdir '" + taken + "'").c_str()) == 0);
    ASSERT_TRUE(WriteFileAtomic(taken + "/keep", "old"));
    EXPECT_FALSE(x.WriteFile(taken));
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(IsDirectory(taken));
    EXPECT_EQ(dir.Read("taken.itp/keep"), "old");
    EXPECT_EQ(ListFiles(dir.Path()).size(), 0u);   // no temporary file left behind
}

TEST_F(ItpTest, PaletteOfSeveralThousandEntriesIsWrittenWhole)
{
    Tileset ts;
    const int tiles = 6000;
    for (int i = 0; i < tiles; ++i) AddTile(ts, Format("big01_t%05d", i));
    const int singles = 3000, multis = 2000, terrains = 1500, crossers = 1500;
    for (int i = 0; i < singles; ++i) AddGroup(ts, Format("single%d", i), i % 2 ? "-1" : IntToStr(70000 + i), {IntToStr(i)});
    for (int i = 0; i < multis; ++i)
        AddGroup(ts, Format("multi%d with a longer name", i), i % 3 ? "" : IntToStr(90000 + i),
                 {IntToStr(singles + i), "-1", IntToStr(i)});
    for (int i = 0; i < terrains; ++i) AddNamed(ts.TerrainList, Format("terrain%d", i), i % 2 ? "0" : IntToStr(100 + i));
    for (int i = 0; i < crossers; ++i) AddNamed(ts.CrosserList, Format("crosser%d", i), "", Format("Crosser %d", i));

    TempDir dir;
    ITPExporter x(ts);
    RunSteps(x, true);
    ASSERT_TRUE(x.WriteFile(dir.File("bigpalstd.itp")));
    std::string bytes = dir.Read("bigpalstd.itp");
    ASSERT_GT(bytes.size(), 300000u);   // far past what a fixed block would hold

    GffFile file;
    std::vector<Category> cats = ReadPalette(bytes, &file);
    ASSERT_EQ(cats.size(), 3u);
    ASSERT_EQ(cats[0].entries.size(), std::size_t(singles));
    ASSERT_EQ(cats[1].entries.size(), std::size_t(multis));
    ASSERT_EQ(cats[2].entries.size(), std::size_t(terrains + crossers + 2));
    // 1 top + 3 categories + one struct per entry; two fields per entry.
    const uint32_t entries = singles + multis + terrains + crossers + 2;
    EXPECT_EQ(file.header.structCount, 4 + entries);
    EXPECT_EQ(file.header.fieldCount, 1 + 9 + 2 * entries);
    EXPECT_EQ(file.header.labelCount, 6u);
    EXPECT_EQ(file.header.listIndicesOffset + file.header.listIndicesCount, bytes.size());

    for (int i : {0, 1, 2999}) {
        std::string expect = (i % 2 ? "NAME " + Format("single%d", i) : "STRREF " + IntToStr(70000 + i)) + " " +
                             Format("big01_t%05d", i);
        EXPECT_EQ(cats[0].entries[std::size_t(i)], expect);
    }
    EXPECT_EQ(cats[1].entries[0], "STRREF 90000 big01_t03000");
    EXPECT_EQ(cats[1].entries[1999], "NAME multi1999 with a longer name big01_t04999");
    EXPECT_EQ(cats[2].entries[0], "STRREF 100 terrain0");
    EXPECT_EQ(cats[2].entries[1499], "NAME terrain1499 terrain1499");
    EXPECT_EQ(cats[2].entries[1500], "NAME Crosser 0 crosser0");
    EXPECT_EQ(cats[2].entries[2999], "NAME Crosser 1499 crosser1499");
    EXPECT_EQ(cats[2].entries[3000], "STRREF 63291 eraser");
    EXPECT_EQ(cats[2].entries[3001], "STRREF 63292 raiselower");
}

TEST_F(ItpTest, ExporterReadsTheProgramsTilesetByDefault)
{
    ResetAllModelData();
    BuildSmall(TS());
    std::string golden = ReadGolden("small.itp.hex");
    ITPExporter x;
    RunSteps(x, true);
    EXPECT_EQ(x.FileBytes(), golden);
    ResetAllModelData();
}

TEST_F(ItpTest, BuildingBlocksKeepTheirOffsetsAndLabels)
{
    Tileset ts;
    ITPExporter x(ts);
    // Labels are shared, found again ignoring case.
    EXPECT_EQ(x.AddLabel("NAME"), 0u);
    EXPECT_EQ(x.AddLabel("RESREF"), 1u);
    EXPECT_EQ(x.AddLabel("name"), 0u);
    EXPECT_EQ(x.LabelCount(), 2u);
    // Field data: CExoString has a u32 length, CResRef a u8 length.
    EXPECT_EQ(x.AddFieldData("abc", ITPExporter::TypeExoString), 0u);
    EXPECT_EQ(x.AddFieldData("de", ITPExporter::TypeResRef), 7u);
    EXPECT_EQ(x.AddFieldData(std::string(300, 'r'), ITPExporter::TypeResRef), 10u);
    EXPECT_EQ(x.AddFieldData("z", ITPExporter::TypeResRef), 10u + 1 + 255);   // a too long resref is cut
    EXPECT_EQ(x.AddFieldIndex(5), 0u);
    EXPECT_EQ(x.AddFieldIndex(6), 4u);
    // An entry before any list is opened is a caller's mistake, not a corrupt file.
    EXPECT_THROW(x.AddStruct(0, 0, 2, true), std::logic_error);
    EXPECT_THROW(x.SetListIndex(3, 1), std::out_of_range);
}

// The reader follows the GFF layout, not only what the palette writer uses: FLOAT sits in
// the field itself, DOUBLE and DWORD64 in the field data block.
TEST(GffReaderTest, ReadsSimpleAndComplexNumbersWhereTheLayoutPutsThem)
{
    ByteWriter w;
    w.Bytes("GFF ");
    w.Bytes("V3.2");
    for (uint32_t v : {56u, 1u, 68u, 3u, 104u, 3u, 152u, 16u, 168u, 12u, 180u, 0u}) w.U32LE(v);
    for (uint32_t v : {0xFFFFFFFFu, 0u, 3u}) w.U32LE(v);           // top struct, fields via indices at 0
    for (uint32_t v : {8u, 0u, 0x3FC00000u}) w.U32LE(v);           // FLOAT 1.5, inline
    for (uint32_t v : {9u, 1u, 0u}) w.U32LE(v);                    // DOUBLE at field data 0
    for (uint32_t v : {6u, 2u, 8u}) w.U32LE(v);                    // DWORD64 at field data 8
    for (const char* l : {"F", "D", "Q"}) w.FixedString(l, 16);
    w.U64LE(0x4004000000000000ull);                                // 2.5
    w.U64LE(0x0123456789ABCDEFull);
    for (uint32_t v : {0u, 1u, 2u}) w.U32LE(v);

    GffFile f = ReadGff(w.View());
    ASSERT_EQ(f.top.Labels(), (std::vector<std::string>{"F", "D", "Q"}));
    EXPECT_EQ(f.top.fields[0].value, 0x3FC00000u);
    EXPECT_EQ(f.top.fields[1].value, 0x4004000000000000ull);
    EXPECT_EQ(f.top.fields[2].value, 0x0123456789ABCDEFull);
}

// The reader used above must itself refuse damaged palettes, or the checks above prove little.
TEST(GffReaderTest, RefusesDamagedFiles)
{
    Tileset ts;
    BuildSmall(ts);
    const std::string good = Export(ts, true);
    EXPECT_NO_THROW(ReadGff(good));

    auto patched = [&](std::size_t at, uint32_t v) {
        std::string b = good;
        for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = char(v >> (8 * i));
        return b;
    };
    EXPECT_THROW(ReadGff(good.substr(0, 40)), ReadError);
    EXPECT_THROW(ReadGff(good.substr(0, good.size() - 1)), ReadError);  // list block cut short
    std::string badVersion = good;
    badVersion[7] = '3';
    EXPECT_THROW(ReadGff(badVersion), ReadError);
    EXPECT_THROW(ReadGff(patched(12, 0x40000000)), ReadError);          // struct count past the file
    EXPECT_THROW(ReadGff(patched(52, 0xFFFFFFF0)), ReadError);          // offset + count overflows
    EXPECT_THROW(ReadGff(patched(671 + 20, 0)), ReadError);             // category 0 lists the top struct
    EXPECT_THROW(ReadGff(patched(671 + 16, 50)), ReadError);            // list count past its block
    EXPECT_THROW(ReadGff(patched(176 + 4, 9)), ReadError);              // label index out of range
    EXPECT_THROW(ReadGff(patched(176 + 12 * 4 + 8, 49)), ReadError);    // string past field data
    EXPECT_THROW(ReadGff(patched(176 + 12 * 4, 12)), ReadError);        // field type not read here
    EXPECT_THROW(ReadGff(std::string(600, '\xff')), ReadError);
}

} // namespace
