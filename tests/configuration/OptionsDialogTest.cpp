#include "about/FrmAbout.h"
#include "configuration/FrmFileBrowser.h"
#include "configuration/FrmOptions.h"
#include "fakes/ProgramFixture.h"
#include "ini/IniEncoding.h"

using namespace twk;
using twk::testing::kOtherDrive;
using twk::testing::kRootFolder;
using twk::testing::readFile;
using twk::testing::under;
using twk::testing::writeFile;

namespace {

class OptionsDialogTest : public twk::testing::ProgramFixture {
protected:
    OptionsDialogTest()
    {
        folders.tree[folder.path()] = {"logs"};
        folders.tree[folder.file("logs")] = {};
        folders.tree[kRootFolder] = {"tmp"};
        folders.driveList = {kRootFolder, kOtherDrive}; // the other drive has no medium
    }
    configuration::FrmOptions& open()
    {
        form1().mnuOptions_Click();
        return *program().frmOptions;
    }
    // Starts the program on these INI lines and opens the dialog.
    configuration::FrmOptions& openOn(const std::string& mainLines, const std::string& extra = "")
    {
        start(mainLines, extra);
        return open();
    }
    configuration::FrmFileBrowser& browser() { return *program().frmFileBrowser; }
};

} // namespace

TEST_F(OptionsDialogTest, OddStoredChoicesOpenOnTheFallbackOptionAndSaveIt)
{
    for (const auto& [frequency, saveType, linkSaveType] : {std::tuple{"0", "0", "0"}, std::tuple{"6", "4", "3"}}) {
        writeIni(std::string("FREQUENCY=") + frequency + "\r\nSAVETYPE=" + saveType + "\r\n",
                 std::string("[LINKCATCHER]\r\nSAVETYPE=") + linkSaveType + "\r\n");
        restart();
        auto& options = open();
        EXPECT_TRUE(options.Option1.selected());
        EXPECT_TRUE(options.Option8.selected());
        EXPECT_TRUE(options.Option10.selected());
        options.Command2_Click();
        const auto file = ini();
        EXPECT_NE(file.find("FREQUENCY=1\r\n"), std::string::npos);
        EXPECT_NE(file.find("SAVETYPE=3\r\n"), std::string::npos);
        EXPECT_NE(file.find("[LINKCATCHER]\r\nSAVETYPE=2\r\n"), std::string::npos);
        EXPECT_FALSE(program().frmOptions.loaded());
    }
}

TEST_F(OptionsDialogTest, SaveChangesWritesEveryKeyInItsOrder)
{
    auto& options = openOn("");
    options.Check1.setValue(1);
    options.Option3.select();
    options.Option7.select();
    options.Option10.select();
    options.Check4.setValue(1);
    options.Command1_Click();
    browser().openFolder(folder.file("logs"));
    browser().Command2_Click();
    options.Command2_Click();

    const std::string logs = folder.file("logs/");
    EXPECT_EQ(ini(), "[TWK]\r\nFIRSTRUN=9\r\nON=1\r\nBEEPON=0\r\nAUTOOOPENVIEWERS=0\r\nFREQUENCY=3\r\nAUTOSAVE=0\r\n"
                     "JS=0\r\nAUTOCLEAR=0\r\nAM=0\r\nASAF=0\r\nPAC=0\r\nSAVEDFILEPATH=" +
                         logs +
                         "\r\nSAVETYPE=2\r\nHITNRUN=0\r\nXYPOS=0\r\n"
                         "[frmfilebrowser]\r\nLeft=7275\r\nTop=4860\r\nWidth=4650\r\nHeight=4680\r\nWindowState=0\r\n"
                         "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=0\r\nAUTOSAVE=0\r\nSAVETYPE=2\r\n"
                         "[frmOptions]\r\nLeft=5340\r\nTop=5137.5\r\nWidth=8520\r\nHeight=4125\r\nWindowState=0\r\n");
    EXPECT_EQ(program().Settings.SavedFilePath, logs) << "the settings are read back";
    EXPECT_EQ(program().Settings.Frequency, "3");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OptionsDialogTest, AWriteProtectedIniFileGivesOneMessageAndTheDialogStillCloses)
{
    writeIni("ON=1\r\n");
    twk::testing::writeProtect(iniPath());
    start();
    auto& options = open();
    options.Check1.setValue(0);
    options.Command2_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Error saving settings, make sure ini file is not write protected");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Critical);
    EXPECT_FALSE(program().frmOptions.loaded());
    EXPECT_EQ(program().Settings.CaptureOn, "1") << "the record holds what the file holds";
}

TEST_F(OptionsDialogTest, TheHitAndRunNoticeShowsWhenTickedAlsoWhileLoading)
{
    // Windows users run the program file; elsewhere it is an installed command.
#ifdef _WIN32
    const std::string kCommand = "TWK3.exe";
#else
    const std::string kCommand = "twk3";
#endif
    writeIni("HITNRUN=1\r\n");
    environment.arguments = "99";
    start();
    std::vector<bool> shownWhenNoticed;
    dialogs.onMessage = [&] { shownWhenNoticed.push_back(program().frmOptions->visible()); };
    auto& options = open();
    EXPECT_EQ(shownWhenNoticed, std::vector<bool>{false});
    EXPECT_TRUE(options.Check7.ticked());
    EXPECT_EQ(program().Settings.StoredHitAndRun, "1");
    EXPECT_EQ(dialogs.messages[0].text,
              "NOTICE: Once you check this option and save it, this program will open, do its job, then exit.  The "
              "only way back in is to edit " +
                  folder.file("twk3.ini") +
                  " and set HITNRUN=0 or simply delete twk.ini to reset all settings.  You could also run "
                  "the command: \"" + kCommand + " 99\"");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Critical);
    options.Check7.setValue(0);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    options.Check7.setValue(1);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    options.Command2_Click();
    EXPECT_EQ(program().Settings.HitAndRun, 0) << "the argument 99 still holds after the reload";
    EXPECT_NE(ini().find("HITNRUN=1"), std::string::npos);
}

TEST_F(OptionsDialogTest, ThePickersWriteAtOnceAndACancelledDialogKeepsItsName)
{
    auto& options = openOn("LOGVIEWER=/usr/bin/mousepad\r\n");
    options.cmdPickViewer_Click(); // cancelled
    EXPECT_EQ(dialogs.fileRequests[0].title, "KESTOVAN TWK3 Pick Log Viewing Application");
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Applications (*.EXE)|*.EXE|All Files (*.*)|*.*");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Log viewer is set: /usr/bin/mousepad");

    dialogs.fileAnswer = folder.file("mine.txt");
    options.cmdAMLFPATH_Click();
    EXPECT_EQ(dialogs.fileRequests[1].title, "KESTOVAN TWK3 Append Mode Filename");
    options.Command3_Click(); // Cancel keeps what the pickers wrote
    EXPECT_NE(ini().find("AMLFPATH=" + folder.file("mine.txt")), std::string::npos);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_FALSE(program().frmOptions.loaded());
}

TEST_F(OptionsDialogTest, AViewerPickerThatEndsEmptyWritesNothing)
{
    openOn("").cmdPickViewer_Click();
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "") << "an absent value opens the dialog empty";
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Cancel:No new application selected");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(ini().find("LOGVIEWER"), std::string::npos);
}

TEST_F(OptionsDialogTest, AFolderButtonOnceUsedWritesItsFolderAtEverySave)
{
    auto& options = openOn("SAVEDFILEPATH=" + folder.path() + "\r\n");
    options.Command1_MouseMove();
    EXPECT_EQ(options.Command1.tooltip(), "Current main logs path: " + folder.path());
    options.Command1_Click();
    EXPECT_FALSE(options.enabled());
    browser().Command1_Click(); // cancelled
    EXPECT_TRUE(options.enabled());
    options.Command2_Click();
    EXPECT_NE(ini().find("SAVEDFILEPATH=" + folder.file("\r\n")), std::string::npos);

    program().Settings.SavedFilePath = under(kRootFolder, "tmp"); // as if edited elsewhere and reloaded
    open().Command2_Click();
    EXPECT_NE(ini().find("SAVEDFILEPATH=" + under(kRootFolder, "tmp/\r\n")), std::string::npos);
    EXPECT_EQ(ini().find("linkcatcherSAVEDFILEPATH"), std::string::npos);
}

TEST_F(OptionsDialogTest, ShowingTheOpenDialogAgainKeepsItsUnsavedChanges)
{
    auto& options = openOn("ON=1\r\n");
    options.Check1.setValue(0);
    options.List1.select(2);
    EXPECT_TRUE(options.Frame2.visible());
    EXPECT_FALSE(options.Frame1.visible());
    EXPECT_EQ(&open(), &options);
    EXPECT_EQ(options.Check1.value(), 0);
    options.List1.select(7);
    EXPECT_TRUE(options.Frame2.visible());
}

TEST_F(OptionsDialogTest, TheBrowserShowsTheSavedFolderAndHandsBackWhatWasOpened)
{
    auto& options = openOn("SAVEDFILEPATH=" + folder.file("logs/\r\n"),
                           "[LINKCATCHER]\r\nlinkcatcherSAVEDFILEPATH=" + folder.file("logs/\r\n"));
    options.Command8_Click();
    EXPECT_EQ(browser().Text1.text(), folder.file("logs/"));
    EXPECT_TRUE(browser().Text1.visible());
    EXPECT_FALSE(browser().Text1.enabled());
    browser().openFolder(kRootFolder);
    EXPECT_EQ(browser().Text1.text(), kRootFolder) << "a root has one separator";
    browser().Command2_Click();
    EXPECT_EQ(program().Settings.PendingLinkLogFolder, kRootFolder);
    EXPECT_EQ(program().Settings.PendingLogFolder, folder.file("logs/"));
    options.Command2_Click();
    EXPECT_NE(ini().find("linkcatcherSAVEDFILEPATH=" + kRootFolder + "\r\n"), std::string::npos);
}

TEST_F(OptionsDialogTest, TheSavedFolderAlreadyShownIsListedWithItsPathInView)
{
    auto& options = openOn("SAVEDFILEPATH=" + folder.file("\r\n"));
    int redrawn = 0;
    options.Command1_Click();
    browser().onFoldersShown = [&] { ++redrawn; };
    EXPECT_EQ(browser().Dir1.subfolders, std::vector<std::string>{"logs"});
    EXPECT_EQ(browser().Text1.text(), folder.file(""));
    EXPECT_TRUE(browser().Text1.visible());
    EXPECT_EQ(redrawn, 0);
    browser().Command2_Click();
    EXPECT_EQ(program().Settings.PendingLogFolder, folder.path());
}

TEST_F(OptionsDialogTest, TheBrowserFallsBackFromAFolderItCannotOpenToOneItCan)
{
    // A link folder on a drive without a medium: the main log folder.
    openOn("SAVEDFILEPATH=" + folder.file("logs/\r\n"),
           "[LINKCATCHER]\r\nlinkcatcherSAVEDFILEPATH=" + under(kOtherDrive, "links/\r\n"))
        .Command8_Click();
    EXPECT_EQ(browser().Dir1.path, folder.file("logs"));
    EXPECT_EQ(browser().drive(), kRootFolder);
    browser().chooseDrive(kOtherDrive);
    EXPECT_EQ(browser().Dir1.path, folder.file("logs"));
    browser().Command2_Click();
    EXPECT_EQ(program().Settings.PendingLinkLogFolder, folder.file("logs"));

    // A main folder that is gone: the root of its drive.
    writeIni("SAVEDFILEPATH=" + under(kRootFolder, "gone/\r\n"));
    restart();
    open().Command1_Click();
    EXPECT_EQ(browser().drive(), kRootFolder);
    EXPECT_EQ(browser().Dir1.path, kRootFolder) << "the drive list's own name of the root";
    EXPECT_EQ(browser().Text1.text(), kRootFolder);
    browser().Command2_Click();
    EXPECT_EQ(program().Settings.PendingLogFolder, kRootFolder);

    // A main folder on a drive without a medium: the root of the program's drive.
    writeIni("SAVEDFILEPATH=" + under(kOtherDrive, "logs/\r\n"));
    restart();
    open().Command1_Click();
    EXPECT_EQ(browser().drive(), folders.driveOf(folder.path()));
    EXPECT_EQ(browser().Dir1.path, kRootFolder);
    browser().chooseDrive(kOtherDrive);
    EXPECT_EQ(browser().Dir1.path, kRootFolder) << "still usable";
    EXPECT_TRUE(program().frmFileBrowser.loaded());
}

TEST_F(OptionsDialogTest, ClosingTheDialogClosesTheBrowser)
{
    auto& options = openOn("");
    options.Command1_Click();
    options.Command3_Click();
    EXPECT_FALSE(program().frmFileBrowser.loaded());
    EXPECT_FALSE(program().frmOptions.loaded());
    EXPECT_NE(ini().find("[frmOptions]"), std::string::npos);
}

TEST_F(OptionsDialogTest, ShutdownClosesEveryWindowInItsOrder)
{
    openOn("").Command1_Click();
    form1().mnuAbout_Click();
    host.events.clear();
    form1().mnuExit_Click();
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"unload About Tarnwick 3.0", "unload TWK Browse for File or Directory",
                                        "unload Link Catcher", "unload TWK Options", "unload Recent Clipboard Text",
                                        "unload TWK"}));
}

TEST_F(OptionsDialogTest, ASettingsFileSavedWithAMarkOrAsUtf16SurvivesSaveChanges)
{
    using ini::Encoding;
    // Every key the save writes stands as the save writes it, so that only
    // the one the user changes may differ afterwards.
    const std::string before = "; Notizen f\xC3\xBCr TWK\r\n"
                               "[TWK]\r\nFIRSTRUN=9\r\nON=1\r\nBEEPON=0\r\nAUTOOOPENVIEWERS=0\r\nFREQUENCY=4\r\n"
                               "AUTOSAVE=1\r\nJS=1\r\nAUTOCLEAR=0\r\nAM=0\r\nASAF=1\r\nPAC=0\r\nSAVETYPE=1\r\n"
                               "HITNRUN=0\r\nXYPOS=0\r\n   LOGVIEWER =   /usr/bin/mousepad\r\n\r\n"
                               "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=0\r\nAUTOSAVE=1\r\nSAVETYPE=2\r\n"
                               "[frmtotext]\r\nLeft=120\r\n";
    std::string after = before;
    after.replace(after.find("AUTOCLEAR=0"), 11, "AUTOCLEAR=1");
    for (const auto encoding : {Encoding::Utf8, Encoding::Utf16LittleEndian, Encoding::Utf16BigEndian}) {
        ini::FileForm form;
        form.encoding = encoding;
        writeFile(iniPath(), ini::encoded(before, form));
        dialogs.messages.clear();
        restart();
        EXPECT_TRUE(dialogs.messages.empty()) << "no first run";
        auto& options = open();
        EXPECT_TRUE(options.Option4.selected()) << "the user's settings are shown";
        EXPECT_FALSE(options.Check2.ticked());
        options.Check9.setValue(1);
        options.Command2_Click();

        const auto saved = ini::decoded(readFile(iniPath()));
        EXPECT_EQ(saved.form.encoding, encoding);
        // The options window's own placement is added when it closes.
        EXPECT_EQ(saved.text.substr(0, after.size()), after);
        EXPECT_TRUE(saved.text.substr(after.size()).starts_with("[frmOptions]\r\nLeft="));
        EXPECT_EQ(program().Settings.AutoClear, 1);
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(OptionsDialogTest, AMissingLogFolderNeverPutsANulByteInTheIniFileOrAMessage)
{
    auto& options = openOn("");
    options.Check1.setValue(1);
    options.Check5.setValue(1);
    options.Option6.select();
    options.Command1_Click();
    browser().Command1_Click(); // cancelled: the pending folder is the absent one
    options.Command2_Click();
    EXPECT_EQ(ini().find('\0'), std::string::npos);
    EXPECT_NE(ini().find("SAVEDFILEPATH=\r\n"), std::string::npos);

    copy("some text", 1); // the log cannot be written where no folder is named
    ASSERT_FALSE(dialogs.messages.empty());
    for (const auto& message : dialogs.messages)
        EXPECT_EQ(message.text.find('\0'), std::string::npos) << message.text.size();
}
