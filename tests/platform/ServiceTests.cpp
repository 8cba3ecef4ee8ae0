#include <gtest/gtest.h>

#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "support/TempDir.h"

TEST(Registry, KeysAndValuesRoundTripThroughTheFile)
{
    TempDir dir;
    std::string ini = dir.File("conf/registry.ini");
    {
        Registry reg(ini);
        EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Tilvenna", false)) << "no key before it is created";
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Tilvenna", true));
        EXPECT_TRUE(reg.WriteBool("NeverCopy", true));
        EXPECT_TRUE(reg.WriteBool("NeverDelete", false));
        EXPECT_TRUE(reg.Flush());
    }
    Registry reg(ini);
    ASSERT_TRUE(reg.OpenKey("software\\tilvenna", false)) << "key paths ignore case";
    EXPECT_EQ(reg.ReadBool("nevercopy"), true);
    EXPECT_EQ(reg.ReadBool("NeverDelete"), false);
    EXPECT_FALSE(reg.ReadBool("NeverCopyConf").has_value());
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\BioWare\\NWN\\Neverwinter", false));
}

TEST(Registry, DefaultPathFollowsTheEnvironment)
{
    setenv("TILVENNA_REGISTRY", "/x/r.ini", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/x/r.ini");
    unsetenv("TILVENNA_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/cfg/tilvenna/registry.ini");
    unsetenv("XDG_CONFIG_HOME");
}

TEST(ScriptedDialogs, RecordsBoxesAndAnswersFromItsQueue)
{
    ScriptedDialogs d;
    SetAppDialogs(&d);
    AppDialogs().Notice("done");
    d.QueueAnswer(MsgResult::YesToAll);
    EXPECT_EQ(AppDialogs().Message(MsgKind::Confirmation, "Copy?", MsgButtons::YesNoYesToAll), MsgResult::YesToAll);
    EXPECT_THROW(AppDialogs().Message(MsgKind::Confirmation, "Again?", MsgButtons::YesNo), std::logic_error);
    ASSERT_EQ(d.boxes.size(), 3u);
    EXPECT_EQ(d.Texts(), (std::vector<std::string>{"done", "Copy?", "Again?"}));
    EXPECT_EQ(d.boxes[1].buttons, MsgButtons::YesNoYesToAll);

    d.QueueFile("/a/b.set");
    FileDialogOptions o;
    o.filter = "Set files (*.set)|*.set";
    EXPECT_EQ(AppDialogs().OpenFile(o), "/a/b.set");
    EXPECT_FALSE(AppDialogs().SaveFile(o)) << "an empty queue cancels";
    ASSERT_EQ(d.fileRequests.size(), 2u);
    EXPECT_TRUE(d.fileRequests[1].save);
    d.QueueColour(0x00FF0000);
    EXPECT_EQ(AppDialogs().PickColour(0x10), 0x00FF0000u);
    EXPECT_EQ(d.colourRequests, std::vector<uint32_t>{0x10});
    SetAppDialogs(nullptr);
}
