#pragma once
// The index of the game's KEY/BIF archives. At start-up the four key files are read into
// one index that keeps only the five kinds of resource the editor uses; later a single
// resource is found by name and extracted whole into the one temporary file, from which
// the caller loads, copies or reads it and then removes the file.
//
// Reading order gives the override: xp2.key, xp1patch.key, xp1.key, chitin.key. Every
// look-up finds the first entry of a name (ignoring letter case), so a resource of an
// earlier key file hides the same name in a later one.
#include <cstdint>
#include <string>
#include <unordered_map>

#include "gamedata/GameViews.h"
#include "gamedata/TextureInfo.h"
#include "model/Template.h"
#include "platform/StringList.h"

class GameData;

// Resource type numbers of the game.
enum : uint16_t {
    ResTypeTga = 3,
    ResTypeMdl = 2002,
    ResTypeSet = 2013,
    ResTypeWok = 2016,
};

// One kept resource of a key file. The index keeps its entries in lists that own them and
// hand them out as _KeyEntry * (CPtrList<_KeyEntry *> in pointer terms).
struct _KeyEntry {
    std::string ResRef;    // the name as stored, up to the first NUL, at most 16 bytes
    uint16_t ResType = 0;
    uint16_t BifIndex = 0; // position of the archive in the key file's file table
    int32_t ResIndex = 0;  // position in that archive's variable resource table, 0..16383
    std::string BifName;   // the archive's file name as the key file gives it, relative to
                           // the game folder ('\' separators, any letter case)
};

class CBifResList {
public:
    // The index reads the game folder and the temporary file path of its owner.
    explicit CBifResList(const GameData& owner) : game_(owner) {}
    CBifResList(const CBifResList&) = delete;
    CBifResList& operator=(const CBifResList&) = delete;

    // Reads xp2.key, xp1patch.key, xp1.key and chitin.key of the game folder, in this order,
    // skipping those that cannot be read; nothing when the game folder is unknown. Then
    // refills the minimap pick-list with MinimapNames() in order.
    void LoadGameKeyFiles(MinimapPickList& minimaps);

    // Adds the kept resources of one key file. 0 when read, -1 when the file cannot be
    // opened or its header is cut short. Damaged entries are skipped.
    int ReadKeyFile(const std::string& path);

    // Writes the entry's resource to the temporary file. 0 when written, -1 when the
    // archive cannot be opened, does not hold the resource whole, or the temporary file
    // cannot be written (no temporary file is left behind then).
    int ExtractToTemp(const _KeyEntry* entry);

    // Look the name up (ignoring case) and extract it; -1 when the name is not indexed.
    int ExtractMinimap(const std::string& name);
    int ExtractMdl(const std::string& name);
    int ExtractWok(const std::string& name);
    int ExtractTileTga(const std::string& name);

    bool HasMdl(const std::string& name) const;
    bool HasMinimap(const std::string& name) const;
    bool HasWok(const std::string& name) const;
    bool HasTileTga(const std::string& name) const;

    // Extracts a minimap and shows it in the image box. -1 (box untouched) when it cannot be
    // extracted, else 0. The temporary file is removed afterwards, also when the picture
    // reader raises its error, which is passed on.
    int LoadMinimapImage(const std::string& name, ImageBox& image);

    // Extracts a tile texture, reads its size from the TGA header and shows it unstretched.
    // Status 2 with width, height and bits (0 when the file is too short for them); status
    // -1 when it cannot be extracted (box untouched). A file the reader cannot read raises
    // its error, after the temporary file is removed.
    TextureInfo LoadTileTexture(const std::string& name, ImageBox& image);

    // Extracts a stock tileset and hands it, opened as text, to the Import tab's reader.
    // -1 when the name is not indexed or cannot be extracted (the reader is not run), else 0.
    int OpenSetForImport(const std::string& name, ImportSetReader& reader);

    // The name lists, parallel to the entry lists: name i belongs to entry i. Dialogs fill
    // their pick-lists from SetNames() and TgaNames().
    const StringList& MinimapNames() const { return minimapNames_; }
    const StringList& SetNames() const { return setNames_; }
    const StringList& MdlNames() const { return mdlNames_; }
    const StringList& WokNames() const { return wokNames_; }
    const StringList& TgaNames() const { return tgaNames_; }
    // Archive names of the key file read last, by file-table position; a damaged file-table
    // entry gives an empty name.
    const StringList& BifNames() const { return bifNames_; }

    const CPtrList<_KeyEntry>& MinimapEntries() const { return minimapEntries_.list; }
    const CPtrList<_KeyEntry>& SetEntries() const { return setEntries_.list; }
    const CPtrList<_KeyEntry>& MdlEntries() const { return mdlEntries_.list; }
    const CPtrList<_KeyEntry>& WokEntries() const { return wokEntries_.list; }
    const CPtrList<_KeyEntry>& TgaEntries() const { return tgaEntries_.list; }

private:
    // One kind of resource: its entries, its names, and the position of the first entry of
    // each lower-case name, so look-ups stay quick over tens of thousands of names.
    struct Kind {
        CPtrList<_KeyEntry> list;
        StringList* names;
        std::unordered_map<std::string, int> first;
        explicit Kind(StringList* n) : names(n) {}
        const _KeyEntry* Find(const std::string& name) const;
        void Add(_KeyEntry* entry);
    };
    int extractFrom(const Kind& kind, const std::string& name);

    const GameData& game_;
    StringList minimapNames_, setNames_, mdlNames_, wokNames_, tgaNames_, bifNames_;
    Kind minimapEntries_{&minimapNames_};
    Kind setEntries_{&setNames_};
    Kind mdlEntries_{&mdlNames_};
    Kind wokEntries_{&wokNames_};
    Kind tgaEntries_{&tgaNames_};
};
