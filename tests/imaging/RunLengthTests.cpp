// The byte-oriented run-length decoders on hand-worked data: each case decodes into a target
// of exactly its unpacked size (so the sanitizers see any overrun) that starts out 0xEE, and
// compares every byte and how far the caller's source moved.
#include "imaging/GraphicCompression.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Make = std::function<std::unique_ptr<TDecoder>()>;

template <class D, class... A>
Make make(A... args)
{
    return [=] { return std::make_unique<D>(args...); };
}

struct Case {
    const char* what;
    Make decoder;
    Bytes packed;
    int unpacked;
    Bytes expected;
    std::ptrdiff_t moved = 0;   // how far Source moves (CUT alone moves it)
};

TEST(RunLengthDecoders, DecodeWithinTheirBounds)
{
    const auto packbits = make<TPackbitsRLEDecoder>();
    const auto pcx = make<TPCXRLEDecoder>();
    const auto sgi8 = make<TSGIRLEDecoder>(uint8_t(8));
    const auto sgi16 = make<TSGIRLEDecoder>(uint8_t(16));
    const auto cut = make<TCUTRLEDecoder>();
    const auto psp = make<TPSPRLEDecoder>();
    const auto rla = make<TRLADecoder>();
    const Case cases[] = {
        {"packbits: -128 is skipped", packbits, {0x80, 0xFE, 0xAA}, 3, {0xAA, 0xAA, 0xAA}},
        {"packbits: a literal cut to the input", packbits, {0x05, 1, 2}, 4, {1, 2, 0, 0}},
        {"packbits: a run cut to the target", packbits, {0x81, 7, 0x00, 9}, 3, {7, 7, 7}},
        {"packbits: a run without its byte", packbits, {0x00, 4, 0xFD}, 3, {4, 0, 0}},
        {"pcx: a count of 0", pcx, {0xC0, 0x55, 0x07}, 1, {0x07}},
        {"pcx: a run and a single byte", pcx, {0xC5, 0x11}, 3, {0x11, 0x11, 0x11}},
        {"pcx: the data ends first", pcx, {0x03, 0xC2, 0x04, 0xC3}, 5, {3, 4, 4, 0, 0}},
        {"sgi 8: literal, run, end", sgi8, {0x83, 1, 2, 3, 0x02, 7, 0x00}, 5, {1, 2, 3, 7, 7}},
        {"sgi 8: runs cut to the target", sgi8, {0x05, 9, 0x83, 1, 2, 3}, 4, {9, 9, 9, 9}},
        {"sgi 8: no end code", sgi8, {0x84, 1, 2}, 4, {1, 2, 0, 0}},
        {"sgi 16: words as stored", sgi16, {0, 0x82, 0x12, 0x34, 0x56, 0x78, 0, 0}, 4, {0x12, 0x34, 0x56, 0x78}},
        {"sgi 16: a run of words", sgi16, {0, 0x03, 0xAB, 0xCD, 0, 0}, 5, {0xAB, 0xCD, 0xAB, 0xCD, 0}},
        {"sgi 16: half a control word", sgi16, {0}, 2, {0, 0}},
        {"cut: a row", cut, {5, 0, 0x83, 9, 0x02, 0x41, 0x42, 0x00, 0x99}, 5, {9, 9, 9, 0x41, 0x42}, 8},
        {"cut: a row longer than the target is walked to its end", cut, {0, 0, 0x85, 1, 0x03, 2, 3, 4, 0, 0x77}, 2,
         {1, 1}, 9},
        {"cut: a row without end code stops at the input's end", cut, {0, 0, 0x02, 6}, 3, {6, 0, 0}, 4},
        {"cut: less than the line length", cut, {0}, 1, {0}, 1},
        {"psp", psp, {0x82, 0x55, 0x02, 0x01, 0x02}, 4, {0x55, 0x55, 1, 2}},
        {"psp: a literal past the input", psp, {0x04, 8, 9}, 4, {8, 9, 0, 0}},
        {"rla", rla, {0x01, 0x07, 0xFE, 0x01, 0x02}, 4, {7, 7, 1, 2}},
        {"rla: a run past the target", rla, {0x7F, 3}, 3, {3, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto decoder = c.decoder();
        // Packed bytes on the heap, exactly as many as given, so a read past them is seen.
        auto packed = std::make_unique<uint8_t[]>(c.packed.size());
        std::copy(c.packed.begin(), c.packed.end(), packed.get());
        Bytes target(std::size_t(c.unpacked), 0xEE);
        const uint8_t* source = packed.get();
        uint8_t* dest = target.data();
        decoder->Decode(source, dest, int32_t(c.packed.size()), c.unpacked);
        EXPECT_EQ(target, c.expected);
        EXPECT_EQ(source - packed.get(), c.moved);
        EXPECT_EQ(dest, target.data());

        // Encoding is not offered: nothing is written, nothing counted.
        uint8_t out[4] = {1, 2, 3, 4};
        uint32_t stored = 77;
        decoder->Encode(c.expected.data(), out, uint32_t(c.expected.size()), stored);
        EXPECT_EQ(Bytes(out, out + 4), (Bytes{1, 2, 3, 4}));
        EXPECT_EQ(stored, 77u);
    }
}

TEST(RunLengthDecoders, CutRowsFollowEachOther)
{
    const Bytes rows{0, 0, 0x82, 5, 0, 0, 0, 0x01, 6, 0};
    TCUTRLEDecoder d;
    const uint8_t* source = rows.data();
    Bytes first(2), second(2);
    uint8_t* dest = first.data();
    d.Decode(source, dest, int32_t(rows.size()), 2);
    dest = second.data();
    d.Decode(source, dest, int32_t(rows.data() + rows.size() - source), 2);
    EXPECT_EQ(first, (Bytes{5, 5}));
    EXPECT_EQ(second, (Bytes{6, 0}));
    EXPECT_EQ(source, rows.data() + rows.size());
}

} // namespace
