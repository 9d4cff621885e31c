#include "about/FrmAbout.h"
#include "capture/FrmToText.h"
#include "configuration/FrmOptions.h"
#include "configuration/IniKeys.h"
#include "logging/FrmLinkCatcher.h"
#include "shell/Form1.h"
#include "shell/Program.h"
#include "text/CommandLine.h"
#include "text/Numbers.h"

#include <cmath>

namespace twk::shell {
namespace {

ui::MenuEntry entry(const char* name, const char* caption, std::function<void()> onClick)
{
    return ui::MenuEntry{name, caption, std::move(onClick), {}};
}

} // namespace

Form1::Form1(Program& program) : ui::Window("TWK", {}), program_(program)
{
    mnuBar.caption = "PopupMenu";
    mnuBar.entries = {
        {"mnuViewLogs",
         "View &Logs",
         {},
         {entry("mnuClipLog", "Current &Clipboard Log", [this] { mnuClipLog_Click(); }),
          entry("mnuLinksLog", "Current &Links Log", [this] { mnuLinksLog_Click(); }),
          entry("mnuOtherLog", "&Other", [this] { mnuOtherLog_Click(); })}},
        entry("menu2", "View &Text", [this] { menu2_Click(); }),
        entry("mnuCatcher", "View Link/URL &Catcher", [this] { mnuCatcher_Click(); }),
        {"mnuClear",
         "&Clear",
         {},
         {entry("mnuClearText", "Clear &Text Window", [this] { mnuClearText_Click(); }),
          entry("mnuClearURL", "Clear &URL Catcher", [this] { mnuClearURL_Click(); }),
          entry("mnuClearClip", "Clear Clip&board", [this] { mnuClearClip_Click(); }),
          entry("mnuClearAll", "Clear &All", [this] { mnuClearAll_Click(); })}},
        // Captioned by the polling cycle from its first tick on.
        entry("mnuOnOff", "", [this] { mnuOnOff_Click(); }),
        entry("mnuOptions", "&Options", [this] { mnuOptions_Click(); }),
        entry("mnuAbout", "&About/Help", [this] { mnuAbout_Click(); }),
        entry("mnuCancel", "Ca&ncel", [this] { mnuCancel_Click(); }),
        entry("mnuExit", "E&xit", [this] { mnuExit_Click(); }),
    };
}

void Form1::pichook_MouseMove(float x)
{
    TrayEventCode = static_cast<std::int32_t>(std::lround(x / program_.platform.environment.twipsPerPixelX()));
    // A click while the menu is open (or an entry runs) opens no second menu.
    if (TrayBusy)
        return;
    Program::HandlerScope scope(program_);
    TrayBusy = true;
    if (TrayEventCode == kTrayDoubleClick) {
        mnuOptions_Click();
        program_.platform.tray.popup(mnuBar);
    } else if (TrayEventCode == kTrayRightButtonUp) {
        program_.platform.tray.popup(mnuBar);
    }
    TrayBusy = false;
}

void Form1::OpenLogInViewer(const std::string& file)
{
    const auto viewer = program_.ReadIni(configuration::keys::kMain, "LOGVIEWER");
    platform::ProgramStart start;
    // A command line, split as one is (quotes kept together), the log its last
    // word; unless it names a program whose path holds blanks, unquoted.
    if (program_.platform.files.stamp(viewer)) {
        start.program = viewer;
    } else if (auto words = text::SplitCommandLine(viewer); !words.empty()) {
        start.program = words.front();
        start.arguments.assign(words.begin() + 1, words.end());
    }
    start.arguments.push_back(file);
    program_.Settings.LastIniResult = program_.platform.shell.start(start) ? 1 : 0;
    if (program_.Settings.LastIniResult == 0)
        program_.message("Load Failed", platform::MessageIcon::None);
}

void Form1::mnuClipLog_Click()
{
    OpenLogInViewer(program_.Settings.ClipLogPath);
}

void Form1::mnuLinksLog_Click()
{
    OpenLogInViewer(program_.Settings.LinkLogPath);
}

void Form1::mnuOtherLog_Click()
{
    platform::OpenFileRequest request;
    request.title = "KESTOVAN TWK3 Open Log File";
    request.filter = "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*";
    request.filterIndex = 1;
    request.fileMustExist = true;
    const auto file = program_.platform.dialogs.openFile(request);
    if (!file.empty())
        OpenLogInViewer(file);
}

void Form1::menu2_Click()
{
    program_.frmToText.load(program_).show();
}

void Form1::mnuCatcher_Click()
{
    program_.frmLinkCatcher.load(program_).show();
}

void Form1::mnuClearText_Click()
{
    auto& viewer = program_.frmToText.load(program_);
    viewer.Text1.setText("");
    viewer.txtTMP.setText("");
}

void Form1::mnuClearURL_Click()
{
    program_.frmLinkCatcher.load(program_).Text1.setText("");
}

void Form1::mnuClearClip_Click()
{
    program_.platform.clipboard.clear();
}

void Form1::mnuClearAll_Click()
{
    program_.platform.clipboard.clear();
    auto& viewer = program_.frmToText.load(program_);
    viewer.txtTMP.setText("");
    viewer.Text1.setText("");
    program_.frmLinkCatcher.load(program_).Text1.setText("");
}

void Form1::mnuOnOff_Click()
{
    auto& capture = program_.Settings.CaptureOn;
    if (text::numberEquals(capture, 0))
        capture = "1";
    else if (text::numberEquals(capture, 1))
        capture = "0";
    program_.pollingSettingsChanged();
}

void Form1::mnuOptions_Click()
{
    program_.frmOptions.load(program_).show();
}

void Form1::mnuAbout_Click()
{
    program_.frmAbout.load(program_).show();
}

void Form1::mnuCancel_Click()
{
}

void Form1::mnuExit_Click()
{
    program_.closeMainWindow();
}

} // namespace twk::shell
