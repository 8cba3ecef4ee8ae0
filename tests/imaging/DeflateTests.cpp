// The deflate decoder on zlib streams made here: whole, in pieces, several in a row, damaged.
#include "imaging/GraphicCompression.h"

#include <gtest/gtest.h>

#include <vector>

#include <zlib.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes deflated(const Bytes& plain)
{
    uLongf size = compressBound(uLong(plain.size()));
    Bytes out(size);
    compress(out.data(), &size, plain.data(), uLong(plain.size()));
    out.resize(size);
    return out;
}

Bytes text(int n, int salt)
{
    Bytes b(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        b[std::size_t(i)] = uint8_t(i * salt % 251);
    return b;
}

// Feeds the packed bytes in pieces of the given sizes (the rest in the last) into one
// output window per piece; gives what came out and the decoder's last status.
std::pair<Bytes, int> inflatePieces(TLZ77Decoder& d, const Bytes& packed, std::vector<std::size_t> pieces,
                                    std::size_t outSize)
{
    Bytes out(outSize, 0xEE);
    const uint8_t* src = packed.data();
    uint8_t* dst = out.data();
    std::size_t left = packed.size();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::size_t n = i + 1 == pieces.size() ? left : pieces[i];
        const uint8_t* before = src;
        d.Decode(src, dst, int32_t(n), int32_t(out.data() + out.size() - dst));
        EXPECT_LE(std::size_t(src - before), n) << "never reads past the piece";
        left -= std::size_t(src - before);
    }
    out.resize(std::size_t(dst - out.data()));
    return {out, d.Status()};
}

TEST(LZ77Decoder, StreamsWholeInPiecesAndDamaged)
{
    const Bytes plain = text(5000, 7);
    const Bytes packed = deflated(plain);
    struct Case {
        const char* what;
        int flush;
        std::vector<std::size_t> pieces;
        Bytes input;
        Bytes expected;
        int status;
    };
    Bytes damaged = packed;
    damaged.back() ^= 0xFF;   // the checksum
    const Case cases[] = {
        {"whole, finishing", Z_FINISH, {packed.size()}, packed, plain, Z_STREAM_END},
        {"two halves, partial flush", Z_PARTIAL_FLUSH, {packed.size() / 2, 0}, packed, plain, Z_STREAM_END},
        {"byte by byte", Z_PARTIAL_FLUSH, std::vector<std::size_t>(packed.size(), 1), packed, plain, Z_STREAM_END},
        {"cut short", Z_PARTIAL_FLUSH, {packed.size() / 2}, Bytes(packed.begin(), packed.begin() + 40), {}, Z_OK},
        {"damaged", Z_FINISH, {packed.size()}, damaged, {}, Z_DATA_ERROR},
    };
    for (const Case& c : cases) {
        TLZ77Decoder d(c.flush, false);
        d.DecodeInit();
        auto [out, status] = inflatePieces(d, c.input, c.pieces, plain.size() + 10);
        EXPECT_EQ(status, c.status) << c.what;
        if (!c.expected.empty()) {
            EXPECT_EQ(out, c.expected) << c.what;
        }
        EXPECT_NO_THROW(d.DecodeEnd()) << c.what;
    }
}

TEST(LZ77Decoder, EndedStreamStopsUntilReset)
{
    Bytes two = deflated(text(100, 3));
    Bytes second = deflated(text(300, 13));
    two.insert(two.end(), second.begin(), second.end());

    // Without auto reset, the first stream's end stops every later call where it is.
    TLZ77Decoder once(Z_FINISH, false);
    once.DecodeInit();
    Bytes out(1000);
    const uint8_t* src = two.data();
    uint8_t* dst = out.data();
    once.Decode(src, dst, int32_t(two.size()), int32_t(out.size()));
    ASSERT_EQ(once.Status(), Z_STREAM_END);
    EXPECT_EQ(dst - out.data(), 100);
    EXPECT_EQ(once.GetAvailableInput(), second.size()) << "the second stream is left over";
    const uint8_t* srcBefore = src;
    uint8_t* dstBefore = dst;
    once.Decode(src, dst, int32_t(second.size()), 900);
    EXPECT_TRUE(src == srcBefore && dst == dstBefore);

    // With it, each call starts a stream of its own.
    TLZ77Decoder each(Z_FINISH, true);
    each.DecodeInit();
    src = two.data();
    dst = out.data();
    each.Decode(src, dst, int32_t(two.size()), int32_t(out.size()));
    each.Decode(src, dst, int32_t(second.size()), int32_t(out.size() - 100));
    EXPECT_EQ(each.Status(), Z_STREAM_END);
    EXPECT_EQ(Bytes(out.begin() + 100, out.begin() + 400), text(300, 13));
    // Left without DecodeEnd, the destructor ends the stream (the leak check would see it).
}

} // namespace
