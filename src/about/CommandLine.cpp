#include "about/CommandLine.h"

#include "about/VersionRecord.h"

namespace twk::about {

std::optional<std::string> CommandLineAnswer(const std::string& argumentString)
{
    const auto version = ProgramVersion();
    const auto versionLine = "twk3 " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                             std::to_string(version.revision) + "\n";
    if (argumentString == "--version")
        return versionLine;
    if (argumentString != "--help")
        return std::nullopt;
    return versionLine +
           "TWK (Tarnwick 3.0) sits in the system tray and logs the text you copy, catching the links in it.\n"
           "\n"
           "Usage: twk3 [99]\n"
           "  99         run as usual even when the settings say to end after one capture (hit-and-run)\n"
           "  --version  print the version and end\n"
           "  --help     print this text and end\n"
           "\n"
           "twk3.ini and the logs are kept beside the program when its folder can be written to, otherwise in\n"
           "$XDG_CONFIG_HOME/twk3 (~/.config/twk3) on Linux and %APPDATA%\\TWK on Windows.\n"
           "With TWK_DEBUG=1 in the environment, failures the program passes over are told on stderr.\n";
}

} // namespace twk::about
