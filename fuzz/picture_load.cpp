// Loads any registered picture from bytes: first by content, as the format list chooses,
// then with every registered reader regardless of what its probe says. A loaded picture is
// written back as Targa. Only the readers' own errors may escape a load.
#include "imaging/GraphicCompression.h"
#include "imaging/RasterGraphics.h"
#include "imaging/Targa.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>

namespace {

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
        if (auto picture = LoadGraphicFromBytes(data, size)) {
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
