#pragma once
// Test stand-ins for the widgets the game-data layer touches.
#include <stdexcept>
#include <string>
#include <vector>

#include "gamedata/GameViews.h"
#include "platform/Files.h"
#include "platform/Text.h"

class RecordingPickList : public MinimapPickList {
public:
    void ClearMinimapNames() override { names.clear(), ++clears; }
    void AddMinimapName(const std::string& name) override { names.push_back(name); }
    bool HasMinimapName(const std::string& name) const override
    {
        for (const auto& n : names)
            if (EqualsNoCase(n, name)) return true;
        return false;
    }
    void RemoveMinimapName(const std::string& name) override
    {
        for (auto it = names.begin(); it != names.end(); ++it)
            if (EqualsNoCase(*it, name)) {
                names.erase(it);
                return;
            }
    }
    std::vector<std::string> names;
    int clears = 0;
};

// Keeps the bytes of the file it was asked to show, as the picture loading would read them.
class RecordingImageBox : public ImageBox {
public:
    void LoadPicture(const std::string& path) override
    {
        loadedPath = path;
        if (failLoad) throw std::runtime_error("not a picture");
        ReadWholeFile(path, shown);
        ++loads;
    }
    void ClearPicture() override { shown.clear(), ++clears; }
    void SetStretch(bool on) override { stretch = on; }

    std::string shown, loadedPath;
    int loads = 0, clears = 0;
    bool stretch = true;
    bool failLoad = false;
};

class RecordingSetReader : public ImportSetReader {
public:
    void ReadImportSet(TextFile& file) override
    {
        std::string line;
        while (file.ReadLine(line, 62)) lines.push_back(line);
        file.Discard();
        ++runs;
    }
    std::vector<std::string> lines;
    int runs = 0;
};
