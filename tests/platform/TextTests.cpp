#include <climits>

#include <gtest/gtest.h>

#include "platform/StringList.h"
#include "platform/Text.h"

TEST(Text, CaseFoldingIsAsciiOnly)
{
    EXPECT_TRUE(EqualsNoCase("Grass", "gRASS"));
    EXPECT_FALSE(EqualsNoCase("Grass", "Grass "));
    // Bytes above 127 are compared as they are: Latin-1 letters are never folded.
    EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));
    EXPECT_TRUE(StartsWithNoCase("NAMES=x", "Name", 4));
    EXPECT_FALSE(StartsWithNoCase("Nam", "Name", 4)) << "a text shorter than the compare length";
    EXPECT_FALSE(StartsWithNoCase(" Name=x", "Name", 4));
    EXPECT_TRUE(StartsWithNoCase("[tile12]", "[TILE", 5));
}

TEST(Text, StrToIntAcceptsOnlyWholeNumbers)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -7 "), -7);
    EXPECT_EQ(StrToInt("+3"), 3);
    EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
    for (const char* bad : {"", "-", "2x", "x2", "1 2", "2147483648", "99999999999999999999", "0x10"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_DOUBLE_EQ(StrToFloat("0.25"), 0.25);
    EXPECT_THROW(StrToFloat("0,25"), EConvertError);
    EXPECT_THROW(StrToFloat(""), EConvertError);
}

TEST(Text, LeadingIntTakesDigitsUpToTheFirstOtherCharacterAndSaturates)
{
    EXPECT_EQ(LeadingInt("2x"), 2);
    EXPECT_EQ(LeadingInt("   -12abc"), -12);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("-"), 0);
    EXPECT_EQ(LeadingInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(LeadingInt("-2147483648"), INT_MIN);
}

TEST(Text, FormatGrowsPastAnyFixedBuffer)
{
    std::string big(5000, 'a');
    EXPECT_EQ(Format("%s=%d", big.c_str(), 3), big + "=3");
}

TEST(StringList, PositionsSortAndCaseInsensitiveSearch)
{
    StringList l;
    EXPECT_EQ(l.Add("beta"), 0);
    EXPECT_EQ(l.Add("Alpha"), 1);
    l.Add("gamma");
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.IndexOf("ALPHA"), 1);
    EXPECT_EQ(l.IndexOf("alph"), -1) << "whole texts only";
    l.Put(2, "Delta");
    l.Delete(0);
    EXPECT_EQ(l.Items(), (std::vector<std::string>{"Alpha", "Delta"}));
    l.Add("charlie");
    l.Sort();
    EXPECT_EQ(l.Items(), (std::vector<std::string>{"Alpha", "charlie", "Delta"}));
    EXPECT_THROW(l.Get(3), std::out_of_range);
    EXPECT_THROW(l.Delete(-1), std::out_of_range);
    l.Clear();
    EXPECT_TRUE(l.Empty());
}
