#include "platform/posix/XdgAutostart.h"

#include "platform/Trace.h"
#include "platform/posix/XdgFolders.h"

#include <sstream>

namespace twk::platform {
namespace {

// A program path as one quoted word of an Exec line, then escaped once more
// as a desktop entry's string value.
std::string execWord(const std::string& path)
{
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        if (c == '\\')
            value += '\\';
        value += c;
    }
    return value;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

XdgAutostart::XdgAutostart(FileSystem& files, std::string configHome, std::string programPath)
    : files_(files), configHome_(std::move(configHome)), programPath_(std::move(programPath))
{
}

std::string XdgAutostart::entryPath() const
{
    return configHome_ + "/autostart/twk3.desktop";
}

std::string AutostartEntry(const std::string& programPath)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=TWK\n"
           "Comment=Clipboard logger and link catcher\n"
           "Exec=" +
           execWord(programPath) +
           "\n"
           "Icon=twk3\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool EntrySwitchedOn(const std::string& entry)
{
    std::istringstream lines(entry);
    std::string line;
    bool inEntry = false;
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inEntry || equals == std::string::npos)
            continue;
        const auto key = trimmed(line.substr(0, equals));
        const auto value = trimmed(line.substr(equals + 1));
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

bool XdgAutostart::enabled()
{
    if (configHome_.empty())
        return false;
    const auto entry = files_.read(entryPath());
    return entry && EntrySwitchedOn(*entry);
}

bool XdgAutostart::setEnabled(bool on)
{
    if (configHome_.empty()) {
        trace("start with the desktop: no configuration folder (neither XDG_CONFIG_HOME nor HOME is set)");
        return false;
    }
    const auto path = entryPath();
    if (!on) {
        if (!files_.isRegularFile(path) || files_.remove(path))
            return true;
        trace("start with the desktop: cannot remove " + path + ": " + lastSystemError());
        return false;
    }
    if (!MakeFolders(configHome_ + "/autostart") ||
        !files_.replace(path, AutostartEntry(programPath_), NewFile::Usual)) {
        trace("start with the desktop: cannot write " + path + ": " + lastSystemError());
        return false;
    }
    return true;
}

} // namespace twk::platform
