#pragma once
// The editor under test: a fresh set of windows per case on Qt's offscreen platform, with
// the scripted dialogs, a settings file of its own and a game folder holding a talk table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gamedata/GameData.h"
#include "model/Globfun.h"
#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"
#include "ui/App.h"
#include "ui/DlgOptions.h"
#include "ui/frm1.h"
#include "ui/frm4.h"
#include "ui/frm6.h"
#include "ui/frm7.h"
#include "ui/mainfrm.h"

// A tileset as the writer writes it (LF here; files are written with CR LF).
inline const char* const SampleSet =
    "; created with Tilvenna Beta 0.85\n"
    "\n"
    "[GENERAL]\n"
    "Name=Rural\n"
    "Type=SET\n"
    "Version=V1.0\n"
    "Interior=0\n"
    "HasHeightTransition=1\n"
    "EnvMap=evmap_rur\n"
    "Transition=5\n"
    "DisplayName=2\n"
    "UnlocalizedName=Rural Land\n"
    "Border=Grass\n"
    "Default=Grass\n"
    "Floor=Water\n"
    "\n"
    "[GRASS]\n"
    "Grass=1\n"
    "Density=15.0\n"
    "Height=0.5\n"
    "AmbientRed=0.500\n"
    "AmbientGreen=0.250\n"
    "AmbientBlue=0.100\n"
    "DiffuseRed=1.000\n"
    "DiffuseGreen=0.000\n"
    "DiffuseBlue=0.000\n"
    "\n"
    "[TERRAIN TYPES]\n"
    "Count=2\n"
    "\n"
    "[TERRAIN0]\n"
    "Name=Grass\n"
    "StrRef=1\n"
    "\n"
    "[TERRAIN1]\n"
    "Name=Water\n"
    "StrRef=-1\n"
    "UnlocalizedName=Deep Water\n"
    "\n"
    "[CROSSER TYPES]\n"
    "Count=0\n"
    "\n"
    "[PRIMARY RULES]\n"
    "Count=0\n"
    "\n"
    "[SECONDARY RULES]\n"
    "Count=0\n"
    "\n"
    "[TILES]\n"
    "Count=0\n"
    "\n"
    "[GROUPS]\n"
    "Count=0\n"
    "\n";

inline std::string WithCrLf(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class UiTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    std::string registryPath;
    std::string gameDir;

    void SetUp() override
    {
        registryPath = dir.File("registry.ini");
        setenv("TILVENNA_REGISTRY", registryPath.c_str(), 1);
        gameDir = dir.Path() + "/game";
        std::filesystem::create_directories(gameDir);
        // StrRefs 1 and 2 name a terrain and the tileset; 12 is the last entry.
        TlkBuilder tlk;
        for (int i = 0; i <= 12; ++i) tlk.Add("text " + std::to_string(i));
        WriteGameFile("dialog.tlk", tlk.Build());
        dir.Write("registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + gameDir + "\n");
        ResetGameData();
        ResetAllModelData();
        SetAppDialogs(&dialogs);
    }

    void TearDown() override
    {
        DestroyWindows();
        SetAppDialogs(nullptr);
        ResetGameData();
        ResetAllModelData();
        unsetenv("TILVENNA_REGISTRY");
    }

    void WriteGameFile(const std::string& name, const std::string& bytes)
    {
        TempDirWrite(gameDir + "/" + name, bytes);
    }
    static void TempDirWrite(const std::string& path, const std::string& bytes);

    void StartEditor() { CreateWindows(); }
    TFram1& F() { return *Form1->Fram11; }

    // Opens a .set file through the general frame's Open button.
    void OpenSet(const std::string& path)
    {
        dialogs.QueueFile(path);
        F().OpenButton->click();
    }
    std::string WriteSet(const std::string& name, const std::string& text) { return dir.Write(name, WithCrLf(text)); }
};
