// The test-file builders put each field where the game's layouts have it, read back
// independently of the readers under test.
#include <gtest/gtest.h>

#include "platform/ByteIO.h"
#include "support/GameFiles.h"

TEST(GameFileBuilders, FieldsSitAtTheirLayoutOffsets)
{
    {
        const std::string bytes = TlkBuilder().Add("ab").Add("xyz").Build();
        ByteReader r(bytes);
        EXPECT_EQ(r.Bytes(8), "TLK V3.0");
        r.Seek(12);
        EXPECT_EQ(r.U32LE(), 2u);                  // StringCount
        EXPECT_EQ(r.U32LE(), 20u + 2 * 40);        // StringEntriesOffset
        r.Seek(20 + 40 * 1 + 28);
        EXPECT_EQ(r.U32LE(), 2u);                  // entry 1: OffsetToString
        EXPECT_EQ(r.U32LE(), 3u);                  // entry 1: StringSize
        r.Seek(100 + 2);
        EXPECT_EQ(r.Bytes(3), "xyz");
        EXPECT_EQ(r.Remaining(), 0u);
    }
    {
        KeyBuilder k;
        k.AddBif("data\\a.bif");
        k.AddBif("b.bif");
        k.AddKey("tcn01_a01_01wxyz", 2002, 0xABC12345);
        const std::string bytes = k.Build();
        ByteReader r(bytes);
        EXPECT_EQ(r.Bytes(8), "KEY V1  ");
        EXPECT_EQ(r.U32LE(), 2u);                  // BIFCount
        EXPECT_EQ(r.U32LE(), 1u);                  // KeyCount
        EXPECT_EQ(r.U32LE(), 64u);                 // OffsetToFileTable
        const uint32_t keyTable = r.U32LE();
        EXPECT_EQ(keyTable, 64u + 24 + 11 + 6);
        r.Seek(64 + 12 + 4);                       // file-table entry 1
        const uint32_t nameAt = r.U32LE();
        const uint16_t nameSize = r.U16LE();
        r.Seek(nameAt);
        EXPECT_EQ(r.FixedString(nameSize), "b.bif");
        r.Seek(keyTable);
        EXPECT_EQ(r.Bytes(16), "tcn01_a01_01wxyz");
        EXPECT_EQ(r.U16LE(), 2002);
        EXPECT_EQ(r.U32LE(), 0xABC12345u);
        EXPECT_EQ(r.Remaining(), 0u);
        EXPECT_EQ(KeyBuilder::ResId(5, 0x3ABC), 0x00503ABCu);
    }
    {
        const std::string bytes = BifBuilder().Add(7, 3, "first").Add(8, 2002, "second").Build();
        ByteReader r(bytes);
        EXPECT_EQ(r.Bytes(8), "BIFFV1  ");
        EXPECT_EQ(r.U32LE(), 2u);                  // VariableResourceCount
        EXPECT_EQ(r.U32LE(), 0u);                  // FixedResourceCount
        EXPECT_EQ(r.U32LE(), 20u);                 // VariableTableOffset
        r.Seek(20 + 16);                           // variable resource 1
        EXPECT_EQ(r.U32LE(), 8u);
        const uint32_t at = r.U32LE();
        EXPECT_EQ(r.U32LE(), 6u);
        EXPECT_EQ(r.U32LE(), 2002u);
        r.Seek(at);
        EXPECT_EQ(r.Bytes(6), "second");
    }
}
