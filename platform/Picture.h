#pragma once
// Picture loading by file extension: readers register the extensions they know with a
// description and a class, and a picture is loaded by asking the class registered for its
// file's extension to read it.
#include "platform/Bitmap.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Stream;

// A class reference: what the registry needs to know of a picture class.
struct GraphicClass {
    std::string_view name;
    std::unique_ptr<Bitmap> (*create)();
    // Whether the bytes at the stream's position look like this class's format; the stream
    // is left where it was. Null for classes that cannot tell.
    bool (*canLoad)(Stream& stream) = nullptr;
    // True for the image readers (which can tell a format by its content).
    bool raster = false;
};

class PictureFormats {
public:
    struct Format {
        std::string extension;   // without the dot, as registered
        std::string description;
        const GraphicClass* graphicClass;
    };

    // The one registry the program's picture loading uses.
    static PictureFormats& Instance();

    // A later registration of the same extension (letter case ignored) takes its place.
    void RegisterFileFormat(std::string_view extension, std::string_view description, const GraphicClass& graphicClass);
    // Drops every extension of the class.
    void UnregisterGraphicClass(const GraphicClass& graphicClass);

    // The class for an extension given without the dot, ignoring letter case; null if none.
    const GraphicClass* ClassOf(std::string_view extension) const;
    const std::vector<Format>& Formats() const { return formats_; }

    // Creates the class registered for the file's extension (the text after its last '.')
    // and loads the file into it. Throws EInvalidGraphic for an unknown extension, and
    // whatever the file or its reader throws.
    std::unique_ptr<Bitmap> LoadFromFile(const std::string& fileName) const;

private:
    std::vector<Format> formats_;
};

// Loads a picture through the program's registry.
std::unique_ptr<Bitmap> LoadPicture(const std::string& fileName);
