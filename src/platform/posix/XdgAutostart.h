#pragma once

#include "platform/Autostart.h"
#include "platform/FileSystem.h"

#include <string>

namespace twk::platform {

// Start at login on a free desktop: the file "twk3.desktop" in the user's
// autostart folder ($XDG_CONFIG_HOME/autostart). A file there that says
// Hidden=true (or X-GNOME-Autostart-enabled=false) is an entry switched off.
class XdgAutostart final : public Autostart {
public:
    // configHome: the user's configuration folder (XdgConfigHome), empty
    // when there is none; programPath: the program file that is running.
    XdgAutostart(FileSystem& files, std::string configHome, std::string programPath);

    bool enabled() override;
    bool setEnabled(bool on) override;

    std::string entryPath() const;

private:
    FileSystem& files_;
    std::string configHome_;
    std::string programPath_;
};

// The desktop entry that starts the program file at login.
std::string AutostartEntry(const std::string& programPath);

// Whether a desktop entry's text leaves it switched on.
bool EntrySwitchedOn(const std::string& entry);

} // namespace twk::platform
