// Row conversions, table-driven: tests/data/colour/row_conversions.txt describes each case's
// source and target, the source samples and the target after the conversion (or the error
// it raises). The cases aim at channel order, rounding, masks, alpha handling and byte order.
#include "ImagingTests.h"
#include "imaging/GraphicColor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const std::map<std::string, int> kNames = {
    {"Unknown", csUnknown}, {"Indexed", csIndexed}, {"G", csG}, {"GA", csGA}, {"RGB", csRGB}, {"RGBA", csRGBA},
    {"BGR", csBGR}, {"BGRA", csBGRA}, {"CMY", csCMY}, {"CMYK", csCMYK}, {"CIELab", csCIELab}, {"YCbCr", csYCbCr},
    {"PhotoYCC", csPhotoYCC}, {"swap", coNeedByteSwap}, {"gamma", coApplyGamma}, {"labrange", coLabByteRange},
    {"laboffset", coLabChromaOffset}};

// Bytes as the table writes them: 12, 0x0C, w0x1234 (two bytes, low first), E (0xEE), x*n.
Bytes bytesOf(const std::string& text)
{
    Bytes b;
    std::istringstream in(text);
    for (std::string t; in >> t;) {
        std::size_t star = t.find('*');
        unsigned long v = t[0] == 'E' ? 0xEE : std::stoul(t.substr(t[0] == 'w'), nullptr, 0);
        for (int n = star == std::string::npos ? 1 : std::stoi(t.substr(star + 1)); n > 0; --n) {
            b.push_back(uint8_t(v));
            if (t[0] == 'w')
                b.push_back(uint8_t(v >> 8));
        }
    }
    return b;
}

std::vector<std::string> split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + separator.size()) {
        end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
    }
    return parts;
}

// "RGB 16 swap": scheme, bits per sample and options of one side.
void describe(TColorManager& cm, const std::string& text, bool source)
{
    std::istringstream in(text);
    std::string scheme;
    int bits = 0;
    TConvertOptions options = 0;
    in >> scheme >> bits;
    for (std::string o; in >> o;)
        options |= TConvertOptions(kNames.at(o));
    (cm.*(source ? &TColorManager::SetSourceColorScheme : &TColorManager::SetTargetColorScheme))(
        TColorScheme(kNames.at(scheme)));
    (cm.*(source ? &TColorManager::SetSourceBitsPerSample : &TColorManager::SetTargetBitsPerSample))(uint8_t(bits));
    (source ? cm.SourceOptions : cm.TargetOptions) = options;
}

TEST(RowConversion, EveryCaseOfTheTable)
{
    std::ifstream table(TestData() / "colour" / "row_conversions.txt");
    ASSERT_TRUE(table) << "the table was not found";
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> f = split(line, "|"), target = split(f.back(), "<-");
        ASSERT_EQ(f.size(), 6u) << line;
        SCOPED_TRACE(f[0]);
        TColorManager cm;
        describe(cm, f[1], true);
        describe(cm, f[2], false);
        std::istringstream pixels(f[3]);
        uint32_t count = 0;
        std::string mask = "0xFF";
        pixels >> count >> mask;
        std::vector<Bytes> planes;
        std::vector<const void*> source;
        for (const std::string& plane : split(f[4], "/"))
            source.push_back(planes.emplace_back(bytesOf(plane)).data());
        std::size_t bang = target[0].find('!');
        Bytes after = bang == std::string::npos ? bytesOf(target[0]) : Bytes(16, 0xEE);
        Bytes row = target.size() > 1 ? bytesOf(target[1]) : Bytes(after.size(), 0xEE);
        for (int attempt = 0; attempt < 2; ++attempt)   // a refused conversion is refused again
            EXPECT_EQ(ReaderError([&] {
                          cm.ConvertRow(source.data(), source.size(), row, count, uint8_t(std::stoul(mask, 0, 0)));
                      }),
                      bang == std::string::npos ? "" : target[0].substr(bang + 2));
        EXPECT_EQ(row, after);
    }
}

TEST(RowConversion, ChangesTakeEffectOnTheNextRow)
{
    TColorManager cm;   // 8-bit RGB to BGR
    Bytes in{128, 128, 128}, out(3);
    auto convert = [&] {
        cm.ConvertRow({in.data()}, out, 1, 0xFF);
        return out;
    };
    EXPECT_EQ(convert(), (Bytes{128, 128, 128}));
    cm.TargetOptions = coApplyGamma;
    EXPECT_EQ(convert(), (Bytes{186, 186, 186}));
    cm.TargetOptions = 0;
    cm.SetTargetColorScheme(csRGB);   // a new description selects a new converter
    in = {1, 2, 3};
    EXPECT_EQ(convert(), (Bytes{1, 2, 3}));
}

} // namespace
