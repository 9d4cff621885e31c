#include "ini/IniIndex.h"
#include "fakes/MemoryFileSystem.h"
#include "ini/IniFiles.h"
#include "ini/IniText.h"

#include <gtest/gtest.h>

using namespace twk;
using ini::IniFiles;
using ini::IniIndex;
using ini::withValue;
using Verdict = IniIndex::Verdict;
constexpr auto kOwnerOnly = platform::NewFile::OwnerOnly;

TEST(IniIndex, SaysWhatAWriteAddsOnlyWhenItAddsAtTheEnd)
{
    const std::string log = "[20261205140301]\r\nTEXT=one\r\n[20261205140302]\r\nTEXT=two";
    const IniIndex index(log);
    EXPECT_EQ(index.answer("20261205140303", "TEXT", "x").text, "\r\n[20261205140303]\r\nTEXT=x\r\n");
    EXPECT_EQ(index.answer("20261205140302", "MORE", "x").text, "\r\nMORE=x\r\n");    // new key, last section
    EXPECT_EQ(index.answer("20261205140302", "text", "x").verdict, Verdict::Rewrite); // in place
    EXPECT_EQ(index.answer("20261205140301", "MORE", "x").verdict, Verdict::Unsure);  // not the last section
    EXPECT_EQ(IniIndex(log + "\r\n\r\n").answer("20261205140302", "MORE", "x").verdict, Verdict::Rewrite);
    EXPECT_NE(IniIndex(log + "\r\n[20261205140301]\r\n").answer("20261205140301", "NEW", "x").verdict, Verdict::Append);
}

TEST(IniIndex, CopiedSectionLinesNeitherHideStampsNorGetLost)
{
    IniIndex index("[20261205140301]\r\nTEXT=a\r\n");
    const auto added = index.answer("20261205140302", "TEXT", "pasted\r\n[B]\r\n[{\"json\":1}]\r\nTEXT=inside");
    ASSERT_EQ(added.verdict, Verdict::Append);
    index.appended(added.text);
    EXPECT_NE(index.answer("b", "TEXT", "x").verdict, Verdict::Append);
    EXPECT_EQ(index.answer("20261205140303", "TEXT", "x").verdict, Verdict::Append);
    EXPECT_NE(index.answer("20261205140301", "TEXT", "x").verdict, Verdict::Append);
}

TEST(IniFilesIndex, NewEntriesAreAppendedAndEditsBehindItsBackAreSeen)
{
    twk::testing::MemoryFileSystem files;
    files.set("log", "[1]\r\nTEXT=a\r\n");
    IniFiles ini(files);
    ASSERT_TRUE(ini.write("log", "2", "TEXT", "b", kOwnerOnly)); // looks for [2] once
    ASSERT_TRUE(ini.write("log", "3", "TEXT", "c", kOwnerOnly)); // makes the index
    const auto readsBefore = files.bytesRead;
    ASSERT_TRUE(ini.write("log", "4", "TEXT", "d", kOwnerOnly)); // from the index alone
    EXPECT_EQ(files.bytesRead, readsBefore);
    EXPECT_EQ(files.appends, 3);
    EXPECT_EQ(files.replaces, 0);

    files.set("log", files.files["log"].content + "[5]\r\nTEXT=by hand\r\n");
    ASSERT_TRUE(ini.write("log", "5", "TEXT", "e", kOwnerOnly)); // exists now: in place, not a second [5]
    EXPECT_EQ(files.files["log"].content,
              "[1]\r\nTEXT=a\r\n[2]\r\nTEXT=b\r\n[3]\r\nTEXT=c\r\n[4]\r\nTEXT=d\r\n[5]\r\nTEXT=e\r\n");
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
    ASSERT_TRUE(ini.write("log", "1", "TEXT", "a2", kOwnerOnly));
    EXPECT_FALSE(ini.write("log", "2", "TEXT", "lost", kOwnerOnly));
    const auto torn = files.files["log"].content;
    ASSERT_TRUE(ini.write("log", "1", "TEXT", "a3", kOwnerOnly));
    EXPECT_EQ(files.files["log"].content, withValue(torn, "1", "TEXT", "a3"));
}

TEST(IniFilesIndex, HasSectionSeesSectionLinesInsideValuesAndFollowsTheFile)
{
    twk::testing::MemoryFileSystem files;
    IniFiles ini(files);
    EXPECT_FALSE(ini.hasSection("log", "1")); // no file
    files.set("log", "[1]\r\nTEXT=pasted\r\n  [2]  \r\nTEXT=inside\r\n");
    EXPECT_TRUE(ini.hasSection("log", "1"));
    EXPECT_TRUE(ini.hasSection("log", "2"));
    EXPECT_FALSE(ini.hasSection("log", "3"));
    ASSERT_TRUE(ini.write("log", "3", "TEXT", "c", kOwnerOnly));
    EXPECT_TRUE(ini.hasSection("log", "3"));
    EXPECT_EQ(files.appends, 1);

    files.set("log", "[4]\r\n"); // replaced behind its back
    EXPECT_FALSE(ini.hasSection("log", "3"));
    EXPECT_TRUE(ini.hasSection("log", "4"));

    files.set("log", "[5]\rTEXT=a\r[6]\r"); // saved with CR line ends: never indexed, read as it is
    EXPECT_TRUE(ini.hasSection("log", "6"));
    EXPECT_FALSE(ini.hasSection("log", "4"));
}

// A look for a section changes nothing; the write that is handed a look which
// found the name missing adds the section without reading, but only to the
// file the look saw.
TEST(IniFilesIndex, AWriteTrustsALookOnlyForTheFileItSaw)
{
    twk::testing::MemoryFileSystem files;
    IniFiles ini(files);
    std::string big;
    for (int n = 0; n < 20000; ++n)
        big += "[" + std::to_string(100000 + n) + "]\r\nTEXT=a copied text\r\n";
    files.set("big", big);
    const auto look = ini.lookForSection("big", "2");
    EXPECT_FALSE(look.present);
    files.bytesRead = 0;
    ASSERT_TRUE(ini.write("big", "2", "TEXT", "b", kOwnerOnly, look));
    EXPECT_LT(files.bytesRead, big.size() / 4) << "its form and its last byte, not its names";
    EXPECT_EQ(files.files["big"].content, big + "[2]\r\nTEXT=b\r\n");

    const std::string log = "[1]\r\nTEXT=a\r\n";

    // Asked alone, the question leaves nothing behind for the write.
    files.set("log", log);
    IniFiles fresh(files);
    EXPECT_FALSE(fresh.hasSection("log", "2"));
    files.bytesRead = 0;
    ASSERT_TRUE(fresh.write("log", "2", "TEXT", "b", kOwnerOnly));
    EXPECT_GE(files.bytesRead, 2 * log.size()) << "its form, then its names";

    // An editor added the section after the look: the look is not trusted,
    // and the value lands in the one section.
    files.set("log", log);
    IniFiles edited(files);
    const auto stale = edited.lookForSection("log", "2");
    files.set("log", log + "[2]\r\nTEXT=typed\r\n");
    ASSERT_TRUE(edited.write("log", "2", "TEXT", "b", kOwnerOnly, stale));
    EXPECT_EQ(files.files["log"].content, log + "[2]\r\nTEXT=b\r\n");

    // A look for another name says nothing of this one.
    files.set("log", log + "[3]\r\nTEXT=c\r\n");
    IniFiles other(files);
    const auto elsewhere = other.lookForSection("log", "4");
    ASSERT_TRUE(other.write("log", "3", "TEXT", "d", kOwnerOnly, elsewhere));
    EXPECT_EQ(files.files["log"].content, log + "[3]\r\nTEXT=d\r\n");
}
