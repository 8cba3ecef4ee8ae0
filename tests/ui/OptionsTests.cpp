// The Options dialog and the options in the settings file.
#include "UiTestSupport.h"

#include "platform/Registry.h"

namespace {
// The seven stored options in their write order: NeverCopy, NeverCopyConf,
// NeverConfOnAllImport, NeverCheckDuplicate, NeverDelete, NeverDeleteConf,
// NeverConfOnAllDelete; then the unstored NeverConfOnGroupTiles.
std::string flags()
{
    const EditorOptions& o = Form1->Options;
    std::string s;
    for (bool b : {o.NeverCopy, o.NeverCopyConf, o.NeverConfOnAllImport, o.NeverCheckDuplicate, o.NeverDelete,
                   o.NeverDeleteConf, o.NeverConfOnAllDelete, o.NeverConfOnGroupTiles})
        s += b ? '1' : '0';
    return s;
}

// The dialog's boxes and radio buttons that are checked, or unchecked ("-") but disabled;
// a disabled one marked "(off)".
std::string shown()
{
    std::string s;
    for (QAbstractButton* b : Form3->findChildren<QAbstractButton*>())
        if (b->isChecked() || !b->isEnabled())
            s += (b->isChecked() ? " " : " -") + b->objectName().toStdString() + (b->isEnabled() ? "" : "(off)");
    return s;
}
}

TEST_F(UiTest, TheOptionsDialogShowsAndChangesTheOptions)
{
    TForm3& d = *Form3;
    F().Button4->click();
    EXPECT_EQ(shown(), " RadioButton1 CheckBox1 CheckBox4 RadioButton3 CheckBox2") << "first run: copy, delete, ask";

    // Never copy: its confirmation box goes off, and its flag stays as it was.
    d.RadioButton2->setChecked(true);
    EXPECT_FALSE(d.CheckBox1->isEnabled());
    d.CheckBox1->setChecked(false);
    for (QCheckBox* c : {d.CheckBox3, d.CheckBox6, d.CheckBox5}) c->setChecked(true);
    d.CheckBox2->setChecked(false);
    d.Button1->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(flags(), "10110111");

    // Shown again from the popup menu: the options, the disabled box showing its state.
    F().Options1->trigger();
    EXPECT_EQ(shown(), " RadioButton2 CheckBox1(off) CheckBox3 CheckBox4 CheckBox6 RadioButton3 CheckBox5");

    // Cancel drops the changes, and the next show displays the options again.
    d.RadioButton4->setChecked(true);
    EXPECT_FALSE(d.CheckBox2->isEnabled());
    d.CheckBox6->setChecked(false);
    d.Button2->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(flags(), "10110111");
    F().Button4->click();
    EXPECT_EQ(shown(), " RadioButton2 CheckBox1(off) CheckBox3 CheckBox4 CheckBox6 RadioButton3 CheckBox5");

    // Never delete keeps its confirmation flag too; OK stores nothing before the window closes.
    d.RadioButton4->setChecked(true);
    d.CheckBox2->setChecked(true);
    d.Button1->click();
    EXPECT_EQ(flags(), "10111111");
    EXPECT_FALSE(Registry(registryPath).OpenKey("SOFTWARE\\Tilvenna", false));
}

TEST_F(UiTest, ClosingStoresTheOptionsAndTheNextStartReadsThem)
{
    EditorOptions& o = Form1->Options;
    o.NeverCopy = o.NeverCheckDuplicate = o.NeverDeleteConf = o.NeverConfOnAllDelete = true;
    o.NeverConfOnGroupTiles = false;
    F().Exit1->trigger();

    Registry reg(registryPath);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Tilvenna", false));
    const std::pair<const char*, bool> stored[] = {{"NeverCopy", true}, {"NeverCopyConf", false},
        {"NeverConfOnAllImport", false}, {"NeverCheckDuplicate", true}, {"NeverDelete", false},
        {"NeverDeleteConf", true}, {"NeverConfOnAllDelete", true}};
    for (auto [name, value] : stored) EXPECT_EQ(reg.ReadBool(name), value) << name;
    EXPECT_FALSE(reg.ValueExists("NeverConfOnGroupTiles")) << "never stored";
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\BioWare\\NWN\\Neverwinter", false));
    EXPECT_EQ(reg.ReadString("Location"), gameDir) << "other keys are kept";

    Restart();
    EXPECT_EQ(flags(), "10010111") << "the group tiles option back to its start value";

    // Any non-zero value is true; a missing or damaged value keeps the start value.
    dir.Write("registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + gameDir +
                                  "\n[SOFTWARE\\Tilvenna]\nNeverCopy=7\nNeverDelete=yes\nNeverConfOnAllDelete=1\n");
    Restart();
    EXPECT_EQ(flags(), "10000011");

    // Nothing can be stored where the settings file's folder is a file, and nothing is said.
    const std::string blocked = dir.Write("blocked", "x") + "/registry.ini";
    setenv("TILVENNA_REGISTRY", blocked.c_str(), 1);
    Form1->close();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(FileExists(blocked));
}
