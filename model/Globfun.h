#pragma once
// Reading and writing a whole .set file, and the operations that act on the tileset as a
// whole.
#include <string>

#include "model/Tileset.h"

// Reads the open file into General and the main lists, refills every view and closes the
// file. The caller resets the tileset first (ResetTileset).
void ReadSetFile(TextFile& file);

// Writes General and the main lists to the file opened for writing and closes it, so that
// the file on disk is replaced only by the complete new text. Returns false with a message
// in error when nothing was written (a tileset the reader could not read back, or a failed
// write); the old file is then left whole.
bool WriteSetFile(TextFile& file, std::string& error);

void ResetTileset();
int RenumberGroupTilesAfterDelete(int n);
int FindGroupOfTile(int tile);
int FindImportGroupOfTile(int tile);
int FindTileByModel(const std::string& model);
bool TileModelExists(const CTile& tile);
bool GroupNameExists(const CGroup& group);
bool GroupHasModelPrefix(const StringList& cells, const std::string& prefix);
bool ImportGroupHasModelPrefix(const StringList& cells, const std::string& prefix);
int RenameTerrainEverywhere(const std::string& oldName, const std::string& newName);
int RenameCrosserEverywhere(const std::string& oldName, const std::string& newName);
void AddMissingTerrainsAndCrossers(const CTile& tile);

// View operations shared by several tabs; they reach the views through Views().
void ClearTileLists();
void ClearTerrainCombos();
void ClearCrosserCombos();
void ClearImportGroupView();
void RefillTileLists();
