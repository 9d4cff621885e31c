#include "platform/posix/XdgAutostart.h"
#include "fakes/TempFolder.h"
#include "platform/Trace.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/XdgFolders.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

using namespace twk::platform;
using twk::testing::fileExists;
using twk::testing::readFile;
using twk::testing::TempFolder;
using twk::testing::writeFile;

namespace {

class XdgAutostartTest : public ::testing::Test {
protected:
    std::string configHome() const { return folder.file("config"); }
    std::string entry() const { return configHome() + "/autostart/twk3.desktop"; }
    XdgAutostart autostart(const std::string& program = "/usr/lib/twk3/twk3")
    {
        return XdgAutostart(files, configHome(), program);
    }

    TempFolder folder;
    PosixFileSystem files;
};

} // namespace

TEST_F(XdgAutostartTest, TickingWritesAnEntryForTheRunningProgramAndClearingRemovesIt)
{
    auto start = autostart();
    EXPECT_FALSE(start.enabled());
    ASSERT_TRUE(start.setEnabled(true)) << "the autostart folder is made as well";
    const auto written = readFile(entry());
    EXPECT_TRUE(written.starts_with("[Desktop Entry]\nType=Application\nName=TWK\n"));
    EXPECT_NE(written.find("\nExec=\"/usr/lib/twk3/twk3\"\n"), std::string::npos) << written;
    EXPECT_TRUE(start.enabled());
    EXPECT_TRUE(start.setEnabled(true)) << "again: the same entry";
    EXPECT_EQ(readFile(entry()), written);
    EXPECT_TRUE(start.setEnabled(false));
    EXPECT_FALSE(fileExists(entry()));
    EXPECT_TRUE(start.setEnabled(false)) << "nothing to remove is no failure";
}

TEST_F(XdgAutostartTest, AnEntrySwitchedOffInItsOwnGroupReadsAsOff)
{
    const std::map<std::string, bool> entries = {
        {"[Desktop Entry]\nExec=twk3\nHidden=true\n", false},
        {"[Desktop Entry]\nExec=twk3\nHidden = true \r\n", false},
        {"[Desktop Entry]\nExec=twk3\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nExec=twk3\nHidden=false\n", true},
        {"[Desktop Entry]\nExec=twk3\n[Desktop Action Quit]\nHidden=true\n", true},
        {"[Desktop Entry]\nExec=twk3\n", true},
    };
    auto start = autostart();
    MakeFolders(configHome() + "/autostart");
    for (const auto& [text, on] : entries) {
        writeFile(entry(), text);
        EXPECT_EQ(start.enabled(), on) << text;
    }
    // Ticked again, a hidden entry becomes ours.
    writeFile(entry(), "[Desktop Entry]\nExec=/elsewhere/twk3\nHidden=true\n");
    EXPECT_TRUE(start.setEnabled(true));
    EXPECT_TRUE(start.enabled());
    EXPECT_EQ(readFile(entry()).find("elsewhere"), std::string::npos);
}

TEST_F(XdgAutostartTest, APathWithBlanksQuotesAndDollarsStaysOneWordOfTheExecLine)
{
    EXPECT_NE(AutostartEntry("/home/a b/my \"twk\" $HOME/100%/back\\slash/twk3")
                  .find("\nExec=\"/home/a b/my \\\\\"twk\\\\\" \\\\$HOME/100%%/back\\\\\\\\slash/twk3\"\n"),
              std::string::npos)
        << AutostartEntry("/home/a b/my \"twk\" $HOME/100%/back\\slash/twk3");
}

TEST_F(XdgAutostartTest, WithoutAConfigurationFolderNothingIsWrittenAndTheTraceSaysSo)
{
    std::vector<std::string> traced;
    setTraceSink([&](const std::string& line) { traced.push_back(line); });
    XdgAutostart nowhere(files, "", "/usr/bin/twk3");
    EXPECT_FALSE(nowhere.enabled());
    EXPECT_FALSE(nowhere.setEnabled(true));
    // An autostart folder that cannot be made: a file is in its place.
    writeFile(configHome(), "not a folder");
    EXPECT_FALSE(autostart().setEnabled(true));
    setTraceSink({});
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_NE(traced[1].find("cannot write " + entry()), std::string::npos) << traced[1];
}

TEST(XdgFoldersTest, TheConfigurationFolderFollowsTheBaseDirectoryRules)
{
    const auto with = [](std::map<std::string, std::string> variables) {
        return XdgConfigHome([variables](const char* name) -> std::optional<std::string> {
            const auto found = variables.find(name);
            if (found == variables.end())
                return std::nullopt;
            return found->second;
        });
    };
    EXPECT_EQ(with({{"XDG_CONFIG_HOME", "/x/conf"}, {"HOME", "/home/u"}}), "/x/conf");
    EXPECT_EQ(with({{"XDG_CONFIG_HOME", "relative/conf"}, {"HOME", "/home/u"}}), "/home/u/.config");
    EXPECT_EQ(with({{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u/"}}), "/home/u/.config");
    EXPECT_EQ(with({{"HOME", ""}}), std::nullopt);
    EXPECT_EQ(with({}), std::nullopt);
}

TEST(XdgFoldersTest, MadeFoldersAreTheUsersAloneAndAFolderThereAlreadyIsFine)
{
    TempFolder folder;
    const auto deep = folder.file("a/b/c");
    ASSERT_TRUE(MakeFolders(deep));
    EXPECT_TRUE(MakeFolders(deep));
    struct stat status {};
    ASSERT_EQ(::stat(deep.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_TRUE(CanWriteIn(deep));
    writeFile(folder.file("file"), "x");
    EXPECT_FALSE(MakeFolders(folder.file("file/below")));
}
