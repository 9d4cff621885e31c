#pragma once

#include "configuration/Settings.h"
#include "ini/IniFiles.h"
#include "logging/AppendFile.h"
#include "platform/Platform.h"
#include "ui/WindowSlot.h"

#include <optional>
#include <string>

namespace twk::about {
class FrmAbout;
}
namespace twk::capture {
class FrmToText;
}
namespace twk::configuration {
class FrmFileBrowser;
class FrmOptions;
} // namespace twk::configuration
namespace twk::logging {
class FrmLinkCatcher;
}

namespace twk::shell {

class Form1;

inline constexpr const char* kApplicationTitle = "Tarnwick 3.0";
inline constexpr const char* kApplicationWindowClass = "ThunderRT6Main";

// The program-wide state: the settings record, the application title, the
// one reference to each window, and the platform they all work through.
class Program {
public:
    Program(platform::Platform& platform, ui::WindowHost& host);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Loads the hidden main window, whose load handler starts everything.
    void start();
    // True once the program has ended (normally, or as an unwanted instance).
    bool ended() const { return ended_; }
    void endNow() { ended_ = true; }

    // Closes the main window, which shuts the program down. Asked for from
    // inside a handler that a front end is still running (a polling tick, a
    // tray notification), the close waits until that handler has returned.
    void closeMainWindow();

    // Handlers that may show modal boxes or menus run inside a scope, so that
    // nothing they use is torn down under them.
    class HandlerScope {
    public:
        explicit HandlerScope(Program& program);
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        Program& program_;
    };
    bool insideHandler() const { return handlerDepth_ > 0; }
    // The polling timer may sleep while nothing it reads changes; settings it reads
    // (capture on or off, hit-and-run, the frequency) wake it for its next tick.
    void pollingSettingsChanged();

    // ReadIni and the INI write on the program's own INI file; the write's
    // result goes to LastIniResult.
    std::string ReadIni(const std::string& section, const std::string& key);
    void WriteIni(const std::string& section, const std::string& key, const std::string& value);
    // The folder the program treats as its own for twk3.ini and the default
    // logs (SettingsFolder), decided at its first use for the whole run. The
    // program file's folder, for what ships beside it, is the environment's.
    const std::string& settingsFolder();
    // A message box with an OK button and the application title.
    void message(const std::string& text, platform::MessageIcon icon);

    platform::Platform& platform;
    ini::IniFiles ini;
    configuration::Settings Settings;
    std::string ApplicationTitle = kApplicationTitle;
    logging::AppendFileWritten appendFileWritten;

    ui::WindowSlot<Form1> form1;
    ui::WindowSlot<capture::FrmToText> frmToText;
    ui::WindowSlot<logging::FrmLinkCatcher> frmLinkCatcher;
    ui::WindowSlot<configuration::FrmOptions> frmOptions;
    ui::WindowSlot<configuration::FrmFileBrowser> frmFileBrowser;
    ui::WindowSlot<about::FrmAbout> frmAbout;

private:
    std::optional<std::string> settingsFolder_;
    int handlerDepth_ = 0;
    bool closePending_ = false;
    bool ended_ = false;
};

} // namespace twk::shell
