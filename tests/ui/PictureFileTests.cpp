// The class library's pictures as the editor loads them: the icons, JPEG images and
// metafiles under tests/data/images, decoded by the program's decoders, against the pixels
// independent decoders read (make_fixtures.sh says which). And every fixture picture, saved
// as the reader saves it, read back by Qt's own BMP reader; a TIFF or EPS picture cannot be
// saved, and trying leaves the file saved over as it was.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <random>
#include <set>

#include "imaging/RasterGraphics.h"
#include "imaging/TIFF.h"
#include "imaging/Targa.h"
#include "platform/Stream.h"
#include "support/ImageFixtures.h"
#include "support/TempDir.h"
#include "ui/PictureDecoders.h"

namespace fs = std::filesystem;

namespace {

// The message of a picture error, "" when the call succeeds; anything else fails the test.
template <class F>
std::string pictureError(F&& call)
{
    try {
        call();
    } catch (const EInvalidGraphic& e) {
        return e.what();
    } catch (const IoError& e) {
        return e.what();
    }
    return "";
}

TEST(ClassLibraryPictures, EveryPictureMatchesItsReference)
{
    FileFormatList();
    InstallPictureDecoders();
    int good = 0, bad = 0;
    for (const FixtureFile& fixture : ImageFixtures(NeedsProgramDecoders)) {
        SCOPED_TRACE(fixture.file.string());
        if (fixture.bad) {
            ++bad;
            const std::string error = pictureError([&] { LoadPicture(fixture.file); });
            EXPECT_NE(error, "") << "a damaged picture loaded";
            const std::string text = ReadFixtureFile(fixture.reference);
            EXPECT_NE(error.find(text.substr(0, text.find_last_not_of("\r\n") + 1)), std::string::npos) << error;
            continue;
        }
        ++good;
        std::unique_ptr<Bitmap> picture;
        const std::string error = pictureError([&] { picture = LoadPicture(fixture.file); });
        ASSERT_EQ(error, "");
        ExpectPixels(*picture, ReadReference(fixture.reference), fixture.closeness, "as decoded");
        // Damaged at random, it loads or fails with a picture error, and never takes the
        // program down.
        const std::string bytes = ReadFixtureFile(fixture.file);
        std::mt19937 rng(99);
        for (int i = 0; i < 40; ++i) {
            std::string damaged = bytes;
            for (int edits = 1 + int(rng() % 4); edits > 0; --edits)
                damaged[rng() % damaged.size()] = char(rng());
            damaged.resize(rng() % 4 ? damaged.size() : rng() % damaged.size());
            ReadOnlyMemoryStream s(damaged);
            pictureError([&] { fixture.reader->create()->LoadFromStream(s); });
        }
    }
    EXPECT_GE(good, 12) << "icons, JPEG images and both kinds of metafile";
    EXPECT_GT(bad, 0);
}

TEST(ClassLibraryPictures, EveryPictureSavesAsABitmapOfItsPixels)
{
    FileFormatList();
    InstallPictureDecoders();
    std::set<PixelFormat> formats;
    for (const FixtureFile& fixture : ImageFixtures([](const GraphicClass* reader) { return reader != nullptr; })) {
        if (fixture.bad)
            continue;
        SCOPED_TRACE(fixture.file.string());
        std::unique_ptr<Bitmap> picture = LoadPicture(fixture.file);
        MemoryStream out;
        // The Targa reader writes Targa; the TIFF reader (and the EPS reader, one of its kind)
        // refuses, leaving the file saved over as it was. Their pictures are saved as plain
        // bitmaps. Every other reader saves a Windows bitmap.
        const bool tiff = dynamic_cast<TTIFFGraphic*>(picture.get());
        if (tiff) {
            TempDir dir;
            const std::string error = pictureError([&] { picture->SaveToFile(dir.Write("old.tif", "kept")); });
            EXPECT_NE(error.find("can be read but not saved"), std::string::npos) << error;
            EXPECT_EQ(dir.Read("old.tif"), "kept");
        } else {
            picture->SaveToStream(out);
        }
        if (tiff || fixture.reader == &TTargaGraphic::Class()) {
            Bitmap plain;
            plain.Assign(*picture);
            out = MemoryStream();
            plain.SaveToStream(out);
        }
        const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(out.Data().data()), int(out.Size()), "BMP");
        ASSERT_FALSE(image.isNull()) << "Qt cannot read it";
        Bitmap back;
        BitmapFromImage(image, back);
        // A plain 32-bit pixel's fourth byte is no alpha to other readers.
        ExpectPixels(back, ReadReference(fixture.reference), fixture.closeness, "saved", true);
        formats.insert(picture->GetPixelFormat());
    }
    EXPECT_EQ(formats.size(), 7u) << "pictures of every bitmap pixel format were saved";
}

// Pictures too large to store (the fixtures hold the small ones): an enhanced metafile
// whose drawing outlasts the time limit, 5,000 rectangles over 2000 x 2000 pixels (at 96 an
// inch), is refused; a JPEG photo of 8000 x 6000 pixels, past Qt's own limit, loads.
TEST(ClassLibraryPictures, LargePicturesEndWithinTheirBounds)
{
    const uint32_t side = 2000, frame = side * 2540 / 96;   // in 0.01 mm
    std::vector<uint32_t> emf{1, 88, 0, 0, side - 1, side - 1, 0, 0, frame, frame, 0x464D4520, 0x10000, 0, 0, 1, 0, 0, 0, 960, 960, 254, 254};
    for (int i = 0; i < 5000; ++i)
        emf.insert(emf.end(), {43, 24, 0, 0, side, side});
    emf.insert(emf.end(), {14, 20, 0, 16, 20});
    std::string photo = ReadFixtureFile(TestDataFolder() / "images/jpeg/cj_grey.jpg");
    photo.replace(photo.find("\xFF\xC0") + 5, 4, "\x17\x70\x1F\x40", 4);   // its frame: 6000 rows of 8000
    QtPictureDecoders decoders(std::chrono::milliseconds(200));
    Bitmap bitmap;
    const std::string metafile(reinterpret_cast<const char*>(emf.data()), emf.size() * 4);   // a little-endian machine
    EXPECT_NE(pictureError([&] { decoders.Decode(PictureKind::Metafile, metafile, bitmap); }).find("(the decoder took too long)"),
              std::string::npos);
    EXPECT_EQ(pictureError([&] { decoders.Decode(PictureKind::JPEG, photo, bitmap); }), "");
}

} // namespace
