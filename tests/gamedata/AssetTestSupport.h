#pragma once
// A tileset folder, a source folder, scripted dialogs, tiles and a small game installation
// for the asset-file tests; and recorders for progress bars and memos.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "Recorders.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"

class RecordingProgress : public ProgressSink {
public:
    void SetMax(int m) override { max = m, log.push_back("max " + std::to_string(m)); }
    void StepIt() override { ++position, ++steps; }
    void SetPosition(int p) override { position = p, log.push_back("pos " + std::to_string(p)); }
    int max = -99, position = 0, steps = 0;
    std::vector<std::string> log;
};

class RecordingMemo : public LineSink {
public:
    void AddLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

// "bitmap" lines as the game's text models have them, with the given line end.
inline std::string AsciiModel(const std::vector<std::string>& textures, const std::string& eol = "\r\n")
{
    std::string m = "# ascii model" + eol + "newmodel tile" + eol;
    for (const auto& t : textures) m += "node trimesh mesh" + eol + "  bitmap " + t + eol + "endnode" + eol;
    return m + "donemodel tile" + eol;
}

// A binary model: its first u32 is 0.
inline std::string BinaryModel(const std::string& tail = "tcn01 bitmap tcn01_tex\r\n")
{
    return std::string(4, '\0') + std::string("\x10\x20\x00\x00", 4) + tail;
}

// A TGA header of the given size and a few pixel bytes.
inline std::string TgaFile(uint16_t w, uint16_t h, uint8_t bits)
{
    std::string t(18, '\0');
    t[2] = 2;
    t[12] = char(w & 0xFF), t[13] = char(w >> 8);
    t[14] = char(h & 0xFF), t[15] = char(h >> 8);
    t[16] = char(bits);
    return t + "pixels";
}

// Makes a file impossible to remove while it lives: its folder read-only for a normal
// user, the file immutable for root (where the file system allows it).
class Undeletable {
public:
    Undeletable(const std::string& file, const std::string& folder) : file_(file), folder_(folder)
    {
        if (geteuid() != 0) {
            ok = chmod(folder.c_str(), 0555) == 0;
            return;
        }
        int fd = open(file.c_str(), O_RDONLY);
        if (fd < 0) return;
        int flags = 0;
        if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            ok = immutable_ = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        close(fd);
    }
    ~Undeletable()
    {
        if (geteuid() != 0) {
            chmod(folder_.c_str(), 0755);
        } else if (immutable_) {
            int fd = open(file_.c_str(), O_RDONLY);
            int flags = 0;
            if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0) close(fd);
        }
    }
    bool ok = false;

private:
    std::string file_, folder_;
    bool immutable_ = false;
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

struct ArchiveResource {
    std::string resRef;
    uint16_t type;
    std::string data;
};

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

    static CTile* NewTile(const std::string& model, const std::string& minimap)
    {
        auto* t = new CTile;
        t->Model = model;
        t->ImageMap2D = minimap;
        return t;
    }
    CTile* AddTile(const std::string& model, const std::string& minimap)
    {
        CTile* t = NewTile(model, minimap);
        TS().TileList.Append(t);
        return t;
    }
    CTile* AddImportTile(const std::string& model, const std::string& minimap)
    {
        CTile* t = NewTile(model, minimap);
        TS().ImportTiles.Append(t);
        return t;
    }

    // A game folder whose chitin.key indexes the resources in one archive.
    void BuildArchives(const std::vector<ArchiveResource>& resources)
    {
        KeyBuilder key;
        key.AddBif("data\\tiles.bif");
        BifBuilder bif;
        for (uint32_t i = 0; i < resources.size(); ++i) {
            key.Add(resources[i].resRef, resources[i].type, 0, i);
            bif.Add(i, resources[i].type, resources[i].data);
        }
        game.Write("chitin.key", key.Build());
        game.Write("data/tiles.bif", bif.Build());
        Game().GameDir = game.Path();
        Game().BifResList.LoadGameKeyFiles(archiveMinimaps);
    }

    // A stand-in converter in the start folder: a script that records its arguments and
    // folder, then writes the text model over the model it was given.
    void InstallConverter(const std::string& asciiModel, const std::string& delay = "0")
    {
        start.Write("converted.txt", asciiModel);
        std::string script = "#!/bin/sh\n"
                             "sleep " + delay + "\n"
                             "printf '%s|' \"$@\" > \"" + start.File("args.txt") + "\"\n"
                             "pwd > \"" + start.File("cwd.txt") + "\"\n"
                             "cat \"" + start.File("converted.txt") + "\" > \"$3\"\n";
        std::string path = start.Write("nwnmdlcomp.exe", script);
        chmod(path.c_str(), 0755);
        Game().SetStartFolder(start.Path());
    }

    std::vector<std::string> SetFiles() const { return ListFiles(set.Path()); }

    TempDir set, source, start, game;
    ScriptedDialogs dialogs;
    RecordingPickList minimaps, archiveMinimaps;
};
