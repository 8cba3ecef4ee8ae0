#include "support/ImageFixtures.h"

#include "platform/SystemPictures.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Red, green, blue and alpha of a pixel in 8 bits; 5- and 6-bit fields keep their low bits 0.
std::array<int, 4> rgba(const Bitmap& b, uint32_t x, uint32_t y)
{
    const uint8_t* row = b.ScanLine(y);
    int bits = BitsPerPixel(b.GetPixelFormat());
    if (bits <= 8) {
        std::size_t i = (row[x * bits / 8] >> (8 - bits - x * bits % 8)) & ((1 << bits) - 1);
        const auto& palette = b.GetPalette().Entries();
        return i < palette.size() ? std::array<int, 4>{palette[i].red, palette[i].green, palette[i].blue, 255}
                                  : std::array<int, 4>{-1, -1, -1, -1};
    }
    if (bits == 15 || bits == 16) {   // 5-5-5 or 5-6-5 words
        int w = row[2 * x] | row[2 * x + 1] << 8;
        return {(w >> (bits - 8)) & 0xF8, (w >> (bits - 13)) & (bits == 15 ? 0xF8 : 0xFC), (w << 3) & 0xF8, 255};
    }
    const uint8_t* p = row + x * uint32_t(bits / 8);
    return {p[2], p[1], p[0], bits == 32 ? p[3] : 255};
}

bool isReference(const fs::path& p) { return p.stem().extension() == ".ref"; }

const GraphicClass* readerOf(const fs::path& p)
{
    std::string extension = p.extension().string();
    return extension.empty() ? nullptr : PictureFormats::Instance().ClassOf(extension.substr(1));
}

// A file no reader knows beside a picture of the same name (in any letter case) that one
// does is that picture's companion (a CUT image's palette), read by its reader.
bool isCompanion(const fs::path& p)
{
    if (readerOf(p))
        return false;
    for (const auto& other : fs::directory_iterator(p.parent_path()))
        if (EqualsNoCase(other.path().stem().string(), p.stem().string()) && readerOf(other.path()))
            return true;
    return false;
}

} // namespace

std::string ReadFixtureFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path TestDataFolder()
{
    const char* data = std::getenv("TILVENNA_TEST_DATA");
    return data ? fs::path(data) : fs::path(__FILE__).parent_path().parent_path() / "data";
}

Reference ReadReference(const fs::path& path)
{
    std::istringstream in(ReadFixtureFile(path));
    std::map<std::string, std::string> header;
    for (std::string line; std::getline(in, line) && line != "ENDHDR";)
        header[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
    auto field = [&](const char* key) { return header.count(key) ? std::stoi(header[key]) : 0; };
    Reference r{field("WIDTH"), field("HEIGHT"), field("DEPTH"), field("MAXVAL"), {}};
    r.samples.resize(std::size_t(r.width) * std::size_t(r.height) * std::size_t(r.depth));
    in.read(r.samples.data(), std::streamsize(r.samples.size()));
    if (!header.count("P7") || r.depth < 1 || r.depth > 4 || r.maxval < 1 || r.maxval > 255 || (r.maxval & (r.maxval + 1)) ||
        std::size_t(in.gcount()) != r.samples.size())
        throw std::runtime_error("unusable reference " + path.string());
    return r;
}

bool NeedsProgramDecoders(const GraphicClass* reader)
{
    return reader && dynamic_cast<DecodedPicture*>(reader->create().get());
}

std::vector<FixtureFile> ImageFixtures(const std::function<bool(const GraphicClass*)>& wanted)
{
    std::vector<FixtureFile> files;
    std::vector<fs::path> folders;
    for (const auto& folder : fs::directory_iterator(TestDataFolder() / "images"))
        if (folder.is_directory())
            folders.push_back(folder.path());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& folder : folders) {
        Closeness closeness;
        std::istringstream(ReadFixtureFile(folder / "tolerance")) >> closeness.tolerance >> closeness.radius;
        std::vector<std::string> byExtension;
        std::istringstream names(ReadFixtureFile(folder / "by_extension"));
        for (std::string name; names >> name;)
            byExtension.push_back(name);
        for (bool bad : {false, true}) {
            std::error_code noBadFolder;
            std::vector<fs::path> found;
            for (const auto& entry : fs::directory_iterator(bad ? folder / "bad" : folder, noBadFolder))
                if (entry.is_regular_file() && !isReference(entry.path()) && entry.path().filename() != "tolerance" &&
                    entry.path().filename() != "by_extension" && !isCompanion(entry.path()) &&
                    wanted(readerOf(entry.path())))
                    found.push_back(entry.path());
            std::sort(found.begin(), found.end());
            for (const fs::path& file : found)
                files.push_back({file, readerOf(file), bad, fs::path(file).replace_extension(bad ? ".ref.txt" : ".ref.pam"),
                                 closeness,
                                 std::find(byExtension.begin(), byExtension.end(), file.filename().string()) !=
                                     byExtension.end()});
        }
    }
    return files;
}

void ExpectPixels(const Bitmap& picture, const Reference& ref, Closeness closeness, const std::string& what, bool coloursOnly)
{
    ASSERT_EQ(std::pair(picture.Width(), picture.Height()), std::pair(uint32_t(ref.width), uint32_t(ref.height))) << what;
    int shift = 0, mismatches = 0, r = closeness.radius;
    while ((255 >> shift) > ref.maxval)
        ++shift;
    auto want = [&](int x, int y, int c) { return ref.at(x, y, c == 3 ? ref.depth - 1 : ref.depth >= 3 ? c : 0); };
    auto matches = [&](const std::array<int, 4>& got, int x, int y) {
        for (int c = 0; c < (ref.depth % 2 || coloursOnly ? 3 : 4); ++c)
            if (std::abs((got[c] >> shift) - want(x, y, c)) > closeness.tolerance)
                return false;
        return true;
    };
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            const std::array<int, 4> got = rgba(picture, uint32_t(x), uint32_t(y));
            bool found = false;
            for (int ry = std::max(0, y - r); !found && ry <= std::min(ref.height - 1, y + r); ++ry)
                for (int rx = std::max(0, x - r); !found && rx <= std::min(ref.width - 1, x + r); ++rx)
                    found = matches(got, rx, ry);
            if (!found && ++mismatches <= 5)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << (got[0] >> shift) << "," << (got[1] >> shift)
                              << "," << (got[2] >> shift) << "," << (got[3] >> shift) << ", not " << want(x, y, 0) << ","
                              << want(x, y, 1) << "," << want(x, y, 2) << "," << want(x, y, 3);
        }
}
