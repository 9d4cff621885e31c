#include "configuration/IniIndex.h"
#include "configuration/IniFiles.h"
#include "configuration/IniText.h"
#include "fakes/MemoryFileSystem.h"

#include <gtest/gtest.h>

using namespace twk;
using configuration::IniFiles;
using configuration::IniIndex;
using configuration::ini::withValue;

TEST(IniIndex, SaysWhatAWriteAddsOnlyWhenItAddsAtTheEnd)
{
    const std::string log = "[20261205140301]\r\nTEXT=one\r\n[20261205140302]\r\nTEXT=two";
    const IniIndex index(log);
    EXPECT_EQ(index.appendedText("20261205140303", "TEXT", "x"), "\r\n[20261205140303]\r\nTEXT=x\r\n");
    EXPECT_EQ(index.appendedText("20261205140302", "MORE", "x"), "\r\nMORE=x\r\n");       // new key, last section
    EXPECT_FALSE(index.appendedText("20261205140302", "text", "x"));                      // same second: in place
    EXPECT_FALSE(index.appendedText("20261205140301", "MORE", "x"));                      // not the last section
    EXPECT_FALSE(IniIndex(log + "\r\n\r\n").appendedText("20261205140302", "MORE", "x")); // before the blank line
    EXPECT_FALSE(IniIndex(log + "\r\n[20261205140301]\r\n").appendedText("20261205140301", "NEW", "x"));
}

TEST(IniIndex, SectionsInsideAppendedValuesCount)
{
    IniIndex index("");
    const auto added = index.appendedText("A", "TEXT", "pasted\r\n[B]\r\nTEXT=inside");
    ASSERT_TRUE(added);
    index.appended(*added);
    EXPECT_FALSE(index.appendedText("b", "TEXT", "x"));
    EXPECT_EQ(index.sectionCount(), 2u);
}

TEST(IniFilesIndex, NewEntriesAreAppendedAndEditsBehindItsBackAreSeen)
{
    twk::testing::MemoryFileSystem files;
    files.set("log", "[1]\r\nTEXT=a\r\n");
    IniFiles ini(files);
    ASSERT_TRUE(ini.write("log", "2", "TEXT", "b", platform::NewFile::OwnerOnly));
    ASSERT_TRUE(ini.write("log", "3", "TEXT", "c", platform::NewFile::OwnerOnly));
    EXPECT_EQ(files.appends, 2);
    EXPECT_EQ(files.replaces, 0);
    EXPECT_EQ(files.reads, 1); // only to build the index

    files.set("log", files.files["log"].content + "[4]\r\nTEXT=by hand\r\n");
    ASSERT_TRUE(
        ini.write("log", "4", "TEXT", "d", platform::NewFile::OwnerOnly)); // exists now: in place, not a second [4]
    EXPECT_EQ(files.files["log"].content, "[1]\r\nTEXT=a\r\n[2]\r\nTEXT=b\r\n[3]\r\nTEXT=c\r\n[4]\r\nTEXT=d\r\n");
    EXPECT_EQ(files.replaces, 1);
}

TEST(IniFilesIndex, AFailedAppendIsReportedAndTheNextWriteLooksAgain)
{
    struct TornAppends : twk::testing::MemoryFileSystem {
        bool append(const std::string& path, std::string_view content) override
        {
            set(path, files[path].content + std::string(content.substr(0, content.size() / 2))); // cut short
            return false;
        }
    } files;
    files.set("log", "[1]\r\nTEXT=a\r\n");
    IniFiles ini(files);
    ASSERT_TRUE(ini.write("log", "1", "TEXT", "a2", platform::NewFile::OwnerOnly)); // indexes the file
    EXPECT_FALSE(ini.write("log", "2", "TEXT", "lost", platform::NewFile::OwnerOnly));
    const auto torn = files.files["log"].content;
    ASSERT_TRUE(ini.write("log", "1", "TEXT", "a3", platform::NewFile::OwnerOnly));
    EXPECT_EQ(files.files["log"].content, withValue(torn, "1", "TEXT", "a3"));
}
