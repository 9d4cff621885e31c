#include "logbrowser/Matcher.h"
#include "logbrowser/AsciiFold.h"
#include "logbrowser/CaseFold.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <variant>

namespace twk::logbrowser {
namespace {

Matcher plain(const std::string& query)
{
    return std::get<Matcher>(Matcher::make(query, false));
}

Matcher regex(const std::string& query)
{
    return std::get<Matcher>(Matcher::make(query, true));
}

TEST(CaseFold, FindsTextWhateverItsCaseInEveryScript)
{
    EXPECT_TRUE(plain("STRASSE").matches("in der strasse"));
    EXPECT_TRUE(plain("straße").matches("STRAẞE 5")); // capital sharp s folds to the small one
    EXPECT_TRUE(plain("σοφια").matches("ΣΟΦΙΑ"));
    EXPECT_TRUE(plain("ΟΔΟΣ").matches("οδος, οδός")); // final sigma is a sigma
    EXPECT_TRUE(plain("привет").matches("ПРИВЕТ мир"));
    EXPECT_TRUE(plain("ǅ").matches("ǆ"));          // title case
    EXPECT_FALSE(plain("ss").matches("ß"));        // one character to one: no expansion
    EXPECT_FALSE(plain("σοφια").matches("σοφία")); // accents are not case
}

TEST(CaseFold, AsciiLettersFoundInTheSignsThatFoldToThem)
{
    // The Kelvin sign and the long s fold to k and s: a needle with k or s
    // must find them although it is plain ASCII.
    EXPECT_TRUE(plain("5 k").matches("5 \xE2\x84\xAA"));
    EXPECT_TRUE(plain("sun").matches("\xC5\xBFun"));
    EXPECT_EQ(plain("kiss me").anchor(), " me");
    EXPECT_EQ(plain("hello").anchor(), "hello");
    EXPECT_EQ(plain("σοφια x").anchor(), " x");
}

TEST(CaseFold, BytesThatAreNotUtf8MatchOnlyThemselves)
{
    EXPECT_EQ(folded("A\xFF"
                     "B\xC3"),
              "a\xFF"
              "b\xC3");
    EXPECT_TRUE(plain("b").matches("\xFF\xFE"
                                   "B"));
    EXPECT_FALSE(plain("\xC3\xA9").matches("\xC3 \x89")); // é finds É, an É cut apart is not one
    EXPECT_TRUE(plain("\xC3\xA9").matches("x\xC3\x89"));
}

TEST(Matcher, EmptyQueryMatchesEverythingAndExpressionsIgnoreCaseUnlessTold)
{
    EXPECT_TRUE(plain("").matchesEverything());
    EXPECT_TRUE(plain("").matches(""));
    EXPECT_TRUE(regex("^https?://").matches("HTTP://example.org"));
    EXPECT_FALSE(regex("(?-i)^https?://").matches("HTTP://example.org"));
    EXPECT_TRUE(regex("σοφ.α").matches("ΣΟΦΙΑ"));
    EXPECT_TRUE(regex("^line two$").matches("line one\r\nline two") == false); // $ is the text's end
    EXPECT_TRUE(regex("(?m)^line two\r?$").matches("line one\r\nline two\r\nthree"));
}

TEST(Matcher, UnusableExpressionSaysWhyAndPathologicalOnesFinish)
{
    const auto made = Matcher::make("(unclosed", true);
    ASSERT_TRUE(std::holds_alternative<std::string>(made));
    EXPECT_FALSE(std::get<std::string>(made).empty());
    // Backtracking engines take exponential time on this; it must simply answer.
    EXPECT_FALSE(regex("(a*)*b").matches(std::string(5000, 'a')));
    EXPECT_FALSE(regex("(a|aa)+$").matches(std::string(5000, 'a') + "!"));
}

// Against a plain loop, at every offset and length around the sixteen-byte steps.
TEST(AsciiFold, FindsWhatASimpleSearchFinds)
{
    std::mt19937 random(7);
    const std::string letters = "aAbB[@`{ \r\n\xC3\xA9";
    for (int round = 0; round < 3000; ++round) {
        std::string haystack(random() % 70, ' ');
        for (char& c : haystack)
            c = letters[random() % letters.size()];
        std::string needle(1 + random() % 4, ' ');
        for (char& c : needle)
            c = asciiFolded(letters[random() % letters.size()]);
        const std::size_t from = random() % (haystack.size() + 2);
        std::size_t expected = std::string::npos;
        for (std::size_t at = from; at + needle.size() <= haystack.size() && expected == std::string::npos; ++at) {
            bool same = true;
            for (std::size_t i = 0; i < needle.size(); ++i)
                same = same && asciiFolded(haystack[at + i]) == needle[i];
            if (same)
                expected = at;
        }
        ASSERT_EQ(findAsciiFolded(haystack, needle, from), expected) << "'" << haystack << "' / '" << needle << "'";
    }
}

} // namespace
} // namespace twk::logbrowser
