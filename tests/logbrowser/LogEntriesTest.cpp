#include "logbrowser/LogEntries.h"

#include "fakes/TempFolder.h"
#include "ini/IniEntries.h"
#include "platform/NativeLayer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace twk::logbrowser {
namespace {

struct Read {
    std::string section;
    std::string key;
    std::string text;
    std::uint64_t offset;
    bool operator==(const Read&) const = default;
    friend void PrintTo(const Read& read, std::ostream* out)
    {
        *out << ::testing::PrintToString(read.section) << " " << ::testing::PrintToString(read.key) << " "
             << ::testing::PrintToString(read.text) << " @" << read.offset;
    }
};

std::vector<Read> entriesOf(std::string_view bytes, bool links = false, std::uint64_t offset = 0)
{
    PieceEntries piece;
    readEntries(bytes, offset, links, piece);
    std::vector<Read> read;
    for (const auto& entry : piece.entries)
        read.push_back({std::string(entry.section), std::string(entry.key), std::string(entry.text), entry.offset});
    return read;
}

TEST(LogEntries, MultiLineTextsComeBackAsCopied)
{
    const std::string log = "[20261205140307]\r\nTEXT=one line\r\n"
                            "[20261205140309]\r\nTEXT=first\r\n  indented = with equals\r\n\r\nlast\r\n"
                            "[20261205140310]\r\nTEXT=ends with a break\r\n\r\n";
    const auto read = entriesOf(log);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], (Read{"20261205140307", "TEXT", "one line", 0}));
    EXPECT_EQ(read[1].text, "first\r\n  indented = with equals\r\n\r\nlast");
    EXPECT_EQ(read[1].offset, log.find("[20261205140309]"));
    EXPECT_EQ(read[2].text, "ends with a break\r\n");
}

TEST(LogEntries, DamagedAndHandEditedLogsGiveWhatCanBeRead)
{
    // Garbage before the first section, a section without text, blanks
    // around names, a half-written last entry without its line break.
    const std::string log = "garbage\r\n=\r\n[ 20261205140307 ]  \r\n\r\nTEXT =  spaced  \r\n"
                            "[empty]\r\n[20261205140308]\r\nTEXT=half wri";
    PieceEntries piece;
    readEntries(log, 100, false, piece);
    EXPECT_EQ(piece.leading, "garbage\r\n=");
    ASSERT_EQ(piece.entries.size(), 2u);
    EXPECT_EQ(piece.entries[0].section, "20261205140307");
    EXPECT_EQ(piece.entries[0].text, "  spaced  "); // as written: blanks after "=" are the text's
    EXPECT_EQ(piece.entries[0].offset, 100 + log.find("[ 2026"));
    EXPECT_EQ(piece.entries[1].text, "half wri");
    // A section line cut short, and no line at all.
    EXPECT_TRUE(entriesOf("[2026120514").empty());
    EXPECT_TRUE(entriesOf("").empty());
}

TEST(LogEntries, LineBreaksOfEveryKindEndLines)
{
    // CR alone, CR LF and CR CR LF each end a line, as every reader of the program reads them.
    const auto read = entriesOf("[a]\rTEXT=x\ry\r[b]\r\r\nTEXT=z\r\r\nw\r\r\n[c]\nTEXT=v\n");
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].text, "x\ry");
    EXPECT_EQ(read[1].text, "z\r\r\nw\r"); // a CR before the written CR LF is the text's
    EXPECT_EQ(read[2].text, "v");
}

TEST(LogEntries, LinkLogsGiveAnEntryPerKey)
{
    const auto read =
        entriesOf("[20261205]\r\n140307=http://a.example\r\nnot a key\r\n140309=b@c.org\r\n[14]\r\n0307=x", true);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], (Read{"20261205", "140307", "http://a.example", 12}));
    EXPECT_EQ(read[1].text, "b@c.org");
    EXPECT_EQ(read[2].section, "14");
}

TEST(LogEntries, TimesFromTheNamesOfEachScheme)
{
    const auto time = [](const char* file, std::string_view section, std::string_view key) {
        return entryTime(*logFileNamed(file), Entry{section, key, {}, 0});
    };
    EXPECT_EQ(time("twk.txt", "20261205140307", "TEXT"), 20261205140307);
    EXPECT_EQ(time("twk.txt", "20261205140307_2", "TEXT"), 20261205140307);
    EXPECT_EQ(time("twk.txt", "hand made", "TEXT"), 0);
    EXPECT_EQ(time("20261205.txt", "hand made", "TEXT"), 20261205000000);
    EXPECT_EQ(time("20261205_140307_2.txt", "LogEntry", "TEXT"), 20261205140307);
    EXPECT_EQ(time("twkurl.txt", "20261205", "140307"), 20261205140307);
    EXPECT_EQ(time("twkurl.txt", "20261205", "140307_2"), 20261205140307);
    EXPECT_EQ(time("u20261205.txt", "14", "0307"), 20261205140307);
}

// The engine's own reader of whole entries is the reference: the search's
// faster reading of pieces must never see a log otherwise.
std::vector<Read> referenceEntries(const std::string& log)
{
    twk::testing::TempFolder folder;
    const auto path = folder.file("twk.txt");
    twk::testing::writeFile(path, log);
    auto files = platform::makeNativeFileSystem();
    ini::IniEntries entries(*files, path, ini::ValueEnd::NextSection);
    std::vector<Read> read;
    ini::IniEntry entry;
    while (entries.next(entry))
        read.push_back({entry.section, entry.key, entry.value, entry.sectionOffset});
    return read;
}

TEST(LogEntries, AgreeWithTheEnginesReaderOnRandomLogs)
{
    std::mt19937 random(11);
    const char* const pieces[] = {"[",  "]",    "[20261205140307]", "TEXT=", "=",   " ",        "\t",    "\r",
                                  "\n", "\r\n", "\r\r\n",           "a",     "key", "\xC3\xA9", "[x] y", "\0"};
    for (int round = 0; round < 1500; ++round) {
        std::string log;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            const std::string_view piece = pieces[random() % std::size(pieces)];
            log.append(piece);
        }
        const auto expected = referenceEntries(log);
        ASSERT_EQ(entriesOf(log), expected) << "log: " << ::testing::PrintToString(log);
    }
}

TEST(LogEntries, WholeTextReadByItsOffset)
{
    twk::testing::TempFolder folder;
    const std::string path = folder.file("twk.txt");
    const std::string big(300000, 'x');
    const std::string log = "[20261205140307]\r\nTEXT=a\r\nb\r\n[20261205140308]\r\nTEXT=" + big + "\r\n";
    twk::testing::writeFile(path, log);
    const auto second = log.find("[20261205140308]");
    auto files = platform::makeNativeFileSystem();
    auto file = *logFileNamed("twk.txt");
    file.path = path;
    EXPECT_EQ(readEntryText(*files, file, 0, 1 << 20)->text, "a\r\nb");
    const auto whole = readEntryText(*files, file, second, 1 << 20);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->text.size(), big.size());
    EXPECT_FALSE(whole->cut);
    const auto cut = readEntryText(*files, file, second, 100000);
    EXPECT_TRUE(cut->cut);
    EXPECT_LT(cut->text.size(), big.size());
    EXPECT_EQ(cut->text, big.substr(0, cut->text.size()));
    EXPECT_FALSE(readEntryText(*files, file, 5, 1 << 20)); // not where an entry starts
    // A log saved in UTF-16 is read as decoded, its offsets those of the decoded text.
    twk::testing::writeFile(path, std::string("\xFF\xFE[\0"
                                              "1\0]\0\n\0T\0=\0\xE9\0",
                                              16));
    EXPECT_EQ(readEntryText(*files, file, 0, 100)->text, "\xC3\xA9");
    file.path = folder.file("gone.txt");
    EXPECT_FALSE(readEntryText(*files, file, 0, 1 << 20));
}

} // namespace
} // namespace twk::logbrowser
