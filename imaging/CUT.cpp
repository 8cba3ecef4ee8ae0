#include "imaging/CUT.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Files.h"
#include "platform/Stream.h"

#include <vector>

namespace {

const char* const kFormatName = "CUT";
constexpr std::size_t kBlock = 512;

std::unique_ptr<Bitmap> create() { return std::make_unique<TCUTGraphic>(); }

} // namespace

const GraphicClass& TCUTGraphic::Class()
{
    // No content probe: detection by content never picks this reader.
    static const GraphicClass cls{"TCUTGraphic", &create, nullptr, true};
    return cls;
}

bool TCUTGraphic::CanLoad(Stream&)
{
    return false;
}

void TCUTGraphic::LoadFromFile(const std::string& fileName)
{
    std::string name = FileNameOf(fileName);
    std::string folder = fileName.substr(0, fileName.size() - name.size());
    auto dot = name.rfind('.');
    std::string palette = (dot == std::string::npos ? name : name.substr(0, dot)) + ".pal";
    // Pictures come from Windows: the palette file may be named in any letter case.
    auto found = FindNoCase(folder.empty() ? "." : folder, palette);
    paletteFile_ = found ? *found : folder + palette;
    try {
        TRasterGraphic::LoadFromFile(fileName);
    } catch (...) {
        paletteFile_.clear();
        throw;
    }
    paletteFile_.clear();
}

bool TCUTGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    SetPixelFormat(PixelFormat::Bits8);
    TImageProperties& p = ImageProperties;
    p.Width = stream.U16LE();
    p.Height = stream.U16LE();
    p.ColorScheme = csIndexed;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 1;
    p.BitsPerPixel = 8;
    p.Compression = ctRLE;
    return true;
}

void TCUTGraphic::LoadPalette()
{
    LogicalPalette logical;
    if (!paletteFile_.empty() && FileExists(paletteFile_)) {
        FileStream file(paletteFile_, FileStream::Mode::OpenRead);
        uint8_t block[kBlock];
        file.ReadBuffer(block, kBlock);
        // The logical palette holds 256 entries; a file that lists more gives its first 256.
        std::size_t count = std::min<std::size_t>(std::size_t(LoadU16LE(block + 12)) + 1, 256);
        std::size_t at = 40;
        for (std::size_t i = 0; i < count; ++i) {
            // An entry never crosses a block's end: the next block starts afresh.
            if (at > kBlock - 6) {
                file.ReadBuffer(block, kBlock);
                at = 0;
            }
            logical.entries.push_back({block[at], block[at + 2], block[at + 4], 0});
            at += 6;
        }
    } else {
        for (int i = 0; i < 256; ++i)
            logical.entries.push_back({uint8_t(i), uint8_t(i), uint8_t(i), 0});
    }
    SetPalette(Palette::Create(logical));
}

void TCUTGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0))
        return;
    const uint32_t width = ImageProperties.Width, height = ImageProperties.Height;
    // A picture without pixels is no picture.
    if (width == 0 || height == 0)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    ImageBytes(width, height, 8, kFormatName);
    stream.SetPosition(BasePosition + 6);
    // A packet codes at most 127 pixels in at least two bytes, and every row has its line
    // length and end code: a stream shorter than that cannot hold the picture it states.
    uint64_t least = uint64_t(height) * (2 + 2 * ((uint64_t(width) + 126) / 127) + 1);
    if (stream.Remaining() < least)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    ProgressRect = {0, 0, int32_t(width), 0};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);

    SetPixelFormat(PixelFormat::Bits8);
    SetSize(width, height);
    LoadPalette();

    // A row packs into its line length, a count byte for every 127 pixels and the end code:
    // bytes beyond what every row could take are never read.
    uint64_t most = uint64_t(height) * (2 * uint64_t(width) + 4);
    std::vector<uint8_t> packed(BufferBytes({std::min(stream.Remaining(), most)}, width, height, kFormatName));
    stream.ReadBuffer(packed.data(), packed.size());
    TCUTRLEDecoder decoder;
    const uint8_t* source = packed.data();
    const uint8_t* end = source + packed.size();
    for (uint32_t y = 0; y < height && !Empty(); ++y) {
        uint8_t* row = ScanLine(y);
        decoder.Decode(source, row, int32_t(end - source), int32_t(width));
        ProgressRow(y, height);
    }
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}
