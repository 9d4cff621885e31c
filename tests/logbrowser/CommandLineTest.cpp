#include "logbrowser/CommandLine.h"
#include "logbrowser/JsonText.h"

#include "fakes/TempFolder.h"
#include "platform/NativeLayer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace twk::logbrowser {
namespace {

TEST(CommandLine, RequestsReadAndWrongOnesRefused)
{
    const auto request = parsedRequest({"--search", "a b", "--regex", "--since", "2026-12-01", "--json", "logs"});
    EXPECT_TRUE(request.search);
    EXPECT_EQ(request.query, "a b");
    EXPECT_TRUE(request.regex);
    EXPECT_TRUE(request.json);
    EXPECT_EQ(request.since, "2026-12-01");
    EXPECT_EQ(request.place, "logs");
    EXPECT_TRUE(request.error.empty());
    EXPECT_EQ(parsedRequest({"/logs/twk.txt"}).place, "/logs/twk.txt");
    EXPECT_FALSE(parsedRequest({"--search"}).error.empty());
    EXPECT_FALSE(parsedRequest({"--frobnicate"}).error.empty());
    EXPECT_FALSE(parsedRequest({"a", "b"}).error.empty());
    EXPECT_FALSE(parsedRequest({"--regex"}).error.empty()); // only with --search
}

class SearchCommand : public ::testing::Test {
protected:
    int run(std::vector<std::string> words)
    {
        out.str("");
        err.str("");
        return runSearch(*files, parsedRequest(words), folder.path(), out, err);
    }

    testing::TempFolder folder;
    std::unique_ptr<platform::FileSystem> files = platform::makeNativeFileSystem();
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SearchCommand, PrintsMatchesNewestFirstWithFurtherLinesIndented)
{
    testing::writeFile(folder.file("twk.txt"), "[20261205140307]\r\nTEXT=Hello\r\n"
                                               "[20261205140309]\r\nTEXT=say hello\r\nagain\r\n"
                                               "[20261205140310]\r\nTEXT=bye\r\n");
    EXPECT_EQ(run({"--search", "HELLO"}), 0);
    EXPECT_EQ(out.str(), "2026-12-05 14:03:09\ttwk.txt\tsay hello\n\tagain\n"
                         "2026-12-05 14:03:07\ttwk.txt\tHello\n");
    EXPECT_EQ(run({"--search", "nothing like it"}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(run({"--search", "", "--since", "2026-12-05 14:03:09"}), 0);
    EXPECT_EQ(out.str().find("Hello"), std::string::npos);
}

TEST_F(SearchCommand, JsonIsValidWhateverTheBytes)
{
    testing::writeFile(folder.file("twk.txt"), "[20261205140307]\r\nTEXT=\"q\" \\ \xFF\tend\r\nnext\r\n");
    EXPECT_EQ(run({"--search", "q", "--json"}), 0);
    EXPECT_EQ(out.str(), "{\"time\":\"2026-12-05 14:03:07\",\"log\":" + jsonString(folder.file("twk.txt")) +
                             ",\"offset\":0,\"text\":\"\\\"q\\\" \\\\ \xEF\xBF\xBD\\tend\\r\\nnext\"}\n");
    EXPECT_EQ(jsonString(std::string("\x01\xC3\xA9", 3)), "\"\\u0001\xC3\xA9\"");
}

TEST_F(SearchCommand, ProblemsReportedWithStatusTwo)
{
    EXPECT_EQ(run({"--search", "(", "--regex"}), 2);
    EXPECT_NE(err.str().find("expression"), std::string::npos);
    EXPECT_EQ(run({"--search", "x", "--since", "soon"}), 2);
    EXPECT_EQ(run({"--search", "x", folder.file("missing/twk.txt")}), 2);
    // A log file names its folder, as the log viewer is called.
    testing::writeFile(folder.file("20261205.txt"), "[20261205140307]\r\nTEXT=x\r\n");
    EXPECT_EQ(run({"--search", "x", folder.file("20261205.txt")}), 0);
}

} // namespace
} // namespace twk::logbrowser
