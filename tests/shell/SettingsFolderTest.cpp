#include "about/Help.h"
#include "configuration/FrmOptions.h"
#include "fakes/ProgramFixture.h"
#include "platform/PathRules.h"
#include "platform/Trace.h"

using namespace twk;
using twk::testing::fileExists;
using twk::testing::readFile;

namespace {

// The program's folder belongs to the user (a portable copy) or not (an
// installed copy); the user's own folder for the program is another one.
class SettingsFolderTest : public twk::testing::ProgramFixture {
protected:
    SettingsFolderTest()
    {
        userFolder = own.path();
        platform::setTraceSink([this](const std::string& line) { traced.push_back(line); });
    }
    ~SettingsFolderTest() override { platform::setTraceSink({}); }

    void installed()
    {
        environment.programFolderWritable = false;
        environment.userFolder = userFolder;
    }
    std::string inOwn(const std::string& name) const { return own.file(name); }

    twk::testing::TempFolder own;
    std::string userFolder;
    std::vector<std::string> traced;
};

bool mentions(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(SettingsFolderTest, APortableCopyKeepsEverythingBesideItselfEvenWithAFolderOfItsOwnAvailable)
{
    environment.userFolder = userFolder;
    start();
    EXPECT_EQ(program().Settings.IniPath, folder.file("twk3.ini"));
    EXPECT_TRUE(fileExists(folder.file("twk3.ini")));
    EXPECT_FALSE(fileExists(inOwn("twk3.ini")));
    EXPECT_EQ(program().Settings.SavedFilePath, platform::withTrailingSeparator(folder.path()));
}

TEST_F(SettingsFolderTest, AnInstalledCopyTreatsTheUsersFolderAsItsOwnForIniLogsAndAppendFile)
{
    installed();
    start();
    const auto& s = program().Settings;
    const auto mine = platform::withTrailingSeparator(userFolder);
    EXPECT_EQ(s.IniPath, inOwn("twk3.ini"));
    EXPECT_FALSE(fileExists(folder.file("twk3.ini")));
    // The first run's defaults, as beside the program, only elsewhere.
    const auto file = readFile(inOwn("twk3.ini"));
    EXPECT_TRUE(mentions(file, "SAVEDFILEPATH=" + mine + "\r\n")) << file;
    EXPECT_TRUE(mentions(file, "AMLFPATH=" + mine + "appendfile.txt\r\n")) << file;
    EXPECT_TRUE(mentions(file, "linkcatcherSAVEDFILEPATH=" + mine + "\r\n")) << file;
    EXPECT_TRUE(mentions(file, "FIRSTRUN=9\r\n"));
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(mentions(dialogs.messages[0].text, "Your logs will be saved to: " + userFolder + "\n\r"));

    // A copied text is logged there, and the hit-and-run notice names the INI file that is read.
    copy("logged in the user's folder", 9);
    EXPECT_TRUE(mentions(readFile(inOwn("20261205.txt")), "logged in the user's folder"));
    auto& options = program().frmOptions.load(program());
    EXPECT_TRUE(mentions(options.HitAndRunNotice(), "edit " + inOwn("twk3.ini") + " and set"));
    // What ships beside the program is still found there.
    EXPECT_EQ(about::HelpFilePath(program()), folder.file(about::kHelpFileName));
    EXPECT_TRUE(traced.empty());
}

TEST_F(SettingsFolderTest, WithoutAFolderOfTheUsersOwnTheProgramsFolderStaysAndTheTraceSaysWhy)
{
    environment.programFolderWritable = false;
    start();
    EXPECT_EQ(program().Settings.IniPath, folder.file("twk3.ini"));
    ASSERT_FALSE(traced.empty());
    EXPECT_TRUE(mentions(traced[0], "cannot write in " + folder.path())) << traced[0];
}

TEST_F(SettingsFolderTest, TheFolderIsDecidedOnceForTheWholeRun)
{
    installed();
    start();
    environment.programFolderWritable = true; // a permission changed while it runs
    program().frmOptions.load(program()).Command2_Click();
    EXPECT_EQ(program().Settings.IniPath, inOwn("twk3.ini"));
    EXPECT_FALSE(fileExists(folder.file("twk3.ini")));
}

TEST_F(SettingsFolderTest, SilentFailuresAreTracedWithWhatFailedAndWhere)
{
    start("AM=1\r\nASAF=1\r\nAMLFPATH=" + folder.file("append.txt") + "\r\n");
    files.failPaths = {iniPath(), folder.file("append.txt")};
    program().frmOptions.load(program()).Command2_Click();
    copy("a text for the append file", 3);
    auto find = [this](const std::string& part) {
        return std::count_if(traced.begin(), traced.end(), [&](const auto& line) { return mentions(line, part); });
    };
    EXPECT_GE(find("INI write failed: [TWK] ON in " + iniPath()), 1) << "every failed write says which key";
    EXPECT_EQ(find("append file not written: " + folder.file("append.txt")), 1);
    for (const auto& line : traced)
        EXPECT_EQ(line.find('\n'), std::string::npos) << "one line each";
}
