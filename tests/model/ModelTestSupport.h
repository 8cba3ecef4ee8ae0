#pragma once
// Helpers for the model's tests: a ModelViews that records what the model asks of the
// views, a fixture that starts every test from an empty model, and text helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Globfun.h"
#include "model/Tileset.h"
#include "support/TempDir.h"

// Records every view call by name. For the refills it also notes which loading flags were
// up at that moment, as "TCTG" letters (tiles, terrains, crossers, groups) or '-'.
class RecordingViews : public ModelViews {
public:
    std::vector<std::string> calls;
    std::vector<std::string> flagsAtCall;
    // What ReadGeneralFromFrame copies into the entry, as the general frame would.
    std::string frameName;
    bool hasFrameName = false;

    void FillGeneral(CGeneral&) override { note("FillGeneral"); }
    void ReadGeneralFromFrame(CGeneral& g) override
    {
        note("ReadGeneralFromFrame");
        if (hasFrameName) g.Name = frameName;
    }
    void FillTerrains() override { note("FillTerrains"); }
    void FillImportTerrains() override { note("FillImportTerrains"); }
    void FillCrossers() override { note("FillCrossers"); }
    void FillImportCrossers() override { note("FillImportCrossers"); }
    void FillRules() override { note("FillRules"); }
    void FillTiles() override { note("FillTiles"); }
    void FillImportTiles() override { note("FillImportTiles"); }
    void FillGroups() override { note("FillGroups"); }
    void FillImportGroups() override { note("FillImportGroups"); }
    void ClearTileLists() override { note("ClearTileLists"); }
    void ClearTerrainCombos() override { note("ClearTerrainCombos"); }
    void ClearCrosserCombos() override { note("ClearCrosserCombos"); }
    void ClearImportGroupView() override { note("ClearImportGroupView"); }
    void RefillTileLists() override { note("RefillTileLists"); }
    void ClearTileEditorFields() override { note("ClearTileEditorFields"); }
    void ClearUnusedFiles() override { note("ClearUnusedFiles"); }

private:
    void note(const char* name)
    {
        const Tileset& t = TS();
        std::string flags = {t.ReadTilesIntoMain ? 'T' : '-', t.ReadTerrainsIntoMain ? 'T' : '-',
                             t.ReadCrossersIntoMain ? 'C' : '-', t.ReadGroupsIntoMain ? 'G' : '-'};
        calls.emplace_back(name);
        flagsAtCall.push_back(flags);
    }
};

// Every test starts from an empty model with the recorder installed.
class ModelTest : public ::testing::Test {
protected:
    RecordingViews views;
    TempDir dir;

    void SetUp() override
    {
        ResetAllModelData();
        SetModelViews(&views);
    }
    void TearDown() override
    {
        SetModelViews(nullptr);
        ResetAllModelData();
    }

    // Resets the main tileset and reads text into it as a .set file.
    void readSet(const std::string& text)
    {
        ResetTileset();
        TextFile f;
        f.OpenText(text);
        ReadSetFile(f);
        EXPECT_FALSE(f.IsOpen()) << "the reader closes the file";
    }

    // Writes the main tileset to a file and returns the bytes on disk.
    std::string writeSet(const std::string& name = "out.set")
    {
        TextFile f;
        EXPECT_TRUE(f.Open(dir.File(name), TextFile::Mode::Write));
        std::string error;
        EXPECT_TRUE(WriteSetFile(f, error)) << error;
        return dir.Read(name);
    }
};

// The text with every LF turned into CR LF, as the writer puts it on disk.
inline std::string crlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

inline std::vector<std::string> cellsOf(const CGroup& g)
{
    return g.Cells.Items();
}
