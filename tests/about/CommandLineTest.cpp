#include "about/CommandLine.h"

#include <gtest/gtest.h>

using twk::about::CommandLineAnswer;

TEST(CommandLineTest, VersionAndHelpAnswerAndEveryOtherCommandLineStartsTheProgram)
{
    EXPECT_EQ(CommandLineAnswer("--version"), "twk3 3.0.0\n");
    const auto help = CommandLineAnswer("--help");
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->starts_with("twk3 3.0.0\n"));
    // Only the whole argument string counts, as for "99".
    for (const char* other : {"", "99", "--version 99", " --help", "--HELP", "-v"})
        EXPECT_FALSE(CommandLineAnswer(other)) << other;
}
