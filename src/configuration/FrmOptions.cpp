#include "configuration/FrmOptions.h"

#include "about/FrmAbout.h"
#include "about/Help.h"
#include "configuration/FrmFileBrowser.h"
#include "configuration/IniKeys.h"
#include "configuration/Placement.h"
#include "platform/PathRules.h"
#include "platform/ProgramName.h"
#include "shell/Program.h"
#include "text/Numbers.h"

namespace twk::configuration {
namespace {

void tickWhenOne(ui::CheckBox& box, double value)
{
    if (value == 1)
        box.setValue(1);
    else if (value == 0)
        box.setValue(0);
}

void tickWhenOne(ui::CheckBox& box, const std::string& text)
{
    if (const auto value = text::toNumber(text))
        tickWhenOne(box, *value);
}

// A value read from the INI file as the file dialog takes it: up to the first NUL.
std::string asFileName(const std::string& value)
{
    return value.substr(0, value.find('\0'));
}

} // namespace

FrmOptions::FrmOptions(shell::Program& program) : ui::Window("TWK Options", {0, 0, 8520, 4125}), program_(program)
{
    List1.onClick = [this] { List1_Click(); };
    Check7.onClick = [this] { Check7_Click(); };
    cmdPickViewer.onClick = [this] { cmdPickViewer_Click(); };
    cmdAMLFPATH.onClick = [this] { cmdAMLFPATH_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command8.onClick = [this] { Command8_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
}

void FrmOptions::Form_Load()
{
    List1.select(0);
    auto& environment = program_.platform.environment;
    centre(static_cast<float>(environment.screenWidthTwips()), static_cast<float>(environment.screenHeightTwips()));
    auto& s = program_.Settings;
    if (s.RememberPositions == 1)
        PlacementRestore(program_, *this, kOptionsPlacementSection);
    s.BrowseMode = 0;
    s.PendingLogFolder = s.SavedFilePath;
    s.PendingLinkLogFolder = s.LinkSavedFilePath;
    fillControls();
}

void FrmOptions::fillControls()
{
    auto& s = program_.Settings;
    tickWhenOne(Check1, s.CaptureOn);
    tickWhenOne(Check2, s.BeepOn);
    tickWhenOne(Check3, s.AutoOpenViewers);
    if (s.RememberPositions == 1)
        chkXYPOS.setValue(1);
    if (s.JavaScriptStripper == 1)
        Check13.setValue(1);
    if (const auto frequency = text::toNumber(s.Frequency)) {
        ui::OptionButton* choices[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
        const bool listed = *frequency >= 1 && *frequency <= 5 && *frequency == static_cast<int>(*frequency);
        (listed ? choices[static_cast<int>(*frequency) - 1] : &Option1)->select();
    }
    tickWhenOne(Check5, s.AutoSave);
    tickWhenOne(Check10, s.AppendMode);
    tickWhenOne(Check11, s.AutosaveAppendedFile);
    tickWhenOne(Check12, s.PopupAfterCopy);
    tickWhenOne(Check9, s.AutoClear);
    s.StoredHitAndRun = program_.ReadIni(keys::kMain, "HITNRUN");
    tickWhenOne(Check7, s.StoredHitAndRun); // ticking it shows the notice
    if (const auto saveType = text::toNumber(s.SaveType))
        (*saveType == 1 ? Option6 : *saveType == 2 ? Option7 : Option8).select();
    tickWhenOne(Check4, s.LinkCatcherOn);
    tickWhenOne(Check8, s.StrictUrls);
    tickWhenOne(Check6, s.LinkAutoSave);
    if (const auto linkSaveType = text::toNumber(s.LinkSaveType))
        (*linkSaveType == 1 ? Option9 : Option10).select();
    Check14.setValue(program_.platform.autostart.enabled() ? 1 : 0);
}

void FrmOptions::Form_Unload(bool& cancel)
{
    cancel = false;
    PlacementSave(program_, *this, kOptionsPlacementSection);
    program_.frmFileBrowser.close();
}

void FrmOptions::List1_Click()
{
    const int page = List1.selectedIndex();
    if (page < 0 || page > 2)
        return;
    Frame1.setVisible(page == 0);
    Frame3.setVisible(page == 1);
    Frame2.setVisible(page == 2);
}

std::string FrmOptions::HitAndRunNotice() const
{
    const auto folder = platform::folderForDisplay(program_.settingsFolder());
    return "NOTICE: Once you check this option and save it, this program will open, do its job, then exit.  The "
           "only way back in is to edit " +
           folder + platform::kFolderSeparator +
           "twk3.ini and set HITNRUN=0 or simply delete twk.ini to reset all settings.  You could also run the "
           "command: \"" +
           platform::kProgramCommand + " 99\"";
}

void FrmOptions::Check7_Click()
{
    if (Check7.ticked())
        program_.message(HitAndRunNotice(), platform::MessageIcon::Critical);
}

std::string FrmOptions::pickFile(const char* title, const char* key, const char* filter, bool viewer)
{
    platform::OpenFileRequest request;
    request.title = title;
    request.fileName = asFileName(program_.ReadIni(keys::kMain, key));
    request.filter = filter;
    request.filterIndex = 1;
    request.fileMustExist = viewer;
    request.pathMustExist = !viewer;
    request.promptToCreate = !viewer;
    return program_.platform.dialogs.openFile(request);
}

void FrmOptions::cmdPickViewer_Click()
{
    const auto file = pickFile("KESTOVAN TWK3 Pick Log Viewing Application", "LOGVIEWER",
                               "Applications (*.EXE)|*.EXE|All Files (*.*)|*.*", true);
    if (file.empty()) {
        program_.message("Cancel:No new application selected", platform::MessageIcon::Information);
        return;
    }
    program_.WriteIni(keys::kMain, "LOGVIEWER", file);
    program_.message("Log viewer is set: " + file, platform::MessageIcon::None);
}

void FrmOptions::cmdAMLFPATH_Click()
{
    const auto file = pickFile("KESTOVAN TWK3 Append Mode Filename", "AMLFPATH",
                               "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*", false);
    if (!file.empty())
        program_.WriteIni(keys::kMain, "AMLFPATH", file);
}

void FrmOptions::openBrowser(int mode, const std::string& savedFolder)
{
    program_.Settings.BrowseMode = static_cast<std::uint8_t>(mode);
    setEnabled(false);
    auto& browser = program_.frmFileBrowser.load(program_);
    browser.Text1.setText("");
    browser.Text1.setEnabled(false);
    browser.show();
    // On the folder that is saved, not one picked earlier in this dialog.
    browser.openOn(savedFolder);
}

void FrmOptions::Command1_Click()
{
    program_.Settings.LogFolderTouched = 1;
    openBrowser(1, program_.Settings.SavedFilePath);
}

void FrmOptions::Command8_Click()
{
    program_.Settings.LinkLogFolderTouched = 1;
    openBrowser(2, program_.Settings.LinkSavedFilePath);
}

void FrmOptions::Command1_MouseMove()
{
    Command1.setTooltip("Current main logs path: " + program_.Settings.SavedFilePath);
}

void FrmOptions::Command8_MouseMove()
{
    Command8.setTooltip("Current Link Catcher log path: " + program_.Settings.LinkSavedFilePath);
}

void FrmOptions::Command3_Click()
{
    requestClose();
}

void FrmOptions::Command4_Click()
{
    program_.frmAbout.load(program_).show();
}

void FrmOptions::Command5_Click()
{
    about::ShowHelp(program_);
}

} // namespace twk::configuration
