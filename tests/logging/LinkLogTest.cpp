#include "logging/LinkLog.h"
#include "fakes/ProgramFixture.h"

using namespace twk;
using twk::testing::fileExists;
using twk::testing::readFile;

namespace {

class LinkLogTest : public twk::testing::ProgramFixture {
protected:
    void startWith(const std::string& saveType, const std::string& folderPath)
    {
        writeIni("ON=1\r\nAUTOSAVE=0\r\n", "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=0\r\nAUTOSAVE=1\r\nSAVETYPE=" +
                                               saveType + "\r\nlinkcatcherSAVEDFILEPATH=" + folderPath + "\r\n");
        start();
    }
};

} // namespace

TEST_F(LinkLogTest, TheContinuousLogHasADaySectionAndATimeKeyPerLink)
{
    startWith("1", folder.path() + "/");
    copy("http://a", 1);
    copy("http://b", 2);
    copy("plain", 3);
    copy("http://c", 4);
    EXPECT_EQ(readFile(folder.file("twkurl.txt")),
              "[20261205]\r\n140301=http://a\r\n140302=http://b\r\n140304=http://c\r\n");
    EXPECT_EQ(catcher().Text1.text(), "http://a\r\nhttp://b\r\nhttp://c");
    EXPECT_EQ(program().Settings.LinkLogPath, folder.file("twkurl.txt"));
}

TEST_F(LinkLogTest, TheDailyLogHasAnHourSectionAndAMinuteSecondKey)
{
    environment.clock = {2026, 12, 5, 9, 5, 3};
    startWith("2", folder.path() + "/");
    clipboard.content = "www.example.org";
    tick();
    EXPECT_EQ(readFile(folder.file("u20261205.txt")), "[09]\r\n0503=www.example.org\r\n");
}

TEST_F(LinkLogTest, MultiLineLinksAreLoggedOnOneLineAndEachLinkOfOneSecondKeepsItsOwnKey)
{
    startWith("1", folder.path() + "/");
    copy("http://a\r\npart two", 1);
    copy("http://b\n[20261205]\n140301_2=posing", 1);
    copy("http://c", 1);
    EXPECT_EQ(readFile(folder.file("twkurl.txt")), "[20261205]\r\n140301=http://apart two\r\n"
                                                   "140301_2=http://b[20261205]140301_2=posing\r\n"
                                                   "140301_3=http://c\r\n");
    EXPECT_EQ(logging::WithoutLineBreaks("a\r\nb\rc\nd\r\r\n\n"), "abcd");
}

TEST_F(LinkLogTest, TheRepeatedHourOfTheDailyLogKeepsBothLinks)
{
    environment.clock = {2026, 10, 25, 2, 30, 0};
    startWith("2", folder.path() + "/");
    copy("http://summer", 0);
    environment.clock.hour = 3;
    copy("http://three", 0);
    environment.clock.hour = 2; // the clocks go back
    copy("http://winter", 0);
    EXPECT_EQ(readFile(folder.file("u20261025.txt")),
              "[02]\r\n3000=http://summer\r\n3000_2=http://winter\r\n[03]\r\n3000=http://three\r\n");
}

TEST_F(LinkLogTest, EmptyingTheListLogsTheLastTextAgain)
{
    startWith("1", folder.path() + "/");
    copy("http://a", 1);
    environment.clock.second = 2;
    form1().mnuClearURL_Click();
    EXPECT_EQ(readFile(folder.file("twkurl.txt")), "[20261205]\r\n140301=http://a\r\n140302=http://a\r\n");
    copy("http://b", 2);
    form1().mnuClearAll_Click(); // the same second: the empty text gets a key of its own
    EXPECT_EQ(readFile(folder.file("twkurl.txt")),
              "[20261205]\r\n140301=http://a\r\n140302=http://a\r\n140302_2=http://b\r\n140302_3=\r\n");
}

TEST_F(LinkLogTest, AWrongFolderSaysSoForEveryChangeOfTheList)
{
    startWith("1", folder.path() + "/nowhere/");
    copy("http://a", 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("Error writing to: " + folder.path() + "/nowhere/twkurl.txt."),
              std::string::npos);
    EXPECT_EQ(catcher().Text1.text(), "http://a");
}

TEST_F(LinkLogTest, AnUnknownSchemeWritesNothing)
{
    startWith("3", folder.path() + "/");
    copy("http://a", 1);
    EXPECT_FALSE(fileExists(folder.file("twkurl.txt")));
    EXPECT_TRUE(dialogs.messages.empty());
}
