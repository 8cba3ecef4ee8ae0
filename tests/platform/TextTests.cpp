#include <climits>
#include <optional>

#include <gtest/gtest.h>

#include "platform/StringList.h"
#include "platform/Text.h"

TEST(Text, CaseFoldingIsAsciiOnly)
{
    EXPECT_TRUE(EqualsNoCase("Grass", "gRASS"));
    EXPECT_FALSE(EqualsNoCase("Grass", "Grass "));
    // Bytes above 127 are compared as they are: Latin-1 letters are never folded.
    EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));
    EXPECT_TRUE(StartsWithNoCase("[tile12]", "[TILE", 5));
    EXPECT_FALSE(StartsWithNoCase("Nam", "Name", 4)) << "a text shorter than the compare length";
    EXPECT_FALSE(StartsWithNoCase(" Name=x", "Name", 4));
}

TEST(Text, WholeNumbersOnlyAndLeadingNumbersSaturate)
{
    // StrToInt takes the whole text or throws; LeadingInt takes the digits up to the first
    // other character and stops at the 32-bit limits.
    struct Case {
        const char* text;
        std::optional<int> whole;
        int leading;
    };
    for (const Case& c : {Case{"42", 42, 42}, {" -7 ", -7, -7}, {"+3", 3, 3}, {"-2147483648", INT_MIN, INT_MIN},
                          {"2147483647", INT_MAX, INT_MAX}, {"2147483648", {}, INT_MAX},
                          {"18446744073709551617", {}, INT_MAX}, {"-99999999999999999999", {}, INT_MIN},
                          {"   -12abc", {}, -12}, {"x2", {}, 0}, {"1 2", {}, 1}, {"0x10", {}, 0}, {"", {}, 0}, {"-", {}, 0}}) {
        EXPECT_EQ(LeadingInt(c.text), c.leading) << c.text;
        if (c.whole)
            EXPECT_EQ(StrToInt(c.text), *c.whole) << c.text;
        else
            EXPECT_THROW(StrToInt(c.text), EConvertError) << c.text;
    }
    EXPECT_DOUBLE_EQ(StrToFloat("0.25"), 0.25);
    EXPECT_THROW(StrToFloat("0,25"), EConvertError);
    EXPECT_THROW(StrToFloat(""), EConvertError);
}

TEST(Text, FormatGrowsPastAnyFixedBuffer)
{
    std::string big(5000, 'a');
    EXPECT_EQ(Format("%s=%d", big.c_str(), 3), big + "=3");
}

TEST(StringList, SortAndSearchIgnoreCaseAndBadPositionsThrow)
{
    StringList l{"beta", "Alpha", "gamma"};
    EXPECT_EQ(l.IndexOf("ALPHA"), 1);
    EXPECT_EQ(l.IndexOf("alph"), -1) << "whole texts only";
    l.Put(2, "Delta");
    l.Delete(0);
    EXPECT_EQ(l.Add("charlie"), 2);
    l.Sort();
    EXPECT_EQ(l.Items(), (std::vector<std::string>{"Alpha", "charlie", "Delta"}));
    EXPECT_THROW(l.Get(3), std::out_of_range);
    EXPECT_THROW(l.Delete(-1), std::out_of_range);
}
