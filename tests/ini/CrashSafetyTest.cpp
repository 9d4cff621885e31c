#include "fakes/ChildProcess.h"
#include "fakes/TempFolder.h"
#include "ini/IniText.h"
#include "ini/LogWriterEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

using namespace twk;

namespace {

struct Round {
    std::vector<long> acknowledged;
};

// Starts the writer at entry first, kills it after delay, and collects what
// it acknowledged before it died.
Round runAndKill(const std::string& log, const std::string& appendFile, long first, std::chrono::microseconds delay)
{
    twk::testing::ChildProcess writer(twk::testing::besideTestProgram(TWK_LOG_WRITER_FILE_NAME),
                                      {log, std::to_string(first), appendFile});
    // The moment counts from its first write: starting a program takes longer on some systems.
    writer.waitForOutput(30000);
    std::this_thread::sleep_for(delay);
    writer.kill();

    const std::string said = writer.output();
    Round round;
    for (std::size_t at = 0, end; (end = said.find('\n', at)) != std::string::npos; at = end + 1)
        round.acknowledged.push_back(std::stol(said.substr(at, end - at)));
    return round;
}

std::ptrdiff_t leftovers(const std::string& folder)
{
    const auto names = twk::testing::namesIn(folder);
    return std::count_if(names.begin(), names.end(),
                         [](const auto& name) { return name.find(".twk-") != std::string::npos; });
}

} // namespace

// The log and the append file; a killed write may leave its temporary file,
// which the next writer of that file removes.
TEST(CrashSafety, AWriterKilledAtRandomMomentsLosesNothingItAcknowledgedAndLeavesNoPileOfLeftovers)
{
    twk::testing::TempFolder folder;
    const auto log = folder.file("twk.txt");
    const auto appendFile = folder.file("appendfile.txt");
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delayUs(0, 40000);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);

    std::vector<long> acknowledged;
    long next = 0;
    int rounds = 0;
    for (; rounds < 40 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        const auto round = runAndKill(log, appendFile, next, std::chrono::microseconds(delayUs(random)));
        acknowledged.insert(acknowledged.end(), round.acknowledged.begin(), round.acknowledged.end());
        if (!round.acknowledged.empty())
            next = round.acknowledged.back() + 1; // the unacknowledged one is written again

        const auto content = twk::testing::readFile(log);
        for (const long n : acknowledged) {
            const auto entry = twk::testing::logWriterEntry(n);
            ASSERT_EQ(ini::findValue(content, entry.section, entry.key), entry.firstLine)
                << "entry " << n << " after round " << rounds;
        }
        if (!acknowledged.empty()) {
            // What the viewer held at the last acknowledged entry, or the next
            // text written whole; an append cut short may follow it.
            const long last = acknowledged.back();
            const auto mirrored = twk::testing::readFile(appendFile);
            EXPECT_TRUE(mirrored.starts_with(twk::testing::appendFileText(last) + "\r\n") ||
                        mirrored == twk::testing::appendFileText(last + 1) + "\r\n")
                << "append file after round " << rounds;
        }
        EXPECT_LE(leftovers(folder.path()), 2) << "after round " << rounds; // one per file at most
    }
    EXPECT_GE(rounds, 10);
    // Each round's writer got going, and some were killed in mid-stream.
    EXPECT_GT(acknowledged.size(), static_cast<std::size_t>(rounds));
}
