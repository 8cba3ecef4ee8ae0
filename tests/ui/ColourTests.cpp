// The colour value texts of the grass settings, and colours as the model keeps them.
#include "UiTestSupport.h"

#include "platform/Text.h"

TEST(Colours, ValueTextsAndChannelsConvert)
{
    // Texts the picker never makes, short ones included, stay within the text.
    const std::pair<const char*, const char*> cases[] = {{"", "0.000"}, {"5", "5.000"}, {"0.25", "0.250"}};
    for (auto [in, out] : cases) EXPECT_EQ(FormatColorValue(in), out) << in;
    // Thousandths of k/255 cut, not rounded, and a last digit of 1 written as 0.
    for (int k = 0; k <= 255; ++k) {
        const int t = k * 1000 / 255 - (k * 1000 / 255 % 10 == 1);
        EXPECT_EQ(ColorComponentText(k), Format("%d.%03d", t / 1000, t % 1000)) << "component " << k;
    }
    EXPECT_EQ(ColorFromVcl(0x00123456u), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(VclFromColor(QColor(0x56, 0x34, 0x12)), 0x00123456u);
}
