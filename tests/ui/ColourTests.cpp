// The colour picker of the grass settings and the colour value texts.
#include "UiTestSupport.h"

#include <cmath>

TEST(FormatColorValue, GivesFiveCharacterValues)
{
    EXPECT_EQ(FormatColorValue("1"), "1.000");
    EXPECT_EQ(FormatColorValue("0"), "0.000");
    EXPECT_EQ(FormatColorValue("0.2"), "0.200");
    EXPECT_EQ(FormatColorValue("0.25"), "0.250");
    EXPECT_EQ(FormatColorValue("0.250980392156863"), "0.250");
    EXPECT_EQ(FormatColorValue("0.501960784313725"), "0.500") << "a third decimal of 1 becomes 0";
    EXPECT_EQ(FormatColorValue("0.101960784313725"), "0.100");
    EXPECT_EQ(FormatColorValue("0.0039"), "0.003");
    // Texts the picker never makes stay within the buffer.
    EXPECT_EQ(FormatColorValue(""), "0.000");
    EXPECT_EQ(FormatColorValue("5"), "5.000");
    EXPECT_EQ(FormatColorValue("0.5"), "0.500");
}

TEST(FormatColorValue, EveryComponentGivesItsThousandthsCutDown)
{
    for (uint32_t k = 0; k <= 255; ++k) {
        std::string expected;
        if (k == 255) {
            expected = "1.000";
        } else {
            // Thousandths of k/255 cut, not rounded, and a last digit of 1 written as 0.
            int thousandths = int(k * 1000 / 255);
            if (thousandths % 10 == 1) thousandths -= 1;
            char buf[16];
            std::snprintf(buf, sizeof buf, "0.%03d", thousandths);
            expected = buf;
        }
        EXPECT_EQ(ColorComponentText(k), expected) << "component " << k;
    }
    EXPECT_EQ(ColorComponentText(51), "0.200");
    EXPECT_EQ(ColorComponentText(64), "0.250");
    EXPECT_EQ(ColorComponentText(128), "0.500");
    EXPECT_EQ(ColorComponentText(26), "0.100");
}

TEST_F(UiTest, ThePickerWritesTheChosenColourIntoItsGroup)
{
    StartEditor();
    OpenSet(WriteSet("rural.set", SampleSet));
    dialogs.Clear();
    TFram1& f = F();

    // Diffuse, pure white: the dialog starts from the panel's colour.
    const uint32_t before = f.Panel7->Color();
    dialogs.QueueColour(0x00FFFFFFu);
    f.Panel7Click(f.Panel7);
    ASSERT_EQ(dialogs.colourRequests.size(), 1u);
    EXPECT_EQ(dialogs.colourRequests[0], before);
    EXPECT_EQ(f.DRedEdit->text().toStdString(), "1.000");
    EXPECT_EQ(f.DGreenEdit->text().toStdString(), "1.000");
    EXPECT_EQ(f.DBlueEdit->text().toStdString(), "1.000");
    EXPECT_EQ(f.Panel1->Color(), 0x0000FFu);
    EXPECT_EQ(f.Panel3->Color(), 0x00FF00u);
    EXPECT_EQ(f.Panel5->Color(), 0xFF0000u);
    EXPECT_EQ(f.Panel7->Color(), 0xFFFFFFu);
    EXPECT_EQ(f.ARedEdit->text().toStdString(), "0.500") << "the ambient group is untouched";

    // Ambient, a mixed colour 0x00BBGGRR: red 128, green 64, blue 26.
    dialogs.QueueColour(0x001A4080u);
    f.Panel7Click(f.Panel8);
    EXPECT_EQ(f.ARedEdit->text().toStdString(), "0.500");
    EXPECT_EQ(f.AGreenEdit->text().toStdString(), "0.250");
    EXPECT_EQ(f.ABlueEdit->text().toStdString(), "0.100");
    EXPECT_EQ(f.Panel2->Color(), 0x80u);
    EXPECT_EQ(f.Panel4->Color(), 0x4000u);
    EXPECT_EQ(f.Panel6->Color(), 0x1A0000u);
    EXPECT_EQ(f.Panel8->Color(), 0x1A4080u);
    EXPECT_EQ(f.DRedEdit->text().toStdString(), "1.000");

    // Black, by a click on the panel itself.
    dialogs.QueueColour(0u);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(f.Panel7, &press);
    QApplication::sendEvent(f.Panel7, &release);
    EXPECT_EQ(dialogs.colourRequests.size(), 3u);
    EXPECT_EQ(f.DRedEdit->text().toStdString(), "0.000");
    EXPECT_EQ(f.DBlueEdit->text().toStdString(), "0.000");
    EXPECT_EQ(f.Panel7->Color(), 0u);

    // Cancelled: nothing changes.
    f.Panel7Click(f.Panel8);
    EXPECT_EQ(f.Panel8->Color(), 0x1A4080u);
    EXPECT_EQ(f.AGreenEdit->text().toStdString(), "0.250");

    // The picked values are what Save writes.
    CGeneral g;
    f.ReadGeneral(g);
    EXPECT_EQ(g.DiffuseRed, "0.000");
    EXPECT_EQ(g.AmbientBlue, "0.100");
}

TEST(VclColours, ConvertChannelByChannel)
{
    const QColor c = ColorFromVcl(0x00123456u);
    EXPECT_EQ(c.red(), 0x56);
    EXPECT_EQ(c.green(), 0x34);
    EXPECT_EQ(c.blue(), 0x12);
    EXPECT_EQ(VclFromColor(QColor(0x56, 0x34, 0x12)), 0x00123456u);
}
