#pragma once
// The editor under test: a fresh set of windows per case on Qt's offscreen platform, with
// the scripted dialogs and modal dialogs, the picture readers registered as the program
// does, a settings file of its own and a game folder holding a talk table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>

#include "gamedata/GameData.h"
#include "imaging/RasterGraphics.h"
#include "model/Tileset.h"
#include "platform/Files.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"
#include "ui/App.h"
#include "ui/DlgOptions.h"
#include "ui/ListView.h"
#include "ui/Modal.h"
#include "ui/PictureDecoders.h"
#include "ui/frm1.h"
#include "ui/frm4.h"
#include "ui/frm6.h"
#include "ui/frm7.h"
#include "ui/mainfrm.h"

// tests/data/ui/rural.set with CR LF line ends, as the writer writes it: a tileset with
// grass, three terrains, two tiles, and a group of one cell and one of two.
inline std::string SampleSet()
{
    const char* data = std::getenv("TILVENNA_TEST_DATA");
    std::string text;
    EXPECT_TRUE(ReadWholeFile(std::string(data ? data : "tests/data") + "/ui/rural.set", text));
    return FromQt(ToQt(text).replace("\n", "\r\n"));
}

// The items of a range, sep between each two.
template <class Range> std::string Join(const Range& items, const char* sep = " ")
{
    std::ostringstream s;
    const char* between = "";
    for (const auto& i : items) s << std::exchange(between, sep) << i;
    return s.str();
}

// The texts of a pick-list's or list box's items, sep between each two.
inline QString ItemText(const QComboBox* box, int i) { return box->itemText(i); }
inline QString ItemText(const QListWidget* box, int i) { return box->item(i)->text(); }
template <class Box> std::string Items(const Box* box, const char* sep = " ")
{
    std::string s;
    for (int i = 0; i < box->count(); ++i) s += (i ? sep : "") + FromQt(ItemText(box, i));
    return s;
}

// One column's texts of a list view's rows in display order, sep between each two.
inline std::string Column(const TListView* view, int column = 0, const char* sep = " ")
{
    std::string s;
    for (int i = 0; i < view->RowCount(); ++i) s += (i ? sep : "") + TListView::Text(view->Row(i), column);
    return s;
}

// What an emptied edit shows after keys are typed into it, a press each.
inline std::string Typed(QLineEdit* edit, const QString& keys)
{
    edit->clear();
    for (QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
    return FromQt(edit->text());
}

// Before Open or New only the file commands work; after them the general settings and the
// save commands do too (see EditorState).
inline const std::string EmptyState = "230 OpenButton Button4 Button1";
inline const std::string Editing =
    "690 tabs OpenButton Button4 Button2 Button5 GroupBox1 NameEdit DisplayEdit GroupBox2 GrassCheck";

// What a user does in a dialog: press a button, pick a row of a list box (found by name).
inline void Press(QWidget& window, const char* button)
{
    auto* b = window.findChild<QAbstractButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    b->click();
}

inline void PickRow(QWidget& window, const char* list, int row)
{
    auto* box = window.findChild<QListWidget*>(list);
    ASSERT_NE(box, nullptr) << list;
    box->setCurrentRow(row);
}

class UiTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    ModalScript modals;
    std::string registryPath = dir.File("registry.ini");
    std::string gameDir = dir.File("game");
    std::filesystem::path savedCwd;

    void SetUp() override
    {
        setenv("TILVENNA_REGISTRY", registryPath.c_str(), 1);
        // The editor extracts from the archives into the folder it starts in: each case
        // starts in its own, so parallel cases never share the extraction file.
        savedCwd = std::filesystem::current_path();
        std::filesystem::create_directories(dir.File("start"));
        std::filesystem::current_path(dir.File("start"));
        // StrRefs 1 and 2 name a terrain and the tileset; 12 is the last entry.
        TlkBuilder tlk;
        for (int i = 0; i <= 12; ++i) tlk.Add("text " + std::to_string(i));
        dir.Write("game/dialog.tlk", tlk.Build());
        dir.Write("registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + gameDir + "\n");
        SetAppDialogs(&dialogs);
        SetModalScript(&modals);
        FileFormatList();
        InstallPictureDecoders();
        Restart();
    }

    void TearDown() override
    {
        Restart(false);
        SetModalScript(nullptr);
        SetAppDialogs(nullptr);
        unsetenv("TILVENNA_REGISTRY");
        std::filesystem::current_path(savedCwd);
    }

    // A new run of the editor over what the folders and the settings file now hold; none
    // when the case is over.
    void Restart(bool again = true)
    {
        DestroyWindows();
        ResetGameData();
        ResetAllModelData();
        dialogs.Clear();
        if (again) CreateWindows();
    }

    TFram1& F() { return *Form1->Fram11; }
    static std::string Text(const QLineEdit* e) { return FromQt(e->text()); }

    void OpenSet(const std::string& path)
    {
        dialogs.QueueFile(path);
        F().OpenButton->click();
    }

    // New over what the case built before, its changes discarded.
    void NewTileset()
    {
        if (F().TilesetChanged()) dialogs.QueueAnswer(MsgResult::No);
        F().Button1Click();
    }

    // The window's height, "tabs" when they show, and the names of the enabled controls
    // among those that Open and New turn on.
    std::string EditorState()
    {
        std::string s = std::to_string(Form1->height()) + (Form1->PageControl1->isHidden() ? "" : " tabs");
        for (QWidget* w : std::initializer_list<QWidget*>{F().OpenButton, F().Button4, F().Button2, F().Button5,
                 F().GroupBox1, F().NameEdit, F().DisplayEdit, F().GroupBox2, F().GrassCheck, F().DensityEdit,
                 F().Button1})
            if (w->isEnabled()) s += " " + w->objectName().toStdString();
        return s;
    }

    // The grass settings as shown: the check box, the eight edits' texts, then the diffuse
    // red, green, blue and result panels and the ambient ones in hex ("-" for the window's
    // own colour).
    std::string Grass()
    {
        TFram1& f = F();
        std::string s = f.GrassCheck->isChecked() ? "on:" : "off:";
        for (QLineEdit* e : std::initializer_list<QLineEdit*>{f.DensityEdit, f.HeightEdit, f.DRedEdit, f.DGreenEdit,
                 f.DBlueEdit, f.ARedEdit, f.AGreenEdit, f.ABlueEdit})
            s += Text(e) + ",";
        s += "|";
        const uint32_t face = VclFromColor(Form1->palette().color(QPalette::Window));
        for (TColorPanel* p : {f.Panel1, f.Panel3, f.Panel5, f.Panel7, f.Panel2, f.Panel4, f.Panel6, f.Panel8})
            s += (p->Color() == face ? std::string("-") : QString::number(p->Color(), 16).toStdString()) + ",";
        return s;
    }
};
