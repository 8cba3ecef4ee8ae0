// A damaged length of about 4 GiB in a key file, an archive and a talk table, read under an
// allocation limit: a reader that trusted the length would fail to allocate, so only one
// that checks lengths against the file first gives the answer of any damaged file.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

#include "gamedata/GameData.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"

TEST(AllocationGuard, LengthsOfAboutFourGiBFailCleanly)
{
    TempDir game, start;
    GameData gd;
    gd.SetStartFolder(start.Path());
    gd.GameDir = game.Path();
    KeyBuilder k;
    k.AddBif("data\\a.bif");
    std::string key = k.Add("tcn01_a", ResTypeMdl, 0, 0).Build();
    PatchU32(key, 8, 0xFFFFFFF0u);    // BIFCount
    PatchU32(key, 12, 0xFFFFFFF0u);   // KeyCount
    const std::string keyPath = game.Write("chitin.key", key);
    std::string bif = BifBuilder().Add(0, ResTypeMdl, "model").Build();
    PatchU32(bif, 20 + 8, 0xFFFFFFF0u);   // BIF header 20 bytes, then the entry's FileSize
    game.Write("data/a.bif", bif);
    std::string tlk = TlkBuilder().Add("").Add("text").Build();
    PatchU32(tlk, 20 + 40 + 32, 0xFFFFFFF0u);   // TLK header 20 bytes, entry 1 of 40: its StringSize
    game.Write("dialog.tlk", tlk);
    Registry registry(start.Write("registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + game.Path()));
    gd.LocateGameAndOpenTlk(registry);
    ASSERT_TRUE(gd.TlkOpen);
    // The limit holds in the child only, never in the test executable. AddressSanitizer
    // reserves terabytes of address space and cannot run under RLIMIT_AS: there the child is
    // started afresh with ASan's own cap on one allocation instead.
    auto limitedReadsFailCleanly = [&] {
#ifndef __SANITIZE_ADDRESS__
        std::ifstream statm("/proc/self/statm");
        uint64_t pages = 0;
        rlimit limit{};
        if (!(statm >> pages)) return false;
        limit.rlim_cur = limit.rlim_max = pages * uint64_t(sysconf(_SC_PAGESIZE)) + (uint64_t(256) << 20);
        if (setrlimit(RLIMIT_AS, &limit) != 0) return false;
#endif
        return gd.BifResList.ReadKeyFile(keyPath) == 0 && gd.BifResList.ExtractMdl("tcn01_a") == -1 &&
               !FileExists(gd.TempFilePath) && gd.FindStrRefText(1) == "Bad strref";
    };
#ifdef __SANITIZE_ADDRESS__
    const char* options = std::getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS", (std::string(options ? options : "") + ":max_allocation_size_mb=256").c_str(), 1);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
#endif
    EXPECT_EXIT(_exit(limitedReadsFailCleanly() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}
