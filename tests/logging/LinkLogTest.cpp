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
    startWith("1", folder.file(""));
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
    startWith("2", folder.file(""));
    clipboard.content = "www.example.org";
    tick();
    EXPECT_EQ(readFile(folder.file("u20261205.txt")), "[09]\r\n0503=www.example.org\r\n");
}

TEST_F(LinkLogTest, MultiLineLinksAreLoggedOnOneLineAndTheLaterOfOneSecondWins)
{
    startWith("1", folder.file(""));
    copy("http://a\r\npart two", 1);
    copy("http://b", 1);
    EXPECT_EQ(readFile(folder.file("twkurl.txt")), "[20261205]\r\n140301=http://b\r\n");
    EXPECT_EQ(logging::WithoutLineBreaks("a\r\nb\rc\nd\r\r\n\n"), "ab\rc\nd\r\n");
}

TEST_F(LinkLogTest, EmptyingTheListLogsTheLastTextAgain)
{
    startWith("1", folder.file(""));
    copy("http://a", 1);
    environment.clock.second = 2;
    form1().mnuClearURL_Click();
    EXPECT_EQ(readFile(folder.file("twkurl.txt")), "[20261205]\r\n140301=http://a\r\n140302=http://a\r\n");
}

TEST_F(LinkLogTest, AWrongFolderSaysSoForEveryChangeOfTheList)
{
    startWith("1", folder.file("nowhere/"));
    copy("http://a", 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("Error writing to: " + folder.file("nowhere/twkurl.txt.")),
              std::string::npos);
    EXPECT_EQ(catcher().Text1.text(), "http://a");
}

TEST_F(LinkLogTest, AnUnknownSchemeWritesNothing)
{
    startWith("3", folder.file(""));
    copy("http://a", 1);
    EXPECT_FALSE(fileExists(folder.file("twkurl.txt")));
    EXPECT_TRUE(dialogs.messages.empty());
}
