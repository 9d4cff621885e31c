#include "logbrowser/LogFiles.h"
#include "logbrowser/LogChanges.h"

#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

namespace twk::logbrowser {
namespace {

TEST(LogFiles, NamesOfEachSchemeAndNothingElse)
{
    EXPECT_EQ(logFileNamed("twk.txt")->kind, LogKind::ClipContinuous);
    EXPECT_EQ(logFileNamed("TWK.TXT")->kind, LogKind::ClipContinuous);
    EXPECT_EQ(logFileNamed("twkurl.txt")->kind, LogKind::LinkContinuous);
    const auto day = logFileNamed("20261205.txt");
    EXPECT_EQ(day->kind, LogKind::ClipPerDay);
    EXPECT_EQ(day->named, 20261205000000);
    const auto copy = logFileNamed("20261205_140307_3.txt");
    EXPECT_EQ(copy->kind, LogKind::ClipPerCopy);
    EXPECT_EQ(copy->named, 20261205140307);
    EXPECT_EQ(copy->repeat, 3);
    EXPECT_EQ(logFileNamed("u20261205.txt")->kind, LogKind::LinkPerDay);
    for (const char* other : {"twk3.ini", "appendfile.txt", "appendfile.txt_001.txt", "2026120.txt",
                              "20261205_14030.txt", "20261205_140307_x.txt", "u2026120a.txt", "twk.txt.bak"})
        EXPECT_FALSE(logFileNamed(other)) << other;
}

TEST(LogFiles, FolderListedNewestFirstContinuousLogsFirst)
{
    testing::TempFolder folder;
    for (const char* name : {"20261204.txt", "twk.txt", "20261205_090000.txt", "20261205_090000_2.txt", "u20261203.txt",
                             "notes.txt", "20261201.txt"})
        testing::writeFile(folder.file(name), "");
    std::filesystem::create_directory(folder.file("20261206.txt")); // a folder is no log
    std::vector<std::string> names;
    for (const auto& file : logsInFolder(folder.path()))
        names.push_back(file.name);
    EXPECT_EQ(names, (std::vector<std::string>{"20261205_090000_2.txt", "20261205_090000.txt", "20261204.txt",
                                               "u20261203.txt", "20261201.txt", "twk.txt"}));
    EXPECT_TRUE(logsInFolder(folder.file("missing")).empty());
}

TEST(LogFiles, TimesShownAndRead)
{
    EXPECT_EQ(shownTime(20261205140307), "2026-12-05 14:03:07");
    EXPECT_EQ(shownTime(0), "");
    EXPECT_EQ(parsedTime("2026-12-05"), 20261205000000);
    EXPECT_EQ(parsedTime("20261205"), 20261205000000);
    EXPECT_EQ(parsedTime("2026-12-05 14:03"), 20261205140300);
    EXPECT_EQ(parsedTime("2026-12-05T14:03:07"), 20261205140307);
    EXPECT_FALSE(parsedTime("yesterday"));
    EXPECT_FALSE(parsedTime("2026-13-05"));
    EXPECT_FALSE(parsedTime("2026-12"));
}

TEST(LogChanges, GrownAddedAndReplacedLogsToldApart)
{
    const std::vector<LogFile> known{*logFileNamed("twk.txt"), *logFileNamed("twkurl.txt")};
    const platform::FileStamp log{100, 1, 7, 1};
    const platform::FileStamp links{50, 1, 8, 1};
    platform::FileStamp longer = log;
    longer.size = 180;
    longer.modifiedNs = 2;
    auto changes = logChanges(known, {log, links}, {longer, links}, std::nullopt);
    EXPECT_EQ(changes.grown, std::vector<std::size_t>{0});
    EXPECT_FALSE(changes.other);

    platform::FileStamp replaced = longer;
    replaced.inode = 9; // written beside and renamed: anything in it may have changed
    EXPECT_TRUE(logChanges(known, {log, links}, {replaced, links}, std::nullopt).other);
    platform::FileStamp shorter = log;
    shorter.size = 10;
    EXPECT_TRUE(logChanges(known, {log, links}, {shorter, links}, std::nullopt).other);
    EXPECT_TRUE(logChanges(known, {log, links}, {std::nullopt, links}, std::nullopt).other);

    auto listed = known;
    listed.push_back(*logFileNamed("20261205_090000.txt"));
    changes = logChanges(known, {log, links}, {log, links}, listed);
    ASSERT_EQ(changes.added.size(), 1u);
    EXPECT_EQ(changes.added[0].name, "20261205_090000.txt");
    EXPECT_FALSE(changes.other);
    listed.erase(listed.begin());
    EXPECT_TRUE(logChanges(known, {log, links}, {log, links}, listed).other); // a log went away
}

TEST(LogChanges, OnlyLogsThatCanGrowAreWatched)
{
    std::vector<LogFile> logs;
    for (const char* name : {"20261205_090000.txt", "20261205.txt", "u20261205.txt", "20261204.txt", "u20261204.txt",
                             "twk.txt", "twkurl.txt"})
        logs.push_back(*logFileNamed(name));
    EXPECT_EQ(growingLogs(logs), (std::vector<std::size_t>{1, 2, 5, 6}));
}

} // namespace
} // namespace twk::logbrowser
