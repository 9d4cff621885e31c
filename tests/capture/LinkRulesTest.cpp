#include "capture/LinkRules.h"

#include <gtest/gtest.h>

using namespace twk::capture;

TEST(LinkRules, PrefixesCatchInBothModesWhateverTheCase)
{
    for (const char* text : {"http://example.org", "HTTPS://X", "www.Example", "MAILTO:me@x", "ftp", "ftpfoo",
                             "nntp://news", "news.group"}) {
        EXPECT_TRUE(IsLink(text, "1")) << text;
        EXPECT_TRUE(IsLink(text, "0")) << text;
    }
}

TEST(LinkRules, ContainedMarkersCatchOnlyInLooseMode)
{
    for (const char* text : {"write to me@example", "see www.x", " http://x", "\r\nhttp://x", "go to ftp.site",
                             "a.conclusion", "x.de", "x.uk", "mail.me"}) {
        EXPECT_FALSE(IsLink(text, "1")) << text;
        EXPECT_TRUE(IsLink(text, "0")) << text;
        EXPECT_TRUE(IsLink(text, "abc")) << "a StrictUrls that is no number is not 1: " << text;
    }
    EXPECT_FALSE(IsLink("plain words and an ftp mention", "0"));
    EXPECT_FALSE(IsLink("", "0"));
}

TEST(LinkRules, TextsOverTheLimitAreNeverLinks)
{
    const std::string atLimit = "http://" + std::string(249, 'x');
    ASSERT_EQ(atLimit.size(), 256u);
    EXPECT_TRUE(IsLink(atLimit, "1"));
    EXPECT_FALSE(IsLink(atLimit + "x", "1"));
    EXPECT_FALSE(IsLink(std::string(300, 'a') + "@", "0"));
    // Counted in characters: 256 two-byte letters are still examined.
    std::string accented = "www.";
    for (int i = 0; i < 252; ++i)
        accented += "\xC3\xA9";
    EXPECT_TRUE(IsLink(accented, "1"));
}

TEST(JavascriptRule, RecognisesTheMarkerInAnyCaseOnlyAtTheStart)
{
    EXPECT_TRUE(StartsWithJavascript("JavaScript:void(0)"));
    EXPECT_FALSE(StartsWithJavascript(" javascript:x"));
    EXPECT_FALSE(StartsWithJavascript("javascript"));
}

TEST(JavascriptRule, TakesWhatTheFirstMarkersEncloseWithoutBlanks)
{
    EXPECT_EQ(JavascriptTarget("javascript:window.open('http://a.b/c')"), "http://a.b/c");
    EXPECT_EQ(JavascriptTarget("javascript:open( 'http://a b' )"), "http://ab");
    EXPECT_EQ(JavascriptTarget("javascript:f('a','b')"), "a','b");
    EXPECT_EQ(JavascriptTarget("javascript:f('')"), "");
    EXPECT_EQ(JavascriptTarget("javascript:f('\tx\r\n')"), "\tx\r\n");
    EXPECT_EQ(JavascriptTarget("javascript:abcdefg('123456789')"), "123456789");
}

TEST(JavascriptRule, LeavesTextWhoseMarkersEncloseNothing)
{
    EXPECT_FALSE(JavascriptTarget("javascript:void(0)").has_value());
    EXPECT_FALSE(JavascriptTarget("javascript:a')b('c").has_value());
    // No opening marker: the part runs from the second character to the closing one.
    EXPECT_EQ(JavascriptTarget("javascript:x')"), "avascript:x");
    // An opening marker at the very end leaves nothing to take.
    EXPECT_FALSE(JavascriptTarget("javascript:')('").has_value());
}
