#include <filesystem>

#include <gtest/gtest.h>

#include "platform/ByteIO.h"
#include "platform/Files.h"
#include "platform/TextFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

TEST(TextFile, LineReadsInPiecesWithCrLfAsOneLineEnd)
{
    TextFile f;
    f.OpenText("ab\r\ncdefgh\nlast");
    std::string line;
    ASSERT_TRUE(f.ReadLine(line, 62));
    EXPECT_EQ(line, "ab\n");
    ASSERT_TRUE(f.ReadLine(line, 4));
    EXPECT_EQ(line, "cdef") << "a longer line comes in pieces";
    ASSERT_TRUE(f.ReadLine(line, 4));
    EXPECT_EQ(line, "gh\n");
    ASSERT_TRUE(f.ReadLine(line, 62));
    EXPECT_EQ(line, "last") << "a last line without a line end";
    EXPECT_FALSE(f.ReadLine(line, 62));
    EXPECT_TRUE(f.AtEnd());
}

TEST(TextFile, TellAndSeekRoundTripAcrossCrLf)
{
    TextFile f;
    f.OpenText("[A]\r\nkey=1\r\n\r\n[B]\nx\n");
    std::string line;
    f.ReadLine(line);
    long mark = f.Tell();
    f.ReadLine(line);
    EXPECT_EQ(line, "key=1\n");
    f.ReadLine(line);
    EXPECT_EQ(line, "\n");
    f.Seek(mark);
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "key=1\n");
    f.ReadLine(line);
    mark = f.Tell();
    f.ReadLine(line);
    EXPECT_EQ(line, "[B]\n");
    f.Seek(mark);
    f.ReadLine(line);
    EXPECT_EQ(line, "[B]\n");
    // A lone CR is kept as it stands, as Windows text mode does.
    f.OpenText("a\rb\n");
    f.ReadLine(line);
    EXPECT_EQ(line, "a\rb\n");
}

TEST(TextFile, WritesCrLfAndReplacesTheFileOnlyWhenComplete)
{
    TempDir dir;
    std::string path = dir.Write("t.set", "old contents");
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::Mode::Write));
    f.Printf("Count=%d\n\n", 3);
    f.Write("Name=");
    f.Printf("%s\n", std::string(1000, 'x').c_str());
    EXPECT_EQ(dir.Read("t.set"), "old contents") << "nothing reaches the disk before Close";
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(dir.Read("t.set"), "Count=3\r\n\r\nName=" + std::string(1000, 'x') + "\r\n");
    EXPECT_EQ(ListFiles(dir.Path()), std::vector<std::string>{"t.set"}) << "no temporary file is left";

    TextFile r;
    ASSERT_TRUE(r.Open(path, TextFile::Mode::Read));
    std::string line;
    r.ReadLine(line);
    EXPECT_EQ(line, "Count=3\n");

    EXPECT_FALSE(f.Open(dir.File("no/such/folder/t.set"), TextFile::Mode::Write));
    EXPECT_FALSE(f.Open(dir.File("missing.set"), TextFile::Mode::Read));
}

TEST(ByteIO, ExplicitEndianReadsAndShortReadsThrow)
{
    const unsigned char bytes[] = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 0, 'c'};
    ByteReader r(bytes, sizeof bytes);
    EXPECT_EQ(r.U32LE(), 0x04030201u);
    EXPECT_EQ(r.I32LE(), -1);
    r.Seek(0);
    EXPECT_EQ(r.U16BE(), 0x0102u);
    EXPECT_EQ(r.U16LE(), 0x0403u);
    r.Seek(8);
    EXPECT_EQ(r.FixedString(4), "ab");
    EXPECT_EQ(r.Remaining(), 0u);
    EXPECT_THROW(r.U8(), ReadError);
    r.Seek(10);
    EXPECT_THROW(r.U32LE(), ReadError);
    EXPECT_EQ(r.Pos(), 10u) << "a failed read moves nothing";
    EXPECT_THROW(r.Seek(13), ReadError);
    EXPECT_TRUE(r.Holds(8, 4));
    EXPECT_FALSE(r.Holds(8, 5));
    EXPECT_FALSE(r.Holds(0xFFFFFFFFFFFFFFF0ull, 0x20)) << "no overflow in the range test";

    ByteWriter w;
    w.U32LE(0x04030201);
    w.U16BE(0x0102);
    w.FixedString("abc", 5);
    w.PatchU32LE(0, 7);
    EXPECT_EQ(w.View(), std::string_view("\x07\0\0\0\x01\x02" "abc\0\0", 11));
    EXPECT_THROW(w.PatchU32LE(9, 1), std::out_of_range);
}

TEST(Files, FolderListingIsSortedAndNamesAreFoundIgnoringCase)
{
    TempDir dir;
    dir.Write("b.MDL", "1");
    dir.Write("A.mdl", "2");
    dir.Write("c.tga", "3");
    std::filesystem::create_directory(dir.File("sub.mdl"));
    EXPECT_EQ(ListFiles(dir.Path()), (std::vector<std::string>{"A.mdl", "b.MDL", "c.tga"}));
    EXPECT_EQ(ListFiles(dir.Path(), ".mdl"), (std::vector<std::string>{"A.mdl", "b.MDL"}));
    EXPECT_EQ(FindNoCase(dir.Path(), "B.mdl"), dir.File("b.MDL"));
    EXPECT_FALSE(FindNoCase(dir.Path(), "d.mdl"));
    EXPECT_TRUE(ListFiles(dir.File("missing")).empty());
    EXPECT_EQ(JoinPath("/start", "\\MMTEMP.TGA"), "/start/MMTEMP.TGA");
    EXPECT_EQ(JoinPath("/start/", "x"), "/start/x");
    EXPECT_EQ(ParentFolder("/a/b/c.set"), "/a/b");
    EXPECT_EQ(FileNameOf("/a/b/c.set"), "c.set");
}

TEST(Files, CopyNeverOverwritesAndFailuresAreReported)
{
    TempDir dir;
    dir.Write("src", "new");
    dir.Write("dst", "old");
    // Named as the temporary files once were: a user's files, which a copy or save never touches.
    dir.Write("dst2.tmp~", "mine");
    dir.Write("w.tmp~", "mine");
    EXPECT_FALSE(CopyNoOverwrite(dir.File("src"), dir.File("dst")));
    EXPECT_EQ(dir.Read("dst"), "old");
    EXPECT_TRUE(CopyNoOverwrite(dir.File("src"), dir.File("dst2")));
    EXPECT_EQ(dir.Read("dst2"), "new");
    EXPECT_FALSE(CopyNoOverwrite(dir.File("nothing"), dir.File("dst3")));
    // A copy that fails half way leaves nothing under the target's name.
    dir.Write("big", std::string(8192, 'b'));
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(CopyNoOverwrite(dir.File("big"), dir.File("big2")));
    }
    EXPECT_EQ(ListFiles(dir.Path()), (std::vector<std::string>{"big", "dst", "dst2", "dst2.tmp~", "src", "w.tmp~"}))
        << "neither the target nor a temporary file";
    EXPECT_TRUE(RenameFile(dir.File("dst2"), dir.File("dst3")));
    EXPECT_FALSE(RenameFile(dir.File("dst2"), dir.File("dst4")));
    EXPECT_TRUE(RemoveFile(dir.File("dst3")));
    EXPECT_FALSE(RemoveFile(dir.File("dst3")));
    EXPECT_TRUE(WriteFileAtomic(dir.File("w"), "data"));
    EXPECT_EQ(dir.Read("w"), "data");
    EXPECT_EQ(dir.Read("dst2.tmp~") + dir.Read("w.tmp~"), "minemine");
    EXPECT_EQ(WritableFolderOr(dir.Path()), dir.Path());
    EXPECT_NE(WritableFolderOr(dir.File("missing")), dir.File("missing"));
}
