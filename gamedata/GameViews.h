#pragma once
// The widgets the game-data layer touches, seen through small interfaces that the editor
// implements. The layer itself never includes a widget header; tests implement these to
// record what was done.
#include <string>

#include "platform/TextFile.h"

// The Tiles tab's "MiniMap" pick-list of minimap names.
class MinimapPickList {
public:
    virtual ~MinimapPickList() = default;
    virtual void ClearMinimapNames() = 0;
    virtual void AddMinimapName(const std::string& name) = 0;
    // Whether a name is listed, ignoring letter case, and its removal (first match); used
    // when asset files are copied or deleted.
    virtual bool HasMinimapName(const std::string& name) const = 0;
    virtual void RemoveMinimapName(const std::string& name) = 0;
};

// An image box of the editor (minimap and texture previews).
class ImageBox {
public:
    virtual ~ImageBox() = default;
    // Loads a picture file by its name through the picture registry (the file's extension
    // picks the reader) and shows it. Raises the reader's error for a file it cannot read;
    // the box is then left as it was.
    virtual void LoadPicture(const std::string& path) = 0;
    virtual void ClearPicture() = 0;
    // Scaled to the box when on, shown at its own size when off.
    virtual void SetStretch(bool on) = 0;
};

// The Import tab's reader: reads a whole source tileset from the open file into the
// import lists, refreshes the Import tab and closes the file.
class ImportSetReader {
public:
    virtual ~ImportSetReader() = default;
    virtual void ReadImportSet(TextFile& file) = 0;
};
