// Every picture under tests/data/images/<format>/ is loaded by file name through the
// registered readers, as the editor loads pictures, and compared with the pixels an
// independent decoder read from it; written as Targa and read back it keeps them. Pictures
// under <format>/bad/ must fail with a reader's error. make_fixtures.sh beside the folders
// made them and says what each file holds; a new reader adds files there, not code here.
#include "ImagingTests.h"
#include "imaging/Targa.h"
#include "platform/Picture.h"
#include "platform/Stream.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A PAM file of samples of at most 8 bits, rows top first.
struct Reference {
    int width, height, depth, maxval;
    std::string samples;
    int at(int x, int y, int c) const { return uint8_t(samples[std::size_t((y * width + x) * depth + c)]); }
};

Reference readReference(const fs::path& path)
{
    std::istringstream in(readFile(path));
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

// Compares in the reference's bits; a grey reference gives all three colours, and alpha is
// compared where the reference has it.
void expectPixels(const Bitmap& picture, const Reference& ref, int tolerance, const char* what)
{
    ASSERT_EQ(std::pair(picture.Width(), picture.Height()), std::pair(uint32_t(ref.width), uint32_t(ref.height))) << what;
    int shift = 0, mismatches = 0;
    while ((255 >> shift) > ref.maxval)
        ++shift;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x)
            for (int c = 0; c < (ref.depth % 2 ? 3 : 4); ++c) {
                int got = rgba(picture, uint32_t(x), uint32_t(y))[c] >> shift;
                int want = ref.at(x, y, c == 3 ? ref.depth - 1 : ref.depth >= 3 ? c : 0);
                if (std::abs(got - want) > tolerance && ++mismatches <= 5)
                    ADD_FAILURE() << what << ": pixel " << x << "," << y << " sample " << c << " is " << got
                                  << ", not " << want;
            }
}

bool isReference(const fs::path& p) { return p.stem().extension() == ".ref"; }

const GraphicClass* readerOf(const fs::path& p)
{
    std::string extension = p.extension().string();
    return extension.empty() ? nullptr : PictureFormats::Instance().ClassOf(extension.substr(1));
}

// A file no reader knows beside a picture of the same name (in any letter case) that one
// does is that picture's companion (a CUT image's palette), read by its reader, not a
// picture of its own.
bool isCompanion(const fs::path& p)
{
    if (readerOf(p))
        return false;
    for (const auto& other : fs::directory_iterator(p.parent_path()))
        if (EqualsNoCase(other.path().stem().string(), p.stem().string()) && readerOf(other.path()))
            return true;
    return false;
}

TEST(ImageFixtures, EveryPictureMatchesItsReference)
{
    FileFormatList();   // the readers register themselves, as at the editor's start
    int good = 0, bad = 0;
    for (const auto& folder : fs::directory_iterator(TestData() / "images")) {
        if (!folder.is_directory())
            continue;
        fs::path toleranceFile = folder.path() / "tolerance";
        int tolerance = fs::exists(toleranceFile) ? std::stoi(readFile(toleranceFile)) : 0;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            fs::path file = entry.path(), refFile = fs::path(file).replace_extension(".ref.pam");
            if (!entry.is_regular_file() || isReference(file) || file == toleranceFile || isCompanion(file))
                continue;
            SCOPED_TRACE(file.string());
            ++good;
            const GraphicClass* reader = readerOf(file);
            std::unique_ptr<Bitmap> picture;
            std::string error = ReaderError([&] { picture = LoadPicture(file); });
            if (!fs::exists(refFile) || !reader || !reader->raster || !picture) {
                ADD_FAILURE() << "no reference beside it, no reader for it, or: " << error;
                continue;
            }
            if (reader->canLoad) {
                EXPECT_TRUE(CanLoadFile(*reader, file)) << "its reader does not know it by content";
            }
            Reference ref = readReference(refFile);
            expectPixels(*picture, ref, tolerance, "as read");
            // Damaged at random, it loads or fails with a reader's error; under the sanitizers
            // nothing is read or written outside a buffer. Large pictures (a Photo CD is
            // close to a megabyte) get fewer rounds, so the sanitizer run stays short.
            std::mt19937 rng(1234);
            const int rounds = int(std::clamp<uintmax_t>(200 * 65536 / std::max<uintmax_t>(fs::file_size(file), 1), 20, 200));
            for (int i = 0; i < rounds; ++i) {
                std::string damaged = readFile(file);
                for (int edits = 1 + int(rng() % 4); edits > 0; --edits)
                    damaged[rng() % damaged.size()] = char(rng());
                damaged.resize(rng() % 4 ? damaged.size() : rng() % damaged.size());
                ReadOnlyMemoryStream s(damaged);
                ReaderError([&] { reader->create()->LoadFromStream(s); });
            }
            // Whatever a reader makes, the Targa writer keeps, packed or not.
            for (bool packed : {false, true}) {
                TTargaGraphic targa, back;
                targa.Assign(*picture);
                MemoryStream out;
                targa.SaveToStream(out, packed);
                out.SetPosition(0);
                back.LoadFromStream(out);
                expectPixels(back, ref, tolerance, packed ? "written packed as Targa" : "written as Targa");
            }
        }
        std::error_code noBadFolder;
        for (const auto& entry : fs::directory_iterator(folder.path() / "bad", noBadFolder)) {
            fs::path file = entry.path(), expected = fs::path(file).replace_extension(".ref.txt");
            if (isReference(file) || isCompanion(file))
                continue;
            SCOPED_TRACE(file.string());
            ++bad;
            std::string error = ReaderError([&] { LoadPicture(file); });
            EXPECT_NE(error, "") << "a damaged picture loaded";
            std::string text = fs::exists(expected) ? readFile(expected) : "";
            EXPECT_NE(error.find(text.substr(0, text.find_last_not_of("\r\n") + 1)), std::string::npos) << error;
        }
    }
    EXPECT_GT(good, 0) << "no fixtures found";
    EXPECT_GT(bad, 0);
}

} // namespace
