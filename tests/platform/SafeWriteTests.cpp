#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

using Names = std::vector<std::string>;

TEST(SafeWrite, ATextFileNeverClosedLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir.Write("t.set", "old");
    TextFile reopened;
    ASSERT_TRUE(reopened.Open(path, TextFile::Mode::Write));
    reopened.Write("half");
    ASSERT_TRUE(reopened.Open(path, TextFile::Mode::Read)) << "opening again drops an unclosed write";
    EXPECT_EQ(dir.Read("t.set"), "old");
    try {
        TextFile f;
        ASSERT_TRUE(f.Open(path, TextFile::Mode::Write));
        f.Write("half");
        throw std::runtime_error("failed half way through a save");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(dir.Read("t.set"), "old");
    EXPECT_EQ(ListFiles(dir.Path()), Names{"t.set"});
}

TEST(SafeWrite, AUserFileNamedLikeATemporaryFileSurvives)
{
    TempDir dir;
    dir.Write("src", "new");
    dir.Write("t.set.tmp~", "mine");
    dir.Write("c.set.tmp~", "mine too");
    ASSERT_TRUE(WriteFileAtomic(dir.File("t.set"), "new"));
    ASSERT_TRUE(CopyNoOverwrite(dir.File("src"), dir.File("c.set")));
    EXPECT_EQ(dir.Read("t.set.tmp~"), "mine");
    EXPECT_EQ(dir.Read("c.set.tmp~"), "mine too");
    EXPECT_EQ(dir.Read("t.set"), "new");
    EXPECT_EQ(dir.Read("c.set"), "new");
    EXPECT_EQ(ListFiles(dir.Path()), (Names{"c.set", "c.set.tmp~", "src", "t.set", "t.set.tmp~"}));
}

TEST(SafeWrite, NewFilesGetTheUsualPermissionsAndCopiesTheSources)
{
    namespace fs = std::filesystem;
    TempDir dir;
    const mode_t old = ::umask(027);
    const bool written = WriteFileAtomic(dir.File("new.set"), "x");
    ::umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(dir.File("new.set")).permissions(), fs::perms(0640));
    fs::permissions(dir.Write("src", "x"), fs::perms(0604));
    ASSERT_TRUE(CopyNoOverwrite(dir.File("src"), dir.File("copy")));
    EXPECT_EQ(fs::status(dir.File("copy")).permissions(), fs::perms(0604));
}

TEST(SafeWrite, RegistryKeepsHandWrittenLinesAndWritesOnlyOnFlush)
{
    TempDir dir;
    const std::string text = "; mine\r\n[SOFTWARE\\Tilvenna]\r\n# keep\r\nNeverCopy = 0\r\nOther=x\r\n\r\n[Later]\r\nA=1\r\n";
    const std::string ini = dir.Write("r.ini", text);
    Registry reg(ini);
    ASSERT_TRUE(reg.OpenKey("software\\tilvenna", false));
    EXPECT_FALSE(reg.WriteString("Other", "y\n[SOFTWARE\\BioWare\\NWN\\Neverwinter]")) << "no value starts a section";
    EXPECT_FALSE(reg.WriteString("Other", "y\rz"));
    EXPECT_TRUE(reg.WriteBool("NeverCopy", true));
    EXPECT_TRUE(reg.WriteBool("NeverDelete", true));
    EXPECT_EQ(reg.ReadString("Other"), "x");
    EXPECT_EQ(reg.ReadBool("NeverDelete"), true);
    ASSERT_TRUE(reg.OpenKey("New", true));
    EXPECT_TRUE(reg.WriteString("Location", "/games"));
    EXPECT_EQ(dir.Read("r.ini"), text) << "nothing is written before Flush";
    ASSERT_TRUE(reg.Flush());
    EXPECT_EQ(dir.Read("r.ini"), "; mine\r\n[SOFTWARE\\Tilvenna]\r\n# keep\r\nNeverCopy = 1\r\nOther=x\r\n"
                                 "NeverDelete=1\r\n\r\n[Later]\r\nA=1\r\n\r\n[New]\r\nLocation=/games\r\n");
}
