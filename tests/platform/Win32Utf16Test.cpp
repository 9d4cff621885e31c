#include "platform/win32/Utf16.h"

#include <gtest/gtest.h>

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
