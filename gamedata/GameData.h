#pragma once
// What the editor knows of the game and of its own folders for the whole run: the game's
// installation folder, the open talk table, the start folder, the temporary file, the
// model converter, the tileset's folder and the archive index. The main window holds the
// one GameData of the program (Game()); the file operations reach it there.
#include <cstdint>
#include <memory>
#include <string>

#include "gamedata/Bifclass.h"

class FileStream;
class Registry;

class GameData {
public:
    GameData();
    ~GameData();
    GameData(const GameData&) = delete;
    GameData& operator=(const GameData&) = delete;

    std::string GameDir;         // the game's installation folder; empty when unknown
    std::string StartDir;        // the folder the editor started in; the converter runs there
    std::string TempFilePath;    // MMTEMP.TGA in StartDir or, when StartDir is not writable,
                                 // in a private folder of the system's temporary folder
    std::string MdlCompilerPath; // nwnmdlcomp.exe in StartDir; empty when it is not there
    std::string SetDir;          // folder of the open .set file
    std::string SetFilePath;     // full path of the open .set file
    bool AutoConvertMdl = false; // convert the models an import copies to text

    // The open talk table and its header values; TlkFile is none when no table could be opened.
    std::unique_ptr<FileStream> TlkFile;
    std::string TlkPath;
    uint32_t TlkStringCount = 0;
    uint32_t TlkStringEntriesOffset = 0;
    bool TlkOpen = false;

    CBifResList BifResList{*this};

    // Sets StartDir and the paths built from it: TempFilePath and MdlCompilerPath.
    void SetStartFolder(const std::string& dir);

    // Reads the game folder from the registry ("Location" of the game's key) and opens its
    // talk table, DialogF.tlk before Dialog.tlk. Without a game folder it shows the notice
    // "NWN main directory not found in registry" through AppDialogs(). Does nothing when a
    // talk table is already open.
    void LocateGameAndOpenTlk(Registry& registry);
    void LocateGameAndOpenTlk();   // with the program's settings store

    // The text of a StrRef, read from the talk table on each call, or "Bad strref" when no
    // table is open, strref is outside 1 .. StringCount - 1, or its entry or text lies
    // outside the file.
    std::string FindStrRefText(int strref);

private:
    bool openTlk(const std::string& path);
    void removePrivateTemp();
    std::string privateTemp_;    // our own folder in the system's temporary folder, if any
};

// The one GameData of the program.
GameData& Game();
// Replaces it by a fresh one (tests, tools).
void ResetGameData();

// The same, on Game().
void LocateGameAndOpenTlk();
std::string FindStrRefText(int strref);
