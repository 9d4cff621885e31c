#include "configuration/FrmOptions.h"
#include "fakes/ProgramFixture.h"

using namespace twk;
using twk::testing::writeFile;

namespace {

class TrayMenuTest : public twk::testing::ProgramFixture {
protected:
    void notify(int code) { form1().pichook_MouseMove(static_cast<float>(code * 15)); }
    void choose(const char* name)
    {
        tray.onPopup = [name](ui::Menu& menu) { menu.find(name)->onClick(); };
        notify(shell::kTrayRightButtonUp);
    }
};

} // namespace

TEST_F(TrayMenuTest, OnlyRightClicksAndDoubleClicksOpenTheMenuAndNeverTwice)
{
    start();
    notify(512); // mouse move
    notify(513); // left button down
    notify(514); // left button up
    EXPECT_EQ(tray.popups, 0);
    bool optionsOpenAtMenu = false;
    tray.onPopup = [&](ui::Menu&) { optionsOpenAtMenu = program().frmOptions.loaded(); };
    notify(shell::kTrayDoubleClick); // the options first, then the menu
    EXPECT_EQ(tray.popups, 1);
    EXPECT_TRUE(optionsOpenAtMenu);
    EXPECT_TRUE(program().frmOptions->visible());
    tray.onPopup = [this](ui::Menu&) { notify(shell::kTrayRightButtonUp); };
    notify(shell::kTrayRightButtonUp);
    EXPECT_EQ(tray.popups, 2);
    EXPECT_EQ(form1().TrayEventCode, shell::kTrayRightButtonUp);
    EXPECT_FALSE(form1().TrayBusy);
}

TEST_F(TrayMenuTest, TheViewerIsSplitAsACommandLineWithTheLogLastUnlessItIsOneFileWithBlanks)
{
    // A viewer whose path holds a blank, written without quotes, still runs.
    const auto viewer = folder.file("my viewer");
    writeFile(viewer, "");
    const std::string logs = twk::testing::under(twk::testing::kRootFolder, "my logs/");
    for (const auto& [line, words] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {viewer, {viewer}},
             {"viewer --flag", {"viewer", "--flag"}},
             {"\"/opt/my viewer/view\" -n 'two words' ''", {"/opt/my viewer/view", "-n", "two words", ""}},
             {"  C:\\Tools\\view.exe\t/r ", {"C:\\Tools\\view.exe", "/r"}},
             {"sh -c 'rm -rf ~'; echo", {"sh", "-c", "rm -rf ~;", "echo"}},
         }) {
        writeIni("LOGVIEWER=" + line + "\r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + logs + "\r\n");
        restart();
        shell.starts.clear();
        choose("mnuClipLog");
        ASSERT_EQ(shell.starts.size(), 1u);
        auto expected = words;
        expected.push_back(logs + "twk.txt");
        std::vector<std::string> got{shell.starts[0].program};
        got.insert(got.end(), shell.starts[0].arguments.begin(), shell.starts[0].arguments.end());
        EXPECT_EQ(got, expected) << line;
        EXPECT_EQ(program().Settings.LastIniResult, 1);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TrayMenuTest, AViewerThatDoesNotStartSaysLoadFailed)
{
    start("");
    shell.startSucceeds = false;
    choose("mnuLinksLog");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Load Failed");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::None);
    EXPECT_EQ(program().Settings.LastIniResult, 0);
}

TEST_F(TrayMenuTest, OtherLogAsksForAFileAndDoesNothingWhenCancelled)
{
    start("LOGVIEWER=view\r\n");
    choose("mnuOtherLog");
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].title, "KESTOVAN TWK3 Open Log File");
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*");
    EXPECT_TRUE(dialogs.fileRequests[0].fileMustExist);
    EXPECT_TRUE(shell.starts.empty());
    dialogs.fileAnswer = "/tmp/old log.txt";
    choose("mnuOtherLog");
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].commandLine(), "view /tmp/old log.txt");
}

TEST_F(TrayMenuTest, ToggleFlipsOnlyZeroAndOneAndWritesNothing)
{
    start("ON=1\r\n");
    const auto before = ini();
    choose("mnuOnOff");
    EXPECT_EQ(program().Settings.CaptureOn, "0");
    choose("mnuOnOff");
    EXPECT_EQ(program().Settings.CaptureOn, "1");
    program().Settings.CaptureOn = "2";
    choose("mnuOnOff");
    EXPECT_EQ(program().Settings.CaptureOn, "2");
    EXPECT_EQ(ini(), before);
}

TEST_F(TrayMenuTest, ClearTextLeavesTheAppendedBreakAndClearAllLeavesNothing)
{
    start("AM=1\r\nAUTOSAVE=0\r\n");
    copy("hello");
    ASSERT_EQ(viewer().Text1.text(), "\r\nhello");
    choose("mnuClearText");
    EXPECT_EQ(viewer().Text1.text(), "\r\n");
    EXPECT_EQ(viewer().txtTMP.text(), "");

    tick(); // the text still on the clipboard is new again
    EXPECT_EQ(viewer().Text1.text(), "\r\n\r\nhello");
    choose("mnuClearAll");
    EXPECT_EQ(viewer().Text1.text(), "");
    EXPECT_EQ(viewer().txtTMP.text(), "");
    EXPECT_FALSE(clipboard.content.has_value());
}

TEST_F(TrayMenuTest, ViewEntriesShowTheWindows)
{
    start();
    choose("menu2");
    EXPECT_TRUE(viewer().visible());
    choose("mnuCatcher");
    EXPECT_TRUE(catcher().visible());
}

TEST_F(TrayMenuTest, ExitChosenInTheMenuEndsTheProgramOnceTheMenuHasClosed)
{
    start();
    bool loadedAfterChoice = false;
    tray.onPopup = [&](ui::Menu& menu) {
        menu.find("mnuExit")->onClick();
        loadedAfterChoice = program().frmToText.loaded();
    };
    notify(shell::kTrayRightButtonUp);
    EXPECT_TRUE(loadedAfterChoice);
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(program().form1.loaded());
}
