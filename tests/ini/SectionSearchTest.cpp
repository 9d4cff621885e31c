// A log's first write in a run looks for its one section name as plain
// bytes and reads only the lines that hold them: it must never miss a name
// that is taken, nor take a name that is not.
#include "fakes/MemoryFileSystem.h"
#include "ini/BytesInFile.h"
#include "ini/IniFiles.h"
#include "ini/IniText.h"

#include <gtest/gtest.h>

using namespace twk;
using ini::IniFiles;

namespace {

const std::string kStamp = "20261207101500";

// Whether the first look at a file finds the section, at each of the held
// lengths that put the name across the seams of what is read at a time.
void expectTaken(const std::string& content, const std::string& name, bool taken)
{
    for (std::size_t held : {1, 16, 17, 40, 64, 100, 1 << 20}) {
        twk::testing::MemoryFileSystem files;
        files.set("log", content);
        IniFiles ini(files, held);
        ASSERT_EQ(ini.hasSection("log", name), taken)
            << "held " << held << " name " << name << " in [" << content << "]";
        ASSERT_EQ(taken, ini::hasSection(content, name)); // as a reader sees it
    }
}

} // namespace

TEST(SectionSearch, FindsATakenNameWhereverItLies)
{
    // Lines before it of every length put the name across every seam.
    for (std::size_t before = 0; before < 70; ++before) {
        const std::string filler = "TEXT=" + std::string(before, '7') + "\r\n";
        expectTaken("[20261207101459]\r\n" + filler + "[" + kStamp + "]\r\nTEXT=a\r\n", kStamp, true);
        expectTaken("[x]\r\n" + filler + "[" + kStamp + "_2]\r\nTEXT=a", kStamp + "_2", true);
        expectTaken("[x]\r\n" + filler + "[" + kStamp + "_2]\r\nTEXT=a", kStamp, false);
    }
}

TEST(SectionSearch, ReadsTheLinesThatHoldTheNameAsAReaderDoes)
{
    expectTaken(" \t[ \t" + kStamp + " \v]\t \r\nTEXT=a\r\n", kStamp, true); // blanks around and inside
    expectTaken("[x]\nTEXT=a\n[" + kStamp + "]\nTEXT=b\n", kStamp, true);    // LF alone
    expectTaken("[x]\rTEXT=a\r[" + kStamp + "]\rTEXT=b\r", kStamp, true);    // CR alone
    expectTaken("[x]\r\r\nTEXT=a\r[" + kStamp + "]", kStamp, true);          // the last line, unfinished
    expectTaken("[Entry" + kStamp + "]\r\n", "eNTRY" + kStamp, true);        // letters in either case
    expectTaken("[" + kStamp + "]x\r\n", kStamp, true);                      // text after the bracket

    expectTaken("[x]\r\nTEXT=[" + kStamp + "]\r\n", kStamp, false); // in a value: no section line
    expectTaken("[x]\r\n" + kStamp + "\r\n[" + kStamp + "1]\r\n[1" + kStamp + "]\r\n", kStamp, false);
    expectTaken("[x]\r\nTEXT=a\r[" + kStamp + "\r\n", kStamp, false); // no closing bracket
    expectTaken("[x]\r\n[" + kStamp.substr(0, 7) + "\r\n" + kStamp.substr(7) + "]\r\n", kStamp, false);
    expectTaken("[Entry" + kStamp + "]\r\n", "Entri" + kStamp, false);
}

TEST(SectionSearch, ManyPlacesInOneLongLineAreReadOnce)
{
    // The stamp a hundred thousand times in one value: each place lies in the
    // same line, which is read as a line no more than the once.
    std::string line = "TEXT=";
    for (int i = 0; i < 100000; ++i)
        line += kStamp + " ";
    twk::testing::MemoryFileSystem files;
    files.set("log", "[x]\r\n" + line + "\r\n[y]\r\n");
    IniFiles ini(files, 64);
    EXPECT_FALSE(ini.hasSection("log", kStamp));
    EXPECT_LT(files.bytesRead, 4 * files.files["log"].content.size());
}

TEST(SectionSearch, PlacesComeWithTheStartOfTheirLine)
{
    twk::testing::MemoryFileSystem files;
    files.set("f", "ab\r\nxxab\rab\n\nab");
    ini::BytesInFile places(files, "f", "ab", 0, 5);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> found;
    while (const auto place = places.next())
        found.emplace_back(place->at, place->lineStart);
    // A CR alone ends a line too, but only a line feed is sure to: the line
    // start given is the last one that is sure.
    const std::vector<std::pair<std::uint64_t, std::uint64_t>> expected = {{0, 0}, {6, 4}, {9, 4}, {13, 13}};
    EXPECT_EQ(found, expected);
    EXPECT_FALSE(places.failed());

    ini::BytesInFile missing(files, "none", "ab", 0, 5);
    EXPECT_FALSE(missing.next());
    EXPECT_TRUE(missing.failed());
}
