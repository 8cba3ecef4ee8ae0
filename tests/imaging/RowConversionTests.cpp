// Row conversions, table-driven: each case describes source and target, gives the source
// samples and the target before and after. The cases aim at channel order, rounding, masks,
// alpha handling and byte order.
#include "imaging/GraphicColor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Case {
    const char* name;
    TColorScheme source, target;
    uint8_t sourceBits, targetBits;
    TConvertOptions sourceOptions, targetOptions;
    std::vector<Bytes> planes;   // one for interleaved data, several for planes
    uint32_t count;
    uint8_t mask;
    Bytes before, after;
};

// Little-endian words as bytes.
Bytes w(std::initializer_list<uint16_t> words)
{
    Bytes b;
    for (uint16_t v : words)
        b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8));
    return b;
}

const uint8_t E = 0xEE;   // a target byte that must stay untouched

const Case kCases[] = {
    {"rgb to bgr", csRGB, csBGR, 8, 8, 0, 0, {{10, 20, 30, 40, 50, 60}}, 2, 0xFF, Bytes(6, E), {30, 20, 10, 60, 50, 40}},
    {"rgb to rgb", csRGB, csRGB, 8, 8, 0, 0, {{10, 20, 30}}, 1, 0xFF, Bytes(3, E), {10, 20, 30}},
    {"bgr to rgb", csBGR, csRGB, 8, 8, 0, 0, {{1, 2, 3}}, 1, 0xFF, Bytes(3, E), {3, 2, 1}},
    {"bgr to bgr keeps order", csBGR, csBGR, 8, 8, 0, 0, {{1, 2, 3}}, 1, 0xFF, Bytes(3, E), {1, 2, 3}},
    {"bgra to bgra: gamma on colours, alpha copied", csBGRA, csBGRA, 8, 8, 0, coApplyGamma, {{128, 64, 1, 128}}, 1,
     0xFF, Bytes(4, E), {186, 136, 21, 128}},
    {"rgba to bgr drops alpha and steps four", csRGBA, csBGR, 8, 8, 0, 0, {{1, 2, 3, 99, 4, 5, 6, 99}}, 2, 0xFF,
     Bytes(6, E), {3, 2, 1, 6, 5, 4}},
    {"rgb to bgra leaves target alpha", csRGB, csBGRA, 8, 8, 0, 0, {{1, 2, 3, 4, 5, 6}}, 2, 0xFF, Bytes(8, E),
     {3, 2, 1, E, 6, 5, 4, E}},
    {"rgba to rgba copies alpha", csRGBA, csRGBA, 8, 8, 0, 0, {{1, 2, 3, 4}}, 1, 0xFF, Bytes(4, E), {1, 2, 3, 4}},
    {"mask 0x80 converts the first of eight", csRGB, csBGR, 8, 8, 0, 0, {{1, 2, 3, 4, 5, 6}}, 8, 0x80, Bytes(24, E),
     [] { Bytes b(24, E); b[0] = 3, b[1] = 2, b[2] = 1; return b; }()},
    {"mask 0x88 takes consecutive source pixels", csRGB, csRGB, 8, 8, 0, 0, {{1, 2, 3, 4, 5, 6}}, 6, 0x88,
     Bytes(18, E), [] { Bytes b(18, E); b[0] = 1, b[1] = 2, b[2] = 3, b[12] = 4, b[13] = 5, b[14] = 6; return b; }()},
    {"16 to 8 bits scales down, truncating", csRGB, csBGR, 16, 8, 0, 0, {w({0xFFFF, 0x0100, 0x8000})}, 1, 0xFF,
     Bytes(3, E), {127, 0, 255}},
    {"16 to 8 bits with byte swap", csRGB, csRGB, 16, 8, coNeedByteSwap, 0, {{0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF}}, 1,
     0xFF, Bytes(3, E), {0, 254, 255}},
    {"16 to 8 bits alpha is never gamma corrected", csRGBA, csRGBA, 16, 8, 0, coApplyGamma,
     {w({0x8080, 0, 0, 0x8080})}, 1, 0xFF, Bytes(4, E), {186, 0, 0, 128}},
    {"8 to 16 bits scales up", csRGB, csBGR, 8, 16, 0, 0, {{0x12, 0x00, 0xFF}}, 1, 0xFF, Bytes(6, E),
     w({0xFFFF, 0x0000, 0x1212})},
    {"8 to 16 bits with swap writes big-endian words", csRGBA, csRGBA, 8, 16, coNeedByteSwap, 0, {{0x12, 0, 0, 0x34}},
     1, 0xFF, Bytes(8, E), {0x12, 0x12, 0, 0, 0, 0, 0x34, 0x34}},
    {"16 to 16 bits exchanged", csRGB, csBGR, 16, 16, 0, 0, {w({1, 2, 3})}, 1, 0xFF, Bytes(6, E), w({3, 2, 1})},
    {"planar rgb", csRGB, csBGR, 8, 8, 0, 0, {{1, 2}, {3, 4}, {5, 6}}, 2, 0xFF, Bytes(6, E), {5, 3, 1, 6, 4, 2}},
    {"planar rgba copies alpha from the fourth plane", csRGBA, csRGBA, 8, 8, 0, 0, {{1}, {2}, {3}, {4}}, 1, 0xFF,
     Bytes(4, E), {1, 2, 3, 4}},
    {"12-bit samples are left alone", csRGB, csBGR, 12, 8, 0, 0, {{1, 2, 3, 4, 5, 6}}, 1, 0xFF, Bytes(3, E),
     Bytes(3, E)},
    {"cmyk full key is black", csCMYK, csBGR, 8, 8, 0, 0, {{0, 0, 0, 255}}, 1, 0xFF, Bytes(3, E), {0, 0, 0}},
    {"cmyk nothing is white", csCMYK, csBGR, 8, 8, 0, 0, {{0, 0, 0, 0}}, 1, 0xFF, Bytes(3, E), {255, 255, 255}},
    {"cmyk cyan", csCMYK, csRGB, 8, 8, 0, 0, {{255, 0, 0, 0}}, 1, 0xFF, Bytes(3, E), {0, 255, 255}},
    {"cmyk half key on half cyan", csCMYK, csRGB, 8, 8, 0, 0, {{128, 0, 0, 128}}, 1, 0xFF, Bytes(3, E),
     {63, 127, 127}},
    {"cmyk planes, 16-bit target", csCMYK, csRGB, 8, 16, 0, 0, {{255}, {0}, {0}, {0}}, 1, 0xFF, Bytes(6, E),
     w({0, 0xFFFF, 0xFFFF})},
    {"cmyk 16 to 16", csCMYK, csBGR, 16, 16, 0, 0, {w({0, 0, 0xFFFF, 0})}, 1, 0xFF, Bytes(6, E),
     w({0, 0xFFFF, 0xFFFF})},
    {"cmyk 16 to 8 rounds down twice", csCMYK, csRGB, 16, 8, 0, 0, {w({0x8000, 0, 0, 0x8000})}, 1, 0xFF, Bytes(3, E),
     {64, 128, 128}},
    {"lab white", csCIELab, csBGR, 8, 8, 0, 0, {{100, 0, 0}}, 1, 0xFF, Bytes(3, E), {255, 255, 255}},
    {"lab black", csCIELab, csRGB, 8, 8, 0, 0, {{0, 0, 0}}, 1, 0xFF, Bytes(3, E), {0, 0, 0}},
    {"lab byte range and chroma offset", csCIELab, csRGB, 8, 8, coLabByteRange | coLabChromaOffset, 0,
     {{255, 128, 128}}, 1, 0xFF, Bytes(3, E), {255, 255, 255}},
    // Reference values from the formulas worked in double precision by a separate script.
    {"lab mid colour, signed chroma", csCIELab, csRGB, 8, 8, 0, 0, {{50, 20, 0xE2}}, 1, 0xFF, Bytes(3, E),
     {53, 40, 101}},
    {"lab dark colour takes the linear branch", csCIELab, csBGR, 8, 8, 0, 0, {{5, 40, 0xD8}}, 1, 0xFF, Bytes(3, E),
     {9, 0, 6}},
    {"lab byte range and chroma offset, mid colour", csCIELab, csRGB, 8, 8, coLabByteRange | coLabChromaOffset, 0,
     {{200, 150, 90}}, 1, 0xFF, Bytes(3, E), {143, 122, 255}},
    {"ycbcr mid grey", csYCbCr, csBGR, 8, 8, 0, 0, {{128, 128, 128}}, 1, 0xFF, Bytes(3, E), {128, 128, 128}},
    {"ycbcr full red chroma", csYCbCr, csRGB, 8, 8, 0, 0, {{76, 85, 255}}, 1, 0xFF, Bytes(3, E), {254, 0, 0}},
    {"ycbcr 16-bit source", csYCbCr, csRGB, 16, 8, 0, 0, {w({0x8080, 0x8080, 0x8080})}, 1, 0xFF, Bytes(3, E),
     {128, 128, 128}},
    {"ycbcr colour, 8 bits", csYCbCr, csBGR, 8, 8, 0, 0, {{100, 100, 200}}, 1, 0xFF, Bytes(3, E), {50, 59, 201}},
    {"photoycc centres its chroma on 156 and 137", csPhotoYCC, csRGB, 8, 8, 0, 0, {{100, 156, 200}}, 1, 0xFF,
     Bytes(3, E), {188, 55, 100}},
    {"photoycc blue chroma", csPhotoYCC, csBGR, 8, 8, 0, 0, {{100, 100, 137}}, 1, 0xFF, Bytes(3, E), {1, 119, 100}},
    {"photoycc 16 to 16 in float", csPhotoYCC, csRGB, 16, 16, 0, 0, {w({20000, 41092, 33209})}, 1, 0xFF, Bytes(6, E),
     w({23525, 28592, 29386})},
    {"photoycc 16 to 16 wraps instead of clamping", csPhotoYCC, csBGR, 16, 16, 0, 0, {w({60000, 40092, 35209})}, 1,
     0xFF, Bytes(6, E), w({15968, 15968, 15968})},
    {"gray 8 to 8", csG, csG, 8, 8, 0, 0, {{5, 6, 7}}, 3, 0xFF, Bytes(3, E), {5, 6, 7}},
    {"gray 16 to 8", csG, csG, 16, 8, 0, 0, {w({0xFFFF, 0x0100})}, 2, 0xFF, Bytes(2, E), {255, 0}},
    {"gray 16 to 8 swapped", csG, csG, 16, 8, coNeedByteSwap, 0, {{0x00, 0xFF}}, 1, 0xFF, Bytes(1, E), {0}},
    {"gray 8 to 16", csG, csG, 8, 16, 0, 0, {{0x12}}, 1, 0xFF, Bytes(2, E), w({0x1212})},
    {"gray with alpha drops alpha", csGA, csG, 8, 8, 0, 0, {{5, 200, 6, 200}}, 2, 0xFF, Bytes(2, E), {5, 6}},
    {"indexed 1 to 8 bits", csIndexed, csIndexed, 1, 8, 0, 0, {{0xA0}}, 3, 0xFF, Bytes(3, E), {255, 0, 255}},
    {"indexed 4 to 4 copies whole bytes only", csIndexed, csIndexed, 4, 4, 0, 0, {{0x12, 0x34}}, 3, 0xFF,
     Bytes(3, E), {0x12, 0x34, E}},
    {"indexed 2 to 4 bits keeps other fields", csIndexed, csIndexed, 2, 4, 0, 0, {{0b11'01'00'10}}, 3, 0xFF,
     {0x00, 0x0C}, {0xF5, 0x0C}},
    {"indexed 8 to 1 bit with mask", csIndexed, csIndexed, 8, 1, 0, 0, {{255, 255}}, 8, 0x41, {0x00}, {0x41}},
    {"indexed 16-bit source to 4 bits", csIndexed, csIndexed, 16, 4, 0, 0, {w({0xFFFF, 0x1111, 0x8888})}, 3, 0xFF,
     {0x00, 0x0C}, {0xF1, 0x8C}},
    {"indexed 2-bit source to 16 bits", csIndexed, csIndexed, 2, 16, 0, 0, {{0b11'01'00'00}}, 2, 0xFF, Bytes(4, E),
     w({0xFFFF, 0x5555})},
    {"indexed 16 to 16 with swap and mask", csIndexed, csIndexed, 16, 16, coNeedByteSwap, 0, {w({0x1234})}, 2, 0x40,
     Bytes(4, E), {E, E, 0x12, 0x34}},
    {"indexed 16 to 16 copied", csIndexed, csIndexed, 16, 16, 0, 0, {w({0x1234, 0x5678})}, 2, 0xFF, Bytes(4, E),
     w({0x1234, 0x5678})},
    {"grey as indices, 8 to 4 bits", csG, csIndexed, 8, 4, 0, 0, {{255, 17}}, 2, 0xFF, {0x00}, {0xF1}},
};

class RowConversion : public ::testing::TestWithParam<Case> {};

TEST_P(RowConversion, ConvertsAsDescribed)
{
    const Case& c = GetParam();
    TColorManager cm;
    cm.SetSourceColorScheme(c.source);
    cm.SetTargetColorScheme(c.target);
    cm.SetSourceBitsPerSample(c.sourceBits);
    cm.SetTargetBitsPerSample(c.targetBits);
    cm.SourceOptions = c.sourceOptions;
    cm.TargetOptions = c.targetOptions;
    std::vector<const void*> source;
    for (const Bytes& p : c.planes)
        source.push_back(p.data());
    Bytes target = c.before;
    cm.ConvertRow(source.data(), source.size(), target, c.count, c.mask);
    EXPECT_EQ(target, c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, RowConversion, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string n;
    for (char ch : std::string(info.param.name))
        n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return n;
});

TEST(RowConversionState, OptionChangesTakeEffectOnTheNextRow)
{
    TColorManager cm;
    Bytes in{128, 128, 128}, out(3);
    cm.ConvertRow({in.data()}, out, 1, 0xFF);
    EXPECT_EQ(out, (Bytes{128, 128, 128}));
    cm.TargetOptions = coApplyGamma;
    cm.ConvertRow({in.data()}, out, 1, 0xFF);
    EXPECT_EQ(out, (Bytes{186, 186, 186}));
    // A description change selects a new converter.
    cm.SetTargetColorScheme(csRGB);
    cm.TargetOptions = 0;
    Bytes rgb{1, 2, 3};
    cm.SetSourceColorScheme(csBGR);
    cm.ConvertRow({rgb.data()}, out, 1, 0xFF);
    EXPECT_EQ(out, (Bytes{3, 2, 1}));
}

} // namespace
