#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <gtest/gtest.h>

using twk::platform::win32::sameText;
using twk::platform::win32::toUtf8;
using twk::platform::win32::toWide;

TEST(Win32Utf16, TextsOfEveryScriptRoundTrip)
{
    const std::string texts[] = {
        "",
        "plain ASCII",
        "caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC"
        "5",                                                                         // Latin-1 and 1252 punctuation
        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD0\xBC\xD0\xB8\xD1\x80", // Cyrillic
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",                                      // CJK
        "thumbs \xF0\x9F\x91\x8D up",                                                // outside the BMP
        std::string("a\0b", 3),
    };
    for (const auto& text : texts)
        EXPECT_EQ(toUtf8(toWide(text)), text);
    EXPECT_EQ(toWide("\xD0\x9F"), L"\x041F");
    EXPECT_EQ(toWide("\xF0\x9F\x91\x8D"), L"\xD83D\xDC4D");
}

TEST(Win32Utf16, MalformedInputBecomesReplacementCharactersAndNothingIsDropped)
{
    // 1252 bytes and a cut sequence: one U+FFFD a byte, the rest kept in place.
    EXPECT_EQ(toWide("caf\xE9!"), L"caf\xFFFD!");
    EXPECT_EQ(toWide("\xE2\x82"), L"\xFFFD\xFFFD");
    // Unpaired surrogates, at the end, alone, and reversed.
    EXPECT_EQ(toUtf8(std::wstring(L"x\xD83D")), "x\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(std::wstring(L"\xDC4D"
                                  L"y")),
              "\xEF\xBF\xBDy");
    EXPECT_EQ(toUtf8(std::wstring(L"\xDC4D\xD83D")), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(toUtf8(L"\x00E9"), "\xC3\xA9");
}

TEST(Win32Utf16, ATextIsTheSameAsAWideTextExactlyWhenItConvertsToIt)
{
    // Long enough for the eight-byte steps, with characters across their borders.
    const std::string texts[] = {
        "",
        "eight by",
        "plain ASCII, more than eight bytes long",
        "1234567\xC3\xA9 caf\xC3\xA9\r\n\xD0\x9F\xD1\x80\xD0\xB8 thumbs \xF0\x9F\x91\x8D up, and after",
        "caf\xE9 and a cut \xE2\x82", // malformed: as toWide reads it
    };
    for (const auto& text : texts) {
        const std::wstring wide = toWide(text);
        EXPECT_TRUE(sameText(text, wide)) << text;
        for (std::size_t at = 0; at < wide.size(); ++at) {
            std::wstring other = wide;
            other[at] ^= 1;
            EXPECT_FALSE(sameText(text, other)) << text << " at " << at;
        }
        if (!wide.empty()) {
            EXPECT_FALSE(sameText(text, wide.substr(1))) << text;
            EXPECT_FALSE(sameText(text.substr(0, text.size() - 1), wide)) << text;
        }
        EXPECT_FALSE(sameText(text, wide + L"x")) << text;
    }
    // A lone surrogate reads as U+FFFD, which is not the surrogate.
    EXPECT_FALSE(sameText(toUtf8(std::wstring(L"x\xD83D")), L"x\xD83D"));
}

TEST(Win32AnsiCodePage, ReadsAndWritesWhatOlderProgramsWroteInTheWesternCodePage)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << ::GetACP();
    const twk::platform::win32::AnsiCodePage ansi;
    // Curly quotes and the euro sign lie in 0x80..0x9F, e acute in Latin-1's half.
    EXPECT_EQ(ansi.toUtf8("\x93"
                          "caf\xE9\x94 \x80"),
              "\xE2\x80\x9C"
              "caf\xC3\xA9\xE2\x80\x9D \xE2\x82\xAC");
    EXPECT_EQ(ansi.fromUtf8("\xE2\x80\x9C"
                            "caf\xC3\xA9\xE2\x80\x9D \xE2\x82\xAC"),
              "\x93"
              "caf\xE9\x94 \x80");
    // Bytes the code page leaves undefined come back as they were.
    EXPECT_EQ(ansi.fromUtf8(ansi.toUtf8("\x81\x8D\x8F\x90\x9D")), "\x81\x8D\x8F\x90\x9D");
    // Cyrillic is no character of it, and no look-alike stands in.
    EXPECT_EQ(ansi.fromUtf8("\xD0\x96"), std::nullopt);
    EXPECT_EQ(ansi.fromUtf8("\xC4\x80"), std::nullopt) << "A with macron must not become a plain A";
    EXPECT_EQ(ansi.fromUtf8(""), "");
}
