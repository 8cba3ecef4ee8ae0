// The ThunderScan and Photo CD decoders of GraphicCompression.
#include "imaging/GraphicCompression.h"

#include "platform/Stream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

const int kDelta2[4] = {0, 1, 0, -1};             // field 2 puts nothing
const int kDelta3[8] = {0, 1, 2, 3, 0, -3, -2, -1};   // field 4 puts nothing

} // namespace

void TThunderDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    const uint8_t* in = Source;
    const uint8_t* const inEnd = in + std::max(PackedSize, 0);
    const std::size_t size = std::size_t(std::max(UnpackedSize, 0));
    std::memset(Dest, 0, size);
    const std::size_t rowBytes = (std::size_t(Width) + 1) / 2;
    if (rowBytes == 0)
        return;
    uint8_t* const end = Dest + size / rowBytes * rowBytes;
    for (uint8_t* row = Dest; row < end && in < inEnd; row += rowBytes) {
        uint32_t count = 0;
        unsigned last = 0;
        auto put = [&](unsigned pixel) {
            if (count == Width)
                return;
            last = pixel & 0xF;
            if (count & 1)
                row[count >> 1] |= uint8_t(last);
            else
                row[count >> 1] = uint8_t(last << 4);
            ++count;
        };
        while (count < Width && in < inEnd) {
            const unsigned code = *in++;
            switch (code >> 6) {
            case 0: {   // a run of the last pixel
                unsigned n = code & 0x3F;
                if (n > 0 && (count & 1)) {   // the half-filled byte is completed first
                    put(last);
                    --n;
                }
                // A run that would pass the row's end puts nothing more and ends the row,
                // whose remaining pixels stay 0, as libtiff decodes such rows.
                if (count + n > Width) {
                    count = Width;
                    break;
                }
                for (; n > 0; --n)
                    put(last);
                break;
            }
            case 1:
                for (int shift = 4; shift >= 0; shift -= 2) {
                    unsigned field = (code >> shift) & 3;
                    if (field != 2)
                        put(last + unsigned(kDelta2[field]));
                }
                break;
            case 2:
                for (int shift = 3; shift >= 0; shift -= 3) {
                    unsigned field = (code >> shift) & 7;
                    if (field != 4)
                        put(last + unsigned(kDelta3[field]));
                }
                break;
            default: put(code); break;
            }
        }
    }
}

void TThunderDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

namespace {

// The Photo CD bit reader: a 32-bit window whose highest bit is the next one to decode. The
// code tables are read from its low byte(s) just after a shift, which brings in the bytes
// three ahead of that; the shifts that follow the tables move the window on to them.
class PCDBits {
public:
    explicit PCDBits(Stream& stream) : stream_(stream), buffer_(2048) {}

    uint32_t acc = 0;

    void shift(int n)
    {
        acc = n < 32 ? acc << n : 0;
        count_ -= n;
        top_ += n;
        while (count_ <= 24) {
            acc |= uint32_t(nextByte()) << (24 - count_);
            count_ += 8;
        }
    }

    // Every bit of the stream has passed the window's top.
    bool ended() const { return streamEnded_ && top_ >= 8 * int64_t(loaded_); }

private:
    uint8_t nextByte()
    {
        if (at_ == filled_ && !streamEnded_) {
            filled_ = stream_.Read(buffer_.data(), buffer_.size());
            at_ = 0;
            loaded_ += filled_;
            streamEnded_ = filled_ == 0;
        }
        return at_ < filled_ ? buffer_[at_++] : 0;
    }

    Stream& stream_;
    std::vector<uint8_t> buffer_;
    std::size_t at_ = 0, filled_ = 0;
    uint64_t loaded_ = 0;
    bool streamEnded_ = false;
    int count_ = 32;
    int64_t top_ = -32;   // stream bit at the window's top; the window starts before the data
};

struct PCDCode {
    uint8_t length;
    uint32_t sequence;   // the code in the top `length` bits
    uint8_t key;         // the step, as a signed byte
    uint32_t mask;
};

bool isSync(uint32_t acc) { return (acc & 0xFFFFFF00) == 0xFFFFFE00; }

// To the next sync mark; false when the stream ends first.
bool findSync(PCDBits& bits)
{
    while ((bits.acc & 0xFFF000) != 0xFFF000) {
        if (bits.ended())
            return false;
        bits.shift(8);
    }
    while (!isSync(bits.acc)) {
        if (bits.ended())
            return false;
        bits.shift(1);
    }
    return true;
}

} // namespace

void TPCDDecoder::Decode(const TPCDPlanes& Planes, uint32_t Width, uint32_t Rows)
{
    PCDBits bits(stream_);
    std::array<std::vector<PCDCode>, 3> tables;
    const int tableCount = Width > 1536 ? 3 : 1;
    for (int t = 0; t < tableCount; ++t) {
        bits.shift(8);
        uint32_t entries = (bits.acc & 0xFF) + 1;
        for (uint32_t i = 0; i < entries; ++i) {
            PCDCode c;
            bits.shift(8);
            uint32_t length = (bits.acc & 0xFF) + 1;
            if (length > 16 || bits.ended())
                return;
            c.length = uint8_t(length);
            bits.shift(16);
            c.sequence = (bits.acc & 0xFFFF) << 16;
            bits.shift(8);
            c.key = uint8_t(bits.acc & 0xFF);
            c.mask = ~(0xFFFFFFFFu >> length);
            tables[std::size_t(t)].push_back(c);
        }
    }
    bits.shift(16);
    bits.shift(16);
    if (!findSync(bits))
        return;

    // The row being corrected: its next sample and its end; none between a full row (or a
    // row outside the planes) and the next sync mark.
    uint8_t* target = nullptr;
    uint8_t* rowEnd = nullptr;
    const std::vector<PCDCode>* table = nullptr;
    for (;;) {
        if (bits.ended())
            return;
        if (isSync(bits.acc)) {
            bits.shift(16);
            uint32_t row = (bits.acc >> 9) & 0x1FFF;
            if (row == Rows)
                return;
            bits.shift(8);
            uint32_t plane = bits.acc >> 30;
            bits.shift(16);
            uint8_t* base = nullptr;
            uint32_t planeRow = row;
            switch (plane) {
            case 0: base = Planes.Luma, table = &tables[0]; break;
            case 1: return;
            case 2: base = Planes.Chroma1, planeRow = row / 2, table = &tables[1]; break;
            default: base = Planes.Chroma2, planeRow = row / 2, table = &tables[2]; break;
            }
            target = rowEnd = nullptr;
            if (base && planeRow < Rows) {
                target = base + std::size_t(planeRow) * Width;
                rowEnd = target + Width;
            }
            continue;
        }
        const PCDCode* code = nullptr;
        if (target && target < rowEnd)
            for (const PCDCode& c : *table)
                if ((bits.acc & c.mask) == c.sequence) {
                    code = &c;
                    break;
                }
        if (!code) {
            if (!findSync(bits))
                return;
            continue;
        }
        *target = uint8_t(std::clamp(int(*target) + int(int8_t(code->key)), 0, 255));
        ++target;
        bits.shift(code->length);
    }
}

void TPCDDecoder::Decode(const uint8_t*&, uint8_t*&, int32_t, int32_t)
{
    throw std::logic_error("Photo CD corrections need their planes by name");
}

void TPCDDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}
