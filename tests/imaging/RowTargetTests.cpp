// A target row too small for the pixels asked for fails before anything is written (the
// conversion tests show that rows of the exact size are taken).
#include <gtest/gtest.h>

#include "imaging/GraphicColor.h"

TEST(RowTarget, TooSmallATargetFailsAndKeepsItsBytes)
{
    struct Case { TColorScheme source, target; uint8_t sourceBits, targetBits; uint32_t count; std::size_t needed; };
    const Case cases[] = {{csRGB, csBGR, 8, 8, 5, 15}, {csRGBA, csBGRA, 8, 16, 3, 24}, {csIndexed, csIndexed, 8, 1, 9, 2},
                          {csIndexed, csIndexed, 8, 3, 5, 3}, {csIndexed, csIndexed, 16, 5, 4, 4}, {csIndexed, csIndexed, 3, 3, 7, 4}};
    const std::vector<uint8_t> source(64, 0x40);
    for (const Case& c : cases) {
        TColorManager cm;
        cm.SetSourceColorScheme(c.source);
        cm.SetTargetColorScheme(c.target);
        cm.SetSourceBitsPerSample(c.sourceBits);
        cm.SetTargetBitsPerSample(c.targetBits);
        std::vector<uint8_t> small(c.needed - 1, 0xEE);
        EXPECT_THROW(cm.ConvertRow({source.data()}, small, c.count, 0xFF), std::length_error) << int(c.source);
        EXPECT_EQ(small, std::vector<uint8_t>(c.needed - 1, 0xEE)) << int(c.source);
    }
}
