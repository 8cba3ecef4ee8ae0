#pragma once
// A fixture that starts every model test from an empty model with a recorder as the views.
#include <gtest/gtest.h>

#include "model/Globfun.h"
#include "support/RecordingViews.h"
#include "support/TempDir.h"
#include "support/TilesetBuilder.h"

using Texts = std::vector<std::string>;

class ModelTest : public ::testing::Test {
protected:
    RecordingViews views;
    TempDir dir;
    Tileset& t = TS();

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

    // Resets the main tileset and reads text into it as a .set file; returns what the
    // reader noted.
    SetFindings readSet(const std::string& text)
    {
        ResetTileset();
        TextFile f;
        f.OpenText(text);
        SetFindings findings = ReadSetFile(f);
        EXPECT_FALSE(f.IsOpen()) << "the reader closes the file";
        return findings;
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
