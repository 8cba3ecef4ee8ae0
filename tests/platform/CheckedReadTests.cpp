// The streams' checked reads, the place a read error names, and sizes checked for overflow.
#include <gtest/gtest.h>

#include <functional>

#include "platform/Sizes.h"
#include "platform/Stream.h"
#include "support/TempDir.h"

namespace {

template <class E, class F>
E Thrown(F f)
{
    try {
        f();
    } catch (const E& e) {
        return e;
    }
    ADD_FAILURE() << "nothing was thrown";
    return E("nothing");
}

TEST(CheckedReads, EveryWidthInBothByteOrders)
{
    struct Case {
        const char* name;
        std::function<int64_t(Stream&)> read;
        int64_t expected;
    };
    const Case cases[] = {
        {"U8", [](Stream& s) { return s.U8(); }, 0x81},
        {"U16LE", [](Stream& s) { return s.U16LE(); }, 0x0281},
        {"U16BE", [](Stream& s) { return s.U16BE(); }, 0x8102},
        {"I16LE", [](Stream& s) { return s.I16LE(); }, 0x0281},
        {"I16BE", [](Stream& s) { return s.I16BE(); }, int16_t(0x8102)},
        {"U32LE", [](Stream& s) { return s.U32LE(); }, 0x04030281},
        {"U32BE", [](Stream& s) { return s.U32BE(); }, 0x81020304},
        {"I32LE", [](Stream& s) { return s.I32LE(); }, 0x04030281},
        {"I32BE", [](Stream& s) { return s.I32BE(); }, int32_t(0x81020304)},
    };
    for (const Case& c : cases) {
        ReadOnlyMemoryStream s("\x81\x02\x03\x04");
        EXPECT_EQ(c.read(s), c.expected) << c.name;
        s.SetPosition(3);
        if (std::string_view(c.name) != "U8") {
            EXPECT_EQ(Thrown<ReadError>([&] { c.read(s); }).Context(), "at offset 3") << c.name;
        }
    }
}

TEST(CheckedReads, ErrorsNameTheFileAndTheOffset)
{
    TempDir dir;
    const std::string path = dir.Write("short.bin", "abcdef");
    FileStream f(path, FileStream::Mode::OpenRead);
    f.SetPosition(4);
    ReadError e = Thrown<ReadError>([&] { f.U32BE(); });
    EXPECT_EQ(e.File(), path);
    EXPECT_EQ(e.Offset(), 4u);
    EXPECT_EQ(e.Message(), "Stream read error");
    EXPECT_EQ(std::string(e.what()), "\"" + path + "\" at offset 4: Stream read error");

    // A count larger than what remains is refused before anything is read or allocated.
    f.SetPosition(2);
    EXPECT_EQ(Thrown<ReadError>([&] { f.ReadString(5); }).Offset(), 2u);
    EXPECT_THROW(f.Skip(5), ReadError);
    EXPECT_THROW(f.ReadString(std::size_t(1) << 40), ReadError);
    EXPECT_EQ(f.Position(), 2u);
    EXPECT_EQ(f.ReadString(4), "cdef");

    for (const std::string& p : {dir.Path(), dir.File("none")}) {
        StreamError open = Thrown<StreamError>([&] { FileStream(p, FileStream::Mode::OpenRead); });
        EXPECT_EQ(open.Context(), "\"" + p + "\"");
    }
    ByteReader r("ab");
    r.U8();
    EXPECT_EQ(Thrown<ReadError>([&] { r.U16LE(); }).Context(), "at offset 1");
}

TEST(CheckedSizes, OverflowAndSizesPastTheCapAreRefused)
{
    const uint64_t all = UINT64_MAX, big = uint64_t(1) << 32;
    EXPECT_EQ(CheckedProduct({65535, 65535, 4}, all), 17179344900u);
    EXPECT_EQ(CheckedProduct({65535, 65535, 4}, MaxImageBytes), std::nullopt);
    EXPECT_EQ(CheckedProduct({big, big, 1}, all), std::nullopt);   // 2^64 would wrap to 0
    EXPECT_EQ(CheckedProduct({big, big, 0}, 1), 0u);
    EXPECT_EQ(CheckedProduct({16, 16, 4}, 1024), 1024u);
    EXPECT_EQ(CheckedProduct({16, 16, 4}, 1023), std::nullopt);

    EXPECT_EQ(CheckedEnd(10, 5, 15), 15u);
    EXPECT_EQ(CheckedEnd(10, 6, 15), std::nullopt);
    EXPECT_EQ(CheckedEnd(16, 0, 15), std::nullopt);
    EXPECT_EQ(CheckedEnd(all - 1, 2, all), std::nullopt);

    EXPECT_EQ(CheckedRowBytes(9, 1, 2), 2u);
    EXPECT_EQ(CheckedRowBytes(17, 1, 2), std::nullopt);
    EXPECT_EQ(CheckedRowBytes(3, 24, 9), 9u);
    EXPECT_EQ(CheckedRowBytes(all / 2, 16, all), std::nullopt);
}

} // namespace
