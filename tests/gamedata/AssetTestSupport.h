#pragma once
// Temporary folders, scripted dialogs, tiles, recording widgets and the test data folder,
// for the game-data tests.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"

// Every widget the layer touches. Bar calls other than steps, and memo lines, go into log
// in the order they came; a picture that cannot be read raises the reader's error.
struct FakeWidgets : MinimapPickList, ImageBox, ImportSetReader, ProgressSink, LineSink {
    void ClearMinimapNames() override { names.Clear(); }
    void AddMinimapName(const std::string& name) override { names.Add(name); }
    bool HasMinimapName(const std::string& name) const override { return names.IndexOf(name) >= 0; }
    void RemoveMinimapName(const std::string& name) override { names.Delete(names.IndexOf(name)); }
    void LoadPicture(const std::string& path) override
    {
        if (failLoad || !ReadWholeFile(path, shown)) throw std::runtime_error("not a picture");
    }
    void ClearPicture() override { shown.clear(); }
    void SetStretch(bool on) override { stretch = on; }
    void ReadImportSet(TextFile& file) override { for (std::string line; file.ReadLine(line, 62);) imported += line; }
    void SetMax(int max) override { log.push_back("max " + std::to_string(max)); }
    void StepIt() override { ++steps; }
    void SetPosition(int position) override { log.push_back("pos " + std::to_string(position)); }
    void AddLine(const std::string& line) override { log.push_back(line); }

    StringList names;
    std::vector<std::string> log;
    std::string shown = "old", imported;
    bool stretch = true, failLoad = false;
    int steps = 0;
};

// Runs the rest of a test with the current folder set to dir.
struct InFolder {
    explicit InFolder(const std::string& dir) : saved(std::filesystem::current_path()) { std::filesystem::current_path(dir); }
    ~InFolder() { std::filesystem::current_path(saved); }
    std::filesystem::path saved;
};

// A path under tests/data: ctest names the folder; run by hand, it lies beside the tests.
inline std::string DataPath(const std::string& name)
{
    const char* env = std::getenv("TILVENNA_TEST_DATA");
    return (env ? std::string(env) : ParentFolder(ParentFolder(__FILE__)) + "/data") + "/" + name;
}

// Game data, the model and the dialogs reset around each test; the tileset folder is set,
// and the start folder holds the temporary file.
class AssetTest : public ::testing::Test {
protected:
    AssetTest()
    {
        ResetGameData();
        ResetAllModelData();
        SetAppDialogs(&dialogs);
        Game().SetStartFolder(start.Path());
        Game().SetDir = set.Path();
    }
    ~AssetTest() override
    {
        SetAppDialogs(nullptr);
        ResetAllModelData();
        ResetGameData();
    }

    CTile* AddTile(const std::string& model, const std::string& minimap, bool import = false)
    {
        auto* t = new CTile;
        t->Model = model;
        t->ImageMap2D = minimap;
        (import ? TS().ImportTiles : TS().TileList).Append(t);
        return t;
    }

    std::vector<std::string> SetFiles() const { return ListFiles(set.Path()); }

    TempDir set, source, start, game;
    ScriptedDialogs dialogs;
    FakeWidgets widgets;
};
