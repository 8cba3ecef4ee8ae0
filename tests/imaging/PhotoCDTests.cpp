// What the Photo CD reader says of a pack's other resolutions, which it never loads: the
// fixtures show only the Base one.
#include "imaging/PCD.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

TEST(PhotoCDReader, ResolutionsTurnsAndPacks)
{
    const struct {
        const char* what;
        bool overview;
        uint8_t rotation;
        uint32_t index, width, height;
        TCompressionType compression;
    } cases[] = {
        {"Base / 16", false, 0, 0, 192, 128, ctNone},
        {"Base", false, 0, 2, 768, 512, ctNone},
        {"4 Base: Huffman-coded corrections", false, 0, 4, 3072, 2048, ctPCDHuffmann},
        {"an index past 5 counts as 5", false, 2, 9, 6144, 4096, ctPCDHuffmann},
        {"a quarter turn swaps the sides", false, 3, 3, 1024, 1536, ctPCDHuffmann},
        {"an overview pack holds only Base / 16", true, 1, 4, 128, 192, ctNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string pack(6200, '\0');
        pack.replace(c.overview ? 0 : 2048, c.overview ? 7 : 3, c.overview ? "PCD_OPA" : "PCD");
        pack[3586] = char(0xF0 | c.rotation);   // only the low two bits count
        pack[10] = 1, pack[11] = 2;
        ReadOnlyMemoryStream stream(pack);
        TPCDGraphic pcd;
        ASSERT_TRUE(pcd.ReadImageProperties(stream, c.index));
        const TImageProperties& p = pcd.ImageProperties;
        EXPECT_EQ(std::tuple(p.Width, p.Height, p.Compression, p.Rotate, p.Overview, p.ImageCount),
                  std::tuple(c.width, c.height, c.compression, c.rotation, c.overview, uint16_t(0x102)));
    }
}

} // namespace
