#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/TextFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

TEST(SafeWrite, ATextFileReplacesItsTargetOnlyWhenClosedWhole)
{
    TempDir dir;
    const std::string path = dir.Write("t.set", "old");
    TextFile f;
    EXPECT_FALSE(f.Open(dir.File("no/such/folder/t.set"), TextFile::Mode::Write));
    EXPECT_EQ(f.Error(), std::errc::no_such_file_or_directory);
    EXPECT_FALSE(f.Open(dir.File("missing.set"), TextFile::Mode::Read));
    ASSERT_TRUE(f.Open(path, TextFile::Mode::Write));
    f.Write(std::string(4096, 'x'));
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(f.Close());
        EXPECT_EQ(f.Error(), std::errc::file_too_large);
    }
    ASSERT_TRUE(f.Open(path, TextFile::Mode::Write));
    f.Write("half");
    ASSERT_TRUE(f.Open(path, TextFile::Mode::Read)) << "opening again drops an unclosed write";
    {
        // Left without Close, as when an exception stops a save half way.
        TextFile g;
        ASSERT_TRUE(g.Open(path, TextFile::Mode::Write));
        g.Write("half");
    }
    EXPECT_EQ(dir.Read("t.set"), "old");
    ASSERT_TRUE(f.Open(path, TextFile::Mode::Write));
    f.Printf("Count=%d\n\n", 3);
    f.Printf("Name=%s\n", std::string(1000, 'x').c_str());   // longer than any fixed buffer
    ASSERT_TRUE(f.Close());
    EXPECT_FALSE(f.Error());
    EXPECT_EQ(dir.Read("t.set"), "Count=3\r\n\r\nName=" + std::string(1000, 'x') + "\r\n");
    EXPECT_EQ(ListFiles(dir.Path()), std::vector<std::string>{"t.set"}) << "no temporary file is left";
}

TEST(SafeWrite, WritesKeepLinksAndPermissions)
{
    namespace fs = std::filesystem;
    TempDir dir;
    fs::permissions(dir.Write("real.set", "old"), fs::perms(0640));
    fs::create_symlink(dir.File("real.set"), dir.File("link.set"));
    const mode_t umask = ::umask(027);
    const bool written = WriteFileAtomic(dir.File("link.set"), "new") && WriteFileAtomic(dir.File("new.set"), "x");
    ::umask(umask);
    ASSERT_TRUE(written);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.set"))) << "the link is not replaced by a file";
    EXPECT_EQ(dir.Read("real.set"), "new");
    EXPECT_EQ(fs::status(dir.File("real.set")).permissions(), fs::perms(0640));
    EXPECT_EQ(fs::status(dir.File("new.set")).permissions(), fs::perms(0640)) << "0666 less the umask";
}

TEST(SafeWrite, RegistryReadsAndEditsAHandWrittenFileKeepingItsLines)
{
    TempDir dir;
    const std::string text = "; game folder\r\n[SOFTWARE\\BioWare\\NWN\\Neverwinter]\r\nLocation = /games/nwn \r\n\r\n"
                             "[SOFTWARE\\Tilvenna]\r\n# mine\r\nNeverCopy = 7\r\nNeverDelete=x\r\n";
    Registry reg(dir.Write("r.ini", text));
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\BioWare\\NWN\\Neverwinter", false));
    EXPECT_EQ(reg.ReadString("location"), "/games/nwn");
    ASSERT_TRUE(reg.OpenKey("software\\tilvenna", false));
    EXPECT_EQ(reg.ReadBool("NeverCopy"), true) << "any non-zero value reads as true";
    EXPECT_FALSE(reg.ReadBool("NeverDelete").has_value()) << "not an integer";
    EXPECT_FALSE(reg.WriteString("NeverDelete", "1\n[SOFTWARE\\BioWare\\NWN\\Neverwinter]")) << "no value starts a section";
    EXPECT_FALSE(reg.WriteString("NeverDelete", "1\r0"));
    EXPECT_TRUE(reg.WriteBool("NeverCopy", false));
    EXPECT_TRUE(reg.WriteBool("NeverCopyConf", true));
    EXPECT_FALSE(reg.OpenKey("New", false)) << "no key before it is created";
    ASSERT_TRUE(reg.OpenKey("New", true));
    EXPECT_TRUE(reg.WriteString("Location", "/games"));
    EXPECT_EQ(dir.Read("r.ini"), text) << "nothing is written before Flush";
    ASSERT_TRUE(reg.Flush());
    EXPECT_EQ(dir.Read("r.ini"), "; game folder\r\n[SOFTWARE\\BioWare\\NWN\\Neverwinter]\r\nLocation = /games/nwn \r\n\r\n"
                                      "[SOFTWARE\\Tilvenna]\r\n# mine\r\nNeverCopy = 0\r\nNeverDelete=x\r\nNeverCopyConf=1\r\n"
                                      "\r\n[New]\r\nLocation=/games\r\n");
    reg.CloseKey();
    EXPECT_FALSE(reg.WriteBool("x", true)) << "no key open";
    // Where the file is when none is named.
    unsetenv("TILVENNA_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/cfg/tilvenna/registry.ini");
    unsetenv("XDG_CONFIG_HOME");
}
