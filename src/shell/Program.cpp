#include "shell/Program.h"

#include "about/FrmAbout.h"
#include "capture/FrmToText.h"
#include "configuration/FrmFileBrowser.h"
#include "configuration/FrmOptions.h"
#include "configuration/IniModule.h"
#include "logging/FrmLinkCatcher.h"
#include "platform/Trace.h"
#include "shell/Form1.h"
#include "shell/SettingsFolder.h"
#include "text/Characters.h"

namespace twk::shell {

Program::Program(platform::Platform& p, ui::WindowHost& host)
    : platform(p), ini(p.files), form1(host), frmToText(host), frmLinkCatcher(host), frmOptions(host),
      frmFileBrowser(host), frmAbout(host)
{
}

Program::~Program() = default;

void Program::start()
{
    form1.load(*this);
}

void Program::closeMainWindow()
{
    if (handlerDepth_ > 0) {
        closePending_ = true;
        return;
    }
    form1.close();
}

Program::HandlerScope::HandlerScope(Program& program) : program_(program)
{
    ++program_.handlerDepth_;
}

Program::HandlerScope::~HandlerScope()
{
    if (--program_.handlerDepth_ == 0 && program_.closePending_) {
        program_.closePending_ = false;
        program_.form1.close();
    }
}

void Program::pollingSettingsChanged()
{
    if (!frmToText.loaded())
        return;
    frmToText->followCaptureSwitch(); // turned off, the clipboard stops reading at once
    frmToText->Timer1.wake();
}

std::string Program::ReadIni(const std::string& section, const std::string& key)
{
    return configuration::ReadIni(ini, section, key, Settings.IniPath);
}

void Program::WriteIni(const std::string& section, const std::string& key, const std::string& value)
{
    const bool written = ini.write(Settings.IniPath, section, key, value, platform::NewFile::Usual);
    Settings.LastIniResult = written ? 1 : 0;
    if (!written)
        platform::trace("INI write failed: [" + section + "] " + key + " in " + Settings.IniPath + ": " +
                        platform::lastSystemError());
}

const std::string& Program::settingsFolder()
{
    if (!settingsFolder_)
        settingsFolder_ = SettingsFolder(platform.environment);
    return *settingsFolder_;
}

void Program::message(const std::string& text, platform::MessageIcon icon)
{
    // A value read as absent is 128 NULs; a box shows the rest of the text.
    platform.dialogs.message(text::withoutNuls(text), icon, text::withoutNuls(ApplicationTitle));
}

} // namespace twk::shell
