// The JPEG-in-TIFF decoder on strips that libjpeg's encoder makes here: what it decodes,
// what it refuses and with which message, the warning box for data that ends early, and a
// decoder that goes on working after each failure.
#include "ImagingTests.h"
#include "imaging/GraphicStrings.h"
#include "imaging/RasterGraphics.h"
#include "platform/Dialogs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<uint8_t>;

// A width x height strip of grey or YCbCr samples (first component sampled h x v), quality
// 100 unless the pixels vary; with tables given, the strip leaves its tables to them.
Bytes encode(unsigned width, unsigned height, int components, int h = 1, int v = 1, Bytes* tables = nullptr)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr error{};
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    c.image_width = width;
    c.image_height = height;
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    c.comp_info[0].h_samp_factor = h;
    c.comp_info[0].v_samp_factor = v;
    if (tables) {
        jpeg_mem_dest(&c, &out, &size);
        jpeg_write_tables(&c);
        tables->assign(out, out + size);
        std::free(out);
        out = nullptr;
        size = 0;
    }
    jpeg_mem_dest(&c, &out, &size);
    jpeg_start_compress(&c, tables ? FALSE : TRUE);
    // A flat colour, red 200, green 100, blue 50 (grey 100), that every row gets back.
    std::vector<JSAMPLE> row(std::size_t(width) * unsigned(components));
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = JSAMPLE(components == 1 ? 100 : (i % 3 == 0 ? 200 : i % 3 == 1 ? 100 : 50));
    JSAMPROW rows[1] = {row.data()};
    while (c.next_scanline < height)
        jpeg_write_scanlines(&c, rows, 1);
    jpeg_finish_compress(&c);
    Bytes result(out, out + size);
    std::free(out);
    jpeg_destroy_compress(&c);
    return result;
}

TImageProperties properties(unsigned width, unsigned height, int samples, uint32_t rowsPerStrip)
{
    TImageProperties p;
    p.Width = width;
    p.Height = height;
    p.SamplesPerPixel = uint8_t(samples);
    p.BitsPerSample = 8;
    p.ColorScheme = samples == 3 ? csYCbCr : csG;
    p.PlanarConfig = 1;
    p.RowsPerStrip = {rowsPerStrip};
    p.BytesPerLine = width * unsigned(samples);
    if (samples == 3)
        p.YCbCrSubSampling = {2, 2};
    return p;
}

TEST(TIFFJPEGDecoder, StripsAndTheirFaults)
{
    Bytes tables;
    const Bytes colour = encode(16, 16, 3, 2, 2, &tables), grey = encode(8, 8, 1);
    // Without its end-of-image marker.
    Bytes cut(grey.begin(), grey.end() - 2);
    const struct {
        const char* what;
        TImageProperties properties;
        Bytes strip;
        std::size_t unpacked;
        const char* error;
        const char* warning;
        std::size_t rowsFilled;
        bool retry = false;   // after the failure, decode an 8 x 8 grey strip
    } cases[] = {
        {"YCbCr 2 x 2 with its tables from the tables field",
         [&] { auto p = properties(16, 16, 3, 16); p.JPEGTables = tables; return p; }(), colour, 16 * 48, "", "", 16},
        {"grey stays grey", properties(8, 8, 1, 8), grey, 64, "", "", 8},
        {"data that ends early", properties(8, 8, 1, 8), cut, 64, "", gesJPEGEOI, 8},
        {"the last strip holds the rows left", [] { auto p = properties(8, 10, 1, 16); p.CurrentRow = 2; return p; }(),
         grey, 128, "", "", 8},
        {"a strip of more rows than are left", [] { auto p = properties(8, 12, 1, 8); p.CurrentRow = 8; return p; }(),
         grey, 64, gesJPEGStripSize, "", 0, true},
        {"three components where the file has one", properties(16, 16, 1, 16), encode(16, 16, 3), 256,
         gesJPEGComponentCount, "", 0},
        {"sampling other than the file's", properties(16, 16, 3, 16), encode(16, 16, 3), 768, gesJPEGSamplingFactors, "",
         0},
        {"a fractional row", properties(8, 8, 1, 8), grey, 60, gesJPEGFractionalLine, "", 0, true},
        {"a full image in the tables field", [&] { auto p = properties(8, 8, 1, 8); p.JPEGTables = grey; return p; }(),
         grey, 64, gesJPEGBogusTableField, "", 0},
        {"not JPEG data", properties(8, 8, 1, 8), Bytes(40, 0x55), 64, "Compression error found in TIF/TIFF file", "", 0,
         true},
    };
    ScriptedDialogs dialogs;
    struct Installed {
        explicit Installed(Dialogs& d) { SetAppDialogs(&d); }
        ~Installed() { SetAppDialogs(nullptr); }
    } installed(dialogs);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.Clear();
        TImageProperties props = c.properties;   // the decoder reads it at each strip
        TTIFFJPEGDecoder decoder(props);
        Bytes target(c.unpacked, 0xEE);
        const uint8_t* source = c.strip.data();
        uint8_t* dest = target.data();
        std::string error = ReaderError([&] {
            decoder.DecodeInit();
            decoder.Decode(source, dest, int32_t(c.strip.size()), int32_t(c.unpacked));
        });
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_EQ(error.empty(), !*c.error) << error;
        // Rows decoded hold the flat colour; the rest of the buffer is untouched.
        std::size_t filled = c.rowsFilled * c.properties.BytesPerLine;
        int samples = c.properties.SamplesPerPixel;
        for (std::size_t i = 0; i < target.size(); ++i) {
            int want = i >= filled ? 0xEE : samples == 1 ? 100 : i % 3 == 0 ? 200 : i % 3 == 1 ? 100 : 50;
            ASSERT_NEAR(target[i], want, 2) << "byte " << i;
        }
        EXPECT_EQ(source, c.strip.data());
        EXPECT_EQ(dest, target.data());
        if (*c.warning) {
            ASSERT_FALSE(dialogs.boxes.empty());
            EXPECT_EQ(dialogs.boxes[0].text, c.warning);
            EXPECT_EQ(dialogs.boxes[0].caption, gesWarning);
            EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Warning);
        } else {
            EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text;
        }
        // After any failure the same decoder reads a good strip of the image.
        if (c.retry) {
            props = properties(8, 8, 1, 8);
            Bytes again(64);
            dest = again.data();
            source = grey.data();
            EXPECT_EQ(ReaderError([&] { decoder.Decode(source, dest, int32_t(grey.size()), 64); }), "");
            EXPECT_NEAR(again[63], 100, 2);
        }
    }
}

} // namespace
