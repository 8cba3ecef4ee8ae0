// The fax, ThunderScan and Photo CD decoders on data coded by hand. Fax input is written as
// bit strings (blanks between codes, zeros pad the last byte); targets are exactly their
// size and start out 0xEE, so the sanitizers see any overrun and every byte is compared;
// the input must come back unchanged.
#include "ImagingTests.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bits(const std::string& text, bool reversed = false)
{
    Bytes out;
    int n = 0;
    for (char c : text) {
        if (c != '0' && c != '1')
            continue;
        if (n % 8 == 0)
            out.push_back(0);
        if (c == '1')
            out.back() |= uint8_t(reversed ? 1 << (n % 8) : 0x80 >> (n % 8));
        ++n;
    }
    return out;
}

Bytes zeros(std::size_t n, Bytes tail = {})
{
    Bytes out(n);
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

struct Case {
    const char* what;
    std::function<std::unique_ptr<TDecoder>()> decoder;
    Bytes packed;
    Bytes expected;       // the whole target
    const char* error = "";
};

TEST(BitDecoders, DecodeHandCodedData)
{
    auto g3 = [](uint32_t width, int32_t options = 0, bool swap = false) {
        return [=] { return std::make_unique<TCCITTFax3Decoder>(options, swap, false, width); };
    };
    auto mh = [](uint32_t width, bool wordAligned = false) {
        return [=] { return std::make_unique<TCCITTMHDecoder>(0, false, wordAligned, width); };
    };
    auto thunder = [](uint32_t width) { return [=] { return std::make_unique<TThunderDecoder>(width); }; };
    const char* const kRefused = "Cannot load image. The compression scheme is not supported for TIF/TIFF files.";
    const std::string firstRow = "000000000001 00110101 000101 000000000001";   // EOL, white 0, black 8, EOL
    const Case cases[] = {
        {"g3: white 0, black 8", g3(8), bits(firstRow), {0xFF}},
        {"g3: stored least significant bit first", g3(8, 0, true), bits(firstRow, true), {0xFF}},
        {"g3: fill before EOL; the last code ends at the last bit", g3(8), bits("000000 000000000001 00110101 000101"),
         {0xFF}},
        {"g3: a row cut short by EOL is white to its end; the next row follows that EOL", g3(16),
         bits("000000000001 1000 000000000001 00110101 0000010111"), {0x00, 0x00, 0xFF, 0xFF}},
        {"g3: a black run longer than the row stops at its end", g3(4),
         bits("000000000001 00110101 0000100 000000000001 1011"), {0xF0, 0x00}},
        {"g3: two-dimensional rows are refused", g3(8, 1), bits(firstRow), {0xEE}, kRefused},
        {"g3: uncompressed mode allowed but not used", g3(8, 2), bits(firstRow), {0xFF}},
        // After EOL and white 3, the extension code 000000001 with 111 enters uncompressed mode.
        {"g3: data entering uncompressed mode is refused", g3(8, 2), bits("000000000001 1000 000000001111 0000"), {0x00},
         kRefused},
        {"g3: where it is not allowed, the code ends the row as any invalid one", g3(8),
         bits("000000000001 1000 000000001111 0000"), {0x00}},
        {"g3: other extension codes end the row where it is allowed too", g3(8, 2),
         bits("000000000001 1000 000000001110 0000"), {0x00}},
        {"mh: the last code ends at the last bit", mh(8), bits("1000 0011"), {0x1F}},
        {"mh: black 12 after 3 white bits", mh(16), bits("1000 0000111 000111"), {0x1F, 0xFE}},
        {"mh: white 1728 is make-up 1728 and 0 in one run", mh(1736), bits("010011011 00110101 000101"),
         zeros(216, {0xFF})},
        {"mh: a row ending inside a byte; the next starts at the next byte", mh(8),
         bits("10011 111 00110101 000101"), {0x00, 0xFF}},
        {"mh word-aligned: the next row starts 16 bits on, the output does not move", mh(8, true),
         bits("10011 111 11111111 00110101 000101"), {0x00, 0xFF}},
        {"mh: rows beyond the target are not decoded", mh(8), bits("00110101 000101 00110101 000101"), {0xFF}},
        {"mh: the data ends inside a code", mh(8), bits("00110101 00000010"), {0x00}},
        {"thunder: raw 5, run of 3", thunder(4), {0xC5, 0x03}, {0x55, 0x55}},
        {"thunder: 2-bit deltas 0, +1, none", thunder(3), {0xC5, 0x46}, {0x55, 0x60}},
        {"thunder: a run after an odd count", thunder(5), {0xC5, 0x03, 0xC7}, {0x55, 0x55, 0x70}},
        {"thunder: a run of one after an even count", thunder(3), {0xC1, 0xC2, 0x01}, {0x12, 0x20}},
        {"thunder: 3-bit deltas +3, -3; a delta wraps in 4 bits", thunder(5), {0xC8, 0x9D, 0xCF, 0x5A},
         {0x8B, 0x8F, 0x00}},
        {"thunder: a run past the row end completes its byte, the rest stays 0; the next row starts anew", thunder(3),
         {0xC3, 0x3F, 0xC9, 0x8C}, {0x33, 0x00, 0x9A, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto packed = std::make_unique<uint8_t[]>(c.packed.size());
        std::copy(c.packed.begin(), c.packed.end(), packed.get());
        Bytes target(c.expected.size(), 0xEE);
        const uint8_t* source = packed.get();
        uint8_t* dest = target.data();
        auto decoder = c.decoder();
        EXPECT_EQ(ReaderError([&] { decoder->Decode(source, dest, int32_t(c.packed.size()), int32_t(target.size())); }),
                  c.error);
        EXPECT_EQ(target, c.expected);
        EXPECT_EQ(Bytes(packed.get(), packed.get() + c.packed.size()), c.packed);
        EXPECT_EQ(source, packed.get());
        EXPECT_EQ(dest, target.data());
    }
}

// Photo CD corrections: a code table (entries - 1, then length - 1, the code in 16 bits, the
// step per entry), a sync mark FF FF FE, two bytes of plane (top two bits) and row (13
// bits, then one bit), the codes; the stream starts with the tables.
Bytes sync(unsigned plane, unsigned row)
{
    return {0xFF, 0xFF, 0xFE, uint8_t(plane << 6 | row >> 7), uint8_t((row & 0x7F) << 1)};
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Change {
    int plane;
    std::size_t at;
    uint8_t value;
};

TEST(BitDecoders, PhotoCDCorrections)
{
    // Code 1 adds 3 and code 01 takes 1 away.
    const Bytes table = Bytes{0x01, 0x00, 0x80, 0x00, 0x03, 0x01, 0x40, 0x00, 0xFF};
    const Bytes plusOne = Bytes{0x00, 0x00, 0x80, 0x00, 0x01};
    const Bytes row1 = sync(0, 1) + Bytes{0xB8};   // 1 01 1 1
    const struct {
        const char* what;
        uint32_t width, rows;
        uint8_t fill;
        Bytes stream;
        std::vector<Change> changes;
    } cases[] = {
        {"steps clamped; the full row waits for the next mark, which ends it", 4, 2, 254, table + row1 + sync(0, 2),
         {{0, 4, 255}, {0, 5, 253}, {0, 6, 255}, {0, 7, 255}}},
        {"the stream ends without a closing mark", 4, 2, 1, table + row1, {{0, 4, 4}, {0, 5, 0}, {0, 6, 4}, {0, 7, 4}}},
        {"a row past the planes and a code no table holds are skipped", 4, 2, 9,
         table + sync(0, 5) + Bytes{0x80} + sync(0, 0) + Bytes{0x00, 0x00} + sync(0, 1) + Bytes{0x80} + sync(0, 2),
         {{0, 4, 12}}},
        {"one table up to 1536 wide: chroma rows are skipped", 1536, 2, 50,
         plusOne + sync(2, 0) + Bytes{0xF0} + sync(0, 1) + Bytes{0x80} + sync(0, 2), {{0, 1536, 51}}},
        {"three tables from 1537 wide; chroma rows at half the row number", 1537, 2, 50,
         plusOne + Bytes{0x00, 0x00, 0x80, 0x00, 0x02} + Bytes{0x00, 0x00, 0x80, 0x00, 0x05} + sync(2, 0) +
             Bytes{0xC0} + sync(3, 1) + Bytes{0x80} + sync(0, 2),
         {{1, 0, 52}, {1, 1, 52}, {2, 0, 55}}},
        {"plane code 1 ends the decode", 4, 2, 7, table + sync(1, 0) + Bytes{0x80} + row1, {}},
        {"a code longer than 16 bits ends the decode", 4, 2, 7, Bytes{0x00, 0x10, 0x80, 0x00, 0x01} + row1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::size_t size = std::size_t(c.width) * c.rows;
        std::vector<Bytes> planes(3, Bytes(size, c.fill)), expected = planes;
        for (const Change& change : c.changes)
            expected[std::size_t(change.plane)][change.at] = change.value;
        ReadOnlyMemoryStream stream(c.stream.data(), c.stream.size());
        TPCDDecoder(stream).Decode({planes[0].data(), planes[1].data(), planes[2].data()}, c.width, c.rows);
        EXPECT_EQ(planes, expected);
    }
}

} // namespace
