// What every reader shares beyond the fixtures: only the image errors leave a load, and the
// PCX probe and loader disagree about the manufacturer byte as they always have (what the
// probe takes and the loader cannot read is an error).
#include "ImagingTests.h"
#include "imaging/PCX.h"
#include "imaging/RasterGraphics.h"
#include "platform/Stream.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ReaderBase, OnlyImageErrorsLeaveALoad)
{
    const std::string invalid = "Cannot load image. Invalid or unexpected Test image format.";
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[] { throw StreamError("Seek before the start of the stream"); }, invalid},
        {[] { throw EConvertError("'x' is not a valid integer value"); }, invalid},
        {[] { throw ReadError("Stream read error", "a.pcx", 7); }, "\"a.pcx\" at offset 7: Stream read error"},
        {[] { throw EGraphicCompression("packed"); }, "packed"},
        {[] { throw EColorConversionError("colour"); }, "colour"},
        {[] { throw EInvalidGraphic("invalid"); }, "invalid"},
    };
    for (const auto& [raise, message] : cases) {
        EXPECT_EQ(ReaderError([&] {
                      try {
                          raise();
                      } catch (...) {
                          RethrowImageError("Test");
                      }
                  }),
                  message);
    }
    // Running out of memory is not the picture's fault: it passes as it is.
    EXPECT_THROW(
        {
            try {
                throw std::bad_alloc();
            } catch (...) {
                RethrowImageError("Test");
            }
        },
        std::bad_alloc);
}

TEST(ReaderBase, PcxManufacturers)
{
    // A 2 x 1 grey picture of 8 bits, raw, with the manufacturer byte in front.
    auto pcx = [](uint8_t manufacturer) {
        std::string header(128, '\0');
        header[0] = char(manufacturer);
        header[1] = 5;
        header[3] = 8;
        header[8] = 1;
        header[65] = 1;
        header[66] = 2;
        header[68] = 2;
        return header + "\x10\x20";
    };
    for (auto [manufacturer, probe, loads] : {std::tuple{0x0A, true, true}, {0xCD, false, true}, {0x0C, true, false}}) {
        SCOPED_TRACE(manufacturer);
        const std::string bytes = pcx(uint8_t(manufacturer));
        ReadOnlyMemoryStream s(bytes);
        EXPECT_EQ(TPCXGraphic::CanLoad(s), probe);
        TPCXGraphic g;
        const std::string error = ReaderError([&] { g.LoadFromStream(s); });
        EXPECT_EQ(error, loads ? "" : "Cannot load image. Invalid or unexpected PCX image format.");
        if (loads) {
            EXPECT_EQ(g.ScanLine(0)[1], 0x20);
        }
    }
}

} // namespace
