#include "configuration/LoadSettings.h"
#include "fakes/ProgramFixture.h"
#include "ini/IniEncoding.h"

using namespace twk;
using twk::testing::readFile;
using twk::testing::writeFile;

namespace {

class LoadSettingsTest : public twk::testing::ProgramFixture {
protected:
    std::string defaults(const std::string& logViewer)
    {
        const std::string f = folder.file("");
        return "[TWK]\r\nXYPOS=0\r\nPAC=0\r\nAM=0\r\nASAF=1\r\nAMLFPATH=" + f +
               "appendfile.txt\r\nON=1\r\nBEEPON=1\r\nAUTOOOPENVIEWERS=0\r\nFREQUENCY=1\r\nAUTOSAVE=1\r\nJS=1\r\n"
               "AUTOCLEAR=0\r\nSAVETYPE=3\r\nLOGVIEWER=" +
               logViewer + "\r\nSAVEDFILEPATH=" + f + "\r\nHITNRUN=0\r\nFIRSTRUN=9\r\n" +
               "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=1\r\nAUTOSAVE=1\r\nSAVETYPE=2\r\nlinkcatcherSAVEDFILEPATH=" + f +
               "\r\n";
    }
    // A program of its own loads the settings, as the next start would.
    std::unique_ptr<shell::Program> loadedAnew()
    {
        auto fresh = std::make_unique<shell::Program>(platform, host);
        fresh->Settings.IniPath = iniPath();
        configuration::LoadSettings(*fresh);
        return fresh;
    }
};

} // namespace

TEST_F(LoadSettingsTest, FirstRunWritesEveryDefaultInOrderAndWelcomesBeforeAnyViewer)
{
    std::vector<std::string> loadedWhenWelcomed;
    dialogs.onMessage = [&] { loadedWhenWelcomed = host.events; };
    start();

    EXPECT_EQ(ini(), defaults("/usr/bin/xdg-open"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Welcome to TWK!  You can access TWK's menu from your System Tray \n\rusually located next to your "
              "clock in the taskbar.\n\r\n\rYour logs will be saved to: " +
                  folder.path() + "\n\r\n\rPlease take a moment to review your TWK Option Settings.");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(dialogs.messages[0].title, "Tarnwick 3.0");
    EXPECT_EQ(loadedWhenWelcomed, std::vector<std::string>{"load TWK"});

    const auto& s = program().Settings;
    EXPECT_EQ(s.SavedFilePath, folder.file(""));
    EXPECT_EQ(s.ClipLogPath, folder.file("20261205.txt"));
    EXPECT_EQ(s.LinkLogPath, folder.file("u20261205.txt"));
    EXPECT_EQ(s.CaptureOn, "1");
    EXPECT_EQ(s.AutosaveAppendedFile, 1);
}

TEST_F(LoadSettingsTest, TheLogBrowserBesideTheProgramIsTheViewerWithoutNotepad)
{
    environment.browser = "/opt/twk/twk3-logs";
    start();
    EXPECT_EQ(ini(), defaults("/opt/twk/twk3-logs"));
    // Where the system's Notepad is known, it stays the viewer.
    writeFile(iniPath(), "");
    environment.variables["SystemRoot"] = "C:\\WINDOWS";
    loadedAnew();
    EXPECT_EQ(ini(), defaults("C:\\WINDOWS\\Notepad.exe"));
}

TEST_F(LoadSettingsTest, AProgramFolderAtTheRootGetsNoDoubledSeparator)
{
    environment.folder = twk::testing::kRootFolder;
    files.failAll = true; // nothing may be written to the real root
    start();
    EXPECT_EQ(program().Settings.IniPath, twk::testing::kRootFolder + "twk3.ini");
    EXPECT_NE(dialogs.messages[0].text.find("saved to: " + twk::testing::kRootFolder + "\n\r"), std::string::npos);
}

TEST_F(LoadSettingsTest, AnyFirstRunMarkOtherThanNineRewritesEveryKey)
{
    writeFile(iniPath(), "[TWK]\r\nFIRSTRUN=8\r\nON=0\r\nXYPOS=1\r\n[frmtotext]\r\nLeft=5\r\n");
    start();
    const auto file = ini();
    EXPECT_NE(file.find("[TWK]\r\nFIRSTRUN=9\r\nON=1\r\nXYPOS=0\r\nPAC=0\r\n"), std::string::npos);
    EXPECT_NE(file.find("[frmtotext]\r\nLeft=5\r\n"), std::string::npos);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(LoadSettingsTest, ABadByteKeyIsSkippedAndTheRestLoads)
{
    start("XYPOS=abc\r\nAM=1\r\nON= 1 \r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + folder.file("\r\n"));
    const auto& s = program().Settings;
    EXPECT_EQ(s.RememberPositions, 0);
    EXPECT_EQ(s.AppendMode, 1);
    EXPECT_EQ(s.CaptureOn, "1");
    EXPECT_EQ(s.BeepOn, std::string(128, '\0'));
    EXPECT_EQ(s.ClipLogPath, folder.file("twk.txt"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LoadSettingsTest, ExactlyTheArgument99SwitchesHitAndRunOffForThisRunOnly)
{
    for (const auto& [arguments, hitAndRun] :
         std::vector<std::pair<std::string, int>>{{"99", 0}, {" 99", 1}, {"99 ", 1}, {"99 x", 1}, {"099", 1}}) {
        writeIni("HITNRUN=1\r\nON=0\r\n");
        environment.arguments = arguments;
        const auto fresh = loadedAnew();
        EXPECT_EQ(fresh->Settings.HitAndRun, hitAndRun) << "'" << arguments << "'";
        EXPECT_NE(ini().find("HITNRUN=1"), std::string::npos);
    }
}

TEST_F(LoadSettingsTest, AFirstRunThatCannotWriteSaysSoAfterTheWelcomeAndStops)
{
    files.failAll = true;
    start();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "Error Writing to " + iniPath() + ", make sure it is not write protected.");
    EXPECT_EQ(dialogs.messages[1].icon, platform::MessageIcon::None);
    EXPECT_TRUE(program().Settings.ClipLogPath.empty()) << "log names are not made after the error";
    EXPECT_FALSE(twk::testing::fileExists(iniPath()));
}

TEST_F(LoadSettingsTest, AReadOnlyIniFileIsNeverChangedAndItsValuesStillLoad)
{
    const std::string content = "[TWK]\r\nXYPOS=1\r\nAM=1\r\nASAF=1\r\nAUTOOOPENVIEWERS=0\r\nJS=0\r\nAUTOCLEAR=1\r\n"
                                "PAC=0\r\nHITNRUN=0\r\n";
    writeFile(iniPath(), content);
    twk::testing::writeProtect(iniPath());
    start();
    EXPECT_EQ(ini(), content);
    ASSERT_EQ(dialogs.messages.size(), 1u) << "the welcome only: every byte key could be read back";
    EXPECT_EQ(program().Settings.RememberPositions, 1);
    EXPECT_EQ(program().Settings.AutoClear, 1);

    form1().mnuExit_Click(); // the placement saves fail silently too
    EXPECT_EQ(ini(), content);
}

namespace {

std::string inForm(const std::string& text, ini::Encoding encoding)
{
    ini::FileForm form;
    form.encoding = encoding;
    return ini::encoded(text, form);
}

} // namespace

TEST_F(LoadSettingsTest, ASettingsFileSavedWithAMarkInUtf16OrWithCrLineEndsLoadsAsItIs)
{
    using ini::Encoding;
    const std::string lines =
        "[TWK]\r\nFIRSTRUN=9\r\nXYPOS=1\r\nON=0\r\nSAVETYPE=3\r\nSAVEDFILEPATH=" + folder.file("logs/") +
        "\r\n[LINKCATCHER]\r\nSTRICTURLS=0\r\n";
    std::string crOnly = lines;
    std::erase(crOnly, '\n');
    for (const auto& file :
         {inForm(lines, Encoding::Utf8), inForm(lines, Encoding::Utf16LittleEndian),
          inForm(lines, Encoding::Utf16BigEndian), crOnly, inForm(crOnly, Encoding::Utf16LittleEndian)}) {
        writeFile(iniPath(), file);
        dialogs.messages.clear();
        const auto fresh = loadedAnew();
        EXPECT_TRUE(dialogs.messages.empty()) << "no first run";
        EXPECT_EQ(ini(), file);
        EXPECT_EQ(fresh->Settings.RememberPositions, 1);
        EXPECT_EQ(fresh->Settings.CaptureOn, "0");
        EXPECT_EQ(fresh->Settings.StrictUrls, "0");
        EXPECT_EQ(fresh->Settings.ClipLogPath, folder.file("logs/20261205.txt"));
    }
}

TEST_F(LoadSettingsTest, AFileWithoutAReadableMainSectionIsAddedToNeverWrittenOver)
{
    // UTF-16 without its mark reads as no settings at all.
    std::string unmarked;
    for (const char c : std::string("[TWK]\r\nON=0\r\n"))
        unmarked += std::string{c, '\0'};
    const std::string foreign = "[LINKCATCHER]\r\nSTRICTURLS=0\r\n[frmtotext]\r\nLeft=5\r\n";
    for (const auto& file : {unmarked, foreign}) {
        writeFile(iniPath(), file);
        dialogs.messages.clear();
        const auto fresh = loadedAnew();

        const auto after = ini();
        if (file == unmarked) {
            EXPECT_EQ(after.substr(0, file.size()), file);
        } else {
            EXPECT_NE(after.find("[LINKCATCHER]\r\nSTRICTURLS=0\r\nON=1\r\n"), std::string::npos);
            EXPECT_NE(after.find("[frmtotext]\r\nLeft=5\r\n"), std::string::npos);
        }
        EXPECT_NE(after.find("[TWK]\r\nXYPOS=0\r\n"), std::string::npos);
        EXPECT_NE(after.find("FIRSTRUN=9\r\n"), std::string::npos);
        ASSERT_EQ(dialogs.messages.size(), 1u) << "a notice instead of the welcome";
        EXPECT_EQ(dialogs.messages[0].text,
                  "TWK could not read its settings in " + iniPath() +
                      ". It added its default settings to the file and left everything that was in it as it was. "
                      "Please take a moment to review your TWK Option Settings.");
        EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Exclamation);
        EXPECT_EQ(fresh->Settings.CaptureOn, "1");
        EXPECT_EQ(fresh->Settings.StrictUrls, file == foreign ? "0" : "1");
    }
    EXPECT_EQ(ini().find("STRICTURLS=1"), std::string::npos) << "the user's link catcher setting stays";

    // Blanks alone are no settings of the user's: an ordinary first run.
    writeFile(iniPath(), "\r\n  \r\n");
    dialogs.messages.clear();
    start();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
}
