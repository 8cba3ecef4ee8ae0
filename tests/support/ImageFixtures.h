#pragma once
// The image fixtures under tests/data/images/<format>/ (made by make_fixtures.sh beside
// them): which pictures there are, the pixels an independent decoder read from each, and the
// comparison of a loaded picture with them. The imaging tests walk the pictures that the
// layers below ui read; the ui tests those whose decoders the program installs.
#include "platform/Bitmap.h"
#include "platform/Picture.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// tests/data, as ctest names it, else found beside this file when a test runs by hand.
std::filesystem::path TestDataFolder();
std::string ReadFixtureFile(const std::filesystem::path& path);

// A PAM file of samples of at most 8 bits, rows top first.
struct Reference {
    int width = 0, height = 0, depth = 0, maxval = 0;
    std::string samples;
    int at(int x, int y, int c) const { return uint8_t(samples[std::size_t((y * width + x) * depth + c)]); }
};
Reference ReadReference(const std::filesystem::path& path);

// How closely a folder's pictures must match: the largest difference of an 8-bit sample,
// and the distance in pixels within which a reference pixel may be the match (drawn
// pictures, whose edges fall a pixel apart from one renderer to the next). The folder's
// file "tolerance" holds one or both numbers.
struct Closeness {
    int tolerance = 0, radius = 0;
};

struct FixtureFile {
    std::filesystem::path file;
    const GraphicClass* reader;   // registered for its extension; null for none
    bool bad;                     // under bad/: must fail
    std::filesystem::path reference;   // <name>.ref.pam, or <name>.ref.txt for a bad one
    Closeness closeness;
    // Named in the folder's file "by_extension": loads by its extension, though detection
    // by content must not take it.
    bool byExtension = false;
};

// Whether the class is one of the class library's pictures whose decoders the program
// installs (icons, metafiles, JPEG images): the ui tests walk those.
bool NeedsProgramDecoders(const GraphicClass* reader);

// The fixtures whose reader `wanted` takes (null when no reader is registered), each
// folder's pictures before its bad ones. A file that is only the companion of a picture of
// the same name (a CUT image's palette) is none.
std::vector<FixtureFile> ImageFixtures(const std::function<bool(const GraphicClass*)>& wanted);

// Compares the picture with the reference in the reference's bits; a grey reference gives
// all three colours, and alpha is compared where the reference has it, unless colours only
// are asked for.
void ExpectPixels(const Bitmap& picture, const Reference& ref, Closeness closeness, const std::string& what,
                  bool coloursOnly = false);
