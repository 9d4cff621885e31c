#include "fakes/ProgramFixture.h"

using namespace twk;
using twk::testing::fileExists;
using twk::testing::readFile;
using twk::testing::writeFile;

namespace {

class ClipboardLogTest : public twk::testing::ProgramFixture {
protected:
    void startWith(const std::string& saveType, const std::string& more = "")
    {
        start("ON=1\r\nAUTOSAVE=1\r\nSAVETYPE=" + saveType + "\r\nSAVEDFILEPATH=" + folder.file("\r\n") + more);
    }
};

} // namespace

// Counted names of one second's copies, an empty text among them, and names that copied texts
// hold are checked with the same-second captures.
TEST_F(ClipboardLogTest, OneFilePerCopyTakesACounterPastAnyFileOfItsName)
{
    startWith("2");
    writeFile(folder.file("20261205_140307.txt"), "not a log\r\n"); // any file takes the name
    copy("d", 7);
    EXPECT_EQ(readFile(folder.file("20261205_140307.txt")), "not a log\r\n");
    EXPECT_EQ(readFile(folder.file("20261205_140307_2.txt")), "[LogEntry]\r\nTEXT=d\r\n");
    EXPECT_EQ(program().Settings.ClipLogPath, folder.file("20261205_140307_2.txt"));
}

TEST_F(ClipboardLogTest, AMissingFolderNamesTheFileInTheMessageAndTheViewerStillShows)
{
    const std::string missing = folder.file("gone/");
    start("ON=1\r\nAUTOSAVE=1\r\nSAVETYPE=3\r\nSAVEDFILEPATH=" + missing + "\r\n");
    copy("text", 1);
    copy("more", 2);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Error writing to: " + missing +
                                            "20261205.txt. Be sure file is not protected, the clipboard text is "
                                            "not too big, and that the file size is not too large.");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(viewer().Text1.text(), "more");
    EXPECT_EQ(program().Settings.ClipLogPath, missing + "20261205.txt");
}

TEST_F(ClipboardLogTest, AFailedWriteLeavesEverythingAlreadyLogged)
{
    startWith("1");
    copy("kept", 1);
    files.failPaths.insert(folder.file("twk.txt"));
    copy("lost", 2);
    EXPECT_EQ(readFile(folder.file("twk.txt")), "[20261205140301]\r\nTEXT=kept\r\n");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(program().Settings.LastIniResult, 0);
}

TEST_F(ClipboardLogTest, NoSchemeOrNoAutoSaveWritesNothingAndSaysNothing)
{
    startWith("4");
    const auto named = program().Settings.ClipLogPath;
    copy("x", 1);
    program().Settings.SaveType = "";
    copy("y", 2);
    program().Settings.SaveType = "1";
    program().Settings.AutoSave = "0";
    copy("z", 3);
    EXPECT_FALSE(fileExists(folder.file("twk.txt")));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(program().Settings.ClipLogPath, named);
}

TEST_F(ClipboardLogTest, StampsArePaddedToTwoDigits)
{
    environment.clock = {2027, 1, 1, 0, 0, 0};
    startWith("2");
    EXPECT_EQ(program().Settings.DateStamp, "20270101");
    EXPECT_EQ(program().Settings.TimeStamp, "000000");
    environment.clock = {2027, 1, 1, 9, 5, 3};
    copy("t");
    EXPECT_EQ(program().Settings.TimeStamp, "090503");
    EXPECT_TRUE(fileExists(folder.file("20270101_090503.txt")));
}

TEST_F(ClipboardLogTest, PopupAfterCopyShowsTheViewer)
{
    startWith("1", "PAC=1\r\n");
    EXPECT_FALSE(viewer().visible());
    copy("x", 1);
    EXPECT_TRUE(viewer().visible());
}
