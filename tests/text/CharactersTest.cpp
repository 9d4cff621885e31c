#include "text/Characters.h"

#include <gtest/gtest.h>

using namespace twk::text;

TEST(Characters, CountsAndCutsWholeCharactersOnly)
{
    const std::string text = "a\xC3\xA9z\xE2\x82\xAC"; // a, e acute, z, euro sign
    EXPECT_EQ(characterCount(text), 4u);
    EXPECT_EQ(firstCharacters(text, 2), "a\xC3\xA9");
    EXPECT_EQ(firstCharacters(text, 10), text);
    EXPECT_EQ(firstCharacters(text, 0), "");
}

TEST(Characters, LowerCasesAsciiAndLeavesOtherBytes)
{
    EXPECT_EQ(asciiLower("MailTo:\xC3\x89"), "mailto:\xC3\x89");
    EXPECT_TRUE(equalsIgnoringAsciiCase("LinkCatcher", "LINKCATCHER"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("TWK", "TWKX"));
}
