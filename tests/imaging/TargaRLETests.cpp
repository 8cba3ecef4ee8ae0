// The Targa run-length decoder and encoder on their own.
#include "imaging/GraphicCompression.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Decodes `pixels` pixels from `packed`; returns the output and how far the source moved.
std::pair<Bytes, std::size_t> decode(uint32_t depth, const Bytes& packed, int pixels, int pixelBytes)
{
    TTargaRLEDecoder d(depth);
    d.DecodeInit();
    Bytes out(std::size_t(pixels * pixelBytes), 0xEE);
    const uint8_t* src = packed.data();
    uint8_t* dst = out.data();
    d.Decode(src, dst, int32_t(packed.size()), pixels);
    EXPECT_EQ(dst, out.data()) << "Dest is left as passed";
    return {out, std::size_t(src - packed.data())};
}

Bytes encode(uint32_t depth, const Bytes& pixels, uint32_t count)
{
    TTargaRLEDecoder e(depth);
    Bytes out(pixels.size() * 2 + 2, 0);
    uint32_t stored = 12345;
    e.Encode(pixels.data(), out.data(), count, stored);
    out.resize(stored);
    return out;
}

TEST(TargaRLEDecoder, RunAndRawPackets)
{
    auto [run, used] = decode(24, {0x82, 1, 2, 3}, 3, 3);
    EXPECT_EQ(run, (Bytes{1, 2, 3, 1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(used, 4u);
    auto [raw, used8] = decode(8, {0x01, 7, 9}, 2, 1);
    EXPECT_EQ(raw, (Bytes{7, 9}));
    EXPECT_EQ(used8, 3u);
    auto [words, used16] = decode(16, {0x81, 0x34, 0x12, 0x00, 0xCD, 0xAB}, 3, 2);
    EXPECT_EQ(words, (Bytes{0x34, 0x12, 0x34, 0x12, 0xCD, 0xAB}));
    EXPECT_EQ(used16, 6u);
    auto [quads, used32] = decode(32, {0x80, 1, 2, 3, 4, 0x80, 5, 6, 7, 8}, 2, 4);
    EXPECT_EQ(quads, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(used32, 10u);
}

TEST(TargaRLEDecoder, StaysInsideSourceAndTarget)
{
    // A run of 128 into a 2-pixel row: only 2 pixels are written, the rest waits.
    TTargaRLEDecoder d(8);
    d.DecodeInit();
    Bytes packed{0xFF, 5, 0x00, 6};
    Bytes out(4, 0xEE);
    const uint8_t* src = packed.data();
    uint8_t* dst = out.data();
    d.Decode(src, dst, int32_t(packed.size()), 2);
    EXPECT_EQ(out, (Bytes{5, 5, 0xEE, 0xEE}));
    EXPECT_EQ(src, packed.data() + 2);
    // The next row takes the remaining 126 pixels of the run before any new packet.
    Bytes next(126, 0);
    dst = next.data();
    d.Decode(src, dst, int32_t(packed.data() + packed.size() - src), 126);
    EXPECT_EQ(next, Bytes(126, 5));
    EXPECT_EQ(src, packed.data() + 2);
    // A fresh image starts clean.
    d.DecodeInit();
    src = packed.data() + 2;
    dst = out.data();
    d.Decode(src, dst, 2, 1);
    EXPECT_EQ(out[0], 6);

    // Packets that need more bytes than given raise instead of reading on.
    for (const Bytes& cut : {Bytes{0x03, 1, 2}, Bytes{0x80}, Bytes{}, Bytes{0x80, 1, 0x00}}) {
        TTargaRLEDecoder t(8);
        t.DecodeInit();
        Bytes target(4, 0);
        const uint8_t* s = cut.data();
        uint8_t* o = target.data();
        EXPECT_THROW(t.Decode(s, o, int32_t(cut.size()), 4), EGraphicCompression);
    }
    // Unknown depths and empty rows decode nothing.
    Bytes src2{0x80, 1};
    for (auto [depth, count] : {std::pair{12u, 1}, std::pair{8u, 0}}) {
        TTargaRLEDecoder t(depth);
        const uint8_t* s = src2.data();
        uint8_t* o = nullptr;
        t.Decode(s, o, 2, count);
        EXPECT_EQ(s, src2.data());
    }
}

TEST(TargaRLEEncoder, PacketsAsExpected)
{
    EXPECT_EQ(encode(8, {5, 5, 5, 6}, 4), (Bytes{0x82, 5, 0x00, 6}));
    EXPECT_EQ(encode(8, {1, 2, 3}, 3), (Bytes{0x01, 1, 2, 0x00, 3}));
    EXPECT_EQ(encode(8, {1, 2, 2}, 3), (Bytes{0x00, 1, 0x81, 2}));
    EXPECT_EQ(encode(8, {4}, 1), (Bytes{0x00, 4}));
    EXPECT_EQ(encode(8, {}, 0), Bytes{});

    Bytes same(300 * 3);
    for (std::size_t i = 0; i < same.size(); i += 3)
        same[i] = 1, same[i + 1] = 2, same[i + 2] = 3;
    EXPECT_EQ(encode(24, same, 300), (Bytes{0xFF, 1, 2, 3, 0xFF, 1, 2, 3, 0xAB, 1, 2, 3}));

    // 200 differing pixels: a raw packet of 128, then the rest.
    Bytes differing(200);
    for (int i = 0; i < 200; ++i)
        differing[i] = uint8_t(i);
    Bytes packed = encode(8, differing, 200);
    ASSERT_EQ(packed.size(), 1u + 128 + 1 + 71 + 1 + 1);
    EXPECT_EQ(packed[0], 127);
    EXPECT_EQ(packed[129], 70);
    EXPECT_EQ(packed[201], 0);
    EXPECT_EQ(packed[202], 199);

    // 16-bit pixels compare as whole words: 0x0102 and 0x0201 differ.
    EXPECT_EQ(encode(16, {1, 2, 2, 1}, 2), (Bytes{0x00, 1, 2, 0x00, 2, 1}));
    EXPECT_EQ(encode(15, {7, 7, 7, 7}, 2), (Bytes{0x81, 7, 7}));
}

TEST(TargaRLE, RoundTripsRandomRowsOfEveryDepth)
{
    std::mt19937 rng(7);
    for (auto [depth, pb] : {std::pair{8u, 1}, std::pair{15u, 2}, std::pair{16u, 2}, std::pair{24u, 3}, std::pair{32u, 4}}) {
        for (int trial = 0; trial < 50; ++trial) {
            uint32_t count = 1 + rng() % 400;
            Bytes pixels(count * pb);
            for (uint32_t i = 0; i < count; ++i) {
                // Runs of random length of a few values, so both packet kinds appear.
                uint8_t v = uint8_t(rng() % 3);
                for (int b = 0; b < pb; ++b)
                    pixels[i * pb + b] = uint8_t(v + b);
            }
            Bytes packed = encode(depth, pixels, count);
            EXPECT_LE(packed.size(), pixels.size() * 2);
            auto [back, used] = decode(depth, packed, int(count), pb);
            ASSERT_EQ(back, pixels) << "depth " << depth << " trial " << trial;
            EXPECT_EQ(used, packed.size());
        }
    }
}

} // namespace
