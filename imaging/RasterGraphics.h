#pragma once
// What the image readers share: the raster graphic base (a bitmap that can recognise,
// describe and load one file format), the properties every reader fills from its header,
// and the list of formats by extension, mirrored into the platform's picture loading.
#include "imaging/GraphicColor.h"
#include "platform/Bitmap.h"
#include "platform/Picture.h"
#include "platform/StringList.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Stream;

enum TImageOption : uint8_t {
    ioTiled = 1 << 0,
    ioBigEndian = 1 << 1,
    ioMinIsWhite = 1 << 2,
    ioReversed = 1 << 3,
    ioUseGamma = 1 << 4,
};
using TImageOptions = uint8_t;

enum TCompressionType : uint8_t {
    ctUnknown, ctNone, ctRLE, ctPackedBits, ctLZW, ctFax3, ctFaxRLE, ctFax4, ctFaxRLEW, ctLZ77, ctJPEG, ctOJPEG,
    ctThunderscan, ctNext, ctIT8CTPAD, ctIT8LW, ctIT8MP, ctIT8BL, ctPixarFilm, ctPixarLog, ctDCS, ctJBIG,
    ctPCDHuffmann
};

struct TImageProperties {
    uint32_t Version = 0;
    TImageOptions Options = 0;
    uint32_t Width = 0, Height = 0;
    TColorScheme ColorScheme = csUnknown;
    uint8_t BitsPerSample = 0;
    uint8_t SamplesPerPixel = 0;
    uint8_t BitsPerPixel = 0;
    TCompressionType Compression = ctUnknown;
    float FileGamma = 0;
    float XResolution = 0, YResolution = 0;
    bool Interlaced = false;
    bool HasAlpha = false;
    uint32_t FirstIFD = 0;
    uint32_t PlanarConfig = 0;
    uint32_t CurrentRow = 0;
    uint32_t TileWidth = 0, TileLength = 0;
    uint32_t BytesPerLine = 0;
    std::vector<uint32_t> RowsPerStrip;
    std::vector<uint8_t> YCbCrSubSampling;
    std::vector<uint8_t> JPEGTables;
    uint32_t JPEGColorMode = 0, JPEGTablesMode = 0;
    uint32_t CurrentStrip = 0, StripCount = 0;
    uint32_t Predictor = 0;
    // Format tails: Photo CD, RLA, PSD, PNG.
    bool Overview = false;
    uint8_t Rotate = 0;
    uint16_t ImageCount = 0;
    bool BottomUp = false;
    uint8_t Channels = 0;
    uint8_t FilterMode = 0;
};

// Raises EInvalidGraphic with the message (formatted from one or two texts).
[[noreturn]] void RasterError(const std::string& message);
[[noreturn]] void RasterErrorFmt(const char* message, const std::string& argument);
[[noreturn]] void RasterErrorFmt(const char* message, const std::string& argument1, const std::string& argument2);

// For a reader's catch handler, so that only the image errors leave a load: the error being
// handled passes on when it is a short read, EInvalidGraphic, EGraphicCompression or
// EColorConversionError; any other stream fault (a seek before the start of the stream) and
// a number that does not convert become EInvalidGraphic with gesInvalidImage for the format.
// Other exceptions (out of memory, a reader's own fault) pass on as they are.
[[noreturn]] void RethrowImageError(const char* formatName);

// Whether the file's content suits the class; the file is opened for reading only.
bool CanLoadFile(const GraphicClass& graphicClass, const std::string& fileName);

class TRasterGraphic : public Bitmap {
public:
    TRasterGraphic() : ColorManager(std::make_unique<TColorManager>()) {}
    // A copy has the pixels and properties, and a colour manager of its own.
    TRasterGraphic(const TRasterGraphic& other)
        : Bitmap(other), ColorManager(std::make_unique<TColorManager>()), ImageProperties(other.ImageProperties)
    {
    }
    TRasterGraphic& operator=(const TRasterGraphic& other)
    {
        Assign(other);
        return *this;
    }

    void Assign(const Bitmap& source) override;

    // Base answers: cannot load anything.
    static bool CanLoad(Stream& stream);
    // Loads the picture from a resource built into the program (platform/Resources.h), by
    // number or by name. The instance names the module on Windows; here there is one.
    // Throws StreamError when no such resource is registered.
    void LoadFromResourceID(const void* instance, uint32_t resourceID);
    void LoadFromResourceName(const void* instance, const std::string& resourceName);
    // Empties the record, sets FileGamma 1.0 and answers false; readers call it first.
    virtual bool ReadImageProperties(Stream& stream, uint32_t imageIndex);

    std::unique_ptr<TColorManager> ColorManager;
    TImageProperties ImageProperties;
    uint64_t BasePosition = 0;
    Stream* Stream_ = nullptr;   // the stream being loaded, for readers that keep it; not owned
    Rect ProgressRect;

protected:
    // For the probes: true when more than size bytes remain and the first size of them were
    // read into buffer. The stream is back where it was either way.
    static bool PeekHeader(Stream& stream, void* buffer, std::size_t size);

    // Bytes of width x height pixels of bitsPerPixel each, rows rounded up to whole bytes:
    // the one cap (MaxImageBytes), checked from the header before anything is allocated,
    // against the bitmap a reader makes and against each buffer it holds at one time (a
    // row, a strip, or the whole picture's samples where it keeps them all). Past the cap
    // it raises TooLarge for a picture of that size.
    static std::size_t ImageBytes(uint64_t width, uint64_t height, uint64_t bitsPerPixel, const char* formatName);
    // The same for a buffer whose size is the product of the factors, of a picture of
    // width x height pixels, the size the error names.
    static std::size_t BufferBytes(std::initializer_list<uint64_t> factors, uint64_t width, uint64_t height,
                                   const char* formatName);
    // EInvalidGraphic with gesInvalidImage for the format, followed by the picture's size,
    // so that a picture refused for being too large is not taken for a damaged one.
    [[noreturn]] static void TooLarge(uint64_t width, uint64_t height, const char* formatName);

    // The load protocol: one "Transfering..." stage with a running event per row.
    void ProgressRow(uint32_t row, uint32_t rows);
};

enum TFormatType : uint8_t {
    ftAnimation = 1 << 0,
    ftLayered = 1 << 1,
    ftMultiImage = 1 << 2,
    ftRaster = 1 << 3,
    ftVector = 1 << 4,
};
using TFormatTypes = uint8_t;
inline constexpr TFormatTypes ftAll = ftAnimation | ftLayered | ftMultiImage | ftRaster | ftVector;

enum TFilterSortType { fstNone, fstBoth, fstDescription, fstExtension };
enum TFilterOption : uint8_t { foCompact = 1 << 0, foIncludeAll = 1 << 1, foIncludeExtension = 1 << 2 };
using TFilterOptions = uint8_t;

using TGraphicClass = const GraphicClass*;

struct TClassEntry {
    TGraphicClass GraphicClass = nullptr;
    std::string Description;
    uint32_t Count = 0;
};

struct TExtensionEntry {
    std::string Extension;
    std::string Description;
    TFormatTypes FormatTypes = 0;
    TClassEntry* ClassReference = nullptr;
};

class TFileFormatList {
public:
    // Mirrors every registration into the given platform picture loading.
    explicit TFileFormatList(PictureFormats& platform = PictureFormats::Instance()) : platform_(platform) {}
    ~TFileFormatList() { Clear(); }
    TFileFormatList(const TFileFormatList&) = delete;
    TFileFormatList& operator=(const TFileFormatList&) = delete;

    void RegisterFileFormat(std::string_view extension, std::string_view common, std::string_view individual,
                            TFormatTypes formatTypes, bool replace, TGraphicClass graphicClass);
    void UnregisterFileFormat(std::string_view extension, TGraphicClass graphicClass);
    void Clear();

    int FindExtension(std::string_view extension) const;
    int FindGraphicClass(TGraphicClass graphicClass) const;
    std::string GetDescription(TGraphicClass graphicClass) const;
    void GetExtensionList(StringList& list) const;
    std::string GetGraphicFilter(TFormatTypes formatTypes, TFilterSortType sortType, TFilterOptions options,
                                 TGraphicClass graphicClass) const;
    TGraphicClass GraphicFromExtension(std::string_view s) const;
    TGraphicClass GraphicFromContent(const std::string& fileName) const;
    // Leaves the stream where it was.
    TGraphicClass GraphicFromContent(Stream& stream) const;

    const std::vector<std::unique_ptr<TClassEntry>>& Classes() const { return classes_; }
    const std::vector<std::unique_ptr<TExtensionEntry>>& Extensions() const { return extensions_; }

private:
    void attach(TExtensionEntry& entry, std::string_view common, TGraphicClass graphicClass);
    void removeClassEntry(TClassEntry* entry);

    PictureFormats& platform_;
    std::vector<std::unique_ptr<TClassEntry>> classes_;
    std::vector<std::unique_ptr<TExtensionEntry>> extensions_;
};

// The program's format list, created and filled with every reader on first use (call it once
// at program start, before any picture is loaded) and emptied at program end.
TFileFormatList& FileFormatList();

// Registers the readers that exist, in the order of the registration table.
void RegisterImageFormats(TFileFormatList& list);
// The reverse, as done at program end.
void UnregisterImageFormats(TFileFormatList& list);

// Loads a picture from bytes by their content: the first registered reader that accepts
// them loads them. Null when no reader accepts the bytes; a reader's errors pass on.
std::unique_ptr<TRasterGraphic> LoadGraphicFromBytes(const void* data, std::size_t size);
