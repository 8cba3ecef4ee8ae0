// The streams' checked reads and edges, the place a read error names, and sizes checked for overflow.
#include <gtest/gtest.h>

#include "platform/Sizes.h"
#include "platform/Stream.h"
#include "support/TempDir.h"

template <class F>
static IoError Thrown(F f)
{
    try { f(); } catch (const IoError& e) { return e; }
    ADD_FAILURE() << "nothing was thrown";
    return IoError("nothing");
}

TEST(CheckedReads, BothByteOrdersAndErrorsThatNameTheirPlace)
{
    ReadOnlyMemoryStream m("\x81\x81\x02\x81\x02\x81\x02\x03\x04\x81\x02\x03\x04");
    EXPECT_EQ(m.U8(), 0x81);
    EXPECT_EQ(m.U16LE(), 0x0281);
    EXPECT_EQ(m.U16BE(), 0x8102);
    EXPECT_EQ(m.U32LE(), 0x04030281u);
    EXPECT_EQ(m.U32BE(), 0x81020304u);
    EXPECT_THROW(m.U8(), ReadError);
    EXPECT_THROW(m.WriteBuffer("x", 1), StreamError);

    TempDir dir;
    const std::string path = dir.File("short.bin");
    FileStream(path, FileStream::Mode::Create).WriteBuffer("abcdef", 6);
    FileStream f(path, FileStream::Mode::OpenRead);
    f.SetPosition(4);
    EXPECT_EQ(std::string(Thrown([&] { f.U32BE(); }).what()), "\"" + path + "\" at offset 4: Stream read error");
    // More than remains is refused before anything is read or allocated.
    f.SetPosition(2);
    EXPECT_EQ(Thrown([&] { f.ReadString(std::size_t(1) << 40); }).Offset(), 2u);
    EXPECT_THROW(f.Skip(5), ReadError);
    EXPECT_EQ(f.ReadString(4), "cdef");
    for (const std::string& p : {dir.Path(), dir.File("none")})
        EXPECT_EQ(Thrown([&] { FileStream(p, FileStream::Mode::OpenRead); }).Context(), "\"" + p + "\"");
}

TEST(Streams, AMemoryStreamGrowsWithZerosAndRefusesSeeksBeforeItsStart)
{
    MemoryStream m;
    m.WriteBuffer("hello", 5);
    m.SetPosition(8);   // past the end is allowed; a write fills the gap with zeros
    m.WriteBuffer("!", 1);
    EXPECT_EQ(m.View(), std::string_view("hello\0\0\0!", 9));
    char buf[4] = {};
    EXPECT_EQ(m.Seek(-1, SeekOrigin::End), 8u);
    EXPECT_THROW(m.ReadBuffer(buf, 2), ReadError);
    EXPECT_THROW(m.Seek(-10, SeekOrigin::Current), StreamError);
    m.SetPosition(100);
    EXPECT_EQ(m.Read(buf, 4), 0u);
    EXPECT_EQ(m.Remaining(), 0u);
}

TEST(CheckedSizes, OverflowAndSizesPastTheCapAreRefused)
{
    const uint64_t all = UINT64_MAX, big = uint64_t(1) << 32;
    EXPECT_EQ(CheckedProduct({65535, 65535, 4}, MaxImageBytes), std::nullopt);
    EXPECT_EQ(CheckedProduct({big, big, 1}, all), std::nullopt);   // 2^64 would wrap to 0
    EXPECT_EQ(CheckedProduct({big, big, 0}, 1), 0u);
    EXPECT_EQ(CheckedEnd(all - 1, 2, all), std::nullopt);
    EXPECT_EQ(CheckedRowBytes(9, 1, 2), 2u);
    EXPECT_EQ(CheckedRowBytes(all / 2, 16, all), std::nullopt);
}
