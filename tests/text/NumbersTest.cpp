#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace twk::text;

TEST(Numbers, SettingsCompareAsNumbersWhateverTheirSpelling)
{
    EXPECT_TRUE(numberEquals("1", 1));
    EXPECT_TRUE(numberEquals(" 01 ", 1));
    EXPECT_TRUE(numberEquals("\t1.0", 1));
    EXPECT_TRUE(numberEquals("+3", 3));
    EXPECT_FALSE(numberEquals("1", 0));
}

TEST(Numbers, TextThatIsNoNumberMatchesNothing)
{
    const std::vector<std::string> texts = {"",    " ",   "abc", "1a", "0x1",  "1e3",
                                            "inf", "nan", ".",   "-",  "1..0", std::string(128, '\0')};
    for (const auto& text : texts) {
        EXPECT_FALSE(toNumber(text).has_value()) << "'" << text << "'";
        EXPECT_FALSE(numberEquals(text, 0));
    }
}

TEST(Numbers, BytesRoundHalfToEvenAndStayInRange)
{
    EXPECT_EQ(toByte("0"), 0);
    EXPECT_EQ(toByte("255"), 255);
    EXPECT_EQ(toByte("1.5"), 2);
    EXPECT_EQ(toByte("2.5"), 2);
    EXPECT_EQ(toByte("-0.4"), 0);
    EXPECT_FALSE(toByte("256").has_value());
    EXPECT_FALSE(toByte("-1").has_value());
    EXPECT_FALSE(toByte("abc").has_value());
}
