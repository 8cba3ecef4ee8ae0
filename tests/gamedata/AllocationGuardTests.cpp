// A damaged length of about 4 GiB in a key file, an archive and a talk table, read under an
// allocation limit: a reader that trusted the length would fail to allocate, so only one
// that checks lengths against the file first gives the answer of any damaged file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

#include "gamedata/GameData.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"

#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ASAN 1
#endif
#endif

namespace {

constexpr uint32_t AboutFourGiB = 0xFFFFFFF0u;

// The most a read of these small files may ask for beyond what the process holds.
constexpr uint64_t Headroom = uint64_t(256) << 20;

// Runs the read in a child process, so the limit never reaches the test executable; an
// allocation past the limit ends the child.
void ExpectCleanUnderLimit(const std::function<bool()>& read)
{
#ifdef UNDER_ASAN
    // AddressSanitizer reserves terabytes of address space, so RLIMIT_AS cannot be used.
    // Its own cap on one allocation, read when a process starts, stands in for it in a
    // child started afresh.
    const char* options = std::getenv("ASAN_OPTIONS");
    const std::string saved = options ? options : "";
    const std::string style = GTEST_FLAG_GET(death_test_style);
    setenv("ASAN_OPTIONS", (saved + ":max_allocation_size_mb=" + std::to_string(Headroom >> 20)).c_str(), 1);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(_exit(read() ? 0 : 1), ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
    if (options)
        setenv("ASAN_OPTIONS", saved.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");
#else
    auto limit = [] {
        std::ifstream statm("/proc/self/statm");
        uint64_t pages = 0;
        rlimit l{};
        if (!(statm >> pages)) return false;
        l.rlim_cur = l.rlim_max = pages * uint64_t(sysconf(_SC_PAGESIZE)) + Headroom;
        return setrlimit(RLIMIT_AS, &l) == 0;
    };
    EXPECT_EXIT(_exit(limit() && read() ? 0 : 1), ::testing::ExitedWithCode(0), "");
#endif
}

class AllocationGuard : public ::testing::Test {
protected:
    AllocationGuard()
    {
        gd.SetStartFolder(start.Path());
        gd.GameDir = game.Path();
    }
    TempDir game, start;
    GameData gd;
};

TEST_F(AllocationGuard, KeyFileCounts)
{
    KeyBuilder k;
    k.AddBif("data\\a.bif");
    k.Add("tcn01_a", ResTypeMdl, 0, 0);
    std::string key = k.Build();
    PatchU32(key, 8, AboutFourGiB);    // BIFCount
    PatchU32(key, 12, AboutFourGiB);   // KeyCount
    const std::string path = game.Write("chitin.key", key);
    ExpectCleanUnderLimit([&] { return gd.BifResList.ReadKeyFile(path) == 0 && gd.BifResList.HasMdl("tcn01_a"); });
}

TEST_F(AllocationGuard, ArchiveResourceSize)
{
    KeyBuilder k;
    k.AddBif("data\\a.bif");
    k.Add("tcn01_a", ResTypeMdl, 0, 0);
    ASSERT_EQ(gd.BifResList.ReadKeyFile(game.Write("chitin.key", k.Build())), 0);
    std::string bif = BifBuilder().Add(0, ResTypeMdl, "model").Build();
    PatchU32(bif, BifBuilder::HeaderSize + 8, AboutFourGiB);   // FileSize of the resource
    game.Write("data/a.bif", bif);
    ExpectCleanUnderLimit([&] { return gd.BifResList.ExtractMdl("tcn01_a") == -1 && !FileExists(gd.TempFilePath); });
}

TEST_F(AllocationGuard, TalkTableStringSize)
{
    std::string tlk = TlkBuilder().Add("").Add("text").Build();
    PatchU32(tlk, TlkBuilder::HeaderSize + TlkBuilder::EntrySize + 32, AboutFourGiB);   // StringSize
    game.Write("dialog.tlk", tlk);
    ScriptedDialogs dialogs;
    SetAppDialogs(&dialogs);
    TempDir settings;
    Registry registry(settings.Write("registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + game.Path() + "\n"));
    gd.LocateGameAndOpenTlk(registry);
    SetAppDialogs(nullptr);
    ASSERT_TRUE(gd.TlkOpen);
    ExpectCleanUnderLimit([&] { return gd.FindStrRefText(1) == "Bad strref"; });
}

} // namespace
