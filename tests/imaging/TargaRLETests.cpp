// The Targa run-length decoder and encoder on their own; the fixtures decode real files and
// round-trip each of them through the encoder.
#include "imaging/GraphicCompression.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes encode(uint32_t depth, const Bytes& pixels, uint32_t count)
{
    TTargaRLEDecoder e(depth);
    Bytes out(pixels.size() * 2 + 2, 0);
    uint32_t stored = 12345;
    e.Encode(pixels.data(), out.data(), count, stored);
    out.resize(stored);
    return out;
}

// Decodes pixels from packed[from...] into a row of rowSize 0xEE bytes; gives the row and
// where the source stopped.
std::pair<Bytes, std::ptrdiff_t> decode(TTargaRLEDecoder& d, const Bytes& packed, std::size_t from, int pixels,
                                        std::size_t rowSize)
{
    Bytes row(rowSize, 0xEE);
    const uint8_t* src = packed.data() + from;
    uint8_t* dst = row.data();
    d.Decode(src, dst, int32_t(packed.size() - from), pixels);
    EXPECT_EQ(dst, row.data()) << "Dest is left as passed";
    return {row, src - packed.data()};
}

TEST(TargaRLEDecoder, StaysInsideSourceAndTarget)
{
    TTargaRLEDecoder d(8);
    d.DecodeInit();
    const Bytes packed{0xFF, 5, 0x00, 6};
    // A run of 128 into a 2-pixel row: only 2 pixels are written, the rest waits for the
    // next row, which takes them before any new packet.
    EXPECT_EQ(decode(d, packed, 0, 2, 4), std::pair(Bytes{5, 5, 0xEE, 0xEE}, std::ptrdiff_t(2)));
    EXPECT_EQ(decode(d, packed, 2, 126, 126), std::pair(Bytes(126, 5), std::ptrdiff_t(2)));
    d.DecodeInit();   // a fresh image starts clean
    EXPECT_EQ(decode(d, packed, 2, 1, 1), std::pair(Bytes{6}, std::ptrdiff_t(4)));

    // Packets that need more bytes than given raise instead of reading on.
    for (const Bytes& cut : {Bytes{0x03, 1, 2}, Bytes{0x80}, Bytes{}, Bytes{0x80, 1, 0x00}}) {
        TTargaRLEDecoder t(8);
        EXPECT_THROW(decode(t, cut, 0, 4, 4), EGraphicCompression);
    }
    // Unknown depths and empty rows decode nothing.
    TTargaRLEDecoder twelve(12);
    EXPECT_EQ(decode(twelve, packed, 0, 1, 1).second, 0);
    EXPECT_EQ(decode(d, packed, 0, 0, 1).second, 0);
}

TEST(TargaRLEEncoder, PacketsAsExpected)
{
    EXPECT_EQ(encode(8, {5, 5, 5, 6}, 4), (Bytes{0x82, 5, 0x00, 6}));
    EXPECT_EQ(encode(8, {1, 2, 3}, 3), (Bytes{0x01, 1, 2, 0x00, 3}));
    EXPECT_EQ(encode(8, {1, 2, 2}, 3), (Bytes{0x00, 1, 0x81, 2}));
    EXPECT_EQ(encode(8, {}, 0), Bytes{});
    // 15-bit pixels take whole words, compared as such: 0x0102 and 0x0201 differ.
    EXPECT_EQ(encode(15, {1, 2, 2, 1, 2, 1}, 3), (Bytes{0x00, 1, 2, 0x81, 2, 1}));

    Bytes same;
    for (int i = 0; i < 300; ++i)
        same.insert(same.end(), {1, 2, 3});
    EXPECT_EQ(encode(24, same, 300), (Bytes{0xFF, 1, 2, 3, 0xFF, 1, 2, 3, 0xAB, 1, 2, 3}));
    // 200 differing pixels: a raw packet of 128, then 71, then the last pixel on its own.
    Bytes differing(200);
    std::iota(differing.begin(), differing.end(), 0);
    Bytes packed = encode(8, differing, 200);
    ASSERT_EQ(packed.size(), 1u + 128 + 1 + 71 + 1 + 1);
    EXPECT_EQ(packed[0], 127);
    EXPECT_EQ(packed[129], 70);
    EXPECT_EQ(packed[201], 0);
}

} // namespace
