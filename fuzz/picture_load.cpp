// Loads any registered picture from bytes: first by content, as the format list chooses,
// then with every registered reader regardless of what its probe says, the plain bitmap's
// Windows bitmap reader among them. A loaded picture of modest size is written back as
// Targa. Only the readers' own errors may escape a load.
#include "imaging/GraphicCompression.h"
#include "imaging/RasterGraphics.h"
#include "imaging/Targa.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr uint64_t kMaxPixelsToWrite = 4u << 20;

// Writing is checked on pictures of modest size: a large one only slows the fuzzer.
void writeAsTarga(const Bitmap& picture)
{
    if (uint64_t(picture.Width()) * picture.Height() > kMaxPixelsToWrite)
        return;
    TTargaGraphic copy;
    copy.Assign(picture);
    MemoryStream out;
    copy.SaveToStream(out, true);
}

void loadQuietly(Bitmap& graphic, const uint8_t* data, size_t size, bool write)
{
    ReadOnlyMemoryStream stream(data, size);
    try {
        graphic.LoadFromStream(stream);
        if (write)
            writeAsTarga(graphic);
    } catch (const ReadError&) {
    } catch (const EInvalidGraphic&) {
    } catch (const EGraphicCompression&) {
    } catch (const EColorConversionError&) {
    }
    // Whatever was loaded, its rows must all be there.
    for (uint32_t y = 0; !graphic.Empty() && graphic.GetPixelFormat() != PixelFormat::None && y < graphic.Height(); ++y)
        if (!graphic.ScanLine(y))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFileFormatList& list = FileFormatList();
    try {
        if (auto picture = LoadGraphicFromBytes(data, size))
            writeAsTarga(*picture);
    } catch (const ReadError&) {
    } catch (const EInvalidGraphic&) {
    } catch (const EGraphicCompression&) {
    } catch (const EColorConversionError&) {
    }
    // The class library's icons, metafiles and JPEG images have no decoders below ui.
    for (const auto& entry : list.Classes()) {
        const GraphicClass& graphicClass = *entry->GraphicClass;
        if (!graphicClass.raster && &graphicClass != &Bitmap::Class())
            continue;
        loadQuietly(*graphicClass.create(), data, size, !graphicClass.raster);
    }
    return 0;
}
