// Game location from the settings store and StrRef look-ups in the talk table.
#include <gtest/gtest.h>

#include "gamedata/GameData.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"

namespace {

class TalkTable : public ::testing::Test {
protected:
    void SetUp() override { SetAppDialogs(&dialogs); }
    void TearDown() override { SetAppDialogs(nullptr); }

    // A settings store that names game.Path() as the game folder.
    Registry RegistryWithGame(const std::string& location)
    {
        std::string ini = "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + location + "\n";
        return Registry(settings.Write("registry.ini", ini));
    }

    TempDir game, settings;
    ScriptedDialogs dialogs;
};

TEST_F(TalkTable, LooksUpTextsWithinTheTable)
{
    game.Write("dialog.tlk", TlkBuilder()
                                 .Add("zero")
                                 .Add("Castle Interior")
                                 .Add("")
                                 .Add("line one\r\nline two")
                                 .Add(std::string("cut\0here", 8))
                                 .Add("last")
                                 .Build());
    GameData gd;
    Registry reg = RegistryWithGame(game.Path());
    gd.LocateGameAndOpenTlk(reg);
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_TRUE(gd.TlkOpen);
    EXPECT_EQ(gd.GameDir, game.Path());
    EXPECT_EQ(gd.TlkStringCount, 6u);

    EXPECT_EQ(gd.FindStrRefText(0), "Bad strref");     // entry 0 exists but is never shown
    EXPECT_EQ(gd.FindStrRefText(-1), "Bad strref");
    EXPECT_EQ(gd.FindStrRefText(1), "Castle Interior");
    EXPECT_EQ(gd.FindStrRefText(2), "");               // empty, not "Bad strref"
    EXPECT_EQ(gd.FindStrRefText(3), "line one\r\nline two");
    EXPECT_EQ(gd.FindStrRefText(4), "cut");
    EXPECT_EQ(gd.FindStrRefText(5), "last");           // StringCount - 1
    EXPECT_EQ(gd.FindStrRefText(6), "Bad strref");     // StringCount
    EXPECT_EQ(gd.FindStrRefText(INT32_MAX), "Bad strref");
}

TEST_F(TalkTable, PrefersDialogFAndOpensOnce)
{
    game.Write("Dialog.tlk", TlkBuilder().Add("").Add("masculine").Build());
    game.Write("DialogF.tlk", TlkBuilder().Add("").Add("feminine").Build());
    GameData gd;
    Registry reg = RegistryWithGame(game.Path());
    gd.LocateGameAndOpenTlk(reg);
    EXPECT_EQ(gd.FindStrRefText(1), "feminine");

    // A second call keeps the open table, even when the store now names another folder.
    TempDir other;
    other.Write("dialog.tlk", TlkBuilder().Add("").Add("other").Build());
    Registry reg2 = RegistryWithGame(other.Path());
    gd.LocateGameAndOpenTlk(reg2);
    EXPECT_EQ(gd.GameDir, game.Path());
    EXPECT_EQ(gd.FindStrRefText(1), "feminine");
}

TEST_F(TalkTable, WithoutGameFolderOrTableEveryLookUpFails)
{
    {   // No key at all: one notice, nothing open.
        GameData gd;
        Registry reg(settings.Write("empty.ini", "[SOFTWARE\\Tilvenna]\nNeverCopy=0\n"));
        gd.LocateGameAndOpenTlk(reg);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, "NWN main directory not found in registry");
        EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_TRUE(gd.GameDir.empty());
        EXPECT_FALSE(gd.TlkOpen);
        EXPECT_EQ(gd.FindStrRefText(1), "Bad strref");
    }
    dialogs.Clear();
    {   // An empty Location counts as none.
        GameData gd;
        Registry reg = RegistryWithGame("");
        gd.LocateGameAndOpenTlk(reg);
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"NWN main directory not found in registry"});
    }
    dialogs.Clear();
    {   // A folder without talk tables: silent, nothing open.
        GameData gd;
        Registry reg = RegistryWithGame(game.Path());
        gd.LocateGameAndOpenTlk(reg);
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_EQ(gd.GameDir, game.Path());
        EXPECT_FALSE(gd.TlkOpen);
        EXPECT_EQ(gd.FindStrRefText(1), "Bad strref");
    }
}

TEST_F(TalkTable, DamagedTablesNeverReadOutsideTheFile)
{
    std::string tlk = TlkBuilder().Add("").Add("good").Add("text past the end").Add("x").Build();
    // Entry 2's text claims more bytes than the file has; entry 3's offset lies far out.
    PatchU32(tlk, 20 + 40 * 2 + 32, 1000);
    PatchU32(tlk, 20 + 40 * 3 + 28, 0xFFFFFFF0u);
    // A StringCount far larger than the entries the file holds.
    PatchU32(tlk, 12, 0x7FFFFFFF);
    game.Write("dialog.tlk", tlk);
    GameData gd;
    Registry reg = RegistryWithGame(game.Path());
    gd.LocateGameAndOpenTlk(reg);
    ASSERT_TRUE(gd.TlkOpen);
    EXPECT_EQ(gd.FindStrRefText(1), "good");
    EXPECT_EQ(gd.FindStrRefText(2), "Bad strref");
    EXPECT_EQ(gd.FindStrRefText(3), "Bad strref");
    EXPECT_EQ(gd.FindStrRefText(4), "Bad strref");          // entry past the file's end
    EXPECT_EQ(gd.FindStrRefText(1000000), "Bad strref");

    // A table too short to hold its header is passed over for the other one.
    TempDir game2;
    game2.Write("DialogF.tlk", "TLK V3.0\0\0");
    game2.Write("Dialog.tlk", TlkBuilder().Add("").Add("fallback").Build());
    GameData gd2;
    Registry reg2 = RegistryWithGame(game2.Path());
    gd2.LocateGameAndOpenTlk(reg2);
    EXPECT_EQ(gd2.FindStrRefText(1), "fallback");
}

TEST_F(TalkTable, ProgramWideFunctionsUseTheEnvironmentStore)
{
    game.Write("dialog.tlk", TlkBuilder().Add("").Add("through the store").Build());
    std::string ini = settings.Write("env.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + game.Path() + "\n");
    setenv("TILVENNA_REGISTRY", ini.c_str(), 1);
    ResetGameData();
    LocateGameAndOpenTlk();
    unsetenv("TILVENNA_REGISTRY");
    EXPECT_EQ(Game().GameDir, game.Path());
    EXPECT_EQ(FindStrRefText(1), "through the store");
    ResetGameData();
    EXPECT_EQ(FindStrRefText(1), "Bad strref");
}

} // namespace
