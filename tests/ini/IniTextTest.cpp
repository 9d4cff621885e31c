#include "ini/IniText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace twk::ini;

TEST(IniTextRead, HandEditedFilesReadAsThePrivateProfileCallsReadThem)
{
    const std::string file = "stray=before\r\n"
                             "  [ twk ]  \r\n"
                             " ON = 1 \r\n"
                             "ON=2\r\n"
                             ";comment=3\r\n"
                             "no equals sign here\r\n"
                             "Q=\"quoted\"\r\n"
                             "Half=\"open\r\n"
                             "[LINKCATCHER]\n"
                             "ON=0\n"
                             "[TWK]\r\n"
                             "LATE=only in the second section\r\n";
    EXPECT_EQ(findValue(file, "TWK", "on"), "1");
    EXPECT_EQ(findValue(file, "TWK", ";comment"), "3");
    EXPECT_EQ(findValue(file, "TWK", "Q"), "quoted");
    EXPECT_EQ(findValue(file, "TWK", "Half"), "\"open");
    EXPECT_EQ(findValue(file, "linkcatcher", "ON"), "0");
    EXPECT_FALSE(findValue(file, "TWK", "LATE").has_value());
    EXPECT_FALSE(findValue(file, "TWK", "stray").has_value());
    EXPECT_FALSE(findValue(file, "TWK", "no equals sign here").has_value());
    EXPECT_FALSE(findValue(file, "NOPE", "ON").has_value());
}

TEST(IniTextRead, AMultiLineValueReadsAsItsFirstLine)
{
    const auto file = withValue("", "S", "TEXT", "line1\r\nline2\r\nTEXT=x");
    EXPECT_EQ(file, "[S]\r\nTEXT=line1\r\nline2\r\nTEXT=x\r\n");
    EXPECT_EQ(findValue(file, "S", "TEXT"), "line1");
}

TEST(IniTextWrite, AValueReplacesTheFirstKeyInPlaceOrGoesAfterItsSectionsLastLineAndEveryOtherLineStays)
{
    struct Case {
        std::string file, section, key, value, expected, lineBreak = "\r\n";
    };
    for (const auto& c : std::vector<Case>{
             {"; my notes\r\n\r\n[ TWK ]\r\n  on = 1  \r\nON=2\r\n\r\n[TWK]\r\nON=3\r\n", "twk", "ON", "0",
              "; my notes\r\n\r\n[ TWK ]\r\non=0\r\nON=2\r\n\r\n[TWK]\r\nON=3\r\n"},
             {"[TWK]\r\nA=1\r\n\r\n[LINKCATCHER]\r\nB=2\r\n", "TWK", "C", "3",
              "[TWK]\r\nA=1\r\nC=3\r\n\r\n[LINKCATCHER]\r\nB=2\r\n"},
             {"[TWK]", "TWK", "A", "1", "[TWK]\r\nA=1\r\n"},
             {"[TWK]\r\nA=1", "TWK", "B", "2", "[TWK]\r\nA=1\r\nB=2\r\n"},
             {"", "TWK", "ON", "1", "[TWK]\r\nON=1\r\n"},
             {"[A]\r\nX=1\r\n", "B", "Y", "2", "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
             {"[A]\r\nX=1", "B", "Y", "2", "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
             {"[S]\r\nK\r\nK=y\r\n", "S", "k", "1", "[S]\r\nK=1\r\nK=y\r\n"}, // a key without a value
             // Odd line breaks around the changed line stay as they were.
             {"[S]\nk=\r\r\nz=1\r\r\n", "S", "k", "v", "[S]\nk=v\r\r\nz=1\r\r\n"},
             {"[S]\nk=\r\r\nz=1\r\r\n", "S", "n", "v", "[S]\nk=\r\r\nz=1\r\r\nn=v\r\n"},
             {"[A]\r\nX=1\r", "B", "Y", "2", "[A]\r\nX=1\r[B]\r\nY=2\r\n"}, // a CR alone ends the file
             // New lines take the line break they are given.
             {"[S]\rA=1\r[T]\rB=2", "S", "C", "3", "[S]\rA=1\rC=3\r[T]\rB=2", "\r"},
             {"[S]\rA=1\r[T]\rB=2", "T", "C", "3", "[S]\rA=1\r[T]\rB=2\rC=3\r", "\r"},
             {"[S]\rA=1", "U", "D", "4", "[S]\rA=1\r[U]\rD=4\r", "\r"},
         })
        EXPECT_EQ(withValue(c.file, c.section, c.key, c.value, c.lineBreak), c.expected) << c.file;
}

TEST(IniTextWrite, ValuesAreWrittenAsTheyAreAndReadBackTrimmed)
{
    const auto file = withValue("", "S", "K", "  spaced  ");
    EXPECT_EQ(file, "[S]\r\nK=  spaced  \r\n");
    EXPECT_EQ(findValue(file, "S", "K"), "spaced");
    EXPECT_EQ(withValue(file, "S", "K", ""), "[S]\r\nK=\r\n");
}

TEST(IniTextWrite, TextThatLooksLikeASectionDoesNotConfuseLaterWrites)
{
    // A logged text may hold lines of the file format itself.
    auto file = withValue("", "20261205140307", "TEXT", "a\r\n[20261205140308]\r\nTEXT=injected");
    file = withValue(file, "20261205140309", "TEXT", "b");
    EXPECT_EQ(findValue(file, "20261205140309", "TEXT"), "b");
    EXPECT_TRUE(hasSection(file, "20261205140308"));
    EXPECT_TRUE(file.ends_with("\r\n[20261205140309]\r\nTEXT=b\r\n"));
}

TEST(IniTextRead, LinesEndAtACarriageReturnAloneAsWell)
{
    EXPECT_EQ(findValue("[S]\rk=n", "S", "k"), "n");
    EXPECT_EQ(findValue("[S]\rA=1\rB=2\r", "S", "B"), "2");
    // CR CR LF: a CR LF file passed once more through a text-mode writer.
    EXPECT_EQ(findValue("[S]\nk=\r\r\n", "S", "k"), "");
    EXPECT_EQ(findValue("[S]\r\r\nA=1\r\r\nB=2\r\r\n", "S", "B"), "2");
    EXPECT_TRUE(hasSection("[A]\rx=1\r[B]\r", "B"));
}

TEST(IniTextRead, SingleQuotesComeOffAsDoubleQuotesDo)
{
    const std::string file = "[S]\nE=''\nA='a b'\nD=\"\"\nMixed='a\"\nOne='\nInner=a'b'\n";
    EXPECT_EQ(findValue(file, "S", "E"), "");
    EXPECT_EQ(findValue(file, "S", "A"), "a b");
    EXPECT_EQ(findValue(file, "S", "D"), "");
    EXPECT_EQ(findValue(file, "S", "Mixed"), "'a\"");
    EXPECT_EQ(findValue(file, "S", "One"), "'");
    EXPECT_EQ(findValue(file, "S", "Inner"), "a'b'");
}

TEST(IniTextRead, ALineWithoutEqualsIsAKeyWithoutAValueThatHidesALaterOne)
{
    EXPECT_FALSE(findValue("[S]\nK\nK=y", "S", "K").has_value());
    EXPECT_FALSE(findValue("[S]\n  k  \nK=y", "S", "K").has_value());
    EXPECT_EQ(findValue("[S]\nK=x\nK\n", "S", "K"), "x");
    EXPECT_EQ(findValue("[S]\nother\nK=y", "S", "K"), "y");
}

TEST(IniTextRead, TheSystemsBlanksAreTrimmedAndANulEndsANameOrValue)
{
    using namespace std::string_literals;
    const auto file = "\f[\vS\x1A]\n\tK\v=\x1A v \f\nN=ab\0cd\nM\0junk=1\n"s;
    EXPECT_EQ(findValue(file, "S", "K"), "v");
    EXPECT_EQ(findValue(file, "S", "N"), "ab");
    EXPECT_EQ(findValue(file, "S", "M"), "1");
}
