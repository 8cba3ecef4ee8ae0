#pragma once
// Decoders of the compression schemes the readers meet. A reader creates the one its file
// needs, hands it packed bytes and a destination row, and frees it after the image.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

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
