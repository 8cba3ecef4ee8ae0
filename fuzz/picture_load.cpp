// Loads any registered picture from bytes: first by content, as the format list chooses,
// then with every registered reader regardless of what its probe says. A loaded picture of
// modest size is written back as Targa. Only the readers' own errors may escape a load.
#include "imaging/GraphicCompression.h"
#include "imaging/RasterGraphics.h"
#include "imaging/Targa.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr uint64_t kMaxPixelsToWrite = 4u << 20;

void loadQuietly(TRasterGraphic& graphic, const uint8_t* data, size_t size)
{
    ReadOnlyMemoryStream stream(data, size);
    try {
        graphic.LoadFromStream(stream);
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
        // Writing is checked on pictures of modest size: a large one only slows the fuzzer.
        auto picture = LoadGraphicFromBytes(data, size);
        if (picture && uint64_t(picture->Width()) * picture->Height() <= kMaxPixelsToWrite) {
            TTargaGraphic copy;
            copy.Assign(*picture);
            MemoryStream out;
            copy.SaveToStream(out, true);
        }
    } catch (const ReadError&) {
    } catch (const EInvalidGraphic&) {
    } catch (const EGraphicCompression&) {
    } catch (const EColorConversionError&) {
    }
    for (const auto& entry : list.Classes()) {
        std::unique_ptr<Bitmap> instance = entry->GraphicClass->create();
        if (auto* raster = dynamic_cast<TRasterGraphic*>(instance.get()))
            loadQuietly(*raster, data, size);
    }
    return 0;
}
