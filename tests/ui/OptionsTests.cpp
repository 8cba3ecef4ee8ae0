// The Options dialog and the options in the settings file.
#include "UiTestSupport.h"

#include "platform/Registry.h"

namespace {
struct Flags {
    bool neverCopy, neverCopyConf, neverConfOnAllImport, neverCheckDuplicate;
    bool neverDelete, neverDeleteConf, neverConfOnAllDelete;
};
Flags current()
{
    const TFram6& i = *Form1->Fram61;
    const TFram4& t = *Form1->Fram41;
    return {i.NeverCopy, i.NeverCopyConf, i.NeverConfOnAllImport, i.NeverCheckDuplicate,
            t.NeverDelete, t.NeverDeleteConf, t.NeverConfOnAllDelete};
}
}

TEST_F(UiTest, TheOptionsDialogShowsAndChangesTheOptions)
{
    StartEditor();
    TForm3& d = *Form3;
    F().Button4->click();
    EXPECT_TRUE(d.isVisible());
    // First run: copy and delete, both asking.
    EXPECT_TRUE(d.RadioButton1->isChecked());
    EXPECT_TRUE(d.RadioButton3->isChecked());
    EXPECT_TRUE(d.CheckBox1->isChecked());
    EXPECT_TRUE(d.CheckBox1->isEnabled());
    EXPECT_TRUE(d.CheckBox2->isChecked());
    EXPECT_FALSE(d.CheckBox3->isChecked());
    EXPECT_TRUE(d.CheckBox4->isChecked());
    EXPECT_TRUE(d.CheckBox4->isHidden());
    EXPECT_FALSE(d.CheckBox5->isChecked());
    EXPECT_FALSE(d.CheckBox6->isChecked());

    // Never copy: the confirmation box is off and its flag stays as it was.
    d.RadioButton2->setChecked(true);
    EXPECT_FALSE(d.CheckBox1->isEnabled());
    d.CheckBox1->setChecked(false);
    d.CheckBox3->setChecked(true);
    d.CheckBox6->setChecked(true);
    d.CheckBox2->setChecked(false);
    d.CheckBox5->setChecked(true);
    d.Button1->click();
    EXPECT_FALSE(d.isVisible());
    Flags f = current();
    EXPECT_TRUE(f.neverCopy);
    EXPECT_FALSE(f.neverCopyConf);
    EXPECT_TRUE(f.neverConfOnAllImport);
    EXPECT_TRUE(f.neverCheckDuplicate);
    EXPECT_FALSE(f.neverDelete);
    EXPECT_TRUE(f.neverDeleteConf);
    EXPECT_TRUE(f.neverConfOnAllDelete);

    // Shown again from the popup menu: the options, with the disabled box showing its state.
    F().Options1->trigger();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.RadioButton2->isChecked());
    EXPECT_FALSE(d.CheckBox1->isEnabled());
    EXPECT_TRUE(d.CheckBox1->isChecked());
    EXPECT_FALSE(d.CheckBox2->isChecked());

    // Cancel drops the changes, and the next show displays the options again.
    d.RadioButton4->setChecked(true);
    EXPECT_FALSE(d.CheckBox2->isEnabled());
    d.CheckBox6->setChecked(false);
    d.Button2->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(current().neverDelete);
    EXPECT_TRUE(current().neverCheckDuplicate);
    F().Button4->click();
    EXPECT_TRUE(d.RadioButton3->isChecked());
    EXPECT_TRUE(d.CheckBox2->isEnabled());
    EXPECT_TRUE(d.CheckBox6->isChecked());
    d.Button2->click();

    // Nothing is stored before the window closes.
    Registry reg(registryPath);
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Tilvenna", false));
}

TEST_F(UiTest, ClosingStoresTheOptionsAndTheNextStartReadsThem)
{
    StartEditor();
    Form1->Fram61->NeverCopy = true;
    Form1->Fram61->NeverCheckDuplicate = true;
    Form1->Fram61->NeverConfOnGroupTiles = false;
    Form1->Fram41->NeverDeleteConf = true;
    Form1->Fram41->NeverConfOnAllDelete = true;
    F().Exit1->trigger();

    Registry reg(registryPath);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Tilvenna", false));
    EXPECT_EQ(reg.ReadBool("NeverCopy"), true);
    EXPECT_EQ(reg.ReadBool("NeverCopyConf"), false);
    EXPECT_EQ(reg.ReadBool("NeverConfOnAllImport"), false);
    EXPECT_EQ(reg.ReadBool("NeverCheckDuplicate"), true);
    EXPECT_EQ(reg.ReadBool("NeverDelete"), false);
    EXPECT_EQ(reg.ReadBool("NeverDeleteConf"), true);
    EXPECT_EQ(reg.ReadBool("NeverConfOnAllDelete"), true);
    EXPECT_FALSE(reg.ValueExists("NeverConfOnGroupTiles")) << "never stored";
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\BioWare\\NWN\\Neverwinter", false));
    EXPECT_EQ(reg.ReadString("Location"), gameDir) << "other keys are kept";

    DestroyWindows();
    ResetGameData();
    StartEditor();
    const Flags f = current();
    EXPECT_TRUE(f.neverCopy);
    EXPECT_FALSE(f.neverCopyConf);
    EXPECT_TRUE(f.neverCheckDuplicate);
    EXPECT_TRUE(f.neverDeleteConf);
    EXPECT_TRUE(f.neverConfOnAllDelete);
    EXPECT_TRUE(Form1->Fram61->NeverConfOnGroupTiles) << "back to its start value";
}

TEST_F(UiTest, OptionsReadWhatTheKeyHoldsAndKeepTheRest)
{
    // Any non-zero value is true; a missing or damaged value keeps the start value.
    dir.Write("registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + gameDir +
                                  "\n[SOFTWARE\\Tilvenna]\nNeverCopy=7\nNeverDelete=yes\nNeverConfOnAllDelete=1\n");
    StartEditor();
    EXPECT_TRUE(Form1->Fram61->NeverCopy);
    EXPECT_FALSE(Form1->Fram41->NeverDelete);
    EXPECT_TRUE(Form1->Fram41->NeverConfOnAllDelete);
    EXPECT_FALSE(Form1->Fram61->NeverCopyConf);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(UiTest, ClosingWithAnUnwritableSettingsFileSaysNothing)
{
    StartEditor();
    // The settings file's folder is a file: nothing can be stored there.
    const std::string blocked = dir.Write("blocked", "x") + "/registry.ini";
    setenv("TILVENNA_REGISTRY", blocked.c_str(), 1);
    Form1->close();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(FileExists(blocked));
}
