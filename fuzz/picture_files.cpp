// Loads pictures by file name, as the editor does: the first input byte picks one of the
// registered extensions (in the order of the registration table), the rest becomes a file
// of that extension in a private folder, loaded through the platform's picture loading (the
// reader's LoadFromFile, the file stream). A Dr. Halo picture takes its colours from the
// palette file beside it: for .cut the two bytes after the first give the picture's length
// (little-endian) and the input's tail is the .pal, written under a name in other letter
// case. A loaded picture of modest size is saved as a Windows bitmap and read back, which
// must give the same pixels. The class library's icons, metafiles and JPEG images have no
// decoders below ui (the program installs them there): loading one reports so.
#include "RunFolder.h"
#include "imaging/GraphicCompression.h"
#include "imaging/RasterGraphics.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr uint64_t kMaxPixelsToWrite = 4u << 20;

void write(const std::string& path, const uint8_t* data, size_t size)
{
    if (!WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(data), size)))
        std::abort();
}

// The Windows bitmap written of the picture reads back as the same rows and colours.
void saveAndReadBack(const Bitmap& picture)
{
    if (picture.Empty() || picture.GetPixelFormat() == PixelFormat::None ||
        uint64_t(picture.Width()) * picture.Height() > kMaxPixelsToWrite)
        return;
    Bitmap plain;
    plain.Assign(picture);
    MemoryStream out;
    plain.SaveToStream(out);
    out.SetPosition(0);
    Bitmap back;
    back.LoadFromStream(out);
    if (back.GetPixelFormat() != picture.GetPixelFormat() || back.Width() != picture.Width() ||
        back.Height() != picture.Height())
        std::abort();
    for (uint32_t y = 0; y < picture.Height(); ++y)
        if (std::memcmp(back.ScanLine(y), picture.ScanLine(y), picture.BytesPerRow()) != 0)
            std::abort();
    const auto& before = picture.GetPalette().Entries();
    const auto& after = back.GetPalette().Entries();
    for (size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        if (before[i].red != after[i].red || before[i].green != after[i].green || before[i].blue != after[i].blue)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const auto& extensions = FileFormatList().Extensions();
    const std::string extension = extensions[data[0] % extensions.size()]->Extension;
    const std::string& folder = RunFolder("picture_files");
    const std::string picture = folder + "/Tile." + extension, palette = folder + "/TILE.PAL";
    ++data, --size;
    RemoveFile(palette);
    if (extension == "cut") {
        const size_t length = size >= 2 ? std::min<size_t>(data[0] | data[1] << 8, size - 2) : 0;
        const size_t skip = std::min<size_t>(size, 2);
        write(picture, data + skip, length);
        write(palette, data + skip + length, size - skip - length);
    } else {
        write(picture, data, size);
    }
    try {
        saveAndReadBack(*LoadPicture(picture));
    } catch (const ReadError&) {
    } catch (const EInvalidGraphic&) {
    } catch (const EGraphicCompression&) {
    } catch (const EColorConversionError&) {
    }
    return 0;
}
