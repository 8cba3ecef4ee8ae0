#pragma once
// The files that lie beside a tileset: each tile's model (Model + ".mdl"), walkmesh
// (Model + ".wok") and minimap (ImageMap2D + ".tga"), and the custom textures its model
// names. Copies, deletions, reports, texture scans and rewrites, and the prefix renamer.
//
// Everything works in the tileset folder Game().SetDir on sorted folder listings, and finds
// names there without regard to letter case. No operation ever overwrites a file; a file
// rewritten in place is replaced only once its new contents are complete on disk.
// Questions go through AppDialogs(); the tabs' widgets and report members are reached
// through the small interfaces and structs below.
#include <chrono>
#include <string>
#include <string_view>

#include "gamedata/GameViews.h"
#include "gamedata/TextureInfo.h"
#include "platform/StringList.h"

class CTile;

// A progress bar of a tab.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetMax(int max) = 0;
    virtual void StepIt() = 0;           // one step forward
    virtual void SetPosition(int position) = 0;
};

// A memo of the Files/Textures tab: the report and renamer logs.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void AddLine(const std::string& line) = 0;
};

// The Tiles tab's report of a deletion; emptied by the tab before each deletion.
// Each name is added as "\n   " + name.
struct TileDeleteReport {
    int DeletedFileCount = 0;
    std::string DeletedFiles;
    int MissingFileCount = 0;
    std::string MissingFiles;
};

// The Import tab's members that the copies fill. The tab empties the texts, the count and
// the texture list at the start of each import, and sets AskEachFile from its copy question.
struct ImportCopyReport {
    std::string FilesCopiedText;
    int FilesNotFoundCount = 0;
    std::string FilesNotFoundText;
    bool AskEachFile = false;      // Yes to a file question sets it, Yes to all clears it
    StringList ImportTextures;     // texture names of the models copied from a folder
};

// The source folder of a tileset read out of the game archives.
inline constexpr std::string_view ArchiveSourceMarker = "NWNBIF";

// ---- Tile asset files ----------------------------------------------------------------

// Deletes the tile's model, walkmesh and minimap from the tileset folder, unless another
// tile of the tile list uses them; called while the tile is still in the list. With ask,
// each file is confirmed (Yes, No, Yes to all). Deleted and missing names go into report;
// a deleted minimap leaves the pick-list. Returns the files deleted, or -1 when the
// tileset folder cannot be listed.
int DeleteTileFiles(const CTile* tile, bool ask, TileDeleteReport& report, MinimapPickList& minimaps);

// Copies the model, walkmesh and minimap (minimapName + ".tga") of the Import tab's tile
// at importTileIndex into the tileset folder, from importSetDir or, when that is the
// archive marker, out of the game archives. A copied model is converted when
// Game().AutoConvertMdl is set; models copied from a folder add their textures to
// report.ImportTextures. A name holding a path separator is never looked for and is
// reported as not found, and so is a file the archives hold but cannot give. Returns the
// files copied; 0 when the index names no import tile.
int CopyImportTileFiles(int importTileIndex, const std::string& minimapName, bool ask,
                        const std::string& importSetDir, ImportCopyReport& report,
                        MinimapPickList& minimaps);

// Copies the ".tga" and ".dds" files of importSetDir whose base name is in textures into the
// tileset folder. Returns the files copied; -1 when textures is absent.
int CopyImportTextures(const StringList* textures, bool ask, const std::string& importSetDir,
                       ImportCopyReport& report);

// Writes to memo the files the tiles name and the tileset folder lacks (the kinds that
// are switched on), then the custom textures found neither as TGA nor as DDS, and the
// total line. Files the archives hold count as missing only with countGameFiles.
void ReportMissingFiles(bool mdl, bool wok, bool minimap, bool textures, bool countGameFiles,
                        ProgressSink& bar, LineSink& memo);

// How long a model conversion may take before it is given up.
inline constexpr std::chrono::milliseconds ModelConverterTimeLimit = std::chrono::seconds(30);

// Runs the model converter (Game().MdlCompilerPath, "-de" and the model's path twice, in
// Game().StartDir) and waits for it, so the model is text, if it can be, once this returns.
// True when the converter ran and ended well; an absent converter is not an error.
bool RunModelConverter(const std::string& modelPath,
                       std::chrono::milliseconds timeLimit = ModelConverterTimeLimit);

// ---- Model textures ------------------------------------------------------------------

// Adds to textures the texture names of SetDir/model.mdl that the list lacks (ignoring
// case): the word after "bitmap" on lines whose first word it is (any case), with LF or
// CR LF line ends. "NULL" is left out and, unless includeGame, so are the names the archives
// hold as tile textures. Returns the names added; -1 for a binary model; -2 when
// the model cannot be opened.
int CollectMdlTextures(const std::string& model, StringList& textures, bool includeGame);

// CollectMdlTextures on every tile's Model in list order, one bar step per tile. Returns
// the names added; -1 when textures is absent.
int CollectAllTileTextures(StringList* textures, ProgressSink& bar, bool includeGame);

// Renames a texture where CollectMdlTextures reads it, matching the whole name ignoring
// case; the rest of each line, its end included, stays as it was. Returns the names
// replaced; 0 when the file cannot be read and written, is binary, or the new file cannot
// be written (the old one is then whole).
int ReplaceTextureInMdl(const std::string& path, const std::string& oldName, const std::string& newName);

// Shows a texture by name: a TGA of the tileset folder, then a DDS there (not shown), then
// a tile texture of the archives, by the name without its extension. A folder TGA larger
// than 128 pixels either way turns the stretching on. Every TGA found goes to the box's
// reader, even one too short for its sizes, so a damaged file never passes for a picture.
TextureInfo LoadTexturePreview(const std::string& name, ImageBox& image);

// Adds the names of the folder's files ending in "tga", "dds", "mdl" or "wok" (ignoring
// case), sorted. -1 when the folder cannot be listed (or list is absent), else 0.
int ListAssetFiles(const std::string& folder, StringList* list);

// ---- Prefix renamer ------------------------------------------------------------------

// Adds to out the distinct prefixes (first five characters) of the tileset folder's models
// and walkmeshes, and of its textures when includeTextures; minimap images ("mi...") are
// left out. Returns out.
StringList& FindFilePrefixes(StringList& out, bool includeTextures);

// Gives every asset file of the tileset folder that starts with oldPrefix the new prefix in
// its place and rewrites the prefix inside the renamed models and walkmeshes (not on lines
// that name a texture, and not in binary models, unless everywhere). A model, its walkmesh
// and the tiles that use them (found as a tile finds its files, whatever the letter case;
// each tile's Model gets the new prefix in place of its old one) change together or not at
// all: a file that cannot be opened, is binary, cannot take its new name or cannot be
// rewritten leaves all of them as they were. Then every text model of the folder that names
// a texture file the run renamed (ignoring case) is made to name its new file, whatever
// everywhere says; a model that cannot be, binary ones among them, is named in the log with
// the textures it still names. Logs each file to memo. Returns the files renamed.
int RenameFilesPrefix(const std::string& oldPrefix, const std::string& newPrefix, bool everywhere,
                      bool renameTextures, ProgressSink& bar, LineSink& memo);

// Replaces oldPrefix (ignoring case) by newPrefix inside a file; unless everywhere, binary
// files and the lines that name a texture are left alone. A binary file never gets a
// replacement of a different length. Returns the occurrences replaced.
int ReplacePrefixInFile(const std::string& path, const std::string& oldPrefix,
                        const std::string& newPrefix, bool everywhere);

void SetTileModel(CTile* tile, const std::string& model);

// The last three characters (the whole text when shorter).
std::string GetExtension3(std::string_view name);
// The first n characters (the whole text when shorter).
std::string CopyLeft(std::string_view source, std::size_t n);
// name with its first prefixLength characters replaced by newPrefix; the rest stays whole,
// whatever the two prefix lengths (copying one over the other would cut or garble names).
std::string OverwritePrefix(std::string_view name, std::size_t prefixLength, std::string_view newPrefix);
