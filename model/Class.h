#pragma once
// The entries of a tileset: the general settings and one class per kind of numbered
// section of a .set file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/StringList.h"
#include "platform/TextFile.h"

// Base of every entry. Slots: read the entry's section, write it as a numbered section,
// refill the editor's views of its kind, refill the Import tab's views of its kind.
class CBase {
public:
    virtual ~CBase() = default;
    // Called right after the section header was read. Reads the key lines, leaves the file
    // at the line that ended the section and, for a list entry, appends itself to its list
    // (the list takes ownership).
    virtual void ReadFromSet(TextFile& file) = 0;
    virtual void WriteToSet(TextFile& file, int index);
    virtual void FillMainLists() = 0;
    virtual void FillImportLists();
};

// What a reader could not take as the file has it, and what it made of it: one finding per
// line, with the number of that line (1 for the first).
struct SetFinding {
    long line;
    std::string text;
    bool operator==(const SetFinding&) const = default;
};
using SetFindings = std::vector<SetFinding>;

// Notes a finding while a CollectFindings lives; without one it does nothing.
void NoteFinding(long line, std::string text);
// A line as a finding quotes it: without its line end, long ones cut short.
std::string QuoteLine(std::string_view line);

// Collects every finding noted while it lives into the list given. While it lives it also
// hears of the sections being read and the keys taken from them, to tell of a key that a
// section gives twice.
class CollectFindings {
public:
    explicit CollectFindings(SetFindings& into);
    ~CollectFindings();
    CollectFindings(const CollectFindings&) = delete;
    CollectFindings& operator=(const CollectFindings&) = delete;

    struct State;

private:
    std::unique_ptr<State> state_;
};

// The section whose keys NoteKey hears of next, by its header as the file has it. A section
// that shares its keys with others of its name ([GENERAL] given twice) adds to theirs.
void NoteSection(std::string_view header, bool sharesKeysByName);
// A known key a reader took, by the name the writer gives it (a literal), with its value. A key that its
// section gave before with another value is noted: the later value is kept.
void NoteKey(std::string_view key, std::string_view value, long line);

// The value of a key line: the text after its first '=' up to the line end, without the
// line end. A line without '=' has an empty value.
std::string GetIniValue(std::string_view line);
// The number at the start of a value (0 when there are no digits), and a flag from it.
int NumberValue(std::string_view value);
uint8_t FlagValue(std::string_view value);
// The number, or flag, of the key line last read from file, taken for key; a value that is
// no whole number is noted as a finding and read as NumberValue reads it.
int NumberKey(const TextFile& file, std::string_view line, std::string_view key);
uint8_t FlagKey(const TextFile& file, std::string_view line, std::string_view key);
// The text value of the key line last read from file, taken for key.
std::string TextKey(const TextFile& file, std::string_view line, std::string_view key);
// Makes a line what the game reads of it as an INI file: blanks (spaces, tabs) before it,
// around its first '=' and at the end of its value are no part of its header, key or
// value. Comments and empty lines stay as they are. The line end, when there is one, stays.
void IniLine(std::string& line);
// Reads the next line of a section, whole however long, as IniLine gives it; a byte-order
// mark before the first line of the file is dropped.
bool ReadSectionLine(TextFile& file, std::string& line);
// True for a header, where every section ends. Empty lines end nothing: the game reads
// these files as INI files, so keys after an empty line still belong to the section.
bool EndsSection(std::string_view line);
// True for a line of blanks only, or whose first non-blank character is ';'.
bool BlankOrComment(std::string_view line);

// Key lines of a section that the editor has no field for (newer toolsets write such keys),
// each as the file had it without its line end. They are kept only to be written back after
// the known keys of their section; the editor never shows or changes them.
using KeyLines = std::vector<std::string>;
// Keeps a line that no key of its section took, when it is a key line: a name, '=' and a
// value. Comments and empty lines are dropped as before, other text too, noted as a finding
// at line number at.
void KeepUnknownKey(KeyLines& keys, std::string_view line, long at);
void WriteUnknownKeys(TextFile& file, const KeyLines& keys);
// Writes one key line in the game's layout, given as its format ("Name=%s\n"): the %s is
// replaced by the value byte for byte, so a value holding a NUL byte is not cut short as
// printf's %s would cut it. A format that ends in an empty line ("Floor=%s\n\n") closes its
// section: the keys of other tools the entry keeps (when given) go in before that empty line.
void WriteKey(TextFile& file, std::string_view format, std::string_view value, const KeyLines* keptKeys = nullptr);

class CGeneral : public CBase {
public:
    std::string Name, Type, Version;
    uint8_t Interior = 0;
    uint8_t HasHeightTransition = 0;
    std::string EnvMap, Transition, DisplayName, UnlocalizedName, Border, Default, Floor;
    uint8_t Grass = 0;
    std::string Density, Height;
    std::string AmbientRed, AmbientGreen, AmbientBlue;
    std::string DiffuseRed, DiffuseGreen, DiffuseBlue;
    KeyLines UnknownKeys;      // of [GENERAL]
    KeyLines UnknownGrassKeys; // of [GRASS]

    // Serves both [GENERAL] and [GRASS]: any known key is taken in either section; a key
    // it does not know stays with the section it came from.
    void ReadFromSet(TextFile& file) override { ReadFromSet(file, false); }
    void ReadFromSet(TextFile& file, bool grass);
    using CBase::WriteToSet;
    // Writes [GENERAL] and [GRASS].
    void WriteToSet(TextFile& file);
    void FillMainLists() override;
    // Takes what the general frame shows (the values being edited) into the entry.
    void ReadFromFrame();
};

// What terrains and crossers share: a named type with the text the game shows for it.
class CNamedType : public CBase {
public:
    std::string Name, StrRef, UnlocalizedName;
    KeyLines UnknownKeys;

    void SetName(std::string v) { Name = std::move(v); }
    void SetStrRef(std::string v) { StrRef = std::move(v); }
    void SetUnlocalizedName(std::string v) { UnlocalizedName = std::move(v); }

protected:
    // Every line is tested against all three keys.
    void ReadNamedKeys(TextFile& file);
    void WriteNamedSection(TextFile& file, const char* header, int index) const;
    void CopyNamedFields(const CNamedType& source);
};

class CTerrain : public CNamedType {
public:
    void ReadFromSet(TextFile& file) override;
    void WriteToSet(TextFile& file, int index) override;
    void FillMainLists() override;
    void FillImportLists() override;
    // Takes the source's fields and appends itself to TerrainList.
    void CopyToMain(const CTerrain& source);
};

class CCrosser : public CNamedType {
public:
    void ReadFromSet(TextFile& file) override;
    void WriteToSet(TextFile& file, int index) override;
    void FillMainLists() override;
    void FillImportLists() override;
    // Takes the source's fields and appends itself to CrosserList.
    void CopyToMain(const CCrosser& source);
};

// One primary or secondary rule; the list that holds it decides which.
class CRules : public CBase {
public:
    std::string Placed, PlacedHeight, Adjacent, AdjacentHeight, Changed, ChangedHeight;
    KeyLines UnknownKeys;

    void ReadFromSet(TextFile& file) override; // does nothing: see ReadRuleSection
    // Reads a rule section and appends the rule to PrimaryRuleList or SecondaryRuleList.
    void ReadRuleSection(TextFile& file, bool primary);
    void WriteToSet(TextFile& file, int index) override; // [PRIMARY RULEn]
    void WriteSecondaryToSet(TextFile& file, int index); // [SECONDARY RULEn]
    void FillMainLists() override;
    void SetPlaced(std::string v) { Placed = std::move(v); }
    void SetPlacedHeight(std::string v) { PlacedHeight = std::move(v); }
    void SetAdjacent(std::string v) { Adjacent = std::move(v); }
    void SetAdjacentHeight(std::string v) { AdjacentHeight = std::move(v); }
    void SetChanged(std::string v) { Changed = std::move(v); }
    void SetChangedHeight(std::string v) { ChangedHeight = std::move(v); }
};

// One door section as read: its five values by their keys (Type, X, Y, Z, Orientation, in
// any letter case and order), the key lines that gave them as the file had them, in file
// order, and the key lines of other tools.
struct DoorKeys {
    static constexpr const char* Names[5] = {"Type", "X", "Y", "Z", "Orientation"};
    std::string values[5];
    bool given[5] = {};
    KeyLines lines;
    KeyLines unknown;
    bool Whole() const { return given[0] && given[1] && given[2] && given[3] && given[4]; }
};

class CTile : public CBase {
public:
    std::string Model, WalkMesh;
    std::string TopLeft;
    uint8_t TopLeftHeight = 0;
    std::string TopRight;
    uint8_t TopRightHeight = 0;
    std::string BottomLeft;
    uint8_t BottomLeftHeight = 0;
    std::string BottomRight;
    uint8_t BottomRightHeight = 0;
    std::string Top, Right, Bottom, Left;
    uint8_t MainLight1 = 0, MainLight2 = 0;
    uint8_t SourceLight1 = 0, SourceLight2 = 0;
    uint8_t AnimLoop1 = 0, AnimLoop2 = 0, AnimLoop3 = 0;
    int32_t Doors = 0;
    int32_t Sounds = 0;
    std::string PathNode, Orientation, VisibilityNode, VisibilityOrientation, ImageMap2D;
    std::string DoorVisibilityNode, DoorVisibilityOrientation;
    // Five strings per door (Type, X, Y, Z, Orientation); absent until the first door.
    std::unique_ptr<StringList> DoorList;
    KeyLines UnknownKeys;
    // Unknown keys of door d at position d; shorter than the door list when the last doors
    // have none. Whoever removes a door from DoorList removes its entry here too.
    std::vector<KeyLines> UnknownDoorKeys;
    // The five lines of door d as the file had them, at position d; shorter, or empty at d,
    // for doors the editor made. Doors past Doors, which the game does not read, are written
    // back with these lines, so they come back as they were read.
    std::vector<KeyLines> DoorLines;

    // Number of whole doors DoorList holds.
    int DoorsHeld() const { return DoorList ? DoorList->Count() / 5 : 0; }
    // Put door d in (d at most DoorsHeld()), or take it out, keeping the door list, the
    // doors' unknown keys and their lines in step. Taking out the last door drops the list.
    void InsertDoor(int d, const StringList& door);
    void DeleteDoor(int d);

    void ReadFromSet(TextFile& file) override;
    // Reads one [TILEnDOORm] section into this tile: its keys, then the door when it is whole.
    void ReadDoorSection(TextFile& file);
    // The keys of the door section whose header was just read, up to the next header. A
    // section without all five keys is noted at its header's line.
    static DoorKeys ReadDoorKeys(TextFile& file);
    // Appends a whole door as read, with its lines and the keys of other tools.
    void AddDoor(DoorKeys door);
    void WriteToSet(TextFile& file, int index) override; // [TILEn] and its doors
    void FillMainLists() override;
    void FillImportLists() override;
    // Takes the source's fields and every door it holds, those past its count and unknown
    // keys included, and appends itself to TileList.
    void CopyToMain(const CTile& source);
};

// Cells placed by the number in their key go up to this many; a group larger than the
// largest area (32 x 32 tiles) has its further cells taken in line order, so that one line
// cannot make millions of empty cells.
constexpr int MaxGroupCells = 32 * 32;

class CGroup : public CBase {
public:
    std::string Name, StrRef;
    int32_t Rows = 0;
    int32_t Columns = 0;
    // One string per cell: a tile position as decimal text, or "-1" for an empty cell.
    StringList Cells;
    KeyLines UnknownKeys;

    // Places each cell by the number after Tile in its key, whatever the order of the lines;
    // see the reader for cells whose number is of no use.
    void ReadFromSet(TextFile& file) override;
    void WriteToSet(TextFile& file, int index) override;
    void FillMainLists() override;
    void FillImportLists() override;
    // Takes the source's fields and unknown keys, numbers its cells after the last main
    // tile and appends itself to GroupList.
    void CopyToMain(const CGroup& source);
};
