#include "ini/IniEntries.h"
#include "fakes/MemoryFileSystem.h"
#include "ini/IniEncoding.h"
#include "ini/IniFiles.h"
#include "ini/IniLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

using namespace twk;
using ini::IniEntries;
using ini::IniEntry;
using ini::ValueEnd;

namespace {

using Triple = std::tuple<std::string, std::string, std::string>;

std::vector<IniEntry> entriesOf(platform::FileSystem& files, const std::string& path, ValueEnd end,
                                std::size_t longest = IniEntries::kLongest, std::size_t held = ini::IniScan::kHeldLine,
                                bool* failed = nullptr)
{
    IniEntries reader(files, path, end, longest, held);
    std::vector<IniEntry> entries;
    IniEntry entry;
    while (reader.next(entry))
        entries.push_back(entry);
    if (failed)
        *failed = reader.failed();
    return entries;
}

std::vector<Triple> triples(const std::vector<IniEntry>& entries)
{
    std::vector<Triple> found;
    for (const auto& entry : entries)
        found.emplace_back(entry.section, entry.key, entry.value);
    return found;
}

std::vector<Triple> read(const std::string& content, ValueEnd end, std::size_t held = ini::IniScan::kHeldLine)
{
    twk::testing::MemoryFileSystem files;
    files.set("f", content);
    return triples(entriesOf(files, "f", end, IniEntries::kLongest, held));
}

// Text of the pieces that line rules care about, never a line that reads as a
// section line (that would end the entry for every reader of the file) and
// never a NUL (a writer's value ends there).
std::string randomText(std::mt19937& random, bool lineBreaks)
{
    static const std::vector<std::string> kPieces = {" ",   "\t", "=",    "\"",       "'",  "]",  "a",    "B",     "1",
                                                     "x=y", "[",  "\x1A", "\xC3\xA9", "\r", "\n", "\r\n", "\r\r\n"};
    const auto pieces = lineBreaks ? kPieces.size() : kPieces.size() - 4;
    std::uniform_int_distribution<std::size_t> pick(0, pieces - 1);
    for (;;) {
        std::string text;
        for (int i = std::uniform_int_distribution<int>(0, 12)(random); i > 0; --i)
            text += kPieces[pick(random)];
        bool opensSection = false;
        ini::Lines lines(text);
        ini::Line line;
        while (lines.next(line))
            opensSection = opensSection || ini::sectionName(lines.text(line)).has_value();
        if (!opensSection)
            return text;
    }
}

} // namespace

// A clipboard log as the program writes it, a section of one key each, texts
// of many lines: every entry comes back byte for byte, in order, whatever the
// length of line the reader holds.
TEST(IniEntries, WhatTheWriterAddsAsSectionsComesBackWhole)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        twk::testing::MemoryFileSystem files;
        ini::IniFiles writer(files);
        std::vector<Triple> written;
        for (int i = 0; i < 20; ++i) {
            const auto section = "2026120714" + std::to_string(1000 + i);
            const auto value = randomText(random, true);
            ASSERT_TRUE(writer.write("log", section, "TEXT", value, platform::NewFile::OwnerOnly));
            written.emplace_back(section, "TEXT", value);
        }
        for (const std::size_t held : {std::size_t{3}, std::size_t{17}, ini::IniScan::kHeldLine}) {
            bool failed = true;
            const auto entries = entriesOf(files, "log", ValueEnd::NextSection, IniEntries::kLongest, held, &failed);
            ASSERT_EQ(triples(entries), written) << "round " << round << " held " << held;
            EXPECT_FALSE(failed);
        }
    }
}

// The link logs: many keys to a section, some added to an earlier section
// and some replacing a value in place. The reader gives the file's order.
TEST(IniEntries, WhatTheWriterPutsInSectionsOfManyKeysComesBackInFileOrder)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        twk::testing::MemoryFileSystem files;
        ini::IniFiles writer(files);
        std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> model;
        for (int i = 0; i < 25; ++i) {
            const auto section = std::to_string(std::uniform_int_distribution<int>(1, 4)(random));
            const auto key = "k" + std::to_string(std::uniform_int_distribution<int>(1, 6)(random));
            const auto value = randomText(random, false);
            ASSERT_TRUE(writer.write("links", section, key, value, platform::NewFile::OwnerOnly));
            auto place = std::find_if(model.begin(), model.end(), [&](const auto& s) { return s.first == section; });
            if (place == model.end())
                place = model.insert(model.end(), {section, {}});
            auto& keys = place->second;
            auto old = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.first == key; });
            if (old == keys.end())
                keys.emplace_back(key, value);
            else
                old->second = value;
        }
        std::vector<Triple> expected;
        for (const auto& [section, keys] : model)
            for (const auto& [key, value] : keys)
                expected.emplace_back(section, key, value);
        for (const std::size_t held : {std::size_t{2}, std::size_t{11}, ini::IniScan::kHeldLine})
            ASSERT_EQ(triples(entriesOf(files, "links", ValueEnd::LineEnd, IniEntries::kLongest, held)), expected)
                << "round " << round << " held " << held << "\n"
                << files.files["links"].content;
    }
}

TEST(IniEntries, OffsetsPointAtTheLinesAndTheValueBytesInTheFile)
{
    twk::testing::MemoryFileSystem files;
    const std::string content = "[20261207101010]\r\nTEXT=one\r\ntwo\r\n[20261207101011]\r\nTEXT=three\r\n";
    files.set("f", content);
    const auto entries = entriesOf(files, "f", ValueEnd::NextSection);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].sectionOffset, content.find("[20261207101011]"));
    EXPECT_EQ(entries[1].offset, content.find("TEXT=three"));
    for (const auto& entry : entries)
        EXPECT_EQ(content.substr(entry.valueBegin, entry.valueEnd - entry.valueBegin), entry.value);
    EXPECT_EQ(entries[0].value, "one\r\ntwo");
}

// A text longer than asked for is cut, its offsets still whole, so that a
// browser can show its start and read the rest when asked; the same for
// lines far longer than the reader holds.
TEST(IniEntries, AHugeValueIsCutButItsPlaceIsWhole)
{
    twk::testing::MemoryFileSystem files;
    const std::string huge(5000, 'x');
    files.set("f", "[a]\r\nTEXT=" + huge + "\r\n" + huge + "\r\n[b]\r\nTEXT=small\r\n");
    const auto entries = entriesOf(files, "f", ValueEnd::NextSection, 100, 64);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].cut);
    EXPECT_EQ(entries[0].value, std::string(100, 'x'));
    EXPECT_EQ(entries[0].valueEnd - entries[0].valueBegin, huge.size() * 2 + 2);
    EXPECT_FALSE(entries[1].cut);
    EXPECT_EQ(entries[1].value, "small");
}

// Hand-edited and damaged files: what the engine's readers see as entries,
// nothing more, and no failure.
TEST(IniEntries, DamagedFilesGiveTheEntriesTheyHold)
{
    const std::string garbage = "no section yet=1\r\n\x01\x02\xFF\r\n[]\r\n  [ s ]  \r\nlonely\r\n\r\n  k = v  \r\n";
    EXPECT_EQ(read(garbage, ValueEnd::LineEnd), (std::vector<Triple>{{"s", "k", " v  "}}));
    EXPECT_EQ(read(garbage + "[]\r\nx=1\r\ny", ValueEnd::LineEnd),
              (std::vector<Triple>{{"s", "k", " v  "}, {"", "x", "1"}}));

    // A crash cut the last entry short: it ends where the file ends.
    EXPECT_EQ(read("[1]\r\nTEXT=a\r\n[2]\r\nTEXT=half wri", ValueEnd::NextSection),
              (std::vector<Triple>{{"1", "TEXT", "a"}, {"2", "TEXT", "half wri"}}));
    EXPECT_EQ(read("[1]\r\nTEXT=a\r\n[2", ValueEnd::NextSection), (std::vector<Triple>{{"1", "TEXT", "a\r\n[2"}}));
    EXPECT_EQ(read("[1]\r\nTEXT=a\r\n[2]\r\nTE", ValueEnd::NextSection), (std::vector<Triple>{{"1", "TEXT", "a"}}));

    // A copied line that reads as a section line is one for every reader.
    EXPECT_EQ(read("[1]\r\nTEXT=a\r\n[not a section]\r\nb=c\r\n", ValueEnd::NextSection),
              (std::vector<Triple>{{"1", "TEXT", "a"}, {"not a section", "b", "c"}}));

    twk::testing::MemoryFileSystem files;
    bool failed = false;
    EXPECT_TRUE(entriesOf(files, "missing", ValueEnd::LineEnd, 10, 10, &failed).empty());
    EXPECT_TRUE(failed);
}

// The forms the engine keeps when it writes: a byte-order mark, UTF-16 and CR
// line ends read as the same entries; offsets of a marked UTF-8 file are the
// file's own.
TEST(IniEntries, FilesInOtherFormsReadAsTheSameEntries)
{
    const std::string text = "[1]\r\nTEXT=caf\xC3\xA9\r\nline\r\n[2]\r\nTEXT=b\r\n";
    const auto plain = read(text, ValueEnd::NextSection);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(std::get<2>(plain[0]), "caf\xC3\xA9\r\nline");

    twk::testing::MemoryFileSystem files;
    files.set("utf8", "\xEF\xBB\xBF" + text);
    const auto marked = entriesOf(files, "utf8", ValueEnd::NextSection);
    EXPECT_EQ(triples(marked), plain);
    EXPECT_EQ(marked[1].offset, 3 + text.find("TEXT=b"));

    ini::FileForm utf16;
    utf16.encoding = ini::Encoding::Utf16LittleEndian;
    EXPECT_EQ(read(ini::encoded(text, utf16), ValueEnd::NextSection), plain);
    utf16.encoding = ini::Encoding::Utf16BigEndian;
    EXPECT_EQ(read(ini::encoded(text, utf16), ValueEnd::NextSection), plain);

    std::string crAlone = text;
    for (auto at = crAlone.find("\r\n"); at != std::string::npos; at = crAlone.find("\r\n", at))
        crAlone.erase(at + 1, 1);
    const auto cr = read(crAlone, ValueEnd::NextSection);
    ASSERT_EQ(cr.size(), 2u);
    EXPECT_EQ(std::get<2>(cr[0]), "caf\xC3\xA9\rline");
}
