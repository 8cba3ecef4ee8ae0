#pragma once
// Reading and writing a whole .set file, and the operations that act on the tileset as a
// whole.
#include <string>
#include <string_view>

#include "model/Tileset.h"

// Reads the open file into General and the main lists, refills every view and closes the
// file. The caller resets the tileset first (ResetTileset). The file is read as the game
// reads it, as an INI file: each numbered section takes the place its number gives, a door
// goes to the tile its header names, a door's values come by their keys, and blanks around
// headers, keys and values are none of them. Returns, in line order, what did not fit and
// how it was read: lists whose Count line differs from the sections read, numbers of
// sections missing, given twice or not given, keys given twice in a section, number keys
// that hold no number, headers without their closing bracket, lines in no section, door
// sections without their tile or without all their keys, tiles with door sections past
// their Doors count, group cells of no use. A file as the writer writes it gives none but
// the last two, which the writer keeps as they were read.
SetFindings ReadSetFile(TextFile& file);

// Writes General and the main lists to the file opened for writing and closes it, so that
// the file on disk is replaced only by the complete new text. Returns false with a message
// in error when nothing was written (a tileset the reader could not read back, or a failed
// write); the old file is then left whole.
[[nodiscard]] bool WriteSetFile(TextFile& file, std::string& error);

// The most tiles a .set file can hold: a larger tile number makes a header that reads
// back as a door.
constexpr int MaxSetTiles = 10000;

// Reads a second tileset into the Import tab's lists with the loading flags down: [GENERAL]
// into a new ImportGeneral, then terrains, crossers, tiles with their doors and groups;
// [GRASS] and rule sections are skipped. Refills the import views of the groups, terrains
// and crossers that were found, and closes the file. The caller empties the import lists
// first; filtering the tile list is the Import tab's own work. Returns what did not fit,
// as ReadSetFile does.
SetFindings ReadImportSet(TextFile& file);

// Whether bytes can be a tileset file at all: text with at least one section header of a
// tileset ([GENERAL], [TILES], [TILE0], ...). Readers take anything, so a file is checked
// before it replaces what is open.
enum class SetTextCheck { Tileset, Binary, NoSection };
SetTextCheck CheckSetText(std::string_view bytes);

// What Save .SET would write now, General taken from the general frame first, as text.
std::string SetFileText();

// Gives General a new empty entry and empties the six main lists; the Import tab's
// tileset and the views are left to the caller.
void ResetTileset();
// Carries the deletion of tile n into every group: cells above n move down by one, cells
// equal to n become "-1". Every cell is checked first, so a cell that is not a number
// raises EConvertError with no group changed. Returns 0.
int RenumberGroupTilesAfterDelete(int n);
// Position of the last group whose cells hold the tile's number as text, or -1.
int FindGroupOfTile(int tile);
int FindImportGroupOfTile(int tile);
// Position of the last tile with exactly this Model, or -1 (always -1 for "NULL").
int FindTileByModel(const std::string& model);
bool TileModelExists(const CTile& tile);
bool GroupNameExists(const CGroup& group);
// True when a cell names a tile (of TileList, or ImportTiles) whose Model begins with
// prefix, ignoring case. Cells are taken in order; one that is not a number, met before a
// cell that qualifies, raises EConvertError.
bool GroupHasModelPrefix(const StringList& cells, const std::string& prefix);
bool ImportGroupHasModelPrefix(const StringList& cells, const std::string& prefix);
// Replace a terrain (crosser) name in the tiles and its own entry and, for terrains, in
// both rule lists and the general settings' Border, Default and Floor (taken from and
// given back to the general frame); return how many of those fields changed (the entry's
// own name does not count). The old name is matched ignoring case, as the game matches
// names; the new one is written as given. The names are taken by value: callers may pass
// an entry's own name, which the rename changes.
int RenameTerrainEverywhere(std::string oldName, std::string newName);
int RenameCrosserEverywhere(std::string oldName, std::string newName);
// Copies from the Import tab's tileset the terrains and crossers the tile names that the
// main tileset lacks.
void AddMissingTerrainsAndCrossers(const CTile& tile);

// View operations shared by several tabs; they reach the views through Views().
void ClearTileLists();
void ClearTerrainCombos();
void ClearCrosserCombos();
void ClearImportGroupView();
void RefillTileLists();
