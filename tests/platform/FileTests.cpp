#include <filesystem>

#include <gtest/gtest.h>

#include "platform/ByteIO.h"
#include "platform/Files.h"
#include "platform/TextFile.h"
#include "support/FileSizeLimit.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"

TEST(TextFile, LinesEndAtCrLfComeInPiecesAndSeekBackToAMark)
{
    TextFile f;
    f.OpenText("ab\r\ncdefgh\r\n\r\na\rb\nlast");
    std::string line;
    ASSERT_TRUE(f.ReadLine(line, 62));
    EXPECT_EQ(line, "ab\n");
    const long mark = f.Tell();
    // A longer line comes in pieces; a lone CR is kept as it stands, as Windows text mode does.
    for (auto [most, want] : {std::pair{4, "cdef"}, {4, "gh\n"}, {62, "\n"}, {62, "a\rb\n"}, {62, "last"}}) {
        ASSERT_TRUE(f.ReadLine(line, std::size_t(most)));
        EXPECT_EQ(line, want);
    }
    EXPECT_FALSE(f.ReadLine(line, 62));
    EXPECT_TRUE(f.AtEnd());
    f.Seek(mark);
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "cdefgh\n");
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
    EXPECT_FALSE(r.Holds(0xFFFFFFFFFFFFFFF8ull, 0x10)) << "no overflow in the range test";

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
    EXPECT_TRUE(WriteFileAtomic(dir.File("w"), "data"));
    EXPECT_EQ(dir.Read("w"), "data");
    // A copy that fails half way leaves nothing under the target's name.
    dir.Write("big", std::string(8192, 'b'));
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(CopyNoOverwrite(dir.File("big"), dir.File("big2")));
    }
    EXPECT_EQ(ListFiles(dir.Path()), (std::vector<std::string>{"big", "dst", "dst2", "dst2.tmp~", "src", "w", "w.tmp~"}))
        << "neither the target nor a temporary file";
    EXPECT_EQ(dir.Read("dst2.tmp~") + dir.Read("w.tmp~"), "minemine");
}

TEST(Files, WhatIsNoRegularFileIsToldWithoutOpeningIt)
{
    TempDir dir;
    NamedPipe pipe(dir.File("pipe.set"));
    ASSERT_TRUE(pipe.Made());
    const std::string socketPath = dir.File("sock.set");
    ASSERT_TRUE(MakeSocketFile(socketPath));
    std::filesystem::create_symlink(pipe.Path(), dir.File("link.set"));
    const std::pair<std::string, const char*> cases[] = {{dir.Write("t.set", "[GENERAL]"), ""},
        {dir.File("missing.set"), ""}, {dir.Path(), "a folder"}, {pipe.Path(), "a named pipe"},
        {dir.File("link.set"), "a named pipe"}, {socketPath, "a socket"}, {"/dev/null", "a device"},
        {"/proc/self/status", "a /proc entry"}};
    for (const auto& [path, kind] : cases) {
        EXPECT_EQ(NonFileKind(path), kind) << path;
        std::string bytes;
        TextFile f;
        EXPECT_EQ(ReadWholeFile(path, bytes) && f.Open(path, TextFile::Mode::Read), path == dir.File("t.set")) << path;
    }
    EXPECT_FALSE(pipe.ReaderWaited()) << "nothing opened the pipe to look";
}
