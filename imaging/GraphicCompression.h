#pragma once
// Decoders of the compression schemes the readers meet. A reader creates the one its file
// needs, hands it packed bytes and a destination row, and frees it after the image.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class Stream;
struct TImageProperties;

class EGraphicCompression : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void CompressionError(const std::string& message);

class TDecoder {
public:
    virtual ~TDecoder() = default;
    // Expands at most PackedSize bytes from Source into UnpackedSize units (pixels or bytes,
    // as the scheme counts) at Dest. Whether Source is moved past what was consumed is the
    // scheme's to say. Never reads or writes outside those bounds.
    virtual void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) = 0;
    virtual void DecodeEnd() {}
    virtual void DecodeInit() {}
    // Only the schemes the writers use can encode; the others throw EGraphicCompression.
    virtual void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored);
    virtual void EncodeInit() {}
    virtual void EncodeEnd() {}
};

// Targa run-length packets: a header byte H, N = (H & 0x7F) + 1 pixels; with bit 7 set one
// pixel value repeated N times follows, else N pixel values. Pixels are copied byte for byte.
// A packet may run past the end of a row: the rest of it carries into the next Decode
// call (the next row), so DecodeInit must start each image.
class TTargaRLEDecoder : public TDecoder {
public:
    explicit TTargaRLEDecoder(uint32_t colorDepth) : ColorDepth(colorDepth) {}

    // Bytes of one Targa pixel of that many bits: 1, 2, 2, 3, 4 for 8, 15, 16, 24, 32;
    // 0 for any other size.
    static int PixelBytes(uint32_t colorDepth);

    // UnpackedSize counts pixels. Throws EGraphicCompression when the packets for
    // UnpackedSize pixels need more than PackedSize bytes.
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void DecodeInit() override;
    // Dest must hold twice the unpacked size of Count pixels.
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;

    const uint32_t ColorDepth;

private:
    // What is left of a packet that ran past the end of the previous row.
    uint32_t pendingCount_ = 0;
    bool pendingRun_ = false;
    uint8_t runPixel_[4] = {};
};

// The byte-oriented run-length schemes of the other readers. Each reads at most PackedSize
// bytes and writes at most UnpackedSize bytes, whatever the data says; target bytes the data
// does not reach are set to 0. None raises: damaged data gives a wrong picture, never a read
// or write outside the buffers. They only decode; Encode writes nothing.

// TIFF PackBits and Photoshop channels: a signed header n; 0..127 copies n + 1 bytes,
// -127..-1 repeats the next byte 1 - n times, -128 is skipped. Source is not moved.
class TPackbitsRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;
};

// PCX: a byte with both top bits set repeats the next byte (its low six bits) times; any
// other byte stands for itself. Source is not moved.
class TPCXRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;
    // Bytes the last Decode wrote from the data; what the data did not reach it zeroed.
    std::size_t Produced = 0;
};

// SGI rows of 8- or 16-bit samples: a control value whose low seven bits count samples, bit 7
// set for that many literal samples, clear for one sample repeated; a count of 0 ends the
// row. 16-bit control values and samples are big-endian words, copied as stored. Sizes are
// in bytes. Source is not moved.
class TSGIRLEDecoder : public TDecoder {
public:
    explicit TSGIRLEDecoder(uint8_t sampleSize) : SampleSize(sampleSize) {}
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;

    const uint8_t SampleSize;   // bits: 8 or 16
};

// Dr. Halo CUT rows: a 2-byte line length (skipped), then bytes b: 0 ends the row, bit 7 set
// repeats the next byte (b & 0x7F) times, clear copies (b & 0x7F) bytes. Source is left just
// after the row's end code (or at the end of the bytes given), so successive calls walk
// successive rows.
class TCUTRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;
};

// Paint Shop Pro channel blocks: b < 128 copies b bytes, else repeats the next byte b - 128
// times. Source is not moved.
class TPSPRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;
};

// Alias/Wavefront RLA channel runs: a signed n; n >= 0 repeats the next byte n + 1 times,
// n < 0 copies -n bytes. Source is not moved.
class TRLADecoder : public TDecoder {
public:
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;
};

struct z_stream_s;

// Deflate (zlib) data through zlib's inflate. It can be fed piece by piece: without auto
// reset each Decode goes on with the same stream, with it each call starts a new one. Decode
// raises nothing; the last zlib result is kept and, once not 0 (stream end or an error),
// stops every later Decode until a reset.
class TLZ77Decoder : public TDecoder {
public:
    // FlushMode: the zlib flush value given to every inflate call (1 partial, 4 finish).
    TLZ77Decoder(int FlushMode, bool AutoReset);
    // Ends the stream when DecodeEnd was not reached (an error stopped decoding early).
    ~TLZ77Decoder() override;
    TLZ77Decoder(const TLZ77Decoder&) = delete;
    TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

    // Moves Source and Dest past what was consumed and produced.
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void DecodeInit() override;
    void DecodeEnd() override;
    void Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) override {}

    // Compressed bytes not yet consumed, and room left in the last output window.
    uint32_t GetAvailableInput() const;
    uint32_t GetAvailableOutput() const;
    // The last result of inflate or its reset: 0 going on, 1 stream end, negative an error.
    int Status() const { return FStatus; }

private:
    std::unique_ptr<z_stream_s> FStream;
    int FStatus = 0;
    int FFlushMode;
    bool FAutoReset;
    bool FStarted = false;
};

// ---- bilevel fax data (TIFF compressions 2, 3 and 32771) ----

// One node of a fax code tree: the next node for input bit 0 and for bit 1 (0: none; the
// root, node 0, is never a child) and, for a node that ends a code, its run length: 0..2560,
// -1 for EOL, -2 for codes that are invalid or fill (and for bits that end inside no code).
struct TStateEntry {
    uint32_t NewState[2] = {0, 0};
    int32_t RunLength = -2;
};
using TStateArray = std::vector<TStateEntry>;

// The one-dimensional modified Huffman code of ITU-T T.4. Output rows are Width bits, most
// significant bit first, 1 black, each row padded to whole bytes. Input bytes are never
// changed: with SwapBits (fill order least significant bit first) each byte is read through
// a reversal table. A decoder reads at most PackedSize bytes and writes at most
// UnpackedSize bytes (whole rows only; what the data does not reach stays white); runs are
// cut at the row's end. Source and Dest are not moved. Bad data gives a wrong picture;
// nothing is raised for it. Encode writes nothing.
class TCCITTDecoder : public TDecoder {
public:
    TCCITTDecoder(int32_t Options, bool SwapBits, bool WordAligned, uint32_t Width);
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;

    // The white and black code trees, with EOL and the fill and invalid codes in both.
    static void MakeStates(TStateArray& White, TStateArray& Black);

    struct Code {
        int16_t run;
        uint8_t length;   // bits the code takes
    };
    static constexpr int kLookupBits = 13;   // the longest code

protected:
    static constexpr int32_t kEndOfData = -3;   // from the finders: the data ended first

    // Run lengths of the next code of each colour; a make-up code and the terminating code
    // after it are read as one run. -1 EOL, -2 invalid or fill, kEndOfData.
    int32_t FindWhiteCode() { return findCode(white_); }
    int32_t FindBlackCode() { return findCode(black_); }
    // The next input bit; false also once the data is used up.
    bool NextBit();
    // After a code of -2: whether it was the extension prefix followed by the bits that
    // enter uncompressed mode. Reads nothing.
    bool uncompressedModeFollows();
    // Writes a run of the current colour, cut at the row's end; true when the row is full.
    bool FillRun(int32_t RunLength);

    void startStrip(const uint8_t* source, int32_t packedSize, uint8_t* dest, int32_t unpackedSize);
    // Moves to the next output row; false when the output is full.
    bool nextRow();
    bool inputLeft() const { return bits_ > 0 || in_ < inEnd_; }
    // Skips input to the next multiple of `bits` counted from the strip's first byte.
    void alignInput(unsigned bits);

    const int32_t options_;   // the T.4 options word
    const bool wordAligned_;
    const uint32_t width_;
    bool isWhite_ = true;

private:
    int32_t findCode(const Code* table);
    void refill();

    const uint8_t* bitOrder_;   // identity or reversal
    const Code* white_;
    const Code* black_;
    const uint8_t *start_ = nullptr, *in_ = nullptr, *inEnd_ = nullptr;
    uint64_t acc_ = 0;   // unread bits, the next one highest
    int bits_ = 0;
    int lastLength_ = 0;   // bits of the last special code read
    uint8_t *row_ = nullptr, *out_ = nullptr, *outEnd_ = nullptr;
    std::size_t rowBytes_ = 0;
    uint32_t position_ = 0;   // pixels written in the current row
};

// Group 3 one-dimensional data: every row starts after an EOL code (fill bits before it are
// skipped). Two-dimensional coding (T4Options bit 0) is refused with EGraphicCompression;
// where bit 1 allows uncompressed mode, data that enters it is refused the same way.
class TCCITTFax3Decoder : public TCCITTDecoder {
public:
    using TCCITTDecoder::TCCITTDecoder;
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
};

// Modified Huffman data without EOL codes: each row starts on a byte boundary of the input,
// with WordAligned (TIFF compression 32771) on a 16-bit boundary counted from the strip's start.
class TCCITTMHDecoder : public TCCITTDecoder {
public:
    using TCCITTDecoder::TCCITTDecoder;
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
};

// ---- ThunderScan and Photo CD ----

// ThunderScan 4-bit grey (TIFF compression 32809): bytes whose top two bits choose a run of
// the last pixel, three 2-bit or two 3-bit deltas to it, or a raw pixel. Rows are Width
// pixels in (Width + 1) / 2 bytes, the first pixel in the high half; each row starts from
// pixel 0 and ends when it is full. Deltas past the end are dropped; a run that would pass
// it ends the row, putting only the pixel that completes a half-filled byte and leaving the
// rest 0, as libtiff does. Reads at most PackedSize bytes, writes
// whole rows within UnpackedSize bytes (what the data does not reach is 0). Source and Dest
// are not moved. Encode writes nothing.
class TThunderDecoder : public TDecoder {
public:
    explicit TThunderDecoder(uint32_t Width) : Width(Width) {}
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;

    const uint32_t Width;
};

// The three planes a Photo CD image is corrected in, each Width x Rows bytes, row after row.
struct TPCDPlanes {
    uint8_t* Luma;
    uint8_t* Chroma1;
    uint8_t* Chroma2;
};

// The Huffman-coded corrections of the higher Photo CD resolutions, read from the stream at
// its position: code tables (one below 1537 pixels of width, else one per plane), then rows
// announced by sync marks; each code adds a signed step to the next sample of its row,
// clamped to 0..255. Writes stay inside the rows and planes given; a row that is full, a code
// no table holds, or a row number outside the planes skips to the next sync mark. The decode
// ends at the end of the stream, at a mark announcing row number Rows, at a plane code of 1
// or at a code table entry longer than 16 bits, quietly. Encode writes nothing.
class TPCDDecoder : public TDecoder {
public:
    explicit TPCDDecoder(Stream& stream) : stream_(stream) {}

    void Decode(const TPCDPlanes& Planes, uint32_t Width, uint32_t Rows);
    // The planes cannot come as bytes: this one throws std::logic_error.
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;

private:
    Stream& stream_;
};

// ---- JPEG in TIFF (compression 7) ----

// Each strip (or tile) is a JPEG stream, decoded by libjpeg; the quantisation and Huffman
// tables may come once for all strips in the TIFF's JPEG tables field. The frame must match
// the TIFF's description (size of the strip, components, precision, sampling factors), else
// EGraphicCompression says which. Grey strips decode to grey bytes, colour strips (YCbCr or
// RGB) to red, green, blue; a strip yields only the rows that remain in the image. A fatal
// error inside libjpeg becomes EGraphicCompression; the library's warnings, and data that
// ends early (decoded as if it ended there), are shown in a warning box through the
// application's dialogs. Source and Dest are not moved. Encode writes nothing.
class TTIFFJPEGDecoder : public TDecoder {
public:
    // Properties is the TIFF's record, read at each Decode: it must outlive the decoder.
    explicit TTIFFJPEGDecoder(const TImageProperties& Properties);
    ~TTIFFJPEGDecoder() override;

    // Creates the decompressor and reads the JPEG tables field, when there is one.
    void DecodeInit() override;
    void Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize) override;
    // Releases the decompressor (also done when the decoder is freed).
    void DecodeEnd() override;
    void Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored) override;

    struct State;

private:
    [[noreturn]] void fail(const char* message);

    const TImageProperties& properties_;
    std::unique_ptr<State> state_;
};
