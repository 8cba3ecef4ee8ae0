// The format list: registration and its invariants, look-ups, the open-dialog filter, and
// the choice of a reader by content.
#include "ImagingTests.h"
#include "imaging/GraphicStrings.h"
#include "imaging/RasterGraphics.h"
#include "imaging/Targa.h"
#include "platform/Resources.h"
#include "platform/Stream.h"

#include "support/TempDir.h"
#include "support/TgaBuilder.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<Bitmap> plain() { return std::make_unique<Bitmap>(); }
const GraphicClass kBitmapClass{"TBitmap", &plain, nullptr, false};
const GraphicClass kOtherClass{"TOther", &plain, nullptr, false};

// Registers a plain "bitmap" class the way the program's table starts, then the Targa rows.
void fill(TFileFormatList& list)
{
    list.RegisterFileFormat("bmp", gesBitmaps, "", ftRaster, false, &kBitmapClass);
    list.RegisterFileFormat("rle", gesBitmaps, gesRLEBitmaps, ftRaster, false, &kBitmapClass);
    list.RegisterFileFormat("dib", "", gesDIBs, ftRaster, false, &kBitmapClass);
    for (const char* extension : {"win", "vst", "vda", "tga", "icb"})
        list.RegisterFileFormat(extension, gesTruevision, "", ftRaster, false, &TTargaGraphic::Class());
}

// Each class entry counts the extension entries that point to it, and none counts 0.
void checkCounts(const TFileFormatList& list)
{
    for (const auto& c : list.Classes()) {
        uint32_t n = 0;
        for (const auto& e : list.Extensions())
            n += e->ClassReference == c.get();
        EXPECT_EQ(c->Count, n) << c->GraphicClass->name;
        EXPECT_GT(c->Count, 0u);
    }
}

TEST(FileFormatList, RegistrationReplacementAndRemoval)
{
    PictureFormats platform;
    TFileFormatList list(platform);
    fill(list);
    ASSERT_EQ(list.Classes().size(), 2u);
    EXPECT_EQ(platform.Formats()[1].description, gesRLEBitmaps);
    EXPECT_EQ(platform.Formats()[3].description, "Truevision images") << "an empty individual text takes the class's";

    // Twice without replace: refused, nothing changes.
    EXPECT_EQ(ReaderError([&] { list.RegisterFileFormat("TGA", "x", "y", ftRaster, false, &kOtherClass); }),
              "Attempt to register TGA twice.");
    list.RegisterFileFormat("", "x", "y", ftRaster, false, &kOtherClass);   // an empty extension does nothing

    // Replacing moves the extension to the new class and keeps its own description.
    list.RegisterFileFormat("dib", "Others", "ignored", ftVector, true, &kOtherClass);
    const TExtensionEntry& dib = *list.Extensions()[size_t(list.FindExtension("dib"))];
    EXPECT_EQ(dib.ClassReference->GraphicClass, &kOtherClass);
    EXPECT_EQ(dib.Description, gesDIBs);
    EXPECT_EQ(dib.FormatTypes, ftRaster);
    EXPECT_EQ(platform.ClassOf("dib"), &kOtherClass);
    // Replacing with the class it already has changes no list, but the platform takes the
    // new description.
    list.RegisterFileFormat("dib", "", "Other DIBs", ftRaster, true, &kOtherClass);
    EXPECT_EQ(list.Classes().size(), 3u);
    EXPECT_EQ(platform.Formats().back().description, "Other DIBs");
    // Moving the class's last extension away removes the class entry.
    list.RegisterFileFormat("dib", "", "", ftRaster, true, &kBitmapClass);
    EXPECT_EQ(list.FindGraphicClass(&kOtherClass), -1);
    checkCounts(list);

    // By extension: the platform keeps a class until its last extension goes.
    list.UnregisterFileFormat("rle", nullptr);
    list.UnregisterFileFormat("bmp", nullptr);
    EXPECT_EQ(platform.ClassOf("bmp"), &kBitmapClass);
    list.UnregisterFileFormat("dib", nullptr);
    EXPECT_EQ(list.FindGraphicClass(&kBitmapClass), -1);
    EXPECT_EQ(platform.ClassOf("bmp"), nullptr);
    list.UnregisterFileFormat("nothing", nullptr);
    // By class.
    UnregisterImageFormats(list);
    list.UnregisterFileFormat("", &kOtherClass);   // never registered: no effect
    EXPECT_TRUE(list.Extensions().empty());
    EXPECT_TRUE(platform.Formats().empty());
    fill(list);
    list.Clear();
    EXPECT_TRUE(platform.Formats().empty());
}

TEST(FileFormatList, OpenDialogFilters)
{
    PictureFormats platform;
    TFileFormatList list(platform);
    fill(list);
    const std::string bmp = "*.bmp; *.rle; *.dib", tga = "*.win; *.vst; *.vda; *.tga; *.icb";
    EXPECT_EQ(list.GetGraphicFilter(0, fstNone, foCompact | foIncludeExtension, nullptr),
              "Windows bitmaps (" + bmp + ")|" + bmp + "|Truevision images (" + tga + ")|" + tga);
    EXPECT_EQ(list.GetGraphicFilter(ftRaster, fstNone, foCompact, &TTargaGraphic::Class()), "Truevision images|" + tga);
    EXPECT_EQ(list.GetGraphicFilter(ftVector, fstNone, foCompact, nullptr), "");
    EXPECT_EQ(list.GetGraphicFilter(0, fstDescription, foIncludeExtension, nullptr),
              "Device independant Windows bitmaps (*.dib)|*.dib|Run length encoded Windows bitmaps (*.rle)|*.rle|"
              "Truevision images (*.win)|*.win|Windows bitmaps (*.bmp)|*.bmp");
    // Sorted by extension, each class's pattern is sorted too.
    EXPECT_EQ(list.GetGraphicFilter(0, fstExtension, foCompact | foIncludeAll, &kBitmapClass),
              "All images|*.bmp; *.dib; *.rle|Windows bitmaps|*.bmp; *.dib; *.rle");
    EXPECT_EQ(list.GetGraphicFilter(0, fstBoth, foCompact, &TTargaGraphic::Class()),
              "Truevision images|*.icb; *.tga; *.vda; *.vst; *.win");
    std::string unsorted = list.GetGraphicFilter(0, fstNone, foIncludeAll, &TTargaGraphic::Class());
    EXPECT_EQ(unsorted, "All images|" + tga + "|Truevision images|*.win|Truevision images|*.vst|Truevision images|*.vda|"
                        "Truevision images|*.tga|Truevision images|*.icb");
}

TEST(FileFormatList, ProgramListLookUpsAndReaderByContent)
{
    TFileFormatList& list = FileFormatList();
    EXPECT_EQ(list.FindExtension("TGA"), 13);
    EXPECT_EQ(list.FindExtension(""), -1);
    EXPECT_EQ(list.GraphicFromExtension("tga"), &TTargaGraphic::Class());
    EXPECT_EQ(list.GraphicFromExtension("tile01.tga"), &TTargaGraphic::Class());
    EXPECT_EQ(list.GraphicFromExtension("tile.01.tga"), nullptr) << "only the text after the first dot counts";
    EXPECT_EQ(list.GetDescription(&kOtherClass), "");
    // The whole table, row by row: extension, class, format types (animation, layered,
    // multi-image, raster, vector) and the description the platform shows.
    const std::string table =
        "bmp TBitmap r Windows bitmaps|ico TIcon r Windows icons|wmf TMetafile v Windows metafiles|emf TMetafile v "
        "Windows enhanced meta files|jfif TJPEGImage r JFIF images|jpg TJPEGImage r JPG images|jpe TJPEGImage r JPE "
        "images|jpeg TJPEGImage r JPEG images|rle TBitmap r Run length encoded Windows bitmaps|dib TBitmap r Device "
        "independant Windows bitmaps|win TTargaGraphic r Truevision images|vst TTargaGraphic r Truevision images|vda "
        "TTargaGraphic r Truevision images|tga TTargaGraphic r Truevision images|icb TTargaGraphic r Truevision "
        "images|tiff TTIFFGraphic mr Macintosh TIFF images|tif TTIFFGraphic mr PC TIF images|fax TTIFFGraphic mr GFI "
        "fax images|eps TEPSGraphic r Encapsulated Postscript images|pcx TPCXGraphic r ZSoft Paintbrush images|pcc "
        "TPCXGraphic r ZSoft Paintbrush images|scr TPCXGraphic r Word 5.x screen capture images|rpf TRLAGraphic r "
        "Alias/Wavefront images|rla TRLAGraphic r Alias/Wavefront images|sgi TSGIGraphic r SGI true color images|rgba "
        "TSGIGraphic r SGI true color images with alpha|rgb TSGIGraphic r SGI true color images|bw TSGIGraphic r SGI "
        "black/white images|psd TPSDGraphic lr Photoshop images|pdd TPSDGraphic lr Photoshop images|ppm TPPMGraphic r "
        "Portable pixel map images|pgm TPPMGraphic r Portable gray map images|pbm TPPMGraphic r Portable bitmap "
        "images|cel TAutodeskGraphic r Autodesk images|pic TAutodeskGraphic r Autodesk images|pcd TPCDGraphic r Kodak "
        "Photo-CD images|cut TCUTGraphic r Dr. Halo images|psp TPSPGraphic rv Paintshop Pro images|png TPNGGraphic r "
        "Portable network graphic images|";
    const auto& shown = PictureFormats::Instance().Formats();
    ASSERT_EQ(shown.size(), list.Extensions().size());
    std::string rows;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const TExtensionEntry& e = *list.Extensions()[i];
        rows += e.Extension + " " + std::string(e.ClassReference->GraphicClass->name) + " ";
        for (int bit = 0; bit < 5; ++bit)
            rows += e.FormatTypes & (1 << bit) ? std::string(1, "almrv"[bit]) : "";
        rows += " " + shown[i].description + "|";
    }
    EXPECT_EQ(rows, table);
    checkCounts(list);

    std::string garbage(64, 'g');
    ReadOnlyMemoryStream s(garbage);
    s.SetPosition(5);
    EXPECT_EQ(list.GraphicFromContent(s), nullptr);
    EXPECT_EQ(s.Position(), 5u);
    EXPECT_EQ(LoadGraphicFromBytes(garbage.data(), garbage.size()), nullptr);

    std::string tga = TgaHeader(2, 1, 1, 24, 0x20) + "abc";
    auto picture = LoadGraphicFromBytes(tga.data(), tga.size());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->ScanLine(0)[2], 'c');

    TempDir dir;
    EXPECT_EQ(list.GraphicFromContent(dir.Write("Tile.TGA", tga)), &TTargaGraphic::Class());
    EXPECT_THROW(LoadPicture(dir.Write("x.png", tga)), EInvalidGraphic);
    EXPECT_THROW(LoadPicture(dir.File("missing.tga")), StreamError);
}

} // namespace

TEST(RasterGraphic, LoadsFromResourcesByNumberAndName)
{
    const std::string tga = TgaHeader(2, 1, 1, 24) + std::string("\x10\x20\x30", 3);
    RegisterResource(7, tga);
    RegisterResource("grass", tga);
    for (int byName = 0; byName < 2; ++byName) {
        TTargaGraphic picture;
        byName ? picture.LoadFromResourceName(nullptr, "grass") : picture.LoadFromResourceID(nullptr, 7);
        ASSERT_EQ(picture.Width(), 1u);
        EXPECT_EQ(picture.ScanLine(0)[2], 0x30);
    }
    TTargaGraphic picture;
    EXPECT_THROW(picture.LoadFromResourceID(nullptr, 8), StreamError);
    EXPECT_THROW(picture.LoadFromResourceName(nullptr, "water"), StreamError);
}
