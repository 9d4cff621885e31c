// The day's section names, looked through at start, must answer exactly as a
// search of the file would, or not at all; and a look that is slow or stuck
// must never hold the program up.
#include "ini/SectionPrefetch.h"
#include "fakes/MemoryFileSystem.h"
#include "ini/IniFiles.h"
#include "ini/IniText.h"
#include "ini/PrefixSections.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

using namespace twk;
using namespace std::chrono_literals;
using ini::PrefixSections;

namespace {

// Pieces that put the prefix "2026" in section lines, in values and across
// line ends of every kind, in names with counters and after blanks.
std::string randomText(std::mt19937& random, int pieces)
{
    static const std::vector<std::string> kPieces = {"[",
                                                     "]",
                                                     "=",
                                                     " ",
                                                     "\t",
                                                     "\r",
                                                     "\n",
                                                     "\r\n",
                                                     "\r\r\n",
                                                     std::string(1, '\0'),
                                                     "a",
                                                     "B",
                                                     "1",
                                                     "_",
                                                     "_2",
                                                     "2026",
                                                     "20261",
                                                     "TEXT",
                                                     "TEXT=",
                                                     "[2026",
                                                     "2026]",
                                                     "[2026_2]\r\n",
                                                     "[2026b]\n",
                                                     "\r\n[",
                                                     "[ 2026 ]\r\n",
                                                     "TEXT=[2026]\r\n"};
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::string text;
    for (int i = 0; i < pieces; ++i)
        text += kPieces[pick(random)];
    return text;
}

const std::vector<std::string> kNames = {"2026",  "2026_2", "2026B", "20261", "2026 ", "20261_2",
                                         "2026a", "2026]",  "2026_", "1",     "a2026", "x"};

// A file as another program may leave it after the look.
enum class Change { Grown, GrownAfterAnEdit, Shorter, EditedInPlace, Replaced, Count };

} // namespace

TEST(PrefixSections, AnswersAsASearchOfTheFileWouldAfterEveryChange)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 5000; ++round) {
        twk::testing::MemoryFileSystem files;
        std::string content = randomText(random, std::uniform_int_distribution<int>(1, 30)(random));
        files.set("log", content);
        const std::size_t held = std::vector<std::size_t>{1, 3, 16, 1 << 20}[round % 4];
        auto names = PrefixSections::of(files, "log", "2026", held);
        ASSERT_TRUE(names);
        const auto change = static_cast<Change>(round % static_cast<int>(Change::Count));
        if (change == Change::GrownAfterAnEdit || change == Change::EditedInPlace) {
            auto& edited = content[random() % content.size()];
            edited = edited == '[' ? 'x' : '[';
        }
        if (change == Change::Grown || change == Change::GrownAfterAnEdit)
            content += randomText(random, std::uniform_int_distribution<int>(1, 8)(random));
        if (change == Change::Shorter)
            content.pop_back();
        files.set("log", content);
        if (change == Change::Replaced)
            files.files["log"].stamp.inode = 8;
        const bool followed = names->catchUp(files, "log", *files.stamp("log"), held);
        SCOPED_TRACE("round " + std::to_string(round) + " content [" + content + "]");
        if (change != Change::GrownAfterAnEdit) {
            ASSERT_EQ(followed, change == Change::Grown);
        }
        if (!followed)
            continue; // searched for instead
        for (const auto& name : kNames) {
            if (const auto holds = names->holds(name)) {
                ASSERT_EQ(*holds, ini::hasSection(content, name)) << name;
            }
        }
        ASSERT_TRUE(names->holds("2026_2").has_value());
    }
}

TEST(PrefixSections, TellsOnlyOfItsOwnDayAndWithinItsBounds)
{
    twk::testing::MemoryFileSystem files;
    files.set("log", "[20261207000000]\r\nTEXT=[20261208000000]\r\n");
    auto names = PrefixSections::of(files, "log", "20261207");
    ASSERT_TRUE(names);
    EXPECT_EQ(names->holds("20261207000000"), true);
    EXPECT_EQ(names->holds("20261207000000_2"), false);
    EXPECT_EQ(names->holds("20261208000000"), std::nullopt); // after midnight: searched for
    EXPECT_EQ(names->holds("20261207" + std::string(PrefixSections::kLongestName, '0')), std::nullopt);
    EXPECT_FALSE(PrefixSections::of(files, "log", "day7"));      // a letter would need case folding
    EXPECT_FALSE(PrefixSections::of(files, "none", "20261207")); // a missing file

    // More of the day's names than a day gives: no answer at all, not a wrong one.
    std::string crowded;
    for (std::size_t n = 0; n <= PrefixSections::kMostNames; ++n)
        crowded += "[20261207_" + std::to_string(n) + "]\n";
    files.set("log", crowded);
    EXPECT_FALSE(PrefixSections::of(files, "log", "20261207"));
}

namespace {

// The memory files, safe to share with a look, whose reads can be held at a
// gate or slowed down.
class SharedFiles : public platform::FileSystem {
public:
    std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override
    {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [&] { return open_; });
        lock.unlock();
        std::this_thread::sleep_for(readTime);
        lock.lock();
        return files.readRange(path, offset, length);
    }
    std::optional<platform::FileStamp> stamp(const std::string& path) override
    {
        const std::lock_guard lock(mutex_);
        return files.stamp(path);
    }
    bool replaceWith(const std::string& path, platform::NewFile access, const Producer& produce) override
    {
        const std::lock_guard lock(mutex_);
        return files.replaceWith(path, access, produce);
    }
    bool append(const std::string& path, std::string_view content) override
    {
        const std::lock_guard lock(mutex_);
        return files.append(path, content);
    }
    bool isRegularFile(const std::string& path) override { return stamp(path).has_value(); }
    bool remove(const std::string&) override { return false; }

    void setGate(bool open)
    {
        const std::lock_guard lock(mutex_);
        open_ = open;
        opened_.notify_all();
    }

    twk::testing::MemoryFileSystem files; // set up before the look starts
    std::chrono::milliseconds readTime{0};

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = true;
};

std::string dayLog(int sections)
{
    std::string log;
    for (int n = 0; n < sections; ++n)
        log += "[2026120710" + std::to_string(1000 + n) + "]\r\nTEXT=a copied text\r\n";
    return log;
}

} // namespace

TEST(SectionPrefetch, TheWritesOfARunLandWhereTheSearchWouldPlaceThem)
{
    SharedFiles files;
    // A long entry of the day before, so that reading the whole log shows.
    const auto before =
        "[20261206235959]\r\nTEXT=" + std::string(300'000, 'x') + "\r\n" + dayLog(50) + "TEXT=[20261207101500]\r\n";
    files.files.set("log", before);
    ini::IniFiles ini(files, 64);
    ini.prefetchSections("log", "20261207");
    EXPECT_TRUE(ini.hasSection("log", "20261207101049"));
    // A log writer hands the write the look that found the name free.
    const auto free = ini.lookForSection("log", "20261207101500");
    EXPECT_FALSE(free.present); // inside a value: no section
    ASSERT_TRUE(ini.write("log", "20261207101500", "TEXT", "a", platform::NewFile::OwnerOnly, free));
    // Our own append is followed; so is one by another program.
    EXPECT_TRUE(ini.hasSection("log", "20261207101500"));
    ASSERT_TRUE(files.append("log", "[20261207101500_2]\r\nTEXT=b\r\n"));
    EXPECT_TRUE(ini.hasSection("log", "20261207101500_2"));
    const auto third = ini.lookForSection("log", "20261207101500_3");
    EXPECT_FALSE(third.present);
    ASSERT_TRUE(ini.write("log", "20261207101500_3", "TEXT", "c", platform::NewFile::OwnerOnly, third));
    // Nor does a later write of the run read the whole log: a capture costs
    // the same in a log of any length.
    const auto readBefore = files.files.bytesRead;
    const auto fourth = ini.lookForSection("log", "20261207101500_4");
    EXPECT_FALSE(fourth.present);
    ASSERT_TRUE(ini.write("log", "20261207101500_4", "TEXT", "d", platform::NewFile::OwnerOnly, fourth));
    EXPECT_LT(files.files.bytesRead - readBefore, before.size() / 2);
    EXPECT_EQ(*files.files.read("log"),
              before + "[20261207101500]\r\nTEXT=a\r\n[20261207101500_2]\r\nTEXT=b\r\n[20261207101500_3]\r\nTEXT=c\r\n"
                       "[20261207101500_4]\r\nTEXT=d\r\n");
}

TEST(SectionPrefetch, ASlowLookIsWaitedForAndAStuckOneIsLeft)
{
    SharedFiles files;
    files.files.set("log", dayLog(300));
    const auto now = *files.stamp("log");

    // Each read takes a fifth of a stall, the whole look several stalls.
    files.readTime = 60ms;
    {
        ini::SectionPrefetch slow(files, 1 << 10, 300ms);
        slow.start("log", "20261207");
        EXPECT_EQ(slow.holds("log", now, "20261207101299"), true);
        EXPECT_EQ(slow.holds("log", now, "20261207101300"), false);
    }

    files.readTime = 0ms;
    files.setGate(false);
    const auto started = std::chrono::steady_clock::now();
    {
        ini::SectionPrefetch stuck(files, 1 << 10, 50ms);
        stuck.start("log", "20261207");
        EXPECT_EQ(stuck.holds("log", now, "20261207101299"), std::nullopt);
        ini::SectionPrefetch patient(files, 1 << 10, 60s);
        patient.start("log", "20261207");
        EXPECT_EQ(patient.holds("log", now, "20261208000000"), std::nullopt); // past midnight: nothing to wait for
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
        files.setGate(true); // the reads they hang in return; the looks stop at their next
    }

    // A program that ends before its first write does not wait for the look.
    files.readTime = 200ms;
    const auto ending = std::chrono::steady_clock::now();
    {
        ini::SectionPrefetch unused(files, 1 << 10);
        unused.start("log", "20261207");
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - ending, 2s); // the whole look takes over 4 s
}
