#include "ini/IniEncoding.h"

#include <gtest/gtest.h>

#include <vector>

using namespace twk::ini;

namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";

// ASCII text as UTF-16 with its mark, the way Notepad saves "Unicode".
std::string utf16(std::string_view ascii, bool bigEndian = false)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : ascii) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

} // namespace

TEST(IniEncoding, AFileWithAUtf8MarkReadsAndKeepsItsMark)
{
    const auto file = kUtf8Mark + "[S]\nk=a";
    EXPECT_FALSE(isPlainText(file));
    EXPECT_EQ(valueInFile(file, "S", "k"), "a");
    EXPECT_EQ(fileWithValue(file, "S", "k", "b"), kUtf8Mark + "[S]\nk=b");
    EXPECT_EQ(fileWithValue(file, "T", "k", "\xC3\xA9"), kUtf8Mark + "[S]\nk=a\r\n[T]\r\nk=\xC3\xA9\r\n");
    EXPECT_EQ(fileWithValue(kUtf8Mark, "S", "k", "a"), kUtf8Mark + "[S]\r\nk=a\r\n");
}

TEST(IniEncoding, Utf16FilesOfEitherByteOrderReadAndStayUtf16)
{
    for (const bool bigEndian : {false, true}) {
        const auto file = utf16("[TWK]\r\nON=1\r\nPAC = ' 0 '\r\n", bigEndian);
        EXPECT_FALSE(isPlainText(file));
        EXPECT_EQ(valueInFile(file, "twk", "ON"), "1");
        EXPECT_EQ(valueInFile(file, "TWK", "PAC"), " 0 ");
        EXPECT_EQ(fileWithValue(file, "TWK", "ON", "0"), utf16("[TWK]\r\nON=0\r\nPAC = ' 0 '\r\n", bigEndian));
        EXPECT_EQ(fileWithValue(file, "frmAbout", "Left", "5"),
                  utf16("[TWK]\r\nON=1\r\nPAC = ' 0 '\r\n[frmAbout]\r\nLeft=5\r\n", bigEndian));
    }
}

TEST(IniEncoding, CharactersBeyondAsciiTravelBetweenUtf16AndTheProgramsText)
{
    // "é" and an emoji, which UTF-16 writes as a surrogate pair.
    const std::string little = utf16("[S]\r\nk=") + std::string("\xE9\x00\x3D\xD8\x00\xDE", 6);
    EXPECT_EQ(valueInFile(little, "S", "k"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(fileWithValue(utf16("[S]\r\nk=x"), "S", "k", "\xC3\xA9\xF0\x9F\x98\x80"), little);
    const std::string big = utf16("[S]\r\nk=", true) + std::string("\x00\xE9\xD8\x3D\xDE\x00", 6);
    EXPECT_EQ(valueInFile(big, "S", "k"), "\xC3\xA9\xF0\x9F\x98\x80");
    // A byte that is no UTF-8 cannot be written as it was: it becomes U+FFFD.
    EXPECT_EQ(fileWithValue(utf16("[S]\r\n"), "S", "k", "\xE9"),
              utf16("[S]\r\nk=") + "\xFD\xFF" + utf16("\r\n").substr(2));
}

TEST(IniEncoding, WhatCannotBeDecodedCleanlyIsStillSavedAgainByteForByte)
{
    const std::vector<std::string> files = {
        utf16("[S]\r\nk=") + std::string("\x00\xD8", 2) + utf16("\r\n[T]\r\n").substr(2), // a lone high surrogate
        utf16("[S]\r\nk=") + std::string("\x00\xDC\x00\xD8", 4),                          // low, then high at the end
        utf16("[S]\r\nk=1\r\n") + "x",                                                    // an odd length
        "\xFF\xFE",                                                                       // the mark alone
        kUtf8Mark + "[S]\r\nk=\xFF\xC3\r\n",                                              // no UTF-8 after its mark
    };
    for (const auto& file : files) {
        const auto decodedFile = decoded(file);
        EXPECT_EQ(encoded(decodedFile.text, decodedFile.form), file);
        const auto written = fileWithValue(file, "S", "n", "2");
        EXPECT_EQ(valueInFile(written, "S", "n"), "2");
        // Only the new line was added: everything before it is as it was.
        const auto withoutAdded = decoded(written);
        EXPECT_EQ(withoutAdded.form.encoding, decodedFile.form.encoding);
        EXPECT_EQ(withoutAdded.form.strayByte, decodedFile.form.strayByte);
    }
    EXPECT_EQ(fileWithValue(utf16("[S]\r\nk=1\r\n") + "x", "S", "n", "2"), utf16("[S]\r\nk=1\r\nn=2\r\n") + "x");
}

TEST(IniEncoding, AFileWithCrLineEndsGetsNewLinesEndedTheSameWay)
{
    const std::string file = "[S]\rA=1\r[T]\rB=2\r";
    EXPECT_FALSE(isPlainText(file));
    EXPECT_EQ(valueInFile(file, "T", "B"), "2");
    EXPECT_EQ(fileWithValue(file, "S", "C", "3"), "[S]\rA=1\rC=3\r[T]\rB=2\r");
    EXPECT_EQ(fileWithValue(file, "U", "D", "4"), "[S]\rA=1\r[T]\rB=2\r[U]\rD=4\r");
    EXPECT_EQ(fileWithValue(utf16("[S]\rA=1"), "S", "B", "2"), utf16("[S]\rA=1\rB=2\r"));

    // One line feed anywhere makes it a file of LF or CR LF lines.
    EXPECT_TRUE(isPlainText("[S]\rA=1\r\nB=2"));
    EXPECT_TRUE(isPlainText("[S]"));
    EXPECT_TRUE(isPlainText(""));
}
