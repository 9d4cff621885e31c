// Bursts of captures that share their second: many in one second, restarts of
// the program in between, the hour that repeats, tray clears, and texts that
// hold lines looking like the logs' own. Every text must read back from its log
// exactly once and unchanged, in the order it was taken.
#include "fakes/ProgramFixture.h"
#include "ini/IniLines.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

using namespace twk;
using twk::testing::fileExists;
using twk::testing::readFile;

namespace {

constexpr int kRounds = 6;
constexpr int kEventsPerRound = 36;
constexpr const char* kDate = "20261205";

// One entry the program must have written: the stamp of its moment (14
// digits for the clipboard log, 6 for the link log) and its value.
struct Expected {
    std::string stamp;
    std::string value;
};

std::string timeOfDay(int second)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", second / 3600, second / 60 % 60, second % 60);
    return text;
}

// What a link log holds of a text: all of it but its CRs and LFs.
std::string asOneLine(std::string text)
{
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

// The stamp alone, or the stamp, "_" and a counter from 2 on.
bool isNameFor(const std::string& name, const std::string& stamp)
{
    return std::regex_match(name, std::regex(stamp + "(_([2-9]|[1-9][0-9]+))?"));
}

// Where a reader finds each section name first.
std::map<std::string, std::size_t> firstSectionLines(const std::string& content)
{
    std::map<std::string, std::size_t> first;
    ini::Lines lines(content);
    ini::Line line;
    while (lines.next(line))
        if (const auto name = ini::sectionName(lines.text(line)))
            first.emplace(std::string(*name), line.begin);
    return first;
}

class SameSecondCapturesTest : public twk::testing::ProgramFixture,
                               public ::testing::WithParamInterface<std::tuple<std::string, std::string>> {
protected:
    std::string clipScheme() const { return std::get<0>(GetParam()); }
    std::string linkScheme() const { return std::get<1>(GetParam()); }

    void runRound(int round)
    {
        random_.seed(static_cast<unsigned>(round * 7919 + 17));
        logs_ = folder.file("round" + std::to_string(round)) + "/";
        std::filesystem::create_directory(logs_);
        clipLog_.clear();
        linkLog_.clear();
        writeIni("ON=1\r\nBEEPON=0\r\nJS=0\r\nAUTOCLEAR=0\r\nAM=0\r\nASAF=0\r\nAUTOSAVE=1\r\nSAVETYPE=" + clipScheme() +
                     "\r\nSAVEDFILEPATH=" + logs_ + "\r\n",
                 "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=1\r\nAUTOSAVE=1\r\nSAVETYPE=" + linkScheme() +
                     "\r\nlinkcatcherSAVEDFILEPATH=" + logs_ + "\r\n");
        second_ = 14 * 3600 + 3 * 60 + 7;
        setClock();
        clipboard.content.reset();
        restarted();

        for (int event = 0; event < kEventsPerRound; ++event) {
            moveClock();
            const int kind = pick(100);
            if (kind < 50) {
                clipboard.copy(newText());
                copied_.push_back({second_, *clipboard.content});
                if (pick(3) != 0)
                    tickAndFollow(); // or the copy waits for a later tick
            } else if (kind < 58) {
                tickAndFollow(); // early, or after a clear: the clipboard may still hold a new text
            } else if (kind < 65) {
                form1().mnuClearText_Click();
                if (hiddenBox_ != "")
                    logClip("");
                hiddenBox_.clear();
                cleared_ = true;
            } else if (kind < 72) {
                form1().mnuClearURL_Click();
                if (catcherHasText_)
                    logLink(hiddenBox_);
                catcherHasText_ = false;
            } else if (kind < 78) {
                form1().mnuClearAll_Click();
                clipboard.content.reset();
                if (hiddenBox_ != "")
                    logClip("");
                hiddenBox_.clear();
                cleared_ = true;
                if (catcherHasText_)
                    logLink("");
                catcherHasText_ = false;
            } else {
                restarted();
                if (pick(2) == 0)
                    tickAndFollow(); // a hit-and-run start takes what is on the clipboard
            }
        }
        EXPECT_TRUE(dialogs.messages.empty()) << "no write failed";
        checkClipboardLog();
        checkLinkLog();
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    void setClock() { environment.clock = {2026, 12, 5, second_ / 3600, second_ / 60 % 60, second_ % 60}; }

    // Mostly the same second; sometimes the next, an hour back (the clocks
    // go back) or a few seconds back (the clock is set).
    void moveClock()
    {
        const int move = pick(100);
        if (move < 60)
            return;
        if (move < 88)
            second_ += 1;
        else if (move < 94)
            second_ -= 3600;
        else
            second_ -= 1 + pick(5);
        second_ = std::clamp(second_, 0, 24 * 3600 - 1);
        setClock();
    }

    // A start reads what the clipboard holds; copies made before it are gone with the
    // program that did not take them.
    void restarted()
    {
        copied_.clear();
        cleared_ = false;
        restart();
        hiddenBox_.clear();
        catcherHasText_ = false;
        if (clipboard.content)
            copied_.push_back({second_, *clipboard.content});
    }

    // Each copy since the last tick is captured in turn, stamped with its own second;
    // after a clear of the viewer the clipboard's present text counts again.
    void tickAndFollow()
    {
        tick();
        if (cleared_ && clipboard.content)
            copied_.push_back({second_, *clipboard.content});
        cleared_ = false;
        for (const auto& [second, text] : std::exchange(copied_, {})) {
            if (text.empty() || text == hiddenBox_)
                continue;
            hiddenBox_ = text;
            logClip(text, second);
            if (text.starts_with("http://")) {
                catcherHasText_ = true;
                logLink(text, second);
            }
        }
    }

    void logClip(const std::string& text) { logClip(text, second_); }
    void logLink(const std::string& text) { logLink(text, second_); }
    void logClip(const std::string& text, int second) { clipLog_.push_back({kDate + timeOfDay(second), text}); }
    void logLink(const std::string& text, int second) { linkLog_.push_back({timeOfDay(second), asOneLine(text)}); }

    // A name a later capture may want: this second or one of the next two, maybe counted.
    std::string nearName()
    {
        std::string name = timeOfDay(second_ + pick(3));
        const int form = pick(4);
        if (form == 0)
            name = name.substr(2);
        else if (form < 3)
            name = kDate + name;
        if (pick(3) == 0)
            name += "_" + std::to_string(2 + pick(3));
        return name;
    }

    std::string iniLikeLine()
    {
        const int form = pick(8);
        if (form < 2)
            return form ? "  [" + nearName() + "]  " : "[" + nearName() + "]";
        if (form == 2)
            return nearName() + "=posing";
        return std::vector<std::string>{"[LogEntry]", "[" + std::string(kDate) + "]",
                                        "[" + timeOfDay(second_).substr(0, 2) + "]", "TEXT=inside", ""}[form - 3];
    }

    std::string newText()
    {
        const auto serial = std::to_string(++serial_);
        const bool link = pick(3) == 0;
        std::string text;
        if (link) {
            text = "http://example.org/" + serial;
        } else {
            static const std::vector<std::string> firstLines = {"note ", "[", "  ", "\"", "TEXT="};
            text = firstLines[static_cast<std::size_t>(pick(5))] + serial;
            if (text.front() == '[')
                text += "]";
        }
        static const std::vector<std::string> breaks = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
        for (int line = pick(5); line > 0; --line)
            text += breaks[static_cast<std::size_t>(pick(5))] + (pick(4) == 0 ? "words" : iniLikeLine());
        if (pick(6) == 0)
            text += pick(2) ? "\r\n" : "\r";
        return text;
    }

    void checkClipboardLog()
    {
        if (clipScheme() == "2")
            return checkFilePerCopy();
        const auto path = logs_ + (clipScheme() == "1" ? "twk.txt" : std::string(kDate) + ".txt");
        const auto content = fileExists(path) ? readFile(path) : "";
        const auto first = firstSectionLines(content);
        std::size_t at = 0;
        for (std::size_t i = 0; i < clipLog_.size(); ++i) {
            const auto& entry = clipLog_[i];
            SCOPED_TRACE("entry " + std::to_string(i) + " of " + path);
            ASSERT_EQ(content.compare(at, 1, "["), 0);
            const auto close = content.find(']', at);
            ASSERT_NE(close, std::string::npos);
            const auto name = content.substr(at + 1, close - at - 1);
            EXPECT_TRUE(isNameFor(name, entry.stamp)) << name;
            EXPECT_EQ(first.at(name), at) << "a reader finds " << name << " first elsewhere";
            const auto body = "]\r\nTEXT=" + entry.value + "\r\n";
            ASSERT_EQ(content.compare(close, body.size(), body), 0) << "the text reads back unchanged";
            at = close + body.size();
        }
        EXPECT_EQ(at, content.size()) << "nothing but the entries written";
    }

    void checkFilePerCopy()
    {
        std::map<std::string, int> counters;
        std::set<std::string> expectedFiles;
        for (const auto& entry : clipLog_) {
            const auto stamp = entry.stamp.substr(0, 8) + "_" + entry.stamp.substr(8);
            const int counter = ++counters[stamp];
            const auto name = stamp + (counter == 1 ? "" : "_" + std::to_string(counter)) + ".txt";
            expectedFiles.insert(name);
            EXPECT_EQ(readFile(logs_ + name), "[LogEntry]\r\nTEXT=" + entry.value + "\r\n") << name;
        }
        std::set<std::string> onDisk;
        for (const auto& name : twk::testing::namesIn(logs_))
            if (std::regex_match(name, std::regex("[0-9]{8}_[0-9]{6}(_[0-9]+)?\\.txt")))
                onDisk.insert(name);
        EXPECT_EQ(onDisk, expectedFiles);
    }

    // Values hold no line break, so the whole file is known: one section per day
    // or hour in the order first written, each entry at its section's end, and a
    // counter for each repeat of a name within its section.
    void checkLinkLog()
    {
        const auto path = logs_ + (linkScheme() == "1" ? "twkurl.txt" : "u" + std::string(kDate) + ".txt");
        const bool daily = linkScheme() == "2";
        std::vector<std::string> order;
        std::map<std::string, std::string> sections;
        std::map<std::string, int> uses;
        for (const auto& entry : linkLog_) {
            const auto section = daily ? entry.stamp.substr(0, 2) : std::string(kDate);
            const auto key = daily ? entry.stamp.substr(2) : entry.stamp;
            if (!sections.contains(section))
                order.push_back(section);
            const int use = ++uses[section + "/" + key];
            sections[section] += key + (use == 1 ? "" : "_" + std::to_string(use)) + "=" + entry.value + "\r\n";
        }
        std::string expected;
        for (const auto& section : order)
            expected += "[" + section + "]\r\n" + sections[section];
        EXPECT_EQ(fileExists(path) ? readFile(path) : "", expected) << path;
    }

    std::mt19937 random_;
    std::string logs_;
    int second_ = 0;
    int serial_ = 0;
    std::string hiddenBox_;
    std::vector<std::pair<int, std::string>> copied_; // not taken by a tick yet
    bool cleared_ = false;
    bool catcherHasText_ = false;
    std::vector<Expected> clipLog_;
    std::vector<Expected> linkLog_;
};

} // namespace

TEST_P(SameSecondCapturesTest, EveryTextReadsBackOnceAndUnchanged)
{
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        runRound(round);
        if (HasFatalFailure() || HasNonfatalFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(AllSchemes, SameSecondCapturesTest,
                         ::testing::Combine(::testing::Values("1", "2", "3"), ::testing::Values("1", "2")),
                         [](const auto& schemes) {
                             return "Clip" + std::get<0>(schemes.param) + "Link" + std::get<1>(schemes.param);
                         });
