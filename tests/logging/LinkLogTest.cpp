#include "fakes/ProgramFixture.h"

using namespace twk;
using twk::testing::fileExists;
using twk::testing::readFile;

namespace {

class LinkLogTest : public twk::testing::ProgramFixture {
protected:
    void startWith(const std::string& saveType, const std::string& folderPath)
    {
        start("ON=1\r\nAUTOSAVE=0\r\n", "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=0\r\nAUTOSAVE=1\r\nSAVETYPE=" + saveType +
                                            "\r\nlinkcatcherSAVEDFILEPATH=" + folderPath + "\r\n");
    }
};

} // namespace

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
