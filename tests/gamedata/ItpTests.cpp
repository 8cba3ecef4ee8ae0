// The palette writer: tilesets under tests/data/itp exported and compared with the files
// beside them, refused StrRefs, failed writes and a palette past any fixed block size.
#include <regex>

#include "AssetTestSupport.h"
#include "gamedata/Citp.h"
#include "model/Globfun.h"
#include "platform/ByteIO.h"
#include "support/GffReader.h"

namespace {

// The program's tileset, read from .set text, and its palette built in the order the
// general frame builds it.
std::string Export(const std::string& tileset, const std::string& path)
{
    ResetAllModelData();
    TextFile file;
    file.OpenText(tileset);
    ReadSetFile(file);
    ITPExporter x;
    x.BeginMain();
    x.AddCategory0();
    x.AddSingleTileGroups();
    x.AddCategory1();
    x.AddMultiTileGroups();
    x.AddCategory2();
    x.AddTerrainEntries(TS().General->HasHeightTransition);
    return x.WriteFile(path) ? x.FileBytes() : "not written";
}

// Two hex digits are a byte, a "quoted" text its ASCII bytes, '#' starts a comment.
std::string ParseHex(const std::string& text)
{
    static const std::regex token(R"re(#[^\n]*|"([^"]*)"|([0-9A-Fa-f]{2}))re");
    std::string bytes;
    for (std::sregex_iterator it(text.begin(), text.end(), token), end; it != end; ++it)
        bytes += (*it)[1].matched ? (*it)[1].str() : (*it)[2].matched ? std::string(1, char(std::stoi((*it)[2], nullptr, 16))) : "";
    return bytes;
}

// Each <name>.set under tests/data/itp is exported, with its HasHeightTransition, and
// compared with the files beside it: <name>.itp.hex byte for byte, <name>.tree as the GFF
// reader prints it. A second export over the first file writes the same bytes.
TEST_F(AssetTest, PalettesMatchTheirGoldenFiles)
{
    const auto sets = ListFiles(DataPath("itp"), ".set");
    ASSERT_EQ(sets.size(), 3u);
    for (const std::string& name : sets) {
        const std::string base = DataPath("itp/" + name.substr(0, name.size() - 4));
        std::string tileset, hex, tree;
        ReadWholeFile(base + ".set", tileset);
        const std::string bytes = Export(tileset, set.File("palette.itp"));
        EXPECT_EQ(Export(tileset, set.File("palette.itp")), bytes);
        EXPECT_EQ(set.Read("palette.itp"), bytes) << name;
        ReadWholeFile(base + ".itp.hex", hex);
        ReadWholeFile(base + ".tree", tree);
        EXPECT_FALSE(hex.empty() && tree.empty()) << name << " has no golden file";
        EXPECT_EQ(hex.empty() ? bytes : ParseHex(hex), bytes) << name;
        EXPECT_EQ(tree.empty() ? tree : DumpGff(bytes), tree) << name;
    }
    EXPECT_EQ(SetFiles(), std::vector<std::string>{"palette.itp"}) << "no temporary file left behind";
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(AssetTest, StrRefThatIsNoNumberRaisesTheConversionError)
{
    EXPECT_THROW(Export("[TILE0]\nModel=a0\n\n[GROUP0]\nStrRef=12abc\nTile0=0\n", set.File("a.itp")), EConvertError);
    EXPECT_THROW(Export("[TERRAIN0]\nName=t\nStrRef=abc\n", set.File("a.itp")), EConvertError);
}

TEST_F(AssetTest, FailedPaletteWriteIsReportedAndLeavesTheOldFileWhole)
{
    set.Write("taken.itp/keep", "old");
    EXPECT_EQ(Export("", set.File("missing/pal.itp")), "not written");
    EXPECT_EQ(Export("", set.File("taken.itp")), "not written");
    // Where and why, in the system's words.
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{
                                   "Error on writing ITP file\n" + set.File("missing/pal.itp") + ": No such file or directory",
                                   "Error on writing ITP file\n" + set.File("taken.itp") + ": Is a directory"}));
    EXPECT_EQ(set.Read("taken.itp/keep"), "old");
    EXPECT_TRUE(SetFiles().empty()) << "no temporary file left behind";
}

TEST_F(AssetTest, PaletteOfThousandsOfEntriesIsWrittenWhole)
{
    std::string tileset;
    for (int i = 0; i < 5000; ++i) tileset += Format("[TILE%d]\nModel=big01_t%05d\n", i, i);
    for (int i = 0; i < 5000; ++i) tileset += Format("[GROUP%d]\nName=group%d with a longer name\nTile0=%d\n%s\n", i, i, i, i % 3 ? "Tile1=-1\n" : "");
    const std::string bytes = Export(tileset, set.File("big.itp"));
    const std::string tree = DumpGff(bytes);   // every block, offset and index checked
    ByteReader header(bytes);
    header.Seek(12);
    EXPECT_EQ(header.U32LE(), 4u + 5000 + 1);   // structs: the top, three categories, the entries
    EXPECT_NE(tree.find("NAME 10 group4999 with a longer name\n          RESREF 11 big01_t04999\n"), std::string::npos);
}

TEST_F(AssetTest, PaletteBuildingBlocks)
{
    ITPExporter x;
    EXPECT_EQ(x.AddLabel("NAME"), 0u);
    EXPECT_EQ(x.AddLabel("RESREF"), 1u);
    EXPECT_EQ(x.AddLabel("name"), 0u) << "labels are found again ignoring case";
    // A CResRef's length is one byte: a longer name is cut, so the next value starts where
    // the length says.
    EXPECT_EQ(x.AddFieldData(std::string(300, 'r'), ITPExporter::TypeResRef), 0u);
    EXPECT_EQ(x.AddFieldData("z", ITPExporter::TypeResRef), 256u);
    // An entry before any list is opened is a caller's mistake, not a corrupt file.
    EXPECT_THROW(x.AddStruct(0, 0, 2, true), std::logic_error);
    EXPECT_THROW(x.SetListIndex(3, 1), std::out_of_range);
}

}  // namespace
