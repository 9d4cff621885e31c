#include "ui/ShownText.h"

#include <gtest/gtest.h>

using namespace twk::ui;

TEST(ShownText, StartsAtALineOrAtLeastACharacterWithinTheLimit)
{
    EXPECT_EQ(shownFrom("short", 10), 0u);
    const std::string text = "first line\r\nsecond line\r\nthird";
    EXPECT_EQ(text.substr(shownFrom(text, 8)), "third");
    EXPECT_EQ(text.substr(shownFrom(text, 20)), "second line\r\nthird");
    EXPECT_EQ(text.substr(shownFrom(text, 14)), "nd line\r\nthird"); // no line start in the first half
    // No line start near: the cut falls after the character it would split,
    // whatever its length.
    const std::string accents = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    EXPECT_EQ(accents.substr(shownFrom(accents, 5)), "\xC3\xA9\xC3\xA9");
    const std::string emoji = "\xF0\x9F\x91\x8D\xF0\x9F\x91\x8D\xF0\x9F\x91\x8D";
    EXPECT_EQ(emoji.substr(shownFrom(emoji, 6)), "\xF0\x9F\x91\x8D");
    // Nor inside a CR LF pair.
    const std::string breaks = std::string(40, 'x') + "\r\n" + std::string(40, 'y');
    EXPECT_EQ(breaks.substr(shownFrom(breaks, 41)), std::string(40, 'y'));
}

TEST(ShownText, TheNoticeSaysHowMuchIsLeftOutInKilobytesOrMegabytes)
{
    EXPECT_EQ(leftOutNotice(3 * 1024 * 1024 / 2),
              "[The first 1.5 MB of this text are not shown: it is too long for this window.]");
    EXPECT_EQ(leftOutNotice(1), "[The first 1 KB of this text are not shown: it is too long for this window.]");
    EXPECT_EQ(leftOutNotice(1025), "[The first 2 KB of this text are not shown: it is too long for this window.]");
}

TEST(ShownText, AnAddedPieceConvertsOnItsOwnUnlessItSplitsACharacterOrALineBreak)
{
    EXPECT_TRUE(convertsOnItsOwn("abc\r\nnew", "\r\nnew"));
    EXPECT_FALSE(convertsOnItsOwn("ends\r\nnext", "\nnext"));
    EXPECT_FALSE(convertsOnItsOwn("caf\xC3\xA9 open", "\xA9 open"));
    EXPECT_TRUE(convertsOnItsOwn("whole", "whole"));
}
