#pragma once
// Tagged Image File Format images in either byte order. One image file directory (IFD) is
// read, and the image loaded strip by strip: the strip's decoder undoes the compression,
// horizontal differencing is undone, and the colour manager turns each row into a bitmap row.
// Tiled images and separate sample planes are refused. Writing TIFF is not offered.
#include "imaging/RasterGraphics.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TDecoder;

// The tags the reader looks at.
enum TIFFTag : uint16_t {
    tagImageWidth = 256,
    tagImageLength = 257,
    tagBitsPerSample = 258,
    tagCompression = 259,
    tagPhotometricInterpretation = 262,
    tagFillOrder = 266,
    tagStripOffsets = 273,
    tagSamplesPerPixel = 277,
    tagRowsPerStrip = 278,
    tagStripByteCounts = 279,
    tagXResolution = 282,
    tagYResolution = 283,
    tagPlanarConfiguration = 284,
    tagT4Options = 292,
    tagResolutionUnit = 296,
    tagPredictor = 317,
    tagColorMap = 320,
    tagTileWidth = 322,
    tagTileLength = 323,
    tagTileOffsets = 324,
    tagTileByteCounts = 325,
    tagExtraSamples = 338,
    tagJPEGTables = 347,
    tagYCbCrCoefficients = 529,
    tagYCbCrSubSampling = 530,
    tagYCbCrPositioning = 531,
};

// One 12-byte directory entry, after byte-order conversion (SwapIFD).
struct TIFDEntry {
    uint16_t Tag = 0;
    uint16_t DataType = 0;
    uint32_t DataLength = 0;   // number of values
    uint32_t Offset = 0;       // the values when they fit in four bytes, else where they are
    // The entry's last four bytes as the file stores them: values that fit there are read
    // from these in the file's byte order.
    std::array<uint8_t, 4> Inline{};
};

class TTIFFGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // More than 8 bytes remain, they start with "II" or "MM", version 42 and a first
    // directory offset inside the stream; the stream is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    // Reads the header at BasePosition and the directory ImageIndex (0 the first). False
    // when the file is not TIFF, the directory does not exist or the image has no size.
    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;
    // Raises EInvalidGraphic (gesCannotSave) before anything is written.
    void SaveToStream(Stream& stream) override;

    // The directory's entries, sorted by tag.
    const std::vector<TIFDEntry>& Directory() const { return IFD; }
    // Binary search of the sorted directory: true when found, Index then the entry's
    // position, else the position where it would be.
    bool FindTag(uint32_t Tag, std::size_t& Index) const;
    // A single BYTE, SHORT or LONG value (signed ones too); Default when the tag is absent or
    // of another type; the Offset field as it stands when the entry holds several values.
    uint32_t GetValue(uint32_t Tag, uint32_t Default) const;
    // The same, with Size = the entry's value count (0 when absent).
    uint32_t GetValue(uint32_t Tag, uint32_t& Size, uint32_t Default) const;
    // A single BYTE, SHORT, LONG or RATIONAL value as a float; Default otherwise, and for a
    // rational whose denominator is 0 or which lies outside the stream.
    float GetValue(Stream& stream, uint32_t Tag, float Default) const;
    // Every value of the tag, converted; empty when absent. Values that do not lie inside the
    // stream raise the invalid-image error. Float lists holding a rational with denominator
    // 0 come back empty, as if the tag were absent.
    void GetValueList(Stream& stream, uint32_t Tag, std::vector<uint8_t>& Values) const;
    void GetValueList(Stream& stream, uint32_t Tag, std::vector<uint32_t>& Values) const;
    void GetValueList(Stream& stream, uint32_t Tag, std::vector<float>& Values) const;
    void SortIFD();
    // Big-endian files: Tag, DataType and DataLength swapped; Offset swapped as one 32-bit
    // value, a single SHORT or SSHORT in its low 16 bits, values of less than four bytes in
    // all left as they are.
    void SwapIFD();

protected:
    static constexpr const char* FormatName = "TIF/TIFF";

    // Reads the directory at BasePosition + Offset into IFD, swapped and sorted; answers its
    // next directory's offset.
    uint32_t ReadIFD(Stream& stream, uint32_t Offset);
    std::vector<TIFDEntry> IFD;
    // 768 16-bit colour-map values (three planes of at most 256) as the file stores them.
    std::array<uint8_t, 2 * 768> ColorMap{};
    uint32_t YCbCrPositioning = 1;
    std::vector<float> YCbCrCoefficients{0.299f, 0.587f, 0.114f};

private:
    // The raw bytes of an entry's values and the entry; false when the tag is absent, holds
    // no values or has a type without a size.
    bool valueBytes(Stream& stream, uint32_t tag, const TIFDEntry*& entry, std::vector<uint8_t>& bytes) const;
    // Layouts the reader does not decode raise the unsupported-feature error.
    void checkLayout() const;
    void setUpColorManager();
    void makePalette(Stream& stream);
    std::unique_ptr<TDecoder> CreateDecoder(Stream& stream);
    // The strip offsets and byte counts; a file whose strips cannot hold the picture it
    // states is refused.
    void readStripLists(Stream& stream, bool compressed, std::vector<uint32_t>& offsets,
                        std::vector<uint32_t>& byteCounts);
    void readStrips(Stream& stream, TDecoder* decoder, const std::vector<uint32_t>& offsets,
                    const std::vector<uint32_t>& byteCounts);
    void undoPredictor(uint8_t* row) const;
    // One row of grey with alpha into a 32-bit bitmap row.
    void spreadGreyAlpha(const uint8_t* row, uint8_t* target) const;
};
