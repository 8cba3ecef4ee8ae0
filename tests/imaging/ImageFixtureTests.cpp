// Every picture under tests/data/images/<format>/ that the layers below ui read is loaded by
// file name through the registered readers, as the editor loads pictures, and compared with
// the pixels an independent decoder read from it; written as Targa and read back it keeps
// them. Its reader knows it by content too, unless the folder's by_extension file names it.
// Pictures under <format>/bad/ must fail with a reader's error. make_fixtures.sh beside the
// folders made them and says what each file holds; a new reader adds files there, not code
// here. (tests/ui walks the pictures whose decoders the program installs.)
#include "ImagingTests.h"
#include "imaging/Targa.h"
#include "platform/Picture.h"
#include "platform/Stream.h"
#include "support/ImageFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

TEST(ImageFixtures, EveryPictureMatchesItsReference)
{
    FileFormatList();   // the readers register themselves, as at the editor's start
    int good = 0, bad = 0;
    for (const FixtureFile& fixture : ImageFixtures([](const GraphicClass* c) { return !NeedsProgramDecoders(c); })) {
        const fs::path& file = fixture.file;
        const GraphicClass* reader = fixture.reader;
        SCOPED_TRACE(file.string());
        if (fixture.bad) {
            ++bad;
            std::string error = ReaderError([&] { LoadPicture(file); });
            EXPECT_NE(error, "") << "a damaged picture loaded";
            std::string text = fs::exists(fixture.reference) ? ReadFixtureFile(fixture.reference) : "";
            EXPECT_NE(error.find(text.substr(0, text.find_last_not_of("\r\n") + 1)), std::string::npos) << error;
            continue;
        }
        ++good;
        std::unique_ptr<Bitmap> picture;
        std::string error = ReaderError([&] { picture = LoadPicture(file); });
        if (!fs::exists(fixture.reference) || !reader || !picture) {
            ADD_FAILURE() << "no reference beside it, no reader for it, or: " << error;
            continue;
        }
        if (reader->canLoad) {
            EXPECT_EQ(CanLoadFile(*reader, file), !fixture.byExtension)
                << (fixture.byExtension ? "detection by content takes it" : "its reader does not know it by content");
        }
        Reference ref = ReadReference(fixture.reference);
        ExpectPixels(*picture, ref, fixture.closeness, "as read");
        // Damaged at random, it loads or fails with a reader's error; under the sanitizers
        // nothing is read or written outside a buffer. Large pictures (a Photo CD is
        // close to a megabyte) get fewer rounds, so the sanitizer run stays short.
        std::mt19937 rng(1234);
        const int rounds = int(std::clamp<uintmax_t>(200 * 65536 / std::max<uintmax_t>(fs::file_size(file), 1), 20, 200));
        for (int i = 0; i < rounds; ++i) {
            std::string damaged = ReadFixtureFile(file);
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
            ExpectPixels(back, ref, fixture.closeness, packed ? "written packed as Targa" : "written as Targa");
        }
    }
    EXPECT_GT(good, 0) << "no fixtures found";
    EXPECT_GT(bad, 0);
}

} // namespace
