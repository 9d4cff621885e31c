#include "text/Utf8.h"
#include "text/Characters.h"

#include <gtest/gtest.h>

using namespace twk::text;

namespace {

std::string encoded(char32_t codePoint)
{
    std::string text;
    appendUtf8(text, codePoint);
    return text;
}

} // namespace

TEST(Utf8, EveryLengthDecodesAndEncodesBackToTheSameBytes)
{
    for (const char32_t codePoint : {U'A', U'\u00E9', U'\u0416', U'\u20AC', U'\u65E5', U'\U0001F44D', U'\U0010FFFF'}) {
        const auto bytes = encoded(codePoint);
        const auto character = utf8CharacterAt(bytes, 0);
        EXPECT_TRUE(character.valid);
        EXPECT_EQ(character.codePoint, codePoint);
        EXPECT_EQ(character.length, bytes.size());
        EXPECT_TRUE(isUtf8(bytes));
    }
    EXPECT_EQ(encoded(U'\U0001F44D'), "\xF0\x9F\x91\x8D");
}

TEST(Utf8, MalformedSequencesAreSingleBytesOfTheirOwn)
{
    for (const std::string& bad : {
             std::string("\x80"),             // a continuation byte alone
             std::string("\xE9t\xE9"),        // Latin-1 "ete": the lead is followed by ASCII
             std::string("\xC3"),             // cut at the end
             std::string("\xE2\x82"),         // cut at the end
             std::string("\xC0\xAF"),         // overlong '/'
             std::string("\xE0\x80\xAF"),     // overlong '/'
             std::string("\xED\xA0\x80"),     // a surrogate
             std::string("\xF4\x90\x80\x80"), // past U+10FFFF
             std::string("\xFF"),
         }) {
        const auto character = utf8CharacterAt(bad, 0);
        EXPECT_FALSE(character.valid) << bad;
        EXPECT_EQ(character.length, 1u) << bad;
        EXPECT_EQ(character.codePoint, kReplacementCharacter) << bad;
        EXPECT_FALSE(isUtf8("ok " + bad + " ok")) << bad;
    }
    EXPECT_TRUE(isUtf8(""));
    EXPECT_TRUE(isUtf8(std::string("a\0b", 3)));
}

TEST(Utf8, WhatNoUtf8CanHoldIsWrittenAsTheReplacementCharacter)
{
    EXPECT_EQ(encoded(0xD800), encoded(kReplacementCharacter));
    EXPECT_EQ(encoded(0x110000), encoded(kReplacementCharacter));
}

TEST(Characters, CountsCodePointsWhateverTheirLength)
{
    // Cyrillic, CJK and an emoji: 2, 3 and 4 bytes a character.
    EXPECT_EQ(characterCount("\xD0\x9F\xD1\x80\xD0\xB8"), 3u);
    EXPECT_EQ(characterCount("\xE6\x97\xA5\xE6\x9C\xAC"), 2u);
    EXPECT_EQ(characterCount("up \xF0\x9F\x91\x8D"), 4u);
    EXPECT_EQ(firstCharacters("up \xF0\x9F\x91\x8D!", 4), "up \xF0\x9F\x91\x8D");
    EXPECT_EQ(firstCharacters("up \xF0\x9F\x91\x8D!", 3), "up ");
    EXPECT_EQ(firstCharacters("a\xC3\xA9", 10), "a\xC3\xA9");
    EXPECT_EQ(firstCharacters("a\xC3\xA9", 0), "");
}

TEST(Characters, LowerCasesAsciiAndLeavesOtherBytes)
{
    EXPECT_EQ(asciiLower("MailTo:\xC3\x89"), "mailto:\xC3\x89");
    EXPECT_TRUE(equalsIgnoringAsciiCase("LinkCatcher", "LINKCATCHER"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("TWK", "TWKX"));
}

TEST(Characters, EveryByteOfMalformedTextCountsSoNoLimitIsPassed)
{
    // Code page 1252's curly quotes, euro, copyright, pound and degree signs
    // lie in 0x80..0xBF: once they counted as no character at all.
    const std::string ansi = "\x93\x80\xA9\xA3\xB0\x94";
    EXPECT_EQ(characterCount(ansi), 6u);
    EXPECT_EQ(firstCharacters(ansi, 2), "\x93\x80");
    // A cut sequence counts as its bytes, and a whole one after it as one.
    EXPECT_EQ(characterCount("\xE2\x82"
                             "\xE2\x82\xAC"),
              3u);
    EXPECT_EQ(firstCharacters("\xE2\x82"
                              "\xE2\x82\xAC",
                              2),
              "\xE2\x82");
}
