#include "logbrowser/LogSearch.h"
#include "logbrowser/SearchThread.h"

#include "fakes/TempFolder.h"
#include "platform/NativeLayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace twk::logbrowser {
namespace {

struct Found {
    std::string log;
    LogTime time;
    std::string text;
    bool operator==(const Found&) const = default;
    friend void PrintTo(const Found& found, std::ostream* out)
    {
        *out << found.log << " " << found.time << " " << ::testing::PrintToString(found.text);
    }
};

std::string stampOf(int i)
{
    // A second apart from 2026-12-05 10:00:00, within the day.
    const int h = 10 + i / 3600;
    const int m = i / 60 % 60;
    const int s = i % 60;
    char text[32];
    std::snprintf(text, sizeof text, "20261205%02d%02d%02d", h, m, s);
    return text;
}

std::string clipEntry(int i, const std::string& text)
{
    return "[" + stampOf(i) + "]\r\nTEXT=" + text + "\r\n";
}

class LogSearchTest : public ::testing::Test {
protected:
    std::vector<Found> search(const std::string& query, bool regex = false, SearchScope scope = {})
    {
        if (scope.files.empty())
            scope.files = logsInFolder(folder.path());
        const auto made = Matcher::make(query, regex);
        std::vector<Found> found;
        searchLogs(*files, scope, std::get<Matcher>(made), [&](const Hit& hit) {
            found.push_back({scope.files[hit.file].name, hit.time, std::string(hit.text)});
            return true;
        });
        return found;
    }

    void write(const std::string& name, const std::string& content) { testing::writeFile(folder.file(name), content); }

    testing::TempFolder folder;
    std::unique_ptr<platform::FileSystem> files = platform::makeNativeFileSystem();
};

TEST_F(LogSearchTest, EveryEntryOnceNewestFirstAcrossPieces)
{
    std::string log;
    std::vector<Found> expected;
    for (int i = 0; i < 2000; ++i) {
        // Texts of one to several lines, some long enough to span several pieces.
        std::string text = "entry " + std::to_string(i);
        if (i % 7 == 0)
            text += "\r\nsecond line [not a section\r\nkey=value";
        if (i % 500 == 3)
            text += std::string(9000, 'z') + " tail";
        log += clipEntry(i, text);
        expected.insert(expected.begin(), Found{"twk.txt", std::stoll(stampOf(i)), text});
    }
    write("twk.txt", log);
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    for (const std::size_t piece : {64u, 300u, 4096u, 1u << 20}) {
        scope.piece = piece;
        scope.longestPiece = 16384; // the long texts outgrow the small pieces, which then grow
        const auto found = search("", false, scope);
        ASSERT_EQ(found.size(), expected.size()) << "piece " << piece;
        for (std::size_t i = 0; i < found.size(); ++i)
            ASSERT_EQ(found[i], expected[i]) << "piece " << piece << ", entry " << i;
    }
}

TEST_F(LogSearchTest, MatchInAnEntryLongerThanAnyPieceFindsThatEntry)
{
    const std::string longText = "start " + std::string(5000, 'q') + " needle " + std::string(5000, 'r');
    write("twk.txt", clipEntry(0, "before") + clipEntry(1, longText) + clipEntry(2, "after"));
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    scope.piece = 256;
    scope.longestPiece = 1024;
    const auto found = search("needle", false, scope);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].time, std::stoll(stampOf(1)));
    EXPECT_EQ(search("after", false, scope).size(), 1u);
    EXPECT_EQ(search("before", false, scope).size(), 1u);
}

TEST_F(LogSearchTest, SchemesMergedByTimeAndOnlyTextsMatch)
{
    write("twk.txt", clipEntry(0, "cat one") + clipEntry(20, "cat four"));
    write("20261205.txt", clipEntry(10, "cat three") + clipEntry(30, "dog"));
    write("20261205_100005.txt", "[LogEntry]\r\nTEXT=cat two\r\n");
    write("twkurl.txt", "[20261205]\r\n100025=http://cat.example/five\r\n");
    write("u20261205.txt", "[10]\r\n0040=http://cat.example/six\r\n");
    std::vector<std::string> texts;
    for (const auto& found : search("CAT"))
        texts.push_back(found.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"http://cat.example/six", "http://cat.example/five", "cat four",
                                               "cat three", "cat two", "cat one"}));
    // Section and key names are no text: a date finds nothing, "TEXT" neither.
    EXPECT_TRUE(search("20261205").empty());
    EXPECT_TRUE(search("text").empty());
    EXPECT_EQ(search("^cat (one|two)$", true).size(), 2u);
}

TEST_F(LogSearchTest, FirstLogSinceAndRangesOfBytes)
{
    write("twk.txt", clipEntry(0, "old") + clipEntry(50, "new"));
    write("20261205.txt", clipEntry(10, "middle"));
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    scope.first = 1; // twk.txt, listed after the file per day
    ASSERT_EQ(scope.files[1].name, "twk.txt");
    std::vector<std::string> texts;
    for (const auto& found : search("", false, scope))
        texts.push_back(found.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"new", "old", "middle"}));

    scope.first.reset();
    scope.since = std::stoll(stampOf(10));
    EXPECT_EQ(search("", false, scope).size(), 2u);
    EXPECT_EQ(search("D", false, scope).size(), 1u); // "middle", not "old": a word reads only the entries it is in
    scope.since = 20261206000000;
    EXPECT_TRUE(search("", false, scope).empty());

    // Only what was added after a size: a second look at a grown log.
    scope.since = 0;
    const auto firstPart = clipEntry(0, "old").size();
    scope.only = {1};
    scope.from = {0, firstPart};
    const auto added = search("", false, scope);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].text, "new");
    scope.from = {};
    scope.to = {0, firstPart};
    EXPECT_EQ(search("", false, scope).at(0).text, "old");
}

TEST_F(LogSearchTest, UnreadableAndOddLogsNeverStopTheOthers)
{
    write("twk.txt", std::string("\xEF\xBB\xBF") + clipEntry(0, "with a mark"));
    // Saved in UTF-16 by an editor: read decoded.
    write("20261204.txt", std::string("\xFF\xFE[\0a\0]\0\r\0\n\0T\0=\0\xE9\0", 18));
    // A UTF-16 mark and nothing that decodes to a line.
    write("20261203.txt", std::string("\xFE\xFF\xD8", 3));
    write("20261205.txt", "garbage\r\n\r\n" + clipEntry(5, "after garbage") + "[2026120510");
    const auto found = search("");
    ASSERT_EQ(found.size(), 3u);
    // A section line cut short is no section line: it reads as a line of the text before it.
    EXPECT_EQ(found[0].text, "after garbage\r\n[2026120510");
    EXPECT_EQ(found[1].text, "with a mark");
    EXPECT_EQ(found[2].text, "\xC3\xA9");
    EXPECT_EQ(search("\xC3\x89").size(), 1u);
}

TEST_F(LogSearchTest, ThreadKeepsTheFirstRowsAndCountsTheRest)
{
    std::string log;
    for (int i = 0; i < 3000; ++i)
        log += clipEntry(i, "line " + std::to_string(i) + (i % 2 ? " odd" : ""));
    write("twk.txt", log);
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    SearchThread search(*files, scope, std::get<Matcher>(Matcher::make("odd", false)), 100);
    std::vector<FoundRow> rows;
    for (int wait = 0; wait < 10000 && !search.finished(); ++wait) {
        auto taken = search.take(7);
        rows.insert(rows.end(), taken.begin(), taken.end());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    auto rest = search.take(1000);
    rows.insert(rows.end(), rest.begin(), rest.end());
    EXPECT_EQ(search.matches(), 1500u);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows.front().firstLine, "line 2999 odd");
    EXPECT_EQ(rows.back().firstLine, "line 2801 odd");
}

TEST_F(LogSearchTest, StoppedSearchEndsAtOnce)
{
    std::string log;
    for (int i = 0; i < 20000; ++i)
        log += clipEntry(i % 36000, "text " + std::to_string(i));
    write("twk.txt", log);
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    scope.piece = 512;
    const auto search = std::make_unique<SearchThread>(*files, scope, std::get<Matcher>(Matcher::make("", false)), 10);
    // Destroying it while it reads must end the thread (a hang would fail by the test's timeout).
}

TEST_F(LogSearchTest, ExpressionsFindTheSameWhetherPiecesArePassedOverOrNot)
{
    std::string log;
    for (int i = 0; i < 400; ++i)
        log += clipEntry(i, i % 97 == 5 ? "word" + std::to_string(i) + "\r\nnext line" : "filler " + std::to_string(i));
    write("twk.txt", log);
    SearchScope scope;
    scope.files = logsInFolder(folder.path());
    scope.piece = 300; // most pieces hold no match at all
    // Each against every entry matched one by one, as an expression that
    // looks at the text's edges is.
    for (const std::string query : {"word\\d+", "wor[d]1\\d", "(?s)word.*next", "d105\\s+next"}) {
        const auto matcher = std::get<Matcher>(Matcher::make(query, true));
        std::size_t expected = 0;
        for (int i = 0; i < 400; ++i)
            expected += matcher.matches(i % 97 == 5 ? "word" + std::to_string(i) + "\r\nnext line" : "filler");
        EXPECT_EQ(search(query, true, scope).size(), expected) << query;
    }
    // The piece does not show where a text begins: these must still be found.
    EXPECT_EQ(search("^word", true, scope).size(), 5u);
    EXPECT_EQ(search("\\bword102", true, scope).size(), 1u);
    EXPECT_EQ(search("line$", true, scope).size(), 5u);
    EXPECT_EQ(search("^filler 399$", true, scope).size(), 1u);
}

TEST(FirstLine, CutAtALineBreakOrACharacter)
{
    EXPECT_EQ(firstLineOf("one\r\ntwo"), "one");
    EXPECT_EQ(firstLineOf("one\rtwo"), "one");
    EXPECT_EQ(firstLineOf("\xC3\xA9\xC3\xA9", 3), "\xC3\xA9");
}

} // namespace
} // namespace twk::logbrowser
