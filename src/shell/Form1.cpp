#include "shell/Form1.h"

#include "about/FrmAbout.h"
#include "capture/FrmToText.h"
#include "configuration/FrmFileBrowser.h"
#include "configuration/FrmOptions.h"
#include "configuration/IniKeys.h"
#include "configuration/LoadSettings.h"
#include "logging/FrmLinkCatcher.h"
#include "platform/PathRules.h"
#include "shell/Program.h"
#include "shell/SingleInstance.h"

namespace twk::shell {

void Form1::Form_Load()
{
    auto& s = program_.Settings;
    if (program_.platform.instances.anotherInstanceRunning() && CheckSingleInstance(program_))
        return;

    s.IniPath = platform::withTrailingSeparator(program_.settingsFolder()) +
                configuration::keys::kIniFileName;
    // A settings file saved by an older program, or as "ANSI", is in the system's code page.
    program_.ini.readInCodePage(s.IniPath, program_.platform.files.legacyCodePage());
    program_.platform.tray.addIcon(kTrayTip);
    s.ShuttingDown = 0;
    configuration::LoadSettings(program_);
    showViewers();
}

void Form1::showViewers()
{
    auto& s = program_.Settings;
    auto& viewer = program_.frmToText.load(program_);
    viewer.show();
    auto& catcher = program_.frmLinkCatcher.load(program_);
    catcher.show();
    if (s.RememberPositions == 0 && s.AutoOpenViewers == 1)
        catcher.setTop(viewer.bounds().top + viewer.bounds().height);
    if (s.AutoOpenViewers == 0) {
        viewer.hide();
        catcher.hide();
    }
}

void Form1::Form_QueryUnload()
{
    program_.platform.tray.removeIcon();
}

void Form1::Form_Unload(bool& cancel)
{
    cancel = false;
    Form_QueryUnload();
    program_.Settings.ShuttingDown = 1;
    // Each window saves its placement as it closes; the viewers, seeing the
    // shutdown, close for real instead of hiding.
    program_.frmAbout.close();
    program_.frmFileBrowser.close();
    program_.frmLinkCatcher.close();
    program_.frmOptions.close();
    program_.frmToText.close();
    program_.endNow();
}

} // namespace twk::shell
